// The fuel panel window: painted from the board, clicks handed to the cockpit's fuel panel,
// modal while the panel is open, placed from the settings.
#include "app_fixture.h"
#include "form5.h"

#include "cockpit/control_board.h"
#include "cockpit/fuel_panel.h"
#include "cockpit/sound_cues.h"
#include "core/convert.h"
#include "core/rounding.h"
#include "ipc/ipc_client.h"

#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using vantrel::FuelPanel;

struct SilentWave : vantrel::WaveOutput {
    void Play(const std::string&, bool) override {}
    void Stop() override {}
};

// A fuel panel whose simulator takes every step: the data load hands back what was asked.
struct PanelBench : AppFixture {
    vantrel::VirtualClock clock{0};
    vantrel::VirtualTimers timers{clock};
    SilentWave wave;
    vantrel::TWaveSound player{wave};
    bool soundOn = true;
    vantrel::HandlerQueue handlers;
    vantrel::SoundCues cues{player, clock, ctx.programDir, soundOn, handlers};
    vantrel::ControlBoard board;
    vantrel::LinkData data;
    vantrel::IpcClient link; // not open: the writes fail, the data load below fills the tanks
    std::unique_ptr<vantrel::CockpitTimer> monitor = timers.CreateTimer(10'000, true);
    std::function<void()> duringStep;
    std::unique_ptr<FuelPanel> panel;

    PanelBench() : AppFixture(false) {
        board.Define("Panel3", {"UIPC", vantrel::colors::Lime, true, true});
        board.Define("Form5.lbfuel", {"5000 lb", vantrel::colors::Silver, true, true});
        data.fuelWeightRaw = 1715;
        data.leftCapacityGal = data.rightCapacityGal = 1000;
        data.leftCapacityLb = data.rightCapacityLb = 6699;
        data.leftFuelLb = data.rightFuelLb = 800;
        panel = std::make_unique<FuelPanel>(plan, link, data, board, cues, clock, *monitor,
                                            vantrel::FuelPanelHooks{[this]() -> vantrel::Task<bool> {
                                                                        TakeFuel();
                                                                        co_return true;
                                                                    },
                                                                    [this]() -> vantrel::Task<> {
                                                                        if (duringStep) duringStep();
                                                                        co_return;
                                                                    },
                                                                    [this] { ++beeps; }},
                                            handlers);
    }
    void TakeFuel() {
        data.leftFuelLb += 15;
        data.rightFuelLb += 15;
        board.SetCaption("Form5.lbfuel",
                         vantrel::IntToStr(vantrel::RoundHalfEven(data.leftFuelLb + data.rightFuelLb)) +
                             " lb");
    }
};

QLabel* Part(TForm5& form, const char* name) {
    return form.findChild<QLabel*>(name);
}

TEST(Form5, PaintsTheBoardAndHandsClicksToTheFuelPanel) {
    PanelBench b;
    b.plan.SetText(vantrel::FieldId::Edit29, "1700");
    TForm5 form(b.ctx);
    form.Attach(*b.panel, b.board);
    b.board.onChanged = [&form](const std::string& name) { form.ControlChanged(name); };
    EXPECT_EQ(form.windowTitle(), "ERJ-145 Fuel Panel");
    EXPECT_EQ(Part(form, "Image2")->toolTip(), "Refuel Switch");
    EXPECT_FALSE(Part(form, "Image1")->pixmap().isNull());
    form.show();
    EXPECT_EQ(Part(form, "lbfuel")->text(), "5000 lb");
    const QImage openValve = Part(form, "Image3")->pixmap().toImage();
    vantrel::test::MouseClick(Part(form, "Image3"));
    EXPECT_EQ(Part(form, "Label1")->text(), "CLSD");
    EXPECT_NE(Part(form, "Image3")->pixmap().toImage(), openValve);
    vantrel::test::MouseClick(Part(form, "Image4"));
    EXPECT_EQ(Part(form, "Label2")->text(), "CLSD");

    // Mid-refuel: the switch on, the quantity rising.
    int steps = 0;
    QImage switchOff = Part(form, "Image2")->pixmap().toImage();
    b.duringStep = [&] {
        if (!b.panel->Refuelling() || ++steps != 3) return;
        EXPECT_EQ(Part(form, "lbfuel")->text(), "1690 lb");
        EXPECT_NE(Part(form, "Image2")->pixmap().toImage(), switchOff);
        vantrel::test::SaveShot(&form, "form5-mid-refuel");
    };
    vantrel::test::MouseClick(Part(form, "Image2"));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(Part(form, "Label1")->text(), "");
    EXPECT_EQ(Part(form, "Image2")->pixmap().toImage(), switchOff);
    form.close();
    vantrel::test::SaveShot(&form, "form5-idle");
}

TEST(Form5, ShowsModallyWhileThePanelIsOpenAndTakesItsStoredPlace) {
    PanelBench b;
    b.plan.values.windowPositions.Left5 = 123;
    b.plan.values.windowPositions.Top5 = vantrel::WindowPositions::kNone;
    TForm5 form(b.ctx);
    EXPECT_EQ(form.x(), 123);
    form.Attach(*b.panel, b.board);
    b.board.onChanged = [&form](const std::string& name) { form.ControlChanged(name); };
    b.plan.SetText(vantrel::FieldId::Edit29, "5200");
    b.plan.SetText(vantrel::FieldId::Edit33, "12000");
    bool wasModal = false;
    QTimer::singleShot(0, &form, [&] {
        wasModal = form.isVisible() && form.isModal();
        EXPECT_EQ(Part(form, "lbselected")->text(), "5200 lb");
        form.close();
    });
    b.panel->Button2Click(); // returns when the window closed
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(b.panel->Shown());
    // Hidden by the link lamp's "off" action.
    QTimer::singleShot(0, &form, [&] { b.panel->Close(); });
    b.panel->Button2Click();
    EXPECT_FALSE(form.isVisible());
}

} // namespace
