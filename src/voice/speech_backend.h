#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantrel {

// One installed voice as the synthesiser describes it.
struct VoiceDescription {
    std::string modeName;   // the name callers select it by
    std::string language;   // language and dialect, e.g. "en-gb"
    std::string identifier; // the synthesiser's own key for the voice
    int gender = 0;         // 0 neutral, 1 female, 2 male
    int age = 0;
};

// A run of text spoken with one set of voice settings, in the synthesiser's own units.
struct SynthSegment {
    std::string text;           // UTF-8
    std::size_t byteOffset = 0; // where the run starts in the whole text handed to Speak
    int rate = 175;             // words per minute
    int volume = 100;           // 0 silent, 100 full
    int pitch = 50;             // 0 lowest, 100 highest
};

// Receives what the synthesiser produces, on the synthesis thread.
class SynthSink {
public:
    virtual ~SynthSink() = default;
    // Returns false to abandon the synthesis (the speech was stopped).
    virtual bool Samples(const std::int16_t* samples, std::size_t count) = 0;
    // A word starts at this sample of the output and this byte of the whole text.
    virtual void Word(std::uint64_t sample, std::size_t byteOffset) = 0;
    // A phoneme starts at this sample; name in the synthesiser's phoneme alphabet.
    virtual void Phoneme(std::uint64_t sample, const std::string& name) = 0;
};

// The text-to-speech engine behind TMSpeech: lists voices and turns text into 16-bit mono PCM.
// Thread-safe: Synthesize may run on any thread; calls are serialised inside.
class SpeechBackend {
public:
    virtual ~SpeechBackend() = default;
    // False when the engine could not be started (no engine data on the machine).
    virtual bool Available() const = 0;
    virtual std::vector<VoiceDescription> Voices() const = 0;
    virtual int SampleRate() const = 0;
    virtual std::string ProductName() const = 0;
    // False when the voice cannot be loaded.
    virtual bool CanLoad(const VoiceDescription& voice) = 0;
    // Speaks the segments in order into the sink; false on an engine failure.
    virtual bool Synthesize(const VoiceDescription& voice, const std::vector<SynthSegment>& segments,
                            SynthSink& sink) = 0;
};

// The process-wide espeak-ng engine (the library keeps global state, so there is one).
std::shared_ptr<SpeechBackend> EspeakBackend();

} // namespace vantrel
