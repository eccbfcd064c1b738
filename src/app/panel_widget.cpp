#include "panel_widget.h"

#include "color_style.h"

#include <QMouseEvent>

TPanel::TPanel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    SetColor(color_);
}

void TPanel::SetColor(std::uint32_t rgb) {
    color_ = rgb;
    setStyleSheet(vantrel::FieldStyle("TPanel", rgb));
}

void TPanel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    emit mouseDown(event->button());
    event->accept();
}

void TPanel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}
