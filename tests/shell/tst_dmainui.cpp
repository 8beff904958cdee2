#include "palettes/widgetclassicselector.h"
#include "palettes/widgeteraserselector.h"
#include "palettes/widgetmenuselector.h"
#include "palettes/widgetmmiselector.h"
#include "palettes/widgetpageselector.h"
#include "palettes/widgetpenselector.h"
#include "palettes/widgetshapeselector.h"
#include "palettes/widgettoolselector.h"
#include "shell/dmainui.h"
#include "shell/dmainuiform.h"
#include "shell/globals.h"
#include "support/testsupport.h"

#include <QColorDialog>
#include <QMessageBox>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(BtMenus::btType)

namespace {

const char kStandardMark[] = "rgba(0, 150, 255, 127)";
const char kClassicMark[] = "rgba(255, 150, 0, 127)";

QRect screenRect()
{
    return QGuiApplication::primaryScreen()->geometry();
}

// The board window the toolbar floats over, covering the screen as the main window does.
struct Board
{
    QWidget window;
    std::unique_ptr<DMainUi> bar;
    QList<int> emitted;

    explicit Board(const QVariant &storedInterface)
    {
        settings.setValue(QStringLiteral("System/Interface"), storedInterface);
        window.setGeometry(screenRect());
        window.show();
        bar = std::make_unique<DMainUi>(&window);
        // As the main window does: seven palettes become its children, placed in its coordinates.
        for (QWidget *palette : palettes())
            palette->setParent(&window);
        QObject::connect(bar.get(), &DMainUi::buttonClicked, bar.get(),
                         [this](btType bt) { emitted << bt; });
    }
    QList<QWidget *> palettes() const
    {
        return { bar->penSelector(),   bar->eraserSelector(), bar->menuSelector(),
                 bar->shapeSelector(), bar->mmiSelector(),    bar->toolSelector(),
                 bar->pageSelector() };
    }
    QToolButton *button(const char *name) const
    {
        return bar->findChild<QToolButton *>(QLatin1String(name));
    }
    QWidget *frame(const char *name) const
    {
        return bar->findChild<QWidget *>(QLatin1String(name));
    }
    void click(const char *name)
    {
        QToolButton *target = button(name);
        QVERIFY2(target, name);
        QTest::mouseClick(target, Qt::LeftButton);
    }
    void setTool(int tool)
    {
        bar->updatePen(btType(tool), QPen(), QPen(), QPen(), QPen(), QPen(), QBrush());
    }
    void switchStyle(int mode)
    {
        QVERIFY(QMetaObject::invokeMethod(bar.get(), "changeInterface",
                                          Q_ARG(eInterfaceMode, eInterfaceMode(mode))));
    }
};

// The form's own sheet of every button, to check that an unmarked button gets it back.
QHash<QString, QString> formSheets()
{
    static QHash<QString, QString> sheets;
    if (sheets.isEmpty()) {
        QDialog dialog;
        Ui_DMainUi form;
        form.setupUi(&dialog);
        for (QToolButton *button : dialog.findChildren<QToolButton *>())
            sheets.insert(button->objectName(), button->styleSheet());
    }
    return sheets;
}

// A drag as the hand makes it: the pointer moves over the screen while the bar follows it, so the
// points of the moves are fixed on the screen, not on the moving bar. beforeRelease runs while the
// button is still held.
void dragByHand(QWidget *bar, QPoint grip, const QVector<QPoint> &offsets,
                const std::function<void()> &beforeRelease = {})
{
    const QPoint pressedAt = bar->mapToGlobal(grip);
    QMouseEvent press(QEvent::MouseButtonPress, grip, pressedAt, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QPoint global = pressedAt;
    for (const QPoint &offset : offsets) {
        global = pressedAt + offset;
        QMouseEvent move(QEvent::MouseMove, bar->mapFromGlobal(global), global, Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    }
    if (beforeRelease)
        beforeRelease();
    QMouseEvent release(QEvent::MouseButtonRelease, bar->mapFromGlobal(global), global,
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
}

bool sameIcon(const QIcon &icon, const QString &path)
{
    const QImage expected = QIcon(path).pixmap(32).toImage();
    return !expected.isNull() && icon.pixmap(32).toImage() == expected;
}

} // namespace

class tst_DMainUi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void styleAtStart_data();
    void styleAtStart();
    void styleSwitchEmitsAndResizes();
    void everySlotFindsItsButton();
    void buttonsEmitTheirCommands_data();
    void buttonsEmitTheirCommands();
    void collapseSurvivesStyleSwitch();
    void pageCounterOnThreeButtons();
    void setModeOnlyStoresOtherValues();
    void paletteButtonsToggleAndSwitch();
    void everyOpenerShowsItsPalette_data();
    void everyOpenerShowsItsPalette();
    void classicPenPropertyPages();
    void palettePlacement_data();
    void palettePlacement();
    void dragMovesBarAndMultiUserSnapsBack();

    void marking_data();
    void marking();
    void markingKeepsSavedSheet();
    void toolWithoutRowKeepsMarks();
    void classicPanelOpenedByHandStays();
    void pointEraserClearsClassicMarksKeepsPanel();
    void classicGroupsRememberTheLastTool();

    void multiUserToolPaintsSwatchAfterDispatch();
    void multiUserCancelledColourEmitsNothing();
    void multiUserExitReturnsToPreviousStyle();
    void aboutBoxNamesTheProgram();
};

void tst_DMainUi::initTestCase()
{
    TestSupport::recordConnectWarnings();
    qRegisterMetaType<btType>("btType");
}

void tst_DMainUi::init()
{
    DMainUi::m_pen = QPen();
    DMainUi::m_penUser1 = QPen();
    DMainUi::m_penUser2 = QPen();
    DMainUi::m_penUser3 = QPen();
    DMainUi::m_penShape = QPen();
    DMainUi::m_brush = QBrush();
    DMainUi::m_curPenType = 0;
}

void tst_DMainUi::cleanup()
{
    QCOMPARE(TestSupport::takeConnectWarnings(), QStringList());
}

void tst_DMainUi::styleAtStart_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("position");
    const int centre = screenRect().width() / 2;
    QTest::newRow("standard") << QVariant(0) << "widget_7" << QSize(731, 70)
                              << QPoint(centre - 365, 100);
    QTest::newRow("kids") << QVariant(1) << "widget_6" << QSize(745, 70)
                          << QPoint(centre - 372, 100);
    QTest::newRow("classic") << QVariant(2) << "widget_8" << QSize(390, 110)
                             << QPoint(centre - 195, 100);
    // The multi-user bar starts at the bottom edge, where every release puts it back.
    QTest::newRow("multi-user") << QVariant(3) << "widget_12" << QSize(screenRect().width(), 50)
                                << QPoint(0, screenRect().height() - 50);
    QTest::newRow("outside 0 to 3")
            << QVariant(7) << "widget_7" << QSize(731, 70) << QPoint(centre - 365, 100);
    QTest::newRow("negative") << QVariant(-1) << "widget_7" << QSize(731, 70)
                              << QPoint(centre - 365, 100);
    QTest::newRow("not a number") << QVariant("abc") << "widget_7" << QSize(731, 70)
                                  << QPoint(centre - 365, 100);
}

void tst_DMainUi::styleAtStart()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, frame);
    QFETCH(QSize, size);
    QFETCH(QPoint, position);
    Board board(stored);
    QVERIFY(board.bar->isVisible());
    QCOMPARE(board.bar->size(), size);
    QCOMPARE(board.bar->minimumSize(), size);
    QCOMPARE(board.bar->maximumSize(), size);
    QCOMPARE(board.bar->pos(), position);
    for (const char *name : { "widget_7", "widget_6", "widget_8", "widget_12" })
        QCOMPARE(board.frame(name)->isVisible(), frame == QLatin1String(name));
    QCOMPARE(board.bar->windowFlags() & (Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
             Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    QVERIFY(!board.bar->isWindow());
    QVERIFY(board.bar->testAttribute(Qt::WA_TranslucentBackground));
    // Started with the select tool current, its buttons marked before any input.
    QCOMPARE(DMainUi::m_curPenType, int(BtMenus::btSelect));
    QVERIFY(board.button("m_pSelect")->styleSheet().contains(kStandardMark));
    QVERIFY(board.button("m_pSelectC")->styleSheet().contains(kClassicMark));
    QVERIFY(!board.button("m_pSmartPenC")->isEnabled());
    QVERIFY(board.button("m_pEraserMC")->isHidden());
    QVERIFY(!board.button("m_pEraserSC")->isEnabled());
}

void tst_DMainUi::styleSwitchEmitsAndResizes()
{
    Board board(0);
    board.switchStyle(BtMenus::imKids);
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btSelect });
    QCOMPARE(board.bar->size(), QSize(745, 70));
    QVERIFY(board.frame("widget_6")->isVisible());

    board.emitted.clear();
    board.switchStyle(BtMenus::imMultiUser);
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btPencilUser1 });
    QCOMPARE(board.bar->geometry(), QRect(0, screenRect().height() - 50, screenRect().width(), 50));

    // The menu palette's interface buttons reach the same switch.
    board.emitted.clear();
    emit board.bar->menuSelector()->changeInterface(BtMenus::imClassic);
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btSelect });
    QCOMPARE(board.bar->size(), QSize(390, 110));
}

