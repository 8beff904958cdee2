#include "dmainui.h"

#include "appsettings.h"
#include "dmainuiform.h"
#include "globals.h"
#include "textfit.h"
#include "toolbarmarking.h"

#include "palettes/widgetclassicselector.h"
#include "palettes/widgeteraserselector.h"
#include "palettes/widgetmenu.h"
#include "palettes/widgetmenuselector.h"
#include "palettes/widgetmmiselector.h"
#include "palettes/widgetpageselector.h"
#include "palettes/widgetpenselector.h"
#include "palettes/widgetshapeselector.h"
#include "palettes/widgettoolselector.h"

#include <QColorDialog>
#include <QDebug>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QToolButton>

QPen DMainUi::m_pen;
QPen DMainUi::m_penUser1;
QPen DMainUi::m_penUser2;
QPen DMainUi::m_penUser3;
QPen DMainUi::m_penShape;
QBrush DMainUi::m_brush;
int DMainUi::m_curPenType = 0;

namespace {

QRect primaryScreenGeometry()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

// The width the classic bar takes with each group panel open.
struct ClassicPanelWidth
{
    const char *groupButton;
    int panel; // index into the seven panels, in the order of changeClassicInterfaceSize
    int width;
};

// clang-format off
const ClassicPanelWidth kClassicPanelWidths[] = {
    { "m_pPagesC",  0, 525 },
    { "m_pPenC",    1, 484 },
    { "m_pShapeC",  2, 781 },
    { "m_pEraserC", 3, 484 },
    { "m_pMMIC",    4, 525 },
    { "m_pPageAC",  5, 568 },
    { "m_pToolsC",  6, 611 },
};
// clang-format on
const int kClassicWidthWithoutPanel = 390;

} // namespace

DMainUi::DMainUi(QWidget *parent) : QDialog(parent), ui(new Ui_DMainUi)
{
    ui->setupUi(this);
    // No window type: the bar is a child widget floating over the main window.
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);

    ui->m_pSmartPenC->setEnabled(false);
    m_mode = BtMenus::dmBoard;
    m_bBarExpanded = true;
    m_curPenType = BtMenus::btSelect;

    m_pEraserSelector = new WidgetEraserSelector(this);
    m_pMenuSelector = new WidgetMenuSelector(this);
    m_pPenSelector = new WidgetPenSelector(this);
    m_pShapeSelector = new WidgetShapeSelector(this);
    m_pMMISelector = new WidgetMMISelector(this);
    m_pToolSelector = new WidgetToolSelector(this);
    m_pPageSelector = new WidgetPageSelector(this);
    m_pClassicSelector = new WidgetClassicSelector(this);

    changeInterface(AppSettings::interfaceMode(settings));
    const int parentWidth = parentWidget() ? parentWidget()->width() : 0;
    if (m_interfaceMode != BtMenus::imMultiUser) {
        move(parentWidth / 2 - width() / 2, 100);
    } else {
        // The multi-user bar stays at the bottom edge, where every release of a drag puts it
        // too; leaving it brings the standard bar back at its usual place.
        m_savedPos = QPointF(parentWidth / 2 - 731 / 2, 100);
    }

    connect(ui->baExpandMenuBotton, &QToolButton::clicked, this, &DMainUi::expandMenuBotton);
    connect(m_pMenuSelector, &WidgetMenuSelector::changeInterface, this, &DMainUi::changeInterface);
    connect(ui->baExpandPenBotton, &QToolButton::clicked, this, &DMainUi::expandPenBotton);
    connect(ui->baExpandShapeBotton, &QToolButton::clicked, this, &DMainUi::expandShapeBotton);
    connect(ui->baExpandEraserBotton, &QToolButton::clicked, this, &DMainUi::expandEraserBotton);
    connect(ui->baExpandToolBotton, &QToolButton::clicked, this, &DMainUi::expandToolBotton);
    connect(ui->baExpandMMIBotton, &QToolButton::clicked, this, &DMainUi::expandMMIBotton);
    connect(ui->baExpandPageBotton, &QToolButton::clicked, this, &DMainUi::expandPageBotton);
    connect(ui->m_pWidthPenC, &QToolButton::clicked, this, &DMainUi::expandWidthBotton);
    connect(ui->m_pTransPenC, &QToolButton::clicked, this, &DMainUi::expandTransBotton);
    connect(ui->m_pColorPenC, &QToolButton::clicked, this, &DMainUi::expandColorBotton);
    connect(ui->m_pStylePenC, &QToolButton::clicked, this, &DMainUi::expandStyleBotton);

    m_classicPenType = BtMenus::btPencil;
    m_classicShapeType = BtMenus::btLine;
    m_classicEraserType = BtMenus::btObjectEraser;
    m_penTypeUser1 = BtMenus::btPencilUser1;
    m_penTypeUser2 = BtMenus::btPencilUser2;
    m_penTypeUser3 = BtMenus::btPencilUser3;
    m_bMultiUser = false;

    selectUser1Button(ui->m_pPenUser1);
    selectUser3Button(ui->m_pPenUser3);
    ui->m_pColorUser3->setStyleSheet(
            DMainUiSheets::colourSwatch(ui->m_pColorUser3->objectName(), QColor(0, 0, 255)));

    for (QToolButton *unused : { ui->m_pEraserMC, ui->m_pEraserSC }) {
        unused->setEnabled(false);
        unused->hide();
    }
    show();
}

