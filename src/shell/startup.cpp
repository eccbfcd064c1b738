#include "shell/startup.h"

#include "core/convert.h"
#include "core/event_log.h"
#include "planning/route.h"
#include "shell/aircraft_files.h"
#include "shell/settings_file.h"
#include "shell/sim_paths.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantrel {

namespace {

const char* const kFuelFile = "fuel/fuelplan.csv";

void ProcessMessages(const StartupHooks& hooks) {
    if (hooks.processMessages) hooks.processMessages();
}

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

void ColorCfgLamp(const StartupHooks& hooks, std::uint32_t color) {
    if (hooks.colorCfgLamp) hooks.colorCfgLamp(color);
}

// A start-up question; no front end to ask means "go on".
bool GoOn(const StartupHooks& hooks, const char* question) {
    return !hooks.ask || hooks.ask(question);
}

// What the start-up found, for a support request: each folder and file it goes on with.
void LogFoundPaths(const PlanPaths& paths) {
    const auto found = [](const std::string& what, const std::string& path, bool exists) {
        LogEvent("start", what + ": " + (path.empty() ? "(none)" : path) + (exists ? "" : " (not found)"));
    };
    found("program folder", paths.ProgramDir, FolderExists(paths.ProgramDir));
    found("documents folder", paths.DocumentsDir, FolderExists(paths.DocumentsDir));
    found("simulator aircraft folder", paths.SimAircraftDir, FolderExists(paths.SimAircraftDir));
    found("flights folder", paths.FlightsDir, FolderExists(paths.FlightsDir));
    found("aircraft configuration", paths.AircraftCfgPath, FileExists(paths.AircraftCfgPath));
    found("panel file", paths.PanelIniPath, FileExists(paths.PanelIniPath));
}

} // namespace

int ReadUtcBiasMinutes() {
#ifdef _WIN32
    TIME_ZONE_INFORMATION tz;
    switch (GetTimeZoneInformation(&tz)) {
    case TIME_ZONE_ID_STANDARD:
        return static_cast<int>(tz.Bias);
    case TIME_ZONE_ID_DAYLIGHT:
        return static_cast<int>(tz.Bias + tz.DaylightBias);
    default:
        return 0;
    }
#else
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    return static_cast<int>(-local.tm_gmtoff / 60);
#endif
}

StartupResult RunStartupSequence(FlightPlan& plan, const std::string& programDir, const StartupHooks& hooks) {
    // 1. The load agent's random generator.
    plan.random.seed(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
    // 2. The program's folder.
    plan.paths.ProgramDir = programDir;
    if (!plan.onComboBox3Change) ConnectActiveFlightLookup(plan);

    // A settings file that cannot be used is set aside before anything reads it.
    SetAsideUnusableSettings(plan);
    // 3-4. First-start marker and the add-on's folder name.
    ReadFirstStartAndAircraftFolder(plan);
    // 5-6. The documents folder and the simulator's aircraft folder.
    plan.paths.DocumentsDir = ReadDocumentsFolder();
    plan.paths.SimAircraftDir = ResolvePathCase(ReadSimulatorPath() + kPathSeparator + "aircraft");
    // 7-8. The stored paths, defaulting to the located ones.
    ReadPathSettings(plan);
    LogFoundPaths(plan.paths);

    // 9-11. The simulator's files; "No" to a question ends the program.
    const PlanPaths& paths = plan.paths;
    if (!FolderExists(paths.FlightsDir) &&
        !GoOn(hooks, "Cannot find FS2004 installation. Do you really want to continue?"))
        return StartupResult::StoppedByUser;
    if (!FolderExists(std::filesystem::path(paths.AircraftCfgPath).parent_path().string())) {
        ColorCfgLamp(hooks, colors::Red);
        if (!GoOn(hooks, "Cannot find ERJ145LR aircraft configuration file. Do you really want to continue?"))
            return StartupResult::StoppedByUser;
    }
    if (FileExists(paths.PanelIniPath)) {
        ColorCfgLamp(hooks, colors::Lime);
    } else {
        ColorCfgLamp(hooks, colors::Red);
        if (!GoOn(hooks, "Cannot find ERJ145LR FMS configuration file. Do you really want to continue?"))
            return StartupResult::StoppedByUser;
    }

    try {
        // 12. The performance tables. A block missing from the file leaves its table empty;
        // the user is told, since legs planned from an empty table are worthless.
        LoadFuelTables(programDir + kFuelFile, plan.tables);
        if (!plan.tables.missingBlocks.empty() && plan.onError)
            plan.onError("Performance data missing from fuel/fuelplan.csv: " + plan.tables.missingBlocks);

        // 13. The airport database; a file that cannot be opened ends the sequence here.
        LoadAirportDatabase(plan);

        // 14-15. The aircraft files, then the settings.
        LoadAircraftFiles(plan, hooks.processMessages);
        LoadSettings(plan);
        LogEvent("start", "settings file: " + SettingsFilePath(plan) +
                              (FileExists(SettingsFilePath(plan)) ? "" : " (not found: defaults)"));
        // 16. The stored main-window position.
        if (hooks.placeMainWindow)
            hooks.placeMainWindow(plan.values.windowPositions.Top1, plan.values.windowPositions.Left1);

        // 17-19. Paint, then the first computation: the three legs and the weights.
        ProcessMessages(hooks);
        plan.Edit1Change(FieldId::Edit1);
        plan.Edit1Change(FieldId::Edit2);
        plan.Edit1Change(FieldId::Edit3);
        plan.Edit18Change();
        ProcessMessages(hooks);
    } catch (const ConvertError& e) {
        if (plan.onError) plan.onError(e.what());
        return StartupResult::StoppedByError;
    } catch (const UserError& e) {
        if (plan.onError) plan.onError(e.what());
        return StartupResult::StoppedByError;
    }

    // 20. The looping background sound.
    if (hooks.startBackgroundSound) hooks.startBackgroundSound();
    // 21. The time-zone bias for the UTC clock.
    plan.values.UtcBiasMinutes = ReadUtcBiasMinutes();
    return StartupResult::Completed;
}

} // namespace vantrel
