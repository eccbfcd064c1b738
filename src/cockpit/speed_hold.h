#pragma once
#include "cockpit/cockpit_task.h"
#include "cockpit/cockpit_timer.h"
#include "cockpit/control_board.h"
#include "cockpit/link_data.h"
#include "ipc/ipc_client.h"
#include "planning/flight_plan.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vantrel {

// The speed hold ("SPD", Form7.pnat) and the automatic reverse ("REV", Form7.pnrev) of the
// checklist window. The hold captures the indicated airspeed at the next data load and then
// nudges both throttle levers once per monitor tick; the reverse, once armed, pulls both levers
// into reverse when the aircraft rolls on the ground faster than 100 kt.
//
// The levers it commands always stay inside the simulator's lever range, and the hold never
// commands reverse in the air: a large correction is clamped at the range's ends instead of
// wrapping round in 16 bits.
class LinkRunner;

class SpeedHold {
public:
    static constexpr std::int32_t kNoTarget = -999;
    static constexpr std::int32_t kCaptureTarget = -1;
    static constexpr std::int32_t kNoThrottle = -100000;
    // The throttle levers' range: full reverse to full forward thrust.
    static constexpr std::int32_t kLeverFullReverse = -4096;
    static constexpr std::int32_t kLeverIdle = 0;
    static constexpr std::int32_t kLeverFull = 16383;
    // What the automatic reverse writes to both levers.
    static constexpr std::int16_t kReverseLever = -10000;
    static constexpr std::int32_t kMaxDeviation = 1280;       // 10 kt in knots x 128
    static constexpr std::int32_t kMaxLeverMovement = 1000;   // lever moved by someone else
    static constexpr std::int32_t kReverseAboveSpeed = 12800; // 100 kt
    static constexpr int kHoldPeriodMs = 1000;
    static constexpr const char* kGainFile = "autospeed.ini";
    static constexpr const char* kWarning = "auto speed";

    // The checklist window's voice for the warning: volume in percent, the checklist file's
    // pitch and speed, then the text. Empty while the checklist window has no voice.
    using WarningVoice = std::function<void(int volume, int pitch, int speed, const std::string& text)>;

    // monitor is the link window's Timer1, whose period the hold sets to one second.
    SpeedHold(FlightPlan& plan, IpcClient& link, const LinkData& data, ControlBoard& controls,
              CockpitTimer& monitor, LinkRunner* linkRunner = nullptr);

    // Clicks on the two panels.
    void pnatClick();
    void pnrevClick();
    // The data load's steps: capture after a successful read, then reverse and the hold step.
    void OnSpeedCapture();
    Task<> OnReverseAndHold();
    // Speaks "auto speed" with the checklist file's voice settings.
    void atwarning();

    bool HoldActive() const { return holdActive_; }
    bool ReverseArmed() const { return reverseArmed_; }
    std::int32_t Target() const { return target_; }
    std::int32_t LastThrottle() const { return lastThrottle_; }
    std::int32_t Gain() const { return gain_; }

    WarningVoice voice;

    // The lever the hold commands for throttle t, speed s, target and gain: the correction of
    // gain/100 x 10/64 per speed unit, clamped to [floor, kLeverFull].
    static std::int16_t HoldLever(std::int32_t throttle, std::int32_t speed, std::int32_t target,
                                  std::int32_t gain, std::int32_t floor);

private:
    bool ReadGain(); // false after showing the conversion error
    void Disengage();
    Task<> HoldStep();
    Task<> AutomaticReverse();
    Task<bool> WriteLevers(std::int16_t lever);

    FlightPlan& plan_;
    IpcClient& link_;
    LinkRunner* linkRunner_;
    const LinkData& data_;
    ControlBoard& controls_;
    CockpitTimer& monitor_;

    bool holdActive_ = false;
    bool reverseArmed_ = false;
    std::int32_t target_ = kNoTarget;
    std::int32_t lastThrottle_ = kNoThrottle;
    std::int32_t gain_ = 0;
    unsigned engagement_ = 0; // counts SPD on and off
};

} // namespace vantrel
