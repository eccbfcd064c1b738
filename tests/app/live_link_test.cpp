// The whole program's windows (offscreen) against vantrel-sim as a separate process: the lamps
// go lime at the first tick, the actual fields follow the simulator, the lamps go red with the
// alert cue when it quits and lime again when it is back.
#include "app_fixture.h"
#include "application.h"
#include "form1.h"
#include "panel_widget.h"

#include "cockpit/cockpit.h"
#include "planning/flight_plan.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include "support/event_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>

using vantrel::FieldId;
namespace colors = vantrel::colors;

namespace {

using vantrel::test::RunUntil;

struct LiveProgram : ::testing::Test {
    QTemporaryDir ipcDir;
    QTemporaryDir programDir;
    RecordingWave wave;
    std::unique_ptr<vantrel::Application> program;
    Recorder recorder;
    QProcess sim;

    void SetUp() override {
        // The link's folder of this test alone (a temporary folder is private, as it must be).
        setenv("VANTREL_IPC_DIR", ipcDir.path().toLocal8Bit().constData(), 1);
        CopyShippedData(programDir.path().toStdString());
        program = std::make_unique<vantrel::Application>(&wave);
        recorder.Install(program->Context());
    }
    void TearDown() override {
        StopSimulator();
        program.reset();
        unsetenv("VANTREL_IPC_DIR");
    }

    void StartSimulator() {
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.setStandardOutputFile(QProcess::nullDevice());
        sim.start(VANTREL_OUT_DIR "/vantrel-sim",
                  {"--dir", ipcDir.path(), "--scenario", VANTREL_SOURCE_DIR "/data/scenarios/eddh-eham.txt",
                   "--scale", "60", "--quiet"});
        ASSERT_TRUE(sim.waitForStarted(5000));
        ASSERT_TRUE(RunUntil([this] { return QFileInfo::exists(ipcDir.filePath("FS98MAIN")); }, 5000));
    }
    void StopSimulator() {
        if (sim.state() == QProcess::NotRunning) return;
        sim.write("quit\n");
        if (!sim.waitForFinished(3000)) {
            sim.kill();
            sim.waitForFinished(2000);
        }
    }

    TForm1& Main() { return *program->Context().windows.Form1; }
    std::uint32_t Lamp(const char* name) { return Main().Panel(name)->Color(); }
    bool Linked() { return Lamp("Panel2") == colors::Lime && Lamp("Panel3") == colors::Lime; }
    bool Unlinked() { return Lamp("Panel2") == colors::Red && Lamp("Panel3") == colors::Red; }
    std::string Field(FieldId id) { return program->Plan().Text(id); }
    bool ActualFuelIn(int low, int high) {
        const std::string text = Field(FieldId::Edit28);
        if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
        const int pounds = std::stoi(text);
        return pounds >= low && pounds <= high;
    }
    long Plays(const std::string& file) { return std::count(wave.calls.begin(), wave.calls.end(), file); }
    QWidget* Button(const char* name) { return Main().findChild<QWidget*>(QLatin1String(name)); }
    // The cockpit's handlers have run to their ends (a cue's hold, an exchange).
    bool Settled() { return program->GetCockpit()->handlers.Idle(); }
};

TEST_F(LiveProgram, LampsAndActualFieldsFollowTheSimulatorGoingAndComingBack) {
    StartSimulator();
    QElapsedTimer sinceStart;
    sinceStart.start();
    ASSERT_TRUE(program->CreateWindows(programDir.path().toStdString() + "/"));
    program->ShowWindows();

    // The first tick, a second after the link window's creation, links and shows it (the
    // second tick would come ten seconds later).
    ASSERT_TRUE(RunUntil([this] { return Linked(); }, 8000));
    EXPECT_LT(sinceStart.elapsed(), 8000);
    EXPECT_EQ(Plays("OK.wav"), 1);
    EXPECT_TRUE(Button("Button3")->isEnabled());
    EXPECT_EQ(program->GetCockpit()->linkWindow.Icon(), "icon1.ico");

    // The lamp's left click steps the period 10 -> 30 -> 1 s; then every second a data load.
    Click(Main().Panel("Panel3"));
    Click(Main().Panel("Panel3"));
    ASSERT_TRUE(RunUntil([this] { return Settled(); }, 3000));
    EXPECT_EQ(Main().Panel("Panel3")->text(), "1 s");
    // 8,400 lb at the stand, burning (the scenario runs sixty times faster than real time).
    ASSERT_TRUE(RunUntil([this] { return ActualFuelIn(7000, 8400); }, 4000)) << Field(FieldId::Edit28);
    sim.write("fuel 3000 2500\n");
    EXPECT_TRUE(RunUntil([this] { return ActualFuelIn(5000, 5500); }, 4000)) << Field(FieldId::Edit28);
    EXPECT_NE(Field(FieldId::Edit48), "=====");

    // The simulator quits: within a period the lamps are red, the alert sounds, the fields blank.
    StopSimulator();
    ASSERT_TRUE(RunUntil([this] { return Unlinked() && Settled(); }, 3000));
    EXPECT_EQ(Plays("alert.wav"), 1);
    EXPECT_EQ(Field(FieldId::Edit48), "=====");
    EXPECT_FALSE(Button("Button3")->isEnabled());
    EXPECT_EQ(program->GetCockpit()->linkWindow.Icon(), "icon2.ico");

    // It comes back: linked again at the next tick, with the OK cue.
    StartSimulator();
    ASSERT_TRUE(RunUntil([this] { return Linked(); }, 4000));
    EXPECT_EQ(Plays("OK.wav"), 2);
    EXPECT_EQ(Plays("alert.wav"), 1);
}

// Exit while an exchange hangs: every window goes out of sight at once, and the program ends once
// the exchange has ended after its current send.
TEST_F(LiveProgram, ExitHidesEveryWindowAtOnceWhileAnExchangeHangs) {
    StartSimulator();
    ASSERT_TRUE(program->CreateWindows(programDir.path().toStdString() + "/"));
    program->ShowWindows();
    ASSERT_TRUE(RunUntil([this] { return Linked() && Settled(); }, 8000));
    program->GetCockpit()->linkWindow.Timer1->SetInterval(1000);
    ASSERT_EQ(kill(pid_t(sim.processId()), SIGSTOP), 0);
    ASSERT_TRUE(RunUntil([this] { return Lamp("Panel3") == colors::Yellow && !Settled(); }, 5000));
    bool ended = false;
    QObject::connect(&Main(), &TForm1::closed, [&] { ended = true; });
    Main().close();
    for (QWidget* window : program->Windows())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    EXPECT_FALSE(ended) << "the exchange is still out";
    EXPECT_TRUE(RunUntil([&] { return ended; }, 10000));
    kill(pid_t(sim.processId()), SIGCONT);
}

} // namespace
