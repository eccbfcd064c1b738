#pragma once
// A copy of the fixture simulator installation (tests/fixtures/fs9) in a fresh temporary
// folder, so tests can write into it, and helpers to read files and set the environment.
#include "core/profile_file.h"
#include "planning/flight_plan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

namespace vantrel::testing {

namespace fs = std::filesystem;

inline fs::path FreshTempDir(const std::string& tag) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    fs::path dir = fs::temp_directory_path() / ("vantrel-" + tag + "-" + std::to_string(::getpid()) + "-" +
                                                info->test_suite_name() + "-" + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

inline std::string Slurp(const fs::path& path) {
    std::string content;
    ReadWholeFile(path.string(), content);
    return content;
}

inline void Put(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// Sets or unsets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// The data the program reads beside itself (tables, speed files, airport database), copied from
// the built program's folder, so computations that a field change runs find their files.
inline void InstallProgramData(const fs::path& programDir) {
    fs::create_directories(programDir);
    for (const char* data : {"fuel", "speeds", "airports"}) {
        const fs::path from = fs::path(VANTREL_OUT_DIR) / data;
        if (fs::exists(from) && !fs::exists(programDir / data))
            fs::copy(from, programDir / data, fs::copy_options::recursive);
    }
}

class Fs9Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = FreshTempDir("fs9");
        fs::copy(fs::path(VANTREL_SOURCE_DIR) / "tests" / "fixtures" / "fs9", root_,
                 fs::copy_options::recursive);
        programDir_ = root_ / "program";
        InstallProgramData(programDir_);
        plan_.paths.ProgramDir = programDir_.string() + "/";
        plan_.paths.FlightsDir = FlightsDir().string() + "/";
        plan_.paths.AircraftCfgPath = CfgPath().string();
        plan_.paths.PanelIniPath = PanelPath().string();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    fs::path SimDir() const { return root_ / "Flight Simulator 9"; }
    fs::path AircraftDir() const { return SimDir() / "Aircraft" / "Feelthere PIC ERJ145LR"; }
    fs::path CfgPath() const { return AircraftDir() / "aircraft.cfg"; }
    fs::path PanelPath() const { return AircraftDir() / "panel" / "erj.ini"; }
    fs::path KgPanelPath() const { return AircraftDir() / "panel" / "erj-kg.ini"; }
    fs::path DocumentsDir() const { return root_ / "Documents"; }
    fs::path FlightsDir() const { return DocumentsDir() / "Flight Simulator Files"; }
    fs::path SettingsPath() const { return programDir_ / "vn-erj145.ini"; }
    static fs::path FixtureFile(const std::string& relative) {
        return fs::path(VANTREL_SOURCE_DIR) / "tests" / "fixtures" / relative;
    }

    fs::path root_;
    fs::path programDir_;
    FlightPlan plan_;
};

} // namespace vantrel::testing
