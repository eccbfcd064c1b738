#include "voice/weather_phrases.h"

namespace vantrel::weather_phrases {
namespace {

struct Entry {
    std::string_view code;
    std::string_view phrase;
};

struct WeatherEntry {
    std::string_view code;
    std::string_view phrase;
    bool recent;
};

constexpr Entry kVisibilities[] = {
    {"9999", " more than 1 0 kilometers,"},
    {"9000", " 9 kilometers,"},
    {"8000", " 8 kilometers,"},
    {"7000", " 7 kilometers,"},
    {"6000", " 6 kilometers,"},
    {"5000", " 5 kilometers,"},
};

constexpr Entry kFractions[] = {
    {"1/16", " 1 sixteenth of a mile "}, {"1/8", " 1 eighth of a mile "}, {"3/16", " 3 sixteenth of a mile "},
    {"1/4", " 1 quarter of a mile "},    {"3/8", " 3 eighth of a mile "}, {"1/2", " 1 half mile "},
    {"5/8", " 5 eighth of a mile "},     {"7/8", " 7 eighth of a mile "}, {"3/4", " 3 quarters of a mile "},
};

constexpr Entry kDescriptors[] = {
    {"MI", "shallow "}, {"PR", "partial "},    {"BC", "patches of "},   {"DR", "low drifting "},
    {"BL", "blowing "}, {"SH", "showers of "}, {"TS", "thunderstorm "}, {"FZ", "freezing "},
};

// Tested in this order; the flag marks the codes recent weather also speaks.
constexpr WeatherEntry kPhenomena[] = {
    {"TS", "thunderstorm ", true}, {"DZ", "drizzle ", true},       {"RA", "rain ", true},
    {"BR", "mist ", false},        {"SN", "snow ", true},          {"SG", "snow grains ", true},
    {"IC", "ice crystals ", true}, {"PL", "ice pallets ", true},   {"GR", "hail ", true},
    {"GS", "small hail ", true},   {"UP", "precipitation ", true}, {"FG", "fog ", false},
    {"FU", "smoke ", false},       {"VA", "volcanic ash ", true},  {"DU", "widespread dust ", false},
    {"SA", "sand ", false},        {"HZ", "haze ", true},          {"PY", "spray ", false},
    {"SH", "showers ", false},     {"PO", "dust whirls ", false},  {"SQ", "squalls ", false},
    {"FC", "funnel cloud ", true}, {"SS", "sand storm ", true},    {"DS", "dust storm ", true},
};

template <typename Table> std::string_view Find(const Table& table, std::string_view code) {
    for (const auto& e : table)
        if (e.code == code) return e.phrase;
    return {};
}

} // namespace

std::string_view KnownVisibility(std::string_view fourDigits) {
    return Find(kVisibilities, fourDigits);
}

std::string_view MileFraction(std::string_view fraction) {
    return Find(kFractions, fraction);
}

std::string_view Descriptor(std::string_view code, bool recent) {
    if (recent && code == "TS") return {};
    return Find(kDescriptors, code);
}

std::string_view Phenomenon(std::string_view code, bool recent) {
    for (const auto& e : kPhenomena)
        if (e.code == code) return (!recent || e.recent) ? e.phrase : std::string_view{};
    return {};
}

} // namespace vantrel::weather_phrases
