#include "board/dpage.h"
#include "board/dview.h"
#include "support/boardfixture.h"
#include "support/toolsfixture.h"
#include "tools/dmagnifier.h"

#include <QGraphicsRectItem>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

QPushButton *button(DMagnifier *magnifier, const char *name)
{
    return magnifier->findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class tst_DMagnifier : public QObject
{
    Q_OBJECT
private slots:
    void placedOverTheBoard();
    void buttonsClearOfTheBoardControls_data();
    void buttonsClearOfTheBoardControls();
    void factorStepsAndBounds();
    void showsOnlyTheVeilWithoutAView();
    void lensShowsWhatLiesUnderItsCentre_data();
    void lensShowsWhatLiesUnderItsCentre();
    void dragKeepsTheLensCentreOnTheBoard();
};

void tst_DMagnifier::placedOverTheBoard()
{
    BoardFixture::Board board;
    DMagnifier magnifier(board.window());
    QCOMPARE(magnifier.size(), QSize(2048, 1536));
    QCOMPARE(magnifier.pos(), QPoint(-512, -384));
    QCOMPARE(magnifier.lensSize(), QSize(153, 153));
    QCOMPARE(magnifier.factor(), 2.0);
    QCOMPARE(button(&magnifier, "bClose")->size(), QSize(40, 40));
}

void tst_DMagnifier::buttonsClearOfTheBoardControls_data()
{
    QTest::addColumn<bool>("bin");
    QTest::addColumn<QRect>("clock"); // empty: none
    QTest::newRow("no recycle bin: at the board's corner") << false << QRect();
    QTest::newRow("recycle bin: above it") << true << QRect();
    QTest::newRow("recycle bin and a clock above it") << true << QRect(850, 560, 160, 80);
}

// The buttons sit in a row at the board's bottom-right corner unless a control of the board
// lies there: then the row goes up until the bin (and whatever else) can still be reached.
void tst_DMagnifier::buttonsClearOfTheBoardControls()
{
    QFETCH(bool, bin);
    QFETCH(QRect, clock);
    BoardFixture::Board board;
    board.view()->m_binLabel->setVisible(bin);
    QWidget clockFace(board.window());
    clockFace.setGeometry(clock);
    clockFace.setVisible(!clock.isEmpty());
    board.current()->insertMagnifier();
    DMagnifier *magnifier = board.current()->classroomTools().magnifier;
    const QRect close(button(magnifier, "bClose")->mapTo(board.window(), QPoint()), QSize(40, 40));
    QCOMPARE(button(magnifier, "bZoomIn")->mapTo(board.window(), QPoint()),
             close.topLeft() - QPoint(45, 0));
    QCOMPARE(button(magnifier, "bZoomOut")->mapTo(board.window(), QPoint()),
             close.topLeft() - QPoint(90, 0));
    QCOMPARE(close.x(), 924);
    const QRect row = close.united(close.translated(-90, 0));
    QVERIFY(board.window()->rect().contains(row));
    if (!bin && clock.isEmpty())
        QCOMPARE(close.y(), 668);
    const QRect binArea = board.view()->m_binLabel->geometry().translated(board.view()->pos());
    QVERIFY2(!bin || !row.intersects(binArea),
             qPrintable(QStringLiteral("row at y %1").arg(row.y())));
    QVERIFY(!row.intersects(clock));
    QVERIFY(row.y() > 400); // still near the corner
}

void tst_DMagnifier::factorStepsAndBounds()
{
    BoardFixture::Board board;
    DMagnifier magnifier(board.window());
    magnifier.show();
    QTest::mouseClick(button(&magnifier, "bZoomOut"), Qt::LeftButton);
    QCOMPARE(magnifier.factor(), 2.1);
    QTest::mouseClick(button(&magnifier, "bZoomIn"), Qt::LeftButton);
    QTest::mouseClick(button(&magnifier, "bZoomIn"), Qt::LeftButton);
    QCOMPARE(magnifier.factor(), 1.9);
    for (int i = 0; i < 20; ++i)
        QTest::mouseClick(button(&magnifier, "bZoomIn"), Qt::LeftButton);
    QCOMPARE(magnifier.factor(), 1.0); // never below the board as it is
    for (int i = 0; i < 60; ++i)
        QTest::mouseClick(button(&magnifier, "bZoomOut"), Qt::LeftButton);
    QCOMPARE(magnifier.factor(), 5.0);
    QTest::mouseClick(button(&magnifier, "bClose"), Qt::LeftButton);
    QVERIFY(!magnifier.isVisible());
    QCOMPARE(magnifier.factor(), 5.0); // kept while hidden
}

void tst_DMagnifier::showsOnlyTheVeilWithoutAView()
{
    BoardFixture::Board board;
    board.current()->setBackgroundBrush(Qt::black);
    DMagnifier magnifier(board.window());
    const QImage shot = magnifier.grab(magnifier.lensRect()).toImage();
    const QColor centre = ToolsFixture::pixel(shot, shot.rect().center());
    const QColor corner = ToolsFixture::pixel(shot, QPoint(2, 2));
    QCOMPARE(centre, corner);
}

void tst_DMagnifier::lensShowsWhatLiesUnderItsCentre_data()
{
    QTest::addColumn<int>("zoomOutClicks");
    QTest::addColumn<qreal>("factor");
    QTest::newRow("twice") << 0 << 2.0;
    QTest::newRow("three times") << 10 << 3.0;
}

void tst_DMagnifier::lensShowsWhatLiesUnderItsCentre()
{
    QFETCH(int, zoomOutClicks);
    QFETCH(qreal, factor);
    BoardFixture::Board board;
    DPage *page = board.current();
    DView *view = board.view();
    // A green square of 20 with a red square of 4 in its middle, right under the lens centre.
    const QPointF under = view->mapToScene(QPoint(511, 383));
    auto *green = page->QGraphicsScene::addRect(QRectF(under - QPointF(10, 10), QSizeF(20, 20)),
                                                Qt::NoPen, QColor(0, 200, 0));
    auto *red = page->QGraphicsScene::addRect(QRectF(under - QPointF(2, 2), QSizeF(4, 4)),
                                              Qt::NoPen, QColor(220, 0, 0));
    Q_UNUSED(green)
    Q_UNUSED(red)
    page->insertMagnifier();
    DMagnifier *magnifier = page->classroomTools().magnifier;
    QVERIFY(magnifier && magnifier->isVisible());
    for (int i = 0; i < zoomOutClicks; ++i)
        QTest::mouseClick(button(magnifier, "bZoomOut"), Qt::LeftButton);
    QCOMPARE(magnifier->factor(), factor);

    const QRect lens = magnifier->lensRect();
    const QImage shot = magnifier->grab(lens).toImage();
    ToolsFixture::saveShot(board.window()->grab().toImage(), "magnifier");
    const QPoint centre(lens.width() / 2, lens.height() / 2);
    // What lies d from the centre on the board shows factor * d from the lens centre.
    auto at = [&](qreal boardOffset) {
        return ToolsFixture::pixel(shot, centre + QPoint(qRound(boardOffset * factor), 0));
    };
    QVERIFY2(ToolsFixture::near(at(0), QColor(220, 0, 0), 40), qPrintable(at(0).name()));
    QVERIFY2(ToolsFixture::near(at(-6), QColor(0, 200, 0), 40), qPrintable(at(-6).name()));
    QVERIFY2(ToolsFixture::near(at(6), QColor(0, 200, 0), 40), qPrintable(at(6).name()));
    QVERIFY2(ToolsFixture::near(at(14), QColor(255, 255, 255), 40), qPrintable(at(14).name()));
    // The red square is enlarged: 4 board pixels span about 4 * factor lens pixels.
    int redRun = 0;
    for (int x = 0; x < shot.width(); ++x)
        redRun += ToolsFixture::near(ToolsFixture::pixel(shot, QPoint(x, centre.y())),
                                     QColor(220, 0, 0), 40);
    QVERIFY2(qAbs(redRun - 4 * factor) <= 2, qPrintable(QString::number(redRun)));
}

void tst_DMagnifier::dragKeepsTheLensCentreOnTheBoard()
{
    BoardFixture::Board board;
    board.current()->insertMagnifier();
    DMagnifier *magnifier = board.current()->classroomTools().magnifier;
    QPushButton *close = button(magnifier, "bClose");
    const QPoint closeAt = close->mapTo(board.window(), QPoint());
    ToolsFixture::dragMoving(magnifier, QPoint(700, 700), { { 300, 0 }, { 3000, -2000 } });
    QCOMPARE(magnifier->pos(), QPoint(0, -768));
    const QPoint lensCentre = magnifier->mapTo(board.window(), magnifier->lensRect().center());
    QCOMPARE(lensCentre.x(), 1023);
    QCOMPARE(lensCentre.y(), (1536 - 1) / 2 - 768); // the top edge, to the whole pixel
    QCOMPARE(close->mapTo(board.window(), QPoint()), closeAt); // the buttons stay put
    // Half the lens now lies beyond the board: that half keeps the veil, nothing is smeared.
    const QImage shot = magnifier->grab(magnifier->lensRect()).toImage();
    QVERIFY(!shot.isNull());
}

QTEST_MAIN(tst_DMagnifier)
#include "tst_dmagnifier.moc"
