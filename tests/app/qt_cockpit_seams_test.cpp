// The program's clock and timers: a paused handler goes on from the event loop, which keeps
// running meanwhile; the timers restart as the toolkit's do.
#include "app_context.h"
#include "cockpit/handler_queue.h"
#include "message_boxes.h"
#include "qt_cockpit_clock.h"
#include "qt_timer_source.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "support/event_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace vantrel;

namespace {

using test::RunEventsFor;

// Runs events until done() or two seconds have passed.
void RunEventsUntil(const std::function<bool()>& done) {
    test::RunUntil(done, 2000);
}

TEST(QtCockpitClock, APausedHandlerGoesOnFromTheEventLoopWhileTimersAndTheCallerRun) {
    QtCockpitClock clock;
    QtTimerSource timers;
    auto monitor = timers.CreateTimer(20, true);
    std::vector<std::string> order;
    bool paused = false;
    monitor->OnTimer = [&] {
        if (!paused) return;
        order.push_back("tick during the pause");
        monitor->SetEnabled(false);
    };
    int repaints = 0;
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] { ++repaints; });
    repaint.start(10);

    QElapsedTimer elapsed;
    elapsed.start();
    auto handler = [&]() -> Task<> {
        paused = true;
        order.push_back("pause");
        co_await clock.Sleep(200);
        paused = false;
        order.push_back("resumed");
    };
    Task<> running = handler();
    order.push_back("caller goes on");
    RunEventsUntil([&] { return running.Done(); });
    EXPECT_GE(elapsed.elapsed(), 200);
    EXPECT_GE(repaints, 2) << "other timers (painting, speech) go on during the pause";
    EXPECT_EQ(order,
              (std::vector<std::string>{"pause", "caller goes on", "tick during the pause", "resumed"}));
}

TEST(QtCockpitClock, WorkPostedFromAnotherThreadRunsOnTheWindowThread) {
    QtCockpitClock clock;
    std::thread::id ranOn;
    std::thread poster([&] { clock.Post([&] { ranOn = std::this_thread::get_id(); }); });
    poster.join();
    RunEventsUntil([&] { return ranOn != std::thread::id(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(QtCockpitClock, NowIsTheLocalWallClock) {
    QtCockpitClock clock;
    const QDateTime now = QDateTime::currentDateTime();
    const CivilTime c = ToCivil(clock.Now());
    EXPECT_EQ(c.year, now.date().year());
    EXPECT_EQ(c.day, now.date().day());
    EXPECT_EQ(c.hour, now.time().hour());
    EXPECT_NEAR(c.minute * 60 + c.second, now.time().minute() * 60 + now.time().second(), 2);
}

TEST(QtTimerSource, TimersRestartLikeTheToolkitsAndAStoppedOneKeepsItsPeriod) {
    QtTimerSource timers;
    // Each timer is acted on at 150 ms and checked at 280 ms; a countdown that had not been
    // restarted would have ended at 200 ms.
    struct Case {
        const char* what;
        int interval;
        bool enabled;
        std::function<void(CockpitTimer&)> at150ms;
        int minTicks, maxTicks;
    };
    const std::vector<Case> cases = {
        {"runs every period", 50, true, [](CockpitTimer&) {}, 2, 6},
        {"created disabled never runs", 50, false, [](CockpitTimer&) {}, 0, 0},
        {"a new period restarts the countdown", 200, true, [](CockpitTimer& t) { t.SetInterval(200); }, 0, 0},
        {"enabling again restarts the countdown", 200, true, [](CockpitTimer& t) { t.SetEnabled(true); }, 0,
         0},
        {"a period of 0 never runs", 0, true, [](CockpitTimer&) {}, 0, 0},
        {"disabling stops it", 20, true, [](CockpitTimer& t) { t.SetEnabled(false); }, 1, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto timer = timers.CreateTimer(c.interval, c.enabled);
        int ticks = 0;
        timer->OnTimer = [&] { ++ticks; };
        RunEventsFor(150);
        const int before = ticks;
        c.at150ms(*timer);
        RunEventsFor(130);
        EXPECT_GE(ticks, c.minTicks);
        EXPECT_LE(ticks, c.maxTicks);
        if (!timer->Enabled()) {
            EXPECT_EQ(ticks, before);
        }
        EXPECT_EQ(timer->Interval(), c.interval);
    }
    auto stopped = timers.CreateTimer(5000, true);
    stopped->SetEnabled(false);
    EXPECT_EQ(stopped->Interval(), 5000);
    EXPECT_FALSE(stopped->Enabled());
}

} // namespace

// An error box shown by a handler runs its own loop; a handler asked for meanwhile (a tick)
// waits until the one showing the box has ended.
TEST(QtCockpitClock, AHandlerAskedForWhileAnotherShowsABoxWaitsItsTurn) {
    HandlerQueue handlers([](std::function<void()> work) { QTimer::singleShot(0, std::move(work)); });
    AppContext ctx;
    std::vector<std::string> order;
    QTimer::singleShot(50, [&] {
        handlers.Post([&]() -> Task<> {
            order.push_back("tick");
            co_return;
        });
    });
    QTimer::singleShot(200, [&] {
        order.push_back("box closed");
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    handlers.Post([&]() -> Task<> {
        ShowError(ctx, "Unable to write to erj145.csv");
        order.push_back("handler ends");
        co_return;
    });
    RunEventsUntil([&] { return order.size() == 3; });
    EXPECT_EQ(order, (std::vector<std::string>{"box closed", "handler ends", "tick"}));
}