void tst_DMainUi::everySlotFindsItsButton()
{
    Board board(0);
    const QMetaObject *meta = board.bar->metaObject();
    int slotCount = 0;
    QStringList unreachable;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QString name = QString::fromLatin1(meta->method(i).name());
        if (!name.startsWith(QLatin1String("on_")) || !name.endsWith(QLatin1String("_clicked")))
            continue;
        ++slotCount;
        const QString object = name.mid(3, name.size() - 3 - 8);
        if (!board.bar->findChild<QToolButton *>(object))
            unreachable << object;
    }
    QCOMPARE(unreachable, QStringList());
    QVERIFY(slotCount > 100);
}

void tst_DMainUi::buttonsEmitTheirCommands_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("command");
    // Standard and kids direct commands.
    const struct
    {
        const char *standard;
        const char *kids;
        int command;
    } twins[] = {
        { "m_pHideBar", "m_pHideBarI", 105 },
        { "m_pDesktop", "m_pDesktopI", 107 },
        { "baExpandResBotton", "baExpandResBottonI", 109 },
        { "m_pSelect", "m_pSelectI", 110 },
        { "m_pUndo", "m_pUndoI", 115 },
        { "m_pRedo", "m_pRedoI", 116 },
        { "m_pPageDown", "m_pPageDownI", 117 },
        { "m_pPageUp", "m_pPageUpI", 119 },
    };
    for (const auto &twin : twins) {
        QTest::newRow(twin.standard) << 0 << twin.standard << twin.command;
        QTest::newRow(twin.kids) << 1 << twin.kids << twin.command;
    }
    // Classic: fixed buttons, group buttons and panel buttons.
    const struct
    {
        const char *button;
        int command;
    } classic[] = {
        { "m_pDesktopC", 107 },      { "m_pSelectC", 110 },     { "m_pUndoC", 115 },
        { "m_pRedoC", 116 },         { "m_pResourcesC", 109 },  { "m_pPagesC", 118 },
        { "m_pPenC", 50 },           { "m_pShapeC", 72 },       { "m_pEraserC", 1 },
        { "m_pMMIC", 114 },          { "m_pToolsC", 108 },      { "m_pWhitePageC", 95 },
        { "m_pImagePageC", 96 },     { "m_pTransPageC", 97 },   { "m_pScreenPageC", 98 },
        { "m_pCleanPageC_2", 101 },  { "m_pRemovePageC", 102 }, { "m_pPencilC", 50 },
        { "m_pHighlighterC", 54 },   { "m_pFountainC", 60 },    { "m_pObjEraserC", 1 },
        { "m_pLineC", 72 },          { "m_pTriangleC", 73 },    { "m_pSquareC", 74 },
        { "m_pRectC", 75 },          { "m_pRRectC", 76 },       { "m_pCircleC", 77 },
        { "m_pEllipseC", 78 },       { "m_pPentagonC", 79 },    { "m_pHexagonC", 80 },
        { "m_pParallelogramC", 82 }, { "m_pTRectC", 83 },       { "m_pRhombusC", 84 },
        { "m_pArrowC", 85 },         { "m_pFiveStarC", 86 },    { "m_pDArrowC", 87 },
        { "m_pConeC", 88 },          { "m_pCubeC", 89 },        { "m_pCylinderC", 90 },
        { "m_pImageC", 24 },         { "m_pVideoC", 25 },       { "m_pSoundC", 27 },
        { "m_pTextC", 28 },          { "m_pZoomPlusC", 103 },   { "m_pFreeMoveC", 99 },
        { "m_pLastPageC", 117 },     { "m_pCleanPageC", 101 },  { "m_pZoomMinusC", 104 },
        { "m_pRestoreMoveC", 100 },  { "m_pNextPageC", 119 },   { "m_pFocusC", 46 },
        { "m_pMagnifierC", 41 },     { "m_pRulerC", 45 },       { "m_pCompassC", 37 },
        { "m_pShareC", 36 },         { "m_pCurtainC", 38 },     { "m_pClockC", 35 },
        { "m_pTRulerC", 48 },        { "m_pTransportC", 43 },   { "m_pCalculatorC", 33 },
    };
    for (const auto &row : classic)
        QTest::newRow(row.button) << 2 << row.button << row.command;
    // Buttons that send nothing.
    for (const char *silent : { "m_pPageAC", "m_pFreeC_3", "m_pFreeC_4", "m_pFreeC_6" })
        QTest::newRow(silent) << 2 << silent << -1;
}

