#include "frmmain.h"

#include "app_context.h"
#include "ui_frmmain.h"

TfrmMain::TfrmMain(vantrel::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), ui(new Ui::TfrmMain) {
    ui->setupUi(this);
}

TfrmMain::~TfrmMain() = default;
