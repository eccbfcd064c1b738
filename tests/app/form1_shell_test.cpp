// The main window's shell commands: help, exit and the close sequence, the fuel panel's
// preselected amount, the gauge toggle and the commands handed to other parts.
#include "app_fixture.h"
#include "form1.h"
#include "form4.h"
#include "form5.h"
#include "panel_widget.h"

#include "core/convert.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include <gtest/gtest.h>

#include <algorithm>

using vantrel::FieldId;

namespace {

struct ShellFixture : ::testing::Test {
    AppFixture f;
    std::unique_ptr<TForm1> form;
    void SetUp() override {
        form = std::make_unique<TForm1>(f.ctx);
        f.errors.clear();
        f.questions.clear();
        f.switchCues = 0;
    }
    QPushButton* Button(const char* name) const { return form->findChild<QPushButton*>(QLatin1String(name)); }
};

} // namespace

TEST_F(ShellFixture, HelpOpensTheManualOrSaysWhereItIs) {
    const std::string manual = f.ctx.programDir + "help/manual.pdf";
    const std::string shown = QDir::toNativeSeparators(QString::fromStdString(manual)).toStdString();
    QDir(QString::fromStdString(f.ctx.programDir)).mkpath("help");
    // With the desktop's own services: the offscreen platform has no program to open documents.
    const auto desktopOpener = f.ctx.dialogs.openDocument;
    struct Case {
        bool manualThere;
        bool desktopServices;
        std::size_t opened, errors, messages;
        const char* told;
    };
    const Case cases[] = {
        {true, false, 1, 0, 0, nullptr},
        {true, true, 0, 0, 1, "No program on this computer opens the manual"},
        {false, false, 0, 1, 0, "The manual was not found: "},
    };
    for (const Case& c : cases) {
        QFile file(QString::fromStdString(manual));
        if (c.manualThere) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.close();
        } else {
            file.remove();
        }
        f.ctx.dialogs.openDocument = c.desktopServices ? nullptr : desktopOpener;
        f.opened.clear();
        f.errors.clear();
        f.messages.clear();
        Click(form->Panel("Panel4"));
        EXPECT_EQ(f.opened.size(), c.opened);
        ASSERT_EQ(f.errors.size(), c.errors);
        ASSERT_EQ(f.messages.size(), c.messages);
        if (!c.told) continue;
        const std::string text = c.errors ? f.errors[0] : f.messages[0];
        EXPECT_NE(text.find(c.told), std::string::npos) << text;
        EXPECT_NE(text.find(shown), std::string::npos) << text;
    }
}

