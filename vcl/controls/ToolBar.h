#pragma once
// A row of controls: tool buttons, separators, and other controls such as a combo box.

#include "Control.h"

class QHBoxLayout;

class TToolBar : public TControl {
  public:
    TToolBar();
    void Add(TControl* control);

  private:
    QHBoxLayout* row_;
};
