#pragma once
// The cockpit as the program runs it: the toolkit's event loop, its timers, the link thread, a
// clock whose pauses end from timers, and real message boxes that the test answers. The link goes
// over the real posix transport to the real server on a thread of the test; the test can hold a
// send back as a hung simulator would.
#include "app/app_fixture.h"
#include "holding_transport.h"
#include "ipc/ipc_test_support.h"

#include "message_boxes.h"
#include "qt_cockpit_clock.h"
#include "qt_timer_source.h"

#include "cockpit/cockpit.h"
#include "cockpit/link_thread.h"
#include "ipc/offsets.h"
#include "ipc/simulator_window.h"
#include "planning/flight_plan.h"

#include "support/event_loop.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace vantrel::test {

// The program's clock, moved on by the test (a flight of half an hour in a moment).
class ShiftedClock : public QtCockpitClock {
public:
    LocalMs Now() const override { return QtCockpitClock::Now() + shift; }
    LocalMs shift = 0;
};

// Answers every message box that opens with its default button once `answerWhen` holds, and
// keeps the texts.
class BoxAnswerer {
public:
    BoxAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(10);
    }
    std::function<bool()> answerWhen;
    std::vector<std::string> texts;
    int open = 0;

private:
    void Answer() {
        open = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            ++open;
            if (answerWhen && !answerWhen()) continue;
            texts.push_back(box->text().toStdString());
            box->done(QMessageBox::Ok);
        }
    }
    QTimer timer_;
};

class LiveCockpit : public ::testing::Test {
protected:
    TempIpcDir ipcDir;
    std::unique_ptr<InProcessServer> server = std::make_unique<InProcessServer>(ipcDir.Path());
    QTemporaryDir programDir;
    FlightPlan plan;
    AppContext ctx;
    ShiftedClock clock;
    QtTimerSource timers;
    RecordingWave wave;
    int beeps = 0;
    std::unique_ptr<LinkThread> linkThread; // one per cockpit, as one per program
    HoldingTransport* transport = nullptr;
    std::function<bool(const std::string&)> lookUp = SimulatorWindowExists;
    BoxAnswerer boxes;
    CockpitSeams seams{clock,
                       timers,
                       wave,
                       {},
                       [this](const std::string& c) { return lookUp(c); },
                       {},
                       [this] { ++beeps; },
                       nullptr,
                       [this](std::function<void()> fn) { clock.Post(std::move(fn)); }};
    std::unique_ptr<Cockpit> cockpit;

    void SetUp() override {
        ctx.plan = &plan;
        plan.paths.ProgramDir = ProgramDir();
        plan.onError = [this](const std::string& text) { ShowError(ctx, text, nullptr); };
        ASSERT_NO_FATAL_FAILURE(MakeCockpit());
    }
    void TearDown() override {
        transport->Release();
        cockpit.reset();
    }

    // A cockpit as the program starts it, on a simulator at the stand with 2,000 lb of fuel.
    void MakeCockpit() {
        if (transport) transport->Release();
        cockpit.reset();
        linkThread =
            std::make_unique<LinkThread>([this](std::function<void()> fn) { clock.Post(std::move(fn)); });
        seams.linkRunner = linkThread.get();
        server->Serve(true);
        SetGround(1, 0);
        {
            std::lock_guard lock(server->Lock());
            OffsetSpace& s = server->Space();
            s.SetU16(offsets::kQnh.address, 1013 * 16);
            s.SetU16(offsets::kOutsideAirTemperature.address, 15 * 256);
            s.SetU16(offsets::kFuelWeight.address, 8 * 256);
            for (auto cap : {offsets::kLeftMainCapacity, offsets::kRightMainCapacity})
                s.SetU32(cap.address, 250);
        }
        SetFuel(1000, 1000);
        auto owned = std::make_unique<HoldingTransport>(ipcDir.Path());
        transport = owned.get();
        // Short sends, many of them: a hung exchange takes seconds, a sound one none.
        cockpit = std::make_unique<Cockpit>(plan, seams, ProgramDir(), std::move(owned),
                                            IpcTimings{300, 20, 10, 0});
        cockpit->Start();
    }

    // The controls as the windows forward them.
    void ClickSpd() { cockpit->PnatClick(); }
    void ClickRev() { cockpit->PnrevClick(); }
    void ClickAlert() { cockpit->Button7Click(); }
    void RightClickUipc() { cockpit->Panel3MouseDown(MouseButton::Right); }
    void Exit(std::function<void()> closed) { cockpit->Close(std::move(closed)); }

    std::string ProgramDir() const { return programDir.path().toStdString() + "/"; }
    LinkWindow& Window() { return cockpit->linkWindow; }
    std::uint32_t Color(const char* control) { return cockpit->controls.Get(control).color; }
    bool Settled() { return cockpit->handlers.Idle() && cockpit->handlers.Active() == 0; }

    void SetFuel(double leftLb, double rightLb) {
        std::lock_guard lock(server->Lock());
        server->Space().SetU32(offsets::kLeftMainLevel.address, TankLevelFor(leftLb, 8 * 256, 250));
        server->Space().SetU32(offsets::kRightMainLevel.address, TankLevelFor(rightLb, 8 * 256, 250));
    }
    // On the ground or not, at the speed in knots.
    void SetGround(int onGround, int knots) {
        std::lock_guard lock(server->Lock());
        server->Space().SetU16(offsets::kOnGround.address, std::uint16_t(onGround));
        server->Space().SetU32(offsets::kIndicatedAirspeed.address, std::uint32_t(knots * 128));
    }
    double ServerFuelLb() {
        std::lock_guard lock(server->Lock());
        const auto pounds = [&](offsets::Offset level) {
            return double(server->Space().GetU32(level.address)) / offsets::kTankFull * 8 * 250;
        };
        return pounds(offsets::kLeftMainLevel) + pounds(offsets::kRightMainLevel);
    }

    // The first tick comes from the monitor's own timer; later ones only when the test asks.
    void Link() {
        ASSERT_TRUE(RunUntil([&] { return Window().shownLinked == 1 && Settled(); }, 5000));
        Window().Timer1->SetInterval(3600 * 1000);
    }
    // A tick, run to its end.
    void Tick() {
        Window().Timer1Timer();
        ASSERT_TRUE(RunUntil([&] { return Settled(); }, 10000));
    }
    // A tick whose second send (the levers, after the load's read) hangs; `click` comes meanwhile.
    void ClickWhileTheLeversGo(const std::function<void()>& click) {
        transport->HoldAfter(1);
        Window().Timer1Timer();
        ASSERT_TRUE(RunUntil([&] { return transport->Holding(); }, 5000));
        click();
        RunEventsFor(200);
        transport->Release();
        ASSERT_TRUE(RunUntil([&] { return Settled(); }, 5000));
    }
    std::vector<std::string> LogLines() {
        std::ifstream in(ProgramDir() + "erj145.csv", std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    // Take-off now, landing `minutes` later by the program's clock (the landing's load not run).
    void FlyFor(int minutes) {
        SetGround(0, 140);
        Tick();
        clock.shift += minutes * 60'000LL;
        SetGround(1, 120);
    }
};

} // namespace vantrel::test
