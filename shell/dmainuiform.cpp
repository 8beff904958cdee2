#include "dmainuiform.h"

#include <QColor>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMetaObject>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstring>

namespace {

using ButtonMember = QToolButton *Ui_DMainUi::*;
using LineMember = QFrame *Ui_DMainUi::*;
using WidgetMember = QWidget *Ui_DMainUi::*;
using HLayoutMember = QHBoxLayout *Ui_DMainUi::*;
using VLayoutMember = QVBoxLayout *Ui_DMainUi::*;

struct ButtonSpec
{
    ButtonMember member;
    const char *name;
    const char *icon; // nullptr: no icon
    const char *toolTip; // source text; nullptr: no tooltip
    const char *text; // source text; nullptr: empty
};

// clang-format off
const ButtonSpec kButtons[] = {
    // Classic: the direction cross.
    { &Ui_DMainUi::m_pSelectC,        "m_pSelectC",        ":/oldIcon/bTop-C.png",    QT_TRANSLATE_NOOP("DMainUi", "Seleccionar"), nullptr },
    { &Ui_DMainUi::m_pUndoC,          "m_pUndoC",          ":/oldIcon/bLeft-C.png",   QT_TRANSLATE_NOOP("DMainUi", "Deshacer"),    nullptr },
    { &Ui_DMainUi::m_pDesktopC,       "m_pDesktopC",       ":/oldIcon/bCenter-C.png", QT_TRANSLATE_NOOP("DMainUi", "Escritorio"),  nullptr },
    { &Ui_DMainUi::m_pRedoC,          "m_pRedoC",          ":/oldIcon/bRight-C.png",  QT_TRANSLATE_NOOP("DMainUi", "Rehacer"),     nullptr },
    { &Ui_DMainUi::baExpandMenuBottonC, "baExpandMenuBottonC", ":/oldIcon/bBottom-C.png", QT_TRANSLATE_NOOP("DMainUi", "Menú"),   nullptr },
    // Classic: group selector.
    { &Ui_DMainUi::m_pPagesC,     "m_pPagesC",     ":/oldIcon/baExpandNewPage.png",             QT_TRANSLATE_NOOP("DMainUi", "Páginas"),             "1 / 1" },
    { &Ui_DMainUi::m_pPenC,       "m_pPenC",       ":/oldIcon/pen.png",                         QT_TRANSLATE_NOOP("DMainUi", "Pinceles"),            nullptr },
    { &Ui_DMainUi::m_pShapeC,     "m_pShapeC",     ":/oldIcon/baExpandShapeBotton.png",         QT_TRANSLATE_NOOP("DMainUi", "Figuras"),             nullptr },
    { &Ui_DMainUi::m_pEraserC,    "m_pEraserC",    ":/oldIcon/baEraser.png",                    QT_TRANSLATE_NOOP("DMainUi", "Borradores"),          nullptr },
    { &Ui_DMainUi::m_pMMIC,       "m_pMMIC",       ":/oldIcon/baExpandInsertFromFileBotton.png", QT_TRANSLATE_NOOP("DMainUi", "Objectos multimedia"), nullptr },
    { &Ui_DMainUi::m_pPageAC,     "m_pPageAC",     ":/oldIcon/baExpandPageOperationsBotton.png", QT_TRANSLATE_NOOP("DMainUi", "Acciones de página"),  nullptr },
    { &Ui_DMainUi::m_pToolsC,     "m_pToolsC",     ":/oldIcon/baExpandTools.png",               QT_TRANSLATE_NOOP("DMainUi", "Herramientas"),        nullptr },
    { &Ui_DMainUi::m_pResourcesC, "m_pResourcesC", ":/oldIcon/baLoadResources.png",             QT_TRANSLATE_NOOP("DMainUi", "Recursos"),            nullptr },
    // Classic: pages panel.
    { &Ui_DMainUi::m_pWhitePageC,   "m_pWhitePageC",   ":/oldIcon/baNewWhitePage.png", QT_TRANSLATE_NOOP("DMainUi", "Página blanca"),       nullptr },
    { &Ui_DMainUi::m_pTransPageC,   "m_pTransPageC",   ":/oldIcon/baNewTransPage.png", QT_TRANSLATE_NOOP("DMainUi", "Página Transparente"), nullptr },
    { &Ui_DMainUi::m_pScreenPageC,  "m_pScreenPageC",  ":/oldIcon/baNewColorPage.png", QT_TRANSLATE_NOOP("DMainUi", "Página de captura"),   nullptr },
    { &Ui_DMainUi::m_pImagePageC,   "m_pImagePageC",   ":/oldIcon/baNewImagePage.png", QT_TRANSLATE_NOOP("DMainUi", "Página de imagen"),    nullptr },
    { &Ui_DMainUi::m_pCleanPageC_2, "m_pCleanPageC_2", ":/oldIcon/baClearPage.png",    QT_TRANSLATE_NOOP("DMainUi", "Limpiar página"),      nullptr },
    { &Ui_DMainUi::m_pRemovePageC,  "m_pRemovePageC",  ":/oldIcon/baDelPage.png",      QT_TRANSLATE_NOOP("DMainUi", "Eliminar página"),     nullptr },
    // Classic: pen panel.
    { &Ui_DMainUi::m_pPencilC,      "m_pPencilC",      ":/oldIcon/baExpandPenBotton.png", QT_TRANSLATE_NOOP("DMainUi", "Lápiz"),             nullptr },
    { &Ui_DMainUi::m_pHighlighterC, "m_pHighlighterC", ":/oldIcon/baHighlightPen.png",    QT_TRANSLATE_NOOP("DMainUi", "Subrayador"),        nullptr },
    { &Ui_DMainUi::m_pFountainC,    "m_pFountainC",    ":/oldIcon/baSoftPen.png",         QT_TRANSLATE_NOOP("DMainUi", "Estilográfico"),     nullptr },
    { &Ui_DMainUi::m_pSmartPenC,    "m_pSmartPenC",    ":/Icon/baSmartPen.png",           QT_TRANSLATE_NOOP("DMainUi", "Lápiz Inteligente"), nullptr },
    // Classic: eraser panel.
    { &Ui_DMainUi::m_pObjEraserC, "m_pObjEraserC", ":/oldIcon/baEraser.png",              QT_TRANSLATE_NOOP("DMainUi", "Borrador de objeto"), nullptr },
    { &Ui_DMainUi::m_pEraserLC,   "m_pEraserLC",   nullptr,                               QT_TRANSLATE_NOOP("DMainUi", "Borrador grande"),    nullptr },
    { &Ui_DMainUi::m_pEraserMC,   "m_pEraserMC",   ":/oldIcon/baEraserBitmapMedium.png", QT_TRANSLATE_NOOP("DMainUi", "Borrador mediano"),   nullptr },
    { &Ui_DMainUi::m_pEraserSC,   "m_pEraserSC",   ":/oldIcon/baEraserBitmapSmall.png",  QT_TRANSLATE_NOOP("DMainUi", "Borrador pequeño"),   nullptr },
    // Classic: shape panel.
    { &Ui_DMainUi::m_pLineC,          "m_pLineC",          ":/oldIcon/baLine.png",                QT_TRANSLATE_NOOP("DMainUi", "Línea"),                 nullptr },
    { &Ui_DMainUi::m_pTRectC,         "m_pTRectC",         ":/oldIcon/baTriangleRectangular.png", QT_TRANSLATE_NOOP("DMainUi", "Triángulo rectangulo"),  nullptr },
    { &Ui_DMainUi::m_pEllipseC,       "m_pEllipseC",       ":/oldIcon/baEllipse.png",             QT_TRANSLATE_NOOP("DMainUi", "Ellipse"),               nullptr },
    { &Ui_DMainUi::m_pPentagonC,      "m_pPentagonC",      ":/oldIcon/baPolygon.png",             QT_TRANSLATE_NOOP("DMainUi", "Pentágono"),             nullptr },
    { &Ui_DMainUi::m_pHexagonC,       "m_pHexagonC",       ":/oldIcon/baDrawSexangle.png",        QT_TRANSLATE_NOOP("DMainUi", "Hexágono"),              nullptr },
    { &Ui_DMainUi::m_pArrowC,         "m_pArrowC",         ":/oldIcon/baArrow.png",               QT_TRANSLATE_NOOP("DMainUi", "Flecha"),                nullptr },
    { &Ui_DMainUi::m_pCubeC,          "m_pCubeC",          ":/oldIcon/baCube.png",                QT_TRANSLATE_NOOP("DMainUi", "Cubo"),                  nullptr },
    { &Ui_DMainUi::m_pConeC,          "m_pConeC",          ":/oldIcon/baCone.png",                QT_TRANSLATE_NOOP("DMainUi", "Cono"),                  nullptr },
    { &Ui_DMainUi::m_pParallelogramC, "m_pParallelogramC", ":/oldIcon/baDrawParallelogram.png",   nullptr,                     nullptr },
    { &Ui_DMainUi::m_pTriangleC,      "m_pTriangleC",      ":/oldIcon/baTriangle.png",            QT_TRANSLATE_NOOP("DMainUi", "Triángulo"),             nullptr },
    { &Ui_DMainUi::m_pSquareC,        "m_pSquareC",        ":/oldIcon/baRect.png",                QT_TRANSLATE_NOOP("DMainUi", "Cuadrado"),              nullptr },
    { &Ui_DMainUi::m_pCircleC,        "m_pCircleC",        ":/oldIcon/baCircle.png",              QT_TRANSLATE_NOOP("DMainUi", "Círculo"),               nullptr },
    { &Ui_DMainUi::m_pFiveStarC,      "m_pFiveStarC",      ":/oldIcon/baFiveStar.png",            QT_TRANSLATE_NOOP("DMainUi", "Estrella"),              nullptr },
    { &Ui_DMainUi::m_pRhombusC,       "m_pRhombusC",       ":/oldIcon/baRhombus.png",             QT_TRANSLATE_NOOP("DMainUi", "Rombo"),                 nullptr },
    { &Ui_DMainUi::m_pDArrowC,        "m_pDArrowC",        ":/oldIcon/baDoubleArrow.png",         QT_TRANSLATE_NOOP("DMainUi", "Doble Flecha"),          nullptr },
    { &Ui_DMainUi::m_pCylinderC,      "m_pCylinderC",      ":/oldIcon/baCylinder.png",            QT_TRANSLATE_NOOP("DMainUi", "Cilindro"),              nullptr },
    { &Ui_DMainUi::m_pRRectC,         "m_pRRectC",         ":/oldIcon/baRoundRect.png",           QT_TRANSLATE_NOOP("DMainUi", "Rectángulo redondeado"), nullptr },
    { &Ui_DMainUi::m_pRectC,          "m_pRectC",          ":/oldIcon/baRect.png",                nullptr,                     nullptr },
    // Classic: insert panel.
    { &Ui_DMainUi::m_pImageC,  "m_pImageC",  ":/oldIcon/baInsertImageFromFile.png", QT_TRANSLATE_NOOP("DMainUi", "Imagen"), nullptr },
    { &Ui_DMainUi::m_pVideoC,  "m_pVideoC",  ":/oldIcon/baInsertVideoFromFile.png", QT_TRANSLATE_NOOP("DMainUi", "Vídeo"),  nullptr },
    { &Ui_DMainUi::m_pSoundC,  "m_pSoundC",  ":/oldIcon/PlaySound1.png",            QT_TRANSLATE_NOOP("DMainUi", "Sonido"), nullptr },
    { &Ui_DMainUi::m_pTextC,   "m_pTextC",   ":/oldIcon/baInsertText.png",          QT_TRANSLATE_NOOP("DMainUi", "Texto"),  nullptr },
    { &Ui_DMainUi::m_pFreeC_4, "m_pFreeC_4", nullptr,                               nullptr,      nullptr },
    { &Ui_DMainUi::m_pFreeC_3, "m_pFreeC_3", nullptr,                               nullptr,      nullptr },
    // Classic: page actions panel.
    { &Ui_DMainUi::m_pZoomPlusC,    "m_pZoomPlusC",    ":/oldIcon/bZoomOut.png",    QT_TRANSLATE_NOOP("DMainUi", "Ampliar página"),   nullptr },
    { &Ui_DMainUi::m_pFreeMoveC,    "m_pFreeMoveC",    ":/oldIcon/baDragpage.png",  QT_TRANSLATE_NOOP("DMainUi", "Mover página"),     nullptr },
    { &Ui_DMainUi::m_pLastPageC,    "m_pLastPageC",    ":/oldIcon/baPageUp.png",    QT_TRANSLATE_NOOP("DMainUi", "Página anterior"),  nullptr },
    { &Ui_DMainUi::m_pCleanPageC,   "m_pCleanPageC",   ":/oldIcon/baClearPage.png", QT_TRANSLATE_NOOP("DMainUi", "Limpiar página"),   nullptr },
    { &Ui_DMainUi::m_pZoomMinusC,   "m_pZoomMinusC",   ":/oldIcon/bZoomIn.png",     QT_TRANSLATE_NOOP("DMainUi", "Reducir página"),   nullptr },
    { &Ui_DMainUi::m_pRestoreMoveC, "m_pRestoreMoveC", ":/oldIcon/bZooma.png",      QT_TRANSLATE_NOOP("DMainUi", "Posición inicial"), nullptr },
    { &Ui_DMainUi::m_pNextPageC,    "m_pNextPageC",    ":/oldIcon/baPageDown.png",  QT_TRANSLATE_NOOP("DMainUi", "Página posterior"), nullptr },
    { &Ui_DMainUi::m_pFreeC_6,      "m_pFreeC_6",      nullptr,                     nullptr,                nullptr },
    // Classic: tools panel.
    { &Ui_DMainUi::m_pFocusC,      "m_pFocusC",      ":/oldIcon/baSearchlight.png",   QT_TRANSLATE_NOOP("DMainUi", "Foco"),               nullptr },
    { &Ui_DMainUi::m_pMagnifierC,  "m_pMagnifierC",  ":/oldIcon/baMagnifier.png",     QT_TRANSLATE_NOOP("DMainUi", "Lupa"),               nullptr },
    { &Ui_DMainUi::m_pRulerC,      "m_pRulerC",      ":/oldIcon/baRuler.png",         QT_TRANSLATE_NOOP("DMainUi", "Regla"),              nullptr },
    { &Ui_DMainUi::m_pCompassC,    "m_pCompassC",    ":/oldIcon/baCompasse.png",      QT_TRANSLATE_NOOP("DMainUi", "Compas"),             nullptr },
    { &Ui_DMainUi::m_pShareC,      "m_pShareC",      ":/Icon/Linker.png",             QT_TRANSLATE_NOOP("DMainUi", "Compartir pantalla"), nullptr },
    { &Ui_DMainUi::m_pCurtainC,    "m_pCurtainC",    ":/oldIcon/baCurtain.png",       QT_TRANSLATE_NOOP("DMainUi", "Cortina"),            nullptr },
    { &Ui_DMainUi::m_pClockC,      "m_pClockC",      ":/oldIcon/baClock.png",         QT_TRANSLATE_NOOP("DMainUi", "Reloj"),              nullptr },
    { &Ui_DMainUi::m_pTRulerC,     "m_pTRulerC",     ":/oldIcon/baTriangleRuler.png", QT_TRANSLATE_NOOP("DMainUi", "Escuadra"),           nullptr },
    { &Ui_DMainUi::m_pTransportC,  "m_pTransportC",  ":/oldIcon/baProtractor.png",    QT_TRANSLATE_NOOP("DMainUi", "Trasportador"),       nullptr },
    { &Ui_DMainUi::m_pCalculatorC, "m_pCalculatorC", ":/oldIcon/baCalc.png",          QT_TRANSLATE_NOOP("DMainUi", "Calculadora"),        nullptr },
    // Classic: pen properties.
    { &Ui_DMainUi::m_pColorPenC, "m_pColorPenC", ":/oldIcon/Curtain_Color.png",   QT_TRANSLATE_NOOP("DMainUi", "Color"),         nullptr },
    { &Ui_DMainUi::m_pTransPenC, "m_pTransPenC", ":/oldIcon/setTransparency.png", QT_TRANSLATE_NOOP("DMainUi", "Transparencia"), nullptr },
    { &Ui_DMainUi::m_pWidthPenC, "m_pWidthPenC", ":/oldIcon/setLineWidth.png",    QT_TRANSLATE_NOOP("DMainUi", "Grosor"),        nullptr },
    { &Ui_DMainUi::m_pStylePenC, "m_pStylePenC", ":/oldIcon/setLineStyle.png",    QT_TRANSLATE_NOOP("DMainUi", "Estilo"),        nullptr },
    // Kids.
    { &Ui_DMainUi::m_pHideBarI,            "m_pHideBarI",            ":/Icon/hideBar.png",                      QT_TRANSLATE_NOOP("DMainUi", "Ocultar barra"),       nullptr },
    { &Ui_DMainUi::m_pDesktopI,            "m_pDesktopI",            ":/Icon/LogoToolbar.png",                  QT_TRANSLATE_NOOP("DMainUi", "Escritorio"),          nullptr },
    { &Ui_DMainUi::baExpandMenuBottonI,    "baExpandMenuBottonI",    ":/Icon/bBottom.png",                      QT_TRANSLATE_NOOP("DMainUi", "Menú"),                nullptr },
    { &Ui_DMainUi::baExpandToolBottonI,    "baExpandToolBottonI",    ":/Icon/baExpandTools.png",                QT_TRANSLATE_NOOP("DMainUi", "Herramientas"),        nullptr },
    { &Ui_DMainUi::baExpandResBottonI,     "baExpandResBottonI",     ":/Icon/baLoadResources.png",              QT_TRANSLATE_NOOP("DMainUi", "Recursos"),            nullptr },
    { &Ui_DMainUi::m_pSelectI,             "m_pSelectI",             ":/Icon/bTop.png",                         QT_TRANSLATE_NOOP("DMainUi", "Seleccionar"),         nullptr },
    { &Ui_DMainUi::baExpandPenBottonI,     "baExpandPenBottonI",     ":/Icon/baExpandPenBotton.png",            QT_TRANSLATE_NOOP("DMainUi", "Pinceles"),            nullptr },
    { &Ui_DMainUi::baExpandShapeBottonI,   "baExpandShapeBottonI",   ":/Icon/baExpandShapeBotton.png",          QT_TRANSLATE_NOOP("DMainUi", "Figuras"),             nullptr },
    { &Ui_DMainUi::baExpandEraserBottonI,  "baExpandEraserBottonI",  ":/Icon/baExpandEraserBotton.png",         QT_TRANSLATE_NOOP("DMainUi", "Borradores"),          nullptr },
    { &Ui_DMainUi::baExpandMMIBottonI,     "baExpandMMIBottonI",     ":/Icon/baExpandInsertFromFileBotton.png", QT_TRANSLATE_NOOP("DMainUi", "Objectos multimedia"), nullptr },
    { &Ui_DMainUi::m_pUndoI,               "m_pUndoI",               ":/Icon/bLeft.png",                        QT_TRANSLATE_NOOP("DMainUi", "Deshacer"),            nullptr },
    { &Ui_DMainUi::m_pRedoI,               "m_pRedoI",               ":/Icon/bRight.png",                       QT_TRANSLATE_NOOP("DMainUi", "Rehacer"),             nullptr },
    { &Ui_DMainUi::m_pPageDownI,           "m_pPageDownI",           ":/Icon/baPageUp.png",                     QT_TRANSLATE_NOOP("DMainUi", "Página anterior"),     nullptr },
    { &Ui_DMainUi::baExpandPageBottonI,    "baExpandPageBottonI",    ":/Icon/baNewWhitePage.png",               QT_TRANSLATE_NOOP("DMainUi", "Páginas"),             "1 / 1" },
    { &Ui_DMainUi::m_pPageUpI,             "m_pPageUpI",             ":/Icon/baPageDown.png",                   QT_TRANSLATE_NOOP("DMainUi", "Página posterior"),    nullptr },
    // Standard.
    { &Ui_DMainUi::m_pHideBar,            "m_pHideBar",            ":/Icon/hideBar.png",                      QT_TRANSLATE_NOOP("DMainUi", "Ocultar barra"),      nullptr },
    { &Ui_DMainUi::m_pDesktop,            "m_pDesktop",            ":/Icon/LogoToolbar.png",                  QT_TRANSLATE_NOOP("DMainUi", "Escritorio"),         nullptr },
    { &Ui_DMainUi::baExpandMenuBotton,    "baExpandMenuBotton",    ":/Icon/bBottom.png",                      QT_TRANSLATE_NOOP("DMainUi", "Menú"),               nullptr },
    { &Ui_DMainUi::baExpandToolBotton,    "baExpandToolBotton",    ":/Icon/baExpandTools.png",                QT_TRANSLATE_NOOP("DMainUi", "Herramientas"),       nullptr },
    { &Ui_DMainUi::baExpandResBotton,     "baExpandResBotton",     ":/Icon/baLoadResources.png",              QT_TRANSLATE_NOOP("DMainUi", "Recursos"),           nullptr },
    { &Ui_DMainUi::m_pSelect,             "m_pSelect",             ":/Icon/bTop.png",                         QT_TRANSLATE_NOOP("DMainUi", "Seleccionar"),        nullptr },
    { &Ui_DMainUi::baExpandPenBotton,     "baExpandPenBotton",     ":/Icon/baExpandPenBotton.png",            QT_TRANSLATE_NOOP("DMainUi", "Pinceles"),           nullptr },
    { &Ui_DMainUi::baExpandShapeBotton,   "baExpandShapeBotton",   ":/Icon/baExpandShapeBotton.png",          QT_TRANSLATE_NOOP("DMainUi", "Figuras"),            nullptr },
    { &Ui_DMainUi::baExpandEraserBotton,  "baExpandEraserBotton",  ":/Icon/baExpandEraserBotton.png",         QT_TRANSLATE_NOOP("DMainUi", "Borradores"),         nullptr },
    { &Ui_DMainUi::baExpandMMIBotton,     "baExpandMMIBotton",     ":/Icon/baExpandInsertFromFileBotton.png", QT_TRANSLATE_NOOP("DMainUi", "Objetos multimedia"), nullptr },
    { &Ui_DMainUi::m_pUndo,               "m_pUndo",               ":/Icon/bLeft.png",                        QT_TRANSLATE_NOOP("DMainUi", "Deshacer"),           nullptr },
    { &Ui_DMainUi::m_pRedo,               "m_pRedo",               ":/Icon/bRight.png",                       QT_TRANSLATE_NOOP("DMainUi", "Rehacer"),            nullptr },
    { &Ui_DMainUi::m_pPageDown,           "m_pPageDown",           ":/Icon/baPageUp.png",                     QT_TRANSLATE_NOOP("DMainUi", "Página anterior"),    nullptr },
    { &Ui_DMainUi::baExpandPageBotton,    "baExpandPageBotton",    ":/Icon/baNewWhitePage.png",               QT_TRANSLATE_NOOP("DMainUi", "Páginas"),            "1 / 1" },
    { &Ui_DMainUi::m_pPageUp,             "m_pPageUp",             ":/Icon/baPageDown.png",                   QT_TRANSLATE_NOOP("DMainUi", "Página posterior"),   nullptr },
    { &Ui_DMainUi::about,                 "about",                 ":/Icon/about.png",                        QT_TRANSLATE_NOOP("DMainUi", "Info"),               "..." },
    // Multi-user.
    { &Ui_DMainUi::m_pPenUser1,      "m_pPenUser1",      ":/Icon/baExpandPenBotton.png",    QT_TRANSLATE_NOOP("DMainUi", "Lápiz"),                   nullptr },
    { &Ui_DMainUi::m_pHighUser1,     "m_pHighUser1",     ":/Icon/baHighlightPenMini.png",   QT_TRANSLATE_NOOP("DMainUi", "Subrayador"),              nullptr },
    { &Ui_DMainUi::m_pTextUser1,     "m_pTextUser1",     ":/Icon/baSoftPenSmall.png",       QT_TRANSLATE_NOOP("DMainUi", "Estilográfica"),           nullptr },
    { &Ui_DMainUi::m_pEraseUser1,    "m_pEraseUser1",    ":/Icon/baExpandEraserBotton.png", QT_TRANSLATE_NOOP("DMainUi", "Borrador"),                "..." },
    { &Ui_DMainUi::m_pColorUser1,    "m_pColorUser1",    nullptr,                           QT_TRANSLATE_NOOP("DMainUi", "Color"),                   nullptr },
    { &Ui_DMainUi::m_pPenUser3,      "m_pPenUser3",      ":/Icon/baExpandPenBotton.png",    QT_TRANSLATE_NOOP("DMainUi", "Lápiz"),                   nullptr },
    { &Ui_DMainUi::m_pHighUser3,     "m_pHighUser3",     ":/Icon/baHighlightPenMini.png",   QT_TRANSLATE_NOOP("DMainUi", "Subrayador"),              nullptr },
    { &Ui_DMainUi::m_pTextUser3,     "m_pTextUser3",     ":/Icon/baSoftPenSmall.png",       QT_TRANSLATE_NOOP("DMainUi", "Estilográfica"),           nullptr },
    { &Ui_DMainUi::m_pEraseUser3,    "m_pEraseUser3",    ":/Icon/baExpandEraserBotton.png", QT_TRANSLATE_NOOP("DMainUi", "Borrador"),                nullptr },
    { &Ui_DMainUi::m_pColorUser3,    "m_pColorUser3",    nullptr,                           QT_TRANSLATE_NOOP("DMainUi", "Color"),                   nullptr },
    { &Ui_DMainUi::m_pExitMultiUser, "m_pExitMultiUser", ":/Icon/close.png",                QT_TRANSLATE_NOOP("DMainUi", "Salir modo multiusuario"), nullptr },
};

struct LineSpec
{
    LineMember member;
    const char *name;
};

const LineSpec kLines[] = {
    { &Ui_DMainUi::line_4,  "line_4"  }, { &Ui_DMainUi::line_5,  "line_5"  }, { &Ui_DMainUi::line_6,  "line_6"  },
    { &Ui_DMainUi::line_7,  "line_7"  }, { &Ui_DMainUi::line_8,  "line_8"  }, { &Ui_DMainUi::line_10, "line_10" },
    { &Ui_DMainUi::line_11, "line_11" }, { &Ui_DMainUi::line_12, "line_12" }, { &Ui_DMainUi::line_13, "line_13" },
    { &Ui_DMainUi::line_15, "line_15" }, { &Ui_DMainUi::line_16, "line_16" }, { &Ui_DMainUi::line_17, "line_17" },
    { &Ui_DMainUi::line_18, "line_18" }, { &Ui_DMainUi::line_19, "line_19" }, { &Ui_DMainUi::line_20, "line_20" },
    { &Ui_DMainUi::line_21, "line_21" }, { &Ui_DMainUi::line_22, "line_22" }, { &Ui_DMainUi::line_23, "line_23" },
    { &Ui_DMainUi::line_24, "line_24" }, { &Ui_DMainUi::line_25, "line_25" }, { &Ui_DMainUi::line_26, "line_26" },
    { &Ui_DMainUi::line_27, "line_27" }, { &Ui_DMainUi::line_28, "line_28" }, { &Ui_DMainUi::line_29, "line_29" },
    { &Ui_DMainUi::line_30, "line_30" }, { &Ui_DMainUi::line_31, "line_31" }, { &Ui_DMainUi::line_32, "line_32" },
    { &Ui_DMainUi::line_33, "line_33" }, { &Ui_DMainUi::line_34, "line_34" }, { &Ui_DMainUi::line_35, "line_35" },
    { &Ui_DMainUi::line_36, "line_36" }, { &Ui_DMainUi::line_37, "line_37" }, { &Ui_DMainUi::line_38, "line_38" },
    { &Ui_DMainUi::line_39, "line_39" }, { &Ui_DMainUi::line_40, "line_40" }, { &Ui_DMainUi::line_41, "line_41" },
    { &Ui_DMainUi::line_42, "line_42" }, { &Ui_DMainUi::line_43, "line_43" }, { &Ui_DMainUi::line_44, "line_44" },
    { &Ui_DMainUi::line_45, "line_45" }, { &Ui_DMainUi::line_46, "line_46" }, { &Ui_DMainUi::line_47, "line_47" },
    { &Ui_DMainUi::line_48, "line_48" }, { &Ui_DMainUi::line_49, "line_49" }, { &Ui_DMainUi::line_50, "line_50" },
    { &Ui_DMainUi::line_51, "line_51" }, { &Ui_DMainUi::line_52, "line_52" }, { &Ui_DMainUi::line_53, "line_53" },
    { &Ui_DMainUi::line_58, "line_58" }, { &Ui_DMainUi::line_59, "line_59" }, { &Ui_DMainUi::line_60, "line_60" },
    { &Ui_DMainUi::line_61, "line_61" },
};

// A classic panel: a fixed-size widget holding two button rows. Items are object names separated
// by blanks; names beginning "line" are separators.
struct RowSpec
{
    WidgetMember row;
    const char *name;
    int width;
    HLayoutMember layout;
    const char *layoutName;
    int spacing;
    const char *items;
};

struct PanelSpec
{
    WidgetMember panel;
    const char *name;
    int width;
    VLayoutMember layout;
    const char *layoutName;
    RowSpec upper;
    RowSpec lower;
};

using U = Ui_DMainUi;
const PanelSpec kClassicPanels[] = {
    { &U::widget_11, "widget_11", 178, &U::verticalLayout_2, "verticalLayout_2",
      { &U::widget_16, "widget_16", 174, &U::horizontalLayout_11, "horizontalLayout_11", 0,
        "m_pPagesC line_8 m_pPenC line_12 m_pShapeC line_13 m_pEraserC" },
      { &U::widget_17, "widget_17", 174, &U::horizontalLayout_12, "horizontalLayout_12", 0,
        "m_pMMIC line_10 m_pPageAC line_11 m_pToolsC line_15 m_pResourcesC" } },
    { &U::pagesWidget, "pagesWidget", 135, &U::verticalLayout_3, "verticalLayout_3",
      { &U::widget_18, "widget_18", 131, &U::horizontalLayout_13, "horizontalLayout_13", 0,
        "m_pWhitePageC line_16 m_pTransPageC line_17 m_pScreenPageC" },
      { &U::widget_19, "widget_19", 131, &U::horizontalLayout_14, "horizontalLayout_14", 0,
        "m_pImagePageC line_20 m_pCleanPageC_2 line_21 m_pRemovePageC" } },
    { &U::penWidget, "penWidget", 94, &U::verticalLayout_4, "verticalLayout_4",
      { &U::widget_21, "widget_21", 88, &U::horizontalLayout_16, "horizontalLayout_16", 0,
        "m_pPencilC line_19 m_pHighlighterC" },
      { &U::widget_20, "widget_20", 88, &U::horizontalLayout_15, "horizontalLayout_15", 0,
        "m_pFountainC line_18 m_pSmartPenC" } },
    { &U::eraserWidget, "eraserWidget", 94, &U::verticalLayout_5, "verticalLayout_5",
      { &U::widget_23, "widget_23", 88, &U::horizontalLayout_18, "horizontalLayout_18", 0,
        "m_pObjEraserC line_23 m_pEraserLC" },
      { &U::widget_22, "widget_22", 88, &U::horizontalLayout_17, "horizontalLayout_17", 0,
        "m_pEraserMC line_22 m_pEraserSC" } },
    { &U::shapeWidget, "shapeWidget", 391, &U::verticalLayout_6, "verticalLayout_6",
      { &U::widget_25, "widget_25", 389, &U::horizontalLayout_19, "horizontalLayout_19", 2,
        "m_pLineC line_39 m_pTRectC line_38 m_pEllipseC line_37 m_pPentagonC line_36 m_pHexagonC "
        "line_28 m_pArrowC line_29 m_pCubeC line_30 m_pConeC line_31 m_pParallelogramC" },
      { &U::widget_24, "widget_24", 389, &U::horizontalLayout_20, "horizontalLayout_20", 2,
        "m_pTriangleC line_24 m_pSquareC line_25 m_pCircleC line_26 m_pFiveStarC line_27 m_pRhombusC "
        "line_32 m_pDArrowC line_33 m_pCylinderC line_34 m_pRRectC line_35 m_pRectC" } },
    { &U::mmiWidget, "mmiWidget", 135, &U::verticalLayout_7, "verticalLayout_7",
      { &U::widget_27, "widget_27", 131, &U::horizontalLayout_22, "horizontalLayout_22", 0,
        "m_pImageC line_42 m_pVideoC line_43 m_pSoundC" },
      { &U::widget_26, "widget_26", 131, &U::horizontalLayout_21, "horizontalLayout_21", 0,
        "m_pTextC line_40 m_pFreeC_4 line_41 m_pFreeC_3" } },
    { &U::pageAWidget, "pageAWidget", 178, &U::verticalLayout_8, "verticalLayout_8",
      { &U::widget_29, "widget_29", 174, &U::horizontalLayout_24, "horizontalLayout_24", 2,
        "m_pZoomPlusC line_48 m_pFreeMoveC line_46 m_pLastPageC line_47 m_pCleanPageC" },
      { &U::widget_28, "widget_28", 174, &U::horizontalLayout_23, "horizontalLayout_23", 2,
        "m_pZoomMinusC line_49 m_pRestoreMoveC line_44 m_pNextPageC line_45 m_pFreeC_6" } },
    { &U::toolsWidget, "toolsWidget", 221, &U::verticalLayout_9, "verticalLayout_9",
      { &U::widget_31, "widget_31", 217, &U::horizontalLayout_26, "horizontalLayout_26", 2,
        "m_pFocusC line_58 m_pMagnifierC line_59 m_pRulerC line_60 m_pCompassC line_61 m_pShareC" },
      { &U::widget_30, "widget_30", 217, &U::horizontalLayout_25, "horizontalLayout_25", 2,
        "m_pCurtainC line_50 m_pClockC line_51 m_pTRulerC line_52 m_pTransportC line_53 m_pCalculatorC" } },
    { &U::widget_13, "widget_13", 94, &U::verticalLayout, "verticalLayout",
      { &U::widget_14, "widget_14", 88, &U::horizontalLayout_9, "horizontalLayout_9", 0,
        "m_pColorPenC line_4 m_pTransPenC" },
      { &U::widget_15, "widget_15", 88, &U::horizontalLayout_10, "horizontalLayout_10", 0,
        "m_pWidthPenC line_5 m_pStylePenC" } },
};

struct KidsColours
{
    const char *name;
    const char *normal;
    const char *hover;
};

const KidsColours kKidsColours[] = {
    { "m_pHideBarI",           "rgb(137, 255, 129)", "rgb(115, 208, 108)" },
    { "m_pDesktopI",           "rgb(138, 255, 244)", "rgb(113, 208, 199)" },
    { "baExpandMenuBottonI",   "rgb(255, 201, 0)",   "rgb(214, 168, 0)" },
    { "baExpandToolBottonI",   "rgb(0, 201, 255)",   "rgb(0, 158, 193)" },
    { "baExpandResBottonI",    "rgb(255, 141, 0)",   "rgb(215, 101, 0)" },
    { "m_pSelectI",            "rgb(74, 211, 0)",    "rgb(57, 164, 0)" },
    { "baExpandPenBottonI",    "rgb(252, 255, 0)",   "rgb(210, 212, 0)" },
    { "baExpandShapeBottonI",  "rgb(165, 0, 246)",   "rgb(129, 0, 193)" },
    { "baExpandEraserBottonI", "rgb(0, 244, 164)",   "rgb(0, 186, 124)" },
    { "baExpandMMIBottonI",    "rgb(235, 0, 156)",   "rgb(185, 0, 123)" },
    { "m_pUndoI",              "rgb(9, 141, 0)",     "rgb(7, 110, 0)" },
    { "m_pRedoI",              "rgb(0, 74, 233)",    "rgb(0, 58, 184)" },
    { "m_pPageDownI",          "rgb(220, 0, 118)",   "rgb(174, 0, 93)" },
    { "baExpandPageBottonI",   "rgb(154, 82, 0)",    "rgb(123, 70, 0)" },
    { "m_pPageUpI",            "rgb(250, 0, 0)",     "rgb(220, 0, 0)" },
};
// clang-format on

const char kBlueGradient[] =
        "background: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1, "
        "stop:0 rgba(255, 255, 255, 204), stop:0.33 rgba(170, 200, 236, 255), "
        "stop:0.339901 rgba(170, 200, 236, 255), stop:0.66 rgba(170, 200, 236, 255), "
        "stop:0.67 rgba(170, 200, 236, 255), stop:1 rgba(255, 255, 255, 204));\n"
        "border: 1px solid rgb(127, 127, 127);\n";

const ButtonSpec &buttonSpec(const QString &name)
{
    for (const ButtonSpec &entry : kButtons) {
        if (name == QLatin1String(entry.name))
            return entry;
    }
    qFatal("DMainUi form: no button named %s", qPrintable(name));
    return kButtons[0]; // not reached
}

QString idRule(const QString &name, const QString &body, const QString &hoverBody = QString())
{
    QString sheet = QStringLiteral("#%1 {\n%2}\n").arg(name, body);
    if (!hoverBody.isEmpty())
        sheet += QStringLiteral("#%1:hover {\n%2}\n").arg(name, hoverBody);
    return sheet;
}

void setFixedWidgetSize(QWidget *widget, int width, int height)
{
    widget->setMinimumSize(width, height);
    widget->setMaximumSize(width, height);
}

QWidget *makeFrame(QWidget *parent, const char *name)
{
    auto *frame = new QWidget(parent);
    frame->setObjectName(QLatin1String(name));
    return frame;
}

template <typename Layout>
Layout *makeLayout(QWidget *owner, const char *name, int spacing, int margin)
{
    auto *layout = new Layout(owner);
    layout->setObjectName(QLatin1String(name));
    layout->setSpacing(spacing);
    layout->setContentsMargins(margin, margin, margin, margin);
    return layout;
}

void setBluePanel(QWidget *widget, const QString &radii)
{
    widget->setStyleSheet(idRule(widget->objectName(), QLatin1String(kBlueGradient) + radii));
}

void setGreyPanel(QWidget *widget, const QString &radii)
{
    widget->setStyleSheet(
            idRule(widget->objectName(),
                   QStringLiteral("background-color: rgb(172, 172, 172);\n") + radii));
}

QToolButton *makeButton(Ui_DMainUi *ui, QWidget *parent, const QString &name, int size,
                        int iconSize)
{
    const ButtonSpec &entry = buttonSpec(name);
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    setFixedWidgetSize(button, size, size);
    if (entry.icon) {
        QIcon icon;
        icon.addFile(QString::fromUtf8(entry.icon), QSize(), QIcon::Normal, QIcon::Off);
        button->setIcon(icon);
    }
    button->setIconSize(QSize(iconSize, iconSize));
    ui->*entry.member = button;
    return button;
}

QString clearButtonSheet(const QString &name, bool hover)
{
    return idRule(
            name,
            QStringLiteral("background-color: rgba(210, 210, 210, 0);\nborder-radius: 3px;\n"),
            hover ? QStringLiteral("background-color: rgb(120, 120, 120);\nborder-radius: 3px;\n")
                  : QString());
}

QString greyButtonSheet(const QString &name, bool blackText = false)
{
    QString body = QStringLiteral("background-color: rgb(210, 210, 210);\nborder-radius: 3px;\n");
    if (blackText)
        body += QStringLiteral("color: rgb(0, 0, 0);\n");
    return idRule(name, body,
                  QStringLiteral("background-color: rgb(72, 72, 72);\nborder-radius: 3px;\n"));
}

QFrame *makeSeparator(QWidget *parent, const QString &name, int width)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setMinimumSize(width, 0);
    line->setMaximumSize(width, QWIDGETSIZE_MAX);
    return line;
}

