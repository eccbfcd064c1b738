// vantrel-cli session scripted against vantrel-sim, both as programs.
#include "cli_runner.h"
#include "cli_sandbox.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

// The shared folders, with vantrel-sim serving them.
struct SessionSandbox : vantrel::test::CliSandbox {
    QProcess sim;
    ~SessionSandbox() { StopSim(); }
    void StartSim() { ASSERT_TRUE(CliSandbox::StartSim(sim, {"--quiet"})); }
    void SimCommand(const QByteArray& line) {
        sim.write(line + "\n");
        sim.waitForBytesWritten(1000);
    }
    void StopSim() { CliSandbox::StopSim(sim); }
    std::vector<QJsonObject> Session(const QStringList& commands, QStringList extra = {}) {
        return RunSession(QStringList{"--now", "2026-12-09T23:30:00", "--utc-bias", "60"} + extra, commands);
    }
};

QJsonObject Field(const QJsonObject& line, const char* name) {
    return line["fields"].toObject()[name].toObject();
}
QJsonValue Value(const QJsonObject& line, const char* name) {
    return line["values"].toObject()[name];
}
QStringList Played(const QJsonObject& line) {
    QStringList files;
    for (const QJsonValue& call : line["sounds"].toArray())
        files << (call.toObject().contains("stop") ? QString("stop") : call.toObject()["play"].toString());
    return files;
}

TEST(CliSession, ScriptedAgainstTheStandInSimulator) {
    SessionSandbox box;
    box.StartSim();
    const auto lines = box.Session({"state", "advance 0.999", "advance 0.001", "advance 10",
                                    "mouse Panel3 left", "click Button7", "mouse Panel6 right",
                                    "click Nothing", "mouse Panel3 sideways", "advance -1", "tick", "close"});
    ASSERT_EQ(lines.size(), 13u);
    const QStringList keys = {"command", "clock", "fields", "values", "sounds", "spoken", "beeps", "errors"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].contains("refused")) continue;
        for (const QString& key : keys)
            EXPECT_TRUE(lines[i].contains(key)) << i << " " << key.toStdString();
    }
    const QJsonObject& start = lines[0];
    EXPECT_EQ(start["command"].toString(), "start");
    EXPECT_EQ(start["clock"].toString().left(19), "2026-12-09T23:30:00");
    EXPECT_EQ(Field(start, "Panel3")["color"].toString(), "#ff0000");
    EXPECT_FALSE(Field(start, "Button3")["enabled"].toBool());
    EXPECT_EQ(Value(start, "MonitorPeriodMs").toInt(), 1000);
    EXPECT_TRUE(Value(start, "MonitorEnabled").toBool());
    EXPECT_FALSE(Value(start, "Timer2Enabled").toBool());
    EXPECT_EQ(Value(start, "UtcBiasMinutes").toInt(), 60);
    EXPECT_TRUE(Played(start).contains("sounds/bkgnd.wav"));

    EXPECT_FALSE(Value(lines[2], "Linked").toBool()); // 0.999 s: no tick yet
    const QJsonObject& linked = lines[3];
    EXPECT_TRUE(Value(linked, "Linked").toBool());
    EXPECT_EQ(Value(linked, "Icon").toString(), "icon1.ico");
    EXPECT_EQ(Field(linked, "Panel2")["color"].toString(), "#00ff00");
    EXPECT_TRUE(Field(linked, "Button3")["enabled"].toBool());
    EXPECT_EQ(Played(linked), (QStringList{"stop", "sounds/OK.wav", "sounds/bkgnd.wav"}));

    const QJsonObject& loaded = lines[4];
    EXPECT_NE(Field(loaded, "Edit48")["text"].toString(), "=====");
    EXPECT_TRUE(Field(loaded, "Form5.lbfuel")["text"].toString().endsWith(" lb"));
    EXPECT_GT(Value(loaded, "LeftFuelLb").toDouble(), 0);

    EXPECT_EQ(Field(lines[5], "Panel3")["text"].toString(), "30 s");
    EXPECT_EQ(Value(lines[5], "MonitorPeriodMs").toInt(), 30000);
    EXPECT_EQ(Value(lines[6], "AlertDirection").toInt(), 1); // on the ground, armed at 5000 ft
    EXPECT_EQ(Field(lines[6], "Panel6")["color"].toString(), "#00ff00");
    EXPECT_EQ(Field(lines[7], "Panel6")["text"].toString(), "5500");
    EXPECT_EQ(Field(lines[7], "Panel6")["color"].toString(), "#c0c0c0");
    for (std::size_t refused : {8u, 9u, 10u}) {
        EXPECT_TRUE(lines[refused].contains("refused")) << refused;
        EXPECT_EQ(lines[refused].size(), 2) << refused;
    }
    EXPECT_EQ(lines[8]["command"].toString(), "click Nothing");
    // The refused lines changed nothing: the clock stands where the previous line left it.
    EXPECT_EQ(lines[11]["clock"].toString(), lines[7]["clock"].toString());
    EXPECT_EQ(lines[12]["command"].toString(), "close");
    EXPECT_TRUE(QFile::exists(box.Program() + "/vn-erj145.ini")); // settings saved
}

