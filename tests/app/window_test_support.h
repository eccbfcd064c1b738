#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <cstdlib>
#include <string>

namespace vantrel::test {

inline void MouseClick(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

inline void PressKey(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "");
    QApplication::sendEvent(w, &press);
}

// Saves the widget's picture when VANTREL_SHOTS_DIR names a folder (for the documentation).
inline void SaveShot(QWidget* w, const char* name) {
    if (const char* dir = std::getenv("VANTREL_SHOTS_DIR"))
        w->grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
}

} // namespace vantrel::test