void tst_DMainUi::buttonsEmitTheirCommands()
{
    QFETCH(int, style);
    QFETCH(QString, button);
    QFETCH(int, command);
    Board board(style);
    board.emitted.clear();
    board.click(qPrintable(button));
    QCOMPARE(board.emitted, command < 0 ? QList<int>() : QList<int>{ command });
}

void tst_DMainUi::collapseSurvivesStyleSwitch()
{
    Board board(0);
    const QString expandedSheet = board.button("m_pHideBar")->styleSheet();
    board.click("m_pHideBar");
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btHideBar });
    QVERIFY(!board.bar->isBarExpanded());
    QVERIFY(board.frame("widget_3")->isHidden());
    QCOMPARE(board.bar->width(), 110);
    QVERIFY(board.button("m_pHideBar")->styleSheet().contains("rgb(0, 150, 255)"));
    QVERIFY(board.button("m_pHideBarI")->styleSheet().contains("rgb(0, 150, 255)"));

    board.switchStyle(BtMenus::imKids);
    QCOMPARE(board.bar->width(), 745);
    board.switchStyle(BtMenus::imStandard);
    QCOMPARE(board.bar->width(), 731);
    QVERIFY(board.frame("widget_3")->isHidden());
    QVERIFY(!board.bar->isBarExpanded());
    QVERIFY(board.button("m_pHideBar")->styleSheet().contains("rgb(0, 150, 255)"));

    board.click("m_pHideBar");
    QVERIFY(board.frame("widget_3")->isVisible());
    QCOMPARE(board.bar->width(), 731);
    QCOMPARE(board.button("m_pHideBar")->styleSheet(), expandedSheet);
    QVERIFY(board.button("m_pHideBarI")->styleSheet().contains("rgb(137, 255, 129)"));

    // The kids bar folds to its head.
    board.switchStyle(BtMenus::imKids);
    board.click("m_pHideBarI");
    QVERIFY(board.frame("widget_5")->isHidden());
    QCOMPARE(board.bar->width(), 160);
}

void tst_DMainUi::pageCounterOnThreeButtons()
{
    Board board(0);
    for (const char *name : { "baExpandPageBotton", "baExpandPageBottonI", "m_pPagesC" })
        QCOMPARE(board.button(name)->text(), QStringLiteral("1 / 1"));
    board.bar->setNumPage(QStringLiteral("3 / 12"));
    for (const char *name : { "baExpandPageBotton", "baExpandPageBottonI", "m_pPagesC" })
        QCOMPARE(board.button(name)->text(), QStringLiteral("3 / 12"));
}

void tst_DMainUi::setModeOnlyStoresOtherValues()
{
    Board board(0);
    board.bar->setMode(BtMenus::dmDesktop);
    QVERIFY(!board.bar->isVisible());
    QCOMPARE(board.bar->getMode(), 0);
    board.bar->setMode(2);
    QVERIFY(!board.bar->isVisible());
    QCOMPARE(board.bar->getMode(), 2);
    board.bar->setMode(BtMenus::dmBoard);
    QVERIFY(board.bar->isVisible());
    board.bar->setMode(2);
    QVERIFY(board.bar->isVisible());
}

