#include "board/boardtypes.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "support/boardfixture.h"
#include "support/instrumentsfixture.h"
#include "support/testsupport.h"
#include "tools/dprotractor.h"
#include "tools/instrumentrules.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QtTest>

using namespace InstrumentsFixture;

class tst_DProtractor : public QObject
{
    Q_OBJECT
private slots:
    void menuEntries();
    void ringHit_data();
    void ringHit();
    void drawsTheChosenFigure_data();
    void drawsTheChosenFigure();
    void clickInTheRingAddsNothing();
    void dragEndingNearTheCentreOpensTheMenu();
    void resizeIsBounded_data();
    void resizeIsBounded();
    void turnsAboutItsCentre();
    void scaleReadsTheAngle();
    void scaleNumbersKeepApart_data();
    void scaleNumbersKeepApart();
};

void tst_DProtractor::menuEntries()
{
    DProtractor protractor;
    QStringList texts;
    for (QAction *action : protractor.menu()->actions())
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    QCOMPARE(texts,
             (QStringList{ "Arco", QString::fromUtf8("Porción"), "Cuerda",
                           QString::fromUtf8("Ángulo"), "Triangulo", "|" }));
    QCOMPARE(protractor.checkedAction()->text(), QStringLiteral("Arco"));
    QCOMPARE(protractor.drawKind(), int(tmArc));
    QCOMPARE(protractor.boundingRect(), QRectF(-201, -201, 402, 202));
}

void tst_DProtractor::ringHit_data()
{
    QTest::addColumn<qreal>("distance");
    QTest::addColumn<int>("mode");
    QTest::newRow("181: inside the scale") << 181.0 << int(tmMove);
    QTest::newRow("182: in the ring") << 182.0 << int(tmDraw);
    QTest::newRow("199: in the ring") << 199.0 << int(tmDraw);
}

