#pragma once

#include "btmenus.h"

#include <QBrush>
#include <QDialog>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QString>

class QToolButton;
class Ui_DMainUi;
class WidgetMenu;
class WidgetEraserSelector;
class WidgetMenuSelector;
class WidgetPenSelector;
class WidgetShapeSelector;
class WidgetMMISelector;
class WidgetToolSelector;
class WidgetPageSelector;
class WidgetClassicSelector;

// The floating main toolbar of board mode in one of four interface styles. It turns every button
// press into buttonClicked(btType) for the dispatcher, owns the eight pop-up palettes and opens
// them above or below itself, can be dragged and collapsed, and marks the current tool's button.
// The current pens and tool of the whole program live in its static members, which the
// dispatcher keeps equal to the board view's and the palettes read and write.
class DMainUi : public QDialog
{
    Q_OBJECT

public:
    explicit DMainUi(QWidget *parent = nullptr);
    ~DMainUi() override;

    static QPen m_pen;
    static QPen m_penUser1;
    static QPen m_penUser2;
    static QPen m_penUser3;
    static QPen m_penShape;
    static QBrush m_brush;
    static int m_curPenType; // a BtMenus::btType

    void updatePen(BtMenus::btType type, QPen pen, QPen penUser1, QPen penUser2, QPen penUser3,
                   QPen penShape, QBrush brush);
    // 0 (BtMenus::dmDesktop) hides the bar, 1 (BtMenus::dmBoard) shows it; any other value is only
    // stored, which is why the mode travels as an int.
    void setMode(int mode);
    int getMode() const { return m_mode; }
    int interfaceMode() const { return m_interfaceMode; }
    bool isBarExpanded() const { return m_bBarExpanded; }

    void changeVisible();
    void expandDlg(WidgetMenu *dlg, int x, int margin);
    void expandMenusClassic(QToolButton *groupButton);
    void changeClassicInterfaceSize(bool pages, bool pen, bool shape, bool eraser, bool insert,
                                    bool pageActions, bool tools, int width);
    void disablePenProperties(bool disable);
    QColor getColorFromDlg(QColor color);

    void selectButton(QToolButton *button);
    void selectSubButton(QToolButton *button);
    void selectClassButton(QToolButton *button);
    void selectSubClassButton(QToolButton *button);
    void selectUser1Button(QToolButton *button);
    void selectUser2Button(QToolButton *button);
    void selectUser3Button(QToolButton *button);

    // The palettes, for the main window, which makes itself the parent of seven of them.
    WidgetEraserSelector *eraserSelector() const;
    WidgetMenuSelector *menuSelector() const;
    WidgetPenSelector *penSelector() const;
    WidgetShapeSelector *shapeSelector() const;
    WidgetMMISelector *mmiSelector() const;
    WidgetToolSelector *toolSelector() const;
    WidgetPageSelector *pageSelector() const;
    WidgetClassicSelector *classicSelector() const;
    WidgetMenu *openMenu() const;

signals:
    // Bare type names, so the text signatures read "buttonClicked(btType)" as the shell's do.
    void buttonClicked(btType bt);
    void colorClicked(QColor c, btType bt);

public slots:
    void setNumPage(QString num);
    void closeAllMenu();
    void updateSelectedBt();

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private slots:
    void changeInterface(eInterfaceMode mode);

    void expandColorBotton();
    void expandTransBotton();
    void expandWidthBotton();
    void expandStyleBotton();
    void expandMenuBotton();
    void expandPageBotton();
    void expandPenBotton();
    void expandShapeBotton();
    void expandEraserBotton();
    void expandToolBotton();
    void expandMMIBotton();

    // Standard style.
    void on_m_pHideBar_clicked();
    void on_m_pDesktop_clicked();
    void on_baExpandMenuBotton_clicked();
    void on_baExpandResBotton_clicked();
    void on_m_pSelect_clicked();
    void on_m_pUndo_clicked();
    void on_m_pRedo_clicked();
    void on_m_pPageDown_clicked();
    void on_m_pPageUp_clicked();
    void on_about_clicked();

