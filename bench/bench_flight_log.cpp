// The flight log viewer's reload of a log of 5,000 flights, as each show of the window does.
#include "shell/flight_log_view.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

std::string LogDir(int flights) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vantrel-bench-log-" + std::to_string(::getpid()) + "-" + std::to_string(flights));
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / "erj145.csv", std::ios::binary);
    for (int i = 0; i < flights; ++i)
        out << "07/12/2026;EDDV;09:05;EDDM;10:02;400;00:57;17500;7000;" << 2000 + i % 500 << ";50;500;\r\n";
    return dir.string() + "/";
}

void BM_FlightLogReload(benchmark::State& state) {
    const std::string dir = LogDir(static_cast<int>(state.range(0)));
    vantrel::FlightLogGrid grid;
    for (auto _ : state) {
        grid.FormShow(dir);
        benchmark::DoNotOptimize(grid.Rows().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_FlightLogReload)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
