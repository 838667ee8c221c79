#include "ScreenGraphics.h"

#include "Cp932.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPalette>

QColor ColorOnScreen(TColor color) {
    if (color & clSystemColor) {
        const QPalette palette = QApplication::palette();
        switch (color) {
        case clBtnFace:
            return palette.color(QPalette::Button);
        case clWindow:
            return palette.color(QPalette::Base);
        default:
            return palette.color(QPalette::Text);
        }
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF),
                  static_cast<int>(color >> 16 & 0xFF));
}

TColor ColorFromScreen(const QColor& color) {
    return static_cast<TColor>(color.red()) | static_cast<TColor>(color.green()) << 8 |
           static_cast<TColor>(color.blue()) << 16;
}

// A negative height is the height of the characters, which is Qt's pixel size; a positive one is
// the character cell's, of which the characters take about seven eighths.
QFont FontOnScreen(const TFont& font) {
    QFont screen(Cp932ToScreen(font.Name));
    screen.setPixelSize(font.Height < 0 ? -font.Height : std::max(1, font.Height * 7 / 8));
    screen.setBold(font.Style.Has(TFontStyle::Bold));
    screen.setItalic(font.Style.Has(TFontStyle::Italic));
    screen.setUnderline(font.Style.Has(TFontStyle::Underline));
    screen.setStrikeOut(font.Style.Has(TFontStyle::StrikeOut));
    screen.setResolveMask(QFont::AllPropertiesResolved);
    return screen;
}

TFont FontFromScreen(const QFont& screen, TColor color) {
    TFont font;
    font.Name = ScreenToCp932(screen.family());
    font.Height = screen.pixelSize() > 0
                      ? -screen.pixelSize()
                      : -static_cast<int>(screen.pointSizeF() * 96.0 / 72.0 + 0.5);
    font.Style.Set(TFontStyle::Bold, screen.bold());
    font.Style.Set(TFontStyle::Italic, screen.italic());
    font.Style.Set(TFontStyle::Underline, screen.underline());
    font.Style.Set(TFontStyle::StrikeOut, screen.strikeOut());
    font.Color = color;
    font.Charset =
        QFontDatabase::writingSystems(QFontInfo(screen).family()).contains(QFontDatabase::Japanese)
            ? SHIFTJIS_CHARSET
            : DEFAULT_CHARSET;
    return font;
}
