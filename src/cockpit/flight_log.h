#pragma once
#include "cockpit/cockpit_clock.h"

#include <string>

namespace vantrel {

// The flight log beside the program: one flight a line, twelve fields each followed by ";", no
// header, lines ended by CR LF on every system; and its backup, made once before the first
// append after which no backup existed.
constexpr const char* kFlightLogFile = "erj145.csv";
constexpr const char* kFlightLogBackup = "erj145.bak";

// One flight as the log keeps it. Times are UTC moments; the texts are the plan's as they stood.
struct FlightLogEntry {
    LocalMs takeoffUtc = 0;
    LocalMs landingUtc = 0;
    std::string origin;        // Edit1
    std::string destination;   // Edit2
    std::string plannedTime;   // Edit11
    std::string takeoffWeight; // Edit48 at take-off
    std::string tripFuel;      // Edit19 at landing
    std::string fuelUsed;      // Edit30 at landing
    std::string passengers;    // Edit13
    std::string cargo;         // Edit15
};

// Whole minutes between take-off and landing, whichever comes first.
long long FlightMinutes(const FlightLogEntry& entry);

// The line with its CR LF. A ";" or a line break typed into a plan text would split the line
// into wrong columns or rows, so each becomes a blank; every other byte is kept as it stands.
std::string FormatFlightLogLine(const FlightLogEntry& entry);

// What became of one append: failure is empty when the line is in the log; backupFailure is
// set when a backup was due and could not be made. Both read "Unable to write to <file>: <reason>".
struct FlightLogWrite {
    std::string failure;
    std::string backupFailure;
    bool Written() const { return failure.empty(); }
};

// Appends the line to the log in programDir (which ends with a separator), first copying an
// existing log to the backup when there is none. The line goes in whole or not at all: a new
// log is created holding the line (never empty), an existing one is cut back to its old length
// after a failed write. A failed backup does not keep the flight from being logged.
FlightLogWrite AppendFlightLog(const std::string& programDir, const std::string& line);

} // namespace vantrel
