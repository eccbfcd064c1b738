#pragma once
#include "planning/airport_database.h"
#include "planning/field_id.h"
#include "planning/performance_tables.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace vantrel {

// Stored top and left edges of the windows that remember their place; -999 = none stored.
struct WindowPositions {
    static constexpr int kNone = -999;
    int Top1 = kNone, Left1 = kNone; // main window
    int Top4 = kNone, Left4 = kNone; // speeds gauge
    int Top5 = kNone, Left5 = kNone; // fuel panel
    int Top7 = kNone, Left7 = kNone; // checklist window
};

// The values of the plan that no control shows (weights in whole pounds).
struct PlanValues {
    double WeightUnitFactor = 1.0; // pounds per display unit: 1.0 or kKilogramFactor
    bool WeightsInKg = false;
    int PilotWeight = 190;
    int AttendantWeight = 140;
    int PaxForTwoAttendants = 26;
    int BulkLimit = 2646;
    int LandingFuelAllowance = 200;
    std::int64_t DryOperatingWeight = 0;
    bool ActualMode = false;
    int AlertAltitude = 5000;
    int AlertDirection = 0;
    std::string CurrentFltsimSection;
    int UtcBiasMinutes = 0; // minutes to add to local time to get UTC
    bool SoundOn = true;             // the "Sound" switch (Panel5)
    WindowPositions windowPositions; // loaded with the settings; windows update them before a save
};

constexpr double kKilogramFactor = 2.2046226;

// Folders and files located at start-up (folders end with a separator).
struct PlanPaths {
    std::string ProgramDir;
    std::string AircraftFolderName = "Feelthere PIC ERJ145LR";
    std::string DocumentsDir;
    std::string SimAircraftDir;
    std::string FlightsDir;
    std::string AircraftCfgPath;
    std::string PanelIniPath;
    std::string SimRegistryKey = "SOFTWARE\\MICROSOFT\\MICROSOFT GAMES\\FLIGHT SIMULATOR\\9.0";
    std::string SimPathValueName = "EXE Path";
};

// The flight plan: the texts and colours of the main window's plan controls and the
// computations that tie them together. Writing a field runs that field's change handler
// when its value actually changes, so a change ripples through the plan exactly as the
// window's controls would; the window only shows this object and forwards edits to it.
//
// Handlers raise ConvertError (a text that is not a number) or UserError (a missing file);
// the error unwinds the whole ripple, and what was written before stays. The User* entry
// points catch it and hand the text to onError, as the window's error box would show it.
class FlightPlan {
public:
    FlightPlan();

    // ---- Reading the controls
    const std::string& Text(FieldId id) const { return fields_[Index(id)].text; }
    std::uint32_t Color(FieldId id) const { return fields_[Index(id)].color; }
    int ItemIndex(FieldId id) const { return fields_[Index(id)].itemIndex; } // -1: no selection
    const std::vector<std::string>& Items(FieldId id) const { return fields_[Index(id)].items; }
    bool Checked(FieldId id) const { return fields_[Index(id)].itemIndex == 1; } // cbRVSM
    int Position(FieldId id) const { return fields_[Index(id)].itemIndex; }      // scroll bars

    // ---- Writes by the program (may throw; see class comment)
    void SetText(FieldId id, const std::string& text);
    void SetColor(FieldId id, std::uint32_t color);
    // Combo boxes: selecting by index runs nothing; an index outside the list clears the selection.
    // rg2: a change runs its click handler.
    void SetItemIndex(FieldId id, int index);
    void SetItems(FieldId id, std::vector<std::string> items);
    void SetChecked(FieldId id, bool checked); // cbRVSM: a change runs the route recompute
    void SetPosition(FieldId id,
                     int position); // scroll bars, clamped to their range; a change runs the handler

    // ---- User actions: run what the control's event runs; errors go to onError.
    void UserSetText(FieldId id, const std::string& text);
    void UserSelect(FieldId id, int index); // combo boxes and rg2: selection change event
    void UserSetChecked(FieldId id, bool checked);
    void UserSetPosition(FieldId id, int position);
    // Runs fn and reports a ConvertError or UserError through onError; false when one was raised.
    bool Guarded(const std::function<void()>& fn);

    // ---- Change handlers
    void Edit1Change(FieldId sender); // route legs and fuel burn
    void Edit18Change();              // weight chain
    void Edit16Change();              // payload limit
    void Edit23Change();              // zero fuel weight limit
    void Edit24Change();              // block weight limit
    void Edit25Change();              // take-off weight limit
    void Edit26Change();              // landing weight limit
    void Edit29Change();              // fuel capacity limit
    // Speeds for the given weight fields; actual selects the "ACT" basis.
    void CalcSpeeds(FieldId takeoffField, FieldId landingField, bool actual);
    // CalcSpeeds in the current mode: Edit48 twice when ActualMode is set, else Edit25/Edit26.
    void CalcSpeedsInCurrentMode();
    void ScrollBar1Change(); // temperature label, speeds
    void ScrollBar2Change(); // pressure label, pressure altitude, speeds
    void rg2Click();         // landing flaps
    void Button8Click();     // plan/actual speeds mode
    void Button6Click();     // clear used fuel
    void Button1Click();     // load agent: a random passenger and cargo load

    // ---- Unit helpers: display <-> whole pounds with half-even rounding.
    std::int64_t ToPounds(std::int64_t display) const;
    std::int64_t ToDisplay(double pounds) const;
    // A field's text as an integer; throws ConvertError for a text that is not a whole number.
    int IntOf(FieldId id) const;

    PlanValues values;
    PlanPaths paths;
    PerformanceTables tables;
    AirportDatabase airports;                 // loaded at start-up from airports/airports.vn
    std::array<AirportRecord, 3> routeEnds{}; // origin, destination, alternate as last resolved

    // ---- Observers
    std::function<void(FieldId)> onFieldChanged;     // text, colour, items or index changed
    std::function<void(const std::string&)> onError; // the standard error box
    std::function<void()> onSwitchCue;               // the switch sound cue
    std::function<void()> onAlertCue;                // the alert sound cue
    // The gauge window receives V1/VR/V2 (or VREF/VGA9/TGT) and the weight basis "PLAN"/"ACT".
    std::function<void(const std::string& basis)> onSpeedsBasis;
    std::function<void()> onSpeedsWritten;
    std::function<void()> onComboBox3Change; // the active-flight look-up
    std::function<void()> onFlapsChanged;    // the gauge flips its landing caption
    // The sound switch changed: colour Panel5 and start (on) or stop (off) the background loop.
    std::function<void(bool on)> onSoundSwitched;

    // The random generator of the load agent (seeded from the clock at start-up).
    std::mt19937 random;

private:
    struct Field {
        std::string text;
        std::uint32_t color = colors::White;
        int itemIndex = -1;
        std::vector<std::string> items;
    };

    static std::size_t Index(FieldId id) { return static_cast<std::size_t>(id); }
    void Notify(FieldId id) {
        if (onFieldChanged) onFieldChanged(id);
    }
    void RunTextHandler(FieldId id);
    void LimitCheck(FieldId value, FieldId limit);

    std::array<Field, kFieldCount> fields_;
};

} // namespace vantrel
