#pragma once

namespace vantrel {

// The release, as CMake's project version gives it ("2.1").
extern const char* const kVersion;

// "--version" as the only argument: prints "Vantrel Suite VERSION" on standard output (on
// Windows into the console the program was started from) and returns true.
bool PrintVersionIfAsked(int argc, char** argv);

} // namespace vantrel