void tst_DProtractor::ringHit()
{
    QFETCH(qreal, distance);
    QFETCH(int, mode);
    BoardFixture::Board board;
    board.current()->insertPortractor();
    DProtractor *protractor = board.current()->classroomTools().protractor;
    const QPoint at = viewPoint(board.view(), protractor, polar(distance, 90));
    QTest::mousePress(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(protractor->mode(), mode);
    QTest::mouseRelease(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void tst_DProtractor::drawsTheChosenFigure_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<QPointF>>("ends"); // first and last points of the figure
    QTest::addColumn<QPointF>("middle"); // the figure halfway along, for arcs
    const QPointF at30 = polar(202, 30);
    const QPointF at300 = polar(202, 300);
    QTest::newRow("arc, the short way clockwise")
            << "Arco" << int(tmArc) << QVector<QPointF>{ at30, at300 } << polar(202, 345);
    QTest::newRow("angle: both arms") << QString::fromUtf8("Ángulo") << int(tmAngle)
                                      << QVector<QPointF>{ at30, at300 } << QPointF();
    QTest::newRow("triangle") << "Triangulo" << int(tmTriangle) << QVector<QPointF>{ {}, {} }
                              << QPointF();
    QTest::newRow("pie") << QString::fromUtf8("Porción") << int(tmPie) << QVector<QPointF>{ {}, {} }
                         << QPointF();
    QTest::newRow("chord") << "Cuerda" << int(tmChord) << QVector<QPointF>{ at30, at30 }
                           << QPointF();
}

void tst_DProtractor::drawsTheChosenFigure()
{
    QFETCH(QString, entry);
    QFETCH(int, kind);
    QFETCH(QVector<QPointF>, ends);
    QFETCH(QPointF, middle);
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertPortractor();
    DProtractor *protractor = page->classroomTools().protractor;

    // A click near the centre opens the menu; the entry chosen there is drawn next.
    auto chosen = chooseFromMenu(entry);
    clickItem(board.view(), protractor, { 5, -10 });
    QVERIFY(*chosen);
    QCOMPARE(protractor->drawKind(), kind);
    QCOMPARE(protractor->checkedAction()->text(), entry);
    QVERIFY(vertexObjects(page).isEmpty());

    // Once started in the ring the pointer may go anywhere, below the straight edge too.
    dragItem(board.view(), protractor, { polar(190, 30), polar(150, 340), polar(120, 300) });
    const auto drawn = vertexObjects(page);
    QCOMPARE(drawn.size(), 1);
    auto *figure = static_cast<QGraphicsPathItem *>(drawn.first());
    const QVector<QPointF> points = pointsOf(figure->path());
    // The pointer's direction is taken from whole view pixels.
    QVERIFY2(close(points.first(), ends.first(), 1.5), qPrintable(entry));
    QVERIFY2(close(points.last(), ends.last(), 1.5), qPrintable(entry));
    if (kind == tmArc)
        QVERIFY(close(figure->path().pointAtPercent(0.5), middle, 3));
    QCOMPARE(figure->pen(), board.view()->getPen(PenUserMain));
    QCOMPARE(figure->scenePos(), protractor->scenePos());
    page->undoStack()->undo();
    QVERIFY(vertexObjects(page).isEmpty());
}

void tst_DProtractor::clickInTheRingAddsNothing()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertPortractor();
    DProtractor *protractor = page->classroomTools().protractor;
    clickItem(board.view(), protractor, polar(190, 60));
    QCOMPARE(protractor->mode(), int(tmDraw));
    QVERIFY(vertexObjects(page).isEmpty());
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DProtractor::dragEndingNearTheCentreOpensTheMenu()
{
    BoardFixture::Board board;
    board.current()->insertPortractor();
    DProtractor *protractor = board.current()->classroomTools().protractor;
    const QPointF start = protractor->pos();
    auto opened = answerNextPopup([](QWidget *popup) { popup->close(); });
    dragItem(board.view(), protractor, { { 10, -20 }, { 60, -40 }, { 110, -60 } });
    QVERIFY(*opened); // the grip point stays under the pointer, near the centre
    QCOMPARE(protractor->pos(), start + QPointF(100, -40));
    QCOMPARE(protractor->drawKind(), int(tmArc)); // leaving the menu changes nothing
}

void tst_DProtractor::resizeIsBounded_data()
{
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<int>("radius");
    QTest::newRow("a little out") << QPointF(163 * 1.2, -18) << 240;
    QTest::newRow("far out") << QPointF(450, -250) << 500;
    QTest::newRow("far in") << QPointF(35, -5) << 150; // outside r/6: no menu
}

void tst_DProtractor::resizeIsBounded()
{
    QFETCH(QPointF, to);
    QFETCH(int, radius);
    BoardFixture::Board board;
    board.current()->insertPortractor();
    DProtractor *protractor = board.current()->classroomTools().protractor;
    dragItem(board.view(), protractor, { { 163, -15 }, to });
    QCOMPARE(protractor->mode(), int(tmResize));
    QVERIFY2(qAbs(protractor->radius() - radius) <= 1,
             qPrintable(QString::number(protractor->radius())));
    QCOMPARE(protractor->path().boundingRect().width(), qreal(2 * protractor->radius()));
}

void tst_DProtractor::turnsAboutItsCentre()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertPortractor();
    DProtractor *protractor = page->classroomTools().protractor;
    const QPointF centre = protractor->scenePos();
    const QPointF icon(122, -15);
    QLineF arm(QPointF(), icon);
    arm.setAngle(arm.angle() + 40);
    dragItem(board.view(), protractor, { icon, arm.p2() });
    QCOMPARE(protractor->mode(), int(tmRotate));
    QVERIFY(qAbs(protractor->rotation() + 40) < 0.5);
    QCOMPARE(protractor->scenePos(), centre);

    // An arc drawn now lands where it was seen, turned with the protractor.
    dragItem(board.view(), protractor, { polar(190, 20), polar(190, 50), polar(190, 80) });
    const auto drawn = vertexObjects(page);
    QCOMPARE(drawn.size(), 1);
    auto *arc = static_cast<QGraphicsPathItem *>(drawn.first());
    QVERIFY(qAbs(arc->rotation() - protractor->rotation()) < 1e-4);
    const QPointF end = pointsOf(arc->path()).last();
    QVERIFY(close(arc->mapToScene(end), protractor->mapToScene(end), 0.001));
    QVERIFY(qAbs(QLineF(centre, arc->mapToScene(end)).length() - 202) < 0.5);
}

void tst_DProtractor::scaleReadsTheAngle()
{
    // The scale's ticks stand at whole degrees: the tick for 90 is straight up from the centre
    // and the one for 45 halfway between; nothing is drawn at 0 or 180 beyond the diameter.
    DProtractor protractor;
    QImage image(420, 220, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(210, 210);
    QStyleOptionGraphicsItem option;
    protractor.paint(&painter, &option, nullptr);
    painter.end();
    auto darkAt = [&image](qreal radius, qreal angle) {
        // Lines are drawn to whole pixels: look within one pixel of the exact point.
        const QPoint at = (QPointF(210, 210) + polar(radius, angle)).toPoint();
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (qGray(image.pixel(at + QPoint(dx, dy))) < 110)
                    return true;
        return false;
    };
    QVERIFY(darkAt(171, 90)); // a tenth-degree tick reaches in to 5r/6
    QVERIFY(darkAt(171, 40));
    QVERIFY(!darkAt(171, 45)); // a fifth reaches only 28r/32
    QVERIFY(darkAt(177, 45));
    QVERIFY(!darkAt(177, 44)); // a plain degree only 29r/32
    QVERIFY(darkAt(185, 44));
}

void tst_DProtractor::scaleNumbersKeepApart_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("systemPointSize");
    QTest::newRow("start size") << DProtractor::kStartRadius << 9;
    QTest::newRow("start size, large system font") << DProtractor::kStartRadius << 14;
    QTest::newRow("smallest") << DProtractor::kMinRadius << 9;
    QTest::newRow("smallest, large system font") << DProtractor::kMinRadius << 14;
    QTest::newRow("largest, large system font") << DProtractor::kMaxRadius << 14;
}

// No two numbers of the scale touch (100 and 90 ran together as "10090"), each stands on its
// own radial line, and none gets too small to read.
void tst_DProtractor::scaleNumbersKeepApart()
{
    QFETCH(int, radius);
    QFETCH(int, systemPointSize);
    const QFont kept = QApplication::font();
    QFont system = kept;
    system.setPointSize(systemPointSize);
    QApplication::setFont(system);
    QImage image(8, 8, QImage::Format_ARGB32);
    QPainter painter(&image);
    InstrumentRules::setScaleFont(&painter); // the face the protractor paints its scale in
    const QFont font = DProtractor::scaleLabelFont(radius, painter.font());
    painter.end();
    QApplication::setFont(kept);

    QVERIFY(QFontInfo(font).pixelSize() >= 6);
    const QFontMetricsF metrics(font);
    QVector<QRectF> ink;
    for (int angle = 10; angle < 180; angle += 10) {
        const QString number = QString::number(angle);
        const QRectF box = metrics.tightBoundingRect(number).translated(
                DProtractor::scaleLabelOrigin(angle, radius, metrics));
        const qreal onLine = (25 * radius / 32) * std::cos(qDegreesToRadians(qreal(angle)));
        QVERIFY2(qAbs(box.center().x() - onLine) < 2, qPrintable(number));
        for (const QRectF &other : qAsConst(ink))
            QVERIFY2(!box.intersects(other), qPrintable(number));
        ink << box;
    }
}

QTEST_MAIN(tst_DProtractor)
#include "tst_dprotractor.moc"
