#pragma once
// The status bar with its one simple panel, showing the latest status text.

#include "Control.h"

#include <string>

class QStatusBar;

class TStatusBar : public TControl {
  public:
    TStatusBar();

    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text);

  private:
    QStatusBar* bar_;
    std::string simpleText_;
};
