#pragma once

// The vocabulary every subsystem shares. The enumerations are deliberately unscoped plain
// integers: values travel through string-signature signals ("buttonClicked(btType)"), are stored
// in the settings as integers and are compared and offset arithmetically (a pen kind is its
// btType minus btPencil). Every enumerator name is therefore unique across the namespace.
namespace BtMenus {

enum btType {
    btBitmapEraser = 0,
    btObjectEraser = 1,
    btNewFile = 2,
    btOpenFile = 3,
    btSaveFile = 4,
    btSaveAsFile = 5,
    btMultiUser = 6,
    btBmpFile = 7,
    btJpgFile = 8,
    btPngFile = 9,
    btTiffFile = 10,
    btPdfFile = 11,
    btEnglish = 12,
    btSpanish = 13,
    btRussian = 14,
    btPortuguese = 15,
    btFrench = 16,
    btGerman = 17,
    btUnused18 = 18,
    btSettings = 19,
    btUnused20 = 20,
    btHelp = 21,
    btUnused22 = 22,
    btExit = 23,
    btImage = 24,
    btVideo = 25,
    btFlash = 26,
    btSound = 27,
    btText = 28,
    btTable = 29,
    btPdf = 30,
    btActivities = 31,
    btBrowser = 32,
    btCalculator = 33,
    btCapture = 34,
    btClock = 35,
    btShare = 36,
    btCompass = 37,
    btCurtain = 38,
    btDice = 39,
    btKeyboard = 40,
    btMagnifier = 41,
    btPlayRecorder = 42,
    btProtractor = 43,
    btRecorder = 44,
    btRuler = 45,
    btSearchLight = 46,
    btStopRecorder = 47,
    btTriangleRuler = 48,
    btVideoCamera = 49,
    btPencil = 50,
    btPencilUser1 = 51,
    btPencilUser2 = 52,
    btPencilUser3 = 53,
    btHighlighter = 54,
    btHighlighterUser1 = 55,
    btHighlighterUser2 = 56,
    btHighlighterUser3 = 57,
    btTextureBrush = 58,
    btPen59 = 59,
    btFountainPen = 60,
    btFountainPenUser1 = 61,
    btFountainPenUser2 = 62,
    btFountainPenUser3 = 63,
    btEraserUser1 = 64,
    btEraserUser3 = 65,
    btBrushPen = 66,
    btRainbowPen = 67,
    btLaserPen = 68,
    btSmartPen = 69,
    btTableTool = 70,
    btTemporaryTool = 71,
    btLine = 72,
    btTriangle = 73,
    btSquare = 74,
    btRectangle = 75,
    btRoundRect = 76,
    btCircle = 77,
    btEllipse = 78,
    btPentagon = 79,
    btHexagon = 80,
    btPolygon = 81,
    btParallelogram = 82,
    btRightTriangle = 83,
    btRhombus = 84,
    btArrow = 85,
    btStar = 86,
    btDoubleArrow = 87,
    btCone = 88,
    btCube = 89,
    btCylinder = 90,
    btBall = 91,
    btShape92 = 92,
    btShape93 = 93,
    btFill = 94,
    btColorPage = 95,
    btImagePage = 96,
    btTransparentPage = 97,
    btCapturePage = 98,
    btDragPage = 99,
    btMoveBackPage = 100,
    btCleanPage = 101,
    btDeletePage = 102,
    btZoomIn = 103,
    btZoomOut = 104,
    btHideBar = 105,
    btExpandMenu = 106,
    btDesktop = 107,
    btExpandTool = 108,
    btExpandRes = 109,
    btSelect = 110,
    btExpandPen = 111,
    btExpandEraser = 112,
    btExpandShape = 113,
    btExpandMMI = 114,
    btUndo = 115,
    btRedo = 116,
    btPreviousPage = 117,
    btExpandPage = 118,
    btNextPage = 119,
};

// The undoable step an object reports when an interaction with it ends.
enum eStack {
    stAdd = 0,
    stMove = 1,
    stDelete = 2,
    stLock = 3,
    stUnlock = 4,
    stTrans = 5,
    stAddGroup = 6,
    stDeleteGroup = 7,
    stText = 8,
    stGoToPage = 9, // a page-link jump: x of the reported point is the target page; never recorded
    stLinks = 10,
    stColor = 11,
};

// The buttons on an object's frame (created in the order 1, 2, 3, 5, 4).
enum fnTypeRotateItem {
    fnWebLink = 1,
    fnPageLink = 2,
    fnFileLink = 3,
    fnLock = 4,
    fnMedia = 5,
};

// How a page places a path handed to it.
enum fnPathPosition {
    fnPathViewCoords = 0, // freehand strokes
    fnPathSceneCoords = 1, // document readers
    fnPathAtPos = 2,
    fnPathVertexItem = 3, // paths drawn along classroom instruments
};

// Which context menu an object gets; the values are the object type numbers.
enum btItemType {
    btItemPath = 2,
    btItemVertex = 3,
    btItemVideo = 12,
    btItemGeneric = 21,
};

enum resType {
    resImage = 0,
    resText = 1,
    resPage = 2,
};

enum eInterfaceMode {
    imStandard = 0,
    imKids = 1,
    imClassic = 2,
    imMultiUser = 3,
};

enum eDesktopMode {
    dmDesktop = 0,
    dmBoard = 1,
};

// Stored order; differs from the order of the language commands 12 to 17.
enum eLanguageMode {
    lngSpanish = 0,
    lngEnglish = 1,
    lngRussian = 2,
    lngPortuguese = 3,
    lngFrench = 4,
    lngGerman = 5,
};

constexpr int kFirstPenKind = btPencil;
constexpr int kLastPenKind = btSmartPen;
constexpr int kFirstShapeKind = btLine;
constexpr int kLastShapeKind = btShape93;
constexpr int kFirstSolidShape = btCone;
constexpr int kBtTypeCount = btNextPage + 1;

constexpr bool isPenKind(int type)
{
    return type >= kFirstPenKind && type <= kLastPenKind;
}
constexpr bool isShapeKind(int type)
{
    return type >= kFirstShapeKind && type <= kLastShapeKind;
}
// Solids are drawn with their own shading and take no fill.
constexpr bool isSolidShape(int type)
{
    return type >= kFirstSolidShape && type <= kLastShapeKind;
}

} // namespace BtMenus

// Signal and slot signatures name the bare type (for example "buttonClicked(btType)"), so the
// names must resolve outside the namespace too.
using btType = BtMenus::btType;
using eStack = BtMenus::eStack;
using eLanguageMode = BtMenus::eLanguageMode;
using eInterfaceMode = BtMenus::eInterfaceMode;
