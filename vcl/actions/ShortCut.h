#pragma once
// Keyboard shortcuts as the forms give them: a 16-bit value whose low byte is the key's virtual-key
// code (the letters and digits are their upper-case ASCII codes, 0x2E Delete, 0x08 Backspace) and
// whose high bits add Shift (0x2000), Ctrl (0x4000) and Alt (0x8000). 0 is no shortcut.

#include <cstdint>
#include <string>

class QKeyCombination;

using TShortCut = std::uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// The key and modifiers a shortcut stands for; an empty combination for 0 or an unknown key.
QKeyCombination ShortCutToKey(TShortCut shortCut);

// The text shown beside a menu entry: "Ctrl+", "Alt+", "Shift+" and the key's name ("Ctrl+X",
// "Del", "Alt+BkSp").
std::string ShortCutToText(TShortCut shortCut);
