#include "form3.h"

#include "app_context.h"
#include "ui_form3.h"

TForm3::TForm3(vantrel::AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), ui(new Ui::TForm3) {
    ui->setupUi(this);
}

TForm3::~TForm3() = default;