TEST_F(ShellFixture, ExitSavesTheSettingsWithTheWindowsPlaceAndCloses) {
    bool closed = false;
    QObject::connect(form.get(), &TForm1::closed, [&closed] { closed = true; });
    form->move(123, 45);
    form->show();
    Click(form->Panel("Panel10"));
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(f.plan.values.windowPositions.Left1, 123);
    EXPECT_EQ(f.plan.values.windowPositions.Top1, 45);
    QFile settings(QString::fromStdString(f.ctx.programDir + "vn-erj145.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray text = settings.readAll();
    EXPECT_TRUE(text.contains("Left1=123")) << text.toStdString();
    EXPECT_TRUE(f.errors.empty());
}

TEST_F(ShellFixture, SettingsThatCannotBeWrittenKeepTheWindowOpen) {
    f.plan.SetText(FieldId::Edit22, ""); // extra fuel cleared: it cannot be stored as a number
    bool closed = false;
    QObject::connect(form.get(), &TForm1::closed, [&closed] { closed = true; });
    form->show();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(closed);
    EXPECT_EQ(f.errors, std::vector<std::string>{"'' is not a valid integer value"});

    f.plan.SetText(FieldId::Edit22, "500"); // corrected, the window closes
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(closed);
}

TEST_F(ShellFixture, RefuelPreselectsTheSmallerOfRequiredFuelAndCapacity) {
    TestCockpit cockpit(f);
    TForm5 fuelPanel(f.ctx);
    f.ctx.windows.Form5 = &fuelPanel;
    fuelPanel.Attach(cockpit.cockpit->fuelPanel, cockpit.cockpit->controls);
    QObject::connect(cockpit.relay.get(), &vantrel::ControlSignals::changed, &fuelPanel,
                     [&](const QString& name) { fuelPanel.ControlChanged(name.toStdString()); });
    auto* label = fuelPanel.findChild<QLabel*>("lbselected");
    ASSERT_NE(label, nullptr);
    f.plan.SetText(FieldId::Edit33, "11398");
    int shown = 0;
    auto closeWhenShown = [&] {
        QTimer::singleShot(0, &fuelPanel, [&] {
            shown += fuelPanel.isVisible() ? 1 : 0;
            fuelPanel.reject();
        });
    };
    struct Case {
        const char* required;
        bool kilograms;
        const char* selected;
    } cases[] = {{"12000", false, "11398 lb"}, {"9500", false, "9500 lb"}, {"9500", true, "9500 kg"}};
    for (const Case& c : cases) {
        f.plan.SetText(FieldId::Edit29, c.required);
        f.plan.values.WeightsInKg = c.kilograms;
        cockpit.wave.calls.clear();
        closeWhenShown();
        form->Button2Click();
        EXPECT_EQ(label->text(), c.selected);
        // The button's click, then the panel's own as it shows.
        EXPECT_EQ(std::count(cockpit.wave.calls.begin(), cockpit.wave.calls.end(), "switch.wav"), 2);
        EXPECT_FALSE(cockpit.cockpit->fuelPanel.Shown()); // closing the window closes the panel
    }
    EXPECT_EQ(shown, 3);
}

TEST_F(ShellFixture, RefuelStartsDisabledAndEnablesWithTheLink) {
    for (const char* name : {"Button2", "Button3", "Button4", "Button7", "Button8"})
        EXPECT_FALSE(Button(name)->isEnabled()) << name;
    form->SetLinkButtonsEnabled(true);
    for (const char* name : {"Button2", "Button3", "Button4", "Button7", "Button8"})
        EXPECT_TRUE(Button(name)->isEnabled()) << name;
}

TEST_F(ShellFixture, GaugeTogglesTheGauge) {
    TForm4 gauge(f.ctx);
    f.ctx.windows.Form4 = &gauge;
    gauge.show();
    Click(form->Panel("Panel9"));
    EXPECT_FALSE(gauge.isVisible());
    Click(form->Panel("Panel9"));
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(f.switchCues, 2);
}

TEST(LinkControls, SoundSwitchColoursItsPanelAndStartsOrStopsTheLoop) {
    AppFixture f;
    TestCockpit cockpit(f);
    TForm1 form(f.ctx);
    const bool wasOn = f.plan.values.SoundOn;
    std::vector<std::string>& calls = cockpit.wave.calls;
    for (bool on : {!wasOn, wasOn}) {
        calls.clear();
        Click(form.Panel("Panel5"));
        EXPECT_EQ(f.plan.values.SoundOn, on);
        EXPECT_EQ(form.Panel("Panel5")->Color(), on ? vantrel::colors::Lime : vantrel::colors::Red);
        // The click first, then the loop starts or the player falls silent.
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[1], "switch.wav");
        EXPECT_EQ(calls.back(), on ? "bkgnd.wav loop" : "stop");
    }
}

TEST_F(ShellFixture, HiddenWeatherButtonsStayHidden) {
    f.ctx.WeatherButtonsHidden = true;
    ASSERT_TRUE(f.ctx.HideWeatherButtons);
    f.ctx.HideWeatherButtons();
    for (const char* name : {"Button5", "Button511", "Button11"})
        EXPECT_TRUE(Button(name)->isHidden()) << name;
}

TEST_F(ShellFixture, PrintReachesItsHook) {
    std::vector<std::string> calls;
    f.ctx.hooks.printPlan = [&] { calls.push_back("print"); };
    Button("Button51")->click();
    EXPECT_EQ(calls, (std::vector<std::string>{"print"}));
}

// The link's controls show the cockpit's state and hand their clicks to it.
TEST(LinkControls, ShowTheCockpitsStateAndForwardTheirClicks) {
    AppFixture f;
    TestCockpit rig(f);
    TForm1 form(f.ctx);
    vantrel::Cockpit& cockpit = *rig.cockpit;
    auto button = [&form](const char* name) { return form.findChild<QPushButton*>(QLatin1String(name)); };
    // Unlinked: red lamps, the link's buttons disabled.
    EXPECT_EQ(form.Panel("Panel2")->Color(), vantrel::colors::Red);
    EXPECT_EQ(form.Panel("Panel3")->Color(), vantrel::colors::Red);
    for (const char* name : vantrel::LinkWindow::kLinkButtons)
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    // What the cockpit shows, the window paints.
    cockpit.controls.SetColor("Panel2", vantrel::colors::Lime);
    for (const char* name : vantrel::LinkWindow::kLinkButtons)
        cockpit.controls.SetEnabled(name, true);
    EXPECT_EQ(form.Panel("Panel2")->Color(), vantrel::colors::Lime);
    for (const char* name : vantrel::LinkWindow::kLinkButtons)
        EXPECT_TRUE(button(name)->isEnabled()) << name;

    // Set UTC and FS Wx click and try the exchange (the link is down: nothing changes).
    rig.wave.calls.clear();
    auto clicks = [&rig] { return std::count(rig.wave.calls.begin(), rig.wave.calls.end(), "switch.wav"); };
    button("Button3")->click();
    button("Button4")->click();
    EXPECT_EQ(clicks(), 2);
    // The lamp's left click steps the monitor's period, its right click switches the link off.
    cockpit.linkWindow.Timer1->SetInterval(10000);
    cockpit.linkWindow.Timer1->SetEnabled(true);
    Click(form.Panel("Panel3"), Qt::LeftButton);
    EXPECT_EQ(cockpit.linkWindow.Timer1->Interval(), 30000);
    EXPECT_EQ(form.Panel("Panel3")->text(), "30 s");
    cockpit.controls.SetColor("Panel3", vantrel::colors::Lime);
    Click(form.Panel("Panel3"), Qt::RightButton);
    EXPECT_FALSE(cockpit.linkWindow.Timer1->Enabled());
    EXPECT_EQ(form.Panel("Panel3")->Color(), vantrel::colors::Red);
    EXPECT_FALSE(button("Button3")->isEnabled());
    EXPECT_EQ(clicks(), 4);
}

TEST_F(ShellFixture, WeatherButtonsSpeakTheirAirportsReport) {
    std::vector<std::string> spoken;
    f.ctx.speak = [&spoken](const std::string& sentence) { spoken.push_back(sentence); };
    f.plan.SetText(FieldId::Edit2, "EDDM");
    // A report fetched a minute ago for the destination is used again, without a request.
    f.ctx.weather.cache[1] = {"EDDM", std::chrono::system_clock::now() - std::chrono::minutes(1),
                              "2026/12/08 15:50\nEDDM 081550Z 24015KT 9999 FEW012 12/09 Q1013\n"};
    Button("Button511")->click();
    ASSERT_EQ(spoken.size(), 1u);
    EXPECT_NE(spoken[0].find("knots"), std::string::npos) << spoken[0]; // the wind is read out
    // Nothing cached for the origin and no HTTP window: nothing is spoken, nothing breaks.
    Button("Button5")->click();
    EXPECT_EQ(spoken.size(), 1u);
}

TEST_F(ShellFixture, SaveAsksBeforeWritingTheAircraftFilesAndStoresTheSettingsAnyway) {
    f.answer = false;
    Button("Button9")->click();
    EXPECT_EQ(f.questions, std::vector<std::string>{"Are you sure you want to store flight data?"});
    EXPECT_EQ(f.captions.back(), "Vantrel Suite ERJ145LR");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(f.ctx.programDir + "vn-erj145.ini")));
    EXPECT_TRUE(f.errors.empty());
}

