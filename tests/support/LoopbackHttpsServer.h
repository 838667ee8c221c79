#pragma once
// An HTTPS server for tests, on a loopback address and a port of the system's choosing, run by
// the test's own event loop. It answers each request by its path from the replies it was given
// (404 and an empty body for any other path), and writes down every request it read. A reply may
// also stay silent after the request, or send its body without a length and close. Made with
// NoHandshake it accepts connections and then says nothing at all, not even TLS. Its certificate
// comes from the test certificates the build makes (see make-test-certificates.sh).

#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <map>
#include <memory>
#include <string>
#include <vector>

class LoopbackHttpsServer : public QTcpServer {
  public:
    using Headers = std::vector<std::pair<std::string, std::string>>;
    enum class End { Close, Silent, CloseWithoutLength };
    struct Reply {
        Reply() = default;
        Reply(int status, std::string reason, Headers headers = {}, std::string body = {},
              End end = End::Close, std::string declaredLength = {})
            : status(status), reason(std::move(reason)), headers(std::move(headers)),
              body(std::move(body)), end(end), declaredLength(std::move(declaredLength)) {}

        int status = 200;
        std::string reason = "OK";
        Headers headers;
        std::string body;
        End end = End::Close;
        std::string declaredLength; // a Content-Length other than the body's, when not empty
    };
    struct Request {
        std::string method, target;
        std::map<std::string, std::string> headers; // names in lower case
    };
    struct NoHandshake {};

    // `certificate` names a file of the test certificates' folder.
    explicit LoopbackHttpsServer(const std::string& certificate = "server.pem",
                                 const char* address = "127.0.0.1") {
        certificate_ =
            QSslCertificate::fromPath(QString::fromStdString(Path(certificate))).value(0);
        QFile key(QString::fromStdString(Path("server.key")));
        key.open(QIODevice::ReadOnly);
        key_ = QSslKey(&key, QSsl::Ec);
        listen(QHostAddress(QString::fromLatin1(address)));
    }
    LoopbackHttpsServer(NoHandshake, const char* address = "127.0.0.1") : handshake_(false) {
        listen(QHostAddress(QString::fromLatin1(address)));
    }

    static std::string Path(const std::string& name) { return KELVANE_TEST_CERTS "/" + name; }

    // "https://127.0.0.1:PORT" followed by `path`.
    std::string Url(const std::string& path = "/") const {
        const QHostAddress host = serverAddress();
        const QString shown = host.protocol() == QAbstractSocket::IPv6Protocol
                                  ? "[" + host.toString() + "]"
                                  : host.toString();
        return "https://" + shown.toStdString() + ":" + std::to_string(serverPort()) + path;
    }

    void Answer(const std::string& path, Reply reply) { replies_[path] = std::move(reply); }
    const std::vector<Request>& Requests() const { return requests_; }

  protected:
    void incomingConnection(qintptr descriptor) override {
        auto socket = std::make_unique<QSslSocket>();
        socket->setSocketDescriptor(descriptor);
        QSslSocket* raw = socket.get();
        sockets_.push_back(std::move(socket));
        if (!handshake_) return; // accepted, and nothing more
        raw->setLocalCertificate(certificate_);
        raw->setPrivateKey(key_);
        raw->setPeerVerifyMode(QSslSocket::VerifyNone);
        auto buffer = std::make_shared<std::string>();
        QObject::connect(raw, &QSslSocket::readyRead, raw, [this, raw, buffer] {
            *buffer += raw->readAll().toStdString();
            const std::size_t end = buffer->find("\r\n\r\n");
            if (end == std::string::npos) return;
            Serve(raw, buffer->substr(0, end));
            buffer->clear();
        });
        raw->startServerEncryption();
    }

  private:
    void Serve(QSslSocket* socket, const std::string& head) {
        Request request = Parse(head);
        const auto found = replies_.find(request.target);
        requests_.push_back(std::move(request));
        Reply reply;
        if (found != replies_.end()) {
            reply = found->second;
        } else {
            reply.status = 404;
            reply.reason = "Not Found";
        }
        if (reply.end == End::Silent) return;
        std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
        for (const auto& [name, value] : reply.headers)
            out += name + ": " + value + "\r\n";
        if (reply.end != End::CloseWithoutLength)
            out += "Content-Length: " +
                   (reply.declaredLength.empty() ? std::to_string(reply.body.size())
                                                 : reply.declaredLength) +
                   "\r\n";
        out += "Connection: close\r\n\r\n" + reply.body;
        socket->write(out.data(), static_cast<qint64>(out.size()));
        socket->disconnectFromHost(); // after what was written has gone out
    }

    static Request Parse(const std::string& head) {
        Request request;
        std::size_t at = head.find("\r\n");
        const std::string first = head.substr(0, at);
        const std::size_t blank = first.find(' ');
        request.method = first.substr(0, blank);
        request.target = first.substr(blank + 1, first.rfind(' ') - blank - 1);
        while (at != std::string::npos) {
            const std::size_t next = head.find("\r\n", at + 2);
            const std::string line = head.substr(at + 2, next - at - 2);
            const std::size_t colon = line.find(':');
            std::string name = line.substr(0, colon);
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::size_t value = colon + 1;
            while (value < line.size() && line[value] == ' ')
                ++value;
            if (colon != std::string::npos) request.headers[name] = line.substr(value);
            at = next;
        }
        return request;
    }

    bool handshake_ = true;
    QSslCertificate certificate_;
    QSslKey key_;
    std::map<std::string, Reply> replies_;
    std::vector<Request> requests_;
    std::vector<std::unique_ptr<QSslSocket>> sockets_;
};
