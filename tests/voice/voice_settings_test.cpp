#include "voice/voice_settings.h"
#include "voice/wave_file.h"

#include <gtest/gtest.h>

using namespace vantrel;

TEST(VoiceMapping, ShippedDefaultsMeetTheEnginesNaturalValues) {
    EXPECT_EQ(EnginePitch(62), 50);
    EXPECT_EQ(EngineRate(145), 175);
    EXPECT_EQ(EngineVolume(65535), 100);
    EXPECT_EQ(EnginePitch(124), 100);
    EXPECT_EQ(EngineRate(kMinSpeed), 81);
    EXPECT_EQ(EngineRate(kMaxSpeed), 449);
}

TEST(ControlTags, SplitTheTextAndCarryOffsets) {
    const auto segs = SplitAtControlTags("ab\\pit=124\\cd\\Spd=372\\\\Vol=0\\ef", VoiceSettings{});
    ASSERT_EQ(segs.size(), 3u);
    EXPECT_EQ(segs[0].text, "ab");
    EXPECT_EQ(segs[0].pitch, 50);
    EXPECT_EQ(segs[1].text, "cd");
    EXPECT_EQ(segs[1].byteOffset, 11u);
    EXPECT_EQ(segs[1].pitch, 100);
    EXPECT_EQ(segs[2].text, "ef");
    EXPECT_EQ(segs[2].byteOffset, 29u);
    EXPECT_EQ(segs[2].rate, 449);
    EXPECT_EQ(segs[2].volume, 0);
}

TEST(ControlTags, MalformedOrUnknownTagsAreOrdinaryText) {
    for (const std::string text : {"a\\Pit=\\b", "a\\Pit=12b", "a\\Xyz=3\\b", "a\\Pit=5"}) {
        const auto segs = SplitAtControlTags(text, VoiceSettings{});
        ASSERT_EQ(segs.size(), 1u) << text;
        EXPECT_EQ(segs[0].text, text);
    }
}

TEST(ControlTags, HugeValuesClampToTheRange) {
    const VoiceSettings s = ApplyControlTags("\\Pit=99999999999\\\\Vol=70000\\", VoiceSettings{});
    EXPECT_EQ(s.pitch, kMaxPitch);
    EXPECT_EQ(s.volume, kMaxVolume);
}

TEST(WaveFile, RoundTripsAndRejectsOtherBytes) {
    PcmAudio in;
    in.sampleRate = 16000;
    in.samples = {0, 1, -1, 32767, -32768};
    PcmAudio out;
    ASSERT_TRUE(DecodeWave(EncodeWave(in), out));
    EXPECT_EQ(out.sampleRate, 16000);
    EXPECT_EQ(out.samples, in.samples);
    EXPECT_FALSE(DecodeWave("RIFF....WAVEdata", out));
    std::string truncated = EncodeWave(in);
    truncated.resize(truncated.size() - 3);
    EXPECT_FALSE(DecodeWave(truncated, out));
}
