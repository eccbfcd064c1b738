#include "cockpit/cockpit_clock.h"

#include <cstdio>

namespace vantrel {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = static_cast<int>(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yoe + era * 400) + (m <= 2);
}

} // namespace

CivilTime ToCivil(LocalMs ms) {
    std::int64_t days = ms / kMsPerDay;
    std::int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    CivilTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3'600'000);
    t.minute = static_cast<int>(rest / 60'000 % 60);
    t.second = static_cast<int>(rest / 1000 % 60);
    t.msec = static_cast<int>(rest % 1000);
    return t;
}

LocalMs FromCivil(const CivilTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * kMsPerDay + t.hour * 3'600'000LL + t.minute * 60'000LL +
           t.second * 1000LL + t.msec;
}

int DayOfYear(const CivilTime& t) {
    return static_cast<int>(DaysFromCivil(t.year, t.month, t.day) - DaysFromCivil(t.year, 1, 1)) + 1;
}

std::string FormatIso(LocalMs ms) {
    const CivilTime t = ToCivil(ms);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.msec);
    return text;
}

bool ParseIso(const std::string& text, LocalMs& ms) {
    CivilTime t;
    int used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                    &t.second, &used) != 6 ||
        used != 19)
        return false;
    if (text.size() > 19) {
        int frac = 0;
        if (text.size() != 23 || text[19] != '.' ||
            std::sscanf(text.c_str() + 20, "%3d%n", &t.msec, &frac) != 1 || frac != 3)
            return false;
    }
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour > 23 || t.minute > 59 || t.second > 59 ||
        t.hour < 0 || t.minute < 0 || t.second < 0 || t.msec < 0)
        return false;
    // A day beyond the month's end (31 April) does not come back the same.
    const CivilTime back = ToCivil(FromCivil(t));
    if (back.day != t.day || back.month != t.month) return false;
    ms = FromCivil(t);
    return true;
}

void VirtualClock::Wait(int ms) {
    if (ms > 0) now_ += ms;
}

void VirtualClock::After(int ms, std::function<void()> resume) {
    Wait(ms);
    resume();
}

} // namespace vantrel
