#include "qt_timer_source.h"

#include <QTimer>

namespace vantrel {
namespace {

class QtCockpitTimer final : public CockpitTimer {
public:
    QtCockpitTimer(int intervalMs, bool enabled) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(intervalMs);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Fire(); });
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
        Restart();
    }
    bool Enabled() const override { return enabled_; }

private:
    void Fire() {
        if (OnTimer) OnTimer();
    }
    void Restart() {
        if (enabled_ && timer_.interval() > 0)
            timer_.start();
        else
            timer_.stop();
    }

    QTimer timer_;
    bool enabled_ = false;
};

} // namespace

std::unique_ptr<CockpitTimer> QtTimerSource::CreateTimer(int intervalMs, bool enabled) {
    return std::make_unique<QtCockpitTimer>(intervalMs, enabled);
}

} // namespace vantrel
