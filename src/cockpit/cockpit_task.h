#pragma once
#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace vantrel {

// A cockpit handler that pauses without blocking: it runs at once up to its first pause
// (`co_await clock.Sleep(ms)`, an exchange on the link thread) and is resumed on the window
// thread when the pause ends. Awaiting a Task runs the awaiting handler on after it; a Task
// dropped before it ends runs to its end on its own. An exception is kept for the awaiter.
template <class T = void> class Task;

// Whether code of a cockpit handler is running on this thread right now (started or resumed,
// not merely paused). Handlers asked for from within it run at once (see HandlerQueue).
bool HandlerRunning();

// Counts the current scope as handler code (HandlerRunning).
class HandlerScope {
public:
    HandlerScope();
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;
};

// Counts the current scope as outside the handlers: a window's own modal loop (an error box a
// handler shows) lets a handler asked for meanwhile wait its turn, rather than run inside the
// handler that shows the box as if that handler had called it.
class OutsideHandlers {
public:
    OutsideHandlers();
    ~OutsideHandlers();
    OutsideHandlers(const OutsideHandlers&) = delete;
    OutsideHandlers& operator=(const OutsideHandlers&) = delete;

private:
    int savedDepth_;
};

// Resumes a paused handler as handler code.
void ResumeHandler(std::coroutine_handle<> handle);

namespace detail {

struct PromiseBase {
    std::coroutine_handle<> continuation;
    bool dropped = false;
    std::exception_ptr error;

    std::suspend_never initial_suspend() noexcept { return {}; }
    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <class P> std::coroutine_handle<> await_suspend(std::coroutine_handle<P> self) noexcept {
            PromiseBase& p = self.promise();
            if (p.continuation) return p.continuation;
            if (p.dropped) self.destroy();
            return std::noop_coroutine();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { error = std::current_exception(); }
};

template <class T> struct Promise : PromiseBase {
    std::optional<T> value;
    void return_value(T v) { value = std::move(v); }
    T Take() { return std::move(*value); }
};

template <> struct Promise<void> : PromiseBase {
    void return_void() noexcept {}
    void Take() {}
};

} // namespace detail

template <class T> class Task {
public:
    struct promise_type : detail::Promise<T> {
        Task get_return_object() { return Task(std::coroutine_handle<promise_type>::from_promise(*this)); }
    };
    using Handle = std::coroutine_handle<promise_type>;

    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&&) = delete;
    Task(const Task&) = delete;
    ~Task() {
        if (!handle_) return;
        if (handle_.done())
            handle_.destroy();
        else
            handle_.promise().dropped = true; // the frame ends itself
    }

    bool Done() const { return handle_.done(); }

    bool await_ready() const noexcept { return handle_.done(); }
    void await_suspend(std::coroutine_handle<> awaiting) noexcept {
        handle_.promise().continuation = awaiting;
    }
    T await_resume() {
        if (handle_.promise().error) std::rethrow_exception(handle_.promise().error);
        return handle_.promise().Take();
    }

private:
    explicit Task(Handle handle) : handle_(handle) {}
    Handle handle_;
};

// Pauses the awaiting handler until `start` calls the function it is given (on the window
// thread); no pause at all when `start` calls it before returning.
class Resumption {
public:
    using Start = std::function<void(std::function<void()> resume)>;
    explicit Resumption(Start start) : start_(std::move(start)) {}

    bool await_ready() const noexcept { return false; }
    bool await_suspend(std::coroutine_handle<> handle);
    void await_resume() const noexcept {}

private:
    struct State {
        std::coroutine_handle<> handle;
        bool paused = false;
        bool resumed = false;
    };
    Start start_;
};

} // namespace vantrel
