#include "shell/dmainuiform.h"
#include "support/testsupport.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QToolButton>
#include <QtTest>

// The toolbar form against an expectation list of its own: every button with its fixed size, icon
// size, icon, tooltip and text; the frames and panels with their sizes; what each row holds.
namespace {

// name | width x height | icon size | icon ("-": none) | tooltip ("-": none) | text
const char kButtonRows[] = R"(
baExpandMenuBottonC|30x30|30|:/oldIcon/bBottom-C.png|Menú|
m_pDesktopC|30x30|30|:/oldIcon/bCenter-C.png|Escritorio|
m_pSelectC|30x30|30|:/oldIcon/bTop-C.png|Seleccionar|
m_pUndoC|30x30|30|:/oldIcon/bLeft-C.png|Deshacer|
m_pRedoC|30x30|30|:/oldIcon/bRight-C.png|Rehacer|
m_pPagesC|41x41|25|:/oldIcon/baExpandNewPage.png|Páginas|1 / 1
m_pPenC|41x41|40|:/oldIcon/pen.png|Pinceles|
m_pShapeC|41x41|40|:/oldIcon/baExpandShapeBotton.png|Figuras|
m_pEraserC|41x41|40|:/oldIcon/baEraser.png|Borradores|
m_pMMIC|41x41|40|:/oldIcon/baExpandInsertFromFileBotton.png|Objectos multimedia|
m_pPageAC|41x41|40|:/oldIcon/baExpandPageOperationsBotton.png|Acciones de página|
m_pToolsC|41x41|40|:/oldIcon/baExpandTools.png|Herramientas|
m_pResourcesC|41x41|40|:/oldIcon/baLoadResources.png|Recursos|
m_pWhitePageC|41x41|40|:/oldIcon/baNewWhitePage.png|Página blanca|
m_pTransPageC|41x41|40|:/oldIcon/baNewTransPage.png|Página Transparente|
m_pScreenPageC|41x41|40|:/oldIcon/baNewColorPage.png|Página de captura|
m_pImagePageC|41x41|40|:/oldIcon/baNewImagePage.png|Página de imagen|
m_pCleanPageC_2|41x41|40|:/oldIcon/baClearPage.png|Limpiar página|
m_pRemovePageC|41x41|40|:/oldIcon/baDelPage.png|Eliminar página|
m_pPencilC|41x41|40|:/oldIcon/baExpandPenBotton.png|Lápiz|
m_pHighlighterC|41x41|40|:/oldIcon/baHighlightPen.png|Subrayador|
m_pFountainC|41x41|40|:/oldIcon/baSoftPen.png|Estilográfico|
m_pSmartPenC|41x41|40|:/Icon/baSmartPen.png|Lápiz Inteligente|
m_pObjEraserC|41x41|40|:/oldIcon/baEraser.png|Borrador de objeto|
m_pEraserLC|41x41|40|-|Borrador grande|
m_pEraserMC|41x41|40|:/oldIcon/baEraserBitmapMedium.png|Borrador mediano|
m_pEraserSC|41x41|40|:/oldIcon/baEraserBitmapSmall.png|Borrador pequeño|
m_pLineC|41x41|40|:/oldIcon/baLine.png|Línea|
m_pTRectC|41x41|40|:/oldIcon/baTriangleRectangular.png|Triángulo rectangulo|
m_pEllipseC|41x41|40|:/oldIcon/baEllipse.png|Ellipse|
m_pPentagonC|41x41|40|:/oldIcon/baPolygon.png|Pentágono|
m_pHexagonC|41x41|40|:/oldIcon/baDrawSexangle.png|Hexágono|
m_pArrowC|41x41|40|:/oldIcon/baArrow.png|Flecha|
m_pCubeC|41x41|40|:/oldIcon/baCube.png|Cubo|
m_pConeC|41x41|40|:/oldIcon/baCone.png|Cono|
m_pParallelogramC|41x41|40|:/oldIcon/baDrawParallelogram.png|-|
m_pTriangleC|41x41|40|:/oldIcon/baTriangle.png|Triángulo|
m_pSquareC|41x41|40|:/oldIcon/baRect.png|Cuadrado|
m_pCircleC|41x41|40|:/oldIcon/baCircle.png|Círculo|
m_pFiveStarC|41x41|40|:/oldIcon/baFiveStar.png|Estrella|
m_pRhombusC|41x41|40|:/oldIcon/baRhombus.png|Rombo|
m_pDArrowC|41x41|40|:/oldIcon/baDoubleArrow.png|Doble Flecha|
m_pCylinderC|41x41|40|:/oldIcon/baCylinder.png|Cilindro|
m_pRRectC|41x41|40|:/oldIcon/baRoundRect.png|Rectángulo redondeado|
m_pRectC|41x41|40|:/oldIcon/baRect.png|-|
m_pImageC|41x41|40|:/oldIcon/baInsertImageFromFile.png|Imagen|
m_pVideoC|41x41|40|:/oldIcon/baInsertVideoFromFile.png|Vídeo|
m_pSoundC|41x41|40|:/oldIcon/PlaySound1.png|Sonido|
m_pTextC|41x41|40|:/oldIcon/baInsertText.png|Texto|
m_pFreeC_4|41x41|40|-|-|
m_pFreeC_3|41x41|40|-|-|
m_pZoomPlusC|41x41|40|:/oldIcon/bZoomOut.png|Ampliar página|
m_pFreeMoveC|41x41|40|:/oldIcon/baDragpage.png|Mover página|
m_pLastPageC|41x41|40|:/oldIcon/baPageUp.png|Página anterior|
m_pCleanPageC|41x41|40|:/oldIcon/baClearPage.png|Limpiar página|
m_pZoomMinusC|41x41|40|:/oldIcon/bZoomIn.png|Reducir página|
m_pRestoreMoveC|41x41|40|:/oldIcon/bZooma.png|Posición inicial|
m_pNextPageC|41x41|40|:/oldIcon/baPageDown.png|Página posterior|
m_pFreeC_6|41x41|40|-|-|
m_pFocusC|41x41|40|:/oldIcon/baSearchlight.png|Foco|
m_pMagnifierC|41x41|40|:/oldIcon/baMagnifier.png|Lupa|
m_pRulerC|41x41|40|:/oldIcon/baRuler.png|Regla|
m_pCompassC|41x41|40|:/oldIcon/baCompasse.png|Compas|
m_pShareC|41x41|40|:/Icon/Linker.png|Compartir pantalla|
m_pCurtainC|41x41|40|:/oldIcon/baCurtain.png|Cortina|
m_pClockC|41x41|40|:/oldIcon/baClock.png|Reloj|
m_pTRulerC|41x41|40|:/oldIcon/baTriangleRuler.png|Escuadra|
m_pTransportC|41x41|40|:/oldIcon/baProtractor.png|Trasportador|
m_pCalculatorC|41x41|40|:/oldIcon/baCalc.png|Calculadora|
m_pColorPenC|41x41|40|:/oldIcon/Curtain_Color.png|Color|
m_pTransPenC|41x41|40|:/oldIcon/setTransparency.png|Transparencia|
m_pWidthPenC|41x41|40|:/oldIcon/setLineWidth.png|Grosor|
m_pStylePenC|41x41|40|:/oldIcon/setLineStyle.png|Estilo|
m_pHideBarI|45x45|32|:/Icon/hideBar.png|Ocultar barra|
m_pDesktopI|45x45|32|:/Icon/LogoToolbar.png|Escritorio|
baExpandMenuBottonI|45x45|32|:/Icon/bBottom.png|Menú|
baExpandToolBottonI|45x45|32|:/Icon/baExpandTools.png|Herramientas|
baExpandResBottonI|45x45|32|:/Icon/baLoadResources.png|Recursos|
m_pSelectI|45x45|32|:/Icon/bTop.png|Seleccionar|
baExpandPenBottonI|45x45|32|:/Icon/baExpandPenBotton.png|Pinceles|
baExpandShapeBottonI|45x45|32|:/Icon/baExpandShapeBotton.png|Figuras|
baExpandEraserBottonI|45x45|32|:/Icon/baExpandEraserBotton.png|Borradores|
baExpandMMIBottonI|45x45|32|:/Icon/baExpandInsertFromFileBotton.png|Objectos multimedia|
m_pUndoI|45x45|32|:/Icon/bLeft.png|Deshacer|
m_pRedoI|45x45|32|:/Icon/bRight.png|Rehacer|
m_pPageDownI|45x45|32|:/Icon/baPageUp.png|Página anterior|
baExpandPageBottonI|45x45|18|:/Icon/baNewWhitePage.png|Páginas|1 / 1
m_pPageUpI|45x45|32|:/Icon/baPageDown.png|Página posterior|
m_pHideBar|35x60|35|:/Icon/hideBar.png|Ocultar barra|
m_pDesktop|60x60|60|:/Icon/LogoToolbar.png|Escritorio|
baExpandMenuBotton|35x35|32|:/Icon/bBottom.png|Menú|
baExpandToolBotton|35x35|32|:/Icon/baExpandTools.png|Herramientas|
baExpandResBotton|35x35|32|:/Icon/baLoadResources.png|Recursos|
m_pSelect|35x35|32|:/Icon/bTop.png|Seleccionar|
baExpandPenBotton|35x35|32|:/Icon/baExpandPenBotton.png|Pinceles|
baExpandShapeBotton|35x35|32|:/Icon/baExpandShapeBotton.png|Figuras|
baExpandEraserBotton|35x35|32|:/Icon/baExpandEraserBotton.png|Borradores|
baExpandMMIBotton|35x35|32|:/Icon/baExpandInsertFromFileBotton.png|Objetos multimedia|
m_pUndo|35x35|32|:/Icon/bLeft.png|Deshacer|
m_pRedo|35x35|32|:/Icon/bRight.png|Rehacer|
m_pPageDown|35x35|32|:/Icon/baPageUp.png|Página anterior|
baExpandPageBotton|35x35|18|:/Icon/baNewWhitePage.png|Páginas|1 / 1
m_pPageUp|35x35|32|:/Icon/baPageDown.png|Página posterior|
about|35x35|32|:/Icon/about.png|Info|...
m_pPenUser1|35x35|32|:/Icon/baExpandPenBotton.png|Lápiz|
m_pHighUser1|35x35|32|:/Icon/baHighlightPenMini.png|Subrayador|
m_pTextUser1|35x35|32|:/Icon/baSoftPenSmall.png|Estilográfica|
m_pEraseUser1|35x35|32|:/Icon/baExpandEraserBotton.png|Borrador|...
m_pColorUser1|35x35|32|-|Color|
m_pPenUser3|35x35|32|:/Icon/baExpandPenBotton.png|Lápiz|
m_pHighUser3|35x35|32|:/Icon/baHighlightPenMini.png|Subrayador|
m_pTextUser3|35x35|32|:/Icon/baSoftPenSmall.png|Estilográfica|
m_pEraseUser3|32x32|32|:/Icon/baExpandEraserBotton.png|Borrador|
m_pColorUser3|35x35|32|-|Color|
m_pExitMultiUser|35x35|32|:/Icon/close.png|Salir modo multiusuario|
)";

