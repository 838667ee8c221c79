#include "HttpClient.h"

#include "LoopbackHttpsServer.h"
#include "SjisText.h"
#include "TempDir.h"

#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using namespace std::chrono_literals;
using Reply = LoopbackHttpsServer::Reply;
using End = LoopbackHttpsServer::End;
using TKind = THttpError::TKind;

namespace {

// A client that trusts the test authority, with every event written down.
class HttpClientTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        ASSERT_EQ(client.AddTrustedCertificates(ReadBytes(LoopbackHttpsServer::Path("ca.pem"))), 1);
        client.Accept = "application/rdap+json";
        client.UserAgent = "Kelvane-test";
        client.OnLookup = [this](TComponent*) { events.push_back("lookup"); };
        client.OnConnect = [this](TComponent*, const std::string& address) {
            events.push_back("connect " + address);
        };
        client.OnDone = [this](TComponent*, const THttpResponse& r) {
            events.push_back("done " + std::to_string(r.Status));
            response = r;
        };
        client.OnError = [this](TComponent*, const THttpError& e) {
            events.push_back("error");
            error = e;
        };
    }

    bool Finished() {
        for (int i = 0; i < 1000 && !response && !error; ++i)
            QTest::qWait(10);
        return response || error;
    }

    // The error's message contains `part` (UTF-8).
    void ExpectError(TKind kind, const char* part) {
        ASSERT_TRUE(error) << (response ? response->Status : 0);
        EXPECT_EQ(error->Kind, kind);
        EXPECT_NE(error->Message.find(SjisText(part)), std::string::npos) << error->Message;
        EXPECT_FALSE(response);
    }

    LoopbackHttpsServer server;
    THttpClient client;
    std::vector<std::string> events;
    std::optional<THttpResponse> response;
    std::optional<THttpError> error;
};

TEST_F(HttpClientTest, AnswerWithItsStagesAndTheRequestAsSent) {
    server.Answer("/domain/example.com", {200,
                                          "OK",
                                          {{"Content-Type", "application/rdap+json"}},
                                          R"({"objectClassName":"domain"})"});
    client.Get(server.Url("/domain/example.com"), {{"X-Extra", "1"}});
    EXPECT_EQ(events, std::vector<std::string>{"lookup"}); // raised before Get returns
    ASSERT_TRUE(Finished());
    EXPECT_EQ(events, (std::vector<std::string>{"lookup", "connect 127.0.0.1", "done 200"}));
    EXPECT_EQ(response->Body, R"({"objectClassName":"domain"})");
    EXPECT_EQ(response->Reason, "OK");
    EXPECT_EQ(response->Header("content-TYPE"), "application/rdap+json");
    ASSERT_EQ(server.Requests().size(), 1u);
    const auto& request = server.Requests()[0];
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.headers.at("accept"), "application/rdap+json");
    EXPECT_EQ(request.headers.at("user-agent"), "Kelvane-test");
    EXPECT_EQ(request.headers.at("x-extra"), "1");
    EXPECT_EQ(request.headers.at("host"), "127.0.0.1:" + std::to_string(server.serverPort()));
    EXPECT_FALSE(client.Busy());
}

// Error statuses are answers too, with their headers and bodies.
TEST_F(HttpClientTest, ErrorStatusesAreAnswers) {
    const struct {
        int status;
        const char* reason;
        LoopbackHttpsServer::Headers headers;
        const char* body;
    } cases[] = {
        {404, "Not Found", {}, R"({"errorCode":404})"},
        {429, "Too Many Requests", {{"Retry-After", "30"}}, ""},
        {503, "Service Unavailable", {}, "<html>down</html>"},
    };
    for (const auto& c : cases) {
        server.Answer("/x", {c.status, c.reason, c.headers, c.body});
        response.reset();
        client.Get(server.Url("/x"));
        ASSERT_TRUE(Finished());
        ASSERT_TRUE(response) << c.status;
        EXPECT_EQ(response->Status, c.status);
        EXPECT_EQ(response->Reason, c.reason);
        EXPECT_EQ(response->Body, c.body);
        EXPECT_EQ(response->Header("Retry-After"), c.status == 429 ? "30" : "");
    }
}

