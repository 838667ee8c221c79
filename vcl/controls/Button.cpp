#include "Button.h"

#include "Application.h"
#include "Cp932.h"

#include <QPushButton>

TButton::TButton() : TControl(new QPushButton), button_(static_cast<QPushButton*>(Widget())) {
    // Outside a dialog an auto-default button takes Enter only while it has the focus, as a
    // push button does on the desktop this program was made for.
    button_->setAutoDefault(true);
    button_->setDefault(false);
    QObject::connect(button_, &QPushButton::clicked, button_, [this] { Click(); });
}

void TButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    button_->setText(Cp932ToScreen(caption));
}

void TButton::SetModalResult(TModalResult result) {
    modalResult_ = result;
}

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TForm* form = TForm::FormOf(button_)) form->SetModalResult(modalResult_);
    if (OnClick) RunEventHandler([this] { OnClick(this); });
}
