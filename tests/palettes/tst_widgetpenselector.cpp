#include "palettes/dslidercontrol.h"
#include "palettes/palettestyle.h"
#include "palettes/widgetpenselector.h"
#include "shell/dmainui.h"
#include "support/palettefixture.h"
#include "support/testsupport.h"

#include <QGraphicsScene>
#include <QPushButton>
#include <QTest>

class tst_WidgetPenSelector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void init();
    void cleanup();
    void construction();
    void openingWithSelectBringsBackPencil();
    void openingWithPenActiveOnlyMarks_data();
    void openingWithPenActiveOnlyMarks();
    void openingBringsBackFountainPen();
    void penKindsForceAlpha_data();
    void penKindsForceAlpha();
    void highlighterSwatch();
    void swatchColours();
    void lineStyle();
    void sliderDrag();
    void moreColours();

private:
    QPushButton *button(const char *name) { return m_palette->findChild<QPushButton *>(name); }
    QPen previewPen() const { return PaletteFixture::previewPen(m_palette->previewScene()); }
    QStringList disabledControls()
    {
        QStringList names;
        for (const char *name :
             { "horizontalSlider", "solidLine_2", "dotLine_2", "cutLine_2", "cutDotLine_2" })
            if (!m_palette->findChild<QWidget *>(name)->isEnabled())
                names << name;
        return names;
    }
    QWidget *m_board = nullptr;
    WidgetPenSelector *m_palette = nullptr;
    QStringList m_said;
};

void tst_WidgetPenSelector::init()
{
    DMainUi::m_curPenType = BtMenus::btSelect;
    DMainUi::m_pen = QPen(QColor(0, 0, 240), 3);
    m_board = new QWidget;
    m_board->resize(800, 600);
    m_palette = new WidgetPenSelector(m_board);
    m_said.clear();
    connect(m_palette, &WidgetPenSelector::buttonClicked, this,
            [this](btType bt) { m_said << QStringLiteral("bt %1").arg(int(bt)); });
    connect(m_palette, &WidgetPenSelector::colorClicked, this,
            [this](const QColor &c) { m_said << "colour " + c.name(QColor::HexArgb); });
    connect(m_palette, &WidgetPenSelector::styleClicked, this,
            [this](Qt::PenStyle s) { m_said << QStringLiteral("style %1").arg(int(s)); });
    connect(m_palette, &WidgetPenSelector::widthClicked, this,
            [this](int w) { m_said << QStringLiteral("width %1").arg(w); });
    m_board->show();
}

void tst_WidgetPenSelector::cleanup()
{
    delete m_board;
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void tst_WidgetPenSelector::construction()
{
    QVERIFY(m_palette->isHidden());
    QCOMPARE(m_palette->windowFlags(), Qt::WindowFlags(Qt::FramelessWindowHint));
    QCOMPARE(m_palette->size(), QSize(310, 230));
    QVERIFY(!button("smartpen")->isEnabled());
    QVERIFY(!m_palette->selectedPenButton());
    QVERIFY(!m_palette->selectedStyleButton());
    QCOMPARE(m_palette->lastPen(), BtMenus::btPencil);
    QCOMPARE(previewPen(), DMainUi::m_pen);
    QCOMPARE(PaletteFixture::slotsWithoutButton(m_palette), QStringList());
    QVERIFY(m_palette->findChild<DSliderControl *>("horizontalSlider"));
}

void tst_WidgetPenSelector::openingWithSelectBringsBackPencil()
{
    m_palette->show();
    QCOMPARE(m_said, QStringList{ "bt 50" });
    QCOMPARE(m_palette->selectedPenButton(), button("pencil"));
    QCOMPARE(m_palette->selectedStyleButton(), button("solidLine_2"));
    QCOMPARE(disabledControls(), QStringList());
    QCOMPARE(m_palette->findChild<DSliderControl *>()->value(), 3.0f);
    QCOMPARE(button("pencil")->styleSheet(),
             QString("QPushButton{background-color: rgb(0, 150, 255);border-radius:3px;}"));
}

void tst_WidgetPenSelector::openingWithPenActiveOnlyMarks_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("marked");
    QTest::addColumn<bool>("disabled");
    QTest::newRow("highlighter") << int(BtMenus::btHighlighter) << "highlighter" << false;
    QTest::newRow("fountain pen") << int(BtMenus::btFountainPen) << "fountainpen" << true;
    QTest::newRow("smart pen") << int(BtMenus::btSmartPen) << "smartpen" << false;
    QTest::newRow("pencil") << int(BtMenus::btPencil) << "pencil" << false;
}

void tst_WidgetPenSelector::openingWithPenActiveOnlyMarks()
{
    QFETCH(int, tool);
    QFETCH(QString, marked);
    QFETCH(bool, disabled);
    DMainUi::m_curPenType = tool;
    m_palette->show();
    QCOMPARE(m_said, QStringList());
    QCOMPARE(m_palette->selectedPenButton()->objectName(), marked);
    QCOMPARE(disabledControls().size(), disabled ? 5 : 0);
    QCOMPARE(int(m_palette->lastPen()), tool);
}

void tst_WidgetPenSelector::openingBringsBackFountainPen()
{
    DMainUi::m_curPenType = BtMenus::btPencil;
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "fountainpen"));
    m_palette->hide();
    DMainUi::m_curPenType = BtMenus::btObjectEraser; // chosen elsewhere meanwhile
    m_said.clear();
    m_palette->show();
    QCOMPARE(m_said, QStringList{ "bt 60" });
    QCOMPARE(disabledControls().size(), 5);
    QCOMPARE(m_palette->selectedPenButton(), button("fountainpen"));
}

