// The cockpit's handlers one at a time on the real event loop: what another handler does at a
// pause (a tick under a box, a click during an exchange, Exit during a landing) never spoils the
// handler that paused, and nothing stops the cockpit for good.
#include "live_cockpit.h"

#include "cockpit/fuel_panel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <thread>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;

bool Shown(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(LiveCockpit, ARefuelSwitchedOnWhileATickIsUnderWayReachesItsTarget) {
    ASSERT_NO_FATAL_FAILURE(Link());
    ASSERT_NO_FATAL_FAILURE(Tick()); // the tanks as the first data load finds them
    plan.Guarded([&] { plan.SetText(FieldId::Edit29, "2200"); });
    cockpit->fuelPanel.Image3Click();
    cockpit->fuelPanel.Image4Click();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }, 5000));
    // In one turn of the event loop: the switch waits while the tick looks for the simulator,
    // then runs where the tick's data load lets waiting handlers run.
    Window().Timer1Timer();
    cockpit->fuelPanel.Image2Click();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }, 30000));
    EXPECT_GE(ServerFuelLb(), 2189.0);
    EXPECT_EQ(cockpit->controls.Get(FuelPanel::kSwitch).caption, FuelPanel::kSwitchOff);
    EXPECT_TRUE(Window().Timer1->Enabled());
}

// A disk with room for one more line of the log but not for its backup (a real tmpfs, root only).
class SmallDisk {
public:
    explicit SmallDisk(const std::string& dir) : dir_(QString::fromStdString(dir)) {
        mounted_ = Run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir_});
    }
    ~SmallDisk() {
        if (mounted_) Run("umount", {"-l", dir_});
    }
    bool Mounted() const { return mounted_; }

private:
    static bool Run(const QString& program, const QStringList& arguments) {
        QProcess p;
        p.start(program, arguments);
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    QString dir_;
    bool mounted_ = false;
};

TEST_F(LiveCockpit, ALandingIsLoggedOnceWhileItsBackupFailureIsShown) {
    SmallDisk disk(ProgramDir());
    if (!disk.Mounted()) GTEST_SKIP() << "needs root for a small disk of its own";
    ASSERT_NO_FATAL_FAILURE(Link());
    const std::string oldLine = "01/12/2026;EDDH;EHAM;00:50;00:48;10:00;10:48;1200;1100;40;500;18000;\r\n";
    {
        std::ofstream old(ProgramDir() + "erj145.csv", std::ios::binary);
        for (std::size_t size = 0; size < 40'000; size += oldLine.size())
            old << oldLine;
    }
    const std::size_t oldLines = LogLines().size();
    ASSERT_NO_FATAL_FAILURE(FlyFor(30));
    ASSERT_NO_FATAL_FAILURE(Tick()); // the landing
    ASSERT_TRUE(Window().Timer2->Enabled());

    // Under the box a tick comes due; the box is answered a moment later.
    bool tickAsked = false;
    QElapsedTimer sinceTick;
    boxes.answerWhen = [&] {
        if (!std::exchange(tickAsked, true)) {
            Window().Timer1Timer();
            sinceTick.start();
        }
        return sinceTick.elapsed() > 300;
    };
    Window().Timer2->SetInterval(10); // the minute after the landing is up
    ASSERT_TRUE(RunUntil([&] { return tickAsked && Settled() && boxes.open == 0; }, 10000));
    EXPECT_EQ(LogLines().size(), oldLines + 1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("The flight log has no backup."), std::string::npos) << boxes.texts[0];
}

TEST_F(LiveCockpit, SpdSwitchedOffWhileTheLeversGoStaysOff) {
    ASSERT_NO_FATAL_FAILURE(Link());
    SetGround(0, 200);
    ASSERT_NO_FATAL_FAILURE(Tick());
    ClickSpd();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }, 3000));
    ASSERT_NO_FATAL_FAILURE(ClickWhileTheLeversGo([&] { ClickSpd(); }));
    EXPECT_FALSE(cockpit->hold.HoldActive());
    EXPECT_EQ(Color("Form7.pnat"), colors::Silver);
}

TEST_F(LiveCockpit, RevArmedAgainWhileTheReverseGoesStaysArmed) {
    ASSERT_NO_FATAL_FAILURE(Link());
    ClickRev();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }, 3000));
    SetGround(1, 130); // rolling faster than 100 kt
    ASSERT_NO_FATAL_FAILURE(ClickWhileTheLeversGo([&] { ClickRev(); }));
    EXPECT_TRUE(cockpit->hold.ReverseArmed());
    EXPECT_EQ(Color("Form7.pnrev"), colors::Yellow);
}

