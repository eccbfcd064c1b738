// Speech on Windows goes through the waveOut API: Qt's audio sink finds no device under Wine,
// while waveOut plays everywhere.
#ifdef _WIN32
#include "audio_out.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <deque>
#include <vector>

namespace vantrel {
namespace {

// The samples of one submitted piece, kept with its header until the device is done with it.
struct WaveBlock {
    std::vector<std::int16_t> samples;
    WAVEHDR header{};
};

// Hands the stream to the default wave device in pieces as they arrive. Pump reclaims the
// pieces the device has played (polled, so no callback thread). If the device cannot be opened
// the stream is timed silently, so that callers still see it end.
class WaveOutAudioOut final : public AudioOut {
public:
    WaveOutAudioOut() : fallback_(CreateSilentAudioOut()) {}
    ~WaveOutAudioOut() override { Close(); }

    void Start(int sampleRate) override {
        Close();
        finished_ = false;
        paused_ = false;
        failed_ = false;
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 1;
        format.nSamplesPerSec = DWORD(sampleRate);
        format.wBitsPerSample = 16;
        format.nBlockAlign = 2;
        format.nAvgBytesPerSec = format.nSamplesPerSec * 2;
        if (waveOutOpen(&device_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
            device_ = nullptr;
            failed_ = true;
            fallback_->Start(sampleRate);
        }
    }

    void Append(const std::int16_t* samples, std::size_t count) override {
        if (failed_) {
            fallback_->Append(samples, count);
            return;
        }
        if (!device_ || count == 0) return;
        auto& block = blocks_.emplace_back();
        block.samples.assign(samples, samples + count);
        block.header.lpData = reinterpret_cast<LPSTR>(block.samples.data());
        block.header.dwBufferLength = DWORD(count * sizeof(std::int16_t));
        if (waveOutPrepareHeader(device_, &block.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR ||
            waveOutWrite(device_, &block.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
            waveOutUnprepareHeader(device_, &block.header, sizeof(WAVEHDR));
            blocks_.pop_back();
        }
    }

    void Finish() override {
        finished_ = true;
        fallback_->Finish();
    }

    void Pause() override {
        paused_ = true;
        if (failed_)
            fallback_->Pause();
        else if (device_)
            waveOutPause(device_);
    }

    void Resume() override {
        paused_ = false;
        if (failed_)
            fallback_->Resume();
        else if (device_)
            waveOutRestart(device_);
    }

    void Stop() override {
        fallback_->Stop();
        Close();
        finished_ = true;
    }

    void Pump() override {
        // Played pieces leave the front of the queue in order.
        while (device_ && !blocks_.empty() && (blocks_.front().header.dwFlags & WHDR_DONE)) {
            waveOutUnprepareHeader(device_, &blocks_.front().header, sizeof(WAVEHDR));
            blocks_.pop_front();
        }
    }

    std::uint64_t PlayedSamples() const override {
        if (failed_) return fallback_->PlayedSamples();
        if (!device_) return 0;
        MMTIME position{};
        position.wType = TIME_SAMPLES;
        if (waveOutGetPosition(device_, &position, sizeof position) != MMSYSERR_NOERROR) return 0;
        if (position.wType == TIME_BYTES) return position.u.cb / 2;
        return position.wType == TIME_SAMPLES ? position.u.sample : 0;
    }

    bool Done() const override {
        if (failed_) return fallback_->Done();
        if (!device_) return true;
        if (!finished_ || paused_) return false;
        for (const WaveBlock& block : blocks_)
            if (!(block.header.dwFlags & WHDR_DONE)) return false;
        return true;
    }

    bool Audible() const override { return !failed_; }

private:
    void Close() {
        if (!device_) return;
        // Reset hands every queued piece back at once, so they can be released.
        waveOutReset(device_);
        for (WaveBlock& block : blocks_)
            waveOutUnprepareHeader(device_, &block.header, sizeof(WAVEHDR));
        blocks_.clear();
        waveOutClose(device_);
        device_ = nullptr;
    }

    std::unique_ptr<AudioOut> fallback_;
    HWAVEOUT device_ = nullptr;
    std::deque<WaveBlock> blocks_; // deque: the headers must not move while queued
    bool finished_ = true;
    bool paused_ = false;
    bool failed_ = false;
};

} // namespace

std::unique_ptr<AudioOut> CreateDeviceAudioOut() {
    if (waveOutGetNumDevs() == 0) return CreateSilentAudioOut();
    return std::make_unique<WaveOutAudioOut>();
}

} // namespace vantrel
#endif