void tst_WidgetPenSelector::penKindsForceAlpha_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<int>("emitted");
    QTest::newRow("pencil") << "pencil" << 255 << 50;
    QTest::newRow("highlighter") << "highlighter" << 100 << 54;
    QTest::newRow("fountain pen keeps") << "fountainpen" << 77 << 60;
}

void tst_WidgetPenSelector::penKindsForceAlpha()
{
    QFETCH(QString, kind);
    QFETCH(int, alpha);
    QFETCH(int, emitted);
    DMainUi::m_curPenType = BtMenus::btPencil;
    m_palette->show();
    DMainUi::m_pen.setColor(QColor(10, 20, 30, 77));
    DMainUi::m_pen.setStyle(Qt::DotLine);
    QVERIFY(PaletteFixture::click(m_palette, kind));
    QCOMPARE(m_said, QStringList{ QStringLiteral("bt %1").arg(emitted) });
    QCOMPARE(DMainUi::m_pen.color(), QColor(10, 20, 30, alpha));
    QCOMPARE(previewPen().color(), QColor(10, 20, 30, alpha));
    QCOMPARE(m_palette->selectedPenButton(), button(qPrintable(kind)));
    QCOMPARE(m_palette->selectedStyleButton(), button("dotLine_2"));
}

void tst_WidgetPenSelector::highlighterSwatch()
{
    DMainUi::m_curPenType = BtMenus::btHighlighter;
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "redcolor"));
    QCOMPARE(m_said, QStringList{ "colour #fff00000" }); // sent opaque: the view decides
    QCOMPARE(DMainUi::m_pen.color(), QColor(240, 0, 0, 100));
    QCOMPARE(previewPen().color(), QColor(240, 0, 0, 100));
}

void tst_WidgetPenSelector::swatchColours()
{
    DMainUi::m_curPenType = BtMenus::btPencil;
    m_palette->show();
    for (const PaletteStyle::Swatch &swatch : PaletteStyle::kSwatches) {
        QVERIFY(PaletteFixture::click(m_palette, swatch.objectName));
        QCOMPARE(DMainUi::m_pen.color(), QColor(swatch.red, swatch.green, swatch.blue, 255));
        QCOMPARE(m_said.takeLast(), "colour " + DMainUi::m_pen.color().name(QColor::HexArgb));
    }
}

void tst_WidgetPenSelector::lineStyle()
{
    DMainUi::m_curPenType = BtMenus::btPencil;
    m_palette->show();
    const QColor before = DMainUi::m_pen.color();
    QVERIFY(PaletteFixture::click(m_palette, "cutDotLine_2"));
    QVERIFY(PaletteFixture::click(m_palette, "cutDotLine_2"));
    QCOMPARE(m_said, QStringList({ "style 4", "style 4" }));
    QCOMPARE(DMainUi::m_pen.style(), Qt::DashDotLine);
    QCOMPARE(DMainUi::m_pen.color(), before);
    QCOMPARE(previewPen().style(), Qt::DashDotLine);
    QCOMPARE(m_palette->selectedStyleButton(), button("cutDotLine_2"));
    QVERIFY(PaletteFixture::click(m_palette, "solidLine_2"));
    QCOMPARE(m_palette->selectedStyleButton(), button("solidLine_2"));
    // The sheet given back is the button's own, not the mark.
    QCOMPARE(button("cutDotLine_2")->styleSheet(),
             QString("#cutDotLine_2{background-color: rgba(58, 58, 58, 0);border-radius:3px;}"
                     "#cutDotLine_2:hover{background-color: rgb(210, 210, 210);"
                     "border-radius:3px;}"));
    // A pen with no line offers no style: the mark stays.
    DMainUi::m_pen.setStyle(Qt::NoPen);
    m_palette->hide();
    m_palette->show();
    QCOMPARE(m_palette->selectedStyleButton(), button("solidLine_2"));
}

void tst_WidgetPenSelector::sliderDrag()
{
    DMainUi::m_curPenType = BtMenus::btPencil;
    m_palette->show();
    auto *slider = m_palette->findChild<DSliderControl *>("horizontalSlider");
    const int x = qRound(12.6 / 35.0 * slider->width()); // 12.6 of the scale, or just above
    TestSupport::drag(slider, { QPoint(10, 15), QPoint(x, 15) });
    QCOMPARE(m_said.last(), QString("width 12"));
    QCOMPARE(DMainUi::m_pen.width(), 12);
    QCOMPARE(slider->value(), 12.0f); // snapped onto the whole width
    QCOMPARE(previewPen().width(), 12);
}

void tst_WidgetPenSelector::moreColours()
{
    DMainUi::m_curPenType = BtMenus::btHighlighter;
    DMainUi::m_pen.setColor(QColor(1, 2, 3, 100));
    m_palette->show();
    QColor initial;
    auto answered = PaletteFixture::cancelColourDialog(&initial);
    QVERIFY(PaletteFixture::click(m_palette, "pushButton"));
    QVERIFY(*answered);
    QCOMPARE(initial.rgb(), QColor(1, 2, 3).rgb());
    QCOMPARE(m_said, QStringList());
    QCOMPARE(DMainUi::m_pen.color(), QColor(1, 2, 3, 100));

    answered = PaletteFixture::chooseColour(QColor(0, 200, 0));
    QVERIFY(PaletteFixture::click(m_palette, "pushButton"));
    QVERIFY(*answered);
    QCOMPARE(m_said, QStringList{ "colour #ff00c800" });
    QCOMPARE(DMainUi::m_pen.color(), QColor(0, 200, 0, 100));
}

QTEST_MAIN(tst_WidgetPenSelector)
#include "tst_widgetpenselector.moc"
