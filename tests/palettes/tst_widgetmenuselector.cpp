#include "palettes/widgetmenuselector.h"
#include "shell/globals.h"
#include "support/palettefixture.h"
#include "support/testsupport.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(BtMenus::btType)
Q_DECLARE_METATYPE(BtMenus::eInterfaceMode)

class tst_WidgetMenuSelector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void startsOnMainPage();
    void everySlotHasItsButton();
    void commands_data();
    void commands();
    void multiUserSwitchesStyleFirst();
    void interfaceStylesStayOpen();
    void pageHeightsAndOffsets_data();
    void pageHeightsAndOffsets();
    void restarMenuReturnsToMainPage();
    void decorationRows();

private:
    struct Recorder;
};

// Everything the palette says, in order, as text ("bt 4", "style 3").
struct tst_WidgetMenuSelector::Recorder
{
    QStringList said;
    explicit Recorder(WidgetMenuSelector &palette)
    {
        QObject::connect(&palette, &WidgetMenuSelector::buttonClicked,
                         [this](btType bt) { said << QStringLiteral("bt %1").arg(int(bt)); });
        QObject::connect(&palette, &WidgetMenuSelector::changeInterface, [this](eInterfaceMode m) {
            said << QStringLiteral("style %1").arg(int(m));
        });
    }
};

using PaletteFixture::visibleButtons;

static void click(WidgetMenuSelector &palette, const char *name)
{
    PaletteFixture::click(&palette, QLatin1String(name));
}

void tst_WidgetMenuSelector::initTestCase()
{
    TestSupport::recordConnectWarnings();
}

