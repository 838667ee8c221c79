#include "ImageList.h"

#include "SjisText.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

TImageList::TImageList() = default;
TImageList::~TImageList() = default;

int TImageList::Add(const char* const* xpm) {
    QImage image(xpm);
    if (image.isNull()) throw EInvalidGraphic(SjisText("イメージのデータが正しくありません"));
    if (image.width() != Width() || image.height() != Height())
        throw EInvalidGraphic(SjisText("イメージの大きさが正しくありません"));
    images_.push_back(image.convertToFormat(QImage::Format_ARGB32));
    return Count() - 1;
}

int TImageList::Count() const {
    return static_cast<int>(images_.size());
}

QPixmap TImageList::Pixmap(int index) const {
    if (index < 0 || index >= Count()) return QPixmap();
    return QPixmap::fromImage(images_[index]);
}

QIcon TImageList::Icon(int index) const {
    if (index < 0 || index >= Count()) return QIcon();
    return QIcon(Pixmap(index));
}
