#pragma once
// The main window: the query box, the server box, the text view and the status bar, and the
// handlers of every command that starts in it.
//
// How data flows: the run command hands the server box's text to the client socket CS; CSConnect
// sends the query box's text; CSRead appends what arrives to ReceiveBuffer, cuts every complete
// line at its LF, converts its kanji runs (JisToSjisLine) and appends it to the text view Info.

#include "Form.h"

#include <string>

class TKelvaneForm : public TForm {
  public:
    TKelvaneForm();

  private:
    // Builds every component with its settings; the form description, in Unit1Form.cpp.
    void CreateComponents();
};

extern TKelvaneForm* KelvaneForm;
