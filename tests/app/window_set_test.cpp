// The program's ten windows: created once, in their fixed order, the main window first with
// the start-up sequence inside its creation; a "No" at start-up stops before the others.
#include "app_fixture.h"
#include "application.h"
#include "form1.h"
#include "form2.h"
#include "form4.h"
#include "form5.h"
#include "form6.h"
#include "frmmain.h"

#include "core/profile_file.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "support/event_loop.h"

#include <gtest/gtest.h>

namespace {

// Sets an environment variable for the life of the guard.
struct EnvGuard {
    const char* name;
    EnvGuard(const char* n, const QByteArray& value) : name(n) { qputenv(name, value); }
    ~EnvGuard() { qunsetenv(name); }
};

// The background sound starts near the end of the start-up sequence: no other window may
// exist yet.
struct StartupWave : RecordingWave {
    const vantrel::WindowSet* windows = nullptr;
    bool backgroundStarted = false;
    bool otherWindowsAtStartup = false;
    void Play(const std::string& path, bool loop) override {
        RecordingWave::Play(path, loop);
        if (backgroundStarted || calls.back() != "bkgnd.wav loop") return;
        backgroundStarted = true;
        const vantrel::WindowSet& w = *windows;
        otherWindowsAtStartup = w.Form2 || w.Form4 || w.Form5 || w.foGenHTTP || w.FormMain || w.Form7 ||
                                w.Form3 || w.frmMain || w.Form6;
    }
};

struct ProgramFixture : ::testing::Test {
    StartupWave wave;
    vantrel::Application program{&wave};
    Recorder recorder;
    QTemporaryDir dir;
    bool& otherWindowsAtStartup = wave.otherWindowsAtStartup;

    void SetUp() override {
        CopyShippedData(dir.path().toStdString());
        recorder.Install(program.Context());
        wave.windows = &program.Context().windows;
    }
    std::string ProgramDir() const { return dir.path().toStdString() + "/"; }
};

} // namespace

TEST_F(ProgramFixture, CreatesTheTenWindowsOnceInTheirOrder) {
    ASSERT_TRUE(program.CreateWindows(ProgramDir()));
    QStringList names;
    for (const QWidget* w : program.Windows())
        names << w->objectName();
    EXPECT_EQ(names, QStringList({"Form1", "Form2", "Form4", "Form5", "foGenHTTP", "FormMain", "Form7",
                                  "Form3", "frmMain", "Form6"}));
    const vantrel::WindowSet& w = program.Context().windows;
    EXPECT_EQ(static_cast<QWidget*>(w.Form1), program.Windows()[0]);
    EXPECT_EQ(static_cast<QWidget*>(w.Form6), program.Windows()[9]);
    EXPECT_TRUE(wave.backgroundStarted);
    EXPECT_FALSE(otherWindowsAtStartup);
    EXPECT_EQ(program.Plan().paths.ProgramDir, ProgramDir());
}

TEST_F(ProgramFixture, WindowsCarryTheirCaptions) {
    ASSERT_TRUE(program.CreateWindows(ProgramDir()));
    QStringList captions;
    for (const QWidget* w : program.Windows())
        captions << w->windowTitle();
    EXPECT_EQ(captions[0], "Vantrel Suite ERJ-145 V2.1");
    EXPECT_EQ(captions[2], "EST");
    EXPECT_EQ(captions[3], "ERJ-145 Fuel Panel");
    EXPECT_EQ(captions[5], "UIPChello: ");
    EXPECT_EQ(captions[7], "Vantrel - Print");
    EXPECT_EQ(captions[8], "Text-to-Speech");
    EXPECT_EQ(captions[9], "Vantrel - Flight Log");
    EXPECT_EQ(program.Windows()[7]->size(), QSize(338, 343)); // print window
    EXPECT_EQ(program.Windows()[9]->size(), QSize(722, 477)); // flight log viewer
    EXPECT_EQ(program.Windows()[2]->width(), 61);             // speeds gauge
}

TEST_F(ProgramFixture, ShowsTheMainWindowWithSplashAndGaugeOnTop) {
    ASSERT_TRUE(program.CreateWindows(ProgramDir()));
    program.ShowWindows();
    const vantrel::WindowSet& w = program.Context().windows;
    EXPECT_TRUE(w.Form1->isVisible());
    EXPECT_TRUE(w.Form2->isVisible());
    EXPECT_TRUE(w.Form2->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.Form4->isVisible());
    EXPECT_FALSE(w.Form5->isVisible());
}

