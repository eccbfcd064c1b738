#include "shell/settings_file.h"

#include "cockpit/sound_switch.h"
#include "core/convert.h"
#include "core/profile_file.h"
#include "core/profile_writer.h"
#include "shell/aircraft_files.h"
#include "shell/sim_paths.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vantrel {

namespace {

constexpr const char* kSettingsFileName = "vn-erj145.ini";
constexpr const char* kDefaultAircraftFolder = "Feelthere PIC ERJ145LR";

// Shows a stored pound figure in the display unit.
void LoadWeight(FlightPlan& plan, const ProfileFile& ini, const char* section, const char* key, FieldId box,
                int fallback) {
    plan.SetText(box, IntToStr(plan.ToDisplay(ini.ReadInteger(section, key, fallback))));
}

// Boxes the aircraft files may already have filled take the stored value only when they read "0".
void LoadWeightIfZero(FlightPlan& plan, const ProfileFile& ini, const char* section, const char* key,
                      FieldId box, int fallback) {
    if (plan.Text(box) == "0") LoadWeight(plan, ini, section, key, box, fallback);
}

// Writes of the settings file go key by key into one replacement of the file. A file that
// cannot be written is left whole and the failure is shown once, with the file and the reason;
// it never keeps the program from closing.
class SettingsWriter {
public:
    explicit SettingsWriter(FlightPlan& plan)
        : out_(SettingsFilePath(plan), [&plan](const std::string& text) {
              if (plan.onError) plan.onError(text);
          }) {}

    void String(const char* section, const char* key, const std::string& value) {
        out_.Write(section, key, value);
    }
    void Integer(const char* section, const char* key, long long value) {
        String(section, key, IntToStr(value));
    }
    void Bool(const char* section, const char* key, bool value) { String(section, key, value ? "1" : "0"); }
    // A weight box, stored in pounds; a box that is not an integer raises the conversion error.
    void Weight(const FlightPlan& plan, const char* section, const char* key, FieldId box) {
        Integer(section, key, plan.ToPounds(plan.IntOf(box)));
    }

private:
    ReportedProfileWrites out_;
};

// A stored text goes into its box cut to the box's length, as typing would stop there; a
// longer value (a damaged file) would otherwise plan with characters no one could type.
void LoadText(FlightPlan& plan, const ProfileFile& ini, const char* section, const char* key, FieldId box,
              const char* fallback) {
    std::string text = ini.ReadString(section, key, fallback);
    const int limit = MaxTextLength(box);
    if (limit > 0 && text.size() > static_cast<std::size_t>(limit))
        text.resize(static_cast<std::size_t>(limit));
    plan.SetText(box, text);
}

std::string DefaultPath(const std::string& path) {
    return ResolvePathCase(path);
}

// A stored path whose folder is gone gives way to the located one when that one's folder is
// there (the simulator moved to another prefix, say). A folder path ends with a separator;
// for a file the folder holding it counts.
std::string StoredOrLocated(const std::string& stored, const std::string& located) {
    const auto folder_of = [](const std::string& path) {
        const bool is_folder = !path.empty() && (path.back() == kPathSeparator || path.back() == '/');
        return is_folder ? std::filesystem::path(path) : std::filesystem::path(path).parent_path();
    };
    std::error_code ec;
    if (stored.empty() || std::filesystem::is_directory(folder_of(stored), ec)) return stored;
    return std::filesystem::is_directory(folder_of(located), ec) ? located : stored;
}

#ifdef _WIN32
// Without a simulator path the aircraft paths start with "\": give them the system drive.
std::string WithDrive(const std::string& path) {
    return !path.empty() && path[0] == '\\' ? "C:" + path : path;
}
#endif

} // namespace

std::string SettingsFilePath(const FlightPlan& plan) {
    return plan.paths.ProgramDir + kSettingsFileName;
}

namespace {

// Why the settings file cannot be used; empty when it can (or when there is none).
std::string WhyUnusable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return {};
    if (ec) return ec.message();
    if (!fs::is_regular_file(status)) return "it is not a file";
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return ec.message();
    if (size > kSettingsFileLimit)
        return "it is " + IntToStr(static_cast<long long>(size)) + " bytes long, more than the " +
               IntToStr(static_cast<long long>(kSettingsFileLimit)) + " a settings file may have";
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::strerror(errno);
    return {};
}

} // namespace

void SetAsideUnusableSettings(FlightPlan& plan) {
    const std::string path = SettingsFilePath(plan);
    const std::string why = WhyUnusable(path);
    if (why.empty()) return;
    const std::string bad = path + ".bad";
    std::error_code ec;
    std::filesystem::remove_all(bad, ec); // one copy is kept: the latest
    std::filesystem::rename(path, bad, ec);
    std::string text = "The settings file " + path + " cannot be used: " + why + ". ";
    if (ec)
        text += "It could not be moved aside to " + bad + " (" + ec.message() +
                "); the program starts with default settings.";
    else
        text += "It was kept as " + bad +
                "; the program starts with default settings and saves new ones "
                "at Exit.";
    if (plan.onError) plan.onError(text);
}

