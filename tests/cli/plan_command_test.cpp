#include "cli_runner.h"

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>

#include <filesystem>

#include <gtest/gtest.h>

#include "cli_sandbox.h"

using vantrel::testing::RunCli;

namespace {

// A program folder of its own with the shipped tables, and a home without any simulator, so
// the run neither reads nor writes anything of the machine's.
struct Sandbox : vantrel::test::CliSandbox {
    QStringList Env() const { return EnvAssignments(); }
};

const Sandbox& Shared() {
    static const Sandbox sandbox;
    return sandbox;
}

QString ProgramDir() {
    return Shared().Program();
}

QString FieldText(const QJsonObject& json, const char* name) {
    return json["fields"].toObject()[name].toObject()["text"].toString();
}
QString FieldColor(const QJsonObject& json, const char* name) {
    return json["fields"].toObject()[name].toObject()["color"].toString();
}

} // namespace

TEST(PlanCommand, PrintsEveryControlWithColoursAndValues) {
    const auto r = RunCli({"plan", "--program-dir", ProgramDir()}, Shared().Env());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject fields = r.json["fields"].toObject();
    for (int n = 1; n <= 54; ++n)
        EXPECT_TRUE(fields.contains(QString("Edit%1").arg(n))) << n;
    for (const char* name : {"cb3", "rg2", "ComboBox1", "ComboBox2", "ComboBox3", "cbRVSM", "ScrollBar1",
                             "ScrollBar2", "Label74", "Label75", "Label95"})
        EXPECT_TRUE(fields.contains(name)) << name;
    EXPECT_EQ(fields["rg2"].toObject()["index"].toInt(), fields["rg2"].toObject()["index"].toInt());
    EXPECT_TRUE(FieldColor(r.json, "Edit27").startsWith("#"));
    EXPECT_EQ(FieldColor(r.json, "Edit27").size(), 7);
    const QJsonObject values = r.json["values"].toObject();
    for (const char* key :
         {"WeightUnitFactor", "PilotWeight", "DryOperatingWeight", "LandingFuelAllowance", "ActualMode",
          "WeightsInKg", "PaxForTwoAttendants", "BulkLimit", "AlertAltitude", "AlertDirection",
          "CurrentFltsimSection", "ProgramDir", "FlightsDir", "AircraftCfgPath", "PanelIniPath"})
        EXPECT_TRUE(values.contains(key)) << key;
    EXPECT_TRUE(r.json["errors"].isArray());
}

TEST(PlanCommand, EditsRippleAndErrorsAreListedInOrder) {
    const auto r = RunCli({"plan", "--program-dir", ProgramDir(), "--edit", "Edit17=12a", "--edit",
                           "Edit17=27337", "--edit", "Edit13=51", "--edit", "cb3=2", "--edit",
                           "ScrollBar1=-50", "--edit", "Button6=click"},
                          Shared().Env());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray errors = r.json["errors"].toArray();
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.contains("'12a' is not a valid integer value"));
    EXPECT_EQ(FieldText(r.json, "Edit13"), "51");
    EXPECT_EQ(FieldColor(r.json, "Edit13"), "#ff0000");
    EXPECT_EQ(FieldText(r.json, "cb3"), "NBAA");
    EXPECT_EQ(r.json["fields"].toObject()["cb3"].toObject()["index"].toInt(), 2);
    EXPECT_EQ(FieldText(r.json, "Label75"), QString::fromUtf8("-50\xC2\xB0"
                                                              "C/-58\xC2\xB0"
                                                              "F"));
    EXPECT_EQ(FieldText(r.json, "Edit30"), "=====");
}

TEST(PlanCommand, WrongCommandLinesExitWithTwo) {
    EXPECT_EQ(RunCli({}).exitCode, 2);
    EXPECT_EQ(RunCli({"plan"}).exitCode, 2);
    EXPECT_EQ(RunCli({"plan", "--program-dir", ProgramDir(), "--edit", "Nothing=1"}).exitCode, 2);
    EXPECT_EQ(RunCli({"plan", "--program-dir", ProgramDir(), "--edit", "cb3=x"}).exitCode, 2);
    EXPECT_EQ(RunCli({"plan", "--program-dir", ProgramDir(), "--edit", "Button6=press"}).exitCode, 2);
    EXPECT_EQ(RunCli({"plan", "--program-dir", ProgramDir(), "--bogus"}).exitCode, 2);
}

TEST(PlanCommand, MissingFuelFileIsReportedAndLeavesTheDefaults) {
    QTemporaryDir dir;
    const auto r = RunCli({"plan", "--program-dir", dir.path()}, Shared().Env());
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.json["errors"].toArray().size() >= 1);
    EXPECT_EQ(FieldText(r.json, "Edit1").size(), 4);
}
