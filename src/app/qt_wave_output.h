#pragma once
#include "device_wave_output.h"
#include "wave_file_cache.h"

#include <QTimer>

#include <memory>

class QAudioSink;
class QIODevice;

namespace vantrel {

// The sound player's way out: the decoded wave file is pushed into a QAudioSink on the default
// output device. One sound at a time; a new Play or Stop drops what plays at once. A loop wraps
// inside the stream, so its end joins its start without a gap. A file that is missing, too
// large or not a 16-bit PCM wave, or a machine without a sound device, plays nothing.
class QtWaveOutput : public WaveOutput {
public:
    QtWaveOutput();
    ~QtWaveOutput() override;

    void Play(const std::string& path, bool loop) override;
    void Stop() override;

    // True while a sound is being streamed.
    bool Playing() const { return playing_ != nullptr; }

private:
    // Fills the sink's free buffer space with the next samples.
    void Pump();

    WaveFileCache files_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* io_ = nullptr;
    std::shared_ptr<const PcmAudio> playing_;
    std::size_t at_ = 0; // next sample to hand over
    bool loop_ = false;
    QTimer pump_;
};

} // namespace vantrel
