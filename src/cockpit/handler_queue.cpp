#include "cockpit/handler_queue.h"

#include <algorithm>
#include <utility>

namespace vantrel {

void HandlerQueue::Post(Handler handler, Lane lane) {
    if (closed_) return;
    if (HandlerRunning() || (active_ == 0 && waiting_.empty() && !dispatcher_)) {
        Start(std::move(handler));
        return;
    }
    waiting_.push_back({std::move(handler), lane});
    if (lane == Lane::Quick && linkWaits_ > 0) {
        Dispatch(quickDispatched_, &HandlerQueue::StartQuick);
        return;
    }
    if (active_ > 0) return;
    Dispatch(dispatched_, &HandlerQueue::StartWaiting);
}

// Runs start from the event loop (at once without one), once however often it is asked for
// before it runs.
void HandlerQueue::Dispatch(bool& flag, void (HandlerQueue::*start)()) {
    if (!dispatcher_) {
        (this->*start)();
        return;
    }
    if (flag) return;
    flag = true;
    dispatcher_([this, &flag, start] {
        flag = false;
        (this->*start)();
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
        Report(std::current_exception());
    }
    --active_;
    if (active_ == 0) StartWaiting();
}

void HandlerQueue::Report(std::exception_ptr error) noexcept {
    try {
        if (onError) onError(error);
    } catch (...) {
        // The report itself failed: the queue must go on all the same.
    }
}

void HandlerQueue::StartWaiting() {
    if (starting_) return; // the loop below picks up what a finished handler leaves
    starting_ = true;
    while (active_ == 0 && !waiting_.empty()) {
        Handler next = std::move(waiting_.front().handler);
        waiting_.pop_front();
        Start(std::move(next));
    }
    starting_ = false;
}

Task<> HandlerQueue::LetWaitingRun() {
    while (!waiting_.empty()) {
        Handler next = std::move(waiting_.front().handler);
        waiting_.pop_front();
        co_await Run(std::move(next));
    }
}

bool HandlerQueue::HasQuickWaiting() const {
    return std::any_of(waiting_.begin(), waiting_.end(),
                       [](const Entry& e) { return e.lane == Lane::Quick; });
}

bool HandlerQueue::LinkWaitBegins() {
    if (quickRunning_) return false;
    ++linkWaits_;
    if (HasQuickWaiting()) Dispatch(quickDispatched_, &HandlerQueue::StartQuick);
    return true;
}

void HandlerQueue::LinkWaitEnds(std::function<void()> resume, bool holdBack) {
    if (!holdBack) {
        resume();
        return;
    }
    --linkWaits_;
    if (quickRunning_)
        afterQuick_.push_back(std::move(resume));
    else
        resume();
}

void HandlerQueue::StartQuick() {
    if (quickRunning_ || linkWaits_ == 0) return;
    HandlerScope scope;
    RunQuick();
}

// The quick handlers one after the other while the exchange is out; the handlers that waited on
// their exchanges meanwhile go on after the last of them.
Task<> HandlerQueue::RunQuick() {
    quickRunning_ = true;
    while (linkWaits_ > 0) {
        const auto next = std::find_if(waiting_.begin(), waiting_.end(),
                                       [](const Entry& e) { return e.lane == Lane::Quick; });
        if (next == waiting_.end()) break;
        Handler handler = std::move(next->handler);
        waiting_.erase(next);
        co_await Run(std::move(handler));
    }
    quickRunning_ = false;
    for (std::function<void()>& resume : std::exchange(afterQuick_, {}))
        resume();
}

void HandlerQueue::Close(Handler last) {
    if (closed_) return;
    closed_ = true;
    waiting_.clear();
    waiting_.push_back({std::move(last), Lane::InTurn});
    if (active_ == 0) StartWaiting();
}

} // namespace vantrel
