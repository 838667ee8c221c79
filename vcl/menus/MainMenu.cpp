#include "MainMenu.h"

void TMainMenu::Add(TMenuItem* item) {
    items_.push_back(item);
    item->SetImages(images_);
}

void TMainMenu::SetImages(const TImageList* images) {
    images_ = images;
    for (TMenuItem* item : items_)
        item->SetImages(images);
}
