#include "shell/aircraft_files.h"

#include "core/convert.h"
#include "core/profile_file.h"
#include "shell/sim_paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerText(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), Lower);
    return s;
}

bool HasFltExtension(const std::string& name) {
    return name.size() >= 4 && LowerText(name.substr(name.size() - 4)) == ".flt";
}

bool IsPlainFileName(const std::string& name) {
    if (name == "." || name == "..") return false;
    if (name.find('/') != std::string::npos) return false;
#ifdef _WIN32
    if (name.find_first_of("\\:") != std::string::npos) return false;
#endif
    return true;
}

} // namespace

FlightAircraft ReadFlightAircraft(const std::string& flightFile) {
    const ProfileFile flt(flightFile);
    const std::string aircraft = flt.ReadString("Plane.0", "Aircraft", "");
    FlightAircraft result;
    result.title = flt.ReadString("Main", "Title", "");
    result.isErj145 = aircraft.find("ERJ") != std::string::npos && aircraft.find("145") != std::string::npos;
    return result;
}

int ParseStationWeight(const std::string& stationLoad) {
    std::string weight = stationLoad.substr(0, stationLoad.find('.'));
    weight.erase(std::remove(weight.begin(), weight.end(), '"'), weight.end());
    return StrToInt(weight);
}

std::vector<std::string> ListSavedFlights(const std::string& flightsDir) {
    std::error_code ec;
    if (flightsDir.empty() || !fs::is_directory(flightsDir, ec)) return {};
    std::vector<std::pair<std::string, std::string>> entries; // lower-case name, path
    for (fs::directory_iterator it(flightsDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        // Only files can be read; a folder named "*.flt" is no flight.
        if (!HasFltExtension(name) || !it->is_regular_file(typeError)) continue;
        entries.emplace_back(LowerText(name), it->path().string());
    }
    std::sort(entries.begin(), entries.end());
    std::vector<std::string> titles;
    for (const auto& [key, path] : entries) {
        const FlightAircraft flight = ReadFlightAircraft(path);
        if (flight.isErj145) titles.push_back(flight.title);
    }
    return titles;
}

std::string FlightFilePath(const std::string& flightsDir, const std::string& title) {
    if (!IsPlainFileName(title)) return "";
    const std::string exact = JoinPath(flightsDir, title + ".flt");
    std::error_code ec;
    if (fs::exists(exact, ec)) return exact;
    const std::string wanted = LowerText(title + ".flt");
    for (fs::directory_iterator it(flightsDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // Only the extension may differ in case; the title is compared as it is.
        if (name.size() == wanted.size() && name.compare(0, title.size(), title) == 0 &&
            LowerText(name) == wanted)
            return it->path().string();
    }
    return exact;
}

void LoadAircraftFiles(FlightPlan& plan, const std::function<void()>& processMessages) {
    PlanValues& v = plan.values;

    // 1. Display unit from the panel file.
    const ProfileFile panel(plan.paths.PanelIniPath);
    v.WeightsInKg = panel.ReadInteger("preferences", "fuelusekg", 0) == 1;
    v.WeightUnitFactor = v.WeightsInKg ? kKilogramFactor : 1.0;

    // 2. Fuel figures and passenger weight.
    plan.SetText(FieldId::Edit18, IntToStr(plan.ToDisplay(panel.ReadInteger("fms.perf", "tofuel", 0))));
    v.LandingFuelAllowance = panel.ReadInteger("fms.perf", "landfuel", 200);
    plan.SetText(FieldId::Edit14, IntToStr(plan.ToDisplay(panel.ReadInteger("fms.perf", "paxweight", 0))));

    // 3. Weights from aircraft.cfg.
    const ProfileFile cfg(plan.paths.AircraftCfgPath);
    plan.SetText(FieldId::Edit17,
                 IntToStr(plan.ToDisplay(cfg.ReadInteger("weight_and_balance", "empty_weight", 0))));
    plan.SetText(FieldId::Edit32,
                 IntToStr(plan.ToDisplay(cfg.ReadInteger("weight_and_balance", "max_gross_weight", 0))));
    v.PilotWeight = ParseStationWeight(cfg.ReadString("weight_and_balance", "station_load.0", "0.0"));

    // 4. The saved flights that use the aircraft.
    plan.SetItems(FieldId::ComboBox3, ListSavedFlights(plan.paths.FlightsDir));

    // 5. The first flight becomes the active one.
    if (processMessages) processMessages();
    if (!plan.Items(FieldId::ComboBox3).empty()) {
        plan.SetItemIndex(FieldId::ComboBox3, 0);
        ComboBox3Change(plan);
    }
}

void ComboBox3Change(FlightPlan& plan) {
    const std::string flightFile = FlightFilePath(plan.paths.FlightsDir, plan.Text(FieldId::ComboBox3));
    const std::string aircraft =
        flightFile.empty() ? std::string() : ProfileFile(flightFile).ReadString("Plane.0", "Aircraft", "");

    const ProfileFile cfg(plan.paths.AircraftCfgPath);
    for (int n = 0; n <= 9; ++n) {
        const std::string section = "fltsim." + std::to_string(n);
        const std::string title = cfg.ReadString(section, "title", "");
        if (title == aircraft) {
            plan.SetText(FieldId::Edit51, cfg.ReadString(section, "atc_id", ""));
            plan.SetText(FieldId::Edit53, cfg.ReadString(section, "atc_airline", ""));
            plan.SetText(FieldId::Edit54, cfg.ReadString(section, "atc_flight_number", ""));
            plan.values.CurrentFltsimSection = section;
            return;
        }
        if (title.empty()) break;
    }
    plan.values.CurrentFltsimSection.clear();
}

void ConnectActiveFlightLookup(FlightPlan& plan) {
    plan.onComboBox3Change = [&plan] { ComboBox3Change(plan); };
}

} // namespace vantrel
