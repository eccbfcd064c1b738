#pragma once
#include "cockpit/cockpit_task.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace vantrel {

// Where the link's exchanges run. A handler hands over a job and is resumed on the window
// thread once the job has ended; jobs run one after the other, in the order handed over.
class LinkRunner {
public:
    virtual ~LinkRunner() = default;
    // Runs job away from the window thread, then done on the window thread.
    virtual void Run(std::function<void()> job, std::function<void()> done) = 0;
    // The program's end: drops the jobs not yet started, waits for the one running, and runs
    // no later job (its handler still goes on, as after a failed exchange).
    virtual void Finish() = 0;
};

// The link thread. With a poster (which runs a function on the window thread later, from its
// event loop) the window thread carries on while a job runs; without one the caller waits for
// the job's end and done runs before Run returns (a headless session, which prints only after
// the answer).
class LinkThread final : public LinkRunner {
public:
    using Poster = std::function<void(std::function<void()>)>;
    explicit LinkThread(Poster poster = {});
    ~LinkThread() override;
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    void Run(std::function<void()> job, std::function<void()> done) override;
    void Finish() override;

private:
    struct Job {
        std::function<void()> work;
        std::function<void()> done;
    };
    void Loop();

    Poster poster_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool running_ = false;
    bool stopping_ = false;
    bool closed_ = false;
    std::thread thread_;
};

// Runs job on the runner and pauses the handler until it has ended; without a runner the job
// runs at once on this thread.
Task<> OnLink(LinkRunner* runner, std::function<void()> job);

} // namespace vantrel
