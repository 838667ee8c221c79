#include "Cp932.h"

#include "SjisText.h"

#include <QString>
#include <gtest/gtest.h>
#include <iconv.h>
#include <random>
#include <string>

using namespace std::string_literals;

namespace {

std::u16string Units(const QString& s) {
    return s.toStdU16String();
}

std::string RoundTrip(const std::string& bytes) {
    return ScreenToCp932(Cp932ToScreen(bytes));
}

struct TableCase {
    const char* name;
    std::string bytes;
    std::u16string screen;
};

const TableCase kTable[] = {
    {"Backslash", "\x5c", u"\u005c"},
    {"Tilde", "\x7e", u"\u007e"},
    {"FullwidthReverseSolidus", "\x81\x5f", u"\uff3c"},
    {"FullwidthTilde", "\x81\x60", u"\uff5e"},
    {"ParallelTo", "\x81\x61", u"\u2225"},
    {"FullwidthHyphenMinus", "\x81\x7c", u"\uff0d"},
    {"CircledOne", "\x87\x40", u"\u2460"},
    {"IbmSmallRomanOne", "\xfa\x40", u"\u2170"},
    {"IbmKanji", "\xfa\x5c", u"\u7e8a"},
    {"HalfwidthKatakana", "\xb1\xdf", u"\uff71\uff9f"},
    {"Kanji", "\x8a\xbf\x8e\x9a", u"\u6f22\u5b57"},
    {"UserDefinedArea", "\xf0\x40", u"\ue000"},
    {"ZeroByteShowsAsSymbolForNull", "a\0b"s, u"a\u2400b"},
};

TEST(Cp932, MicrosoftTableBothWays) {
    for (const auto& c : kTable) {
        EXPECT_EQ(Units(Cp932ToScreen(c.bytes)), c.screen) << c.name;
        EXPECT_EQ(ScreenToCp932(QString::fromStdU16String(c.screen)), c.bytes) << c.name;
    }
}

// Bytes outside the code page show as private-use stand-ins and come back unchanged.
TEST(Cp932, NecSelectedRowDecodes) {
    EXPECT_EQ(Units(Cp932ToScreen("\xed\x40")), u"\u7e8a");
}

TEST(Cp932, InvalidBytesSurviveAsStandIns) {
    const TableCase cases[] = {
        {"Byte80", "\x80", u"\uf780"},
        {"ByteA0", "\xa0", u"\uf7a0"},
        {"BytesFDtoFF", "\xfd\xfe\xff", u"\uf7fd\uf7fe\uf7ff"},
        {"LeadAtEnd", "ab\x82", u"ab\uf782"},
        {"LeadWithBadTrail", "\x82\x20x", u"\uf782 x"},
        {"LeadWith7F", "\x81\x7f", u"\uf781\u007f"},
        {"LeadThenValidPair", "\x85\x81\x40", u"\uf785\u3000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Units(Cp932ToScreen(c.bytes)), c.screen) << c.name;
        EXPECT_EQ(RoundTrip(c.bytes), c.bytes) << c.name;
    }
}

// Windows folds the NEC-selected IBM extensions and the NEC row 13 duplicates of JIS X 0208
// symbols to one canonical code.
TEST(Cp932, DuplicatesComeBackCanonical) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"\xed\x40", "\xfa\x5c"}, {"\xee\xef", "\xfa\x40"}, {"\xee\xf9", "\x81\xca"},
        {"\xfa\x54", "\x81\xca"}, {"\xfa\x5b", "\x81\xe6"}, {"\x87\x90", "\x81\xe0"},
        {"\xfa\x4a", "\x87\x54"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundTrip(c.in), c.out) << c.in;
}

