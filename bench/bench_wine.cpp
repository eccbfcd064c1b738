// The data load's nine reads in one exchange, with the simulator's side under Wine: through
// the Windows transport (window message, atom, named mapping; timed inside the Wine process
// by link-driver.exe) and through vantrel-bridge.exe from the native side. The benchmark
// boots its own Wine prefix first (several seconds) and removes it at the end.
#include "wine/wine_support.h"

#include "ipc/bridge_transport.h"
#include "ipc/ipc_client.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace vantrel;

std::string PrefixScript(const char* action) {
    return std::string("cmake -DACTION=") + action +
           " -DPREFIX=" VANTREL_WINE_PREFIX " -DWINE=" VANTREL_WINE " -DWINESERVER=" VANTREL_WINESERVER
           " -DKEEPER=" VANTREL_WINDOWS_DIR "/link-driver.exe -P " VANTREL_SOURCE_DIR
           "/cmake/wine_prefix.cmake";
}

// The prefix, the stand-in server and the bridge, for the whole benchmark run.
struct WineSide {
    std::string dir;
    std::unique_ptr<wine::Program> server;
    std::unique_ptr<wine::Program> bridge;
    bool ready = false;

    WineSide() {
        if (!wine::Available() || std::system(PrefixScript("create").c_str()) != 0) return;
        char pattern[] = "/tmp/vantrel-bench-ipc-XXXXXX";
        dir = mkdtemp(pattern);
        setenv("VANTREL_IPC_DIR", dir.c_str(), 1);
        server = std::make_unique<wine::Program>("vantrel-winsim.exe");
        bridge = std::make_unique<wine::Program>("vantrel-bridge.exe");
        ready = server->WaitFor("ready") != "" && bridge->WaitFor("vantrel-bridge: listening") != "";
    }
    ~WineSide() {
        bridge.reset();
        server.reset();
        if (!dir.empty()) std::filesystem::remove_all(dir);
        [[maybe_unused]] const int removed = std::system(PrefixScript("remove").c_str());
    }
};

WineSide& Wine() {
    static WineSide side;
    return side;
}

void BM_WindowsTransportDataLoad(benchmark::State& state) {
    if (!Wine().ready) return state.SkipWithError("no Wine");
    static std::vector<double> samples;
    if (samples.empty()) {
        wine::Program driver("link-driver.exe");
        driver.WaitFor("ready");
        if (driver.Ask("open").rfind("open 1 0", 0) != 0) return state.SkipWithError("open failed");
        const std::vector<std::string> words = wine::Words(driver.Ask("bench 3000", 60000));
        for (std::size_t i = 1; i < words.size(); ++i)
            samples.push_back(std::stod(words[i]) / 1e6);
        if (samples.size() != 3000) return state.SkipWithError("the driver's batch failed");
    }
    // Each repetition takes the samples where the previous one stopped.
    static std::size_t next = 0;
    for (auto _ : state)
        state.SetIterationTime(samples[next++ % samples.size()]);
}

void BM_BridgeDataLoad(benchmark::State& state) {
    if (!Wine().ready) return state.SkipWithError("no Wine");
    IpcClient client(std::make_unique<NativeTransport>(Wine().dir));
    std::uint32_t result = 0;
    if (!client.FSUIPC_Open(0, result)) return state.SkipWithError("open failed");
    const std::uint32_t offsets[9] = {0x0AF4, 0x0B80, 0x0B98, 0x0B7C, 0x0B94, 0x0574, 0x088C, 0x02BC, 0x0366};
    const std::uint32_t sizes[9] = {2, 4, 4, 4, 4, 4, 2, 4, 2};
    std::uint32_t values[9] = {};
    for (auto _ : state) {
        for (int r = 0; r < 9; ++r)
            client.FSUIPC_Read(offsets[r], sizes[r], &values[r], result);
        if (!client.FSUIPC_Process(result)) return state.SkipWithError("process failed");
        benchmark::DoNotOptimize(values);
    }
}

// One new connection to the bridge with its proof both ways and one window look-up: what a
// client pays once per connection (the link monitor's look-up pays it on every tick).
void BM_BridgeProvenConnection(benchmark::State& state) {
    if (!Wine().ready) return state.SkipWithError("no Wine");
    for (auto _ : state)
        if (!BridgeWindowExists(Wine().dir, "FS98MAIN")) return state.SkipWithError("look-up failed");
}

BENCHMARK(BM_WindowsTransportDataLoad)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_BridgeDataLoad)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_BridgeProvenConnection)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
