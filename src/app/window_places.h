#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

class QWidget;

namespace vantrel {

// Marks a window when it is shown for the first time; a window never shown has no place of its
// own (its frame still sits at the origin), so none is stored for it.
void TrackFirstShow(QWidget* window);
bool WasEverShown(const QWidget* window);

// Where a tool window (the gauge, the checklist strip) goes when no place is stored, so that it
// covers no control of the main window: right of the main window's frame, then below it, then
// left of it, each time beside the places already taken and wholly on the screen's free area.
// Nothing when no such place exists.
std::optional<QPoint> PlaceBesideMainWindow(const QRect& mainFrame, const QSize& frameSize,
                                            const QRect& screen, const std::vector<QRect>& taken);

// The place of window (not yet shown) beside the main window as above, on the main window's
// screen, keeping clear of the other tool windows already placed; fallback when there is none.
QPoint FirstPlaceBesideMainWindow(const QWidget& window, const QWidget* main,
                                  const std::vector<const QWidget*>& others, QPoint fallback);

} // namespace vantrel
