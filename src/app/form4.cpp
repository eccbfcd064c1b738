#include "form4.h"

#include "app_context.h"
#include "ui_form4.h"

TForm4::TForm4(vantrel::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), ui(new Ui::TForm4) {
    ui->setupUi(this);
}

TForm4::~TForm4() = default;
