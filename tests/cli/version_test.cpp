// One release number everywhere: both programs print the version of CMakeLists.txt's project(),
// and the pilot's guide (the downloads' README, the same text as Help's PDF) carries it.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString ProjectVersion() {
    QFile cmake(QStringLiteral(VANTREL_SOURCE_DIR "/CMakeLists.txt"));
    if (!cmake.open(QIODevice::ReadOnly)) return {};
    const auto match = QRegularExpression(QStringLiteral(R"(project\(\w+ VERSION ([0-9.]+))"))
                           .match(QString::fromUtf8(cmake.readAll()));
    return match.captured(1);
}

TEST(Version, EachProgramPrintsTheProjectVersion) {
    const QString version = ProjectVersion();
    ASSERT_FALSE(version.isEmpty());
    for (const char* program : {"vantrel", "vantrel-cli"}) {
        SCOPED_TRACE(program);
        QProcess p;
        p.start(QStringLiteral(VANTREL_OUT_DIR "/") + QString::fromLatin1(program), {"--version"});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), "Vantrel Suite " + version + "\n");
    }
}

TEST(Version, ThePilotsGuideCarriesTheProjectVersion) {
    QFile guide(QStringLiteral(VANTREL_OUT_DIR "/../guide/README.md"));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(guide.readAll());
    EXPECT_TRUE(text.contains("\nVersion " + ProjectVersion() + "\n"));
    EXPECT_TRUE(text.contains("VantrelSuite-" + ProjectVersion() + "-windows-x64.exe"));
    EXPECT_FALSE(text.contains("@"));
}

} // namespace
