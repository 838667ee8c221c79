// A line of the text view: how an answer line is shown, and that it gives back its bytes.

#include "ViewLine.h"

#include <QString>
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace std::string_literals;

namespace {

std::string Back(const TViewLine& view, const std::string& kept = {}) {
    std::string out;
    ViewLineToBytes(view.screen, view.code, view.keepsBytes ? kept : std::string(), out);
    return out;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::u16string screen;
    TLineCode code;
};

constexpr TLineCode Cp932 = TLineCode::Cp932;
constexpr TLineCode Utf8 = TLineCode::Utf8;

const LineCase kLines[] = {
    {"Ascii", "Domain Name: EXAMPLE.JP", u"Domain Name: EXAMPLE.JP", Cp932},
    {"Utf8Japanese", "[\xe7\x99\xbb\xe9\x8c\xb2\xe8\x80\x85\xe5\x90\x8d]",
     u"[\u767b\u9332\u8005\u540d]", Utf8},
    {"Cp932Japanese", "[\x93\x6f\x98\x5e\x8e\xd2\x96\xbc]", u"[\u767b\u9332\u8005\u540d]", Cp932},
    {"HalfwidthKatakana", "\xb6\xc5 kana", u"\uff76\uff85 kana", Cp932},
    {"Utf8MixedAscii", "Registrant: \xe6\x97\xa5\xe6\x9c\xac abc", u"Registrant: \u65e5\u672c abc",
     Utf8},
    {"Utf8OverlongIsCp932", "\xc0\xaf", u"\uff80\uff6f", Cp932},
    {"Utf8SurrogateIsCp932", "\xed\xa0\x80", u"\u605d\uf780", Cp932},
    {"TruncatedUtf8IsCp932", "\xe6\x97", u"\u8b4c", Cp932},
    {"Utf8OutsideTheCodePage", "Registrant: J\xc3\xbcrgen M\xc3\xbcller",
     u"Registrant: J\u00fcrgen M\u00fcller", Utf8},
    {"HangulAndEmoji", "\xed\x95\x9c\xea\xb8\x80 \xf0\x9f\x98\x80", u"\ud55c\uae00 \U0001F600",
     Utf8},
    {"KanjiNotSylotiNagri", "Name: \xea\xa0\x81\x40", u"Name: \u69c7\u3000", Cp932},
    {"KanjiAndFullwidthA", "\xe3\x81\x82\x60", u"\u7e3a\uff21", Cp932},
    {"HalfwidthPairNotAccent", "\xc3\xa9", u"\uff83\uff69", Cp932},
    {"AccentInAName", "Registrant: Jos\xc3\xa9", u"Registrant: Jos\u00e9", Utf8},
    {"InvalidBytes", "a\x80\xff\x82", u"a\uf780\uf7ff\uf782", Cp932},
    {"ZeroByte", "a\0\0z"s, u"a\u2400\u2400z", Cp932},
    {"ZeroByteInUtf8", "\xc3\xa9t\xc3\xa9\0x"s, u"\u00e9t\u00e9\u2400x", Utf8},
    {"LoneCr", "a\rb", u"a\u240db", Cp932},
    {"LoneCrInUtf8", "M\xc3\xbcller\rx", u"M\u00fcller\u240dx", Utf8},
    {"NoBreakSpaceStays", "Jos\xc3\xa9\xc2\xa0M", u"Jos\u00e9\u00a0M", Utf8},
    {"LineSeparatorByItsBytes", "M\xc3\xbcller\xe2\x80\xa8x", u"M\u00fcller\uf7e2\uf780\uf7a8x",
     Utf8},
    {"ParagraphSeparatorByItsBytes", "M\xc3\xbcller\xe2\x80\xa9x",
     u"M\u00fcller\uf7e2\uf780\uf7a9x", Utf8},
    {"NoncharacterOfTheDocument", "M\xc3\xbcller\xef\xb7\x90", u"M\u00fcller\uf7ef\uf7b7\uf790",
     Utf8},
    {"StandInsWrittenInUtf8", "M\xc3\xbcller \xe2\x90\x80\xef\x9e\x80",
     u"M\u00fcller \uf7e2\uf790\uf780\uf7ef\uf79e\uf780", Utf8},
    {"ZeroWidthSpaceByItsBytes", "M\xc3\xbcller\xe2\x80\x8bx", u"M\u00fcller\uf7e2\uf780\uf78bx",
     Utf8},
};

TEST(ViewLine, AnswerLinesShowAndComeBack) {
    for (const auto& c : kLines) {
        const TViewLine view = AnswerLineToView(c.bytes);
        EXPECT_EQ(view.screen.toStdU16String(), c.screen) << c.name;
        EXPECT_EQ(view.code, c.code) << c.name;
        EXPECT_EQ(Back(view, c.bytes), c.bytes) << c.name;
    }
}

// The NEC and IBM duplicates decode to characters that Windows writes in another form: such a
// line keeps its bytes, and gives them back while it is unchanged.
TEST(ViewLine, DuplicateCodesComeBackAsTheyArrived) {
    const std::string line = "\xed\x40 \xfa\x54"; // the NEC-selected IBM 纊, the IBM ¬
    const TViewLine view = AnswerLineToView(line);
    EXPECT_EQ(view.screen.toStdU16String(), u"\u7e8a \uffe2");
    EXPECT_TRUE(view.keepsBytes);
    EXPECT_EQ(Back(view, line), line);
    std::string edited;
    ViewLineToBytes(view.screen + QChar(u'x'), view.code, line, edited);
    EXPECT_EQ(edited, "\xfa\x5c \x81\xcax"); // once edited, the line is written as Windows does
}

// Every line comes back byte for byte: random bytes, and random characters in UTF-8 among ASCII
// (with zero bytes, CRs and the stand-ins' own characters among them).
TEST(ViewLine, RandomLinesComeBack) {
    std::mt19937 rng(20);
    std::uniform_int_distribution<int> length(0, 40), kind(0, 9), byte(0, 255), ascii(0, 0x7f);
    std::uniform_int_distribution<char32_t> codePoint(0x80, 0x10FFFF), special(0, 3);
    const char32_t specials[] = {0x2028, 0x2029, 0x2400, 0xF7A0};
    int utf8 = 0;
    for (int n = 0; n < 20000; ++n) {
        const bool withRawBytes = n % 3 == 0;
        std::string line;
        for (int i = length(rng); i > 0; --i) {
            const int k = kind(rng);
            if (k == 0 && withRawBytes) {
                line += char(byte(rng));
            } else if (k <= 2) {
                char32_t c = k == 1 ? specials[special(rng)] : codePoint(rng);
                if (c >= 0xD800 && c <= 0xDFFF) c = 0xE9;
                line += QString::fromUcs4(&c, 1).toStdString();
            } else {
                line += char(ascii(rng));
            }
        }
        std::erase(line, '\n');
        const TViewLine view = AnswerLineToView(line);
        utf8 += view.code == Utf8;
        ASSERT_EQ(Back(view, line), line) << n;
    }
    EXPECT_GT(utf8, 5000);
}

// Text typed into a line takes its code: a code page 932 line writes "?" for what it lacks.
TEST(ViewLine, TypedTextTakesTheLineCode) {
    const struct {
        std::u16string screen;
        TLineCode code;
        std::string bytes;
    } cases[] = {
        {u"caf\u00e9 \u65e5", Cp932, "caf? \x93\xfa"},
        {u"caf\u00e9 \u65e5", Utf8, "caf\xc3\xa9 \xe6\x97\xa5"},
        {u"a\u2400\u240d\uf7ff", Utf8, "a\0\r\xff"s},
        {u"a\u2400\u240d\uf7ff", Cp932, "a\0\r\xff"s},
        {u"a\xd800z", Utf8, "a?z"},
    };
    for (const auto& c : cases) {
        std::string out;
        ViewLineToBytes(QString::fromStdU16String(c.screen), c.code, {}, out);
        EXPECT_EQ(out, c.bytes);
    }
}

std::string Times(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += s;
    return out;
}

// A word longer than LongWord gets the view's breaks, and nothing else does: between characters
// only (never inside a pair, never before a mark), never more than BreakEvery units apart but
// where a character forbids one, and they give back no bytes.
TEST(ViewLine, LongWordsGetBreaks) {
    const std::size_t n = LongWord;
    const struct {
        const char* name;
        std::string bytes;
        bool breaks;
    } cases[] = {
        {"WordOfLongWordCharacters", std::string(n, 'x'), false},
        {"LongerWord", "a " + std::string(n + 1, 'x') + " b", true},
        {"ManyShortWords", Times("abcdefghi ", 300), false},
        {"Cp932Kanji", Times("\x8a\xbf", n + 1), true},
        {"Utf8Accents", Times("J\xc3\xa9", n), true},
        {"CombiningMarks", Times("e\xcc\x81", n), true},
        {"PairsStayWhole", Times("\xf0\x9f\x98\x80", n), true},
        {"CrAndZeroInTheWord", std::string(n, 'x') + "\r\0y"s, true},
    };
    for (const auto& c : cases) {
        const TViewLine view = AnswerLineToView(c.bytes);
        const QString screen = view.screen;
        EXPECT_EQ(Back(view, c.bytes), c.bytes) << c.name;
        QString without = screen;
        without.remove(QChar(BreakHere));
        EXPECT_EQ(without.size() < screen.size(), c.breaks) << c.name;
        qsizetype run = 0;
        for (qsizetype i = 0; i < screen.size(); ++i) {
            if (screen.at(i) != QChar(BreakHere)) {
                const bool wordEnds = screen.at(i).isSpace() || i + 1 == screen.size();
                if (c.breaks && wordEnds) {
                    EXPECT_LE(run, BreakEvery + 1) << c.name << " at " << i;
                }
                run = screen.at(i).isSpace() ? 0 : run + 1;
                continue;
            }
            ASSERT_TRUE(i > 0 && i + 1 < screen.size()) << c.name;
            EXPECT_FALSE(screen.at(i - 1).isHighSurrogate() || screen.at(i + 1).isMark()) << c.name;
            EXPECT_LE(run, BreakEvery + 1) << c.name << " at " << i;
            run = 0;
        }
    }
    std::u16string broken;
    for (qsizetype i = 0; i < LongWord + 1; ++i)
        broken += (i > 0 && i % BreakEvery == 0 ? u"\u200bx" : u"x");
    EXPECT_EQ(Cp932LineToView(std::string(n + 1, 'x')).toStdU16String(), broken);
}

// A line that keeps its bytes gives them back with its breaks; once edited it is written from the
// screen, without the breaks.
TEST(ViewLine, BreaksInALineThatKeepsItsBytes) {
    const std::string line = "\xed\x40" + std::string(LongWord, 'x');
    const TViewLine view = AnswerLineToView(line);
    ASSERT_TRUE(view.keepsBytes);
    EXPECT_GT(view.screen.size(), LongWord + 1);
    EXPECT_EQ(Back(view, line), line);
    std::string edited;
    ViewLineToBytes(view.screen + QChar(u'y'), view.code, line, edited);
    EXPECT_EQ(edited, "\xfa\x5c" + std::string(LongWord, 'x') + "y");
}

TEST(ViewLine, Cp932LinesOfTheProgram) {
    EXPECT_EQ(Cp932LineToView("a\rb\0c"s).toStdU16String(), u"a\u240db\u2400c");
}

} // namespace
