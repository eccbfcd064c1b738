#include "plan_json.h"

#include "json_writer.h"

#include "planning/flight_plan.h"

namespace vantrel::cli {

namespace {

QJsonObject FieldJson(const FlightPlan& plan, FieldId id) {
    QJsonObject field{{"text", JsonText(plan.Text(id))},
                      {"color", QString::fromStdString(JsonColor(plan.Color(id)))}};
    if (IsListField(id)) field["index"] = plan.ItemIndex(id);
    return field;
}

} // namespace

QJsonObject PlanFieldsJson(const FlightPlan& plan) {
    QJsonObject fields;
    for (int n = 1; n <= 54; ++n)
        fields[QString::fromStdString(std::string(FieldName(EditField(n))))] = FieldJson(plan, EditField(n));
    for (FieldId id : {FieldId::cb3, FieldId::rg2, FieldId::ComboBox1, FieldId::ComboBox2, FieldId::ComboBox3,
                       FieldId::cbRVSM, FieldId::ScrollBar1, FieldId::ScrollBar2, FieldId::Label74,
                       FieldId::Label75, FieldId::Label95})
        fields[QString::fromStdString(std::string(FieldName(id)))] = FieldJson(plan, id);
    return fields;
}

QJsonObject PlanValuesJson(const FlightPlan& plan) {
    const PlanValues& v = plan.values;
    const PlanPaths& p = plan.paths;
    auto text = [](const std::string& s) { return JsonText(s); };
    return QJsonObject{
        {"WeightUnitFactor", v.WeightUnitFactor},
        {"PilotWeight", v.PilotWeight},
        {"AttendantWeight", v.AttendantWeight},
        {"DryOperatingWeight", double(v.DryOperatingWeight)},
        {"LandingFuelAllowance", v.LandingFuelAllowance},
        {"ActualMode", v.ActualMode},
        {"WeightsInKg", v.WeightsInKg},
        {"PaxForTwoAttendants", v.PaxForTwoAttendants},
        {"BulkLimit", v.BulkLimit},
        {"AlertAltitude", v.AlertAltitude},
        {"AlertDirection", v.AlertDirection},
        {"UtcBiasMinutes", v.UtcBiasMinutes},
        {"CurrentFltsimSection", text(v.CurrentFltsimSection)},
        {"ProgramDir", text(p.ProgramDir)},
        {"DocumentsDir", text(p.DocumentsDir)},
        {"AircraftFolderName", text(p.AircraftFolderName)},
        {"SimAircraftDir", text(p.SimAircraftDir)},
        {"FlightsDir", text(p.FlightsDir)},
        {"AircraftCfgPath", text(p.AircraftCfgPath)},
        {"PanelIniPath", text(p.PanelIniPath)},
    };
}

} // namespace vantrel::cli
