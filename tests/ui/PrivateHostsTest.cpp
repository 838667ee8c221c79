// Lookups by host name and over IPv6. CTest runs these tests in one process, in a mount namespace
// of its own where /etc/hosts maps the *.kelvane.test names below to the tests' own servers and
// /etc/resolv.conf names the stub name server on 127.0.0.26 (see CMakeLists.txt); run elsewhere,
// they skip. Being one process, they are also the only tests that use ::1 port 43.

#include "Application.h"
#include "HostResolver.h"
#include "LoopbackWhoisServer.h"
#include "SjisText.h"
#include "Unit1.h"

#include <QTest>
#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <list>
#include <memory>
#include <netdb.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// The name server of the private resolv.conf: it answers every question with "no such name", but
// holds the questions about slow.kelvane.test until Release(), as a name server that never
// answers would.
class StubNameServer {
  public:
    StubNameServer() {
        fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(53);
        inet_pton(AF_INET, "127.0.0.26", &at.sin_addr);
        if (bind(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
            why_ = std::string("cannot bind 127.0.0.26:53 (") + std::strerror(errno) + ")";
            close(fd_);
            fd_ = -1;
            return;
        }
        thread_ = std::thread([this] { Loop(); });
    }
    ~StubNameServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        for (const auto& q : held_) // lets the lookups still waiting end now
            Reply(q);
        if (fd_ >= 0) close(fd_);
    }
    bool Bound() const { return fd_ >= 0; }
    const std::string& Why() const { return why_; }
    void Release() { released_ = true; }

  private:
    struct Question {
        sockaddr_in from{};
        std::string packet;
    };

    void Loop() {
        while (!stop_) {
            if (released_) {
                for (const auto& q : held_)
                    Reply(q);
                held_.clear();
            }
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            Question q;
            char packet[512];
            socklen_t length = sizeof q.from;
            const ssize_t n = recvfrom(fd_, packet, sizeof packet, 0,
                                       reinterpret_cast<sockaddr*>(&q.from), &length);
            if (n < 12) continue;
            q.packet.assign(packet, static_cast<std::size_t>(n));
            if (!released_ && Name(q.packet) == "slow.kelvane.test")
                held_.push_back(q);
            else
                Reply(q);
        }
    }

    // The question's name: after the 12-byte header, labels each led by its length, then 0.
    static std::string Name(const std::string& packet) {
        std::string name;
        for (std::size_t at = 12; at < packet.size() && packet[at] != 0;) {
            const std::size_t length = static_cast<unsigned char>(packet[at]);
            if (!name.empty()) name += '.';
            name += packet.substr(at + 1, length);
            at += 1 + length;
        }
        return name;
    }

    // "No such name": the header marked as an answer with code 3, the question, nothing else.
    void Reply(const Question& q) const {
        std::size_t end = 12;
        while (end < q.packet.size() && q.packet[end] != 0)
            end += 1 + static_cast<unsigned char>(q.packet[end]);
        end += 1 + 4; // the closing 0, the type and the class
        if (end > q.packet.size()) return;
        std::string answer = q.packet.substr(0, end);
        answer[2] = static_cast<char>(0x80 | (answer[2] & 0x01)); // an answer; recursion as asked
        answer[3] = static_cast<char>(0x80 | 3);                  // recursion offered; no such name
        for (int i = 6; i < 12; ++i)                              // no answer, authority, extra
            answer[i] = 0;
        sendto(fd_, answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&q.from),
               sizeof q.from);
    }

    int fd_ = -1;
    std::string why_;
    std::thread thread_;
    std::atomic<bool> stop_{false}, released_{false};
    std::vector<Question> held_;
};

bool InPrivateNamespace() {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* list = nullptr;
    const bool ok = getaddrinfo("whois.kelvane.test", nullptr, &hints, &list) == 0;
    if (list) freeaddrinfo(list);
    return ok;
}

#define REQUIRE_BOUND(server)                                                                      \
    if (!(server).Bound()) GTEST_SKIP() << (server).Why()

// A main window whose status changes, error boxes and connecting events are written down.
class PrivateHosts : public testing::Test {
  protected:
    void SetUp() override {
        if (!InPrivateNamespace()) GTEST_SKIP() << "needs the private hosts file CTest gives";
        NewForm();
    }
    void TearDown() override { Application->ErrorBoxHook = nullptr; }

