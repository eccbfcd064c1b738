#include "fogenhttp.h"

#include "app_context.h"
#include "ui_fogenhttp.h"

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

void TfoGenHTTP::FetchUrl(const QString& url, std::function<void(bool ok)> done) {
    ui->edURL->setText(url);
    StartGet(std::move(done));
}

void TfoGenHTTP::bnGETClick() {
    StartGet({});
}

void TfoGenHTTP::StartGet(std::function<void(bool ok)> done) {
    auto end = [&done](bool ok) {
        if (done) done(ok);
    };
    if (http1_.Busy()) return end(false); // one exchange at a time; the running one owns the reply
    if (ui->cbShow->isChecked()) show();
    // The protocol file is only opened for the exchange and closed with it; nothing is
    // written to it. When it cannot be opened no request is made.
    protocol_.setFileName(ui->edProto->text());
    if (ui->cbProto->isChecked() && !protocol_.open(QIODevice::WriteOnly | QIODevice::Append))
        return end(false);

    // A failed request must never leave an earlier reply (perhaps of another station) behind.
    ctx_.weather.ReplyText.clear();
    http1_.Start(ui->edURL->text(), [this, done = std::move(done)](const vantrel::HttpResult& result) {
        protocol_.close();
        if (result.Ok()) {
            ctx_.weather.ReplyText = result.body.toStdString();
            if (ui->cbHide->isChecked()) hide();
        }
        if (done) done(result.Ok());
    });
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
