#pragma once
// The whole program on a real X display with the sounds really playing (a PulseAudio null sink),
// driven through the window system with xdotool.
#include "app/app_fixture.h"
#include "voice/sound_server.h"

#include "application.h"
#include "form1.h"
#include "form2.h"
#include "form4.h"
#include "panel_widget.h"

#include "cockpit/cockpit.h"
#include "planning/flight_plan.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QWindow>

#include "support/event_loop.h"
#include "support/tied_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace vantrel::test {

class DesktopProgram : public vantrel::test::SoundServer {
protected:
    QTemporaryDir ipcDir;
    QTemporaryDir programDir;
    std::unique_ptr<vantrel::Application> program;
    Recorder recorder;
    QProcess sim;

    void SetUp() override {
        vantrel::test::SoundServer::SetUp();
        if (IsSkipped()) return;
        setenv("VANTREL_IPC_DIR", ipcDir.path().toLocal8Bit().constData(), 1);
        CopyShippedData(programDir.path().toStdString());
        program = std::make_unique<vantrel::Application>(); // the real sound output
        recorder.Install(program->Context());
    }
    void TearDown() override {
        if (sim.state() != QProcess::NotRunning) {
            kill(pid_t(sim.processId()), SIGKILL);
            sim.waitForFinished(3000);
        }
        program.reset();
        unsetenv("VANTREL_IPC_DIR");
        vantrel::test::SoundServer::TearDown();
    }

    void Open() {
        ASSERT_TRUE(program->CreateWindows(programDir.path().toStdString() + "/"));
        program->ShowWindows();
        ASSERT_TRUE(
            RunUntil([this] { return Main().isVisible() && Main().windowHandle()->isExposed(); }, 5000));
        // The splash goes after 3.5 s; clicks land on the main window from then on.
        QWidget* splash = program->Context().windows.Form2;
        ASSERT_TRUE(RunUntil([splash] { return !splash->isVisible(); }, 6000));
    }
    TForm1& Main() { return *program->Context().windows.Form1; }
    vantrel::Cockpit& Cockpit() { return *program->GetCockpit(); }
    bool Settled() { return Cockpit().handlers.Idle(); }

    // vantrel-sim in the test's link folder, linked and shown linked.
    void OpenLinked() {
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.setStandardOutputFile(QProcess::nullDevice());
        vantrel::test::TieToTestProgram(sim);
        sim.start(VANTREL_OUT_DIR "/vantrel-sim",
                  {"--dir", ipcDir.path(), "--scenario", VANTREL_SOURCE_DIR "/data/scenarios/eddh-eham.txt",
                   "--quiet"});
        ASSERT_TRUE(sim.waitForStarted(5000));
        ASSERT_TRUE(RunUntil([this] { return QFileInfo::exists(ipcDir.filePath("FS98MAIN")); }, 5000));
        Open();
        ASSERT_TRUE(RunUntil([&] { return Lamp() == vantrel::colors::Lime && Settled(); }, 8000));
    }
    // The simulator stops answering while a data load runs every second; returns once an
    // exchange is out.
    void StallSimulator() {
        Cockpit().linkWindow.Timer1->SetInterval(1000);
        ASSERT_EQ(kill(pid_t(sim.processId()), SIGSTOP), 0);
        ASSERT_TRUE(RunUntil([&] { return Lamp() == vantrel::colors::Yellow && !Settled(); }, 5000));
    }
    std::uint32_t Lamp() { return Main().Panel("Panel3")->Color(); }
    QWidget* Gauge() { return program->Context().windows.Form4; }

    // Runs xdotool with the arguments while the program's event loop goes on.
    void XDoTool(const QStringList& args) {
        QProcess tool;
        tool.start("xdotool", args);
        ASSERT_TRUE(tool.waitForStarted(3000));
        ASSERT_TRUE(RunUntil([&] { return tool.state() == QProcess::NotRunning; }, 10000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }
    // A left click through the window system in the middle of the widget.
    void ClickOn(QWidget* widget) {
        const QPoint at = widget->mapToGlobal(QPoint(widget->width() / 2, widget->height() / 2));
        XDoTool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
    }
};

} // namespace vantrel::test
