#include "content/dlabel.h"
#include "support/galleryfixture.h"
#include "support/testsupport.h"

#include <QDrag>
#include <QMimeData>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

// Drags need the platform's drag and drop, which only a real X server offers.
namespace {

using GalleryFixture::decodePayload;
using GalleryFixture::Payload;

QPixmap swatch(int width, int height, const QColor &colour)
{
    QPixmap pixmap(width, height);
    pixmap.fill(colour);
    return pixmap;
}

// What the user's drag handed to the toolkit, caught while the drag runs.
struct CaughtDrag
{
    bool started = false;
    bool duringMove = false; // the drag held the move until it ended
    QStringList formats;
    QByteArray payload;
    QSize pixmapSize;
    QPoint hotSpot;
    Qt::DropActions actions;
};

// Stands where the board page would: takes "imagedata" drops and keeps what arrived, where.
class DropTarget : public QWidget
{
public:
    DropTarget() { setAcceptDrops(true); }
    QByteArray payload;
    QPoint dropPoint;
    Qt::DropAction action = Qt::IgnoreAction;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (event->mimeData()->hasFormat(QStringLiteral("imagedata")))
            event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent *event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent *event) override
    {
        payload = event->mimeData()->data(QStringLiteral("imagedata"));
        dropPoint = event->pos();
        action = event->proposedAction();
        event->acceptProposedAction();
    }
};

} // namespace

class tst_DLabelDrag : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void dragCarriesPayload_data();
    void dragCarriesPayload();
    void dropOnTarget();

private:
    CaughtDrag moveToDrag(DLabel *tile, Qt::MouseButton button, bool endByRelease);
};

void tst_DLabelDrag::initTestCase()
{
    TestSupport::recordConnectWarnings();
}

void tst_DLabelDrag::cleanup()
{
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

CaughtDrag tst_DLabelDrag::moveToDrag(DLabel *tile, Qt::MouseButton button, bool endByRelease)
{
    CaughtDrag caught;
    const QPoint start(50, 50);
    QTest::mousePress(tile, button, {}, start);
    // The drag runs its own event loop inside the move; look at it from there, then let the
    // user's hand go (or press Escape), which ends it.
    bool insideMove = true;
    QTimer::singleShot(0, tile, [tile, button, endByRelease, start, &caught, &insideMove]() {
        caught.duringMove = insideMove;
        QDrag *drag = tile->findChild<QDrag *>();
        if (!drag)
            return;
        caught.started = true;
        caught.formats = drag->mimeData()->formats();
        caught.payload = drag->mimeData()->data(QStringLiteral("imagedata"));
        caught.pixmapSize = drag->pixmap().size();
        caught.hotSpot = drag->hotSpot();
        caught.actions = drag->supportedActions();
        if (endByRelease)
            QTest::mouseRelease(tile, button, {}, start + QPoint(1, 0));
        else
            QTest::keyClick(tile, Qt::Key_Escape);
    });
    TestSupport::moveTo(tile, start + QPoint(1, 0), button);
    insideMove = false;
    if (!endByRelease)
        QTest::mouseRelease(tile, button, {}, start + QPoint(1, 0));
    // The toolkit may hand the release that ended the drag back to the tile afterwards.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return caught;
}

void tst_DLabelDrag::dragCarriesPayload_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("endByRelease");

    const QStringList picture{ "0", ":/PicRes/Fish/SHARK.png", "" };
    const QStringList word{ "1", "", "aeroplane" };
    QTest::newRow("picture, left, dropped")
            << int(BtMenus::resImage) << int(Qt::LeftButton) << picture << true;
    QTest::newRow("picture, right, dropped")
            << int(BtMenus::resImage) << int(Qt::RightButton) << picture << true;
    QTest::newRow("picture, left, Escape")
            << int(BtMenus::resImage) << int(Qt::LeftButton) << picture << false;
    QTest::newRow("word, left, dropped")
            << int(BtMenus::resText) << int(Qt::LeftButton) << word << true;
    QTest::newRow("word, middle, Escape")
            << int(BtMenus::resText) << int(Qt::MiddleButton) << word << false;
}

void tst_DLabelDrag::dragCarriesPayload()
{
    QFETCH(int, kind);
    QFETCH(int, button);
    QFETCH(QStringList, fields);
    QFETCH(bool, endByRelease);

    DLabel tile(static_cast<BtMenus::resType>(kind));
    if (kind == BtMenus::resImage)
        tile.setFileName(fields.at(1));
    else
        tile.setText(fields.at(2));
    tile.setPixmap(swatch(120, 81, Qt::darkGreen));
    tile.show();
    QSignalSpy images(&tile, &DLabel::mouseRelImage);
    QSignalSpy words(&tile, &DLabel::mouseRelText);

    const CaughtDrag caught = moveToDrag(&tile, Qt::MouseButton(button), endByRelease);
    QVERIFY2(caught.started, "a one-pixel move did not start a drag");
    QVERIFY(caught.duringMove);
    QCOMPARE(caught.formats, QStringList{ "imagedata" });
    const Payload read = decodePayload(caught.payload);
    QVERIFY(read.complete);
    QCOMPARE(read.fields, fields);
    QCOMPARE(caught.pixmapSize, QSize(120, 81));
    QCOMPARE(caught.hotSpot, QPoint(60, 40));
    QCOMPARE(caught.actions, Qt::DropActions(Qt::MoveAction));
    // The release that ended the drag is not a click.
    QCOMPARE(images.count() + words.count(), 0);

    // The next plain click is one again.
    QTest::mouseClick(&tile, Qt::MouseButton(button), {}, QPoint(30, 30));
    QCOMPARE(images.count() + words.count(), 1);
}

void tst_DLabelDrag::dropOnTarget()
{
    // The word travels from the tile to another window as the user carries it there.
    DLabel tile(BtMenus::resText);
    tile.setText(QStringLiteral("Monday"));
    tile.setPixmap(swatch(100, 40, Qt::white));
    tile.move(0, 0);
    tile.show();
    DropTarget target;
    target.setGeometry(400, 300, 300, 200);
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tile));
    QVERIFY(QTest::qWaitForWindowExposed(&target));
    QSignalSpy words(&tile, &DLabel::mouseRelText);

    const QPoint start(40, 40);
    const QPoint overTarget = target.mapToGlobal(QPoint(120, 80));
    QTest::mousePress(&tile, Qt::LeftButton, {}, start);
    bool dragRan = false;
    QTimer::singleShot(0, &tile, [&]() {
        dragRan = tile.findChild<QDrag *>() != nullptr;
        QWindow *window = tile.windowHandle();
        const QPoint local = window->mapFromGlobal(overTarget);
        QMouseEvent carry(QEvent::MouseMove, local, overTarget, Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(window, &carry);
        QMouseEvent release(QEvent::MouseButtonRelease, local, overTarget, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &release);
    });
    TestSupport::moveTo(&tile, start + QPoint(0, 1));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    QVERIFY(dragRan);
    QVERIFY2(!target.payload.isEmpty(), "nothing was dropped on the target");
    const Payload read = decodePayload(target.payload);
    QVERIFY(read.complete);
    QCOMPARE(read.fields, (QStringList{ "1", "", "Monday" }));
    QCOMPARE(target.action, Qt::MoveAction);
    QCOMPARE(target.dropPoint, QPoint(120, 80));
    QCOMPARE(words.count(), 0);
}

QTEST_MAIN(tst_DLabelDrag)
#include "tst_dlabel_xvfb.moc"
