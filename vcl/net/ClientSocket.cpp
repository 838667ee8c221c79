#include "ClientSocket.h"

#include "Application.h"
#include "SjisText.h"
#include "Strings.h"

#include <cerrno>
#include <system_error>

namespace {

// The errors that mean the server cannot be reached; anything else is a failure of the call.
bool IsConnectFailure(int err) {
    return err == ECONNREFUSED || err == ETIMEDOUT || err == ENETUNREACH || err == EHOSTUNREACH ||
           err == EHOSTDOWN || err == ECONNRESET || err == ENETDOWN;
}

std::string InUseMessage() {
    return SjisText("使用中のソケットは値を変更できません");
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

} // namespace

TClientSocket::TClientSocket()
    : resolver_([this](std::uint32_t address, int error) {
          RunEventHandler([&] { Resolved(address, error); });
      }) {
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
    state_ = State::Idle;
    if (!socket_.Open()) throw ESocketError(SjisText("新しいソケットを作成できません"));
    state_ = State::Resolving;
    Raise(OnLookup);
    if (host_.empty()) {
        CloseWithDisconnect();
        throw ESocketError(SjisText("アドレスが指定されていません"));
    }
    try {
        resolver_.Start(host_);
    } catch (const std::system_error&) { // no thread for the lookup
        CloseWithDisconnect();
        throw ESocketError(WinSockErrorMessage(10055, "ASync Lookup"));
    }
}

void TClientSocket::Resolved(std::uint32_t address, int error) {
    if (state_ != State::Resolving) return;
    if (error) {
        CloseWithDisconnect();
        throw ESocketError(WinSockErrorMessage(error, "ASync Lookup"));
    }
    state_ = State::Connecting;
    Raise(OnConnecting);
    if (state_ != State::Connecting) return;
    const int err = socket_.Connect(address, port_);
    if (err == EINPROGRESS) {
        socket_.WatchWrite(true);
    } else if (err == 0 || IsConnectFailure(err)) {
        ConnectDone(err);
    } else {
        CloseWithDisconnect();
        throw ESocketError(WinSockErrorMessage(WinSockErrorFromErrno(err), "connect"));
    }
}

void TClientSocket::ConnectDone(int err) {
    if (err) {
        socket_.Close();
        state_ = State::Idle;
        ThrowIfLeft(eeConnect, NotifyError(eeConnect, WinSockErrorFromErrno(err)));
        return;
    }
    state_ = State::Connected;
    socket_.WatchRead(true);
    Raise(OnConnect);
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
        Raise(OnRead);
    } else if (peek == 0) {
        CloseWithDisconnect(); // the server closes the connection to end the answer
    } else {
        const int err = -peek;
        const bool closeNotice = err == ECONNRESET || err == ECONNABORTED || err == ETIMEDOUT;
        ConnectionFailed(closeNotice ? eeDisconnect : eeReceive, err);
    }
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
    socket_.Close();
    Raise(OnDisconnect);
}

void TClientSocket::Raise(const TSocketNotifyEvent& event) {
    if (event) event(this, &socket_);
}
