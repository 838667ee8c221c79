#include "RdapQuery.h"

#include <gtest/gtest.h>

using namespace rdap;

namespace {

TEST(RdapQuery, ClassifiesTheQueryBox) {
    const struct {
        const char* in;
        TRdapObject object;
        const char* path;
        bool json;
    } cases[] = {
        {"example.com", TRdapObject::Domain, "domain/example.com", false},
        {"  Example.COM\t", TRdapObject::Domain, "domain/example.com", false},
        {"\xE3\x80\x80"
         "example.com"
         "\xE3\x80\x80",
         TRdapObject::Domain, "domain/example.com", false}, // ideographic spaces around it
        {"日本語.jp", TRdapObject::Domain, "domain/xn--wgv71a119e.jp", false},
        {"ｊｐｒｓ．ｊｐ", TRdapObject::Domain, "domain/jprs.jp", false},
        {"example.com/json", TRdapObject::Domain, "domain/example.com", true},
        {"example.com /JSON", TRdapObject::Domain, "domain/example.com", true},
        {"192.0.2.1", TRdapObject::Ip, "ip/192.0.2.1", false},
        {"192.0.2.0/24", TRdapObject::Ip, "ip/192.0.2.0/24", false},
        {"192.0.2.0/24/json", TRdapObject::Ip, "ip/192.0.2.0/24", true},
        {"2001:DB8:0::1", TRdapObject::Ip, "ip/2001:db8::1", false},
        {"2001:db8::/32", TRdapObject::Ip, "ip/2001:db8::/32", false},
        {"AS2515", TRdapObject::Autnum, "autnum/2515", false},
        {"as4294967295", TRdapObject::Autnum, "autnum/4294967295", false},
        {"AS4294967296", TRdapObject::Entity, "entity/AS4294967296", false}, // no 32-bit number
        {"AS", TRdapObject::Entity, "entity/AS", false},
        {"AS25-15", TRdapObject::Entity, "entity/AS25-15", false},
        {"JPNIC-AP", TRdapObject::Entity, "entity/JPNIC-AP", false},
        {"IANA", TRdapObject::Entity, "entity/IANA", false},
        {"J. Doe", TRdapObject::Entity, "entity/J.%20Doe", false},
        {"a/b?c#d%", TRdapObject::Entity, "entity/a%2Fb%3Fc%23d%25", false},
        {"user@example.com", TRdapObject::Entity, "entity/user%40example.com", false},
        {"日本", TRdapObject::Entity, "entity/%E6%97%A5%E6%9C%AC", false},
    };
    for (const auto& c : cases) {
        const TRdapQuery query = ClassifyRdapQuery(c.in);
        EXPECT_EQ(query.problem, TQueryProblem::None) << c.in;
        EXPECT_EQ(query.object, c.object) << c.in;
        EXPECT_EQ(query.path, c.path) << c.in;
        EXPECT_EQ(query.json, c.json) << c.in;
    }
}

TEST(RdapQuery, KeysForTheBootstrap) {
    EXPECT_EQ(ClassifyRdapQuery("www.Example.COM").domain, "www.example.com");
    EXPECT_EQ(ClassifyRdapQuery("AS2515").asn, 2515u);
    EXPECT_EQ(ClassifyRdapQuery(" jnic1-ap ").handle, "jnic1-ap");
    EXPECT_EQ(ClassifyRdapQuery("192.0.2.0/24").address.ToString(), "192.0.2.0/24");
}

TEST(RdapQuery, RefusesEmptyTextAndMistypedAddresses) {
    const struct {
        const char* in;
        TQueryProblem problem;
    } cases[] = {
        {"", TQueryProblem::Empty},
        {" \t ", TQueryProblem::Empty},
        {"/json", TQueryProblem::Empty},
        {"192.168.010.1", TQueryProblem::BadAddress},
        {"1.2.3", TQueryProblem::BadAddress},
        {"300.1.1.1", TQueryProblem::BadAddress},
        {"192.0.2.0/33", TQueryProblem::BadAddress},
        {"2001:db8:::1", TQueryProblem::BadAddress},
        {"fe80::1/200", TQueryProblem::BadAddress},
    };
    for (const auto& c : cases) {
        const TRdapQuery query = ClassifyRdapQuery(c.in);
        EXPECT_EQ(query.problem, c.problem) << c.in;
        EXPECT_EQ(query.object, TRdapObject::None) << c.in;
        EXPECT_EQ(query.path, "") << c.in;
    }
}

TEST(RdapQuery, UrlUnderABase) {
    const TRdapQuery query = ClassifyRdapQuery("example.com");
    EXPECT_EQ(RdapUrl("https://rdap.verisign.com/com/v1/", query),
              "https://rdap.verisign.com/com/v1/domain/example.com");
    EXPECT_EQ(RdapUrl("https://rdap.example/rdap", query),
              "https://rdap.example/rdap/domain/example.com");
}

} // namespace
