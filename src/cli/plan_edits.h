#pragma once
#include "planning/field_id.h"

#include <functional>
#include <map>
#include <string>

namespace vantrel {
class FlightPlan;
}

namespace vantrel::cli {

// One --edit NAME=VALUE of the plan command.
struct PlanEdit {
    enum class Kind { Text, Select, Check, Position, Click };
    Kind kind = Kind::Text;
    FieldId field = FieldId::Edit1;
    std::string button; // for clicks
    std::string text;   // for texts
    int number = 0;     // item index, 0/1, or bar position
};

// Parses NAME=VALUE; false with a reason when the name or the value is not one the window has.
bool ParsePlanEdit(const std::string& argument, PlanEdit& edit, std::string& problem);

// Applies the edit exactly as the user's change of that control would; errors go to plan.onError.
// answer is what every Yes/No question raised by the edit is answered with.
void ApplyPlanEdit(FlightPlan& plan, const PlanEdit& edit, bool answer);

// The buttons the command line can click, by control name.
using ButtonAction = std::function<void(FlightPlan&, bool answer)>;
std::map<std::string, ButtonAction>& PlanButtons();

// --save: writes the settings file as the window does when it closes.
void SavePlanSettings(FlightPlan& plan);

// --program-dir given: the folder gets its trailing separator; false (with the problem) without it.
bool CheckProgramDir(std::string& programDir, std::string& problem);

} // namespace vantrel::cli
