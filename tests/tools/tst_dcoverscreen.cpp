#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/dcoverscreen.h"
#include "tools/dimagelabel.h"

#include <QColorDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {
const QColor kCurtain(0, 85, 120);

QWidget *makeBoard(QWidget &board)
{
    board.setFixedSize(1920, 1080);
    board.setAutoFillBackground(true);
    QPalette white = board.palette();
    white.setColor(QPalette::Window, Qt::white);
    board.setPalette(white);
    return &board;
}

// The middle of a handle, where the teacher grabs it.
QPoint grip(DImageLabel *handle)
{
    return QPoint(handle->width() / 2, handle->height() / 2);
}
} // namespace

class tst_DCoverScreen : public QObject
{
    Q_OBJECT

private slots:
    void handleReportsPressDragAndRelease();
    void coversTheWholeBoard();
    void pullingAnEdgeKeepsTheOppositeOne_data();
    void pullingAnEdgeKeepsTheOppositeOne();
    void edgesStopShortOfEachOther();
    void rightButtonPullsNothing();
    void wholeCurtainDragsFreely();
    void colourChosenInTheDialog();
    void cancelledColourChangesNothing();
    void reuseRestoresTheFullCurtain();

private:
    static DImageLabel *handle(DCoverScreen &curtain, const char *name)
    {
        return curtain.findChild<DImageLabel *>(QLatin1String(name));
    }
    static QPushButton *button(DCoverScreen &curtain, const char *name)
    {
        return curtain.findChild<QPushButton *>(QLatin1String(name));
    }
    static QPoint onBoard(QWidget *child, QWidget *board) { return child->mapTo(board, {}); }
};

void tst_DCoverScreen::handleReportsPressDragAndRelease()
{
    QWidget parent;
    DImageLabel label(&parent, 30, 40, QStringLiteral("Curtain_Top.png"),
                      QStringLiteral("Curtain_Close.png"));
    QVERIFY(label.isVisibleTo(&parent));
    QCOMPARE(label.pos(), QPoint(30, 40));
    QVERIFY(label.width() <= 35 && label.height() <= 35 && label.width() > 0);
    const QImage normal = label.pixmap(Qt::ReturnByValue).toImage();
    QSignalSpy pressed(&label, &DImageLabel::signals_mousePress);
    QSignalSpy moved(&label, &DImageLabel::signals_mouseMove);
    QSignalSpy released(&label, &DImageLabel::signals_mouseRelease);

    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 12));
    QCOMPARE(pressed.count(), 1);
    QVERIFY(label.pixmap(Qt::ReturnByValue).toImage() != normal); // the pressed icon while held
    TestSupport::moveTo(&label, QPoint(25, 5));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(1).toPoint(), QPoint(15, -7));
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(25, 5));
    QCOMPARE(released.count(), 1);
    QCOMPARE(label.pixmap(Qt::ReturnByValue).toImage(), normal);

    // Another button shows the pressed icon but reports nothing.
    QTest::mousePress(&label, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    TestSupport::moveTo(&label, QPoint(20, 20), Qt::RightButton);
    QTest::mouseRelease(&label, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(released.count(), 1);

    label.setUpImageName(QStringLiteral("Curtain_Close.png"));
    QCOMPARE(label.imageName(), QStringLiteral("Curtain_Close.png"));
}

void tst_DCoverScreen::coversTheWholeBoard()
{
    QWidget board;
    DCoverScreen curtain(makeBoard(board));
    board.show();
    QCOMPARE(curtain.geometry(), QRect(0, 0, 1920, 1080));
    QCOMPARE(onBoard(handle(curtain, "bTop"), &board), QPoint(940, 0));
    QCOMPARE(onBoard(handle(curtain, "bRight"), &board), QPoint(1900, 520));
    QCOMPARE(onBoard(handle(curtain, "bBottom"), &board), QPoint(940, 1060));
    QCOMPARE(onBoard(handle(curtain, "bLeft"), &board), QPoint(0, 520));
    QCOMPARE(onBoard(button(curtain, "bSelectColor"), &board), QPoint(1775, 980));
    QCOMPARE(onBoard(button(curtain, "bClose"), &board), QPoint(1820, 980));
    QCOMPARE(button(curtain, "bSelectColor")->text(), QStringLiteral("T"));

    const QImage picture = board.grab().toImage();
    ToolsFixture::saveShot(picture, QStringLiteral("curtain"));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, { 500, 300 }), kCurtain, 0));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, { 0, 300 }), Qt::black, 0));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, { 1822, 1000 }),
                               QColor(180, 180, 180)));
}