// What each row or frame holds, left to right, by object name.
const char kRowContents[] = R"(
widget_3|widget
widget|baExpandMenuBotton baExpandToolBotton baExpandResBotton line m_pSelect baExpandPenBotton baExpandShapeBotton baExpandEraserBotton baExpandMMIBotton line_2 m_pUndo m_pRedo line_3 m_pPageDown baExpandPageBotton m_pPageUp about
widget_4|label m_pHideBarI m_pDesktopI
widget_5|baExpandMenuBottonI baExpandToolBottonI baExpandResBottonI m_pSelectI baExpandPenBottonI baExpandShapeBottonI baExpandEraserBottonI baExpandMMIBottonI m_pUndoI m_pRedoI m_pPageDownI baExpandPageBottonI m_pPageUpI
widget_8|widget_9 widget_10
widget_10|widget_11 line_6 pagesWidget penWidget eraserWidget shapeWidget mmiWidget pageAWidget toolsWidget line_7 widget_13
widget_16|m_pPagesC line_8 m_pPenC line_12 m_pShapeC line_13 m_pEraserC
widget_17|m_pMMIC line_10 m_pPageAC line_11 m_pToolsC line_15 m_pResourcesC
widget_18|m_pWhitePageC line_16 m_pTransPageC line_17 m_pScreenPageC
widget_19|m_pImagePageC line_20 m_pCleanPageC_2 line_21 m_pRemovePageC
widget_21|m_pPencilC line_19 m_pHighlighterC
widget_20|m_pFountainC line_18 m_pSmartPenC
widget_23|m_pObjEraserC line_23 m_pEraserLC
widget_22|m_pEraserMC line_22 m_pEraserSC
widget_25|m_pLineC line_39 m_pTRectC line_38 m_pEllipseC line_37 m_pPentagonC line_36 m_pHexagonC line_28 m_pArrowC line_29 m_pCubeC line_30 m_pConeC line_31 m_pParallelogramC
widget_24|m_pTriangleC line_24 m_pSquareC line_25 m_pCircleC line_26 m_pFiveStarC line_27 m_pRhombusC line_32 m_pDArrowC line_33 m_pCylinderC line_34 m_pRRectC line_35 m_pRectC
widget_27|m_pImageC line_42 m_pVideoC line_43 m_pSoundC
widget_26|m_pTextC line_40 m_pFreeC_4 line_41 m_pFreeC_3
widget_29|m_pZoomPlusC line_48 m_pFreeMoveC line_46 m_pLastPageC line_47 m_pCleanPageC
widget_28|m_pZoomMinusC line_49 m_pRestoreMoveC line_44 m_pNextPageC line_45 m_pFreeC_6
widget_31|m_pFocusC line_58 m_pMagnifierC line_59 m_pRulerC line_60 m_pCompassC line_61 m_pShareC
widget_30|m_pCurtainC line_50 m_pClockC line_51 m_pTRulerC line_52 m_pTransportC line_53 m_pCalculatorC
widget_14|m_pColorPenC line_4 m_pTransPenC
widget_15|m_pWidthPenC line_5 m_pStylePenC
user1|m_pPenUser1 m_pHighUser1 m_pTextUser1 m_pEraseUser1 line_9 m_pColorUser1
user3|m_pPenUser3 m_pHighUser3 m_pTextUser3 m_pEraseUser3 line_54 m_pColorUser3
widget_12|widget_32 exitMultiuser
)";

