#pragma once

// Numbers shared by the board, the undo commands and the document writer. They are plain
// integers on purpose: several coincide with the toolkit's own graphics-item types (2 path,
// 7 pixmap, 8 text, 10 group), so board code never uses qgraphicsitem_cast on board objects.

// What each board class returns from QGraphicsItem::type().
enum ItemType {
    ItemTypePath = 2,
    ItemTypeVertex = 3,
    ItemTypeTable = 4,
    ItemTypePixmap = 7,
    ItemTypeText = 8,
    ItemTypeGroup = 10,
    ItemTypeSound = 11,
    ItemTypeVideo = 12,
    ItemTypeHandle = 21, // frames, focus handles and frame buttons: never board objects
    ItemTypeInstrument = 22, // compass, protractor, ruler, set square
};

// Keys of QGraphicsItem::data() the board uses.
enum ItemDataKey {
    ItemDataMedia = 11, // the media chosen for an object with editSetAV
    // Set while the board holds back the toolkit's cache of an item shown larger than the
    // board (the item's own choice of cache comes back when it fits again).
    ItemDataToolkitCacheHeld = 12,
};

// Board objects are the types 2 to 12; handles and instruments lie outside.
constexpr bool isBoardObjectType(int type)
{
    return type >= ItemTypePath && type <= ItemTypeVideo;
}

// How far from a page's origin an object may lie, in scene pixels. Lessons carry objects moved
// far off the board, and keep them; farther out than this a single-precision number (as
// documents are read) no longer holds every whole pixel, so an object there could not come
// back where it was.
constexpr double kBoardReach = 16777216.0; // 2^24

enum PenUser {
    PenUserMain = 0,
    PenUser1 = 1, // left half of the board in multi-user mode
    PenUser2 = 2, // has no half: nothing it draws reaches a page
    PenUser3 = 3, // right half
};
constexpr int kPenUserCount = 4;

enum PageType {
    PageTypeColor = 0,
    PageTypeImage = 1,
    PageTypeCapture = 2,
    PageTypeTransparent = 3,
};

// Fill chosen in the shape palette.
enum FillKind {
    FillSolid = 0,
    FillGradient = 1,
    FillImage = 2,
    FillPattern = 3,
};

// Fill a shape object stores (document attribute "fillType").
enum ItemFillType {
    ItemFillNone = 0,
    ItemFillSolid = 1,
    ItemFillGradient = 2,
    ItemFillTexture = 3,
};
