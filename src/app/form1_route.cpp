// The route area's own commands: the three "Listen to weather" buttons.
#include "form1.h"

#include "app_context.h"
#include "ui_form1.h"
#include "weather_buttons.h"

void TForm1::ConnectRoute() {
    // The weather memory starts empty, each slot a day old, so the first press always fetches.
    weather_ = std::make_unique<vantrel::WeatherButtonHandler>(ctx_);
    for (QPushButton* button : {ui->Button5, ui->Button511, ui->Button11})
        connect(button, &QPushButton::clicked, this, [this, button] { Button511Click(button); });
    // Without a usable voice the checklist window has the weather buttons hidden.
    ctx_.HideWeatherButtons = [this] {
        for (QPushButton* button : {ui->Button5, ui->Button511, ui->Button11})
            button->hide();
    };
    if (ctx_.WeatherButtonsHidden) ctx_.HideWeatherButtons();
}

// The shared handler of the weather buttons; the sender tells which airport to report.
void TForm1::Button511Click(QObject* sender) {
    const vantrel::WeatherButton which = sender == ui->Button5     ? vantrel::WeatherButton::Origin
                                         : sender == ui->Button511 ? vantrel::WeatherButton::Dest
                                                                   : vantrel::WeatherButton::Altn;
    weather_->Button511Click(which);
}
