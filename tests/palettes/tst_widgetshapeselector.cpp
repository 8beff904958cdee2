#include "palettes/dslidercontrol.h"
#include "palettes/palettestyle.h"
#include "palettes/widgetshapeselector.h"
#include "shell/dmainui.h"
#include "support/palettefixture.h"
#include "support/testsupport.h"

#include <QFileDialog>
#include <QGraphicsScene>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class tst_WidgetShapeSelector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void construction();
    void openingWithSelectBringsBackLine();
    void openingWithShapeActive();
    void openingWithOtherToolEmitsRemembered_data();
    void openingWithOtherToolEmitsRemembered();
    void shapeClickMarks();
    void firstSwatchColoursFill();
    void borderTarget();
    void greyIsTransparent();
    void gradientAfterBorderAndFill();
    void fillKindsBeforeAnyColour();
    void patternAndPictureFiles_data();
    void patternAndPictureFiles();
    void cancelledFileDialogChangesNothing();
    void lineStyleAndWidth();
    void moreColours();

private:
    QPushButton *button(const char *name) { return m_palette->findChild<QPushButton *>(name); }
    QString sheet(const char *name) { return button(name)->styleSheet(); }
    QPen previewPen() const { return PaletteFixture::previewPen(m_palette->previewScene()); }
    QTemporaryDir m_home;
    QWidget *m_board = nullptr;
    WidgetShapeSelector *m_palette = nullptr;
    QStringList m_said;
};

void tst_WidgetShapeSelector::initTestCase()
{
    TestSupport::recordConnectWarnings();
    // The picture and pattern dialogs start in folders of the user's home.
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    for (const QString &folder : { QStringLiteral("Tramas"), QString::fromUtf8("Imágenes") }) {
        QVERIFY(QDir(m_home.path()).mkpath(folder));
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(Qt::darkCyan);
        QVERIFY(tile.save(m_home.path() + '/' + folder + "/tile.png"));
    }
}

void tst_WidgetShapeSelector::init()
{
    DMainUi::m_curPenType = BtMenus::btSelect;
    DMainUi::m_penShape = QPen(QColor(255, 0, 0), 4);
    m_board = new QWidget;
    m_board->resize(900, 700);
    m_palette = new WidgetShapeSelector(m_board);
    m_said.clear();
    connect(m_palette, &WidgetShapeSelector::buttonClicked, this,
            [this](btType bt) { m_said << QStringLiteral("bt %1").arg(int(bt)); });
    connect(m_palette, &WidgetShapeSelector::colorShpClicked, this,
            [this](const QColor &c) { m_said << "border " + c.name(QColor::HexArgb); });
    connect(m_palette, &WidgetShapeSelector::colorShpFillClicked, this,
            [this](const QColor &c, qint16 kind, const QString &file) {
                QVERIFY(c.isValid()); // an invalid colour would fill with black
                m_said << QStringLiteral("fill %1 %2 %3")
                                  .arg(c.name(QColor::HexArgb))
                                  .arg(kind)
                                  .arg(QFileInfo(file).fileName());
            });
    connect(m_palette, &WidgetShapeSelector::styleShpClicked, this,
            [this](Qt::PenStyle s) { m_said << QStringLiteral("style %1").arg(int(s)); });
    connect(m_palette, &WidgetShapeSelector::widthShpClicked, this,
            [this](int w) { m_said << QStringLiteral("width %1").arg(w); });
    m_board->show();
}

