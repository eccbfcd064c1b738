#include "mspeech.h"

#include "core/profile_file.h"
#include "core/rounding.h"
#include "wave_file.h"

#include <QCoreApplication>
#include <QString>
#include <QUuid>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>

namespace vantrel {

namespace {

struct Mark {
    std::uint64_t sample;
    std::size_t byteOffset;
    std::string phoneme;
};

// A rough mouth shape for a phoneme of the engine's alphabet: vowels open the jaw,
// lip sounds close the mouth, teeth show on f and v.
TTSMouth MouthFor(const std::string& phoneme) {
    TTSMouth m;
    if (phoneme.empty() || phoneme[0] == '_') return m;
    const char c = phoneme[0];
    if (std::string("aAeEiIoOuUV@3").find(c) != std::string::npos) {
        m.JawOpen = m.MouthHeight = (c == 'i' || c == 'I' || c == 'u' || c == 'U') ? 90 : 170;
        m.MouthWidth = (c == 'o' || c == 'O' || c == 'u' || c == 'U') ? 70 : 150;
        m.TeethUpperVisible = 120;
    } else if (c == 'p' || c == 'b' || c == 'm') {
        m.LipTension = 200;
    } else if (c == 'f' || c == 'v') {
        m.TeethUpperVisible = 200;
        m.MouthWidth = 120;
    } else {
        m.JawOpen = m.MouthHeight = 50;
        m.MouthWidth = 110;
        m.TeethUpperVisible = m.TeethLowerVisible = 80;
    }
    return m;
}

std::string GuidText(const QString& name) {
    // Stable name-based identifiers, in the usual registry form.
    static const QUuid space("{6B1F3A52-0C4E-4D6B-9A1E-7F2C5D8E9B30}");
    return QUuid::createUuidV5(space, name).toString(QUuid::WithBraces).toUpper().toStdString();
}

} // namespace

// What one Speak hands from the synthesis thread to the user-interface thread.
class SpeechJob final : public SynthSink {
public:
    std::mutex mutex;
    std::vector<std::int16_t> pending; // produced, not yet taken (sound device)
    std::vector<std::int16_t> all;     // everything produced (wave file)
    std::vector<Mark> words;
    std::vector<Mark> phonemes;
    std::uint64_t produced = 0;
    bool done = false;
    bool keepAll = false;
    std::atomic<bool> cancel{false};
    std::function<void()> wake;

    bool Samples(const std::int16_t* samples, std::size_t count) override {
        bool first = false;
        {
            std::lock_guard lock(mutex);
            first = produced == 0;
            produced += count;
            if (keepAll)
                all.insert(all.end(), samples, samples + count);
            else
                pending.insert(pending.end(), samples, samples + count);
        }
        if (first && wake) wake();
        return !cancel;
    }
    void Word(std::uint64_t sample, std::size_t byteOffset) override {
        std::lock_guard lock(mutex);
        words.push_back({sample, byteOffset, {}});
    }
    void Phoneme(std::uint64_t sample, const std::string& name) override {
        std::lock_guard lock(mutex);
        phonemes.push_back({sample, 0, name});
    }
};

TMSpeech::TMSpeech(QObject* owner) : TMSpeech(owner, EspeakBackend(), CreateDeviceAudioOut) {}

TMSpeech::TMSpeech(QObject* owner, std::shared_ptr<SpeechBackend> engine, AudioOutFactory audio)
    : QObject(owner), engine_(std::move(engine)), audioFactory_(std::move(audio)) {
    wordPosition_ = 0;
    Output = TSpeechOutput::soGeneral;
    paused_ = false;
    version_ = "TMSpeech 2.1 for " + (engine_ ? engine_->ProductName() : std::string("no engine"));
    pump_.setInterval(10);
    connect(&pump_, &QTimer::timeout, this, &TMSpeech::Pump);
    EnumerateEngines();
}

TMSpeech::~TMSpeech() {
    initialized_ = false;
    if (job_) job_->cancel = true;
    if (worker_.joinable()) worker_.join();
    if (audio_) audio_->Stop();
}

void TMSpeech::EnumerateEngines() {
    initialized_ = true;
    engineSelected_ = false;
    if (!engine_ || !engine_->Available()) {
        initialized_ = false;
        return;
    }
    voices_ = engine_->Voices();
    for (const auto& v : voices_)
        engines_.push_back(v.modeName);
}

void TMSpeech::SetText(const std::string& text) {
    Text.clear();
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            Text.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty() || Text.empty()) Text.push_back(line);
}

