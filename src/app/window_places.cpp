#include "window_places.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vantrel {

namespace {

constexpr const char* kEverShown = "vantrelEverShown";
constexpr int kGap = 4;

class FirstShowTracker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            watched->setProperty(kEverShown, true);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

bool Free(const QRect& place, const QRect& mainFrame, const QRect& screen, const std::vector<QRect>& taken) {
    if (!screen.contains(place) || place.intersects(mainFrame)) return false;
    for (const QRect& other : taken)
        if (place.intersects(other)) return false;
    return true;
}

} // namespace

void TrackFirstShow(QWidget* window) {
    if (window->isVisible()) {
        window->setProperty(kEverShown, true);
        return;
    }
    window->installEventFilter(new FirstShowTracker(window));
}

bool WasEverShown(const QWidget* window) {
    return window->property(kEverShown).toBool();
}

std::optional<QPoint> PlaceBesideMainWindow(const QRect& mainFrame, const QSize& frameSize,
                                            const QRect& screen, const std::vector<QRect>& taken) {
    std::vector<QPoint> candidates = {
        {mainFrame.right() + 1 + kGap, mainFrame.top()},                            // right, top aligned
        {mainFrame.left(), mainFrame.bottom() + 1 + kGap},                          // below, left aligned
        {mainFrame.right() + 1 - frameSize.width(), mainFrame.bottom() + 1 + kGap}, // below, right aligned
        {mainFrame.left() - kGap - frameSize.width(), mainFrame.top()},             // left, top aligned
    };
    // Next to a window already placed there: below it or right of it.
    for (const QRect& other : taken) {
        candidates.push_back({other.left(), other.bottom() + 1 + kGap});
        candidates.push_back({other.right() + 1 + kGap, other.top()});
    }
    for (const QPoint& at : candidates)
        if (Free(QRect(at, frameSize), mainFrame, screen, taken)) return at;
    return std::nullopt;
}

QPoint FirstPlaceBesideMainWindow(const QWidget& window, const QWidget* main,
                                  const std::vector<const QWidget*>& others, QPoint fallback) {
    if (!main) return fallback;
    const QRect mainFrame = main->frameGeometry();
    const QScreen* screen = QGuiApplication::screenAt(mainFrame.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return fallback;
    // A window not yet shown has no frame of its own yet: count the main window's decoration.
    const QSize decoration = mainFrame.size() - main->size();
    std::vector<QRect> taken;
    for (const QWidget* other : others)
        if (other) taken.push_back(other->frameGeometry());
    const auto place =
        PlaceBesideMainWindow(mainFrame, window.size() + decoration, screen->availableGeometry(), taken);
    return place.value_or(fallback);
}

} // namespace vantrel
