// The main window's pictures: nine 16 × 16 images on a transparent ground in the 16-colour
// palette, held by the image list in the order the actions and buttons name them, and the icon.

#include "Images.h"

#include "ImageList.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace {

// The 16-colour palette the pictures are drawn in.
const std::map<QRgb, std::string> Palette = {
    {0xFF000000, "black"}, {0xFF800000, "maroon"},  {0xFF008000, "green"}, {0xFF808000, "olive"},
    {0xFF000080, "navy"},  {0xFF800080, "purple"},  {0xFF008080, "teal"},  {0xFFC0C0C0, "silver"},
    {0xFF808080, "grey"},  {0xFFFF0000, "red"},     {0xFF00FF00, "lime"},  {0xFFFFFF00, "yellow"},
    {0xFF0000FF, "blue"},  {0xFFFF00FF, "fuchsia"}, {0xFF00FFFF, "cyan"},  {0xFFFFFFFF, "white"}};

// A palette colour by its name, any other as "#rrggbb".
std::string ColourName(QRgb colour) {
    const auto named = Palette.find(colour);
    if (named != Palette.end()) return named->second;
    return QColor(colour).name().toStdString();
}

// The colours each picture is drawn in, as its description names them (with black outlines where
// the picture has them). No two pictures share a set, so the sets also tell the order.
struct Picture {
    const char* name;
    std::set<std::string> colours;
};
const Picture Pictures[ImageListPictureCount] = {
    {"two sheets of paper", {"black", "navy", "white"}},
    {"scissors", {"black", "navy"}},
    {"diagonal cross", {"black"}},
    {"clipboard with a sheet", {"black", "olive", "yellow", "navy", "white"}},
    {"arrow curving left", {"navy"}},
    {"red arrow", {"black", "red"}},
    {"writing hand", {"black", "yellow", "cyan", "olive", "red", "grey"}},
    {"arrowhead", {"black", "silver"}},
    {"sun", {"black", "yellow", "grey"}},
};

struct PixelCount {
    int transparent = 0;
    int opaque = 0;
    int halfTransparent = 0;
    std::set<std::string> colours;
    std::set<std::string> outsideThePalette;
};

PixelCount CountPixels(const QImage& image) {
    PixelCount count;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = argb.pixel(x, y);
            if (qAlpha(pixel) == 0)
                ++count.transparent;
            else if (qAlpha(pixel) == 255) {
                ++count.opaque;
                count.colours.insert(ColourName(pixel));
                if (!Palette.count(pixel)) count.outsideThePalette.insert(ColourName(pixel));
            } else
                ++count.halfTransparent;
        }
    return count;
}

void AddAll(TImageList& list) {
    for (int i = 0; i < ImageListPictureCount; ++i)
        ASSERT_EQ(list.Add(ImageListPictures[i]), i);
}

TEST(Images, EachIsSixteenSquareInThePaletteOnATransparentGround) {
    TImageList list;
    AddAll(list);
    ASSERT_EQ(list.Count(), ImageListPictureCount);
    for (int i = 0; i < ImageListPictureCount; ++i) {
        SCOPED_TRACE(std::to_string(i) + " " + Pictures[i].name);
        const QImage image = list.Pixmap(i).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        const PixelCount count = CountPixels(image);
        EXPECT_GT(count.transparent, 0);
        EXPECT_GT(count.opaque, 0);
        EXPECT_EQ(count.halfTransparent, 0) << "the mask is all or nothing";
        EXPECT_EQ(count.outsideThePalette, std::set<std::string>{});
    }
}

TEST(Images, TheListHoldsThemInTheOrderOfTheirIndices) {
    TImageList list;
    AddAll(list);
    for (int i = 0; i < ImageListPictureCount; ++i) {
        SCOPED_TRACE(std::to_string(i) + " " + Pictures[i].name);
        EXPECT_EQ(CountPixels(list.Pixmap(i).toImage()).colours, Pictures[i].colours);
    }
}

// The run button shows image 7; the window and the application show the same data as their icon.
TEST(Images, TheIconIsTheRunButtonsArrowhead) {
    EXPECT_EQ(IconPictureIndex, 7);
    EXPECT_EQ(IconPicture, ImageListPictures[7]) << "one picture, not a copy";
}

// Data that cannot go into the list is refused whole; the list stays as it was.
TEST(ImageList, RefusesWhatIsNoSixteenSquareImage) {
    static const char* const eightSquare[] = {"8 8 2 1",  ". c None", "# c #000000", "########",
                                              "#......#", "#......#", "#......#",    "#......#",
                                              "#......#", "#......#", "########"};
    static const char* const noImage[] = {"not a picture"};
    static const char* const sixteenSquare[] = {
        "16 16 1 1",        "# c #000080",      "################", "################",
        "################", "################", "################", "################",
        "################", "################", "################", "################",
        "################", "################", "################", "################",
        "################", "################"};
    struct Case {
        const char* name;
        const char* const* xpm;
    };
    const Case cases[] = {{"eight pixels square", eightSquare}, {"no image", noImage}};
    TImageList list;
    ASSERT_EQ(list.Add(sixteenSquare), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(list.Add(c.xpm), EInvalidGraphic);
        EXPECT_EQ(list.Count(), 1);
    }
    EXPECT_EQ(list.Add(sixteenSquare), 1);
}

// -1 stands for "no image": such an index, or one past the end, gives an empty picture.
TEST(ImageList, AnIndexOutsideTheListGivesNoPicture) {
    TImageList list;
    AddAll(list);
    for (int index : {-1, ImageListPictureCount, 100}) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(list.Pixmap(index).isNull());
        EXPECT_TRUE(list.Icon(index).isNull());
    }
    EXPECT_FALSE(list.Icon(0).isNull());
    EXPECT_EQ(list.Icon(0).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
              list.Pixmap(0).toImage().convertToFormat(QImage::Format_ARGB32));
}

} // namespace