void tst_DCoverScreen::pullingAnEdgeKeepsTheOppositeOne_data()
{
    QTest::addColumn<QString>("edge");
    QTest::addColumn<QPoint>("pull");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QPoint>("handleAt"); // on the board, still under the pointer
    // clang-format off
    QTest::newRow("top down 200") << "bTop" << QPoint(0, 200) << QRect(0, 200, 1920, 880) << QPoint(940, 200);
    QTest::newRow("top up 50") << "bTop" << QPoint(3, -50) << QRect(0, -50, 1920, 1130) << QPoint(940, -50);
    QTest::newRow("left right 100") << "bLeft" << QPoint(100, 0) << QRect(100, 0, 1820, 1080) << QPoint(100, 520);
    QTest::newRow("right in 300") << "bRight" << QPoint(-300, 3) << QRect(0, 0, 1620, 1080) << QPoint(1600, 520);
    QTest::newRow("bottom up 80") << "bBottom" << QPoint(0, -80) << QRect(0, 0, 1920, 1000) << QPoint(940, 980);
    // clang-format on
}

void tst_DCoverScreen::pullingAnEdgeKeepsTheOppositeOne()
{
    QFETCH(QString, edge);
    QFETCH(QPoint, pull);
    QFETCH(QRect, geometry);
    QFETCH(QPoint, handleAt);
    QWidget board;
    DCoverScreen curtain(makeBoard(board));
    board.show();
    const QPoint closeBefore = onBoard(button(curtain, "bClose"), &board);
    DImageLabel *pulled = handle(curtain, qPrintable(edge));
    ToolsFixture::dragMoving(pulled, grip(pulled), { pull / 2, pull });
    QCOMPARE(curtain.geometry(), geometry);
    QCOMPARE(onBoard(pulled, &board), handleAt);
    if (edge == QLatin1String("bTop") || edge == QLatin1String("bLeft"))
        QCOMPARE(onBoard(button(curtain, "bClose"), &board), closeBefore);
}

void tst_DCoverScreen::edgesStopShortOfEachOther()
{
    QWidget board;
    DCoverScreen curtain(makeBoard(board));
    board.show();
    ToolsFixture::dragMoving(handle(curtain, "bTop"), { 10, 10 }, { { 0, 5000 } });
    QCOMPARE(curtain.geometry(),
             QRect(0, 1080 - DCoverScreen::kMinimumSide, 1920, DCoverScreen::kMinimumSide));
    ToolsFixture::dragMoving(handle(curtain, "bRight"), { 10, 10 }, { { -5000, 0 } });
    QCOMPARE(curtain.width(), DCoverScreen::kMinimumSide);
    ToolsFixture::dragMoving(handle(curtain, "bBottom"), { 10, 10 }, { { 0, -5000 } });
    QCOMPARE(curtain.height(), DCoverScreen::kMinimumSide);
    ToolsFixture::dragMoving(handle(curtain, "bLeft"), { 10, 10 }, { { 5000, 0 } });
    QCOMPARE(curtain.width(), DCoverScreen::kMinimumSide);
    QCOMPARE(curtain.x(), 0);
}

