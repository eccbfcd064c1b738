#include "fogenhttp.h"

#include "app_context.h"
#include "ui_fogenhttp.h"

#include <QFile>

#include <algorithm>
#include <limits>

TfoGenHTTP::TfoGenHTTP(vantrel::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), ui(new Ui::TfoGenHTTP) {
    ui->setupUi(this);
    connect(ui->bnGET, &QPushButton::clicked, this, &TfoGenHTTP::bnGETClick);
    connect(ui->bnHide, &QPushButton::clicked, this, &TfoGenHTTP::bnHideClick);
    http1_.SetProgress([this](qint64 received, qint64 total) { ShowProgress(received, total); });
    FormCreate();
}

TfoGenHTTP::~TfoGenHTTP() = default;

void TfoGenHTTP::FormCreate() {
    setVisible(ui->cbCreate->isChecked());
}

void TfoGenHTTP::bnHideClick() {
    hide();
}

bool TfoGenHTTP::FetchUrl(const QString& url) {
    ui->edURL->setText(url);
    bnGETClick();
    return lastOk_;
}

void TfoGenHTTP::bnGETClick() {
    lastOk_ = RunGet();
}

bool TfoGenHTTP::RunGet() {
    if (http1_.Busy()) return false; // one exchange at a time; the running one owns the reply
    if (ui->cbShow->isChecked()) show();
    // The protocol file is only opened for the exchange and closed with it; nothing is
    // written to it. When it cannot be opened no request is made.
    QFile protocol(ui->edProto->text());
    if (ui->cbProto->isChecked() && !protocol.open(QIODevice::WriteOnly | QIODevice::Append)) return false;

    // A failed request must never leave an earlier reply (perhaps of another station) behind.
    ctx_.weather.ReplyText.clear();
    const vantrel::HttpResult result = http1_.Get(ui->edURL->text());
    if (!result.Ok()) return false;
    ctx_.weather.ReplyText = result.body.toStdString();
    if (ui->cbHide->isChecked()) hide();
    return true;
}

void TfoGenHTTP::ShowProgress(qint64 received, qint64 total) {
    constexpr qint64 kMax = std::numeric_limits<int>::max();
    if (received == 0 && total == 0) {
        ui->ProgressBar1->setValue(0);
        return;
    }
    if (total <= 0) return; // size unknown: the bar stays where it is
    ui->ProgressBar1->setMaximum(static_cast<int>(std::min(total, kMax)));
    ui->ProgressBar1->setValue(static_cast<int>(std::min(received, kMax)));
}
