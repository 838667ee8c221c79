#pragma once
// The single-line edit box, with the key-press event the forms use to catch Enter and the click
// event. Its text never holds a line break: a paste is cut at its first one. A read-only box
// still lets its text be selected and copied.

#include "Color.h"
#include "Control.h"

#include <functional>
#include <memory>
#include <string>

class QLineEdit;
class QObject;

using TKeyPressEvent = std::function<void(TComponent* Sender, char& Key)>;

enum class TBorderStyle { None, Single };

class TEdit : public TControl {
  public:
    TEdit();
    ~TEdit() override;

    std::string Text() const;
    void SetText(const std::string& text);

    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    // Single (the default) draws the sunken frame; None draws the text alone.
    TBorderStyle BorderStyle() const;
    void SetBorderStyle(TBorderStyle style);
    // The ground behind the text.
    void SetColor(TColor color);

    // Raised for each character key before the box takes it (Enter as 13); a handler that sets
    // Key to 0 keeps the key from the box.
    TKeyPressEvent OnKeyPress;
    // Raised when the left button, pressed on the box, is released on it: also after a press that
    // only placed the caret or a drag that selected text. A double click raises it once.
    TNotifyEvent OnClick;

  private:
    QLineEdit* edit_;
    std::unique_ptr<QObject> keyFilter_;
};
