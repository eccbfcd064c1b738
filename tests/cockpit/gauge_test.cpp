// The speeds gauge: its mode cycle with the flaps, its agreement with the speeds, its place.
#include "cockpit/gauge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

struct RecordingOutput : WaveOutput {
    std::vector<std::string> plays;
    void Play(const std::string& path, bool) override { plays.push_back(path); }
    void Stop() override {}
};

// A plan on the shipped speed files with a gauge created beside a main window at (100, 50).
class GaugeTest : public ::testing::Test {
protected:
    GaugeTest() {
        plan.paths.ProgramDir = std::string(VANTREL_OUT_DIR) + "/";
        plan.onError = [this](const std::string& e) { errors.push_back(e); };
        controls.Define("Button8", {"Mode", colors::Silver, false, true});
        plan.CalcSpeedsInCurrentMode();
    }
    const std::string& Caption(const std::string& name) const {
        return controls.Get("Form4." + name).caption;
    }
    // The three shown speeds equal the three fields.
    void ExpectShows(FieldId a, FieldId b, FieldId c) const {
        EXPECT_EQ(Caption("Label2"), plan.Text(a));
        EXPECT_EQ(Caption("Label3"), plan.Text(b));
        EXPECT_EQ(Caption("Label4"), plan.Text(c));
        EXPECT_FALSE(plan.Text(a).empty());
    }
    int SwitchCues() const {
        int n = 0;
        for (const std::string& p : output.plays)
            n += p.find("switch.wav") != std::string::npos;
        return n;
    }

    FlightPlan plan;
    ControlBoard controls;
    RecordingOutput output;
    TWaveSound player{output};
    VirtualClock clock{0};
    bool soundOn = true;
    HandlerQueue handlers;
    SoundCues cues{player, clock, "/p/", soundOn, handlers};
    Gauge gauge{plan, controls, cues};
    std::vector<std::string> errors;
};

TEST_F(GaugeTest, ModeCycleSwitchesTheFlapsAndTheSpeedNames) {
    gauge.FormCreate(100, 50, 800);
    EXPECT_EQ(Caption("label7"), "T/O9");
    ExpectShows(FieldId::Edit37, FieldId::Edit38, FieldId::Edit39);
    ASSERT_EQ(plan.ItemIndex(FieldId::rg2), 1);
    struct Step {
        const char* caption;
        const char* names[3];
        int flaps;
        FieldId fields[3];
        int switchCues;
    } steps[] = {
        {"LDG22", {"VREF", "VGA9", "TGT"}, 0, {FieldId::Edit42, FieldId::Edit43, FieldId::Edit45}, 0},
        {"LDG45", {"VREF", "VGA9", "TGT"}, 1, {FieldId::Edit42, FieldId::Edit43, FieldId::Edit45}, 0},
        {"T/O9", {"V1", "VR", "V2"}, 1, {FieldId::Edit37, FieldId::Edit38, FieldId::Edit39}, 1},
    };
    std::string flaps22Vref;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.caption);
        gauge.label7Click();
        EXPECT_EQ(Caption("label7"), s.caption);
        EXPECT_EQ(Caption("Label1"), s.names[0]);
        EXPECT_EQ(Caption("Label5"), s.names[1]);
        EXPECT_EQ(Caption("Label6"), s.names[2]);
        EXPECT_EQ(plan.ItemIndex(FieldId::rg2), s.flaps);
        ExpectShows(s.fields[0], s.fields[1], s.fields[2]);
        EXPECT_EQ(SwitchCues(), s.switchCues);
        if (s.flaps == 0) flaps22Vref = plan.Text(FieldId::Edit42);
    }
    EXPECT_NE(flaps22Vref, plan.Text(FieldId::Edit42)); // the landing file followed the flaps
    EXPECT_TRUE(errors.empty());

    // Any other caption changes nothing.
    controls.SetCaption("Form4.label7", "EST");
    gauge.label7Click();
    EXPECT_EQ(Caption("label7"), "EST");
}