TEST_F(HttpClientTest, RedirectsWithinHttpsAtMostFive) {
    LoopbackHttpsServer second("server.pem", "127.0.0.2");
    ASSERT_TRUE(second.isListening());
    server.Answer("/relative", {302, "Found", {{"Location", "/moved?x=1"}}, "moved"});
    server.Answer("/moved?x=1", {200, "OK", {}, "here"});
    server.Answer("/elsewhere", {301, "Moved", {{"Location", second.Url("/there")}}, ""});
    second.Answer("/there", {200, "OK", {}, "there"});
    for (int k = 0; k < 6; ++k)
        server.Answer(
            "/chain" + std::to_string(k),
            {307, "Temporary Redirect", {{"Location", "/chain" + std::to_string(k + 1)}}, ""});
    server.Answer("/chain6", {200, "OK", {}, "end"});
    server.Answer("/plain", {302, "Found", {{"Location", "http://127.0.0.1/"}}, ""});
    server.Answer("/nowhere", {302, "Found", {}, ""});

    const struct {
        const char* path;
        const char* body;
        const char* connect;
    } answers[] = {
        {"/relative", "here", "connect 127.0.0.1"},
        {"/elsewhere", "there", "connect 127.0.0.2"}, // the peer the answer came from
        {"/chain1", "end", "connect 127.0.0.1"},      // five redirects
    };
    for (const auto& a : answers) {
        events.clear();
        response.reset();
        client.Get(server.Url(a.path));
        ASSERT_TRUE(Finished() && response) << a.path << (error ? error->Message : "");
        EXPECT_EQ(response->Body, a.body);
        EXPECT_EQ(events, (std::vector<std::string>{"lookup", a.connect, "done 200"}));
    }

    const struct {
        const char* path;
        const char* part;
    } refused[] = {
        {"/chain0", "からの転送が 5 回を超えました"},
        {"/plain", "が HTTPS でないアドレスへ転送しようとしました: http://127.0.0.1/"},
        {"/nowhere", "からの転送先が正しくありません"},
    };
    for (const auto& r : refused) {
        response.reset();
        error.reset();
        client.Get(server.Url(r.path));
        ASSERT_TRUE(Finished()) << r.path;
        ExpectError(TKind::Redirect, r.part);
    }
}

// Nothing of a certificate that fails is taken for an answer; the message says why.
TEST_F(HttpClientTest, CertificatesThatFail) {
    const struct {
        const char* certificate;
        bool trustTestAuthority;
        const char* reason;
    } cases[] = {
        {"untrusted.pem", true, "証明書を発行した認証局が信頼されていません"},
        {"other-name.pem", true, "証明書はこのホスト名のものではありません"},
        {"server.pem", false, "証明書を発行した認証局が信頼されていません"},
    };
    for (const auto& c : cases) {
        LoopbackHttpsServer tls(c.certificate);
        tls.Answer("/", {200, "OK", {}, "secret"});
        THttpClient fresh;
        if (c.trustTestAuthority)
            fresh.AddTrustedCertificates(ReadBytes(LoopbackHttpsServer::Path("ca.pem")));
        fresh.OnDone = client.OnDone;
        fresh.OnError = client.OnError;
        fresh.OnConnect = client.OnConnect;
        events.clear();
        error.reset();
        fresh.Get(tls.Url("/"));
        ASSERT_TRUE(Finished()) << c.certificate;
        ExpectError(TKind::Tls, c.reason);
        EXPECT_NE(error->Message.find(SjisText("127.0.0.1 との安全な接続 (TLS) を確立できません")),
                  std::string::npos);
        EXPECT_EQ(events, std::vector<std::string>{"error"}) << c.certificate;
        EXPECT_TRUE(tls.Requests().empty()); // the request never went out
    }
}

TEST_F(HttpClientTest, BodiesOverTheLimitAreRefused) {
    server.Answer("/declared", {200, "OK", {}, "{}", End::Close, std::to_string((16u << 20) + 1)});
    server.Answer("/streamed", {200, "OK", {}, std::string(1001, 'x'), End::CloseWithoutLength});
    server.Answer("/exact", {200, "OK", {}, std::string(1000, 'x'), End::CloseWithoutLength});

    client.Get(server.Url("/declared"));
    ASSERT_TRUE(Finished());
    ExpectError(TKind::TooLarge, "からの応答が大きすぎます (16 MB を超えています)");

    client.MaxBodySize = 1000;
    error.reset();
    client.Get(server.Url("/streamed"));
    ASSERT_TRUE(Finished());
    EXPECT_TRUE(error && error->Kind == TKind::TooLarge);

    error.reset();
    client.Get(server.Url("/exact"));
    ASSERT_TRUE(Finished());
    ASSERT_TRUE(response);
    EXPECT_EQ(response->Body.size(), 1000u);
}

