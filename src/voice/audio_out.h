#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace vantrel {

// Plays one stream of 16-bit mono PCM at a time. Samples are appended while they are
// synthesised; the owner calls Pump regularly (it feeds the device and advances the clock).
// Runs on the thread that created it.
class AudioOut {
public:
    virtual ~AudioOut() = default;
    // Starts a new stream, dropping what is left of the previous one.
    virtual void Start(int sampleRate) = 0;
    virtual void Append(const std::int16_t* samples, std::size_t count) = 0;
    // No more samples follow for this stream.
    virtual void Finish() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Drops the stream at once.
    virtual void Stop() = 0;
    virtual void Pump() = 0;
    // Samples of the stream played so far.
    virtual std::uint64_t PlayedSamples() const = 0;
    // The stream is finished and has been played out.
    virtual bool Done() const = 0;
    // True when a sound device takes the audio; false when the stream is only timed.
    virtual bool Audible() const = 0;
};

using AudioOutFactory = std::function<std::unique_ptr<AudioOut>()>;

// The default sound device (Qt Multimedia; waveOut on Windows); without one, a silent output that keeps
// real time (so pause, resume and the start and stop notifications behave the same).
std::unique_ptr<AudioOut> CreateDeviceAudioOut();

// Always the silent, real-time output.
std::unique_ptr<AudioOut> CreateSilentAudioOut();

} // namespace vantrel
