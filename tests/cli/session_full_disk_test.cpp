// A flight landed on a full disk, through vantrel-cli session against vantrel-sim held in lock
// step: the log line is kept, the user told once, the line written once and whole as soon as
// the disk has room, or shown at Exit; the settings are kept whole and their failure shown.
#include "cli_sandbox.h"
#include "support/full_disk.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace {

using vantrel::test::FullDisk;
using vantrel::test::FullDiskKind;

std::string ReadFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The program folder is the disk; vantrel-sim (paused) and the session run beside it.
struct DiskSandbox : vantrel::test::CliSandbox {
    FullDisk disk;
    QProcess sim;
    QProcess cli;
    int marks = 0;

    explicit DiskSandbox(FullDiskKind kind) : CliSandbox({}), disk(kind, Program().toStdString()) {
        for (const char* d : {"fuel", "speeds", "airports"})
            std::filesystem::copy(std::filesystem::path(VANTREL_OUT_DIR) / d,
                                  std::filesystem::path(Program().toStdString()) / d,
                                  std::filesystem::copy_options::recursive);
    }
    ~DiskSandbox() {
        cli.closeWriteChannel();
        if (!cli.waitForFinished(5000)) cli.kill();
        StopSim(sim);
    }
    void Start() {
        ASSERT_TRUE(StartSim(sim, {"--quiet"}));
        Sim("pause");
        cli.setProcessEnvironment(Env());
        const QStringList line = disk.Wrap(
            QString(VANTREL_OUT_DIR) + "/vantrel-cli",
            {"session", "--program-dir", Program(), "--now", "2026-12-09T10:00:00", "--utc-bias", "0"});
        cli.start(line.first(), line.mid(1));
        ASSERT_TRUE(cli.waitForStarted(5000));
        ASSERT_EQ(Read()["command"].toString(), "start");
    }
    // A simulator command, done once the simulator has answered the mark after it.
    void Sim(const QByteArray& command) {
        const QByteArray mark = "say mark " + QByteArray::number(++marks);
        sim.write(command + "\n" + mark + "\n");
        QByteArray out;
        while (!out.contains(mark) && sim.waitForReadyRead(5000))
            out += sim.readAllStandardOutput();
    }
    QJsonObject Read() {
        while (!cli.canReadLine())
            if (!cli.waitForReadyRead(20000)) return {};
        return QJsonDocument::fromJson(cli.readLine()).object();
    }
    QJsonObject Send(const QString& command) {
        cli.write(command.toUtf8() + "\n");
        return Read();
    }
    // Take-off, ten minutes in the air, then a landing on the given disk; the session's errors
    // from the landing until the log line's minute has passed.
    QStringList FlyAndLand(bool fullAtLanding) {
        Send("edit Edit1=EDDH");
        Send("edit Edit2=EHAM");
        Send("advance 1"); // linked, on the ground
        Sim("ground 0");
        Send("advance 10");
        Send("advance 600");
        if (fullAtLanding) {
            EXPECT_TRUE(disk.Fill(cli.processId()));
        }
        Sim("ground 1");
        QStringList errors = Errors(Send("advance 10"));
        errors += Errors(Send("advance 61"));
        return errors;
    }
    static QStringList Errors(const QJsonObject& line) {
        QStringList texts;
        for (const QJsonValue& v : line["errors"].toArray())
            texts << v.toString();
        return texts;
    }
    QString Log() const { return Program() + "/erj145.csv"; }
};

// Each line whole: twelve fields each ended by ";", CR LF at its end.
void ExpectWholeLines(const std::string& text, std::size_t lines) {
    std::size_t count = 0, start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++count) {
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 12) << line;
        EXPECT_EQ(line.back(), ';') << line;
    }
    EXPECT_EQ(start, text.size()) << "a cut line: " << text;
    EXPECT_EQ(count, lines) << text;
}

