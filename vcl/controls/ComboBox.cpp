#include "ComboBox.h"

#include "Cp932.h"
#include "SingleLineValidator.h"

#include <QComboBox>
#include <QLineEdit>

void TComboBox::ShowAccessibleName(const std::string& name) {
    TControl::ShowAccessibleName(name);
    // On this desktop Qt reads the box by its text and leaves the name to a label beside it; there
    // is none, so the name goes to the description, which the reader speaks with the focus.
    combo_->setAccessibleDescription(Cp932ToScreen(name));
    combo_->lineEdit()->setAccessibleName(Cp932ToScreen(name));
}

TComboBox::TComboBox() : TControl(new QComboBox), combo_(static_cast<QComboBox*>(Widget())) {
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::NoInsert); // Enter does not add entries
    combo_->setMaxVisibleItems(8);
    combo_->setValidator(new SingleLineValidator(combo_)); // a pasted line break ends the paste
    Items = std::make_unique<TComboBoxStrings>(combo_);
}

std::string TComboBox::Text() const {
    return ScreenToCp932(combo_->currentText());
}

void TComboBox::SetText(const std::string& text) {
    combo_->setEditText(Cp932ToScreen(text));
}
