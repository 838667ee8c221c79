#include "MenuItem.h"

#include "Application.h"
#include "Cp932.h"
#include "ImageList.h"

#include <QAction>
#include <QIcon>
#include <QMenu>

TMenuItem::TMenuItem() = default;

TMenuItem::~TMenuItem() {
    SetAction(nullptr);
}

void TMenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    ShowInMenu();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    shortCut_ = shortCut;
    ShowInMenu();
}

void TMenuItem::SetImageIndex(int index) {
    imageIndex_ = index;
    ShowInMenu();
}

void TMenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    ShowInMenu();
}

void TMenuItem::SetAction(TAction* action) {
    if (action_) action_->RemoveClient(actionClient_);
    action_ = action;
    if (!action_) return;
    actionClient_ = action_->AddClient([this] { ActionChanged(); });
    ActionChanged();
}

void TMenuItem::ActionChanged() {
    caption_ = action_->Caption();
    shortCut_ = action_->ShortCut();
    imageIndex_ = action_->ImageIndex();
    enabled_ = action_->Enabled();
    ShowInMenu();
}

void TMenuItem::Add(TMenuItem* item) {
    if (!menu_) {
        menu_ = std::make_unique<QMenu>();
        // A menu dropped down shows what its entries' actions can do now.
        QObject::connect(menu_.get(), &QMenu::aboutToShow, menu_.get(), [this] {
            for (TMenuItem* entry : items_)
                if (entry->action_) entry->action_->Update();
        });
    }
    items_.push_back(item);
    item->parent_ = this;
    item->entry_ = item->IsSeparator() ? menu_->addSeparator() : menu_->addAction(QString());
    QObject::connect(item->entry_, &QAction::triggered, item->entry_, [item] { item->Click(); });
    item->SetImages(images_);
}

void TMenuItem::SetImages(const TImageList* images) {
    images_ = images;
    for (TMenuItem* entry : items_)
        entry->SetImages(images);
    ShowInMenu();
}

// The shortcut is only shown beside the caption: the keys reach the actions through their own
// list, so the menu must not take them too.
void TMenuItem::ShowInMenu() {
    if (!entry_ || IsSeparator()) return;
    QString text = Cp932ToScreen(caption_);
    if (shortCut_) text += QChar(u'\t') + QString::fromStdString(ShortCutToText(shortCut_));
    entry_->setText(text);
    entry_->setIcon(images_ ? images_->Icon(imageIndex_) : QIcon());
    entry_->setEnabled(enabled_);
}

void TMenuItem::Click() {
    if (action_)
        action_->Execute();
    else if (OnClick)
        RunEventHandler([this] { OnClick(this); });
}

void TMenuItem::Popup(const QPoint& screenPoint) {
    if (menu_) menu_->exec(screenPoint);
}
