#include "Control.h"

#include "Cp932.h"
#include "ScreenGraphics.h"

#include <QApplication>
#include <QWidget>

namespace {

// How long a tooltip stays, as the desktop the program was made for shows it.
constexpr int ToolTipMilliseconds = 2500;

} // namespace

void TControl::SetBounds(int left, int top, int width, int height) {
    widget_->setGeometry(left, top, width, height);
}

int TControl::Left() const {
    return widget_->x();
}

int TControl::Top() const {
    return widget_->y();
}

int TControl::Width() const {
    return widget_->width();
}

int TControl::Height() const {
    return widget_->height();
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    ShowToolTip();
}

void TControl::SetShowHint(bool show) {
    showHint_ = show;
    ShowToolTip();
}

void TControl::ShowToolTip() {
    widget_->setToolTip(showHint_ ? Cp932ToScreen(hint_) : QString());
    widget_->setToolTipDuration(ToolTipMilliseconds);
}

void TControl::SetFont(const TFont& font) {
    font_ = font;
    widget_->setFont(FontOnScreen(font));
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Text, ColorOnScreen(font.Color));
    palette.setColor(QPalette::WindowText, ColorOnScreen(font.Color));
    palette.setColor(QPalette::ButtonText, ColorOnScreen(font.Color));
    widget_->setPalette(palette);
}

TFont TControl::Font() const {
    if (font_) return *font_;
    return FontFromScreen(widget_->font(), clWindowText);
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == crHandPoint)
        widget_->setCursor(Qt::PointingHandCursor);
    else if (cursor_ != crDefault)
        widget_->unsetCursor();
    cursor_ = cursor;
}

bool TControl::Enabled() const {
    return widget_->isEnabled();
}

void TControl::SetEnabled(bool enabled) {
    widget_->setEnabled(enabled);
}

void TControl::SetFocus() {
    widget_->setFocus();
}

bool TControl::Focused() const {
    return widget_->hasFocus();
}