void tst_DMainUi::paletteButtonsToggleAndSwitch()
{
    Board board(0);
    auto *menu = static_cast<QWidget *>(board.bar->menuSelector());
    auto *tools = static_cast<QWidget *>(board.bar->toolSelector());

    QTest::ignoreMessage(QtDebugMsg, "menu");
    board.click("baExpandMenuBotton");
    // The standard menu button has both its own slot and the opener: 106 goes out twice.
    QCOMPARE(board.emitted, (QList<int>{ BtMenus::btExpandMenu, BtMenus::btExpandMenu }));
    QVERIFY(menu->isVisible());
    board.click("baExpandMenuBotton");
    QVERIFY(!menu->isVisible());
    board.click("baExpandMenuBotton");
    QVERIFY(menu->isVisible());

    board.emitted.clear();
    board.click("baExpandToolBotton");
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btExpandTool });
    QVERIFY(tools->isVisible());
    QVERIFY(!menu->isVisible());

    // A direct command closes the open palette; the palette stays remembered.
    board.click("m_pUndo");
    QVERIFY(!tools->isVisible());
    QCOMPARE(board.bar->openMenu(), static_cast<WidgetMenu *>(board.bar->toolSelector()));
    board.click("baExpandToolBotton");
    QVERIFY(tools->isVisible());

    // The kids menu button emits once.
    board.switchStyle(BtMenus::imKids);
    QVERIFY(!tools->isVisible());
    board.emitted.clear();
    board.click("baExpandMenuBottonI");
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btExpandMenu });
    QVERIFY(menu->isVisible());
}

void tst_DMainUi::everyOpenerShowsItsPalette_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("opener");
    QTest::addColumn<int>("emits");
    QTest::addColumn<int>("palette"); // index into Board::palettes()
    QTest::newRow("pen") << 0 << "baExpandPenBotton" << 111 << 0;
    QTest::newRow("pen, kids") << 1 << "baExpandPenBottonI" << 111 << 0;
    QTest::newRow("eraser") << 0 << "baExpandEraserBotton" << 112 << 1;
    QTest::newRow("eraser, kids") << 1 << "baExpandEraserBottonI" << 112 << 1;
    QTest::newRow("shape") << 0 << "baExpandShapeBotton" << 113 << 3;
    QTest::newRow("shape, kids") << 1 << "baExpandShapeBottonI" << 113 << 3;
    QTest::newRow("insert") << 0 << "baExpandMMIBotton" << 114 << 4;
    QTest::newRow("insert, kids") << 1 << "baExpandMMIBottonI" << 114 << 4;
    QTest::newRow("tools, kids") << 1 << "baExpandToolBottonI" << 108 << 5;
    QTest::newRow("page") << 0 << "baExpandPageBotton" << 118 << 6;
    QTest::newRow("page, kids") << 1 << "baExpandPageBottonI" << 118 << 6;
    QTest::newRow("menu, classic") << 2 << "baExpandMenuBottonC" << 106 << 2;
}

void tst_DMainUi::everyOpenerShowsItsPalette()
{
    QFETCH(int, style);
    QFETCH(QString, opener);
    QFETCH(int, emits);
    QFETCH(int, palette);
    Board board(style);
    // In the order pen, eraser, menu, shape, insert, tools, page.
    const QList<QWidget *> palettes = board.palettes();
    board.click(qPrintable(opener));
    QCOMPARE(board.emitted.value(0), emits);
    for (int i = 0; i < palettes.size(); ++i)
        QCOMPARE(palettes.at(i)->isVisible(), i == palette);
    board.click(qPrintable(opener));
    QVERIFY(!palettes.at(palette)->isVisible());
}

void tst_DMainUi::classicPenPropertyPages()
{
    Board board(BtMenus::imClassic);
    board.setTool(BtMenus::btPencil);
    WidgetClassicSelector *dropDown = board.bar->classicSelector();
    QVERIFY(dropDown);
    QCOMPARE(dropDown->parentWidget(), static_cast<QWidget *>(board.bar.get()));

    board.click("m_pColorPenC");
    QVERIFY(board.emitted.isEmpty()); // the page openers send nothing to the dispatcher
    QVERIFY(dropDown->isVisible());
    QCOMPARE(dropDown->m_page, int(WidgetClassicSelector::ClassicPageColor));
    QCOMPARE(dropDown->size(), QSize(300, 175));
    const QToolButton *colour = board.button("m_pColorPenC");
    QCOMPARE(dropDown->x(), colour->mapToGlobal(colour->rect().center()).x() - 150);
    QCOMPARE(dropDown->y(), board.bar->geometry().bottom() + 1 - 10);

    // Another page's button reopens the drop-down on that page at its own button.
    board.click("m_pStylePenC");
    QVERIFY(dropDown->isVisible());
    QCOMPARE(dropDown->m_page, int(WidgetClassicSelector::ClassicPageStyle));
    QCOMPARE(dropDown->size(), QSize(140, 175));
    const QToolButton *style = board.button("m_pStylePenC");
    QCOMPARE(dropDown->x(), style->mapToGlobal(style->rect().center()).x() - 70);
    // The button of the page already open closes it.
    board.click("m_pStylePenC");
    QVERIFY(!dropDown->isVisible());

    // Without a pen or shape only the colour page can be opened.
    board.setTool(BtMenus::btSelect);
    QVERIFY(!board.button("m_pTransPenC")->isEnabled());
    QVERIFY(board.button("m_pColorPenC")->isEnabled());
}

