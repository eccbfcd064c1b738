// One full weight recompute: reserve, checks, attendants, totals, the four weights, their
// limit checks and the ripple of every field written.
#include "planning/flight_plan.h"

#include <benchmark/benchmark.h>

#include <string>

static void BM_WeightRecompute(benchmark::State& state) {
    vantrel::FlightPlan plan;
    plan.paths.ProgramDir = std::string(VANTREL_OUT_DIR) + "/";
    int pax = 0;
    for (auto _ : state) {
        // Alternate the passenger count so that every run changes the fields it writes.
        plan.SetText(vantrel::FieldId::Edit13, (++pax & 1) ? "50" : "20");
        benchmark::DoNotOptimize(plan.Text(vantrel::FieldId::Edit26));
    }
}
BENCHMARK(BM_WeightRecompute)->Repetitions(10)->ReportAggregatesOnly(true);
