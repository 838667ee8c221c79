// The window's own commands: Save As, the font change, Clear, Exit and the About window.

#include "FileUtils.h"
#include "Unit1.h"
#include "Unit2.h"

// The file holds the text view's whole text, CR LF between its lines; a failed write leaves the
// file that was there whole.
void TKelvaneForm::SaveFileAsExecute(TComponent*) {
    if (!SD->Execute()) return;
    WriteFileReplacing(SD->FileName, Info->Text());
}

// Only the text view takes the chosen font; the dialog keeps it for its next showing.
void TKelvaneForm::F1Click(TComponent*) {
    if (FD->Execute()) Info->SetFont(FD->Font);
}

void TKelvaneForm::ToolButton13Click(TComponent*) {
    Info->Clear();
}

// Nothing is asked and nothing is saved; closing the main window ends the program.
void TKelvaneForm::ExitExecute(TComponent*) {
    Close();
}

// The About window ends with OK or its close box; either way there is nothing to do after it.
void TKelvaneForm::VerInfoExecute(TComponent*) {
    if (AboutForm) AboutForm->ShowModal();
}
