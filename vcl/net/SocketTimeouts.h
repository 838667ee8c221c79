#pragma once
// How long the client socket waits for a server before it gives up on it. The values are set here
// and nowhere else; the socket only holds a copy that a test may shorten.

#include <chrono>

// One connection attempt to one address. The system sends a lost SYN again after 1, 3 and 7 s, so
// 15 s lets an attempt outlive three lost SYNs: a server that has not answered the fourth is taken
// for dead, and the name's next address is tried long before the system's own two minutes are up.
inline constexpr std::chrono::milliseconds ConnectTimeout = std::chrono::seconds(15);

// An established connection on which no byte arrives. Whois servers answer within seconds; some
// ask a registry behind them or slow down a busy client first and stay quiet for tens of seconds.
// A minute leaves them that room and still frees the client from a server that never answers.
// It counts from the last byte that arrived, so a slow answer that keeps coming is never cut.
inline constexpr std::chrono::milliseconds SilenceTimeout = std::chrono::seconds(60);

struct TSocketTimeouts {
    std::chrono::milliseconds Connect = ConnectTimeout;
    std::chrono::milliseconds Silence = SilenceTimeout;
};
