#pragma once
// Decides which reading of an answer line to show when its bytes are valid both as UTF-8 and as
// code page 932. UTF-8 is the default, since registries everywhere answer in it; code page 932
// wins only where the UTF-8 reading shows signs of a misreading and the code page 932 reading
// shows fewer. The signs, measured on generated Japanese and foreign-script lines:
// - a character no registry writes: unassigned, private use, C1 controls, noncharacters, scripts
//   outside those in widespread modern use, archaic or phonetic blocks, stray format characters,
//   characters that normalization replaces, a combining mark with no letter before it (counts 2);
// - a change of script between neighbouring letters ("Josﾃｩ"; kanji, kana and full- and
//   half-width forms count as one script);
// - a letter that stands alone and is the only one of its script in the line ("é" read from "ﾃｩ");
// - a non-ASCII character glued to one of the ASCII signs @ \ ^ _ ` | ~ ("あ`" read
//   from "縺Ａ"), as happens when the trail byte of a double-byte character becomes ASCII.
// It does not decode, check validity or look at lines valid in one reading only; a line whose
// code page 932 reading holds a byte that is no character there is never read that way.

#include <QString>

// True when the code page 932 reading of a line is the likelier one. Both readings are the plain
// decodings of the same bytes (the zero byte may stand for itself or for its stand-in).
bool Cp932ReadingWins(const QString& asUtf8, const QString& asCp932);
