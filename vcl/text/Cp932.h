#pragma once
// The screen boundary: Text (code page 932 bytes) to and from Qt's UTF-16, by Microsoft's table.
// Nothing is lost on the way: a byte that is no code page 932 character is shown by a stand-in
// from the private use area (U+F780 + byte - 0x80) that turns back into the very same byte.

#include <string>
#include <string_view>

class QString;

// Every byte string decodes; invalid bytes become their stand-ins.
QString Cp932ToScreen(std::string_view text);

// A line appended to the text view: UTF-8 when it is valid UTF-8 with a byte of 0x80 or above
// (registries answering in UTF-8), code page 932 otherwise.
QString AnswerLineToScreen(std::string_view line);

// Screen text back to code page 932. A character the code page lacks becomes "?"; the folded
// duplicates come back in Windows' canonical form; stand-ins give back their bytes.
std::string ScreenToCp932(const QString& screen);

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
