// One release number everywhere: both programs print the version of CMakeLists.txt's project().
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

} // namespace