DMainUi::~DMainUi()
{
    delete m_pPageSelector.data();
    delete m_pToolSelector.data();
    delete m_pMMISelector.data();
    delete m_pShapeSelector.data();
    delete m_pPenSelector.data();
    delete m_pMenuSelector.data();
    delete m_pEraserSelector.data();
    delete m_pClassicSelector.data();
    delete ui;
}

WidgetEraserSelector *DMainUi::eraserSelector() const
{
    return m_pEraserSelector;
}
WidgetMenuSelector *DMainUi::menuSelector() const
{
    return m_pMenuSelector;
}
WidgetPenSelector *DMainUi::penSelector() const
{
    return m_pPenSelector;
}
WidgetShapeSelector *DMainUi::shapeSelector() const
{
    return m_pShapeSelector;
}
WidgetMMISelector *DMainUi::mmiSelector() const
{
    return m_pMMISelector;
}
WidgetToolSelector *DMainUi::toolSelector() const
{
    return m_pToolSelector;
}
WidgetPageSelector *DMainUi::pageSelector() const
{
    return m_pPageSelector;
}
WidgetClassicSelector *DMainUi::classicSelector() const
{
    return m_pClassicSelector;
}
WidgetMenu *DMainUi::openMenu() const
{
    return m_pOpenMenu;
}

void DMainUi::updatePen(BtMenus::btType type, QPen pen, QPen penUser1, QPen penUser2, QPen penUser3,
                        QPen penShape, QBrush brush)
{
    m_curPenType = type;
    m_pen = pen;
    m_penUser1 = penUser1;
    m_penUser2 = penUser2;
    m_penUser3 = penUser3;
    m_penShape = penShape;
    m_brush = brush;
    updateSelectedBt();
}

void DMainUi::setMode(int mode)
{
    if (mode == BtMenus::dmDesktop)
        hide();
    else if (mode == BtMenus::dmBoard)
        show();
    m_mode = mode;
}

void DMainUi::setNumPage(QString num)
{
    // "10 / 12" is wider than "1 / 1": the counter takes a smaller font rather than cut it.
    for (QToolButton *counter :
         { ui->baExpandPageBotton, ui->baExpandPageBottonI, ui->m_pPagesC }) {
        counter->setText(num);
        TextFit::refit(counter);
    }
}

void DMainUi::closeAllMenu()
{
    if (m_pOpenMenu)
        m_pOpenMenu->hide();
    if (m_pMenuSelector)
        m_pMenuSelector->restarMenu();
}

// ---- Interface styles, collapse, classic panels ------------------------------------------------

void DMainUi::changeInterface(eInterfaceMode mode)
{
    // Only the four styles exist; anything else would leave all four frames side by side.
    if (mode < BtMenus::imStandard || mode > BtMenus::imMultiUser)
        return;
    m_prevInterfaceMode = m_interfaceMode;
    m_savedPos = pos();
    m_interfaceMode = mode;

    if (mode == BtMenus::imMultiUser) {
        m_bMultiUser = true;
        emit buttonClicked(BtMenus::btPencilUser1);
    } else {
        emit buttonClicked(BtMenus::btSelect);
    }
    ui->widget_7->setVisible(mode == BtMenus::imStandard);
    ui->widget_6->setVisible(mode == BtMenus::imKids);
    ui->widget_8->setVisible(mode == BtMenus::imClassic);
    ui->widget_12->setVisible(mode == BtMenus::imMultiUser);
    switch (mode) {
    case BtMenus::imStandard:
        setFixedSize(731, 70);
        break;
    case BtMenus::imKids:
        setFixedSize(745, 70);
        break;
    case BtMenus::imClassic:
        expandMenusClassic(m_pSelectedClassBt);
        setFixedHeight(110);
        break;
    case BtMenus::imMultiUser:
        applyMultiUserGeometry();
        break;
    }
    closeAllMenu();
}

void DMainUi::applyMultiUserGeometry()
{
    const QRect screen = primaryScreenGeometry();
    setFixedSize(screen.width(), 50);
    move(0, screen.height() - 50);
}

