#include "Form.h"

#include "Application.h"
#include "Cp932.h"
#include "ScreenGraphics.h"

#include <QIcon>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

TForm::TForm() : window_(std::make_unique<QWidget>()), layout_(new QVBoxLayout(window_.get())) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    if (Application) Application->RegisterForm(this);
}

// Components go in the reverse order of their making: a later one may refer to an earlier one
// (an entry to its action, a button to its menu), never the other way round.
TForm::~TForm() {
    while (!components_.empty())
        components_.pop_back();
    if (Application) Application->UnregisterForm(this);
}

std::string TForm::Caption() const {
    return ScreenToCp932(window_->windowTitle());
}

void TForm::SetCaption(const std::string& caption) {
    window_->setWindowTitle(Cp932ToScreen(caption));
}

void TForm::SetClientSize(int width, int height) {
    window_->resize(width, height);
}

int TForm::ClientWidth() const {
    return window_->width();
}

int TForm::ClientHeight() const {
    return window_->height();
}

void TForm::SetPlace(int left, int top) {
    window_->move(left, top); // a top-level widget's position is its frame's
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == TFormBorderStyle::Dialog) {
        window_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint);
        window_->setFixedSize(window_->size());
    } else {
        window_->setWindowFlags(Qt::Window);
    }
}

void TForm::SetFont(const TFont& font) {
    font_ = font;
    window_->setFont(FontOnScreen(font));
    QPalette palette = window_->palette();
    palette.setColor(QPalette::WindowText, ColorOnScreen(font.Color));
    window_->setPalette(palette);
}

void TForm::SetColor(TColor color) {
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, ColorOnScreen(color));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
}

void TForm::SetIcon(const char* const* xpm) {
    window_->setWindowIcon(QIcon(QPixmap(xpm)));
}

void TForm::Show() {
    window_->show();
}

bool TForm::Visible() const {
    return window_->isVisible();
}

void TForm::Close() {
    window_->close();
}

void TForm::Align(TControl* control, TAlign align) {
    switch (align) {
    case TAlign::Top:
        layout_->insertWidget(topCount_++, control->Widget());
        break;
    case TAlign::Client:
        layout_->insertWidget(topCount_, control->Widget(), 1);
        break;
    case TAlign::Bottom:
        layout_->addWidget(control->Widget());
        break;
    }
}

void TForm::SetTabOrder(std::initializer_list<TControl*> order) {
    const TControl* previous = nullptr;
    for (TControl* control : order) {
        if (previous) QWidget::setTabOrder(previous->Widget(), control->Widget());
        previous = control;
    }
}
