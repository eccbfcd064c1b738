// Many short runs of random clicks, keys, ticks, boxes, hung exchanges, flights and Exit on the
// real event loop. After each: nothing stuck, the SPD panel shows the hold as it is, every flight
// logged exactly once, every refuel at its target or stopped for a reason the pilot saw.
#include "live_cockpit.h"

#include "cockpit/fuel_panel.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>

namespace vantrel::test {
namespace {

constexpr int kRuns = 24;
constexpr int kStepsPerRun = 40;

class RandomInterleaving : public LiveCockpit {
protected:
    std::mt19937 random;
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    int logged = 0; // flights the recorder logged
    bool switchedOff = false;
    bool exiting = false;
    struct Refuel {
        bool running = false;
        int target = 0;
        int alertsAtStart = 0;
        bool switchedOffAtStart = false;
    } refuel;

    void Watch() {
        cockpit->recorder.onFlightLogged = [this](const std::string&) { ++logged; };
        switchedOff = false;
        exiting = false;
        refuel = {};
    }
    int AlertCuesPlayed() { return int(std::count(wave.calls.begin(), wave.calls.end(), "alert.wav")); }

    void OneStep() {
        switch (Pick(18)) {
        case 0:
        case 1:
            Window().Timer1Timer();
            break;
        case 2:
            ClickAlert();
            break;
        case 3:
            cockpit->Panel6MouseDown(Pick(2) ? MouseButton::Left : MouseButton::Right);
            break;
        case 4:
            ClickSpd();
            break;
        case 5:
            ClickRev();
            break;
        case 6:
            cockpit->Button3Click();
            break;
        case 7:
            cockpit->Button4Click();
            break;
        case 8:
            cockpit->Panel3MouseDown(MouseButton::Left);
            break;
        case 9:
            if (Pick(4) == 0) {
                switchedOff = true;
                RightClickUipc();
            }
            break;
        case 10:
            cockpit->fuelPanel.Image3Click();
            cockpit->fuelPanel.Image4Click();
            break;
        case 11:
            cockpit->fuelPanel.Image2Click();
            break;
        case 12:
            cockpit->Panel5Click();
            break;
        case 13:
            plan.UserSetText(FieldId::Edit13, std::to_string(Pick(50)));
            break; // a key in a field
        case 14:
            transport->HoldAfter(Pick(3));
            QTimer::singleShot(50 + Pick(400), [this] { transport->Release(); });
            break;
        case 15:
            SetGround(0, 150 + Pick(100));
            break;
        case 16:
            clock.shift += (1 + Pick(60)) * 60'000LL;
            SetGround(1, 90 + Pick(40));
            break;
        case 17:
            cockpit->Button8Click();
            break;
        }
        RunEventsFor(Pick(30));
        Observe();
    }

    // What can be checked while things run.
    void Observe() {
        const bool running = cockpit->fuelPanel.Refuelling();
        if (running && !refuel.running) {
            refuel = {true, plan.IntOf(FieldId::Edit29), AlertCuesPlayed(), switchedOff};
        } else if (!running && refuel.running) {
            refuel.running = false;
            // At the target, or both tanks full (the fuel figure shows it).
            const bool reached = ServerFuelLb() + 11 >= refuel.target || ServerFuelLb() >= 2 * 2000 - 40;
            const bool told = AlertCuesPlayed() > refuel.alertsAtStart || switchedOff || exiting;
            EXPECT_TRUE(reached || told)
                << "a refuel to " << refuel.target << " lb ended at " << ServerFuelLb() << " lb with no word";
        }
        if (Settled()) {
            const std::uint32_t pnat = Color("Form7.pnat");
            if (cockpit->hold.HoldActive())
                EXPECT_NE(pnat, colors::Silver) << "the hold runs, the panel shows it off";
            else
                EXPECT_EQ(pnat, colors::Silver) << "the hold is off, the panel shows it on";
        }
    }
};

TEST_F(RandomInterleaving, ManyRunsKeepTheCockpitSound) {
    boxes.answerWhen = [this] { return Pick(5) == 0; };
    // VANTREL_SEED=N repeats the runs of a printed seed.
    const char* given = std::getenv("VANTREL_SEED");
    const unsigned firstSeed = given ? unsigned(std::strtoul(given, nullptr, 10)) : std::random_device{}();
    QElapsedTimer took;
    took.start();
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        const unsigned seed = firstSeed + unsigned(run);
        SCOPED_TRACE("seed " + std::to_string(seed));
        random.seed(seed);
        if (run > 0) {
            std::filesystem::remove(ProgramDir() + "erj145.csv");
            ASSERT_NO_FATAL_FAILURE(MakeCockpit());
        }
        Watch();
        ASSERT_NO_FATAL_FAILURE(Link());
        const int steps = Pick(2) ? kStepsPerRun : Pick(kStepsPerRun); // some runs end early
        for (int step = 0; step < steps && !HasFailure(); ++step)
            OneStep();
        transport->Release();
        // Exit, whatever is under way: everything ends, and the flights are in the log once.
        bool closed = false;
        exiting = true;
        Exit([&] { closed = true; });
        ASSERT_TRUE(RunUntil([&] { return closed; }, 20000)) << "Exit never finished";
        Observe();
        const std::vector<std::string> lines = LogLines();
        EXPECT_EQ(int(lines.size()), logged);
        EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size()) << "a flight twice";
        if (HasFailure()) std::printf("random interleaving failed with seed %u\n", seed);
    }
    std::printf("random interleaving: %d runs from seed %u in %lld ms\n", kRuns, firstSeed,
                static_cast<long long>(took.elapsed()));
}

} // namespace
} // namespace vantrel::test
