#include "formmain.h"

#include "app_context.h"
#include "form1.h"
#include "ui_formmain.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

TFormMain::TFormMain(vantrel::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), ui(new Ui::TFormMain) {
    ui->setupUi(this);
#ifdef Q_OS_WIN
    // The native window must exist (hidden) for the message to reach it.
    winId();
#endif
}

TFormMain::~TFormMain() = default;

bool TFormMain::HandleMessage(unsigned message, long long lParam) {
    if (message != kShowMainWindowMessage) return false;
    if (lParam == kLeftDoubleClick) {
        if (TForm1* main = ctx_.windows.Form1) {
            main->showNormal();
            main->raise();
            main->activateWindow();
        }
    }
    return true;
}

bool TFormMain::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
#ifdef Q_OS_WIN
    if (eventType == "windows_generic_MSG") {
        const MSG* msg = static_cast<const MSG*>(message);
        if (HandleMessage(msg->message, static_cast<long long>(msg->lParam))) {
            *result = 0;
            return true;
        }
    }
#endif
    return QWidget::nativeEvent(eventType, message, result);
}
