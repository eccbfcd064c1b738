#pragma once
#include "json_writer.h"

#include <QJsonObject>

namespace vantrel {
class FlightPlan;
}

namespace vantrel::cli {

// {"text": T, "color": "#rrggbb"} (plus "index" for lists) of every plan control the plan
// command prints, by control name.
QJsonObject PlanFieldsJson(const FlightPlan& plan);
// The plan's values and paths.
QJsonObject PlanValuesJson(const FlightPlan& plan);

} // namespace vantrel::cli
