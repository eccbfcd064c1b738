#include "voice/http_fetcher.h"

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

HttpFetcher::HttpFetcher() {
    PreferOpenSsl();
    manager_.setProxy(QNetworkProxy::NoProxy);
    manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

void HttpFetcher::Report(qint64 received, qint64 total) const {
    if (progress_) progress_(received, std::max<qint64>(total, 0));
}

HttpResult HttpFetcher::Get(const QString& address) {
    HttpResult result;
    if (busy_) {
        result.outcome = HttpOutcome::Busy;
        result.error = QStringLiteral("another request is running");
        return result;
    }
    QUrl url(address, QUrl::StrictMode);
    if (!IsHttpUrl(url)) {
        result.outcome = HttpOutcome::BadUrl;
        result.error = QStringLiteral("not an http or https address: ") + address;
        return result;
    }
    busy_ = true;
    const auto deadline = std::chrono::steady_clock::now() + limits_.timeout;
    for (;;) {
        ++result.requests;
        Single one = RunOne(url, deadline);
        result.status = one.status;
        if (one.outcome != HttpOutcome::Ok) {
            result.outcome = one.outcome;
            result.error = one.error;
            break;
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
            break;
        }
        if (result.requests >= limits_.maxRequests) {
            result.outcome = HttpOutcome::TooManyRedirects;
            result.error = QStringLiteral("still redirected after %1 requests").arg(result.requests);
            break;
        }
        const QUrl next = url.resolved(QUrl::fromEncoded(one.location));
        if (one.location.isEmpty() || !IsHttpUrl(next)) {
            result.outcome = HttpOutcome::BadUrl;
            result.error =
                QStringLiteral("redirect to an unusable address: ") + QString::fromLatin1(one.location);
            break;
        }
        url = next;
    }
    busy_ = false;
    return result;
}

HttpFetcher::Single HttpFetcher::RunOne(const QUrl& url,
                                        const std::chrono::steady_clock::time_point& deadline) {
    Single one;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
        one.outcome = HttpOutcome::TimedOut;
        one.error = QStringLiteral("no answer in time");
        return one;
    }

    QNetworkRequest request(url);
    request.setRawHeader("Accept", kHttpAccept);
    request.setRawHeader("User-Agent", kHttpUserAgent);
    // Bodies come as sent, so the size limit counts the bytes on the wire and nothing is
    // inflated behind it.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    if (ssl_) request.setSslConfiguration(*ssl_);

    Report(0, 0);
    QNetworkReply* reply = manager_.get(request);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);

    bool timedOut = false;
    bool tooLarge = false;
    auto takeBody = [&] {
        one.body += reply->readAll();
        if (one.body.size() > limits_.maxBodyBytes) {
            tooLarge = true;
            one.body.clear();
            reply->abort();
        }
    };
    QObject::connect(&timer, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits_.maxBodyBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, takeBody);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [this](qint64 received, qint64 total) { Report(received, total); });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);

    timer.start(left);
    if (!reply->isFinished()) loop.exec();
    timer.stop();
    if (!timedOut && !tooLarge) takeBody();
    Report(0, 0);

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    one.status = status.isValid() ? status.toInt() : 0;
    one.location = reply->rawHeader("Location");
    if (timedOut) {
        one.outcome = HttpOutcome::TimedOut;
        one.error = QStringLiteral("no answer in time");
    } else if (tooLarge) {
        one.outcome = HttpOutcome::TooLarge;
        one.error = QStringLiteral("reply larger than %1 bytes").arg(limits_.maxBodyBytes);
    } else if (one.status == 0 || IsTransportError(reply->error())) {
        // A status with a broken transfer behind it (connection lost mid-body, bad chunk)
        // is no answer either.
        one.outcome = HttpOutcome::NetworkError;
        one.error = reply->errorString();
    }
    if (one.outcome != HttpOutcome::Ok) one.body.clear();
    reply->disconnect();
    delete reply;
    return one;
}

} // namespace vantrel
