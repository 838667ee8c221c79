#include "ToolBar.h"

#include "ToolButton.h"

#include <QWidget>

TToolBar::TToolBar() : TControl(new QWidget) {}

void TToolBar::Add(TControl* control) {
    const QPoint place = control->Widget()->pos();
    control->Widget()->setParent(Widget());
    control->Widget()->move(place);
    controls_.push_back(control);
    if (auto* button = dynamic_cast<TToolButton*>(control)) button->SetBar(this);
}

void TToolBar::SetShowCaptions(bool show) {
    showCaptions_ = show;
    Refresh();
}

void TToolBar::SetImages(const TImageList* images) {
    images_ = images;
    Refresh();
}

void TToolBar::Refresh() {
    for (TControl* control : controls_)
        if (auto* button = dynamic_cast<TToolButton*>(control)) button->SetBar(this);
}