TEST_F(LiveCockpit, ExitDuringTheLandingsLoadLogsTheFlight) {
    ASSERT_NO_FATAL_FAILURE(Link());
    ClickRev(); // so the landing's load writes the levers
    ASSERT_TRUE(RunUntil([&] { return Settled(); }, 3000));
    ASSERT_NO_FATAL_FAILURE(FlyFor(30));
    transport->HoldAfter(1);
    Window().Timer1Timer();
    ASSERT_TRUE(RunUntil([&] { return transport->Holding(); }, 5000));
    std::thread answers([this] {
        std::this_thread::sleep_for(300ms);
        transport->Release();
    });
    bool closed = false;
    Exit([&] { closed = true; });
    EXPECT_TRUE(RunUntil([&] { return closed; }, 10000));
    answers.join();
    EXPECT_EQ(LogLines().size(), 1u);
}

TEST_F(LiveCockpit, AfterExitNothingRunsAndTheLinkWasOnlyUsedOnItsThread) {
    ASSERT_NO_FATAL_FAILURE(Link());
    bool closed = false;
    Exit([&] { closed = true; });
    ASSERT_TRUE(RunUntil([&] { return closed; }, 10000));
    EXPECT_FALSE(Window().Timer1->Enabled());
    const int sends = transport->Sends();
    Window().Timer1Timer();
    cockpit->Button4Click();
    RunEventsFor(300);
    EXPECT_EQ(transport->Sends(), sends);
    EXPECT_FALSE(transport->UsedOn(std::this_thread::get_id()));
}

TEST_F(LiveCockpit, AHandlerThatFailsIsShownAndTheCockpitGoesOn) {
    ASSERT_NO_FATAL_FAILURE(Link());
    cockpit->handlers.Post([]() -> Task<> {
        co_await std::suspend_never{};
        throw 42;
    });
    ASSERT_TRUE(RunUntil([&] { return Settled(); }, 3000));
    EXPECT_TRUE(Shown(boxes.texts, "An unexpected error occurred"));
    // The look-up fails on the link thread: shown, and the next tick runs.
    lookUp = [](const std::string&) -> bool { throw std::runtime_error("look-up failed"); };
    Window().Timer1Timer();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }, 3000));
    EXPECT_TRUE(Shown(boxes.texts, "look-up failed"));
    lookUp = SimulatorWindowExists;
    const int sends = transport->Sends();
    ASSERT_NO_FATAL_FAILURE(Tick());
    EXPECT_GT(transport->Sends(), sends);
    EXPECT_EQ(Color("Panel3"), colors::Lime);
}

TEST_F(LiveCockpit, LinkButtonsAnswerAtOnceWhileAnExchangeHangs) {
    ASSERT_NO_FATAL_FAILURE(Link());
    transport->HoldAfter(0);
    Window().Timer1Timer();
    ASSERT_TRUE(RunUntil([&] { return transport->Holding(); }, 5000));
    const auto switchCues = [&] { return std::count(wave.calls.begin(), wave.calls.end(), "switch.wav"); };
    const auto cues = switchCues();
    ClickAlert();
    EXPECT_TRUE(RunUntil([&] { return plan.Color(FieldId::Panel6) == colors::Lime; }, 2000));
    EXPECT_EQ(switchCues(), cues + 1);
    cockpit->Button3Click(); // "Set UTC": its cue now, its write once the link is free
    EXPECT_TRUE(RunUntil([&] { return switchCues() == cues + 2; }, 2000));
    EXPECT_TRUE(transport->Holding());
    const int sends = transport->Sends();
    transport->Release();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }, 5000));
    EXPECT_GE(transport->Sends(), sends + 1); // the clock's write went after the load
}

TEST_F(LiveCockpit, TheLinkLampsRightClickEndsAHungExchangeAndSaysSo) {
    ASSERT_NO_FATAL_FAILURE(Link());
    server->Serve(false);
    const int before = transport->Sends();
    Window().Timer1Timer();
    ASSERT_TRUE(RunUntil([&] { return transport->Sends() >= before + 2; }, 5000)); // retrying
    const int at = transport->Sends();
    RightClickUipc();
    EXPECT_TRUE(RunUntil([&] { return Color("Panel3") == colors::Red && Settled(); }, 4000));
    EXPECT_LE(transport->Sends(), at + 1);
    EXPECT_TRUE(Shown(boxes.texts, "The simulator did not answer; the link is switched off."));
}

} // namespace
} // namespace vantrel::test
