#pragma once
#include "voice/weather_buttons.h"

#include <functional>
#include <string>

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TFormMain;
class TfrmMain;
class TfoGenHTTP;

namespace vantrel {

class FlightPlan;

// The ten windows, created once in this order and living until the program ends.
struct WindowSet {
    TForm1* Form1 = nullptr;
    TForm2* Form2 = nullptr;
    TForm4* Form4 = nullptr;
    TForm5* Form5 = nullptr;
    TfoGenHTTP* foGenHTTP = nullptr;
    TFormMain* FormMain = nullptr;
    TForm7* Form7 = nullptr;
    TForm3* Form3 = nullptr;
    TfrmMain* frmMain = nullptr;
    TForm6* Form6 = nullptr;
};

// What the windows share: the plan and the program-wide services. Each window receives it
// in its constructor, so a test can build any window on its own with its own context.
struct AppContext {
    FlightPlan* plan = nullptr;
    WindowSet windows;
    // The weather request address ([Weather] Url), the reply text and the weather buttons'
    // cache slots.
    WeatherState weather;
    // Speaks a sentence through the checklist window's speech component; left empty when
    // there is none, and then nothing is spoken.
    std::function<void(const std::string&)> speak;
};

} // namespace vantrel
