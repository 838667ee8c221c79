#include "BootstrapRegistry.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace rdap;

namespace {

// A file of the test's own: nested prefixes and labels, a service without HTTPS, odd entries.
const char* const OwnDns = R"({"version":"1.0","services":[
    [["com","NET"],["http://plain.example/","https://a.example/rdap/"]],
    [["co.uk"],["https://couk.example/"]],
    [["uk"],["https://uk.example/"]],
    [["xn--q9jyb4c"],["https://minna.example/"]],
    [["insecure"],["http://only-plain.example/"]],
    [[1, "org"],["https://org.example/"]],
    "not a service"
]})";

const char* const OwnIpv4 = R"({"services":[
    [["10.0.0.0/8"],["https://wide.example/"]],
    [["10.1.0.0/16"],["https://narrow.example/"]],
    [["10.1.2.0/24"],["https://narrowest.example/"]],
    [["not a prefix","2001:db8::/32"],["https://broken.example/"]]
]})";

const char* const OwnIpv6 = R"({"services":[
    [["2001:db8::/32"],["https://wide6.example/"]],
    [["2001:db8:1::/48"],["https://narrow6.example/"]]
]})";

const char* const OwnAsn = R"({"services":[
    [["1-100","500"],["https://low.example/"]],
    [["101-200","300-250"],["https://middle.example/"]]
]})";

const char* const OwnTags = R"({"services":[
    [["x@example"],["ARIN"],["https://arin.example/"]],
    [["y@example"],["AP"],["https://ap.example/"]]
]})";

std::string Choose(const char* file, TBootstrapKind kind, const char* query) {
    const auto registry = TBootstrapRegistry::Parse(kind, file);
    EXPECT_TRUE(registry);
    const TRdapQuery q = ClassifyRdapQuery(query);
    EXPECT_EQ(BootstrapKindFor(q), kind) << query;
    return registry ? registry->BaseUrlFor(q) : std::string();
}

