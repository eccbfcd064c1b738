#pragma once
#include <string>
#include <string_view>

// Character positions counted from 1, as the weather decoder's rules are written. Every
// helper answers for positions outside the text without touching memory there: such a
// position is "no character", it equals no letter, digit or blank and adds nothing.
namespace vantrel::text {

// The character at position n as a text of one character, or empty outside the text.
inline std::string_view At(std::string_view s, long n) {
    if (n < 1 || n > static_cast<long>(s.size())) return {};
    return s.substr(static_cast<std::size_t>(n - 1), 1);
}

// At most count characters from position index on; an index below 1 counts as 1.
inline std::string_view Copy(std::string_view s, long index, long count) {
    if (index < 1) index = 1;
    if (count <= 0 || index > static_cast<long>(s.size())) return {};
    return s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

// Position of the first occurrence of what in s, 0 when absent.
inline long Pos(std::string_view what, std::string_view s) {
    const auto p = s.find(what);
    return p == std::string_view::npos ? 0 : static_cast<long>(p) + 1;
}

inline bool Contains(std::string_view s, std::string_view what) {
    return s.find(what) != s.npos;
}

inline bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Removes leading and trailing blanks and control characters.
inline std::string_view Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlankOrControl(s[b]))
        ++b;
    while (e > b && IsBlankOrControl(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

inline bool IsDigit(std::string_view c) {
    return c.size() == 1 && c[0] >= '0' && c[0] <= '9';
}

inline std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace vantrel::text
