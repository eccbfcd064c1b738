// vantrel-cli speak and voices, run as the built program.
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

struct CliRun {
    int code = -1;
    std::string out;
};

CliRun Cli(const QStringList& args) {
    QProcess p;
    p.start(VANTREL_OUT_DIR "/vantrel-cli", args);
    CliRun r;
    if (p.waitForFinished(60000)) {
        r.code = p.exitCode();
        r.out = p.readAllStandardOutput().toStdString();
    }
    return r;
}

TEST(CliSpeech, VoicesListsEnglishFirst) {
    const CliRun r = Cli({"voices"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("{\"voices\": [{\"index\": 0, \"name\": \"English", 0), 0u) << r.out;
}

TEST(CliSpeech, SpeakWritesAWaveFileAndDescribesIt) {
    QTemporaryDir dir;
    const QString file = dir.filePath("gear.wav");
    const CliRun r = Cli({"speak", "--voice", "0", "--out", file, "Gear", "down,", "three", "green."});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("\"spoken\": true"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"sampleRate\": 22050"), std::string::npos);
    EXPECT_GT(QFileInfo(file).size(), 22050); // over half a second of 16-bit audio
}

TEST(CliSpeech, UnknownVoiceOrFolderIsReportedNotWritten) {
    QTemporaryDir dir;
    CliRun r = Cli({"speak", "--voice", "100000", "--out", dir.filePath("a.wav"), "hello"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("\"errors\": [\"Specified Speech Engine not found\"]"), std::string::npos) << r.out;
    r = Cli({"speak", "--voice", "0", "--out", dir.filePath("no/such/a.wav"), "hello"});
    EXPECT_NE(r.out.find("\"spoken\": false"), std::string::npos) << r.out;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.wav")));
}

TEST(CliSpeech, WrongCommandLineExitsWithTwo) {
    EXPECT_EQ(Cli({"speak", "--out", "x.wav", "hello"}).code, 2);
    EXPECT_EQ(Cli({"speak", "--voice", "zero", "--out", "x.wav"}).code, 2);
    EXPECT_EQ(Cli({"speak", "--voice"}).code, 2);
    EXPECT_EQ(Cli({"voices", "extra"}).code, 2);
}

} // namespace
