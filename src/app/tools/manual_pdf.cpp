// Build tool: turns the Markdown pilot's guide into the PDF that the Help panel opens. Pictures
// are found beside the PDF (images/NAME.png in OUTPUT's folder) and shrunk to the page's width.
// Usage: vantrel_manual_pdf INPUT.md OUTPUT.pdf
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The text's size on an A4 page with 20 mm margins, in the document's pixels (96 per inch); the
// document is laid out at this size and printed scaled onto the page.
constexpr double kTextWidth = (210.0 - 40.0) / 25.4 * 96.0;
constexpr double kTextHeight = (297.0 - 40.0) / 25.4 * 96.0;

// Every picture read into the document (printing works on a copy, which reads no files) and
// at most as wide as the text; false when one cannot be read.
bool FitPictures(QTextDocument& doc) {
    struct Picture {
        int position;
        QTextImageFormat format;
    };
    std::vector<Picture> pictures;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.push_back({it.fragment().position(), it.fragment().charFormat().toImageFormat()});
    bool ok = true;
    for (Picture& p : pictures) {
        const QUrl name(p.format.name());
        const QImage picture(doc.baseUrl().resolved(name).toLocalFile());
        if (picture.isNull()) {
            std::fprintf(stderr, "cannot read the picture %s\n", qPrintable(p.format.name()));
            ok = false;
            continue;
        }
        doc.addResource(QTextDocument::ImageResource, name, picture);
        const double scale = std::min(1.0, (kTextWidth - 4) / picture.width());
        p.format.setWidth(picture.width() * scale);
        p.format.setHeight(picture.height() * scale);
        QTextCursor cursor(&doc);
        cursor.setPosition(p.position);
        cursor.setPosition(p.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(p.format);
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT.md OUTPUT.pdf\n", argv[0]);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    QTextDocument doc;
    doc.setBaseUrl(QUrl::fromLocalFile(QFileInfo(output).absolutePath() + QLatin1Char('/')));
    doc.setMarkdown(QString::fromUtf8(in.readAll()));
    if (!FitPictures(doc)) return 1;

    QPdfWriter pdf(output);
    pdf.setTitle(QStringLiteral("Vantrel Suite ERJ-145 - Pilot's guide"));
    pdf.setCreator(QStringLiteral("Vantrel Suite"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setPageSize(QSizeF(kTextWidth, kTextHeight));
    doc.print(&pdf);
    if (!QFile::exists(output)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