TEST_F(ProgramFixture, ClosingTheMainWindowSavesTheSettingsAndEndsTheProgram) {
    ASSERT_TRUE(program.CreateWindows(ProgramDir()));
    program.ShowWindows();
    bool quitRequested = false;
    QObject::connect(program.Context().windows.Form1, &TForm1::closed,
                     [&quitRequested] { quitRequested = true; });
    EXPECT_TRUE(program.Context().windows.Form1->close());
    // Once what the cockpit has under way (a cue's moment, say) has ended.
    EXPECT_TRUE(vantrel::test::RunUntil([&] { return quitRequested; }, 5000));
    QFile settings(dir.path() + "/vn-erj145.ini");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("Origin="));
    EXPECT_TRUE(recorder.errors.empty());
}

TEST_F(ProgramFixture, OnlyWindowsThatWereShownStoreTheirPlace) {
    ASSERT_TRUE(program.CreateWindows(ProgramDir()));
    program.ShowWindows();
    ASSERT_TRUE(program.Context().windows.Form1->close());
    const vantrel::ProfileFile settings(ProgramDir() + "vn-erj145.ini");
    // The fuel panel was never opened: no place of its own, none stored.
    EXPECT_EQ(settings.ReadString("Window", "Left5", ""), "-999");
    EXPECT_EQ(settings.ReadString("Window", "Top5", ""), "-999");
    const QWidget* gauge = program.Context().windows.Form4;
    EXPECT_EQ(settings.ReadInteger("Window", "Left4", -999), gauge->x());
    EXPECT_EQ(settings.ReadInteger("Window", "Top4", -999), gauge->y());
}

TEST_F(ProgramFixture, NoAtAStartUpQuestionStopsBeforeTheOtherWindowsAndSavesNothing) {
    // An empty program folder: the simulator's folders cannot be found, so the sequence asks.
    QTemporaryDir empty;
    // Neither the simulator nor the documents folder can be found.
    const EnvGuard documents("VANTREL_DOCUMENTS", empty.path().toUtf8());
    const EnvGuard simulator("VANTREL_FS_PATH", empty.path().toUtf8());
    recorder.answer = false;
    const bool created = program.CreateWindows(empty.path().toStdString() + "/");
    if (recorder.questions.empty()) GTEST_SKIP() << "the start-up sequence asks no question in this build";
    EXPECT_FALSE(created);
    EXPECT_EQ(recorder.questions,
              std::vector<std::string>{"Cannot find FS2004 installation. Do you really want to continue?"});
    EXPECT_EQ(recorder.captions, std::vector<std::string>{"Vantrel Suite"});
    EXPECT_EQ(program.Windows().size(), 1u);
    EXPECT_EQ(program.Context().windows.Form2, nullptr);
    EXPECT_EQ(program.Context().windows.Form1->StartupResult(), vantrel::StartupResult::StoppedByUser);
    // Only the first-start marker reached the settings file; no plan value was saved.
    QFile settings(empty.path() + "/vn-erj145.ini");
    if (settings.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(settings.readAll().contains("Origin"));
    }
}

TEST_F(ProgramFixture, MissingDataIsReportedAndTheProgramStillStarts) {
    QTemporaryDir empty;
    ASSERT_TRUE(program.CreateWindows(empty.path().toStdString() + "/"));
    EXPECT_EQ(program.Context().windows.Form1->StartupResult(), vantrel::StartupResult::StoppedByError);
    ASSERT_FALSE(recorder.errors.empty());
    EXPECT_EQ(program.Windows().size(), 10u);
}

TEST_F(ProgramFixture, CtrlShiftVOnTheMainWindowOpensTheVoiceWindow) {
    ASSERT_TRUE(program.CreateWindows(ProgramDir()));
    const vantrel::WindowSet& w = program.Context().windows;
    QWidget* main = w.Form1;
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    // Wherever the focus is: a plan field, whose key filter sees every key first, or the window.
    for (QWidget* focus : {static_cast<QWidget*>(main->findChild<QLineEdit*>("Edit13")), main}) {
        w.frmMain->hide();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(w.frmMain->isVisible()) << focus->objectName().toStdString();
    }
}
