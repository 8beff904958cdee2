#include "palettes/palettestyle.h"
#include "palettes/widgetmenuselector.h"
#include "palettes/widgetpageselector.h"
#include "shell/dmainui.h"
#include "shell/mainform.h"
#include "support/palettefixture.h"
#include "support/testsupport.h"

#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace {

// Empty when the zoom display shows its text whole, clear of its edges and in the middle of
// it from top to bottom; otherwise what is wrong. Whole: the ink on screen has the size of the
// same text drawn in the same face with nothing around to cut it.
QString readOutFault(QTextEdit *display)
{
    QWidget *box = display->viewport();
    const QRect shown = TestSupport::darkBounds(box->grab().toImage(), 160);
    // The same document laid out again with room all round, drawn as the box draws it.
    std::unique_ptr<QTextDocument> copy(display->document()->clone());
    copy->setDocumentMargin(40);
    copy->setTextWidth(-1);
    QImage alone(copy->size().toSize(), QImage::Format_ARGB32_Premultiplied);
    alone.fill(Qt::white);
    {
        QPainter painter(&alone);
        copy->drawContents(&painter);
    }
    const QRect whole = TestSupport::darkBounds(alone, 160);
    const QString where = QString::asprintf(" %s: ink at %d,%d %dx%d, whole %dx%d, in a box %dx%d",
                                            qPrintable(display->toPlainText()), shown.x(),
                                            shown.y(), shown.width(), shown.height(), whole.width(),
                                            whole.height(), box->width(), box->height());
    if (qAbs(shown.width() - whole.width()) > 1 || qAbs(shown.height() - whole.height()) > 1)
        return QStringLiteral("cut") + where;
    if (!box->rect().adjusted(1, 1, -1, -1).contains(shown))
        return QStringLiteral("on the edge") + where;
    if (qAbs(shown.top() - (box->height() - 1 - shown.bottom())) > 2)
        return QStringLiteral("not in the middle") + where;
    return QString();
}

} // namespace

class tst_WidgetPageSelector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void init();
    void cleanup();
    void construction();
    void commands_data();
    void commands();
    void dragMarkSurvivesOtherButtons();
    void openingMarksDragOnlyWhileDragging();
    void zoomFollowsView_data();
    void zoomFollowsView();
    void zoomButtonsShowTheWholeZoom_data();
    void zoomButtonsShowTheWholeZoom();
    void swatches();
    void moreColours();
    void decorationRows();

private:
    QWidget *m_board = nullptr;
    WidgetPageSelector *m_palette = nullptr;
    QList<int> m_emitted;
    QList<QColor> m_colours;
    bool dragMarked() const
    {
        return m_palette->findChild<QPushButton *>("baDragPage")->styleSheet()
                == PaletteStyle::markSheet("QPushButton");
    }
};

void tst_WidgetPageSelector::init()
{
    DMainUi::m_curPenType = BtMenus::btSelect;
    m_board = new QWidget;
    m_board->resize(800, 600);
    m_palette = new WidgetPageSelector(m_board);
    m_emitted.clear();
    m_colours.clear();
    connect(m_palette, &WidgetPageSelector::buttonClicked, this,
            [this](btType bt) { m_emitted << int(bt); });
    connect(m_palette, &WidgetPageSelector::colorClicked, this,
            [this](const QColor &colour) { m_colours << colour; });
    m_board->show();
}

void tst_WidgetPageSelector::cleanup()
{
    delete m_board;
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void tst_WidgetPageSelector::construction()
{
    QVERIFY(m_palette->isHidden());
    QCOMPARE(m_palette->windowFlags(), Qt::WindowFlags(Qt::FramelessWindowHint));
    QCOMPARE(m_palette->size(), QSize(355, 170));
    QCOMPARE(m_palette->minimumHeight(), 170);
    QCOMPARE(m_palette->maximumHeight(), 190);
    QVERIFY(!m_palette->selectedButton());
    QCOMPARE(PaletteFixture::slotsWithoutButton(m_palette), QStringList());
    auto *display = m_palette->findChild<QTextEdit *>("pagexample");
    QCOMPARE(display->toPlainText(), QString("100%"));
    QVERIFY(display->isReadOnly());
    QCOMPARE(display->currentFont().family(), QString("Arial"));
    QVERIFY(display->currentFont().pointSize() <= 29); // smaller where 29 points do not fit
}

void tst_WidgetPageSelector::commands_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("command");
    const QPair<const char *, int> buttons[] = {
        { "baZoomIn", 103 },       { "baZoomOut", 104 },        { "baDragPage", 99 },
        { "baMoveBackPage", 100 }, { "baColorPage", 95 },       { "baImagePage", 96 },
        { "baCapturePage", 98 },   { "baTransparentPage", 97 }, { "baCleanPage", 101 },
        { "baDelPage", 102 },
    };
    for (const auto &button : buttons)
        QTest::newRow(button.first) << QString(button.first) << button.second;
}

