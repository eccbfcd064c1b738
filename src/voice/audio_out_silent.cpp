#include "audio_out.h"

#include <chrono>

namespace vantrel {
namespace {

// Keeps the time a stream would take on a device, honouring pause, and plays nothing.
class SilentAudioOut final : public AudioOut {
public:
    void Start(int sampleRate) override {
        rate_ = sampleRate;
        total_ = 0;
        finished_ = false;
        paused_ = false;
        playedBeforePause_ = 0;
        running_ = true;
        since_ = Clock::now();
    }
    void Append(const std::int16_t*, std::size_t count) override { total_ += count; }
    void Finish() override { finished_ = true; }
    void Pause() override {
        if (paused_ || !running_) return;
        playedBeforePause_ = PlayedSamples();
        paused_ = true;
    }
    void Resume() override {
        if (!paused_) return;
        paused_ = false;
        since_ = Clock::now();
    }
    void Stop() override {
        running_ = false;
        total_ = 0;
        finished_ = true;
    }
    void Pump() override {}
    std::uint64_t PlayedSamples() const override {
        if (!running_) return 0;
        if (paused_) return playedBeforePause_;
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - since_).count();
        const std::uint64_t played = playedBeforePause_ + static_cast<std::uint64_t>(us) *
                                                              static_cast<std::uint64_t>(rate_) / 1000000u;
        return played < total_ ? played : total_;
    }
    bool Done() const override { return finished_ && (!running_ || PlayedSamples() >= total_); }
    bool Audible() const override { return false; }

private:
    using Clock = std::chrono::steady_clock;
    int rate_ = 22050;
    std::uint64_t total_ = 0;
    std::uint64_t playedBeforePause_ = 0;
    Clock::time_point since_;
    bool finished_ = true;
    bool paused_ = false;
    bool running_ = false;
};

} // namespace

std::unique_ptr<AudioOut> CreateSilentAudioOut() {
    return std::make_unique<SilentAudioOut>();
}

} // namespace vantrel
