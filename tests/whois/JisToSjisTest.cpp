#include "JisToSjis.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <iconv.h>
#include <random>
#include <string>

using namespace std::string_literals;

namespace {

struct Case {
    const char* name;
    std::string in, want;
};

// Tests are named by their case; the bytes would only clutter the list.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

const std::string ESC = "\x1b";
const std::string OPEN_B = ESC + "$B", OPEN_AT = ESC + "$@", CLOSE_B = ESC + "(B",
                  CLOSE_J = ESC + "(J";

const Case kLineCases[] = {
    {"Empty", "", ""},
    {"PlainAsciiWithCr", "domain: example.jp\r", "domain: example.jp\r"},
    {"OtherEscapesAndEightBitUntouched", "a" + CLOSE_B + ESC + "(I\xb1\xb2\x82\xa0\r",
     "a" + CLOSE_B + ESC + "(I\xb1\xb2\x82\xa0\r"},
    {"WorkedExample", "Name: " + OPEN_B + "\x34\x41\x3b\x7a" + CLOSE_B + " end\r",
     "Name: \x8a\xbf\x8e\x9a end\r"},
    {"WorkedExampleAtAndJ", "Name: " + OPEN_AT + "\x34\x41\x3b\x7a" + CLOSE_J + " end\r",
     "Name: \x8a\xbf\x8e\x9a end\r"},
    {"EscDollarLastTwoBytes", "ab" + ESC + "$", "ab"},
    {"OpenLastThreeBytes", "ab" + OPEN_B, "ab"},
    {"UnclosedEvenRun", OPEN_B + "\x34\x41\x3b\x7a", "\x8a\xbf\x8e\x9a"},
    {"UnclosedOddRunDropsCr", OPEN_B + "\x34\x41\r", "\x8a\xbf"},
    {"EmptyRunVanishes", "x" + OPEN_B + CLOSE_B + "y", "xy"},
    {"TwoRuns", OPEN_B + "\x24\x22" + CLOSE_B + "x" + OPEN_B + "\x24\x24" + CLOSE_B,
     "\x82\xa0x\x82\xa2"},
    {"OddRunPairsThroughClosing", OPEN_B + "\x34\x41\x3b" + CLOSE_B + "xyz",
     "\x8a\xbf\x00\x00\x84\xc0\xec\xf7"s},
    {"NewDesignationClosesRun", OPEN_B + "\x34\x41" + OPEN_B + "\x24\x22" + CLOSE_B,
     "\x8a\xbf\x24\x22" + CLOSE_B},
    {"FourByteDesignationD", ESC + "$(D\x34\x41", "\x92\xb2"},
    {"ClosingNotExamined", OPEN_B + "\x24\x22" + ESC + "XYz", "\x82\xa0z"},
    {"KatakanaAfterCloseI", OPEN_B + "\x24\x22" + ESC + "(I\xb1\xb2", "\x82\xa0\xb1\xb2"},
    {"InvalidPairs", OPEN_B + " A\x7f\x21\x80\x21\x21\x0d", "\x00\x00\x00\x00\x00\x00\x00\x00"s},
    {"ClosingCutShort", OPEN_B + "\x24\x22" + ESC + "(", "\x82\xa0"},
    {"ZeroBytesOutsideRunKept", "a\0b"s, "a\0b"s},
};

class LineTest : public testing::TestWithParam<Case> {};

TEST_P(LineTest, Converts) {
    const Case& c = GetParam();
    std::string in = c.in;
    EXPECT_EQ(JisToSjisLine(in), c.want);
    EXPECT_EQ(in, c.in); // the argument stays as it was
}

// Into a buffer that held a longer line before: nothing of the old line is left.
TEST_P(LineTest, ConvertsIntoAReusedBuffer) {
    const Case& c = GetParam();
    std::string out(64, '#');
    JisToSjisLine(std::string_view(c.in), out);
    EXPECT_EQ(out, c.want);
}

INSTANTIATE_TEST_SUITE_P(JisToSjisLine, LineTest, testing::ValuesIn(kLineCases),
                         [](const auto& info) { return info.param.name; });

TEST(JisToSjisCode, Examples) {
    struct {
        int jis, sjis;
    } const cases[] = {
        {0x2121, 0x8140}, {0x2422, 0x82A0}, {0x3441, 0x8ABF}, {0x3B7A, 0x8E9A},
        {0x7E7E, 0xEFFC}, {0x2141, 0x8160}, {0x215F, 0x817E}, {0x2160, 0x8180},
        {0x5E21, 0x9F9F}, {0x5F21, 0xE040}, {0x2041, 0},      {0x217F, 0},
        {0x7F21, 0},      {0x2180, 0},      {0xA1A1, 0},      {0x12421, 0x829F},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JisToSjisCode(c.jis), c.sjis) << std::hex << c.jis;
}

// Every JIS X 0208 character that glibc knows, put in a run, converts to the bytes glibc's
// ISO-2022-JP to CP932 conversion gives.
TEST(JisToSjisLine, AgreesWithIconvOnEveryJisX0208Character) {
    iconv_t cd = iconv_open("CP932", "ISO-2022-JP");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int characters = 0;
    for (int j1 = 0x21; j1 <= 0x7E; ++j1)
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            std::string line = "k:" + OPEN_B + char(j1) + char(j2) + CLOSE_B + "\r";
            char out[32];
            char* ip = line.data();
            char* op = out;
            std::size_t il = line.size(), ol = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1)) {
                ASSERT_EQ(errno, EILSEQ);
                continue; // unassigned in JIS X 0208
            }
            ++characters;
            ASSERT_EQ(JisToSjisLine(line), std::string(out, op)) << std::hex << j1 << ' ' << j2;
        }
    iconv_close(cd);
    EXPECT_EQ(characters, 6879);
}

// The conversion works in place; a plain two-buffer reading of the same steps, run over random
// lines rich in escape bytes, must give the same bytes. Catches a write that overtakes the read.
std::string ConvertPlainly(const std::string& line) {
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = line.find("\x1b$", pos);
        if (open == std::string::npos) return out + line.substr(pos);
        out += line.substr(pos, open - pos);
        std::size_t cur = open + 3;
        for (; cur + 1 < line.size() && line[cur] != '\x1b'; cur += 2) {
            const int code =
                JisToSjisCode((unsigned char)line[cur] << 8 | (unsigned char)line[cur + 1]);
            out += char(code >> 8);
            out += char(code & 0xFF);
        }
        if (cur + 3 >= line.size()) return out;
        pos = cur + 3;
    }
}

TEST(JisToSjisLine, RandomLinesMatchAPlainReading) {
    const char alphabet[] = {'\x1b', '$',    '(',  'B',  '@', 'J',    '!',   '~',
                             '\x34', '\x41', '\r', '\0', 'x', '\x80', '\xff'};
    std::mt19937 rng(2022);
    for (int n = 0; n < 20000; ++n) {
        std::string line(rng() % 40, ' ');
        for (char& c : line)
            c = alphabet[rng() % sizeof alphabet];
        const std::string out = JisToSjisLine(line);
        ASSERT_EQ(out, ConvertPlainly(line)) << n;
        ASSERT_LE(out.size(), line.size());
    }
}

} // namespace
