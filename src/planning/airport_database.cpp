#include "planning/airport_database.h"

#include "core/convert.h"
#include "core/profile_file.h"

#include <cerrno>
#include <cstring>

namespace vantrel {

namespace {

// A worldwide database is a few megabytes; anything far larger is not an airport list and
// is refused rather than read into memory whole.
constexpr std::size_t kMaxDatabaseBytes = 64u * 1024u * 1024u;

constexpr std::size_t kCodeFirst = 1, kCodeLast = 4;
constexpr std::size_t kLatitudeFirst = 5, kLatitudeLast = 14;
constexpr std::size_t kLongitudeFirst = 15, kLongitudeLast = 24;
constexpr std::size_t kElevationFirst = 27, kElevationLast = 31;

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

std::string_view Columns(std::string_view line, std::size_t first, std::size_t last) {
    if (first > line.size()) return {};
    return line.substr(first - 1, last - first + 1);
}

std::string FileOpenErrorText(const std::string& path, const std::string& reason) {
    return "Cannot open file \"" + path + "\". " + reason;
}

void AirportDatabase::Load(const std::string& path) {
    std::string content;
    bool tooLarge = false;
    if (!ReadFileUpTo(path, kMaxDatabaseBytes, content, tooLarge))
        throw UserError(FileOpenErrorText(path, std::strerror(errno)));
    if (tooLarge) throw UserError(FileOpenErrorText(path, "The file is too large."));
    LoadText(content);
}

void AirportDatabase::LoadText(std::string_view text) {
    std::vector<std::string> lines;
    std::unordered_map<std::string, std::size_t> index;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view code = TrimBlanks(Columns(lines[i], kCodeFirst, kCodeLast));
        // Among lines with the same code the first one counts.
        if (!code.empty()) index.emplace(std::string(code), i);
    }
    lines_ = std::move(lines);
    firstLineOfCode_ = std::move(index);
}

std::optional<std::string_view> AirportDatabase::FindAirport(std::string_view key) const {
    const std::string_view code = TrimBlanks(key);
    if (code.empty() || code.size() > kCodeLast) return std::nullopt;
    const auto it = firstLineOfCode_.find(std::string(code));
    if (it == firstLineOfCode_.end()) return std::nullopt;
    return std::string_view(lines_[it->second]);
}

AirportRecord AirportDatabase::ReadRecord(std::string_view line) {
    AirportRecord record;
    record.code = std::string(TrimBlanks(Columns(line, kCodeFirst, kCodeLast)));
    record.latitude = StrToFloat(std::string(TrimBlanks(Columns(line, kLatitudeFirst, kLatitudeLast))));
    record.longitude = StrToFloat(std::string(TrimBlanks(Columns(line, kLongitudeFirst, kLongitudeLast))));
    // Column 31 belongs to the elevation only when it continues the number (a fifth digit).
    const std::string_view wide = Columns(line, kElevationFirst, kElevationLast);
    const bool fiveColumns =
        wide.size() == kElevationLast - kElevationFirst + 1 && wide.back() >= '0' && wide.back() <= '9';
    record.elevation =
        std::string(TrimBlanks(fiveColumns ? wide : Columns(line, kElevationFirst, kElevationLast - 1)));
    return record;
}

} // namespace vantrel