QFrame *makeClassicSeparator(Ui_DMainUi *ui, QWidget *parent, const QString &name)
{
    for (const LineSpec &entry : kLines) {
        if (name == QLatin1String(entry.name)) {
            QFrame *line = makeSeparator(parent, name, 1);
            line->setStyleSheet(
                    idRule(name, QStringLiteral("background-color: rgba(127, 127, 127, 50);\n")));
            ui->*entry.member = line;
            return line;
        }
    }
    qFatal("DMainUi form: no separator named %s", qPrintable(name));
    return nullptr; // not reached
}

QFrame *makeBlackLine(QWidget *parent, const char *name)
{
    QFrame *line = makeSeparator(parent, QLatin1String(name), 2);
    line->setStyleSheet(
            idRule(line->objectName(),
                   QStringLiteral("background-color: rgb(0, 0, 0);\nborder-radius: 3px;\n"),
                   QStringLiteral("background-color: rgb(110, 110, 110);\nborder-radius: 3px;\n")));
    return line;
}

QToolButton *makeClassicButton(Ui_DMainUi *ui, QWidget *parent, const QString &name)
{
    QToolButton *button = makeButton(ui, parent, name, 41, 40);
    // The empty place-holders and the next-page button keep their colour under the pointer.
    const bool hover = name != QLatin1String("m_pFreeC_3") && name != QLatin1String("m_pFreeC_4")
            && name != QLatin1String("m_pFreeC_6") && name != QLatin1String("m_pNextPageC");
    button->setStyleSheet(clearButtonSheet(name, hover));
    return button;
}

