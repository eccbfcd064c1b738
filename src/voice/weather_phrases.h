#pragma once
#include <string_view>

// The word tables of the spoken weather report: each maps a METAR code to the words the
// speech engine says. An unknown code gives an empty phrase.
namespace vantrel::weather_phrases {

// Metric visibility of four digits ("9999", "5000" ...); other values are spelled by the caller.
std::string_view KnownVisibility(std::string_view fourDigits);

// Fraction of a statute mile ("1/4", "3/8" ...).
std::string_view MileFraction(std::string_view fraction);

// Appends the phrase of every compass code equal to code (the tests are independent).
template <typename Out> void AppendDirections(std::string_view code, Out& out);

// Weather descriptor ("SH", "FZ" ...); recent weather does not know "TS".
std::string_view Descriptor(std::string_view code, bool recent);

// Weather phenomenon ("RA", "FG" ...); recent weather knows only part of them.
std::string_view Phenomenon(std::string_view code, bool recent);

struct Direction {
    std::string_view code;
    std::string_view phrase;
};
inline constexpr Direction kDirections[] = {
    {"N", " north "}, {"NE", " north east"},  {"E", " east "}, {"SE", " south east "},
    {"S", " south "}, {"SW", " south west "}, {"W", " west "}, {"NW", " north west "},
};

template <typename Out> void AppendDirections(std::string_view code, Out& out) {
    for (const auto& d : kDirections)
        if (code == d.code) out += d.phrase;
}

} // namespace vantrel::weather_phrases