void tst_WidgetShapeSelector::cleanup()
{
    delete m_board;
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void tst_WidgetShapeSelector::construction()
{
    QVERIFY(m_palette->isHidden());
    QCOMPARE(m_palette->windowFlags(), Qt::WindowFlags(Qt::FramelessWindowHint));
    QCOMPARE(m_palette->size(), QSize(410, 340));
    QVERIFY(button("fill")->isHidden());
    QVERIFY(!m_palette->selectedShapeButton());
    QCOMPARE(m_palette->lastShape(), BtMenus::btLine);
    QCOMPARE(m_palette->colorTarget(), qint16(WidgetShapeSelector::TargetFill));
    QCOMPARE(m_palette->lastColor(), QColor(0, 0, 0, 0));
    QCOMPARE(previewPen(), DMainUi::m_penShape);
    QCOMPARE(PaletteFixture::slotsWithoutButton(m_palette), QStringList());
    QVERIFY(sheet("fillcolor").contains("rgba(255, 0, 0, 255)"));
    QVERIFY(sheet("fillcolor").contains("rgb(0, 150, 255)"));
    QVERIFY(m_palette->findChild<QWidget *>("widget_2")->findChildren<QLabel *>().isEmpty());
    QCOMPARE(button("redcolor")->size(), QSize(20, 15));
}

void tst_WidgetShapeSelector::openingWithSelectBringsBackLine()
{
    m_palette->show();
    QCOMPARE(m_said, QStringList{ "bt 72" });
    QCOMPARE(m_palette->selectedShapeButton(), button("line"));
    QCOMPARE(sheet("line"), PaletteStyle::markSheet("QPushButton"));
    QCOMPARE(m_palette->findChild<DSliderControl *>()->value(), 4.0f);
    QCOMPARE(m_palette->selectedStyleButton(), button("solidLine"));
}

void tst_WidgetShapeSelector::openingWithShapeActive()
{
    DMainUi::m_curPenType = BtMenus::btStar;
    m_palette->show();
    QCOMPARE(m_said, QStringList());
    QCOMPARE(m_palette->selectedShapeButton(), button("star"));
    QCOMPARE(m_palette->lastShape(), BtMenus::btStar);
}

void tst_WidgetShapeSelector::openingWithOtherToolEmitsRemembered_data()
{
    QTest::addColumn<int>("tool");
    for (int tool : { 81, 92, 93, 94, 50, 110 })
        QTest::newRow(qPrintable(QString::number(tool))) << tool;
}

void tst_WidgetShapeSelector::openingWithOtherToolEmitsRemembered()
{
    QFETCH(int, tool);
    DMainUi::m_curPenType = BtMenus::btCube;
    m_palette->show();
    m_palette->hide();
    DMainUi::m_curPenType = tool;
    m_palette->show();
    QCOMPARE(m_said, QStringList{ "bt 89" });
    QCOMPARE(m_palette->selectedShapeButton(), button("cube"));
}

void tst_WidgetShapeSelector::shapeClickMarks()
{
    DMainUi::m_curPenType = BtMenus::btLine;
    m_palette->show();
    const QPen before = previewPen();
    QVERIFY(PaletteFixture::click(m_palette, "triangleRectangle"));
    QVERIFY(PaletteFixture::click(m_palette, "ball"));
    QCOMPARE(m_said, QStringList({ "bt 83", "bt 91" }));
    QCOMPARE(m_palette->selectedShapeButton(), button("ball"));
    QCOMPARE(sheet("triangleRectangle"),
             QString("#triangleRectangle{background-color: rgba(58, 58, 58, 0);border-radius:3px;}"
                     "#triangleRectangle:hover{background-color: rgb(210, 210, 210);"
                     "border-radius:3px;}"));
    QCOMPARE(previewPen(), before); // a shape does not redraw the preview
    QVERIFY(m_palette->isVisible());
}

void tst_WidgetShapeSelector::firstSwatchColoursFill()
{
    m_palette->show();
    m_said.clear();
    const QString border = sheet("fillcolor");
    QVERIFY(PaletteFixture::click(m_palette, "greencolor"));
    QCOMPARE(m_said, QStringList{ "fill #ff00f000 0 " });
    QVERIFY(sheet("backcolor").contains("background-color: rgba(0, 240, 0, 255)"));
    QVERIFY(sheet("backcolor").contains("rgb(0, 150, 255)"));
    QCOMPARE(sheet("fillcolor"), border);
    QCOMPARE(DMainUi::m_penShape.color(), QColor(0, 240, 0));
    QCOMPARE(previewPen().color(), QColor(0, 240, 0));
    QCOMPARE(m_palette->lastColor(), QColor(0, 240, 0));
}

void tst_WidgetShapeSelector::borderTarget()
{
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "bluecolor"));
    m_said.clear();
    QVERIFY(PaletteFixture::click(m_palette, "fillcolor"));
    QCOMPARE(m_said, QStringList()); // choosing the target sends nothing
    QVERIFY(PaletteFixture::click(m_palette, "orangecolor"));
    QCOMPARE(m_said, QStringList{ "border #fff07800" });
    QVERIFY(sheet("fillcolor").contains("rgba(240, 120, 0, 255)"));
    QVERIFY(sheet("backcolor").contains("rgba(0, 0, 240, 255)"));
    QCOMPARE(m_palette->colorTarget(), qint16(WidgetShapeSelector::TargetBorder));
}

