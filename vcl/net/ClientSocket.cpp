#include "ClientSocket.h"

#include "Application.h"
#include "SjisText.h"
#include "Strings.h"

#include <QTimer>
#include <cerrno>
#include <chrono>
#include <sys/socket.h>

namespace {

// The errors that mean the server cannot be reached at this address; anything else is a failure
// of the call. A machine without IPv6 cannot make a socket for an IPv6 address, or has no source
// address for it: that address is out of reach, and a name may have others.
bool IsConnectFailure(int err) {
    return err == ECONNREFUSED || err == ETIMEDOUT || err == ENETUNREACH || err == EHOSTUNREACH ||
           err == EHOSTDOWN || err == ECONNRESET || err == ENETDOWN || err == EAFNOSUPPORT ||
           err == EADDRNOTAVAIL;
}

std::string InUseMessage() {
    return SjisText("使用中のソケットは値を変更できません");
}

std::string NoSocketMessage() {
    return SjisText("新しいソケットを作成できません");
}

const char* ApiName(TErrorEvent kind) {
    switch (kind) {
    case eeSend:
        return "send";
    case eeReceive:
        return "recv";
    case eeConnect:
        return "connect";
    case eeDisconnect:
        return "closesocket";
    default:
        return "select";
    }
}

// How long one data notice may read on.
constexpr auto ReadSlice = std::chrono::milliseconds(16);

std::unique_ptr<QTimer> OneShotTimer(std::function<void()> expired) {
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(),
                     [expired = std::move(expired)] { RunEventHandler(expired); });
    return timer;
}

} // namespace

TClientSocket::TClientSocket()
    : resolver_([this](const std::vector<TResolvedAddress>& addresses, int error) {
          RunEventHandler([&] { Resolved(addresses, error); });
      }),
      connectTimer_(OneShotTimer([this] { ConnectTimedOut(); })),
      silenceTimer_(OneShotTimer([this] { SilenceTimedOut(); })) {
    socket_.OnReadable = [this] { RunEventHandler([this] { Readable(); }); };
    socket_.OnWritable = [this] { RunEventHandler([this] { Writable(); }); };
    socket_.OnSendFailed = [this](int err) { ConnectionFailed(eeSend, err); };
}

TClientSocket::~TClientSocket() = default;

void TClientSocket::SetHost(const std::string& host) {
    if (SameText(host, host_)) return; // host names compare without regard to case
    if (Active()) throw ESocketError(InUseMessage());
    host_ = host;
}

void TClientSocket::SetPort(int port) {
    if (port == port_) return;
    if (Active()) throw ESocketError(InUseMessage());
    port_ = port;
}

void TClientSocket::SetActive(bool active) {
    if (active == Active()) return;
    if (active) {
        StartAttempt();
    } else if (state_ == State::Connected) {
        CloseWithDisconnect();
    }
}

void TClientSocket::StartAttempt() {
    resolver_.Cancel(); // an attempt still resolving or connecting is abandoned
    CloseQuietly();
    state_ = State::Idle;
    if (socket_.Open(AF_INET) != 0) throw ESocketError(NoSocketMessage());
    state_ = State::Resolving;
    Raise(OnLookup);
    if (host_.empty()) {
        CloseWithDisconnect();
        throw ESocketError(SjisText("アドレスが指定されていません"));
    }
    if (!resolver_.Start(host_)) { // no thread for the lookup, or too many still running
        CloseWithDisconnect();
        throw ESocketError(WinSockErrorMessage(10055, "ASync Lookup"));
    }
}

void TClientSocket::Resolved(const std::vector<TResolvedAddress>& addresses, int error) {
    if (state_ != State::Resolving) return;
    if (error) {
        CloseWithDisconnect();
        throw ESocketError(WinSockErrorMessage(error, "ASync Lookup"));
    }
    addresses_ = addresses;
    next_ = 0;
    state_ = State::Connecting;
    Raise(OnConnecting);
    if (state_ != State::Connecting) return;
    ConnectNext();
}

