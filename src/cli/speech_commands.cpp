#include "speech_commands.h"

#include "json_writer.h"

#include "core/convert.h"
#include "core/profile_file.h"
#include "voice/mspeech.h"
#include "voice/wave_file.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {

using vantrel::cli::JsonString;

// The speech component posts its notifications through Qt's event loop.
std::unique_ptr<QCoreApplication> EnsureApp(int& argc, char** argv) {
    if (QCoreApplication::instance()) return nullptr;
    return std::make_unique<QCoreApplication>(argc, argv);
}

int Usage(const char* text) {
    std::cerr << "vantrel-cli: " << text << "\n"
              << "usage: vantrel-cli speak --voice N --out FILE.wav [--pitch P] [--speed S] [--volume "
                 "PERCENT] TEXT...\n"
              << "       vantrel-cli voices\n";
    return 2;
}

struct SpeakOptions {
    int voice = 0;
    std::string out;
    int pitch = -1, speed = -1, volume = -1;
    std::string text;
};

// Reads the options after "speak"; false (with a message) when the command line is wrong.
bool ParseSpeak(int argc, char** argv, SpeakOptions& o, std::string& error) {
    bool haveVoice = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue =
            arg == "--voice" || arg == "--out" || arg == "--pitch" || arg == "--speed" || arg == "--volume";
        if (takesValue) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            const std::string value = argv[++i];
            if (arg == "--out") {
                o.out = value;
                continue;
            }
            const int n = vantrel::StrToIntDef(value, -1);
            if (n < 0) {
                error = arg + " needs a number from 0: " + value;
                return false;
            }
            (arg == "--voice"   ? o.voice
             : arg == "--pitch" ? o.pitch
             : arg == "--speed" ? o.speed
                                : o.volume) = n;
            haveVoice = haveVoice || arg == "--voice";
        } else if (arg.rfind("--", 0) == 0) {
            error = "unknown option " + arg;
            return false;
        } else {
            o.text += (o.text.empty() ? "" : " ") + arg;
        }
    }
    if (!haveVoice || o.out.empty()) {
        error = "--voice and --out are required";
        return false;
    }
    return true;
}

} // namespace

int RunSpeakCommand(int argc, char** argv) {
    SpeakOptions o;
    std::string error;
    if (!ParseSpeak(argc, argv, o, error)) return Usage(error.c_str());
    auto app = EnsureApp(argc, argv);

    vantrel::TMSpeech speech;
    speech.Output = vantrel::TSpeechOutput::soFile;
    speech.Filename = o.out;
    std::string failure;
    try {
        if (o.voice >= static_cast<int>(speech.Engines().size()) && speech.Initialized())
            throw vantrel::EMSpeechException("Specified Speech Engine not found");
        speech.Select(speech.Initialized() ? speech.Engines()[static_cast<std::size_t>(o.voice)]
                                           : std::string());
        if (o.volume >= 0) speech.SetVolume(o.volume);
        if (o.pitch >= 0) speech.SetPitch(static_cast<std::uint16_t>(std::min(o.pitch, 0xFFFF)));
        if (o.speed >= 0) speech.SetSpeed(static_cast<std::uint32_t>(o.speed));
        speech.SetText(o.text);
        speech.Speak();
        if (!speech.WaitUntilDone(120000)) failure = "Speech did not finish";
    } catch (const vantrel::EMSpeechException& e) {
        failure = e.what();
    }
    vantrel::PcmAudio audio;
    std::string bytes;
    if (failure.empty() && !(vantrel::ReadWholeFile(o.out, bytes) && vantrel::DecodeWave(bytes, audio)))
        failure = "Unable to write to " + o.out;
    if (!failure.empty()) {
        std::cout << "{\"spoken\": false, \"errors\": [" << JsonString(failure) << "]}\n";
        return 0;
    }
    std::cout << "{\"spoken\": true, \"file\": " << JsonString(o.out)
              << ", \"voice\": " << JsonString(speech.EngineInfo().ModeName)
              << ", \"sampleRate\": " << audio.sampleRate << ", \"samples\": " << audio.samples.size()
              << ", \"seconds\": " << static_cast<double>(audio.samples.size()) / audio.sampleRate << "}\n";
    return 0;
}

int RunVoicesCommand(int argc, char** argv) {
    if (argc > 2) return Usage("voices takes no arguments");
    auto app = EnsureApp(argc, argv);
    const auto voices = vantrel::EspeakBackend()->Voices();
    std::cout << "{\"voices\": [";
    for (std::size_t i = 0; i < voices.size(); ++i)
        std::cout << (i ? ", " : "") << "{\"index\": " << i
                  << ", \"name\": " << JsonString(voices[i].modeName)
                  << ", \"language\": " << JsonString(voices[i].language) << "}";
    std::cout << "]}\n";
    return 0;
}
