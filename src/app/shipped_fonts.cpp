#include "shipped_fonts.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>

namespace vantrel {

void UseShippedFonts() {
    const QDir fonts(QApplication::applicationDirPath() + QStringLiteral("/lib/fonts"));
    bool dejaVuSans = false;
    for (const QString& file : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files)) {
        const int id = QFontDatabase::addApplicationFont(fonts.filePath(file));
        if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(QStringLiteral("DejaVu Sans")))
            dejaVuSans = true;
    }
    if (!dejaVuSans) return;
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("DejaVu Sans"));
    QApplication::setFont(font);
}

} // namespace vantrel