void tst_WidgetMenuSelector::cleanup()
{
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

void tst_WidgetMenuSelector::startsOnMainPage()
{
    QWidget toolbar;
    WidgetMenuSelector palette(&toolbar);
    QVERIFY(palette.isHidden());
    QVERIFY(!palette.isWindow()); // a child panel laid over its parent, not a window of its own
    QCOMPARE(palette.windowFlags(), Qt::WindowFlags(Qt::FramelessWindowHint));
    QVERIFY(palette.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(palette.minimumSize(), QSize(210, 355));
    QCOMPARE(palette.maximumSize(), QSize(210, 355));
    QCOMPARE(palette.currentSize(), WidgetMenuSelector::szPrincipal);
    const QStringList main = { "newFile",    "openFile", "saveFile", "saveAsFile",
                               "exportFile", "language", "settings", "multiuser",
                               "interfaces", "version",  "exit" };
    QCOMPARE(visibleButtons(&palette), main);
    auto *version = palette.findChild<QPushButton *>("version");
    QCOMPARE(version->text(), QString::fromUtf8("Versión: 0.24 BETA") + g_strAppVersion);
    QVERIFY(version->text().endsWith("BETA1.23"));
}

void tst_WidgetMenuSelector::everySlotHasItsButton()
{
    WidgetMenuSelector palette;
    int slotCount = 0;
    QCOMPARE(PaletteFixture::slotsWithoutButton(&palette, &slotCount), QStringList());
    QCOMPARE(slotCount, 25);
}

void tst_WidgetMenuSelector::commands_data()
{
    QTest::addColumn<QStringList>("path"); // buttons clicked in order
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("new") << QStringList{ "newFile" } << QStringList{ "bt 2" } << true;
    QTest::newRow("open") << QStringList{ "openFile" } << QStringList{ "bt 3" } << true;
    QTest::newRow("save") << QStringList{ "saveFile" } << QStringList{ "bt 4" } << true;
    QTest::newRow("save as") << QStringList{ "saveAsFile" } << QStringList{ "bt 5" } << true;
    QTest::newRow("settings") << QStringList{ "settings" } << QStringList{ "bt 19" } << true;
    QTest::newRow("exit stays") << QStringList{ "exit" } << QStringList{ "bt 23" } << false;
    QTest::newRow("version says nothing") << QStringList{ "version" } << QStringList{} << false;
    const char *formats[][2] = { { "pdffile", "bt 11" },
                                 { "bmpfile", "bt 7" },
                                 { "jpgfile", "bt 8" },
                                 { "pngfile", "bt 9" },
                                 { "tifffile", "bt 10" } };
    for (const auto &format : formats)
        QTest::newRow(format[0]) << QStringList{ "exportFile", format[0] }
                                 << QStringList{ format[1] } << true;
    const char *languages[][2] = { { "english", "bt 12" }, { "spanish", "bt 13" },
                                   { "russian", "bt 14" }, { "portuguese", "bt 15" },
                                   { "french", "bt 16" },  { "german", "bt 17" } };
    for (const auto &language : languages)
        QTest::newRow(language[0])
                << QStringList{ "language", language[0] } << QStringList{ language[1] } << true;
}

void tst_WidgetMenuSelector::commands()
{
    QFETCH(QStringList, path);
    QFETCH(QStringList, said);
    QFETCH(bool, hidden);
    WidgetMenuSelector palette;
    Recorder recorder(palette);
    palette.show();
    for (const QString &name : path)
        click(palette, qPrintable(name));
    QCOMPARE(recorder.said, said);
    QCOMPARE(palette.isHidden(), hidden);
    // Whatever was chosen, the next opening shows the main page.
    QVERIFY(visibleButtons(&palette).contains("newFile"));
    QCOMPARE(palette.maximumHeight(), 355);
}

void tst_WidgetMenuSelector::multiUserSwitchesStyleFirst()
{
    WidgetMenuSelector palette;
    Recorder recorder(palette);
    palette.show();
    click(palette, "multiuser");
    QCOMPARE(recorder.said, QStringList({ "style 3", "bt 6" }));
    QVERIFY(palette.isVisible());
}

void tst_WidgetMenuSelector::interfaceStylesStayOpen()
{
    WidgetMenuSelector palette;
    Recorder recorder(palette);
    palette.show();
    click(palette, "interfaces");
    QCOMPARE(visibleButtons(&palette), QStringList({ "backLng", "standard", "kids", "classic" }));
    click(palette, "standard");
    click(palette, "kids");
    click(palette, "classic");
    QCOMPARE(recorder.said, QStringList({ "style 0", "style 1", "style 2" }));
    QVERIFY(palette.isVisible());
    QCOMPARE(palette.maximumHeight(), 145);
}

void tst_WidgetMenuSelector::pageHeightsAndOffsets_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("above");
    QTest::addColumn<QStringList>("page");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("moveDown");
    QTest::addColumn<int>("moveBackUp");
    const QStringList languages = { "backLng",    "english", "spanish", "russian",
                                    "portuguese", "french",  "german" };
    const QStringList formats = {
        "backLng", "pdffile", "bmpfile", "jpgfile", "pngfile", "tifffile"
    };
    const QStringList styles = { "backLng", "standard", "kids", "classic" };
    QTest::newRow("languages above") << "language" << true << languages << 250 << 95 << 20;
    QTest::newRow("formats above") << "exportFile" << true << formats << 215 << 140 << 65;
    QTest::newRow("styles above") << "interfaces" << true << styles << 145 << 210 << 0;
    QTest::newRow("languages below") << "language" << false << languages << 250 << 0 << 0;
    QTest::newRow("formats below") << "exportFile" << false << formats << 215 << 0 << 0;
    QTest::newRow("styles below") << "interfaces" << false << styles << 145 << 0 << 0;
}

void tst_WidgetMenuSelector::pageHeightsAndOffsets()
{
    QFETCH(QString, opener);
    QFETCH(bool, above);
    QFETCH(QStringList, page);
    QFETCH(int, height);
    QFETCH(int, moveDown);
    QFETCH(int, moveBackUp);
    QWidget board;
    board.resize(1200, 900);
    WidgetMenuSelector palette;
    palette.setParent(&board); // as the main window re-parents it
    if (above)
        palette.setBottonLabel();
    else
        palette.setTopLabel();
    palette.setGeometry(100, 400, 210, 355);
    board.show();
    palette.show();

    click(palette, qPrintable(opener));
    QCOMPARE(visibleButtons(&palette), page);
    QCOMPARE(palette.height(), height);
    QCOMPARE(palette.y(), 400 + moveDown);
    QCOMPARE(palette.x(), 100);

    click(palette, "backLng");
    QCOMPARE(palette.height(), 355);
    QCOMPARE(palette.y(), 400 + moveDown - moveBackUp);
    QVERIFY(visibleButtons(&palette).contains("exit"));
    QVERIFY(!visibleButtons(&palette).contains("backLng"));
}

void tst_WidgetMenuSelector::restarMenuReturnsToMainPage()
{
    WidgetMenuSelector palette;
    palette.show();
    click(palette, "language");
    palette.hide(); // the toolbar closes it
    palette.restarMenu();
    QCOMPARE(visibleButtons(&palette).size(), 11);
    QVERIFY(!visibleButtons(&palette).contains("backLng"));
    QCOMPARE(palette.maximumHeight(), 355);
    QCOMPARE(palette.currentSize(), WidgetMenuSelector::szLng); // the last sub-page is kept
    palette.changeSize(WidgetMenuSelector::eSize(7)); // nonsense: nothing happens
    QCOMPARE(palette.maximumHeight(), 355);
}

void tst_WidgetMenuSelector::decorationRows()
{
    WidgetMenuSelector palette;
    palette.setBottonLabel();
    QVERIFY(palette.findChild<QWidget *>("widget_4")->isHidden());
    QVERIFY(!palette.findChild<QWidget *>("widget_2")->isHidden());
    QVERIFY(!palette.opensBelowToolbar());
    palette.setTopLabel();
    QVERIFY(!palette.findChild<QWidget *>("widget_4")->isHidden());
    QVERIFY(palette.findChild<QWidget *>("widget_2")->isHidden());
    QVERIFY(palette.opensBelowToolbar());
}

QTEST_MAIN(tst_WidgetMenuSelector)
#include "tst_widgetmenuselector.moc"
