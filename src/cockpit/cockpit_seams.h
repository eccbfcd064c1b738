#pragma once
#include "cockpit/cockpit_clock.h"
#include "cockpit/cockpit_timer.h"
#include "cockpit/link_thread.h"
#include "cockpit/wave_sound.h"

#include <functional>
#include <string>

namespace vantrel {

// What the cockpit objects use from the platform. The program gives the system clock (whose
// pauses resume handlers from a timer), toolkit timers, its multimedia and speech, the window
// look-up and a link thread; a headless session gives a virtual clock and recorders.
struct CockpitSeams {
    CockpitClock& clock;
    TimerSource& timers;
    WaveOutput& wave;
    // The checklist window's speech.
    std::function<void(const std::string&)> speak;
    // Whether a top-level window of the class is there (SimulatorWindowExists in the program).
    std::function<bool(const std::string& windowClass)> windowExists;
    // Called where a handler lets window messages be handled (the handlers asked for meanwhile
    // then take their turn); the program's event loop needs nothing here.
    std::function<void()> processMessages;
    // The system beep.
    std::function<void()> beep;
    // Where the exchanges and the window look-up run; null runs them at once on this thread.
    LinkRunner* linkRunner = nullptr;
    // Runs a function later from the window thread's event loop; empty runs cockpit handlers
    // at once where they are asked for (see HandlerQueue).
    std::function<void(std::function<void()>)> dispatch = {};
};

} // namespace vantrel
