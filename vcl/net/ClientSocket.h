#pragma once
// The client socket component: Host, Port and Active, a connection attempt that resolves the name
// and connects without blocking the window, and the events of each step. Everything happens on
// the user-interface thread; the bytes themselves are moved by its connection object.
//
// States: idle -> resolving -> connecting -> connected -> idle. Active is true in connected only.
// Activating while resolving or connecting abandons that attempt: none of its events are raised
// any more, and a new attempt starts. Connecting tries the name's addresses in turn, IPv4 ones
// first, under one OnConnecting; only the failure of the last is reported. Neither a connection
// attempt nor an established connection that stays silent can hold the socket for ever (see
// SocketTimeouts.h).

#include "Control.h"
#include "CustomWinSocket.h"
#include "HostResolver.h"
#include "SocketError.h"
#include "SocketTimeouts.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTimer;

enum TErrorEvent { eeGeneral, eeSend, eeReceive, eeConnect, eeDisconnect, eeAccept };
enum TClientType { ctNonBlocking, ctBlocking };

using TSocketNotifyEvent = std::function<void(TComponent* Sender, TCustomWinSocket* Socket)>;
using TSocketErrorEvent = std::function<void(TComponent* Sender, TCustomWinSocket* Socket,
                                             TErrorEvent ErrorEvent, int& ErrorCode)>;

class TClientSocket : public TComponent {
  public:
    TClientSocket();
    ~TClientSocket() override;

    const std::string& Host() const { return host_; }
    void SetHost(const std::string& host); // compared without regard to ASCII case
    int Port() const { return port_; }
    void SetPort(int port);
    bool Active() const { return state_ == State::Connected; }
    void SetActive(bool active);
    TClientType ClientType = ctNonBlocking;
    TCustomWinSocket* Socket() { return &socket_; }
    // Taken when an attempt or a connection starts; tests shorten them instead of waiting.
    TSocketTimeouts Timeouts;

    TSocketNotifyEvent OnLookup, OnConnecting, OnConnect, OnRead, OnDisconnect;
    TSocketErrorEvent OnError;

  private:
    enum class State { Idle, Resolving, Connecting, Connected };

    void StartAttempt();
    void Resolved(const std::vector<TResolvedAddress>& addresses, int error);
    // Starts connecting to the next address; one that fails at once gives way to the one after.
    void ConnectNext();
    // The attempt on the current address ended: connected, or failed with an errno value.
    void ConnectDone(int err);
    void ConnectTimedOut();
    void Readable();
    void Writable();
    void SilenceTimedOut();
    // Raises OnError and returns the code the handler left; one left set becomes an ESocketError.
    int NotifyError(TErrorEvent kind, int code);
    static void ThrowIfLeft(TErrorEvent kind, int code);
    // A failure on an established connection: the error, then the connection is closed.
    void ConnectionFailed(TErrorEvent kind, int errnoValue);
    // Closes the socket and raises OnDisconnect.
    void CloseWithDisconnect();
    // Closes the socket and stops its timers; raises nothing.
    void CloseQuietly();
    void Raise(const TSocketNotifyEvent& event);

    std::string host_;
    int port_ = 0;
    State state_ = State::Idle;
    TCustomWinSocket socket_;
    THostResolver resolver_;
    std::vector<TResolvedAddress> addresses_; // of the name being connected to
    std::size_t next_ = 0;                    // the address to try after the current one
    std::unique_ptr<QTimer> connectTimer_;    // runs while one address is being connected to
    std::unique_ptr<QTimer> silenceTimer_;    // runs while connected; restarted by every arrival
};
