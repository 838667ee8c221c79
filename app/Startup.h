#pragma once
// Start-up and shutdown: the main window is created (it loads the server list), then the hidden
// About window (it reads the version data), and the message loop runs until the main window is
// closed. An exception that escapes the creation or the loop is shown in the error box and ends
// the program; when it escapes the creation, no window is ever shown.

class TApplication;

// Returns the program's exit code, 0.
int RunKelvane(TApplication& app);