    // Kids style.
    void on_m_pHideBarI_clicked();
    void on_m_pDesktopI_clicked();
    void on_baExpandMenuBottonI_clicked();
    void on_baExpandToolBottonI_clicked();
    void on_baExpandResBottonI_clicked();
    void on_m_pSelectI_clicked();
    void on_baExpandPenBottonI_clicked();
    void on_baExpandShapeBottonI_clicked();
    void on_baExpandEraserBottonI_clicked();
    void on_baExpandMMIBottonI_clicked();
    void on_m_pUndoI_clicked();
    void on_m_pRedoI_clicked();
    void on_m_pPageDownI_clicked();
    void on_baExpandPageBottonI_clicked();
    void on_m_pPageUpI_clicked();

    // Classic style: fixed buttons and group buttons.
    void on_baExpandMenuBottonC_clicked();
    void on_m_pDesktopC_clicked();
    void on_m_pSelectC_clicked();
    void on_m_pUndoC_clicked();
    void on_m_pRedoC_clicked();
    void on_m_pResourcesC_clicked();
    void on_m_pPagesC_clicked();
    void on_m_pPenC_clicked();
    void on_m_pShapeC_clicked();
    void on_m_pEraserC_clicked();
    void on_m_pMMIC_clicked();
    void on_m_pPageAC_clicked();
    void on_m_pToolsC_clicked();

    // Classic panels.
    void on_m_pWhitePageC_clicked();
    void on_m_pImagePageC_clicked();
    void on_m_pTransPageC_clicked();
    void on_m_pScreenPageC_clicked();
    void on_m_pCleanPageC_2_clicked();
    void on_m_pRemovePageC_clicked();
    void on_m_pPencilC_clicked();
    void on_m_pHighlighterC_clicked();
    void on_m_pFountainC_clicked();
    void on_m_pSmartPenC_clicked();
    void on_m_pObjEraserC_clicked();
    void on_m_pEraserLC_clicked();
    void on_m_pEraserMC_clicked();
    void on_m_pEraserSC_clicked();
    void on_m_pLineC_clicked();
    void on_m_pTriangleC_clicked();
    void on_m_pSquareC_clicked();
    void on_m_pRectC_clicked();
    void on_m_pRRectC_clicked();
    void on_m_pCircleC_clicked();
    void on_m_pEllipseC_clicked();
    void on_m_pPentagonC_clicked();
    void on_m_pHexagonC_clicked();
    void on_m_pParallelogramC_clicked();
    void on_m_pTRectC_clicked();
    void on_m_pRhombusC_clicked();
    void on_m_pArrowC_clicked();
    void on_m_pFiveStarC_clicked();
    void on_m_pDArrowC_clicked();
    void on_m_pConeC_clicked();
    void on_m_pCubeC_clicked();
    void on_m_pCylinderC_clicked();
    void on_m_pImageC_clicked();
    void on_m_pVideoC_clicked();
    void on_m_pSoundC_clicked();
    void on_m_pTextC_clicked();
    void on_m_pZoomPlusC_clicked();
    void on_m_pFreeMoveC_clicked();
    void on_m_pLastPageC_clicked();
    void on_m_pCleanPageC_clicked();
    void on_m_pZoomMinusC_clicked();
    void on_m_pRestoreMoveC_clicked();
    void on_m_pNextPageC_clicked();
    void on_m_pFocusC_clicked();
    void on_m_pMagnifierC_clicked();
    void on_m_pRulerC_clicked();
    void on_m_pCompassC_clicked();
    void on_m_pShareC_clicked();
    void on_m_pCurtainC_clicked();
    void on_m_pClockC_clicked();
    void on_m_pTRulerC_clicked();
    void on_m_pTransportC_clicked();
    void on_m_pCalculatorC_clicked();
    // The pen-property buttons act through expandColorBotton and its companions.
    void on_m_pColorPenC_clicked() { }
    void on_m_pTransPenC_clicked() { }
    void on_m_pWidthPenC_clicked() { }
    void on_m_pStylePenC_clicked() { }