QToolButton *makeKidsButton(Ui_DMainUi *ui, QWidget *parent, const char *name)
{
    QToolButton *button = makeButton(ui, parent, QLatin1String(name), 45, 32);
    for (const KidsColours &colours : kKidsColours) {
        if (qstrcmp(colours.name, name) != 0)
            continue;
        const bool pageCounter = qstrcmp(name, "baExpandPageBottonI") == 0;
        button->setStyleSheet(idRule(
                button->objectName(),
                QStringLiteral(
                        "background-color: %1;\nborder: 2px solid grey;\nborder-radius: 22px;\n")
                                .arg(QLatin1String(colours.normal))
                        + (pageCounter ? QStringLiteral("color: rgb(0, 0, 0);\n") : QString()),
                QStringLiteral(
                        "background-color: %1;\nborder: 2px solid grey;\nborder-radius: 22px;\n")
                        .arg(QLatin1String(colours.hover))));
    }
    return button;
}

QToolButton *makeGreyButton(Ui_DMainUi *ui, QWidget *parent, const char *name, int size = 35)
{
    QToolButton *button = makeButton(ui, parent, QLatin1String(name), size, 32);
    button->setStyleSheet(greyButtonSheet(button->objectName()));
    return button;
}

// The page counter buttons show their small icon above the "1 / 1" text.
void makePageCounter(QToolButton *button, int iconSize)
{
    button->setIconSize(QSize(iconSize, iconSize));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRepeat(false);
    button->setAutoRepeatDelay(280);
    button->setPopupMode(QToolButton::DelayedPopup);
    button->setAutoRaise(false);
}

} // namespace

