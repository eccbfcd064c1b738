#include "core/convert.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vantrel {

std::string InvalidIntegerText(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

std::string InvalidFloatText(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses the whole text; false when it is not an integer that fits 32 bits.
bool ParseInt(const std::string& text, int& out) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n) return false;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        int digit = base == 16 ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return false;
        value = value * base + digit;
        // Hexadecimal texts may spell the full unsigned 32-bit range (0xFFFFFFFF reads as -1).
        const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : 0x80000000LL;
        if (value > limit) return false;
    }
    if (base == 16) {
        if (value > 0x7FFFFFFFLL) value -= 0x100000000LL;
        out = static_cast<int>(negative ? -value : value);
        return true;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) return false;
    out = static_cast<int>(value);
    return true;
}

} // namespace

int StrToInt(const std::string& text) {
    int value = 0;
    if (!ParseInt(text, value)) throw ConvertError(InvalidIntegerText(text));
    return value;
}

int StrToIntDef(const std::string& text, int fallback) {
    int value = 0;
    return ParseInt(text, value) ? value : fallback;
}

double StrToFloat(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    const std::string core = text.substr(begin, end - begin);
    // Only plain decimal notation: no hexadecimal floats, "inf" or "nan" that strtod would accept.
    bool digits = false;
    for (std::size_t i = 0; i < core.size(); ++i) {
        const char c = core[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E') {
            continue;
        } else {
            throw ConvertError(InvalidFloatText(text));
        }
    }
    if (!digits) throw ConvertError(InvalidFloatText(text));
    // from_chars ignores the process locale (a Qt program runs under the user's locale,
    // where strtod might expect a decimal comma) and rejects a leading "+", handled here.
    const char* first = core.data();
    const char* last = core.data() + core.size();
    if (first != last && *first == '+') ++first;
    double value = 0.0;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (error != std::errc() || stop != last || !std::isfinite(value)) {
        throw ConvertError(InvalidFloatText(text));
    }
    return value;
}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

std::string ZeroPad(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) return text;
    return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

std::string ZeroPad(std::int64_t value, int width) {
    return ZeroPad(IntToStr(value), width);
}

} // namespace vantrel