void TClientSocket::ConnectNext() {
    const TResolvedAddress& to = addresses_[next_++];
    int err = socket_.Open(to.Family());
    if (err != 0 && !IsConnectFailure(err)) {
        CloseWithDisconnect();
        throw ESocketError(NoSocketMessage());
    }
    if (err == 0) err = socket_.Connect(to, port_);
    if (err == EINPROGRESS) {
        socket_.WatchWrite(true);
        connectTimer_->start(Timeouts.Connect);
    } else if (err == 0 || IsConnectFailure(err)) {
        ConnectDone(err);
    } else {
        CloseWithDisconnect();
        throw ESocketError(WinSockErrorMessage(WinSockErrorFromErrno(err), "connect"));
    }
}

void TClientSocket::ConnectDone(int err) {
    connectTimer_->stop();
    if (err && next_ < addresses_.size()) {
        ConnectNext();
    } else if (err) {
        CloseQuietly();
        state_ = State::Idle;
        ThrowIfLeft(eeConnect, NotifyError(eeConnect, WinSockErrorFromErrno(err)));
    } else {
        state_ = State::Connected;
        socket_.WatchRead(true);
        silenceTimer_->start(Timeouts.Silence);
        Raise(OnConnect);
    }
}

void TClientSocket::ConnectTimedOut() {
    if (state_ != State::Connecting) return;
    socket_.WatchWrite(false);
    ConnectDone(ETIMEDOUT);
}

void TClientSocket::Writable() {
    if (state_ == State::Connecting) {
        socket_.WatchWrite(false);
        ConnectDone(socket_.PendingError());
    } else if (state_ == State::Connected) {
        socket_.FlushOutput();
    }
}

void TClientSocket::Readable() {
    if (state_ != State::Connected) return;
    const int peek = socket_.PeekState();
    if (peek > 0) {
        silenceTimer_->start(Timeouts.Silence); // the server is still answering
        // Each read takes a bounded piece; one notice reads on while bytes wait, for a slice of
        // time, so that a fast answer goes in large strides and the event loop (painting, the
        // user's clicks) still gets its turn after every slice.
        const auto sliceEnd = std::chrono::steady_clock::now() + ReadSlice;
        do {
            Raise(OnRead);
        } while (state_ == State::Connected && socket_.HasPending() &&
                 std::chrono::steady_clock::now() < sliceEnd);
    } else if (peek == 0) {
        CloseWithDisconnect(); // the server closes the connection to end the answer
    } else {
        const int err = -peek;
        const bool closeNotice = err == ECONNRESET || err == ECONNABORTED || err == ETIMEDOUT;
        ConnectionFailed(closeNotice ? eeDisconnect : eeReceive, err);
    }
}

// A server that accepts and then says nothing ends as a reset does: the error, then the
// disconnection, and the socket is free for the next lookup.
void TClientSocket::SilenceTimedOut() {
    if (state_ == State::Connected) ConnectionFailed(eeReceive, ETIMEDOUT);
}

int TClientSocket::NotifyError(TErrorEvent kind, int code) {
    if (OnError) OnError(this, &socket_, kind, code);
    return code;
}

void TClientSocket::ThrowIfLeft(TErrorEvent kind, int code) {
    if (code != 0) throw ESocketError(WinSockErrorMessage(code, ApiName(kind)));
}

void TClientSocket::ConnectionFailed(TErrorEvent kind, int errnoValue) {
    const int left = NotifyError(kind, WinSockErrorFromErrno(errnoValue));
    if (state_ == State::Connected) CloseWithDisconnect();
    ThrowIfLeft(kind, left);
}

void TClientSocket::CloseWithDisconnect() {
    state_ = State::Idle;
    CloseQuietly();
    Raise(OnDisconnect);
}

void TClientSocket::CloseQuietly() {
    connectTimer_->stop();
    silenceTimer_->stop();
    socket_.Close();
}

void TClientSocket::Raise(const TSocketNotifyEvent& event) {
    if (event) event(this, &socket_);
}
