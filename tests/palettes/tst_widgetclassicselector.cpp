#include "palettes/palettestyle.h"
#include "palettes/widgetclassicselector.h"
#include "shell/dmainui.h"
#include "support/palettefixture.h"
#include "support/testsupport.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

class tst_WidgetClassicSelector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void init();
    void cleanup();
    void construction();
    void pages_data();
    void pages();
    void widthByRoute_data();
    void widthByRoute();
    void highlighterColour();
    void transparencyByRoute_data();
    void transparencyByRoute();
    void styleByRoute();
    void backgroundWhateverTheTool();
    void moreColoursStartsWhite();
    void showMarksFromPen();

private:
    void open(void (WidgetClassicSelector::*page)())
    {
        m_palette->hide();
        (m_palette->*page)();
        m_palette->show();
    }
    QToolButton *tool(const char *name) { return m_palette->findChild<QToolButton *>(name); }
    QWidget *m_toolbar = nullptr;
    WidgetClassicSelector *m_palette = nullptr;
    QStringList m_said;
};

void tst_WidgetClassicSelector::init()
{
    DMainUi::m_curPenType = BtMenus::btPencil;
    DMainUi::m_pen = QPen(QColor(0, 0, 240), 3);
    DMainUi::m_penShape = QPen(QColor(240, 0, 0), 5);
    m_toolbar = new QWidget;
    m_palette = new WidgetClassicSelector(m_toolbar);
    m_said.clear();
    auto say = [this](const QString &what) { m_said << what; };
    connect(m_palette, &WidgetClassicSelector::colorClicked, this,
            [say](const QColor &c) { say("pen colour " + c.name(QColor::HexArgb)); });
    connect(m_palette, &WidgetClassicSelector::shapeClicked, this,
            [say](const QColor &c) { say("shape colour " + c.name(QColor::HexArgb)); });
    connect(m_palette, &WidgetClassicSelector::bckClicked, this,
            [say](const QColor &c) { say("page " + c.name(QColor::HexArgb)); });
    connect(m_palette, &WidgetClassicSelector::widthClicked, this,
            [say](int w) { say(QStringLiteral("pen width %1").arg(w)); });
    connect(m_palette, &WidgetClassicSelector::shapeWidthClicked, this,
            [say](int w) { say(QStringLiteral("shape width %1").arg(w)); });
    connect(m_palette, &WidgetClassicSelector::styleClicked, this,
            [say](Qt::PenStyle s) { say(QStringLiteral("pen style %1").arg(int(s))); });
    connect(m_palette, &WidgetClassicSelector::shapeStyleClicked, this,
            [say](Qt::PenStyle s) { say(QStringLiteral("shape style %1").arg(int(s))); });
}

void tst_WidgetClassicSelector::cleanup()
{
    delete m_toolbar;
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void tst_WidgetClassicSelector::construction()
{
    QVERIFY(m_palette->isHidden());
    QVERIFY(m_palette->isWindow()); // a frameless window of its own, owned by the toolbar
    QCOMPARE(m_palette->windowFlags() & ~Qt::WindowType_Mask,
             Qt::WindowFlags(Qt::FramelessWindowHint));
    QCOMPARE(m_palette->windowType(), Qt::Dialog);
    QCOMPARE(m_palette->parentWidget(), m_toolbar);
    QVERIFY(!m_palette->selectedTransButton());
    QVERIFY(!m_palette->selectedWidthButton());
    QVERIFY(!m_palette->selectedStyleButton());
    int slotCount = 0;
    QCOMPARE(PaletteFixture::slotsWithoutButton(m_palette, &slotCount), QStringList());
    QCOMPARE(slotCount, 42);
}

void tst_WidgetClassicSelector::pages_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("shown");
    QTest::newRow("colour") << 0 << QSize(300, 175) << "widget";
    QTest::newRow("width") << 1 << QSize(225, 100) << "widget_3";
    QTest::newRow("transparency") << 2 << QSize(225, 100) << "widget_5";
    QTest::newRow("style") << 3 << QSize(140, 175) << "widget_2";
}

