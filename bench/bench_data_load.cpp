// One whole data load of the link window: the exchange of its nine reads handed to the link
// thread and over the posix transport to the real server on a thread of this process, the
// fuel, altitude and weight arithmetic, and the writes of the actual fields and the fuel figure.
// The argument is the diagnostic log's level (0 off, 1 info as the program runs, 2 detail): the
// log's cost is the difference to the run without it.
#include "cockpit/cockpit.h"
#include "cockpit/link_thread.h"
#include "core/event_log.h"
#include "ipc/link_log.h"
#include "ipc/offset_space.h"
#include "ipc/offsets.h"
#include "ipc/posix_ipc_server.h"
#include "ipc/posix_transport.h"
#include "planning/flight_plan.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace {

using namespace vantrel;

struct SilentWave : WaveOutput {
    void Play(const std::string&, bool) override {}
    void Stop() override {}
};

void BM_WholeDataLoad(benchmark::State& state) {
    char pattern[] = "/tmp/vantrel-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    OffsetSpace space(0x36140000, 0xFADE0007);
    space.SetU16(offsets::kFuelWeight.address, 1715); // 6.7 lb per gallon
    space.SetU32(offsets::kLeftMainCapacity.address, 680);
    space.SetU32(offsets::kRightMainCapacity.address, 680);
    space.SetU32(offsets::kLeftMainLevel.address, offsets::kTankFull / 2);
    space.SetU32(offsets::kRightMainLevel.address, offsets::kTankFull / 3);
    space.SetU32(offsets::kAltitudeMetres.address, 10668);
    PosixIpcServer server(space);
    std::string reason;
    if (!server.Start(dir, {"FS98MAIN"}, reason)) throw std::runtime_error(reason);
    std::thread serving([&] { server.Run(); });
    const LogLevel level = static_cast<LogLevel>(state.range(0));
    StartEventLog({dir + "/vantrel.log", "bench", level});

    FlightPlan plan;
    plan.SetText(FieldId::Edit23, "27000");
    plan.SetText(FieldId::Edit31, "48700");
    VirtualClock clock(0);
    VirtualTimers timers(clock);
    SilentWave wave;
    LinkThread linkThread; // waits for each exchange, as a headless session does
    CockpitSeams seams{clock, timers, wave, {}, {}, {}, {}, &linkThread};
    Cockpit cockpit(plan, seams, "/prog/", std::make_unique<PosixTransport>(dir));
    std::uint32_t result = 0;
    if (!cockpit.link.FSUIPC_Open(0, result)) state.SkipWithError("open failed");
    for (auto _ : state) {
        Task<bool> load = cockpit.linkWindow.DataLoad();
        if (!load.Done() || !load.await_resume()) state.SkipWithError("data load failed");
        benchmark::DoNotOptimize(cockpit.data);
    }
    cockpit.link.FSUIPC_Close();
    StopEventLog();
    server.Stop();
    serving.join();
    server.Shutdown();
    std::filesystem::remove_all(dir);
}

// What the log adds to each exchange of a data load, measured alone (the whole load above varies
// more from run to run than this costs): the exchange's timing and its line, written or not.
void BM_ExchangeLogCost(benchmark::State& state) {
    char pattern[] = "/tmp/vantrel-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    StartEventLog({dir + "/vantrel.log", "bench", static_cast<LogLevel>(state.range(0))});
    LinkLog log;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        log.Exchanged(true, 0, 188, std::chrono::steady_clock::now() - started);
    }
    StopEventLog();
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_ExchangeLogCost)->ArgName("log")->DenseRange(0, 2)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_WholeDataLoad)
    ->ArgName("log")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
