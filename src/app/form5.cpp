#include "form5.h"

#include "app_context.h"
#include "ui_form5.h"

TForm5::TForm5(vantrel::AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), ui(new Ui::TForm5) {
    ui->setupUi(this);
}

TForm5::~TForm5() = default;
