#include "cockpit/cockpit_timer.h"

#include <algorithm>

namespace vantrel {

class VirtualTimers::Timer : public CockpitTimer {
public:
    Timer(VirtualTimers& owner, int interval, bool enabled) : owner_(&owner), interval_(interval) {
        SetEnabled(enabled);
    }
    ~Timer() override {
        if (owner_) std::erase(owner_->timers_, this);
    }
    void SetInterval(int ms) override {
        interval_ = ms;
        Restart();
    }
    int Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override {
        enabled_ = enabled;
        Restart();
    }
    bool Enabled() const override { return enabled_; }

    bool Due(LocalMs by) const { return enabled_ && interval_ > 0 && due_ <= by; }
    LocalMs DueAt() const { return due_; }
    // Runs the handler once at `now`, however many due times have passed: like a toolkit
    // timer, it delivers at most one pending tick. The countdown stays on its beat unless that
    // beat has already gone by, then it starts afresh from this tick.
    void Fire(LocalMs now) {
        due_ += interval_;
        if (due_ <= now) due_ = now + interval_;
        if (OnTimer) OnTimer();
    }
    void Detach() { owner_ = nullptr; }

private:
    void Restart() {
        if (owner_) due_ = owner_->clock_.Now() + interval_;
    }

    VirtualTimers* owner_;
    int interval_;
    bool enabled_ = false;
    LocalMs due_ = 0;
};

VirtualTimers::~VirtualTimers() {
    for (Timer* t : timers_)
        t->Detach();
}

std::unique_ptr<CockpitTimer> VirtualTimers::CreateTimer(int intervalMs, bool enabled) {
    auto timer = std::make_unique<Timer>(*this, intervalMs, enabled);
    timers_.push_back(timer.get());
    return timer;
}

void VirtualTimers::AdvanceTo(LocalMs target) {
    for (;;) {
        Timer* next = nullptr;
        for (Timer* t : timers_)
            if (t->Due(target) && (!next || t->DueAt() < next->DueAt())) next = t;
        if (!next) break;
        // A handler that waits may have moved the clock past the due time already.
        if (next->DueAt() > clock_.Now()) clock_.Set(next->DueAt());
        next->Fire(clock_.Now());
    }
    if (target > clock_.Now()) clock_.Set(target);
}

} // namespace vantrel
