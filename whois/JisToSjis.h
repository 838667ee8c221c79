#pragma once
// Conversion of the ISO-2022-JP kanji runs in one answer line to Shift_JIS.
// Pure functions without state; every input yields an output, nothing is ever raised.

#include <string>
#include <string_view>

// One JIS X 0208 code (row byte * 256 + cell byte) to its Shift_JIS code
// (lead byte * 256 + trail byte), or 0 when either byte lies outside 0x21..0x7E.
int JisToSjisCode(int jis);

// Converts every run opened by ESC $ <any byte> in `line` pair by pair; the bytes outside the
// runs pass through unchanged. Each line stands alone: a run left open ends with the line.
std::string JisToSjisLine(std::string line);
// The same into `out`, whose storage is reused from line to line: the read handler converts
// every line of an answer without allocating.
void JisToSjisLine(std::string_view line, std::string& out);
