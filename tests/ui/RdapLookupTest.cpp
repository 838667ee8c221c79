// The run command asking RDAP: an https:// server box or "rdap" with bootstrap files of the test's
// own, against a loopback HTTPS server whose certificate authority only this test trusts.

#include "Application.h"
#include "LoopbackHttpsServer.h"
#include "SjisText.h"
#include "TempDir.h"
#include "Unit1.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

using namespace std::chrono_literals;
using Reply = LoopbackHttpsServer::Reply;
using End = LoopbackHttpsServer::End;

namespace {

const std::string RdapJson = "application/rdap+json";

std::string Fixture(const std::string& name) {
    return ReadBytes(KELVANE_RDAP_FIXTURES "/" + name);
}

// "a\nb\n" as the text view gives it back after its first line: "a\r\nb\r\n".
std::string AsViewText(const std::string& lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// A main window that trusts the test authority and reads the bootstrap files of `bootstrap`,
// with its status changes and error boxes written down in order.
class RdapLookupTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        WriteBytes(bootstrap.Path() + "/dns.json",
                   R"({"version":"1.0","services":[[["com","xn--q9jyb4c"],[")" +
                       server.Url("/com/") + R"("]]]})");
        WriteBytes(bootstrap.Path() + "/ipv4.json",
                   R"({"version":"1.0","services":[[["192.0.2.0/24"],[")" + server.Url("/ip4/") +
                       R"("]]]})");
        setenv("KELVANE_RDAP_BOOTSTRAP_DIR", bootstrap.Path().c_str(), 1);
        setenv("KELVANE_TEST_CA_FILE", LoopbackHttpsServer::Path("ca.pem").c_str(), 1);
        form = std::make_unique<TKelvaneForm>();
        Application->ErrorBoxHook = [this](const std::string& text, const std::string&) {
            log.push_back("box:" + text);
        };
        for (TNotifyEvent* event : {&form->RdapClient->OnLookup}) {
            *event = [this, handler = *event](TComponent* s) {
                handler(s);
                Record();
            };
        }
        form->RdapClient->OnConnect =
            [this, handler = form->RdapClient->OnConnect](TComponent* s, const std::string& a) {
                handler(s, a);
                Record();
            };
        form->RdapClient->OnDone =
            [this, handler = form->RdapClient->OnDone](TComponent* s, const THttpResponse& r) {
                handler(s, r);
                Record();
            };
        form->RdapClient->OnError =
            [this, handler = form->RdapClient->OnError](TComponent* s, const THttpError& e) {
                Record(); // the handler raises: the status it set is the last thing it does
                handler(s, e);
            };
    }
    void TearDown() override {
        Application->ErrorBoxHook = nullptr;
        unsetenv("KELVANE_RDAP_BOOTSTRAP_DIR");
        unsetenv("KELVANE_TEST_CA_FILE");
    }

    void Record() {
        const std::string& status = form->Sb->SimpleText();
        if (log.empty() || log.back() != status) log.push_back(status);
    }

    template <class F> bool WaitFor(F done) {
        for (int i = 0; i < 1000 && !done(); ++i)
            QTest::qWait(10);
        return done();
    }
    // Waits for the lookup to end, in an answer or in the error box.
    bool WaitForEnd() {
        return WaitFor([&] {
            return !log.empty() &&
                   (log.back() == "Disconneted" || log.back().rfind("box:", 0) == 0);
        });
    }

    void Lookup(const std::string& server, const std::string& query) {
        log.clear();
        form->ServerList->SetText(server);
        form->InputData->SetText(query);
        form->ToolButton11->Click();
    }

    std::string Searching() const { return SjisText("サーバーを検索中"); }
    std::string Connected() const { return "Connected 127.0.0.1"; }

    LoopbackHttpsServer server;
    TempDir bootstrap;
    std::unique_ptr<TKelvaneForm> form;
    std::vector<std::string> log;
};

TEST_F(RdapLookupTest, HttpsBaseUrlShowsTheAnswerAsLinesAfterWhatTheViewHolds) {
    server.Answer("/rdap/domain/example.com",
                  {200, "OK", {{"Content-Type", RdapJson}}, Fixture("domain.json")});
    Lookup(server.Url("/rdap/"), "example.com");
    ASSERT_TRUE(WaitForEnd());

    EXPECT_EQ(log, (std::vector<std::string>{Searching(), Connected(), "Disconneted"}));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].headers.at("accept"), RdapJson);
    // Rendered lines are UTF-8 lines of the view: its text gives them back as shown.
    EXPECT_EQ(form->Info->Text(), "Kelvane\r\n" + AsViewText(Fixture("domain.txt")));
    const auto* view = static_cast<QPlainTextEdit*>(form->Info->Widget());
    EXPECT_EQ(view->document()->findBlockByNumber(21).text(), QStringLiteral("  Name: 山田 太郎"));
}