void tst_DMainUi::palettePlacement_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("barTop"); // relative to the line screen height / 2 - bar height
    QTest::addColumn<bool>("above");
    QTest::addColumn<QString>("opener");
    QTest::addColumn<int>("overlap");
    QTest::newRow("standard, on the line") << 0 << 0 << false << "baExpandMenuBotton" << 10;
    QTest::newRow("standard, one below the line") << 0 << 1 << true << "baExpandMenuBotton" << 10;
    QTest::newRow("standard, near the top") << 0 << -200 << false << "baExpandToolBotton" << 10;
    QTest::newRow("kids, low") << 1 << 150 << true << "baExpandToolBottonI" << 10;
    QTest::newRow("classic menu, high") << 2 << -100 << false << "baExpandMenuBottonC" << 5;
    QTest::newRow("classic menu, low") << 2 << 100 << true << "baExpandMenuBottonC" << 5;
}

void tst_DMainUi::palettePlacement()
{
    QFETCH(int, style);
    QFETCH(int, barTop);
    QFETCH(bool, above);
    QFETCH(QString, opener);
    QFETCH(int, overlap);
    Board board(style);
    const int line = screenRect().height() / 2 - board.bar->height();
    board.bar->move(20, line + barTop);
    QToolButton *button = board.button(qPrintable(opener));
    board.click(qPrintable(opener));

    const bool menuPalette = opener.startsWith(QLatin1String("baExpandMenu"));
    QWidget *palette = menuPalette ? static_cast<QWidget *>(board.bar->menuSelector())
                                   : static_cast<QWidget *>(board.bar->toolSelector());
    QVERIFY(palette->isVisible());
    const QRect bar = board.bar->geometry();
    const int centre = button->mapToGlobal(button->rect().center()).x();
    QCOMPARE(palette->x(), centre - palette->width() / 2);
    if (above)
        QCOMPARE(palette->geometry().bottom() + 1, bar.top() + overlap);
    else
        QCOMPARE(palette->y(), bar.bottom() + 1 - overlap);
    if (menuPalette) // its arrow row points at the bar
        QCOMPARE(board.bar->menuSelector()->opensBelowToolbar(), !above);
}

void tst_DMainUi::dragMovesBarAndMultiUserSnapsBack()
{
    Board board(0);
    const QPoint start = board.bar->pos();
    // The empty corner of the standard bar's tool area belongs to no button.
    const QPoint grip(board.bar->width() - 3, board.bar->height() / 2);
    QVERIFY(!qobject_cast<QToolButton *>(board.bar->childAt(grip)));
    dragByHand(board.bar.get(), grip, { QPoint(-30, 10), QPoint(-60, 40) });
    QCOMPARE(board.bar->pos(), start + QPoint(-60, 40));

    // A press on the bar closes the open palette.
    board.click("baExpandToolBotton");
    QVERIFY(static_cast<QWidget *>(board.bar->toolSelector())->isVisible());
    dragByHand(board.bar.get(), grip, { QPoint(5, 5) });
    QVERIFY(!static_cast<QWidget *>(board.bar->toolSelector())->isVisible());

    board.switchStyle(BtMenus::imMultiUser);
    const QRect bottom(0, screenRect().height() - 50, screenRect().width(), 50);
    const QPoint multiGrip(screenRect().width() - 5, 25);
    QVERIFY(!qobject_cast<QToolButton *>(board.bar->childAt(multiGrip)));
    int heldAt = 0;
    dragByHand(board.bar.get(), multiGrip, { QPoint(0, -200) }, [&]() { heldAt = board.bar->y(); });
    QCOMPARE(heldAt, bottom.y() - 200);
    QCOMPARE(board.bar->geometry(), bottom);
}

