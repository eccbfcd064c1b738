// "--report DIR": the main window's picture and what it shows, written whenever it changes, each
// file in one piece; an unwritable folder is said and then left alone.
#include "app_fixture.h"
#include "application.h"
#include "form1.h"
#include "window_report.h"

#include "planning/flight_plan.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "support/event_loop.h"

#include <gtest/gtest.h>

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

using vantrel::test::RunEventsFor;

struct Report : ::testing::Test {
    QTemporaryDir programDir;
    QTemporaryDir out;
    RecordingWave wave;
    Recorder recorder; // answers the start-up questions
    std::unique_ptr<vantrel::Application> program;

    void SetUp() override {
        CopyShippedData(programDir.path().toStdString());
        program = std::make_unique<vantrel::Application>(&wave);
        recorder.Install(program->Context());
        ASSERT_TRUE(program->CreateWindows(programDir.path().toStdString() + "/"));
        program->ShowWindows();
    }
};

TEST_F(Report, FollowsTheMainWindowAndMatchesItsPicture) {
    const QString dir = out.filePath("report");
    vantrel::WindowReport report(*program, dir);
    struct Step {
        const char* origin; // typed into the origin field before the check
        const char* expectedLine;
    };
    for (const Step& step : {Step{nullptr, "Edit1=EDDH\n"}, Step{"LOWW", "Edit1=LOWW\n"}}) {
        SCOPED_TRACE(step.expectedLine);
        if (step.origin) program->Plan().SetText(vantrel::FieldId::Edit1, step.origin);
        RunEventsFor(700);
        const QString text = ReadText(dir + "/main-window-unlinked.txt");
        EXPECT_TRUE(text.contains(QLatin1String(step.expectedLine))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String("Panel2=ff0000\n"))) << text.toStdString();
        const QImage picture(dir + "/main-window-unlinked.png");
        TForm1& main = *program->Context().windows.Form1;
        EXPECT_EQ(picture.size(), main.grab().size());
        EXPECT_TRUE(text.contains(QStringLiteral("width=%1\n").arg(main.width()))) << text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir + "/main-window-linked.txt"));
}

TEST_F(Report, AFolderThatCannotBeWrittenIsSaidOnce) {
    // A file where the folder should be.
    const QString blocked = out.filePath("blocked");
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    testing::internal::CaptureStderr();
    vantrel::WindowReport report(*program, blocked);
    RunEventsFor(700);
    program->Plan().SetText(vantrel::FieldId::Edit1, "LOWW");
    RunEventsFor(700);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "The report cannot be written into " + blocked.toStdString() + "\n");
}

} // namespace
