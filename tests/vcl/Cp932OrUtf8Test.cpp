// Which reading of a line valid both as UTF-8 and as code page 932 wins: the known misreadings,
// and the rates on generated Japanese code page 932 lines and UTF-8 lines of many scripts.

#include "Cp932OrUtf8.h"

#include "Cp932.h"

#include <QString>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

bool Cp932Wins(const std::string& bytes) {
    return Cp932ReadingWins(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())),
                            Cp932ToScreen(bytes));
}

struct Case {
    const char* name;
    std::string bytes;
    bool cp932;
};

const Case kCases[] = {
    // 槇 and an ideographic space, read as UTF-8 a Syloti Nagri letter and "@"
    {"KanjiNotSylotiNagri", "Name: \xea\xa0\x81\x40", true},
    // 縺Ａ, read as UTF-8 "あ`"
    {"KanjiAndFullwidthA", "\xe3\x81\x82\x60", true},
    // ﾃｩ, read as UTF-8 "é"
    {"HalfwidthKatakanaPair", "\xc3\xa9", true},
    {"NameWithAccent", "Registrant: Jos\xc3\xa9", false},
    {"GermanName", "Registrant: J\xc3\xbcrgen M\xc3\xbcller", false},
    {"Greek", "\xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1", false},
    {"Cyrillic", "\xd0\xb0\xd0\xb1\xd0\xb2 \xd0\xb3\xd0\xb4", false},
    {"Hebrew", "\xd7\xa9\xd7\xa8\xd7\xaa", false},
    {"Japanese", "[\xe5\x90\x8d\xe5\x89\x8d] \xe6\x97\xa5\xe6\x9c\xac", false},
    {"Copyright", "\xc2\xa9 2024 Example", false},
    // 株式会社ABC: the last byte of 社 and "A" read as code page 932 make a symbol
    {"KanjiBeforeLatin",
     "\xe6\xa0\xaa\xe5\xbc\x8f\xe4\xbc\x9a\xe7\xa4\xbe"
     "ABC",
     false},
};

TEST(Cp932OrUtf8, KnownLines) {
    for (const auto& c : kCases)
        EXPECT_EQ(Cp932Wins(c.bytes), c.cp932) << c.name;
}

// A code page 932 reading with a byte that is no character there never wins, however odd the
// UTF-8 reading: here a Syloti Nagri letter, and 槇 followed by a lead byte without its trail.
TEST(Cp932OrUtf8, InvalidCp932ReadingLoses) {
    const std::string line = "\xea\xa0\x81";
    EXPECT_FALSE(Cp932Wins(line));
    EXPECT_TRUE(Cp932Wins(line + "\x40"));
}

// --- generated lines ---

using Rng = std::mt19937;