void tst_WidgetShapeSelector::greyIsTransparent()
{
    m_palette->show();
    m_said.clear();
    QVERIFY(sheet("greycolor").contains("qlineargradient(spread:reflect"));
    QVERIFY(PaletteFixture::click(m_palette, "greycolor"));
    QCOMPARE(m_said, QStringList{ "fill #007f7f7f 0 " });
    QVERIFY(sheet("backcolor").contains("rgba(127, 127, 127, 0)"));
    QCOMPARE(m_palette->lastColor(), QColor(127, 127, 127, 0));
    // Every other swatch is opaque and exactly its colour.
    for (const PaletteStyle::Swatch &swatch : PaletteStyle::kSwatches) {
        if (QByteArray(swatch.objectName) == "greycolor")
            continue;
        QVERIFY(PaletteFixture::click(m_palette, swatch.objectName));
        QCOMPARE(m_palette->lastColor(), PaletteStyle::swatchColour(swatch));
    }
}

void tst_WidgetShapeSelector::gradientAfterBorderAndFill()
{
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "fillcolor"));
    QVERIFY(PaletteFixture::click(m_palette, "redcolor"));
    QVERIFY(PaletteFixture::click(m_palette, "backcolor"));
    QVERIFY(PaletteFixture::click(m_palette, "bluecolor"));
    m_said.clear();
    QVERIFY(PaletteFixture::click(m_palette, "gradcolor"));
    QCOMPARE(m_said, QStringList{ "fill #ff0000f0 1 " });
    const QString gradient = "qradialgradient(cx:0, cy:0, radius:1, fx:0.5, fy:0.5, "
                             "stop:0 rgba(240, 0, 0, 255), stop:1 rgba(0, 0, 240, 255))";
    QVERIFY2(sheet("gradcolor").contains(gradient), qPrintable(sheet("gradcolor")));
    QVERIFY(sheet("backcolor").contains(gradient));
    QVERIFY(!sheet("fillcolor").contains("rgb(0, 150, 255)")); // border no longer marked
}

void tst_WidgetShapeSelector::fillKindsBeforeAnyColour()
{
    m_palette->show();
    m_said.clear();
    QVERIFY(PaletteFixture::click(m_palette, "backcolor"));
    QVERIFY(PaletteFixture::click(m_palette, "gradcolor"));
    QCOMPARE(m_said, QStringList({ "fill #00000000 0 ", "fill #00000000 1 " }));
}

void tst_WidgetShapeSelector::patternAndPictureFiles_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("kind");
    QTest::newRow("pattern") << "tramcolor"
                             << "Tramas" << 3;
    QTest::newRow("picture") << "imgcolor" << QString::fromUtf8("Imágenes") << 2;
}

