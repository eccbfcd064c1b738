#pragma once
#include <string>
#include <vector>

namespace vantrel {

// The diagnostic log files of the programs, beside the settings in the program folder.
inline constexpr const char* kProgramLogFile = "vantrel.log";
inline constexpr const char* kCliLogFile = "vantrel-cli.log";
inline constexpr const char* kBridgeLogFile = "vantrel-bridge.log";

// The flight log's last lines a report carries.
inline constexpr int kReportFlightLogLines = 20;

struct SupportReport {
    std::string folder;                // where the files went
    std::vector<std::string> written;  // file names inside it
    std::vector<std::string> failures; // "NAME: REASON" of files that could not be copied
    bool Ok() const { return failures.empty(); }
};

// What a pilot sends with a support request: the logs of the program, the command line and the
// bridge (with their rotated files), the settings file and the flight log's last lines
// ("erj145-last-lines.csv"), copied from programDir (ending with a separator) into folder,
// which is made when missing. A file that does not exist is left out; the rest goes on after
// a copy that fails. The running process's log is written out first.
SupportReport WriteSupportReport(const std::string& programDir, const std::string& folder);

// "Report written to FOLDER: a, b, c" and a line per failure, for the user to read.
std::string DescribeSupportReport(const SupportReport& report);

} // namespace vantrel
