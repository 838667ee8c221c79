// Where the RDAP lookup finds IANA's bootstrap files: the installed copy, a fetched copy in the
// cache folder, and the day's check with its validators.

#include "RdapBootstrapStore.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using rdap::TBootstrapKind;

namespace {

constexpr std::int64_t Day = 24 * 60 * 60;
constexpr std::int64_t Hour = 60 * 60;
constexpr std::int64_t T0 = 1'800'000'000;

std::string DnsFile(const std::string& tld, const std::string& url) {
    return R"({"version":"1.0","services":[[[")" + tld + R"("],[")" + url + R"("]]]})";
}

class RdapBootstrapStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(installed / "dns.json", DnsFile("com", "https://installed.example/"));
    }

    std::string Base(TRdapBootstrapStore& store, const std::string& query) {
        return store.BaseUrl(TBootstrapKind::Dns, rdap::ClassifyRdapQuery(query));
    }

    static THttpResponse Response(int status, std::string body, THttpHeaders headers = {}) {
        THttpResponse response;
        response.Status = status;
        response.Body = std::move(body);
        response.Headers = std::move(headers);
        return response;
    }

    TempDir installed;
    TempDir cache;
};

TEST_F(RdapBootstrapStoreTest, TheInstalledCopyServesUntilIanaSendsANewerOne) {
    TRdapBootstrapStore store(installed.Path(), cache.Path());
    EXPECT_EQ(Base(store, "example.com"), "https://installed.example/");
    EXPECT_EQ(Base(store, "example.org"), "");
    EXPECT_TRUE(store.NeedsCheck(TBootstrapKind::Dns, T0));
    EXPECT_EQ(store.FetchUrl(TBootstrapKind::Dns), "https://data.iana.org/rdap/dns.json");
    EXPECT_TRUE(store.FetchHeaders(TBootstrapKind::Dns).empty()); // nothing cached to validate

    const std::string fetched = DnsFile("org", "https://fetched.example/");
    store.Answered(
        TBootstrapKind::Dns,
        Response(200, fetched,
                 {{"ETag", "\"abc\""}, {"Last-Modified", "Fri, 11 Dec 2026 00:00:00 GMT"}}),
        T0);
    EXPECT_EQ(Base(store, "example.org"), "https://fetched.example/");
    EXPECT_EQ(Base(store, "example.com"), ""); // the newer copy replaces the installed one
    EXPECT_EQ(ReadBytes(cache / "dns.json"), fetched);

    // The day's check is done; a program started again knows it, and the copy.
    TRdapBootstrapStore again(installed.Path(), cache.Path());
    EXPECT_EQ(Base(again, "example.org"), "https://fetched.example/");
    EXPECT_FALSE(again.NeedsCheck(TBootstrapKind::Dns, T0 + Day - 1));
    EXPECT_TRUE(again.NeedsCheck(TBootstrapKind::Dns, T0 + Day));
    EXPECT_TRUE(again.NeedsCheck(TBootstrapKind::Ipv4, T0)); // each file has its own day
    EXPECT_EQ(again.FetchHeaders(TBootstrapKind::Dns),
              (THttpHeaders{{"If-None-Match", "\"abc\""},
                            {"If-Modified-Since", "Fri, 11 Dec 2026 00:00:00 GMT"}}));
}

// What IANA answers decides the copy and when it is asked again.
TEST_F(RdapBootstrapStoreTest, AnswersThatAreNoNewFile) {
    const std::string cached = DnsFile("org", "https://cached.example/");
    const struct {
        const char* name;
        THttpResponse response;
        std::int64_t askedAgainAfter;
    } cases[] = {
        {"304 keeps the copy for a day", Response(304, ""), Day},
        {"a 200 that is no bootstrap file keeps it and retries", Response(200, "<html>"), Hour},
        {"an error status keeps it and retries", Response(503, ""), Hour},
    };
    for (const auto& c : cases) {
        TempDir folder;
        WriteBytes(folder / "dns.json", cached);
        TRdapBootstrapStore store(installed.Path(), folder.Path());
        store.Answered(TBootstrapKind::Dns, c.response, T0);
        EXPECT_EQ(ReadBytes(folder / "dns.json"), cached) << c.name;
        EXPECT_EQ(Base(store, "example.org"), "https://cached.example/") << c.name;
        EXPECT_FALSE(store.NeedsCheck(TBootstrapKind::Dns, T0 + c.askedAgainAfter - 1)) << c.name;
        EXPECT_TRUE(store.NeedsCheck(TBootstrapKind::Dns, T0 + c.askedAgainAfter)) << c.name;
    }
}

TEST_F(RdapBootstrapStoreTest, NoNetworkMeansTheInstalledCopyAndAnotherTryInAnHour) {
    TRdapBootstrapStore store(installed.Path(), cache.Path());
    store.Failed(TBootstrapKind::Dns, T0);
    EXPECT_EQ(Base(store, "example.com"), "https://installed.example/");
    EXPECT_FALSE(store.NeedsCheck(TBootstrapKind::Dns, T0 + Hour - 1));
    EXPECT_TRUE(store.NeedsCheck(TBootstrapKind::Dns, T0 + Hour));
}

// A broken cached copy is passed over; without a cache folder nothing is fetched or written.
TEST_F(RdapBootstrapStoreTest, BrokenCopiesAndNoCacheFolder) {
    WriteBytes(cache / "dns.json", "{\"services\":");
    TRdapBootstrapStore broken(installed.Path(), cache.Path());
    EXPECT_EQ(Base(broken, "example.com"), "https://installed.example/");

    TRdapBootstrapStore none(installed.Path(), "");
    EXPECT_FALSE(none.NeedsCheck(TBootstrapKind::Dns, T0));
    none.Answered(TBootstrapKind::Dns, Response(200, DnsFile("org", "https://x.example/")), T0);
    EXPECT_EQ(Base(none, "example.com"), "https://installed.example/");

    TRdapBootstrapStore nothing("", "");
    EXPECT_EQ(Base(nothing, "example.com"), "");
}

} // namespace
