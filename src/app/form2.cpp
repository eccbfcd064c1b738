#include "form2.h"

#include "app_context.h"
#include "ui_form2.h"

TForm2::TForm2(vantrel::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), ui(new Ui::TForm2) {
    ui->setupUi(this);
}

TForm2::~TForm2() = default;
