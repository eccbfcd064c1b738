#include "form3.h"

#include "app_context.h"
#include "form1.h"
#include "message_boxes.h"
#include "sheet_page.h"
#include "ui_form3.h"

#include "planning/flight_plan.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>

namespace {

constexpr int kPrintingHeight = 310; // outer height while printing: the sheet alone
constexpr int kNormalHeight = 364;   // outer height with the button
constexpr int kClientHeight = 343;   // client height with the button
constexpr int kSheetPixelSize = 12;

std::unique_ptr<QPrinter> SystemDefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

} // namespace

TForm3::TForm3(vantrel::AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), ui(new Ui::TForm3) {
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(width(), kClientHeight);

    // Black on white in 12-pixel type, whatever the desktop's theme, as it will be on paper.
    QPalette paper = ui->Panel1->palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::WindowText, Qt::black);
    ui->Panel1->setPalette(paper);
    ui->Panel1->setAutoFillBackground(true);
    QFont type(QStringLiteral("Arial"));
    type.setStyleHint(QFont::SansSerif);
    type.setPixelSize(kSheetPixelSize);
    ui->Panel1->setFont(type);
    FitSheetTexts();

    defaultPrinter = SystemDefaultPrinter;
    localNow = [] { return QDateTime::currentDateTime(); };
    connect(ui->Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    ctx_.hooks.printPlan = [this] { Button51Click(); };
}

TForm3::~TForm3() {
    ctx_.hooks.printPlan = nullptr;
}

QWidget* TForm3::SheetWidget() const {
    return ui->Panel1;
}

vantrel::CivilTime TForm3::CivilOf(const QDateTime& local) {
    const QDate d = local.date();
    const QTime t = local.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

int TForm3::Button51Click() {
    FillFromPlan(CivilOf(localNow()));
    CentreOnMainWindow();
    return exec();
}

void TForm3::FillFromPlan(const vantrel::CivilTime& localNow) {
    const vantrel::FlightPlan& plan = *ctx_.plan;
    FillSheet(vantrel::MakeOpsSheet(plan, vantrel::UtcDateOf(localNow, plan.values.UtcBiasMinutes)));
}

void TForm3::FillSheet(const vantrel::OpsSheet& sheet) {
    sheet_ = sheet;
    filled_ = true;
    for (const vantrel::OpsSheetValue& v : sheet.values)
        if (auto* label = ui->Panel1->findChild<QLabel*>(QString::fromStdString(v.label)))
            label->setText(QString::fromStdString(v.text));
    FitSheetTexts();
}

// Fonts run wider on some systems than the sheet's cells allow: a text that would be cut
// off takes a narrower face of its family, then tighter letters, before it is cut.
void TForm3::FitSheetTexts() {
    for (QLabel* label : ui->Panel1->findChildren<QLabel*>()) {
        QFont font = ui->Panel1->font();
        const int room = label->width();
        auto fits = [&] { return QFontMetrics(font).horizontalAdvance(label->text()) <= room; };
        if (!fits()) font.setStretch(QFont::SemiCondensed);
        // In percent, so the page, drawn at another resolution, tightens the same.
        for (int spacing = 99; !fits() && spacing >= 85; --spacing)
            font.setLetterSpacing(QFont::PercentageSpacing, spacing);
        label->setFont(font);
    }
}

void TForm3::CentreOnMainWindow() {
    const QWidget* main = ctx_.windows.Form1;
    if (!main) return;
    const QRect frame = frameGeometry();
    move(main->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2) +
         (pos() - frame.topLeft()));
}

// Heights count the window's frame; where the window system gives none (not shown yet, or
// no decorations), the tool-window frame that 343 client pixels in 364 imply is assumed.
void TForm3::SetOuterHeight(int height) {
    int frame = frameGeometry().height() - geometry().height();
    if (frame <= 0) frame = kNormalHeight - kClientHeight;
    setFixedHeight(height - frame);
}

void TForm3::Button1Click() {
    SetOuterHeight(kPrintingHeight);
    const std::unique_ptr<QPrinter> printer = defaultPrinter ? defaultPrinter() : nullptr;
    bool sent = false;
    if (!printer) {
        sent = SaveAsPdf();
    } else {
        sent = vantrel::PaintSheetPage(*ui->Panel1, *printer);
        const std::string name = printer->printerName().toStdString();
        if (!sent)
            vantrel::ShowError(ctx_,
                               "The ops flight plan could not be printed" +
                                   (name.empty() ? std::string() : " on \"" + name + "\"") + ".",
                               this);
    }
    SetOuterHeight(kNormalHeight);
    if (sent) done(QDialog::Accepted);
}

// Without a printer the page goes to the documents folder, named by its date and route; an
// existing file of that name is kept and the new one gets a number.
bool TForm3::SaveAsPdf() {
    QString folder = QString::fromStdString(ctx_.plan->paths.DocumentsDir);
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(folder);
    const QFileInfo name(QString::fromStdString(vantrel::OpsSheetPdfName(sheet_)));
    QString path = QDir(folder).filePath(name.fileName());
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1 (%2).pdf").arg(name.completeBaseName()).arg(n));
    QString error;
    if (!vantrel::WriteSheetPdf(*ui->Panel1, path, error)) {
        vantrel::ShowError(ctx_,
                           "The ops flight plan could not be written to " +
                               QDir::toNativeSeparators(path).toStdString() + ": " + error.toStdString(),
                           this);
        return false;
    }
    vantrel::ShowMessage(ctx_,
                         "No printer is installed. The ops flight plan was written to PDF at " +
                             QDir::toNativeSeparators(path).toStdString(),
                         this);
    return true;
}