int Pick(Rng& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

std::string Utf8(char32_t c) {
    return QString::fromUcs4(&c, 1).toStdString();
}

const char* const kAsciiWords[] = {
    "Name:",    "Registrant", "Address:",   "[Organization]", "Tel:", "a.",
    "[Name]",   "City",       "example.jp", "2024/01/01",     "ABC",  "Contact:",
    "+81.3123", "Street",     "No.",        "(JP)",           "x"};

std::string AsciiWord(Rng& rng) {
    return kAsciiWords[Pick(rng, 0, std::size(kAsciiWords) - 1)];
}

using Ranges = std::vector<std::pair<char32_t, char32_t>>;

char32_t FromRanges(Rng& rng, const Ranges& ranges) {
    int total = 0;
    for (const auto& r : ranges)
        total += static_cast<int>(r.second - r.first + 1);
    int k = Pick(rng, 0, total - 1);
    for (const auto& r : ranges) {
        const int n = static_cast<int>(r.second - r.first + 1);
        if (k < n) return r.first + static_cast<char32_t>(k);
        k -= n;
    }
    return 'x';
}

// A script as its letters are written: one letter, or a syllable where the script builds them.
struct Script {
    const char* name;
    Ranges letters;
    bool cjk; // words may touch ASCII without a blank
    std::string (*syllable)(Rng&, const Script&);
};

std::string Letter(Rng& rng, const Script& s) {
    return Utf8(FromRanges(rng, s.letters));
}

// Names and words with diacritics: most letters plain ASCII.
std::string LatinLetter(Rng& rng, const Script& s) {
    if (Pick(rng, 0, 4) != 0)
        return std::string(1, char((Pick(rng, 0, 1) ? 'a' : 'A') + Pick(rng, 0, 25)));
    return Letter(rng, s);
}

// An optional leading vowel, a consonant, an optional vowel and an optional tone mark.
std::string ThaiSyllable(Rng& rng, const Script&) {
    std::string out;
    if (Pick(rng, 0, 4) == 0) out += Utf8(0xE40 + Pick(rng, 0, 4));
    out += Utf8(0xE01 + Pick(rng, 0, 0x2D));
    switch (Pick(rng, 0, 5)) {
    case 0:
        out += Utf8(0xE34 + Pick(rng, 0, 5));
        break;
    case 1:
        out += Utf8(0xE32);
        break;
    case 2:
        out += Utf8(0xE30);
        break;
    default:
        break;
    }
    if (Pick(rng, 0, 3) == 0) out += Utf8(0xE48 + Pick(rng, 0, 3));
    return out;
}

// A vowel, or a consonant with a vowel sign or a conjunct, and now and then an anusvara.
std::string DevanagariSyllable(Rng& rng, const Script&) {
    if (Pick(rng, 0, 6) == 0) return Utf8(0x905 + Pick(rng, 0, 0xF));
    std::string out = Utf8(0x915 + Pick(rng, 0, 0x24));
    switch (Pick(rng, 0, 4)) {
    case 0:
        out += Utf8(0x93E + Pick(rng, 0, 0xE));
        break;
    case 1:
        out += Utf8(0x94D) + Utf8(0x915 + Pick(rng, 0, 0x24));
        break;
    default:
        break;
    }
    if (Pick(rng, 0, 6) == 0) out += Utf8(0x902);
    return out;
}

const std::vector<Script>& Scripts() {
    static const std::vector<Script> scripts = {
        {"LatinWithDiacritics",
         {{0xC0, 0xD6}, {0xD8, 0xF6}, {0xF8, 0xFF}, {0x100, 0x17F}},
         false,
         LatinLetter},
        {"Greek",
         {{0x391, 0x3A1}, {0x3A3, 0x3A9}, {0x3B1, 0x3C9}, {0x3AC, 0x3AF}, {0x3CC, 0x3CE}},
         false,
         Letter},
        {"Cyrillic",
         {{0x410, 0x44F},
          {0x401, 0x401},
          {0x451, 0x451},
          {0x454, 0x454},
          {0x456, 0x457},
          {0x490, 0x491}},
         false,
         Letter},
        {"ArabicAndPersian",
         {{0x621, 0x63A},
          {0x641, 0x64A},
          {0x67E, 0x67E},
          {0x686, 0x686},
          {0x698, 0x698},
          {0x6A9, 0x6A9},
          {0x6AF, 0x6AF},
          {0x6CC, 0x6CC}},
         false,
         Letter},
        {"Hebrew", {{0x5D0, 0x5EA}}, false, Letter},
        {"Thai", {}, false, ThaiSyllable},
        {"Devanagari", {}, false, DevanagariSyllable},
        {"Chinese", {{0x4E00, 0x9FA5}}, true, Letter},
        {"Korean", {{0xAC00, 0xD7A3}}, true, Letter},
        {"Japanese",
         {{0x4E00, 0x9FA5}, {0x3041, 0x3093}, {0x30A1, 0x30F6}, {0x30FC, 0x30FC}},
         true,
         Letter},
    };
    return scripts;
}

// Words of one to eight letters (one in twenty of a single letter), some of them labels in
// brackets, ASCII words between them.
std::string Utf8Line(Rng& rng, const Script& script) {
    std::string line;
    for (int left = Pick(rng, 2, 20); left > 0;) {
        if (Pick(rng, 0, 2) == 0) {
            if (!line.empty() && !(script.cjk && Pick(rng, 0, 4) == 0)) line += ' ';
            line += AsciiWord(rng);
        }
        const int length = std::min(left, Pick(rng, 0, 19) == 0 ? 1 : Pick(rng, 2, 8));
        if (!line.empty() && !(script.cjk && Pick(rng, 0, 4) == 0)) line += ' ';
        const bool label = Pick(rng, 0, 5) == 0;
        if (label) line += '[';
        for (int i = 0; i < length; ++i)
            line += script.syllable(rng, script);
        if (label) line += ']';
        left -= length;
    }
    return line;
}

// The characters of code page 932 by kind, read from its table.
struct Cp932Kinds {
    std::vector<std::string> kanji, hiragana, katakana, halfwidth, fullwidth, symbols;
};

const Cp932Kinds& Kinds() {
    static const Cp932Kinds kinds = [] {
        Cp932Kinds k;
        for (int lead = 0x81; lead <= 0xEA; ++lead)
            for (int trail = 0x40; trail <= 0xFC && (lead < 0xA0 || lead >= 0xE0); ++trail) {
                const std::string bytes{char(lead), char(trail)};
                const QString s = Cp932ToScreen(bytes);
                if (s.size() != 1 || IsByteStandIn(s.at(0).unicode())) continue;
                const char16_t u = s.at(0).unicode();
                if (lead >= 0x88 && QChar(u).script() == QChar::Script_Han)
                    k.kanji.push_back(bytes);
                else if (u >= 0x3041 && u <= 0x3093)
                    k.hiragana.push_back(bytes);
                else if (u >= 0x30A1 && u <= 0x30F6)
                    k.katakana.push_back(bytes);
                else if ((u >= 0xFF10 && u <= 0xFF19) || (u >= 0xFF21 && u <= 0xFF3A) ||
                         (u >= 0xFF41 && u <= 0xFF5A))
                    k.fullwidth.push_back(bytes);
                else if (lead == 0x81)
                    k.symbols.push_back(bytes);
            }
        for (int b = 0xA1; b <= 0xDF; ++b)
            k.halfwidth.emplace_back(1, char(b));
        return k;
    }();
    return kinds;
}

// Runs of kanji, hiragana, katakana, half-width katakana, full-width letters and digits, single
// symbols and ASCII words, one after another.
std::string Cp932Line(Rng& rng) {
    const Cp932Kinds& k = Kinds();
    const std::vector<std::string>* const runs[] = {&k.kanji,     &k.hiragana,  &k.katakana,
                                                    &k.halfwidth, &k.fullwidth, &k.symbols};
    std::string line;
    for (int left = Pick(rng, 2, 20); left > 0;) {
        const int kind = Pick(rng, 0, 6);
        if (kind == 6) {
            if (!line.empty() && Pick(rng, 0, 1)) line += ' ';
            line += AsciiWord(rng);
            if (Pick(rng, 0, 1)) line += ' ';
            --left;
            continue;
        }
        const auto& from = *runs[kind];
        const int length = kind == 5 ? 1 : std::min(left, Pick(rng, 1, kind == 3 ? 8 : 4));
        for (int i = 0; i < length; ++i)
            line += from[static_cast<std::size_t>(Pick(rng, 0, static_cast<int>(from.size()) - 1))];
        left -= length;
    }
    return line;
}

bool HasEightBitByte(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

bool ValidCp932(const std::string& s) {
    const QString screen = Cp932ToScreen(s);
    for (QChar c : screen)
        if (IsByteStandIn(c.unicode())) return false;
    return true;
}

constexpr int kLines = 20000;

// Of the generated Japanese lines, those valid as UTF-8 too (about one in four hundred) are the
// ones the decision sees; at most one in a thousand of all lines may be read as UTF-8.
TEST(Cp932OrUtf8, GeneratedJapaneseLinesStayCp932) {
    Rng rng(932);
    int ambiguous = 0, readAsUtf8 = 0;
    for (int i = 0; i < kLines; ++i) {
        const std::string line = Cp932Line(rng);
        if (!HasEightBitByte(line) || !IsValidUtf8(line)) continue;
        ++ambiguous;
        readAsUtf8 += !Cp932Wins(line);
    }
    EXPECT_GT(ambiguous, kLines / 1000); // enough lines for the rate to mean something
    EXPECT_LE(readAsUtf8, kLines / 1000) << "of " << ambiguous << " lines valid both ways";
}

// Of the generated UTF-8 lines of each script, at most one in a thousand may be read as code
// page 932; the lines valid there too (up to one in six) are the ones the decision sees.
TEST(Cp932OrUtf8, GeneratedUtf8LinesStayUtf8) {
    for (const Script& script : Scripts()) {
        Rng rng(65001);
        int ambiguous = 0, readAsCp932 = 0;
        for (int n = 0; n < kLines;) {
            const std::string line = Utf8Line(rng, script);
            if (!HasEightBitByte(line)) continue;
            ++n;
            if (!ValidCp932(line)) continue;
            ++ambiguous;
            readAsCp932 += Cp932Wins(line);
        }
        EXPECT_GT(ambiguous, kLines / 1000) << script.name;
        EXPECT_LE(readAsCp932, kLines / 1000)
            << script.name << ", of " << ambiguous << " lines valid both ways";
    }
}

} // namespace
