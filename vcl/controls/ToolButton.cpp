#include "ToolButton.h"

#include "Application.h"
#include "Cp932.h"

#include <QToolButton>

TToolButton::TToolButton()
    : TControl(new QToolButton), button_(static_cast<QToolButton*>(Widget())) {
    button_->setAutoRaise(true);          // flat until the mouse is over it
    button_->setFocusPolicy(Qt::NoFocus); // Tab passes tool buttons by
    QObject::connect(button_, &QToolButton::clicked, button_, [this] { Click(); });
}

void TToolButton::SetCaption(const std::string& caption) {
    button_->setText(Cp932ToScreen(caption));
}

void TToolButton::MakeSeparator(int width) {
    button_->setEnabled(false);
    button_->setFixedWidth(width);
}

void TToolButton::Click() {
    if (OnClick) RunEventHandler([this] { OnClick(this); });
}
