#include "voice/http_fetcher.h"

#include "http_test_server.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

namespace vantrel {
namespace {

using testing::Answer;
using testing::SeenRequest;
using testing::TestHttpServer;

const QByteArray kReply = "2026/12/08 15:50\nEGLL 081550Z 24015KT 9999 FEW012 12/09 Q1013\n";

TEST(HttpFetcher, PlainReplyWithContentLengthAndExactHeaders) {
    TestHttpServer server([](const SeenRequest&) { return TestHttpServer::Ok(kReply); });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/data/EGLL.TXT");
    ASSERT_TRUE(r.Ok()) << r.error.toStdString();
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, kReply);
    EXPECT_EQ(r.requests, 1);
    ASSERT_EQ(server.requests.size(), 1u);
    const SeenRequest& seen = server.requests[0];
    EXPECT_EQ(seen.line, "GET /data/EGLL.TXT HTTP/1.1");
    EXPECT_EQ(seen.Header("Accept"), "text/html, */*");
    EXPECT_EQ(seen.Header("User-Agent"), "Mozilla/3.0 (compatible; Vantrel Suite)");
    EXPECT_EQ(seen.Header("Host"), "127.0.0.1:" + QByteArray::number(server.serverPort()));
    // Qt Network adds its connection and language headers; encoding is pinned to the plain body.
    QList<QByteArray> names;
    for (const auto& h : seen.headers)
        names.push_back(h.first.toLower());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (QList<QByteArray>{"accept", "accept-encoding", "accept-language", "connection", "host",
                                        "user-agent"}));
    EXPECT_EQ(seen.Header("Accept-Encoding"), "identity");
    EXPECT_TRUE(seen.Header("Authorization").isEmpty());
    EXPECT_TRUE(seen.Header("Content-Length").isEmpty());
}

