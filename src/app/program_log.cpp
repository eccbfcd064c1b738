#include "program_log.h"

#include "core/event_log.h"
#include "core/program_version.h"
#include "voice/espeak_version.h"

#include <QString>
#include <QtGlobal>

namespace vantrel {

namespace {

QtMessageHandler g_qtHandler = nullptr;

// Qt's warnings (a missing TLS library, a sound device it cannot open) go where they went
// before, and into the log.
void LogQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) LogEvent("qt", text.toStdString());
    if (g_qtHandler) g_qtHandler(type, context, text);
}

const char* LevelName(LogLevel level) {
    return level == LogLevel::kDetail ? "detail" : "info";
}

} // namespace

void StartProgramLog(const std::string& programDir, const char* logFile, const char* program, int argc,
                     char** argv) {
    const LogLevel level = LogLevelFromCommandLine(argc, argv);
    StartEventLog({programDir + logFile, program, level});
    static const bool handlerInstalled = [] {
        g_qtHandler = qInstallMessageHandler(LogQtMessage);
        return true;
    }();
    (void)handlerInstalled;
    LogEvent("start", "Vantrel Suite " + ProgramVersion() + " (" + program + ") on " + PlatformDescription() +
                          ", Qt " + qVersion() + ", espeak-ng " + EspeakVersion() + "; log level " +
                          LevelName(level));
}

ProgramLogScope::~ProgramLogScope() {
    LogEvent("end", "the program ends");
    StopEventLog();
}

} // namespace vantrel