void DMainUi::changeVisible()
{
    if (m_bBarExpanded) {
        if (m_interfaceMode == BtMenus::imStandard) {
            ui->widget_3->hide();
            setFixedWidth(110);
        } else if (m_interfaceMode == BtMenus::imKids) {
            ui->widget_5->hide();
            setFixedWidth(160);
        }
        ui->m_pHideBar->setStyleSheet(DMainUiSheets::hideBarCollapsed());
        ui->m_pHideBarI->setStyleSheet(DMainUiSheets::kidsHideBarCollapsed());
    } else {
        if (m_interfaceMode == BtMenus::imStandard) {
            ui->widget_3->show();
            setFixedWidth(731);
        } else if (m_interfaceMode == BtMenus::imKids) {
            ui->widget_5->show();
            setFixedWidth(745);
        }
        ui->m_pHideBar->setStyleSheet(DMainUiSheets::hideBarExpanded());
        ui->m_pHideBarI->setStyleSheet(DMainUiSheets::kidsHideBarExpanded());
    }
    m_bBarExpanded = !m_bBarExpanded;
}

void DMainUi::expandMenusClassic(QToolButton *groupButton)
{
    bool visible[7] = {};
    int width = kClassicWidthWithoutPanel;
    if (groupButton) {
        for (const ClassicPanelWidth &row : kClassicPanelWidths) {
            if (groupButton->objectName() == QLatin1String(row.groupButton)) {
                visible[row.panel] = true;
                width = row.width;
            }
        }
    }
    changeClassicInterfaceSize(visible[0], visible[1], visible[2], visible[3], visible[4],
                               visible[5], visible[6], width);
}

void DMainUi::changeClassicInterfaceSize(bool pages, bool pen, bool shape, bool eraser, bool insert,
                                         bool pageActions, bool tools, int width)
{
    ui->pagesWidget->setVisible(pages);
    ui->penWidget->setVisible(pen);
    ui->shapeWidget->setVisible(shape);
    ui->eraserWidget->setVisible(eraser);
    ui->mmiWidget->setVisible(insert);
    ui->pageAWidget->setVisible(pageActions);
    ui->toolsWidget->setVisible(tools);
    ui->widget_8->setFixedWidth(width);
    setFixedWidth(width);
}

void DMainUi::disablePenProperties(bool disable)
{
    if (m_pClassicSelector)
        m_pClassicSelector->disablePenColor(disable);
    ui->m_pTransPenC->setEnabled(!disable);
    ui->m_pWidthPenC->setEnabled(!disable);
    ui->m_pStylePenC->setEnabled(!disable);
}

QColor DMainUi::getColorFromDlg(QColor color)
{
    return QColorDialog::getColor(color, this);
}

// ---- Palettes ---------------------------------------------------------------------------------

void DMainUi::expandDlg(WidgetMenu *dlg, int x, int margin)
{
    if (dlg && dlg == m_pOpenMenu && dlg->isVisible()) {
        dlg->hide();
        return;
    }
    if (m_pOpenMenu)
        m_pOpenMenu->hide();
    m_pOpenMenu = dlg;
    if (!dlg)
        return;

    const int barTop = y();
    const int barHeight = height();
    const int screenHeight = primaryScreenGeometry().height();
    const bool above = barTop > screenHeight / 2 - barHeight;
    // The decoration row changes the palette's height, so it is switched before the size is read.
    if (above)
        dlg->setBottonLabel();
    else
        dlg->setTopLabel();
    const int paletteWidth = dlg->width();
    const int paletteHeight = dlg->height();
    const int overlap = margin + 5;
    const int top = above ? barTop - paletteHeight + overlap : barTop + barHeight - overlap;
    dlg->setGeometry(x - paletteWidth / 2, top, paletteWidth, paletteHeight);
    dlg->show();
}

void DMainUi::openPalette(WidgetMenu *palette, QToolButton *button, int margin)
{
    const int x = button->mapToGlobal(button->rect().center()).x();
    expandDlg(palette, x, margin);
}

void DMainUi::expandMenuBotton()
{
    emit buttonClicked(BtMenus::btExpandMenu);
    openPalette(m_pMenuSelector.data(), ui->baExpandMenuBotton, 5);
}

void DMainUi::expandToolBotton()
{
    emit buttonClicked(BtMenus::btExpandTool);
    openPalette(m_pToolSelector.data(), ui->baExpandToolBotton, 5);
}

void DMainUi::expandPenBotton()
{
    emit buttonClicked(BtMenus::btExpandPen);
    openPalette(m_pPenSelector.data(), ui->baExpandPenBotton, 5);
    updateSelectedBt();
}

void DMainUi::expandShapeBotton()
{
    emit buttonClicked(BtMenus::btExpandShape);
    openPalette(m_pShapeSelector.data(), ui->baExpandShapeBotton, 5);
    updateSelectedBt();
}

void DMainUi::expandEraserBotton()
{
    emit buttonClicked(BtMenus::btExpandEraser);
    openPalette(m_pEraserSelector.data(), ui->baExpandEraserBotton, 5);
    updateSelectedBt();
}

void DMainUi::expandMMIBotton()
{
    emit buttonClicked(BtMenus::btExpandMMI);
    openPalette(m_pMMISelector.data(), ui->baExpandMMIBotton, 5);
}