void tst_DMainUi::marking_data()
{
    // tool | standard | kids | classic panel | classic group | classic width | pen properties |
    // icon of the group's standard button
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("standard");
    QTest::addColumn<QString>("kids");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("classicWidth");
    QTest::addColumn<bool>("penProperties");
    QTest::addColumn<QString>("icon");
    const QString pen = "baExpandPenBotton", penKids = "baExpandPenBottonI";
    const QString shape = "baExpandShapeBotton", shapeKids = "baExpandShapeBottonI";
    const QString insert = "baExpandMMIBotton", insertKids = "baExpandMMIBottonI";
    // Rows that leave the classic marks empty keep the panel the select tool left: none, 390.
    QTest::newRow("point eraser") << 0 << "baExpandEraserBotton"
                                  << "baExpandEraserBottonI"
                                  << ""
                                  << "" << 390 << false << "";
    QTest::newRow("object eraser") << 1 << "baExpandEraserBotton"
                                   << "baExpandEraserBottonI"
                                   << "m_pObjEraserC"
                                   << "m_pEraserC" << 484 << false << "";
    QTest::newRow("text") << 28 << insert << insertKids << "m_pTextC"
                          << "m_pMMIC" << 525 << false << ":/Icon/text.png";
    QTest::newRow("table") << 29 << insert << insertKids << ""
                           << "" << 390 << false << ":/Icon/table.png";
    QTest::newRow("table tool") << 70 << insert << insertKids << ""
                                << "" << 390 << false << ":/Icon/table.png";
    QTest::newRow("pencil") << 50 << pen << penKids << "m_pPencilC"
                            << "m_pPenC" << 484 << true << ":/Icon/baExpandPenBotton.png";
    QTest::newRow("highlighter") << 54 << pen << penKids << "m_pHighlighterC"
                                 << "m_pPenC" << 484 << true << ":/Icon/baHighlightPenMini.png";
    QTest::newRow("fountain pen") << 60 << pen << penKids << "m_pFountainC"
                                  << "m_pPenC" << 484 << true << ":/Icon/baSoftPenSmall.png";
    QTest::newRow("brush pen") << 66 << pen << penKids << "m_pFountainC"
                               << "m_pPenC" << 484 << true << ":/Icon/baSoftPenSmall.png";
    QTest::newRow("smart pen") << 69 << pen << penKids << "m_pSmartPenC"
                               << "m_pPenC" << 484 << true << ":/Icon/smartpen.png";
    QTest::newRow("line") << 72 << shape << shapeKids << "m_pLineC"
                          << "m_pShapeC" << 781 << true << ":/Icon/baLine.png";
    QTest::newRow("square") << 74 << shape << shapeKids << "m_pSquareC"
                            << "m_pShapeC" << 781 << true << ":/Icon/baSquare.png";
    QTest::newRow("round rect") << 76 << shape << shapeKids << "m_pRRectC"
                                << "m_pShapeC" << 781 << true << ":/Icon/baRectRound.png";
    QTest::newRow("hexagon") << 80 << shape << shapeKids << "m_pHexagonC"
                             << "m_pShapeC" << 781 << true << ":/Icon/baDrawSexangleexagon.png";
    QTest::newRow("polygon") << 81 << shape << shapeKids << ""
                             << "" << 390 << true << ":/Icon/baExpandShapeBotton.png";
    QTest::newRow("right triangle") << 83 << shape << shapeKids << "m_pTRectC"
                                    << "m_pShapeC" << 781 << true << ":/Icon/baRectTriangle.png";
    QTest::newRow("star") << 86 << shape << shapeKids << "m_pFiveStarC"
                          << "m_pShapeC" << 781 << true << ":/Icon/baStar.png";
    QTest::newRow("cylinder") << 90 << shape << shapeKids << "m_pCylinderC"
                              << "m_pShapeC" << 781 << true << ":/Icon/baCylinder.png";
    QTest::newRow("triangle") << 73 << shape << shapeKids << "m_pTriangleC"
                              << "m_pShapeC" << 781 << true << ":/Icon/baTriangle.png";
    QTest::newRow("rectangle") << 75 << shape << shapeKids << "m_pRectC"
                               << "m_pShapeC" << 781 << true << ":/Icon/baRect.png";
    QTest::newRow("circle") << 77 << shape << shapeKids << "m_pCircleC"
                            << "m_pShapeC" << 781 << true << ":/Icon/baCircle.png";
    QTest::newRow("ellipse") << 78 << shape << shapeKids << "m_pEllipseC"
                             << "m_pShapeC" << 781 << true << ":/Icon/baEllipse.png";
    QTest::newRow("pentagon") << 79 << shape << shapeKids << "m_pPentagonC"
                              << "m_pShapeC" << 781 << true << ":/Icon/baPolygon.png";
    QTest::newRow("parallelogram") << 82 << shape << shapeKids << "m_pParallelogramC"
                                   << "m_pShapeC" << 781 << true << ":/Icon/baParallelogram.png";
    QTest::newRow("rhombus") << 84 << shape << shapeKids << "m_pRhombusC"
                             << "m_pShapeC" << 781 << true << ":/Icon/baRhombus.png";
    QTest::newRow("arrow") << 85 << shape << shapeKids << "m_pArrowC"
                           << "m_pShapeC" << 781 << true << ":/Icon/baArrow.png";
    QTest::newRow("double arrow") << 87 << shape << shapeKids << "m_pDArrowC"
                                  << "m_pShapeC" << 781 << true << ":/Icon/baDoubleArrow.png";
    QTest::newRow("cone") << 88 << shape << shapeKids << "m_pConeC"
                          << "m_pShapeC" << 781 << true << ":/Icon/baCone.png";
    QTest::newRow("cube") << 89 << shape << shapeKids << "m_pCubeC"
                          << "m_pShapeC" << 781 << true << ":/Icon/baCube.png";
    QTest::newRow("shape 92") << 92 << shape << shapeKids << ""
                              << "" << 390 << true << ":/Icon/baExpandShapeBotton.png";
    QTest::newRow("shape 93") << 93 << shape << shapeKids << ""
                              << "" << 390 << true << ":/Icon/baExpandShapeBotton.png";
    QTest::newRow("ball") << 91 << shape << shapeKids << ""
                          << "" << 390 << true << ":/Icon/baBall.png";
    QTest::newRow("fill") << 94 << shape << shapeKids << ""
                          << "" << 390 << true << ":/Icon/baExpandShapeBotton.png";
    QTest::newRow("drag page") << 99 << "baExpandPageBotton"
                               << "baExpandPageBottonI"
                               << "m_pFreeMoveC"
                               << "m_pPageAC" << 568 << false << "";
}

