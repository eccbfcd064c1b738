// Latency from Speak to the first audio sample handed to the sound output, for a 20-word
// checklist sentence, with the first English voice.
#include "voice/mspeech.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "bench_speech";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

const char* const kSentence = "Before landing checklist. Gear down, three green. Flaps set for landing. "
                              "Landing lights on. Landing clearance received. Checklist complete.";

void BM_SpeakToFirstSample(benchmark::State& state) {
    App();
    vantrel::TMSpeech speech(nullptr, vantrel::EspeakBackend(), vantrel::CreateSilentAudioOut);
    speech.Select(speech.Engines().at(0));
    speech.SetText(kSentence);
    bool started = false;
    speech.OnStart = [&](QObject*) { started = true; };
    for (auto _ : state) {
        started = false;
        const auto t0 = std::chrono::steady_clock::now();
        speech.Speak();
        while (!started)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const auto t1 = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        speech.Stop();
    }
}
BENCHMARK(BM_SpeakToFirstSample)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
