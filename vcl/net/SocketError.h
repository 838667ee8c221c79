#pragma once
// Socket failures as this program's users know them: Windows Sockets error numbers with Japanese
// texts, and the exception that carries them.

#include "Exception.h"

#include <string>

class ESocketError : public Exception {
  public:
    using Exception::Exception;
};

// The Windows Sockets number for a system error (errno) or a resolver error (getaddrinfo's EAI_*).
int WinSockErrorFromErrno(int err);
int WinSockErrorFromResolver(int eaiError, int err);

// The message text for a Windows Sockets number, without a final full stop.
std::string WinSockErrorText(int code);

// "'<api>' API でWindows ソケットエラー: <text> (<code>)"
std::string WinSockErrorMessage(int code, const std::string& api);
