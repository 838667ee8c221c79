#pragma once
// A font as the forms describe it: a face name (Text), a height in pixels (negative: the height of
// the characters; positive: of the character cell), a style, a colour and a character set. Turning
// it into what the screen uses is the framework's business (FontOnScreen).

#include "Color.h"

#include <string>

enum class TFontStyle : unsigned { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

class TFontStyles {
  public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
        for (TFontStyle s : styles)
            bits_ |= static_cast<unsigned>(s);
    }
    constexpr bool Has(TFontStyle s) const { return bits_ & static_cast<unsigned>(s); }
    constexpr void Set(TFontStyle s, bool on) {
        bits_ = on ? bits_ | static_cast<unsigned>(s) : bits_ & ~static_cast<unsigned>(s);
    }
    constexpr bool operator==(const TFontStyles&) const = default;

  private:
    unsigned bits_ = 0;
};

constexpr int SHIFTJIS_CHARSET = 128;
constexpr int DEFAULT_CHARSET = 1;

struct TFont {
    std::string Name;
    int Height = -12;
    TFontStyles Style;
    TColor Color = clWindowText;
    int Charset = DEFAULT_CHARSET;

    bool operator==(const TFont&) const = default;
};