void tst_WidgetPageSelector::commands()
{
    QFETCH(QString, button);
    QFETCH(int, command);
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, button));
    QCOMPARE(m_emitted, QList<int>{ command });
    QVERIFY(m_palette->isVisible()); // stays open; the shell closes it
    QCOMPARE(dragMarked(), button == "baDragPage");
}

void tst_WidgetPageSelector::dragMarkSurvivesOtherButtons()
{
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "baDragPage"));
    QVERIFY(PaletteFixture::click(m_palette, "baDragPage"));
    QVERIFY(PaletteFixture::click(m_palette, "baColorPage"));
    QCOMPARE(m_emitted, QList<int>({ 99, 99, 95 }));
    QVERIFY(dragMarked());
    const QColor drawn =
            PaletteFixture::drawnBackground(m_palette->findChild<QPushButton *>("baDragPage"));
    QVERIFY2(drawn.blue() > drawn.red() + 100, qPrintable(drawn.name()));
}

void tst_WidgetPageSelector::openingMarksDragOnlyWhileDragging()
{
    DMainUi::m_curPenType = BtMenus::btDragPage;
    m_palette->show();
    QVERIFY(dragMarked());
    QVERIFY(m_emitted.isEmpty());
    m_palette->hide();
    DMainUi::m_curPenType = BtMenus::btPencil;
    m_palette->show();
    QVERIFY(!dragMarked());
    QVERIFY(!m_palette->selectedButton());
}

void tst_WidgetPageSelector::zoomFollowsView_data()
{
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QString>("shown");
    QTest::newRow("unzoomed") << 1.0f << "100%";
    QTest::newRow("in once") << 1.1f << "110%";
    QTest::newRow("in twice") << 1.21f << "121%";
    QTest::newRow("out once") << 0.90909094f << "91%";
    QTest::newRow("far out") << 0.05f << "5%";
    QTest::newRow("far in") << 4.0f << "400%";
    QTest::newRow("smallest the board allows") << 0.38554329f << "39%";
    QTest::newRow("two digits") << 0.5f << "50%";
    QTest::newRow("five digits") << 490.37f << "49037%";
    QTest::newRow("largest a float holds")
            << std::numeric_limits<float>::max()
            << QString::number(double(std::numeric_limits<float>::max()) * 100.0, 'f', 0) + "%";
    QTest::newRow("broken factor keeps 150%") << std::numeric_limits<float>::quiet_NaN() << "150%";
    QTest::newRow("infinite keeps 150%") << std::numeric_limits<float>::infinity() << "150%";
}

void tst_WidgetPageSelector::zoomFollowsView()
{
    QFETCH(float, zoom);
    QFETCH(QString, shown);
    m_palette->show(); // laid out: the display has its own size
    m_palette->updateExample(1.5f);
    // The view's signal reaches the slot through a string connection, as the main window makes it.
    QVERIFY(QMetaObject::invokeMethod(m_palette, "updateExample", Q_ARG(float, zoom)));
    auto *display = m_palette->findChild<QTextEdit *>("pagexample");
    QCOMPARE(display->toPlainText(), shown);
    QTextCursor cursor(display->document());
    cursor.movePosition(QTextCursor::End);
    const QFont face = cursor.charFormat().font();
    QCOMPARE(face.family(), QString("Arial"));
    // Inside its box, clear of the rounded corners: at 29 points when that fits, smaller when
    // not ("100%" ran out of the box to the left).
    QVERIFY2(display->document()->idealWidth() <= display->viewport()->width() - 8,
             qPrintable(QStringLiteral("%1 pt: %2 in %3 px")
                                .arg(face.pointSize())
                                .arg(display->document()->idealWidth())
                                .arg(display->viewport()->width())));
    QVERIFY(face.pointSizeF() <= 29);
    const QString fault = readOutFault(display);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    const Qt::Alignment alignment = display->document()->firstBlock().blockFormat().alignment();
    QCOMPARE(alignment & Qt::AlignHorizontal_Mask, Qt::Alignment(Qt::AlignHCenter));
}

