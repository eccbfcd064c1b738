// Reading and writing the settings file as the program does at start and at close.
#include "shell/aircraft_files.h"
#include "shell/settings_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

std::filesystem::path BenchDir() {
    auto dir =
        std::filesystem::temp_directory_path() / ("vantrel-bench-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

vantrel::FlightPlan SavedPlan(const std::filesystem::path& dir) {
    vantrel::FlightPlan plan;
    plan.paths.ProgramDir = dir.string() + "/";
    vantrel::LoadAircraftFiles(plan); // no aircraft files: pounds and the settings' weights
    vantrel::LoadSettings(plan);
    vantrel::SaveSettings(plan);
    return plan;
}

} // namespace

static void BM_LoadSettings(benchmark::State& state) {
    const auto dir = BenchDir();
    SavedPlan(dir);
    for (auto _ : state) {
        vantrel::FlightPlan plan;
        plan.paths.ProgramDir = dir.string() + "/";
        vantrel::LoadSettings(plan);
        benchmark::DoNotOptimize(plan.Text(vantrel::FieldId::Edit15));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadSettings)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// Every key goes to the file at once through a replacement file, so this is disk-bound.
static void BM_SaveSettings(benchmark::State& state) {
    const auto dir = BenchDir();
    auto plan = SavedPlan(dir);
    for (auto _ : state)
        vantrel::SaveSettings(plan);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveSettings)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
