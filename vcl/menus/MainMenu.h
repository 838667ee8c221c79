#pragma once
// The menus of a window, as top-level items whose entries drop down. A window may show them in a
// menu bar or, as here, from buttons that stand in for one.

#include "MenuItem.h"

#include <vector>

class TImageList;

class TMainMenu : public TComponent {
  public:
    // Appends a top-level item; the menu does not own it.
    void Add(TMenuItem* item);
    const std::vector<TMenuItem*>& Items() const { return items_; }
    // The entries show pictures of this list.
    void SetImages(const TImageList* images);

  private:
    std::vector<TMenuItem*> items_;
    const TImageList* images_ = nullptr;
};
