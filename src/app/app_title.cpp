#include "app_title.h"

namespace vantrel {
const char* const kApplicationTitle = "Vantrel ERJ145";
} // namespace vantrel
