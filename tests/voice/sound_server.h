#pragma once
// A real sound server for tests: a PulseAudio daemon with a null sink, started by the test, whose
// monitor is recorded with parec. Shared by every test program that checks sound leaving the
// program through the device.
#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/tied_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace vantrel::test {

// The rate the monitor is recorded at.
constexpr int kMonitorRate = 22050;

inline void RunEvents(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// One sound server for a whole test program: Qt's sound back end connects to the first server
// it finds in a process and does not reconnect to a later one.
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
        TieToTestProgram(daemon);
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

// A test suite on the shared sound server, recording its null sink's monitor (22 050 Hz mono).
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

    // Starts parec on the null sink's monitor. A new recording stream takes a second or more
    // before data flows, so this waits (up to 5 s) until the first tenth of a second has arrived.
    void StartRecording() {
        const QString file = server->runtime.filePath("monitor.raw");
        QFile::remove(file);
        recorder.setStandardOutputFile(file);
        TieToTestProgram(recorder);
        recorder.start("parec", {"--device=null.monitor", "--format=s16le", "--rate=22050", "--channels=1",
                                 "--latency-msec=20"});
        ASSERT_TRUE(recorder.waitForStarted(3000));
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (QFileInfo(file).size() < kMonitorRate / 5 && std::chrono::steady_clock::now() < until)
            RunEvents(50);
        RunEvents(100);
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

    inline static SoundServerProcess* server = nullptr;
    QProcess recorder;
};

// Root mean square of each consecutive window of `windowMs` milliseconds.
inline std::vector<double> WindowRms(const std::vector<std::int16_t>& samples, int windowMs) {
    const std::size_t n = std::size_t(kMonitorRate) * std::size_t(windowMs) / 1000;
    std::vector<double> out;
    for (std::size_t at = 0; n > 0 && at + n <= samples.size(); at += n) {
        double sum = 0;
        for (std::size_t i = at; i < at + n; ++i)
            sum += double(samples[i]) * samples[i];
        out.push_back(std::sqrt(sum / double(n)));
    }
    return out;
}

} // namespace vantrel::test
