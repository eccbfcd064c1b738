// Great circle, flight level and the two fuel estimates of a route leg.
#include "planning/route_math.h"

#include "core/convert.h"
#include "core/rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace vantrel {

namespace {

using Real = long double; // the great circle is worked out in extended precision

constexpr Real kPi = std::numbers::pi_v<long double>;
constexpr Real kNauticalMilesPerDegree = 60;

bool SameHundredth(double a, double b) {
    return std::trunc(a * 100.0) == std::trunc(b * 100.0);
}

} // namespace

GreatCircleResult GreatCircle(double lat1, double lon1, double lat2, double lon2) {
    if (SameHundredth(lat1, lat2) && SameHundredth(lon1, lon2)) return {};
    const Real phi1 = lat1 * kPi / 180;
    const Real phi2 = lat2 * kPi / 180;
    const Real deltaLambda = (Real{lon2} - Real{lon1}) * kPi / 180;

    const Real c = std::sin(phi1) * std::sin(phi2) + std::cos(phi1) * std::cos(phi2) * std::cos(deltaLambda);
    // The central angle is arccos(c) written through arctan; at c = +-1 (the same point, or
    // antipodes, beyond the early-out above) the quotient is infinite, and rounding can push
    // c a hair outside [-1, 1]: those ends are the angles 0 and pi.
    Real d;
    if (1 - c * c > 0)
        d = kPi / 2 - std::atan(c / std::sqrt(1 - c * c));
    else
        d = c > 0 ? Real{0} : kPi;
    GreatCircleResult result;
    result.distance = static_cast<double>(d * kNauticalMilesPerDegree * 180 / kPi);

    Real s = std::sin(d) * std::cos(phi1);
    if (s == 0) s = Real{0.1};
    const Real x = (std::sin(phi2) - std::sin(phi1) * std::cos(d)) / s;
    Real track;
    if (1 - x * x > 0)
        track = (kPi / 2 - std::atan(x / std::sqrt(1 - x * x))) * 180 / kPi;
    else
        track = x > 0 ? 0 : 180;
    if (deltaLambda < 0) track = 360 - track;
    result.track = static_cast<double>(track);
    return result;
}

std::string RecommendedLevel(double distance, double track, bool rvsm) {
    std::int64_t level = Div(RoundHalfEven(1.3 * distance), 20) * 20;
    if (level > 360) level = 360;
    const bool westbound = track > 180;
    if (rvsm) {
        if (!westbound) level += 10;
    } else if (westbound) {
        if (level == 300)
            level = 280;
        else if (level == 320)
            level = 310;
        else if (level == 340 || level == 360)
            level = 350;
    } else {
        level += 10;
        if (level == 310)
            level = 290;
        else if (level == 350)
            level = 330;
    }
    return ZeroPad(level, 3);
}

std::optional<LegEstimate> QuickEstimate(int level, double distance, int wind) {
    const double fl = level;
    const double climb = fl < 245 ? fl * 100 / 2000 : (fl - 245) * 100 / 1500 + 12.25;
    const double descent = fl < 105 ? fl * 100 / 1000 : (fl - 105) * 100 / 2000 + 10;
    const double climbDescent = climb + descent;
    const double fixedFuel = fl / 10 * 40 + descent / 60 * 1800 + 500;

    double trueAirSpeed = 430;
    if (fl < 85)
        trueAirSpeed = 250;
    else if (fl < 105)
        trueAirSpeed = 290;
    else if (fl < 145)
        trueAirSpeed = 370;
    else if (fl < 245)
        trueAirSpeed = 400;
    else if (fl < 305)
        trueAirSpeed = 415;

    const double groundSpeed = trueAirSpeed + wind;
    if (groundSpeed <= 0) return std::nullopt;
    const double cruise = distance / groundSpeed * 60 - 0.8 * climbDescent;

    double burnPerMinute = 107.0 / 3; // 2140 lb/h high up
    if (fl < 245)
        burnPerMinute = 157.0 / 3;
    else if (fl < 305)
        burnPerMinute = 136.0 / 3;

    return LegEstimate{RoundHalfEven(cruise * burnPerMinute + fixedFuel),
                       RoundHalfEven(cruise + climbDescent) + 5};
}

