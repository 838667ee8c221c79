#pragma once
// The application object: the Qt application, the program's title, the message loop and the error
// box that shows an exception escaping a command or an event. It knows nothing of the windows'
// content.

#include "Exception.h"

#include <functional>
#include <memory>
#include <string>

class QApplication;
class TForm;

class TApplication {
  public:
    TApplication(int& argc, char** argv);
    ~TApplication();

    // The executable's full path, read from the system, not from argv.
    std::string ExeName() const;
    // The executable's name without its folder, cut at its first ".", every character after the
    // first in lower case: "Kelvane" for ".../Kelvane".
    std::string Title() const;
    // The same rule on a given path; the name is turned from the system's UTF-8 into Text.
    static std::string TitleOf(const std::string& exeName);

    // The application's icon (task bar, window switcher), an XPM picture.
    void SetIcon(const char* const* xpm);
    // The names the desktop knows the program by: the window class (matched by the desktop entry's
    // StartupWMClass) and the desktop entry's id (without ".desktop").
    void SetDesktopNames(const std::string& windowClass, const std::string& desktopEntryId);

    // Hands a document or a web address (Text) to the desktop, which opens it with its default
    // handler, the browser for an address. Whether that works is not reported.
    void ShellOpen(const std::string& target);
    // Tests set this to see what would be opened instead of a program starting.
    std::function<void(const std::string& target)> ShellOpenHook;

    // Makes `form` the main window when it is the first form created.
    void RegisterForm(TForm* form);
    void UnregisterForm(TForm* form);
    TForm* MainForm() const { return mainForm_; }
    // Shows the main window and runs the message loop until it is closed.
    void Run();

    // Runs `action`; an exception that leaves it goes to the error box and the program goes on.
    void Guard(const std::function<void()>& action);
    // The error box: the message with "." appended when its last byte sorts after ".", the title
    // as caption, the error icon and an OK button.
    void ShowException(const std::exception& e);
    static std::string ErrorBoxText(const std::string& message);

    // Tests set this to see what the error box would show instead of a modal box opening.
    std::function<void(const std::string& text, const std::string& caption)> ErrorBoxHook;

  private:
    std::unique_ptr<QApplication> qt_;
    TForm* mainForm_ = nullptr;
};

// The one application object.
extern TApplication* Application;

// Runs an event handler called from the event loop: an exception that leaves it goes to the error
// box, and the program goes on.
void RunEventHandler(const std::function<void()>& handler);
