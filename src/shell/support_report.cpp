#include "shell/support_report.h"

#include "cockpit/flight_log.h"
#include "core/durable_file.h"
#include "core/event_log.h"

#include <deque>
#include <filesystem>
#include <fstream>

namespace vantrel {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsFile = "vn-erj145.ini";

// The flight log's last lines, read line by line so that a large log is never held whole.
std::string LastLines(const std::string& path, int count) {
    std::ifstream in(path, std::ios::binary);
    std::deque<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line + "\n");
        if (lines.size() > std::size_t(count)) lines.pop_front();
    }
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

} // namespace

SupportReport WriteSupportReport(const std::string& programDir, const std::string& folder) {
    FlushEventLog();
    SupportReport report;
    std::error_code ec;
    report.folder = fs::absolute(folder, ec).string();
    if (ec) report.folder = folder;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        report.failures.push_back(folder + ": not a folder that can be made");
        return report;
    }
    const auto copy = [&](const std::string& name) {
        if (!fs::is_regular_file(programDir + name, ec)) return;
        std::string reason;
        if (CopyFileAtomically(programDir + name, (fs::path(folder) / name).string(), &reason))
            report.written.push_back(name);
        else
            report.failures.push_back(name + ": " + reason);
    };
    for (const char* log : {kProgramLogFile, kCliLogFile, kBridgeLogFile}) {
        copy(log);
        for (int n = 1; n <= 2; ++n)
            copy(std::string(log) + "." + std::to_string(n));
    }
    copy(kSettingsFile);
    const std::string flightLog = programDir + kFlightLogFile;
    if (fs::is_regular_file(flightLog, ec)) {
        const std::string name = "erj145-last-lines.csv";
        std::string reason;
        if (ReplaceFileDurably((fs::path(folder) / name).string(),
                               LastLines(flightLog, kReportFlightLogLines), &reason))
            report.written.push_back(name);
        else
            report.failures.push_back(name + ": " + reason);
    }
    return report;
}

std::string DescribeSupportReport(const SupportReport& report) {
    if (report.written.empty() && !report.failures.empty()) {
        std::string text = "No report written to " + report.folder;
        for (const std::string& failure : report.failures)
            text += "\nNot copied: " + failure;
        return text;
    }
    std::string text = "Report written to " + report.folder + ":";
    for (const std::string& name : report.written)
        text += " " + name;
    if (report.written.empty()) text += " (no files found)";
    for (const std::string& failure : report.failures)
        text += "\nNot copied: " + failure;
    return text;
}

} // namespace vantrel
