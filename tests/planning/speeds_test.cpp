// Take-off and landing speeds: the weight rows, the take-off table, the speed files.
#include "core/convert.h"
#include "planning/speed_file.h"
#include "planning/speeds.h"
#include "route_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vantrel;

TEST(SpeedRows, TakeoffWeights) {
    EXPECT_EQ(TakeoffRow(48000), 1);
    EXPECT_EQ(TakeoffRow(48001), 0);
    EXPECT_EQ(TakeoffRow(47100), 1); // 47,100 + 900 = 48,000
    EXPECT_EQ(TakeoffRow(47099), 2);
    EXPECT_EQ(TakeoffRow(30000), 19);
    EXPECT_EQ(TakeoffRow(25000), 19);
    EXPECT_EQ(TakeoffRow(60000), 0);
}

TEST(SpeedRows, LandingWeights) {
    EXPECT_EQ(LandingRow(48500), 0);
    EXPECT_EQ(LandingRow(48000), 0);
    EXPECT_EQ(LandingRow(47999), 0); // 48,899 -> 48,000
    EXPECT_EQ(LandingRow(47099), 1);
    EXPECT_EQ(LandingRow(28000), 20);
    EXPECT_EQ(LandingRow(25000), 20);
}

TEST(SpeedRows, TakeoffTableFromPressureAltitudeAndTemperature) {
    EXPECT_EQ(TakeoffTable(999, 44), 'B');
    EXPECT_EQ(TakeoffTable(999, 43), 'A');
    EXPECT_EQ(TakeoffTable(1000, 44), 'B');
    EXPECT_EQ(TakeoffTable(1000, 38), 'A');
    EXPECT_EQ(TakeoffTable(3000, 23), 'A');
    EXPECT_EQ(TakeoffTable(3000, 24), 'B');
    EXPECT_EQ(TakeoffTable(4999, 32), 'B');
    EXPECT_EQ(TakeoffTable(4999, 33), 'C');
    EXPECT_EQ(TakeoffTable(5000, 18), 'B');
    EXPECT_EQ(TakeoffTable(6999, 19), 'C');
    EXPECT_EQ(TakeoffTable(9000, -10), 'B');
    EXPECT_EQ(TakeoffTable(9000, 17), 'C');
    EXPECT_EQ(TakeoffTable(-511, 50), 'B'); // below sea level counts as below 1000 ft
}

TEST(SpeedFile, LooksUpRowsOfABlock) {
    std::string text = "header\n//AV1\n";
    for (int v = 130; v >= 111; --v)
        text += std::to_string(v) + "\n";
    text += "//AVR\r\n141\r\n";
    SpeedFile file = SpeedFile::FromText(text);
    EXPECT_EQ(file.Lookup("//AV1", 0), "130");
    file.Rewind();
    EXPECT_EQ(file.Lookup("//AV1", 19), "111");
    file.Rewind();
    EXPECT_EQ(file.Lookup("//AVR", 0), "141"); // CR LF line ends
    file.Rewind();
    EXPECT_EQ(file.Lookup("//AVR", 5), ""); // block too short
    file.Rewind();
    EXPECT_EQ(file.Lookup("//XX", 0), ""); // no such marker
    file.Rewind();
    EXPECT_EQ(file.Lookup("//av1", 0), ""); // markers compare exactly
    file.Rewind();
    EXPECT_EQ(file.Lookup("//AV1", -1), "//AV1");
}

TEST(SpeedFile, MarkerMustBeAWholeLine) {
    SpeedFile file = SpeedFile::FromText("x//VREF\n//VREFX\n //VREF\n//VREF \n//VREF\r\n120\n//VGA9");
    EXPECT_EQ(file.Lookup("//VREF", 0), "120");
    // Without a rewind the next look-up goes on from there; the last line needs no line end.
    EXPECT_EQ(file.Lookup("//VGA9", -1), "//VGA9");
    EXPECT_EQ(file.Lookup("//VGA9", 0), "");
    file.Rewind();
    EXPECT_EQ(file.Lookup("//VREF", -1), "//VREF");
    EXPECT_EQ(file.Lookup("//VREF", 0), "120"); // the current line already is the marker
}

