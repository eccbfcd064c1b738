#pragma once
// What the command-line tests share: a program folder with shipped data, a home without any
// simulator and a private socket folder, so a run neither reads nor writes anything of the
// machine's; vantrel-sim on that folder, and vantrel-cli session runs.
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "support/event_loop.h"
#include "support/tied_process.h"

#include <filesystem>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

namespace vantrel::test {

// A server of the test's own (HTTP on loopback) needs the event loop of an application object.
inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_cli";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

struct CliSandbox {
    QTemporaryDir root;

    explicit CliSandbox(std::initializer_list<const char*> data = {"fuel", "speeds", "airports"}) {
        namespace fs = std::filesystem;
        const fs::path base = root.path().toStdString();
        fs::create_directories(base / "program");
        for (const char* d : data)
            fs::copy(fs::path(VANTREL_OUT_DIR) / d, base / "program" / d, fs::copy_options::recursive);
        fs::create_directories(base / "home");
        fs::create_directories(base / "ipc");
        fs::permissions(base / "ipc", fs::perms::owner_all, fs::perm_options::replace);
    }
    QString Program() const { return root.path() + "/program"; }
    QProcessEnvironment Env() const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("HOME", root.path() + "/home");
        e.insert("VANTREL_DOCUMENTS", root.path() + "/home");
        e.insert("VANTREL_FS_PATH", root.path() + "/nosim");
        e.insert("VANTREL_IPC_DIR", root.path() + "/ipc");
        return e;
    }
    // The same environment as NAME=VALUE assignments.
    QStringList EnvAssignments() const {
        return {"HOME=" + root.path() + "/home", "VANTREL_DOCUMENTS=" + root.path() + "/home",
                "VANTREL_FS_PATH=" + root.path() + "/nosim", "VANTREL_IPC_DIR=" + root.path() + "/ipc"};
    }
    // Starts vantrel-sim with the arguments; true once its socket is there.
    bool StartSim(QProcess& sim, const QStringList& arguments) const {
        sim.setProcessEnvironment(Env());
        vantrel::test::TieToTestProgram(sim);
        sim.start(QString(VANTREL_OUT_DIR) + "/vantrel-sim", arguments);
        if (!sim.waitForStarted(5000)) return false;
        for (int i = 0; i < 400 && !QFile::exists(root.path() + "/ipc/FS98MAIN"); ++i)
            QThread::msleep(5);
        return QFile::exists(root.path() + "/ipc/FS98MAIN");
    }
    static void StopSim(QProcess& sim) {
        if (sim.state() == QProcess::NotRunning) return;
        sim.write("quit\n");
        if (!sim.waitForFinished(5000)) sim.kill();
        sim.waitForFinished(1000);
    }
    // Runs a whole session with the commands on its standard input; one parsed line per output line.
    std::vector<QJsonObject> RunSession(const QStringList& arguments, const QStringList& commands) const {
        QProcess p;
        p.setProcessEnvironment(Env());
        p.start(QString(VANTREL_OUT_DIR) + "/vantrel-cli",
                QStringList{"session", "--program-dir", Program()} + arguments);
        EXPECT_TRUE(p.waitForStarted(5000));
        p.write(commands.join('\n').toUtf8() + "\n");
        p.closeWriteChannel();
        // Events run between short waits, so a server of the test's own can answer the session.
        EXPECT_TRUE(
            RunUntil([&p] { return p.state() == QProcess::NotRunning || p.waitForFinished(10); }, 60000));
        std::vector<QJsonObject> lines;
        for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
            if (!line.isEmpty()) lines.push_back(QJsonDocument::fromJson(line).object());
        return lines;
    }
};

} // namespace vantrel::test
