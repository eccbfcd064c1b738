// The main window's shell commands: help, exit and the close sequence, the fuel panel, the
// gauge and checklist windows, the flight log, saving and printing.
#include "form1.h"

#include "app_context.h"
#include "form4.h"
#include "form5.h"
#include "form6.h"
#include "form7.h"
#include "formmain.h"
#include "message_boxes.h"
#include "panel_widget.h"
#include "ui_form1.h"
#include "window_places.h"

#include "cockpit/cockpit.h"
#include "core/convert.h"
#include "planning/flight_plan.h"
#include "shell/aircraft_config_writer.h"
#include "shell/settings_file.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QUrl>

using vantrel::FieldId;

namespace {

std::string MissingManualText(const std::string& path) {
    return "The manual was not found: " + path;
}

std::string NoManualOpenerText(const std::string& path) {
    return "No program on this computer opens the manual (a PDF document). Open it by hand:\n" + path;
}

} // namespace

void TForm1::ConnectShell() {
    connect(Panel("Panel4"), &TPanel::clicked, this, &TForm1::Panel4Click);
    connect(Panel("Panel10"), &TPanel::clicked, this, &TForm1::Panel10Click);
    connect(Panel("Panel9"), &TPanel::clicked, this, &TForm1::Button5Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui->Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(ui->Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(ui->Button51, &QPushButton::clicked, this, &TForm1::Button51Click);
}

// Help: the manual beside the program, opened by the desktop. A missing manual, or a desktop
// without a program for it, is told with the manual's path, so the user can open it by hand.
void TForm1::Panel4Click() {
    std::string dir = ctx_.plan->paths.ProgramDir;
    if (dir.empty()) dir = ctx_.programDir;
    const std::string path = dir + "help/manual.pdf";
    const QString shown = QDir::toNativeSeparators(QString::fromStdString(path));
    if (!QFileInfo(QString::fromStdString(path)).isFile()) {
        vantrel::ShowError(ctx_, MissingManualText(shown.toStdString()), this);
        return;
    }
    const bool opened = ctx_.dialogs.openDocument
                            ? ctx_.dialogs.openDocument(path)
                            : QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    if (!opened) vantrel::ShowMessage(ctx_, NoManualOpenerText(shown.toStdString()), this);
}

void TForm1::Panel10Click() {
    close();
}

namespace {
// Longer than one exchange's send, the most an exchange goes on after the shutdown asks it to end.
constexpr int kExitLimitMs = 10000;
} // namespace

void TForm1::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    // Every window goes out of sight at once; the program ends once the cockpit has finished what
    // is under way (a landing's data load, the flight log's last lines, the link), which an
    // exchange's time-out bounds. Should anything still wait after that, the end comes anyway.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QPointer<TForm1> self(this);
    auto finished = [self] {
        if (!self) return;
        if (self->ctx_.windows.Form7) self->ctx_.windows.Form7->DestroySpeech();
        emit self->closed();
    };
    vantrel::Cockpit* cockpit = ctx_.cockpit;
    if (!cockpit) {
        finished();
        return;
    }
    cockpit->Close(finished);
    if (!cockpit->Closed()) QTimer::singleShot(kExitLimitMs, this, [cockpit] { cockpit->CloseNow(); });
}

// The shutdown sequence. A settings value that cannot be written keeps the window open, so
// the user can correct it and nothing is lost silently.
bool TForm1::FormCloseQuery() {
    try {
        SaveSettings();
    } catch (const vantrel::ConvertError& e) {
        vantrel::ShowError(ctx_, e.what(), this);
        return false;
    } catch (const vantrel::UserError& e) {
        vantrel::ShowError(ctx_, e.what(), this);
        return false;
    }
    if (ctx_.windows.FormMain) ctx_.windows.FormMain->close();
    return true;
}

// The windows' current places go into the plan, which the settings writer stores.
void TForm1::StoreWindowPositions() {
    vantrel::WindowPositions& w = ctx_.plan->values.windowPositions;
    auto store = [](const QWidget* window, int& top, int& left) {
        if (!window) return;
        top = window->y();
        left = window->x();
    };
    // A tool window never shown keeps what was stored (or none): it has no place of its own.
    auto storeShown = [&store](const QWidget* window, int& top, int& left) {
        if (window && vantrel::WasEverShown(window)) store(window, top, left);
    };
    store(this, w.Top1, w.Left1);
    storeShown(ctx_.windows.Form4, w.Top4, w.Left4);
    storeShown(ctx_.windows.Form5, w.Top5, w.Left5);
    storeShown(ctx_.windows.Form7, w.Top7, w.Left7);
}

void TForm1::SaveSettings() {
    StoreWindowPositions();
    vantrel::SaveSettings(*ctx_.plan);
}

// Refuel/Defuel: the cockpit's fuel panel preselects the smaller of the required fuel and the
// capacity and shows; the fuel panel window follows it.
void TForm1::Button2Click() {
    if (ctx_.cockpit) Guarded([this] { ctx_.cockpit->fuelPanel.Button2Click(); });
}

// Gauge: toggles the speeds gauge and, unless checklists are unavailable, the checklist window.
void TForm1::Button5Click() {
    PlaySwitchCue();
    if (QWidget* gauge = ctx_.windows.Form4) gauge->setVisible(!gauge->isVisible());
    if (ctx_.windows.Form7) ctx_.windows.Form7->ToggleChecklistWindow(); // nothing while voice is off
}

void TForm1::Button10Click() {
    PlaySwitchCue();
    if (ctx_.windows.Form6) ctx_.windows.Form6->exec();
}

// Save: the aircraft files after a confirmation, then the settings whatever the answer.
void TForm1::Button9Click() {
    const vantrel::QuestionFn ask = [this](const std::string& text, const std::string& caption) {
        return vantrel::AskYesNo(ctx_, text, caption, this, vantrel::QuestionIcon::Question);
    };
    StoreWindowPositions();
    Guarded([this, &ask] { vantrel::Button9Click(*ctx_.plan, ask); });
}

// Print: the print window fills its sheet from the plan and shows it.
void TForm1::Button51Click() {
    PlaySwitchCue();
    if (ctx_.hooks.printPlan) Guarded(ctx_.hooks.printPlan);
}
