// The diagnostic log after real runs of vantrel-cli session against vantrel-sim: a line for each
// kind of event a support request needs, a flight from take-off to its flight-log line, and a
// log that cannot be written changing nothing the session does.
#include "flight_sandbox.h"

#include "../voice/http_test_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>
#include <QThread>

#include <fstream>

#include <gtest/gtest.h>

namespace {

using vantrel::test::CliSandbox;
using vantrel::test::FlightSandbox;
using vantrel::testing::SeenRequest;
using vantrel::testing::TestHttpServer;
using vantrel::test::EnsureApplication;

QString ReadLog(const CliSandbox& box) {
    QFile file(box.Program() + "/vantrel-cli.log");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

struct Expected {
    const char* event;
    QString pattern; // a regular expression one line of the log matches
};

void ExpectLines(const QString& log, const std::vector<Expected>& expected) {
    const QStringList lines = log.split('\n', Qt::SkipEmptyParts);
    const QRegularExpression shape(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z vantrel-cli \[[a-z ]+\] \S)");
    for (const QString& line : lines)
        EXPECT_TRUE(shape.match(line).hasMatch()) << line.toStdString();
    for (const Expected& e : expected) {
        const QRegularExpression pattern(e.pattern);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const QString& l) { return pattern.match(l).hasMatch(); }))
            << e.event << ": no line matches " << e.pattern.toStdString() << "\n"
            << log.toStdString();
    }
}

TEST(SessionLog, RecordsStartUpLinkFuelWeatherAndErrorBoxes) {
    EnsureApplication();
    const QByteArray report = "2026/12/09 11:50\nEHAM 091150Z 24015KT 9999 FEW012 12/09 Q1013\n";
    TestHttpServer server([&report](const SeenRequest&) { return TestHttpServer::Ok(report); });
    ASSERT_TRUE(server.Start());
    FlightSandbox box;
    ASSERT_TRUE(QDir().mkpath(box.Program() + "/checklists"));
    std::ofstream(box.Program().toStdString() + "/checklists/checklists.ini")
        << "[settings]\nvoice=0\n[welcome]\n1=Hello\n";
    std::ofstream(box.Program().toStdString() + "/vn-erj145.ini")
        << "[Weather]\r\nUrl=" << server.Base().toStdString() << "/metar/%1.TXT\r\n";
    box.StartSim("refuel-wait.txt", 1); // 800 lb a tank, on the stand
    box.StartSession("2026-12-09T10:00:00");
    for (const char* command :
         {"advance 11", "edit Edit2=EHAM", "click Button511", "edit Edit13=x", "edit Edit29=4000",
          "click Button2", "click Form5.Image3", "click Form5.Image4", "click Form5.Image2", "close Form5"})
        EXPECT_FALSE(box.Send(command).isEmpty()) << command;
    // The simulator goes away and comes back.
    CliSandbox::StopSim(box.sim);
    box.Send("advance 11");
    box.Send("advance 11");
    box.StartSim("refuel-wait.txt", 1);
    QJsonObject line = box.Send("advance 11");
    EXPECT_TRUE(line["values"].toObject()["LinkOpen"].toBool());
    box.Send("close");
    ASSERT_TRUE(box.cli.waitForFinished(10000));

    const QString log = ReadLog(box);
    ExpectLines(
        log,
        {
            {"version, system and libraries",
             R"(\[start\] Vantrel Suite \d+\.\d+ \(vantrel-cli\) on Linux .*, Qt 6\.\d+\.\d+, espeak-ng \d)"},
            {"a path tried", R"(\[start\] simulator aircraft folder: .*/nosim/aircraft \(not found\)$)"},
            {"a path chosen", R"(\[start\] documents folder: .*/home/$)"},
            {"the settings", R"(\[start\] settings file: .*/program/vn-erj145\.ini$)"},
            {"a start-up question's answer",
             R"(\[question\] Cannot find FS2004 installation\. Do you really want to continue\? Answer: Yes$)"},
            {"the transport", R"(\[link\] transport: the posix socket)"},
            {"the link opened", R"(\[link\] link opened: simulator code 7 through FS98MAIN$)"},
            {"the simulator gone", R"(\[link\] link lost: the simulator window went away$)"},
            {"the link closed", R"(\[link\] link closed$)"},
            {"no simulator", R"(\[link\] no simulator window$)"},
            {"a reconnection", R"(\[link\] link opened again: simulator code 7)"},
            {"a fuel loop's start", R"(\[fuel\] refuelling starts: 1600 lb on board, 4000 lb wanted$)"},
            {"a fuel loop's end",
             R"(\[fuel\] refuelling ends: the wanted fuel is on board, \d+ lb on board$)"},
            {"a weather request",
             QRegularExpression::escape("[weather] request " + server.Base() + "/metar/EHAM.TXT") + "$"},
            {"its answer",
             QStringLiteral(R"(\[weather\] answer: status 200, %1 bytes, 1 request$)").arg(report.size())},
            {"an error box", R"(\[error box\] 'x' is not a valid integer value$)"},
            {"the end", R"(\[end\] the program ends$)"},
        });
    EXPECT_FALSE(log.contains("091150Z")) << "the report's body is never logged";
    // The monitor's look-ups while the simulator was away gave one line, not one a tick.
    EXPECT_EQ(log.count("no simulator window"), 1) << log.toStdString();
}

