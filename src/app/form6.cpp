#include "form6.h"

#include "app_context.h"
#include "ui_form6.h"

TForm6::TForm6(vantrel::AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), ui(new Ui::TForm6) {
    ui->setupUi(this);
}

TForm6::~TForm6() = default;
