#pragma once
#include "voice/http_fetcher.h"

#include <QFile>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class TfoGenHTTP;
}

namespace vantrel {
struct AppContext;
}

// The hidden HTTP client window. A GET runs in the background, so the windows keep painting and
// answering while the request is under way; the reply body of a successful request becomes the
// shared reply text.
class TfoGenHTTP : public QWidget {
    Q_OBJECT
public:
    explicit TfoGenHTTP(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TfoGenHTTP() override;

    // Puts url into edURL and starts the GET as a click on bnGET would; done is called when the
    // exchange has ended, with true when the reply text holds the new body.
    void FetchUrl(const QString& url, std::function<void(bool ok)> done);

    // The HTTP client component (limits, TLS settings).
    vantrel::HttpFetcher& http1() { return http1_; }

public slots:
    void bnGETClick();
    void bnHideClick();

private:
    void StartGet(std::function<void(bool ok)> done);
    void FormCreate();
    void ShowProgress(qint64 received, qint64 total);

    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TfoGenHTTP> ui;
    vantrel::HttpFetcher http1_;
    QFile protocol_;
};
