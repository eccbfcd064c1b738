#pragma once
#include "cockpit/cockpit_task.h"

#include <deque>
#include <exception>
#include <functional>
#include <vector>

namespace vantrel {

// Runs the cockpit's handlers one at a time, in the order they were asked for. A handler asked
// for while another one is paused (a tick during a cue, "Set UTC" during a tick's exchange)
// waits its turn; one asked for from inside a running handler (a cue of the plan's ripple) runs
// at once, as a call would. A handler lets the waiting ones run at the points where it lets
// window messages be handled (LetWaitingRun), and goes on with the state they leave.
//
// With a dispatcher (the program's event loop), a handler asked for from outside the handlers
// (a key, a click, a timer) starts from the event loop after its caller has returned, so the
// sound device that a cue starts never runs inside a key's handling; without one (a headless
// session, tests) it starts at once.
//
// An exchange with a hung simulator may keep the running handler waiting for many seconds. The
// handlers that never touch the link (Lane::Quick: cues, switches, the alert) do not wait for
// it: they run while the running handler waits on its exchange, which goes on after them, as
// if they had been handled just before the exchange went out.
class HandlerQueue {
public:
    using Handler = std::function<Task<>()>;
    using Dispatcher = std::function<void(std::function<void()>)>;
    enum class Lane {
        InTurn, // waits for every handler before it
        Quick,  // never uses the link: also runs while the running handler waits on an exchange
    };

    explicit HandlerQueue(Dispatcher dispatcher = {}) : dispatcher_(std::move(dispatcher)) {}
    HandlerQueue(const HandlerQueue&) = delete;
    HandlerQueue& operator=(const HandlerQueue&) = delete;

    void Post(Handler handler, Lane lane = Lane::InTurn);
    // Runs every handler that is waiting now, each to its end.
    Task<> LetWaitingRun();

    // A handler waits on an exchange (LinkGate), and the exchange has ended: resume carries the
    // handler on once the quick handlers running meanwhile have ended. LinkWaitBegins tells
    // whether the wait is a running handler's (false: a quick handler's own, never held back).
    bool LinkWaitBegins();
    void LinkWaitEnds(std::function<void()> resume, bool holdBack);
    bool WaitingOnLink() const { return linkWaits_ > 0; }

    // The program's end: every later handler is refused, the waiting ones are dropped, and
    // `last` runs once the handlers running now have ended.
    void Close(Handler last);
    bool Closed() const { return closed_; }

    // Handlers started and not yet ended, and those waiting.
    int Active() const { return active_; }
    std::size_t Waiting() const { return waiting_.size(); }
    bool Idle() const { return active_ == 0 && waiting_.empty() && !dispatched_; }

    // An exception a handler ended with (the window shows it as an error). Whatever it does,
    // the queue goes on.
    std::function<void(std::exception_ptr)> onError;

private:
    struct Entry {
        Handler handler;
        Lane lane;
    };
    Task<> Run(Handler handler);
    void Start(Handler handler);
    void StartWaiting();
    void Dispatch(bool& flag, void (HandlerQueue::*start)());
    void StartQuick();
    Task<> RunQuick();
    bool HasQuickWaiting() const;
    void Report(std::exception_ptr error) noexcept;

    Dispatcher dispatcher_;
    std::deque<Entry> waiting_;
    int active_ = 0;
    int linkWaits_ = 0;
    bool starting_ = false;
    bool dispatched_ = false;
    bool quickDispatched_ = false;
    bool quickRunning_ = false;
    std::vector<std::function<void()>> afterQuick_;
    bool closed_ = false;
};

} // namespace vantrel