// A lead byte that stands alone before a folded duplicate would pair with the lead of the canonical
// code; the code is written in a form that does not, so the bytes read back as the same
// characters.
TEST(Cp932, FoldedCodeAfterALoneLeadByteKeepsItsCharacters) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"\xee\xee\x62", "\xee\xee\x62"}, // 0xEE alone, then U+FA19 (0xFB7E pairs as 0xEEFB)
        {"\x81\xee\xf9", "\x81\xfa\x54"}, // 0x81 alone, then U+FFE2 (0x81CA pairs as 0x8181)
        {"\x85\xee\xf9", "\x85\x81\xca"}, // 0x8581 is no character: the canonical code stays
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundTrip(c.in), c.out) << c.in;
        EXPECT_EQ(Cp932ToScreen(RoundTrip(c.in)), Cp932ToScreen(c.in)) << c.in;
    }
    // Every folded code after every byte that stands alone before it.
    int pairsAvoided = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int code = 0x8140; code <= 0xFCFC; ++code) {
            const std::string folded{char(code >> 8), char(code & 0xFF)};
            const std::string in = char(lead) + folded;
            if (RoundTrip(folded) == folded || Cp932ToScreen(in).size() != 2) continue;
            const QString screen = Cp932ToScreen(in);
            const std::string back = RoundTrip(in);
            ASSERT_EQ(Cp932ToScreen(back), screen) << std::hex << lead << ' ' << code;
            pairsAvoided += Cp932ToScreen(char(lead) + RoundTrip(folded)) != screen;
        }
    EXPECT_GT(pairsAvoided, 1000);
}

// Every one- and two-byte string comes back unchanged, except a folded duplicate, which comes
// back as the very code glibc's CP932 encoder gives for its character.
TEST(Cp932, EveryShortStringRoundTrips) {
    iconv_t enc = iconv_open("CP932", "UTF-16LE");
    ASSERT_NE(enc, reinterpret_cast<iconv_t>(-1));
    int folded = 0;
    for (int a = 0; a < 0x100; ++a) {
        const std::string one(1, char(a));
        ASSERT_EQ(RoundTrip(one), one);
        for (int b = 0; b < 0x100; ++b) {
            const std::string two{char(a), char(b)};
            const std::string back = RoundTrip(two);
            if (back == two) continue;
            ++folded;
            const QString screen = Cp932ToScreen(two);
            ASSERT_EQ(screen.size(), 1) << std::hex << a << ' ' << b;
            char16_t unit = screen.at(0).unicode();
            char in[2] = {char(unit & 0xFF), char(unit >> 8)};
            char out[4];
            char* ip = in;
            char* op = out;
            std::size_t il = 2, ol = 4;
            iconv(enc, nullptr, nullptr, nullptr, nullptr);
            ASSERT_NE(iconv(enc, &ip, &il, &op, &ol), static_cast<std::size_t>(-1));
            ASSERT_EQ(back, std::string(out, op)) << std::hex << a << ' ' << b;
        }
    }
    iconv_close(enc);
    EXPECT_GT(folded, 300); // the rows 0xED and 0xEE alone hold 374
}

// Random strings come back byte for byte, but for the folded duplicates: a byte may change only
// inside a pair that starts with a lead byte of the rows that hold them.
TEST(Cp932, RandomByteStringsRoundTrip) {
    const std::string foldedLeads = "\x87\xed\xee\xfa\xfb\xfc";
    auto isFoldedLead = [&](char c) { return foldedLeads.find(c) != std::string::npos; };
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 200);
    int unchanged = 0;
    for (int n = 0; n < 3000; ++n) {
        std::string bytes(static_cast<std::size_t>(length(rng)), '\0');
        for (char& c : bytes)
            c = char(byte(rng));
        const std::string back = RoundTrip(bytes);
        ASSERT_EQ(back.size(), bytes.size());
        ASSERT_EQ(Cp932ToScreen(back), Cp932ToScreen(bytes)) << "string " << n;
        unchanged += back == bytes;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (back[i] != bytes[i]) {
                ASSERT_TRUE(isFoldedLead(bytes[i]) || (i > 0 && isFoldedLead(bytes[i - 1])))
                    << "string " << n << " byte " << i;
            }
    }
    EXPECT_GT(unchanged, 1000);
}

// The zero byte itself, as a field of Qt may hold it, is the zero byte too.
TEST(Cp932, NullCharacterIsTheZeroByte) {
    EXPECT_EQ(ScreenToCp932(QString::fromStdU16String(u"a\0b"s)), "a\0b"s);
}

TEST(Cp932, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(ScreenToCp932(QString::fromStdU16String(u"caf\u00e9 \U0001F600!")), "caf? ?!");
    EXPECT_EQ(ScreenToCp932(QString::fromStdU16String(u"a\xd800z")), "a?z");
}

TEST(Cp932, OwnTextsAreCp932) {
    EXPECT_EQ(SjisText("クリア"), "\x83\x4e\x83\x8a\x83\x41");
    EXPECT_EQ(SjisText("Disconneted"), "Disconneted");
}

} // namespace
