#pragma once
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vantrel {

// The flight log viewer's table: one row per line of the log, field i of the line in column i.
constexpr int kFlightLogColumns = 12;
using FlightLogRow = std::array<std::string, kFlightLogColumns>;

// Splits the log's text into rows: each line ends at LF (a CR before it is dropped; a last line
// without an end counts), its fields are the texts before each ";" as they stand (not trimmed),
// columns without a field stay empty and fields beyond the twelfth are ignored. Lines are kept
// whole, however long.
std::vector<FlightLogRow> ParseFlightLog(const std::string& text);

// About a hundred years of daily flights; beyond that the viewer shows the beginning.
constexpr std::size_t kMaxFlightLogBytes = 64u << 20;

enum class FlightLogRead { Missing, Read, Unreadable };

// Reads "erj145.csv" in programDir (ending with a separator) into rows. A log larger than
// maxBytes shows its first whole lines up to that size.
FlightLogRead LoadFlightLog(const std::string& programDir, std::vector<FlightLogRow>& rows,
                            std::size_t maxBytes = kMaxFlightLogBytes);

// The error the viewer shows for a log that exists but cannot be read.
constexpr const char* kFlightLogReadError = "File access denied";

} // namespace vantrel

namespace vantrel {

// The viewer's grid `sg1` below its header row: reloaded from the log at every show.
class FlightLogGrid {
public:
    // Reloads the rows: a missing log shows one empty row, an empty log none. A log that cannot
    // be read throws UserError(kFlightLogReadError) and the rows stay as they were.
    void FormShow(const std::string& programDir);
    // The recorder logged a flight: with at least one row, one more whose first cell is the
    // flight's date.
    void AddLoggedFlight(const std::string& dateDdMm);

    const std::vector<FlightLogRow>& Rows() const { return rows_; }
    std::function<void()> onChanged;

private:
    std::vector<FlightLogRow> rows_{FlightLogRow{}};
};

} // namespace vantrel
