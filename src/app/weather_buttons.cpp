#include "weather_buttons.h"

#include "app_context.h"
#include "app_title.h"
#include "fogenhttp.h"
#include "planning/flight_plan.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>
#include <memory>

namespace vantrel {
namespace {

struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// A speech error ("Speech Engine not selected") in the standard error box.
void ShowPressError(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        QMessageBox::critical(QApplication::activeWindow(), kApplicationTitle,
                              QString::fromStdString(e.what()));
    } catch (...) {
        QMessageBox::critical(QApplication::activeWindow(), kApplicationTitle,
                              QStringLiteral("The weather report could not be spoken."));
    }
}

} // namespace

WeatherButtonHandler::WeatherButtonHandler(AppContext& ctx, WeatherButtons::Clock clock)
    : ctx_(ctx), buttons_(
                     ctx.weather,
                     [&ctx](const std::string& url, WeatherButtons::FetchDone done) {
                         TfoGenHTTP* http = ctx.windows.foGenHTTP;
                         if (http == nullptr) return done(false);
                         http->FetchUrl(QString::fromStdString(url), std::move(done));
                     },
                     std::move(clock)) {}

void WeatherButtonHandler::Button511Click(WeatherButton which) {
    if (ctx_.plan == nullptr || buttons_.Pressing()) return;
    const std::string station = ctx_.plan->Text(WeatherButtonField(which));
    const std::string icaoFile = ctx_.plan->paths.ProgramDir + "airports/icao.vn";
    // The hourglass shows from the press until its report is spoken or its request has failed
    // (when the last holder of the guard lets go); the windows go on answering meanwhile.
    auto busy = std::make_shared<BusyCursor>();
    try {
        buttons_.Press(which, station, icaoFile, ctx_.speak,
                       [busy](const std::optional<std::string>&, std::exception_ptr error) {
                           if (error) ShowPressError(error);
                       });
    } catch (...) {
        ShowPressError(std::current_exception());
    }
}

} // namespace vantrel