void DMainUi::expandPageBotton()
{
    emit buttonClicked(BtMenus::btExpandPage);
    openPalette(m_pPageSelector.data(), ui->baExpandPageBotton, 5);
}

void DMainUi::openClassicPage(QToolButton *button, int page)
{
    if (!m_pClassicSelector)
        return;
    if (m_pOpenMenu == m_pClassicSelector && m_pClassicSelector->m_page != page)
        m_pClassicSelector->hide();
    switch (page) {
    case 0:
        m_pClassicSelector->showColorMenu();
        break;
    case 1:
        m_pClassicSelector->showWidthMenu();
        break;
    case 2:
        m_pClassicSelector->showTransMenu();
        break;
    default:
        m_pClassicSelector->showStyleMenu();
        break;
    }
    openPalette(m_pClassicSelector.data(), button, 5);
}

void DMainUi::expandColorBotton()
{
    openClassicPage(ui->m_pColorPenC, 0);
}

void DMainUi::expandWidthBotton()
{
    openClassicPage(ui->m_pWidthPenC, 1);
}

void DMainUi::expandTransBotton()
{
    openClassicPage(ui->m_pTransPenC, 2);
}

void DMainUi::expandStyleBotton()
{
    openClassicPage(ui->m_pStylePenC, 3);
}

// ---- Dragging ---------------------------------------------------------------------------------

void DMainUi::mousePressEvent(QMouseEvent *event)
{
    qDebug() << " PRESS multi  con uno eraser en dmainui";
    closeAllMenu();
    if (event->button() == Qt::LeftButton)
        m_dragPosition = event->screenPos().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void DMainUi::mouseMoveEvent(QMouseEvent *event)
{
    closeAllMenu();
    if (event->buttons() & Qt::LeftButton)
        move(event->screenPos().toPoint() - m_dragPosition);
    QDialog::mouseMoveEvent(event);
}

void DMainUi::mouseReleaseEvent(QMouseEvent *event)
{
    // The multi-user bar belongs to the bottom edge: a drag never leaves it elsewhere.
    if (m_bMultiUser)
        applyMultiUserGeometry();
    QDialog::mouseReleaseEvent(event);
}

void DMainUi::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    updateSelectedBt();
}

// ---- Marking ----------------------------------------------------------------------------------

void DMainUi::mark(QToolButton *&slotButton, QString &slotSheet, QToolButton *button, int style)
{
    if (!button) {
        if (slotButton)
            slotButton->setStyleSheet(slotSheet);
        slotButton = nullptr;
        return;
    }
    if (button == slotButton)
        return;
    if (slotButton)
        slotButton->setStyleSheet(slotSheet);
    slotButton = button;
    slotSheet = button->styleSheet();
    button->setStyleSheet(
            DMainUiSheets::marked(button->objectName(), DMainUiSheets::MarkStyle(style)));
}

void DMainUi::selectButton(QToolButton *button)
{
    mark(m_pSelectedBt, m_selectedBtSheet, button, DMainUiSheets::MarkStandard);
}

void DMainUi::selectSubButton(QToolButton *button)
{
    mark(m_pSelectedSubBt, m_selectedSubBtSheet, button, DMainUiSheets::MarkKids);
}

void DMainUi::selectClassButton(QToolButton *button)
{
    if (button && button != m_pSelectedClassBt) {
        if (m_pSelectedClassBt)
            m_pSelectedClassBt->setStyleSheet(m_selectedClassBtSheet);
        m_pSelectedClassBt = nullptr;
        // The classic bar opens the panel of the group that now holds the current tool.
        if (m_interfaceMode == BtMenus::imClassic)
            expandMenusClassic(button);
    }
    mark(m_pSelectedClassBt, m_selectedClassBtSheet, button, DMainUiSheets::MarkClassic);
}

void DMainUi::selectSubClassButton(QToolButton *button)
{
    mark(m_pSelectedSubClassBt, m_selectedSubClassBtSheet, button, DMainUiSheets::MarkClassic);
}

void DMainUi::selectUser1Button(QToolButton *button)
{
    mark(m_pSelectedUser1Bt, m_selectedUser1BtSheet, button, DMainUiSheets::MarkUser);
}

void DMainUi::selectUser2Button(QToolButton *button)
{
    mark(m_pSelectedUser2Bt, m_selectedUser2BtSheet, button, DMainUiSheets::MarkUser);
}

void DMainUi::selectUser3Button(QToolButton *button)
{
    mark(m_pSelectedUser3Bt, m_selectedUser3BtSheet, button, DMainUiSheets::MarkUser);
}

QToolButton *DMainUi::formButton(const char *objectName) const
{
    if (!objectName)
        return nullptr;
    auto *button = findChild<QToolButton *>(QLatin1String(objectName));
    Q_ASSERT_X(button, "DMainUi::formButton", objectName);
    return button;
}

