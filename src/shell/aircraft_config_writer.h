#pragma once
#include "planning/flight_plan.h"

#include <functional>
#include <string>

namespace vantrel {

// A Yes/No question with a question icon; true = "Yes".
using QuestionFn = std::function<bool(const std::string& text, const std::string& caption)>;

// The confirmation asked before the simulator's files are written.
inline constexpr const char* kStoreFlightDataQuestion = "Are you sure you want to store flight data?";
inline constexpr const char* kStoreFlightDataCaption = "Vantrel Suite ERJ145LR";

// After a "Yes", writes the planned figures into the simulator's files so the aircraft loads as
// planned: fuel figures into the panel file's [fms.perf], weights and station loads into
// aircraft.cfg's [weight_and_balance], registration, operator and flight number into the
// active livery's section, and the station loads into the active saved flight's PayloadList
// (skipped when no saved flight is selected). Every key goes to its file at once; other lines
// stay as they are. A box that is not an integer stops with ConvertError (keys written before
// stay written); a file that cannot be written is left whole, its failure goes once to
// plan.onError, and the other files are still written.
// Returns false when the user answered "No" (nothing written).
bool SaveAircraftConfig(FlightPlan& plan, const QuestionFn& ask);

// The Save button: SaveAircraftConfig, then SaveSettings whatever the answer.
void Button9Click(FlightPlan& plan, const QuestionFn& ask);

} // namespace vantrel
