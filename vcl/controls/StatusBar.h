#pragma once
// The status bar with its one simple panel, showing the latest status text, and a size grip at its
// right end. It is drawn in the desktop's status-bar font, never in its window's.

#include "Control.h"

#include <string>

class QStatusBar;

class TStatusBar : public TControl {
  public:
    static constexpr int DefaultHeight = 20;

    TStatusBar();

    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text);

  protected:
    // The status text itself is what a screen reader reads as the bar's name and hears change;
    // the name the form gives goes to the description.
    void ShowAccessibleName(const std::string& name) override;

  private:
    QStatusBar* bar_;
    std::string simpleText_;
};