TEST(SessionFullDisk, AFlightLineIsKeptUntilTheLogTakesItOrShownAtExit) {
    struct Case {
        const char* what;
        bool logBefore; // a log (without backup) was there before the flight
        bool freeLater; // the disk gets room before Exit
    } cases[] = {{"first flight, room later", false, true},
                 {"first flight, full until Exit", false, false},
                 {"log and backup due, room later", true, true},
                 {"log and backup due, full until Exit", true, false}};
    for (const FullDiskKind kind : vantrel::test::AvailableFullDiskKinds()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(KindName(kind)) + ": " + c.what);
            DiskSandbox box(kind);
            ASSERT_TRUE(box.disk.Ready());
            // 64 lines of 64 bytes: the log fills its last block, so a full disk takes no line.
            std::string before;
            for (int i = 0; i < 64; ++i)
                before += "01/12/2026;EDDH;08:00;EHAM;09:00;01:02;01:00;4000;300;29;5;15;\r\n";
            if (c.logBefore) std::ofstream(box.Log().toStdString(), std::ios::binary) << before;
            box.Start();

            const QStringList atLanding = box.FlyAndLand(true);
            const QString log = box.Log();
            const QString logFailure = "Unable to write to " + log + ": ";
            ASSERT_EQ(atLanding.filter("The flight is kept").size(), 1) << atLanding.join('|').toStdString();
            EXPECT_TRUE(atLanding.filter("The flight is kept").first().startsWith(logFailure));
            EXPECT_EQ(atLanding.filter("erj145.bak").size(), c.logBefore ? 1 : 0);
            // No empty or cut log: as it was, or none.
            EXPECT_EQ(QFile::exists(log), c.logBefore);
            if (c.logBefore) {
                EXPECT_EQ(ReadFile(log), before);
            }
            // Every later data load tries again, without telling again.
            EXPECT_TRUE(DiskSandbox::Errors(box.Send("advance 30")).isEmpty());

            if (c.freeLater) {
                ASSERT_TRUE(box.disk.Free(box.cli.processId()));
                EXPECT_TRUE(DiskSandbox::Errors(box.Send("advance 10")).isEmpty());
                box.Send("advance 30");
                const std::string text = ReadFile(log);
                ExpectWholeLines(text, c.logBefore ? 65 : 1);
                EXPECT_EQ(text.substr(0, c.logBefore ? before.size() : 0), c.logBefore ? before : "");
                EXPECT_NE(text.find(";EDDH;10:00;EHAM;10:10;"), std::string::npos) << text;
                if (c.logBefore) {
                    EXPECT_EQ(ReadFile(box.Program() + "/erj145.bak"), before);
                }
                EXPECT_TRUE(DiskSandbox::Errors(box.Send("close")).isEmpty());
            } else {
                const QString settings = box.Program() + "/vn-erj145.ini";
                const std::string settingsBefore = ReadFile(settings);
                const QStringList atExit = DiskSandbox::Errors(box.Send("close"));
                // The settings not saved are shown too, and their file stays whole.
                EXPECT_EQ(atExit.filter("Unable to write to " + settings + ": ").size(), 1);
                EXPECT_EQ(ReadFile(settings), settingsBefore);
                ASSERT_EQ(atExit.filter("not in the flight log").size(), 1) << atExit.join('|').toStdString();
                const QString shown = atExit.filter("not in the flight log").first();
                EXPECT_TRUE(shown.startsWith(logFailure)) << shown.toStdString();
                EXPECT_TRUE(shown.contains(
                    ". This flight is not in the flight log:\n09/12/2026;EDDH;10:00;EHAM;10:10;"))
                    << shown.toStdString();
                EXPECT_TRUE(shown.endsWith(";50;1500;")) << shown.toStdString();
                EXPECT_EQ(QFile::exists(log), c.logBefore);
                if (c.logBefore) {
                    EXPECT_EQ(ReadFile(log), before);
                }
            }
        }
    }
}

} // namespace
