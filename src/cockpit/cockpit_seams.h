#pragma once
#include "cockpit/cockpit_clock.h"
#include "cockpit/cockpit_timer.h"
#include "cockpit/wave_sound.h"

#include <functional>
#include <string>

namespace vantrel {

// What the cockpit objects use from the platform. The program gives the system clock (whose
// waits keep the windows painting), toolkit timers, its multimedia and speech, the window
// look-up and the message loop; a headless session gives a virtual clock and recorders.
struct CockpitSeams {
    CockpitClock& clock;
    TimerSource& timers;
    WaveOutput& wave;
    // The checklist window's speech.
    std::function<void(const std::string&)> speak;
    // Whether a top-level window of the class is there (SimulatorWindowExists in the program).
    std::function<bool(const std::string& windowClass)> windowExists;
    // Lets pending window messages run (clicks may run in the middle of a tick).
    std::function<void()> processMessages;
    // The system beep.
    std::function<void()> beep;
};

} // namespace vantrel