void TMSpeech::Select(const std::string& modeName) {
    if (!initialized_) throw EMSpeechException("Speech Engine not initialized");
    const QString wanted = QString::fromStdString(modeName);
    std::size_t index = engines_.size();
    for (std::size_t i = 0; i < engines_.size(); ++i) {
        if (QString::fromStdString(engines_[i]).compare(wanted, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    }
    if (index == engines_.size()) throw EMSpeechException("Specified Speech Engine not found");

    engineSelected_ = true;
    if (job_) EndJob(true);
    audio_ = Output == TSpeechOutput::soGeneral && audioFactory_ ? audioFactory_() : nullptr;
    const VoiceDescription& d = voices_[index];
    if (!engine_->CanLoad(d)) {
        engineSelected_ = false;
        return;
    }
    voice_ = d;
    settings_ = VoiceSettings{}; // a newly selected voice starts with its natural settings

    info_.ModeName = d.modeName;
    info_.Dialect = d.language;
    info_.MfgName = "The eSpeak NG project";
    info_.ProductName = engine_->ProductName();
    info_.ModeID = GuidText(QString::fromStdString("mode:" + d.identifier));
    info_.EngineID = GuidText(QString::fromStdString("engine:" + engine_->ProductName()));
    info_.Speaker = d.modeName;
    info_.Style = "Normal";
    static const char* const kGenders[] = {"NEUTRAL", "FEMALE", "MALE"};
    if (d.gender >= 0 && d.gender <= 2) info_.Gender = kGenders[d.gender];
    info_.Age = d.age;
    info_.Features = 0;
    info_.Interfaces = 0;

    // Probe each range by setting the extremes and reading back what the engine kept.
    const VoiceSettings saved = settings_;
    settings_ = Clamped({65535, 0xFFFFFFFFu, saved.volume});
    info_.MaxPitch = static_cast<std::uint16_t>(settings_.pitch);
    info_.MaxSpeed = settings_.speed;
    settings_ = Clamped({0, 0, saved.volume});
    info_.MinPitch = static_cast<std::uint16_t>(settings_.pitch);
    info_.MinSpeed = settings_.speed;
    settings_ = saved;
    const std::uint32_t savedRealTime = realTime_;
    info_.MaxRealTime = realTime_ = 100; // the engine runs faster than real time: 100 % at most
    info_.MinRealTime = realTime_ = 100;
    realTime_ = savedRealTime;
    info_.MaxVolume = 100;
    info_.MinVolume = 0;
}

void TMSpeech::Speak() {
    if (!initialized_) throw EMSpeechException("Speech Engine not initialized");
    if (!engineSelected_) throw EMSpeechException("Speech Engine not selected");
    paused_ = false;
    if (job_) EndJob(true);

    const bool toFile = Output == TSpeechOutput::soFile;
    if (toFile) {
        // The wave file must be creatable; otherwise nothing is spoken.
        std::error_code ec;
        const std::filesystem::path target(Filename);
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        if (Filename.empty() || !std::filesystem::is_directory(folder, ec) ||
            std::filesystem::is_directory(target, ec))
            return;
    } else if (!audio_ && audioFactory_) {
        audio_ = audioFactory_();
    }

    std::string whole;
    for (const std::string& line : Text)
        whole += line + "\r\n";
    const std::vector<SynthSegment> segments = SplitAtControlTags(whole, settings_);

    auto job = std::make_shared<SpeechJob>();
    job->keepAll = toFile;
    // The worker is joined before this object goes, so the queued call never outlives it.
    job->wake = [this] { QMetaObject::invokeMethod(this, &TMSpeech::Pump, Qt::QueuedConnection); };
    job_ = job;
    audioRunning_ = false;
    startedOnce_ = false;
    finishSent_ = false;
    wordsSeen_ = phonemesSeen_ = 0;
    wordPosition_ = 0;
    const int rate = engine_->SampleRate();
    if (!toFile && audio_) audio_->Start(rate);

    const std::string filename = Filename;
    worker_ = std::thread([engine = engine_, voice = voice_, segments, job, toFile, filename, rate] {
        const bool ok = engine->Synthesize(voice, segments, *job);
        if (toFile && ok && !job->cancel) {
            PcmAudio audio;
            audio.sampleRate = rate;
            {
                std::lock_guard lock(job->mutex);
                audio.samples = job->all;
            }
            try {
                WriteFileAtomically(filename, EncodeWave(audio));
            } catch (const std::exception&) {
                // A failed file write is silent, like every other failure while speaking.
            }
        }
        {
            std::lock_guard lock(job->mutex);
            job->done = true;
        }
        if (job->wake) job->wake();
    });
    pump_.start();
}

void TMSpeech::Pump() {
    if (!job_) return;
    std::vector<std::int16_t> fresh;
    std::vector<Mark> words, phonemes;
    bool done = false;
    std::uint64_t produced = 0;
    {
        std::lock_guard lock(job_->mutex);
        fresh.swap(job_->pending);
        words.assign(job_->words.begin() + static_cast<std::ptrdiff_t>(wordsSeen_), job_->words.end());
        phonemes.assign(job_->phonemes.begin() + static_cast<std::ptrdiff_t>(phonemesSeen_),
                        job_->phonemes.end());
        done = job_->done;
        produced = job_->produced;
    }

    const bool toFile = Output == TSpeechOutput::soFile || !audio_;
    if (!startedOnce_ && produced > 0) {
        startedOnce_ = true;
        if (!paused_) FireStart();
    }
    std::uint64_t played = produced;
    if (!toFile) {
        if (!fresh.empty()) audio_->Append(fresh.data(), fresh.size());
        if (done && !finishSent_) {
            finishSent_ = true;
            audio_->Finish();
        }
        audio_->Pump();
        played = audio_->PlayedSamples();
    } else if (!done) {
        played = 0; // the file's marks are reported once it is written
    }

    // Report the words and mouth shapes that have been reached.
    for (const Mark& w : words) {
        if (w.sample > played) break;
        wordPosition_ = static_cast<std::uint32_t>(w.byteOffset);
        ++wordsSeen_;
    }
    for (const Mark& p : phonemes) {
        if (p.sample > played) break;
        ++phonemesSeen_;
        if (OnVisual) {
            const TTSMouth mouth = MouthFor(p.phoneme);
            OnVisual(this, 0, &mouth);
        }
        if (!job_) return; // a handler stopped the speech
    }

    if (done && (toFile || audio_->Done())) EndJob(false);
}

void TMSpeech::EndJob(bool stopped) {
    if (!job_) return;
    job_->cancel = stopped;
    if (worker_.joinable()) worker_.join();
    job_.reset();
    pump_.stop();
    if (stopped && audio_) audio_->Stop();
    FireStop();
}

void TMSpeech::FireStart() {
    audioRunning_ = true;
    if (OnStart) OnStart(this);
}

void TMSpeech::FireStop() {
    if (!audioRunning_) return;
    audioRunning_ = false;
    if (OnStop) OnStop(this);
}

void TMSpeech::Pause() {
    if (!engineSelected_) return;
    if (audio_) audio_->Pause();
    paused_ = true;
    FireStop(); // the audio output stops while paused
}

void TMSpeech::Resume() {
    if (!engineSelected_) return;
    if (audio_) audio_->Resume();
    paused_ = false;
    if (job_ && startedOnce_ && !audioRunning_) FireStart();
}

void TMSpeech::Stop() {
    if (!engineSelected_) return;
    paused_ = false;
    EndJob(true);
}

bool TMSpeech::WaitUntilDone(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (job_) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void TMSpeech::Inject(const std::string& tag) {
    settings_ = ApplyControlTags(tag, settings_);
}

std::uint16_t TMSpeech::GetPitch() const {
    return engineSelected_ ? static_cast<std::uint16_t>(settings_.pitch) : 0;
}

void TMSpeech::SetPitch(std::uint16_t value) {
    if (engineSelected_) Inject("\\Pit=" + std::to_string(value) + "\\");
}

std::uint32_t TMSpeech::GetSpeed() const {
    return engineSelected_ ? settings_.speed : 0;
}

void TMSpeech::SetSpeed(std::uint32_t value) {
    if (engineSelected_) Inject("\\Spd=" + std::to_string(value) + "\\");
}

int TMSpeech::GetVolume() const {
    if (!engineSelected_) return 0;
    const std::uint32_t left = settings_.volume & 0xFFFFu;
    return static_cast<int>(left * 100 / 65535);
}

void TMSpeech::SetVolume(int percent) {
    if (!engineSelected_) return;
    const std::int64_t n = RoundHalfEven(percent / 100.0 * 65535);
    Inject("\\Vol=" + std::to_string(n) + "\\");
}

} // namespace vantrel
