#include "plan_print.h"

#include "app_context.h"
#include "form3.h"
#include "sheet_page.h"

#include <QApplication>
#include <QDateTime>

#include <memory>

namespace vantrel::cli {

namespace {

// The window toolkit, on a platform that needs no display: nothing is ever shown.
void EnsureWidgetToolkit() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vantrel-cli";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion")); // as the program draws its windows
}

} // namespace

bool PrintPlanPdf(FlightPlan& plan, const std::string& path, std::string& error) {
    EnsureWidgetToolkit();
    AppContext ctx;
    ctx.plan = &plan;
    TForm3 window(ctx);
    window.FillFromPlan(TForm3::CivilOf(QDateTime::currentDateTime()));
    QString reason;
    if (WriteSheetPdf(*window.SheetWidget(), QString::fromStdString(path), reason)) return true;
    error = "The ops flight plan could not be written to " + path + ": " + reason.toStdString();
    return false;
}

} // namespace vantrel::cli
