#include "shell/aircraft_config_writer.h"

#include "core/convert.h"
#include "core/profile_writer.h"
#include "core/rounding.h"
#include "shell/aircraft_files.h"
#include "shell/settings_file.h"
#include "shell/sim_file_guard.h"

#include <cstdint>
#include <optional>

namespace vantrel {

namespace {

void ReportSimFileFailure(FlightPlan& plan, const std::string& text) {
    if (plan.onError) plan.onError(WithSimFolderAdvice(text));
}

// Writes keys into one of the simulator's files in one replacement, after keeping the add-on's
// own file once beside it; a file that cannot be written (or whose original cannot be kept) is
// left whole and reported once (file, reason and what to do), and the save goes on with the
// next file and the settings.
class SimFileWriter {
public:
    SimFileWriter(FlightPlan& plan, const std::string& path) {
        std::string failure;
        if (!KeepOriginalOnce(path, &failure)) {
            ReportSimFileFailure(plan, failure);
            return;
        }
        out_.emplace(path, [&plan](const std::string& text) { ReportSimFileFailure(plan, text); });
    }
    void Write(const std::string& section, const std::string& key, const std::string& value) {
        if (out_) out_->Write(section, key, value);
    }

private:
    std::optional<ReportedProfileWrites> out_;
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A station weight as the simulator writes it: whole pounds followed by ".0".
std::string Station(std::int64_t pounds) {
    return IntToStr(pounds) + ".0";
}

} // namespace

bool SaveAircraftConfig(FlightPlan& plan, const QuestionFn& ask) {
    if (!ask || !ask(kStoreFlightDataQuestion, kStoreFlightDataCaption)) return false;
    const PlanValues& v = plan.values;
    auto lb = [&plan](FieldId box) { return plan.ToPounds(plan.IntOf(box)); };

    // Fuel figures for the aircraft's flight management computer.
    SimFileWriter panel(plan, plan.paths.PanelIniPath);
    panel.Write("fms.perf", "tofuel", IntToStr(lb(FieldId::Edit18)));
    panel.Write("fms.perf", "paxweight", IntToStr(lb(FieldId::Edit14)));
    panel.Write("fms.perf", "fuelreservetype", "1");
    // Read in the order the figures are named, so the first bad box is the one reported.
    std::int64_t reserve = lb(FieldId::Edit21);
    reserve += lb(FieldId::Edit22);
    reserve += lb(FieldId::Edit20);
    panel.Write("fms.perf", "fuelreserveweight", IntToStr(reserve));
    panel.Write("fms.perf", "fuelreservetime", "45");
    panel.Write("fms.perf", "bow", IntToStr(v.DryOperatingWeight));
    panel.Write("fms.perf", "landfuel", IntToStr(v.LandingFuelAllowance));

    // Weights and station loads; the saved flight's payload list follows the same figures.
    SimFileWriter cfg(plan, plan.paths.AircraftCfgPath);
    const char* wb = "weight_and_balance";
    cfg.Write(wb, "empty_weight", IntToStr(lb(FieldId::Edit17)));
    cfg.Write(wb, "max_gross_weight", IntToStr(lb(FieldId::Edit32)));

    const std::int64_t pilot = v.PilotWeight;
    const std::int64_t attendant = v.AttendantWeight;
    const std::string attendants = plan.Text(FieldId::Edit50);
    const bool forwardAttendant = !attendants.empty() && (attendants[0] == '1' || attendants[0] == '2');
    const bool aftAttendant = !attendants.empty() && attendants[0] == '2';

    cfg.Write(wb, "station_load.0", Quoted(Station(pilot) + ", 42.0, -1.5, 0.0, Pilot"));
    cfg.Write(wb, "station_load.1", Quoted(Station(pilot) + ", 42.0, 1.5, 0.0, First Officer"));
    cfg.Write(wb, "station_load.2",
              Quoted(forwardAttendant ? Station(attendant) + ",  35.0, -1.0, 0.0, Flight Att Fwd"
                                      : "0.0,  35.0, -1.0, 0.0, Flight Attendant Fwd"));
    cfg.Write(wb, "station_load.3",
              Quoted(aftAttendant ? Station(attendant) + ", -40.0, 0.0, 0.0, Flight Att Aft"
                                  : "0.0, -40.0, 0.0, 0.0, Flight Attendant Aft"));
    const std::int64_t pax = std::int64_t{plan.IntOf(FieldId::Edit13)} * lb(FieldId::Edit14);
    const std::int64_t paxForward = RoundHalfEven(static_cast<double>(pax) * 0.4);
    const std::int64_t paxAft = RoundHalfEven(static_cast<double>(pax) * 0.6);
    cfg.Write(wb, "station_load.4", Quoted(Station(paxForward) + ", 30.0, 0.0, 0.0, Pax Fwd"));
    cfg.Write(wb, "station_load.5", Quoted(Station(paxAft) + ", -20.0, 0.0, 0.0, Pax Aft"));
    const std::int64_t cargo = lb(FieldId::Edit15);
    cfg.Write(wb, "station_load.6", Quoted(Station(cargo) + ", 00.0,  0.0, 0.0, Cargo"));

    const std::string payloadList = Station(pilot) + ", " + Station(pilot) + ", " +
                                    Station(forwardAttendant ? attendant : 0) + ", " +
                                    Station(aftAttendant ? attendant : 0) + ", " + Station(paxForward) +
                                    ", " + Station(paxAft) + ", " + Station(cargo);

    // The livery of the active flight.
    const std::string& livery = v.CurrentFltsimSection;
    if (!livery.empty()) {
        cfg.Write(livery, "atc_id", plan.Text(FieldId::Edit51));
        cfg.Write(livery, "atc_airline", plan.Text(FieldId::Edit53));
        cfg.Write(livery, "atc_flight_number", plan.Text(FieldId::Edit54));
    }

    // The active saved flight; without a selected flight there is no file to write.
    if (plan.ItemIndex(FieldId::ComboBox3) >= 0) {
        const std::string flight = FlightFilePath(plan.paths.FlightsDir, plan.Text(FieldId::ComboBox3));
        if (!flight.empty()) SimFileWriter(plan, flight).Write("Payload.0", "PayloadList", payloadList);
    }
    return true;
}

void Button9Click(FlightPlan& plan, const QuestionFn& ask) {
    SaveAircraftConfig(plan, ask);
    SaveSettings(plan);
}

} // namespace vantrel