void tst_WidgetShapeSelector::patternAndPictureFiles()
{
    QFETCH(QString, button);
    QFETCH(QString, folder);
    QFETCH(int, kind);
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "pinkcolor"));
    m_said.clear();
    QString startedIn;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        startedIn = files->directory().absolutePath();
        TestSupport::typeFileName(files, m_home.path() + '/' + folder + "/tile.png");
        QMetaObject::invokeMethod(files, "accept");
    });
    QVERIFY(PaletteFixture::click(m_palette, button));
    QVERIFY(*answered);
    QVERIFY(TestSupport::picturesCome()); // the choice holds once its picture is read
    QCOMPARE(startedIn, m_home.path() + '/' + folder);
    QCOMPARE(m_said, QStringList{ QStringLiteral("fill #fff000b4 %1 tile.png").arg(kind) });
    QCOMPARE(m_palette->fileFillName(), m_home.path() + '/' + folder + "/tile.png");
    QVERIFY(sheet(qPrintable(button)).contains("rgb(0, 150, 255)"));
}

void tst_WidgetShapeSelector::cancelledFileDialogChangesNothing()
{
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "gradcolor"));
    m_said.clear();
    QStringList sheets;
    for (const char *name : { "fillcolor", "backcolor", "gradcolor", "imgcolor", "tramcolor" })
        sheets << sheet(name);
    for (const char *name : { "tramcolor", "imgcolor" }) {
        auto answered = TestSupport::answerNextModal(
                [](QWidget *dialog) { qobject_cast<QFileDialog *>(dialog)->reject(); });
        QVERIFY(PaletteFixture::click(m_palette, name));
        QVERIFY(*answered);
    }
    QCOMPARE(m_said, QStringList());
    QCOMPARE(m_palette->fileFillName(), QString());
    QStringList after;
    for (const char *name : { "fillcolor", "backcolor", "gradcolor", "imgcolor", "tramcolor" })
        after << sheet(name);
    QCOMPARE(after, sheets);
}

void tst_WidgetShapeSelector::lineStyleAndWidth()
{
    DMainUi::m_curPenType = BtMenus::btRectangle;
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "cutDotLine"));
    QCOMPARE(m_said, QStringList{ "style 4" });
    QCOMPARE(DMainUi::m_penShape.style(), Qt::DashDotLine);
    QCOMPARE(DMainUi::m_penShape.color(), QColor(255, 0, 0));
    QCOMPARE(previewPen().style(), Qt::DashDotLine);
    QCOMPARE(m_palette->selectedStyleButton(), button("cutDotLine"));
    m_said.clear();
    auto *slider = m_palette->findChild<DSliderControl *>("horizontalSlider");
    const int x = slider->width() / 2;
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 15));
    const int width = int(float(x) / float(slider->width()) * 35.0f);
    QCOMPARE(m_said,
             QStringList({ QStringLiteral("width %1").arg(width),
                           QStringLiteral("width %1").arg(width) }));
    QCOMPARE(DMainUi::m_penShape.width(), width);
    QCOMPARE(previewPen().width(), width);
}

void tst_WidgetShapeSelector::moreColours()
{
    DMainUi::m_penShape.setColor(QColor(9, 8, 7));
    m_palette->show();
    m_said.clear();
    QColor initial;
    auto answered = PaletteFixture::cancelColourDialog(&initial);
    QVERIFY(PaletteFixture::click(m_palette, "pushButton"));
    QVERIFY(*answered);
    QCOMPARE(initial, QColor(9, 8, 7));
    QCOMPARE(m_said, QStringList());
    QCOMPARE(m_palette->lastColor(), QColor(0, 0, 0, 0));
    answered = PaletteFixture::chooseColour(QColor(50, 60, 70));
    QVERIFY(PaletteFixture::click(m_palette, "pushButton"));
    QVERIFY(*answered);
    QCOMPARE(m_said, QStringList{ "fill #ff323c46 0 " });
    QCOMPARE(m_palette->lastColor(), QColor(50, 60, 70));
}

QTEST_MAIN(tst_WidgetShapeSelector)
#include "tst_widgetshapeselector.moc"
