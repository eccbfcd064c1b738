#pragma once
#include "cockpit/handler_queue.h"
#include "cockpit/link_thread.h"

namespace vantrel {

// The cockpit's way to the link runner: tells the handler queue while a handler waits on an
// exchange, so the quick handlers run meanwhile and the waiting handler goes on after them.
// Without a runner the exchanges run at once on this thread.
class LinkGate final : public LinkRunner {
public:
    LinkGate(HandlerQueue& handlers, LinkRunner* runner) : handlers_(handlers), runner_(runner) {}

    void Run(std::function<void()> job, std::function<void()> done) override;
    void Finish() override;
    LinkRunner* Runner() const { return runner_; }

private:
    HandlerQueue& handlers_;
    LinkRunner* runner_;
};

} // namespace vantrel
