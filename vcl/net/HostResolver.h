#pragma once
// Resolves a host name to its first IPv4 address off the user-interface thread; the answer comes
// back as a call on that thread. A resolver that is destroyed, or asked again, drops the answers
// of the lookups it no longer waits for.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

class THostResolver {
  public:
    // address: the IPv4 address in network order; error: 0 or a Windows Sockets number.
    using Done = std::function<void(std::uint32_t address, int error)>;

    explicit THostResolver(Done done);
    ~THostResolver();
    THostResolver(const THostResolver&) = delete;
    THostResolver& operator=(const THostResolver&) = delete;

    // Starts a lookup; a lookup still running is abandoned.
    void Start(const std::string& host);
    // Abandons the running lookup, if any.
    void Cancel();

  private:
    struct Channel;
    std::shared_ptr<Channel> channel_;
    std::unique_ptr<QSocketNotifier> watcher_;
    Done done_;
    std::uint64_t lastId_ = 0;
    std::uint64_t current_ = 0; // the lookup whose answer is awaited; 0 for none
};
