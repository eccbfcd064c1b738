#include "speech_backend.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantrel {
namespace {

// Where the current synthesis delivers its output; espeak calls back through a plain function.
struct SynthContext {
    SynthSink* sink = nullptr;
    const SynthSegment* segment = nullptr;
    std::uint64_t samplesBefore = 0; // output of the earlier segments
    std::uint64_t samplesHere = 0;
    bool cancelled = false;
};

// Byte offset of the n-th (1-based) character of a UTF-8 text.
std::size_t ByteOfCharacter(const std::string& text, int position) {
    std::size_t byte = 0;
    for (int ch = 1; ch < position && byte < text.size(); ++ch) {
        ++byte;
        while (byte < text.size() && (static_cast<unsigned char>(text[byte]) & 0xC0) == 0x80)
            ++byte;
    }
    return byte;
}

#ifdef _WIN32
// The Windows program carries espeak-ng-data beside itself; the library's compiled-in path is
// the folder it was built in. espeak opens files through the ANSI API, so the folder is given
// in its short form, which has no characters outside the code page (a user name with accents).
std::string EspeakDataParent() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    wchar_t shortPath[MAX_PATH];
    const DWORD shortLength = GetShortPathNameW(folder.c_str(), shortPath, MAX_PATH);
    if (shortLength > 0 && shortLength < MAX_PATH) folder.assign(shortPath, shortLength);
    char ansi[MAX_PATH * 2];
    const int bytes = WideCharToMultiByte(CP_ACP, 0, folder.c_str(), int(folder.size()), ansi, sizeof ansi,
                                          nullptr, nullptr);
    return bytes > 0 ? std::string(ansi, std::size_t(bytes)) : std::string();
}
#endif

// The synthesis in progress; espeak runs one at a time (calls are serialised by the mutex).
SynthContext* current = nullptr;

int OnSynth(short* wav, int count, espeak_EVENT* events) {
    SynthContext* ctx = current;
    if (!ctx || ctx->cancelled) return 1;
    for (espeak_EVENT* e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        const std::uint64_t at = ctx->samplesBefore + static_cast<std::uint64_t>(std::max(e->sample, 0));
        if (e->type == espeakEVENT_WORD)
            ctx->sink->Word(at,
                            ctx->segment->byteOffset + ByteOfCharacter(ctx->segment->text, e->text_position));
        else if (e->type == espeakEVENT_PHONEME)
            ctx->sink->Phoneme(at, std::string(e->id.string, strnlen(e->id.string, sizeof e->id.string)));
    }
    if (wav && count > 0) {
        ctx->samplesHere += static_cast<std::uint64_t>(count);
        if (!ctx->sink->Samples(wav, static_cast<std::size_t>(count))) {
            ctx->cancelled = true;
            return 1;
        }
    }
    return 0;
}

class Espeak final : public SpeechBackend {
public:
    Espeak() {
        // Synchronous mode: espeak_Synth returns when the text is done and hands the audio to
        // OnSynth in 20 ms pieces, so playback can start while the rest is synthesised.
#ifdef _WIN32
        const std::string dataParent = EspeakDataParent();
        const char* dataPath = dataParent.empty() ? nullptr : dataParent.c_str();
#else
        const char* dataPath = nullptr;
#endif
        sampleRate_ = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 20, dataPath,
                                        espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
        if (sampleRate_ <= 0) return;
        espeak_SetSynthCallback(OnSynth);
        const char* version = espeak_Info(nullptr);
        product_ = std::string("eSpeak NG ") + (version ? version : "");
        for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v) {
            const std::string id = (*v)->identifier ? (*v)->identifier : "";
            // MBROLA voices need diphone databases that are installed separately.
            if (id.rfind("mb/", 0) == 0) continue;
            VoiceDescription d;
            d.modeName = (*v)->name ? (*v)->name : id;
            std::replace(d.modeName.begin(), d.modeName.end(), '_', ' ');
            d.language = (*v)->languages ? std::string((*v)->languages + 1) : "";
            d.identifier = id;
            d.gender = (*v)->gender == 1 ? 2 : (*v)->gender == 2 ? 1 : 0;
            d.age = (*v)->age;
            voices_.push_back(d);
        }
        // English first, so that voice number 0 of the shipped checklist file is English;
        // British English (the engine's reference voice) leads.
        auto rank = [](const VoiceDescription& d) {
            if (d.language == "en-gb") return 0;
            if (d.language.rfind("en", 0) == 0) return 1;
            return 2;
        };
        std::stable_sort(
            voices_.begin(), voices_.end(),
            [&](const VoiceDescription& a, const VoiceDescription& b) { return rank(a) < rank(b); });
    }

    bool Available() const override { return sampleRate_ > 0; }
    std::vector<VoiceDescription> Voices() const override { return voices_; }
    int SampleRate() const override { return sampleRate_ > 0 ? sampleRate_ : 22050; }
    std::string ProductName() const override { return product_; }

    bool CanLoad(const VoiceDescription& voice) override {
        std::lock_guard lock(mutex_);
        return Available() && espeak_SetVoiceByName(voice.identifier.c_str()) == EE_OK;
    }

    bool Synthesize(const VoiceDescription& voice, const std::vector<SynthSegment>& segments,
                    SynthSink& sink) override {
        std::lock_guard lock(mutex_);
        if (!Available() || espeak_SetVoiceByName(voice.identifier.c_str()) != EE_OK) return false;
        SynthContext ctx;
        ctx.sink = &sink;
        current = &ctx;
        struct Clear {
            ~Clear() { current = nullptr; }
        } clear;
        for (const SynthSegment& s : segments) {
            ctx.segment = &s;
            ctx.samplesHere = 0;
            espeak_SetParameter(espeakRATE, std::clamp(s.rate, espeakRATE_MINIMUM, espeakRATE_MAXIMUM), 0);
            espeak_SetParameter(espeakVOLUME, std::clamp(s.volume, 0, 200), 0);
            espeak_SetParameter(espeakPITCH, std::clamp(s.pitch, 0, 100), 0);
            if (s.text.find_first_not_of(" \t\r\n") == std::string::npos) continue;
            const espeak_ERROR rc = espeak_Synth(s.text.c_str(), s.text.size() + 1, 0, POS_CHARACTER, 0,
                                                 espeakCHARS_UTF8, nullptr, nullptr);
            if (ctx.cancelled) return true;
            if (rc != EE_OK) return false;
            ctx.samplesBefore += ctx.samplesHere;
        }
        return true;
    }

private:
    std::mutex mutex_;
    int sampleRate_ = 0;
    std::string product_;
    std::vector<VoiceDescription> voices_;
};

} // namespace

std::shared_ptr<SpeechBackend> EspeakBackend() {
    static std::shared_ptr<SpeechBackend> engine = std::make_shared<Espeak>();
    return engine;
}

} // namespace vantrel
