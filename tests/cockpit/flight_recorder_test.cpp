// The flight recorder on data loads through the real posix transport: take-off and landing
// moments, the one-shot log line, the log file and its backup.
#include "cockpit_test_support.h"

#include "core/convert.h"
#include "core/rounding.h"
#include "cockpit/flight_log.h"
#include "cockpit/flight_recorder.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using test::CockpitBench;
using test::Exists;
using test::ReadAll;

LocalMs At(const char* iso) {
    LocalMs ms = 0;
    EXPECT_TRUE(ParseIso(iso, ms)) << iso;
    return ms;
}

struct RecorderBench : CockpitBench {
    std::unique_ptr<CockpitTimer> timer2 = timers.CreateTimer(FlightRecorder::kTimer2IntervalMs, false);
    FlightRecorder recorder{plan, data, *timer2, clock, programDir.Path()};

    RecorderBench() {
        Put(FieldId::Edit1, "EDDV");
        Put(FieldId::Edit2, "EDDM");
        Put(FieldId::Edit11, "400");
        Put(FieldId::Edit13, "50");
        Put(FieldId::Edit15, "500");
        Put(FieldId::Edit19, "7000");
        Put(FieldId::Edit48, "17500");
        SetServerFuel(3000, 3000);
    }
    // One data load with the recorder's step and the in-flight display of the fuel used.
    void Tick() {
        ASSERT_TRUE(LoadData());
        recorder.FlightPhaseStep();
        if (data.onGroundCurrent == 0)
            Put(FieldId::Edit30,
                IntToStr(RoundHalfEven(recorder.FuelUsedLb() / plan.values.WeightUnitFactor)));
    }
    void TickAt(LocalMs when, std::uint16_t onGround) {
        timers.AdvanceTo(when);
        SetOnGround(onGround);
        Tick();
    }
    // On the ground, take-off, one tick in flight with fuel burnt, landing; then a minute on.
    void Fly(LocalMs takeoff, LocalMs landing, double burntLb = 2123) {
        TickAt(std::min(takeoff, landing) - 20'000, 1);
        TickAt(takeoff, 0);
        SetServerFuel(3000 - burntLb / 2, 3000 - burntLb / 2);
        TickAt(takeoff + 1000, 0);
        TickAt(landing, 1);
        timers.AdvanceBy(60'000);
    }
    std::string Log() const { return ReadAll(plan.paths.ProgramDir + kFlightLogFile); }
};

TEST(FlightRecorder, LogsFlightsOfFiveToEightHoursWithUtcTimes) {
    struct Case {
        const char* name;
        const char* takeoff; // local clock
        const char* landing;
        int utcBias;
        const char* line; // "" = nothing logged
    } cases[] = {
        {"over midnight", "2026-12-07T23:50:00", "2026-12-08T00:40:00", 0,
         "07/12/2026;EDDV;23:50;EDDM;00:40;400;00:50;17500;7000;2123;50;500;\r\n"},
        {"bias moves the clock to UTC", "2026-12-07T22:50:00", "2026-12-07T23:40:30", 60,
         "07/12/2026;EDDV;23:50;EDDM;00:40;400;00:50;17500;7000;2123;50;500;\r\n"},
        {"exactly 5 minutes", "2026-01-02T09:05:00", "2026-01-02T09:10:00", 0,
         "02/01/2026;EDDV;09:05;EDDM;09:10;400;00:05;17500;7000;2123;50;500;\r\n"},
        {"4 minutes 59", "2026-01-02T09:05:00", "2026-01-02T09:09:59", 0, ""},
        {"480 minutes", "2026-01-02T01:00:00", "2026-01-02T09:00:59", 0,
         "02/01/2026;EDDV;01:00;EDDM;09:00;400;08:00;17500;7000;2123;50;500;\r\n"},
        {"481 minutes", "2026-01-02T01:00:00", "2026-01-02T09:01:00", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderBench b;
        b.plan.values.UtcBiasMinutes = c.utcBias;
        std::vector<std::string> gridDates;
        b.recorder.onFlightLogged = [&](const std::string& d) { gridDates.push_back(d); };
        b.Fly(At(c.takeoff), At(c.landing));
        EXPECT_EQ(b.recorder.Phase(), 2);
        EXPECT_FALSE(b.timer2->Enabled());
        EXPECT_EQ(b.Log(), c.line);
        EXPECT_EQ(gridDates.size(), *c.line ? 1u : 0u);
        if (*c.line) {
            EXPECT_EQ(gridDates[0], std::string(c.line).substr(0, 5));
        }
    }
}

TEST(FlightRecorder, Edit30ShowsFuelUsedInFlightAndTheLineComesAMinuteAfterLanding) {
    RecorderBench b;
    b.plan.values.WeightUnitFactor = kKilogramFactor;
    const LocalMs t0 = At("2026-12-07T09:05:00");
    b.TickAt(t0 - 10'000, 1);
    EXPECT_EQ(b.plan.Color(FieldId::Edit30), colors::Yellow);
    b.Put(FieldId::Edit30, "999"); // the last flight's figure
    b.TickAt(t0, 0);
    EXPECT_EQ(b.plan.Color(FieldId::Edit30), colors::Lime);
    EXPECT_EQ(b.plan.Text(FieldId::Edit30), "0");
    b.SetServerFuel(2000, 2000);
    b.TickAt(t0 + 10'000, 0);
    EXPECT_NEAR(b.recorder.FuelUsedLb(), 2000, 1);
    EXPECT_EQ(b.plan.Text(FieldId::Edit30), "907"); // 2000 lb in kilograms
    b.Put(FieldId::Edit48, "15000");                // later ticks do not change the take-off weight
    b.TickAt(t0 + 57 * 60'000, 1);
    EXPECT_EQ(b.plan.Color(FieldId::Edit30), colors::Yellow);
    EXPECT_TRUE(b.timer2->Enabled());
    b.timers.AdvanceBy(59'999);
    EXPECT_FALSE(Exists(b.plan.paths.ProgramDir + kFlightLogFile));
    b.Put(FieldId::Edit13, ""); // the texts as they stand when the line is written
    b.Put(FieldId::Edit15, "=====");
    b.timers.AdvanceBy(1);
    EXPECT_EQ(b.Log(), "07/12/2026;EDDV;09:05;EDDM;10:02;400;00:57;17500;7000;907;;=====;\r\n");
}

TEST(FlightRecorder, OnlyATakeoffFollowedByOneLandingIsLogged) {
    const LocalMs t0 = At("2026-03-01T10:00:00");
    const LocalMs minute = 60'000;
    {
        SCOPED_TRACE("touch-and-go: the second circuit is logged");
        RecorderBench b;
        b.TickAt(t0, 1);
        b.TickAt(t0 + 1 * minute, 0);
        b.TickAt(t0 + 10 * minute, 1);
        b.TickAt(t0 + 10 * minute + 30'000, 0); // off again before Timer2
        EXPECT_EQ(b.recorder.Phase(), 1);
        b.timers.AdvanceBy(minute);
        EXPECT_EQ(b.Log(), "");
        b.TickAt(t0 + 30 * minute, 1);
        b.timers.AdvanceBy(minute);
        EXPECT_EQ(b.Log().substr(0, 42), "01/03/2026;EDDV;10:10;EDDM;10:30;400;00:19");
    }
    {
        SCOPED_TRACE("a second landing without take-off logs nothing");
        RecorderBench b;
        b.TickAt(t0, 1);
        b.TickAt(t0 + minute, 0);
        b.TickAt(t0 + 30 * minute, 1);
        b.data.onGroundCurrent = 0; // as if the flag had been lost in between
        b.TickAt(t0 + 30 * minute + 20'000, 1);
        EXPECT_EQ(b.recorder.Phase(), 3);
        b.timers.AdvanceBy(minute);
        EXPECT_EQ(b.Log(), "");
    }
    {
        SCOPED_TRACE("a link that starts in the air counts a take-off");
        RecorderBench b;
        b.TickAt(t0, 0);
        EXPECT_EQ(b.recorder.Phase(), 1);
        b.TickAt(t0 + 45 * minute, 1);
        b.timers.AdvanceBy(minute);
        EXPECT_EQ(b.Log().substr(0, 42), "01/03/2026;EDDV;10:00;EDDM;10:45;400;00:45");
    }
}

TEST(FlightRecorder, FirstFlightCreatesTheLogAndTheNextOneTheBackupOnce) {
    RecorderBench b;
    const std::string log = b.plan.paths.ProgramDir + kFlightLogFile;
    const std::string bak = b.plan.paths.ProgramDir + kFlightLogBackup;
    b.Fly(At("2026-05-01T08:00:00"), At("2026-05-01T09:00:00"));
    const std::string first = b.Log();
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 1);
    EXPECT_FALSE(Exists(bak));
    b.Fly(At("2026-05-01T10:00:00"), At("2026-05-01T11:00:00"));
    EXPECT_EQ(ReadAll(bak), first);
    const std::string second = b.Log();
    EXPECT_EQ(second.substr(0, first.size()), first);
    b.Fly(At("2026-05-01T12:00:00"), At("2026-05-01T13:00:00"));
    EXPECT_EQ(ReadAll(bak), first);
    const std::string third = b.Log();
    EXPECT_EQ(std::count(third.begin(), third.end(), '\n'), 3);
}

TEST(FlightLog, LineStaysTwelveFieldsWhateverThePlanHolds) {
    FlightLogEntry e;
    ASSERT_TRUE(ParseIso("2026-12-07T09:05:00", e.takeoffUtc));
    ASSERT_TRUE(ParseIso("2026-12-07T10:02:00", e.landingUtc));
    struct Case {
        std::string origin, cargo, expectOrigin, expectCargo;
    } cases[] = {{"", "", "", ""},
                 {"=====", "=====", "=====", "====="},
                 {"ED;DV", "5\r\n00", "ED DV", "5  00"},
                 {" EDDV ", "\xe9t\xe9", " EDDV ", "\xe9t\xe9"}};
    for (const Case& c : cases) {
        e.origin = c.origin;
        e.cargo = c.cargo;
        const std::string line = FormatFlightLogLine(e);
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 12) << line;
        EXPECT_EQ(line.find('\n'), line.size() - 1);
        EXPECT_EQ(line,
                  "07/12/2026;" + c.expectOrigin + ";09:05;;10:02;;00:57;;;;;" + c.expectCargo + ";\r\n");
    }
}

TEST(FlightLog, ALogThatCannotBeWrittenStaysAsItWas) {
    test::TempProgramDir dir;
    const std::string log = dir.Path() + kFlightLogFile;
    // The log's name taken by a folder: nothing is written, nothing else changes.
    std::filesystem::create_directory(log);
    EXPECT_FALSE(AppendFlightLog(dir.Path(), "x;\r\n").Written());
    EXPECT_TRUE(std::filesystem::is_directory(log));
    // A read-only log (when not running with the rights to ignore that).
    std::filesystem::remove(log);
    { std::ofstream(log, std::ios::binary) << "old;\r\n"; }
    std::filesystem::permissions(log, std::filesystem::perms::owner_read);
    if (geteuid() != 0) {
        EXPECT_FALSE(AppendFlightLog(dir.Path(), "new;\r\n").Written());
        EXPECT_EQ(ReadAll(log), "old;\r\n");
    }
}

} // namespace
} // namespace vantrel
