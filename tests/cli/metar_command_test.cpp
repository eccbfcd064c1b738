#include "cli_runner.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vantrel::testing::RunCli;

namespace {

const QString kLine = "EGLL London Heathrow";
const QString kReply = "2026/12/08 15:50\nEGLL 081550Z 24015KT 9999 FEW012 12/09 Q1013 NOSIG\n";
const QString kSentence =
    "this is london heathrow airport information ,,time of met report 1 5 5 0 zulu,,  wind 2 4 0 at 1  5 "
    "knots "
    ",,visibility  more than 1 0 kilometers,, few  1 2 0 0 feet , ,temperature  1 2,dew point   niner , Q N "
    "H, 1, "
    "0, 1,  tree , hecto pascal, trend no sig,,  london heathrow airport information , out,, ";

TEST(MetarCommand, ReplyTextIsDecodedIntoTheSpokenSentence) {
    const auto r = RunCli({"metar", "--airport-line", kLine, "--reply", kReply});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "{\"spoken\": true, \"text\": \"" + kSentence.toUtf8() + "\"}\n");
    EXPECT_TRUE(r.json["spoken"].toBool());
    EXPECT_EQ(r.json["text"].toString(), kSentence);
}

TEST(MetarCommand, ReplyFileGivesTheSameSentence) {
    QTemporaryDir dir;
    const QString path = dir.filePath("EGLL.TXT");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kReply.toUtf8());
    f.close();
    const auto r = RunCli({"metar", "--reply-file", path, "--airport-line", kLine});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.json["text"].toString(), kSentence);
}

TEST(MetarCommand, NothingSpoken) {
    for (const QString& reply : {QString("2026/12/08 15:50\r\nEGLL 081550Z 24015KT 9999\r\n"),
                                 QString("2026/12/08 15:50\nEGLL 081550Z 2401KT 9999\n"), QString(""),
                                 QString("<html>Not found</html>")}) {
        const auto r = RunCli({"metar", "--airport-line", kLine, "--reply", reply});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, "{\"spoken\": false}\n") << reply.toStdString();
    }
}

TEST(MetarCommand, OversizedReplyFileIsNotSpoken) {
    QTemporaryDir dir;
    const QString path = dir.filePath("big.TXT");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kReply.toUtf8() + QByteArray(70000, ' '));
    f.close();
    const auto r = RunCli({"metar", "--airport-line", kLine, "--reply-file", path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "{\"spoken\": false}\n");
}

TEST(MetarCommand, TextIsValidJsonWhateverTheBytes) {
    // The temperature step writes every byte of its group after a blank, so a multi-byte
    // character arrives split; quotes, backslashes and control characters arrive as they are.
    const QByteArray reply =
        "2026/12/08 15:50\nEGLL 081550Z 24015KT 9999 FEW012 1\xC3\xA9\"\\\x01/\xED\xA0\x80 Q1013\n";
    QTemporaryDir dir;
    QFile f(dir.filePath("odd.TXT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reply);
    f.close();
    const auto r =
        RunCli({"metar", "--airport-line", "EGLL Z\u00fcrich \"Kloten\" \\", "--reply-file", f.fileName()});
    ASSERT_EQ(r.exitCode, 0);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out).toUtf8(), r.out); // valid UTF-8 survives a round trip
    const QString text = doc.object()["text"].toString();
    EXPECT_TRUE(text.startsWith("this is z\u00fcrich \"kloten\" \\ airport information"))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QString(" \u00c3 \u00a9 \" \\ \x01,dew point  \u00ed \u00a0 \u0080,")))
        << text.toStdString();
}

TEST(MetarCommand, WrongCommandLinesExitWithTwo) {
    const QList<QStringList> wrong = {
        {"metar"},
        {"metar", "--reply", kReply},
        {"metar", "--airport-line", kLine},
        {"metar", "--airport-line", kLine, "--reply", kReply, "--reply-file", "x"},
        {"metar", "--airport-line", kLine, "--reply"},
        {"metar", "--airport-line", kLine, "--reply", kReply, "--bogus"},
        {"metar", "--airport-line", kLine, "--reply-file", "/nonexistent/reply.TXT"},
    };
    for (const QStringList& args : wrong) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace
