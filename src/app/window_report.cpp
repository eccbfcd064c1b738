#include "window_report.h"

#include "application.h"
#include "form1.h"
#include "panel_widget.h"

#include "planning/flight_plan.h"
#include "shell/support_report.h"

#include <QBuffer>
#include <QDir>
#include <QPixmap>
#include <QSaveFile>

#include <cstdio>

namespace vantrel {

namespace {

constexpr int kCheckMs = 250;

// The fields a reader checks first: the route and the loaded and actual fuel.
constexpr FieldId kReportedFields[] = {FieldId::Edit1,  FieldId::Edit2,  FieldId::Edit3,
                                       FieldId::Edit13, FieldId::Edit28, FieldId::Edit48};

bool SaveWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

QString ReportDirArgument(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (QString::fromLocal8Bit(argv[i]) == QLatin1String("--report"))
            return QString::fromLocal8Bit(argv[i + 1]);
    return {};
}

WindowReport::WindowReport(Application& program, QString dir) : program_(program), dir_(std::move(dir)) {
    CopySupportFiles();
    timer_.setInterval(kCheckMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
    timer_.start();
}

WindowReport::~WindowReport() {
    CopySupportFiles();
}

void WindowReport::CopySupportFiles() const {
    const SupportReport report = WriteSupportReport(program_.Plan().paths.ProgramDir, dir_.toStdString());
    std::printf("%s\n", DescribeSupportReport(report).c_str());
    std::fflush(stdout);
}

void WindowReport::Check() {
    TForm1* main = program_.Context().windows.Form1;
    if (!main || !main->isVisible() || failed_) return;
    const std::uint32_t lamp2 = main->Panel("Panel2")->Color();
    const std::uint32_t lamp3 = main->Panel("Panel3")->Color();
    const bool linked = lamp2 == colors::Lime && lamp3 == colors::Lime;
    QString text;
    text += QStringLiteral("title=%1\n").arg(main->windowTitle());
    text += QStringLiteral("width=%1\nheight=%2\n").arg(main->width()).arg(main->height());
    text += QStringLiteral("Panel2=%1\n").arg(lamp2, 6, 16, QLatin1Char('0'));
    text += QStringLiteral("Panel3=%1\n").arg(lamp3, 6, 16, QLatin1Char('0'));
    for (const FieldId id : kReportedFields)
        text += QStringLiteral("%1=%2\n").arg(
            QLatin1String(FieldName(id).data(), qsizetype(FieldName(id).size())),
            QString::fromStdString(program_.Plan().Text(id)));
    if (text == lastText_) return;

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    main->grab().save(&buffer, "PNG");
    const QString base = QDir(dir_).filePath(linked ? QStringLiteral("main-window-linked")
                                                    : QStringLiteral("main-window-unlinked"));
    // The picture first: a reader that sees the text finds the picture of the same moment.
    if (!QDir().mkpath(dir_) || !SaveWhole(base + ".png", png) || !SaveWhole(base + ".txt", text.toUtf8())) {
        std::fprintf(stderr, "The report cannot be written into %s\n", dir_.toLocal8Bit().constData());
        failed_ = true;
        return;
    }
    lastText_ = text;
}

} // namespace vantrel
