#pragma once
// A context for building windows in a test: the real plan, message boxes that record what
// they were asked instead of waiting for a user, and a program folder of the test's own.
#include "app_context.h"
#include "window_test_support.h"

#include "control_signals.h"

#include "cockpit/cockpit.h"
#include "ipc/posix_transport.h"
#include "planning/flight_plan.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <filesystem>
#include <string>
#include <vector>

// The recording message boxes and seams, for a context owned by someone else.
struct Recorder {
    std::vector<std::string> errors;
    std::vector<std::string> messages; // notices
    std::vector<std::string> questions;
    std::vector<std::string> captions; // of the questions
    std::vector<std::string> opened;
    int beeps = 0;
    int switchCues = 0;
    bool answer = true;

    void Install(vantrel::AppContext& ctx) {
        ctx.dialogs.showError = [this](const std::string& text) { errors.push_back(text); };
        ctx.dialogs.showMessage = [this](const std::string& text) { messages.push_back(text); };
        ctx.dialogs.askYesNo = [this](const std::string& text, const std::string& caption) {
            questions.push_back(text);
            captions.push_back(caption);
            return answer;
        };
        ctx.dialogs.openDocument = [this](const std::string& path) {
            opened.push_back(path);
            return true;
        };
        ctx.dialogs.beep = [this] { ++beeps; };
    }
};

// A program folder holding the shipped data (the data folders beside the built program).
inline void CopyShippedData(const std::string& to) {
    namespace fs = std::filesystem;
    for (const auto& entry : fs::directory_iterator(VANTREL_OUT_DIR))
        if (entry.is_directory())
            fs::copy(entry.path(), fs::path(to) / entry.path().filename(), fs::copy_options::recursive);
}

struct AppFixture : Recorder {
    vantrel::FlightPlan plan;
    vantrel::AppContext ctx;
    QTemporaryDir dir;

    // withData: the shipped data beside the program (tables, airports), else an empty folder.
    explicit AppFixture(bool withData = true) {
        ctx.plan = &plan;
        ctx.programDir = dir.path().toStdString() + "/";
        if (withData) CopyShippedData(dir.path().toStdString());
        Install(ctx);
        plan.onSwitchCue = [this] { ++switchCues; };
    }
};

// Records what the sound player is asked to play, by file name ("switch.wav", "bkgnd.wav loop").
struct RecordingWave : vantrel::WaveOutput {
    std::vector<std::string> calls;
    void Play(const std::string& path, bool loop) override {
        calls.push_back(path.substr(path.find_last_of('/') + 1) + (loop ? " loop" : ""));
    }
    void Stop() override { calls.push_back("stop"); }
};

// A cockpit for a fixture's plan on a virtual clock, whose link looks for the simulator in an
// empty folder of its own (so it stays unlinked unless the test serves one there). It counts
// the fixture's switch cues as before and installs itself in the fixture's context.
struct TestCockpit {
    vantrel::VirtualClock clock{vantrel::FromCivil(vantrel::CivilTime{2026, 12, 9, 12, 0, 0, 0})};
    vantrel::VirtualTimers timers{clock};
    RecordingWave wave;
    QTemporaryDir ipcDir;
    std::unique_ptr<vantrel::Cockpit> cockpit;
    std::unique_ptr<vantrel::ControlSignals> relay;

    explicit TestCockpit(AppFixture& f) {
        vantrel::CockpitSeams seams{
            clock, timers, wave, {}, [](const std::string&) { return false; }, [] {}, [&f] { ++f.beeps; }};
        cockpit = std::make_unique<vantrel::Cockpit>(
            f.plan, seams, f.ctx.programDir,
            std::make_unique<vantrel::PosixTransport>(ipcDir.path().toStdString()));
        relay = std::make_unique<vantrel::ControlSignals>(cockpit->controls);
        f.ctx.cockpit = cockpit.get();
        f.ctx.controlSignals = relay.get();
        f.plan.onSwitchCue = [&f, this] {
            ++f.switchCues;
            cockpit->cues.PlaySwitchCue();
        };
    }
};

// A key typed into a widget, as the window system delivers it (the window's filters see it first).
inline void TypeKey(QWidget* widget, int key, const QString& text,
                    Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(widget, &release);
}

inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        TypeKey(widget, c.toUpper().unicode(), QString(c));
}

inline void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    vantrel::test::MouseClick(widget, button);
}
