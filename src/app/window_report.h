#pragma once
#include <QString>
#include <QTimer>

namespace vantrel {

class Application;

// "--report DIR": writes what the main window shows into DIR whenever it changes, for a support
// request or a test that runs the program where nobody sees its screen (Wine's null display).
// For each link state ("unlinked", "linked") DIR gets main-window-STATE.png, the window's own
// picture, and main-window-STATE.txt, lines of NAME=VALUE: title, width, height, the link
// lamps (Panel2, Panel3 as RRGGBB) and the route and fuel fields. Runs on the window thread
// from a timer; each file is replaced in one piece. A folder that cannot be written is said
// once on standard error.
// Besides, when it starts and again when the program ends, DIR gets what a support request
// needs (the logs, the settings, the flight log's last lines: shell/support_report.h), and
// standard output says where it went.
class WindowReport {
public:
    WindowReport(Application& program, QString dir);
    ~WindowReport();
    WindowReport(const WindowReport&) = delete;
    WindowReport& operator=(const WindowReport&) = delete;

private:
    void Check();
    void CopySupportFiles() const;

    Application& program_;
    QString dir_;
    QString lastText_;
    QTimer timer_;
    bool failed_ = false;
};

// The folder after "--report", or empty.
QString ReportDirArgument(int argc, char** argv);

} // namespace vantrel
