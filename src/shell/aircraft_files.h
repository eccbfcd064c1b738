#pragma once
#include "planning/flight_plan.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantrel {

// The main planning panel's colour in kilogram mode, RGB (210, 213, 200).
constexpr std::uint32_t kKilogramPanelColor = 0xD2D5C8;

// The weight-unit labels of the main window; in kilogram mode (plan.values.WeightsInKg) the
// window sets each caption to "kgs" and colours Panel1 with kKilogramPanelColor.
constexpr std::array<const char*, 24> kWeightUnitLabels = {
    "Label16", "Label18", "Label20", "Label22", "Label24", "Label26", "Label31", "Label32",
    "Label33", "Label35", "Label37", "Label39", "Label41", "Label42", "Label43", "Label47",
    "Label49", "Label53", "Label54", "Label85", "Label90", "Label91", "Label97", "Label101"};

struct FlightAircraft {
    bool isErj145 = false; // the aircraft title contains "ERJ" and "145" (case-sensitive)
    std::string title;     // [Main] Title
};

// Reads a saved flight's [Plane.0] Aircraft and [Main] Title (empty when missing).
FlightAircraft ReadFlightAircraft(const std::string& flightFile);

// The weight of a station_load text: the part before the first "." with every double quote
// removed, as an integer (the whole text when it has no "."). Throws ConvertError otherwise.
int ParseStationWeight(const std::string& stationLoad);

// Titles of the saved ERJ-145 flights in a folder: regular files named "*.flt" (extension in
// any case), in name order without regard to case, so a stored index always names the same flight.
std::vector<std::string> ListSavedFlights(const std::string& flightsDir);

// The saved-flight file of a title: FlightsDir + title + ".flt", or the existing file whose
// extension differs only in case. Empty for a title that is not a plain file name (it holds a
// folder separator, or is "." or ".."), so a crafted title never leads outside the folder.
std::string FlightFilePath(const std::string& flightsDir, const std::string& title);

// Reads the panel file and aircraft.cfg into the plan (display unit, taxi fuel, passenger
// weight, landing fuel allowance, operating weight, take-off limit, pilot weight), lists the
// saved flights in ComboBox3 and, when there are any, selects the first one and looks it up.
// processMessages lets the window paint before the look-up. A station_load.0 that is not a
// number raises ConvertError.
void LoadAircraftFiles(FlightPlan& plan, const std::function<void()>& processMessages = {});

// The active-flight look-up: finds the livery of the selected flight's aircraft among
// [fltsim.0] ... [fltsim.9] of aircraft.cfg and shows its registration, operator and flight
// number (Edit51, Edit53, Edit54); CurrentFltsimSection names the section, empty without a match.
void ComboBox3Change(FlightPlan& plan);

// Connects ComboBox3Change to the plan's ComboBox3 selection event.
void ConnectActiveFlightLookup(FlightPlan& plan);

} // namespace vantrel
