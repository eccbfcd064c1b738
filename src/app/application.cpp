#include "application.h"

#include "fogenhttp.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "form5.h"
#include "form6.h"
#include "form7.h"
#include "formmain.h"
#include "frmmain.h"

#include "control_signals.h"
#include "device_wave_output.h"
#include "gauge_hold_windows.h"
#include "qt_cockpit_clock.h"
#include "qt_timer_source.h"
#include "window_places.h"

#include "cockpit/cockpit.h"
#include "cockpit/link_thread.h"
#include "ipc/simulator_window.h"
#include "planning/flight_plan.h"

#include <QApplication>
#include <QIcon>

namespace vantrel {

Application::Application(WaveOutput* wave)
    : plan_(std::make_unique<FlightPlan>()), clock_(std::make_unique<QtCockpitClock>()),
      timers_(std::make_unique<QtTimerSource>()),
      linkThread_(std::make_unique<LinkThread>(
          [clock = clock_.get()](std::function<void()> fn) { clock->Post(std::move(fn)); })) {
    ctx_.plan = plan_.get();
    if (!wave) {
        ownWave_ = CreateDeviceWaveOutput();
        wave = ownWave_.get();
    }
    wave_ = wave;
}

void Application::CreateCockpit(const std::string& programDir) {
    CockpitSeams seams{*clock_,
                       *timers_,
                       *wave_,
                       [this](const std::string& text) {
                           if (ctx_.speak) ctx_.speak(text);
                       },
                       [](const std::string& windowClass) { return SimulatorWindowExists(windowClass); },
                       {}, // the event loop hands over clicks and keys by itself
                       [this] {
                           if (ctx_.dialogs.beep)
                               ctx_.dialogs.beep();
                           else
                               QApplication::beep();
                       },
                       linkThread_.get(),
                       [clock = clock_.get()](std::function<void()> fn) { clock->Post(std::move(fn)); }};
    cockpit_ = std::make_unique<Cockpit>(*plan_, seams, programDir);
    controlSignals_ = std::make_unique<ControlSignals>(cockpit_->controls);
    cockpit_->linkWindow.onIconChanged = [this](const std::string& path) { SetLinkIcon(path); };
    ctx_.cockpit = cockpit_.get();
    ctx_.controlSignals = controlSignals_.get();
    SetLinkIcon(programDir + "icon2.ico"); // not linked until the monitor finds the simulator
}

void Application::SetLinkIcon(const std::string& path) {
    const QIcon icon(QString::fromStdString(path));
    if (icon.isNull()) return; // a missing icon file leaves the one shown
    QApplication::setWindowIcon(icon);
    if (ctx_.windows.Form1) ctx_.windows.Form1->setWindowIcon(icon);
}

Application::~Application() {
    // The windows go out of sight at once; an exchange that is out ends after its current send,
    // then the link window's closing closes a link that is up.
    for (QWidget* window : created_)
        window->hide();
    if (cockpit_) {
        cockpit_->Close();
        cockpit_->CloseNow(); // no event loop any more: what still waits ends here
    }
    clock_->Stop();
    // The windows go before the plan and the context they refer to; the main window last,
    // because the others may still read it while they close.
    form6_.reset();
    frmMain_.reset();
    form3_.reset();
    form7_.reset();
    formMain_.reset();
    foGenHTTP_.reset();
    form5_.reset();
    form4_.reset();
    form2_.reset();
    form1_.reset();
    if (cockpit_) cockpit_->controls.onChanged = nullptr;
}

template <class Window> void Application::Create(std::unique_ptr<Window>& slot, Window*& published) {
    slot = std::make_unique<Window>(ctx_, nullptr);
    published = slot.get();
    TrackFirstShow(published);
    created_.push_back(published);
}

bool Application::CreateWindows(const std::string& programDir) {
    ctx_.programDir = programDir;
    CreateCockpit(programDir);
    WindowSet& w = ctx_.windows;
    Create(form1_, w.Form1);
    TForm1* main = w.Form1;
    if (main->StartupResult() == StartupResult::StoppedByUser) return false;
    // Closing the main window ends the program, whatever other windows are still open.
    QObject::connect(main, &TForm1::closed, QCoreApplication::instance(), &QCoreApplication::quit);
    Create(form2_, w.Form2);
    Create(form4_, w.Form4);
    Create(form5_, w.Form5);
    Create(foGenHTTP_, w.foGenHTTP);
    Create(formMain_, w.FormMain);
    Create(form7_, w.Form7);
    Create(form3_, w.Form3);
    Create(frmMain_, w.frmMain);
    InstallVoiceWindowShortcut(main, w.frmMain);
    Create(form6_, w.Form6);
    ConnectFuelPanelAndFlightLog();
    ConnectSpeedHoldAndGauge(*cockpit_, ctx_);
    // The link window's monitor starts with the link window (first tick after a second).
    cockpit_->Start();
    return true;
}

// The fuel panel window shows the cockpit's fuel panel and follows its shown state; a flight
// the recorder logs joins the log viewer's grid.
void Application::ConnectFuelPanelAndFlightLog() {
    form5_->Attach(cockpit_->fuelPanel, cockpit_->controls);
    QObject::connect(
        controlSignals_.get(), &ControlSignals::changed, form5_.get(),
        [form5 = form5_.get()](const QString& name) { form5->ControlChanged(name.toStdString()); });
    cockpit_->recorder.onFlightLogged = [form6 = form6_.get()](const std::string& date) {
        form6->Grid().AddLoggedFlight(date);
    };
}

void Application::ShowWindows() {
    TForm1* main = ctx_.windows.Form1;
    main->show();
    ctx_.windows.Form4->show();
    main->raise();
    main->activateWindow();
    ctx_.windows.Form2->show();
    ctx_.windows.Form2->raise();
}

} // namespace vantrel
