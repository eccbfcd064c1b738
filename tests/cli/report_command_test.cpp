// vantrel-cli report DIR: the logs of every program (rotated ones too), the settings and the
// flight log's last lines copied into DIR, and the JSON saying where they went and what failed.
#include "cli_runner.h"
#include "cli_sandbox.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>

#include <fstream>

#include <gtest/gtest.h>

namespace {

using vantrel::testing::RunCli;

void Write(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

QStringList Strings(const QJsonValue& array) {
    QStringList texts;
    for (const QJsonValue& v : array.toArray())
        texts << v.toString();
    return texts;
}

TEST(ReportCommand, CopiesWhatASupportRequestNeedsAndSaysWhere) {
    vantrel::test::CliSandbox box({});
    const QString program = box.Program();
    for (const char* name : {"vantrel.log", "vantrel.log.1", "vantrel-cli.log", "vantrel-bridge.log"})
        Write(program + "/" + name, std::string(name) + " lines\n");
    Write(program + "/vn-erj145.ini", "[Weather]\r\n");
    Write(program + "/erj145.csv", "a;\r\nb;\r\n");
    struct Case {
        const char* what;
        QString folder;
        int exitCode;
        QStringList written;
        bool failed;
    };
    const QString blocked = box.root.filePath("blocked");
    Write(blocked, "a file where the folder should be");
    const Case cases[] = {
        {"a new folder",
         box.root.filePath("report/today"),
         0,
         {"vantrel.log", "vantrel.log.1", "vantrel-cli.log", "vantrel-bridge.log", "vn-erj145.ini",
          "erj145-last-lines.csv"},
         false},
        {"a folder that cannot be made", blocked + "/report", 1, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = RunCli({"report", c.folder, "--program-dir", program});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_EQ(r.json["folder"].toString(), c.folder);
        EXPECT_EQ(Strings(r.json["written"]), c.written);
        EXPECT_EQ(!r.json["failures"].toArray().isEmpty(), c.failed);
        EXPECT_TRUE(r.json["message"].toString().startsWith(
            (c.failed ? "No report written to " : "Report written to ") + c.folder));
        for (const QString& name : c.written)
            EXPECT_TRUE(QFile::exists(c.folder + "/" + name)) << name.toStdString();
    }
    QFile copied(box.root.filePath("report/today/erj145-last-lines.csv"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "a;\r\nb;\r\n");
    EXPECT_EQ(RunCli({"report"}).exitCode, 2);
}

} // namespace
