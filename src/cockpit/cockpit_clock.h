#pragma once
#include "cockpit/cockpit_task.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vantrel {

// A moment on the computer's local wall clock, as milliseconds since 1970-01-01 00:00:00 of
// that clock (no time zone: UTC is this plus the UTC bias).
using LocalMs = std::int64_t;

struct CivilTime {
    int year = 1970, month = 1, day = 1; // month 1-12, day 1-31
    int hour = 0, minute = 0, second = 0, msec = 0;
};

CivilTime ToCivil(LocalMs ms);
LocalMs FromCivil(const CivilTime& t);
// Day of the year, 1 = 1 January.
int DayOfYear(const CivilTime& t);
// "YYYY-MM-DDTHH:MM:SS.mmm"
std::string FormatIso(LocalMs ms);
// Reads "YYYY-MM-DDTHH:MM:SS" (optionally ".mmm"); false when the text is not such a moment.
bool ParseIso(const std::string& text, LocalMs& ms);

// The program's clock: the time now, and the pauses the program makes itself (a sound cue's hold
// time, the fuel panel's steps). A handler pauses with `co_await clock.Sleep(ms)`: the window's
// clock resumes it from a timer while the window goes on; a headless session's clock moves on
// and resumes it at once.
class CockpitClock {
public:
    virtual ~CockpitClock() = default;
    virtual LocalMs Now() const = 0;
    // Calls resume ms from now (on the window thread).
    virtual void After(int ms, std::function<void()> resume) = 0;

    Resumption Sleep(int ms) {
        return Resumption([this, ms](std::function<void()> resume) { After(ms, std::move(resume)); });
    }
};

// A clock that moves only when told to: a pause moves it on and goes on at once, nothing sleeps.
class VirtualClock : public CockpitClock {
public:
    explicit VirtualClock(LocalMs start) : now_(start) {}
    LocalMs Now() const override { return now_; }
    void After(int ms, std::function<void()> resume) override;
    void Wait(int ms);
    void Set(LocalMs ms) { now_ = ms; }

private:
    LocalMs now_;
};

} // namespace vantrel
