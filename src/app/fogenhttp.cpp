#include "fogenhttp.h"

#include "app_context.h"
#include "ui_fogenhttp.h"

TfoGenHTTP::TfoGenHTTP(vantrel::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), ui(new Ui::TfoGenHTTP) {
    ui->setupUi(this);
}

TfoGenHTTP::~TfoGenHTTP() = default;