// "rdap" takes the server from the bootstrap file by the TLD (an IDN one as its A-label), the
// longest prefix for an address; a base URL without a final "/" gets one.
TEST_F(RdapLookupTest, RdapChoosesTheServerFromTheBootstrapFiles) {
    const std::string body = R"({"objectClassName":"domain","ldhName":"x"})";
    server.Answer("/com/domain/example.com", {200, "OK", {}, body});
    server.Answer("/com/domain/xn--r8jz45g.xn--q9jyb4c", {200, "OK", {}, body});
    server.Answer("/ip4/ip/192.0.2.1", {200, "OK", {}, R"({"objectClassName":"ip network"})"});
    server.Answer("/base/autnum/2515", {200, "OK", {}, R"({"objectClassName":"autnum"})"});
    const struct {
        std::string server, query, target;
    } cases[] = {
        {"rdap", "EXAMPLE.com", "/com/domain/example.com"},
        {"RDAP", "例え.みんな", "/com/domain/xn--r8jz45g.xn--q9jyb4c"},
        {"rdap", "192.0.2.1", "/ip4/ip/192.0.2.1"},
        {server.Url("/base"), "as2515", "/base/autnum/2515"},
    };
    for (const auto& c : cases) {
        const std::size_t before = server.Requests().size();
        Lookup(c.server, SjisText(c.query.c_str()));
        ASSERT_TRUE(WaitForEnd()) << c.query;
        EXPECT_EQ(log.back(), "Disconneted") << c.query;
        ASSERT_EQ(server.Requests().size(), before + 1) << c.query;
        EXPECT_EQ(server.Requests().back().target, c.target);
    }
}

// With a cache folder, IANA is asked for the day's file; a lookup whose TLD the copy at hand
// lacks waits for it, and the next lookup uses the fetched copy without asking again.
TEST_F(RdapLookupTest, TheDaysBootstrapFileIsFetchedOnceAndUsed) {
    TempDir cache;
    form->RdapBootstrap = std::make_unique<TRdapBootstrapStore>(bootstrap.Path(), cache.Path());
    form->RdapBootstrap->IanaBase = server.Url("/iana/");
    server.Answer("/iana/dns.json", {200,
                                     "OK",
                                     {{"ETag", "\"v2\""}},
                                     R"({"version":"1.0","services":[[["com","org"],[")" +
                                         server.Url("/new/") + R"("]]]})"});
    const std::string body = R"({"objectClassName":"domain","ldhName":"x"})";
    server.Answer("/new/domain/example.org", {200, "OK", {}, body});
    server.Answer("/new/domain/example.com", {200, "OK", {}, body});

    Lookup("rdap", "example.org");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), Connected(), "Disconneted"}));
    Lookup("rdap", "example.com");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(log.back(), "Disconneted");

    std::vector<std::string> targets;
    for (const auto& request : server.Requests())
        targets.push_back(request.target);
    EXPECT_EQ(targets, (std::vector<std::string>{"/iana/dns.json", "/new/domain/example.org",
                                                 "/new/domain/example.com"}));
    EXPECT_EQ(server.Requests()[0].headers.at("accept"), "application/json");
    EXPECT_NE(ReadBytes(cache / "dns.json").find("/new/"), std::string::npos);
}

// Error answers are the registry's own error objects in the view, never an error box.
TEST_F(RdapLookupTest, ErrorAnswersAndBodiesThatAreNoRdapAreShownWithWhatTheyHold) {
    const struct {
        const char* name;
        Reply reply;
        std::string shown; // after the view's first line and its line break
    } cases[] = {
        {"404 error object",
         {404,
          "Not Found",
          {},
          R"({"errorCode":404,"title":"Not Found","description":["No such domain."]})"},
         "Error: 404 Not Found\r\nDescription: No such domain."},
        {"429 with Retry-After",
         {429,
          "Too Many Requests",
          {{"Retry-After", "60"}},
          R"({"errorCode":429,"title":"Rate limited"})"},
         "Error: 429 Rate limited\r\nRetry-After: 60"},
        {"503 that is no JSON",
         {503, "Service Unavailable", {}, "<html>down</html>\n"},
         "Error: 503 Service Unavailable\r\n" +
             SjisText("※ 応答は JSON ではありません。受け取ったとおりに表示します。") +
             "\r\n<html>down</html>"},
        {"200 that is no JSON",
         {200, "OK", {}, "plain text\n"},
         SjisText("※ 応答は JSON ではありません。受け取ったとおりに表示します。") +
             "\r\nplain text"},
        {"200 that is JSON but no RDAP object",
         {200, "OK", {}, "[1]"},
         SjisText("※ 応答は RDAP のオブジェクトではありません。受け取ったとおりに表示します。") +
             "\r\n[1]"},
    };
    for (const auto& c : cases) {
        server.Answer("/domain/example.com", c.reply);
        form->Info->SetText("Kelvane");
        Lookup(server.Url("/"), "example.com");
        ASSERT_TRUE(WaitForEnd()) << c.name;
        EXPECT_EQ(log, (std::vector<std::string>{Searching(), Connected(), "Disconneted"}))
            << c.name;
        EXPECT_EQ(form->Info->Text(), "Kelvane\r\n" + c.shown) << c.name;
    }
}