    // Multi-user bar.
    void on_m_pPenUser1_clicked();
    void on_m_pHighUser1_clicked();
    void on_m_pTextUser1_clicked();
    void on_m_pEraseUser1_clicked();
    void on_m_pPenUser3_clicked();
    void on_m_pHighUser3_clicked();
    void on_m_pTextUser3_clicked();
    void on_m_pEraseUser3_clicked();
    void on_m_pColorUser1_clicked();
    void on_m_pColorUser3_clicked();
    void on_m_pExitMultiUser_clicked();

private:
    // User 2 has no buttons on the bar. Plain methods rather than slots: as slots named for
    // buttons they would make the form's connection by name warn about the missing buttons.
    void on_m_pPenUser2_clicked();
    void on_m_pHighUser2_clicked();
    void on_m_pTextUser2_clicked();
    void on_m_pColorUser2_clicked();

    void mark(QToolButton *&slotButton, QString &slotSheet, QToolButton *button, int style);
    void openPalette(WidgetMenu *palette, QToolButton *button, int margin);
    void openClassicPage(QToolButton *button, int page);
    void directCommand(BtMenus::btType bt);
    void classicPanelTool(BtMenus::btType bt, int *remembered);
    void userTool(int user, BtMenus::btType bt, QToolButton *button);
    void userColour(int user);
    void applyMultiUserGeometry();
    QToolButton *formButton(const char *objectName) const;

    bool m_bMultiUser = false;
    QPoint m_dragPosition;
    Ui_DMainUi *ui = nullptr;
    QPointer<WidgetMenu> m_pOpenMenu; // the palette expandDlg showed last; not owned

    // Owned, but seven of them are re-parented to the main window, which may delete them first
    // when it goes down with the toolbar still among its children.
    QPointer<WidgetEraserSelector> m_pEraserSelector;
    QPointer<WidgetMenuSelector> m_pMenuSelector;
    QPointer<WidgetPenSelector> m_pPenSelector;
    QPointer<WidgetShapeSelector> m_pShapeSelector;
    QPointer<WidgetMMISelector> m_pMMISelector;
    QPointer<WidgetToolSelector> m_pToolSelector;
    QPointer<WidgetPageSelector> m_pPageSelector;
    QPointer<WidgetClassicSelector> m_pClassicSelector;

    // The marked button of each layout and the sheet it had before it was marked.
    QToolButton *m_pSelectedBt = nullptr; // standard layout
    QString m_selectedBtSheet;
    QToolButton *m_pSelectedSubBt = nullptr; // kids layout
    QString m_selectedSubBtSheet;
    QToolButton *m_pSelectedClassBt = nullptr; // classic group buttons and m_pSelectC
    QString m_selectedClassBtSheet;
    QToolButton *m_pSelectedSubClassBt = nullptr; // classic panel buttons
    QString m_selectedSubClassBtSheet;
    QToolButton *m_pSelectedUser1Bt = nullptr;
    QString m_selectedUser1BtSheet;
    QToolButton *m_pSelectedUser2Bt = nullptr; // the form has no user-2 buttons
    QString m_selectedUser2BtSheet;
    QToolButton *m_pSelectedUser3Bt = nullptr;
    QString m_selectedUser3BtSheet;

    int m_mode = BtMenus::dmBoard;
    // Both start at standard so that leaving a multi-user bar chosen at start has a style to
    // return to.
    int m_interfaceMode = BtMenus::imStandard;
    int m_prevInterfaceMode = BtMenus::imStandard;
    QPointF m_savedPos;
    bool m_bBarExpanded = true;
    int m_penTypeUser1 = BtMenus::btPencilUser1;
    int m_penTypeUser2 = BtMenus::btPencilUser2;
    int m_penTypeUser3 = BtMenus::btPencilUser3;
    int m_classicPenType = BtMenus::btPencil;
    int m_classicShapeType = BtMenus::btLine;
    int m_classicEraserType = BtMenus::btObjectEraser;
};
