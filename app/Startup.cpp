#include "Startup.h"

#include "Application.h"
#include "Images.h"
#include "Unit1.h"
#include "Unit2.h"

#include <memory>

int RunKelvane(TApplication& app) {
    std::unique_ptr<TKelvaneForm> mainForm;
    std::unique_ptr<TAboutForm> aboutForm;
    app.SetIcon(IconPicture);
    app.Guard([&] {
        mainForm = std::make_unique<TKelvaneForm>();
        KelvaneForm = mainForm.get();
        aboutForm = std::make_unique<TAboutForm>(); // hidden until the About command
        AboutForm = aboutForm.get();
        app.Run();
    });
    AboutForm = nullptr;
    KelvaneForm = nullptr;
    return 0;
}
