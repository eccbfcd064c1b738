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

void WeatherButtons::Press(WeatherButton button, const std::string& station, const std::string& icaoFile,
                           Speak speak, Pressed pressed) {
    if (pressing_ || !IsStationCode(station)) return;
    const std::string airportLine = FindAirportLine(icaoFile, station);
    WeatherSlot& slot = state_.cache[static_cast<std::size_t>(button)];
    if (slot.station == station && AgeMinutes(button) < kReuseMinutes) {
        SpeakSlot(button, airportLine, speak, pressed);
        return;
    }
    pressing_ = true;
    fetch_(WeatherUrlFor(state_.Url, station), [this, button, station, airportLine, speak = std::move(speak),
                                                pressed = std::move(pressed)](bool ok) {
        pressing_ = false;
        // A failed request leaves the slot as it was: it never stores another station's
        // reply or an empty one that would silence the button for a quarter of an hour.
        if (!ok) {
            if (pressed) pressed(std::nullopt, nullptr);
            return;
        }
        WeatherSlot& fetched = state_.cache[static_cast<std::size_t>(button)];
        fetched.fetched = clock_();
        fetched.station = station;
        fetched.reply = state_.ReplyText;
        SpeakSlot(button, airportLine, speak, pressed);
    });
}

void WeatherButtons::SpeakSlot(WeatherButton button, const std::string& airportLine, const Speak& speak,
                               const Pressed& pressed) {
    std::optional<std::string> sentence;
    std::exception_ptr error;
    try {
        sentence = SentenceFromReply(state_.cache[static_cast<std::size_t>(button)].reply, airportLine);
        if (sentence && speak) speak(*sentence);
    } catch (...) {
        error = std::current_exception();
        sentence.reset();
    }
    if (pressed) pressed(sentence, error);
}

} // namespace vantrel