QWidget *Ui_DMainUi::addClassicPanel(int index, QWidget *parent)
{
    const PanelSpec &entry = kClassicPanels[index];
    QWidget *panel = makeFrame(parent, entry.name);
    setFixedWidgetSize(panel, entry.width, 94);
    this->*entry.panel = panel;
    auto *column = makeLayout<QVBoxLayout>(panel, entry.layoutName, 2, 2);
    this->*entry.layout = column;
    for (const RowSpec *rowSpec : { &entry.upper, &entry.lower }) {
        QWidget *row = makeFrame(panel, rowSpec->name);
        setFixedWidgetSize(row, rowSpec->width, 45);
        setBluePanel(row, QStringLiteral("border-radius: 3px;\n"));
        this->*rowSpec->row = row;
        auto *rowLayout = makeLayout<QHBoxLayout>(row, rowSpec->layoutName, rowSpec->spacing, 2);
        this->*rowSpec->layout = rowLayout;
        const QStringList items =
                QString::fromLatin1(rowSpec->items).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &item : items) {
            if (item.startsWith(QLatin1String("line")))
                rowLayout->addWidget(makeClassicSeparator(this, row, item));
            else
                rowLayout->addWidget(makeClassicButton(this, row, item));
        }
        column->addWidget(row);
    }
    return panel;
}