TEST(BootstrapRegistry, ChoosesTheClosestEntry) {
    const struct {
        const char* file;
        TBootstrapKind kind;
        const char *query, *want;
    } cases[] = {
        {OwnDns, TBootstrapKind::Dns, "example.com", "https://a.example/rdap/"},
        {OwnDns, TBootstrapKind::Dns, "EXAMPLE.NET", "https://a.example/rdap/"},
        {OwnDns, TBootstrapKind::Dns, "bbc.co.uk", "https://couk.example/"},
        {OwnDns, TBootstrapKind::Dns, "a.b.co.uk", "https://couk.example/"},
        {OwnDns, TBootstrapKind::Dns, "gov.uk", "https://uk.example/"},
        {OwnDns, TBootstrapKind::Dns, "テスト.みんな", "https://minna.example/"},
        {OwnDns, TBootstrapKind::Dns, "example.xn--q9jyb4c", "https://minna.example/"},
        {OwnDns, TBootstrapKind::Dns, "example.org", "https://org.example/"},
        {OwnDns, TBootstrapKind::Dns, "example.insecure", ""},
        {OwnDns, TBootstrapKind::Dns, "example.jp", ""},
        {OwnIpv4, TBootstrapKind::Ipv4, "10.9.9.9", "https://wide.example/"},
        {OwnIpv4, TBootstrapKind::Ipv4, "10.1.9.9", "https://narrow.example/"},
        {OwnIpv4, TBootstrapKind::Ipv4, "10.1.2.3", "https://narrowest.example/"},
        {OwnIpv4, TBootstrapKind::Ipv4, "10.1.2.0/24", "https://narrowest.example/"},
        {OwnIpv4, TBootstrapKind::Ipv4, "10.1.0.0/15", "https://wide.example/"},
        {OwnIpv4, TBootstrapKind::Ipv4, "11.0.0.1", ""},
        {OwnIpv6, TBootstrapKind::Ipv6, "2001:db8:2::1", "https://wide6.example/"},
        {OwnIpv6, TBootstrapKind::Ipv6, "2001:db8:1:ffff::1", "https://narrow6.example/"},
        {OwnIpv6, TBootstrapKind::Ipv6, "2001:db8::/31", ""},
        {OwnAsn, TBootstrapKind::Asn, "AS1", "https://low.example/"},
        {OwnAsn, TBootstrapKind::Asn, "AS100", "https://low.example/"},
        {OwnAsn, TBootstrapKind::Asn, "AS101", "https://middle.example/"},
        {OwnAsn, TBootstrapKind::Asn, "AS500", "https://low.example/"},
        {OwnAsn, TBootstrapKind::Asn, "AS260", ""}, // in a range written backwards
        {OwnAsn, TBootstrapKind::Asn, "AS0", ""},
        {OwnTags, TBootstrapKind::ObjectTags, "GOGL-ARIN", "https://arin.example/"},
        {OwnTags, TBootstrapKind::ObjectTags, "jnic1-ap", "https://ap.example/"},
        {OwnTags, TBootstrapKind::ObjectTags, "X-RIPE", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Choose(c.file, c.kind, c.query), c.want) << c.query;
}

TEST(BootstrapRegistry, FileForEachQuery) {
    EXPECT_EQ(BootstrapKindFor(ClassifyRdapQuery("2001:db8::1")), TBootstrapKind::Ipv6);
    EXPECT_EQ(BootstrapKindFor(ClassifyRdapQuery("192.0.2.1")), TBootstrapKind::Ipv4);
    EXPECT_EQ(BootstrapKindFor(ClassifyRdapQuery("IANA")), std::nullopt); // no tag
    EXPECT_EQ(BootstrapKindFor(ClassifyRdapQuery("IANA-")), std::nullopt);
    EXPECT_EQ(BootstrapKindFor(ClassifyRdapQuery("")), std::nullopt);
    EXPECT_STREQ(BootstrapFileName(TBootstrapKind::ObjectTags), "object-tags.json");
}

TEST(BootstrapRegistry, RefusesFilesWithoutServices) {
    for (const char* text : {"", "[]", "{}", R"({"services":{}})", "<html>", R"({"services":[)"})
        EXPECT_FALSE(TBootstrapRegistry::Parse(TBootstrapKind::Dns, text)) << text;
}

// The copy installed with the program reads, and answers for the lookups it is there for.
TEST(BootstrapRegistry, InstalledCopy) {
    const struct {
        TBootstrapKind kind;
        const char *query, *want;
    } cases[] = {
        {TBootstrapKind::Dns, "example.com", "https://rdap.verisign.com/com/v1/"},
        {TBootstrapKind::Dns, "example.net", "https://rdap.verisign.com/net/v1/"},
        {TBootstrapKind::Dns, "テスト.みんな", "https://pubapi.registry.google/rdap/"},
        {TBootstrapKind::Ipv4, "8.8.8.8", "https://rdap.arin.net/registry/"},
        {TBootstrapKind::Ipv4, "133.1.2.3", "https://rdap.apnic.net/"},
        {TBootstrapKind::Ipv4, "193.0.6.139", "https://rdap.db.ripe.net/"},
        {TBootstrapKind::Ipv6, "2001:200::1", "https://rdap.apnic.net/"},
        {TBootstrapKind::Ipv6, "2a00:1450::1", "https://rdap.db.ripe.net/"},
        {TBootstrapKind::Asn, "AS2515", "https://rdap.apnic.net/"},
        {TBootstrapKind::Asn, "AS3333", "https://rdap.db.ripe.net/"},
        {TBootstrapKind::ObjectTags, "JNIC1-AP", "https://rdap.apnic.net/"},
    };
    for (const auto& c : cases) {
        std::string file = KELVANE_BOOTSTRAP_DIR;
        file.append("/").append(BootstrapFileName(c.kind));
        const std::string text = ReadBytes(file);
        ASSERT_FALSE(text.empty()) << file;
        EXPECT_EQ(Choose(text.c_str(), c.kind, c.query), c.want) << c.query;
    }
}

} // namespace