    void NewForm() {
        log.clear();
        connectings = 0;
        form = std::make_unique<TKelvaneForm>();
        form->CS->Timeouts.Connect = 300ms;
        Application->ErrorBoxHook = [this](const std::string& text, const std::string&) {
            log.push_back("box:" + text);
        };
        auto record = [this] {
            const std::string& status = form->Sb->SimpleText();
            if (log.empty() || log.back() != status) log.push_back(status);
        };
        for (TSocketNotifyEvent* event : {&form->CS->OnLookup, &form->CS->OnConnect,
                                          &form->CS->OnDisconnect, &form->CS->OnRead}) {
            *event = [handler = *event, record](TComponent* s, TCustomWinSocket* socket) {
                handler(s, socket);
                record();
            };
        }
        form->CS->OnConnecting = [this](TComponent*, TCustomWinSocket*) { ++connectings; };
        form->CS->OnError = [handler = form->CS->OnError, record](
                                TComponent* s, TCustomWinSocket* socket, TErrorEvent e, int& code) {
            handler(s, socket, e, code);
            record();
        };
    }

    template <class F> static bool WaitFor(F done) {
        for (int i = 0; i < 1000 && !done(); ++i)
            QTest::qWait(10);
        return done();
    }
    bool WaitForLog(const std::string& entry) {
        return WaitFor([&] { return !log.empty() && log.back() == entry; });
    }
    void Lookup(const std::string& server, const std::string& query) {
        form->ServerList->SetText(server);
        form->InputData->SetText(query);
        form->ToolButton11->Click();
    }

    static std::string Searching() { return SjisText("サーバーを検索中"); }
    static std::string ErrorStatus(int code) {
        return SjisText("エラーが発生しました。ErrorCode=") + std::to_string(code);
    }
    static std::string LookupBox(const char* text) {
        return "box:'ASync Lookup' " + SjisText("API でWindows ソケットエラー: ") + SjisText(text);
    }

    std::unique_ptr<TKelvaneForm> form;
    std::vector<std::string> log;
    int connectings = 0;
};

TEST_F(PrivateHosts, ServerNameInOtherLettersIsTheSameServer) {
    LoopbackWhoisServer server("127.0.0.24");
    REQUIRE_BOUND(server);
    server.Add({{"first\r\n"}, LoopbackWhoisServer::End::Silent});
    Lookup("whois.kelvane.test", "example.jp");
    ASSERT_TRUE(WaitFor([&] { return form->CS->Active(); }));
    EXPECT_EQ(form->Sb->SimpleText(), "Connected 127.0.0.24");

    Lookup("WHOIS.Kelvane.TEST", "again"); // the same server: nothing happens
    QTest::qWait(50);
    EXPECT_EQ(form->Sb->SimpleText(), "Connected 127.0.0.24");

    server.Finish({"second\r\n"});
    ASSERT_TRUE(WaitForLog("Disconneted"));
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), "Connected 127.0.0.24", "Disconneted"}));
    EXPECT_EQ(server.Queries(), std::vector<std::string>{"example.jp\r\n"});
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\nfirst\r\nsecond\r\n");
}

