#include "weather_buttons.h"

#include "app_context.h"
#include "app_title.h"
#include "fogenhttp.h"
#include "planning/flight_plan.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace vantrel {
namespace {

FieldId AirportField(WeatherButton which) {
    switch (which) {
    case WeatherButton::Origin:
        return EditField(1);
    case WeatherButton::Dest:
        return EditField(2);
    case WeatherButton::Altn:
        return EditField(3);
    }
    return EditField(1);
}

// The hourglass for the time of a press, also when it ends early.
struct BusyCursor {
    BusyCursor() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::processEvents();
    }
    ~BusyCursor() {
        QApplication::restoreOverrideCursor();
        QApplication::processEvents();
    }
};

} // namespace

WeatherButtonHandler::WeatherButtonHandler(AppContext& ctx, WeatherButtons::Clock clock)
    : ctx_(ctx), buttons_(
                     ctx.weather,
                     [&ctx](const std::string& url) {
                         TfoGenHTTP* http = ctx.windows.foGenHTTP;
                         return http != nullptr && http->FetchUrl(QString::fromStdString(url));
                     },
                     std::move(clock)) {}

void WeatherButtonHandler::Button511Click(WeatherButton which) {
    if (ctx_.plan == nullptr) return;
    const std::string station = ctx_.plan->Text(AirportField(which));
    const std::string icaoFile = ctx_.plan->paths.ProgramDir + "airports/icao.vn";
    try {
        BusyCursor busy;
        buttons_.Press(which, station, icaoFile, ctx_.speak);
    } catch (const std::exception& e) {
        QMessageBox::critical(QApplication::activeWindow(), kApplicationTitle,
                              QString::fromStdString(e.what()));
    }
}

} // namespace vantrel
