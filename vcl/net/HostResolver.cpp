#include "HostResolver.h"

#include "SocketError.h"

#include <QSocketNotifier>
#include <arpa/inet.h>
#include <cerrno>
#include <deque>
#include <mutex>
#include <netdb.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

// Shared by the resolver and its lookup threads. A thread that finishes after the resolver is
// gone finds the channel closed and drops its answer.
struct THostResolver::Channel {
    struct Answer {
        std::uint64_t id;
        std::uint32_t address;
        int error;
    };
    std::mutex lock;
    int wakeFd = -1; // -1 once the resolver is gone
    std::deque<Answer> answers;

    void Post(const Answer& answer) {
        std::lock_guard guard(lock);
        if (wakeFd < 0) return;
        answers.push_back(answer);
        const std::uint64_t one = 1;
        (void)!write(wakeFd, &one, sizeof one);
    }
};

namespace {

void Resolve(const std::string& host, std::uint32_t& address, int& error) {
    if (host.find('\0') != std::string::npos) { // no name holds a zero byte
        error = 11001;
        return;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET; // the destination is the first IPv4 address
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &list);
    if (rc != 0) {
        error = WinSockErrorFromResolver(rc, errno);
        return;
    }
    error = 11004;
    for (const addrinfo* a = list; a; a = a->ai_next)
        if (a->ai_family == AF_INET) {
            address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
            error = 0;
            break;
        }
    freeaddrinfo(list);
}

} // namespace

THostResolver::THostResolver(Done done)
    : channel_(std::make_shared<Channel>()), done_(std::move(done)) {
    channel_->wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    watcher_ = std::make_unique<QSocketNotifier>(channel_->wakeFd, QSocketNotifier::Read);
    QObject::connect(watcher_.get(), &QSocketNotifier::activated, watcher_.get(), [this] {
        std::uint64_t count;
        (void)!read(channel_->wakeFd, &count, sizeof count);
        std::deque<Channel::Answer> answers;
        {
            std::lock_guard guard(channel_->lock);
            answers.swap(channel_->answers);
        }
        for (const auto& a : answers)
            if (a.id == current_) {
                current_ = 0;
                done_(a.address, a.error); // may destroy or restart this resolver: return now
                return;
            }
    });
}

THostResolver::~THostResolver() {
    watcher_.reset();
    std::lock_guard guard(channel_->lock);
    close(channel_->wakeFd);
    channel_->wakeFd = -1;
}

void THostResolver::Start(const std::string& host) {
    const std::uint64_t id = ++lastId_;
    current_ = id;
    std::thread([channel = channel_, host, id] {
        Channel::Answer answer{id, 0, 0};
        Resolve(host, answer.address, answer.error);
        channel->Post(answer);
    }).detach();
}

void THostResolver::Cancel() {
    current_ = 0;
}
