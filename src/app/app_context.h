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

class Cockpit;
class ControlSignals;
class FlightPlan;
class TMSpeech;

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

// The message boxes the windows show. Empty members use the real boxes (message_boxes.h);
// a test installs its own to answer questions and to record errors.
struct Dialogs {
    // The application's standard error box: the error's exact text and an OK button.
    std::function<void(const std::string& text)> showError;
    // A notice with an OK button (where a file was written, ...).
    std::function<void(const std::string& text)> showMessage;
    // A Yes/No question with a stop icon; true means "Yes".
    std::function<bool(const std::string& text, const std::string& caption)> askYesNo;
    // Opens a document with the desktop's default handler; false when no handler took it.
    std::function<bool(const std::string& path)> openDocument;
    // The system beep.
    std::function<void()> beep;
};

// Main-window commands carried out by other parts of the program. The main window calls the
// hook when its control is used; an empty hook does nothing.
struct MainWindowHooks {
    std::function<void()> printPlan; // "Print": fill the sheet, show the print window
};

// What the windows share: the plan and the program-wide services. Each window receives it
// in its constructor, so a test can build any window on its own with its own context.
struct AppContext {
    FlightPlan* plan = nullptr;
    // The simulator link, the sound player and the named controls the windows show; null when a
    // window is built on its own without one. controlSignals tells which control changed.
    Cockpit* cockpit = nullptr;
    ControlSignals* controlSignals = nullptr;
    WindowSet windows;
    // The weather request address ([Weather] Url), the reply text and the weather buttons'
    // cache slots.
    WeatherState weather;
    // Speaks a sentence through the checklist window's speech component; left empty when
    // there is none, and then nothing is spoken.
    std::function<void(const std::string&)> speak;

    // Voice features, decided by the checklist window when it is created: off without a
    // checklist file or a usable voice. The speed hold and the Gauge panel read the flag.
    bool ChecklistsDisabled = true;
    // The checklist window's speech component (checklists, weather report, speed-hold warning);
    // null when there is no checklist file.
    TMSpeech* ChecklistSpeech = nullptr;
    // Set when the configured voice does not exist: the main window's weather buttons
    // (Button5, Button511, Button11) are to be hidden. The checklist window calls
    // HideWeatherButtons if the main window set it, and also hides the buttons it finds by name.
    bool WeatherButtonsHidden = false;
    std::function<void()> HideWeatherButtons;

    std::string programDir; // the program's folder with a trailing separator
    Dialogs dialogs;
    MainWindowHooks hooks;
};

} // namespace vantrel
