#include "board/boardtypes.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "support/boardfixture.h"
#include "support/instrumentsfixture.h"
#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/dcompass.h"
#include "tools/instrumentrules.h"

#include <QColorDialog>
#include <QMenu>
#include <QPainter>
#include <QtTest>

using namespace InstrumentsFixture;

namespace {

const QPointF kOnPencilHolder(208, -50);
const QPointF kOnPencilLeg(172, -120);
const QPointF kOnHandle(100, -350);
const QPointF kOnNeedleLeg(12, -80);

} // namespace

class tst_DCompass : public QObject
{
    Q_OBJECT
private slots:
    void newCompass();
    void pressModes_data();
    void pressModes();
    void dragsByTheNeedleLeg();
    void drawsTheArcThePencilTravelled_data();
    void drawsTheArcThePencilTravelled();
    void clickWithoutMoveAddsNothing();
    void opensAndClosesWithinItsLimit();
    void turnsByTheHandleWithoutRotating();
    void colourIconSetsTheArcPen();

private:
    DCompass *placeCompass(BoardFixture::Board &board);
};

DCompass *tst_DCompass::placeCompass(BoardFixture::Board &board)
{
    board.current()->insertCompass();
    return board.current()->classroomTools().compass;
}

void tst_DCompass::newCompass()
{
    BoardFixture::Board board;
    DCompass *compass = placeCompass(board);
    QCOMPARE(compass->type(), int(ItemTypeInstrument));
    QCOMPARE(compass->scenePos(), board.view()->mapToScene(QPoint(511, 383)));
    QCOMPARE(compass->outlinePoint(DCompass::PencilTip), QPointF(200, 0));
    QCOMPARE(compass->path().elementCount(), 25);
    QCOMPARE(compass->boundingRect(), QRectF(QPointF(-201, -571), QPointF(429, 201)));
    QCOMPARE(compass->drawKind(), int(tmFullCircle));
    QCOMPARE(compass->menu()->actions().size(), 3); // two kinds and a separator
}

void tst_DCompass::pressModes_data()
{
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<int>("mode");
    QTest::newRow("pencil holder") << kOnPencilHolder << int(tmDraw);
    QTest::newRow("pencil leg") << kOnPencilLeg << int(tmResize);
    QTest::newRow("handle") << kOnHandle << int(tmRotate);
    QTest::newRow("needle leg") << kOnNeedleLeg << int(tmMove);
    QTest::newRow("colour icon, inside the handle's hinge") << QPointF(97.5, -292) << int(tmColor);
}

