// The server list: loading it with the window, and the add and delete buttons.

#include "Application.h"
#include "ServerListStore.h"
#include "Unit1.h"

namespace {

TServerListStore ListStore() {
    return TServerListStore::ForProgram(Application->ExeName());
}

} // namespace

void TKelvaneForm::LoadServerList() {
    ListStore().Load(*ServerList->Items);
}

void TKelvaneForm::ToolButton1Click(TComponent*) {
    ListStore().Add(*ServerList->Items, ServerList->Text());
}

void TKelvaneForm::ToolButton2Click(TComponent*) {
    ListStore().Delete(*ServerList->Items, ServerList->Text());
}
