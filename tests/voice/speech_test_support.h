#pragma once
#include "voice/mspeech.h"
#include "voice/wave_file.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

namespace vantrel::test {

// Speaks `text` with the first English voice into a wave file and returns its samples.
PcmAudio SpeakToWave(const std::string& text, const QTemporaryDir& dir, std::uint32_t speed = 145);

// Root mean square of the samples.
double Rms(const std::vector<std::int16_t>& samples);

// Median fundamental frequency (Hz) of the voiced 30 ms frames, by autocorrelation.
double MedianPitchHz(const PcmAudio& audio);

// A voice of the given name for the fake engine.
VoiceDescription FakeVoice(const std::string& name, const std::string& id = "v", int gender = 2);

// An engine with fixed voices that turns each character into 100 samples of a tone.
class FakeEngine : public SpeechBackend {
public:
    FakeEngine() = default;
    explicit FakeEngine(std::vector<VoiceDescription> v) : voices(std::move(v)) {}
    bool available = true;
    std::vector<VoiceDescription> voices;
    std::vector<std::string> spokenWith; // identifier of the voice of each synthesis
    std::vector<SynthSegment> lastSegments;

    bool Available() const override { return available; }
    std::vector<VoiceDescription> Voices() const override { return voices; }
    int SampleRate() const override { return 8000; }
    std::string ProductName() const override { return "Fake engine"; }
    bool CanLoad(const VoiceDescription&) override { return true; }
    bool Synthesize(const VoiceDescription& voice, const std::vector<SynthSegment>& segments,
                    SynthSink& sink) override;
};

} // namespace vantrel::test
