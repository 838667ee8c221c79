#include "ViewLine.h"

#include "Cp932.h"
#include "Cp932OrUtf8.h"

#include <algorithm>

namespace {

bool HasEightBitByte(std::string_view line) {
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// A character of a UTF-8 line that the view cannot hold as itself: a line or paragraph break of
// the document, one of the stand-ins, or the view's own break opportunity.
bool HeldByItsBytes(char16_t u) {
    return u == 0x2028 || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1 || u == ZeroByteStandIn ||
           u == CrStandIn || u == BreakHere || IsByteStandIn(u);
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The plain UTF-8 reading with the stand-ins of the view put in; most lines need none.
QString Utf8LineToView(QString reading) {
    const auto special = [](QChar c) {
        return c.unicode() == 0 || c.unicode() == '\r' || HeldByItsBytes(c.unicode());
    };
    if (std::none_of(reading.cbegin(), reading.cend(), special)) return reading;
    QString view;
    view.reserve(reading.size() + 8);
    for (const QChar c : reading) {
        const char16_t u = c.unicode();
        if (u == 0)
            view += QChar(ZeroByteStandIn);
        else if (u == '\r')
            view += QChar(CrStandIn);
        else if (HeldByItsBytes(u)) {
            std::string bytes;
            AppendUtf8(u, bytes); // all of them lie in the BMP
            for (char b : bytes)
                view += QChar(ByteStandIn(static_cast<unsigned char>(b)));
        } else
            view += c;
    }
    return view;
}

// A break goes between two characters, never inside one (a surrogate pair) nor before a mark or a
// joiner or variation selector that belongs to the character before it.
bool BreakableBetween(QChar before, QChar after) {
    return !before.isHighSurrogate() && !after.isLowSurrogate() && !after.isMark() &&
           before.unicode() != 0x200D && after.unicode() != 0x200D &&
           !(after.unicode() >= 0xFE00 && after.unicode() <= 0xFE0F);
}

} // namespace

QString WithBreaksInLongWords(QString screen) {
    const qsizetype n = screen.size();
    if (n <= LongWord) return screen;
    QString out;
    qsizetype copied = 0; // screen[0, copied) is in `out`
    for (qsizetype start = 0; start < n;) {
        if (screen.at(start).isSpace()) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < n && !screen.at(end).isSpace())
            ++end;
        if (end - start > LongWord) {
            if (out.isEmpty()) out.reserve(n + (n - start));
            out.append(QStringView(screen).mid(copied, start - copied));
            qsizetype sinceBreak = 0;
            for (qsizetype i = start; i < end; ++i) {
                out.append(screen.at(i));
                if (++sinceBreak >= BreakEvery && i + 1 < end &&
                    BreakableBetween(screen.at(i), screen.at(i + 1))) {
                    out.append(QChar(BreakHere));
                    sinceBreak = 0;
                }
            }
            copied = end;
        }
        start = end;
    }
    if (copied == 0) return screen;
    out.append(QStringView(screen).mid(copied));
    return out;
}

namespace {

QString Cp932WithStandIns(std::string_view line, QString view) {
    if (line.find('\r') != std::string_view::npos) view.replace(QChar(u'\r'), QChar(CrStandIn));
    return WithBreaksInLongWords(std::move(view));
}

} // namespace

QString Cp932LineToView(std::string_view line) {
    return Cp932WithStandIns(line, Cp932ToScreen(line));
}

TViewLine AnswerLineToView(std::string_view line) {
    TViewLine view;
    QString asCp932 = Cp932ToScreen(line, &view.keepsBytes);
    if (HasEightBitByte(line) && IsValidUtf8(line)) {
        QString asUtf8 = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        if (!Cp932ReadingWins(asUtf8, asCp932)) {
            view.screen = WithBreaksInLongWords(Utf8LineToView(std::move(asUtf8)));
            view.code = TLineCode::Utf8;
            view.keepsBytes = false;
            return view;
        }
    }
    view.screen = Cp932WithStandIns(line, std::move(asCp932));
    return view;
}

TViewLine Utf8LineToViewLine(std::string_view line) {
    if (!HasEightBitByte(line) || !IsValidUtf8(line)) return AnswerLineToView(line);
    TViewLine view;
    view.screen = WithBreaksInLongWords(
        Utf8LineToView(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()))));
    view.code = TLineCode::Utf8;
    return view;
}

void ViewLineToBytes(QStringView screen, TLineCode code, std::string_view kept, std::string& out) {
    if (!kept.empty() && screen == Cp932LineToView(kept)) {
        out += kept;
        return;
    }
    if (code == TLineCode::Cp932) {
        // The code page's own encoder knows every stand-in but the CR's, which single-line
        // fields must not turn into a line break; the view's breaks are no characters.
        qsizetype from = 0;
        for (qsizetype i = 0; i < screen.size(); ++i) {
            const char16_t u = screen.at(i).unicode();
            if (u != CrStandIn && u != BreakHere) continue;
            AppendScreenToCp932(screen.mid(from, i - from), out);
            if (u == CrStandIn) out += '\r';
            from = i + 1;
        }
        AppendScreenToCp932(screen.mid(from), out);
        return;
    }
    const qsizetype n = screen.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = screen.at(i).unicode();
        if (u == BreakHere) continue;
        if (u == ZeroByteStandIn)
            out += '\0';
        else if (u == CrStandIn)
            out += '\r';
        else if (IsByteStandIn(u))
            out += static_cast<char>(u & 0xFF);
        else if (QChar::isHighSurrogate(u) && i + 1 < n && screen.at(i + 1).isLowSurrogate())
            AppendUtf8(QChar::surrogateToUcs4(u, screen.at(++i).unicode()), out);
        else if (QChar::isSurrogate(u))
            out += '?'; // half a pair is no character
        else
            AppendUtf8(u, out);
    }
}
