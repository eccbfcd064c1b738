// The line a session prints after each command.
#include "plan_json.h"
#include "session.h"

#include "cockpit/cockpit_clock.h"
#include "core/event_log.h"
#include "planning/flight_plan.h"

namespace vantrel::cli {

namespace {

QJsonObject FieldsJson(const Session& s) {
    QJsonObject fields = PlanFieldsJson(s.plan);
    for (FieldId id : {FieldId::Panel6, FieldId::label87})
        fields[QString::fromStdString(std::string(FieldName(id)))] =
            QJsonObject{{"text", JsonText(s.plan.Text(id))},
                        {"color", QString::fromStdString(JsonColor(s.plan.Color(id)))}};
    for (const auto& [name, state] : s.cockpit.controls.All())
        fields[QString::fromStdString(name)] =
            QJsonObject{{"text", JsonText(state.caption)},
                        {"color", QString::fromStdString(JsonColor(state.color))},
                        {"enabled", state.enabled},
                        {"visible", state.visible}};
    for (const auto& add : TheSessionCommands().fields)
        add(s, fields);
    return fields;
}

QJsonObject ValuesJson(const Session& s) {
    QJsonObject values = PlanValuesJson(s.plan);
    for (const auto& add : TheSessionCommands().values)
        add(s, values);
    return values;
}

} // namespace

QJsonObject SessionLine(const std::string& command, Session& session) {
    QJsonObject line{
        {"command", JsonText(command)},  {"clock", QString::fromStdString(FormatIso(session.clock.Now()))},
        {"fields", FieldsJson(session)}, {"values", ValuesJson(session)},
        {"sounds", session.log.sounds},  {"spoken", session.log.spoken},
        {"beeps", session.log.beeps},    {"errors", session.log.errors},
    };
    for (const auto& error : session.log.errors)
        LogEvent("error box", error.toString().toStdString());
    session.log = SessionLog{};
    return line;
}

} // namespace vantrel::cli