void Ui_DMainUi::setupClassic(QWidget *parent)
{
    widget_8 = makeFrame(parent, "widget_8");
    setFixedWidgetSize(widget_8, 1600, 110);
    setBluePanel(widget_8,
                 QStringLiteral("border-radius: 5px;\nborder-top-left-radius: 55px;\n"
                                "border-bottom-left-radius: 55px;\n"));
    horizontalLayout_7 = makeLayout<QHBoxLayout>(widget_8, "horizontalLayout_7", 0, 6);

    widget_9 = makeFrame(widget_8, "widget_9");
    setFixedWidgetSize(widget_9, 98, 98);
    setBluePanel(widget_9, QStringLiteral("border-radius: 49px;\n"));
    gridLayout = makeLayout<QGridLayout>(widget_9, "gridLayout", 2, 2);
    const struct
    {
        const char *name;
        int row;
        int column;
    } cross[] = { { "m_pSelectC", 0, 1 },
                  { "m_pUndoC", 1, 0 },
                  { "m_pDesktopC", 1, 1 },
                  { "m_pRedoC", 1, 2 },
                  { "baExpandMenuBottonC", 2, 1 } };
    for (const auto &cell : cross) {
        QToolButton *button = makeButton(this, widget_9, QLatin1String(cell.name), 30, 30);
        button->setStyleSheet(clearButtonSheet(button->objectName(), true));
        gridLayout->addWidget(button, cell.row, cell.column);
    }
    horizontalLayout_7->addWidget(widget_9);

    widget_10 = makeFrame(widget_8, "widget_10");
    horizontalLayout_8 = makeLayout<QHBoxLayout>(widget_10, "horizontalLayout_8", 2, 2);
    horizontalLayout_8->addWidget(addClassicPanel(0, widget_10));
    horizontalLayout_8->addWidget(makeClassicSeparator(this, widget_10, QStringLiteral("line_6")));
    for (int panel = 1; panel <= 7; ++panel)
        horizontalLayout_8->addWidget(addClassicPanel(panel, widget_10));
    horizontalLayout_8->addWidget(makeClassicSeparator(this, widget_10, QStringLiteral("line_7")));
    horizontalLayout_8->addWidget(addClassicPanel(8, widget_10));
    horizontalLayout_7->addWidget(widget_10);

    m_pPagesC->setIconSize(QSize(25, 25));
    m_pPagesC->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_pEraserLC->setEnabled(false);
}

