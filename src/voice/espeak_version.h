#pragma once
#include <string>

namespace vantrel {

// The version of the espeak-ng library the program runs with ("1.51"), without starting it.
std::string EspeakVersion();

} // namespace vantrel
