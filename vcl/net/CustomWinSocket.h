#pragma once
// One connection of the client socket: a non-blocking TCP socket watched by the event loop. It
// moves bytes and tells its owner what the system reports; the owner keeps the state and raises
// the events.

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;
struct TResolvedAddress;

class TCustomWinSocket {
  public:
    TCustomWinSocket();
    ~TCustomWinSocket();
    TCustomWinSocket(const TCustomWinSocket&) = delete;
    TCustomWinSocket& operator=(const TCustomWinSocket&) = delete;

    // The bytes that have arrived and were not read yet, possibly none, up to ReadChunk of them:
    // one read event handles a bounded amount, and what is left raises the next one.
    std::string ReceiveText();
    static constexpr std::size_t ReadChunk = 16 * 1024;
    // Whether bytes that arrived wait to be read.
    bool HasPending() const;
    // Hands the bytes to the system and returns how many it took at once; the rest is queued and
    // sent as the system can take it, in order. A failure is reported to the owner.
    int SendText(const std::string& text);
    // The connected peer's address: dotted decimal for an IPv4 peer (also one reached through an
    // IPv6 socket), the short form of RFC 5952 for an IPv6 peer; empty when not connected.
    std::string RemoteAddress() const;

    // Used by the owning client socket.
    int Open(int family);                              // 0 or the errno of socket()
    int Connect(const TResolvedAddress& to, int port); // 0, EINPROGRESS or an errno value
    int PendingError() const;                          // SO_ERROR: the outcome of a connect
    int PeekState() const;                             // >0 data, 0 closed by the peer, <0 -errno
    void WatchRead(bool on);
    void WatchWrite(bool on);
    void Close();

    std::function<void()> OnReadable;
    std::function<void()> OnWritable;
    std::function<void(int errnoValue)> OnSendFailed;

    // Sends as much of the queued output as the system takes now.
    void FlushOutput();

  private:
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
    std::string outQueue_;
    int readError_ = 0; // an error met by ReceiveText, reported by the next PeekState
};
