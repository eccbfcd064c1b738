#include "planning/startup.h"

#include "core/convert.h"
#include "planning/route.h"

#include <chrono>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantrel {

namespace {

const char* const kFuelFile = "fuel/fuelplan.csv";

void ProcessMessages(const StartupHooks& hooks) {
    if (hooks.processMessages) hooks.processMessages();
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

    try {
        // 12. The performance tables. A block missing from the file leaves its table empty;
        // the user is told, since legs planned from an empty table are worthless.
        LoadFuelTables(programDir + kFuelFile, plan.tables);
        if (!plan.tables.missingBlocks.empty() && plan.onError)
            plan.onError("Performance data missing from fuel/fuelplan.csv: " + plan.tables.missingBlocks);

        // 13. The airport database; a file that cannot be opened ends the sequence here.
        LoadAirportDatabase(plan);

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
