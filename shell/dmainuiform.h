#pragma once

// Not named ui_dmainui.h: the build's automatic form compiler claims every included ui_*.h for a
// designer file, and this form is written as code so that its tables can be checked.

#include <QString>

class QColor;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QToolButton;
class QVBoxLayout;
class QWidget;

// The widget tree of the main toolbar: the four interface styles side by side in one row
// (classic widget_8, kids widget_6, standard widget_7, multi-user widget_12). DMainUi shows one
// of the frames; the marking and the button slots address the widgets through these pointers,
// and connectSlotsByName finds the buttons by their object names.
class Ui_DMainUi
{
public:
    QHBoxLayout *horizontalLayout_3 = nullptr;

    // Classic style.
    QWidget *widget_8 = nullptr;
    QHBoxLayout *horizontalLayout_7 = nullptr;
    QWidget *widget_9 = nullptr;
    QGridLayout *gridLayout = nullptr;
    QToolButton *m_pSelectC = nullptr;
    QToolButton *m_pUndoC = nullptr;
    QToolButton *m_pDesktopC = nullptr;
    QToolButton *m_pRedoC = nullptr;
    QToolButton *baExpandMenuBottonC = nullptr;
    QWidget *widget_10 = nullptr;
    QHBoxLayout *horizontalLayout_8 = nullptr;
    QFrame *line_6 = nullptr;
    QFrame *line_7 = nullptr;

    QWidget *widget_11 = nullptr;
    QVBoxLayout *verticalLayout_2 = nullptr;
    QWidget *widget_16 = nullptr;
    QHBoxLayout *horizontalLayout_11 = nullptr;
    QToolButton *m_pPagesC = nullptr;
    QFrame *line_8 = nullptr;
    QToolButton *m_pPenC = nullptr;
    QFrame *line_12 = nullptr;
    QToolButton *m_pShapeC = nullptr;
    QFrame *line_13 = nullptr;
    QToolButton *m_pEraserC = nullptr;
    QWidget *widget_17 = nullptr;
    QHBoxLayout *horizontalLayout_12 = nullptr;
    QToolButton *m_pMMIC = nullptr;
    QFrame *line_10 = nullptr;
    QToolButton *m_pPageAC = nullptr;
    QFrame *line_11 = nullptr;
    QToolButton *m_pToolsC = nullptr;
    QFrame *line_15 = nullptr;
    QToolButton *m_pResourcesC = nullptr;

    QWidget *pagesWidget = nullptr;
    QVBoxLayout *verticalLayout_3 = nullptr;
    QWidget *widget_18 = nullptr;
    QHBoxLayout *horizontalLayout_13 = nullptr;
    QToolButton *m_pWhitePageC = nullptr;
    QFrame *line_16 = nullptr;
    QToolButton *m_pTransPageC = nullptr;
    QFrame *line_17 = nullptr;
    QToolButton *m_pScreenPageC = nullptr;
    QWidget *widget_19 = nullptr;
    QHBoxLayout *horizontalLayout_14 = nullptr;
    QToolButton *m_pImagePageC = nullptr;
    QFrame *line_20 = nullptr;
    QToolButton *m_pCleanPageC_2 = nullptr;
    QFrame *line_21 = nullptr;
    QToolButton *m_pRemovePageC = nullptr;

    QWidget *penWidget = nullptr;
    QVBoxLayout *verticalLayout_4 = nullptr;
    QWidget *widget_21 = nullptr;
    QHBoxLayout *horizontalLayout_16 = nullptr;
    QToolButton *m_pPencilC = nullptr;
    QFrame *line_19 = nullptr;
    QToolButton *m_pHighlighterC = nullptr;
    QWidget *widget_20 = nullptr;
    QHBoxLayout *horizontalLayout_15 = nullptr;
    QToolButton *m_pFountainC = nullptr;
    QFrame *line_18 = nullptr;
    QToolButton *m_pSmartPenC = nullptr;

