#pragma once
// A flat bar of tool buttons and other controls (a combo box), each at its own left edge. The bar
// draws its buttons either with their captions or with pictures from its image list. A bar with
// menu buttons stands in for a menu bar, keyboard included: pressing and releasing Alt alone
// highlights its first menu button; then Enter or Down drops its menu, Left and Right move the
// highlight, a caption's underlined letter drops that button's menu, and Esc or Alt leaves.

#include "Control.h"

#include <memory>
#include <vector>

class TImageList;
class TToolButton;

class TToolBar : public TControl {
  public:
    TToolBar();
    ~TToolBar() override;

    // Puts `control` on the bar at its own place (its left edge and top within the bar).
    void Add(TControl* control);

    // The buttons show their captions (and no pictures) when on.
    void SetShowCaptions(bool show);
    bool ShowCaptions() const { return showCaptions_; }
    // The buttons show pictures of this list, by their image index.
    void SetImages(const TImageList* images);
    const TImageList* Images() const { return images_; }

    // The bar's menu buttons in order, and the one the keyboard highlights (-1 for none).
    std::vector<TToolButton*> MenuButtons() const;
    int Highlighted() const { return highlighted_; }

  private:
    class MenuKeys;
    void Refresh();
    void Highlight(int index);

    std::vector<TControl*> controls_;
    std::unique_ptr<MenuKeys> menuKeys_;
    int highlighted_ = -1;
    bool showCaptions_ = false;
    const TImageList* images_ = nullptr;
};
