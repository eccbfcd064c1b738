// The cockpit's clock, timers and sound cues without a window.
#include "cockpit/cockpit_clock.h"
#include "cockpit/cockpit_timer.h"
#include "cockpit/sound_cues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantrel;

TEST(CockpitClock, CivilDatesRoundTripAndDayOfYear) {
    struct Case {
        const char* iso;
        int dayOfYear;
    } cases[] = {{"2024-01-01T00:00:00.000", 1},   {"2024-12-31T23:59:59.999", 366},
                 {"2023-12-31T12:00:00.000", 365}, {"2000-02-29T06:30:15.250", 60},
                 {"1969-12-31T23:59:59.000", 365}, {"2100-03-01T00:00:00.000", 60}};
    for (const Case& c : cases) {
        LocalMs ms = 0;
        ASSERT_TRUE(ParseIso(c.iso, ms)) << c.iso;
        EXPECT_EQ(FormatIso(ms), c.iso);
        EXPECT_EQ(DayOfYear(ToCivil(ms)), c.dayOfYear) << c.iso;
    }
    LocalMs ms = 0;
    for (const char* bad : {"", "2024-02-30T00:00:00", "2024-13-01T00:00:00", "2024-01-01 00:00:00",
                            "2024-01-01T24:00:00", "2024-01-01T00:00:00.5", "2024-01-01T00:00:00x"})
        EXPECT_FALSE(ParseIso(bad, ms)) << bad;
    EXPECT_TRUE(ParseIso("2024-01-01T00:00:00", ms));
}

TEST(VirtualTimers, RunInTimeOrderAndRestartOnEveryChange) {
    VirtualClock clock(0);
    VirtualTimers timers(clock);
    std::vector<std::string> fired;
    auto a = timers.CreateTimer(1000, true);
    auto b = timers.CreateTimer(1500, true);
    auto off = timers.CreateTimer(100, false);
    a->OnTimer = [&] { fired.push_back("a@" + std::to_string(clock.Now())); };
    b->OnTimer = [&] { fired.push_back("b@" + std::to_string(clock.Now())); };
    off->OnTimer = [&] { fired.push_back("off"); };
    timers.AdvanceTo(3000);
    EXPECT_EQ(fired, (std::vector<std::string>{"a@1000", "b@1500", "a@2000", "a@3000", "b@3000"}));
    EXPECT_EQ(clock.Now(), 3000);

    // A new period starts the countdown afresh; disabling cancels it, the period stays.
    fired.clear();
    timers.AdvanceTo(3400);
    a->SetInterval(10'000);
    b->SetEnabled(false);
    timers.AdvanceTo(13'399);
    EXPECT_TRUE(fired.empty());
    timers.AdvanceTo(13'400);
    EXPECT_EQ(fired, (std::vector<std::string>{"a@13400"}));
    EXPECT_EQ(b->Interval(), 1500);

    // A handler that waits moves the clock; the next due time still comes from the period.
    fired.clear();
    a->OnTimer = [&] {
        fired.push_back("a@" + std::to_string(clock.Now()));
        clock.Wait(400);
    };
    a->SetInterval(1000);
    timers.AdvanceBy(2000);
    EXPECT_EQ(fired, (std::vector<std::string>{"a@14400", "a@15400"}));
    EXPECT_EQ(clock.Now(), 15'800);
}

namespace {

struct RecordingOutput : WaveOutput {
    std::vector<std::string> calls;
    void Play(const std::string& path, bool loop) override {
        calls.push_back(path + (loop ? " loop" : " once"));
    }
    void Stop() override { calls.push_back("stop"); }
};

} // namespace

TEST(SoundCues, CueHoldsThenReturnsToTheBackgroundOnlyWhileSoundIsOn) {
    RecordingOutput out;
    TWaveSound player(out);
    VirtualClock clock(0);
    bool soundOn = true;
    HandlerQueue handlers;
    SoundCues cues(player, clock, "/p/", soundOn, handlers);
    int plays = 0, stops = 0;
    player.OnStop = [&](TWaveSound&) { ++stops; };
    player.Stop(); // no OnStop before anything played
    EXPECT_EQ(stops, 0);
    player.OnPlay = [&](TWaveSound&) { ++plays; };

    struct Case {
        void (SoundCues::*cue)();
        const char* file;
        int holdMs;
    } cases[] = {{&SoundCues::PlaySwitchCue, "/p/sounds/switch.wav", 50},
                 {&SoundCues::PlayOkCue, "/p/sounds/OK.wav", 450},
                 {&SoundCues::PlayAlertCue, "/p/sounds/alert.wav", 450},
                 {&SoundCues::PlayAltAlertCue, "/p/sounds/altalert.wav", 1000}};
    for (bool on : {true, false}) {
        soundOn = on;
        for (const Case& c : cases) {
            out.calls.clear();
            const LocalMs before = clock.Now();
            (cues.*c.cue)();
            std::vector<std::string> expected{"stop", std::string(c.file) + " once"};
            if (on) expected.push_back("/p/sounds/bkgnd.wav loop");
            EXPECT_EQ(out.calls, expected) << c.file << " sound on " << on;
            EXPECT_EQ(clock.Now() - before, c.holdMs);
        }
    }
    EXPECT_EQ(stops, 7); // the first cue stopped before anything had played
    EXPECT_EQ(plays, 12);
}
