#pragma once
// The About window: the product's name, the file version and the copyright line of the running
// program, and the maker's web address. It keeps nothing of its own beyond its components.
//
// How data flows: when the window is created, VersionInfo1 reads the version data once from the
// executable file itself; the two version labels show its "FileVersion" and "LegalCopyright"
// strings. A click on MyURL hands its text to the desktop, which opens it in the browser. OKButton
// ends the modal showing; nothing flows back to the main window.

#include "Button.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "VersionInfo.h"
#include "VersionInfoFileVersionLabel.h"
#include "VersionInfoLegalCopyrightLabel.h"

class TAboutForm : public TForm {
  public:
    // Fails with EOSError when the version data is there but cannot be read.
    TAboutForm();
    ~TAboutForm() override;

    // The components, owned by the window.
    TLabel* Label1;
    TButton* OKButton;
    TEdit* MyURL;
    TVersionInfo* VersionInfo1;
    TVersionInfoFileVersionLabel* VersionInfoFileVersionLabel1;
    TVersionInfoLegalCopyrightLabel* VersionInfoLegalCopyrightLabel1;

    void MyURLClick(TComponent* Sender);

  private:
    // Builds every component with its settings and binds the handler (Unit2Form.cpp).
    void CreateComponents();
};

extern TAboutForm* AboutForm;
