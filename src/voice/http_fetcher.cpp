#include "voice/http_fetcher.h"

#include "voice/http_log.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace vantrel {
namespace {

// TLS through OpenSSL when Qt offers it; the back end is a process-wide choice made before the
// first TLS connection.
void PreferOpenSsl() {
    static const bool chosen = [] {
        const QString openssl = QStringLiteral("openssl");
        return QSslSocket::availableBackends().contains(openssl) && QSslSocket::setActiveBackend(openssl);
    }();
    (void)chosen;
}

// Connection, TLS and protocol failures; the content and server error codes only mirror the
// HTTP status, which is judged on its own.
bool IsTransportError(QNetworkReply::NetworkError error) {
    const int code = static_cast<int>(error);
    return error != QNetworkReply::NoError && (code < 200 || (code >= 300 && code < 400));
}

} // namespace

bool IsHttpUrl(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

// What one request of an exchange gave.
struct HttpFetcher::Single {
    HttpOutcome outcome = HttpOutcome::Ok; // Ok: an HTTP answer arrived (of any status)
    int status = 0;
    QByteArray location;
    QByteArray body;
    QString error;
};

// The running exchange: its address now (after redirects), its time limit, the request out.
struct HttpFetcher::Exchange {
    QUrl url;
    std::chrono::steady_clock::time_point deadline;
    HttpDone done;
    HttpResult result;
    QNetworkReply* reply = nullptr;
    QTimer timer;
    QByteArray body;
    bool timedOut = false;
    bool tooLarge = false;

    ~Exchange() {
        if (reply == nullptr) return;
        reply->disconnect();
        reply->abort();
        delete reply;
    }
};

HttpFetcher::HttpFetcher() {
    PreferOpenSsl();
    manager_.setProxy(QNetworkProxy::NoProxy);
    manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

HttpFetcher::~HttpFetcher() = default;

void HttpFetcher::Report(qint64 received, qint64 total) const {
    if (progress_) progress_(received, std::max<qint64>(total, 0));
}

// The answer goes out from the event loop, so a caller's code after Start() has run first.
void HttpFetcher::Answer(HttpDone done, const HttpResult& result) {
    LogHttpAnswer(result);
    if (!done) return;
    QTimer::singleShot(0, &manager_, [done = std::move(done), result] { done(result); });
}

HttpResult HttpFetcher::Get(const QString& address) {
    std::optional<HttpResult> answer;
    QEventLoop loop;
    Start(address, [&](const HttpResult& result) {
        answer = result;
        loop.quit();
    });
    if (!answer) loop.exec();
    return *answer;
}

void HttpFetcher::Start(const QString& address, HttpDone done) {
    LogHttpRequest(address);
    HttpResult refused;
    if (exchange_) {
        refused.outcome = HttpOutcome::Busy;
        refused.error = QStringLiteral("another request is running");
        Answer(std::move(done), refused);
        return;
    }
    const QUrl url(address, QUrl::StrictMode);
    if (!IsHttpUrl(url)) {
        refused.outcome = HttpOutcome::BadUrl;
        refused.error = QStringLiteral("not an http or https address: ") + address;
        Answer(std::move(done), refused);
        return;
    }
    exchange_ = std::make_unique<Exchange>();
    exchange_->url = url;
    exchange_->deadline = std::chrono::steady_clock::now() + limits_.timeout;
    exchange_->done = std::move(done);
    exchange_->timer.setSingleShot(true);
    SendRequest();
}

void HttpFetcher::Finish(HttpResult result) { // a copy: the exchange holding it ends here
    HttpDone done = std::move(exchange_->done);
    exchange_.reset();
    Answer(std::move(done), result);
}

void HttpFetcher::SendRequest() {
    Exchange& x = *exchange_;
    ++x.result.requests;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(x.deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
        x.result.outcome = HttpOutcome::TimedOut;
        x.result.error = QStringLiteral("no answer in time");
        Finish(x.result);
        return;
    }

    QNetworkRequest request(x.url);
    request.setRawHeader("Accept", kHttpAccept);
    request.setRawHeader("User-Agent", kHttpUserAgent);
    // Bodies come as sent, so the size limit counts the bytes on the wire and nothing is
    // inflated behind it.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    if (ssl_) request.setSslConfiguration(*ssl_);

    Report(0, 0);
    x.body.clear();
    x.timedOut = x.tooLarge = false;
    QNetworkReply* reply = manager_.get(request);
    x.reply = reply;

    auto takeBody = [this, reply] {
        Exchange& ex = *exchange_;
        ex.body += reply->readAll();
        if (ex.body.size() > limits_.maxBodyBytes) {
            ex.tooLarge = true;
            ex.body.clear();
            reply->abort();
        }
    };
    x.timer.disconnect();
    QObject::connect(&x.timer, &QTimer::timeout, reply, [this, reply] {
        exchange_->timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this, reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits_.maxBodyBytes) {
            exchange_->tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, takeBody);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [this](qint64 received, qint64 total) { Report(received, total); });
    // Queued, so the exchange goes on (or ends and is deleted) outside the reply's own signal.
    QObject::connect(
        reply, &QNetworkReply::finished, &manager_, [this] { RequestEnded(); }, Qt::QueuedConnection);
    x.timer.start(left);
}

HttpFetcher::Single HttpFetcher::TakeAnswer() {
    Exchange& x = *exchange_;
    QNetworkReply* reply = x.reply;
    x.timer.stop();
    if (!x.timedOut && !x.tooLarge) {
        x.body += reply->readAll();
        if (x.body.size() > limits_.maxBodyBytes) x.tooLarge = true;
    }
    Report(0, 0);

    Single one;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    one.status = status.isValid() ? status.toInt() : 0;
    one.location = reply->rawHeader("Location");
    if (x.timedOut) {
        one.outcome = HttpOutcome::TimedOut;
        one.error = QStringLiteral("no answer in time");
    } else if (x.tooLarge) {
        one.outcome = HttpOutcome::TooLarge;
        one.error = QStringLiteral("reply larger than %1 bytes").arg(limits_.maxBodyBytes);
    } else if (one.status == 0 || IsTransportError(reply->error())) {
        // A status with a broken transfer behind it (connection lost mid-body, bad chunk)
        // is no answer either.
        one.outcome = HttpOutcome::NetworkError;
        one.error = reply->errorString();
    }
    if (one.outcome == HttpOutcome::Ok) one.body = std::move(x.body);
    x.body.clear();
    reply->disconnect();
    reply->deleteLater();
    x.reply = nullptr;
    return one;
}

void HttpFetcher::RequestEnded() {
    if (!exchange_ || exchange_->reply == nullptr) return;
    Single one = TakeAnswer();
    HttpResult& result = exchange_->result;
    result.status = one.status;
    if (one.outcome != HttpOutcome::Ok) {
        result.outcome = one.outcome;
        result.error = one.error;
        Finish(result);
        return;
    }
    const bool redirect = (one.status / 100 == 3 && one.status != 304) || !one.location.isEmpty();
    if (!redirect) {
        if (one.status / 100 == 2) {
            result.outcome = HttpOutcome::Ok;
            result.body = std::move(one.body);
        } else {
            result.outcome = HttpOutcome::StatusError;
            result.error = QStringLiteral("HTTP status %1").arg(one.status);
        }
        Finish(result);
        return;
    }
    if (result.requests >= limits_.maxRequests) {
        result.outcome = HttpOutcome::TooManyRedirects;
        result.error = QStringLiteral("still redirected after %1 requests").arg(result.requests);
        Finish(result);
        return;
    }
    const QUrl next = exchange_->url.resolved(QUrl::fromEncoded(one.location));
    if (one.location.isEmpty() || !IsHttpUrl(next)) {
        result.outcome = HttpOutcome::BadUrl;
        result.error =
            QStringLiteral("redirect to an unusable address: ") + QString::fromLatin1(one.location);
        Finish(result);
        return;
    }
    exchange_->url = next;
    SendRequest();
}

} // namespace vantrel
