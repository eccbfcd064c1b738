#pragma once
#include "planning/flight_plan.h"

#include <cstdint>

namespace vantrel {

// The "Sound" switch (Panel5): plays the switch cue, inverts the sound-on flag and tells the
// window through onSoundSwitched, which colours the panel (SoundPanelColor) and starts the
// background loop when the sound is now on or stops the player when it is off.
void Panel5Click(FlightPlan& plan);

// Lime while the sound is on, red while it is off.
constexpr std::uint32_t SoundPanelColor(bool on) {
    return on ? colors::Lime : colors::Red;
}

} // namespace vantrel
