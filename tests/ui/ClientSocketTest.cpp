// The client socket on its own, against a loopback whois server: the order of its events, when it
// is active, its settings while a connection is open, and the time-outs that keep a server from
// holding it. Lookups by name and over IPv6 are in PrivateHostsTest.cpp.

#include "ClientSocket.h"

#include "LoopbackWhoisServer.h"
#include "SjisText.h"

#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using End = LoopbackWhoisServer::End;

namespace {

struct Recorder {
    explicit Recorder(TClientSocket& cs) {
        auto note = [this, &cs](const char* name) {
            return [this, &cs, name](TComponent*, TCustomWinSocket* socket) {
                events.push_back(std::string(name) + (cs.Active() ? "+" : "-"));
                if (std::string(name) == "connect") {
                    address = socket->RemoteAddress();
                    sent = socket->SendText("q\r\n");
                }
                if (std::string(name) == "read") received += socket->ReceiveText();
            };
        };
        cs.OnLookup = note("lookup");
        cs.OnConnecting = note("connecting");
        cs.OnConnect = note("connect");
        cs.OnRead = note("read");
        cs.OnDisconnect = note("disconnect");
        cs.OnError = [this](TComponent*, TCustomWinSocket*, TErrorEvent kind, int& code) {
            events.push_back("error" + std::to_string(kind) + ":" + std::to_string(code));
            code = 0;
        };
    }
    bool WaitFor(const std::string& event) {
        for (int i = 0; i < 1000; ++i) {
            if (!events.empty() && events.back() == event) return true;
            QTest::qWait(10);
        }
        return false;
    }
    std::vector<std::string> events;
    std::string address, received;
    int sent = -1;
};

TEST(ClientSocket, EventsOfOneExchangeAndActiveBetweenConnectAndDisconnect) {
    LoopbackWhoisServer server("127.0.0.31");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    server.Add({{"answer\r\n"}});
    TClientSocket cs;
    Recorder r(cs);
    cs.SetHost("127.0.0.31");
    cs.SetPort(43);
    cs.SetActive(true);
    EXPECT_EQ(r.events, std::vector<std::string>{"lookup-"}); // raised before activation returns
    ASSERT_TRUE(r.WaitFor("disconnect-"));

    std::vector<std::string> reads(r.events.begin() + 3, r.events.end() - 1);
    EXPECT_EQ(std::vector<std::string>(r.events.begin(), r.events.begin() + 3),
              (std::vector<std::string>{"lookup-", "connecting-", "connect+"}));
    EXPECT_FALSE(reads.empty());
    for (const auto& e : reads)
        EXPECT_EQ(e, "read+");
    EXPECT_EQ(r.address, "127.0.0.31");
    EXPECT_EQ(r.sent, 3);
    EXPECT_EQ(r.received, "answer\r\n");
    EXPECT_EQ(cs.Socket()->RemoteAddress(), ""); // not connected any more
}

TEST(ClientSocket, SettingsWhileConnected) {
    LoopbackWhoisServer server("127.0.0.32");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    server.Add({{}, LoopbackWhoisServer::End::Silent});
    TClientSocket cs;
    Recorder r(cs);
    cs.SetHost("127.0.0.32");
    cs.SetPort(43);
    cs.SetActive(true);
    ASSERT_TRUE(r.WaitFor("connect+"));

    const std::string inUse = SjisText("使用中のソケットは値を変更できません");
    EXPECT_NO_THROW(cs.SetPort(43));
    try {
        cs.SetPort(44);
        ADD_FAILURE() << "port changed while active";
    } catch (const ESocketError& e) {
        EXPECT_EQ(e.Message(), inUse);
    }
    EXPECT_EQ(cs.Port(), 43);
    EXPECT_THROW(cs.SetHost("127.0.0.33"), ESocketError);
    EXPECT_EQ(cs.Host(), "127.0.0.32");
    cs.SetActive(true); // already active: nothing
    EXPECT_EQ(r.events.back(), "connect+");

    cs.SetActive(false);
    EXPECT_EQ(r.events.back(), "disconnect-");
    cs.SetPort(44); // idle again: taken
    EXPECT_EQ(cs.Port(), 44);
    server.Finish({});
}

TEST(ClientSocket, RefusedConnectionIsAConnectErrorWithoutDisconnect) {
    TClientSocket cs;
    Recorder r(cs);
    cs.SetHost("127.0.0.34");
    cs.SetPort(43);
    cs.SetActive(true);
    ASSERT_TRUE(r.WaitFor("error3:10061"));
    EXPECT_EQ(r.events, (std::vector<std::string>{"lookup-", "connecting-", "error3:10061"}));
    EXPECT_FALSE(cs.Active());
}

// The server's queue is full, so the handshake never completes.
TEST(ClientSocket, ConnectionThatIsNeverMadeTimesOut) {
    LoopbackWhoisServer server("127.0.0.35", LoopbackWhoisServer::FullBacklog{});
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    TClientSocket cs;
    cs.Timeouts.Connect = 200ms;
    Recorder r(cs);
    cs.SetHost("127.0.0.35");
    cs.SetPort(43);
    cs.SetActive(true);
    ASSERT_TRUE(r.WaitFor("error3:10060"));
    QTest::qWait(20);
    EXPECT_EQ(r.events, (std::vector<std::string>{"lookup-", "connecting-", "error3:10060"}));
    EXPECT_FALSE(cs.Active());
}

// A server that accepts and never answers ends as a reset does, and the socket is free again.
TEST(ClientSocket, SilentServerIsLeftAndTheNextLookupWorks) {
    LoopbackWhoisServer server("127.0.0.36");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    server.Add({{}, End::SilentUntilClosed});
    server.Add({{"answer\r\n"}});
    TClientSocket cs;
    cs.Timeouts.Silence = 300ms;
    Recorder r(cs);
    cs.SetHost("127.0.0.36");
    cs.SetPort(43);
    cs.SetActive(true);
    ASSERT_TRUE(r.WaitFor("disconnect-"));
    EXPECT_EQ(r.events, (std::vector<std::string>{"lookup-", "connecting-", "connect+",
                                                  "error2:10060", "disconnect-"}));
    EXPECT_FALSE(cs.Active());

    r.events.clear();
    cs.SetActive(true);
    ASSERT_TRUE(r.WaitFor("disconnect-"));
    EXPECT_EQ(r.received, "answer\r\n");
    EXPECT_EQ(server.Queries(), (std::vector<std::string>{"q\r\n", "q\r\n"}));
}

// Every byte starts the silence anew: an answer whose bytes come half a time-out apart, for twice
// the time-out in all, arrives whole.
TEST(ClientSocket, TricklingAnswerIsNeverCut) {
    LoopbackWhoisServer server("127.0.0.37");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    TClientSocket cs;
    cs.Timeouts.Silence = 1500ms;
    server.Add({{"a", "b", "c", "\n"}, End::Close, cs.Timeouts.Silence / 2});
    Recorder r(cs);
    cs.SetHost("127.0.0.37");
    cs.SetPort(43);
    cs.SetActive(true);
    ASSERT_TRUE(r.WaitFor("disconnect-"));
    EXPECT_EQ(r.received, "abc\n");
    for (const auto& e : r.events)
        EXPECT_EQ(e.rfind("error", 0), std::string::npos) << e;
}

// A read takes a bounded piece of what has arrived, however much waits; the rest raises the next
// read, and nothing is lost or reordered.
TEST(ClientSocket, EachReadTakesABoundedPiece) {
    LoopbackWhoisServer server("127.0.0.71");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    std::string answer;
    for (int i = 0; answer.size() < 4 * TCustomWinSocket::ReadChunk + 1; ++i)
        answer += std::to_string(i) + "\n";
    server.Add({{answer}});
    TClientSocket cs;
    Recorder r(cs);
    std::size_t largest = 0;
    cs.OnRead = [&](TComponent*, TCustomWinSocket* socket) {
        const std::string piece = socket->ReceiveText();
        largest = std::max(largest, piece.size());
        r.received += piece;
    };
    cs.SetHost("127.0.0.71");
    cs.SetPort(43);
    cs.SetActive(true);
    ASSERT_TRUE(r.WaitFor("connect+"));
    std::this_thread::sleep_for(300ms); // the whole answer arrives before the first read
    ASSERT_TRUE(r.WaitFor("disconnect-"));
    EXPECT_TRUE(r.received == answer);
    EXPECT_EQ(largest, TCustomWinSocket::ReadChunk);
}

} // namespace
