#include "palettes/palettestyle.h"
#include "palettes/widgetmmiselector.h"
#include "shell/dmainui.h"
#include "support/palettefixture.h"
#include "support/testsupport.h"

#include <QPushButton>
#include <QTest>

class tst_WidgetMMISelector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void init();
    void cleanup();
    void construction();
    void buttonsEmitAndClose_data();
    void buttonsEmitAndClose();
    void openingMarksActiveTool_data();
    void openingMarksActiveTool();
    void tableAgainKeepsMark();

private:
    QWidget *m_board = nullptr;
    WidgetMMISelector *m_palette = nullptr;
    QList<int> m_emitted;
    QString marked() const
    {
        const QString mark = PaletteStyle::markSheet("QPushButton");
        QStringList names;
        for (QPushButton *button : m_palette->findChildren<QPushButton *>())
            if (button->styleSheet() == mark)
                names << button->objectName();
        return names.join(',');
    }
};

void tst_WidgetMMISelector::init()
{
    DMainUi::m_curPenType = BtMenus::btSelect;
    m_board = new QWidget;
    m_palette = new WidgetMMISelector(m_board);
    m_emitted.clear();
    connect(m_palette, &WidgetMMISelector::buttonClicked, this,
            [this](btType bt) { m_emitted << int(bt); });
    m_board->show();
}

void tst_WidgetMMISelector::cleanup()
{
    delete m_board;
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void tst_WidgetMMISelector::construction()
{
    QVERIFY(m_palette->isHidden());
    QCOMPARE(m_palette->windowFlags(), Qt::WindowFlags(Qt::FramelessWindowHint));
    QCOMPARE(PaletteFixture::slotsWithoutButton(m_palette), QStringList());
    m_palette->show();
    QCOMPARE(PaletteFixture::visibleButtons(m_palette).size(), 6);
    QCOMPARE(marked(), QString());
}

void tst_WidgetMMISelector::buttonsEmitAndClose_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("marked");
    QTest::newRow("image") << "image" << 24 << "";
    QTest::newRow("video") << "video" << 25 << "";
    QTest::newRow("sound") << "sound" << 27 << "";
    QTest::newRow("text") << "text" << 28 << "text";
    QTest::newRow("table") << "table" << 29 << "table";
    QTest::newRow("pdf") << "pdf" << 30 << "pdf";
}

void tst_WidgetMMISelector::buttonsEmitAndClose()
{
    QFETCH(QString, button);
    QFETCH(int, command);
    QFETCH(QString, marked);
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, button));
    QCOMPARE(m_emitted, QList<int>{ command });
    QVERIFY(m_palette->isHidden());
    QCOMPARE(this->marked(), marked);
}

void tst_WidgetMMISelector::openingMarksActiveTool_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("marked");
    QTest::newRow("text tool") << int(BtMenus::btText) << "text";
    QTest::newRow("table command") << int(BtMenus::btTable) << "table";
    QTest::newRow("table tool") << int(BtMenus::btTableTool) << "table";
    QTest::newRow("pencil: pdf mark gone") << int(BtMenus::btPencil) << "";
}

void tst_WidgetMMISelector::openingMarksActiveTool()
{
    QFETCH(int, tool);
    QFETCH(QString, marked);
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "pdf"));
    QCOMPARE(this->marked(), QString("pdf"));
    DMainUi::m_curPenType = tool;
    m_palette->show();
    QCOMPARE(this->marked(), marked);
    QCOMPARE(m_emitted, QList<int>{ BtMenus::btPdf }); // opening emits nothing
}

void tst_WidgetMMISelector::tableAgainKeepsMark()
{
    DMainUi::m_curPenType = BtMenus::btTable;
    m_palette->show();
    QCOMPARE(marked(), QString("table"));
    QVERIFY(PaletteFixture::click(m_palette, "table"));
    QCOMPARE(m_emitted, QList<int>{ BtMenus::btTable });
    QCOMPARE(marked(), QString("table"));
    m_palette->show();
    QVERIFY(PaletteFixture::click(m_palette, "image"));
    QCOMPARE(marked(), QString("table"));
}

QTEST_MAIN(tst_WidgetMMISelector)
#include "tst_widgetmmiselector.moc"