void tst_WidgetClassicSelector::pages()
{
    QFETCH(int, page);
    QFETCH(QSize, size);
    QFETCH(QString, shown);
    void (WidgetClassicSelector::*show[])() = { &WidgetClassicSelector::showColorMenu,
                                                &WidgetClassicSelector::showWidthMenu,
                                                &WidgetClassicSelector::showTransMenu,
                                                &WidgetClassicSelector::showStyleMenu };
    open(&WidgetClassicSelector::showColorMenu);
    open(show[page]);
    QCOMPARE(m_palette->m_page, page);
    QCOMPARE(m_palette->size(), size);
    for (const char *name : { "widget", "widget_2", "widget_3", "widget_5" })
        QCOMPARE(m_palette->findChild<QWidget *>(name)->isVisible(), shown == name);
}

void tst_WidgetClassicSelector::widthByRoute_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<int>("shapeWidth");
    QTest::newRow("pencil") << int(BtMenus::btPencil) << QStringList{ "pen width 9" } << 9 << 5;
    QTest::newRow("fountain") << int(BtMenus::btFountainPen) << QStringList{ "pen width 9" } << 9
                              << 5;
    QTest::newRow("rectangle") << int(BtMenus::btRectangle) << QStringList{ "shape width 9" } << 3
                               << 9;
    QTest::newRow("fill tool") << int(BtMenus::btFill) << QStringList{ "shape width 9" } << 3 << 9;
    QTest::newRow("select") << int(BtMenus::btSelect) << QStringList() << 3 << 5;
    QTest::newRow("smart pen") << int(BtMenus::btSmartPen) << QStringList() << 3 << 5;
}

void tst_WidgetClassicSelector::widthByRoute()
{
    QFETCH(int, tool);
    QFETCH(QStringList, said);
    QFETCH(int, penWidth);
    QFETCH(int, shapeWidth);
    DMainUi::m_curPenType = tool;
    open(&WidgetClassicSelector::showWidthMenu);
    QVERIFY(PaletteFixture::click(m_palette, "width_4"));
    QCOMPARE(m_said, said);
    QCOMPARE(DMainUi::m_pen.width(), penWidth);
    QCOMPARE(DMainUi::m_penShape.width(), shapeWidth);
    QCOMPARE(m_palette->selectedWidthButton(), this->tool("width_4")); // marked in every case
    QCOMPARE(this->tool("width_4")->styleSheet(), PaletteStyle::markSheet("QToolButton"));
}

void tst_WidgetClassicSelector::highlighterColour()
{
    DMainUi::m_curPenType = BtMenus::btHighlighter;
    open(&WidgetClassicSelector::showColorMenu);
    QVERIFY(PaletteFixture::click(m_palette, "redcolor"));
    QCOMPARE(m_said, QStringList{ "pen colour #fff00000" });
    QCOMPARE(DMainUi::m_pen.color(), QColor(240, 0, 0, 100));
    open(&WidgetClassicSelector::showTransMenu);
    QCOMPARE(m_palette->selectedTransButton(), tool("width_7"));
}

void tst_WidgetClassicSelector::transparencyByRoute_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QColor>("pen");
    QTest::addColumn<QColor>("shape");
    QTest::newRow("shape at 40") << int(BtMenus::btEllipse) << "width_10"
                                 << QStringList{ "shape colour #28f00000" } << QColor(0, 0, 240)
                                 << QColor(240, 0, 0, 40);
    QTest::newRow("pen at 0") << int(BtMenus::btPencil) << "width_12"
                              << QStringList{ "pen colour #000000f0" } << QColor(0, 0, 240, 0)
                              << QColor(240, 0, 0);
    QTest::newRow("eraser: nothing") << int(BtMenus::btObjectEraser) << "width_8" << QStringList()
                                     << QColor(0, 0, 240) << QColor(240, 0, 0);
}

