#pragma once
// Running the toolkit's event loop from a test, for a while or until something holds.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace vantrel::test {

// Runs the event loop until the condition holds or the time is up; true when it held.
inline bool RunUntil(const std::function<bool()>& condition, int limitMs) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Runs the event loop for the given time.
inline void RunEventsFor(int ms) {
    RunUntil([] { return false; }, ms);
}

} // namespace vantrel::test
