#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the client tests: it parses each request, records
// it and answers with whatever bytes the test's handler returns, on plain TCP or TLS.
#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <map>
#include <vector>

namespace vantrel::testing {

struct SeenRequest {
    QByteArray line;                                        // "GET /path HTTP/1.1"
    QByteArray path;                                        // "/path"
    std::vector<std::pair<QByteArray, QByteArray>> headers; // in the order sent
    int connection = 0;                                     // which connection carried it (1, 2, ...)

    QByteArray Header(const QByteArray& name) const {
        for (const auto& [k, v] : headers)
            if (k.compare(name, Qt::CaseInsensitive) == 0) return v;
        return {};
    }
};

struct Answer {
    QByteArray bytes;   // written as is; empty means the server never answers
    bool close = false; // close the connection after writing
};

class TestHttpServer : public QTcpServer {
public:
    using Handler = std::function<Answer(const SeenRequest&)>;

    explicit TestHttpServer(Handler handler) : handler_(std::move(handler)) {}

    // Serves TLS with this certificate and key instead of plain TCP.
    void UseTls(const QSslCertificate& cert, const QSslKey& key) {
        cert_ = cert;
        key_ = key;
        tls_ = true;
    }

    bool Start() { return listen(QHostAddress::LocalHost, 0); }
    QString Base() const {
        return QStringLiteral("%1://127.0.0.1:%2").arg(tls_ ? "https" : "http").arg(serverPort());
    }

    std::vector<SeenRequest> requests;
    int connections = 0;

    // A plain 200 reply with a Content-Length.
    static Answer Ok(const QByteArray& body, const QByteArray& extraHeaders = {}) {
        return {"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\n" + extraHeaders + "\r\n" + body,
                false};
    }
    static Answer Status(int code, const QByteArray& text, const QByteArray& body = "error page") {
        return {"HTTP/1.1 " + QByteArray::number(code) + " " + text +
                    "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body,
                false};
    }
    static Answer Redirect(int code, const QByteArray& location) {
        return {"HTTP/1.1 " + QByteArray::number(code) + " Moved\r\nLocation: " + location +
                    "\r\nContent-Length: 5\r\n\r\nmoved",
                false};
    }

protected:
    void incomingConnection(qintptr descriptor) override {
        QTcpSocket* socket = nullptr;
        if (tls_) {
            auto* ssl = new QSslSocket(this);
            ssl->setSocketDescriptor(descriptor);
            ssl->setLocalCertificate(cert_);
            ssl->setPrivateKey(key_);
            ssl->startServerEncryption();
            socket = ssl;
        } else {
            socket = new QTcpSocket(this);
            socket->setSocketDescriptor(descriptor);
        }
        const int number = ++connections;
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer, number] {
            *buffer += socket->readAll();
            for (;;) {
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0) return;
                SeenRequest request = Parse(buffer->left(end));
                request.connection = number;
                buffer->remove(0, end + 4);
                requests.push_back(request);
                const Answer answer = handler_(request);
                if (answer.bytes.isEmpty()) return; // never answers
                socket->write(answer.bytes);
                if (answer.close) {
                    socket->disconnectFromHost();
                    return;
                }
            }
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    static SeenRequest Parse(const QByteArray& head) {
        SeenRequest r;
        const QList<QByteArray> lines = head.split('\n');
        r.line = lines.value(0).trimmed();
        r.path = r.line.split(' ').value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray l = lines[i].trimmed();
            const qsizetype colon = l.indexOf(':');
            if (colon > 0) r.headers.emplace_back(l.left(colon), l.mid(colon + 1).trimmed());
        }
        return r;
    }

    Handler handler_;
    bool tls_ = false;
    QSslCertificate cert_;
    QSslKey key_;
};

} // namespace vantrel::testing
