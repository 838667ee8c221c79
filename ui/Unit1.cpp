#include "Unit1.h"

TKelvaneForm* KelvaneForm = nullptr;

TKelvaneForm::TKelvaneForm() {
    CreateComponents();
    ReceiveBuffer.clear();
    LoadServerList();
}

TKelvaneForm::~TKelvaneForm() = default;
