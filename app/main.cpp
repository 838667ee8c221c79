#include "Application.h"
#include "Startup.h"

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    // The build names these once, for the program and for its desktop entry alike.
    app.SetDesktopNames(KELVANE_WINDOW_CLASS, KELVANE_DESKTOP_ID);
    return RunKelvane(app);
}
