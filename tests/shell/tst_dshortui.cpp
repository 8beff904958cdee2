#include "shell/dshortui.h"
#include "support/testsupport.h"

#include <QToolButton>
#include <QtTest>

// The desktop-mode bar driven by real clicks on its buttons.
class tst_DShortUi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QCOMPARE(TestSupport::takeConnectWarnings(), QStringList()); }
    void buttonsEmitTheirCommands_data();
    void buttonsEmitTheirCommands();
    void markingFollowsTheActiveTool();
    void desktopModeShowsTheBarUnmarked();
    void unknownModeOnlyRecordsIt();
    void hideToolBarTogglesVisibility();
    void sitsAtTheRightEdgeOfItsParent();
    void everyButtonHasAnIcon();

private:
    static QToolButton *button(DShortUi &bar, const char *name)
    {
        return bar.findChild<QToolButton *>(QLatin1String(name));
    }
};

void tst_DShortUi::buttonsEmitTheirCommands_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("emitted");

    // Tools used on the board first ask for a transparent page and the board back.
    const QString board = QStringLiteral("transparentPage showVeltorina ");
    QTest::newRow("desktop") << "m_pDesktop" << "107";
    QTest::newRow("transparent page") << "m_pTransPage" << "97";
    QTest::newRow("select") << "m_pSelect_2" << board + "110";
    QTest::newRow("pencil") << "m_pPen" << board + "50";
    QTest::newRow("highlighter") << "m_pHighlight" << board + "54";
    QTest::newRow("object eraser") << "m_pEraser" << board + "1";
    QTest::newRow("text") << "m_pText" << board + "28";
    QTest::newRow("previous page") << "m_pPageDown_2" << "117";
    QTest::newRow("next page") << "m_pPageUp_2" << "119";
    QTest::newRow("clean") << "m_pPageClean" << "101";
    QTest::newRow("undo") << "m_pUndo_2" << "115";
    QTest::newRow("redo") << "m_pRedo_2" << "116";
    QTest::newRow("save") << "m_pSave" << "4";
    QTest::newRow("exit") << "m_pExit" << "23";
}

void tst_DShortUi::buttonsEmitTheirCommands()
{
    QFETCH(QString, button);
    QFETCH(QString, emitted);
    DShortUi bar;
    bar.show();
    QStringList seen;
    connect(&bar, &DShortUi::transparentPage, this, [&]() { seen << "transparentPage"; });
    connect(&bar, &DShortUi::showVeltorina, this, [&]() { seen << "showVeltorina"; });
    connect(&bar, &DShortUi::buttonClicked, this, [&](int id) { seen << QString::number(id); });
    auto *target = bar.findChild<QToolButton *>(button);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(seen.join(QLatin1Char(' ')), emitted);
}

void tst_DShortUi::markingFollowsTheActiveTool()
{
    DShortUi bar;
    bar.show(); // showing marks the active tool: select
    QToolButton *select = button(bar, "m_pSelect_2");
    QToolButton *pen = button(bar, "m_pPen");
    const QString penOwnSheet = pen->styleSheet();
    QCOMPARE(bar.selectedButton(), select);
    QVERIFY(select->styleSheet().contains("0, 150, 255"));

    // The dispatcher reports the new tool back, as the main window does.
    connect(&bar, &DShortUi::buttonClicked, &bar, [&](btType bt) { bar.updatePen(bt); });
    QTest::mouseClick(pen, Qt::LeftButton);
    QCOMPARE(bar.selectedButton(), pen);
    QVERIFY(!select->styleSheet().contains("0, 150, 255"));
    QVERIFY(select->styleSheet().contains("210, 210, 210"));

    QTest::mouseClick(pen, Qt::LeftButton); // marking twice never saves the mark as own sheet
    bar.updatePen(BtMenus::btSelect);
    QCOMPARE(pen->styleSheet(), penOwnSheet);

    bar.updatePen(BtMenus::btStar); // no button for shapes: the marking stays
    QCOMPARE(bar.selectedButton(), select);
}

void tst_DShortUi::desktopModeShowsTheBarUnmarked()
{
    DShortUi bar;
    bar.setMode(BtMenus::dmDesktop);
    QVERIFY(bar.isVisible());
    QVERIFY(bar.isBarVisible());
    QCOMPARE(bar.selectedButton(), nullptr);
    bar.updatePen(BtMenus::btText);
    QCOMPARE(bar.selectedButton(), button(bar, "m_pText"));
    bar.setMode(BtMenus::dmBoard);
    QVERIFY(!bar.isVisible());
    QCOMPARE(bar.mode(), int(BtMenus::dmBoard));
}

void tst_DShortUi::unknownModeOnlyRecordsIt()
{
    DShortUi bar;
    bar.setMode(BtMenus::dmDesktop);
    bar.setMode(BtMenus::eDesktopMode(5));
    QCOMPARE(bar.mode(), 5);
    QVERIFY(bar.isVisible());
}

void tst_DShortUi::hideToolBarTogglesVisibility()
{
    DShortUi bar;
    bar.hideToolBar();
    QVERIFY(bar.isVisible());
    bar.hideToolBar();
    QVERIFY(!bar.isVisible());
    QVERIFY(!bar.isBarVisible());
}

void tst_DShortUi::sitsAtTheRightEdgeOfItsParent()
{
    QWidget parent;
    parent.resize(1001, 801);
    DShortUi bar(&parent);
    QCOMPARE(bar.size(), QSize(45, 565));
    QCOMPARE(bar.pos(), QPoint(1001 - 45, 801 / 2 - 565 / 2));
    QVERIFY(!bar.isVisible());
    QVERIFY(bar.windowFlags() & Qt::WindowStaysOnTopHint);
}

void tst_DShortUi::everyButtonHasAnIcon()
{
    DShortUi bar;
    const auto buttons = bar.findChildren<QToolButton *>();
    QCOMPARE(buttons.size(), 14);
    for (QToolButton *b : buttons) {
        QVERIFY2(!b->icon().pixmap(32, 32).isNull(), qPrintable(b->objectName()));
        QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName()));
        QCOMPARE(b->size(), QSize(35, 35));
    }
}

QTEST_MAIN(tst_DShortUi)
#include "tst_dshortui.moc"
