// The route recompute: the three airport codes, then both legs with their distance, track,
// level, fuel and time. Writing a leg's fuel runs the weight recompute.
#include "planning/route.h"

#include "core/convert.h"
#include "core/rounding.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace vantrel {

namespace {

constexpr int kStandardQnh = 1013;

struct LegFields {
    int leg;
    int from, to; // slots of routeEnds
    FieldId distance, track, level, fuel, time;
};

constexpr LegFields kLeg1{
    1, 0, 1, FieldId::Edit4, FieldId::Edit36, FieldId::Edit7, FieldId::Edit19, FieldId::Edit11};
constexpr LegFields kLeg2{
    2, 1, 2, FieldId::Edit5, FieldId::Edit35, FieldId::Edit8, FieldId::Edit20, FieldId::Edit12};

int SlotOf(FieldId codeEdit) {
    if (codeEdit == FieldId::Edit1) return 0;
    if (codeEdit == FieldId::Edit2) return 1;
    if (codeEdit == FieldId::Edit3) return 2;
    return -1;
}

std::string SearchKey(const std::string& text) {
    std::string key = text;
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (key.size() == 3) key += "  ";
    return key;
}

// Origin only: field elevation, pressure altitude for the QNH set, and the speeds that depend
// on them.
void ApplyOrigin(FlightPlan& plan, const AirportRecord& origin) {
    plan.SetText(FieldId::Edit46, ElevationForDisplay(origin.elevation));
    const int qnh = plan.Position(FieldId::ScrollBar2);
    const double pressureAltitude = StrToInt(origin.elevation) + (kStandardQnh - qnh) / 19.0 * 500.0;
    plan.SetText(FieldId::Edit47, IntToStr(RoundHalfEven(pressureAltitude)));
    plan.CalcSpeedsInCurrentMode();
}

// Resolves one airport code edit; its colour tells the outcome.
void ResolveAirport(FlightPlan& plan, FieldId sender) {
    const int slot = SlotOf(sender);
    AirportRecord& record = plan.routeEnds[static_cast<std::size_t>(slot)];
    const std::string& text = plan.Text(sender);
    if (text.size() < 3) {
        plan.SetColor(sender, colors::Red);
        record = {};
        return;
    }
    ChooseReservePolicy(plan);
    const auto line = plan.airports.FindAirport(SearchKey(text));
    if (!line) {
        plan.SetColor(sender, colors::Yellow);
        record = {};
        return;
    }
    AirportRecord found;
    try {
        found = AirportDatabase::ReadRecord(*line);
        // The origin's elevation is shown and computed with: a damaged one must not reach
        // the elevation field before the conversion fails.
        if (slot == 0) (void)StrToInt(found.elevation);
    } catch (const ConvertError&) {
        // A damaged database line: the code is not usable, so it must not keep showing (and
        // computing with) the airport resolved before.
        plan.SetColor(sender, colors::Yellow);
        record = {};
        throw;
    }
    plan.SetColor(sender, colors::Lime);
    record = std::move(found);
    if (slot == 0) ApplyOrigin(plan, record);
}

// A leg that cannot be flown (ground speed zero or less, or figures below zero) shows its
// distance in red and keeps the fuel and time it had; a leg that can is silver again.
void ComputeLeg(FlightPlan& plan, const LegFields& leg) {
    const AirportRecord& from = plan.routeEnds[static_cast<std::size_t>(leg.from)];
    const AirportRecord& to = plan.routeEnds[static_cast<std::size_t>(leg.to)];
    const GreatCircleResult gc = LegDistance(plan, from, to);
    const double distance = gc.distance;
    plan.SetText(leg.distance, IntToStr(RoundHalfEven(distance)));
    plan.SetText(leg.track, ZeroPad(RoundHalfEven(gc.track), 3));
    plan.SetText(leg.level, RecommendedLevel(distance, gc.track, plan.Checked(FieldId::cbRVSM)));

    const QuickLeg quick = QuickLegEstimate(plan, plan.IntOf(leg.level), leg.leg, distance);
    if (!quick.estimate) {
        plan.SetColor(leg.distance, colors::Red);
        return;
    }
    const std::string previousFuel = plan.Text(leg.fuel);
    const std::string previousTime = plan.Text(leg.time);
    plan.SetText(leg.fuel, IntToStr(plan.ToDisplay(static_cast<double>(quick.estimate->fuel))));
    if (leg.leg == 2) plan.SetText(leg.time, MinutesToHHMM(quick.estimate->minutes));

    const std::int64_t zeroFuelWeight = plan.ToPounds(plan.IntOf(FieldId::Edit23));
    const std::int64_t totalFuel = plan.ToPounds(plan.IntOf(FieldId::Edit29));
    const int departureElevation = leg.leg == 1 ? plan.IntOf(FieldId::Edit46) : 0;
    const auto burn = ComputeFuelBurn(plan.tables, plan.IntOf(leg.level), zeroFuelWeight, totalFuel, distance,
                                      departureElevation, 0, quick.wind);
    if (!burn) {
        plan.SetColor(leg.distance, colors::Red);
        plan.SetText(leg.fuel, previousFuel);
        plan.SetText(leg.time, previousTime);
        return;
    }
    plan.SetColor(leg.distance, colors::Silver);
    plan.SetText(leg.fuel, IntToStr(plan.ToDisplay(static_cast<double>(burn->fuel))));
    plan.SetText(leg.time, MinutesToHHMM(burn->minutes));
}

} // namespace

