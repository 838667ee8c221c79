#include "Cp932OrUtf8.h"

#include <QChar>
#include <array>
#include <vector>

namespace {

// A letter's script for the script-change count. Japanese mixes kanji, both kana and the
// full-width forms freely, so they are one group; half-width katakana and full-width Latin
// letters have groups of their own that join that one. Chinese, Japanese and Korean write Latin
// words without a blank ("株式会社ABC"), so ASCII letters join kanji, kana and Hangul too, but not
// half-width katakana ("Josﾃｩ").
using Group = int;
constexpr Group NoLetter = -1;
constexpr Group Cjk = QChar::Script_Han;
constexpr Group Halfwidth = QChar::ScriptCount;
constexpr Group Fullwidth = QChar::ScriptCount + 1;
constexpr int GroupCount = QChar::ScriptCount + 2;

bool IsMark(char32_t c) {
    const QChar::Category cat = QChar::category(c);
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining ||
           cat == QChar::Mark_Enclosing;
}

Group GroupOf(char32_t c) {
    if (c < 0x80) return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') ? QChar::Script_Latin : NoLetter;
    if (c >= 0xFF61 && c <= 0xFF9F) return Halfwidth;
    if (c >= 0xFF21 && c <= 0xFF5A) return QChar::isLetter(c) ? Fullwidth : NoLetter;
    if (c == 0x30FC || c == 0x3005) return Cjk; // the long vowel mark and the repetition mark
    if (!QChar::isLetter(c) && !IsMark(c)) return NoLetter;
    const QChar::Script script = QChar::script(c);
    if (script == QChar::Script_Hiragana || script == QChar::Script_Katakana) return Cjk;
    return script;
}

bool Compatible(Group a, Group b) {
    auto japanese = [](Group g) { return g == Cjk || g == Halfwidth || g == Fullwidth; };
    auto latinBeside = [](Group x, Group y) {
        return x == QChar::Script_Latin && (y == Cjk || y == QChar::Script_Hangul);
    };
    return a == b || (japanese(a) && japanese(b)) || latinBeside(a, b) || latinBeside(b, a);
}

// The scripts in widespread modern use (Unicode's recommended scripts), and the two that letters
// of every script share.
bool ModernScript(QChar::Script s) {
    switch (s) {
    case QChar::Script_Common:
    case QChar::Script_Inherited:
    case QChar::Script_Arabic:
    case QChar::Script_Armenian:
    case QChar::Script_Bengali:
    case QChar::Script_Bopomofo:
    case QChar::Script_Cyrillic:
    case QChar::Script_Devanagari:
    case QChar::Script_Ethiopic:
    case QChar::Script_Georgian:
    case QChar::Script_Greek:
    case QChar::Script_Gujarati:
    case QChar::Script_Gurmukhi:
    case QChar::Script_Hangul:
    case QChar::Script_Han:
    case QChar::Script_Hebrew:
    case QChar::Script_Hiragana:
    case QChar::Script_Kannada:
    case QChar::Script_Katakana:
    case QChar::Script_Khmer:
    case QChar::Script_Lao:
    case QChar::Script_Latin:
    case QChar::Script_Malayalam:
    case QChar::Script_Myanmar:
    case QChar::Script_Oriya:
    case QChar::Script_Sinhala:
    case QChar::Script_Tamil:
    case QChar::Script_Telugu:
    case QChar::Script_Thaana:
    case QChar::Script_Thai:
    case QChar::Script_Tibetan:
        return true;
    default:
        return false;
    }
}

// Blocks of modern scripts that hold phonetic, archaic or liturgical characters only.
bool RareBlock(char32_t c) {
    return (c >= 0x250 && c <= 0x2FF) ||                             // IPA, modifier letters
           (c >= 0x370 && c <= 0x385 && c != 0x374 && c != 0x375) || // archaic Greek, tonos
           (c >= 0x3CF && c <= 0x3FF) ||                             // Coptic, Greek symbols
           (c >= 0x460 && c <= 0x489) ||                             // historic Cyrillic
           (c >= 0x500 && c <= 0x52F) ||                             // Cyrillic supplement
           (c >= 0x591 && c <= 0x5AF);                               // Hebrew cantillation
}

// Format characters other than the joiners, the direction marks and the byte order mark.
bool StrayFormat(char32_t c) {
    if (QChar::category(c) != QChar::Other_Format) return false;
    return !((c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || c == 0x2060 ||
             c == 0xFEFF);
}

// A character that normalization replaces by another single one (U+037E by ";").
bool Singleton(char32_t c) {
    if (c > 0xFFFF || QChar::decompositionTag(c) != QChar::Canonical) return false;
    return QChar(static_cast<char16_t>(c)).decomposition().size() == 1;
}

bool NoRegistryWrites(char32_t c) {
    const QChar::Category cat = QChar::category(c);
    if (cat == QChar::Other_NotAssigned || cat == QChar::Other_PrivateUse ||
        cat == QChar::Other_Surrogate || (c >= 0x80 && c < 0xA0) || (c >= 0xFDD0 && c <= 0xFDEF) ||
        (c & 0xFFFE) == 0xFFFE)
        return true;
    return c >= 0x80 &&
           (!ModernScript(QChar::script(c)) || RareBlock(c) || StrayFormat(c) || Singleton(c));
}

// Brackets are left out: they open and close labels such as "[名前]" right after a word.
bool GluedSign(char32_t c) {
    switch (c) {
    case '@':
    case '\\':
    case '^':
    case '_':
    case '`':
    case '|':
    case '~':
        return true;
    default:
        return false;
    }
}

std::vector<char32_t> CodePoints(const QString& s) {
    std::vector<char32_t> out;
    out.reserve(static_cast<std::size_t>(s.size()));
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            out.push_back(QChar::surrogateToUcs4(u, s.at(++i).unicode()));
        else
            out.push_back(u);
    }
    return out;
}

struct Signs {
    int unwritten = 0; // characters no registry writes
    int changes = 0;   // script changes between neighbouring letters
    int alone = 0;     // letters alone in their word and in their script
    int glued = 0;     // non-ASCII characters glued to a rare ASCII sign
    int Weight() const { return 2 * unwritten + changes + alone + glued; }
};

bool WordCharacter(char32_t c) {
    return GroupOf(c) != NoLetter || QChar::isDigit(c);
}

// A letter of an alphabet (not kanji, kana or Hangul) on its own, with no other of its script.
int LettersAlone(const std::vector<char32_t>& chars) {
    std::array<int, GroupCount> perGroup{};
    for (char32_t c : chars)
        if (const Group g = GroupOf(c); g != NoLetter && !IsMark(c)) ++perGroup[g];
    int alone = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        const Group g = GroupOf(c);
        if (c < 0x80 || g == NoLetter || IsMark(c) || g == Cjk || g == Halfwidth ||
            g == Fullwidth || g == QChar::Script_Hangul)
            continue;
        const bool before = i > 0 && WordCharacter(chars[i - 1]);
        const bool after = i + 1 < chars.size() && WordCharacter(chars[i + 1]);
        alone += !before && !after && perGroup[g] == 1;
    }
    return alone;
}

// The code page 932 reading needs only its script changes, and none at all once a character no
// registry writes rules it out.
Signs Measure(const QString& reading, bool asCp932) {
    Signs signs;
    const std::vector<char32_t> chars = CodePoints(reading);
    Group previous = NoLetter;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        const bool mark = IsMark(c);
        if (NoRegistryWrites(c) || (mark && previous == NoLetter)) {
            ++signs.unwritten;
            if (asCp932) return signs;
        }
        const Group g = GroupOf(c);
        if (g != NoLetter && previous != NoLetter && !mark && !Compatible(g, previous))
            ++signs.changes;
        if (c >= 0x80 && i + 1 < chars.size() && GluedSign(chars[i + 1])) ++signs.glued;
        if (g == NoLetter)
            previous = NoLetter;
        else if (!mark)
            previous = g;
    }
    if (!asCp932) signs.alone = LettersAlone(chars);
    return signs;
}

} // namespace

bool Cp932ReadingWins(const QString& asUtf8, const QString& asCp932) {
    const Signs cp932 = Measure(asCp932, true);
    if (cp932.unwritten > 0) return false; // an invalid byte or the user-defined area
    return Measure(asUtf8, false).Weight() > cp932.changes;
}
