// The weight chain: reserve, checks, attendants, fuel total, payload and the four weights,
// then the speeds. Every field is read again at the moment of use, so a value written
// earlier in the run (or by a nested run) is the one used later.
#include "planning/flight_plan.h"

#include "core/convert.h"
#include "core/rounding.h"

namespace vantrel {

namespace {

constexpr int kDomesticReserveLb = 1750;
constexpr int kNbaaReserveLb = 1166;
constexpr int kNoAlternateReserveLb = 4666;
constexpr double kInternationalTripShare = 0.05;
constexpr int kMaxPassengers = 50;
constexpr int kBulkPerPassengerLb = 20;
constexpr int kTaxiWarningLb = 1000;
constexpr int kMinOperatingWeightLb = 20000;
constexpr int kMaxOperatingWeightLb = 30000;

} // namespace

void FlightPlan::Edit18Change() {
    const double f = values.WeightUnitFactor;

    // 1. Reserve fuel from the policy; no selection leaves it as it is.
    switch (ItemIndex(FieldId::cb3)) {
    case 0:
        SetText(FieldId::Edit21, IntToStr(ToDisplay(kDomesticReserveLb)));
        break;
    case 1: {
        const double tripLb = static_cast<double>(IntOf(FieldId::Edit19)) * f;
        SetText(FieldId::Edit21,
                IntToStr(RoundHalfEven((tripLb * kInternationalTripShare + kNbaaReserveLb) / f)));
        break;
    }
    case 2:
        SetText(FieldId::Edit21, IntToStr(ToDisplay(kNbaaReserveLb)));
        break;
    case 3:
        SetText(FieldId::Edit21, IntToStr(ToDisplay(kNoAlternateReserveLb)));
        break;
    default:
        break;
    }

    // 2. An empty input stops the recompute silently.
    for (FieldId id : {FieldId::Edit18, FieldId::Edit19, FieldId::Edit20, FieldId::Edit21, FieldId::Edit22,
                       FieldId::Edit13, FieldId::Edit14, FieldId::Edit15}) {
        if (Text(id).empty()) return;
    }

    // 3. Bulk hold: the cargo plus 20 lb per passenger.
    const std::int64_t bulk =
        ToPounds(IntOf(FieldId::Edit15)) + kBulkPerPassengerLb * std::int64_t{IntOf(FieldId::Edit13)};
    SetColor(FieldId::Edit15, bulk > values.BulkLimit ? colors::Red : colors::White);

    // 4. Passengers.
    SetColor(FieldId::Edit13, IntOf(FieldId::Edit13) > kMaxPassengers ? colors::Red : colors::White);

    // 5. Taxi fuel.
    SetColor(FieldId::Edit18,
             IntOf(FieldId::Edit18) > ToDisplay(kTaxiWarningLb) ? colors::Yellow : colors::White);

    // 6. Basic operating weight.
    {
        const int bow = IntOf(FieldId::Edit17);
        const bool out = bow < ToDisplay(kMinOperatingWeightLb) || bow > ToDisplay(kMaxOperatingWeightLb);
        SetColor(FieldId::Edit17, out ? colors::Red : colors::Cream);
    }

    // 7. Flight attendants.
    {
        const int pax = IntOf(FieldId::Edit13);
        const char* attendants = pax >= values.PaxForTwoAttendants ? "2" : (pax >= 1 ? "1" : "0");
        SetText(FieldId::Edit50, attendants);
    }

    // 8. Crew plus basic operating weight.
    values.DryOperatingWeight = std::int64_t{IntOf(FieldId::Edit49)} * values.PilotWeight +
                                std::int64_t{IntOf(FieldId::Edit50)} * values.AttendantWeight +
                                ToPounds(IntOf(FieldId::Edit17));

    // 9. Total fuel.
    {
        const std::int64_t sum = ToPounds(IntOf(FieldId::Edit18)) + ToPounds(IntOf(FieldId::Edit19)) +
                                 ToPounds(IntOf(FieldId::Edit20)) + ToPounds(IntOf(FieldId::Edit21)) +
                                 ToPounds(IntOf(FieldId::Edit22)) + values.LandingFuelAllowance;
        SetText(FieldId::Edit29, IntToStr(ToDisplay(static_cast<double>(sum))));
    }

    // 10. Payload.
    {
        const std::int64_t pax = IntOf(FieldId::Edit13);
        const std::int64_t payloadLb =
            pax * ToPounds(IntOf(FieldId::Edit14)) + ToPounds(IntOf(FieldId::Edit15));
        SetText(FieldId::Edit16, IntToStr(ToDisplay(static_cast<double>(payloadLb))));
    }

    // 11. Zero fuel weight, the payload product unrounded.
    SetText(FieldId::Edit23,
            IntToStr(RoundHalfEven(
                (IntOf(FieldId::Edit16) * f + static_cast<double>(values.DryOperatingWeight)) / f)));

    // 12-14. Block, take-off and landing weights.
    SetText(FieldId::Edit24, IntToStr(ToDisplay(static_cast<double>(ToPounds(IntOf(FieldId::Edit23)) +
                                                                    ToPounds(IntOf(FieldId::Edit29))))));
    SetText(FieldId::Edit25, IntToStr(ToDisplay(static_cast<double>(ToPounds(IntOf(FieldId::Edit24)) -
                                                                    ToPounds(IntOf(FieldId::Edit18))))));
    SetText(FieldId::Edit26, IntToStr(ToDisplay(static_cast<double>(ToPounds(IntOf(FieldId::Edit25)) -
                                                                    ToPounds(IntOf(FieldId::Edit19))))));

    // 15. Speeds for the weights just computed (or the actual weight in actual mode).
    CalcSpeedsInCurrentMode();
}

// ---- Limit checks: the limit field turns red when the value exceeds it, lime otherwise.

void FlightPlan::LimitCheck(FieldId value, FieldId limit) {
    SetColor(limit, IntOf(value) > IntOf(limit) ? colors::Red : colors::Lime);
}

void FlightPlan::Edit16Change() {
    if (Text(FieldId::Edit16).empty() || Text(FieldId::Edit17).empty()) return;
    LimitCheck(FieldId::Edit16, FieldId::Edit52);
}

void FlightPlan::Edit23Change() {
    LimitCheck(FieldId::Edit23, FieldId::Edit27);
}
void FlightPlan::Edit24Change() {
    LimitCheck(FieldId::Edit24, FieldId::Edit31);
}
void FlightPlan::Edit25Change() {
    LimitCheck(FieldId::Edit25, FieldId::Edit32);
}
void FlightPlan::Edit26Change() {
    LimitCheck(FieldId::Edit26, FieldId::Edit34);
}
void FlightPlan::Edit29Change() {
    LimitCheck(FieldId::Edit29, FieldId::Edit33);
}

} // namespace vantrel
