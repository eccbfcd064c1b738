#pragma once
#include "cockpit/cockpit_clock.h"

#include <QObject>

#include <atomic>
#include <functional>

namespace vantrel {

// The program's clock: the computer's local wall clock, and pauses that end from a timer of the
// event loop, so the windows paint and take keys and clicks while a handler pauses. It also
// carries work from the link thread back to the window thread (Post).
class QtCockpitClock : public QObject, public CockpitClock {
public:
    LocalMs Now() const override;
    void After(int ms, std::function<void()> resume) override;
    // From any thread: runs fn on this object's thread, from its event loop.
    void Post(std::function<void()> fn);
    // The program's end: nothing asked for before runs any more (a handler paused until then
    // stays paused while the windows go).
    void Stop() { stopped_ = true; }

private:
    std::atomic<bool> stopped_{false};
};

} // namespace vantrel
