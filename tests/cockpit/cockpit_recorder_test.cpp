// The recorder and the fuel panel inside the cockpit: the link window's data load drives the
// flight phases and Edit30, Timer2 writes the log, the fuel panel's loop runs the data load
// and the lamp's "off" hides the panel.
#include "cockpit_rig.h"
#include "cockpit_test_support.h"

#include "cockpit/flight_log.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(CockpitRecorder, DataLoadsDriveTheRecorderAndTheFuelPanel) {
    test::CockpitRig rig;
    test::TempProgramDir dir;
    rig.cockpit =
        std::make_unique<Cockpit>(rig.plan, rig.seams, dir.Path(),
                                  std::make_unique<PosixTransport>(rig.dir.Path()), test::FastTimings());
    Cockpit& c = *rig.cockpit;
    c.Start();
    auto put = [&](FieldId id, const char* text) { rig.plan.Guarded([&] { rig.plan.SetText(id, text); }); };
    put(FieldId::Edit1, "EDDH");
    put(FieldId::Edit2, "EHAM");
    auto setGround = [&](std::uint16_t g) {
        std::lock_guard<std::mutex> hold(rig.server->Lock());
        rig.Space().SetU16(offsets::kOnGround.address, g);
    };
    auto setLevels = [&](std::uint32_t level) {
        std::lock_guard<std::mutex> hold(rig.server->Lock());
        rig.Space().SetU32(offsets::kLeftMainLevel.address, level);
        rig.Space().SetU32(offsets::kRightMainLevel.address, level);
    };
    rig.Link();
    rig.Advance(10'000); // the first data load, on the ground
    ASSERT_TRUE(c.linkWindow.linked);
    EXPECT_EQ(c.recorder.Phase(), 0);
    EXPECT_EQ(rig.plan.Color(FieldId::Edit30), colors::Yellow);
    const std::string towBefore = rig.plan.Text(FieldId::Edit48);

    setGround(0);
    rig.Advance(10'000);
    EXPECT_EQ(c.recorder.Phase(), 1);
    EXPECT_EQ(rig.plan.Text(FieldId::Edit30), "0");
    EXPECT_EQ(rig.plan.Color(FieldId::Edit30), colors::Lime);
    EXPECT_EQ(c.recorder.Pending().takeoffWeight, towBefore);
    setLevels(offsets::kTankFull / 2); // 1,000 lb burnt from each tank
    rig.Advance(10'000);
    EXPECT_EQ(rig.plan.Text(FieldId::Edit30), "2000");
    rig.Advance(20 * 60'000);
    setGround(1);
    rig.Advance(10'000);
    EXPECT_EQ(c.recorder.Phase(), 2);
    EXPECT_EQ(rig.plan.Color(FieldId::Edit30), colors::Yellow);
    EXPECT_TRUE(c.linkWindow.Timer2->Enabled());
    rig.Advance(60'000);
    const std::string log = test::ReadAll(dir.Path() + kFlightLogFile);
    EXPECT_NE(log.find(";EDDH;"), std::string::npos) << log;
    EXPECT_NE(log.find(";00:20;" + towBefore + ";"), std::string::npos) << log;
    EXPECT_NE(log.find(";2000;"), std::string::npos) << log;

    // A refuel through the link window's data load: 1,000 lb a tank up to 3,000 lb in all.
    put(FieldId::Edit29, "3000");
    c.fuelPanel.Image3Click();
    c.fuelPanel.Image4Click();
    c.fuelPanel.Image2Click();
    EXPECT_GT(c.data.leftFuelLb + c.data.rightFuelLb + 10, 2999);
    EXPECT_LE(c.data.leftFuelLb, 1500.001);
    EXPECT_TRUE(c.linkWindow.Timer1->Enabled());
    EXPECT_EQ(c.controls.Get("Panel3").color, colors::Lime); // green, then the data load's lime
    EXPECT_EQ(c.controls.Get("Form5.lbfuel").caption,
              std::to_string(std::lround(c.data.leftFuelLb + c.data.rightFuelLb)) + " lb");

    // The lamp's "off" hides the panel.
    put(FieldId::Edit33, "12000");
    c.fuelPanel.Button2Click();
    EXPECT_TRUE(c.fuelPanel.Shown());
    c.Panel3MouseDown(MouseButton::Right);
    EXPECT_FALSE(c.fuelPanel.Shown());
}

} // namespace
} // namespace vantrel
