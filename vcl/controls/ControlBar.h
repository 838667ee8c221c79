#pragma once
// The band container: controls laid out as bands in rows 26 pixels apart. Each band has a grip at
// its left edge by which the user drags it along its row or into another row; the bar's height
// follows the rows in use. Bands never leave the bar, and their places are not stored.

#include "Control.h"

#include <memory>
#include <vector>

class TControlBar : public TControl {
  public:
    static constexpr int RowHeight = 26;
    static constexpr int GripWidth = 11; // before a band's control
    static constexpr int BandEnd = 2;    // after it

    TControlBar();
    ~TControlBar() override;

    // Puts `control` in the bar as a band, its top-left corner at `left`, `top` (the row is the
    // one that `top` falls in).
    void AddBand(TControl* control, int left, int top);

    int RowCount() const;
    // The row (from 0) a band is in.
    int RowOf(const TControl* control) const;
    // Moves a band as dragging its grip does: into `row` (the row after the last starts a new
    // one) with its control's left edge toward `left`. Bands it would overlap move to the right.
    void MoveBand(TControl* control, int row, int left);

  private:
    class Bar;
    class Grip;
    struct Band {
        TControl* control;
        Grip* grip;
        int row;
        int wantedLeft; // where the user put it; the band sits there unless pushed right
    };

    Band* Find(const TControl* control);
    void CloseEmptyRows();
    void Layout();

    Bar* bar_;
    std::vector<Band> bands_;
};