namespace {

constexpr int kClimbDescentSpeed = 325; // NM per hour covered while climbing and descending
constexpr int kDescentBurnPerHour = 2200;
constexpr int kFixedLegFuel = 309;
constexpr int kFixedLegMinutes = 4;
constexpr std::int64_t kSettledWithin = 10; // pounds

int Band(std::int64_t feet) {
    return static_cast<int>(std::clamp<std::int64_t>(Div(feet, 1000), PerformanceTables::kFirstBand,
                                                     PerformanceTables::kLastBand) -
                            PerformanceTables::kFirstBand);
}

int Column(std::int64_t pounds) {
    return static_cast<int>(std::clamp<std::int64_t>(Div(pounds + 900, 1000), 40, 48) - 40);
}

// Rounds a figure of the fuel burn; false when it is not a number a plan can hold (tables with
// absurd values, such as a climb time of 1e300 minutes, give infinities).
bool Whole(double value, std::int64_t& out) {
    constexpr double kLargest = 1e15;
    if (!std::isfinite(value) || std::fabs(value) > kLargest) return false;
    out = RoundHalfEven(value);
    return true;
}

struct Pass {
    std::int64_t fuel;
    double minutes;
};

} // namespace

std::optional<FuelBurn> ComputeFuelBurn(const PerformanceTables& tables, int level,
                                        std::int64_t zeroFuelWeight, std::int64_t totalFuel, double distance,
                                        int departureElevation, int arrivalElevation, int wind) {
    const std::int64_t altitude = std::int64_t{level} * 100;
    const int climbBand = Band(altitude - departureElevation + 900);
    const int descentBand = Band(altitude - arrivalElevation + 900);
    const int cruiseBand = Band(altitude);

    // The ground speed is that of the climb band for the whole leg.
    const double groundSpeed = static_cast<double>(tables.CS[climbBand]) + wind;
    if (groundSpeed <= 0) return std::nullopt;
    const double descentMinutes = tables.DT[descentBand];

    std::int64_t weight = zeroFuelWeight + totalFuel;
    std::int64_t previous = -1000;
    Pass last{0, 0}, beforeLast{0, 0};
    int passes = 0;
    while (std::llabs(previous - weight) > kSettledWithin && passes < kMaxFuelBurnPasses) {
        previous = weight;
        const int k = Column(weight);
        const double climbMinutes = tables.CT[climbBand][k];
        std::int64_t descentFuel = 0, cruiseFuel = 0;
        const double cruiseDistance =
            distance - climbMinutes * kClimbDescentSpeed / 60 - descentMinutes * kClimbDescentSpeed / 60;
        if (!Whole(descentMinutes / 60 * kDescentBurnPerHour, descentFuel) ||
            !Whole(cruiseDistance / groundSpeed * tables.FF[cruiseBand], cruiseFuel))
            return std::nullopt;
        const std::int64_t fuel = tables.FC[climbBand][k] + descentFuel + cruiseFuel + kFixedLegFuel;
        beforeLast = last;
        last = {fuel, climbMinutes + descentMinutes + cruiseDistance / groundSpeed * 60 + kFixedLegMinutes};
        weight = zeroFuelWeight + fuel;
        ++passes;
    }
    // A column that keeps alternating never settles: plan the heavier of the two answers.
    if (std::llabs(previous - weight) > kSettledWithin && beforeLast.fuel > last.fuel) last = beforeLast;

    std::int64_t minutes = 0;
    if (!Whole(last.minutes, minutes) || last.fuel < 0 || minutes < 0) return std::nullopt;
    return FuelBurn{last.fuel, minutes, passes};
}

std::string MinutesToHHMM(std::int64_t minutes) {
    const std::string sign = minutes < 0 ? "-" : "";
    const std::int64_t magnitude = std::llabs(minutes);
    return sign + ZeroPad(Div(magnitude, 60), 2) + ":" + ZeroPad(magnitude % 60, 2);
}

} // namespace vantrel