void DMainUi::updateSelectedBt()
{
    const QIcon insertIcon(QStringLiteral(":/Icon/baExpandInsertFromFileBotton.png"));
    ui->baExpandMMIBotton->setIcon(insertIcon);
    ui->baExpandMMIBottonI->setIcon(insertIcon);
    ui->m_pMMIC->setIcon(QIcon(QStringLiteral(":/oldIcon/baExpandInsertFromFileBotton.png")));

    const int tool = m_curPenType;
    if (tool > BtMenus::btSelect)
        return;
    const ToolbarMarking::ToolMark *row = ToolbarMarking::toolMark(tool);
    if (!row)
        return;

    selectButton(formButton(row->standard));
    selectSubButton(formButton(row->kids));
    if (tool == BtMenus::btSelect) {
        selectClassButton(formButton(row->classicGroup));
        selectSubClassButton(formButton(row->classicPanel));
    } else {
        selectSubClassButton(formButton(row->classicPanel));
        selectClassButton(formButton(row->classicGroup));
    }

    QToolButton *standard = nullptr;
    QToolButton *kids = nullptr;
    QToolButton *classic = nullptr;
    switch (row->group) {
    case ToolbarMarking::GroupPen:
        standard = ui->baExpandPenBotton;
        kids = ui->baExpandPenBottonI;
        classic = ui->m_pPenC;
        break;
    case ToolbarMarking::GroupShape:
        standard = ui->baExpandShapeBotton;
        kids = ui->baExpandShapeBottonI;
        classic = ui->m_pShapeC;
        break;
    case ToolbarMarking::GroupInsert:
        standard = ui->baExpandMMIBotton;
        kids = ui->baExpandMMIBottonI;
        classic = ui->m_pMMIC;
        break;
    case ToolbarMarking::GroupNone:
        break;
    }
    if (standard) {
        const QIcon icon(QString::fromLatin1(row->icon));
        standard->setIcon(icon);
        kids->setIcon(icon);
        classic->setIcon(QIcon(QString::fromLatin1(row->classicIcon)));
    }
    disablePenProperties(row->penPropertiesDisabled);
}

// ---- Button actions ---------------------------------------------------------------------------

void DMainUi::directCommand(BtMenus::btType bt)
{
    emit buttonClicked(bt);
    closeAllMenu();
}

void DMainUi::on_m_pHideBar_clicked()
{
    changeVisible();
    emit buttonClicked(BtMenus::btHideBar);
}

void DMainUi::on_m_pDesktop_clicked()
{
    directCommand(BtMenus::btDesktop);
}

void DMainUi::on_baExpandMenuBotton_clicked()
{
    // expandMenuBotton follows through its own connection and emits 106 once more.
    qDebug() << "menu";
    emit buttonClicked(BtMenus::btExpandMenu);
}

void DMainUi::on_baExpandResBotton_clicked()
{
    directCommand(BtMenus::btExpandRes);
}

void DMainUi::on_m_pSelect_clicked()
{
    directCommand(BtMenus::btSelect);
    updateSelectedBt();
}

void DMainUi::on_m_pUndo_clicked()
{
    directCommand(BtMenus::btUndo);
}

void DMainUi::on_m_pRedo_clicked()
{
    directCommand(BtMenus::btRedo);
}

void DMainUi::on_m_pPageDown_clicked()
{
    directCommand(BtMenus::btPreviousPage);
}

void DMainUi::on_m_pPageUp_clicked()
{
    directCommand(BtMenus::btNextPage);
}

void DMainUi::on_about_clicked()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Veltorina"),
                    tr("Veltorina %1\n\nPizarra digital interactiva para el aula.\n"
                       "Escrita y mantenida por el equipo de desarrollo de Veltorina.")
                            .arg(g_strAppVersion),
                    QMessageBox::Ok, this);
    box.exec();
}

void DMainUi::on_m_pHideBarI_clicked()
{
    on_m_pHideBar_clicked();
}

void DMainUi::on_m_pDesktopI_clicked()
{
    on_m_pDesktop_clicked();
}

void DMainUi::on_baExpandMenuBottonI_clicked()
{
    emit buttonClicked(BtMenus::btExpandMenu);
    openPalette(m_pMenuSelector.data(), ui->baExpandMenuBottonI, 5);
}

void DMainUi::on_baExpandToolBottonI_clicked()
{
    emit buttonClicked(BtMenus::btExpandTool);
    openPalette(m_pToolSelector.data(), ui->baExpandToolBottonI, 5);
}

void DMainUi::on_baExpandResBottonI_clicked()
{
    on_baExpandResBotton_clicked();
}

void DMainUi::on_m_pSelectI_clicked()
{
    on_m_pSelect_clicked();
}

void DMainUi::on_baExpandPenBottonI_clicked()
{
    emit buttonClicked(BtMenus::btExpandPen);
    openPalette(m_pPenSelector.data(), ui->baExpandPenBottonI, 5);
    updateSelectedBt();
}

void DMainUi::on_baExpandShapeBottonI_clicked()
{
    emit buttonClicked(BtMenus::btExpandShape);
    openPalette(m_pShapeSelector.data(), ui->baExpandShapeBottonI, 5);
    updateSelectedBt();
}