// The port-43 lookup's time-outs, shortened here.
TEST_F(HttpClientTest, ServersThatNeverAnswerTimeOut) {
    client.Timeouts.Connect = 300ms;
    client.Timeouts.Silence = 300ms;
    server.Answer("/silent", {200, "OK", {}, "", End::Silent});
    client.Get(server.Url("/silent"));
    ASSERT_TRUE(Finished());
    ExpectError(TKind::Timeout, "127.0.0.1 からの応答が 0.3 秒間途絶えました");
    EXPECT_EQ(server.Requests().size(), 1u);

    LoopbackHttpsServer mute{LoopbackHttpsServer::NoHandshake{}};
    error.reset();
    client.Get(mute.Url("/"));
    ASSERT_TRUE(Finished());
    ExpectError(TKind::Timeout, "127.0.0.1 に接続できません: 0.3 秒待っても応答がありません");
}

TEST_F(HttpClientTest, RefusedConnectionsAndAddressesThatAreNoHttps) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const std::string url = "https://127.0.0.1:" + std::to_string(closed.serverPort()) + "/";
    closed.close();
    client.Get(url);
    ASSERT_TRUE(Finished());
    ExpectError(TKind::Connect, "127.0.0.1 に接続できません: 接続が拒否されました");

    for (const char* bad : {"http://127.0.0.1/", "https://", "rdap", "https://exa mple/"}) {
        events.clear();
        error.reset();
        client.Get(bad);
        EXPECT_EQ(events, (std::vector<std::string>{"lookup", "error"})) << bad; // at once
        ExpectError(TKind::Url, "は https:// で始まる正しいアドレスではありません");
    }
}

TEST_F(HttpClientTest, NamesAreResolvedAndCheckedAgainstTheCertificate) {
    server.Answer("/", {200, "OK", {}, "by name"});
    client.Get("https://localhost:" + std::to_string(server.serverPort()) + "/");
    ASSERT_TRUE(Finished());
    ASSERT_TRUE(response) << (error ? error->Message : "");
    EXPECT_EQ(response->Body, "by name");
    EXPECT_EQ(events[1], "connect 127.0.0.1"); // IPv4 first
    EXPECT_EQ(server.Requests().at(0).headers.at("host"),
              "localhost:" + std::to_string(server.serverPort()));

    response.reset();
    client.Get("https://no-such-name.invalid/");
    ASSERT_TRUE(Finished());
    ExpectError(TKind::Resolve, "no-such-name.invalid のアドレスが見つかりません");
}

TEST_F(HttpClientTest, Ipv6Loopback) {
    LoopbackHttpsServer six("server.pem", "::1");
    if (!six.isListening()) GTEST_SKIP() << "no IPv6 loopback here";
    six.Answer("/", {200, "OK", {}, "six"});
    client.Get(six.Url("/"));
    ASSERT_TRUE(Finished());
    ASSERT_TRUE(response) << (error ? error->Message : "");
    EXPECT_EQ(events[1], "connect ::1");
    EXPECT_EQ(six.Requests().at(0).headers.at("host"), "[::1]:" + std::to_string(six.serverPort()));
}

// A new request abandons the one under way: nothing of the first is raised any more.
TEST_F(HttpClientTest, NewRequestAbandonsThePendingOne) {
    server.Answer("/slow", {200, "OK", {}, "", End::Silent});
    server.Answer("/fast", {200, "OK", {}, "fast"});
    client.Get(server.Url("/slow"));
    for (int i = 0; i < 500 && server.Requests().empty(); ++i)
        QTest::qWait(10);
    client.Get(server.Url("/fast"));
    ASSERT_TRUE(Finished());
    QTest::qWait(100);
    EXPECT_EQ(events,
              (std::vector<std::string>{"lookup", "lookup", "connect 127.0.0.1", "done 200"}));
    EXPECT_EQ(response->Body, "fast");

    events.clear();
    client.Get(server.Url("/slow"));
    client.Cancel();
    EXPECT_FALSE(client.Busy());
    QTest::qWait(200);
    EXPECT_EQ(events, std::vector<std::string>{"lookup"});
}

} // namespace
