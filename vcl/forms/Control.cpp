#include "Control.h"

#include "Cp932.h"

#include <QWidget>

void TControl::SetBounds(int left, int top, int width, int height) {
    widget_->setGeometry(left, top, width, height);
}

void TControl::SetHint(const std::string& hint) {
    widget_->setToolTip(Cp932ToScreen(hint));
}

void TControl::SetFocus() {
    widget_->setFocus();
}