void DMainUi::on_baExpandEraserBottonI_clicked()
{
    emit buttonClicked(BtMenus::btExpandEraser);
    openPalette(m_pEraserSelector.data(), ui->baExpandEraserBottonI, 5);
    updateSelectedBt();
}

void DMainUi::on_baExpandMMIBottonI_clicked()
{
    emit buttonClicked(BtMenus::btExpandMMI);
    openPalette(m_pMMISelector.data(), ui->baExpandMMIBottonI, 5);
}

void DMainUi::on_m_pUndoI_clicked()
{
    on_m_pUndo_clicked();
}

void DMainUi::on_m_pRedoI_clicked()
{
    on_m_pRedo_clicked();
}

void DMainUi::on_m_pPageDownI_clicked()
{
    on_m_pPageDown_clicked();
}

void DMainUi::on_baExpandPageBottonI_clicked()
{
    emit buttonClicked(BtMenus::btExpandPage);
    openPalette(m_pPageSelector.data(), ui->baExpandPageBottonI, 5);
}

void DMainUi::on_m_pPageUpI_clicked()
{
    on_m_pPageUp_clicked();
}

void DMainUi::on_baExpandMenuBottonC_clicked()
{
    emit buttonClicked(BtMenus::btExpandMenu);
    openPalette(m_pMenuSelector.data(), ui->baExpandMenuBottonC, 0);
}

void DMainUi::on_m_pDesktopC_clicked()
{
    on_m_pDesktop_clicked();
}

void DMainUi::on_m_pSelectC_clicked()
{
    on_m_pSelect_clicked();
}

void DMainUi::on_m_pUndoC_clicked()
{
    on_m_pUndo_clicked();
}

void DMainUi::on_m_pRedoC_clicked()
{
    on_m_pRedo_clicked();
}

void DMainUi::on_m_pResourcesC_clicked()
{
    on_baExpandResBotton_clicked();
}

void DMainUi::on_m_pPagesC_clicked()
{
    emit buttonClicked(BtMenus::btExpandPage);
    expandMenusClassic(ui->m_pPagesC);
}

void DMainUi::on_m_pPenC_clicked()
{
    emit buttonClicked(BtMenus::btType(m_classicPenType));
    expandMenusClassic(ui->m_pPenC);
    updateSelectedBt();
}

void DMainUi::on_m_pShapeC_clicked()
{
    emit buttonClicked(BtMenus::btType(m_classicShapeType));
    expandMenusClassic(ui->m_pShapeC);
    updateSelectedBt();
}

void DMainUi::on_m_pEraserC_clicked()
{
    emit buttonClicked(BtMenus::btType(m_classicEraserType));
    expandMenusClassic(ui->m_pEraserC);
    updateSelectedBt();
}

void DMainUi::on_m_pMMIC_clicked()
{
    emit buttonClicked(BtMenus::btExpandMMI);
    expandMenusClassic(ui->m_pMMIC);
}

void DMainUi::on_m_pPageAC_clicked()
{
    expandMenusClassic(ui->m_pPageAC);
}

void DMainUi::on_m_pToolsC_clicked()
{
    emit buttonClicked(BtMenus::btExpandTool);
    expandMenusClassic(ui->m_pToolsC);
}

// A classic panel button: its tool, remembered for the group button when there is one, and the
// marks moved to it.
void DMainUi::classicPanelTool(BtMenus::btType bt, int *remembered)
{
    emit buttonClicked(bt);
    if (remembered)
        *remembered = bt;
    updateSelectedBt();
}

void DMainUi::on_m_pWhitePageC_clicked()
{
    emit buttonClicked(BtMenus::btColorPage);
}

void DMainUi::on_m_pImagePageC_clicked()
{
    emit buttonClicked(BtMenus::btImagePage);
}

void DMainUi::on_m_pTransPageC_clicked()
{
    emit buttonClicked(BtMenus::btTransparentPage);
}

void DMainUi::on_m_pScreenPageC_clicked()
{
    emit buttonClicked(BtMenus::btCapturePage);
}

void DMainUi::on_m_pCleanPageC_2_clicked()
{
    emit buttonClicked(BtMenus::btCleanPage);
}

void DMainUi::on_m_pRemovePageC_clicked()
{
    emit buttonClicked(BtMenus::btDeletePage);
}

void DMainUi::on_m_pPencilC_clicked()
{
    classicPanelTool(BtMenus::btPencil, &m_classicPenType);
}

void DMainUi::on_m_pHighlighterC_clicked()
{
    classicPanelTool(BtMenus::btHighlighter, &m_classicPenType);
}

void DMainUi::on_m_pFountainC_clicked()
{
    classicPanelTool(BtMenus::btFountainPen, &m_classicPenType);
}

void DMainUi::on_m_pSmartPenC_clicked()
{
    classicPanelTool(BtMenus::btSmartPen, &m_classicPenType);
}

