#pragma once
// The band container: controls laid out in rows of bands, each band at its place in its row.

#include "Control.h"

class QGridLayout;

class TControlBar : public TControl {
  public:
    TControlBar();
    // Puts `band` in row `row` (from 0), after the bands already there.
    void AddBand(TControl* band, int row);

  private:
    QGridLayout* grid_;
    int columns_[2] = {0, 0};
};
