// vantrel-sim: a stand-in simulator that serves the interface's offsets over the posix
// transport, driven by a scenario file and by commands on standard input.
#include "ipc/ipc_dir.h"
#include "ipc/offset_space.h"
#include "ipc/posix_ipc_server.h"
#include "simulator/aircraft_model.h"
#include "simulator/scenario.h"
#include "simulator/sim_commands.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

void InstallSignals() {
    struct sigaction action {};
    action.sa_handler = OnSignal; // no SA_RESTART: poll returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

struct Options {
    std::string scenario;
    std::string directory;
    double scale = 1.0;
    bool uipc = false;
    bool quiet = false;
    int tick_ms = 100;
    std::uint32_t fsuipc_version = 0x36140000;
    std::uint32_t simulator_version = 0xFADE0007; // FS2004
};

int Usage() {
    std::fprintf(stderr,
                 "usage: vantrel-sim [--scenario FILE] [--scale FACTOR] [--uipc] [--dir DIR]\n"
                 "                   [--fsuipc-version HEX] [--sim-version HEX] [--tick MS] [--quiet]\n");
    return 2;
}

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        try {
            if (arg == "--scenario" && has_value)
                o.scenario = argv[++i];
            else if (arg == "--dir" && has_value)
                o.directory = argv[++i];
            else if (arg == "--scale" && has_value)
                o.scale = std::stod(argv[++i]);
            else if (arg == "--tick" && has_value)
                o.tick_ms = std::stoi(argv[++i]);
            else if (arg == "--fsuipc-version" && has_value)
                o.fsuipc_version = std::uint32_t(std::stoul(argv[++i], nullptr, 16));
            else if (arg == "--sim-version" && has_value)
                o.simulator_version = std::uint32_t(std::stoul(argv[++i], nullptr, 16));
            else if (arg == "--uipc")
                o.uipc = true;
            else if (arg == "--quiet")
                o.quiet = true;
            else
                return false;
        } catch (const std::exception&) {
            return false;
        }
    }
    return o.scale > 0 && o.tick_ms > 0;
}

// Reads what standard input has; runs each complete line. False once input has ended.
bool DrainInput(std::string& pending, std::vector<std::string>& lines) {
    char buffer[4096];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) return false;
    pending.append(buffer, std::size_t(n));
    for (std::size_t nl; (nl = pending.find('\n')) != std::string::npos;) {
        lines.push_back(pending.substr(0, nl));
        pending.erase(0, nl + 1);
    }
    if (pending.size() > 4096) pending.clear(); // no line is that long
    return true;
}

} // namespace

int main(int argc, char** argv) {
    using namespace vantrel;
    Options options;
    if (!ParseOptions(argc, argv, options)) return Usage();

    sim::Scenario scenario;
    std::string reason;
    if (!options.scenario.empty() && !scenario.Load(options.scenario, reason)) {
        std::fprintf(stderr, "vantrel-sim: %s\n", reason.c_str());
        return 1;
    }

    OffsetSpace space(options.fsuipc_version, options.simulator_version);
    sim::AircraftModel model(space);
    if (!options.quiet)
        space.on_write = [](std::uint32_t offset, const std::uint8_t* data, std::uint32_t size) {
            std::printf("%s\n", sim::DescribeWrite(offset, data, size).c_str());
            std::fflush(stdout);
        };

    // What the scenario sets at its start holds before the first client can look.
    for (const std::string& command : scenario.Due(0))
        sim::RunCommand(command, model, space);

    InstallSignals();
    const std::string directory = options.directory.empty() ? IpcDirectory() : options.directory;
    PosixIpcServer server(space);
    std::vector<std::string> classes = {"FS98MAIN"};
    if (options.uipc) classes.push_back("UIPCMAIN");
    if (!server.Start(directory, classes, reason)) {
        std::fprintf(stderr, "vantrel-sim: %s\n", reason.c_str());
        return 1;
    }
    for (const std::string& c : classes)
        std::printf("listening %s/%s\n", directory.c_str(), c.c_str());
    std::fflush(stdout);

    using Clock = std::chrono::steady_clock;
    Clock::time_point last = Clock::now();
    double scenario_seconds = 0;
    bool input_open = true;
    bool quit = false;
    bool paused = false;
    std::string pending;
    // What a command asks of this loop; a step comes only from standard input.
    const auto apply = [&](const sim::CommandEffect& effect) {
        if (effect.new_scale > 0) options.scale = effect.new_scale;
        if (effect.pause != 0) {
            paused = effect.pause > 0;
            last = Clock::now();
        }
        quit = quit || effect.quit;
    };
    // Long simulated steps are cut into pieces so that scenario lines fall due on time.
    const auto advance = [&](double simulated) {
        const int pieces = int(simulated / 1.0) + 1;
        for (int i = 0; i < pieces; ++i) {
            scenario_seconds += simulated / pieces;
            for (const std::string& command : scenario.Due(scenario_seconds))
                apply(sim::RunCommand(command, model, space));
            model.Step(simulated / pieces);
        }
    };
    const auto run = [&](const std::string& line) {
        const sim::CommandEffect effect = sim::RunCommand(line, model, space);
        apply(effect);
        if (effect.step_seconds > 0) {
            advance(effect.step_seconds);
            std::printf("time %.3f\n", scenario_seconds);
            std::fflush(stdout);
        }
    };

    while (!quit && g_stop == 0) {
        const bool input_ready = server.PollOnce(options.tick_ms, input_open ? STDIN_FILENO : -1);
        std::vector<std::string> lines;
        if (input_ready) input_open = DrainInput(pending, lines);
        for (const std::string& line : lines)
            run(line);

        const Clock::time_point now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - last).count();
        if (elapsed * 1000 >= options.tick_ms) {
            last = now;
            if (!paused) advance(elapsed * options.scale);
        }
    }
    server.Shutdown();
    std::printf("stopped after %llu requests (%llu refused)\n",
                static_cast<unsigned long long>(server.Requests()),
                static_cast<unsigned long long>(server.Refused()));
    return 0;
}
