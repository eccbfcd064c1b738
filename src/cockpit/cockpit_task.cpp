#include "cockpit/cockpit_task.h"

namespace vantrel {

namespace {
thread_local int handlerDepth = 0;
} // namespace

bool HandlerRunning() {
    return handlerDepth > 0;
}

HandlerScope::HandlerScope() {
    ++handlerDepth;
}

HandlerScope::~HandlerScope() {
    --handlerDepth;
}

OutsideHandlers::OutsideHandlers() : savedDepth_(handlerDepth) {
    handlerDepth = 0;
}

OutsideHandlers::~OutsideHandlers() {
    handlerDepth = savedDepth_;
}

void ResumeHandler(std::coroutine_handle<> handle) {
    HandlerScope scope;
    handle.resume();
}

bool Resumption::await_suspend(std::coroutine_handle<> handle) {
    auto state = std::make_shared<State>();
    state->handle = handle;
    start_([state] {
        if (state->resumed) return; // a second call changes nothing
        state->resumed = true;
        if (state->paused) ResumeHandler(state->handle);
    });
    if (state->resumed) return false; // went on at once: no pause
    state->paused = true;
    return true;
}

} // namespace vantrel
