// A destination edit with its whole ripple (both legs, fuel burn, weights, speeds with their
// file reads), and one airport look-up.
#include "planning/flight_plan.h"
#include "planning/performance_tables.h"
#include "planning/route.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace vantrel;

namespace {

void PreparePlan(FlightPlan& plan) {
    plan.paths.ProgramDir = std::string(VANTREL_OUT_DIR) + "/";
    LoadFuelTables(plan.paths.ProgramDir + "fuel/fuelplan.csv", plan.tables);
    LoadAirportDatabase(plan);
    plan.SetText(FieldId::Edit1, "EDDH");
    plan.SetText(FieldId::Edit2, "EHAM");
    plan.SetText(FieldId::Edit3, "EHRD");
}

} // namespace

static void BM_DestinationEdit(benchmark::State& state) {
    FlightPlan plan;
    PreparePlan(plan);
    bool flip = false;
    for (auto _ : state) {
        // Alternate the destination so that every edit changes the legs and their fuel.
        flip = !flip;
        plan.SetText(FieldId::Edit2, flip ? "EDDM" : "EHAM");
        benchmark::DoNotOptimize(plan.Text(FieldId::Edit45));
    }
}
BENCHMARK(BM_DestinationEdit)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

static void BM_AirportLookUp(benchmark::State& state) {
    FlightPlan plan;
    PreparePlan(plan);
    const std::vector<std::string> keys = {"EDDH", "EHAM", "KJFK", "LSZH", "YSSY", "ABC  ", "ZZZZ", "SLLP"};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto line = plan.airports.FindAirport(keys[i++ % keys.size()]);
        if (line) benchmark::DoNotOptimize(AirportDatabase::ReadRecord(*line));
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_AirportLookUp)->Repetitions(10)->ReportAggregatesOnly(true);

static void BM_CalcSpeeds(benchmark::State& state) {
    FlightPlan plan;
    PreparePlan(plan);
    for (auto _ : state) {
        plan.CalcSpeedsInCurrentMode();
        benchmark::DoNotOptimize(plan.Text(FieldId::Edit45));
    }
}
BENCHMARK(BM_CalcSpeeds)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