// The hosts file (CMakeLists.txt) gives these names their addresses, in this order:
//   v6only.kelvane.test         ::1
//   mixed.kelvane.test          ::1, 127.0.0.43
//   first-refuses.kelvane.test  127.0.0.41, 127.0.0.42
//   first-hangs.kelvane.test    127.0.0.44, 127.0.0.45
//   refuses-hangs.kelvane.test  127.0.0.46, 127.0.0.47
//   hangs-refuses.kelvane.test  127.0.0.48, 127.0.0.49
// Nothing listens on the addresses of neither list: connecting there is refused.
TEST_F(PrivateHosts, EveryAddressIsTriedIpv4First) {
    const struct Case {
        const char* name;
        std::string host;
        std::vector<std::string> answering, hanging;
        std::string connectedTo; // the address shown when it connects
        int error;               // the code shown when every address fails
    } cases[] = {
        // clang-format off
        {"IPv6-only name",                "v6only.kelvane.test",        {"::1"},  {}, "::1", 0},
        {"IPv6 address",                  "::1",                        {"::1"},  {}, "::1", 0},
        {"IPv6 address in brackets",      "[::1]",                      {"::1"},  {}, "::1", 0},
        {"IPv4 address written as IPv6",  "::ffff:127.0.0.40",          {"127.0.0.40"}, {}, "127.0.0.40", 0},
        {"IPv4 before IPv6",              "mixed.kelvane.test",         {"::1", "127.0.0.43"}, {}, "127.0.0.43", 0},
        {"first address refuses",         "first-refuses.kelvane.test", {"127.0.0.42"}, {}, "127.0.0.42", 0},
        {"first address never connects",  "first-hangs.kelvane.test",   {"127.0.0.45"}, {"127.0.0.44"}, "127.0.0.45", 0},
        {"last failure told: time-out",   "refuses-hangs.kelvane.test", {}, {"127.0.0.47"}, "", 10060},
        {"last failure told: refused",    "hangs-refuses.kelvane.test", {}, {"127.0.0.48"}, "", 10061},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::list<LoopbackWhoisServer> servers;
        for (const auto& address : c.answering) {
            servers.emplace_back(address);
            servers.back().Add({{"from " + address + "\r\n"}});
        }
        for (const auto& address : c.hanging)
            servers.emplace_back(address, LoopbackWhoisServer::FullBacklog{});
        for (auto& server : servers)
            REQUIRE_BOUND(server);
        NewForm();

        Lookup(c.host, "q");
        const std::vector<std::string> want =
            c.error ? std::vector<std::string>{Searching(), ErrorStatus(c.error)}
                    : std::vector<std::string>{Searching(), "Connected " + c.connectedTo,
                                               "Disconneted"};
        ASSERT_TRUE(WaitForLog(want.back()));
        QTest::qWait(20); // nothing more follows
        EXPECT_EQ(log, want);
        EXPECT_EQ(connectings, 1);
        EXPECT_FALSE(form->CS->Active());
        std::size_t queries = 0;
        for (auto& server : servers)
            queries += server.Queries().size();
        EXPECT_EQ(queries, c.error ? 0u : 1u);
        if (!c.error) {
            EXPECT_EQ(form->Info->Text(), "Kelvane\r\nfrom " + c.connectedTo + "\r\n");
        }
    }
}

// The stub name server says "no such name" whatever the machine's name server would say.
TEST_F(PrivateHosts, NameThatDoesNotResolveEndsInTheErrorBox) {
    StubNameServer dns;
    REQUIRE_BOUND(dns);
    Lookup("no-such-host.invalid", "q");
    ASSERT_TRUE(WaitFor([&] { return log.size() >= 3; }));
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), "Disconneted",
                                             LookupBox("ホストが見つかりません (11001)")}));
}

// A run command while the name server keeps quiet abandons the lookup before it, whose thread
// goes on waiting; past a few such threads the run command is refused.
TEST_F(PrivateHosts, RunCommandsWhileTheNameServerKeepsQuietAreBounded) {
    StubNameServer dns;
    REQUIRE_BOUND(dns);
    for (int i = 0; i < THostResolver::MaxLookupThreads; ++i)
        Lookup("slow.kelvane.test", "q");
    EXPECT_EQ(log, std::vector<std::string>{Searching()});
    Lookup("slow.kelvane.test", "q");
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), "Disconneted",
                                             LookupBox("バッファー領域が不足しています (10055)")}));
    EXPECT_FALSE(form->CS->Active());
}

// Abandoned lookups count against the bound until their threads end; then lookups start again.
TEST_F(PrivateHosts, AbandonedLookupsCountUntilTheyEnd) {
    StubNameServer dns;
    REQUIRE_BOUND(dns);
    std::vector<int> answers;
    THostResolver resolver([&](const std::vector<TResolvedAddress>& addresses, int error) {
        answers.push_back(error ? error : static_cast<int>(addresses.size()));
    });
    for (int i = 0; i < THostResolver::MaxLookupThreads; ++i)
        EXPECT_TRUE(resolver.Start("slow.kelvane.test"));
    EXPECT_EQ(resolver.Running(), THostResolver::MaxLookupThreads);
    EXPECT_FALSE(resolver.Start("127.0.0.1")); // even an address needs a thread

    dns.Release();
    ASSERT_TRUE(WaitFor([&] { return resolver.Running() == 0; }));
    QTest::qWait(20);
    EXPECT_TRUE(answers.empty()); // the last lookup was abandoned by the refused start
    EXPECT_TRUE(resolver.Start("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return !answers.empty(); }));
    EXPECT_EQ(answers, std::vector<int>{1});
}

} // namespace
