// Speech leaving the program through a real sound server: a PulseAudio daemon with a null sink,
// started by the test, whose monitor is recorded with parec.
#include "speech_test_support.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace vantrel;

namespace {

void RunEvents(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class SoundServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty())
            GTEST_SKIP() << "pulseaudio or parec is not installed";
        // A private runtime folder, set before Qt first asks for sound devices in this process.
        setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
        unsetenv("PULSE_SERVER");
        // Kept as a child process (not daemonised) so that the test ends and reaps it.
        daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon.start("pulseaudio", {"-n", "--exit-idle-time=-1", "--load=module-null-sink",
                                    "--load=module-native-protocol-unix"});
        for (int i = 0; i < 50 && daemon.state() != QProcess::NotRunning &&
                        !QFile::exists(runtime.filePath("pulse/native"));
             ++i)
            daemon.waitForFinished(100);
        if (daemon.state() == QProcess::NotRunning || !QFile::exists(runtime.filePath("pulse/native")))
            GTEST_SKIP() << "pulseaudio could not start: " << daemon.errorString().toStdString();
        if (QMediaDevices::audioOutputs().isEmpty())
            GTEST_SKIP() << "Qt lists no audio output (the sound back end was set up before the daemon ran)";
    }

    void TearDown() override {
        for (QProcess* p : {&recorder, &daemon}) {
            if (p->state() == QProcess::NotRunning) continue;
            p->terminate();
            if (!p->waitForFinished(5000)) {
                p->kill();
                p->waitForFinished(2000);
            }
        }
        // The daemon leaves read-only files behind; make the folder removable.
        QProcess::execute("chmod", {"-R", "u+rwX", runtime.path()});
    }

    void StartRecording() {
        QFile::remove(runtime.filePath("monitor.raw"));
        recorder.setStandardOutputFile(runtime.filePath("monitor.raw"));
        recorder.start("parec", {"--device=null.monitor", "--format=s16le", "--rate=22050", "--channels=1",
                                 "--latency-msec=20"});
        ASSERT_TRUE(recorder.waitForStarted(3000));
        RunEvents(300);
    }

    std::vector<std::int16_t> StopRecording() {
        RunEvents(300);
        recorder.terminate();
        recorder.waitForFinished(3000);
        QFile file(runtime.filePath("monitor.raw"));
        std::vector<std::int16_t> samples;
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            samples.resize(std::size_t(bytes.size()) / 2);
            std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
        }
        return samples;
    }

    QTemporaryDir runtime;
    QProcess daemon;
    QProcess recorder;
};

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
