// The program's diagnostic log from the windows (offscreen): the start line, the start-up's
// questions and the error boxes; "--report DIR" copies it with the settings and the flight
// log's last lines, and says where they went.
#include "app_fixture.h"
#include "application.h"
#include "program_log.h"
#include "window_report.h"

#include "core/event_log.h"
#include "planning/flight_plan.h"

#include <QFile>
#include <QTemporaryDir>

#include <fstream>

#include <gtest/gtest.h>

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ProgramLog, TheWindowsLogAndTheReportCarriesItWithTheSettingsAndTheLastFlights) {
    QTemporaryDir programDir, out;
    const std::string program = programDir.path().toStdString() + "/";
    CopyShippedData(program);
    {
        std::ofstream flights(program + "erj145.csv", std::ios::binary);
        for (int i = 1; i <= 25; ++i)
            flights << "09/12/2026;EDDH;10:04;EHAM;10:52;;48;" << i << ";;;;;\r\n";
    }
    char name[] = "vantrel";
    char* argv[] = {name, nullptr};
    const vantrel::ProgramLogScope log(program, "vantrel.log", "vantrel", 1, argv);
    RecordingWave wave;
    Recorder recorder;
    auto app = std::make_unique<vantrel::Application>(&wave);
    recorder.Install(app->Context());
    ASSERT_TRUE(app->CreateWindows(program));
    app->ShowWindows();
    app->Plan().Guarded([&] { app->Plan().SetText(vantrel::FieldId::Edit13, "x"); });
    ASSERT_EQ(recorder.errors.size(), 1u);

    const QString dir = out.filePath("report");
    testing::internal::CaptureStdout();
    { vantrel::WindowReport report(*app, dir); }
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("Report written to " + dir.toStdString() + ":"), std::string::npos) << said;

    const QString logged = ReadText(dir + "/vantrel.log");
    for (const QString& line :
         {QStringLiteral("vantrel [start] Vantrel Suite "), QStringLiteral(" (vantrel) on Linux "),
          QStringLiteral("[start] program folder: ") + programDir.path() + "/",
          QStringLiteral(
              "[question] Cannot find FS2004 installation. Do you really want to continue? Answer: Yes"),
          QStringLiteral("[error box] ") + QString::fromStdString(recorder.errors[0])})
        EXPECT_TRUE(logged.contains(line)) << line.toStdString() << "\n" << logged.toStdString();
    EXPECT_EQ(ReadText(dir + "/vn-erj145.ini"), ReadText(programDir.filePath("vn-erj145.ini")));
    const QStringList last = ReadText(dir + "/erj145-last-lines.csv").split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(last.size(), 20);
    EXPECT_TRUE(last.front().endsWith(";6;;;;;")) << last.front().toStdString();
    EXPECT_TRUE(last.back().endsWith(";25;;;;;")) << last.back().toStdString();
    app.reset();
}

} // namespace
