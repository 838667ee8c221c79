#pragma once
// The client socket component: Host, Port and Active, a connection attempt that resolves the name
// and connects without blocking the window, and the events of each step. Everything happens on
// the user-interface thread; the bytes themselves are moved by its connection object.
//
// States: idle -> resolving -> connecting -> connected -> idle. Active is true in connected only.
// Activating while resolving or connecting abandons that attempt: none of its events are raised
// any more, and a new attempt starts.

#include "Control.h"
#include "CustomWinSocket.h"
#include "HostResolver.h"
#include "SocketError.h"

#include <functional>
#include <string>

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

    TSocketNotifyEvent OnLookup, OnConnecting, OnConnect, OnRead, OnDisconnect;
    TSocketErrorEvent OnError;

  private:
    enum class State { Idle, Resolving, Connecting, Connected };

    void StartAttempt();
    void Resolved(std::uint32_t address, int error);
    void ConnectDone(int err);
    void Readable();
    void Writable();
    // Raises OnError and returns the code the handler left; one left set becomes an ESocketError.
    int NotifyError(TErrorEvent kind, int code);
    static void ThrowIfLeft(TErrorEvent kind, int code);
    // A failure on an established connection: the error, then the connection is closed.
    void ConnectionFailed(TErrorEvent kind, int errnoValue);
    // Closes the socket and raises OnDisconnect.
    void CloseWithDisconnect();
    void Raise(const TSocketNotifyEvent& event);

    std::string host_;
    int port_ = 0;
    State state_ = State::Idle;
    TCustomWinSocket socket_;
    THostResolver resolver_;
};
