#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel {

// One resolved airport of the route (origin, destination or alternate).
struct AirportRecord {
    std::string code;       // up to 4 characters
    std::string elevation;  // feet, as written in the database (leading zeros kept)
    double latitude = 0.0;  // degrees, north positive
    double longitude = 0.0; // degrees, east positive
};

// The airport database "airports/airports.vn": one airport per line in fixed columns
//   1-4 code (a 3-letter code is followed by a blank), 5-14 latitude, 15-24 longitude,
//   25-26 unused, 27-30 elevation in feet (a fifth column 31 carries elevations that need
//   five characters, such as -1266 or 14472; a line without it reads as before).
// The lines are kept as loaded; an index by code answers a look-up with the first line whose
// code columns equal the key, which is what a search of the text from the top would find.
class AirportDatabase {
public:
    // Replaces the content with the file's lines. Throws UserError with the file-open error
    // text when the file cannot be opened (or is implausibly large); the old content stays then.
    void Load(const std::string& path);
    // Replaces the content with the given text (lines separated by LF or CR LF).
    void LoadText(std::string_view text);

    // The line of the first airport whose code columns (1-4, blanks trimmed) equal the key
    // (blanks trimmed, compared with case); nothing for an unknown or empty key.
    std::optional<std::string_view> FindAirport(std::string_view key) const;

    // Reads the fixed columns of a database line. Throws ConvertError for coordinates that are
    // not numbers.
    static AirportRecord ReadRecord(std::string_view line);

    std::size_t LineCount() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }

private:
    std::vector<std::string> lines_;
    std::unordered_map<std::string, std::size_t> firstLineOfCode_;
};

// Blanks and control characters removed from both ends (the toolkit's Trim).
std::string_view TrimBlanks(std::string_view text);

// The text of 1-based columns first..last of a line; shorter lines give what is there.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t last);

// The error text shown when a file cannot be opened for reading.
std::string FileOpenErrorText(const std::string& path, const std::string& reason);

} // namespace vantrel
