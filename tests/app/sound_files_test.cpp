// The shipped sounds: wave files the player reads, of the lengths the cues hold them for; the
// loops join without a click, the single sounds start and end in silence.
#include "voice/wave_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace vantrel;

namespace {

TEST(ShippedSounds, AreShortMonoWavesAndTheLoopsJoinWithoutAClick) {
    struct Sound {
        const char* file;
        double minSeconds, maxSeconds;
        bool loops;
    };
    const Sound sounds[] = {
        {"bkgnd.wav", 2.0, 6.0, true}, {"fuel.wav", 1.0, 4.0, true},    {"switch.wav", 0.005, 0.05, false},
        {"OK.wav", 0.3, 0.45, false},  {"alert.wav", 0.3, 0.45, false}, {"altalert.wav", 0.8, 1.0, false},
    };
    for (const Sound& s : sounds) {
        SCOPED_TRACE(s.file);
        std::ifstream in(std::string(VANTREL_OUT_DIR "/sounds/") + s.file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        PcmAudio audio;
        ASSERT_TRUE(DecodeWave(bytes.str(), audio));
        EXPECT_EQ(audio.sampleRate, 22050);
        const double seconds = double(audio.samples.size()) / audio.sampleRate;
        EXPECT_GE(seconds, s.minSeconds);
        EXPECT_LE(seconds, s.maxSeconds);

        // The typical step between neighbouring samples, against the step across the seam.
        const auto& v = audio.samples;
        double sum = 0;
        for (std::size_t i = 1; i < v.size(); ++i)
            sum += std::pow(double(v[i]) - v[i - 1], 2);
        const double typicalStep = std::sqrt(sum / double(v.size() - 1));
        if (s.loops) {
            EXPECT_LE(std::abs(double(v.front()) - v.back()), 4 * typicalStep);
        } else {
            EXPECT_LT(std::abs(v.front()), 300);
            EXPECT_LT(std::abs(v.back()), 300);
        }
    }
}

} // namespace
