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
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

using namespace vantrel;

namespace {

void RunEvents(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// One sound server for the whole suite: Qt's sound back end connects to the first server it
// finds in a process and does not reconnect to a later one.
struct SoundServerProcess {
    QTemporaryDir runtime;
    QProcess daemon;
    std::string skipReason;

    SoundServerProcess() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty()) {
            skipReason = "pulseaudio or parec is not installed";
            return;
        }
        // A private runtime folder, set before Qt first asks for sound devices in this process.
        setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
        unsetenv("PULSE_SERVER");
        // Kept as a child process (not daemonised) so that the suite ends and reaps it.
        daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon.start("pulseaudio", {"-n", "--exit-idle-time=-1", "--load=module-null-sink",
                                    "--load=module-native-protocol-unix"});
        for (int i = 0; i < 50 && daemon.state() != QProcess::NotRunning &&
                        !QFile::exists(runtime.filePath("pulse/native"));
             ++i)
            daemon.waitForFinished(100);
        if (daemon.state() == QProcess::NotRunning || !QFile::exists(runtime.filePath("pulse/native")))
            skipReason = "pulseaudio could not start: " + daemon.errorString().toStdString();
        else if (QMediaDevices::audioOutputs().isEmpty())
            skipReason = "Qt lists no audio output (the sound back end was set up before the daemon ran)";
    }

    ~SoundServerProcess() {
        if (daemon.state() != QProcess::NotRunning) {
            daemon.terminate();
            if (!daemon.waitForFinished(5000)) {
                daemon.kill();
                daemon.waitForFinished(2000);
            }
        }
        // The daemon leaves read-only files behind; make the folder removable.
        QProcess::execute("chmod", {"-R", "u+rwX", runtime.path()});
    }
};

class SoundServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = new SoundServerProcess; }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        if (!server->skipReason.empty()) GTEST_SKIP() << server->skipReason;
    }

    void TearDown() override {
        if (recorder.state() == QProcess::NotRunning) return;
        recorder.terminate();
        if (!recorder.waitForFinished(5000)) {
            recorder.kill();
            recorder.waitForFinished(2000);
        }
    }

    void StartRecording() {
        QFile::remove(server->runtime.filePath("monitor.raw"));
        recorder.setStandardOutputFile(server->runtime.filePath("monitor.raw"));
        recorder.start("parec", {"--device=null.monitor", "--format=s16le", "--rate=22050", "--channels=1",
                                 "--latency-msec=20"});
        ASSERT_TRUE(recorder.waitForStarted(3000));
        RunEvents(300);
    }

    std::vector<std::int16_t> StopRecording() {
        RunEvents(300);
        recorder.terminate();
        recorder.waitForFinished(3000);
        QFile file(server->runtime.filePath("monitor.raw"));
        std::vector<std::int16_t> samples;
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            samples.resize(std::size_t(bytes.size()) / 2);
            std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
        }
        return samples;
    }

    static SoundServerProcess* server;
    QProcess recorder;
};

SoundServerProcess* SoundServer::server = nullptr;

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
