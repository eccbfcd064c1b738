#pragma once
#include <QJsonObject>
#include <QString>

#include <string>

namespace vantrel::cli {

// A JSON string literal (with quotes) for a text of the plan. Texts are UTF-8 where the
// program made them; bytes that are not valid UTF-8 (8-bit text read from the simulator's
// files) are taken as Latin-1, so the output is always valid UTF-8.
std::string JsonString(const std::string& text);

// The same text as a QString for Qt's JSON writer, under the same rule.
QString JsonText(const std::string& text);

// Prints the object as one compact line on standard output and flushes it.
void PrintJson(const QJsonObject& json);

// "#rrggbb" for a 0xRRGGBB colour.
std::string JsonColor(unsigned color);

} // namespace vantrel::cli
