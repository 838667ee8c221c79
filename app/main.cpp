// Start-up and shutdown: the application object, the main window, the message loop. An exception
// that escapes the creation of the window or the loop is shown in the error box and ends the
// program.

#include "Application.h"
#include "Unit1.h"

#include <memory>

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    std::unique_ptr<TKelvaneForm> mainForm;
    app.Guard([&] {
        mainForm = std::make_unique<TKelvaneForm>();
        KelvaneForm = mainForm.get();
        app.Run();
    });
    KelvaneForm = nullptr;
    return 0;
}
