#include "StatusBar.h"

#include "Cp932.h"

#include <QStatusBar>

TStatusBar::TStatusBar() : TControl(new QStatusBar), bar_(static_cast<QStatusBar*>(Widget())) {
    bar_->setSizeGripEnabled(true);
}

void TStatusBar::SetSimpleText(const std::string& text) {
    simpleText_ = text;
    bar_->showMessage(Cp932ToScreen(text));
}
