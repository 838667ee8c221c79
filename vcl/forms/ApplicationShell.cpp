// The application object's way to the desktop's default handlers (xdg-open on a Linux desktop).

#include "Application.h"
#include "Cp932.h"

#include <QDesktopServices>
#include <QUrl>

// A plain path becomes a file address and a bare host name a web address, as the desktop's own
// open command takes them. An empty or unusable text opens nothing.
void TApplication::ShellOpen(const std::string& target) {
    if (ShellOpenHook) {
        ShellOpenHook(target);
        return;
    }
    const QUrl url = QUrl::fromUserInput(Cp932ToScreen(target));
    if (url.isValid()) QDesktopServices::openUrl(url);
}