TEST(HttpFetcher, ChunkedReplyWithExtensionsOnSizeLines) {
    TestHttpServer server([](const SeenRequest&) {
        return Answer{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                      "11 ; name=value\r\n2026/12/08 15:50\n\r\n"
                      "1a\r\nEGLL 081550Z 24015KT 9999\n\r\n"
                      "0\r\n\r\n",
                      false};
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/x");
    ASSERT_TRUE(r.Ok()) << r.error.toStdString();
    EXPECT_EQ(r.body, "2026/12/08 15:50\nEGLL 081550Z 24015KT 9999\n");
}

TEST(HttpFetcher, BodyUntilTheServerCloses) {
    TestHttpServer server([](const SeenRequest&) {
        return Answer{"HTTP/1.0 200 OK\r\n\r\n" + kReply, true};
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/x");
    ASSERT_TRUE(r.Ok()) << r.error.toStdString();
    EXPECT_EQ(r.body, kReply);
}

TEST(HttpFetcher, KeepsTheConnectionAliveBetweenRequests) {
    TestHttpServer server([](const SeenRequest&) { return TestHttpServer::Ok(kReply); });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    ASSERT_TRUE(fetcher.Get(server.Base() + "/a").Ok());
    ASSERT_TRUE(fetcher.Get(server.Base() + "/b").Ok());
    ASSERT_EQ(server.requests.size(), 2u);
    EXPECT_EQ(server.connections, 1);
    EXPECT_EQ(server.requests[1].connection, 1);
}

TEST(HttpFetcher, ReconnectsWhenTheServerSaysClose) {
    TestHttpServer server([](const SeenRequest&) {
        Answer a = TestHttpServer::Ok(kReply, "Connection: close\r\n");
        a.close = true;
        return a;
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    ASSERT_TRUE(fetcher.Get(server.Base() + "/a").Ok());
    ASSERT_TRUE(fetcher.Get(server.Base() + "/b").Ok());
    EXPECT_EQ(server.connections, 2);
}

TEST(HttpFetcher, FollowsARedirectChain) {
    TestHttpServer server([](const SeenRequest& r) {
        if (r.path == "/one") return TestHttpServer::Redirect(301, "/two");
        if (r.path == "/two") return TestHttpServer::Redirect(302, "three");
        if (r.path == "/three") return TestHttpServer::Redirect(307, "/four?x=1");
        if (r.path == "/four?x=1") return TestHttpServer::Ok(kReply);
        return TestHttpServer::Status(404, "Not Found");
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/one");
    ASSERT_TRUE(r.Ok()) << r.error.toStdString();
    EXPECT_EQ(r.body, kReply);
    EXPECT_EQ(r.requests, 4);
    for (const auto& seen : server.requests)
        EXPECT_EQ(seen.Header("User-Agent"), "Mozilla/3.0 (compatible; Vantrel Suite)");
}

TEST(HttpFetcher, FollowsALocationHeaderWhateverTheStatus) {
    TestHttpServer server([](const SeenRequest& r) {
        if (r.path == "/moved") return TestHttpServer::Ok("not here", "Location: /here\r\n");
        return TestHttpServer::Ok(kReply);
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/moved");
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.body, kReply);
    EXPECT_EQ(r.requests, 2);
}

TEST(HttpFetcher, FifteenRequestsAtMost) {
    int hops = 0;
    TestHttpServer server([&](const SeenRequest&) {
        ++hops;
        return TestHttpServer::Redirect(302, "/hop" + QByteArray::number(hops));
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/start");
    EXPECT_EQ(r.outcome, HttpOutcome::TooManyRedirects);
    EXPECT_TRUE(r.body.isEmpty());
    EXPECT_EQ(r.requests, 15);
    EXPECT_EQ(server.requests.size(), 15u);
}

TEST(HttpFetcher, FourteenRedirectsStillArrive) {
    TestHttpServer server([](const SeenRequest& r) {
        const int n = r.path.mid(2).toInt(); // "/h<n>"
        if (n < 14) return TestHttpServer::Redirect(302, "/h" + QByteArray::number(n + 1));
        return TestHttpServer::Ok(kReply);
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/h0");
    ASSERT_TRUE(r.Ok()) << r.error.toStdString();
    EXPECT_EQ(r.requests, 15);
}

TEST(HttpFetcher, ErrorStatusesFail) {
    for (const auto& [code, text] : {std::pair{404, "Not Found"}, std::pair{500, "Internal Server Error"},
                                     std::pair{304, "Not Modified"}, std::pair{100, "Continue"}}) {
        TestHttpServer server([&](const SeenRequest&) { return TestHttpServer::Status(code, text); });
        ASSERT_TRUE(server.Start());
        HttpFetcher fetcher;
        const HttpResult r = fetcher.Get(server.Base() + "/x");
        if (code == 100) {
            // An informational answer without a final one is no reply at all.
            EXPECT_FALSE(r.Ok());
            continue;
        }
        EXPECT_EQ(r.outcome, HttpOutcome::StatusError) << code;
        EXPECT_EQ(r.status, code);
        EXPECT_TRUE(r.body.isEmpty());
    }
}

TEST(HttpFetcher, AServerThatNeverAnswersTimesOut) {
    TestHttpServer server([](const SeenRequest&) { return Answer{}; });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    EXPECT_EQ(fetcher.Limits().timeout, std::chrono::seconds(15));
    fetcher.SetLimits({std::chrono::milliseconds(300), 64 * 1024, 15});
    const auto start = std::chrono::steady_clock::now();
    const HttpResult r = fetcher.Get(server.Base() + "/x");
    EXPECT_EQ(r.outcome, HttpOutcome::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(server.requests.size(), 1u);
}

TEST(HttpFetcher, AStalledBodyTimesOut) {
    TestHttpServer server([](const SeenRequest&) {
        return Answer{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly part", false};
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    fetcher.SetLimits({std::chrono::milliseconds(300), 64 * 1024, 15});
    EXPECT_EQ(fetcher.Get(server.Base() + "/x").outcome, HttpOutcome::TimedOut);
}

TEST(HttpFetcher, NothingListeningFails) {
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(QStringLiteral("http://127.0.0.1:%1/x").arg(port));
    EXPECT_EQ(r.outcome, HttpOutcome::NetworkError);
}

TEST(HttpFetcher, ConnectionLostMidBodyFails) {
    TestHttpServer server([](const SeenRequest&) {
        return Answer{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly part", true};
    });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    EXPECT_FALSE(fetcher.Get(server.Base() + "/x").Ok());
}

TEST(HttpFetcher, RepliesOfSeveralMegabytesAreRejected) {
    const QByteArray big(5 * 1024 * 1024, 'x');
    struct Case {
        const char* name;
        Answer answer;
    };
    QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (int i = 0; i < 80; ++i)
        chunked += "10000\r\n" + big.left(0x10000) + "\r\n";
    chunked += "0\r\n\r\n";
    const Case cases[] = {
        {"content-length", TestHttpServer::Ok(big)},
        {"until close", Answer{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big, true}},
        {"chunked", Answer{chunked, false}},
    };
    for (const Case& c : cases) {
        TestHttpServer server([&](const SeenRequest&) { return c.answer; });
        ASSERT_TRUE(server.Start());
        HttpFetcher fetcher;
        const HttpResult r = fetcher.Get(server.Base() + "/big");
        EXPECT_EQ(r.outcome, HttpOutcome::TooLarge) << c.name;
        EXPECT_TRUE(r.body.isEmpty()) << c.name;
    }
}

TEST(HttpFetcher, SixtyFourKibibytesExactlyArrive) {
    const QByteArray body(64 * 1024, 'y');
    TestHttpServer server([&](const SeenRequest&) { return TestHttpServer::Ok(body); });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/x");
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.body.size(), body.size());
}

TEST(HttpFetcher, ReportsProgressFromZeroBackToZero) {
    const QByteArray body(20000, 'p');
    TestHttpServer server([&](const SeenRequest&) { return TestHttpServer::Ok(body); });
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    std::vector<std::pair<qint64, qint64>> seen;
    fetcher.SetProgress([&](qint64 done, qint64 total) { seen.emplace_back(done, total); });
    ASSERT_TRUE(fetcher.Get(server.Base() + "/x").Ok());
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), (std::pair<qint64, qint64>{0, 0}));
    EXPECT_EQ(seen.back(), (std::pair<qint64, qint64>{0, 0}));
    EXPECT_EQ(seen[seen.size() - 2], (std::pair<qint64, qint64>{20000, 20000}));
}

TEST(HttpFetcher, RefusesAddressesThatAreNotHttp) {
    HttpFetcher fetcher;
    for (const char* url : {"", "ftp://127.0.0.1/x", "file:///etc/passwd", "127.0.0.1/x", "http:///x"})
        EXPECT_EQ(fetcher.Get(url).outcome, HttpOutcome::BadUrl) << url;
    TestHttpServer server(
        [](const SeenRequest&) { return TestHttpServer::Redirect(302, "file:///etc/passwd"); });
    ASSERT_TRUE(server.Start());
    EXPECT_EQ(fetcher.Get(server.Base() + "/x").outcome, HttpOutcome::BadUrl);
}

TEST(HttpFetcher, ANestedRequestWhileOneRunsIsRefused) {
    HttpFetcher fetcher;
    HttpOutcome nested = HttpOutcome::Ok;
    TestHttpServer server([&](const SeenRequest&) {
        nested = fetcher.Get("http://127.0.0.1:1/x").outcome;
        return TestHttpServer::Ok(kReply);
    });
    ASSERT_TRUE(server.Start());
    EXPECT_TRUE(fetcher.Get(server.Base() + "/x").Ok());
    EXPECT_EQ(nested, HttpOutcome::Busy);
}

// A self-signed certificate for 127.0.0.1 made with the openssl tool for this test run.
class HttpFetcherTls : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        const QString key = dir_->filePath("key.pem"), cert = dir_->filePath("cert.pem");
        QProcess openssl;
        openssl.start("openssl",
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days",
                       "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
        openssl.waitForFinished(60000);
        QFile k(key), c(cert);
        if (k.open(QIODevice::ReadOnly)) key_ = QSslKey(k.readAll(), QSsl::Rsa);
        if (c.open(QIODevice::ReadOnly)) cert_ = QSslCertificate(c.readAll());
    }
    static void TearDownTestSuite() { delete dir_; }

    static QTemporaryDir* dir_;
    static QSslKey key_;
    static QSslCertificate cert_;
};
QTemporaryDir* HttpFetcherTls::dir_ = nullptr;
QSslKey HttpFetcherTls::key_;
QSslCertificate HttpFetcherTls::cert_;

TEST_F(HttpFetcherTls, TrustedSelfSignedCertificate) {
    ASSERT_FALSE(cert_.isNull());
    ASSERT_FALSE(key_.isNull());
    EXPECT_EQ(QSslSocket::activeBackend(), "openssl");
    TestHttpServer server([](const SeenRequest&) { return TestHttpServer::Ok(kReply); });
    server.UseTls(cert_, key_);
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setCaCertificates({cert_});
    fetcher.SetSslConfiguration(config);
    const HttpResult r = fetcher.Get(server.Base() + "/secure/EGLL.TXT");
    ASSERT_TRUE(r.Ok()) << r.error.toStdString();
    EXPECT_EQ(r.body, kReply);
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(server.requests[0].line, "GET /secure/EGLL.TXT HTTP/1.1");
    EXPECT_EQ(server.requests[0].Header("User-Agent"), "Mozilla/3.0 (compatible; Vantrel Suite)");
}

TEST_F(HttpFetcherTls, UntrustedCertificateFails) {
    TestHttpServer server([](const SeenRequest&) { return TestHttpServer::Ok(kReply); });
    server.UseTls(cert_, key_);
    ASSERT_TRUE(server.Start());
    HttpFetcher fetcher;
    const HttpResult r = fetcher.Get(server.Base() + "/x");
    EXPECT_EQ(r.outcome, HttpOutcome::NetworkError);
    EXPECT_TRUE(server.requests.empty());
}

} // namespace
} // namespace vantrel
