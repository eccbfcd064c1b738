// The sound player's cues leaving the program through a real sound server (a PulseAudio null
// sink recorded with parec): the cue sounds, the background loop follows, loops run on past the
// file's end without a gap, and Stop and a missing file leave silence.
#include "qt_cockpit_clock.h"
#include "qt_wave_output.h"
#include "voice/sound_server.h"

#include "cockpit/sound_cues.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vantrel;
using test::RunEvents;
using test::WindowRms;

namespace {

class WaveDevice : public test::SoundServer {
protected:
    std::string programDir = VANTREL_OUT_DIR "/";
    QtWaveOutput output;
    TWaveSound snd{output};
    QtCockpitClock clock;
    bool soundOn = true;
    HandlerQueue handlers;
    SoundCues cues{snd, clock, programDir, soundOn, handlers};

    void SetUp() override {
        test::SoundServer::SetUp();
        if (IsSkipped() || warmedUp) return;
        // A freshly started sound server stalls its first stream for a second or two; the
        // recordings start once it runs smoothly.
        output.Play(programDir + SoundCues::kBackground, true);
        RunEvents(2500);
        output.Stop();
        warmedUp = true;
    }
    inline static bool warmedUp = false;
};

// Index of the first window at or above `level`, from `from` on; -1 when none.
int FirstAtLeast(const std::vector<double>& rms, double level, std::size_t from = 0) {
    for (std::size_t i = from; i < rms.size(); ++i)
        if (rms[i] >= level) return int(i);
    return -1;
}

TEST_F(WaveDevice, CueSoundsThenTheBackgroundLoopFollows) {
    StartRecording();
    cues.StartBackground();
    RunEvents(600);
    cues.PlayAlertCue(); // the background returns after its 450 ms hold
    RunEvents(1500);
    const std::vector<double> rms = WindowRms(StopRecording(), 50);

    // The background (RMS about 2000) comes first, the alert tone (about 7500) interrupts it.
    const int background = FirstAtLeast(rms, 1000);
    ASSERT_GE(background, 0);
    const int alert = FirstAtLeast(rms, 5000, std::size_t(background));
    ASSERT_GT(alert, background + 4) << "the background should sound before the cue";
    // Its two beeps end within the cue's hold time.
    int alertEnd = alert;
    for (int i = alert; i < alert + 12 && i < int(rms.size()); ++i)
        if (rms[std::size_t(i)] >= 5000) alertEnd = i + 1;
    EXPECT_GE(alertEnd - alert, 6) << "the alert tone should last about 400 ms";
    EXPECT_LE(alertEnd - alert, 9);
    // Then the background again, without a silent gap, for the rest of the recording.
    for (std::size_t i = std::size_t(alertEnd) + 2; i < std::size_t(alertEnd) + 24 && i < rms.size(); ++i) {
        EXPECT_GT(rms[i], 800) << "window " << i;
        EXPECT_LT(rms[i], 4500) << "window " << i;
    }
    EXPECT_GE(rms.size(), std::size_t(alertEnd) + 24);
}

TEST_F(WaveDevice, LoopsRunPastTheFileEndWithoutAGapAndStopSilences) {
    // The pump sound is 2 s long: three and a half seconds cross its seam once.
    StartRecording();
    snd.SoundFile = cues.PathOf(SoundCues::kFuel);
    snd.LoopSound = true;
    snd.Play();
    RunEvents(3500);
    snd.Stop();
    EXPECT_FALSE(output.Playing());
    RunEvents(600);
    const std::vector<double> rms = WindowRms(StopRecording(), 20);
    const int start = FirstAtLeast(rms, 1000);
    ASSERT_GE(start, 0);
    const std::size_t playing = 3000 / 20;
    ASSERT_GT(rms.size(), std::size_t(start) + playing + 40);
    const double quietest = *std::min_element(rms.begin() + start, rms.begin() + start + long(playing));
    EXPECT_GT(quietest, 700) << "a gap in the loop";
    // The tail of the recording, well after Stop, is silent.
    const double tail = *std::max_element(rms.end() - 20, rms.end());
    EXPECT_LT(tail, 20);
}

TEST_F(WaveDevice, MissingOrBrokenFilePlaysNothingAndEndsWhatPlayed) {
    QTemporaryDir dir;
    QFile broken(dir.filePath("broken.wav"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("RIFF....WAVEfmt not a wave at all");
    broken.close();

    const std::string paths[] = {programDir + "sounds/none.wav", dir.filePath("broken.wav").toStdString()};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        cues.StartBackground();
        RunEvents(300);
        ASSERT_TRUE(output.Playing());
        output.Play(path, true);
        EXPECT_FALSE(output.Playing());
        StartRecording();
        const std::vector<double> rms = WindowRms(StopRecording(), 50);
        ASSERT_FALSE(rms.empty());
        EXPECT_LT(*std::max_element(rms.begin() + 2, rms.end()), 20);
    }
}

} // namespace
