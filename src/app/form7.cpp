#include "form7.h"

#include "app_context.h"
#include "ui_form7.h"

TForm7::TForm7(vantrel::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), ui(new Ui::TForm7) {
    ui->setupUi(this);
}

TForm7::~TForm7() = default;
