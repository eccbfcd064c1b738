#pragma once
#include "planning/flight_plan.h"

#include <string>
#include <vector>

namespace vantrel::testing {

// A plan whose program folder is the built program's, so that speed files are found, and
// whose errors are collected instead of shown.
struct PlanFixture {
    FlightPlan plan;
    std::vector<std::string> errors;

    PlanFixture() {
        plan.paths.ProgramDir = std::string(VANTREL_OUT_DIR) + "/";
        plan.onError = [this](const std::string& e) { errors.push_back(e); };
    }

    void UseKilograms() {
        plan.values.WeightsInKg = true;
        plan.values.WeightUnitFactor = kKilogramFactor;
    }

    const std::string& T(FieldId id) const { return plan.Text(id); }
    std::uint32_t C(FieldId id) const { return plan.Color(id); }
    void Set(FieldId id, const std::string& text) { plan.UserSetText(id, text); }
};

} // namespace vantrel::testing
