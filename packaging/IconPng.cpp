// Build tool: writes a picture drawn as XPM as a PNG enlarged by a whole number, each pixel
// becoming a square of scale × scale pixels, so that a larger icon is still the picture as drawn.
// Usage: IconPng <picture.xpm> <scale> <picture.png>

#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

QImage Enlarged(const QImage& picture, int scale) {
    QImage out(picture.width() * scale, picture.height() * scale, QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, picture.pixel(x / scale, y / scale));
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: IconPng <picture.xpm> <scale> <picture.png>\n");
        return 2;
    }
    const QImage picture =
        QImage(QString::fromLocal8Bit(argv[1]), "XPM").convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull()) {
        std::fprintf(stderr, "IconPng: %s is not an XPM picture\n", argv[1]);
        return 1;
    }
    const int scale = std::atoi(argv[2]);
    if (scale < 1 || scale > 64) {
        std::fprintf(stderr, "IconPng: the scale must be a whole number from 1 to 64\n");
        return 2;
    }
    if (!Enlarged(picture, scale).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "IconPng: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