void tst_DMainUi::marking()
{
    QFETCH(int, tool);
    QFETCH(QString, standard);
    QFETCH(QString, kids);
    QFETCH(QString, panel);
    QFETCH(QString, group);
    QFETCH(int, classicWidth);
    QFETCH(bool, penProperties);
    QFETCH(QString, icon);

    Board board(BtMenus::imClassic);
    QCOMPARE(board.bar->width(), 390);
    board.setTool(tool);

    const QHash<QString, QString> original = formSheets();
    const QString marked[] = { standard, kids, panel, group };
    // The standard, kids and classic layouts; the multi-user bar has marks of its own.
    QList<QToolButton *> buttons;
    for (const char *frame : { "widget_7", "widget_6", "widget_8" })
        buttons += board.frame(frame)->findChildren<QToolButton *>();
    for (QToolButton *button : buttons) {
        const QString name = button->objectName();
        const int slot =
                int(std::find(std::begin(marked), std::end(marked), name) - std::begin(marked));
        if (slot < 4) {
            const char *colour = slot < 2 ? kStandardMark : kClassicMark;
            QVERIFY2(button->styleSheet().contains(colour), qPrintable(name));
        } else if (name != QLatin1String("m_pHideBar") && name != QLatin1String("m_pHideBarI")) {
            // Every other button, the select buttons marked before among them, wears its own.
            QVERIFY2(button->styleSheet() == original.value(name), qPrintable(name));
        }
    }
    QCOMPARE(board.bar->width(), classicWidth);
    QCOMPARE(board.frame("widget_8")->width(), classicWidth);
    for (const char *name : { "m_pTransPenC", "m_pWidthPenC", "m_pStylePenC" })
        QCOMPARE(board.button(name)->isEnabled(), penProperties);
    QVERIFY(board.button("m_pColorPenC")->isEnabled());
    if (!icon.isEmpty()) {
        const QString groupButton = standard;
        QVERIFY(sameIcon(board.button(qPrintable(groupButton))->icon(), icon));
        QVERIFY(sameIcon(board.button(qPrintable(kids))->icon(), icon));
    }
    if (!icon.contains(QLatin1String("text.png")) && !icon.contains(QLatin1String("table.png"))) {
        // Any tool but text and tables puts the insert icons back.
        QVERIFY(sameIcon(board.button("baExpandMMIBotton")->icon(),
                         ":/Icon/baExpandInsertFromFileBotton.png"));
    }

    // Each layout shows the same tool, so the other styles show it at once.
    board.switchStyle(BtMenus::imStandard);
    QVERIFY(board.button(qPrintable(standard))->styleSheet().contains(kStandardMark));
}

void tst_DMainUi::markingKeepsSavedSheet()
{
    Board board(0);
    QToolButton *undo = board.button("m_pUndo");
    const QString own = undo->styleSheet();
    board.bar->selectButton(undo);
    board.bar->selectButton(undo); // marking it again must not save the highlight as its own
    board.bar->selectButton(nullptr);
    QCOMPARE(undo->styleSheet(), own);
    board.bar->selectButton(nullptr); // an empty slot stays empty
    QCOMPARE(undo->styleSheet(), own);
}

void tst_DMainUi::toolWithoutRowKeepsMarks()
{
    Board board(BtMenus::imClassic);
    board.setTool(BtMenus::btPencil);
    board.setTool(BtMenus::btZoomIn); // a page command: the pencil stays the marked tool
    QVERIFY(board.button("baExpandPenBotton")->styleSheet().contains(kStandardMark));
    QVERIFY(board.button("m_pPencilC")->styleSheet().contains(kClassicMark));
    QVERIFY(board.button("m_pTransPenC")->isEnabled());
    QCOMPARE(board.bar->width(), 484);
    board.setTool(BtMenus::btSelect);
    QCOMPARE(board.bar->width(), 390);
    QCOMPARE(board.button("baExpandPenBotton")->styleSheet(),
             formSheets().value("baExpandPenBotton"));
}

void tst_DMainUi::classicPanelOpenedByHandStays()
{
    Board board(BtMenus::imClassic);
    board.click("m_pPenC"); // emits the remembered pen, the pencil
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btPencil });
    board.setTool(BtMenus::btPencil);
    QVERIFY(board.frame("penWidget")->isVisible());
    board.emitted.clear();
    board.click("m_pToolsC");
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btExpandTool });
    QVERIFY(board.frame("toolsWidget")->isVisible());
    QVERIFY(!board.frame("penWidget")->isVisible());
    QCOMPARE(board.bar->width(), 611);
    // The mark stays on the pen group: the tools panel stays open.
    board.setTool(BtMenus::btHighlighter);
    QVERIFY(board.frame("toolsWidget")->isVisible());
    // A shape moves the mark and opens the shape panel.
    board.emitted.clear();
    board.click("m_pShapeC");
    board.click("m_pCircleC");
    QCOMPARE(board.emitted, (QList<int>{ BtMenus::btLine, BtMenus::btCircle }));
    board.setTool(BtMenus::btCircle);
    QVERIFY(board.frame("shapeWidget")->isVisible());
    QVERIFY(sameIcon(board.button("m_pShapeC")->icon(), ":/oldIcon/baCircle.png"));
    QCOMPARE(board.bar->width(), 781);
    board.emitted.clear();
    board.click("m_pShapeC"); // remembers the circle
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btCircle });
}

void tst_DMainUi::pointEraserClearsClassicMarksKeepsPanel()
{
    Board board(BtMenus::imClassic);
    board.setTool(BtMenus::btHighlighter);
    QCOMPARE(board.bar->width(), 484);
    board.setTool(BtMenus::btBitmapEraser);
    QCOMPARE(board.bar->width(), 484);
    QVERIFY(board.frame("penWidget")->isVisible());
    QCOMPARE(board.button("m_pPenC")->styleSheet(), formSheets().value("m_pPenC"));
    QCOMPARE(board.button("m_pHighlighterC")->styleSheet(), formSheets().value("m_pHighlighterC"));
    QVERIFY(board.button("baExpandEraserBotton")->styleSheet().contains(kStandardMark));
    QVERIFY(!board.button("m_pWidthPenC")->isEnabled());
}

void tst_DMainUi::classicGroupsRememberTheLastTool()
{
    Board board(BtMenus::imClassic);
    board.click("m_pHighlighterC");
    board.click("m_pEraserLC"); // disabled by the form: no point eraser from here
    board.click("m_pCubeC");
    board.emitted.clear();
    for (const char *group : { "m_pPenC", "m_pEraserC", "m_pShapeC" })
        board.click(group);
    QCOMPARE(board.emitted,
             (QList<int>{ BtMenus::btHighlighter, BtMenus::btObjectEraser, BtMenus::btCube }));
}

