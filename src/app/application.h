#pragma once
#include "app_context.h"

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace vantrel {

class Cockpit;
class ControlSignals;
class LinkThread;
class QtCockpitClock;
class QtTimerSource;
class WaveOutput;

// The program: the plan, the shared context and the ten windows, each created once and
// living as long as this object.
class Application {
public:
    // wave: where sound goes; null means the sound device (a test may record the calls instead).
    explicit Application(WaveOutput* wave = nullptr);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    AppContext& Context() { return ctx_; }
    FlightPlan& Plan() { return *plan_; }
    // The simulator link and the sound player; null before CreateWindows.
    Cockpit* GetCockpit() { return cockpit_.get(); }

    // Creates the windows in their fixed order; the main window's creation runs the start-up
    // sequence with programDir (ending with a separator). False when the user chose to stop
    // at a start-up question: then no further window exists.
    bool CreateWindows(const std::string& programDir);

    // The windows in the order they were created.
    const std::vector<QWidget*>& Windows() const { return created_; }

    // Brings the main window to the front with the splash and the speeds gauge on top.
    void ShowWindows();

    // Shows the window icon of the link state ("icon1.ico" linked, "icon2.ico" not).
    void SetLinkIcon(const std::string& path);

private:
    template <class Window> void Create(std::unique_ptr<Window>& slot, Window*& published);

    void CreateCockpit(const std::string& programDir);
    void ConnectFuelPanelAndFlightLog();

    std::unique_ptr<FlightPlan> plan_;
    AppContext ctx_;
    // The cockpit's seams and the cockpit itself; they outlive the windows that show them.
    std::unique_ptr<QtCockpitClock> clock_;
    std::unique_ptr<QtTimerSource> timers_;
    std::unique_ptr<LinkThread> linkThread_; // the link's exchanges, away from the windows
    std::unique_ptr<WaveOutput> ownWave_;
    WaveOutput* wave_ = nullptr;
    std::unique_ptr<Cockpit> cockpit_;
    std::unique_ptr<ControlSignals> controlSignals_;
    std::vector<QWidget*> created_;
    // Declared in creation order; destroyed in reverse, the main window last.
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm4> form4_;
    std::unique_ptr<TForm5> form5_;
    std::unique_ptr<TfoGenHTTP> foGenHTTP_;
    std::unique_ptr<TFormMain> formMain_;
    std::unique_ptr<TForm7> form7_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TfrmMain> frmMain_;
    std::unique_ptr<TForm6> form6_;
};

} // namespace vantrel
