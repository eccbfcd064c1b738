#include "qt_cockpit_clock.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace vantrel {

LocalMs QtCockpitClock::Now() const {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toMSecsSinceEpoch() + static_cast<LocalMs>(now.offsetFromUtc()) * 1000;
}

void QtCockpitClock::Wait(int ms) {
    if (ms <= 0) return;
    ++depth_;
    QDeadlineTimer deadline(ms, Qt::PreciseTimer);
    QEventLoop loop;
    // Wakes the loop at the deadline even when no other event arrives.
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, [] {});
    while (!deadline.hasExpired())
        loop.processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    if (--depth_ == 0) emit waitEnded();
}

} // namespace vantrel