void ReadFirstStartAndAircraftFolder(FlightPlan& plan) {
    ProfileFile ini(SettingsFilePath(plan));
    if (ini.ReadString("Folder", "Init", "0") == "0") {
        try {
            ini.WriteString("Folder", "Init", "1");
        } catch (const UserError&) {
            // The marker has no effect; a read-only program folder is no reason to stop.
        }
    }
    const std::string folder = ini.ReadString("Folder", "ERJ145LR", "0");
    plan.paths.AircraftFolderName = folder == "0" ? kDefaultAircraftFolder : folder;
}

void ReadPathSettings(FlightPlan& plan) {
    PlanPaths& p = plan.paths;
    const ProfileFile ini(SettingsFilePath(plan));
    const std::string aircraftDir = JoinPath(p.SimAircraftDir, p.AircraftFolderName);
    const std::string flightsDefault =
        DefaultPath(JoinPath(p.DocumentsDir, "Flight Simulator Files") + kPathSeparator);
    const std::string cfgDefault = DefaultPath(JoinPath(aircraftDir, "aircraft.cfg"));
    const std::string panelDefault = DefaultPath(JoinPath(JoinPath(aircraftDir, "panel"), "erj.ini"));

    p.FlightsDir = StoredOrLocated(ini.ReadString("folder", "flights", flightsDefault), flightsDefault);
    p.AircraftCfgPath = StoredOrLocated(ini.ReadString("folder", "aircraft", cfgDefault), cfgDefault);
    p.PanelIniPath = StoredOrLocated(ini.ReadString("folder", "erj", panelDefault), panelDefault);
    p.SimRegistryKey = ini.ReadString("folder", "fsreg", p.SimRegistryKey);
    p.SimPathValueName = ini.ReadString("folder", "pathinfo", p.SimPathValueName);
#ifdef _WIN32
    p.AircraftCfgPath = WithDrive(p.AircraftCfgPath);
    p.PanelIniPath = WithDrive(p.PanelIniPath);
#endif
}

void LoadSettings(FlightPlan& plan) {
    const ProfileFile ini(SettingsFilePath(plan));

    // 1. The active saved flight and its livery.
    plan.SetItemIndex(FieldId::ComboBox3, ini.ReadInteger("FlightData", "Aircraft", 0));
    ComboBox3Change(plan);

    // 2. Attendants rule, route, winds, allowance, RVSM, passengers.
    plan.values.PaxForTwoAttendants = ini.ReadInteger("Flight Attendants", "Passenger for two", 26);
    LoadText(plan, ini, "Route", "Origin", FieldId::Edit1, "EDDH");
    LoadText(plan, ini, "Route", "Dest", FieldId::Edit2, "EHAM");
    LoadText(plan, ini, "Route", "Altn", FieldId::Edit3, "EHRD");
    LoadText(plan, ini, "Winds", "WCDest", FieldId::Edit9, "0");
    LoadText(plan, ini, "Route", "Addtnl", FieldId::Edit6, "10");
    LoadText(plan, ini, "Winds", "WCAltn", FieldId::Edit10, "0");
    plan.SetChecked(FieldId::cbRVSM, ini.ReadBool("Route", "RVSM", false));
    LoadText(plan, ini, "Payload", "Pax", FieldId::Edit13, "50");

    // 3. Payload and fuel.
    LoadWeight(plan, ini, "Payload", "Cargo", FieldId::Edit15, 1500);
    LoadWeightIfZero(plan, ini, "Standards", "Pax", FieldId::Edit14, 190);
    LoadWeightIfZero(plan, ini, "Standards", "BOW", FieldId::Edit17, 27337);
    LoadWeightIfZero(plan, ini, "Fuel", "Taxi", FieldId::Edit18, 360);
    LoadWeight(plan, ini, "Fuel", "Extra", FieldId::Edit22, 500);

    // 4. Limits.
    plan.values.BulkLimit = ini.ReadInteger("Max.Weights", "Bulk", 2646);
    LoadWeight(plan, ini, "Max.Weights", "ZFW", FieldId::Edit27, 39462);
    LoadWeight(plan, ini, "Max.Weights", "Block", FieldId::Edit31, 48721);
    LoadWeightIfZero(plan, ini, "Max.Weights", "TOW", FieldId::Edit32, 48501);
    LoadWeight(plan, ini, "Max.Weights", "LW", FieldId::Edit34, 42549);
    LoadWeight(plan, ini, "Max.Weights", "Fuel", FieldId::Edit33, 11398);
    LoadWeight(plan, ini, "Max.Weights", "Payload", FieldId::Edit52, 12755);

    // 5. Temperature, pressure and the stored window positions.
    plan.SetPosition(FieldId::ScrollBar1, ini.ReadInteger("Speeds", "OAT", 15));
    plan.SetPosition(FieldId::ScrollBar2, ini.ReadInteger("Speeds", "QNH", 1013));
    WindowPositions& w = plan.values.windowPositions;
    constexpr int none = WindowPositions::kNone;
    w.Top1 = ini.ReadInteger("Window", "Top1", none);
    w.Left1 = ini.ReadInteger("Window", "Left1", none);
    w.Top4 = ini.ReadInteger("Window", "Top4", none);
    w.Left4 = ini.ReadInteger("Window", "Left4", none);
    w.Top7 = ini.ReadInteger("Window", "Top7", none);
    w.Left7 = ini.ReadInteger("Window", "Left7", none);
    w.Top5 = ini.ReadInteger("Window", "Top5", none);
    w.Left5 = ini.ReadInteger("Window", "Left5", none);

    // 6. Selections (an index outside a list leaves the control without a selection).
    plan.SetItemIndex(FieldId::ComboBox1, ini.ReadInteger("Winds", "Dest", 0));
    plan.SetItemIndex(FieldId::ComboBox2, ini.ReadInteger("Winds", "Altn", 0));
    plan.SetItemIndex(FieldId::rg2, ini.ReadInteger("Flaps", "Flaps", 0));
    plan.SetItemIndex(FieldId::cb3, ini.ReadInteger("Route", "Reserves", 0));

    // 7. Altitude alert.
    plan.values.AlertAltitude = ini.ReadInteger("Alert", "Altitude", 5000);
    plan.SetText(FieldId::Panel6, IntToStr(plan.values.AlertAltitude));

    // 8. Sound: the switch flips the inverted flag back, bringing panel and loop in line.
    plan.values.SoundOn = !ini.ReadBool("Sound", "Sound", true);
    Panel5Click(plan);
}