void LoadAirportDatabase(FlightPlan& plan) {
    plan.airports.Load(plan.paths.ProgramDir + kAirportDatabaseFile);
}

void ChooseReservePolicy(FlightPlan& plan) {
    const std::string& origin = plan.Text(FieldId::Edit1);
    const std::string& destination = plan.Text(FieldId::Edit2);
    if (origin.empty() || destination.empty()) return;
    const bool domestic =
        (origin[0] == destination[0] && origin[0] == 'K') || origin.substr(0, 2) == destination.substr(0, 2);
    plan.SetItemIndex(FieldId::cb3, domestic ? 0 : 1);
}

GreatCircleResult LegDistance(const FlightPlan& plan, const AirportRecord& from, const AirportRecord& to) {
    GreatCircleResult gc = GreatCircle(from.latitude, from.longitude, to.latitude, to.longitude);
    if (!plan.Text(FieldId::Edit6).empty()) {
        const double allowance = plan.IntOf(FieldId::Edit6) / 100.0 + 1;
        gc.distance = static_cast<double>(RoundHalfEven(allowance * gc.distance));
    }
    return gc;
}

int LegWind(const FlightPlan& plan, int leg) {
    const FieldId speed = leg == 1 ? FieldId::Edit9 : FieldId::Edit10;
    const FieldId sign = leg == 1 ? FieldId::ComboBox1 : FieldId::ComboBox2;
    // The key filter allows three digits; a pasted extreme is kept negatable.
    const int wind =
        std::max(plan.Text(speed).empty() ? 0 : plan.IntOf(speed), -std::numeric_limits<int>::max());
    return plan.Text(sign) == "-" ? -wind : wind;
}

QuickLeg QuickLegEstimate(const FlightPlan& plan, int level, int leg, double distance) {
    const int wind = LegWind(plan, leg);
    return {QuickEstimate(level, distance, wind), wind};
}

std::string ElevationForDisplay(const std::string& elevation) {
    std::string text = elevation;
    for (std::size_t i = 0; i < 3 && i < text.size() && text[i] == '0'; ++i)
        text[i] = ' ';
    return std::string(TrimBlanks(text));
}

void FlightPlan::Edit1Change(FieldId sender) {
    if (SlotOf(sender) >= 0) ResolveAirport(*this, sender);
    if (Color(FieldId::Edit1) == colors::Lime && Color(FieldId::Edit2) == colors::Lime)
        ComputeLeg(*this, kLeg1);
    if (Color(FieldId::Edit2) == colors::Lime && Color(FieldId::Edit3) == colors::Lime)
        ComputeLeg(*this, kLeg2);
}

} // namespace vantrel
