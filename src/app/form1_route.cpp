// The route area's own commands: the three "Listen to weather" buttons.
#include "form1.h"

#include "app_context.h"
#include "ui_form1.h"

void TForm1::ConnectRoute() {
    for (QPushButton* button : {ui->Button5, ui->Button511, ui->Button11})
        connect(button, &QPushButton::clicked, this, [this, button] { Button511Click(button); });
}

// The shared handler of the weather buttons; the sender tells which airport to report.
void TForm1::Button511Click(QObject* sender) {
    if (ctx_.hooks.listenToWeather) ctx_.hooks.listenToWeather(sender);
}