// The read-out as the teacher sees it: the main window in one interface style, its page
// palette opened from the toolbar and the zoom changed by the palette's own buttons.
void tst_WidgetPageSelector::zoomButtonsShowTheWholeZoom_data()
{
    QTest::addColumn<QString>("style"); // the menu's button for it
    QTest::addColumn<QString>("pageButton"); // the toolbar's page button in that style
    QTest::addColumn<QString>("zoomButton");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("shown");
    const QPair<const char *, const char *> styles[] = {
        { "standard", "baExpandPageBotton" },
        { "kids", "baExpandPageBottonI" },
    };
    for (const auto &style : styles) {
        const auto row = [&](const char *name) -> QTestData & {
            return QTest::addRow("%s: %s", style.first, name) << style.first << style.second;
        };
        row("out once") << "baZoomOut" << 1 << "91%";
        // The tenth step out is the last the board takes.
        row("out to the smallest") << "baZoomOut" << 11 << "39%";
        row("in twice") << "baZoomIn" << 2 << "121%";
        // The forty-third step in is the last the board takes.
        row("in far") << "baZoomIn" << 50 << "6024%";
    }
}

void tst_WidgetPageSelector::zoomButtonsShowTheWholeZoom()
{
    QFETCH(QString, style);
    QFETCH(QString, pageButton);
    QFETCH(QString, zoomButton);
    QFETCH(int, clicks);
    QFETCH(QString, shown);
    qApp->setQuitOnLastWindowClosed(false);
    MainForm window;
    DMainUi *toolbar = window.mainUi();
    QVERIFY(PaletteFixture::click(toolbar, "baExpandMenuBotton"));
    QVERIFY(PaletteFixture::click(toolbar->menuSelector(), "interfaces"));
    QVERIFY(PaletteFixture::click(toolbar->menuSelector(), style));
    QVERIFY(PaletteFixture::click(toolbar, pageButton));
    WidgetPageSelector *palette = toolbar->pageSelector();
    QVERIFY(palette->isVisible());
    for (int i = 0; i < clicks; ++i)
        QVERIFY(PaletteFixture::click(palette, zoomButton));
    auto *display = palette->findChild<QTextEdit *>("pagexample");
    QCOMPARE(display->toPlainText(), shown);
    const QString fault = readOutFault(display);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void tst_WidgetPageSelector::swatches()
{
    m_palette->show();
    for (const PaletteStyle::Swatch &swatch : PaletteStyle::kSwatches) {
        QVERIFY(PaletteFixture::click(m_palette, swatch.objectName));
        QCOMPARE(m_colours.takeLast(),
                 QColor(swatch.red, swatch.green, swatch.blue, 255)); // grey too is opaque here
    }
    QVERIFY(m_colours.isEmpty());
    QVERIFY(m_emitted.isEmpty());
}

void tst_WidgetPageSelector::moreColours()
{
    DMainUi::m_pen = QPen(QColor(10, 20, 30));
    m_palette->show();
    QColor initial;
    auto answered = PaletteFixture::cancelColourDialog(&initial);
    QVERIFY(PaletteFixture::click(m_palette, "pushButton"));
    QVERIFY(*answered);
    QCOMPARE(initial, QColor(10, 20, 30)); // the pen's colour, not the page's
    QVERIFY(m_colours.isEmpty()); // cancelled: nothing

    answered = PaletteFixture::chooseColour(QColor(1, 2, 3));
    QVERIFY(PaletteFixture::click(m_palette, "pushButton"));
    QVERIFY(*answered);
    QCOMPARE(m_colours, QList<QColor>{ QColor(1, 2, 3) });
}

void tst_WidgetPageSelector::decorationRows()
{
    m_palette->setBottonLabel();
    m_palette->show();
    QVERIFY(!m_palette->findChild<QWidget *>("widget_10")->isVisible());
    QVERIFY(m_palette->findChild<QWidget *>("widget_2")->isVisible());
    m_palette->setTopLabel();
    QVERIFY(m_palette->findChild<QWidget *>("widget_10")->isVisible());
    QVERIFY(!m_palette->findChild<QWidget *>("widget_2")->isVisible());
    QCOMPARE(m_palette->findChild<QWidget *>("widget_3")->geometry(), QRect(0, 20, 355, 150));
}

QTEST_MAIN(tst_WidgetPageSelector)
#include "tst_widgetpageselector.moc"
