#include "ToolButton.h"

#include "Action.h"
#include "Application.h"
#include "Cp932.h"
#include "ImageList.h"
#include "MenuItem.h"
#include "ToolBar.h"

#include <QIcon>
#include <QToolButton>

TToolButton::TToolButton()
    : TControl(new QToolButton), button_(static_cast<QToolButton*>(Widget())) {
    button_->setAutoRaise(true);          // flat until the mouse is over it
    button_->setFocusPolicy(Qt::NoFocus); // Tab passes tool buttons by
    button_->resize(DefaultWidth, DefaultHeight);
    QObject::connect(button_, &QToolButton::clicked, button_, [this] { Click(); });
}

TToolButton::~TToolButton() {
    SetAction(nullptr);
}

void TToolButton::SetAction(TAction* action) {
    if (action_) action_->RemoveClient(actionClient_);
    action_ = action;
    if (!action_) return;
    actionClient_ = action_->AddClient([this] { ActionChanged(); });
    ActionChanged();
}

void TToolButton::ActionChanged() {
    imageIndex_ = action_->ImageIndex();
    SetHint(action_->Hint());
    SetEnabled(action_->Enabled());
    Refresh();
}

void TToolButton::SetMenuItem(TMenuItem* item) {
    menuItem_ = item;
}

void TToolButton::DropDown() {
    if (!menuItem_) return;
    button_->setDown(true);
    menuItem_->Popup(button_->mapToGlobal(QPoint(0, button_->height())));
    button_->setDown(false);
}

void TToolButton::SetHighlighted(bool on) {
    button_->setAutoRaise(!on);
}

void TToolButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    Refresh();
}

void TToolButton::SetStyle(TToolButtonStyle style, int separatorWidth) {
    style_ = style;
    if (style == TToolButtonStyle::Separator) {
        button_->setEnabled(false);
        button_->resize(separatorWidth, button_->height());
    }
    Refresh();
}

void TToolButton::SetImageIndex(int index) {
    imageIndex_ = index;
    Refresh();
}

void TToolButton::SetBar(const TToolBar* bar) {
    bar_ = bar;
    Refresh();
}

void TToolButton::Refresh() {
    const bool captions = bar_ && bar_->ShowCaptions();
    if (style_ == TToolButtonStyle::Separator) {
        button_->setText({});
        button_->setIcon({});
        return;
    }
    button_->setToolButtonStyle(captions ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    button_->setText(captions ? Cp932ToScreen(caption_) : QString());
    const TImageList* images = bar_ ? bar_->Images() : nullptr;
    button_->setIcon(images && !captions ? images->Icon(imageIndex_) : QIcon());
    button_->setIconSize(QSize(16, 16));
}

void TToolButton::Click() {
    if (style_ == TToolButtonStyle::Separator) return;
    if (action_)
        action_->Execute();
    else if (menuItem_)
        DropDown();
    else if (OnClick)
        RunEventHandler([this] { OnClick(this); });
}