// Fixed frame and panel sizes.
const char kFrameSizes[] = R"(
widget_8|1600x110
widget_9|98x98
widget_11|178x94
widget_16|174x45
pagesWidget|135x94
widget_18|131x45
penWidget|94x94
widget_21|88x45
eraserWidget|94x94
shapeWidget|391x94
widget_25|389x45
mmiWidget|135x94
pageAWidget|178x94
widget_29|174x45
toolsWidget|221x94
widget_31|217x45
widget_13|94x94
widget_4|160x70
widget_5|585x70
label|70x70
widget_2|110x70
widget_3|621x45
user1|195x45
user3|195x45
exitMultiuser|45x45
)";

QStringList rows(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QSize parseSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    return QSize(parts.at(0).toInt(), parts.at(1).toInt());
}

} // namespace

class tst_DMainUiForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dialogIsFixedAtFullRow();
    void everyButton_data();
    void everyButton();
    void framesAndPanels_data();
    void framesAndPanels();
    void rowContents_data();
    void rowContents();
    void separatorsAndSheets();
    void buttonStates();

private:
    QDialog m_dialog;
    Ui_DMainUi m_ui;
};

void tst_DMainUiForm::initTestCase()
{
    TestSupport::recordConnectWarnings();
    m_ui.setupUi(&m_dialog);
    QVERIFY(TestSupport::takeConnectWarnings().isEmpty());
}

