// The speed hold, the reverse and the speeds gauge in vantrel-cli session, against vantrel-sim.
#include "cli_sandbox.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

// A program folder with the shipped tables and checklists, a home without a simulator, and
// vantrel-sim held still (paused) on a private socket folder.
struct HoldSandbox : vantrel::test::CliSandbox {
    QProcess sim;
    HoldSandbox() : CliSandbox({"fuel", "speeds", "airports", "checklists"}) {
        EXPECT_TRUE(StartSim(sim, {"--quiet"}));
        Sim("pause");
    }
    ~HoldSandbox() { StopSim(sim); }
    // Runs a simulator command and returns its "status" line afterwards.
    QString Sim(const QByteArray& line) {
        const QByteArray mark = "say done " + QByteArray::number(++commands);
        sim.write(line + "\nstatus\n" + mark + "\n");
        QByteArray out;
        while (!out.contains(mark + "\n") && sim.waitForReadyRead(5000))
            out += sim.readAllStandardOutput();
        out = out.left(out.indexOf(mark));
        return QString::fromUtf8(out.mid(out.lastIndexOf("status ")));
    }
    int commands = 0;
    std::vector<QJsonObject> Session(const QStringList& commands) {
        return RunSession({"--now", "2026-12-09T10:00:00"}, commands);
    }
};

QString Text(const QJsonObject& line, const char* name) {
    return line["fields"].toObject()[name].toObject()["text"].toString();
}
QString Color(const QJsonObject& line, const char* name) {
    return line["fields"].toObject()[name].toObject()["color"].toString();
}
QJsonValue Value(const QJsonObject& line, const char* name) {
    return line["values"].toObject()[name];
}

TEST(CliSessionSpeedHold, HoldGaugeAndPanels) {
    HoldSandbox box;
    box.Sim("ground 0");
    box.Sim("climb 10000 600000");
    box.Sim("step 1");
    box.Sim("climb 10000 0");
    box.Sim("throttle 60");
    ASSERT_TRUE(box.Sim("speed 250").contains("ias=250.0kt"));
    const auto lines = box.Session({"advance 1", "advance 10", "click Form7.pnat", "advance 1",
                                    "click Form7.pnrev", "click Form7.pnat", "click Form4.label7",
                                    "click Form4.label7", "click Form4.label7", "click Form4.Panel13",
                                    "mouse Form4.Panel1 left", "mouse Form4.Panel1 right", "click Panel9"});
    ASSERT_EQ(lines.size(), 14u);
    const QJsonObject& start = lines[0];
    EXPECT_EQ(Text(start, "Form4.label7"), "T/O9");
    EXPECT_EQ(Text(start, "Form4.Label1"), "V1");
    EXPECT_EQ(Text(start, "Form4.Label2"), Text(start, "Edit37"));
    EXPECT_EQ(Text(start, "Form4.Label4"), Text(start, "Edit39"));
    EXPECT_EQ(Text(start, "Form4.Panel13"), "PLAN");
    EXPECT_EQ(Text(start, "Form7.pnat"), "SPD");
    EXPECT_TRUE(Value(start, "GaugeVisible").toBool());
    EXPECT_EQ(Value(start, "GaugeLeft").toInt(), 1004 - 61 - 10);
    EXPECT_EQ(Value(start, "GaugeTop").toInt(), 165);
    EXPECT_EQ(Value(start, "HoldTarget").toInt(), -999);

    const QJsonObject& engaged = lines[3];
    EXPECT_TRUE(Value(engaged, "HoldActive").toBool());
    EXPECT_EQ(Value(engaged, "HoldTarget").toInt(), -1);
    EXPECT_EQ(Value(engaged, "Gain").toInt(), 100);
    EXPECT_EQ(Value(engaged, "MonitorPeriodMs").toInt(), 1000);
    EXPECT_EQ(Color(engaged, "Form7.pnat"), "#ffff00");
    EXPECT_EQ(Color(engaged, "Panel3"), "#ff00ff");
    EXPECT_TRUE(QFile::exists(box.root.path() + "/program/autospeed.ini"));

    const QJsonObject& holding = lines[4];
    EXPECT_EQ(Value(holding, "HoldTarget").toInt(), 250 * 128);
    EXPECT_EQ(Text(holding, "Form7.pnat"), "250");
    EXPECT_EQ(Color(holding, "Form7.pnat"), "#00ff00");
    EXPECT_EQ(Value(holding, "LastThrottle").toInt(), 9830); // 60 % of the lever, on target

    EXPECT_TRUE(Value(lines[5], "ReverseArmed").toBool());
    EXPECT_EQ(Color(lines[5], "Form7.pnrev"), "#ffff00");
    const QJsonObject& off = lines[6];
    EXPECT_FALSE(Value(off, "HoldActive").toBool());
    EXPECT_EQ(Text(off, "Form7.pnat"), "SPD");
    EXPECT_EQ(off["spoken"].toArray(), QJsonArray{"auto speed"});
    EXPECT_EQ(Value(off, "MonitorPeriodMs").toInt(), 1000);

    EXPECT_EQ(Text(lines[7], "Form4.label7"), "LDG22");
    EXPECT_EQ(Text(lines[7], "Form4.Label1"), "VREF");
    EXPECT_EQ(Text(lines[7], "Form4.Label2"), Text(lines[7], "Edit42"));
    EXPECT_EQ(Text(lines[7], "rg2"), QString::fromUtf8("22\xC2\xB0"));
    EXPECT_EQ(Text(lines[8], "Form4.label7"), "LDG45");
    EXPECT_EQ(Text(lines[9], "Form4.label7"), "T/O9");
    EXPECT_EQ(Text(lines[9], "rg2"), QString::fromUtf8("45\xC2\xB0"));
    EXPECT_TRUE(
        lines[9]["sounds"].toArray().contains(QJsonObject{{"play", "sounds/switch.wav"}, {"loop", false}}));
    EXPECT_EQ(Text(lines[10], "Form4.Panel13"), "ACT"); // linked: Mode is enabled
    EXPECT_EQ(Text(lines[10], "Form4.Label2"), Text(lines[10], "Edit37"));
    EXPECT_FALSE(Value(lines[11], "MainWindowVisible").toBool());
    EXPECT_FALSE(Value(lines[12], "GaugeVisible").toBool());
    EXPECT_TRUE(Value(lines[13], "GaugeVisible").toBool());
    // The Gauge panel takes the checklist window along unless its voice features are off.
    const bool checklistsOn = !Value(start, "ChecklistsDisabled").toBool();
    EXPECT_EQ(Value(lines[13], "ChecklistWindowVisible").toBool(),
              checklistsOn && !Value(start, "ChecklistWindowVisible").toBool());
    EXPECT_TRUE(Value(start, "MainWindowVisible").toBool());
}

