#pragma once
#include "planning/flight_plan.h"
#include "planning/route_math.h"

#include <optional>
#include <string>

namespace vantrel {

// Where the shipped airport database lives below the program's folder.
inline constexpr const char* kAirportDatabaseFile = "airports/airports.vn";

// Loads ProgramDir + "airports/airports.vn" into plan.airports (start-up). Throws UserError
// with the file-open error text when the file cannot be opened.
void LoadAirportDatabase(FlightPlan& plan);

// Sets the reserve policy cb3 from the origin and destination codes as they stand: "FAA DOM"
// when both start with "K" or share their first two characters, else "FAA INT". Left alone
// while either code is empty. Selecting it this way runs nothing.
void ChooseReservePolicy(FlightPlan& plan);

// The great circle between two airports with the route allowance Edit6 applied: with an
// allowance the distance is a whole number of miles, without one it stays as computed.
GreatCircleResult LegDistance(const FlightPlan& plan, const AirportRecord& from, const AirportRecord& to);

// The signed wind of leg 1 (Edit9, ComboBox1) or leg 2 (Edit10, ComboBox2): an empty text is
// no wind, the "-" sign makes it a head wind.
int LegWind(const FlightPlan& plan, int leg);

struct QuickLeg {
    std::optional<LegEstimate> estimate; // nothing when the leg cannot be flown
    int wind = 0;
};
// The quick estimate of leg 1 or 2 with that leg's wind.
QuickLeg QuickLegEstimate(const FlightPlan& plan, int level, int leg, double distance);

// The elevation as the origin's "Elev" field shows it: up to three leading zeros dropped
// ("0181" -> "181", "0000" -> "0"); a sign stays ("-11").
std::string ElevationForDisplay(const std::string& elevation);

} // namespace vantrel
