#pragma once

namespace vantrel::cli {

// vantrel-cli report DIR [--program-dir D]
// Copies the logs, the settings file and the flight log's last lines of the program folder D
// (default: the folder vantrel-cli is in) into DIR and prints {"folder": F, "written": [...],
// "failures": [...], "message": "Report written to F: ..."}. Returns 2 when the command line is
// wrong, 1 when a file could not be copied, else 0.
int RunReportCommand(int argc, char** argv);

} // namespace vantrel::cli
