#pragma once
// The screen boundary: Text (code page 932 bytes) to and from Qt's UTF-16, by Microsoft's table.
// Nothing is lost on the way: a byte that is no code page 932 character is shown by a stand-in
// from the private use area (U+F780 + byte - 0x80) that turns back into the very same byte, and a
// zero byte, which no text field can show, by the visible "␀" (U+2400, a character the code page
// lacks), which turns back into the zero byte. How the text view reads answer lines is ViewLine's.

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

// The stand-in of the zero byte.
inline constexpr char16_t ZeroByteStandIn = u'\u2400';

// Every byte string decodes; invalid bytes become their stand-ins. `folds`, when given, is set when
// the text holds a code that comes back in Windows' canonical form of its character (below).
QString Cp932ToScreen(std::string_view text, bool* folds = nullptr);

// Screen text back to code page 932. A character the code page lacks becomes "?"; the folded
// duplicates come back in Windows' canonical form; stand-ins give back their bytes.
std::string ScreenToCp932(QStringView screen);
// The same, appended to `out`.
void AppendScreenToCp932(QStringView screen, std::string& out);

// The stand-in of a byte of 0x80 or above that is no character where it stands, and back.
inline constexpr char16_t ByteStandIn(unsigned char byte) {
    return static_cast<char16_t>(0xF700 + byte);
}
inline constexpr bool IsByteStandIn(char16_t u) {
    return u >= 0xF780 && u <= 0xF7FF;
}

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
