#include "HttpClient.h"

#include "Application.h"
#include "Cp932.h"
#include "HostResolver.h"
#include "SjisText.h"
#include "SocketError.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <optional>

namespace {

using TKind = THttpError::TKind;

std::string Text(const QString& screen) {
    return ScreenToCp932(screen);
}

// A message of the framework's: "%1" is the host, "%2" the detail.
std::string Message(const char* utf8, const QString& host, const std::string& detail = {}) {
    std::string message = SjisText(utf8);
    if (const std::size_t at = message.find("%1"); at != std::string::npos)
        message.replace(at, 2, Text(host));
    if (const std::size_t at = message.find("%2"); at != std::string::npos)
        message.replace(at, 2, detail);
    return message;
}

std::string Seconds(std::chrono::milliseconds time) {
    const auto ms = time.count();
    if (ms % 1000 == 0) return std::to_string(ms / 1000);
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100);
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Qt reports an answer with an error status as an error of the reply; it is an answer all the
// same. Network, proxy and protocol errors are not.
bool IsStatusError(QNetworkReply::NetworkError error) {
    return (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
}

// The errors after which the host's next address may do better.
bool IsConnectFailure(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

const char* CertificateReason(QSslError::SslError error) {
    switch (error) {
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::CertificateUntrusted:
    case QSslError::InvalidCaCertificate:
        return "証明書を発行した認証局が信頼されていません";
    case QSslError::CertificateExpired:
        return "証明書の有効期限が切れています";
    case QSslError::CertificateNotYetValid:
        return "証明書の有効期間がまだ始まっていません";
    case QSslError::HostNameMismatch:
        return "証明書はこのホスト名のものではありません";
    case QSslError::CertificateRevoked:
        return "証明書は失効しています";
    case QSslError::NoPeerCertificate:
        return "サーバーが証明書を示しません";
    default:
        return nullptr;
    }
}

// Each reason once, in the order met.
std::string CertificateReasons(const QList<QSslError>& errors) {
    std::vector<std::string> reasons;
    for (const QSslError& error : errors) {
        const char* known = CertificateReason(error.error());
        std::string reason =
            known ? SjisText(known)
                  : SjisText("証明書を検証できません (") + Text(error.errorString()) + ")";
        if (std::find(reasons.begin(), reasons.end(), reason) == reasons.end())
            reasons.push_back(std::move(reason));
    }
    std::string joined;
    for (const std::string& reason : reasons)
        joined += (joined.empty() ? "" : SjisText("、")) + reason;
    return joined;
}

} // namespace

std::string THttpResponse::Header(std::string_view name) const {
    const auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return (x >= 'A' && x <= 'Z' ? x + 32 : x) ==
                          (y >= 'A' && y <= 'Z' ? y + 32 : y);
               });
    };
    for (const auto& [key, value] : Headers)
        if (same(key, name)) return value;
    return {};
}

class THttpClient::TEngine {
  public:
    explicit TEngine(THttpClient& client)
        : client_(client),
          resolver_([this](const std::vector<TResolvedAddress>& addresses, int error) {
              RunEventHandler([&] { Resolved(addresses, error); });
          }) {
        for (QTimer* timer : {&connectTimer_, &silenceTimer_})
            timer->setSingleShot(true);
        QObject::connect(&connectTimer_, &QTimer::timeout, &context_,
                         [this] { RunEventHandler([this] { ConnectTimedOut(); }); });
        QObject::connect(&silenceTimer_, &QTimer::timeout, &context_,
                         [this] { RunEventHandler([this] { SilenceTimedOut(); }); });
    }
    ~TEngine() { Reset(); }

