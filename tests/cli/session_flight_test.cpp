// A whole flight and a refuel through vantrel-cli session against vantrel-sim flying a
// shipped scenario, both as programs: the flight ends as a line in the flight log, the
// refuel fills the simulator's tanks.
#include "flight_sandbox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

using vantrel::test::FlightSandbox;

QJsonValue Value(const QJsonObject& line, const char* name) {
    return line["values"].toObject()[name];
}
QString Text(const QJsonObject& line, const char* name) {
    return line["fields"].toObject()[name].toObject()["text"].toString();
}

// Minutes since midnight of a "HH:MM" text.
int Minutes(const QString& hhmm) {
    return hhmm.left(2).toInt() * 60 + hhmm.mid(3, 2).toInt();
}

TEST(SessionFlight, AFlightOfTheScenarioEndsAsALineOfTheFlightLog) {
    FlightSandbox box;
    box.StartSim("eddh-eham.txt", 240); // take-off at 0:04:40, touchdown at 0:52:30 of the scenario
    box.StartSession("2026-12-09T10:00:00");
    for (const char* edit : {"edit Edit1=EDDH", "edit Edit2=EHAM", "edit Edit13=50", "edit Edit15=500"})
        EXPECT_FALSE(box.Send(edit).contains("refused")) << edit;
    QJsonObject line;
    int phase = 0;
    bool sawFuelUsed = false;
    QElapsedTimer guard;
    guard.start();
    while (phase < 2 && guard.elapsed() < 40000) {
        QThread::msleep(40);
        line = box.KeepUp();
        phase = Value(line, "Phase").toInt();
        if (phase == 1 && Text(line, "Edit30").toInt() > 0) sawFuelUsed = true;
    }
    ASSERT_EQ(phase, 2) << "no landing within the scenario";
    EXPECT_TRUE(sawFuelUsed);
    EXPECT_TRUE(Value(line, "Timer2Enabled").toBool());
    const QString fuelUsed = Text(line, "Edit30");
    EXPECT_FALSE(QFile::exists(box.Program() + "/erj145.csv"));
    line = box.Send("advance 61");
    EXPECT_FALSE(Value(line, "Timer2Enabled").toBool());

    QFile log(box.Program() + "/erj145.csv");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    ASSERT_TRUE(text.endsWith(";\r\n")) << text.toStdString();
    ASSERT_EQ(text.count('\n'), 1);
    const QStringList fields = QString::fromLatin1(text.chopped(3)).split(';');
    ASSERT_EQ(fields.size(), 12) << text.toStdString();
    EXPECT_EQ(fields[0], "09/12/2026");
    EXPECT_EQ(fields[1], "EDDH");
    EXPECT_EQ(fields[3], "EHAM");
    // Take-off and touchdown are seen by the monitor's ticks, every 10 s.
    EXPECT_NEAR(Minutes(fields[2]), 10 * 60 + 4, 1);
    EXPECT_NEAR(Minutes(fields[4]), 10 * 60 + 52, 1);
    EXPECT_NEAR(Minutes(fields[6]), 48, 1);
    EXPECT_EQ(fields[9], fuelUsed);
    EXPECT_EQ(fields[10], "50");
    EXPECT_EQ(fields[11], "500");
    EXPECT_TRUE(QRegularExpression("^\\d+$").match(fields[7]).hasMatch()) << fields[7].toStdString();

    // The viewer shows the flight while it is open.
    line = box.Send("click Button10");
    const QJsonArray rows = Value(line, "LogRows").toArray();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toArray()[1].toString(), "EDDH");
    EXPECT_EQ(rows[0].toArray().size(), 12);
    line = box.Send("close Form6");
    EXPECT_FALSE(line["values"].toObject().contains("LogRows"));
}

TEST(SessionFlight, TheFuelPanelFillsTheSimulatorsTanks) {
    FlightSandbox box;
    box.StartSim("refuel-wait.txt", 1); // 800 lb a tank, on the stand
    box.StartSession("2026-12-09T10:00:00");
    box.Send("advance 11"); // linked, then the first data load
    QJsonObject line = box.Send("edit Edit29=4000");
    line = box.Send("click Button2");
    EXPECT_TRUE(Value(line, "FuelPanelShown").toBool());
    EXPECT_EQ(Text(line, "Form5.lbselected").right(3), " lb");
    box.Send("click Form5.Image3");
    line = box.Send("click Form5.Image4");
    EXPECT_EQ(Text(line, "Form5.Label1"), "CLSD");
    EXPECT_EQ(Text(line, "Form5.Label2"), "CLSD");
    line = box.Send("click Form5.Image2");
    EXPECT_EQ(Text(line, "Form5.Label1"), "");
    EXPECT_TRUE(Value(line, "MonitorEnabled").toBool());
    const double left = Value(line, "LeftFuelLb").toDouble();
    const double right = Value(line, "RightFuelLb").toDouble();
    EXPECT_GT(left + right + 10, 3999);
    EXPECT_LE(left, 2000.001);
    EXPECT_LE(right, 2000.001);
    EXPECT_EQ(Text(line, "Form5.lbfuel").toStdString(), std::to_string(std::lround(left + right)) + " lb");
    line = box.Send("close Form5");
    EXPECT_FALSE(Value(line, "FuelPanelShown").toBool());
    line = box.Send("click Form5.Image3"); // a closed panel takes no click
    EXPECT_EQ(Text(line, "Form5.Label1"), "");
}

} // namespace
