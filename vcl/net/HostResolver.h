#pragma once
// Resolves a host name to all its addresses off the user-interface thread, IPv4 ones before IPv6
// ones; the answer comes back as a call on that thread. A resolver that is destroyed, or asked
// again, drops the answers of the lookups it no longer waits for. Those lookups may still run in
// the background, but no more than MaxLookupThreads at once.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <vector>

class QSocketNotifier;

// One address of a host as the system's connect takes it; the port is set by whoever connects.
struct TResolvedAddress {
    sockaddr_storage Address{};
    socklen_t Length = 0;

    int Family() const { return Address.ss_family; }
};

class THostResolver {
  public:
    // addresses: IPv4 ones first, then IPv6 ones, each in the system's order; error: 0 or a
    // Windows Sockets number, and then no address.
    using Done = std::function<void(const std::vector<TResolvedAddress>& addresses, int error)>;

    // A name server that never answers holds a lookup until the system's own time-out. Each run
    // command abandons the lookup before it, so a user who keeps trying would otherwise pile up
    // threads without end; past this many the resolver declines.
    static constexpr int MaxLookupThreads = 4;

    explicit THostResolver(Done done);
    ~THostResolver();
    THostResolver(const THostResolver&) = delete;
    THostResolver& operator=(const THostResolver&) = delete;

    // Starts a lookup; a lookup still running is abandoned. False when no thread can be given to
    // it: MaxLookupThreads of this resolver are still running, or the system has none.
    bool Start(const std::string& host);
    // Abandons the running lookup, if any.
    void Cancel();
    // The lookup threads of this resolver still running: the awaited one and abandoned ones.
    int Running() const;

  private:
    struct Channel;
    std::shared_ptr<Channel> channel_;
    std::unique_ptr<QSocketNotifier> watcher_;
    Done done_;
    std::uint64_t lastId_ = 0;
    std::uint64_t current_ = 0; // the lookup whose answer is awaited; 0 for none
};
