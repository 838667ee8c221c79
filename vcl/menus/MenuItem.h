#pragma once
// A menu entry, or a menu of entries: a caption with its accelerator ("&F"), a separator ("-"), a
// shortcut text and a picture, a click event, or an action whose caption, shortcut, picture,
// enabled state and command it takes. An item with entries drops them down as a pop-up menu.

#include "Action.h"
#include "Control.h"

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPoint;
class TImageList;

class TMenuItem : public TComponent {
  public:
    TMenuItem();
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsSeparator() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The entry shows the action and runs it; null unbinds.
    void SetAction(TAction* action);
    TAction* Action() const { return action_; }
    TNotifyEvent OnClick;

    // Appends `item` as an entry of this menu; this item does not own it.
    void Add(TMenuItem* item);
    const std::vector<TMenuItem*>& Items() const { return items_; }
    void SetImages(const TImageList* images);

    // Runs the entry's command as choosing it does: the action, or else OnClick.
    void Click();
    // Drops the entries down with the pop-up's top-left corner at `screenPoint` and returns when
    // it closes. Enabled states are brought up to date first.
    void Popup(const QPoint& screenPoint);
    // The drop-down menu of this item, or null while it has no entries.
    QMenu* Menu() const { return menu_.get(); }

  private:
    void ShowInMenu();
    void ActionChanged();

    std::string caption_;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    bool enabled_ = true;
    TAction* action_ = nullptr;
    int actionClient_ = -1;
    const TImageList* images_ = nullptr;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    QAction* entry_ = nullptr;   // this item in its parent's menu
    std::unique_ptr<QMenu> menu_; // this item's own entries
};