    void Start(const std::string& url, const THttpHeaders& headers) {
        Reset();
        busy_ = true;
        headers_ = headers;
        redirectsLeft_ = client_.MaxRedirects;
        url_ = QUrl(QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size())),
                    QUrl::StrictMode);
        if (client_.OnLookup) client_.OnLookup(&client_);
        if (!busy_) return; // the handler started another request or gave this one up
        if (!url_.isValid() || url_.scheme().compare("https", Qt::CaseInsensitive) != 0 ||
            url_.host().isEmpty()) {
            const QString shown = QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size()));
            return Fail(TKind::Url,
                        Message("%1 は https:// で始まる正しいアドレスではありません", shown));
        }
        StartHop();
    }

    void Reset() {
        busy_ = false;
        resolver_.Cancel();
        DropReply();
        connectTimer_.stop();
        silenceTimer_.stop();
        addresses_.clear();
        next_ = 0;
    }

    bool Busy() const { return busy_; }
    void Trust(const QList<QSslCertificate>& certificates) {
        trusted_ += certificates;
        tls_.reset();
    }

  private:
    // One address of the host after another, until one answers.
    void StartHop() {
        connectTimer_.stop();
        silenceTimer_.stop();
        addresses_.clear();
        next_ = 0;
        QHostAddress literal;
        if (literal.setAddress(url_.host())) {
            addresses_.push_back(literal);
            return ConnectNext();
        }
        if (!resolver_.Start(url_.host(QUrl::FullyEncoded).toStdString()))
            Fail(TKind::Resolve, Message("%1 のアドレスを調べられません: %2", url_.host(),
                                         WinSockErrorText(10055)));
    }

    void Resolved(const std::vector<TResolvedAddress>& addresses, int error) {
        if (!busy_) return;
        if (error)
            return Fail(TKind::Resolve,
                        Message("%1 のアドレスが見つかりません: %2", url_.host(),
                                WinSockErrorText(error) + " (" + std::to_string(error) + ")"));
        for (const TResolvedAddress& address : addresses)
            addresses_.emplace_back(reinterpret_cast<const sockaddr*>(&address.Address));
        ConnectNext();
    }

    void ConnectNext() {
        DropReply();
        peer_ = addresses_[next_++];
        QUrl at = url_;
        at.setHost(peer_.toString());
        QNetworkRequest request(at);
        // The request goes to the address; the name is the one the server and its certificate
        // know. Without HTTP/2 the Host header is sent as given.
        request.setRawHeader("Host", url_.authority(QUrl::FullyEncoded).toLatin1());
        request.setPeerVerifyName(url_.host());
        request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
        request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
        request.setRawHeader("Accept", QByteArray::fromStdString(client_.Accept));
        if (!client_.UserAgent.empty())
            request.setRawHeader("User-Agent", QByteArray::fromStdString(client_.UserAgent));
        for (const auto& [name, value] : headers_)
            request.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
        request.setSslConfiguration(Tls());

        began_ = false;
        connected_ = false;
        body_.clear();
        certificateErrors_.clear();
        reply_ = Manager().get(request);
        Watch();
        silenceTimer_.stop();
        connectTimer_.start(client_.Timeouts.Connect);
    }

    // Reading the system's store takes a while, so it is read once, when a test's authority
    // joins it.
    const QSslConfiguration& Tls() {
        if (!tls_) {
            tls_ = QSslConfiguration::defaultConfiguration();
            tls_->setPeerVerifyMode(QSslSocket::VerifyPeer);
            if (!trusted_.isEmpty())
                tls_->setCaCertificates(QSslConfiguration::systemCaCertificates() + trusted_);
        }
        return *tls_;
    }

    void Watch() {
        const auto on = [this](auto signal, auto handler) {
            QObject::connect(reply_, signal, &context_, [this, handler](const auto&... args) {
                RunEventHandler([&] { (this->*handler)(args...); });
            });
        };
        on(&QNetworkReply::encrypted, &TEngine::Connected);
        on(&QNetworkReply::requestSent, &TEngine::Connected);
        on(&QNetworkReply::sslErrors, &TEngine::CertificateErrors);
        on(&QNetworkReply::metaDataChanged, &TEngine::HeadersArrived);
        on(&QNetworkReply::readyRead, &TEngine::DataArrived);
        on(&QNetworkReply::finished, &TEngine::Finished);
    }

    // The connection stands (and, new or reused, carries the request): from now on only a
    // silent server is waited for.
    void Connected() {
        if (connected_) return;
        connected_ = true;
        connectTimer_.stop();
        silenceTimer_.start(client_.Timeouts.Silence);
    }

    void CertificateErrors(const QList<QSslError>& errors) { certificateErrors_ += errors; }

    void HeadersArrived() {
        Connected();
        silenceTimer_.start(client_.Timeouts.Silence);
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 0 || IsRedirect(status) || began_) return;
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toULongLong() > client_.MaxBodySize) return TooLarge();
        began_ = true;
        const std::string address = peer_.toString().toStdString();
        if (client_.OnConnect) client_.OnConnect(&client_, address);
    }

    void DataArrived() {
        Connected();
        silenceTimer_.start(client_.Timeouts.Silence);
        const QByteArray data = reply_->readAll();
        if (body_.size() + static_cast<std::size_t>(data.size()) > client_.MaxBodySize)
            return TooLarge();
        body_.append(data.constData(), static_cast<std::size_t>(data.size()));
    }

    void Finished() {
        connectTimer_.stop();
        silenceTimer_.stop();
        const QNetworkReply::NetworkError error = reply_->error();
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status > 0 && (error == QNetworkReply::NoError || IsStatusError(error))) {
            const QByteArray rest = reply_->readAll();
            if (body_.size() + static_cast<std::size_t>(rest.size()) > client_.MaxBodySize)
                return TooLarge();
            body_.append(rest.constData(), static_cast<std::size_t>(rest.size()));
            if (IsRedirect(status)) return Redirect(reply_->rawHeader("Location"));
            return Done(status);
        }
        if (!began_ && IsConnectFailure(error) && next_ < addresses_.size()) return ConnectNext();
        Failed(error);
    }

    void Done(int status) {
        THttpResponse response;
        response.Status = status;
        response.Reason =
            reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().toStdString();
        for (const auto& [name, value] : reply_->rawHeaderPairs())
            response.Headers.emplace_back(name.toStdString(), value.toStdString());
        response.Body.swap(body_);
        Reset();
        if (client_.OnDone) client_.OnDone(&client_, response);
    }

    void Redirect(const QByteArray& location) {
        if (redirectsLeft_-- <= 0)
            return Fail(TKind::Redirect, Message("%1 からの転送が %2 回を超えました", url_.host(),
                                                 std::to_string(client_.MaxRedirects)));
        const QUrl target = url_.resolved(QUrl::fromEncoded(location, QUrl::StrictMode));
        const std::string shown = Text(QString::fromLatin1(location));
        if (location.isEmpty() || !target.isValid() || target.host().isEmpty())
            return Fail(TKind::Redirect,
                        Message("%1 からの転送先が正しくありません: %2", url_.host(), shown));
        if (target.scheme().compare("https", Qt::CaseInsensitive) != 0)
            return Fail(TKind::Redirect,
                        Message("%1 が HTTPS でないアドレスへ転送しようとしました: %2", url_.host(),
                                shown));
        url_ = target;
        DropReply();
        StartHop();
    }

    void Failed(QNetworkReply::NetworkError error) {
        const QString reason = reply_->errorString();
        if (error == QNetworkReply::SslHandshakeFailedError) {
            const std::string detail = certificateErrors_.isEmpty()
                                           ? Text(reason)
                                           : CertificateReasons(certificateErrors_);
            return Fail(TKind::Tls, Message("%1 との安全な接続 (TLS) を確立できません: %2",
                                            url_.host(), detail));
        }
        if (error == QNetworkReply::ConnectionRefusedError)
            return Fail(TKind::Connect,
                        Message("%1 に接続できません: %2", url_.host(), WinSockErrorText(10061)));
        if (error == QNetworkReply::RemoteHostClosedError && began_)
            return Fail(TKind::Transfer,
                        Message("%1 からの応答の途中で接続が閉じられました", url_.host()));
        if (began_)
            return Fail(TKind::Transfer,
                        Message("%1 からの応答を受け取れません: %2", url_.host(), Text(reason)));
        Fail(TKind::Connect, Message("%1 に接続できません: %2", url_.host(), Text(reason)));
    }

    void TooLarge() {
        Fail(TKind::TooLarge, Message("%1 からの応答が大きすぎます (%2 MB を超えています)",
                                      url_.host(), std::to_string(client_.MaxBodySize >> 20)));
    }

    void ConnectTimedOut() {
        if (!busy_ || connected_) return;
        if (next_ < addresses_.size()) return ConnectNext();
        Fail(TKind::Timeout, Message("%1 に接続できません: %2 秒待っても応答がありません",
                                     url_.host(), Seconds(client_.Timeouts.Connect)));
    }

    void SilenceTimedOut() {
        if (!busy_) return;
        Fail(TKind::Timeout, Message("%1 からの応答が %2 秒間途絶えました", url_.host(),
                                     Seconds(client_.Timeouts.Silence)));
    }

    void Fail(TKind kind, std::string message) {
        THttpError error{kind, Text(url_.host()), std::move(message)};
        Reset();
        if (client_.OnError) client_.OnError(&client_, error);
    }

    // The reply is abandoned: its signals no longer reach this engine.
    void DropReply() {
        if (!reply_) return;
        QNetworkReply* reply = std::exchange(reply_, nullptr);
        QObject::disconnect(reply, nullptr, &context_, nullptr);
        reply->abort();
        reply->deleteLater();
    }

    QNetworkAccessManager& Manager() {
        if (!manager_) manager_ = std::make_unique<QNetworkAccessManager>();
        return *manager_;
    }

    THttpClient& client_;
    QObject context_; // the receiver of every connection, so that none outlives the engine
    std::unique_ptr<QNetworkAccessManager> manager_;
    THostResolver resolver_;
    QTimer connectTimer_;
    QTimer silenceTimer_;
    QNetworkReply* reply_ = nullptr;
    QUrl url_; // the address asked for, after the redirects so far
    THttpHeaders headers_;
    int redirectsLeft_ = 0;
    std::vector<QHostAddress> addresses_;
    std::size_t next_ = 0;
    QHostAddress peer_;
    bool busy_ = false;
    bool connected_ = false; // the request went out on a connection
    bool began_ = false;     // the answer's headers arrived
    std::string body_;
    QList<QSslError> certificateErrors_;
    QList<QSslCertificate> trusted_;
    std::optional<QSslConfiguration> tls_;
};

THttpClient::THttpClient() : engine_(std::make_unique<TEngine>(*this)) {}

THttpClient::~THttpClient() = default;

void THttpClient::Get(const std::string& url, const THttpHeaders& headers) {
    engine_->Start(url, headers);
}

void THttpClient::Cancel() {
    engine_->Reset();
}

bool THttpClient::Busy() const {
    return engine_->Busy();
}

int THttpClient::AddTrustedCertificates(const std::string& pem) {
    const QList<QSslCertificate> certificates =
        QSslCertificate::fromData(QByteArray::fromStdString(pem), QSsl::Pem);
    engine_->Trust(certificates);
    return static_cast<int>(certificates.size());
}
