#include "Cp932.h"

#include <QString>
#include <array>
#include <iconv.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::uint16_t Unmapped = 0xFFFF;

// Microsoft's code page 932 table, read once from glibc's "CP932" converter (which carries that
// table: 0x5C is the backslash, 0x8160 is U+FF5E, the NEC and IBM extensions and the user area).
// iconv stops at the first invalid byte, so it is asked one character at a time and the answers
// are kept in flat arrays; the conversions themselves never call it.
class Cp932Table {
  public:
    Cp932Table() {
        single.fill(0);
        isSingle.fill(false);
        isLead.fill(false);
        doubleChar.fill(0);
        toCp932.fill(Unmapped);
        foldingLead.fill(false);
        sameCharacter.fill(0);

        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv has no CP932 converter");
        for (int b = 0; b < 0x100; ++b)
            ReadSingle(cd, b);
        for (int lead = 0x81; lead < 0x100; ++lead)
            if (isLead[lead])
                for (int trail = 0; trail < 0x100; ++trail)
                    ReadDouble(cd, lead, trail);
        iconv_close(cd);
        single[0] = ZeroByteStandIn;
        BuildEncoder();
    }

    std::array<char16_t, 256> single;
    std::array<bool, 256> isSingle;
    std::array<bool, 256> isLead;
    std::array<char16_t, 65536> doubleChar;   // 0: no character
    std::array<std::uint16_t, 65536> toCp932; // code unit to byte (< 0x100) or lead<<8|trail
    std::array<bool, 256> foldingLead;        // leads of codes that come back in another form
    // The codes of one character, each leading to the next in Windows' order and the last back to
    // the first; 0 for a character of one code.
    std::array<std::uint16_t, 65536> sameCharacter;

  private:
    // One character of `len` bytes decoded by iconv: its single UTF-16 unit, or -1 for invalid,
    // -2 for incomplete.
    static int Decode(iconv_t cd, const char* bytes, std::size_t len) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char in[2] = {bytes[0], len > 1 ? bytes[1] : '\0'};
        char out[8];
        char* ip = in;
        char* op = out;
        std::size_t il = len, ol = sizeof out;
        if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1))
            return errno == EINVAL ? -2 : -1;
        if (op - out != 2) return -1;
        return static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8;
    }

    void ReadSingle(iconv_t cd, int b) {
        const char byte = static_cast<char>(b);
        const int u = Decode(cd, &byte, 1);
        if (u >= 0) {
            single[b] = static_cast<char16_t>(u);
            isSingle[b] = true;
        } else if (u == -2) {
            isLead[b] = true;
        }
    }

    void ReadDouble(iconv_t cd, int lead, int trail) {
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        const int u = Decode(cd, bytes, 2);
        if (u > 0) doubleChar[lead << 8 | trail] = static_cast<char16_t>(u);
    }

    // Several codes decode to one character (the NEC row 13 and the IBM extensions repeat JIS
    // X 0208 symbols; the NEC-selected IBM extensions repeat the IBM ones). Windows encodes such a
    // character as JIS X 0208 first, then NEC row 13, then the IBM extensions, and never as the
    // NEC-selected rows 0xED and 0xEE: the leads are visited in that order and the first wins.
    void BuildEncoder() {
        for (int b = 0; b < 0x100; ++b)
            if (isSingle[b] && toCp932[single[b]] == Unmapped) toCp932[single[b]] = b;
        auto visit = [this](int from, int to) {
            for (int lead = from; lead <= to; ++lead)
                for (int trail = 0; trail < 0x100; ++trail) {
                    const char16_t u = doubleChar[lead << 8 | trail];
                    if (u && toCp932[u] == Unmapped) toCp932[u] = lead << 8 | trail;
                }
        };
        const int order[][2] = {{0x81, 0x86}, {0x88, 0x9F}, {0xE0, 0xEC}, {0x87, 0x87},
                                {0xFA, 0xFC}, {0xF0, 0xF9}, {0xED, 0xEF}};
        for (const auto& [from, to] : order)
            visit(from, to);
        LinkDuplicates(order);
        for (int b = 0x80; b < 0x100; ++b)
            toCp932[ByteStandIn(static_cast<unsigned char>(b))] = static_cast<std::uint16_t>(b);
        toCp932[0] = 0;
        toCp932[ZeroByteStandIn] = 0;
        for (int code = 0x8100; code < 0x10000; ++code)
            if (doubleChar[code] && toCp932[doubleChar[code]] != code)
                foldingLead[code >> 8] = true;
    }

    template <class Order> void LinkDuplicates(const Order& order) {
        std::vector<std::uint16_t> last(65536); // the last code of each character so far
        for (const auto& [from, to] : order)
            for (int code = from << 8; code < (to + 1) << 8; ++code) {
                const char16_t u = doubleChar[code];
                if (!u || toCp932[u] == code || toCp932[u] < 0x100) continue;
                const std::uint16_t first = toCp932[u];
                const std::uint16_t previous = last[u] ? last[u] : first;
                sameCharacter[previous] = static_cast<std::uint16_t>(code);
                sameCharacter[code] = first;
                last[u] = static_cast<std::uint16_t>(code);
            }
    }
};

