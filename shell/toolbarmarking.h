#pragma once

#include "btmenus.h"

// Which toolbar buttons show the current tool. For a tool with a row, the main toolbar marks the
// named button of each layout (nullptr clears that layout's mark), puts the row's icons on the
// palette buttons of the tool's group, and enables the classic pen-property buttons only for pens
// and shapes. A tool without a row (commands, page kinds, palette openers) changes nothing.
namespace ToolbarMarking {

enum Group {
    GroupNone, // no group icon changes
    GroupPen, // baExpandPenBotton, baExpandPenBottonI, m_pPenC
    GroupShape, // baExpandShapeBotton, baExpandShapeBottonI, m_pShapeC
    GroupInsert, // baExpandMMIBotton, baExpandMMIBottonI, m_pMMIC
};

struct ToolMark
{
    int first; // the row covers the tools first to last
    int last;
    const char *standard; // object names of the buttons to mark; nullptr clears the mark
    const char *kids;
    const char *classicPanel;
    const char *classicGroup;
    Group group;
    const char *icon; // on the group's standard and kids buttons
    const char *classicIcon; // on the group's classic button
    bool penPropertiesDisabled;
};

// clang-format off
inline constexpr ToolMark kToolMarks[] = {
    { BtMenus::btBitmapEraser, BtMenus::btBitmapEraser, "baExpandEraserBotton", "baExpandEraserBottonI", nullptr, nullptr, GroupNone, nullptr, nullptr, true },
    // The object eraser shows on the eraser buttons too; left unmarked the toolbar would go on
    // showing the previous tool as current.
    { BtMenus::btObjectEraser, BtMenus::btObjectEraser, "baExpandEraserBotton", "baExpandEraserBottonI", "m_pObjEraserC", "m_pEraserC", GroupNone, nullptr, nullptr, true },
    { BtMenus::btText, BtMenus::btText, "baExpandMMIBotton", "baExpandMMIBottonI", "m_pTextC", "m_pMMIC", GroupInsert, ":/Icon/text.png", ":/oldIcon/baInsertText.png", true },
    { BtMenus::btTable, BtMenus::btTable, "baExpandMMIBotton", "baExpandMMIBottonI", nullptr, nullptr, GroupInsert, ":/Icon/table.png", ":/oldIcon/baInsertTable.png", true },
    { BtMenus::btPencil, BtMenus::btPencil, "baExpandPenBotton", "baExpandPenBottonI", "m_pPencilC", "m_pPenC", GroupPen, ":/Icon/baExpandPenBotton.png", ":/oldIcon/baExpandPenBotton.png", false },
    { BtMenus::btHighlighter, BtMenus::btHighlighter, "baExpandPenBotton", "baExpandPenBottonI", "m_pHighlighterC", "m_pPenC", GroupPen, ":/Icon/baHighlightPenMini.png", ":/oldIcon/baHighlightPen.png", false },
    { BtMenus::btFountainPen, BtMenus::btFountainPen, "baExpandPenBotton", "baExpandPenBottonI", "m_pFountainC", "m_pPenC", GroupPen, ":/Icon/baSoftPenSmall.png", ":/oldIcon/baSoftPen.png", false },
    { BtMenus::btBrushPen, BtMenus::btBrushPen, "baExpandPenBotton", "baExpandPenBottonI", "m_pFountainC", "m_pPenC", GroupPen, ":/Icon/baSoftPenSmall.png", ":/oldIcon/baSoftPen.png", false },
    { BtMenus::btSmartPen, BtMenus::btSmartPen, "baExpandPenBotton", "baExpandPenBottonI", "m_pSmartPenC", "m_pPenC", GroupPen, ":/Icon/smartpen.png", ":/oldIcon/baSmartPen.png", false },
    { BtMenus::btTableTool, BtMenus::btTableTool, "baExpandMMIBotton", "baExpandMMIBottonI", nullptr, nullptr, GroupInsert, ":/Icon/table.png", ":/oldIcon/baInsertTable.png", true },
    { BtMenus::btLine, BtMenus::btLine, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pLineC", "m_pShapeC", GroupShape, ":/Icon/baLine.png", ":/oldIcon/baLine.png", false },
    { BtMenus::btTriangle, BtMenus::btTriangle, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pTriangleC", "m_pShapeC", GroupShape, ":/Icon/baTriangle.png", ":/oldIcon/baTriangle.png", false },
    { BtMenus::btSquare, BtMenus::btSquare, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pSquareC", "m_pShapeC", GroupShape, ":/Icon/baSquare.png", ":/oldIcon/baSquare.png", false },
    { BtMenus::btRectangle, BtMenus::btRectangle, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pRectC", "m_pShapeC", GroupShape, ":/Icon/baRect.png", ":/oldIcon/baRect.png", false },
    { BtMenus::btRoundRect, BtMenus::btRoundRect, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pRRectC", "m_pShapeC", GroupShape, ":/Icon/baRectRound.png", ":/oldIcon/baRoundRect.png", false },
    { BtMenus::btCircle, BtMenus::btCircle, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pCircleC", "m_pShapeC", GroupShape, ":/Icon/baCircle.png", ":/oldIcon/baCircle.png", false },
    { BtMenus::btEllipse, BtMenus::btEllipse, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pEllipseC", "m_pShapeC", GroupShape, ":/Icon/baEllipse.png", ":/oldIcon/baEllipse.png", false },
    { BtMenus::btPentagon, BtMenus::btPentagon, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pPentagonC", "m_pShapeC", GroupShape, ":/Icon/baPolygon.png", ":/oldIcon/baPolygon.png", false },
    { BtMenus::btHexagon, BtMenus::btHexagon, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pHexagonC", "m_pShapeC", GroupShape, ":/Icon/baDrawSexangleexagon.png", ":/oldIcon/baDrawSexangle.png", false },
    { BtMenus::btPolygon, BtMenus::btPolygon, "baExpandShapeBotton", "baExpandShapeBottonI", nullptr, nullptr, GroupShape, ":/Icon/baExpandShapeBotton.png", ":/oldIcon/baExpandShapeBotton.png", false },
    { BtMenus::btParallelogram, BtMenus::btParallelogram, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pParallelogramC", "m_pShapeC", GroupShape, ":/Icon/baParallelogram.png", ":/oldIcon/baParallelogram.png", false },
    { BtMenus::btRightTriangle, BtMenus::btRightTriangle, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pTRectC", "m_pShapeC", GroupShape, ":/Icon/baRectTriangle.png", ":/oldIcon/baRectTriangle.png", false },
    { BtMenus::btRhombus, BtMenus::btRhombus, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pRhombusC", "m_pShapeC", GroupShape, ":/Icon/baRhombus.png", ":/oldIcon/baRhombus.png", false },
    { BtMenus::btArrow, BtMenus::btArrow, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pArrowC", "m_pShapeC", GroupShape, ":/Icon/baArrow.png", ":/oldIcon/baArrow.png", false },
    { BtMenus::btStar, BtMenus::btStar, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pFiveStarC", "m_pShapeC", GroupShape, ":/Icon/baStar.png", ":/oldIcon/baFiveStar.png", false },
    { BtMenus::btDoubleArrow, BtMenus::btDoubleArrow, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pDArrowC", "m_pShapeC", GroupShape, ":/Icon/baDoubleArrow.png", ":/oldIcon/baDoubleArrow.png", false },
    { BtMenus::btCone, BtMenus::btCone, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pConeC", "m_pShapeC", GroupShape, ":/Icon/baCone.png", ":/oldIcon/baCone.png", false },
    { BtMenus::btCube, BtMenus::btCube, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pCubeC", "m_pShapeC", GroupShape, ":/Icon/baCube.png", ":/oldIcon/baCube.png", false },
    { BtMenus::btCylinder, BtMenus::btCylinder, "baExpandShapeBotton", "baExpandShapeBottonI", "m_pCylinderC", "m_pShapeC", GroupShape, ":/Icon/baCylinder.png", ":/oldIcon/baCylinder.png", false },
    { BtMenus::btBall, BtMenus::btBall, "baExpandShapeBotton", "baExpandShapeBottonI", nullptr, nullptr, GroupShape, ":/Icon/baBall.png", ":/oldIcon/baBall.png", false },
    { BtMenus::btShape92, BtMenus::btFill, "baExpandShapeBotton", "baExpandShapeBottonI", nullptr, nullptr, GroupShape, ":/Icon/baExpandShapeBotton.png", ":/oldIcon/baExpandShapeBotton.png", false },
    { BtMenus::btDragPage, BtMenus::btDragPage, "baExpandPageBotton", "baExpandPageBottonI", "m_pFreeMoveC", "m_pPageAC", GroupNone, nullptr, nullptr, true },
    { BtMenus::btSelect, BtMenus::btSelect, "m_pSelect", "m_pSelectI", nullptr, "m_pSelectC", GroupNone, nullptr, nullptr, true },
};
// clang-format on

constexpr bool rowsAreOrderedAndDisjoint()
{
    for (const ToolMark &mark : kToolMarks) {
        if (mark.first > mark.last)
            return false;
    }
    for (unsigned i = 1; i < sizeof(kToolMarks) / sizeof(kToolMarks[0]); ++i) {
        if (kToolMarks[i].first <= kToolMarks[i - 1].last)
            return false;
    }
    return true;
}
static_assert(rowsAreOrderedAndDisjoint(), "two marking rows claim one tool");

// The row of a tool, or nullptr when the tool changes no mark.
constexpr const ToolMark *toolMark(int tool)
{
    for (const ToolMark &mark : kToolMarks) {
        if (tool >= mark.first && tool <= mark.last)
            return &mark;
    }
    return nullptr;
}

} // namespace ToolbarMarking