void SaveSettings(FlightPlan& plan) {
    SettingsWriter out(plan);
    const PlanPaths& p = plan.paths;
    const WindowPositions& w = plan.values.windowPositions;

    out.Integer("FlightData", "Aircraft", plan.ItemIndex(FieldId::ComboBox3));
    out.String("folder", "ERJ145LR", p.AircraftFolderName);
    out.Integer("Flight Attendants", "Passenger for two", plan.values.PaxForTwoAttendants);
    out.Integer("Alert", "Altitude", plan.values.AlertAltitude);
    out.Integer("Speeds", "OAT", plan.Position(FieldId::ScrollBar1));
    out.Integer("Speeds", "QNH", plan.Position(FieldId::ScrollBar2));
    out.Integer("Window", "Left4", w.Left4);
    out.Integer("Window", "Top4", w.Top4);
    out.Integer("Window", "Left7", w.Left7);
    out.Integer("Window", "Top7", w.Top7);
    out.Integer("Window", "Left1", w.Left1);
    out.Integer("Window", "Top1", w.Top1);
    out.Integer("Window", "Left5", w.Left5);
    out.Integer("Window", "Top5", w.Top5);
    out.Integer("Route", "Reserves", plan.ItemIndex(FieldId::cb3));
    out.String("Route", "Origin", plan.Text(FieldId::Edit1));
    out.String("Route", "Dest", plan.Text(FieldId::Edit2));
    out.String("Route", "Altn", plan.Text(FieldId::Edit3));
    out.String("Winds", "WCDest", plan.Text(FieldId::Edit9));
    out.String("Route", "Addtnl", plan.Text(FieldId::Edit6));
    out.String("Winds", "WCAltn", plan.Text(FieldId::Edit10));
    out.Integer("Winds", "Dest", plan.ItemIndex(FieldId::ComboBox1));
    out.Integer("Winds", "Altn", plan.ItemIndex(FieldId::ComboBox2));
    out.Integer("Flaps", "Flaps", plan.ItemIndex(FieldId::rg2));
    out.String("Payload", "Pax", plan.Text(FieldId::Edit13));
    out.Weight(plan, "Payload", "Cargo", FieldId::Edit15);
    out.Weight(plan, "Standards", "Pax", FieldId::Edit14);
    out.Weight(plan, "Standards", "BOW", FieldId::Edit17);
    out.Weight(plan, "Fuel", "Taxi", FieldId::Edit18);
    out.Weight(plan, "Fuel", "Extra", FieldId::Edit22);
    out.Weight(plan, "Fuel", "Reserves", FieldId::Edit21);
    out.Integer("Max.Weights", "Bulk", plan.values.BulkLimit);
    out.Weight(plan, "Max.Weights", "ZFW", FieldId::Edit27);
    out.Weight(plan, "Max.Weights", "Block", FieldId::Edit31);
    out.Weight(plan, "Max.Weights", "TOW", FieldId::Edit32);
    out.Weight(plan, "Max.Weights", "LW", FieldId::Edit34);
    out.Weight(plan, "Max.Weights", "Fuel", FieldId::Edit33);
    out.Weight(plan, "Max.Weights", "Payload", FieldId::Edit52);
    out.Bool("Route", "RVSM", plan.Checked(FieldId::cbRVSM));
    out.Bool("Sound", "Sound", plan.values.SoundOn);
    out.String("folder", "flights", p.FlightsDir);
    out.String("folder", "erj", p.PanelIniPath);
    out.String("folder", "aircraft", p.AircraftCfgPath);
    out.String("folder", "fsreg", p.SimRegistryKey);
    out.String("folder", "fspath", p.SimPathValueName);
}

} // namespace vantrel
