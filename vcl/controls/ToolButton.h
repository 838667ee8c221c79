#pragma once
// A tool-bar button with a click event, or a separator (an inert gap between groups of buttons).
// It never takes the focus, so a command it starts acts on the control that had it. What it shows
// (caption or picture) is its bar's choice.

#include "Control.h"

#include <functional>
#include <string>

class QToolButton;
class TToolBar;

using TNotifyEvent = std::function<void(TComponent* Sender)>;

enum class TToolButtonStyle { Button, Separator };

class TToolButton : public TControl {
  public:
    // The size of a button on a bar that shows pictures.
    static constexpr int DefaultWidth = 23;
    static constexpr int DefaultHeight = 22;

    TToolButton();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    void SetStyle(TToolButtonStyle style, int separatorWidth = 8);
    TToolButtonStyle Style() const { return style_; }
    // The picture's index in the bar's image list; -1 for none.
    void SetImageIndex(int index);
    int ImageIndex() const { return imageIndex_; }

    // Clicks the button as the user does; the handler's exception goes to the error box.
    void Click();
    TNotifyEvent OnClick;

    // Called by the bar that holds the button when it is added and when the bar's way of showing
    // buttons changes.
    void SetBar(const TToolBar* bar);

  protected:
    QToolButton* Button() const { return button_; }

  private:
    void Refresh();

    QToolButton* button_;
    const TToolBar* bar_ = nullptr;
    std::string caption_;
    TToolButtonStyle style_ = TToolButtonStyle::Button;
    int imageIndex_ = -1;
};
