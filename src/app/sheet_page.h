#pragma once
#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace vantrel {

// Draws a window's sheet (a panel of labels) on one page at its on-screen size: 96 screen
// pixels make an inch on paper, whatever the device's resolution. Each label's text is drawn
// with its font, colour, place and alignment at the device's resolution, so it stays sharp
// text. False when the device cannot be painted on (a printer that refuses the job).
bool PaintSheetPage(QWidget& sheet, QPagedPaintDevice& device);

// The same page written as a one-page PDF into path, through a temporary file, so a failure
// never leaves a half-written file. On failure, error holds the reason.
bool WriteSheetPdf(QWidget& sheet, const QString& path, QString& error);

} // namespace vantrel
