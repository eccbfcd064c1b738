#pragma once
#include <string>

namespace vantrel {

// The program's version as the build names it ("2.1").
std::string ProgramVersion();

// The system the program was built for and runs on ("Linux x86_64", "Windows x86_64 (Wine 8.0)").
std::string PlatformDescription();

} // namespace vantrel
