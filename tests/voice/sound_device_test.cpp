// Speech leaving the program through a real sound server: a PulseAudio daemon with a null sink,
// started by the test, whose monitor is recorded with parec.
#include "speech_test_support.h"
#include "voice/sound_server.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantrel;
using test::RunEvents;
using test::SoundServer;

namespace {

TEST_F(SoundServer, SpokenTextReachesTheSoundDevice) {
    StartRecording();
    TMSpeech speech;
    speech.Select(speech.Engines().at(0));
    ASSERT_TRUE(speech.Audible());
    speech.SetText("Before take-off checklist complete.");
    speech.Speak();
    ASSERT_TRUE(speech.WaitUntilDone(15000));
    const std::vector<std::int16_t> recorded = StopRecording();
    ASSERT_GT(recorded.size(), 22050u / 2);
    EXPECT_GT(test::Rms(recorded), 200.0);
}

TEST_F(SoundServer, PauseSilencesTheDeviceUntilResume) {
    TMSpeech speech;
    speech.Select(speech.Engines().at(0));
    speech.SetText("Gear down, three green. Flaps full. Landing lights on. Landing clearance received. "
                   "Before landing checklist complete.");
    speech.Speak();
    RunEvents(1500);
    speech.Pause();
    RunEvents(500); // what the device had buffered plays out
    StartRecording();
    const std::vector<std::int16_t> whilePaused = StopRecording();
    ASSERT_TRUE(speech.Speaking());
    StartRecording();
    speech.Resume();
    ASSERT_TRUE(speech.WaitUntilDone(15000));
    const std::vector<std::int16_t> afterResume = StopRecording();
    EXPECT_LT(test::Rms(whilePaused), 20.0);
    EXPECT_GT(test::Rms(afterResume), 200.0);
}

} // namespace
