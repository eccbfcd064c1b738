#include "planning/performance_tables.h"

#include "core/convert.h"

#include <algorithm>
#include <fstream>

namespace vantrel {

namespace {

constexpr std::size_t kRestLimit = 255;
constexpr int kFcCtFields = 10;

// Reads lines one by one, CR LF or LF; past the end every read yields an empty line.
class LineReader {
public:
    explicit LineReader(const std::string& path) : in_(path, std::ios::binary) {}
    bool IsOpen() const { return in_.is_open(); }
    bool AtEnd() { return !in_.good() || in_.peek() == std::char_traits<char>::eof(); }
    std::string Next() {
        std::string line;
        if (!std::getline(in_, line)) return {};
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }

private:
    std::ifstream in_;
};

// Table values are converted as a whole: blanks around a number make it unreadable.
bool HasBlank(const std::string& field) {
    return field.find_first_of(" \t") != std::string::npos;
}

int ParseTableInt(const std::string& field) {
    if (HasBlank(field)) throw ConvertError(InvalidIntegerText(field));
    const int value = StrToInt(field);
    // The tables hold unsigned 16-bit values; anything else is not a usable table entry.
    if (value < 0 || value > 0xFFFF) throw ConvertError(InvalidIntegerText(field));
    return value;
}

// Decimal numbers are written with a comma as the decimal mark.
double ParseTableReal(std::string field) {
    for (char& c : field)
        if (c == ',') c = '.';
    if (HasBlank(field)) throw ConvertError(InvalidFloatText(field));
    return StrToFloat(field);
}

void ParseBandLine(const std::string& block, const std::string& line, int band, PerformanceTables& t) {
    std::vector<std::string> fields = SplitFuelFields(line);
    const std::size_t row = static_cast<std::size_t>(band - PerformanceTables::kFirstBand);
    if (block == "**FC" || block == "**CT") {
        // Ten fields: the band label and nine weight columns. Missing fields read as empty
        // texts (a conversion error); fields beyond the tenth are ignored.
        fields.resize(std::max<std::size_t>(fields.size(), kFcCtFields));
        if (block == "**FC") {
            for (int c = 0; c < PerformanceTables::kColumns; ++c)
                t.FC[row][static_cast<std::size_t>(c)] =
                    static_cast<std::uint16_t>(ParseTableInt(fields[static_cast<std::size_t>(c + 1)]));
        } else {
            ParseTableReal(fields[0]); // the band label must be numeric, then it is dropped
            for (int c = 0; c < PerformanceTables::kColumns; ++c)
                t.CT[row][static_cast<std::size_t>(c)] =
                    ParseTableReal(fields[static_cast<std::size_t>(c + 1)]);
        }
        return;
    }
    // FF, CS, DT: only the last field of the line counts.
    const std::string& value = fields.back();
    if (block == "**FF") t.FF[row] = static_cast<std::uint16_t>(ParseTableInt(value));
    if (block == "**CS") t.CS[row] = static_cast<std::uint16_t>(ParseTableInt(value));
    if (block == "**DT") t.DT[row] = ParseTableReal(value);
}

} // namespace

std::vector<std::string> SplitFuelFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string rest = line;
    for (;;) {
        const std::size_t semicolon = rest.find(';');
        if (semicolon == std::string::npos) break;
        fields.push_back(rest.substr(0, semicolon));
        rest = rest.substr(semicolon + 1, kRestLimit);
    }
    fields.push_back(rest);
    return fields;
}

bool LoadFuelBlock(const std::string& path, const std::string& block, PerformanceTables& tables) {
    LineReader reader(path);
    if (!reader.IsOpen()) throw UserError("File not found");
    std::string current;
    while (current.compare(0, 4, block) != 0) {
        // The search ends at the end of the file: a missing block leaves its table untouched.
        if (reader.AtEnd()) return false;
        current = reader.Next();
    }
    reader.Next(); // column heading
    for (int band = PerformanceTables::kFirstBand; band <= PerformanceTables::kLastBand; ++band)
        ParseBandLine(block, reader.Next(), band, tables);
    return true;
}

void LoadFuelTables(const std::string& path, PerformanceTables& tables) {
    tables.missingBlocks.clear();
    for (const char* block : {"**FC", "**CT", "**FF", "**CS", "**DT"}) {
        if (!LoadFuelBlock(path, block, tables)) {
            if (!tables.missingBlocks.empty()) tables.missingBlocks += ", ";
            tables.missingBlocks += block;
        }
    }
}

} // namespace vantrel
