#include "palettes/widgettoolselector.h"
#include "support/palettefixture.h"
#include "support/testsupport.h"

#include <QMap>
#include <QPushButton>
#include <QTest>

class tst_WidgetToolSelector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup();
    void showsTwelveToolsInThreeRows();
    void everySlotHasItsButton();
    void toolEmitsAndCloses_data();
    void toolEmitsAndCloses();
};

void tst_WidgetToolSelector::cleanup()
{
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void tst_WidgetToolSelector::showsTwelveToolsInThreeRows()
{
    QWidget board;
    board.resize(800, 600);
    WidgetToolSelector palette(&board);
    QVERIFY(palette.isHidden());
    QCOMPARE(palette.windowFlags(), Qt::WindowFlags(Qt::FramelessWindowHint));
    QVERIFY(palette.testAttribute(Qt::WA_TranslucentBackground));
    palette.setTopLabel();
    board.show();
    palette.show();
    QCOMPARE(palette.size(), QSize(260, 170));
    const QStringList visible = PaletteFixture::visibleButtons(&palette);
    QCOMPARE(visible,
             QStringList({ "curtain", "searchLight", "calculator", "capture", "magnifier", "ruler",
                           "triangleRuler", "compass", "portractor", "clock", "share",
                           "keyboard" }));
    QMap<int, int> perRow; // button top edge -> buttons on that row
    for (const QString &name : visible)
        ++perRow[palette.findChild<QPushButton *>(name)->mapTo(&palette, QPoint()).y()];
    QCOMPARE(perRow.values(), QList<int>({ 5, 5, 2 }));
    for (const char *name : { "browser", "activities", "recorder", "playRecorder", "stopRecorder" })
        QVERIFY(!palette.findChild<QPushButton *>(name)->isEnabled());
    for (const char *name : { "widget_5", "line", "line_2" })
        QVERIFY(!palette.findChild<QWidget *>(name)->isVisible());
    // Opened below the toolbar: the arrow on top, the panel right under it.
    QCOMPARE(palette.findChild<QWidget *>("widget_3")->geometry(), QRect(5, 20, 250, 150));
}

void tst_WidgetToolSelector::everySlotHasItsButton()
{
    WidgetToolSelector palette;
    int slotCount = 0;
    QCOMPARE(PaletteFixture::slotsWithoutButton(&palette, &slotCount), QStringList());
    QCOMPARE(slotCount, 17);
}

void tst_WidgetToolSelector::toolEmitsAndCloses_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("tool");
    const QPair<const char *, int> tools[] = {
        { "curtain", 38 },    { "searchLight", 46 }, { "calculator", 33 },    { "capture", 34 },
        { "magnifier", 41 },  { "ruler", 45 },       { "triangleRuler", 48 }, { "compass", 37 },
        { "portractor", 43 }, { "clock", 35 },       { "share", 36 },         { "keyboard", 40 },
    };
    for (const auto &tool : tools)
        QTest::newRow(tool.first) << QString(tool.first) << tool.second;
}

void tst_WidgetToolSelector::toolEmitsAndCloses()
{
    QFETCH(QString, button);
    QFETCH(int, tool);
    QWidget board;
    WidgetToolSelector palette(&board);
    QList<int> emitted;
    connect(&palette, &WidgetToolSelector::buttonClicked, this,
            [&](btType bt) { emitted << int(bt); });
    board.show();
    palette.show();
    const QString before = palette.findChild<QPushButton *>(button)->styleSheet();
    QVERIFY(PaletteFixture::click(&palette, button));
    QCOMPARE(emitted, QList<int>{ tool });
    QVERIFY(palette.isHidden());
    // Nothing is marked: reopening looks as before.
    palette.show();
    QCOMPARE(palette.findChild<QPushButton *>(button)->styleSheet(), before);
}

QTEST_MAIN(tst_WidgetToolSelector)
#include "tst_widgettoolselector.moc"
