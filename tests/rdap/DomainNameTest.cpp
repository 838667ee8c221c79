#include "DomainName.h"

#include <gtest/gtest.h>

using namespace rdap;

namespace {

// Known pairs of RFC 3492's section 7.1 and of registered names.
TEST(Punycode, EncodesKnownLabels) {
    const struct {
        std::u32string in;
        const char* want;
    } cases[] = {
        {U"みんな", "q9jyb4c"},
        {U"日本語", "wgv71a119e"},
        {U"рф", "p1ai"},
        {U"中国", "fiqs8s"},
        {U"bücher", "bcher-kva"},
        {U"ü", "tda"},
        {U"abc", "abc-"},
        {U"他们为什么不说中文", "ihqwcrb4cv8a8dqg056pqjye"},
        {U"3年B組金八先生", "3B-ww4c5e180e575a65lsy2b"},
        {U"安室奈美恵-with-SUPER-MONKEYS", "-with-SUPER-MONKEYS-pc58ag80a8qai00g7n9n"},
        {U"\U0001F600", "e28h"},
    };
    for (const auto& c : cases) {
        const auto encoded = PunycodeEncode(c.in);
        ASSERT_TRUE(encoded) << c.want;
        EXPECT_EQ(*encoded, c.want);
    }
}

TEST(DomainName, MapsAndEncodesNames) {
    const struct {
        const char *in, *want;
    } cases[] = {
        {"example.com", "example.com"},
        {"EXAMPLE.Com.", "example.com"},
        {"ｅｘａｍｐｌｅ．ｃｏｍ", "example.com"},  // full-width letters and stop
        {"例え。テスト", "xn--r8jz45g.xn--zckzah"}, // the ideographic full stop
        {"日本語.jp", "xn--wgv71a119e.jp"},
        {"example.みんな", "example.xn--q9jyb4c"},
        {"ПРИМЕР.РФ", "xn--e1afmkfd.xn--p1ai"},     // Cyrillic capitals lowered
        {"BÜCHER.de", "xn--bcher-kva.de"},          // Latin-1 capitals lowered
        {"xn--wgv71a119e.jp", "xn--wgv71a119e.jp"}, // A-labels pass as they are
        {"a-b.c0m", "a-b.c0m"},
    };
    for (const auto& c : cases) {
        const auto ascii = DomainToAscii(c.in);
        ASSERT_TRUE(ascii) << c.in;
        EXPECT_EQ(*ascii, c.want) << c.in;
    }
}

TEST(DomainName, RefusesWhatIsNoName) {
    const std::string long63(63, 'a'), long64(64, 'a');
    EXPECT_TRUE(DomainToAscii(long63 + ".com"));
    EXPECT_FALSE(DomainToAscii(long64 + ".com"));
    std::string name;
    while (name.size() < 250)
        name += "abcdefghi.";
    EXPECT_TRUE(DomainToAscii(name + "com"));   // 253 bytes
    EXPECT_FALSE(DomainToAscii(name + "comm")); // 254
    for (const char* in : {"", ".", "a..b", ".a.b", "-a.com", "a-.com", "a_b.com", "a b.com",
                           "a@b.com", "a/b.com", "\xE3\x81.com", "a.com..", "a.\xC2\x85.com"})
        EXPECT_FALSE(DomainToAscii(in)) << in;
}

} // namespace
