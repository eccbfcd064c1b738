#include "cockpit/flight_log.h"

#include "core/convert.h"
#include "core/durable_file.h"
#include "core/profile_file.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vantrel {

namespace {

std::string Field(std::string text) {
    for (char& c : text)
        if (c == ';' || c == '\r' || c == '\n') c = ' ';
    return text + ';';
}

std::string Date(LocalMs utc) {
    const CivilTime t = ToCivil(utc);
    return ZeroPad(t.day, 2) + '/' + ZeroPad(t.month, 2) + '/' + ZeroPad(t.year, 4);
}

std::string Clock(LocalMs utc) {
    const CivilTime t = ToCivil(utc);
    return ZeroPad(t.hour, 2) + ':' + ZeroPad(t.minute, 2);
}

} // namespace

long long FlightMinutes(const FlightLogEntry& entry) {
    return std::llabs(entry.landingUtc - entry.takeoffUtc) / 60'000;
}

std::string FormatFlightLogLine(const FlightLogEntry& e) {
    const long long minutes = FlightMinutes(e);
    const std::string flightTime = ZeroPad(minutes / 60, 2) + ':' + ZeroPad(minutes % 60, 2);
    return Field(Date(e.takeoffUtc)) + Field(e.origin) + Field(Clock(e.takeoffUtc)) + Field(e.destination) +
           Field(Clock(e.landingUtc)) + Field(e.plannedTime) + Field(flightTime) + Field(e.takeoffWeight) +
           Field(e.tripFuel) + Field(e.fuelUsed) + Field(e.passengers) + Field(e.cargo) + "\r\n";
}

FlightLogWrite AppendFlightLog(const std::string& programDir, const std::string& line) {
    namespace fs = std::filesystem;
    const std::string log = programDir + kFlightLogFile;
    const std::string backup = programDir + kFlightLogBackup;
    FlightLogWrite result;
    std::string reason;
    std::error_code ec;
    // Only a log that is surely missing is created; one that cannot be looked at is appended to.
    if (fs::status(log, ec).type() == fs::file_type::not_found) {
        if (!ReplaceFileDurably(log, line, &reason)) result.failure = UnableToWrite(log, reason);
        return result;
    }
    if (!fs::exists(backup, ec) && !CopyFileAtomically(log, backup, &reason))
        result.backupFailure = UnableToWrite(backup, reason);
    if (!AppendDurably(log, line, &reason)) result.failure = UnableToWrite(log, reason);
    return result;
}

} // namespace vantrel
