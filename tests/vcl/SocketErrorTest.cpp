#include "SocketError.h"

#include "SjisText.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <netdb.h>

namespace {

TEST(SocketError, SystemErrorsBecomeWindowsSocketsNumbers) {
    const struct {
        int err, code;
    } cases[] = {
        {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},     {EHOSTUNREACH, 10065},
        {ENETUNREACH, 10051},  {ECONNRESET, 10054},    {ECONNABORTED, 10053},
        {EPIPE, 10058},        {EADDRNOTAVAIL, 10049}, {EMFILE, 10024},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WinSockErrorFromErrno(c.err), c.code) << c.err;
}

TEST(SocketError, ResolverErrorsBecomeWindowsSocketsNumbers) {
    EXPECT_EQ(WinSockErrorFromResolver(EAI_NONAME, 0), 11001);
    EXPECT_EQ(WinSockErrorFromResolver(EAI_AGAIN, 0), 11002);
    EXPECT_EQ(WinSockErrorFromResolver(EAI_FAIL, 0), 11003);
    EXPECT_EQ(WinSockErrorFromResolver(EAI_NODATA, 0), 11004);
    EXPECT_EQ(WinSockErrorFromResolver(EAI_SYSTEM, ECONNREFUSED), 10061);
}

TEST(SocketError, MessageNamesTheCallTheTextAndTheNumber) {
    EXPECT_EQ(
        WinSockErrorMessage(11001, "ASync Lookup"),
        SjisText("'ASync Lookup' API でWindows ソケットエラー: ホストが見つかりません (11001)"));
    EXPECT_EQ(WinSockErrorMessage(10061, "connect"),
              SjisText("'connect' API でWindows ソケットエラー: 接続が拒否されました (10061)"));
}

} // namespace
