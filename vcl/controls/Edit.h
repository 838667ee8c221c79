#pragma once
// The single-line edit box, with the key-press event the forms use to catch Enter. Its text never
// holds a line break: a paste is cut at its first one.

#include "Control.h"

#include <functional>
#include <memory>
#include <string>

class QLineEdit;
class QObject;

using TKeyPressEvent = std::function<void(TComponent* Sender, char& Key)>;

class TEdit : public TControl {
  public:
    TEdit();
    ~TEdit() override;

    std::string Text() const;
    void SetText(const std::string& text);

    // Raised for each character key before the box takes it (Enter as 13); a handler that sets
    // Key to 0 keeps the key from the box.
    TKeyPressEvent OnKeyPress;

  private:
    QLineEdit* edit_;
    std::unique_ptr<QObject> keyFilter_;
};
