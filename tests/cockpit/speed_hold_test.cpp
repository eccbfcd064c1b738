// The speed hold and the automatic reverse against the real server, through the real client.
#include "ipc/ipc_test_support.h"

#include "cockpit/cockpit_timer.h"
#include "cockpit/speed_hold.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vantrel {
namespace {

using test::InProcessServer;
using test::MakeClient;
using test::TempIpcDir;

constexpr std::uint32_t kIas = 0x02BC, kOnGround = 0x0366, kLever1 = 0x088C, kLever2 = 0x0924;

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A program folder with a checklist file, a plan, the link window's monitor timer and the hold,
// all talking to an in-process simulator.
class SpeedHoldTest : public ::testing::Test {
protected:
    SpeedHoldTest() {
        dir = std::filesystem::temp_directory_path() /
              ("vantrel-hold-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "checklists");
        std::ofstream(dir / "checklists/checklists.ini") << "[settings]\r\npitch=-1\r\nspeed=170\r\n";
        plan.paths.ProgramDir = dir.string() + "/";
        plan.onError = [this](const std::string& e) { errors.push_back(e); };
        controls.Define("Panel3", {"UIPC", colors::Lime, true, true});
        hold.voice = [this](int volume, int pitch, int speed, const std::string& text) {
            spoken.push_back(std::to_string(volume) + "/" + std::to_string(pitch) + "/" +
                             std::to_string(speed) + " " + text);
        };
        std::uint32_t result = 0;
        EXPECT_TRUE(link->FSUIPC_Open(0, result));
    }
    ~SpeedHoldTest() override { std::filesystem::remove_all(dir); }

    // What the simulator shows: one lever for both engines, the speed in knots x 128, ground.
    void Simulator(std::int16_t lever, std::int32_t speed, std::uint16_t onGround = 0) {
        std::lock_guard<std::mutex> lock(server.Lock());
        server.Space().SetU16(kLever1, std::uint16_t(lever));
        server.Space().SetU16(kLever2, std::uint16_t(lever));
        server.Space().SetU32(kIas, std::uint32_t(speed));
        server.Space().SetU16(kOnGround, onGround);
    }
    std::int16_t Lever(std::uint32_t offset) {
        std::lock_guard<std::mutex> lock(server.Lock());
        return std::int16_t(server.Space().GetU16(offset));
    }
    // The data load's reads and its speed-hold steps.
    void DataLoad() {
        std::uint32_t r = 0;
        data.onGroundPrevious = data.onGroundCurrent;
        ASSERT_TRUE(link->FSUIPC_Read(kLever1, 2, &data.throttle, r) &&
                    link->FSUIPC_Read(kIas, 4, &data.speed, r) &&
                    link->FSUIPC_Read(kOnGround, 2, &data.onGroundCurrent, r) && link->FSUIPC_Process(r));
        hold.OnSpeedCapture();
        hold.OnReverseAndHold();
    }
    void WriteGainFile(const std::string& text) {
        std::ofstream(dir / "autospeed.ini", std::ios::binary) << text;
    }
    const ControlState& Pnat() const { return controls.Get("Form7.pnat"); }

    TempIpcDir ipc;
    InProcessServer server{ipc.Path()};
    std::unique_ptr<IpcClient> link = MakeClient(ipc.Path());
    std::filesystem::path dir;
    FlightPlan plan;
    LinkData data;
    ControlBoard controls;
    VirtualClock clock{0};
    VirtualTimers timers{clock};
    std::unique_ptr<CockpitTimer> monitor = timers.CreateTimer(10'000, true);
    SpeedHold hold{plan, *link, data, controls, *monitor};
    std::vector<std::string> errors, spoken;
};

TEST_F(SpeedHoldTest, EngagingCapturesAtTheNextLoadAndTheFirstStepAlwaysWrites) {
    Simulator(6000, 250 * 128 + 64); // 250.5 kt
    hold.pnatClick();
    EXPECT_TRUE(hold.HoldActive());
    EXPECT_EQ(hold.Target(), SpeedHold::kCaptureTarget);
    EXPECT_EQ(Pnat().color, colors::Yellow);
    EXPECT_EQ(controls.Get("Panel3").color, colors::Fuchsia);
    EXPECT_EQ(monitor->Interval(), 1000);
    EXPECT_EQ(hold.Gain(), 100);

    // The levers move far between the click and the first load: the first step still writes.
    Simulator(15000, 250 * 128 + 64);
    DataLoad();
    EXPECT_EQ(hold.Target(), 250 * 128 + 64);
    EXPECT_EQ(Pnat().caption, "250"); // 250.5 rounds to the even 250
    EXPECT_EQ(Pnat().color, colors::Lime);
    EXPECT_EQ(hold.LastThrottle(), 15000);
    EXPECT_EQ(Lever(kLever1), 15000);
    EXPECT_EQ(Lever(kLever2), 15000);

    // Disengaging: silver "SPD", nothing held, the warning spoken, the period stays at 1 s.
    hold.pnatClick();
    EXPECT_FALSE(hold.HoldActive());
    EXPECT_EQ(Pnat().caption, "SPD");
    EXPECT_EQ(Pnat().color, colors::Silver);
    EXPECT_EQ(hold.Target(), SpeedHold::kNoTarget);
    EXPECT_EQ(hold.LastThrottle(), SpeedHold::kNoThrottle);
    EXPECT_EQ(spoken, std::vector<std::string>{"100/62/170 auto speed"});
    EXPECT_EQ(monitor->Interval(), 1000);
}

TEST_F(SpeedHoldTest, DeviationAndLeverMovementLimits) {
    struct Case {
        int leverMove, deviation;
        bool keeps;
    } cases[] = {{1000, 0, true},    {1001, 0, false},    {-1000, 0, true}, {-1001, 0, false},
                 {0, 1280, true},    {0, 1281, false},    {0, -1280, true}, {0, -1281, false},
                 {1000, 1280, true}, {1001, -1281, false}};
    const std::int32_t target = 250 * 128;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "lever " << c.leverMove << " deviation " << c.deviation);
        spoken.clear();
        Simulator(8000, target);
        hold.pnatClick();
        DataLoad();
        ASSERT_EQ(hold.LastThrottle(), 8000);
        Simulator(std::int16_t(8000 + c.leverMove), target + c.deviation);
        DataLoad();
        EXPECT_EQ(hold.HoldActive(), c.keeps);
        if (c.keeps) {
            // 10/64 of a speed unit per lever unit at gain 100: 10 kt slow is 200 units more.
            const int expected = 8000 + c.leverMove - c.deviation * 10 / 64;
            EXPECT_EQ(Lever(kLever1), expected);
            EXPECT_EQ(Lever(kLever2), expected);
            EXPECT_TRUE(spoken.empty());
            hold.pnatClick();
        } else {
            EXPECT_EQ(Pnat().caption, "SPD");
            EXPECT_EQ(Pnat().color, colors::Silver);
            EXPECT_EQ(hold.LastThrottle(), SpeedHold::kNoThrottle);
            EXPECT_EQ(Lever(kLever1), 8000 + c.leverMove); // nothing written
            EXPECT_EQ(spoken, std::vector<std::string>{"100/62/170 auto speed"});
        }
    }
}

TEST_F(SpeedHoldTest, AutomaticReverseAboveOneHundredKnotsOnTheGround) {
    struct Case {
        std::uint16_t onGround;
        std::int32_t speed;
        bool armed, fires;
    } cases[] = {{1, 12800, true, false},
                 {1, 12801, true, true},
                 {0, 20000, true, false},
                 {1, 20000, false, false},
                 {1, 30000, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "ground " << c.onGround << " speed " << c.speed);
        Simulator(9000, c.speed, c.onGround);
        hold.pnatClick();
        if (c.armed) hold.pnrevClick();
        EXPECT_EQ(controls.Get("Form7.pnrev").color, c.armed ? colors::Yellow : colors::Silver);
        DataLoad();
        EXPECT_EQ(hold.HoldActive(), !c.fires);
        EXPECT_EQ(hold.ReverseArmed(), c.armed && !c.fires);
        if (c.fires) {
            EXPECT_EQ(Lever(kLever1), -10000);
            EXPECT_EQ(Lever(kLever2), -10000);
            EXPECT_EQ(Pnat().caption, "SPD");
            EXPECT_EQ(Pnat().color, colors::Silver);
            EXPECT_EQ(controls.Get("Form7.pnrev").color, colors::Silver);
            EXPECT_EQ(hold.Target(), SpeedHold::kNoTarget);
        } else {
            EXPECT_EQ(Lever(kLever1), 9000); // the hold's own step, on target
            hold.pnatClick();
            if (hold.ReverseArmed()) hold.pnrevClick();
        }
    }
}

TEST_F(SpeedHoldTest, GainFile) {
    struct Case {
        const char* content; // nullptr: no file
        int gain;
        const char* error;
    } cases[] = {{nullptr, 100, nullptr},
                 {" 150 \r\n20\r\n", 150, nullptr},
                 {"\r\n75\r\n", 150, nullptr},
                 {"   \n", 150, nullptr},
                 {"-40", -40, nullptr},
                 {"fast\r\n", -40, "'fast' is not a valid integer value"},
                 {"12.5", -40, "'12.5' is not a valid integer value"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "(no file)");
        std::filesystem::remove(dir / "autospeed.ini");
        if (c.content) WriteGainFile(c.content);
        errors.clear();
        monitor->SetInterval(10'000);
        hold.pnatClick();
        EXPECT_EQ(hold.Gain(), c.gain);
        if (!c.content) {
            EXPECT_EQ(ReadAll(dir / "autospeed.ini"), "100\n");
        }
        if (c.error) {
            // Shown once; the hold stays off and nothing else changed.
            EXPECT_EQ(errors, std::vector<std::string>{c.error});
            EXPECT_FALSE(hold.HoldActive());
            EXPECT_EQ(Pnat().color, colors::Silver);
            EXPECT_EQ(monitor->Interval(), 10'000);
        } else {
            EXPECT_TRUE(errors.empty());
            EXPECT_TRUE(hold.HoldActive());
            EXPECT_EQ(monitor->Interval(), 1000);
            hold.pnatClick();
        }
    }
}

TEST(SpeedHoldLever, StaysInsideTheLeverRangeAndNeverReversesInTheAir) {
    constexpr std::int32_t air = SpeedHold::kLeverIdle, ground = SpeedHold::kLeverFullReverse;
    struct Case {
        std::int32_t throttle, speed, target, gain, floor;
        std::int16_t lever;
    } cases[] = {
        {8000, 32000, 32000, 100, air, 8000},
        {8000, 32000 - 1280, 32000, 100, air, 8200},
        {8000, 32000 - 16, 32000, 100, air, 8002}, // 2.5 rounds to the even 2
        {8000, 32000 - 48, 32000, 100, air, 8008}, // 7.5 rounds to 8
        {8000, 32000 + 16, 32000, 100, air, 7998},
        {16000, 28000, 32000, 100, air, 16383},
        {8000, 31000, 32000, 100000, air, 16383},    // would wrap into reverse in 16 bits
        {8000, 33000, 32000, 100000, air, 0},        // idle, never reverse in the air
        {8000, 33000, 32000, 100000, ground, -4096}, // full reverse at most on the ground
        {-10000, 32000, 32000, 100, ground, -4096},
        {500, 0, 2147483647, 2147483647, air, 16383},
        {500, 2147483647, -2147483647, 2147483647, air, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpeedHold::HoldLever(c.throttle, c.speed, c.target, c.gain, c.floor), c.lever)
            << c.throttle << " " << c.speed << " " << c.target << " " << c.gain;
}

TEST_F(SpeedHoldTest, FailedWriteColoursRedAndTheHoldGoesOn) {
    Simulator(7000, 200 * 128);
    hold.pnatClick();
    DataLoad();
    link->FSUIPC_Close();
    data.throttle = 7100;
    hold.OnReverseAndHold();
    EXPECT_EQ(Pnat().color, colors::Red);
    EXPECT_TRUE(hold.HoldActive());
    EXPECT_EQ(hold.LastThrottle(), 7100);
}

TEST_F(SpeedHoldTest, WarningNeedsTheChecklistFileAndAVoice) {
    std::ofstream(dir / "checklists/checklists.ini") << "[settings]\npitch=80\n";
    hold.atwarning();
    EXPECT_EQ(spoken, std::vector<std::string>{"100/80/145 auto speed"});
    std::filesystem::remove(dir / "checklists/checklists.ini");
    hold.atwarning();
    EXPECT_EQ(spoken.size(), 1u);
}

} // namespace
} // namespace vantrel
