// One exchange carrying the nine reads of the connection monitor's data load, over the posix
// transport to the real server running on a thread of this process.
#include "ipc/ipc_client.h"
#include "ipc/offset_space.h"
#include "ipc/posix_ipc_server.h"
#include "ipc/posix_transport.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace {

using namespace vantrel;

struct DataLoad {
    std::uint16_t fuel_weight = 0;
    std::uint32_t left_capacity = 0, right_capacity = 0, left_level = 0, right_level = 0, altitude = 0;
    std::int16_t throttle = 0;
    std::int32_t speed = 0;
    std::uint16_t on_ground = 0;
};

void BM_ProcessDataLoad(benchmark::State& state) {
    char pattern[] = "/tmp/vantrel-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    OffsetSpace space(0x36140000, 0xFADE0007);
    PosixIpcServer server(space);
    std::string reason;
    if (!server.Start(dir, {"FS98MAIN"}, reason)) throw std::runtime_error(reason);
    std::thread serving([&] { server.Run(); });

    IpcClient client(std::make_unique<PosixTransport>(dir));
    std::uint32_t result = 0;
    if (!client.FSUIPC_Open(0, result)) state.SkipWithError("open failed");
    DataLoad d;
    for (auto _ : state) {
        client.FSUIPC_Read(0x0AF4, 2, &d.fuel_weight, result);
        client.FSUIPC_Read(0x0B80, 4, &d.left_capacity, result);
        client.FSUIPC_Read(0x0B98, 4, &d.right_capacity, result);
        client.FSUIPC_Read(0x0B7C, 4, &d.left_level, result);
        client.FSUIPC_Read(0x0B94, 4, &d.right_level, result);
        client.FSUIPC_Read(0x0574, 4, &d.altitude, result);
        client.FSUIPC_Read(0x088C, 2, &d.throttle, result);
        client.FSUIPC_Read(0x02BC, 4, &d.speed, result);
        client.FSUIPC_Read(0x0366, 2, &d.on_ground, result);
        if (!client.FSUIPC_Process(result)) state.SkipWithError("process failed");
        benchmark::DoNotOptimize(d);
    }
    client.FSUIPC_Close();
    server.Stop();
    serving.join();
    server.Shutdown();
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_ProcessDataLoad)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
