// Build tool: paints the splash window's picture, a regional jet with rear engines and a
// T-tail climbing out over a sky gradient, and writes it as a JPEG.
// Usage: vantrel_splash_picture OUTPUT.jpg
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

QPainterPath Jet() {
    QPainterPath p;
    // Fuselage: blunt nose on the right, tapering tail cone on the left.
    p.moveTo(10, 47);
    p.cubicTo(14, 43, 22, 42, 30, 42);
    p.lineTo(104, 42);
    p.cubicTo(112, 42, 118, 45, 120, 48);
    p.cubicTo(118, 51, 112, 54, 104, 54);
    p.lineTo(30, 54);
    p.cubicTo(20, 54, 13, 51, 10, 47);
    // Fin and T-tail.
    p.moveTo(14, 44);
    p.lineTo(7, 20);
    p.lineTo(15, 20);
    p.lineTo(32, 42);
    p.closeSubpath();
    p.addRoundedRect(2, 17, 24, 4, 2, 2);
    // Swept wing below the fuselage.
    p.moveTo(56, 51);
    p.lineTo(80, 51);
    p.lineTo(92, 68);
    p.lineTo(85, 68);
    p.closeSubpath();
    // Rear-mounted engine nacelle.
    p.addRoundedRect(24, 35, 24, 8, 4, 4);
    return p;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }
    QImage image(128, 84, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 84);
    sky.setColorAt(0.0, QColor(0x1f, 0x4f, 0x93));
    sky.setColorAt(0.7, QColor(0x8e, 0xbc, 0xe6));
    sky.setColorAt(1.0, QColor(0xe8, 0xf1, 0xfa));
    painter.fillRect(image.rect(), sky);
    // A low sun behind the aircraft.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 236, 170, 170));
    painter.drawEllipse(QPointF(96, 66), 15, 15);
    // The aircraft, nose up a little.
    painter.translate(64, 46);
    painter.rotate(-8);
    painter.translate(-64, -46);
    painter.setBrush(QColor(0x1a, 0x22, 0x2c));
    painter.drawPath(Jet().simplified());
    // Cabin windows as a thin light line, cockpit window near the nose.
    painter.setBrush(QColor(0xd8, 0xe6, 0xf3));
    painter.drawRect(QRectF(36, 45.5, 62, 1.5));
    painter.drawPolygon(
        QPolygonF({QPointF(106, 45), QPointF(113, 45), QPointF(116, 47.5), QPointF(108, 47.5)}));
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]), "JPG", 88)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
