#include "color_style.h"

namespace vantrel {

QColor ToQColor(std::uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

QColor ReadableTextColor(std::uint32_t background) {
    const QColor c = ToQColor(background);
    // Perceived brightness (ITU-R BT.601 weights).
    const int brightness = (c.red() * 299 + c.green() * 587 + c.blue() * 114) / 1000;
    return brightness >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

QString FieldStyle(const char* widgetClass, std::uint32_t background) {
    return QStringLiteral("%1 { background-color: %2; color: %3; }")
        .arg(QLatin1String(widgetClass), ToQColor(background).name(), ReadableTextColor(background).name());
}

} // namespace vantrel
