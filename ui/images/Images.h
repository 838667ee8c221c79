#pragma once
// The main window's pictures, drawn as XPM in the files beside this one and compiled in: the nine
// images of its image list, in index order, and the icon of the window and the application.
// Turning the data into images is left to the framework's image list.

// XPM data: the header line, the colour lines, then one line of characters per pixel row.
using TXpmData = const char* const*;

constexpr int ImageListPictureCount = 9;

// Index = the image index that the actions, the menu entries and the tool buttons name:
// 0 copy, 1 cut, 2 delete, 3 paste, 4 undo, 5 right arrow, 6 writing hand, 7 arrowhead (run),
// 8 sun (clear).
extern const TXpmData ImageListPictures[ImageListPictureCount];

// The run button's arrowhead is also the icon: the same data, not a copy.
constexpr int IconPictureIndex = 7;
extern const TXpmData IconPicture;
