#pragma once
#include "planning/flight_plan.h"
#include "cockpit/cockpit_clock.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct CivilDate {
    int year = 2000, month = 1, day = 1;
};

// The UTC date of a local reading: the wall clock moved by utcBiasMinutes (minutes to add to
// local time to get UTC), across midnight, month and year ends as needed.
CivilDate UtcDateOf(const CivilTime& local, int utcBiasMinutes);

// "DD/MM", each zero-padded to two digits.
std::string DayMonthText(const CivilDate& date);

// One value label of the printed ops flight plan and its text.
struct OpsSheetValue {
    std::string label; // "st1" ... "st100"
    std::string text;
};

// The texts of the ops flight plan sheet, taken from the plan as its fields stand. The print
// window, the command line and the headless session show these same texts.
struct OpsSheet {
    std::vector<OpsSheetValue> values; // in the order the sheet's rows read
    CivilDate date;                    // the UTC date on the sheet
    std::string origin, destination;   // the route, for naming a saved copy

    // The text of a value label; empty for a label the sheet does not have.
    const std::string& Text(std::string_view label) const;
};

OpsSheet MakeOpsSheet(const FlightPlan& plan, const CivilDate& utcDate);

// The file name of the sheet saved as PDF: "Ops flight plan YYYY-MM-DD ORIG-DEST.pdf". Route
// codes keep letters and digits only, so a typed code never leads out of the folder.
std::string OpsSheetPdfName(const OpsSheet& sheet);

} // namespace vantrel
