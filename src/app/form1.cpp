#include "form1.h"

#include "app_context.h"
#include "app_version.h"
#include "message_boxes.h"
#include "panel_widget.h"
#include "ui_form1.h"
#include "weather_buttons.h"

#include "cockpit/cockpit.h"
#include "core/convert.h"
#include "core/profile_file.h"
#include "planning/flight_plan.h"
#include "shell/settings_file.h"
#include "voice/weather_source.h"

#include <QCoreApplication>
#include <QTimer>

using vantrel::FieldId;

namespace {

// Dark cockpit panels with light captions; the plan fields bring their own colours.
// The rules name the window's own frames, so dialogs opened on top of the window (message
// boxes are its children) keep the desktop's normal look.
const char* const kCockpitStyle = R"(
QWidget#Form1 { background-color: #1c2329; }
QFrame#PanelTop { background-color: #10151a; }
QFrame#Panel1, QFrame#Panel8 { background-color: #2a3440; }
QFrame#PanelTop QLabel, QFrame#Panel1 QLabel, QFrame#Panel8 QLabel,
QFrame#Panel1 QCheckBox, QFrame#Panel1 QRadioButton { color: #e6e6e6; }
QFrame#PanelTop QLabel#capTitle { color: #9fd3ff; font-weight: bold; font-size: 12pt; }
QFrame#PanelTop QLabel#label87 { color: #7dff7d; font-family: monospace; font-size: 11pt; }
QFrame#Panel1 QLabel#Label95 { color: #ffe08a; }
QFrame#Panel1 QGroupBox { color: #9fd3ff; font-weight: bold; border: 1px solid #4a5866; border-radius: 3px;
                          margin-top: 8px; }
QFrame#Panel1 QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }
QFrame#Panel1 QGroupBox#rg2 { color: #e6e6e6; font-weight: normal; }
QFrame#PanelTop QLineEdit, QFrame#Panel1 QLineEdit, QFrame#Panel8 QLineEdit {
    color: black; border: 1px solid #10151a; padding: 0 2px; }
)";

} // namespace

TForm1::TForm1(vantrel::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), ui(new Ui::TForm1) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Vantrel Suite ERJ-145 V") + QString::fromLatin1(vantrel::kVersion));
    setStyleSheet(QString::fromLatin1(kCockpitStyle));
    // The window sizes itself to its content and refuses every resize request.
    setFixedSize(size());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    BindFields();
    ConnectShell();
    ConnectRoute();
    ConnectAids();
    ConnectLink();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10000);
    // The clock's tick takes its turn among the cockpit's handlers, like every timer of theirs.
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (ctx_.cockpit)
            ctx_.cockpit->QuickClick([this] { Timer1Timer(); });
        else
            Timer1Timer();
    });

    FormCreate();
}

TForm1::~TForm1() {
    // The plan outlives the window: it must not call back into a destroyed window.
    if (ctx_.plan) {
        ctx_.plan->onFieldChanged = nullptr;
        ctx_.plan->onError = nullptr;
        if (!ctx_.cockpit) ctx_.plan->onSoundSwitched = nullptr; // else the cockpit's
    }
    ctx_.HideWeatherButtons = nullptr;
}

TPanel* TForm1::Panel(const char* name) const {
    return findChild<TPanel*>(QLatin1String(name));
}

void TForm1::FormCreate() {
    std::string programDir = ctx_.programDir;
    if (programDir.empty()) programDir = QCoreApplication::applicationDirPath().toStdString() + "/";

    vantrel::StartupHooks hooks;
    hooks.ask = [this](const std::string& text) {
        return vantrel::AskYesNo(ctx_, text, "Vantrel Suite", this);
    };
    // No window is shown while the sequence runs, so it has nothing to let paint
    // (hooks.processMessages stays empty).
    hooks.placeMainWindow = [this](int top, int left) { PlaceAt(top, left); };
    hooks.startBackgroundSound = [this] {
        if (ctx_.cockpit) ctx_.cockpit->cues.StartBackground();
    };
    hooks.colorCfgLamp = [this](std::uint32_t color) { Panel("Panel7")->SetColor(color); };
    startupResult_ = vantrel::RunStartupSequence(*ctx_.plan, programDir, hooks);
    if (startupResult_ == vantrel::StartupResult::StoppedByUser) return;

    ApplyWeightUnit();
    // Every weather request goes to the address the settings name, or to the built-in one.
    ctx_.weather.Url = vantrel::LoadWeatherUrl(vantrel::ProfileFile(vantrel::SettingsFilePath(*ctx_.plan)));
    // The bias is read whatever became of the sequence, so the clock never shows local time as UTC.
    if (startupResult_ != vantrel::StartupResult::Completed)
        ctx_.plan->values.UtcBiasMinutes = vantrel::ReadUtcBiasMinutes();
    Timer1Timer();
    Timer1->start();
}

void TForm1::PlaceAt(int top, int left) {
    constexpr int kNotStored = -999;
    QPoint p = pos();
    if (top != kNotStored) p.setY(top);
    if (left != kNotStored) p.setX(left);
    move(p);
}

void TForm1::PlaySwitchCue() {
    if (ctx_.plan->onSwitchCue) ctx_.plan->onSwitchCue();
}

void TForm1::Guarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const vantrel::ConvertError& e) {
        vantrel::ShowError(ctx_, e.what(), this);
    } catch (const vantrel::UserError& e) {
        vantrel::ShowError(ctx_, e.what(), this);
    }
}

void TForm1::SetLinkButtonsEnabled(bool enabled) {
    for (QWidget* b : {static_cast<QWidget*>(ui->Button2), static_cast<QWidget*>(ui->Button3),
                       static_cast<QWidget*>(ui->Button4), static_cast<QWidget*>(ui->Button7),
                       static_cast<QWidget*>(ui->Button8)})
        b->setEnabled(enabled);
}
