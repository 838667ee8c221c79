// A host name that resolves to the test's own server. CTest runs these tests in a mount namespace
// of their own where /etc/hosts maps whois.kelvane.test to 127.0.0.24 (see CMakeLists.txt); run
// elsewhere, they skip.

#include "Application.h"
#include "LoopbackWhoisServer.h"
#include "SjisText.h"
#include "Unit1.h"

#include <QTest>
#include <gtest/gtest.h>
#include <netdb.h>

namespace {

bool NameResolves() {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* list = nullptr;
    const bool ok = getaddrinfo("whois.kelvane.test", nullptr, &hints, &list) == 0;
    if (list) freeaddrinfo(list);
    return ok;
}

TEST(PrivateHosts, ServerNameInOtherLettersIsTheSameServer) {
    if (!NameResolves()) GTEST_SKIP() << "needs the private hosts file CTest gives this test";
    LoopbackWhoisServer server("127.0.0.24");
    if (!server.Bound()) GTEST_SKIP() << server.Why();
    server.Add({{"first\r\n"}, LoopbackWhoisServer::End::Silent});
    std::vector<std::string> boxes;
    Application->ErrorBoxHook = [&](const std::string& text, const std::string&) {
        boxes.push_back(text);
    };

    TKelvaneForm form;
    form.ServerList->SetText("whois.kelvane.test");
    form.InputData->SetText("example.jp");
    form.ToolButton11->Click();
    for (int i = 0; i < 500 && !form.CS->Active(); ++i)
        QTest::qWait(10);
    ASSERT_TRUE(form.CS->Active());
    EXPECT_EQ(form.Sb->SimpleText(), "Connected 127.0.0.24");

    form.ServerList->SetText("WHOIS.Kelvane.TEST");
    form.ToolButton11->Click(); // the same server: nothing happens
    QTest::qWait(50);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(form.Sb->SimpleText(), "Connected 127.0.0.24");

    server.Finish({"second\r\n"});
    for (int i = 0; i < 500 && form.CS->Active(); ++i)
        QTest::qWait(10);
    EXPECT_EQ(form.Sb->SimpleText(), "Disconneted");
    EXPECT_EQ(server.Queries(), std::vector<std::string>{"example.jp\r\n"});
    EXPECT_EQ(form.Info->Text(), "Kelvane\r\nfirst\r\nsecond\r\n");
    Application->ErrorBoxHook = nullptr;
}

} // namespace