void tst_DCoverScreen::rightButtonPullsNothing()
{
    QWidget board;
    DCoverScreen curtain(makeBoard(board));
    board.show();
    ToolsFixture::dragMoving(handle(curtain, "bTop"), { 10, 10 }, { { 0, 300 } }, Qt::RightButton);
    ToolsFixture::dragMoving(&curtain, { 500, 500 }, { { 200, 300 } }, Qt::RightButton);
    QCOMPARE(curtain.geometry(), QRect(0, 0, 1920, 1080));
}

void tst_DCoverScreen::wholeCurtainDragsFreely()
{
    QWidget board;
    DCoverScreen curtain(makeBoard(board));
    board.show();
    ToolsFixture::dragMoving(&curtain, { 500, 500 }, { { -100, 40 }, { -2500, 1500 } });
    QCOMPARE(curtain.pos(), QPoint(-2500, 1500)); // wholly off the board: no clamp
    QCOMPARE(curtain.size(), QSize(1920, 1080));
}

void tst_DCoverScreen::colourChosenInTheDialog()
{
    QWidget board;
    DCoverScreen curtain(makeBoard(board));
    board.show();
    for (int round = 0; round < 2; ++round) {
        QColor initial;
        auto answered = TestSupport::answerNextModal([&initial](QWidget *dialog) {
            auto *colours = qobject_cast<QColorDialog *>(dialog);
            QVERIFY(colours);
            initial = colours->currentColor();
            colours->setCurrentColor(Qt::red);
            colours->accept();
        });
        QTest::mouseClick(button(curtain, "bSelectColor"), Qt::LeftButton);
        QVERIFY(*answered);
        QCOMPARE(initial, QColor(115, 115, 115)); // grey every time, not the curtain's colour
    }
    QCOMPARE(curtain.color(), QColor(Qt::red));
    const QString sheet = button(curtain, "bSelectColor")->styleSheet();
    QVERIFY2(sheet.contains(QLatin1String("color:rgb(255,0,0)")), qPrintable(sheet));
    QVERIFY(sheet.contains(QLatin1String("font-size:40pt")));
    const QImage picture = board.grab().toImage();
    ToolsFixture::saveShot(picture, QStringLiteral("curtain-red"));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, { 500, 300 }), Qt::red, 0));
}

void tst_DCoverScreen::cancelledColourChangesNothing()
{
    QWidget board;
    DCoverScreen curtain(makeBoard(board));
    const QString sheet = button(curtain, "bSelectColor")->styleSheet();
    auto answered = TestSupport::answerNextModal([](QWidget *dialog) {
        qobject_cast<QColorDialog *>(dialog)->setCurrentColor(Qt::green);
        TestSupport::pressEscape(dialog);
    });
    QTest::mouseClick(button(curtain, "bSelectColor"), Qt::LeftButton);
    QVERIFY(*answered);
    QCOMPARE(curtain.color(), kCurtain);
    QCOMPARE(button(curtain, "bSelectColor")->styleSheet(), sheet);
}

void tst_DCoverScreen::reuseRestoresTheFullCurtain()
{
    QWidget board;
    DCoverScreen curtain(makeBoard(board));
    board.show();
    ToolsFixture::dragMoving(handle(curtain, "bLeft"), { 10, 10 }, { { 400, 0 } });
    ToolsFixture::dragMoving(&curtain, { 500, 500 }, { { 100, 100 } });
    QTest::mouseClick(button(curtain, "bClose"), Qt::LeftButton);
    QVERIFY(!curtain.isVisible());
    // What the page does on every use of the curtain command.
    curtain.show();
    curtain.setFixedSize(board.size());
    curtain.move(0, 0);
    curtain.raise();
    QCOMPARE(curtain.geometry(), QRect(0, 0, 1920, 1080));
    QCOMPARE(onBoard(handle(curtain, "bRight"), &board), QPoint(1900, 520));
    QCOMPARE(onBoard(button(curtain, "bClose"), &board), QPoint(1820, 980));
}

QTEST_MAIN(tst_DCoverScreen)
#include "tst_dcoverscreen.moc"
