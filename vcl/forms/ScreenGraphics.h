#pragma once
// Fonts and colours of the forms turned into Qt's and back. Used inside the framework only.

#include "Color.h"
#include "Font.h"

#include <QColor>
#include <QFont>

QColor ColorOnScreen(TColor color);
TColor ColorFromScreen(const QColor& color);

// Every property of the result is set, so a control given this font inherits nothing of its
// parent's.
QFont FontOnScreen(const TFont& font);
// The font's colour is not part of a QFont: it comes as `color`. The character set is the
// Japanese one when the face writes Japanese.
TFont FontFromScreen(const QFont& font, TColor color);