void tst_WidgetClassicSelector::transparencyByRoute()
{
    QFETCH(int, tool);
    QFETCH(QString, button);
    QFETCH(QStringList, said);
    QFETCH(QColor, pen);
    QFETCH(QColor, shape);
    DMainUi::m_curPenType = tool;
    open(&WidgetClassicSelector::showTransMenu);
    QVERIFY(PaletteFixture::click(m_palette, button));
    QCOMPARE(m_said, said);
    QCOMPARE(DMainUi::m_pen.color(), pen);
    QCOMPARE(DMainUi::m_penShape.color(), shape);
    QCOMPARE(m_palette->selectedTransButton(), this->tool(qPrintable(button)));
}

void tst_WidgetClassicSelector::styleByRoute()
{
    DMainUi::m_curPenType = BtMenus::btStar;
    open(&WidgetClassicSelector::showStyleMenu);
    QVERIFY(PaletteFixture::click(m_palette, "dotLine_2"));
    DMainUi::m_curPenType = BtMenus::btPencil;
    QVERIFY(PaletteFixture::click(m_palette, "cutDotLine_2"));
    QCOMPARE(m_said, QStringList({ "shape style 3", "pen style 4" }));
    QCOMPARE(DMainUi::m_penShape.style(), Qt::DotLine);
    QCOMPARE(DMainUi::m_pen.style(), Qt::DashDotLine);
    QCOMPARE(m_palette->selectedStyleButton()->objectName(), QString("cutDotLine_2"));
}

void tst_WidgetClassicSelector::backgroundWhateverTheTool()
{
    DMainUi::m_curPenType = BtMenus::btSelect;
    m_palette->disablePenColor(true);
    open(&WidgetClassicSelector::showColorMenu);
    QVERIFY(!m_palette->findChild<QPushButton *>("redcolor")->isEnabled());
    QVERIFY(!m_palette->findChild<QPushButton *>("pushButton")->isEnabled());
    for (const PaletteStyle::Swatch &swatch : PaletteStyle::kSwatches) {
        QVERIFY(PaletteFixture::click(m_palette, QLatin1String(swatch.objectName) + "_2"));
        QCOMPARE(m_said.takeLast(),
                 "page " + PaletteStyle::swatchColour(swatch).name(QColor::HexArgb));
    }
    m_palette->disablePenColor(false);
    QVERIFY(m_palette->findChild<QPushButton *>("redcolor")->isEnabled());
}

void tst_WidgetClassicSelector::moreColoursStartsWhite()
{
    DMainUi::m_pen.setColor(QColor(5, 5, 5));
    open(&WidgetClassicSelector::showColorMenu);
    for (const char *name : { "pushButton", "pushButton_2" }) {
        QColor initial;
        auto answered = PaletteFixture::cancelColourDialog(&initial);
        QVERIFY(PaletteFixture::click(m_palette, name));
        QVERIFY(*answered);
        QCOMPARE(initial, QColor(Qt::white));
    }
    QCOMPARE(m_said, QStringList());
    auto answered = PaletteFixture::chooseColour(QColor(1, 1, 1));
    QVERIFY(PaletteFixture::click(m_palette, "pushButton_2"));
    QVERIFY(*answered);
    QCOMPARE(m_said, QStringList{ "page #ff010101" });
}

void tst_WidgetClassicSelector::showMarksFromPen()
{
    DMainUi::m_curPenType = BtMenus::btRectangle; // marks follow the pen, not the shape pen
    DMainUi::m_pen = QPen(QColor(0, 0, 0, 60), 15, Qt::DashLine);
    open(&WidgetClassicSelector::showWidthMenu);
    QCOMPARE(m_palette->selectedWidthButton(), tool("width_5"));
    QCOMPARE(m_palette->selectedTransButton(), tool("width_9"));
    QCOMPARE(m_palette->selectedStyleButton()->objectName(), QString("cutLine_2"));
    DMainUi::m_pen = QPen(QColor(0, 0, 0, 255), 2, Qt::NoPen);
    open(&WidgetClassicSelector::showWidthMenu);
    QVERIFY(!m_palette->selectedWidthButton());
    QVERIFY(!m_palette->selectedTransButton());
    QCOMPARE(m_palette->selectedStyleButton()->objectName(), QString("cutLine_2")); // stays
}

QTEST_MAIN(tst_WidgetClassicSelector)
#include "tst_widgetclassicselector.moc"
