#include "sheet_page.h"

#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QWidget>

namespace vantrel {

namespace {

constexpr double kScreenDpi = 96.0;
constexpr int kPdfDpi = 1200;

} // namespace

// The sheet is drawn from its labels rather than rendered as widgets: the toolkit renders
// widgets for a printer into one bitmap, while text drawn on the page stays text.
bool PaintSheetPage(QWidget& sheet, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.scale(device.logicalDpiX() / kScreenDpi, device.logicalDpiY() / kScreenDpi);
    painter.fillRect(sheet.rect(), sheet.palette().color(QPalette::Window));
    for (const QLabel* label : sheet.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&sheet)) continue;
        const QRect box(label->mapTo(&sheet, QPoint()), label->size());
        painter.save();
        painter.setClipRect(box); // cut off where the label on screen is cut off
        painter.setFont(label->font());
        painter.setPen(label->palette().color(QPalette::WindowText));
        painter.drawText(box, static_cast<int>(label->alignment()), label->text());
        painter.restore();
    }
    return painter.end();
}

bool WriteSheetPdf(QWidget& sheet, const QString& path, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    bool painted = false;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(kPdfDpi);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setTitle(QStringLiteral("Ops flight plan"));
        pdf.setCreator(QStringLiteral("Vantrel Suite"));
        painted = PaintSheetPage(sheet, pdf);
    }
    if (!painted) {
        file.cancelWriting();
        error = QStringLiteral("the page could not be drawn");
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace vantrel