void Ui_DMainUi::setupKids(QWidget *parent)
{
    widget_6 = makeFrame(parent, "widget_6");
    widget_6->setMinimumSize(0, 70);
    widget_6->setMaximumSize(QWIDGETSIZE_MAX, 70);
    widget_6->setStyleSheet(QString());
    horizontalLayout_5 = makeLayout<QHBoxLayout>(widget_6, "horizontalLayout_5", 0, 0);

    widget_4 = makeFrame(widget_6, "widget_4");
    setFixedWidgetSize(widget_4, 160, 70);
    widget_4->setStyleSheet(
            idRule(QStringLiteral("widget_4"),
                   QStringLiteral("image: url(%1);\n").arg(QLatin1String(":/Icon/frontlegs.png"))));
    horizontalLayout_2 = makeLayout<QHBoxLayout>(widget_4, "horizontalLayout_2", 0, 0);
    label = new QLabel(widget_4);
    label->setObjectName(QStringLiteral("label"));
    setFixedWidgetSize(label, 70, 70);
    label->setPixmap(QPixmap(QStringLiteral(":/Icon/head.png")));
    horizontalLayout_2->addWidget(label);
    horizontalLayout_2->addWidget(makeKidsButton(this, widget_4, "m_pHideBarI"));
    horizontalLayout_2->addWidget(makeKidsButton(this, widget_4, "m_pDesktopI"));
    horizontalLayout_5->addWidget(widget_4);

    widget_5 = makeFrame(widget_6, "widget_5");
    setFixedWidgetSize(widget_5, 585, 70);
    widget_5->setStyleSheet(
            idRule(QStringLiteral("widget_5"),
                   QStringLiteral("image: url(%1);\n").arg(QLatin1String(":/Icon/hindlegs.png"))));
    horizontalLayout_4 = makeLayout<QHBoxLayout>(widget_5, "horizontalLayout_4", 0, 0);
    for (const char *name : { "baExpandMenuBottonI", "baExpandToolBottonI", "baExpandResBottonI",
                              "m_pSelectI", "baExpandPenBottonI", "baExpandShapeBottonI",
                              "baExpandEraserBottonI", "baExpandMMIBottonI", "m_pUndoI", "m_pRedoI",
                              "m_pPageDownI", "baExpandPageBottonI", "m_pPageUpI" })
        horizontalLayout_4->addWidget(makeKidsButton(this, widget_5, name));
    horizontalLayout_5->addWidget(widget_5);
    makePageCounter(baExpandPageBottonI, 18);
}

