#include "Images.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

// The installed icons are the window's icon, each pixel a whole square: nothing blurred, moved or
// recoloured.
TEST(DesktopIcon, EachSizeIsTheWindowIconEnlargedByWholePixels) {
    const QImage icon = QImage(IconPicture).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(16, 16));
    std::set<QRgb> colours;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            colours.insert(icon.pixel(x, y));
    ASSERT_GE(colours.size(), 3u) << "the icon should hold ground, black and silver";

    for (const int scale : {1, 2, 3}) {
        const int size = 16 * scale;
        const std::string path = std::string(KELVANE_ICON_DIR) + "/" + std::to_string(size) + "x" +
                                 std::to_string(size) + "/" KELVANE_DESKTOP_ID ".png";
        const QImage png =
            QImage(QString::fromStdString(path), "PNG").convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(png.size(), QSize(size, size)) << path;
        int wrong = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                wrong += png.pixel(x, y) != icon.pixel(x / scale, y / scale);
        EXPECT_EQ(wrong, 0) << path;
    }
}

} // namespace
