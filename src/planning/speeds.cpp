// Take-off and landing speeds from the speed tables, read afresh on every computation.
#include "planning/speeds.h"

#include "core/convert.h"
#include "core/rounding.h"
#include "planning/flight_plan.h"
#include "planning/speed_file.h"

#include <algorithm>
#include <string>

namespace vantrel {

namespace {

constexpr const char* kTakeoffFile = "speeds/speeds9.txt";
constexpr const char* kLandingFlaps22File = "speeds/speeds22.txt";
constexpr const char* kLandingFlaps45File = "speeds/speeds45.txt";

constexpr std::int64_t kHeaviestRowLb = 48000;
constexpr std::int64_t kAboveHeaviestRowLb = 48500;
constexpr std::int64_t kLightestTakeoffLb = 30000;
constexpr std::int64_t kLightestLandingLb = 28000;

// Weights are taken to the row of their thousand, a weight up to 100 lb above it counting as
// that thousand and anything more as the next.
std::int64_t RowWeight(std::int64_t pounds, std::int64_t lightest) {
    if (pounds > kHeaviestRowLb) pounds = kAboveHeaviestRowLb;
    if (pounds < lightest) pounds = lightest;
    return Div(pounds + 900, 1000) * 1000;
}

} // namespace

char TakeoffTable(int pressureAltitude, int temperature) {
    if (pressureAltitude < 1000) return temperature < 44 ? 'A' : 'B';
    if (pressureAltitude < 3000) return temperature < 39 ? 'A' : 'B';
    if (pressureAltitude < 5000) return temperature < 24 ? 'A' : (temperature < 33 ? 'B' : 'C');
    if (pressureAltitude < 7000) return temperature < 19 ? 'B' : 'C';
    return temperature < 17 ? 'B' : 'C';
}

int TakeoffRow(std::int64_t pounds) {
    const std::int64_t w = RowWeight(pounds, kLightestTakeoffLb);
    return w > kHeaviestRowLb ? 0 : static_cast<int>(49 - w / 1000);
}

int LandingRow(std::int64_t pounds) {
    const std::int64_t w = RowWeight(pounds, kLightestLandingLb);
    return static_cast<int>(std::max<std::int64_t>(48 - w / 1000, 0));
}

void FlightPlan::CalcSpeeds(FieldId takeoffField, FieldId landingField, bool actual) {
    SetText(FieldId::Label95,
            actual ? "Gross weight: ACT (" + Text(takeoffField) + ")" : "Gross weight: PLAN");
    if (onSpeedsBasis) onSpeedsBasis(actual ? "ACT" : "PLAN");

    const int takeoffRow = TakeoffRow(ToPounds(IntOf(takeoffField)));
    const std::string table(1, TakeoffTable(IntOf(FieldId::Edit47), Position(FieldId::ScrollBar1)));
    {
        SpeedFile file(paths.ProgramDir + kTakeoffFile);
        const struct {
            std::string marker;
            FieldId field;
        } takeoff[] = {{"//" + table + "V1", FieldId::Edit37},
                       {"//" + table + "VR", FieldId::Edit38},
                       {"//" + table + "V2", FieldId::Edit39},
                       {"//TGT", FieldId::Edit41},
                       {"//VFS", FieldId::Edit40}};
        for (const auto& [marker, field] : takeoff) {
            file.Rewind();
            SetText(field, file.Lookup(marker, takeoffRow));
        }
    }

    const int landingRow = LandingRow(ToPounds(IntOf(landingField)));
    SpeedFile file(paths.ProgramDir +
                   (ItemIndex(FieldId::rg2) == 0 ? kLandingFlaps22File : kLandingFlaps45File));
    file.Rewind();
    SetText(FieldId::Edit42, file.Lookup("//VREF", landingRow));
    SetText(FieldId::Edit43, file.Lookup("//VGA9", landingRow)); // read on below the VREF block
    file.Rewind();
    SetText(FieldId::Edit44, file.Lookup("//VFS", landingRow));
    file.Rewind();
    SetText(FieldId::Edit45, file.Lookup("//TGT", landingRow));

    // The gauge shows V1/VR/V2 or VREF/VGA9/TGT, depending on its mode, from these fields.
    if (onSpeedsWritten) onSpeedsWritten();
}

} // namespace vantrel
