#pragma once
// A tool-bar button with a click event.

#include "Control.h"

#include <functional>
#include <string>

class QToolButton;

using TNotifyEvent = std::function<void(TComponent* Sender)>;

class TToolButton : public TControl {
  public:
    TToolButton();

    void SetCaption(const std::string& caption);
    // Makes the button an inert gap of `width` pixels between groups of buttons.
    void MakeSeparator(int width);
    // Clicks the button as the user does; the handler's exception goes to the error box.
    void Click();
    TNotifyEvent OnClick;

  private:
    QToolButton* button_;
};
