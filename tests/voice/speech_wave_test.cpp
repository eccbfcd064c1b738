// Speech synthesised into wave files and measured.
#include "speech_test_support.h"

#include <gtest/gtest.h>

using namespace vantrel;
using vantrel::test::MedianPitchHz;
using vantrel::test::Rms;
using vantrel::test::SpeakToWave;

namespace {

class SpeechWave : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

TEST_F(SpeechWave, LengthGrowsWithTheText) {
    const PcmAudio shortText = SpeakToWave("Flaps up.", dir);
    const PcmAudio longText = SpeakToWave("Flaps up. Gear up. Thrust climb. Altimeters standard.", dir);
    ASSERT_GT(shortText.samples.size(), 0u);
    EXPECT_GT(longText.samples.size(), shortText.samples.size() * 3);
    EXPECT_EQ(shortText.sampleRate, 22050);
}

TEST_F(SpeechWave, EmptyTextIsSilence) {
    const PcmAudio audio = SpeakToWave("", dir);
    EXPECT_EQ(Rms(audio.samples), 0.0);
}

TEST_F(SpeechWave, FasterSpeedGivesShorterFile) {
    const std::string text = "Before landing checklist. Gear down, three green.";
    const PcmAudio slow = SpeakToWave(text, dir, 100);
    const PcmAudio fast = SpeakToWave(text, dir, 300);
    ASSERT_GT(fast.samples.size(), 0u);
    EXPECT_LT(fast.samples.size() * 3 / 2, slow.samples.size());
}

TEST_F(SpeechWave, VolumeTagMakesTheFollowingTextLouder) {
    const PcmAudio quiet = SpeakToWave("\\Vol=8000\\Landing lights on.", dir);
    const PcmAudio loud = SpeakToWave("\\Vol=65535\\Landing lights on.", dir);
    EXPECT_GT(Rms(loud.samples), Rms(quiet.samples) * 3);
}

TEST_F(SpeechWave, PitchTagChangesThePitch) {
    const PcmAudio low = SpeakToWave("\\Pit=20\\Hello, flaps are set.", dir);
    const PcmAudio high = SpeakToWave("\\Pit=120\\Hello, flaps are set.", dir);
    const double lowHz = MedianPitchHz(low), highHz = MedianPitchHz(high);
    ASSERT_GT(lowHz, 0);
    EXPECT_GT(highHz, lowHz * 1.3) << lowHz << " Hz against " << highHz << " Hz";
}

TEST_F(SpeechWave, ControlTagsAreNotSpoken) {
    const PcmAudio plain = SpeakToWave("Gear down.", dir);
    const PcmAudio tagged = SpeakToWave("\\Spd=145\\Gear down.", dir);
    // The engine's pauses vary by a few milliseconds between runs; a spoken tag would add words.
    const double ratio = double(tagged.samples.size()) / double(plain.samples.size());
    EXPECT_NEAR(ratio, 1.0, 0.1);
}

TEST_F(SpeechWave, UnwritableTargetSpeaksNothingAndRaisesNothing) {
    TMSpeech speech;
    speech.Output = TSpeechOutput::soFile;
    speech.Filename = dir.filePath("missing/folder/out.wav").toStdString();
    speech.Select(speech.Engines().at(0));
    speech.SetText("Gear down.");
    EXPECT_NO_THROW(speech.Speak());
    EXPECT_FALSE(speech.Speaking());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(speech.Filename)));
}

TEST_F(SpeechWave, WordPositionEndsOnTheLastWordAndEventsArrive) {
    TMSpeech speech;
    int starts = 0, stops = 0;
    speech.OnStart = [&](QObject*) { ++starts; };
    speech.OnStop = [&](QObject*) { ++stops; };
    speech.Output = TSpeechOutput::soFile;
    speech.Filename = dir.filePath("w.wav").toStdString();
    speech.Select(speech.Engines().at(0));
    speech.SetText("Gear down now");
    EXPECT_EQ(speech.WordPosition(), 0u);
    speech.Speak();
    ASSERT_TRUE(speech.WaitUntilDone(20000));
    EXPECT_EQ(speech.WordPosition(), 10u); // byte offset of "now"
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(stops, 1);
}

} // namespace
