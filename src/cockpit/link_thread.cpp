#include "cockpit/link_thread.h"

#include <future>

namespace vantrel {

LinkThread::LinkThread(Poster poster) : poster_(std::move(poster)), thread_([this] { Loop(); }) {}

LinkThread::~LinkThread() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

void LinkThread::Run(std::function<void()> job, std::function<void()> done) {
    {
        std::lock_guard lock(mutex_);
        // After the link's end nothing more goes out; the handler goes on as after a failure.
        if (closed_) job = [] {};
    }
    if (!poster_) {
        std::promise<void> ended;
        std::future<void> waited = ended.get_future();
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back({std::move(job), [&ended] { ended.set_value(); }});
        }
        wake_.notify_all();
        waited.wait();
        done();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back({std::move(job), [this, done = std::move(done)] { poster_(done); }});
    }
    wake_.notify_all();
}

void LinkThread::Finish() {
    std::unique_lock lock(mutex_);
    closed_ = true;
    jobs_.clear();
    idle_.wait(lock, [this] { return !running_; });
}

void LinkThread::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_) return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        try {
            job.work();
        } catch (...) {
            // A job keeps its own errors for its handler (OnLink); anything else must not end
            // the thread that every later exchange needs.
        }
        job.done();
        lock.lock();
        running_ = false;
        idle_.notify_all();
    }
}

Task<> OnLink(LinkRunner* runner, std::function<void()> job) {
    if (!runner) {
        job();
        co_return;
    }
    // What the job throws on the link thread is thrown on in the handler, which shows it.
    std::exception_ptr error;
    co_await Resumption([runner, &job, &error](std::function<void()> resume) {
        runner->Run(
            [&job, &error] {
                try {
                    job();
                } catch (...) {
                    error = std::current_exception();
                }
            },
            std::move(resume));
    });
    if (error) std::rethrow_exception(error);
}

} // namespace vantrel
