#pragma once
// A whois server for tests, on a loopback address and port 43 (tests run as root), IPv4 or IPv6.
// For each connection it takes the next script: it records the query up to its CR LF, sends the
// answer in the scripted pieces with a pause between them (or sends them first and reads the query
// after), then closes, resets, shuts its sending side only, or stays silent.
// Made with FullBacklog it never accepts and its queue is full, so a connection to it is never
// made: the system drops the client's SYNs.

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

class LoopbackWhoisServer {
  public:
    // Silent: until Finish is called. SilentUntilClosed: until the client closes, then the
    // server takes the next connection. HalfClose: the server shuts its sending side and goes on
    // reading until the client closes.
    enum class End { Close, Reset, Silent, SilentUntilClosed, HalfClose };
    struct Script {
        std::vector<std::string> pieces;
        End end = End::Close;
        std::chrono::milliseconds pause{3}; // after each piece
        bool answerFirst = false;           // the answer goes out before the query is read
    };
    struct FullBacklog {};

    explicit LoopbackWhoisServer(const std::string& address) {
        if (Listen(address, 8)) thread_ = std::thread([this] { Loop(); });
    }

    LoopbackWhoisServer(const std::string& address, FullBacklog) {
        // A queue of length 0 holds one connection that nobody accepts; every later SYN is
        // dropped.
        if (!Listen(address, 0)) return;
        filler_ = socket(at_.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (connect(filler_, reinterpret_cast<sockaddr*>(&at_), atLength_) != 0) {
            why_ = "cannot fill the queue of " + address + ":43 (" + std::strerror(errno) + ")";
            close(listener_);
            listener_ = -1;
        }
    }

    ~LoopbackWhoisServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (filler_ >= 0) close(filler_);
        if (listener_ >= 0) close(listener_);
    }

    bool Bound() const { return listener_ >= 0; }
    const std::string& Why() const { return why_; }

    void Add(Script script) {
        std::lock_guard guard(lock_);
        scripts_.push_back(std::move(script));
    }
    // Lets a silent connection end: it sends `pieces`, then closes.
    void Finish(std::vector<std::string> pieces) {
        std::lock_guard guard(lock_);
        finish_ = std::move(pieces);
        finishing_ = true;
    }
    std::vector<std::string> Queries() {
        std::lock_guard guard(lock_);
        return queries_;
    }

  private:
    bool Listen(const std::string& address, int backlog) {
        const bool v6 = address.find(':') != std::string::npos;
        listener_ = socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (v6) {
            setsockopt(listener_, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
            auto& at = reinterpret_cast<sockaddr_in6&>(at_);
            at.sin6_family = AF_INET6;
            at.sin6_port = htons(43);
            inet_pton(AF_INET6, address.c_str(), &at.sin6_addr);
            atLength_ = sizeof at;
        } else {
            auto& at = reinterpret_cast<sockaddr_in&>(at_);
            at.sin_family = AF_INET;
            at.sin_port = htons(43);
            inet_pton(AF_INET, address.c_str(), &at.sin_addr);
            atLength_ = sizeof at;
        }
        if (bind(listener_, reinterpret_cast<sockaddr*>(&at_), atLength_) != 0 ||
            listen(listener_, backlog) != 0) {
            why_ = "cannot bind " + address + ":43 (" + std::strerror(errno) +
                   "); these tests need root to use port 43";
            close(listener_);
            listener_ = -1;
            return false;
        }
        return true;
    }

    void Loop() {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            Script script;
            {
                std::lock_guard guard(lock_);
                if (!scripts_.empty()) {
                    script = std::move(scripts_.front());
                    scripts_.pop_front();
                }
            }
            Serve(fd, script);
        }
    }

    void Serve(int fd, const Script& script) {
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, 1 /* TCP_NODELAY */, &on, sizeof on);
        if (!script.answerFirst) RecordQuery(fd);
        for (const auto& piece : script.pieces) {
            SendAll(fd, piece);
            std::this_thread::sleep_for(script.pause);
        }
        if (script.answerFirst) RecordQuery(fd);
        if (script.end == End::HalfClose) shutdown(fd, SHUT_WR);
        if (script.end == End::SilentUntilClosed || script.end == End::HalfClose) WaitForClose(fd);
        if (script.end == End::Silent) {
            while (!stop_ && !Finishing())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            std::vector<std::string> rest;
            {
                std::lock_guard guard(lock_);
                rest.swap(finish_);
                finishing_ = false;
            }
            for (const auto& piece : rest)
                SendAll(fd, piece);
        }
        if (script.end == End::Reset) {
            const linger abort{1, 0};
            setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        }
        close(fd);
    }

    void RecordQuery(int fd) {
        std::string query = ReadQuery(fd);
        std::lock_guard guard(lock_);
        queries_.push_back(std::move(query));
    }

    void WaitForClose(int fd) {
        char chunk[4096];
        while (!stop_) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            if (recv(fd, chunk, sizeof chunk, 0) <= 0) return;
        }
    }

    bool Finishing() {
        std::lock_guard guard(lock_);
        return finishing_;
    }

    std::string ReadQuery(int fd) {
        std::string query;
        char chunk[65536];
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        // Only the new bytes are searched (and the one before, for a CR that came alone): a query
        // of megabytes must not cost a search of all of it at every chunk.
        std::size_t searched = 0;
        while (query.find("\r\n", searched) == std::string::npos && !stop_ &&
               std::chrono::steady_clock::now() < deadline) {
            searched = query.empty() ? 0 : query.size() - 1;
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) break;
            query.append(chunk, static_cast<std::size_t>(n));
        }
        return query;
    }

    static void SendAll(int fd, const std::string& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
    }

    int listener_ = -1;
    int filler_ = -1;
    sockaddr_storage at_{};
    socklen_t atLength_ = 0;
    std::string why_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex lock_;
    std::deque<Script> scripts_;
    std::vector<std::string> queries_;
    std::vector<std::string> finish_;
    bool finishing_ = false;
};
