#pragma once
// The save dialog: the user picks a file to write. It keeps the last chosen name for the next
// showing, adds the default extension to a name typed without one, and asks before a file that
// exists is replaced. File names are the system's (UTF-8 bytes here), not Text.

#include "Control.h"

#include <string>

class TSaveDialog : public TComponent {
  public:
    // Without a leading ".".
    std::string DefaultExt;
    // Ask before replacing a file that exists.
    bool OverwritePrompt = true;
    // The chosen file's full path; preset into the next showing.
    std::string FileName;

    // Shows the dialog modally over the main window; false when the user cancels.
    bool Execute();
};
