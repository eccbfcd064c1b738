#include "qt_cockpit_clock.h"

#include <QDateTime>
#include <QMetaObject>
#include <QTimer>

namespace vantrel {

LocalMs QtCockpitClock::Now() const {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toMSecsSinceEpoch() + static_cast<LocalMs>(now.offsetFromUtc()) * 1000;
}

void QtCockpitClock::After(int ms, std::function<void()> resume) {
    // Even a pause of 0 goes through the event loop: keys typed meanwhile keep their order.
    QTimer::singleShot(ms > 0 ? ms : 0, Qt::PreciseTimer, this, [this, resume = std::move(resume)] {
        if (!stopped_) resume();
    });
}

void QtCockpitClock::Post(std::function<void()> fn) {
    QMetaObject::invokeMethod(
        this,
        [this, fn = std::move(fn)] {
            if (!stopped_) fn();
        },
        Qt::QueuedConnection);
}

} // namespace vantrel
