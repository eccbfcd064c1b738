#pragma once
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

namespace vantrel::testing {

// Runs the built vantrel-cli with the given arguments and environment additions.
struct CliResult {
    int exitCode = -1;
    QJsonObject json;
    QByteArray out;
    QByteArray err;
};

inline CliResult RunCli(const QStringList& args, const QStringList& env = {}) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : env)
        e.insert(kv.section('=', 0, 0), kv.section('=', 1));
    p.setProcessEnvironment(e);
    p.start(QString(VANTREL_OUT_DIR) + "/vantrel-cli", args);
    p.waitForFinished(60000);
    CliResult r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.json = QJsonDocument::fromJson(r.out).object();
    return r;
}

} // namespace vantrel::testing
