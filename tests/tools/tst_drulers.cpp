#include "tools/drulers.h"
#include "tools/instrumentrules.h"

#include "board/boardtypes.h"
#include "board/dpage.h"
#include "board/dview.h"

#include "support/boardfixture.h"
#include "support/instrumentsfixture.h"
#include "support/testsupport.h"
#include "support/toolsfixture.h"

#include <QColorDialog>
#include <QStyleOptionGraphicsItem>
#include <QtTest>

using namespace InstrumentsFixture;

class tst_DRulers : public QObject
{
    Q_OBJECT
private slots:
    void placedUnderTheViewCentre();
    void dragsByItsBody();
    void drawsAlongTheTopEdgeUndoably();
    void clickWithoutMoveAddsNothing();
    void turnedRulerDrawsWhereItLies();
    void pressHitsLaterIconsFirst_data();
    void pressHitsLaterIconsFirst();
    void resizes_data();
    void resizes();
    void colourIconSetsThePen_data();
    void colourIconSetsThePen();
    void ticks_data();
    void ticks();

private:
    // The ruler moved left so that its icons are on screen.
    DRulers *placeRuler(BoardFixture::Board &board);
};

DRulers *tst_DRulers::placeRuler(BoardFixture::Board &board)
{
    board.current()->insertRuler();
    DRulers *ruler = board.current()->classroomTools().ruler;
    dragItem(board.view(), ruler, { { 300, 50 }, { 200, 50 }, { -100, 50 } });
    return ruler;
}

void tst_DRulers::placedUnderTheViewCentre()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    const float zBefore = page->zCounter();
    page->insertRuler();
    DRulers *ruler = page->classroomTools().ruler;
    QVERIFY(ruler);
    QCOMPARE(ruler->type(), int(ItemTypeInstrument));
    QCOMPARE(ruler->scenePos(), board.view()->mapToScene(QPoint(511, 383)));
    QCOMPARE(ruler->zValue(), qreal(zBefore)); // the page's z, not the instrument's own
    QCOMPARE(ruler->boundingRect(), QRectF(-1, -1, 602, 102));
    QVERIFY(page->validItems(true).isEmpty()); // not a board object
}

void tst_DRulers::dragsByItsBody()
{
    BoardFixture::Board board;
    board.current()->insertRuler();
    DRulers *ruler = board.current()->classroomTools().ruler;
    const QPointF start = ruler->pos();
    dragItem(board.view(), ruler, { { 300, 50 }, { 310, 60 }, { 340, 90 } });
    QCOMPARE(ruler->mode(), int(tmMove));
    QCOMPARE(ruler->pos(), start + QPointF(40, 40));
    QVERIFY(ruler->isSelected());
    QVERIFY(vertexObjects(board.current()).isEmpty());
}

void tst_DRulers::drawsAlongTheTopEdgeUndoably()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertRuler();
    DRulers *ruler = page->classroomTools().ruler;
    // The pointer wanders up and down and past the ruler's left end: the line keeps to the
    // edge and is not held to the ruler.
    dragItem(board.view(), ruler, { { 100, 5 }, { 150, 60 }, { 60, -30 }, { -50, 12 } });
    QCOMPARE(ruler->mode(), int(tmDraw));
    QVERIFY(ruler->drawnPath().isEmpty());

    const QList<QGraphicsItem *> drawn = vertexObjects(page);
    QCOMPARE(drawn.size(), 1);
    auto *line = static_cast<QGraphicsPathItem *>(drawn.first());
    QCOMPARE(pointsOf(line->path()), (QVector<QPointF>{ { 100, 0 }, { -50, 0 } }));
    QCOMPARE(line->scenePos(), ruler->scenePos());
    QCOMPARE(line->rotation(), 0.0);
    QCOMPARE(static_cast<QAbstractGraphicsShapeItem *>(line)->pen().width(), 4);
    QCOMPARE(line->mapToScene(-50, 0), ruler->mapToScene(-50, 0));

    page->undoStack()->undo();
    QVERIFY(vertexObjects(page).isEmpty());
    page->undoStack()->redo();
    QCOMPARE(vertexObjects(page).size(), 1);
}

void tst_DRulers::clickWithoutMoveAddsNothing()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertRuler();
    DRulers *ruler = page->classroomTools().ruler;
    clickItem(board.view(), ruler, { 100, 5 });
    QCOMPARE(ruler->mode(), int(tmDraw));
    QVERIFY(vertexObjects(page).isEmpty());
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DRulers::turnedRulerDrawsWhereItLies()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    DRulers *ruler = placeRuler(board);
    // Swing the rotate icon's hit centre 30 degrees counter-clockwise about the local origin.
    const QPointF icon(530, 70);
    QLineF arm(QPointF(), icon);
    QVector<QPointF> swing{ icon };
    for (int step = 1; step <= 3; ++step) {
        QLineF turned = arm;
        turned.setAngle(arm.angle() + 10 * step);
        swing << turned.p2();
    }
    dragItem(board.view(), ruler, swing);
    QCOMPARE(ruler->mode(), int(tmRotate));
    QVERIFY2(qAbs(ruler->rotation() + 30) < 0.3, qPrintable(QString::number(ruler->rotation())));
    QCOMPARE(InstrumentRules::shownAngle(ruler->rotation()), 29 + (ruler->rotation() <= -30));

    dragItem(board.view(), ruler, { { 100, 4 }, { 200, 4 }, { 300, 4 } });
    const QList<QGraphicsItem *> drawn = vertexObjects(page);
    QCOMPARE(drawn.size(), 1);
    QGraphicsItem *line = drawn.first();
    QVERIFY(qAbs(line->rotation() - ruler->rotation()) < 1e-4); // handed over as a float
    QCOMPARE(line->scenePos(), ruler->scenePos());
    // Both ends lie on the ruler's edge as the user saw it.
    const QPainterPath path = static_cast<QGraphicsPathItem *>(line)->path();
    for (const QPointF &end : pointsOf(path)) {
        QVERIFY(qAbs(end.y()) < 1e-9);
        QVERIFY(close(line->mapToScene(end), ruler->mapToScene(end), 0.001));
    }
    QVERIFY(qAbs(pointsOf(path).last().x() - 300) < 1.0);
}

