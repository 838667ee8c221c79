#pragma once
// A list of 16 × 16 images with transparency, built from XPM data, that tool buttons, menu
// entries and actions show by index. How a control draws one (greyed when disabled) is its own.

#include "Control.h"
#include "Exception.h"

#include <vector>

class QIcon;
class QImage;
class QPixmap;

// Picture data that is no image, or an image of another size than the list's.
class EInvalidGraphic : public Exception {
  public:
    using Exception::Exception;
};

class TImageList : public TComponent {
  public:
    TImageList();
    ~TImageList() override;

    // Appends the picture and returns its index. Fails with EInvalidGraphic, adding nothing, when
    // the data is no XPM image or not 16 × 16 pixels.
    int Add(const char* const* xpm);
    int Count() const;
    int Width() const { return 16; }
    int Height() const { return 16; }

    // The picture at `index`, with its transparent pixels. Out of range (-1 is "no image") they
    // are empty, and a control shows nothing.
    QPixmap Pixmap(int index) const;
    QIcon Icon(int index) const;

  private:
    std::vector<QImage> images_;
};
