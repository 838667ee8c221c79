#pragma once
// One line of the text view, from bytes to the screen and back. A line is read as UTF-8 or as
// code page 932 (Cp932OrUtf8 decides between the two) and remembers which, so that it gives back
// the very bytes it was read from. What a line cannot hold as itself is shown by a visible
// stand-in that gives back its bytes: the zero byte "␀" (U+2400), a CR inside the line "␍"
// (U+240D), and in a UTF-8 line the characters that would break it in two or be taken for a
// stand-in (U+2028, U+2029, U+FDD0, U+FDD1, U+2400, U+240D, U+F780 to U+F7FF) by the stand-ins of
// their bytes. A code page 932 line holding a code that Windows writes back in another form (the
// NEC and IBM duplicates) keeps its bytes as well. Line ends are the view's business.
//
// A word of more than LongWord characters gets a zero-width space after every BreakEvery of its
// characters on the screen: the view's word wrap then breaks it there, in time linear in its
// length; Qt's own search for a word boundary that is not there costs the square of the length
// (minutes for a line of a few megabytes). Such a word thus fills each screen line but for fewer
// than BreakEvery characters. A break after every character would fill it exactly, but the
// view's font has no zero-width space: each one is drawn from another font, and the runs that
// cuts the word into make its layout several times dearer. The zero-width space is never part of
// a line: it gives back no bytes, and one written in a UTF-8 line is shown by the stand-ins of its
// bytes.

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

enum class TLineCode { Cp932, Utf8 };

inline constexpr char16_t CrStandIn = u'\u240D';
inline constexpr char16_t BreakHere = u'\u200B';
inline constexpr qsizetype LongWord = 1000;
inline constexpr qsizetype BreakEvery = 16; // UTF-16 units

struct TViewLine {
    QString screen;
    TLineCode code = TLineCode::Cp932;
    bool keepsBytes = false; // the screen text alone does not give back the bytes
};

// An answer line (without its line end) for the screen.
TViewLine AnswerLineToView(std::string_view line);

// A line known to be UTF-8 (a rendered RDAP answer, say): read as UTF-8 without weighing the
// code page 932 reading, which a short line of kanji may seem to favour. A line that is no UTF-8
// after all is read as AnswerLineToView reads it.
TViewLine Utf8LineToViewLine(std::string_view line);

// A line of code page 932 text for the screen.
QString Cp932LineToView(std::string_view line);

// `screen` with the view's breaks in every word longer than LongWord.
QString WithBreaksInLongWords(QString screen);

// Appends the bytes of a line of the view read as `code`. `kept` are the bytes of a line that
// keeps them (empty otherwise); they come back as long as the line is as it was read. Text typed
// into a line takes the line's code: in a code page 932 line a character the code page lacks
// becomes "?".
void ViewLineToBytes(QStringView screen, TLineCode code, std::string_view kept, std::string& out);
