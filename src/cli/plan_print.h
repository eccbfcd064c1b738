#pragma once
#include <string>

namespace vantrel {
class FlightPlan;
}

namespace vantrel::cli {

// Fills the print window's sheet from the plan, dated by the clock, and writes the page its
// "Print" button sends to a printer into path as a one-page PDF. False, with the reason in
// error, when the file cannot be written.
bool PrintPlanPdf(FlightPlan& plan, const std::string& path, std::string& error);

} // namespace vantrel::cli
