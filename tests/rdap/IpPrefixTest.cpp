#include "IpPrefix.h"

#include <gtest/gtest.h>

using namespace rdap;

namespace {

TEST(IpPrefix, ReadsAndWritesCanonically) {
    const struct {
        const char* in;
        const char* canonical;
        int version, length;
    } cases[] = {
        {"192.0.2.1", "192.0.2.1", 4, 32},
        {"0.0.0.0/0", "0.0.0.0/0", 4, 0},
        {"192.0.2.0/24", "192.0.2.0/24", 4, 24},
        {"255.255.255.255/32", "255.255.255.255/32", 4, 32},
        {"2001:DB8::1", "2001:db8::1", 6, 128},
        {"2001:db8:0:0:1:0:0:1", "2001:db8::1:0:0:1", 6, 128}, // the first of two equal runs
        {"2001:0db8:0000:0000:0000:0000:0000:0001", "2001:db8::1", 6, 128},
        {"2001:db8:0:1:1:1:1:1", "2001:db8:0:1:1:1:1:1", 6, 128}, // one zero word stays
        {"::", "::", 6, 128},
        {"::1", "::1", 6, 128},
        {"1::", "1::", 6, 128},
        {"::ffff:192.0.2.1", "::ffff:c000:201", 6, 128},
        {"2001:db8::/32", "2001:db8::/32", 6, 32},
        {"2400::/12", "2400::/12", 6, 12},
    };
    for (const auto& c : cases) {
        const auto prefix = ParseIpPrefix(c.in);
        ASSERT_TRUE(prefix) << c.in;
        EXPECT_EQ(prefix->ToString(), c.canonical) << c.in;
        EXPECT_EQ(prefix->version, c.version) << c.in;
        EXPECT_EQ(prefix->length, c.length) << c.in;
    }
}

TEST(IpPrefix, RefusesMalformedText) {
    for (const char* in : {"",
                           "1.2.3",
                           "1.2.3.4.5",
                           "256.1.1.1",
                           "01.2.3.4",
                           "1.2.3.4/33",
                           "1.2.3.4/",
                           "1.2.3.4/08",
                           "1.2.3.4/-1",
                           "1..3.4",
                           "1.2.3.4 ",
                           "a.b.c.d",
                           ":::",
                           "1:::2",
                           "1::2::3",
                           "12345::",
                           "1:2:3:4:5:6:7:8:9",
                           "1:2:3:4:5:6:7",
                           "1:2:3:4:5:6:7::8",
                           "::1/129",
                           "g::1",
                           "1.2.3.4::",
                           "::1.2.3",
                           "fe80::1%eth0",
                           ":1::"})
        EXPECT_FALSE(ParseIpPrefix(in)) << in;
}

TEST(IpPrefix, Containment) {
    const struct {
        const char *outer, *inner;
        bool contains;
    } cases[] = {
        {"192.0.0.0/8", "192.0.2.1", true},
        {"192.0.0.0/8", "193.0.2.1", false},
        {"192.0.0.0/8", "192.0.0.0/8", true},
        {"192.0.2.0/24", "192.0.0.0/8", false}, // a wider prefix is not inside a narrower one
        {"202.0.0.0/7", "203.255.0.1", true},   // a length that cuts a byte
        {"202.0.0.0/7", "204.0.0.1", false},
        {"0.0.0.0/0", "8.8.8.8", true},
        {"2001:200::/23", "2001:200:dead::1", true},
        {"2001:200::/23", "2001:400::1", false},
        {"2001:200::/23", "2001:3ff:ffff::1", true},
        {"192.0.0.0/8", "::ffff:192.0.2.1", false}, // the families never meet
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseIpPrefix(c.outer)->Contains(*ParseIpPrefix(c.inner)), c.contains)
            << c.outer << " " << c.inner;
}

} // namespace
