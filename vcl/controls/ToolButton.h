#pragma once
// A tool-bar button with a click event, or a separator (an inert gap between groups of buttons).
// It never takes the focus, so a command it starts acts on the control that had it. What it shows
// (caption or picture) is its bar's choice. A button bound to an action takes its picture, enabled
// state and command from it (greyed and inert while the action is disabled); a button bound to a
// menu item drops that item's entries down below itself.

#include "Control.h"

#include <functional>
#include <string>

class QToolButton;
class TAction;
class TMenuItem;
class TToolBar;

enum class TToolButtonStyle { Button, Separator };

class TToolButton : public TControl {
  public:
    // The size of a button on a bar that shows pictures.
    static constexpr int DefaultWidth = 23;
    static constexpr int DefaultHeight = 22;

    TToolButton();
    ~TToolButton() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    void SetStyle(TToolButtonStyle style, int separatorWidth = 8);
    TToolButtonStyle Style() const { return style_; }
    // The picture's index in the bar's image list; -1 for none.
    void SetImageIndex(int index);
    int ImageIndex() const { return imageIndex_; }

    void SetAction(TAction* action);
    TAction* Action() const { return action_; }
    // Bind it before the button is added to its bar, so that the bar works its menus by keyboard.
    void SetMenuItem(TMenuItem* item);
    TMenuItem* MenuItem() const { return menuItem_; }
    // Drops the menu item's entries down, the pop-up's top-left corner at the button's
    // bottom-left corner; returns when the menu closes.
    void DropDown();
    // Drawn raised, as the bar's highlighted menu button is while the keyboard works the menus.
    void SetHighlighted(bool on);

    // Clicks the button as the user does: the action, the menu, or else OnClick. The handler's
    // exception goes to the error box.
    void Click();
    TNotifyEvent OnClick;

    // Called by the bar that holds the button when it is added and when the bar's way of showing
    // buttons changes.
    void SetBar(const TToolBar* bar);

  protected:
    QToolButton* Button() const { return button_; }

  private:
    void Refresh();
    void ActionChanged();

    QToolButton* button_;
    const TToolBar* bar_ = nullptr;
    std::string caption_;
    TToolButtonStyle style_ = TToolButtonStyle::Button;
    int imageIndex_ = -1;
    TAction* action_ = nullptr;
    int actionClient_ = -1;
    TMenuItem* menuItem_ = nullptr;
};
