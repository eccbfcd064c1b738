#pragma once
// A cockpit on a virtual clock, linked over the real posix transport to the real server on a
// thread of the test; the wave player and the beep record what they are asked to do.
#include "finished_task.h"
#include "ipc/ipc_test_support.h"

#include "cockpit/cockpit.h"
#include "ipc/offsets.h"
#include "ipc/simulator_window.h"
#include "planning/flight_plan.h"

#include <memory>
#include <string>
#include <vector>

namespace vantrel::test {

class RecordingWave : public WaveOutput {
public:
    void Play(const std::string& path, bool loop) override {
        calls.push_back("play " + path + (loop ? " loop" : ""));
    }
    void Stop() override { calls.push_back("stop"); }
    // How often the file (relative to the program folder) was started.
    int Plays(const std::string& relative) const {
        int n = 0;
        for (const std::string& c : calls)
            if (c == "play /prog/" + relative) ++n;
        return n;
    }
    std::vector<std::string> calls;
};

struct CockpitRig {
    TempIpcDir dir;
    std::unique_ptr<InProcessServer> server;
    FlightPlan plan;
    VirtualClock clock{FromCivil(CivilTime{2026, 12, 9, 12, 0, 0, 0})};
    VirtualTimers timers{clock};
    RecordingWave wave;
    int beeps = 0;
    std::function<void()> onProcessMessages;
    CockpitSeams seams{clock,
                       timers,
                       wave,
                       {},
                       [](const std::string& c) { return SimulatorWindowExists(c); },
                       [this] {
                           if (onProcessMessages) onProcessMessages();
                       },
                       [this] { ++beeps; }};
    std::unique_ptr<Cockpit> cockpit;

    explicit CockpitRig(bool simulatorRunning = true, IpcTimings timings = FastTimings()) {
        if (simulatorRunning) StartSimulator();
        cockpit = std::make_unique<Cockpit>(plan, seams, "/prog/",
                                            std::make_unique<PosixTransport>(dir.Path()), timings);
        cockpit->Start();
    }
    LinkWindow& window() { return cockpit->linkWindow; }
    const ControlState& control(const std::string& name) { return cockpit->controls.Get(name); }

    // A simulator with plausible weather and two tanks of 2,000 lb (8 lb per gallon, 250 gallons).
    void StartSimulator() {
        server = std::make_unique<InProcessServer>(dir.Path());
        OffsetSpace& s = Space();
        s.SetU16(offsets::kQnh.address, 1013 * 16);
        s.SetU16(offsets::kOutsideAirTemperature.address, 15 * 256);
        s.SetU16(offsets::kFuelWeight.address, 8 * 256);
        for (auto cap : {offsets::kLeftMainCapacity, offsets::kRightMainCapacity})
            s.SetU32(cap.address, 250);
        for (auto level : {offsets::kLeftMainLevel, offsets::kRightMainLevel})
            s.SetU32(level.address, offsets::kTankFull);
        s.SetU16(offsets::kOnGround.address, 1);
    }
    void StopSimulator() { server.reset(); }
    OffsetSpace& Space() { return server->Space(); }

    void Advance(int ms) { timers.AdvanceBy(ms); }
    // Linked and shown linked: the first two ticks.
    void Link() { Advance(1000); }
};

} // namespace vantrel::test
