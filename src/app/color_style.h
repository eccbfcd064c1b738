#pragma once
#include <QColor>
#include <QString>

#include <cstdint>

namespace vantrel {

// A plan colour (0xRRGGBB) as a QColor.
QColor ToQColor(std::uint32_t rgb);

// Black on light backgrounds, white on dark ones.
QColor ReadableTextColor(std::uint32_t background);

// A style sheet rule giving widgets of the class this background and a readable text colour.
QString FieldStyle(const char* widgetClass, std::uint32_t background);

} // namespace vantrel
