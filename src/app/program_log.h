#pragma once
#include <string>

namespace vantrel {

// Starts the diagnostic log of a program built on Qt: the file logFile beside the settings in
// programDir (ending with a separator), the level from "--log-level" or $VANTREL_LOG_LEVEL, Qt's
// own warnings into it too, and a first line naming the version, the system and the libraries.
void StartProgramLog(const std::string& programDir, const char* logFile, const char* program, int argc,
                     char** argv);

// The log is written out and closed when this goes out of scope.
struct ProgramLogScope {
    ProgramLogScope(const std::string& programDir, const char* logFile, const char* program, int argc,
                    char** argv) {
        StartProgramLog(programDir, logFile, program, argc, argv);
    }
    ~ProgramLogScope();
    ProgramLogScope(const ProgramLogScope&) = delete;
    ProgramLogScope& operator=(const ProgramLogScope&) = delete;
};

} // namespace vantrel
