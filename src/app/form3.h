#pragma once
#include "shell/ops_sheet.h"

#include <QDialog>

#include <functional>
#include <memory>

class QDateTime;
class QPrinter;

namespace Ui {
class TForm3;
}

namespace vantrel {
struct AppContext;
}

// The print window: the ops flight plan sheet (Panel1) and its "Print" button. It installs the
// main window's print hook, so the main window's "Print" fills the sheet and shows it here.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm3() override;

    // The main window's "Print": fills the sheet from the plan with today's UTC date and shows
    // the window modally. Returns the window's result (Accepted once the sheet went out).
    int Button51Click();
    // Fills the value labels from the plan, dated by the local clock reading moved to UTC.
    void FillFromPlan(const vantrel::CivilTime& localNow);
    void FillSheet(const vantrel::OpsSheet& sheet);
    // "Print": the sheet on the default printer, or as a PDF in the documents folder when no
    // printer is installed; the window closes with OK once the page went out.
    void Button1Click();

    const vantrel::OpsSheet& Sheet() const { return sheet_; }
    bool SheetFilled() const { return filled_; }
    QWidget* SheetWidget() const;

    static vantrel::CivilTime CivilOf(const QDateTime& local);

    // The default printer, ready to print at its own resolution; null when none is installed.
    // The program asks the system; a test puts its own printer here.
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter;
    // The local clock (the system's unless a test sets another).
    std::function<QDateTime()> localNow;

private:
    void SetOuterHeight(int height);
    void CentreOnMainWindow();
    void FitSheetTexts();
    bool SaveAsPdf();

    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm3> ui;
    vantrel::OpsSheet sheet_;
    bool filled_ = false;
};