void Ui_DMainUi::setupStandard(QWidget *parent)
{
    widget_7 = makeFrame(parent, "widget_7");
    widget_7->setMinimumSize(0, 70);
    widget_7->setMaximumSize(QWIDGETSIZE_MAX, 70);
    horizontalLayout_6 = makeLayout<QHBoxLayout>(widget_7, "horizontalLayout_6", 0, 0);

    widget_2 = makeFrame(widget_7, "widget_2");
    setFixedWidgetSize(widget_2, 110, 70);
    setGreyPanel(widget_2,
                 QStringLiteral("border-radius: 12px;\nborder-top-left-radius: 35px;\n"
                                "border-bottom-left-radius: 35px;\n"));
    gridLayout_3 = makeLayout<QGridLayout>(widget_2, "gridLayout_3", 5, 5);
    m_pHideBar = makeButton(this, widget_2, QStringLiteral("m_pHideBar"), 0, 35);
    setFixedWidgetSize(m_pHideBar, 35, 60);
    m_pHideBar->setCheckable(false);
    m_pHideBar->setStyleSheet(DMainUiSheets::hideBarExpanded());
    gridLayout_3->addWidget(m_pHideBar, 1, 2);
    m_pDesktop = makeButton(this, widget_2, QStringLiteral("m_pDesktop"), 60, 60);
    m_pDesktop->setCheckable(false);
    const QString desktopRadii =
            QStringLiteral("border-radius: 12px;\nborder-top-left-radius: 3px;\n"
                           "border-bottom-left-radius: 3px;\n");
    m_pDesktop->setStyleSheet(
            idRule(QStringLiteral("m_pDesktop"),
                   QStringLiteral("background-color: rgb(210, 210, 210);\n") + desktopRadii,
                   QStringLiteral("background-color: rgb(72, 72, 72);\n") + desktopRadii));
    gridLayout_3->addWidget(m_pDesktop, 1, 3, 2, 2);
    horizontalLayout_6->addWidget(widget_2);

    widget_3 = makeFrame(widget_7, "widget_3");
    setFixedWidgetSize(widget_3, 621, 45);
    widget_3->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setGreyPanel(
            widget_3,
            QStringLiteral("border-top-right-radius: 3px;\nborder-bottom-right-radius: 3px;\n"));
    gridLayout_2 = makeLayout<QGridLayout>(widget_3, "gridLayout_2", 5, 5);
    widget = makeFrame(widget_3, "widget");
    widget->setStyleSheet(QString());
    horizontalLayout = makeLayout<QHBoxLayout>(widget, "horizontalLayout", 10, 0);
    for (const char *name :
         { "baExpandMenuBotton", "baExpandToolBotton", "baExpandResBotton", "line", "m_pSelect",
           "baExpandPenBotton", "baExpandShapeBotton", "baExpandEraserBotton", "baExpandMMIBotton",
           "line_2", "m_pUndo", "m_pRedo", "line_3", "m_pPageDown", "baExpandPageBotton",
           "m_pPageUp", "about" }) {
        if (qstrncmp(name, "line", 4) == 0) {
            QFrame *separator = makeBlackLine(widget, name);
            if (qstrcmp(name, "line") == 0)
                line = separator;
            else if (qstrcmp(name, "line_2") == 0)
                line_2 = separator;
            else
                line_3 = separator;
            horizontalLayout->addWidget(separator);
        } else {
            horizontalLayout->addWidget(makeGreyButton(this, widget, name));
        }
    }
    line->setLineWidth(1);
    baExpandPageBotton->setStyleSheet(greyButtonSheet(baExpandPageBotton->objectName(), true));
    makePageCounter(baExpandPageBotton, 18);
    baExpandEraserBotton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    gridLayout_2->addWidget(widget, 0, 1);
    horizontalLayout_6->addWidget(widget_3);
}

