#include "Form.h"

#include "Application.h"
#include "Cp932.h"

#include <QVBoxLayout>
#include <QWidget>

TForm::TForm() : window_(std::make_unique<QWidget>()), layout_(new QVBoxLayout(window_.get())) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    if (Application) Application->RegisterForm(this);
}

TForm::~TForm() {
    if (Application) Application->UnregisterForm(this);
}

std::string TForm::Caption() const {
    return ScreenToCp932(window_->windowTitle());
}

void TForm::SetCaption(const std::string& caption) {
    window_->setWindowTitle(Cp932ToScreen(caption));
}

void TForm::SetBounds(int left, int top, int width, int height) {
    window_->setGeometry(left, top, width, height);
}

void TForm::Show() {
    window_->show();
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
