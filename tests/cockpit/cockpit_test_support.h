#pragma once
// A cockpit bench for the recorder and the fuel panel: a plan in a program folder of its own,
// a virtual clock and timers, a recorded wave player, and the link to the real server over
// the posix transport, with the data load's reads of the tanks and the on-ground flag.
#include "ipc/ipc_test_support.h"

#include "cockpit/cockpit_clock.h"
#include "cockpit/cockpit_timer.h"
#include "cockpit/control_board.h"
#include "cockpit/handler_queue.h"
#include "cockpit/link_data.h"
#include "cockpit/sound_cues.h"
#include "cockpit/wave_sound.h"
#include "planning/flight_plan.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace vantrel::test {

struct WaveCalls : WaveOutput {
    std::vector<std::string> calls;
    void Play(const std::string& path, bool loop) override {
        calls.push_back(std::filesystem::path(path).filename().string() + (loop ? " loop" : " once"));
    }
    void Stop() override { calls.push_back("stop"); }
};

// A program folder of its own, removed afterwards.
class TempProgramDir {
public:
    TempProgramDir() {
        char pattern[] = "/tmp/vantrel-prog-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        path_ = std::string(made != nullptr ? made : "") + "/";
    }
    ~TempProgramDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// Tank capacities and fuel weight the server answers with: 6.7 lb per gallon (x 256 = 1715).
constexpr std::uint16_t kFuelWeightRaw = 1715;
constexpr std::uint32_t kCapacityGal = 1000;

struct CockpitBench {
    TempIpcDir ipcDir;
    InProcessServer server{ipcDir.Path()};
    std::unique_ptr<IpcClient> link = MakeClient(ipcDir.Path());
    TempProgramDir programDir;
    FlightPlan plan;
    VirtualClock clock{0};
    VirtualTimers timers{clock};
    WaveCalls wave;
    TWaveSound player{wave};
    bool soundOn = true;
    HandlerQueue handlers;
    SoundCues cues{player, clock, programDir.Path(), soundOn, handlers};
    ControlBoard controls;
    LinkData data;
    std::vector<std::string> errors;

    CockpitBench() {
        plan.paths.ProgramDir = programDir.Path();
        plan.onError = [this](const std::string& e) { errors.push_back(e); };
        controls.Define("Panel3", {"UIPC", colors::Red, true, true});
        controls.Define("Form5.lbfuel", {"5000 lb", colors::Silver, true, true});
        std::uint32_t result = 0;
        link->FSUIPC_Open(0, result);
        SetServerTanks(kFuelWeightRaw, kCapacityGal, 0, 0);
    }

    // Writes a plan text as the program would; a handler's error does not stop the test.
    void Put(FieldId id, const std::string& text) {
        plan.Guarded([&] { plan.SetText(id, text); });
    }

    void SetServerTanks(std::uint16_t fuelWeightRaw, std::uint32_t capacityGal, std::uint32_t leftLevel,
                        std::uint32_t rightLevel) {
        std::lock_guard<std::mutex> hold(server.Lock());
        OffsetSpace& s = server.Space();
        s.SetU16(0x0AF4, fuelWeightRaw);
        s.SetU32(0x0B80, capacityGal);
        s.SetU32(0x0B98, capacityGal);
        s.SetU32(0x0B7C, leftLevel);
        s.SetU32(0x0B94, rightLevel);
    }
    // The level that holds the pounds in one of the bench's tanks.
    static std::uint32_t LevelOf(double pounds) {
        return static_cast<std::uint32_t>(pounds * 8388608.0 * 256.0 / kFuelWeightRaw / kCapacityGal + 0.5);
    }
    void SetServerFuel(double leftLb, double rightLb) {
        SetServerTanks(kFuelWeightRaw, kCapacityGal, LevelOf(leftLb), LevelOf(rightLb));
    }
    void SetOnGround(std::uint16_t onGround) {
        std::lock_guard<std::mutex> hold(server.Lock());
        server.Space().SetU16(0x0366, onGround);
    }

    // The data load's exchange and fuel figures; false when the exchange failed.
    bool LoadData() {
        std::uint32_t r = 0;
        LinkData next = data;
        next.onGroundPrevious = data.onGroundCurrent;
        const bool ok = link->FSUIPC_Read(0x0AF4, 2, &next.fuelWeightRaw, r) &&
                        link->FSUIPC_Read(0x0B80, 4, &next.leftCapacityGal, r) &&
                        link->FSUIPC_Read(0x0B98, 4, &next.rightCapacityGal, r) &&
                        link->FSUIPC_Read(0x0B7C, 4, &next.leftLevel, r) &&
                        link->FSUIPC_Read(0x0B94, 4, &next.rightLevel, r) &&
                        link->FSUIPC_Read(0x0366, 2, &next.onGroundCurrent, r) && link->FSUIPC_Process(r);
        if (!ok) return false;
        next.poundsPerGallon = next.fuelWeightRaw / 256.0;
        next.leftCapacityLb = next.poundsPerGallon * next.leftCapacityGal;
        next.rightCapacityLb = next.poundsPerGallon * next.rightCapacityGal;
        next.leftFuelLb = next.leftLevel / 128.0 / 65536.0 * next.poundsPerGallon * next.leftCapacityGal;
        next.rightFuelLb = next.rightLevel / 128.0 / 65536.0 * next.poundsPerGallon * next.rightCapacityGal;
        data = next;
        return true;
    }

    double FuelOnBoard() const { return data.leftFuelLb + data.rightFuelLb; }
};

} // namespace vantrel::test
