// Sound through Qt Multimedia everywhere but Windows (see audio_out_win32.cpp).
#ifndef _WIN32
#include "audio_out.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <deque>

namespace vantrel {
namespace {

// Pushes the stream into a QAudioSink on the default output device. If the device refuses
// the stream, the rest of it is timed silently so that callers still see it end.
class QtAudioOut final : public AudioOut {
public:
    explicit QtAudioOut(QAudioDevice device)
        : device_(std::move(device)), fallback_(CreateSilentAudioOut()) {}

    ~QtAudioOut() override { Close(); }

    void Start(int sampleRate) override {
        Close();
        pending_.clear();
        finished_ = false;
        failed_ = false;
        paused_ = false;
        rate_ = sampleRate;
        QAudioFormat format;
        format.setSampleRate(sampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = std::make_unique<QAudioSink>(device_, format);
        // One second of buffer: with much smaller buffers PulseAudio stalls for about a second
        // after the first fragment. Pause holds the stream at the server, so it stays immediate.
        sink_->setBufferSize(sampleRate * 2);
        io_ = sink_->start();
        if (!io_ || sink_->error() == QAudio::OpenError) {
            failed_ = true;
            fallback_->Start(sampleRate);
        }
    }

    void Append(const std::int16_t* samples, std::size_t count) override {
        if (failed_) {
            fallback_->Append(samples, count);
            return;
        }
        const auto* bytes = reinterpret_cast<const char*>(samples);
        pending_.insert(pending_.end(), bytes, bytes + count * 2);
        Pump();
    }

    void Finish() override {
        finished_ = true;
        fallback_->Finish();
    }

    void Pause() override {
        paused_ = true;
        if (failed_)
            fallback_->Pause();
        else if (sink_)
            sink_->suspend();
    }

    void Resume() override {
        paused_ = false;
        if (failed_)
            fallback_->Resume();
        else if (sink_)
            sink_->resume();
        Pump();
    }

    void Stop() override {
        fallback_->Stop();
        Close();
        pending_.clear();
        finished_ = true;
    }

    void Pump() override {
        // While paused nothing is written, whatever state the sink reports after an underrun.
        if (failed_ || paused_ || !sink_ || !io_ || pending_.empty()) return;
        const qsizetype room = sink_->bytesFree() & ~qsizetype(1);
        const auto n =
            static_cast<std::size_t>(std::min<qsizetype>(room, static_cast<qsizetype>(pending_.size())));
        if (n == 0) return;
        std::string chunk(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
        const qint64 written = io_->write(chunk.data(), static_cast<qint64>(chunk.size()));
        if (written > 0)
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(written));
    }

    std::uint64_t PlayedSamples() const override {
        if (failed_) return fallback_->PlayedSamples();
        if (!sink_) return 0;
        return static_cast<std::uint64_t>(sink_->processedUSecs()) * static_cast<std::uint64_t>(rate_) /
               1000000u;
    }

    bool Done() const override {
        if (failed_) return fallback_->Done();
        if (!sink_) return true;
        // The sink turns idle once it has played everything it was given.
        return finished_ && !paused_ && pending_.empty() &&
               (sink_->state() == QAudio::IdleState || sink_->state() == QAudio::StoppedState);
    }

    bool Audible() const override { return !failed_; }

private:
    void Close() {
        if (sink_) sink_->stop();
        io_ = nullptr;
        sink_.reset();
    }

    QAudioDevice device_;
    std::unique_ptr<AudioOut> fallback_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* io_ = nullptr;
    std::deque<char> pending_;
    int rate_ = 22050;
    bool finished_ = true;
    bool failed_ = false;
    bool paused_ = false;
};

} // namespace

std::unique_ptr<AudioOut> CreateDeviceAudioOut() {
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return CreateSilentAudioOut();
    return std::make_unique<QtAudioOut>(device);
}

} // namespace vantrel
#endif