void DMainUi::on_m_pObjEraserC_clicked()
{
    classicPanelTool(BtMenus::btObjectEraser, &m_classicEraserType);
}

void DMainUi::on_m_pEraserLC_clicked()
{
    classicPanelTool(BtMenus::btBitmapEraser, &m_classicEraserType);
}

void DMainUi::on_m_pEraserMC_clicked()
{
    on_m_pEraserLC_clicked();
}

void DMainUi::on_m_pEraserSC_clicked()
{
    on_m_pEraserLC_clicked();
}

void DMainUi::on_m_pLineC_clicked()
{
    classicPanelTool(BtMenus::btLine, &m_classicShapeType);
}

void DMainUi::on_m_pTriangleC_clicked()
{
    classicPanelTool(BtMenus::btTriangle, &m_classicShapeType);
}

void DMainUi::on_m_pSquareC_clicked()
{
    classicPanelTool(BtMenus::btSquare, &m_classicShapeType);
}

void DMainUi::on_m_pRectC_clicked()
{
    classicPanelTool(BtMenus::btRectangle, &m_classicShapeType);
}

void DMainUi::on_m_pRRectC_clicked()
{
    classicPanelTool(BtMenus::btRoundRect, &m_classicShapeType);
}

void DMainUi::on_m_pCircleC_clicked()
{
    classicPanelTool(BtMenus::btCircle, &m_classicShapeType);
}

void DMainUi::on_m_pEllipseC_clicked()
{
    classicPanelTool(BtMenus::btEllipse, &m_classicShapeType);
}

void DMainUi::on_m_pPentagonC_clicked()
{
    classicPanelTool(BtMenus::btPentagon, &m_classicShapeType);
}

void DMainUi::on_m_pHexagonC_clicked()
{
    classicPanelTool(BtMenus::btHexagon, &m_classicShapeType);
}

void DMainUi::on_m_pParallelogramC_clicked()
{
    classicPanelTool(BtMenus::btParallelogram, &m_classicShapeType);
}

void DMainUi::on_m_pTRectC_clicked()
{
    classicPanelTool(BtMenus::btRightTriangle, &m_classicShapeType);
}

void DMainUi::on_m_pRhombusC_clicked()
{
    classicPanelTool(BtMenus::btRhombus, &m_classicShapeType);
}

void DMainUi::on_m_pArrowC_clicked()
{
    classicPanelTool(BtMenus::btArrow, &m_classicShapeType);
}

void DMainUi::on_m_pFiveStarC_clicked()
{
    classicPanelTool(BtMenus::btStar, &m_classicShapeType);
}

void DMainUi::on_m_pDArrowC_clicked()
{
    classicPanelTool(BtMenus::btDoubleArrow, &m_classicShapeType);
}

void DMainUi::on_m_pConeC_clicked()
{
    classicPanelTool(BtMenus::btCone, &m_classicShapeType);
}

void DMainUi::on_m_pCubeC_clicked()
{
    classicPanelTool(BtMenus::btCube, &m_classicShapeType);
}

void DMainUi::on_m_pCylinderC_clicked()
{
    classicPanelTool(BtMenus::btCylinder, &m_classicShapeType);
}

void DMainUi::on_m_pImageC_clicked()
{
    classicPanelTool(BtMenus::btImage, nullptr);
}

void DMainUi::on_m_pVideoC_clicked()
{
    classicPanelTool(BtMenus::btVideo, nullptr);
}

void DMainUi::on_m_pSoundC_clicked()
{
    classicPanelTool(BtMenus::btSound, nullptr);
}

void DMainUi::on_m_pTextC_clicked()
{
    classicPanelTool(BtMenus::btText, nullptr);
}

void DMainUi::on_m_pZoomPlusC_clicked()
{
    classicPanelTool(BtMenus::btZoomIn, nullptr);
}

void DMainUi::on_m_pFreeMoveC_clicked()
{
    classicPanelTool(BtMenus::btDragPage, nullptr);
}

void DMainUi::on_m_pLastPageC_clicked()
{
    classicPanelTool(BtMenus::btPreviousPage, nullptr);
}

void DMainUi::on_m_pCleanPageC_clicked()
{
    classicPanelTool(BtMenus::btCleanPage, nullptr);
}

void DMainUi::on_m_pZoomMinusC_clicked()
{
    classicPanelTool(BtMenus::btZoomOut, nullptr);
}

void DMainUi::on_m_pRestoreMoveC_clicked()
{
    classicPanelTool(BtMenus::btMoveBackPage, nullptr);
}

void DMainUi::on_m_pNextPageC_clicked()
{
    classicPanelTool(BtMenus::btNextPage, nullptr);
}

void DMainUi::on_m_pFocusC_clicked()
{
    classicPanelTool(BtMenus::btSearchLight, nullptr);
}

void DMainUi::on_m_pMagnifierC_clicked()
{
    classicPanelTool(BtMenus::btMagnifier, nullptr);
}

