#include "ControlBar.h"

#include <QGridLayout>
#include <QWidget>

TControlBar::TControlBar() : TControl(new QWidget), grid_(new QGridLayout(Widget())) {
    grid_->setContentsMargins(11, 2, 4, 2);
    grid_->setHorizontalSpacing(13);
    grid_->setVerticalSpacing(4);
}

void TControlBar::AddBand(TControl* band, int row) {
    row = row > 0 ? 1 : 0;
    band->Widget()->setMinimumWidth(band->Widget()->width()); // a band keeps its designed width
    grid_->addWidget(band->Widget(), row, columns_[row]++, Qt::AlignLeft);
}
