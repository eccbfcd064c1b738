// Runs the Windows client under test, one command per line, one reply line each:
//   timings TIMEOUT_MS PAUSE_MS  waits of the links opened afterwards
//   open                         -> "open OK RESULT FSUIPC_HEX SIMULATOR_CODE"
//   read OFFSET SIZE             -> "read OK RESULT"
//   write OFFSET SIZE VALUE      -> "write OK RESULT"
//   process                      -> "process OK RESULT MILLISECONDS VALUE..." (the values of
//                                   the reads queued since the last process, unsigned)
//   close                        -> "closed"
//   squat                        -> "squat OK": takes this process's mapping name first
//   atom                         -> "atom FOUND": whether the name's global atom exists
//   bench N                      -> "bench US..." N exchanges of the data load's nine reads
//   quit
// With --idle it only waits until it is ended.
#include "ipc/ipc_client.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <list>
#include <memory>
#include <string>
#include <vector>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

using namespace vantrel;
using Clock = std::chrono::steady_clock;

struct Driver {
    IpcTimings timings;
    std::unique_ptr<IpcClient> client;
    std::list<std::vector<std::uint8_t>> reads;
    HANDLE squatted = nullptr;

    IpcClient& Client() {
        if (!client) client = std::make_unique<IpcClient>(MakePlatformTransport(), timings);
        return *client;
    }
};

// "VERB OK RESULT"
std::string Reply(const char* verb, bool ok, std::uint32_t result) {
    std::string reply = verb;
    reply += ok ? " 1 " : " 0 ";
    reply += std::to_string(result);
    return reply;
}

std::string Bench(Driver& d, int count) {
    std::uint8_t values[9][4] = {};
    const std::uint32_t offsets[9] = {0x0AF4, 0x0B80, 0x0B98, 0x0B7C, 0x0B94, 0x0574, 0x088C, 0x02BC, 0x0366};
    const std::uint32_t sizes[9] = {2, 4, 4, 4, 4, 4, 2, 4, 2};
    std::string line = "bench";
    std::uint32_t result = 0;
    for (int i = 0; i < count; ++i) {
        const Clock::time_point start = Clock::now();
        for (int r = 0; r < 9; ++r)
            d.Client().FSUIPC_Read(offsets[r], sizes[r], values[r], result);
        if (!d.Client().FSUIPC_Process(result)) return "bench failed " + std::to_string(result);
        line += ' ';
        line += std::to_string(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
    }
    return line;
}

std::string Run(Driver& d, const std::string& line) {
    char verb[16] = {};
    unsigned a = 0, b = 0;
    unsigned long long value = 0;
    const int fields = std::sscanf(line.c_str(), "%15s %x %u %llu", verb, &a, &b, &value);
    const std::string command = verb;
    std::uint32_t result = 0;
    if (command == "timings" && std::sscanf(line.c_str(), "%*s %u %u", &a, &b) == 2) {
        d.timings.send_timeout_ms = int(a);
        d.timings.retry_pause_ms = int(b);
        d.client.reset();
        return "timings";
    }
    if (command == "open") {
        const bool ok = d.Client().FSUIPC_Open(0, result);
        char versions[32];
        std::snprintf(versions, sizeof versions, " %08X %u", unsigned(d.Client().FsuipcVersion()),
                      unsigned(d.Client().SimulatorVersion()));
        return Reply("open", ok, result) + versions;
    }
    if (command == "read" && fields >= 3) {
        d.reads.emplace_back(b, 0);
        const bool ok = d.Client().FSUIPC_Read(a, b, d.reads.back().data(), result);
        if (!ok) d.reads.pop_back();
        return Reply("read", ok, result);
    }
    if (command == "write" && fields == 4) {
        std::vector<std::uint8_t> bytes(b);
        for (unsigned i = 0; i < b; ++i)
            bytes[i] = std::uint8_t(i < 8 ? value >> (8 * i) : 0);
        const bool ok = d.Client().FSUIPC_Write(a, b, bytes.data(), result);
        return Reply("write", ok, result);
    }
    if (command == "process") {
        const Clock::time_point start = Clock::now();
        const bool ok = d.Client().FSUIPC_Process(result);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        std::string reply = Reply("process", ok, result);
        reply += ' ';
        reply += std::to_string(ms);
        for (const std::vector<std::uint8_t>& r : d.reads) {
            unsigned long long v = 0;
            for (std::size_t i = 0; i < r.size() && i < 8; ++i)
                v |= (unsigned long long)r[i] << (8 * i);
            reply += ' ';
            reply += std::to_string(v);
        }
        d.reads.clear();
        return reply;
    }
    if (command == "close") {
        d.Client().FSUIPC_Close();
        return "closed";
    }
    if (command == "squat") {
        d.squatted = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0x8000,
                                        MappingName(CurrentProcessId(), 1).c_str());
        return std::string("squat ") + (d.squatted != nullptr ? "1" : "0");
    }
    if (command == "atom")
        return std::string("atom ") +
               (GlobalFindAtomA(MappingName(CurrentProcessId(), 1).c_str()) != 0 ? "1" : "0");
    if (command == "bench" && std::sscanf(line.c_str(), "%*s %u", &a) == 1) return Bench(d, int(a));
    return "refused";
}

} // namespace

int main(int argc, char** argv) {
    // --idle: does nothing until ended. The tests keep one such process in their prefix, so
    // that Wine's own service processes stay up between test programs instead of starting
    // again for each.
    if (argc == 2 && std::string(argv[1]) == "--idle") Sleep(INFINITE);
    Driver driver;
    char buffer[512];
    std::printf("ready %lu\n", GetCurrentProcessId());
    std::fflush(stdout);
    while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line == "quit") break;
        std::printf("%s\n", Run(driver, line).c_str());
        std::fflush(stdout);
    }
    return 0;
}