TEST_F(RdapLookupTest, JsonAskedForIsShownPrettyPrinted) {
    server.Answer("/autnum/2515",
                  {200, "OK", {}, R"({"objectClassName":"autnum","startAutnum":2515})"});
    form->Info->SetText("");
    Lookup(server.Url("/"), "AS2515/json");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(form->Info->Text(),
              "{\r\n  \"objectClassName\": \"autnum\",\r\n  \"startAutnum\": 2515\r\n}\r\n");
}

// Failures end in the error box with the host and the reason; nothing is shown as an answer.
TEST_F(RdapLookupTest, FailuresEndInTheErrorBoxAndLeaveTheViewAsItWas) {
    LoopbackHttpsServer untrusted("untrusted.pem");
    untrusted.Answer("/domain/example.com", {200, "OK", {}, Fixture("domain.json")});
    LoopbackHttpsServer mute{LoopbackHttpsServer::NoHandshake{}};
    server.Answer("/domain/big.com",
                  {200, "OK", {}, "{}", End::Close, std::to_string((16u << 20) + 1)});
    server.Answer("/domain/silent.com", {200, "OK", {}, "", End::Silent});
    form->RdapClient->Timeouts.Connect = 300ms;
    form->RdapClient->Timeouts.Silence = 300ms;
    const struct {
        std::string server, query, box;
    } cases[] = {
        {untrusted.Url("/"), "example.com",
         "127.0.0.1 との安全な接続 (TLS) を確立できません: "
         "証明書を発行した認証局が信頼されていません"},
        {server.Url("/"), "big.com", "127.0.0.1 からの応答が大きすぎます (16 MB を超えています)"},
        {server.Url("/"), "silent.com", "127.0.0.1 からの応答が 0.3 秒間途絶えました"},
        {mute.Url("/"), "example.com",
         "127.0.0.1 に接続できません: 0.3 秒待っても応答がありません"},
        {"rdap", "example.net", ".net の RDAP サーバーは IANA の登録簿にありません"},
        {"rdap", "10.0.0.1.2", "10.0.0.1.2 は IP アドレスとして正しくありません"},
    };
    for (const auto& c : cases) {
        form->Info->SetText("Kelvane");
        Lookup(c.server, c.query);
        ASSERT_TRUE(WaitForEnd()) << c.query;
        ASSERT_EQ(log.back().rfind("box:", 0), 0u) << c.query;
        EXPECT_NE(log.back().find(SjisText(c.box.c_str())), std::string::npos) << log.back();
        EXPECT_EQ(form->Info->Text(), "Kelvane") << c.query;
    }
}

// A new run command abandons the lookup under way, as it does for port 43.
TEST_F(RdapLookupTest, NewRunCommandAbandonsThePendingLookup) {
    server.Answer("/domain/slow.com", {200, "OK", {}, "", End::Silent});
    server.Answer("/domain/example.com",
                  {200, "OK", {}, R"({"objectClassName":"domain","ldhName":"EXAMPLE.COM"})"});
    form->Info->SetText("");
    Lookup(server.Url("/"), "slow.com");
    ASSERT_TRUE(WaitFor([&] { return server.Requests().size() == 1; }));
    Lookup(server.Url("/"), "example.com");
    ASSERT_TRUE(WaitForEnd());
    QTest::qWait(100);
    EXPECT_EQ(log, (std::vector<std::string>{Searching(), Connected(), "Disconneted"}));
    EXPECT_EQ(form->Info->Text(), "Domain Name: EXAMPLE.COM\r\n");

    // A port-43 run abandons it too: nothing of it lands among the whois answer's lines.
    Lookup(server.Url("/"), "slow.com");
    ASSERT_TRUE(WaitFor([&] { return server.Requests().size() == 3; }));
    form->ServerList->SetText("127.0.0.1");
    form->ToolButton11->Click();
    EXPECT_FALSE(form->RdapClient->Busy());
    form->CS->SetActive(false);
}

// Any other server box text is still a whois server's name for port 43.
TEST_F(RdapLookupTest, OtherServerTextsAreNoRdap) {
    for (const char* text : {"rdap.example", "http://127.0.0.1/", "whois.example https://x"}) {
        form->ServerList->SetText(text);
        EXPECT_FALSE(form->RdapClient->Busy());
        form->InputData->SetText("example.com");
        form->ToolButton11->Click();
        EXPECT_FALSE(form->RdapClient->Busy()) << text;
        form->CS->SetActive(false);
    }
}

} // namespace
