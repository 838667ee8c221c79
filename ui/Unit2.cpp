#include "Unit2.h"

#include "Application.h"

TAboutForm* AboutForm = nullptr;

TAboutForm::TAboutForm() {
    CreateComponents();
}

TAboutForm::~TAboutForm() = default;

// The desktop opens the clicked box's text; if it cannot, nobody is told, and the window stays.
void TAboutForm::MyURLClick(TComponent* Sender) {
    if (const auto* edit = dynamic_cast<const TEdit*>(Sender)) Application->ShellOpen(edit->Text());
}
