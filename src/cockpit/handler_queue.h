#pragma once
#include "cockpit/cockpit_task.h"

#include <deque>
#include <exception>
#include <functional>

namespace vantrel {

// Runs the cockpit's handlers one at a time, in the order they were asked for. A handler asked
// for while another one is paused (a tick during a cue, "Set UTC" during a tick's exchange)
// waits its turn; one asked for from inside a running handler (a cue of the plan's ripple) runs
// at once, as a call would. A handler lets the waiting ones run at the points where it lets
// window messages be handled (LetWaitingRun).
//
// With a dispatcher (the program's event loop), a handler asked for from outside the handlers
// (a key, a click, a timer) starts from the event loop after its caller has returned, so the
// sound device that a cue starts never runs inside a key's handling; without one (a headless
// session, tests) it starts at once.
class HandlerQueue {
public:
    using Handler = std::function<Task<>()>;
    using Dispatcher = std::function<void(std::function<void()>)>;

    explicit HandlerQueue(Dispatcher dispatcher = {}) : dispatcher_(std::move(dispatcher)) {}
    HandlerQueue(const HandlerQueue&) = delete;
    HandlerQueue& operator=(const HandlerQueue&) = delete;

    void Post(Handler handler);
    // Runs every handler that is waiting now, each to its end.
    Task<> LetWaitingRun();

    // Handlers started and not yet ended, and those waiting.
    int Active() const { return active_; }
    std::size_t Waiting() const { return waiting_.size(); }
    bool Idle() const { return active_ == 0 && waiting_.empty() && !dispatched_; }

    // An exception a handler ended with (the window shows it as an error).
    std::function<void(std::exception_ptr)> onError;

private:
    Task<> Run(Handler handler);
    void Start(Handler handler);
    void StartWaiting();

    Dispatcher dispatcher_;
    std::deque<Handler> waiting_;
    int active_ = 0;
    bool starting_ = false;
    bool dispatched_ = false;
};

} // namespace vantrel