    QWidget *eraserWidget = nullptr;
    QVBoxLayout *verticalLayout_5 = nullptr;
    QWidget *widget_23 = nullptr;
    QHBoxLayout *horizontalLayout_18 = nullptr;
    QToolButton *m_pObjEraserC = nullptr;
    QFrame *line_23 = nullptr;
    QToolButton *m_pEraserLC = nullptr;
    QWidget *widget_22 = nullptr;
    QHBoxLayout *horizontalLayout_17 = nullptr;
    QToolButton *m_pEraserMC = nullptr;
    QFrame *line_22 = nullptr;
    QToolButton *m_pEraserSC = nullptr;

    QWidget *shapeWidget = nullptr;
    QVBoxLayout *verticalLayout_6 = nullptr;
    QWidget *widget_25 = nullptr;
    QHBoxLayout *horizontalLayout_19 = nullptr;
    QToolButton *m_pLineC = nullptr;
    QFrame *line_39 = nullptr;
    QToolButton *m_pTRectC = nullptr;
    QFrame *line_38 = nullptr;
    QToolButton *m_pEllipseC = nullptr;
    QFrame *line_37 = nullptr;
    QToolButton *m_pPentagonC = nullptr;
    QFrame *line_36 = nullptr;
    QToolButton *m_pHexagonC = nullptr;
    QFrame *line_28 = nullptr;
    QToolButton *m_pArrowC = nullptr;
    QFrame *line_29 = nullptr;
    QToolButton *m_pCubeC = nullptr;
    QFrame *line_30 = nullptr;
    QToolButton *m_pConeC = nullptr;
    QFrame *line_31 = nullptr;
    QToolButton *m_pParallelogramC = nullptr;
    QWidget *widget_24 = nullptr;
    QHBoxLayout *horizontalLayout_20 = nullptr;
    QToolButton *m_pTriangleC = nullptr;
    QFrame *line_24 = nullptr;
    QToolButton *m_pSquareC = nullptr;
    QFrame *line_25 = nullptr;
    QToolButton *m_pCircleC = nullptr;
    QFrame *line_26 = nullptr;
    QToolButton *m_pFiveStarC = nullptr;
    QFrame *line_27 = nullptr;
    QToolButton *m_pRhombusC = nullptr;
    QFrame *line_32 = nullptr;
    QToolButton *m_pDArrowC = nullptr;
    QFrame *line_33 = nullptr;
    QToolButton *m_pCylinderC = nullptr;
    QFrame *line_34 = nullptr;
    QToolButton *m_pRRectC = nullptr;
    QFrame *line_35 = nullptr;
    QToolButton *m_pRectC = nullptr;

    QWidget *mmiWidget = nullptr;
    QVBoxLayout *verticalLayout_7 = nullptr;
    QWidget *widget_27 = nullptr;
    QHBoxLayout *horizontalLayout_22 = nullptr;
    QToolButton *m_pImageC = nullptr;
    QFrame *line_42 = nullptr;
    QToolButton *m_pVideoC = nullptr;
    QFrame *line_43 = nullptr;
    QToolButton *m_pSoundC = nullptr;
    QWidget *widget_26 = nullptr;
    QHBoxLayout *horizontalLayout_21 = nullptr;
    QToolButton *m_pTextC = nullptr;
    QFrame *line_40 = nullptr;
    QToolButton *m_pFreeC_4 = nullptr;
    QFrame *line_41 = nullptr;
    QToolButton *m_pFreeC_3 = nullptr;

