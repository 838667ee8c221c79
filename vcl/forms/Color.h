#pragma once
// Colours as the forms describe them: 0x00BBGGRR for a fixed colour, or one of the desktop's own
// colours (the text of a window, the face of a button), which follow the desktop's palette.

#include <cstdint>

using TColor = std::uint32_t;

// Fixed colours of the 16-colour palette.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// The desktop's colours: the high bit marks them.
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clWindow = clSystemColor | 5;
