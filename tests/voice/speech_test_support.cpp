#include "speech_test_support.h"

#include "core/profile_file.h"

#include <algorithm>
#include <cmath>

namespace vantrel::test {

PcmAudio SpeakToWave(const std::string& text, const QTemporaryDir& dir, std::uint32_t speed) {
    TMSpeech speech;
    speech.Output = TSpeechOutput::soFile;
    speech.Filename = dir.filePath("out.wav").toStdString();
    speech.Select(speech.Engines().at(0));
    speech.SetSpeed(speed);
    speech.SetText(text);
    speech.Speak();
    PcmAudio audio;
    std::string bytes;
    if (speech.WaitUntilDone(20000) && ReadWholeFile(speech.Filename, bytes)) DecodeWave(bytes, audio);
    return audio;
}

double Rms(const std::vector<std::int16_t>& samples) {
    if (samples.empty()) return 0;
    double sum = 0;
    for (std::int16_t s : samples)
        sum += double(s) * s;
    return std::sqrt(sum / double(samples.size()));
}

double MedianPitchHz(const PcmAudio& audio) {
    const int frame = audio.sampleRate * 30 / 1000;
    const int minLag = audio.sampleRate / 400, maxLag = audio.sampleRate / 60;
    const double loud = Rms(audio.samples) * 0.5;
    std::vector<double> pitches;
    for (std::size_t start = 0; start + std::size_t(frame + maxLag) < audio.samples.size();
         start += std::size_t(frame)) {
        const auto* x = &audio.samples[start];
        std::vector<std::int16_t> chunk(x, x + frame);
        if (Rms(chunk) < loud) continue;
        double energy = 0;
        for (int i = 0; i < frame; ++i)
            energy += double(x[i]) * x[i];
        int bestLag = 0;
        double best = 0;
        for (int lag = minLag; lag <= maxLag; ++lag) {
            double r = 0;
            for (int i = 0; i < frame; ++i)
                r += double(x[i]) * x[i + lag];
            if (r > best) {
                best = r;
                bestLag = lag;
            }
        }
        if (bestLag > 0 && best > 0.3 * energy) pitches.push_back(double(audio.sampleRate) / bestLag);
    }
    if (pitches.empty()) return 0;
    std::nth_element(pitches.begin(), pitches.begin() + long(pitches.size() / 2), pitches.end());
    return pitches[pitches.size() / 2];
}

VoiceDescription FakeVoice(const std::string& name, const std::string& id, int gender) {
    VoiceDescription v;
    v.modeName = name;
    v.identifier = id;
    v.language = "en";
    v.gender = gender;
    return v;
}

bool FakeEngine::Synthesize(const VoiceDescription& voice, const std::vector<SynthSegment>& segments,
                            SynthSink& sink) {
    spokenWith.push_back(voice.identifier);
    lastSegments = segments;
    std::uint64_t at = 0;
    for (const SynthSegment& s : segments) {
        for (std::size_t i = 0; i < s.text.size(); ++i) {
            if (i == 0 || s.text[i - 1] == ' ') sink.Word(at, s.byteOffset + i);
            std::vector<std::int16_t> tone(100, std::int16_t(s.volume * 100));
            if (!sink.Samples(tone.data(), tone.size())) return true;
            at += tone.size();
        }
    }
    return true;
}

} // namespace vantrel::test