void Ui_DMainUi::setupMultiUser(QWidget *parent)
{
    widget_12 = makeFrame(parent, "widget_12");
    widget_12->setMinimumSize(693, 50);
    horizontalLayout_27 = makeLayout<QHBoxLayout>(widget_12, "horizontalLayout_27", 10, 0);
    horizontalLayout_27->setContentsMargins(5, 5, 5, 0);

    widget_32 = makeFrame(widget_12, "widget_32");
    widget_32->setMinimumSize(536, 45);
    widget_32->setMaximumSize(QWIDGETSIZE_MAX, 45);
    horizontalLayout_31 = makeLayout<QHBoxLayout>(widget_32, "horizontalLayout_31", 5, 0);

    const auto makeUser = [this](QWidget *frameParent, const char *frameName, const char *radius,
                                 const char *layoutName, QHBoxLayout **layoutOut,
                                 std::initializer_list<const char *> buttons, const char *lineName,
                                 QFrame **lineOut, const char *colourName) {
        QWidget *user = makeFrame(frameParent, frameName);
        setFixedWidgetSize(user, 195, 45);
        setGreyPanel(user,
                     QStringLiteral("border-top-left-radius: %1;\nborder-top-right-radius: %1;\n")
                             .arg(QLatin1String(radius)));
        auto *layout = makeLayout<QHBoxLayout>(user, layoutName, 5, 5);
        *layoutOut = layout;
        for (const char *name : buttons)
            layout->addWidget(makeGreyButton(this, user, name));
        *lineOut = makeBlackLine(user, lineName);
        layout->addWidget(*lineOut);
        QToolButton *colour = makeButton(this, user, QLatin1String(colourName), 35, 32);
        colour->setStyleSheet(
                idRule(colour->objectName(),
                       QStringLiteral("background-color: rgb(240, 0, 0);\nborder-radius: 3px;\n"
                                      "border: 1px solid rgb(0, 0, 0);\n"),
                       QStringLiteral("background-color: rgb(72, 72, 72);\nborder-radius: 3px;\n"
                                      "border: 1px solid rgb(0, 0, 0);\n")));
        layout->addWidget(colour);
        return user;
    };
    user1 = makeUser(widget_32, "user1", "5px", "horizontalLayout_28", &horizontalLayout_28,
                     { "m_pPenUser1", "m_pHighUser1", "m_pTextUser1", "m_pEraseUser1" }, "line_9",
                     &line_9, "m_pColorUser1");
    horizontalLayout_31->addWidget(user1);
    user3 = makeUser(widget_32, "user3", "3px", "horizontalLayout_30", &horizontalLayout_30,
                     { "m_pPenUser3", "m_pHighUser3", "m_pTextUser3", "m_pEraseUser3" }, "line_54",
                     &line_54, "m_pColorUser3");
    horizontalLayout_31->addWidget(user3);
    setFixedWidgetSize(m_pEraseUser3, 32, 32);
    horizontalLayout_27->addWidget(widget_32);

    exitMultiuser = makeFrame(widget_12, "exitMultiuser");
    setFixedWidgetSize(exitMultiuser, 45, 45);
    setGreyPanel(exitMultiuser, QStringLiteral("border-radius: 5px;\n"));
    gridLayout_4 = makeLayout<QGridLayout>(exitMultiuser, "gridLayout_4", 0, 5);
    gridLayout_4->addWidget(makeGreyButton(this, exitMultiuser, "m_pExitMultiUser"), 0, 0);
    horizontalLayout_27->addWidget(exitMultiuser);
}

void Ui_DMainUi::setupUi(QWidget *DMainUi)
{
    if (DMainUi->objectName().isEmpty())
        DMainUi->setObjectName(QStringLiteral("DMainUi"));
    DMainUi->setEnabled(true);
    DMainUi->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    DMainUi->resize(3500, 110);
    setFixedWidgetSize(DMainUi, 3500, 110);
    DMainUi->setAcceptDrops(false);

    horizontalLayout_3 = makeLayout<QHBoxLayout>(DMainUi, "horizontalLayout_3", 0, 0);
    setupClassic(DMainUi);
    horizontalLayout_3->addWidget(widget_8);
    setupKids(DMainUi);
    horizontalLayout_3->addWidget(widget_6);
    setupStandard(DMainUi);
    horizontalLayout_3->addWidget(widget_7);
    setupMultiUser(DMainUi);
    horizontalLayout_3->addWidget(widget_12);

    retranslateUi(DMainUi);
    QMetaObject::connectSlotsByName(DMainUi);
}

void Ui_DMainUi::retranslateUi(QWidget *DMainUi)
{
    DMainUi->setWindowTitle(QCoreApplication::translate("DMainUi", "Form"));
    for (const ButtonSpec &entry : kButtons) {
        QToolButton *button = this->*entry.member;
        if (entry.toolTip)
            button->setToolTip(QCoreApplication::translate("DMainUi", entry.toolTip));
        button->setText(entry.text ? QCoreApplication::translate("DMainUi", entry.text) : QString());
    }
}

namespace DMainUiSheets {

QString hideBarExpanded()
{
    const QString radii = QStringLiteral("border-radius: 3px;\nborder-top-left-radius: 30px;\n"
                                         "border-bottom-left-radius: 30px;\n");
    return idRule(QStringLiteral("m_pHideBar"),
                  QStringLiteral("background-color: rgb(210, 210, 210);\n") + radii,
                  QStringLiteral("background-color: rgb(72, 72, 72);\n") + radii);
}

QString hideBarCollapsed()
{
    const QString radii = QStringLiteral("border-radius: 3px;\nborder-top-left-radius: 30px;\n"
                                         "border-bottom-left-radius: 30px;\n");
    return idRule(QStringLiteral("m_pHideBar"),
                  QStringLiteral("background-color: rgb(0, 150, 255);\n") + radii,
                  QStringLiteral("background-color: rgb(72, 72, 72);\n") + radii);
}

QString kidsHideBarExpanded()
{
    return idRule(QStringLiteral("m_pHideBarI"),
                  QStringLiteral("background-color: rgb(137, 255, 129);\nborder: 2px solid grey;\n"
                                 "border-radius: 22px;\n"),
                  QStringLiteral("background-color: rgb(115, 208, 108);\nborder-radius: 22px;\n"));
}

QString kidsHideBarCollapsed()
{
    return idRule(QStringLiteral("m_pHideBarI"),
                  QStringLiteral("background-color: rgb(0, 150, 255);\n"
                                 "border: 2px solid rgb(0, 150, 255);\nborder-radius: 22;\n"),
                  QStringLiteral("background-color: rgb(72, 72, 72);\nborder-radius: 22px;\n"));
}

QString colourSwatch(const QString &buttonName, const QColor &colour)
{
    return idRule(buttonName,
                  QStringLiteral("background-color: rgb(%1, %2, %3);\nborder-radius: 5px;\n"
                                 "border: 1px solid rgb(0, 0, 0);\n")
                          .arg(colour.red())
                          .arg(colour.green())
                          .arg(colour.blue()));
}

QString marked(const QString &buttonName, MarkStyle style)
{
    switch (style) {
    case MarkStandard:
        return idRule(
                buttonName,
                QStringLiteral("background-color: rgba(0, 150, 255, 127);\nborder-radius: 3px;\n"),
                QStringLiteral("background-color: rgb(72, 72, 72);\nborder-radius: 3px;\n"));
    case MarkKids:
        return idRule(buttonName,
                      QStringLiteral("background-color: rgba(0, 150, 255, 127);\n"
                                     "border: 2px solid rgb(0, 150, 255);\nborder-radius: 22px;\n"),
                      QStringLiteral("background-color: rgb(72, 72, 72);\nborder: 2px solid grey;\n"
                                     "border-radius: 22px;\n"));
    case MarkClassic:
        return idRule(buttonName,
                      QStringLiteral("background-color: rgba(255, 150, 0, 127);\n"
                                     "border: 2px solid rgb(255, 150, 0);\nborder-radius: 22px;\n"),
                      QStringLiteral("background-color: rgb(72, 72, 72);\nborder: 2px solid grey;\n"
                                     "border-radius: 22px;\n"));
    case MarkUser:
        break;
    }
    return idRule(buttonName,
                  QStringLiteral("background-color: rgb(0, 150, 255);\n"
                                 "border: 2px solid rgb(0, 150, 255);\nborder-radius: 22px;\n"),
                  QStringLiteral("background-color: rgb(72, 72, 72);\nborder: 2px solid grey;\n"
                                 "border-radius: 22px;\n"));
}

} // namespace DMainUiSheets
