#pragma once
// UTF-8 for the RDAP side: writing a code point, and reading text one character at a time where
// some bytes may be no UTF-8 at all (a registry that answers in another encoding).

#include <cstddef>
#include <string>
#include <string_view>

namespace rdap {

inline constexpr char32_t ReplacementCharacter = 0xFFFD;

// Appends the UTF-8 form of `c`; a surrogate or a value past U+10FFFF becomes U+FFFD.
void AppendUtf8(char32_t c, std::string& out);

// Reads the character at `pos` and moves `pos` past it. A byte that begins no well-formed
// sequence (overlong forms, surrogates and values past U+10FFFF are not) is read alone as
// U+FFFD, and `valid` is then cleared.
char32_t NextUtf8(std::string_view text, std::size_t& pos, bool& valid);

// True when every byte of `text` belongs to a well-formed UTF-8 sequence.
bool IsUtf8(std::string_view text);

} // namespace rdap
