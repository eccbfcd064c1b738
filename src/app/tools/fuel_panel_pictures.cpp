// Build tool: paints the fuel panel's pictures as JPEGs: the panel's background (a grey
// aircraft panel with its engraved captions and display windows), the refuel switch off and
// on, and a valve knob open and closed.
// Usage: vantrel_fuel_panel_pictures OUTPUT_DIR
#include "fuel_panel_layout.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cstdio>

namespace {

using namespace fuel_panel_layout;

const QColor kPanelGrey(72, 76, 82);
const QColor kEngraving(235, 235, 225);

void Screw(QPainter& p, QPointF at) {
    QRadialGradient g(at - QPointF(1.5, 1.5), 6);
    g.setColorAt(0, QColor(200, 200, 200));
    g.setColorAt(1, QColor(90, 90, 90));
    p.setBrush(g);
    p.setPen(QColor(40, 40, 40));
    p.drawEllipse(at, 5, 5);
    p.drawLine(at - QPointF(3.5, 3.5), at + QPointF(3.5, 3.5));
}

void Caption(QPainter& p, const QRect& r, const char* text, int pixels = 11) {
    QFont f("DejaVu Sans");
    f.setPixelSize(pixels);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kEngraving);
    p.drawText(r, Qt::AlignCenter, QString::fromLatin1(text));
}

void Window(QPainter& p, const QRect& r) {
    p.setPen(QPen(QColor(25, 25, 25), 2));
    p.setBrush(QColor(12, 14, 12));
    p.drawRoundedRect(r.adjusted(-3, -3, 3, 3), 4, 4);
}

QImage Background() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, kHeight);
    g.setColorAt(0, kPanelGrey.lighter(115));
    g.setColorAt(1, kPanelGrey.darker(115));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(QColor(30, 30, 30), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(img.rect().adjusted(1, 1, -2, -2));
    for (QPointF at : {QPointF(12, 12), QPointF(kWidth - 12, 12), QPointF(12, kHeight - 12),
                       QPointF(kWidth - 12, kHeight - 12)})
        Screw(p, at);
    Caption(p, QRect(0, 8, kWidth, 20), "SINGLE POINT REFUELING", 13);
    p.setPen(QPen(kEngraving, 1));
    p.drawLine(60, 30, kWidth - 60, 30);
    Caption(p, QRect(kFuelDisplay.x(), kFuelDisplay.y() - 18, kFuelDisplay.width(), 14), "FUEL QTY");
    Caption(p, QRect(kSelectedDisplay.x(), kSelectedDisplay.y() - 18, kSelectedDisplay.width(), 14),
            "PRESELECT");
    Window(p, kFuelDisplay);
    Window(p, kSelectedDisplay);
    // The fuel line joining the refuel valves to the switch, and the defuel branch.
    p.setPen(QPen(QColor(40, 40, 40), 6, Qt::SolidLine, Qt::RoundCap));
    const int pipeY = kLeftValve.center().y();
    p.drawLine(kLeftValve.center().x(), pipeY, kDefuelValve.center().x(), pipeY);
    const struct {
        QRect picture;
        QRect indicator;
        const char* caption;
    } items[] = {{kLeftValve, kLeftIndicator, "L REFUEL VLV"},
                 {kRightValve, kRightIndicator, "R REFUEL VLV"},
                 {kRefuelSwitch, QRect(), "REFUEL"},
                 {kDefuelValve, kDefuelIndicator, "DEFUEL VLV"}};
    for (const auto& item : items) {
        p.setPen(Qt::NoPen);
        p.setBrush(kPanelGrey.darker(140));
        p.drawRoundedRect(item.picture.adjusted(-4, -4, 4, 4), 6, 6);
        Caption(p, QRect(item.picture.center().x() - 50, item.picture.bottom() + 6, 100, 14), item.caption,
                10);
        if (!item.indicator.isNull()) Window(p, item.indicator);
    }
    return img;
}

QImage Knob(bool closed) {
    QImage img(kValveSize, kValveSize, QImage::Format_RGB32);
    img.fill(kPanelGrey.darker(140));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(kValveSize / 2.0, kValveSize / 2.0);
    QRadialGradient g(c - QPointF(6, 6), kValveSize / 2.0);
    g.setColorAt(0, QColor(90, 90, 95));
    g.setColorAt(1, QColor(20, 20, 22));
    p.setBrush(g);
    p.setPen(QPen(QColor(10, 10, 10), 2));
    p.drawEllipse(c, kValveSize / 2.0 - 3, kValveSize / 2.0 - 3);
    // The bar lies along the fuel line when open, across it when closed.
    p.translate(c);
    if (!closed) p.rotate(90);
    p.setBrush(closed ? QColor(250, 250, 245) : QColor(255, 190, 40));
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawRoundedRect(QRectF(-6, -kValveSize / 2.0 + 8, 12, kValveSize - 16), 4, 4);
    return img;
}

QImage Switch(bool on) {
    QImage img(kRefuelSwitch.width(), kRefuelSwitch.height(), QImage::Format_RGB32);
    img.fill(kPanelGrey.darker(140));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(img.width() / 2.0, img.height() / 2.0);
    // Guard rails either side, the nut, then the lever pointing up (on) or down (off).
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawRect(QRectF(4, 6, 6, img.height() - 12));
    p.drawRect(QRectF(img.width() - 10, 6, 6, img.height() - 12));
    QRadialGradient nut(c, 12);
    nut.setColorAt(0, QColor(220, 220, 220));
    nut.setColorAt(1, QColor(110, 110, 110));
    p.setBrush(nut);
    p.drawEllipse(c, 11, 11);
    const double tip = on ? 8 : img.height() - 8;
    p.setPen(QPen(QColor(235, 235, 235), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, QPointF(c.x(), tip));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QPointF(c.x(), tip), 6, 6);
    return img;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel_fuel_panel_pictures OUTPUT_DIR\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]) + "/";
    const bool ok = Background().save(dir + "fuel_panel.jpg", "JPG", 92) &&
                    Switch(false).save(dir + "fuel_switch_off.jpg", "JPG", 92) &&
                    Switch(true).save(dir + "fuel_switch_on.jpg", "JPG", 92) &&
                    Knob(false).save(dir + "fuel_valve_open.jpg", "JPG", 92) &&
                    Knob(true).save(dir + "fuel_valve_closed.jpg", "JPG", 92);
    if (!ok) std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
    return ok ? 0 : 1;
}
