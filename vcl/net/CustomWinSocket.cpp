#include "CustomWinSocket.h"

#include "SocketError.h"

#include <QSocketNotifier>
#include <arpa/inet.h>
#include <algorithm>
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

bool TCustomWinSocket::Open() {
    Close();
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
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
    return true;
}

int TCustomWinSocket::Connect(std::uint32_t address, int port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = address;
    if (connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return 0;
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
    if (ioctl(fd_, FIONREAD, &available) != 0) available = 65536;
    text.resize(static_cast<std::size_t>(std::max(available, 0)));
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
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    if (getpeername(fd_, reinterpret_cast<sockaddr*>(&peer), &len) != 0) {
        if (errno == ENOTCONN) return {};
        throw ESocketError(WinSockErrorMessage(WinSockErrorFromErrno(errno), "getpeername"));
    }
    char text[INET_ADDRSTRLEN];
    return inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text) ? std::string(text)
                                                                 : std::string();
}
