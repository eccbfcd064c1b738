#pragma once
// vantrel-sim flying a scenario and a vantrel-cli session talking to it line by line, both as
// programs, in a sandbox of their own.
#include "cli_sandbox.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>

#include <gtest/gtest.h>

namespace vantrel::test {

// A program folder with the shipped tables, a home without any simulator and a private
// socket folder; vantrel-sim flies a scenario there and a session talks to it line by line.
struct FlightSandbox : CliSandbox {
    QProcess sim;
    QProcess cli;
    double scale = 1;
    QElapsedTimer sinceSimStart;
    double virtualSeconds = 0;

    ~FlightSandbox() {
        cli.closeWriteChannel();
        if (!cli.waitForFinished(5000)) cli.kill();
        StopSim(sim);
    }
    void StartSim(const char* scenario, double timeScale) {
        scale = timeScale;
        sinceSimStart.start(); // the scenario's time runs from the simulator's start
        ASSERT_TRUE(CliSandbox::StartSim(sim, {"--quiet", "--scale", QString::number(timeScale), "--scenario",
                                               QString(VANTREL_SOURCE_DIR) + "/data/scenarios/" + scenario}));
    }
    // Events run between short waits, so a server of the test's own can answer the session.
    QJsonObject Read() {
        if (!RunUntil([this] { return cli.canReadLine() || (cli.waitForReadyRead(10) && cli.canReadLine()); },
                      20000))
            return {};
        return QJsonDocument::fromJson(cli.readLine()).object();
    }
    void StartSession(const QString& now, const QStringList& more = {}) {
        cli.setProcessEnvironment(Env());
        cli.start(QString(VANTREL_OUT_DIR) + "/vantrel-cli",
                  QStringList{"session", "--program-dir", Program(), "--now", now, "--utc-bias", "0"} + more);
        ASSERT_TRUE(cli.waitForStarted(5000));
        ASSERT_EQ(Read()["command"].toString(), "start");
    }
    QJsonObject Send(const QString& command) {
        cli.write(command.toUtf8() + "\n");
        return Read();
    }
    // Moves the session's clock up to the simulator's scenario time.
    QJsonObject KeepUp() {
        const double simSeconds = sinceSimStart.elapsed() / 1000.0 * scale;
        const double step = std::max(0.0, simSeconds - virtualSeconds);
        virtualSeconds += step;
        return Send("advance " + QString::number(step, 'f', 3));
    }
};

} // namespace vantrel::test