void tst_DMainUiForm::dialogIsFixedAtFullRow()
{
    QCOMPARE(m_dialog.objectName(), QStringLiteral("DMainUi"));
    QCOMPARE(m_dialog.size(), QSize(3500, 110));
    QCOMPARE(m_dialog.minimumSize(), QSize(3500, 110));
    QCOMPARE(m_dialog.maximumSize(), QSize(3500, 110));
    QCOMPARE(m_dialog.windowTitle(), QStringLiteral("Form"));
    QVERIFY(!m_dialog.acceptDrops());
    const QStringList frames = { "widget_8", "widget_6", "widget_7", "widget_12" };
    QLayout *row = m_dialog.layout();
    QVERIFY(row);
    QCOMPARE(row->count(), frames.size());
    for (int i = 0; i < frames.size(); ++i)
        QCOMPARE(row->itemAt(i)->widget()->objectName(), frames.at(i));
}

void tst_DMainUiForm::everyButton_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("iconSize");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("text");
    for (const QString &row : rows(kButtonRows)) {
        const QStringList cells = row.split(QLatin1Char('|'));
        QCOMPARE(cells.size(), 6);
        QTest::newRow(qPrintable(cells.at(0)))
                << cells.at(0) << parseSize(cells.at(1)) << cells.at(2).toInt()
                << (cells.at(3) == QLatin1String("-") ? QString() : cells.at(3))
                << (cells.at(4) == QLatin1String("-") ? QString() : cells.at(4)) << cells.at(5);
    }
}

