#include "BootstrapState.h"

#include <gtest/gtest.h>

using namespace rdap;

namespace {

constexpr std::int64_t Now = 1'800'000'000;
constexpr std::int64_t Day = BootstrapCheckInterval;
constexpr std::int64_t Hour = BootstrapRetryInterval;

TEST(BootstrapState, AsksAtMostOnceADay) {
    const struct {
        const char* name;
        std::int64_t checkedAt, failedAt;
        bool needsCheck;
    } cases[] = {
        {"never asked", 0, 0, true},
        {"asked a minute ago", Now - 60, 0, false},
        {"asked almost a day ago", Now - Day + 1, 0, false},
        {"asked a day ago", Now - Day, 0, true},
        {"asked a week ago", Now - 7 * Day, 0, true},
        {"clock set back a little", Now + 60, 0, false},
        {"clock set back by more than a day", Now + Day + 1, 0, true},
        {"never asked, failed a minute ago", 0, Now - 60, false},
        {"old answer, failed half an hour ago", Now - 2 * Day, Now - Hour / 2, false},
        {"old answer, failed an hour ago", Now - 2 * Day, Now - Hour, true},
        {"failed in a future more than an hour ahead", 0, Now + Hour + 1, true},
    };
    for (const auto& c : cases) {
        TBootstrapState state;
        state.checkedAt = c.checkedAt;
        state.failedAt = c.failedAt;
        EXPECT_EQ(state.NeedsCheck(Now), c.needsCheck) << c.name;
    }
}

TEST(BootstrapState, KeptAsTextAndSentAsValidators) {
    TBootstrapState state;
    state.etag = "\"abc\r\n\"";
    state.lastModified = "Tue, 01 Dec 2026 10:00:00 GMT";
    state.checkedAt = Now;
    state.failedAt = Now - 5;
    const TBootstrapState back = TBootstrapState::Parse(state.Serialize());
    EXPECT_EQ(back.etag, "\"abc\"");
    EXPECT_EQ(back.lastModified, state.lastModified);
    EXPECT_EQ(back.checkedAt, Now);
    EXPECT_EQ(back.failedAt, Now - 5);
    using Headers = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(back.ConditionalHeaders(),
              (Headers{{"If-None-Match", "\"abc\""}, {"If-Modified-Since", state.lastModified}}));
    EXPECT_EQ(TBootstrapState().ConditionalHeaders(), Headers{});

    const TBootstrapState odd = TBootstrapState::Parse("checked 12x\nfailed\nnoise\nchecked "
                                                       "99999999999999999999\netag\n");
    EXPECT_EQ(odd.checkedAt, 0);
    EXPECT_EQ(odd.failedAt, 0);
    EXPECT_EQ(odd.etag, "");
}

} // namespace
