#include "message_boxes.h"

#include "app_context.h"
#include "cockpit/cockpit_task.h"
#include "core/event_log.h"

#include <QApplication>
#include <QMessageBox>

namespace vantrel {
namespace {

// A box's modal loop runs outside the cockpit's handlers, so a tick or click meanwhile waits for
// the handler that shows the box.
int RunBox(QMessageBox& box) {
    OutsideHandlers outside;
    return box.exec();
}

bool AskInBox(const std::string& text, const std::string& caption, QWidget* parent, QuestionIcon icon) {
    QMessageBox box(icon == QuestionIcon::Stop ? QMessageBox::Critical : QMessageBox::Question,
                    QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    return RunBox(box) == QMessageBox::Yes;
}

} // namespace

void ShowError(AppContext& ctx, const std::string& text, QWidget* parent) {
    LogEvent("error box", text);
    if (ctx.dialogs.showError) {
        ctx.dialogs.showError(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    RunBox(box);
}

void ShowMessage(AppContext& ctx, const std::string& text, QWidget* parent) {
    LogEvent("message", text);
    if (ctx.dialogs.showMessage) {
        ctx.dialogs.showMessage(text);
        return;
    }
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    RunBox(box);
}

bool AskYesNo(AppContext& ctx, const std::string& text, const std::string& caption, QWidget* parent,
              QuestionIcon icon) {
    const bool yes =
        ctx.dialogs.askYesNo ? ctx.dialogs.askYesNo(text, caption) : AskInBox(text, caption, parent, icon);
    LogQuestion(text, yes);
    return yes;
}

} // namespace vantrel