TEST(SpeedFile, MissingFileIsNotFound) {
    try {
        SpeedFile file("/nonexistent/speeds9.txt");
        FAIL();
    } catch (const UserError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

namespace {

class Speeds : public ::testing::Test, public vantrel::testing::RouteFixture {
protected:
    void Weights(const std::string& takeoff, const std::string& landing) {
        plan.SetText(FieldId::Edit25, takeoff);
        plan.SetText(FieldId::Edit26, landing);
    }
    void Calc() {
        plan.Guarded([&] { plan.CalcSpeedsInCurrentMode(); });
    }
};

} // namespace

TEST_F(Speeds, FieldsComeFromTheirBlocksAndRows) {
    Weights("48000", "48000");
    Calc();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(T(FieldId::Label95), "Gross weight: PLAN");
    EXPECT_EQ(T(FieldId::Edit37), "AV1:1");
    EXPECT_EQ(T(FieldId::Edit38), "AVR:1");
    EXPECT_EQ(T(FieldId::Edit39), "AV2:1");
    EXPECT_EQ(T(FieldId::Edit40), "TOVFS:1");
    EXPECT_EQ(T(FieldId::Edit41), "TOTGT:1");
    // Flaps 45 by default.
    EXPECT_EQ(T(FieldId::Edit42), "VREF45:0");
    EXPECT_EQ(T(FieldId::Edit43), "VGA45:0");
    EXPECT_EQ(T(FieldId::Edit44), "VFS45:0");
    EXPECT_EQ(T(FieldId::Edit45), "TGT45:0");
    Weights("25000", "25000");
    Calc();
    EXPECT_EQ(T(FieldId::Edit37), "AV1:19");
    EXPECT_EQ(T(FieldId::Edit42), "VREF45:20");
}

TEST_F(Speeds, TableFollowsPressureAltitudeAndTemperature) {
    Weights("40000", "40000");
    plan.SetText(FieldId::Edit47, "4999");
    plan.SetPosition(FieldId::ScrollBar1, 33); // runs the speeds itself
    EXPECT_EQ(T(FieldId::Edit37), "CV1:9");
    EXPECT_EQ(T(FieldId::Edit39), "CV2:9");
    plan.SetText(FieldId::Edit47, "999");
    plan.SetPosition(FieldId::ScrollBar1, 44);
    EXPECT_EQ(T(FieldId::Edit38), "BVR:9");
    plan.SetPosition(FieldId::ScrollBar1, 43);
    EXPECT_EQ(T(FieldId::Edit38), "AVR:9");
    EXPECT_EQ(T(FieldId::Edit41), "TOTGT:9"); // target and final segment serve every table
}

TEST_F(Speeds, FlapsChooseTheLandingFile) {
    Weights("40000", "40000");
    plan.SetItemIndex(FieldId::rg2, 0);
    EXPECT_EQ(T(FieldId::Edit42), "VREF22:8");
    EXPECT_EQ(T(FieldId::Edit45), "TGT22:8");
    plan.SetItemIndex(FieldId::rg2, 1);
    EXPECT_EQ(T(FieldId::Edit42), "VREF45:8");
}

TEST_F(Speeds, GoAroundBlockIsReadOnBelowTheReferenceBlock) {
    Write("speeds/speeds45.txt",
          vantrel::testing::SpeedBlock("VGA9", 21) + vantrel::testing::SpeedBlock("VREF", 21) +
              vantrel::testing::SpeedBlock("VFS", 21) + vantrel::testing::SpeedBlock("TGT", 21));
    Weights("40000", "40000");
    Calc();
    EXPECT_EQ(T(FieldId::Edit42), "VREF:8");
    EXPECT_EQ(T(FieldId::Edit43), ""); // above VREF: not found reading on
    EXPECT_EQ(T(FieldId::Edit44), "VFS:8");
}

TEST_F(Speeds, KilogramWeightsAreRoundedPounds) {
    UseKilograms();
    Weights("21772", "21772"); // 47,999.04 lb -> 47,999
    Calc();
    EXPECT_EQ(T(FieldId::Edit37), "AV1:1");
    EXPECT_EQ(T(FieldId::Edit42), "VREF45:0");
    Weights("21364", "12700"); // 47,099.6 -> 47,100: row 1; 27,998.7 -> 27,999: row 20
    Calc();
    EXPECT_EQ(T(FieldId::Edit37), "AV1:1");
    EXPECT_EQ(T(FieldId::Edit42), "VREF45:20");
}

TEST_F(Speeds, ActualModeUsesTheGrossWeightForBoth) {
    Weights("48000", "30000");
    plan.SetText(FieldId::Edit48, "41500");
    std::string basis;
    int written = 0;
    plan.onSpeedsBasis = [&](const std::string& b) { basis = b; };
    plan.onSpeedsWritten = [&] { ++written; };
    plan.values.ActualMode = true;
    Calc();
    EXPECT_EQ(T(FieldId::Label95), "Gross weight: ACT (41500)");
    EXPECT_EQ(basis, "ACT");
    EXPECT_EQ(written, 1);
    EXPECT_EQ(T(FieldId::Edit37), "AV1:7"); // 42,400 -> 42,000
    EXPECT_EQ(T(FieldId::Edit42), "VREF45:6");
}

TEST_F(Speeds, ActualWeightNotYetKnownStopsAfterTheLabel) {
    Weights("48000", "48000");
    Calc();
    plan.values.ActualMode = true;
    Weights("40000", "40000");
    Calc();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'=====' is not a valid integer value");
    EXPECT_EQ(T(FieldId::Label95), "Gross weight: ACT (=====)");
    EXPECT_EQ(T(FieldId::Edit37), "AV1:1");
}

TEST_F(Speeds, MissingLandingFileKeepsTheLandingFields) {
    Weights("48000", "48000");
    Calc();
    std::filesystem::remove(dir / "speeds/speeds45.txt");
    int written = 0;
    plan.onSpeedsWritten = [&] { ++written; };
    Weights("40000", "40000");
    Calc();
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.back(), "File not found");
    EXPECT_EQ(T(FieldId::Edit37), "AV1:9"); // take-off written before
    EXPECT_EQ(T(FieldId::Edit42), "VREF45:0");
    EXPECT_EQ(written, 0);
    // The files are read afresh: back in place, the next computation finds it.
    Write("speeds/speeds45.txt", vantrel::testing::SpeedBlock("VREF", 21, "NEW"));
    Calc();
    EXPECT_EQ(T(FieldId::Edit42), "NEW:8");
}