void tst_DRulers::pressHitsLaterIconsFirst_data()
{
    QTest::addColumn<QPointF>("press"); // from the right end, 70 down
    QTest::addColumn<int>("mode");
    QTest::newRow("rotate icon") << QPointF(-70, 70) << int(tmRotate);
    QTest::newRow("between rotate and resize: resize") << QPointF(-55, 70) << int(tmResize);
    QTest::newRow("between colour and rotate: colour") << QPointF(-85, 70) << int(tmColor);
    QTest::newRow("top strip") << QPointF(-300, 14) << int(tmDraw);
    QTest::newRow("below the strip") << QPointF(-300, 16) << int(tmMove);
    QTest::newRow("20 from the resize icon") << QPointF(-20, 70) << int(tmMove);
}

void tst_DRulers::pressHitsLaterIconsFirst()
{
    QFETCH(QPointF, press);
    QFETCH(int, mode);
    BoardFixture::Board board;
    DRulers *ruler = placeRuler(board);
    const QPoint at = viewPoint(board.view(), ruler, press + QPointF(ruler->length(), 0));
    if (mode == tmColor)
        TestSupport::answerNextModal(
                [](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    QTest::mousePress(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(ruler->mode(), mode);
    QTest::mouseRelease(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void tst_DRulers::resizes_data()
{
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<int>("length");
    QTest::newRow("half again as far") << QPointF(840, 105) << 900;
    QTest::newRow("toward the corner") << QPointF(100, 10) << 300;
}

void tst_DRulers::resizes()
{
    QFETCH(QPointF, to);
    QFETCH(int, length);
    BoardFixture::Board board;
    DRulers *ruler = placeRuler(board);
    dragItem(board.view(), ruler, { { 560, 70 }, (QPointF(560, 70) + to) / 2, to });
    QCOMPARE(ruler->mode(), int(tmResize));
    QCOMPARE(ruler->length(), length);
    QCOMPARE(ruler->path().boundingRect(), QRectF(0, 0, length, 100));
}

void tst_DRulers::colourIconSetsThePen_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("chosen") << true;
    QTest::newRow("cancelled") << false;
}

void tst_DRulers::colourIconSetsThePen()
{
    QFETCH(bool, accept);
    BoardFixture::Board board;
    DRulers *ruler = placeRuler(board);
    QString unlike;
    auto answered = TestSupport::answerNextModal([accept, &unlike](QWidget *widget) {
        auto *dialog = qobject_cast<QColorDialog *>(widget);
        QVERIFY(dialog);
        QCOMPARE(dialog->currentColor(), QColor(Qt::black));
        // Parented to the board view, it still looks as the application's own (readable).
        unlike = TestSupport::unlikeApplicationDialog(dialog);
        dialog->setCurrentColor(QColor(200, 0, 0));
        accept ? dialog->accept() : dialog->reject();
    });
    clickItem(board.view(), ruler, { 500, 70 });
    QVERIFY(*answered);
    QCOMPARE(unlike, QString());
    const QColor expected = accept ? QColor(200, 0, 0) : QColor(Qt::black);
    QCOMPARE(ruler->drawingPen().color(), expected);
    QCOMPARE(ruler->drawingPen().width(), 4);

    dragItem(board.view(), ruler, { { 100, 5 }, { 200, 5 } });
    const auto drawn = vertexObjects(board.current());
    QCOMPARE(drawn.size(), 1);
    QCOMPARE(static_cast<QGraphicsPathItem *>(drawn.first())->pen().color(), expected);
}

void tst_DRulers::ticks_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("ticks");
    QTest::newRow("600") << 600 << 118;
    QTest::newRow("300") << 300 << 58;
}

void tst_DRulers::ticks()
{
    QFETCH(int, length);
    QFETCH(int, ticks);
    DRulers ruler;
    ruler.drawOwn(length);
    QImage image(length + 20, 120, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(5, 5);
    QStyleOptionGraphicsItem option;
    option.state |= QStyle::State_Selected;
    ruler.paint(&painter, &option, nullptr);
    painter.end();
    // Dark runs along a row just under the top edge, inside the ruler's ends.
    int runs = 0;
    bool inRun = false;
    for (int x = 5 + 2; x < 5 + length - 2; ++x) {
        const bool dark = qGray(image.pixel(x, 5 + 5)) < 80;
        runs += dark && !inRun;
        inRun = dark;
    }
    QCOMPARE(runs, ticks);
    // No selection rectangle: the corner just outside the body stays white.
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
}

QTEST_MAIN(tst_DRulers)
#include "tst_drulers.moc"
