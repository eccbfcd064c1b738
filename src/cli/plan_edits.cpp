#include "plan_edits.h"

#include "core/convert.h"
#include "planning/flight_plan.h"
#include "shell/aircraft_config_writer.h"

namespace vantrel::cli {

std::map<std::string, ButtonAction>& PlanButtons() {
    static std::map<std::string, ButtonAction> buttons = {
        {"Button1", [](FlightPlan& plan, bool) { plan.Button1Click(); }},
        {"Button6", [](FlightPlan& plan, bool) { plan.Button6Click(); }},
        {"Button8", [](FlightPlan& plan, bool) { plan.Button8Click(); }},
        // Save: the confirmation takes the command line's answer.
        {"Button9",
         [](FlightPlan& plan, bool answer) {
             Button9Click(plan, [answer](const std::string&, const std::string&) { return answer; });
         }},
    };
    return buttons;
}

bool ParsePlanEdit(const std::string& argument, PlanEdit& edit, std::string& problem) {
    const std::size_t eq = argument.find('=');
    if (eq == std::string::npos) {
        problem = "--edit needs NAME=VALUE: " + argument;
        return false;
    }
    const std::string name = argument.substr(0, eq);
    const std::string value = argument.substr(eq + 1);
    if (PlanButtons().count(name)) {
        if (value != "click") {
            problem = name + " takes the value click";
            return false;
        }
        edit.kind = PlanEdit::Kind::Click;
        edit.button = name;
        return true;
    }
    const auto field = FieldByName(name);
    if (!field) {
        problem = "no such control: " + name;
        return false;
    }
    edit.field = *field;
    const FieldId id = *field;
    const bool numeric = IsListField(id) || IsScrollBar(id) || id == FieldId::cbRVSM;
    if (!numeric) {
        if (static_cast<int>(id) >= 54) {
            problem = name + " cannot be edited";
            return false;
        }
        edit.kind = PlanEdit::Kind::Text;
        edit.text = value;
        return true;
    }
    try {
        edit.number = StrToInt(value);
    } catch (const ConvertError&) {
        problem = name + " needs a whole number: " + value;
        return false;
    }
    if (id == FieldId::cbRVSM) {
        if (edit.number != 0 && edit.number != 1) {
            problem = "cbRVSM takes 0 or 1";
            return false;
        }
        edit.kind = PlanEdit::Kind::Check;
    } else if (IsScrollBar(id)) {
        edit.kind = PlanEdit::Kind::Position;
    } else {
        edit.kind = PlanEdit::Kind::Select;
    }
    return true;
}

void ApplyPlanEdit(FlightPlan& plan, const PlanEdit& edit, bool answer) {
    switch (edit.kind) {
    case PlanEdit::Kind::Text:
        plan.UserSetText(edit.field, edit.text);
        break;
    case PlanEdit::Kind::Select:
        plan.UserSelect(edit.field, edit.number);
        break;
    case PlanEdit::Kind::Check:
        plan.UserSetChecked(edit.field, edit.number == 1);
        break;
    case PlanEdit::Kind::Position:
        plan.UserSetPosition(edit.field, edit.number);
        break;
    case PlanEdit::Kind::Click:
        plan.Guarded([&] { PlanButtons().at(edit.button)(plan, answer); });
        break;
    }
}

bool CheckProgramDir(std::string& programDir, std::string& problem) {
    if (programDir.empty()) {
        problem = "--program-dir DIR is required";
        return false;
    }
    if (programDir.back() != '/' && programDir.back() != '\\') programDir += '/';
    return true;
}

} // namespace vantrel::cli
