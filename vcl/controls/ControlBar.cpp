#include "ControlBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <qdrawutil.h>

// The bar draws every band as a raised panel.
class TControlBar::Bar : public QWidget {
  public:
    explicit Bar(TControlBar& owner) : owner_(owner) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (const Band& band : owner_.bands_) {
            const QWidget* w = band.control->Widget();
            const QRect panel(w->x() - GripWidth, band.row * RowHeight,
                              GripWidth + w->width() + BandEnd, RowHeight);
            qDrawShadePanel(&painter, panel, palette(), false, 1);
        }
    }

  private:
    TControlBar& owner_;
};

// The grip of one band: two raised lines, and the handle by which the band is dragged.
class TControlBar::Grip : public QWidget {
  public:
    Grip(TControlBar& owner, TControl* control, QWidget* parent)
        : QWidget(parent), owner_(owner), control_(control) {
        setCursor(Qt::SizeAllCursor);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int x : {2, 5})
            qDrawShadeLine(&painter, x, 3, x, height() - 4, palette(), false, 1, 0);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) grab_ = event->position().toPoint().x();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (grab_ < 0) return;
        const QPoint at = mapToParent(event->position().toPoint());
        const int row = std::max(0, at.y()) / RowHeight;
        owner_.MoveBand(control_, row, at.x() - grab_ + GripWidth);
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        grab_ = -1;
        owner_.Find(control_)->wantedLeft = control_->Left();
    }

  private:
    TControlBar& owner_;
    TControl* control_;
    int grab_ = -1;
};

TControlBar::TControlBar() : TControl(new Bar(*this)), bar_(static_cast<Bar*>(Widget())) {
    bar_->setFixedHeight(BandEnd * 2);
}

TControlBar::~TControlBar() = default;

void TControlBar::AddBand(TControl* control, int left, int top) {
    control->Widget()->setParent(bar_);
    auto* grip = new Grip(*this, control, bar_);
    bands_.push_back({control, grip, std::max(0, top) / RowHeight, left});
    Layout();
}

int TControlBar::RowCount() const {
    int rows = 0;
    for (const Band& band : bands_)
        rows = std::max(rows, band.row + 1);
    return rows;
}

int TControlBar::RowOf(const TControl* control) const {
    for (const Band& band : bands_)
        if (band.control == control) return band.row;
    return -1;
}

TControlBar::Band* TControlBar::Find(const TControl* control) {
    for (Band& band : bands_)
        if (band.control == control) return &band;
    return nullptr;
}

void TControlBar::MoveBand(TControl* control, int row, int left) {
    Band* band = Find(control);
    if (!band) return;
    int rows = RowCount();
    const bool alone = std::count_if(bands_.begin(), bands_.end(),
                                     [&](const Band& b) { return b.row == band->row; }) == 1;
    // A band alone in the last row cannot start a row after it: that row would be its own.
    const int lastAllowed = alone && band->row == rows - 1 ? rows - 1 : rows;
    band->row = std::clamp(row, 0, lastAllowed);
    band->wantedLeft = std::max(GripWidth, left);
    CloseEmptyRows();
    Layout();
}

// A row left without bands closes, and the rows below it move up.
void TControlBar::CloseEmptyRows() {
    std::vector<int> rowsInUse;
    for (const Band& band : bands_)
        rowsInUse.push_back(band.row);
    std::sort(rowsInUse.begin(), rowsInUse.end());
    rowsInUse.erase(std::unique(rowsInUse.begin(), rowsInUse.end()), rowsInUse.end());
    for (Band& band : bands_)
        band.row = static_cast<int>(std::lower_bound(rowsInUse.begin(), rowsInUse.end(), band.row) -
                                    rowsInUse.begin());
}

// In each row the bands keep the order of their wanted places, and one that would overlap its left
// neighbour is pushed right.
void TControlBar::Layout() {
    std::vector<Band*> order;
    for (Band& band : bands_)
        order.push_back(&band);
    std::stable_sort(order.begin(), order.end(), [](const Band* a, const Band* b) {
        return a->row != b->row ? a->row < b->row : a->wantedLeft < b->wantedLeft;
    });
    int row = -1, end = 0;
    for (Band* band : order) {
        if (band->row != row) row = band->row, end = 0;
        QWidget* w = band->control->Widget();
        const int left = std::max(band->wantedLeft, end + GripWidth);
        const int top = row * RowHeight + (RowHeight - w->height()) / 2;
        w->move(left, top);
        band->grip->setGeometry(left - GripWidth, row * RowHeight, GripWidth - 2, RowHeight);
        end = left + w->width() + BandEnd;
    }
    bar_->setFixedHeight(RowCount() * RowHeight + BandEnd * 2);
    bar_->update();
}