void tst_DMainUi::multiUserToolPaintsSwatchAfterDispatch()
{
    Board board(0);
    // What the dispatcher does during the emit: give the user's pen the new tool's colour.
    QObject::connect(board.bar.get(), &DMainUi::buttonClicked, board.bar.get(), [](btType bt) {
        if (bt == BtMenus::btHighlighterUser1)
            DMainUi::m_penUser1.setColor(QColor(240, 240, 0));
        if (bt == BtMenus::btPencilUser3)
            DMainUi::m_penUser3.setColor(QColor(0, 120, 240));
    });
    board.switchStyle(BtMenus::imMultiUser);
    QVERIFY(board.button("m_pPenUser1")->styleSheet().contains("rgb(0, 150, 255)"));
    QVERIFY(board.button("m_pColorUser3")->styleSheet().contains("rgb(0, 0, 255)"));

    board.emitted.clear();
    board.click("m_pHighUser1");
    QCOMPARE(board.emitted, QList<int>{ BtMenus::btHighlighterUser1 });
    QVERIFY(board.button("m_pHighUser1")->styleSheet().contains("rgb(0, 150, 255)"));
    QCOMPARE(board.button("m_pPenUser1")->styleSheet(), formSheets().value("m_pPenUser1"));
    QVERIFY(board.button("m_pColorUser1")->styleSheet().contains("rgb(240, 240, 0)"));
    // User 3 keeps their own mark and colour.
    QVERIFY(board.button("m_pPenUser3")->styleSheet().contains("rgb(0, 150, 255)"));
    QVERIFY(board.button("m_pColorUser3")->styleSheet().contains("rgb(0, 0, 255)"));
    board.click("m_pPenUser3");
    QVERIFY(board.button("m_pColorUser3")->styleSheet().contains("rgb(0, 120, 240)"));

    // A colour chosen in the dialog goes out with the user's tool and repaints the swatch.
    QList<QPair<QColor, int>> colours;
    QObject::connect(board.bar.get(), &DMainUi::colorClicked, board.bar.get(),
                     [&](QColor c, btType bt) { colours << qMakePair(c, int(bt)); });
    for (int round = 0; round < 2; ++round) { // the same colour again still goes out
        auto answered = TestSupport::answerNextModal([](QWidget *dialog) {
            auto *colourDialog = qobject_cast<QColorDialog *>(dialog);
            QVERIFY(colourDialog);
            colourDialog->setCurrentColor(QColor(60, 180, 60));
            colourDialog->accept();
        });
        board.click("m_pColorUser1");
        QVERIFY(*answered);
    }
    QCOMPARE(colours.size(), 2);
    QCOMPARE(colours.at(1).first, QColor(60, 180, 60));
    QCOMPARE(colours.at(1).second, int(BtMenus::btHighlighterUser1));
    QVERIFY(board.button("m_pColorUser1")->styleSheet().contains("rgb(60, 180, 60)"));
}

void tst_DMainUi::multiUserCancelledColourEmitsNothing()
{
    Board board(3);
    const QString swatch = board.button("m_pColorUser3")->styleSheet();
    int emitted = 0;
    QObject::connect(board.bar.get(), &DMainUi::colorClicked, board.bar.get(),
                     [&]() { ++emitted; });
    auto answered = TestSupport::answerNextModal([](QWidget *dialog) {
        QVERIFY(qobject_cast<QColorDialog *>(dialog));
        qobject_cast<QDialog *>(dialog)->reject();
    });
    board.click("m_pColorUser3");
    QVERIFY(*answered);
    QCOMPARE(emitted, 0);
    QCOMPARE(board.button("m_pColorUser3")->styleSheet(), swatch);

    // Started in the multi-user style, leaving it brings the standard bar to its usual place.
    board.click("m_pExitMultiUser");
    QCOMPARE(board.bar->geometry(), QRect(screenRect().width() / 2 - 365, 100, 731, 70));
}

void tst_DMainUi::multiUserExitReturnsToPreviousStyle()
{
    Board board(BtMenus::imClassic);
    board.setTool(BtMenus::btPencil);
    QCOMPARE(board.bar->width(), 484);
    board.bar->move(40, 150);
    board.switchStyle(BtMenus::imMultiUser);
    // The dispatcher answers the select command the return sends.
    QObject::connect(board.bar.get(), &DMainUi::buttonClicked, board.bar.get(), [&](btType bt) {
        if (bt == BtMenus::btSelect)
            board.setTool(bt);
    });
    board.emitted.clear();
    board.click("m_pExitMultiUser");
    QCOMPARE(board.emitted, (QList<int>{ BtMenus::btSelect, BtMenus::btMultiUser }));
    QCOMPARE(board.bar->interfaceMode(), int(BtMenus::imClassic));
    QVERIFY(board.frame("widget_8")->isVisible());
    QVERIFY(!board.frame("widget_12")->isVisible());
    QCOMPARE(board.bar->geometry(), QRect(40, 150, 390, 110));
    QVERIFY(board.button("m_pSelectC")->styleSheet().contains(kClassicMark));
}

void tst_DMainUi::aboutBoxNamesTheProgram()
{
    Board board(0);
    QString title;
    QString text;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        title = dialog->windowTitle();
        text = qobject_cast<QMessageBox *>(dialog)->text();
        QVERIFY(TestSupport::clickButton(dialog, QStringLiteral("OK")));
    });
    board.click("about");
    QVERIFY(*answered);
    QCOMPARE(title, QStringLiteral("Veltorina"));
    QVERIFY(text.contains(QLatin1String("Veltorina")));
}

QTEST_MAIN(tst_DMainUi)
#include "tst_dmainui.moc"
