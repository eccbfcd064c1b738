// The main window's weather buttons in a session ("Button5" Origin, "Button511" Dest, "Button11"
// Altn): the report fetched from the address the settings name, decoded and spoken through the
// checklist window's speech. The session fetches in place (it has no window to keep answering),
// so the line is printed once the reply is in.
#include "session.h"

#include "core/profile_file.h"
#include "json_writer.h"
#include "planning/flight_plan.h"
#include "shell/settings_file.h"
#include "voice/http_fetcher.h"
#include "voice/weather_buttons.h"
#include "voice/weather_source.h"

#include <exception>

namespace vantrel::cli {

struct SessionWeather {
    explicit SessionWeather(Session& s)
        : buttons(
              state,
              [this](const std::string& url, const WeatherButtons::FetchDone& done) {
                  state.ReplyText.clear();
                  const HttpResult result = http.Get(QString::fromStdString(url));
                  if (result.Ok()) state.ReplyText = result.body.toStdString();
                  done(result.Ok());
              },
              [&clock = s.clock] {
                  return std::chrono::system_clock::time_point(std::chrono::milliseconds(clock.Now()));
              }) {
        state.Url = LoadWeatherUrl(ProfileFile(SettingsFilePath(s.plan)));
    }

    WeatherState state;
    HttpFetcher http;
    WeatherButtons buttons;
};

namespace {

void PressWeatherButton(Session& s, WeatherButton which) {
    // Without a voice the program hides these buttons.
    if (s.checklists.disabled) return;
    if (!s.weather) s.weather = std::make_shared<SessionWeather>(s);
    auto logError = [&s](const std::exception& e) { s.log.errors.append(JsonText(e.what())); };
    try {
        s.weather->buttons.Press(which, s.plan.Text(WeatherButtonField(which)),
                                 s.plan.paths.ProgramDir + "airports/icao.vn", s.cockpit.seams.speak,
                                 [&logError](const std::optional<std::string>&, std::exception_ptr error) {
                                     if (!error) return;
                                     try {
                                         std::rethrow_exception(error);
                                     } catch (const std::exception& e) {
                                         logError(e);
                                     }
                                 });
    } catch (const std::exception& e) {
        logError(e);
    }
}

} // namespace

void RegisterWeatherButtons(SessionCommands& commands) {
    commands.clicks["Button5"] = [](Session& s) { PressWeatherButton(s, WeatherButton::Origin); };
    commands.clicks["Button511"] = [](Session& s) { PressWeatherButton(s, WeatherButton::Dest); };
    commands.clicks["Button11"] = [](Session& s) { PressWeatherButton(s, WeatherButton::Altn); };
}

} // namespace vantrel::cli
