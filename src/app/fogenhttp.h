#pragma once
#include "voice/http_fetcher.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TfoGenHTTP;
}

namespace vantrel {
struct AppContext;
}

// The hidden HTTP client window. A GET runs in a local event loop, so the windows keep
// painting and answering while the request is under way; the reply body of a successful
// request becomes the shared reply text.
class TfoGenHTTP : public QWidget {
    Q_OBJECT
public:
    explicit TfoGenHTTP(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TfoGenHTTP() override;

    // Puts url into edURL and runs the GET handler as a click on bnGET would; returns when the
    // exchange has ended, true when the reply text holds the new body.
    bool FetchUrl(const QString& url);

    // The HTTP client component (limits, TLS settings).
    vantrel::HttpFetcher& http1() { return http1_; }

public slots:
    void bnGETClick();
    void bnHideClick();

private:
    bool RunGet();
    void FormCreate();
    void ShowProgress(qint64 received, qint64 total);

    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TfoGenHTTP> ui;
    vantrel::HttpFetcher http1_;
    bool lastOk_ = false;
};
