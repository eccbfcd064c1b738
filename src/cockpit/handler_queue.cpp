#include "cockpit/handler_queue.h"

namespace vantrel {

void HandlerQueue::Post(Handler handler) {
    if (HandlerRunning() || (active_ == 0 && waiting_.empty() && !dispatcher_)) {
        Start(std::move(handler));
        return;
    }
    waiting_.push_back(std::move(handler));
    if (active_ > 0 || !dispatcher_ || dispatched_) return;
    dispatched_ = true;
    dispatcher_([this] {
        dispatched_ = false;
        StartWaiting();
    });
}

void HandlerQueue::Start(Handler handler) {
    HandlerScope scope;
    Run(std::move(handler)); // a paused handler goes on by itself
}

Task<> HandlerQueue::Run(Handler handler) {
    ++active_;
    try {
        co_await handler();
    } catch (...) {
        if (onError) onError(std::current_exception());
    }
    --active_;
    if (active_ == 0) StartWaiting();
}

void HandlerQueue::StartWaiting() {
    if (starting_) return; // the loop below picks up what a finished handler leaves
    starting_ = true;
    while (active_ == 0 && !waiting_.empty()) {
        Handler next = std::move(waiting_.front());
        waiting_.pop_front();
        Start(std::move(next));
    }
    starting_ = false;
}

Task<> HandlerQueue::LetWaitingRun() {
    while (!waiting_.empty()) {
        Handler next = std::move(waiting_.front());
        waiting_.pop_front();
        co_await Run(std::move(next));
    }
}

} // namespace vantrel