    QWidget *pageAWidget = nullptr;
    QVBoxLayout *verticalLayout_8 = nullptr;
    QWidget *widget_29 = nullptr;
    QHBoxLayout *horizontalLayout_24 = nullptr;
    QToolButton *m_pZoomPlusC = nullptr;
    QFrame *line_48 = nullptr;
    QToolButton *m_pFreeMoveC = nullptr;
    QFrame *line_46 = nullptr;
    QToolButton *m_pLastPageC = nullptr;
    QFrame *line_47 = nullptr;
    QToolButton *m_pCleanPageC = nullptr;
    QWidget *widget_28 = nullptr;
    QHBoxLayout *horizontalLayout_23 = nullptr;
    QToolButton *m_pZoomMinusC = nullptr;
    QFrame *line_49 = nullptr;
    QToolButton *m_pRestoreMoveC = nullptr;
    QFrame *line_44 = nullptr;
    QToolButton *m_pNextPageC = nullptr;
    QFrame *line_45 = nullptr;
    QToolButton *m_pFreeC_6 = nullptr;

    QWidget *toolsWidget = nullptr;
    QVBoxLayout *verticalLayout_9 = nullptr;
    QWidget *widget_31 = nullptr;
    QHBoxLayout *horizontalLayout_26 = nullptr;
    QToolButton *m_pFocusC = nullptr;
    QFrame *line_58 = nullptr;
    QToolButton *m_pMagnifierC = nullptr;
    QFrame *line_59 = nullptr;
    QToolButton *m_pRulerC = nullptr;
    QFrame *line_60 = nullptr;
    QToolButton *m_pCompassC = nullptr;
    QFrame *line_61 = nullptr;
    QToolButton *m_pShareC = nullptr;
    QWidget *widget_30 = nullptr;
    QHBoxLayout *horizontalLayout_25 = nullptr;
    QToolButton *m_pCurtainC = nullptr;
    QFrame *line_50 = nullptr;
    QToolButton *m_pClockC = nullptr;
    QFrame *line_51 = nullptr;
    QToolButton *m_pTRulerC = nullptr;
    QFrame *line_52 = nullptr;
    QToolButton *m_pTransportC = nullptr;
    QFrame *line_53 = nullptr;
    QToolButton *m_pCalculatorC = nullptr;

    QWidget *widget_13 = nullptr;
    QVBoxLayout *verticalLayout = nullptr;
    QWidget *widget_14 = nullptr;
    QHBoxLayout *horizontalLayout_9 = nullptr;
    QToolButton *m_pColorPenC = nullptr;
    QFrame *line_4 = nullptr;
    QToolButton *m_pTransPenC = nullptr;
    QWidget *widget_15 = nullptr;
    QHBoxLayout *horizontalLayout_10 = nullptr;
    QToolButton *m_pWidthPenC = nullptr;
    QFrame *line_5 = nullptr;
    QToolButton *m_pStylePenC = nullptr;

    // Kids style.
    QWidget *widget_6 = nullptr;
    QHBoxLayout *horizontalLayout_5 = nullptr;
    QWidget *widget_4 = nullptr;
    QHBoxLayout *horizontalLayout_2 = nullptr;
    QLabel *label = nullptr;
    QToolButton *m_pHideBarI = nullptr;
    QToolButton *m_pDesktopI = nullptr;
    QWidget *widget_5 = nullptr;
    QHBoxLayout *horizontalLayout_4 = nullptr;
    QToolButton *baExpandMenuBottonI = nullptr;
    QToolButton *baExpandToolBottonI = nullptr;
    QToolButton *baExpandResBottonI = nullptr;
    QToolButton *m_pSelectI = nullptr;
    QToolButton *baExpandPenBottonI = nullptr;
    QToolButton *baExpandShapeBottonI = nullptr;
    QToolButton *baExpandEraserBottonI = nullptr;
    QToolButton *baExpandMMIBottonI = nullptr;
    QToolButton *m_pUndoI = nullptr;
    QToolButton *m_pRedoI = nullptr;
    QToolButton *m_pPageDownI = nullptr;
    QToolButton *baExpandPageBottonI = nullptr;
    QToolButton *m_pPageUpI = nullptr;

