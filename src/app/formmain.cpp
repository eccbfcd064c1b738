#include "formmain.h"

#include "app_context.h"
#include "ui_formmain.h"

TFormMain::TFormMain(vantrel::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), ui(new Ui::TFormMain) {
    ui->setupUi(this);
}

TFormMain::~TFormMain() = default;
