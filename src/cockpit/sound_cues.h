#pragma once
#include "cockpit/cockpit_clock.h"
#include "cockpit/wave_sound.h"

#include <string>

namespace vantrel {

// The program's sounds: the looping cockpit background and the short cues that interrupt it.
// A cue stops the player, plays its file once (whether the sound is on or not), holds for its
// time, then goes back to the background loop, which plays only while the sound is on.
class SoundCues {
public:
    // soundOn is the "Sound" switch's flag (the plan keeps it); programDir ends with a separator.
    SoundCues(TWaveSound& player, CockpitClock& clock, std::string programDir, const bool& soundOn);

    static constexpr const char* kBackground = "sounds/bkgnd.wav";
    static constexpr const char* kSwitch = "sounds/switch.wav";
    static constexpr const char* kOk = "sounds/OK.wav";
    static constexpr const char* kAlert = "sounds/alert.wav";
    static constexpr const char* kAltAlert = "sounds/altalert.wav";
    static constexpr const char* kFuel = "sounds/fuel.wav";

    // Play on the player when the sound is on.
    void PlayCue();
    // Sets the background file with looping on and plays it (when the sound is on).
    void StartBackground();
    void PlaySwitchCue() { Cue(kSwitch, 50); }
    void PlayOkCue() { Cue(kOk, 450); }
    void PlayAlertCue() { Cue(kAlert, 450); }
    void PlayAltAlertCue() { Cue(kAltAlert, 1000); }

    TWaveSound& Player() { return player_; }
    std::string PathOf(const char* relative) const { return programDir_ + relative; }

private:
    void Cue(const char* file, int holdMs);

    TWaveSound& player_;
    CockpitClock& clock_;
    std::string programDir_;
    const bool& soundOn_;
};

} // namespace vantrel
