// Build tool: pictures of the program's own windows for the pilot's guide, drawn from the same
// window classes the program shows, so the guide never shows an old window.
// Usage: vantrel_guide_pictures PROGRAM_FOLDER OUT_DIR
// PROGRAM_FOLDER holds the shipped data (tables, airports, checklists); the program runs on a
// copy of it without a simulator, answering "Yes" to the start-up questions as a pilot would.
#include "app_context.h"
#include "app_title.h"
#include "application.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "form5.h"
#include "form6.h"
#include "form7.h"
#include "frmmain.h"

#include "cockpit/wave_sound.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Silence : vantrel::WaveOutput {
    void Play(const std::string&, bool) override {}
    void Stop() override {}
};

// Two flights in the log, as the program writes them.
const char* const kSampleLog = "09/12/2026;EDDH;14:05;EHAM;14:52;00:43;00:47;43207;2117;2180;50;1500;\r\n"
                               "10/12/2026;EHAM;09:10;EDDH;09:58;00:43;00:48;42840;2098;2155;48;1200;\r\n";

bool Save(QWidget* window, const QString& dir, const char* name) {
    window->show();
    QApplication::processEvents();
    const bool saved = window->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + ".png");
    if (!saved) std::fprintf(stderr, "cannot write %s.png into %s\n", name, qPrintable(dir));
    return saved;
}

// A message box as the program shows it (the start-up question, the Help notice).
bool SaveBox(QMessageBox::Icon icon, const std::string& caption, const std::string& text,
             QMessageBox::StandardButtons buttons, const QString& dir, const char* name) {
    QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons);
    return Save(&box, dir, name);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER OUT_DIR\n", argv[0]);
        return 2;
    }
    QApplication::setApplicationName(QString::fromLatin1(vantrel::kApplicationTitle));
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    QTemporaryDir folder;
    namespace fs = std::filesystem;
    for (const auto& entry : fs::directory_iterator(argv[1]))
        if (entry.is_directory())
            fs::copy(entry.path(), fs::path(folder.path().toStdString()) / entry.path().filename(),
                     fs::copy_options::recursive);
    QFile log(folder.filePath(QStringLiteral("erj145.csv")));
    if (!log.open(QIODevice::WriteOnly) || log.write(kSampleLog) < 0) return 1;
    log.close();

    Silence silence;
    vantrel::Application program(&silence);
    vantrel::AppContext& ctx = program.Context();
    std::vector<std::pair<std::string, std::string>> questions;
    ctx.dialogs.askYesNo = [&questions](const std::string& text, const std::string& caption) {
        questions.emplace_back(caption, text);
        return true;
    };
    ctx.dialogs.showError = [](const std::string&) {};
    ctx.dialogs.showMessage = [](const std::string&) {};
    if (!program.CreateWindows(folder.path().toStdString() + "/")) return 1;

    const vantrel::WindowSet& w = ctx.windows;
    w.Form3->FillFromPlan({2026, 12, 10, 14, 30, 0});
    bool ok = Save(w.Form1, out, "main-window") && Save(w.Form2, out, "splash") &&
              Save(w.Form7, out, "checklist-window") && Save(w.Form4, out, "gauge") &&
              Save(w.Form5, out, "fuel-panel") && Save(w.Form6, out, "flight-log") &&
              Save(w.Form3, out, "print-sheet") && Save(w.frmMain, out, "voice-window");
    if (!questions.empty())
        ok = ok && SaveBox(QMessageBox::Critical, questions.front().first, questions.front().second,
                           QMessageBox::Yes | QMessageBox::No, out, "start-up-question");
    return ok ? 0 : 1;
}