TEST(CliSession, StartSpeaksTheWelcomeAndShowsTheUtcClockKeysAndEditsLikeTheWindow) {
    SessionSandbox box;
    QDir().mkpath(box.Program() + "/checklists");
    QFile::copy(QString(VANTREL_OUT_DIR) + "/checklists/checklists.ini",
                box.Program() + "/checklists/checklists.ini");
    const auto lines =
        box.Session({"key Edit2 e", "key Edit2 #8", "key Edit51 x", "key Edit9 -", "key Edit9 ab",
                     "key Nothing 1", "edit Edit13=12", "edit Edit13", "advance 10", "close Form9"});
    ASSERT_EQ(lines.size(), 11u);
    const QJsonObject& start = lines[0];
    EXPECT_EQ(start["spoken"].toArray().size(), 1);
    EXPECT_TRUE(start["spoken"].toArray().at(0).toString().startsWith("Welcome aboard"));
    EXPECT_FALSE(Value(start, "ChecklistsDisabled").toBool());
    EXPECT_TRUE(Value(start, "ChecklistWindowVisible").toBool());
    EXPECT_EQ(Field(start, "label87")["text"].toString(), "10/12 00:30"); // 23:30 local is 00:30 UTC

    const QString code = Field(start, "Edit2")["text"].toString();
    EXPECT_EQ(Field(lines[1], "Edit2")["text"].toString(), code.size() >= 4 ? "E" : code + "E");
    EXPECT_EQ(Played(lines[1]), (QStringList{"stop", "sounds/switch.wav", "sounds/bkgnd.wav"}));
    EXPECT_EQ(Field(lines[2], "Edit2")["text"].toString(), code.size() >= 4 ? "" : code);
    EXPECT_EQ(Field(lines[3], "Edit51")["text"].toString(), "X");
    EXPECT_TRUE(Played(lines[3]).isEmpty()); // free text: no click
    EXPECT_EQ(Field(lines[4], "Edit9")["text"].toString(), Field(start, "Edit9")["text"].toString());
    for (std::size_t refused : {5u, 6u, 8u, 10u})
        EXPECT_TRUE(lines[refused].contains("refused")) << refused;
    EXPECT_EQ(Field(lines[7], "Edit13")["text"].toString(), "12");
    EXPECT_EQ(lines[10]["refused"].toString(), "no such window: Form9");
}

TEST(CliSession, WithoutSimulatorAndWrongCommandLine) {
    SessionSandbox box;
    const auto lines = box.Session({"advance 31", "state"});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_FALSE(Value(lines[1], "Linked").toBool());
    EXPECT_EQ(Value(lines[1], "Icon").toString(), "icon2.ico");
    EXPECT_EQ(Field(lines[1], "Panel2")["color"].toString(), "#ff0000");
    auto at = [](const QJsonObject& line) {
        return QDateTime::fromString(line["clock"].toString(), Qt::ISODateWithMs);
    };
    EXPECT_EQ(at(lines[0]).msecsTo(at(lines[1])), 31000);

    const auto bad =
        vantrel::testing::RunCli({"session", "--program-dir", box.Program(), "--now", "yesterday"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(vantrel::testing::RunCli({"session"}).exitCode, 2);
}

} // namespace

TEST(CliSession, ABadChecklistVoiceIsToldAndTheFirstVoiceSpeaks) {
    SessionSandbox box;
    QDir().mkpath(box.Program() + "/checklists");
    QFile shipped(QString(VANTREL_OUT_DIR) + "/checklists/checklists.ini");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    QByteArray content = shipped.readAll();
    content.replace("voice=0", "voice=-5");
    QFile file(box.Program() + "/checklists/checklists.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const auto lines = box.Session({"close"});
    ASSERT_FALSE(lines.empty());
    const QJsonObject& start = lines[0];
    const QJsonArray errors = start["errors"].toArray();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].toString().contains("checklists.ini\" names voice \"-5\""))
        << errors[0].toString().toStdString();
    EXPECT_FALSE(Value(start, "ChecklistsDisabled").toBool());
    EXPECT_TRUE(Value(start, "ChecklistWindowVisible").toBool());
    EXPECT_EQ(start["spoken"].toArray().size(), 1); // the welcome
}