TEST_F(ShellFixture, ControlsCarryTheirCaptionsAndHints) {
    struct Expect {
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Expect buttons[] = {
        {"Button1", "Agent", "Ask agent for load"},       {"Button2", "Refuel/Defuel", "Open fuel panel"},
        {"Button3", "Set UTC", "Set FS time to UTC"},     {"Button4", "FS Wx", "Load OAT and QNH from FS"},
        {"Button6", "Clear", "Clear used fuel"},          {"Button7", "Alert", "Arm altitude alert"},
        {"Button8", "Mode", "Toggle actual/plan speeds"}, {"Button9", "Save", "Save data to AIRCRAFT.CFG"},
        {"Button10", "Log", "Show flight log"},           {"Button51", "Print", "Print ops flight plan"},
        {"Button5", "Origin", "Listen to weather"},       {"Button511", "Dest", "Listen to weather"},
        {"Button11", "Altn", "Listen to weather"}};
    for (const auto& e : buttons) {
        ASSERT_NE(Button(e.name), nullptr) << e.name;
        EXPECT_EQ(Button(e.name)->text(), e.caption);
        EXPECT_EQ(Button(e.name)->toolTip(), e.hint);
    }
    const Expect panels[] = {
        {"Panel2", "FS", nullptr},    {"Panel3", "UIPC", "L: Scan spd; R: off"},
        {"Panel4", "Help", nullptr},  {"Panel5", "Sound", nullptr},
        {"Panel7", "CFG", nullptr},   {"Panel9", "Gauge", "Show weather data"},
        {"Panel10", "Exit", nullptr}, {"Panel6", "5000", "L: Dec R: Inc alert altitude"}};
    for (const auto& e : panels) {
        ASSERT_NE(form->Panel(e.name), nullptr) << e.name;
        EXPECT_EQ(form->Panel(e.name)->text(), e.caption);
        if (e.hint) {
            EXPECT_EQ(form->Panel(e.name)->toolTip(), e.hint);
        }
    }
    EXPECT_NE(form->findChild<QWidget*>("Panel1"), nullptr);
    EXPECT_NE(form->findChild<QWidget*>("Panel8"), nullptr);
    EXPECT_EQ(form->windowTitle(), "Vantrel Suite ERJ-145 V2.1");
}

TEST_F(ShellFixture, KilogramModeRelabelsEveryWeightUnit) {
    f.plan.values.WeightsInKg = true;
    form->ApplyWeightUnit();
    int relabelled = 0;
    for (const QLabel* label : form->findChildren<QLabel*>()) {
        EXPECT_FALSE(label->text().startsWith("lbs")) << label->objectName().toStdString();
        if (label->text() == "kgs") ++relabelled;
    }
    EXPECT_EQ(relabelled, 24);
}
