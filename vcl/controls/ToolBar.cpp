#include "ToolBar.h"

#include <QHBoxLayout>
#include <QWidget>

TToolBar::TToolBar() : TControl(new QWidget), row_(new QHBoxLayout(Widget())) {
    row_->setContentsMargins(0, 0, 0, 0);
    row_->setSpacing(0);
}

void TToolBar::Add(TControl* control) {
    row_->addWidget(control->Widget());
}
