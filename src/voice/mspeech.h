#pragma once
#include "audio_out.h"
#include "speech_backend.h"
#include "voice_settings.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vantrel {

enum class TSpeechOutput { soFile = 0, soGeneral = 1 };

// Mouth shape at a sound, for lip animation (0 closed/low .. 255 open/high).
struct TTSMouth {
    std::uint8_t MouthHeight = 0;
    std::uint8_t MouthWidth = 0;
    std::uint8_t MouthUpturn = 0;
    std::uint8_t JawOpen = 0;
    std::uint8_t TeethUpperVisible = 0;
    std::uint8_t TeethLowerVisible = 0;
    std::uint8_t TonguePosn = 0;
    std::uint8_t LipTension = 0;
};
using PTTSMouth = const TTSMouth*;

struct TMSpeechEngineInfo {
    std::string ModeName;
    std::string Dialect;
    std::string MfgName;
    std::string ProductName;
    std::string ModeID;
    std::string EngineID;
    std::string Speaker;
    std::string Style;
    std::string Gender;
    std::int32_t Age = 0;
    std::uint32_t Features = 0;
    std::uint32_t Interfaces = 0;
    std::uint16_t MaxPitch = 0, MinPitch = 0;
    std::uint32_t MaxRealTime = 0, MinRealTime = 0;
    std::uint32_t MaxSpeed = 0, MinSpeed = 0;
    std::uint32_t MaxVolume = 0, MinVolume = 0;
};

class EMSpeechException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SpeechJob;

// The program's text-to-speech component: lists the installed voices, selects one by name and
// speaks a text asynchronously to the sound device or into a wave file. Synthesis runs on a
// worker thread into memory and the audio is played by this object, so Pause really holds the
// sound. Use it from one thread (the user-interface thread); notifications arrive there.
class TMSpeech : public QObject {
    Q_OBJECT
public:
    using NotifyEvent = std::function<void(QObject* sender)>;
    using VisualEvent = std::function<void(QObject* sender, std::uint32_t hints, PTTSMouth mouth)>;

    explicit TMSpeech(QObject* owner = nullptr);
    // With another engine or sound output (tests, machines without a sound device).
    TMSpeech(QObject* owner, std::shared_ptr<SpeechBackend> engine, AudioOutFactory audio);
    ~TMSpeech() override;

    // Published properties.
    std::string Filename; // UTF-8 path of the wave file written when Output is soFile
    TSpeechOutput Output = TSpeechOutput::soGeneral;
    std::vector<std::string> Text; // one entry per line
    NotifyEvent OnStart;
    NotifyEvent OnStop;
    VisualEvent OnVisual;
    const std::string& Version() const { return version_; }
    // Fills Text from a text whose line breaks (CR LF, LF or CR) separate the lines.
    void SetText(const std::string& text);

    const std::vector<std::string>& Engines() const { return engines_; }
    bool Initialized() const { return initialized_; }
    bool EngineSelected() const { return engineSelected_; }
    bool Paused() const { return paused_; }
    std::uint32_t WordPosition() const { return wordPosition_; }
    const TMSpeechEngineInfo& EngineInfo() const { return info_; }

    void Select(const std::string& modeName);
    void Speak();
    void Pause();
    void Resume();
    void Stop();
    std::uint16_t GetPitch() const;
    void SetPitch(std::uint16_t value);
    std::uint32_t GetSpeed() const;
    void SetSpeed(std::uint32_t value);
    int GetVolume() const;
    void SetVolume(int percent);

    // True from Speak until the last sample has been played (or written) or Stop.
    bool Speaking() const { return job_ != nullptr; }
    // Processes events until the speech has ended; false when the time ran out first.
    bool WaitUntilDone(int timeoutMs);
    // The sound device takes the audio (false: no device, the speech is only timed).
    bool Audible() const { return audio_ && audio_->Audible(); }

private:
    void EnumerateEngines();
    void Inject(const std::string& tag);
    void Pump();
    void EndJob(bool stopped);
    void FireStart();
    void FireStop();

    std::shared_ptr<SpeechBackend> engine_;
    AudioOutFactory audioFactory_;
    std::unique_ptr<AudioOut> audio_;
    std::vector<VoiceDescription> voices_;
    std::vector<std::string> engines_;
    VoiceDescription voice_;
    VoiceSettings settings_;
    std::uint32_t realTime_ = 100;
    TMSpeechEngineInfo info_;
    std::string version_;
    bool initialized_ = false;
    bool engineSelected_ = false;
    bool paused_ = false;
    std::uint32_t wordPosition_ = 0;

    std::shared_ptr<SpeechJob> job_;
    std::thread worker_;
    QTimer pump_;
    bool audioRunning_ = false; // OnStart fired and no OnStop since
    bool startedOnce_ = false;  // this job's audio has begun
    bool finishSent_ = false;
    std::size_t wordsSeen_ = 0;
    std::size_t phonemesSeen_ = 0;
};

} // namespace vantrel
