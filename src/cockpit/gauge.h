#pragma once
#include "planning/flight_plan.h"
#include "cockpit/control_board.h"
#include "cockpit/mouse_button.h"
#include "cockpit/sound_cues.h"

#include <functional>

namespace vantrel {

// The speeds gauge (Form4): three speeds of the plan, the take-off ones (V1, VR, V2) or the
// landing ones (VREF, VGA9, TGT), the landing flaps switched with them, the plan/actual toggle
// and the main window's show/hide. Its controls live on the ControlBoard as "Form4.label7",
// "Form4.Label1" ... "Form4.Label6" and "Form4.Panel13"; the plan writes the speeds into it
// after every speeds computation once it has been created.
class Gauge {
public:
    static constexpr int kWidth = 61;
    static constexpr int kRightInset = 10; // from the main window's right edge
    static constexpr int kBelowTop = 165;  // from the main window's top
    static constexpr const char* kTakeoff = "T/O9";
    static constexpr const char* kLanding22 = "LDG22";
    static constexpr const char* kLanding45 = "LDG45";

    Gauge(FlightPlan& plan, ControlBoard& controls, SoundCues& cues);
    ~Gauge();
    Gauge(const Gauge&) = delete;
    Gauge& operator=(const Gauge&) = delete;

    // The window's creation at start-up: its place from the stored position or beside the main
    // window's outer frame, the take-off speeds, shown. From here on the plan writes into it.
    void FormCreate(int mainLeft, int mainTop, int mainWidth);
    bool Shown() const { return shown_; }

    void label7Click();                       // mode cycle T/O9 -> LDG22 -> LDG45 -> T/O9
    void Panel13Click();                      // the main window's Mode button, when it is enabled
    void Panel1MouseDown(MouseButton button); // left: main window on/off; right: hide the gauge

    int Left() const { return left_; }
    int Top() const { return top_; }
    // The window moved (dragged): the place the settings store.
    void Moved(int left, int top);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void ToggleVisible() { SetVisible(!visible_); }

    // The main window as the gauge sees it. The program hands in its window; without one (a
    // headless session) the gauge keeps the flag itself.
    bool MainWindowVisible() const;
    std::function<bool()> isMainWindowVisible;
    // Hides a shown main window, shows a hidden one (the gauge's and the checklist window's
    // left-button toggle).
    void ToggleMainWindow() { SetMainWindowVisible(!MainWindowVisible()); }
    // show: show it in its normal state and bring it to the front; otherwise hide it.
    std::function<void(bool show)> showMainWindow;

    // The gauge window follows these.
    std::function<void()> onVisibleChanged;
    std::function<void()> onMoved;

private:
    void CopySpeeds(); // Label2..Label4 from the fields of the current mode
    void FlipLandingCaption();
    void SetMainWindowVisible(bool show);

    FlightPlan& plan_;
    ControlBoard& controls_;
    SoundCues& cues_;
    bool shown_ = false;
    bool visible_ = false;
    bool mainWindowVisible_ = true;
    int left_ = 0;
    int top_ = 0;
};

} // namespace vantrel
