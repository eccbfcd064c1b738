#pragma once
#include "planning/performance_tables.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

struct GreatCircleResult {
    double distance = 0.0; // nautical miles
    double track = 0.0;    // initial true track, degrees 0..360
};

// Great-circle distance and initial true track between two points in degrees. Points within
// the same hundredth of a degree in both coordinates are the same place (distance and track 0).
GreatCircleResult GreatCircle(double lat1, double lon1, double lat2, double lon2);

// The recommended flight level for a leg as three digits: about 1.3 levels per mile of
// distance in steps of 20, capped at 360, then fitted to the direction of flight.
std::string RecommendedLevel(double distance, double track, bool rvsm);

// The first estimate of a leg from rules of thumb.
struct LegEstimate {
    std::int64_t fuel = 0;    // pounds
    std::int64_t minutes = 0; // including 5 minutes for taxi and approach
};

// Quick estimate for a level (hundreds of feet), distance (NM) and signed wind (kt, tail
// wind positive). Nothing when the ground speed is zero or less: the leg cannot be flown.
std::optional<LegEstimate> QuickEstimate(int level, double distance, int wind);

struct FuelBurn {
    std::int64_t fuel = 0;    // pounds
    std::int64_t minutes = 0; // whole minutes
    int passes = 0;           // passes of the weight iteration
};

// The most passes the weight iteration makes. Tables in which the weight column keeps
// alternating would otherwise never settle.
constexpr int kMaxFuelBurnPasses = 20;

// Leg fuel and time from the performance tables, iterated until the weight settles.
// Nothing when the leg cannot be flown: a ground speed of zero or less, or figures below zero
// (a leg shorter than climb and descent against a head wind nearly as fast as the aircraft).
std::optional<FuelBurn> ComputeFuelBurn(const PerformanceTables& tables, int level,
                                        std::int64_t zeroFuelWeight, std::int64_t totalFuel, double distance,
                                        int departureElevation, int arrivalElevation, int wind);

// Minutes as HH:MM (hours not limited to 24).
std::string MinutesToHHMM(std::int64_t minutes);

} // namespace vantrel