void tst_DMainUiForm::everyButton()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, iconSize);
    QFETCH(QString, icon);
    QFETCH(QString, toolTip);
    QFETCH(QString, text);

    auto *button = m_dialog.findChild<QToolButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->minimumSize(), size);
    QCOMPARE(button->maximumSize(), size);
    QCOMPARE(button->iconSize(), QSize(iconSize, iconSize));
    QCOMPARE(button->toolTip(), toolTip);
    QCOMPARE(button->text(), text);
    QVERIFY(!button->isCheckable());
    if (icon.isEmpty()) {
        QVERIFY(button->icon().isNull());
    } else if (QFile::exists(icon)) {
        // A missing picture is reported by the resource test; here the button must show the
        // named one.
        const QImage expected = QIcon(icon).pixmap(iconSize).toImage();
        QVERIFY(!expected.isNull());
        QCOMPARE(button->icon().pixmap(iconSize).toImage(), expected);
    }
}

void tst_DMainUiForm::framesAndPanels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    for (const QString &row : rows(kFrameSizes)) {
        const QStringList cells = row.split(QLatin1Char('|'));
        QTest::newRow(qPrintable(cells.at(0))) << cells.at(0) << parseSize(cells.at(1));
    }
}

void tst_DMainUiForm::framesAndPanels()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    auto *frame = m_dialog.findChild<QWidget *>(name);
    QVERIFY(frame);
    QCOMPARE(frame->minimumSize(), size);
    QCOMPARE(frame->maximumSize(), size);
}

