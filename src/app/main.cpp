#include "app_context.h"
#include "frmmain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // --voices: the voice selection window on its own.
    if (HasVoicesSwitch(argc, argv)) {
        vantrel::AppContext ctx;
        TfrmMain voices(ctx);
        voices.ShowVoiceWindow();
        return app.exec();
    }
    return 0;
}
