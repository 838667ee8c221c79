#include "CustomWinSocket.h"

#include "HostResolver.h"
#include "SocketError.h"

#include <QSocketNotifier>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A notifier may be dropped from inside its own signal: let the event loop delete it.
void Drop(std::unique_ptr<QSocketNotifier>& notifier) {
    if (!notifier) return;
    notifier->setEnabled(false);
    notifier.release()->deleteLater();
}

} // namespace

TCustomWinSocket::TCustomWinSocket() = default;

TCustomWinSocket::~TCustomWinSocket() {
    Close();
}

int TCustomWinSocket::Open(int family) {
    Close();
    fd_ = socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return errno;
    if (family == AF_INET6) { // an IPv4 address written as IPv6 (::ffff:a.b.c.d) is reachable too
        const int off = 0;
        setsockopt(fd_, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    }
    readNotifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    readNotifier_->setEnabled(false);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, readNotifier_.get(), [this] {
        if (OnReadable) OnReadable();
    });
    writeNotifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, writeNotifier_.get(),
                     [this] {
                         if (OnWritable) OnWritable();
                     });
    return 0;
}

int TCustomWinSocket::Connect(const TResolvedAddress& to, int port) {
    TResolvedAddress at = to;
    const auto networkPort = htons(static_cast<std::uint16_t>(port));
    if (at.Family() == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&at.Address)->sin6_port = networkPort;
    else
        reinterpret_cast<sockaddr_in*>(&at.Address)->sin_port = networkPort;
    if (connect(fd_, reinterpret_cast<const sockaddr*>(&at.Address), at.Length) == 0) return 0;
    return errno;
}

int TCustomWinSocket::PendingError() const {
    int err = 0;
    socklen_t len = sizeof err;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
    return err;
}

int TCustomWinSocket::PeekState() const {
    if (readError_) return -readError_;
    char byte;
    const ssize_t n = recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n >= 0) return static_cast<int>(n);
    return errno == EAGAIN || errno == EINTR ? 1 : -errno;
}

void TCustomWinSocket::WatchRead(bool on) {
    if (readNotifier_) readNotifier_->setEnabled(on);
}

void TCustomWinSocket::WatchWrite(bool on) {
    if (writeNotifier_) writeNotifier_->setEnabled(on);
}

void TCustomWinSocket::Close() {
    Drop(readNotifier_);
    Drop(writeNotifier_);
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    outQueue_.clear();
    readError_ = 0;
}

// Reads what has arrived when it is called, and no more: a server that sends without pause must
// not keep the event loop here.
std::string TCustomWinSocket::ReceiveText() {
    std::string text;
    if (fd_ < 0) return text;
    int available = 0;
    if (ioctl(fd_, FIONREAD, &available) != 0) available = static_cast<int>(ReadChunk);
    text.resize(std::min(static_cast<std::size_t>(std::max(available, 0)), ReadChunk));
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = recv(fd_, text.data() + got, text.size() - got, MSG_DONTWAIT);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // The system reports an error once: keep it for the next notice.
        if (n < 0 && errno != EAGAIN) readError_ = errno;
        break; // nothing more now, the end of the answer, or an error
    }
    text.resize(got);
    return text;
}

bool TCustomWinSocket::HasPending() const {
    int available = 0;
    return fd_ >= 0 && ioctl(fd_, FIONREAD, &available) == 0 && available > 0;
}

int TCustomWinSocket::SendText(const std::string& text) {
    if (fd_ < 0) return 0;
    if (!outQueue_.empty()) { // keep the order: behind what is still waiting
        outQueue_ += text;
        return 0;
    }
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            outQueue_.assign(text, sent);
            WatchWrite(true);
            break;
        } else {
            const int err = errno;
            if (OnSendFailed) OnSendFailed(err);
            return static_cast<int>(sent);
        }
    }
    return static_cast<int>(sent);
}

void TCustomWinSocket::FlushOutput() {
    if (outQueue_.empty()) return;
    const std::string rest = std::move(outQueue_);
    outQueue_.clear();
    WatchWrite(false);
    SendText(rest);
}

std::string TCustomWinSocket::RemoteAddress() const {
    if (fd_ < 0) return {};
    sockaddr_storage peer{};
    socklen_t len = sizeof peer;
    if (getpeername(fd_, reinterpret_cast<sockaddr*>(&peer), &len) != 0) {
        if (errno == ENOTCONN) return {};
        throw ESocketError(WinSockErrorMessage(WinSockErrorFromErrno(errno), "getpeername"));
    }
    char text[INET6_ADDRSTRLEN];
    const void* bytes = &reinterpret_cast<const sockaddr_in*>(&peer)->sin_addr;
    int family = AF_INET;
    if (peer.ss_family == AF_INET6) {
        const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(&peer)->sin6_addr;
        const bool mapped = IN6_IS_ADDR_V4MAPPED(&v6); // an IPv4 peer: its last four bytes
        bytes = mapped ? static_cast<const void*>(v6.s6_addr + 12) : &v6;
        family = mapped ? AF_INET : AF_INET6;
    }
    return inet_ntop(family, bytes, text, sizeof text) ? std::string(text) : std::string();
}