TEST_F(GaugeTest, AgreesWithTheSpeedsAfterEveryComputation) {
    // Before the gauge exists the plan does not write into it.
    plan.UserSetPosition(FieldId::ScrollBar1, 40);
    EXPECT_EQ(Caption("Label2"), "");
    gauge.FormCreate(0, 0, 500);

    struct Change {
        const char* what;
        std::function<void()> run;
    } changes[] = {
        {"temperature", [&] { plan.UserSetPosition(FieldId::ScrollBar1, -20); }},
        {"pressure", [&] { plan.UserSetPosition(FieldId::ScrollBar2, 960); }},
        {"take-off weight", [&] { plan.UserSetText(FieldId::Edit13, "30"); }},
        {"flaps from the main window",
         [&] { plan.UserSelect(FieldId::rg2, 1 - plan.ItemIndex(FieldId::rg2)); }},
    };
    for (bool landing : {false, true}) {
        if (landing) gauge.label7Click(); // LDG22
        for (const Change& c : changes) {
            SCOPED_TRACE(std::string(c.what) + (landing ? " landing" : " take-off"));
            c.run();
            if (landing)
                ExpectShows(FieldId::Edit42, FieldId::Edit43, FieldId::Edit45);
            else
                ExpectShows(FieldId::Edit37, FieldId::Edit38, FieldId::Edit39);
        }
    }
    // The main window's flaps flip a landing caption: the last change above went to 45.
    EXPECT_EQ(plan.ItemIndex(FieldId::rg2), 1);
    EXPECT_EQ(Caption("label7"), "LDG45");
    plan.UserSelect(FieldId::rg2, 0);
    EXPECT_EQ(Caption("label7"), "LDG22");
    ASSERT_TRUE(errors.empty()) << errors[0];

    // Actual mode through the gauge's Panel13, only while the Mode button is enabled.
    plan.SetText(FieldId::Edit48, "41500");
    gauge.Panel13Click();
    EXPECT_FALSE(plan.values.ActualMode);
    EXPECT_EQ(Caption("Panel13"), "PLAN");
    controls.SetEnabled("Button8", true);
    gauge.Panel13Click();
    EXPECT_TRUE(plan.values.ActualMode);
    EXPECT_EQ(Caption("Panel13"), "ACT");
    ExpectShows(FieldId::Edit42, FieldId::Edit43, FieldId::Edit45);
    gauge.label7Click(); // LDG45
    gauge.label7Click(); // T/O9
    ASSERT_EQ(Caption("label7"), "T/O9");
    plan.UserSetText(FieldId::Edit48, "38000");
    plan.CalcSpeedsInCurrentMode();
    ExpectShows(FieldId::Edit37, FieldId::Edit38, FieldId::Edit39);
    gauge.Panel13Click();
    EXPECT_EQ(Caption("Panel13"), "PLAN");
}

TEST_F(GaugeTest, PlaceFromTheSettingsOrBesideTheMainWindow) {
    struct Case {
        int storedLeft, storedTop, mainLeft, mainTop, mainWidth, left, top;
    } cases[] = {{-999, -999, 100, 50, 800, 829, 215},
                 {-999, -999, 0, 0, 61, -10, 165},
                 {300, -999, 100, 50, 800, 300, 215},
                 {-999, 40, 100, 50, 800, 829, 40},
                 {-5, 0, 100, 50, 800, -5, 0}};
    for (const Case& c : cases) {
        plan.values.windowPositions.Left4 = c.storedLeft;
        plan.values.windowPositions.Top4 = c.storedTop;
        Gauge g(plan, controls, cues);
        g.FormCreate(c.mainLeft, c.mainTop, c.mainWidth);
        EXPECT_EQ(g.Left(), c.left) << c.storedLeft << "," << c.storedTop;
        EXPECT_EQ(g.Top(), c.top) << c.storedLeft << "," << c.storedTop;
        EXPECT_TRUE(g.Visible());
    }
}

TEST_F(GaugeTest, Panel1TogglesTheMainWindowOrHidesTheGauge) {
    gauge.FormCreate(0, 0, 500);
    std::vector<bool> shows;
    gauge.showMainWindow = [&](bool show) { shows.push_back(show); };
    gauge.Panel1MouseDown(MouseButton::Left);
    EXPECT_FALSE(gauge.MainWindowVisible());
    gauge.Panel1MouseDown(MouseButton::Middle);
    gauge.Panel1MouseDown(MouseButton::Left);
    EXPECT_TRUE(gauge.MainWindowVisible());
    EXPECT_EQ(shows, (std::vector<bool>{false, true}));
    EXPECT_TRUE(gauge.Visible());
    gauge.Panel1MouseDown(MouseButton::Right);
    EXPECT_FALSE(gauge.Visible());
    EXPECT_TRUE(gauge.MainWindowVisible());
}

} // namespace
} // namespace vantrel
