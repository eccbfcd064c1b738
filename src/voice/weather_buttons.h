#pragma once
#include "planning/field_id.h"
#include "voice/weather_source.h"

#include <array>
#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace vantrel {

// The main window's three "Listen to weather" buttons and the plan field each one reads.
enum class WeatherButton { Origin = 0, Dest = 1, Altn = 2 };

// The plan field a button reads its station from: Edit1, Edit2, Edit3.
constexpr FieldId WeatherButtonField(WeatherButton button) {
    return EditField(static_cast<int>(button) + 1);
}

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
    // Runs the GET for a URL (the HTTP client window's FetchUrl) and calls done when it has
    // ended: true on success, the body being in the state's reply text.
    using FetchDone = std::function<void(bool ok)>;
    using Fetch = std::function<void(const std::string& url, FetchDone done)>;
    using Speak = std::function<void(const std::string& sentence)>;
    // How a press ended: the sentence handed to speak (nothing when nothing was spoken), or
    // what went wrong after the request.
    using Pressed = std::function<void(const std::optional<std::string>& sentence, std::exception_ptr error)>;

    // Starts every slot with no station and a fetch time one day before now, so the first
    // press of each button fetches.
    WeatherButtons(WeatherState& state, Fetch fetch, Clock clock = &std::chrono::system_clock::now);

    // One press: station is the button's field text as typed, icaoFile the path of the airport
    // name file. The press goes on when the reply is there (at once from the cache) and then
    // calls pressed. A press while an earlier press still waits for its reply is ignored and
    // calls nothing; an error before the request throws.
    void Press(WeatherButton button, const std::string& station, const std::string& icaoFile, Speak speak,
               Pressed pressed = {});
    bool Pressing() const { return pressing_; }

    // Whole minutes between now and the slot's fetch time.
    long AgeMinutes(WeatherButton button) const;

private:
    void SpeakSlot(WeatherButton button, const std::string& airportLine, const Speak& speak,
                   const Pressed& pressed);

    WeatherState& state_;
    Fetch fetch_;
    Clock clock_;
    bool pressing_ = false;
};

} // namespace vantrel
