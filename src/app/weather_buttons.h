#pragma once
#include "voice/weather_buttons.h"

namespace vantrel {

struct AppContext;

// The click handler shared by the main window's three "Listen to weather" buttons
// (Button5 "Origin", Button511 "Dest", Button11 "Altn"). Created once with the main window,
// which starts the three cache slots; the window only connects its buttons:
//   connect(ui->Button5, &QPushButton::clicked, [&] { weather.Button511Click(WeatherButton::Origin); });
class WeatherButtonHandler {
public:
    explicit WeatherButtonHandler(AppContext& ctx,
                                  WeatherButtons::Clock clock = &std::chrono::system_clock::now);

    // Reads the button's airport field (Edit1, Edit2, Edit3), fetches or reuses the report,
    // and speaks it through AppContext::speak when the reply is there. Shows the hourglass until then. A
    // speech error ("Speech Engine not selected") appears in the standard error box.
    void Button511Click(WeatherButton which);

    WeatherButtons& Buttons() { return buttons_; }

private:
    AppContext& ctx_;
    WeatherButtons buttons_;
};

} // namespace vantrel