void tst_DCompass::pressModes()
{
    QFETCH(QPointF, press);
    QFETCH(int, mode);
    BoardFixture::Board board;
    DCompass *compass = placeCompass(board);
    const QPoint at = viewPoint(board.view(), compass, press);
    if (mode == tmColor)
        TestSupport::answerNextModal(
                [](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    QTest::mousePress(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(compass->mode(), mode);
    QTest::mouseRelease(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void tst_DCompass::dragsByTheNeedleLeg()
{
    BoardFixture::Board board;
    DCompass *compass = placeCompass(board);
    const QPointF start = compass->pos();
    dragItem(board.view(), compass, { kOnNeedleLeg, kOnNeedleLeg + QPointF(-30, 20) });
    QCOMPARE(compass->pos(), start + QPointF(-30, 20));
    QVERIFY(compass->isSelected());
    QCOMPARE(compass->outlinePoint(DCompass::PencilTip), QPointF(200, 0));
}

namespace {

// The pointer's way round the needle point through the given angles (degrees, counter-clockwise
// from the pencil's place at the press), in moves of at most step degrees as a hand makes them.
QVector<QPointF> sweepThrough(const QList<qreal> &angles, qreal step)
{
    QVector<QPointF> points{ kOnPencilHolder };
    qreal at = 0;
    for (qreal next : angles) {
        const int moves = qMax(1, qCeil(qAbs(next - at) / step));
        for (int i = 1; i <= moves; ++i)
            points << polar(215, at + (next - at) * i / moves);
        at = next;
    }
    return points;
}

// The part of the board's picture around point of the view, side pixels square.
QImage around(const QImage &board, QPoint point, int side)
{
    return board.copy(QRect(point - QPoint(side / 2, side / 2), QSize(side, side)));
}

} // namespace

void tst_DCompass::drawsTheArcThePencilTravelled_data()
{
    QTest::addColumn<QList<qreal>>("angles"); // the pointer's way, counter-clockwise positive
    QTest::addColumn<qreal>("step"); // the largest move, in degrees
    QTest::addColumn<qreal>("sweep"); // of the ink, counter-clockwise positive
    QTest::newRow("65 counter-clockwise") << QList<qreal>{ 65 } << 10.0 << 65.0;
    QTest::newRow("65 clockwise") << QList<qreal>{ -65 } << 10.0 << -65.0;
    QTest::newRow("295 counter-clockwise") << QList<qreal>{ 295 } << 10.0 << 295.0;
    QTest::newRow("295 clockwise") << QList<qreal>{ -295 } << 10.0 << -295.0;
    QTest::newRow("40 counter-clockwise in one move") << QList<qreal>{ 40 } << 40.0 << 40.0;
    QTest::newRow("30 one way, back past the start") << QList<qreal>{ 30, -20 } << 10.0 << -20.0;
    QTest::newRow("a turn and a quarter counter-clockwise: the circle")
            << QList<qreal>{ 450 } << 10.0 << 360.0;
    QTest::newRow("a turn and a quarter clockwise: the circle")
            << QList<qreal>{ -450 } << 10.0 << -360.0;
}

void tst_DCompass::drawsTheArcThePencilTravelled()
{
    QFETCH(QList<qreal>, angles);
    QFETCH(qreal, step);
    QFETCH(qreal, sweep);
    BoardFixture::Board board;
    DPage *page = board.current();
    DCompass *compass = placeCompass(board);
    const QPoint needle = viewPoint(board.view(), compass, QPointF());
    dragItem(board.view(), compass, sweepThrough(angles, step));
    const auto drawn = vertexObjects(page);
    QCOMPARE(drawn.size(), 1);
    auto *arc = static_cast<QGraphicsPathItem *>(drawn.first());
    QCOMPARE(arc->rotation(), 0.0);
    QCOMPARE(arc->scenePos(), compass->scenePos());
    QCOMPARE(arc->pen().width(), 4);
    QVERIFY(compass->drawnPath().isEmpty());

    // The pencil stands on the pointer's last ray (whole view pixels: within a third of a
    // degree), and the ink ends under it.
    const QPointF pencil = compass->outlinePoint(DCompass::PencilTip);
    QVERIFY(qAbs(std::remainder(QLineF(QPointF(), pencil).angle() - angles.last(), 360.0)) < 0.35);
    const QVector<QPointF> points = pointsOf(arc->path());
    QVERIFY2(close(points.last(), pencil, 0.5),
             qPrintable(QStringLiteral("ends at %1, %2; the pencil at %3, %4")
                                .arg(points.last().x())
                                .arg(points.last().y())
                                .arg(pencil.x())
                                .arg(pencil.y())));

    // The ink as the board shows it, the compass put away, against the arc drawn from the
    // pencil's place at the press through the way it went.
    page->insertCompass();
    const int side = 440;
    const QImage shown = around(board.view()->viewport()->grab().toImage(), needle, side);
    QImage expected(shown.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.translate(side / 2, side / 2);
        painter.drawArc(QRectF(-200, -200, 400, 400), 0, qRound(sweep * 16));
    }
    ToolsFixture::saveShot(shown, QStringLiteral("compass %1").arg(QTest::currentDataTag()));
    // The pointer's directions come from whole pixels, so the arc's end may lie a degree's
    // fraction away: a round cap's width of pixels at most.
    const TestSupport::InkDifference difference = TestSupport::inkDifference(expected, shown, 96);
    QVERIFY2(difference.differing < 30 && difference.ink > qAbs(sweep) * 3,
             qPrintable(difference.toString()));

    page->undoStack()->undo();
    QVERIFY(vertexObjects(page).isEmpty());
}

void tst_DCompass::clickWithoutMoveAddsNothing()
{
    BoardFixture::Board board;
    DCompass *compass = placeCompass(board);
    clickItem(board.view(), compass, kOnPencilHolder);
    QCOMPARE(compass->mode(), int(tmDraw));
    QVERIFY(vertexObjects(board.current()).isEmpty());
    QCOMPARE(board.current()->undoStack()->count(), 0);
}

void tst_DCompass::opensAndClosesWithinItsLimit()
{
    BoardFixture::Board board;
    DCompass *compass = placeCompass(board);
    const QPointF hinge(99.5, -290);
    // Open to 60 degrees from the needle leg: the pencil tip lies on the pointer's ray.
    QLineF toNeedle(hinge, QPointF());
    QLineF wanted = toNeedle;
    wanted.setAngle(toNeedle.angle() + 60);
    wanted.setLength(250);
    dragItem(board.view(), compass, { kOnPencilLeg, wanted.p2() });
    QCOMPARE(compass->mode(), int(tmResize));
    const QPointF tip = compass->outlinePoint(DCompass::PencilTip);
    QVERIFY(qAbs(QLineF(hinge, tip).angle() - wanted.angle()) < 0.5);
    // The top of the pencil leg stays where it was.
    QCOMPARE(compass->outlinePoint(DCompass::PencilInnerTop), QPointF(110, -260));
    const qreal radius = QLineF(QPointF(), tip).length();

    // Past 140 degrees nothing changes. The leg's place is read again at the press.
    const QPointF legMiddle = (compass->outlinePoint(4) + compass->outlinePoint(12)
                               + compass->outlinePoint(3) + compass->outlinePoint(13))
            / 4;
    QLineF beyond = toNeedle;
    beyond.setAngle(toNeedle.angle() + 150);
    beyond.setLength(200);
    dragItem(board.view(), compass, { legMiddle, beyond.p2() });
    QCOMPARE(compass->mode(), int(tmResize));
    QCOMPARE(compass->outlinePoint(DCompass::PencilTip), tip);

    // The next arc uses the new radius.
    const QPointF holder = (compass->outlinePoint(6) + compass->outlinePoint(8)
                            + compass->outlinePoint(9) + compass->outlinePoint(10))
            / 4;
    dragItem(board.view(), compass, { holder, holder + QPointF(0, -30), holder + QPointF(0, -30) });
    const auto drawn = vertexObjects(board.current());
    QCOMPARE(drawn.size(), 1);
    const QPainterPath arc = static_cast<QGraphicsPathItem *>(drawn.first())->path();
    QVERIFY(qAbs(QLineF(QPointF(), pointsOf(arc).first()).length() - radius) < 0.1);
}

void tst_DCompass::turnsByTheHandleWithoutRotating()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    DCompass *compass = placeCompass(board);
    const QPointF handleTop(100, -370);
    const QPointF pointer = polar(300, QLineF(QPointF(), handleTop).angle() + 35);
    dragItem(board.view(), compass, { kOnHandle, pointer });
    QCOMPARE(compass->mode(), int(tmRotate));
    QCOMPARE(compass->rotation(), 0.0);
    const QPointF top = (compass->outlinePoint(DCompass::HandleTopRight)
                         + compass->outlinePoint(DCompass::HandleTopLeft))
            / 2;
    QVERIFY(qAbs(QLineF(QPointF(), top).angle() - QLineF(QPointF(), pointer).angle()) < 0.5);
    QCOMPARE(compass->outlinePoint(DCompass::NeedlePoint), QPointF(0, 0));
    // The pencil swung with it; an arc drawn now is still about the needle point, unrotated.
    const QPointF tip = compass->outlinePoint(DCompass::PencilTip);
    QVERIFY(qAbs(QLineF(QPointF(), tip).angle() - 35) < 0.5);
    const QPointF holder = (compass->outlinePoint(6) + compass->outlinePoint(9)) / 2;
    const QPointF next = polar(215, QLineF(QPointF(), tip).angle() + 20);
    dragItem(board.view(), compass, { holder, next, next });
    const auto drawn = vertexObjects(page);
    QCOMPARE(drawn.size(), 1);
    auto *arc = static_cast<QGraphicsPathItem *>(drawn.first());
    QCOMPARE(arc->rotation(), 0.0);
    const QPainterPath path = arc->path();
    QVERIFY(close(arc->mapToScene(pointsOf(path).first()), compass->mapToScene(tip), 0.1));
}

void tst_DCompass::colourIconSetsTheArcPen()
{
    BoardFixture::Board board;
    DCompass *compass = placeCompass(board);
    QString unlike;
    auto answered = TestSupport::answerNextModal([&unlike](QWidget *widget) {
        auto *dialog = qobject_cast<QColorDialog *>(widget);
        QVERIFY(dialog);
        unlike = TestSupport::unlikeApplicationDialog(dialog);
        dialog->setCurrentColor(QColor(0, 0, 220));
        dialog->accept();
    });
    clickItem(board.view(), compass, { 97.5, -292 });
    QVERIFY(*answered);
    QCOMPARE(unlike, QString());
    QCOMPARE(compass->drawingPen().color(), QColor(0, 0, 220));
    const QPointF target = polar(215, 25);
    dragItem(board.view(), compass, { kOnPencilHolder, target, target });
    const auto drawn = vertexObjects(board.current());
    QCOMPARE(drawn.size(), 1);
    QCOMPARE(static_cast<QGraphicsPathItem *>(drawn.first())->pen().color(), QColor(0, 0, 220));
}

QTEST_MAIN(tst_DCompass)
#include "tst_dcompass.moc"
