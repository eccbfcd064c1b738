#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The program's diagnostic log: one line per event, "2026-12-10T03:10:00.123Z vantrel [link] text",
// written by a thread of its own so that no caller ever waits for the disk. A line that cannot
// be written is dropped without a word: the log never becomes a source of errors itself.
// Before StartEventLog (and after StopEventLog) every call below does nothing.

enum class LogLevel {
    kOff,    // nothing is written
    kInfo,   // what a support request needs (the default)
    kDetail, // besides, every exchange with the simulator and every proven bridge connection
};

struct EventLogOptions {
    std::string path;    // the log file; rotated files get ".1", ".2" after it
    std::string program; // the tag of each line ("vantrel", "vantrel-cli", "vantrel-bridge")
    LogLevel level = LogLevel::kInfo;
    std::uintmax_t capBytes = 1024 * 1024; // a line that would pass the cap starts a fresh file
    int keptFiles = 3;                     // the file itself and this many less one rotated ones
};

void StartEventLog(const EventLogOptions& options);
// Writes out what is queued and ends the writer; the log is closed afterwards.
void StopEventLog();
// Waits until every line logged so far has been written or dropped. Never on the window thread.
void FlushEventLog();

// True when events of this level are written (a caller skips building a costly text otherwise).
bool EventLogWants(LogLevel level);

void LogEvent(std::string_view topic, std::string_view text);
void LogDetail(std::string_view topic, std::string_view text);
// Logs the text only when it differs from the last one logged under this topic and key, so a
// state that every tick finds again (no simulator, a refused bridge) is written once per change.
void LogChange(std::string_view topic, std::string_view key, std::string_view text);

// A Yes/No question and the answer it got, under the topic "question".
void LogQuestion(std::string_view question, bool yes);

// The log file of this process; empty before StartEventLog.
std::string EventLogPath();

// "off", "info", "detail"; nothing for another word.
std::optional<LogLevel> ParseLogLevel(std::string_view word);
// "--log-level WORD" on the command line, else $VANTREL_LOG_LEVEL, else info. A word that
// names no level leaves the default.
LogLevel LogLevelFromCommandLine(int argc, char** argv);

// The UTC time as the log writes it, for a time in milliseconds since 1970.
std::string UtcLogTime(std::int64_t unixMs);

} // namespace vantrel
