#pragma once
// A push button. A click, or Enter or space while it has the focus, raises OnClick; a button with
// a modal result also ends its window's modal showing with that result. It is never the window's
// default or cancel button: Enter and Escape elsewhere in the window leave it alone.

#include "Control.h"
#include "Form.h"

#include <string>

class QPushButton;

class TButton : public TControl {
  public:
    TButton();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result);

    // Clicks the button as the user does; the handler's exception goes to the error box.
    void Click();
    TNotifyEvent OnClick;

  private:
    QPushButton* button_;
    std::string caption_;
    TModalResult modalResult_ = mrNone;
};
