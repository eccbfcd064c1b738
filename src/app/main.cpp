#include "app_context.h"
#include "app_title.h"
#include "app_version.h"
#include "application.h"
#include "frmmain.h"
#include "program_log.h"
#include "shipped_fonts.h"
#include "window_report.h"

#include "shell/support_report.h"

#include <QApplication>
#include <QTimer>

#include <memory>

int main(int argc, char** argv) {
    if (vantrel::PrintVersionIfAsked(argc, argv)) return 0;
    QApplication app(argc, argv);
    const vantrel::ProgramLogScope log(QApplication::applicationDirPath().toStdString() + "/",
                                       vantrel::kProgramLogFile, "vantrel", argc, argv);
    vantrel::UseShippedFonts();
    // --voices: the voice selection window on its own.
    if (HasVoicesSwitch(argc, argv)) {
        vantrel::AppContext ctx;
        TfrmMain voices(ctx);
        voices.ShowVoiceWindow();
        return app.exec();
    }
    QApplication::setApplicationName(QString::fromLatin1(vantrel::kApplicationTitle));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // Only the main window's close ends the program (the gauge may stay open alone).
    QApplication::setQuitOnLastWindowClosed(false);

    vantrel::Application program;
    if (!program.CreateWindows(QApplication::applicationDirPath().toStdString() + "/")) {
        // "No" at a start-up question: stop a second later, without the shutdown sequence; the
        // event loop goes on meanwhile (a sound that is playing ends cleanly).
        QTimer::singleShot(1000, &app, &QCoreApplication::quit);
        QApplication::exec();
        return 0;
    }
    program.ShowWindows();
    std::unique_ptr<vantrel::WindowReport> report;
    if (const QString dir = vantrel::ReportDirArgument(argc, argv); !dir.isEmpty())
        report = std::make_unique<vantrel::WindowReport>(program, dir);
    return QApplication::exec();
}
