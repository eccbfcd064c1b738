// Decoding one typical METAR into the spoken sentence, as a weather button does after the
// reply has arrived. Goal: below 20 microseconds.
#include "voice/weather_report.h"

#include <benchmark/benchmark.h>

#include <string>

static void BM_DecodeTypicalReport(benchmark::State& state) {
    const std::string reply =
        "2026/12/08 15:50\nEGLL 081550Z 24015G25KT 200V260 9999 -SHRA FEW012 BKN045CB 12/09 Q1013 NOSIG\n";
    const std::string line = "EGLL London Heathrow";
    for (auto _ : state) {
        auto sentence = vantrel::SentenceFromReply(reply, line);
        benchmark::DoNotOptimize(sentence);
    }
}
BENCHMARK(BM_DecodeTypicalReport)->Repetitions(10)->ReportAggregatesOnly(true);

static void BM_DecodeStatuteMileReport(benchmark::State& state) {
    const std::string reply =
        "2026/12/08 15:51\nKJFK 081551Z 31008KT 1 1/2SM R04R/2000V4000FT BR OVC004 M05/M10 "
        "A2992 RMK AO2\n";
    const std::string line = "KJFK John F Kennedy Intl";
    for (auto _ : state) {
        auto sentence = vantrel::SentenceFromReply(reply, line);
        benchmark::DoNotOptimize(sentence);
    }
}
BENCHMARK(BM_DecodeStatuteMileReport)->Repetitions(10)->ReportAggregatesOnly(true);