void tst_DMainUiForm::rowContents_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QStringList>("items");
    for (const QString &row : rows(kRowContents)) {
        const QStringList cells = row.split(QLatin1Char('|'));
        QTest::newRow(qPrintable(cells.at(0)))
                << cells.at(0) << cells.at(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
}

void tst_DMainUiForm::rowContents()
{
    QFETCH(QString, frame);
    QFETCH(QStringList, items);
    auto *widget = m_dialog.findChild<QWidget *>(frame);
    QVERIFY(widget);
    QVERIFY(widget->layout());
    QStringList actual;
    for (int i = 0; i < widget->layout()->count(); ++i) {
        QWidget *child = widget->layout()->itemAt(i)->widget();
        QVERIFY2(child, "a layout holds only widgets");
        QCOMPARE(child->parentWidget(), widget);
        actual << child->objectName();
    }
    QCOMPARE(actual, items);
}

void tst_DMainUiForm::separatorsAndSheets()
{
    // Classic separators are one pixel wide and shaded; standard and multi-user ones are black
    // and two pixels wide.
    const auto lines = m_dialog.findChildren<QFrame *>(QRegularExpression("^line(_\\d+)?$"));
    QCOMPARE(lines.size(), 52 + 3 + 2);
    for (QFrame *line : lines) {
        QCOMPARE(line->frameShape(), QFrame::VLine);
        QCOMPARE(line->frameShadow(), QFrame::Sunken);
        const bool black = QStringList{ "line", "line_2", "line_3", "line_9", "line_54" }.contains(
                line->objectName());
        QCOMPARE(line->minimumWidth(), black ? 2 : 1);
        QCOMPARE(line->maximumWidth(), black ? 2 : 1);
        QVERIFY2(line->styleSheet().contains(black ? "rgb(0, 0, 0)" : "rgba(127, 127, 127, 50)"),
                 qPrintable(line->objectName()));
    }

    // Classic buttons turn grey under the pointer, except the next-page button and the
    // place-holders.
    const QStringList noHover = { "m_pNextPageC", "m_pFreeC_3", "m_pFreeC_4", "m_pFreeC_6" };
    const auto classic = m_ui.widget_8->findChildren<QToolButton *>();
    QCOMPARE(classic.size(), 73);
    for (QToolButton *button : classic) {
        const QString sheet = button->styleSheet();
        QVERIFY2(sheet.startsWith('#' + button->objectName() + " {"), qPrintable(sheet));
        QVERIFY(sheet.contains("rgba(210, 210, 210, 0)"));
        QCOMPARE(sheet.contains("rgb(120, 120, 120)"), !noHover.contains(button->objectName()));
    }
    // Each kids button has its own colour pair.
    QVERIFY(m_ui.m_pPageUpI->styleSheet().contains("rgb(250, 0, 0)"));
    QVERIFY(m_ui.m_pPageUpI->styleSheet().contains("rgb(220, 0, 0)"));
    QVERIFY(m_ui.baExpandPageBotton->styleSheet().contains("color: rgb(0, 0, 0)"));
    QVERIFY(m_ui.m_pColorUser1->styleSheet().contains("rgb(240, 0, 0)"));
    QVERIFY(m_ui.widget_4->styleSheet().contains(":/Icon/frontlegs.png"));
    QVERIFY(m_ui.widget_5->styleSheet().contains(":/Icon/hindlegs.png"));
}

void tst_DMainUiForm::buttonStates()
{
    QVERIFY(!m_ui.m_pEraserLC->isEnabled());
    QVERIFY(m_ui.m_pEraserMC->isEnabled());
    QVERIFY(m_ui.m_pSmartPenC->isEnabled());
    for (QToolButton *counter : { m_ui.baExpandPageBotton, m_ui.baExpandPageBottonI }) {
        QCOMPARE(counter->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!counter->autoRepeat());
        QCOMPARE(counter->autoRepeatDelay(), 280);
        QCOMPARE(counter->popupMode(), QToolButton::DelayedPopup);
        QVERIFY(!counter->autoRaise());
    }
    QCOMPARE(m_ui.m_pPagesC->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(m_ui.baExpandEraserBotton->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(m_ui.line->lineWidth(), 1);
}

QTEST_MAIN(tst_DMainUiForm)
#include "tst_dmainuiform.moc"
