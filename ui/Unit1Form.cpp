#include "SjisText.h"
#include "Unit1.h"

void TKelvaneForm::CreateComponents() {
    SetCaption("Kelvane ver3");
    SetBounds(262, 107, 485, 359);
}
