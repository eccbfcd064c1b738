// The start-up sequence with the data the program ships.
#include "planning/flight_plan.h"
#include "shell/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vantrel;

TEST(ShippedStartup, AirportDatabaseIsLoadedAndAMissingOneStopsTheSequence) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vantrel-startup-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy(fs::path(VANTREL_OUT_DIR) / "fuel", dir / "fuel", fs::copy_options::recursive);
    fs::copy(fs::path(VANTREL_OUT_DIR) / "speeds", dir / "speeds", fs::copy_options::recursive);
    fs::copy(fs::path(VANTREL_OUT_DIR) / "airports", dir / "airports", fs::copy_options::recursive);
    const std::string programDir = dir.string() + "/";
    StartupHooks hooks;
    hooks.ask = [](const std::string&) { return true; };
    {
        FlightPlan plan;
        std::vector<std::string> errors;
        plan.onError = [&](const std::string& e) { errors.push_back(e); };
        EXPECT_EQ(RunStartupSequence(plan, programDir, hooks), StartupResult::Completed);
        EXPECT_TRUE(errors.empty()) << errors.front();
        EXPECT_GT(plan.airports.LineCount(), 4500u);
        // Without a settings file the route is the settings' default EDDH-EHAM-EHRD.
        EXPECT_EQ(plan.Color(FieldId::Edit1), colors::Lime);
        EXPECT_EQ(plan.Color(FieldId::Edit3), colors::Lime);
        EXPECT_EQ(plan.Text(FieldId::Edit46), "53"); // Hamburg's elevation
    }
    fs::remove(dir / "airports" / "airports.vn");
    {
        FlightPlan plan;
        std::vector<std::string> errors;
        plan.onError = [&](const std::string& e) { errors.push_back(e); };
        EXPECT_EQ(RunStartupSequence(plan, programDir, hooks), StartupResult::StoppedByError);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind("Cannot open file \"" + programDir + "airports/airports.vn\".", 0), 0u)
            << errors[0];
        EXPECT_EQ(plan.Color(FieldId::Edit1), colors::White); // the rest of the sequence did not run
    }
    fs::remove_all(dir);
}
