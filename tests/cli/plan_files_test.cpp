#include "cli_runner.h"
#include "core/profile_file.h"

#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

using vantrel::ProfileFile;
using vantrel::testing::RunCli;
namespace fs = std::filesystem;

namespace {

// A program folder with the shipped tables and a copy of the fixture simulator installation.
class PlanFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        root_ = fs::path(temp_.path().toStdString());
        fs::create_directories(root_ / "program");
        for (const char* data : {"fuel", "speeds", "airports"})
            fs::copy(fs::path(VANTREL_OUT_DIR) / data, root_ / "program" / data, fs::copy_options::recursive);
        fs::copy(fs::path(VANTREL_SOURCE_DIR) / "tests" / "fixtures" / "fs9", root_ / "fs9",
                 fs::copy_options::recursive);
    }
    vantrel::testing::CliResult Plan(QStringList args) {
        args.prepend(QString::fromStdString((root_ / "program").string() + "/"));
        args.prepend("--program-dir");
        args.prepend("plan");
        return RunCli(
            args,
            {"HOME=" + QString::fromStdString((root_ / "home").string()),
             "VANTREL_FS_PATH=" + QString::fromStdString((root_ / "fs9" / "Flight Simulator 9").string()),
             "VANTREL_DOCUMENTS=" + QString::fromStdString((root_ / "fs9" / "Documents").string())});
    }
    std::string Read(const fs::path& file, const char* section, const char* key) const {
        return ProfileFile(file.string()).ReadString(section, key, "<missing>");
    }
    fs::path Cfg() const {
        return root_ / "fs9" / "Flight Simulator 9" / "Aircraft" / "Feelthere PIC ERJ145LR" / "aircraft.cfg";
    }
    fs::path Flight() const {
        return root_ / "fs9" / "Documents" / "Flight Simulator Files" / "Hamburg Amsterdam.flt";
    }
    fs::path Settings() const { return root_ / "program" / "vn-erj145.ini"; }

    QTemporaryDir temp_;
    fs::path root_;
};

QString Text(const QJsonObject& json, const char* field) {
    return json["fields"].toObject()[field].toObject()["text"].toString();
}

} // namespace

TEST_F(PlanFiles, ReadsTheAircraftFilesAndTheSaveButtonWritesThem) {
    const auto r = Plan({"--edit", "ComboBox3=1", "--edit", "Edit15=600", "--edit", "Button9=click"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.json["errors"].toArray().isEmpty()) << r.out.toStdString();
    EXPECT_EQ(Text(r.json, "ComboBox3"), "Hamburg Amsterdam");
    EXPECT_EQ(Text(r.json, "Edit51"), "D-AVAN");
    EXPECT_EQ(r.json["values"].toObject()["CurrentFltsimSection"].toString(), "fltsim.2");
    EXPECT_EQ(r.json["values"].toObject()["PilotWeight"].toInt(), 180);
    EXPECT_EQ(Read(Cfg(), "weight_and_balance", "station_load.6"), "600.0, 00.0,  0.0, 0.0, Cargo");
    EXPECT_NE(Read(Flight(), "Payload.0", "PayloadList").find(", 600.0"), std::string::npos);
    // The Save button saves the settings too.
    EXPECT_EQ(Read(Settings(), "Payload", "Cargo"), "600");
}

TEST_F(PlanFiles, AnsweringNoKeepsTheSimulatorFilesAndSaveWritesTheSettings) {
    const std::string cfg = [&] {
        std::string c;
        vantrel::ReadWholeFile(Cfg().string(), c);
        return c;
    }();
    const auto r = Plan({"--answer-no", "--edit", "Edit15=700", "--edit", "Button9=click"});
    ASSERT_EQ(r.exitCode, 0);
    std::string after;
    vantrel::ReadWholeFile(Cfg().string(), after);
    EXPECT_EQ(after, cfg);
    EXPECT_EQ(Read(Settings(), "Payload", "Cargo"), "700");

    const auto saved = Plan({"--edit", "Edit13=33", "--save"});
    ASSERT_EQ(saved.exitCode, 0);
    EXPECT_EQ(Read(Settings(), "Payload", "Pax"), "33");
    const auto again = Plan({});
    EXPECT_EQ(Text(again.json, "Edit13"), "33");
    EXPECT_EQ(Text(again.json, "Edit15"), "700");
}

TEST_F(PlanFiles, WithoutSaveOnlyTheFirstStartMarkerIsWritten) {
    const auto r = Plan({"--edit", "Edit13=12"});
    ASSERT_EQ(r.exitCode, 0);
    std::string settings;
    vantrel::ReadWholeFile(Settings().string(), settings);
    EXPECT_EQ(settings, "[Folder]\nInit=1\n");
}
