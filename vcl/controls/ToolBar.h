#pragma once
// A flat bar of tool buttons and other controls (a combo box), each at its own left edge. The bar
// draws its buttons either with their captions or with pictures from its image list.

#include "Control.h"

#include <vector>

class TImageList;
class TToolButton;

class TToolBar : public TControl {
  public:
    TToolBar();

    // Puts `control` on the bar at its own place (its left edge and top within the bar).
    void Add(TControl* control);

    // The buttons show their captions (and no pictures) when on.
    void SetShowCaptions(bool show);
    bool ShowCaptions() const { return showCaptions_; }
    // The buttons show pictures of this list, by their image index.
    void SetImages(const TImageList* images);
    const TImageList* Images() const { return images_; }

  private:
    void Refresh();

    std::vector<TControl*> controls_;
    bool showCaptions_ = false;
    const TImageList* images_ = nullptr;
};
