#include "cockpit/gauge.h"

namespace vantrel {

namespace {

constexpr const char* kLabel7 = "Form4.label7";
constexpr const char* kPanel13 = "Form4.Panel13";
// The names of the three speeds, then the three values.
constexpr const char* kNames[] = {"Form4.Label1", "Form4.Label5", "Form4.Label6"};
constexpr const char* kValues[] = {"Form4.Label2", "Form4.Label3", "Form4.Label4"};
constexpr FieldId kTakeoffFields[] = {FieldId::Edit37, FieldId::Edit38, FieldId::Edit39};
constexpr FieldId kLandingFields[] = {FieldId::Edit42, FieldId::Edit43, FieldId::Edit45};
constexpr const char* kTakeoffNames[] = {"V1", "VR", "V2"};
constexpr const char* kLandingNames[] = {"VREF", "VGA9", "TGT"};
constexpr int kFlaps22 = 0;
constexpr int kFlaps45 = 1;

} // namespace

Gauge::Gauge(FlightPlan& plan, ControlBoard& controls, SoundCues& cues)
    : plan_(plan), controls_(controls), cues_(cues) {
    controls_.Define(kLabel7, {kTakeoff, colors::Silver, true, true});
    for (int i = 0; i < 3; ++i) {
        controls_.Define(kNames[i], {kTakeoffNames[i], colors::Silver, true, true});
        controls_.Define(kValues[i], {"", colors::Silver, true, true});
    }
    controls_.Define(kPanel13, {"PLAN", colors::Silver, true, true});
    plan_.onSpeedsBasis = [this](const std::string& basis) {
        if (shown_) controls_.SetCaption(kPanel13, basis);
    };
    plan_.onSpeedsWritten = [this] {
        if (shown_) CopySpeeds();
    };
    plan_.onFlapsChanged = [this] {
        if (shown_) FlipLandingCaption();
    };
}

Gauge::~Gauge() {
    plan_.onSpeedsBasis = nullptr;
    plan_.onSpeedsWritten = nullptr;
    plan_.onFlapsChanged = nullptr;
}

void Gauge::FormCreate(int mainLeft, int mainTop, int mainWidth) {
    const WindowPositions& stored = plan_.values.windowPositions;
    left_ =
        stored.Left4 != WindowPositions::kNone ? stored.Left4 : mainLeft + mainWidth - kWidth - kRightInset;
    top_ = stored.Top4 != WindowPositions::kNone ? stored.Top4 : mainTop + kBelowTop;
    for (int i = 0; i < 3; ++i)
        controls_.SetCaption(kValues[i], plan_.Text(kTakeoffFields[i]));
    shown_ = true;
    if (onMoved) onMoved();
    SetVisible(true);
}

void Gauge::CopySpeeds() {
    const bool takeoff = controls_.Get(kLabel7).caption == kTakeoff;
    for (int i = 0; i < 3; ++i)
        controls_.SetCaption(kValues[i], plan_.Text(takeoff ? kTakeoffFields[i] : kLandingFields[i]));
}

void Gauge::FlipLandingCaption() {
    const std::string& caption = controls_.Get(kLabel7).caption;
    if (caption == kLanding22)
        controls_.SetCaption(kLabel7, kLanding45);
    else if (caption == kLanding45)
        controls_.SetCaption(kLabel7, kLanding22);
}

void Gauge::label7Click() {
    const std::string current = controls_.Get(kLabel7).caption;
    const char* next = nullptr;
    int flaps = kFlaps22;
    if (current == kTakeoff) {
        next = kLanding22;
    } else if (current == kLanding22) {
        next = kLanding45;
        flaps = kFlaps45;
    } else if (current == kLanding45) {
        next = kTakeoff;
        flaps = kFlaps45;
    } else {
        return;
    }
    // The flaps go first: their change recomputes the speeds (and flips a landing caption), and
    // the caption set afterwards is the one the cycle asks for.
    if (!plan_.Guarded([&] { plan_.SetItemIndex(FieldId::rg2, flaps); })) return;
    controls_.SetCaption(kLabel7, next);
    const bool takeoff = next == std::string(kTakeoff);
    for (int i = 0; i < 3; ++i)
        controls_.SetCaption(kNames[i], takeoff ? kTakeoffNames[i] : kLandingNames[i]);
    CopySpeeds();
    if (takeoff) cues_.PlaySwitchCue();
}

void Gauge::Panel13Click() {
    if (!controls_.Has("Button8") || !controls_.Get("Button8").enabled) return;
    plan_.Guarded([this] { plan_.Button8Click(); });
}

void Gauge::Panel1MouseDown(MouseButton button) {
    if (button == MouseButton::Left)
        ToggleMainWindow();
    else if (button == MouseButton::Right)
        SetVisible(false);
}

void Gauge::Moved(int left, int top) {
    left_ = left;
    top_ = top;
}

void Gauge::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (onVisibleChanged) onVisibleChanged();
}

bool Gauge::MainWindowVisible() const {
    return isMainWindowVisible ? isMainWindowVisible() : mainWindowVisible_;
}

void Gauge::SetMainWindowVisible(bool show) {
    mainWindowVisible_ = show;
    if (showMainWindow) showMainWindow(show);
}

} // namespace vantrel
