#include "qt_timer_source.h"

#include "qt_cockpit_clock.h"

#include <QTimer>

namespace vantrel {
namespace {

class QtCockpitTimer final : public CockpitTimer {
public:
    QtCockpitTimer(QtCockpitClock& clock, int intervalMs, bool enabled) : clock_(clock) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(intervalMs);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Due(); });
        // Queued: the held-back tick runs from the event loop, not inside whoever paused.
        QObject::connect(
            &clock_, &QtCockpitClock::waitEnded, &timer_, [this] { Release(); }, Qt::QueuedConnection);
        enabled_ = enabled;
        Restart();
    }

    // Setting a period or enabling starts the countdown afresh, as the toolkit's timers do. A
    // period of 0 never fires (a QTimer would fire on every pass of the event loop).
    void SetInterval(int ms) override {
        timer_.setInterval(ms);
        Restart();
    }
    int Interval() const override { return timer_.interval(); }
    void SetEnabled(bool enabled) override {
        enabled_ = enabled;
        held_ = false;
        Restart();
    }
    bool Enabled() const override { return enabled_; }

private:
    void Due() {
        if (clock_.Waiting()) {
            held_ = true;
            return;
        }
        Fire();
    }
    void Release() {
        if (!held_ || clock_.Waiting()) return;
        held_ = false;
        if (enabled_) Fire();
    }
    void Fire() {
        if (OnTimer) OnTimer();
    }
    void Restart() {
        if (enabled_ && timer_.interval() > 0)
            timer_.start();
        else
            timer_.stop();
    }

    QtCockpitClock& clock_;
    QTimer timer_;
    bool enabled_ = false;
    bool held_ = false;
};

} // namespace

std::unique_ptr<CockpitTimer> QtTimerSource::CreateTimer(int intervalMs, bool enabled) {
    return std::make_unique<QtCockpitTimer>(clock_, intervalMs, enabled);
}

} // namespace vantrel
