#include "voice/espeak_version.h"

#include <espeak-ng/speak_lib.h>

namespace vantrel {

std::string EspeakVersion() {
    const char* version = espeak_Info(nullptr);
    return version ? version : "unknown";
}

} // namespace vantrel
