#include "Startup.h"

#include "Application.h"
#include "Images.h"
#include "Unit1.h"

#include <memory>

int RunKelvane(TApplication& app) {
    std::unique_ptr<TKelvaneForm> mainForm;
    app.SetIcon(IconPicture);
    app.Guard([&] {
        mainForm = std::make_unique<TKelvaneForm>();
        KelvaneForm = mainForm.get();
        app.Run();
    });
    KelvaneForm = nullptr;
    return 0;
}
