#pragma once
#include "planning/flight_plan.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vantrel {

// What the start-up sequence needs from its front end (the window or the command line).
struct StartupHooks {
    // A Yes/No question with a stop icon and the caption "Vantrel Suite"; true = "Yes".
    std::function<bool(const std::string& text)> ask;
    // Lets pending window messages run (the window paints); nothing headless.
    std::function<void()> processMessages;
    // Applies the stored main-window position (-999 = none stored).
    std::function<void(int top, int left)> placeMainWindow;
    // Starts the looping background sound (it plays only when sound is on).
    std::function<void()> startBackgroundSound;
    // Colours the aircraft-files lamp Panel7 ("CFG"): red when a file is missing, lime when found.
    std::function<void(std::uint32_t color)> colorCfgLamp;
};

enum class StartupResult {
    Completed,
    StoppedByUser,  // "No" to a question: the program ends at once, nothing is saved
    StoppedByError, // a file could not be read; the error went to plan.onError, the rest was skipped
};

// The main window's start-up sequence on a plain plan: paths, file checks, performance tables,
// airport database, aircraft files, settings, the first route and weight computation.
// programDir ends with a path separator.
StartupResult RunStartupSequence(FlightPlan& plan, const std::string& programDir, const StartupHooks& hooks);

// Minutes to add to local time to get UTC, from the operating system's time zone.
int ReadUtcBiasMinutes();

} // namespace vantrel
