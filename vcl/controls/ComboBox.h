#pragma once
// The editable drop-down box: a text field and a list of entries to pick from. Picking an entry
// copies it into the text field; the text field is otherwise independent of the entries. The text
// field never holds a line break: a paste is cut at its first one. A zero byte in an entry or the
// text shows as "␀" and comes back as the zero byte.

#include "ComboBoxStrings.h"
#include "Control.h"

#include <memory>
#include <string>

class QComboBox;

class TComboBox : public TControl {
  public:
    TComboBox();

    std::string Text() const;
    void SetText(const std::string& text);
    std::unique_ptr<TComboBoxStrings> Items;

  protected:
    // The box and its text field go by one name.
    void ShowAccessibleName(const std::string& name) override;

  private:
    QComboBox* combo_;
};
