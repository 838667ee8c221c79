#include "Images.h"

// Each file defines one static array named after the file.
#include "Arrowhead.xpm"
#include "Copy.xpm"
#include "Cut.xpm"
#include "Delete.xpm"
#include "Paste.xpm"
#include "RightArrow.xpm"
#include "Sun.xpm"
#include "Undo.xpm"
#include "WritingHand.xpm"

const TXpmData ImageListPictures[ImageListPictureCount] = {
    Copy_xpm,       Cut_xpm,         Delete_xpm,    Paste_xpm, Undo_xpm,
    RightArrow_xpm, WritingHand_xpm, Arrowhead_xpm, Sun_xpm,
};

const TXpmData IconPicture = Arrowhead_xpm;
