#include "voice/weather_buttons.h"

#include "voice/weather_report.h"
#include "voice/weather_source.h"

#include <cstdlib>

namespace vantrel {

namespace {
constexpr long kReuseMinutes = 16; // a slot younger than this is reused for its own station
}

WeatherButtons::WeatherButtons(WeatherState& state, Fetch fetch, Clock clock)
    : state_(state), fetch_(std::move(fetch)), clock_(std::move(clock)) {
    const auto dayAgo = clock_() - std::chrono::hours(24);
    for (WeatherSlot& slot : state_.cache)
        slot = WeatherSlot{std::string(), dayAgo, std::string()};
}

long WeatherButtons::AgeMinutes(WeatherButton button) const {
    const auto& slot = state_.cache[static_cast<std::size_t>(button)];
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(clock_() - slot.fetched).count();
    return std::labs(static_cast<long>(minutes));
}

std::optional<std::string> WeatherButtons::Press(WeatherButton button, const std::string& station,
                                                 const std::string& icaoFile, const Speak& speak) {
    if (pressing_ || !IsStationCode(station)) return std::nullopt;
    pressing_ = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{pressing_};

    const std::string airportLine = FindAirportLine(icaoFile, station);
    WeatherSlot& slot = state_.cache[static_cast<std::size_t>(button)];
    const bool reuse = slot.station == station && AgeMinutes(button) < kReuseMinutes;
    if (!reuse) {
        // A failed request leaves the slot as it was: it never stores another station's reply
        // or an empty one that would silence the button for a quarter of an hour.
        if (!fetch_(WeatherUrlFor(state_.Url, station))) return std::nullopt;
        slot.fetched = clock_();
        slot.station = station;
        slot.reply = state_.ReplyText;
    }
    std::optional<std::string> sentence = SentenceFromReply(slot.reply, airportLine);
    if (sentence && speak) speak(*sentence);
    return sentence;
}

} // namespace vantrel