const Cp932Table& Table() {
    static const std::unique_ptr<Cp932Table> table = std::make_unique<Cp932Table>();
    return *table;
}

} // namespace

QString Cp932ToScreen(std::string_view text, bool* folds) {
    const Cp932Table& t = Table();
    const std::size_t n = text.size();
    QString out(static_cast<qsizetype>(n), Qt::Uninitialized);
    QChar* const begin = out.data();
    QChar* to = begin;
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (t.isSingle[b]) {
            *to++ = QChar(t.single[b]);
        } else if (t.isLead[b] && i + 1 < n) {
            const int code = b << 8 | static_cast<unsigned char>(text[i + 1]);
            const char16_t u = t.doubleChar[code];
            if (u) {
                *to++ = QChar(u);
                ++i;
                if (folds && t.foldingLead[b] && t.toCp932[u] != code) *folds = true;
            } else {
                *to++ = QChar(ByteStandIn(b)); // the trail byte is read again on its own
            }
        } else {
            *to++ = QChar(ByteStandIn(b));
        }
    }
    out.truncate(to - begin);
    return out;
}

std::string ScreenToCp932(QStringView screen) {
    std::string out;
    out.reserve(static_cast<std::size_t>(screen.size()));
    AppendScreenToCp932(screen, out);
    return out;
}

namespace {

// A lead byte that stood alone (its stand-in) would pair with the lead of the code that follows
// it if that pair is a character: then another code of the same character is written, one that
// does not pair, when the character has one. A character read from bytes always has one: the
// code it was read from.
std::uint16_t CodeAfterLoneLead(const Cp932Table& t, int loneLead, std::uint16_t code) {
    auto pairs = [&](std::uint16_t c) { return t.doubleChar[loneLead << 8 | c >> 8] != 0; };
    if (!pairs(code)) return code;
    for (std::uint16_t other = t.sameCharacter[code]; other && other != code;
         other = t.sameCharacter[other])
        if (!pairs(other)) return other;
    return code;
}

} // namespace

void AppendScreenToCp932(QStringView screen, std::string& out) {
    const Cp932Table& t = Table();
    const qsizetype n = screen.size();
    int loneLead = -1; // the lead byte just written for its stand-in
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = screen.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n &&
            QChar::isLowSurrogate(screen.at(i + 1).unicode())) {
            out += '?'; // beyond the BMP: nothing of it is in the code page
            loneLead = -1;
            ++i;
            continue;
        }
        std::uint16_t code = t.toCp932[u];
        if (code == Unmapped) {
            out += '?';
        } else if (code < 0x100) {
            out += static_cast<char>(code);
        } else {
            if (loneLead >= 0) code = CodeAfterLoneLead(t, loneLead, code);
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
        loneLead = IsByteStandIn(u) && t.isLead[u & 0xFF] ? u & 0xFF : -1;
    }
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c == 0xE0)
            more = 2, lo = 0xA0;
        else if (c >= 0xE1 && c <= 0xEC)
            more = 2;
        else if (c == 0xED)
            more = 2, hi = 0x9F; // no surrogates
        else if (c >= 0xEE && c <= 0xEF)
            more = 2;
        else if (c == 0xF0)
            more = 3, lo = 0x90;
        else if (c >= 0xF1 && c <= 0xF3)
            more = 3;
        else if (c == 0xF4)
            more = 3, hi = 0x8F; // nothing past U+10FFFF
        else
            return false;
        if (end - p <= more) return false;
        if (p[1] < lo || p[1] > hi) return false;
        for (int k = 2; k <= more; ++k)
            if (p[k] < 0x80 || p[k] > 0xBF) return false;
        p += more + 1;
    }
    return true;
}
