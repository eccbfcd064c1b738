#include "plan_print.h"

#include "app_context.h"
#include "form3.h"
#include "sheet_page.h"
#include "shipped_fonts.h"

#include <QApplication>
#include <QDateTime>

#include <memory>

namespace vantrel::cli {

bool PrintPlanPdf(FlightPlan& plan, const std::string& path, std::string& error) {
    // The window toolkit, for this page only, on a platform that needs no display.
    int argc = 1;
    char name[] = "vantrel-cli";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> toolkit; // after its arguments, so it goes first
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        toolkit = std::make_unique<QApplication>(argc, argv);
        QApplication::setStyle(QStringLiteral("Fusion")); // as the program draws its windows
        UseShippedFonts();
    }
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
