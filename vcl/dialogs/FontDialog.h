#pragma once
// The font dialog: face, size, bold, italic, underline, strike-out and colour. It opens with its
// own Font and, when the user chooses, keeps the chosen one there.

#include "Control.h"
#include "Font.h"

class TFontDialog : public TComponent {
  public:
    TFont Font;
    // Offer underline, strike-out and colour.
    bool Effects = true;
    // Limits of the size in points; 0 for none.
    int MinFontSize = 0;
    int MaxFontSize = 0;

    // Shows the dialog modally over the main window; false when the user cancels.
    bool Execute();
};
