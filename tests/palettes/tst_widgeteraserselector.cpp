#include "palettes/palettestyle.h"
#include "palettes/widgeteraserselector.h"
#include "shell/dmainui.h"
#include "support/palettefixture.h"
#include "support/testsupport.h"

#include <QPushButton>
#include <QTest>

class tst_WidgetEraserSelector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void init();
    void cleanup();
    void construction();
    void openingWithOtherToolSelectsObjectEraser();
    void openingWithEraserActiveOnlyMarks();
    void pageEraserLeavesMark();
    void objectEraserTwice();
    void decorationRows();

private:
    QWidget *m_board = nullptr;
    WidgetEraserSelector *m_palette = nullptr;
    QList<int> m_emitted;
    QPushButton *button(const char *name) { return m_palette->findChild<QPushButton *>(name); }
    bool isMarked(const char *name)
    {
        return button(name)->styleSheet() == PaletteStyle::markSheet("QPushButton");
    }
    void open()
    {
        m_palette->hide();
        m_palette->show();
    }
};

void tst_WidgetEraserSelector::init()
{
    DMainUi::m_curPenType = BtMenus::btSelect;
    m_board = new QWidget;
    m_board->resize(400, 400);
    m_palette = new WidgetEraserSelector(m_board);
    m_emitted.clear();
    connect(m_palette, &WidgetEraserSelector::buttonClicked, this,
            [this](btType bt) { m_emitted << int(bt); });
    m_board->show();
}

void tst_WidgetEraserSelector::cleanup()
{
    delete m_board;
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void tst_WidgetEraserSelector::construction()
{
    QVERIFY(m_palette->isHidden());
    QCOMPARE(m_palette->windowFlags(), Qt::WindowFlags(Qt::FramelessWindowHint));
    QCOMPARE(m_palette->size(), QSize(60, 120));
    QVERIFY(!m_palette->selectedButton()); // nothing marked before the first opening
    QCOMPARE(PaletteFixture::slotsWithoutButton(m_palette), QStringList());
    m_palette->show();
    QCOMPARE(PaletteFixture::visibleButtons(m_palette),
             QStringList({ "pageeraser", "objecteraser" }));
    QVERIFY(!button("bitmaperaser")->isEnabled());
}

void tst_WidgetEraserSelector::openingWithOtherToolSelectsObjectEraser()
{
    DMainUi::m_curPenType = BtMenus::btPencil;
    const QString ownSheet = button("objecteraser")->styleSheet();
    m_palette->show();
    QCOMPARE(m_emitted, QList<int>{ BtMenus::btObjectEraser });
    QVERIFY(isMarked("objecteraser"));
    // A forced re-mark must not save the mark as the button's own sheet.
    DMainUi::m_curPenType = BtMenus::btPencil;
    open();
    DMainUi::m_curPenType = BtMenus::btBitmapEraser;
    open();
    QCOMPARE(button("objecteraser")->styleSheet(), ownSheet);
    QVERIFY(isMarked("bitmaperaser"));
}

void tst_WidgetEraserSelector::openingWithEraserActiveOnlyMarks()
{
    DMainUi::m_curPenType = BtMenus::btObjectEraser;
    m_palette->show();
    QVERIFY(m_emitted.isEmpty());
    QVERIFY(isMarked("objecteraser"));
    open();
    QVERIFY(m_emitted.isEmpty());
    QVERIFY(isMarked("objecteraser"));
}

void tst_WidgetEraserSelector::pageEraserLeavesMark()
{
    DMainUi::m_curPenType = BtMenus::btObjectEraser;
    m_palette->show();
    const QString pageSheet = button("pageeraser")->styleSheet();
    QVERIFY(PaletteFixture::click(m_palette, "pageeraser"));
    QCOMPARE(m_emitted, QList<int>{ BtMenus::btCleanPage });
    QVERIFY(isMarked("objecteraser"));
    QCOMPARE(button("pageeraser")->styleSheet(), pageSheet);
    QVERIFY(m_palette->isVisible()); // stays open
}

void tst_WidgetEraserSelector::objectEraserTwice()
{
    DMainUi::m_curPenType = BtMenus::btObjectEraser;
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "objecteraser"));
    QVERIFY(PaletteFixture::click(m_palette, "objecteraser"));
    QCOMPARE(m_emitted, QList<int>({ BtMenus::btObjectEraser, BtMenus::btObjectEraser }));
    QVERIFY(isMarked("objecteraser"));
    const QColor drawn = PaletteFixture::drawnBackground(button("objecteraser"));
    QVERIFY2(drawn.blue() > drawn.red() + 100,
             qPrintable(drawn.name())); // blue, not the grey of the others
}

void tst_WidgetEraserSelector::decorationRows()
{
    m_palette->setBottonLabel();
    m_palette->show();
    QVERIFY(!m_palette->findChild<QWidget *>("widget_4")->isVisible());
    const QWidget *bottom = m_palette->findChild<QWidget *>("widget_2");
    QVERIFY(bottom->isVisible());
    QCOMPARE(bottom->geometry().bottom(), 119); // 100 of panel and 20 of arrow fill the 120
    m_palette->setTopLabel();
    QVERIFY(m_palette->findChild<QWidget *>("widget_4")->isVisible());
    QVERIFY(!bottom->isVisible());
}

QTEST_MAIN(tst_WidgetEraserSelector)
#include "tst_widgeteraserselector.moc"
