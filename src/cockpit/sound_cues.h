#pragma once
#include "cockpit/cockpit_clock.h"
#include "cockpit/cockpit_task.h"
#include "cockpit/handler_queue.h"
#include "cockpit/wave_sound.h"

#include <deque>
#include <functional>
#include <string>

namespace vantrel {

// The program's sounds: the looping cockpit background and the short cues that interrupt it.
// A cue stops the player, plays its file once (whether the sound is on or not), holds for its
// time, then goes back to the background loop, which plays only while the sound is on. Cues
// play one after the other: a cue asked for during another one's hold starts when that ends.
class SoundCues {
public:
    // soundOn is the "Sound" switch's flag (the plan keeps it); programDir ends with a separator.
    SoundCues(TWaveSound& player, CockpitClock& clock, std::string programDir, const bool& soundOn,
              HandlerQueue& handlers);

    static constexpr const char* kBackground = "sounds/bkgnd.wav";
    static constexpr const char* kSwitch = "sounds/switch.wav";
    static constexpr const char* kOk = "sounds/OK.wav";
    static constexpr const char* kAlert = "sounds/alert.wav";
    static constexpr const char* kAltAlert = "sounds/altalert.wav";
    static constexpr const char* kFuel = "sounds/fuel.wav";

    static constexpr int kSwitchHoldMs = 50;
    static constexpr int kOkHoldMs = 450;
    static constexpr int kAlertHoldMs = 450;
    static constexpr int kAltAlertHoldMs = 1000;

    // Play on the player when the sound is on.
    void PlayCue();
    // Sets the background file with looping on and plays it (when the sound is on).
    void StartBackground();

    // The cues inside a cockpit handler, which goes on after the hold.
    Task<> SwitchCue() { return Cue(kSwitch, kSwitchHoldMs); }
    Task<> OkCue() { return Cue(kOk, kOkHoldMs); }
    Task<> AlertCue() { return Cue(kAlert, kAlertHoldMs); }
    Task<> AltAlertCue() { return Cue(kAltAlert, kAltAlertHoldMs); }

    // The cues asked for by the plan or a window: each takes its turn among the cockpit's
    // handlers, and the caller goes on at once.
    void PlaySwitchCue() { Post(kSwitch, kSwitchHoldMs); }
    void PlayOkCue() { Post(kOk, kOkHoldMs); }
    void PlayAlertCue() { Post(kAlert, kAlertHoldMs); }
    void PlayAltAlertCue() { Post(kAltAlert, kAltAlertHoldMs); }

    TWaveSound& Player() { return player_; }
    std::string PathOf(const char* relative) const { return programDir_ + relative; }

private:
    Task<> Cue(const char* file, int holdMs);
    void Post(const char* file, int holdMs);

    TWaveSound& player_;
    CockpitClock& clock_;
    std::string programDir_;
    const bool& soundOn_;
    HandlerQueue& handlers_;
    bool holding_ = false;
    std::deque<std::function<void()>> waitingCues_;
};

} // namespace vantrel
