#pragma once
#include <QByteArray>
#include <QNetworkAccessManager>
#include <QSslConfiguration>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace vantrel {

// The request headers the HTTP client sends with every GET.
inline constexpr const char* kHttpAccept = "text/html, */*";
inline constexpr const char* kHttpUserAgent = "Mozilla/3.0 (compatible; Vantrel Suite)";

// The largest reply body the program accepts; a METAR reply is a few hundred bytes.
inline constexpr qint64 kMaxHttpBodyBytes = 64 * 1024;

struct HttpLimits {
    // The whole exchange, redirects included, ends after this time without an answer.
    std::chrono::milliseconds timeout{15000};
    // A reply body above this size is cut off and the exchange fails.
    qint64 maxBodyBytes = kMaxHttpBodyBytes;
    // Requests per exchange, the first one and every redirect.
    int maxRequests = 15;
};

enum class HttpOutcome {
    Ok,
    BadUrl,           // not an http or https address (also a redirect to one)
    Busy,             // another exchange of this client is still running
    NetworkError,     // connection, TLS or protocol failure
    StatusError,      // the server answered with a status that is neither success nor redirect
    TimedOut,         // no complete answer within the time-out
    TooLarge,         // the body exceeded the size limit
    TooManyRedirects, // still redirected after the last allowed request
};

struct HttpResult {
    HttpOutcome outcome = HttpOutcome::NetworkError;
    int status = 0;   // last HTTP status received, 0 when none
    QByteArray body;  // the reply body; filled only on success
    QString error;    // what went wrong, for the protocol and for tests
    int requests = 0; // requests sent in the exchange
    bool Ok() const { return outcome == HttpOutcome::Ok; }
};

// Transfer progress: received bytes and the expected total (0 when the size is unknown).
// Called with (0, 0) when a transfer starts and once more with (0, 0) when it has ended.
using HttpProgress = std::function<void(qint64 received, qint64 total)>;

// Called once when an exchange has ended, from the event loop.
using HttpDone = std::function<void(const HttpResult&)>;

// GET over HTTP/1.1 or HTTPS on Qt Network with the OpenSSL back end. Start() returns at once
// and the answer arrives through the event loop, so a window never waits for the network;
// Get() waits for it in a local event loop, for programs without windows. Connections are kept
// alive between requests of one client; redirects are followed by the client itself, so that
// any 3xx but 304, and any reply with a Location header, is followed and the request count is
// exact.
class HttpFetcher {
public:
    HttpFetcher();
    ~HttpFetcher();
    HttpFetcher(const HttpFetcher&) = delete;
    HttpFetcher& operator=(const HttpFetcher&) = delete;

    void SetLimits(const HttpLimits& limits) { limits_ = limits; }
    const HttpLimits& Limits() const { return limits_; }
    // Replaces the TLS settings (for example to trust a particular certificate).
    void SetSslConfiguration(const QSslConfiguration& config) { ssl_ = config; }
    void SetProgress(HttpProgress progress) { progress_ = std::move(progress); }

    // Starts an exchange; done is called from the event loop when it has ended, also when it
    // could not start (a bad address, another exchange running), never before Start returns.
    void Start(const QString& url, HttpDone done);
    HttpResult Get(const QString& url);
    bool Busy() const { return exchange_ != nullptr; }

private:
    struct Exchange;
    struct Single;
    void SendRequest();
    void RequestEnded();
    Single TakeAnswer();
    void Finish(HttpResult result);
    void Answer(HttpDone done, const HttpResult& result);
    void Report(qint64 received, qint64 total) const;

    QNetworkAccessManager manager_;
    HttpLimits limits_;
    std::optional<QSslConfiguration> ssl_;
    HttpProgress progress_;
    std::unique_ptr<Exchange> exchange_;
};

// True for an absolute http:// or https:// address with a host.
bool IsHttpUrl(const QUrl& url);

} // namespace vantrel
