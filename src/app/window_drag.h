#pragma once
#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

// Moving a frameless window by dragging it with the left button from any point that no child
// takes the click from.
class WindowDrag {
public:
    void Press(const QWidget& window, const QMouseEvent& event) {
        if (event.button() != Qt::LeftButton) return;
        dragging_ = true;
        offset_ = event.globalPosition().toPoint() - window.frameGeometry().topLeft();
    }
    // True when the window moved.
    bool Move(QWidget& window, const QMouseEvent& event) {
        if (!dragging_ || !(event.buttons() & Qt::LeftButton)) return false;
        window.move(event.globalPosition().toPoint() - offset_);
        return true;
    }
    void Release(const QMouseEvent& event) {
        if (event.button() == Qt::LeftButton) dragging_ = false;
    }

private:
    bool dragging_ = false;
    QPoint offset_;
};
