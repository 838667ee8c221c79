#include "HostResolver.h"

#include "SocketError.h"

#include <QSocketNotifier>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <deque>
#include <mutex>
#include <netdb.h>
#include <sys/eventfd.h>
#include <system_error>
#include <thread>
#include <unistd.h>

// Shared by the resolver and its lookup threads. A thread that finishes after the resolver is
// gone finds the channel closed and drops its answer.
struct THostResolver::Channel {
    struct Answer {
        std::uint64_t id;
        std::vector<TResolvedAddress> addresses;
        int error;
    };
    std::mutex lock;
    int wakeFd = -1; // -1 once the resolver is gone
    std::deque<Answer> answers;
    std::atomic<int> running{0}; // lookup threads not yet finished

    void Post(Answer answer) {
        std::lock_guard guard(lock);
        if (wakeFd < 0) return;
        answers.push_back(std::move(answer));
        const std::uint64_t one = 1;
        (void)!write(wakeFd, &one, sizeof one);
    }
};

namespace {

// A bracketed host is an IPv6 address as URLs write it ("[2001:db8::1]"); no name is looked up
// for it.
int Resolve(const std::string& host, std::vector<TResolvedAddress>& addresses) {
    if (host.find('\0') != std::string::npos) return 11001; // no name holds a zero byte
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    std::string name = host;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
        hints.ai_family = AF_INET6;
        hints.ai_flags = AI_NUMERICHOST;
    }
    addrinfo* list = nullptr;
    const int rc = getaddrinfo(name.c_str(), nullptr, &hints, &list);
    if (rc != 0) return WinSockErrorFromResolver(rc, errno);
    for (const addrinfo* a = list; a; a = a->ai_next) {
        if (a->ai_family != AF_INET && a->ai_family != AF_INET6) continue;
        TResolvedAddress address;
        std::copy_n(reinterpret_cast<const char*>(a->ai_addr), a->ai_addrlen,
                    reinterpret_cast<char*>(&address.Address));
        address.Length = a->ai_addrlen;
        addresses.push_back(address);
    }
    freeaddrinfo(list);
    // A name with an IPv4 address behaves as it always did when that address answers.
    std::stable_partition(addresses.begin(), addresses.end(),
                          [](const TResolvedAddress& a) { return a.Family() == AF_INET; });
    return addresses.empty() ? 11004 : 0;
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
                done_(a.addresses, a.error); // may destroy or restart this resolver: return now
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

bool THostResolver::Start(const std::string& host) {
    current_ = 0;
    // Only this thread adds to the count, so it cannot pass the bound between check and add.
    if (channel_->running >= MaxLookupThreads) return false;
    const std::uint64_t id = ++lastId_;
    ++channel_->running;
    try {
        std::thread([channel = channel_, host, id] {
            Channel::Answer answer{id, {}, 0};
            answer.error = Resolve(host, answer.addresses);
            channel->Post(std::move(answer));
            --channel->running;
        }).detach();
    } catch (const std::system_error&) {
        --channel_->running;
        return false;
    }
    current_ = id;
    return true;
}

void THostResolver::Cancel() {
    current_ = 0;
}

int THostResolver::Running() const {
    return channel_->running;
}