    // Standard style.
    QWidget *widget_7 = nullptr;
    QHBoxLayout *horizontalLayout_6 = nullptr;
    QWidget *widget_2 = nullptr;
    QGridLayout *gridLayout_3 = nullptr;
    QToolButton *m_pHideBar = nullptr;
    QToolButton *m_pDesktop = nullptr;
    QWidget *widget_3 = nullptr;
    QGridLayout *gridLayout_2 = nullptr;
    QWidget *widget = nullptr;
    QHBoxLayout *horizontalLayout = nullptr;
    QToolButton *baExpandMenuBotton = nullptr;
    QToolButton *baExpandToolBotton = nullptr;
    QToolButton *baExpandResBotton = nullptr;
    QFrame *line = nullptr;
    QToolButton *m_pSelect = nullptr;
    QToolButton *baExpandPenBotton = nullptr;
    QToolButton *baExpandShapeBotton = nullptr;
    QToolButton *baExpandEraserBotton = nullptr;
    QToolButton *baExpandMMIBotton = nullptr;
    QFrame *line_2 = nullptr;
    QToolButton *m_pUndo = nullptr;
    QToolButton *m_pRedo = nullptr;
    QFrame *line_3 = nullptr;
    QToolButton *m_pPageDown = nullptr;
    QToolButton *baExpandPageBotton = nullptr;
    QToolButton *m_pPageUp = nullptr;
    QToolButton *about = nullptr;

    // Multi-user bar.
    QWidget *widget_12 = nullptr;
    QHBoxLayout *horizontalLayout_27 = nullptr;
    QWidget *widget_32 = nullptr;
    QHBoxLayout *horizontalLayout_31 = nullptr;
    QWidget *user1 = nullptr;
    QHBoxLayout *horizontalLayout_28 = nullptr;
    QToolButton *m_pPenUser1 = nullptr;
    QToolButton *m_pHighUser1 = nullptr;
    QToolButton *m_pTextUser1 = nullptr;
    QToolButton *m_pEraseUser1 = nullptr;
    QFrame *line_9 = nullptr;
    QToolButton *m_pColorUser1 = nullptr;
    QWidget *user3 = nullptr;
    QHBoxLayout *horizontalLayout_30 = nullptr;
    QToolButton *m_pPenUser3 = nullptr;
    QToolButton *m_pHighUser3 = nullptr;
    QToolButton *m_pTextUser3 = nullptr;
    QToolButton *m_pEraseUser3 = nullptr;
    QFrame *line_54 = nullptr;
    QToolButton *m_pColorUser3 = nullptr;
    QWidget *exitMultiuser = nullptr;
    QGridLayout *gridLayout_4 = nullptr;
    QToolButton *m_pExitMultiUser = nullptr;

    void setupUi(QWidget *DMainUi);
    void retranslateUi(QWidget *DMainUi);

private:
    void setupClassic(QWidget *parent);
    void setupKids(QWidget *parent);
    void setupStandard(QWidget *parent);
    void setupMultiUser(QWidget *parent);
    QWidget *addClassicPanel(int index, QWidget *parent);
};

namespace Ui {
class DMainUi : public Ui_DMainUi
{
};
} // namespace Ui

// Style sheets that the toolbar swaps onto its buttons at run time: the hide buttons' collapsed
// and expanded looks, the multi-user colour swatches and the marks of the current tool.
namespace DMainUiSheets {

enum MarkStyle {
    MarkStandard, // translucent blue
    MarkKids, // translucent blue with a blue ring
    MarkClassic, // translucent orange
    MarkUser, // opaque blue, the multi-user bar
};

QString hideBarExpanded();
QString hideBarCollapsed();
QString kidsHideBarExpanded();
QString kidsHideBarCollapsed();
QString colourSwatch(const QString &buttonName, const QColor &colour);
QString marked(const QString &buttonName, MarkStyle style);

} // namespace DMainUiSheets