TEST(CliSessionSpeedHold, ReverseFiresOnTheGroundAboveOneHundredKnots) {
    HoldSandbox box;
    box.Sim("throttle 20");
    box.Sim("speed 100");
    const auto slow = box.Session({"advance 1", "click Form7.pnrev", "advance 10"});
    ASSERT_EQ(slow.size(), 4u);
    EXPECT_TRUE(Value(slow[3], "ReverseArmed").toBool()); // exactly 100 kt: not yet
    EXPECT_TRUE(box.Sim("status").contains("throttle=20%"));

    box.Sim("speed 140");
    const auto fast = box.Session({"advance 1", "click Form7.pnat", "click Form7.pnrev", "advance 10"});
    ASSERT_EQ(fast.size(), 5u);
    EXPECT_FALSE(Value(fast[4], "ReverseArmed").toBool());
    EXPECT_FALSE(Value(fast[4], "HoldActive").toBool());
    EXPECT_EQ(Color(fast[4], "Form7.pnrev"), "#c0c0c0");
    EXPECT_EQ(Text(fast[4], "Form7.pnat"), "SPD");
    EXPECT_TRUE(box.Sim("status").contains("throttle=-61%")); // -10000 on both levers
}

} // namespace

namespace {

// A session driven one line at a time, so that the simulator can change between commands.
struct LiveSession {
    LiveSession(const vantrel::test::CliSandbox& box, const QStringList& arguments) {
        process.setProcessEnvironment(box.Env());
        process.start(QString(VANTREL_OUT_DIR) + "/vantrel-cli",
                      QStringList{"session", "--program-dir", box.Program()} + arguments);
        Run(""); // the start line
    }
    ~LiveSession() { process.closeWriteChannel(), process.waitForFinished(10000); }
    QJsonObject Run(const QByteArray& command) {
        if (!command.isEmpty()) process.write(command + "\n");
        while (!process.canReadLine() && process.waitForReadyRead(30000)) {
        }
        return QJsonDocument::fromJson(process.readLine()).object();
    }
    QProcess process;
};

} // namespace

// The fuel panel's pauses carry the clock past two or more of the hold's one-second ticks: the
// missed ticks run as one hold step, and the next one comes a period later.
TEST(CliSessionSpeedHold, OverdueTicksRunOnceThenKeepTheirPeriod) {
    HoldSandbox box;
    for (const char* line : {"ground 0", "climb 10000 600000", "step 1", "climb 10000 0", "throttle 60"})
        box.Sim(line);
    ASSERT_TRUE(box.Sim("speed 250").contains("ias=250.0kt"));
    LiveSession session(box, {"--now", "2026-12-09T10:00:00"});
    for (const char* command : {"advance 1", "click Form7.pnat"})
        session.Run(command);
    const int onTarget = Value(session.Run("advance 1"), "LastThrottle").toInt();
    box.Sim("speed 245");
    const int slow = Value(session.Run("advance 1"), "LastThrottle").toInt();
    ASSERT_GT(slow, onTarget);
    for (const char* command : {"click Button2", "click Form5.Image3", "click Form5.Image3"})
        session.Run(command);
    const std::pair<const char*, int> cases[] = {
        {"advance 0.01", 1}, {"advance 0.98", 1}, {"advance 0.02", 2}};
    for (const auto& [command, steps] : cases) // hold steps since the slow one
        EXPECT_EQ(Value(session.Run(command), "LastThrottle").toInt(), slow + steps * (slow - onTarget))
            << command;
}
