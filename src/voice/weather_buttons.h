#pragma once
#include "voice/weather_source.h"

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace vantrel {

// The main window's three "Listen to weather" buttons and the plan field each one reads.
enum class WeatherButton { Origin = 0, Dest = 1, Altn = 2 };

// One cache slot per button: what it fetched last, when, and the reply it got.
struct WeatherSlot {
    std::string station;
    std::chrono::system_clock::time_point fetched;
    std::string reply;
};

// What the weather buttons share for the whole run.
struct WeatherState {
    std::string Url = kDefaultWeatherUrl; // [Weather] Url, "%1" for the station
    std::string ReplyText;                // body of the last successful request, cleared before each one
    std::array<WeatherSlot, 3> cache;
};

// The click logic of the weather buttons, free of widgets: name look-up, the 16-minute cache
// per button, the request through a fetch seam, validity test, decoding and speaking.
class WeatherButtons {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    // Runs the GET for a URL (the HTTP client window's FetchUrl); true on success, the body
    // being in the state's reply text.
    using Fetch = std::function<bool(const std::string& url)>;
    using Speak = std::function<void(const std::string& sentence)>;

    // Starts every slot with no station and a fetch time one day before now, so the first
    // press of each button fetches.
    WeatherButtons(WeatherState& state, Fetch fetch, Clock clock = &std::chrono::system_clock::now);

    // One press: station is the button's field text as typed, icaoFile the path of the airport
    // name file. Returns the sentence handed to speak, or nothing when nothing is spoken.
    // A press while an earlier press still waits for its reply is ignored.
    std::optional<std::string> Press(WeatherButton button, const std::string& station,
                                     const std::string& icaoFile, const Speak& speak);

    // Whole minutes between now and the slot's fetch time.
    long AgeMinutes(WeatherButton button) const;

private:
    WeatherState& state_;
    Fetch fetch_;
    Clock clock_;
    bool pressing_ = false;
};

} // namespace vantrel