TEST(SessionLog, AFlightIsLoggedFromTakeOffToItsLine) {
    FlightSandbox box;
    box.StartSim("eddh-eham.txt", 240);
    box.StartSession("2026-12-09T10:00:00");
    box.Send("edit Edit1=EDDH");
    int phase = 0;
    QElapsedTimer guard;
    guard.start();
    while (phase < 2 && guard.elapsed() < 40000) {
        QThread::msleep(40);
        phase = box.KeepUp()["values"].toObject()["Phase"].toInt();
    }
    ASSERT_EQ(phase, 2) << "no landing within the scenario";
    box.Send("advance 61");
    box.Send("close");
    ASSERT_TRUE(box.cli.waitForFinished(10000));
    ExpectLines(
        ReadLog(box),
        {
            {"the take-off", R"(\[flight\] take-off: phase 1, fuel on board \d+ lb$)"},
            {"the landing", R"(\[flight\] landing: phase 2, fuel used \d+ lb; the flight-log line is due)"},
            {"the flight due", R"(\[flight\] flight of 4[789] minutes, phase 2: goes into the flight log$)"},
            {"the line written", R"(\[flight\] flight-log line written: 09/12/2026;EDDH;)"},
        });
}

TEST(SessionLog, ALogThatCannotBeWrittenChangesNothingElse) {
    const QStringList commands{"edit Edit1=LOWW", "edit Edit13=x", "click Button2",
                               "advance 11",      "state",         "close"};
    const QStringList options{"--now", "2026-12-09T10:00:00", "--utc-bias", "0"};
    CliSandbox free, blocked;
    // A folder in the log's place: nobody opens it as a file, root included.
    ASSERT_TRUE(QDir().mkpath(blocked.Program() + "/vantrel-cli.log"));
    const auto written = free.RunSession(options, commands);
    const auto refused = blocked.RunSession(options, commands);
    ASSERT_EQ(written.size(), std::size_t(commands.size() + 1));
    ASSERT_EQ(refused.size(), written.size());
    // The sandboxes' folder names differ; nothing else may.
    const auto shown = [](const QJsonObject& line, const CliSandbox& box) {
        return QString::fromUtf8(QJsonDocument(line).toJson()).replace(box.root.path(), "ROOT").toStdString();
    };
    for (std::size_t i = 0; i < written.size(); ++i)
        EXPECT_EQ(shown(written[i], free), shown(refused[i], blocked));
    EXPECT_TRUE(QDir(blocked.Program() + "/vantrel-cli.log").isEmpty());
    EXPECT_TRUE(ReadLog(free).contains("[error box] 'x' is not a valid integer value"));
}

} // namespace