void DMainUi::on_m_pRulerC_clicked()
{
    classicPanelTool(BtMenus::btRuler, nullptr);
}

void DMainUi::on_m_pCompassC_clicked()
{
    classicPanelTool(BtMenus::btCompass, nullptr);
}

void DMainUi::on_m_pShareC_clicked()
{
    classicPanelTool(BtMenus::btShare, nullptr);
}

void DMainUi::on_m_pCurtainC_clicked()
{
    classicPanelTool(BtMenus::btCurtain, nullptr);
}

void DMainUi::on_m_pClockC_clicked()
{
    classicPanelTool(BtMenus::btClock, nullptr);
}

void DMainUi::on_m_pTRulerC_clicked()
{
    classicPanelTool(BtMenus::btTriangleRuler, nullptr);
}

void DMainUi::on_m_pTransportC_clicked()
{
    classicPanelTool(BtMenus::btProtractor, nullptr);
}

void DMainUi::on_m_pCalculatorC_clicked()
{
    classicPanelTool(BtMenus::btCalculator, nullptr);
}

// ---- Multi-user bar ---------------------------------------------------------------------------

void DMainUi::userTool(int user, BtMenus::btType bt, QToolButton *button)
{
    // The dispatcher runs during the emit and refreshes the user's static pen for the new tool,
    // so the swatch below shows that tool's colour.
    emit buttonClicked(bt);
    if (user == 1) {
        m_penTypeUser1 = bt;
        selectUser1Button(button);
        ui->m_pColorUser1->setStyleSheet(
                DMainUiSheets::colourSwatch(ui->m_pColorUser1->objectName(), m_penUser1.color()));
    } else if (user == 3) {
        m_penTypeUser3 = bt;
        selectUser3Button(button);
        ui->m_pColorUser3->setStyleSheet(
                DMainUiSheets::colourSwatch(ui->m_pColorUser3->objectName(), m_penUser3.color()));
    } else {
        m_penTypeUser2 = bt;
    }
}

void DMainUi::userColour(int user)
{
    const QPen &pen = user == 1 ? m_penUser1 : user == 3 ? m_penUser3 : m_penUser2;
    const QColor colour = getColorFromDlg(pen.color());
    if (!colour.isValid())
        return;
    const int type = user == 1 ? m_penTypeUser1 : user == 3 ? m_penTypeUser3 : m_penTypeUser2;
    emit colorClicked(colour, BtMenus::btType(type));
    QToolButton *swatch = user == 1 ? ui->m_pColorUser1 : user == 3 ? ui->m_pColorUser3 : nullptr;
    if (swatch)
        swatch->setStyleSheet(DMainUiSheets::colourSwatch(swatch->objectName(), colour));
}

void DMainUi::on_m_pPenUser1_clicked()
{
    userTool(1, BtMenus::btPencilUser1, ui->m_pPenUser1);
}

void DMainUi::on_m_pHighUser1_clicked()
{
    userTool(1, BtMenus::btHighlighterUser1, ui->m_pHighUser1);
}

void DMainUi::on_m_pTextUser1_clicked()
{
    userTool(1, BtMenus::btFountainPenUser1, ui->m_pTextUser1);
}

void DMainUi::on_m_pEraseUser1_clicked()
{
    userTool(1, BtMenus::btEraserUser1, ui->m_pEraseUser1);
}

void DMainUi::on_m_pPenUser2_clicked()
{
    userTool(2, BtMenus::btPencilUser2, nullptr);
}

void DMainUi::on_m_pHighUser2_clicked()
{
    userTool(2, BtMenus::btHighlighterUser2, nullptr);
}

void DMainUi::on_m_pTextUser2_clicked()
{
    userTool(2, BtMenus::btFountainPenUser2, nullptr);
}

void DMainUi::on_m_pPenUser3_clicked()
{
    userTool(3, BtMenus::btPencilUser3, ui->m_pPenUser3);
}

void DMainUi::on_m_pHighUser3_clicked()
{
    userTool(3, BtMenus::btHighlighterUser3, ui->m_pHighUser3);
}

void DMainUi::on_m_pTextUser3_clicked()
{
    userTool(3, BtMenus::btFountainPenUser3, ui->m_pTextUser3);
}

void DMainUi::on_m_pEraseUser3_clicked()
{
    userTool(3, BtMenus::btEraserUser3, ui->m_pEraseUser3);
}

void DMainUi::on_m_pColorUser1_clicked()
{
    userColour(1);
}

void DMainUi::on_m_pColorUser2_clicked()
{
    userColour(2);
}

void DMainUi::on_m_pColorUser3_clicked()
{
    userColour(3);
}

void DMainUi::on_m_pExitMultiUser_clicked()
{
    m_bMultiUser = false;
    move(int(m_savedPos.x()), int(m_savedPos.y()));
    changeInterface(BtMenus::eInterfaceMode(m_prevInterfaceMode));
    emit buttonClicked(BtMenus::btMultiUser);
}
