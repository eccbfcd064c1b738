#include "cockpit/link_gate.h"

#include <memory>

namespace vantrel {

void LinkGate::Run(std::function<void()> job, std::function<void()> done) {
    if (!runner_) {
        job();
        done();
        return;
    }
    // A runner that waits for the job (a headless session) ends it before Run returns: no wait.
    struct Wait {
        bool ended = false;
        bool counted = false;
        bool holdBack = false;
    };
    auto wait = std::make_shared<Wait>();
    runner_->Run(std::move(job), [this, wait, done = std::move(done)] {
        wait->ended = true;
        if (wait->counted)
            handlers_.LinkWaitEnds(done, wait->holdBack);
        else
            done();
    });
    if (wait->ended) return;
    wait->counted = true;
    wait->holdBack = handlers_.LinkWaitBegins();
}

void LinkGate::Finish() {
    if (runner_) runner_->Finish();
}

} // namespace vantrel
