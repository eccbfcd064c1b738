#pragma once
#include "cockpit/cockpit_clock.h"

#include <QObject>

namespace vantrel {

// The program's clock: the computer's local wall clock, and pauses that keep the windows
// painting. A pause runs the event loop without user input (clicks and keys wait in the queue
// until it ends, as they would behind a blocked window) and holds back the cockpit timers made
// by QtTimerSource: a timer that comes due meanwhile fires once, from the event loop, after the
// pause. So a pause inside a link tick never starts another tick, and a pause inside a click
// never lets the monitor run in the middle of that click, while repaints, speech and network
// replies go on.
class QtCockpitClock : public QObject, public CockpitClock {
    Q_OBJECT
public:
    LocalMs Now() const override;
    void Wait(int ms) override;

    bool Waiting() const { return depth_ > 0; }

signals:
    // The outermost pause has ended.
    void waitEnded();

private:
    int depth_ = 0;
};

} // namespace vantrel
