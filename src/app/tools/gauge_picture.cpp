// Build tool: paints the speeds gauge's background, a dark instrument face with a faint speed
// tape down its right side and a thin bezel, and writes it as a PNG.
// Usage: vantrel_gauge_picture OUTPUT.png
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    constexpr int kWidth = 61, kHeight = 130;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, kHeight);
    face.setColorAt(0.0, QColor(0x2a, 0x33, 0x40));
    face.setColorAt(0.5, QColor(0x14, 0x1a, 0x22));
    face.setColorAt(1.0, QColor(0x0b, 0x0e, 0x12));
    painter.fillRect(image.rect(), face);
    // A speed tape: long ticks every 20 px, short ones between.
    painter.setPen(QPen(QColor(0x5a, 0x6a, 0x7c), 1));
    for (int y = 4; y < kHeight; y += 10) {
        const int length = (y / 10) % 2 == 0 ? 6 : 3;
        painter.drawLine(kWidth - 2 - length, y, kWidth - 2, y);
    }
    // A bezel: light above, dark below, as a raised instrument.
    painter.setPen(QPen(QColor(0x6b, 0x78, 0x88), 1));
    painter.drawLine(0, 0, kWidth - 1, 0);
    painter.drawLine(0, 0, 0, kHeight - 1);
    painter.setPen(QPen(QColor(0x05, 0x06, 0x08), 1));
    painter.drawLine(kWidth - 1, 0, kWidth - 1, kHeight - 1);
    painter.drawLine(0, kHeight - 1, kWidth - 1, kHeight - 1);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
