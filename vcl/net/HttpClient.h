#pragma once
// An HTTPS client for one request at a time, on the user-interface thread. It resolves the
// server's name itself (IPv4 addresses first, as the client socket does) and connects to each
// address in turn, so that it knows the peer it talks to; a connection attempt and a silent
// server each have the client socket's time-outs. The server's certificate is checked against the
// system's store, always. Redirects are followed to HTTPS addresses only, MaxRedirects at most;
// the body is held whole, MaxBodySize at most. A new request abandons the one before: nothing of
// that one is raised any more.
//
// Events: OnLookup as the request starts; OnConnect with the peer's address when the answer
// (after any redirects) begins; then either OnDone with the whole answer, whatever its status,
// or OnError with a message in the program's code page that names the host and the reason.

#include "Control.h"
#include "Exception.h"
#include "SocketTimeouts.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using THttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct THttpResponse {
    int Status = 0;
    std::string Reason; // the reason phrase, as sent
    THttpHeaders Headers;
    std::string Body;

    // The first header of that name (letter case aside); empty when there is none.
    std::string Header(std::string_view name) const;
};

struct THttpError {
    enum class TKind { Url, Resolve, Connect, Timeout, Tls, Redirect, TooLarge, Transfer };
    TKind Kind = TKind::Connect;
    std::string Host;    // as the URL names it, code page 932
    std::string Message; // code page 932
};

// A failed request raised into the error box by whoever handles OnError.
class EHttpError : public Exception {
  public:
    using Exception::Exception;
};

using THttpConnectEvent = std::function<void(TComponent* Sender, const std::string& Address)>;
using THttpDoneEvent = std::function<void(TComponent* Sender, const THttpResponse& Response)>;
using THttpErrorEvent = std::function<void(TComponent* Sender, const THttpError& Error)>;

class THttpClient : public TComponent {
  public:
    static constexpr std::size_t DefaultMaxBodySize = 16u << 20;

    THttpClient();
    ~THttpClient() override;

    // Starts a GET of `url` (UTF-8; https only) with `headers` beside Accept. OnLookup is raised
    // at once; a URL that is no HTTPS address ends in OnError at once as well.
    void Get(const std::string& url, const THttpHeaders& headers = {});
    // Abandons the request under way, if any, raising nothing.
    void Cancel();
    bool Busy() const;

    std::string Accept = "application/json";
    std::string UserAgent;
    // Taken when an attempt or a connection starts; tests shorten them instead of waiting.
    TSocketTimeouts Timeouts;
    std::size_t MaxBodySize = DefaultMaxBodySize;
    int MaxRedirects = 5;

    // Certificate authorities (PEM) trusted beside the system's store; only tests add any, for
    // servers of their own. Returns how many certificates the text held.
    int AddTrustedCertificates(const std::string& pem);

    TNotifyEvent OnLookup;
    THttpConnectEvent OnConnect;
    THttpDoneEvent OnDone;
    THttpErrorEvent OnError;

  private:
    class TEngine; // the Qt side: the access manager, the reply, the resolver and the timers
    std::unique_ptr<TEngine> engine_;
};
