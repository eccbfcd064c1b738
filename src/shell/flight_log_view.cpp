#include "shell/flight_log_view.h"

#include "core/convert.h"
#include "core/profile_file.h"

#include <filesystem>
#include <system_error>

namespace vantrel {

namespace {

FlightLogRow RowOf(std::string_view line) {
    FlightLogRow row;
    std::size_t start = 0;
    for (int column = 0; column < kFlightLogColumns; ++column) {
        // The line is read as if it ended with one more ";", so its last field counts too.
        const std::size_t sep = line.find(';', start);
        if (sep == std::string_view::npos) {
            row[column] = std::string(line.substr(start));
            break;
        }
        row[column] = std::string(line.substr(start, sep - start));
        start = sep + 1;
    }
    return row;
}

} // namespace

std::vector<FlightLogRow> ParseFlightLog(const std::string& text) {
    std::vector<FlightLogRow> rows;
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        rows.push_back(RowOf(line));
    }
    return rows;
}

FlightLogRead LoadFlightLog(const std::string& programDir, std::vector<FlightLogRow>& rows,
                            std::size_t maxBytes) {
    const std::string path = programDir + "erj145.csv"; // the flight recorder's log
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return FlightLogRead::Missing;
    std::string text;
    bool tooLarge = false;
    if (!ReadFileUpTo(path, maxBytes, text, tooLarge)) return FlightLogRead::Unreadable;
    if (tooLarge) text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    rows = ParseFlightLog(text);
    return FlightLogRead::Read;
}

} // namespace vantrel

namespace vantrel {

void FlightLogGrid::FormShow(const std::string& programDir) {
    std::vector<FlightLogRow> rows;
    switch (LoadFlightLog(programDir, rows)) {
    case FlightLogRead::Unreadable:
        throw UserError(kFlightLogReadError);
    case FlightLogRead::Missing:
        rows_.assign(1, FlightLogRow{});
        break;
    case FlightLogRead::Read:
        rows_ = std::move(rows);
        break;
    }
    if (onChanged) onChanged();
}

void FlightLogGrid::AddLoggedFlight(const std::string& dateDdMm) {
    if (rows_.empty()) return;
    rows_.emplace_back();
    rows_.back()[0] = dateDdMm;
    if (onChanged) onChanged();
}

} // namespace vantrel
