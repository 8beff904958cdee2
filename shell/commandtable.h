#pragma once

#include "btmenus.h"

// What the main window refreshes after each command, and the freehand pens it selects: one
// row per command, so the dispatcher and its test walk the same table.
namespace CommandTable {

enum After : unsigned {
    None = 0,
    Label = 1, // the page counter on the main toolbar
    Gallery = 2, // the gallery's page thumbnails
    HideGallery = 4, // a drawing tool: the gallery panel goes out of the way
};

struct AfterRow
{
    int command;
    unsigned after;
};

// clang-format off
inline constexpr AfterRow kAfterRows[] = {
    { BtMenus::btNewFile,           Label },
    { BtMenus::btOpenFile,          Label },
    { BtMenus::btPencil,            HideGallery },
    { BtMenus::btPencilUser1,       HideGallery },
    { BtMenus::btPencilUser3,       HideGallery },
    { BtMenus::btHighlighter,       HideGallery },
    { BtMenus::btHighlighterUser1,  HideGallery },
    { BtMenus::btHighlighterUser2,  HideGallery },
    { BtMenus::btHighlighterUser3,  HideGallery },
    { BtMenus::btTextureBrush,      HideGallery },
    { BtMenus::btPen59,             HideGallery },
    { BtMenus::btFountainPen,       HideGallery },
    { BtMenus::btFountainPenUser1,  HideGallery },
    { BtMenus::btFountainPenUser2,  HideGallery },
    { BtMenus::btFountainPenUser3,  HideGallery },
    { BtMenus::btBrushPen,          HideGallery },
    { BtMenus::btRainbowPen,        HideGallery },
    { BtMenus::btLaserPen,          HideGallery },
    { BtMenus::btSmartPen,          HideGallery },
    { BtMenus::btTableTool,         HideGallery },
    { BtMenus::btColorPage,         Label | Gallery },
    { BtMenus::btImagePage,         Label | Gallery },
    { BtMenus::btTransparentPage,   Label | Gallery },
    { BtMenus::btCleanPage,         Gallery },
    { BtMenus::btExpandRes,         Gallery },
    { BtMenus::btPreviousPage,      Gallery },
    { BtMenus::btNextPage,          Gallery },
};
// clang-format on

constexpr unsigned afterCommand(int command)
{
    for (const AfterRow &row : kAfterRows) {
        if (row.command == command)
            return row.after;
    }
    return None;
}

// Freehand pens chosen through the view's setPenType: alpha forced on the pen (100 lets what
// is under a highlighter show through), cursor picture and pen user.
struct PenRow
{
    int command;
    int alpha;
    const char *cursor;
    int user;
};

inline constexpr char kPenCursor[] = ":/Icon/pen.png";
inline constexpr char kBrushCursor[] = ":/Icon/baBrushPen.png";
inline constexpr char kEraserCursor[] = ":/Icon/baEraserBitmapMedium.png";
inline constexpr char kTexture[] = ":/texture/mobi.png";

// clang-format off
inline constexpr PenRow kPenRows[] = {
    { BtMenus::btPencil,           255, kPenCursor,                 0 },
    { BtMenus::btPencilUser3,      255, kPenCursor,                 3 },
    { BtMenus::btHighlighter,      100, kPenCursor,                 0 },
    { BtMenus::btHighlighterUser1, 100, kPenCursor,                 1 },
    { BtMenus::btHighlighterUser2, 100, kPenCursor,                 2 },
    { BtMenus::btHighlighterUser3, 100, kPenCursor,                 3 },
    { BtMenus::btPen59,            255, kPenCursor,                 0 },
    { BtMenus::btFountainPen,      100, kBrushCursor,               0 },
    { BtMenus::btFountainPenUser1, 255, kPenCursor,                 1 },
    { BtMenus::btFountainPenUser2, 255, kPenCursor,                 2 },
    { BtMenus::btFountainPenUser3, 255, kPenCursor,                 3 },
    { BtMenus::btRainbowPen,       100, ":/Icon/baRainbowPen.png",  0 },
    { BtMenus::btLaserPen,         100, ":/Icon/baLaserPen.png",    0 },
    { BtMenus::btSmartPen,         255, kPenCursor,                 0 },
};
// clang-format on

constexpr const PenRow *penRow(int command)
{
    for (const PenRow &row : kPenRows) {
        if (row.command == command)
            return &row;
    }
    return nullptr;
}

} // namespace CommandTable
