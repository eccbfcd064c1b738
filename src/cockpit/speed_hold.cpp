#include "cockpit/speed_hold.h"

#include "cockpit/link_thread.h"

#include "core/convert.h"
#include "core/durable_file.h"
#include "core/profile_file.h"
#include "core/rounding.h"
#include "planning/airport_database.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vantrel {

namespace {

constexpr std::uint32_t kLever1 = 0x088C;
constexpr std::uint32_t kLever2 = 0x0924;
constexpr const char* kPnat = "Form7.pnat";
constexpr const char* kPnrev = "Form7.pnrev";
constexpr const char* kPnatCaption = "SPD";
constexpr const char* kChecklistFile = "checklists/checklists.ini";
constexpr int kDefaultPitch = 62;
constexpr int kDefaultSpeed = 145;
// The gain is one short number; a longer first line is not read on.
constexpr std::size_t kGainLineLimit = 256;

} // namespace

SpeedHold::SpeedHold(FlightPlan& plan, IpcClient& link, const LinkData& data, ControlBoard& controls,
                     CockpitTimer& monitor, LinkRunner* linkRunner)
    : plan_(plan), link_(link), linkRunner_(linkRunner), data_(data), controls_(controls), monitor_(monitor) {
    controls_.Define(kPnat, {kPnatCaption, colors::Silver, true, true});
    controls_.Define(kPnrev, {"REV", colors::Silver, true, true});
}

std::int16_t SpeedHold::HoldLever(std::int32_t throttle, std::int32_t speed, std::int32_t target,
                                  std::int32_t gain, std::int32_t floor) {
    const double error = static_cast<double>(static_cast<std::int64_t>(target) - speed);
    // Anything beyond a full lever's travel ends at the same stop, so the product is bounded
    // before it is rounded.
    const double correction = std::clamp(gain / 100.0 * 10.0 / 64.0 * error, -1e9, 1e9);
    const std::int64_t lever = static_cast<std::int64_t>(throttle) + RoundHalfEven(correction);
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(lever, floor, kLeverFull));
}

bool SpeedHold::ReadGain() {
    const std::string path = plan_.paths.ProgramDir + kGainFile;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        // Created whole or not at all; the hold flies with 100 either way.
        std::string reason;
        if (!ReplaceFileDurably(path, "100\n", &reason) && plan_.onError)
            plan_.onError(UnableToWrite(path, reason));
        gain_ = 100;
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (plan_.onError) plan_.onError("Unable to read " + path);
        return false;
    }
    std::string line;
    for (char c; line.size() < kGainLineLimit && in.get(c) && c != '\n' && c != '\r';)
        line += c;
    const std::string text(TrimBlanks(line));
    if (text.empty()) return true; // a blank line keeps the gain
    try {
        gain_ = StrToInt(text);
    } catch (const ConvertError& e) {
        if (plan_.onError) plan_.onError(e.what());
        return false;
    }
    return true;
}

void SpeedHold::Disengage() {
    ++engagement_;
    holdActive_ = false;
    controls_.SetColor(kPnat, colors::Silver);
    controls_.SetCaption(kPnat, kPnatCaption);
    target_ = kNoTarget;
    lastThrottle_ = kNoThrottle;
}

void SpeedHold::pnatClick() {
    if (holdActive_) {
        Disengage();
        atwarning();
        return;
    }
    // A gain file that cannot be read leaves the hold off: a hold running on a gain nobody
    // chose would look engaged while doing something else than asked.
    if (!ReadGain()) return;
    ++engagement_;
    target_ = kCaptureTarget;
    holdActive_ = true;
    controls_.SetColor(kPnat, colors::Yellow);
    lastThrottle_ = kNoThrottle;
    if (controls_.Has("Panel3")) controls_.SetColor("Panel3", colors::Fuchsia);
    monitor_.SetInterval(kHoldPeriodMs);
}

void SpeedHold::pnrevClick() {
    reverseArmed_ = !reverseArmed_;
    controls_.SetColor(kPnrev, reverseArmed_ ? colors::Yellow : colors::Silver);
}

void SpeedHold::OnSpeedCapture() {
    if (target_ != kCaptureTarget) return;
    target_ = data_.speed;
    controls_.SetCaption(kPnat, IntToStr(RoundHalfEven(target_ / 128.0)));
}

Task<> SpeedHold::OnReverseAndHold() {
    co_await AutomaticReverse();
    if (holdActive_) co_await HoldStep();
}

Task<> SpeedHold::AutomaticReverse() {
    if (data_.onGroundCurrent != 1 || !reverseArmed_ || data_.speed <= kReverseAboveSpeed) co_return;
    ++engagement_;
    holdActive_ = false;
    controls_.SetColor(kPnat, colors::Silver);
    controls_.SetCaption(kPnat, kPnatCaption);
    target_ = kNoTarget;
    // Used up before the levers go: REV armed again while they go stays armed.
    reverseArmed_ = false;
    controls_.SetColor(kPnrev, colors::Silver);
    co_await WriteLevers(kReverseLever); // whether it arrived shows in the next data load
}

Task<> SpeedHold::HoldStep() {
    if (target_ < 0) co_return; // no speed captured yet
    const std::int64_t throttle = data_.throttle;
    const std::int64_t speed = data_.speed;
    if (lastThrottle_ != kNoThrottle && (std::abs(throttle - lastThrottle_) > kMaxLeverMovement ||
                                         std::abs(speed - target_) > kMaxDeviation)) {
        Disengage();
        atwarning();
        co_return;
    }
    const std::int32_t floor = data_.onGroundCurrent == 0 ? kLeverIdle : kLeverFullReverse;
    const std::int16_t lever = HoldLever(data_.throttle, data_.speed, target_, gain_, floor);
    lastThrottle_ = lever;
    const unsigned engagement = engagement_;
    const bool written = co_await WriteLevers(lever);
    // SPD switched off (or on again) while the levers went: the panel shows that, not this step.
    if (engagement == engagement_) controls_.SetColor(kPnat, written ? colors::Lime : colors::Red);
}

Task<bool> SpeedHold::WriteLevers(std::int16_t lever) {
    bool written = false;
    co_await OnLink(linkRunner_, [&] {
        std::uint32_t result = 0;
        written = link_.FSUIPC_Write(kLever1, 2, &lever, result) &&
                  link_.FSUIPC_Write(kLever2, 2, &lever, result) && link_.FSUIPC_Process(result);
    });
    co_return written;
}

void SpeedHold::atwarning() {
    const std::string path = plan_.paths.ProgramDir + kChecklistFile;
    std::error_code ec;
    if (!voice || !std::filesystem::is_regular_file(path, ec)) return;
    const ProfileFile checklists(path);
    int pitch = checklists.ReadInteger("settings", "pitch", kDefaultPitch);
    int speed = checklists.ReadInteger("settings", "speed", kDefaultSpeed);
    if (pitch < 0) pitch = kDefaultPitch; // a stored -1 means "not set"
    if (speed < 0) speed = kDefaultSpeed;
    voice(100, pitch, speed, kWarning);
}

} // namespace vantrel
