#include "json_writer.h"

#include <QJsonDocument>

#include <cstdio>
#include <iostream>

namespace vantrel::cli {

namespace {

// Length of the valid UTF-8 sequence starting at i, or 0 when the bytes are not UTF-8.
std::size_t Utf8SequenceLength(const std::string& s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    else
        return 0;
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    // No overlong forms, no surrogates, nothing above U+10FFFF.
    const auto second = static_cast<unsigned char>(s[i + 1]);
    if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
        (c == 0xF4 && second > 0x8F))
        return 0;
    return n;
}

} // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (std::size_t n = Utf8SequenceLength(text, i)) {
            out.append(text, i, n);
            i += n - 1;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out += '"';
    return out;
}

QString JsonText(const std::string& text) {
    QString out;
    out.reserve(qsizetype(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += QChar(c);
        } else if (std::size_t n = Utf8SequenceLength(text, i)) {
            out += QString::fromUtf8(text.data() + i, qsizetype(n));
            i += n - 1;
        } else {
            out += QChar(c); // Latin-1
        }
    }
    return out;
}

void PrintJson(const QJsonObject& json) {
    std::cout << QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() << '\n' << std::flush;
}

std::string JsonColor(unsigned color) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06x", color & 0xFFFFFFu);
    return buf;
}

} // namespace vantrel::cli
