#pragma once
// The real posix transport with a hand on it: a send can be held back as a hung simulator holds
// it (on the link thread, where the send waits), and the threads that used it are noted.
#include "ipc/posix_transport.h"

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace vantrel::test {

class HoldingTransport : public IpcTransport {
public:
    explicit HoldingTransport(const std::string& dir) : real_(dir) {}

    // The send after `skip` more sends, and every one after it, waits until Release.
    void HoldAfter(int skip) {
        std::lock_guard lock(mutex_);
        holdFrom_ = sends_ + skip + 1;
    }
    void Release() {
        {
            std::lock_guard lock(mutex_);
            holdFrom_ = 0;
        }
        changed_.notify_all();
    }
    bool Holding() const {
        std::lock_guard lock(mutex_);
        return held_ > 0;
    }
    int Sends() const {
        std::lock_guard lock(mutex_);
        return sends_;
    }
    bool UsedOn(std::thread::id thread) const {
        std::lock_guard lock(mutex_);
        return threads_.count(thread) > 0;
    }

    bool FindServer(bool& through_fs98) override {
        Note();
        return real_.FindServer(through_fs98);
    }
    bool RegisterMessage() override {
        Note();
        return real_.RegisterMessage();
    }
    bool AddNameAtom(const std::string& name) override {
        Note();
        return real_.AddNameAtom(name);
    }
    bool CreateMapping(const std::string& name, std::size_t size) override {
        Note();
        return real_.CreateMapping(name, size);
    }
    std::uint8_t* MapView() override {
        Note();
        return real_.MapView();
    }
    SendOutcome Send(int timeout_ms, std::uintptr_t& answer) override {
        {
            std::unique_lock lock(mutex_);
            threads_.insert(std::this_thread::get_id());
            const int n = ++sends_;
            if (holdFrom_ > 0 && n >= holdFrom_) {
                ++held_;
                changed_.wait(lock, [&] { return holdFrom_ == 0 || n < holdFrom_; });
                --held_;
            }
        }
        return real_.Send(timeout_ms, answer);
    }
    void Pause(int ms) override { real_.Pause(ms); }
    void Close() override {
        Note();
        real_.Close();
    }

private:
    void Note() {
        std::lock_guard lock(mutex_);
        threads_.insert(std::this_thread::get_id());
    }

    PosixTransport real_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::set<std::thread::id> threads_;
    int sends_ = 0;
    int holdFrom_ = 0;
    int held_ = 0;
};

} // namespace vantrel::test
