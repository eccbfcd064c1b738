// A flight landed on a full disk, through vantrel-cli session against vantrel-sim in lock step:
// the log line is kept and told once, written once and whole when the disk has room, or shown
// at Exit; the settings file stays whole and its failure is shown.
#include "cli_sandbox.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

// As root a real tmpfs, filled with a filler file; otherwise (and also as root) the session's
// file-size limit, lowered to nothing and lifted with prlimit (SIGXFSZ ignored, so a write
// fails with "File too large" instead of killing the program).
enum class Disk { Tmpfs, FileSizeLimit };

bool Run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

std::string ReadFile(const QString& path) {
    std::ostringstream s;
    s << std::ifstream(path.toStdString(), std::ios::binary).rdbuf();
    return s.str();
}

struct DiskSandbox : vantrel::test::CliSandbox {
    Disk disk;
    QProcess sim, cli;
    int marks = 0;

    explicit DiskSandbox(Disk kind) : CliSandbox({}), disk(kind) {
        const bool mounted =
            disk != Disk::Tmpfs || Run("mount", {"-t", "tmpfs", "-o", "size=2m", "tmpfs", Program()});
        EXPECT_TRUE(mounted);
        for (const char* d : {"fuel", "speeds", "airports"})
            std::filesystem::copy(std::filesystem::path(VANTREL_OUT_DIR) / d,
                                  Program().toStdString() + "/" + d,
                                  std::filesystem::copy_options::recursive);
    }
    ~DiskSandbox() {
        cli.closeWriteChannel();
        if (!cli.waitForFinished(5000)) cli.kill();
        StopSim(sim);
        if (disk == Disk::Tmpfs) Run("umount", {"-l", Program()});
    }
    bool Full(bool full) {
        if (disk == Disk::FileSizeLimit)
            return Run("prlimit", {"--pid", QString::number(cli.processId()),
                                   full ? "--fsize=0:" : "--fsize=unlimited:"});
        if (!full) return std::filesystem::remove(Program().toStdString() + "/filler");
        std::ofstream filler(Program().toStdString() + "/filler", std::ios::binary);
        while (filler.write(std::string(4096, 'f').data(), 4096)) {
        }
        return true;
    }
    void Start() {
        ASSERT_TRUE(StartSim(sim, {"--quiet"}));
        cli.setProcessEnvironment(Env());
        cli.start("/bin/sh",
                  {"-c", "trap '' XFSZ; exec \"$0\" \"$@\"", QString(VANTREL_OUT_DIR) + "/vantrel-cli",
                   "session", "--program-dir", Program(), "--now", "2026-12-09T10:00:00", "--utc-bias", "0"});
        ASSERT_TRUE(cli.waitForStarted(5000));
        while (!cli.canReadLine() && cli.waitForReadyRead(20000)) {
        }
        ASSERT_TRUE(cli.readLine().contains("\"start\""));
    }
    // A simulator command, done once the simulator has answered the mark after it.
    void Sim(const QByteArray& command) {
        const QByteArray mark = "say mark " + QByteArray::number(++marks);
        sim.write(command + "\n" + mark + "\n");
        for (QByteArray out; !out.contains(mark) && sim.waitForReadyRead(5000);)
            out += sim.readAllStandardOutput();
    }
    // The error texts of a session command.
    QStringList Send(const QString& command) {
        cli.write(command.toUtf8() + "\n");
        while (!cli.canReadLine())
            if (!cli.waitForReadyRead(20000)) return {"no answer"};
        QStringList errors;
        for (const QJsonValue& v : QJsonDocument::fromJson(cli.readLine()).object()["errors"].toArray())
            errors << v.toString();
        return errors;
    }
};

TEST(SessionFullDisk, AFlightLineIsKeptUntilTheLogTakesItOrShownAtExit) {
    std::vector<Disk> disks = {Disk::FileSizeLimit};
    if (geteuid() == 0) disks.push_back(Disk::Tmpfs);
    // 64 lines of 64 bytes: the old log fills its last block, so a full disk takes no line.
    std::string old;
    for (int i = 0; i < 64; ++i)
        old += "01/12/2026;EDDH;08:00;EHAM;09:00;01:02;01:00;4000;300;29;5;15;\r\n";
    const std::string flight = "09/12/2026;EDDH;10:00;EHAM;10:10;";
    for (const Disk disk : disks) {
        for (const bool logBefore : {false, true}) {
            for (const bool roomLater : {true, false}) {
                SCOPED_TRACE(::testing::Message() << int(disk) << logBefore << roomLater);
                DiskSandbox box(disk);
                const QString log = box.Program() + "/erj145.csv",
                              settings = box.Program() + "/vn-erj145.ini";
                const std::string before = logBefore ? old : "";
                if (logBefore) std::ofstream(log.toStdString(), std::ios::binary) << old;
                box.Start();
                box.Send("advance 1"); // linked, on the ground
                box.Sim("ground 0");
                box.Send("advance 610"); // take-off, ten minutes in the air
                ASSERT_TRUE(box.Full(true));
                box.Sim("ground 1");
                QStringList told = box.Send("advance 10");
                told += box.Send("advance 61");
                const QString failure = "Unable to write to " + log + ": ";
                EXPECT_EQ(told.filter(QRegularExpression("^" + QRegularExpression::escape(failure) +
                                                         ".*\\. The flight is kept and goes into the log as "
                                                         "soon as the log can be written\\.$"))
                              .size(),
                          1)
                    << told.join('|').toStdString();
                EXPECT_EQ(told.filter("erj145.bak: ").size(), logBefore ? 1 : 0);
                EXPECT_EQ(QFile::exists(log), logBefore); // never created empty, never cut
                EXPECT_EQ(ReadFile(log), before);
                EXPECT_EQ(box.Send("advance 30"), QStringList()); // tried again, not told again
                if (roomLater) {
                    ASSERT_TRUE(box.Full(false));
                    for (const char* command : {"advance 10", "advance 30", "close"})
                        EXPECT_EQ(box.Send(command), QStringList()) << command;
                    const std::string text = ReadFile(log);
                    ASSERT_EQ(text.substr(0, before.size()), before);
                    EXPECT_EQ(text.find(flight, before.size()), before.size()) << text; // once, whole
                    EXPECT_EQ(std::count(text.begin() + before.size(), text.end(), ';'), 12) << text;
                    EXPECT_TRUE(text.ends_with(";\r\n"));
                    EXPECT_EQ(ReadFile(box.Program() + "/erj145.bak"), before);
                    continue;
                }
                const std::string settingsBefore = ReadFile(settings);
                const QStringList atExit = box.Send("close");
                EXPECT_EQ(atExit.filter("Unable to write to " + settings + ": ").size(), 1);
                EXPECT_EQ(ReadFile(settings), settingsBefore);
                const QStringList shown = atExit.filter(". This flight is not in the flight log:\n" +
                                                        QString::fromStdString(flight));
                ASSERT_EQ(shown.size(), 1) << atExit.join('|').toStdString();
                EXPECT_TRUE(shown[0].startsWith(failure) && shown[0].endsWith(";50;1500;"))
                    << shown[0].toStdString();
                EXPECT_EQ(ReadFile(log), before);
            }
        }
    }
}

} // namespace
