#include "support/boardfixture.h"
#include "support/contentmedia.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitembutton.h"
#include "board/drotateitemfocus.h"
#include "board/dview.h"

#include <QDesktopServices>
#include <QGraphicsItemGroup>
#include <QMediaPlayer>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

using namespace BoardFixture;

Q_DECLARE_METATYPE(BtMenus::eStack)

class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class tst_DRotateItem : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qRegisterMetaType<BtMenus::eStack>("BtMenus::eStack");
        TestSupport::recordConnectWarnings();
    }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void frameChildrenAreHandles();
    void layout_data();
    void layout();
    void handlesKeepToTheEdgesAtScaleTwo();
    void dragTurnsAndScales();
    void nearCentreOnlyGrows();
    void pressOnCentreNeverBreaksScale();
    void clickOpensMenuAndRecordsNothing();
    void pageLinkButton_data();
    void pageLinkButton();
    void webAndFileLinksOpenThroughDesktop();
    void lockButtonUnlocksUndoably();
    void lockMarkFollowsTheLock_data();
    void lockMarkFollowsTheLock();
    void dragOnButtonDoesNothing();
    void soundButtonShowsPlayOnceTheSoundEnds();
    void pageObjectsMakeTheirFrameWhenShown_data();
    void pageObjectsMakeTheirFrameWhenShown();
};

namespace {

// Paints every object once, as a repaint of the board would: the frames are laid out then.
void paintPage(DPage *page)
{
    QImage image(page->sceneRect().size().toSize(), QImage::Format_ARGB32);
    QPainter painter(&image);
    page->render(&painter);
}

QPoint viewPointOf(DView *view, QGraphicsItem *handle)
{
    return view->mapFromScene(handle->sceneBoundingRect().center());
}

} // namespace

void tst_DRotateItem::frameChildrenAreHandles()
{
    RectObject object(QRectF(0, 0, 50, 50));
    DRotateItem *frame = object.rotateItem();
    QCOMPARE(frame->type(), int(ItemTypeHandle));
    QCOMPARE(frame->path().isEmpty(), true);
    QCOMPARE(frame->childItems().size(), 6);
    for (QGraphicsItem *child : frame->childItems()) {
        QCOMPARE(child->type(), int(ItemTypeHandle));
        QVERIFY(!child->isVisible());
        QCOMPARE(static_cast<QGraphicsPixmapItem *>(child)->pixmap().height(), 35);
    }
    QCOMPARE(frame->m_btMedia->m_fnType, BtMenus::fnMedia);
    QCOMPARE(frame->m_btLock->m_fnType, BtMenus::fnLock);
    QCOMPARE(DCustomItem::fromItem(frame), nullptr);
    QCOMPARE(DCustomItem::fromItem(&object), static_cast<DCustomItem *>(&object));
}

void tst_DRotateItem::layout_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("grouped");
    QTest::addColumn<QStringList>("links"); // web, page, file, media
    QTest::addColumn<QString>("shown"); // f focus, w web, p page, l file, m media, k lock
    const QStringList none = { "", "", "", "" };
    const QStringList all = { "http://a.b", "2", "/tmp/f.txt", "/tmp/s.ogg" };
    QTest::newRow("plain") << false << false << false << none << "";
    QTest::newRow("selected") << true << false << false << none << "f";
    QTest::newRow("web link unselected")
            << false << false << false << QStringList{ "http://a.b", "", "", "" } << "w";
    QTest::newRow("all links selected") << true << false << false << all << "fwplm";
    QTest::newRow("locked selected") << true << true << false << none << "k";
    QTest::newRow("locked with links") << false << true << false << all << "wplmk";
    QTest::newRow("grouped selected") << true << false << true << all << "wplm";
}

void tst_DRotateItem::layout()
{
    QFETCH(bool, selected);
    QFETCH(bool, locked);
    QFETCH(bool, grouped);
    QFETCH(QStringList, links);
    QFETCH(QString, shown);
    Board board;
    DPage *page = board.page(0);
    RectObject *object = addRect(page, QRectF(0, 0, 100, 80), QPointF(200, 200));
    if (grouped) {
        auto *group = new RectObject(QRectF(0, 0, 300, 300), ItemTypeGroup);
        page->addItem(group);
        object->setParentItem(group);
    }
    object->changeLinks(links[0], links[1], links[2], links[3]);
    object->lock(locked);
    object->setSelected(selected);
    paintPage(page);

    DRotateItem *frame = object->rotateItem();
    const QRectF bounds = object->boundingRect(); // the rectangle and half its pen
    QCOMPARE(frame->pos(), bounds.center());
    const qreal half = bounds.height() / 2;
    const QMap<QChar, QGraphicsItem *> handles = {
        { 'f', frame->m_focus },      { 'w', frame->m_btWebLink }, { 'p', frame->m_btPageLink },
        { 'l', frame->m_btFileLink }, { 'm', frame->m_btMedia },   { 'k', frame->m_btLock },
    };
    for (auto it = handles.cbegin(); it != handles.cend(); ++it)
        QVERIFY2(it.value()->isVisible() == shown.contains(it.key()),
                 qPrintable(QString(it.key())));

    const qreal focusX = -frame->m_focus->boundingRect().center().x();
    QCOMPARE(frame->m_focus->pos(), QPointF(focusX, -half));
    QCOMPARE(frame->m_btWebLink->pos(), QPointF(focusX - 25, -half));
    QCOMPARE(frame->m_btPageLink->pos(), QPointF(focusX - 50, -half));
    QCOMPARE(frame->m_btFileLink->pos(), QPointF(focusX + 25, -half));
    QCOMPARE(frame->m_btMedia->pos(), QPointF(focusX, half - 35));
    QCOMPARE(frame->m_btLock->pos(), QPointF(focusX - 50, -half));

    // Emptied links hide their buttons and leave the previous links alone.
    object->m_prevLinkWeb = QStringLiteral("http://before");
    object->changeLinks(QString(), QString(), QString(), QString());
    paintPage(page);
    for (QGraphicsItem *button : { handles['w'], handles['p'], handles['l'], handles['m'] })
        QVERIFY(!button->isVisible());
    QCOMPARE(object->m_prevLinkWeb, QStringLiteral("http://before"));
}

void tst_DRotateItem::handlesKeepToTheEdgesAtScaleTwo()
{
    Board board;
    DPage *page = board.page(0);
    RectObject *object = addRect(page, QRectF(0, 0, 100, 80), QPointF(300, 300));
    object->m_linkMedia = QStringLiteral("/tmp/a.ogg");
    object->setTransformOriginPoint(50, 40);
    object->setScale(2);
    object->rotateItem()->setScale(0.5);
    object->setSelected(true);
    paintPage(page);
    const QRectF body = object->sceneBoundingRect();
    const QRectF focus = object->rotateItem()->m_focus->sceneBoundingRect();
    const QRectF media = object->rotateItem()->m_btMedia->sceneBoundingRect();
    // Both bounding rectangles carry half a pixel of margin of their own.
    QVERIFY2(qAbs(focus.top() - body.top()) <= 0.5,
             qPrintable(QStringLiteral("%1 %2").arg(focus.top()).arg(body.top())));
    QVERIFY(qAbs(focus.height() - 36) <= 0.5); // handles keep their size
    QVERIFY(qAbs(media.bottom() - body.bottom()) <= 0.5);
    if (!qEnvironmentVariable("BOARD_SCREENSHOT").isEmpty()) {
        object->m_linkWeb = object->m_linkPage = object->m_linkFile = QStringLiteral("x");
        board.view()->grab().save(qEnvironmentVariable("BOARD_SCREENSHOT"));
    }
    QVERIFY(qAbs(focus.center().x() - body.center().x()) <= 0.5);
}

void tst_DRotateItem::dragTurnsAndScales()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    RectObject *object = addRect(page, QRectF(0, 0, 200, 200), QPointF(200, 200));
    object->setSelected(true);
    paintPage(page);
    // Centre (300, 300); the handle sits on the top edge, y 200 to 235.
    QSignalSpy released(object->rotateItem()->m_focus, &DRotateItemFocus::releaseBt);
    TestSupport::drag(view->viewport(), { QPoint(300, 210), QPoint(300, 160), QPoint(300, 120) });
    QVERIFY(qAbs(object->scale() - 2.0) < 1e-9);
    QVERIFY(qAbs(object->rotateItem()->scale() - 0.5) < 1e-9);
    QVERIFY(qAbs(object->rotation()) < 1e-9);
    QCOMPARE(released.count(), 1);
    QCOMPARE(released.at(0).at(0).toPoint(), QPoint(300, 120));
    QCOMPARE(page->undoStack()->count(), 1);
    page->setUndo();
    QCOMPARE(object->scale(), 1.0);
    QCOMPARE(object->rotateItem()->scale(), 1.0);
    page->setRedo();
    QVERIFY(qAbs(object->scale() - 2.0) < 1e-9);

    // A quarter turn counter-clockwise on screen.
    Board other;
    other.view()->setSelect();
    RectObject *turned = addRect(other.page(0), QRectF(0, 0, 200, 200), QPointF(200, 200));
    turned->setSelected(true);
    paintPage(other.page(0));
    TestSupport::drag(other.view()->viewport(),
                      { QPoint(300, 210), QPoint(250, 230), QPoint(210, 300) });
    QVERIFY2(qAbs(turned->rotation() + 90) < 1e-6, qPrintable(QString::number(turned->rotation())));
    QVERIFY(qAbs(turned->scale() - 1.0) < 1e-9);
}

void tst_DRotateItem::nearCentreOnlyGrows()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    RectObject *object = addRect(page, QRectF(0, 0, 200, 200), QPointF(200, 200));
    object->setSelected(true);
    paintPage(page);
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(300, 220)); // 80 away
    TestSupport::moveTo(view->viewport(), QPoint(300, 180)); // 120 away: 1.5
    QVERIFY(qAbs(object->scale() - 1.5) < 1e-9);
    TestSupport::moveTo(view->viewport(), QPoint(300, 280)); // 20 away: 0.25 refused
    QVERIFY(qAbs(object->scale() - 1.5) < 1e-9);
    TestSupport::moveTo(view->viewport(), QPoint(300, 260)); // 40 away: 0.5 accepted
    QVERIFY(qAbs(object->scale() - 0.5) < 1e-9);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 260));
}

void tst_DRotateItem::pressOnCentreNeverBreaksScale()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    // So small that the handle covers its centre.
    RectObject *object = addRect(page, QRectF(0, 0, 10, 10), QPointF(400, 400));
    object->setSelected(true);
    paintPage(page);
    TestSupport::drag(view->viewport(), { QPoint(405, 405), QPoint(405, 450), QPoint(460, 405) });
    QVERIFY(std::isfinite(object->scale()));
    QVERIFY(object->scale() > 0);
    QVERIFY(std::isfinite(object->rotateItem()->scale()));
    QVERIFY(std::isfinite(object->rotation()));
}

void tst_DRotateItem::clickOpensMenuAndRecordsNothing()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    RectObject *object = addRect(page, QRectF(0, 0, 200, 200), QPointF(200, 200));
    QMenu menu;
    menu.addAction(QStringLiteral("Borrar"));
    object->rotateItem()->m_focus->m_menu = &menu;
    object->setSelected(true);
    paintPage(page);
    bool shown = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&]() {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            shown = true;
            popup->close();
        }
    });
    closer.start(20);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 210));
    QVERIFY(shown);
    QCOMPARE(page->undoStack()->count(), 0);
    QVERIFY(object->isSelected());
}

void tst_DRotateItem::pageLinkButton_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("reported");
    QTest::addColumn<int>("jump"); // -1: no jump
    QTest::newRow("page 3") << "3" << 2 << 2;
    QTest::newRow("page 1") << "1" << 0 << 0;
    QTest::newRow("not a number") << "tres" << -1 << -1;
    QTest::newRow("page 0") << "0" << -1 << -1;
}

void tst_DRotateItem::pageLinkButton()
{
    QFETCH(QString, link);
    QFETCH(int, reported);
    QFETCH(int, jump);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    RectObject *object = addRect(page, QRectF(0, 0, 200, 200), QPointF(200, 200));
    object->m_linkPage = link;
    paintPage(page);
    DRotateItemButton *button = object->rotateItem()->m_btPageLink;
    QVERIFY(button->isVisible());
    QSignalSpy reports(button, &DRotateItemButton::releaseBt);
    QSignalSpy jumps(page, &DPage::goToPage);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, viewPointOf(view, button));
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.at(0).at(0).toPoint(), QPoint(reported, 0));
    QCOMPARE(reports.at(0).at(1).toInt(), int(BtMenus::stGoToPage));
    if (jump < 0) {
        QCOMPARE(jumps.count(), 0);
    } else {
        QCOMPARE(jumps.count(), 1);
        QCOMPARE(jumps.at(0).at(0).toInt(), jump);
    }
    QCOMPARE(page->undoStack()->count(), 0);
    QVERIFY(object->isSelected());
}

void tst_DRotateItem::webAndFileLinksOpenThroughDesktop()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    RectObject *object = addRect(page, QRectF(0, 0, 200, 200), QPointF(200, 200));
    object->m_linkWeb = QStringLiteral("http://example.org/a page");
    object->m_linkFile = QStringLiteral("/tmp/notes of class.txt");
    paintPage(page);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      viewPointOf(view, object->rotateItem()->m_btWebLink));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      viewPointOf(view, object->rotateItem()->m_btFileLink));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(recorder.opened.size(), 2);
    QCOMPARE(recorder.opened.at(0), QUrl(QStringLiteral("http://example.org/a%20page")));
    QCOMPARE(recorder.opened.at(1), QUrl::fromLocalFile(QStringLiteral("/tmp/notes of class.txt")));
}

void tst_DRotateItem::lockButtonUnlocksUndoably()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    RectObject *object = addRect(page, QRectF(0, 0, 200, 200), QPointF(200, 200));
    object->lock(true);
    paintPage(page);
    QVERIFY(object->rotateItem()->m_btLock->isVisible());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      viewPointOf(view, object->rotateItem()->m_btLock));
    QVERIFY(!object->isLocked());
    QCOMPARE(page->undoStack()->count(), 1);
    QVERIFY(page->isModified());
    page->setUndo();
    QVERIFY(object->isLocked());
    page->setRedo();
    QVERIFY(!object->isLocked());
}

void tst_DRotateItem::lockMarkFollowsTheLock_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("marked");
    for (const char *kind : { "picture", "shape" }) {
        QTest::addRow("%s: lock", kind) << kind << QStringList{ "lock" } << true;
        QTest::addRow("%s: unlock", kind) << kind << QStringList{ "lock", "unlock" } << false;
        QTest::addRow("%s: undo of an unlock", kind)
                << kind << QStringList{ "lock", "unlock", "undo" } << true;
        QTest::addRow("%s: redo of an unlock", kind)
                << kind << QStringList{ "lock", "unlock", "undo", "redo" } << false;
        QTest::addRow("%s: undo of a lock", kind) << kind << QStringList{ "lock", "undo" } << false;
        QTest::addRow("%s: redo of a lock", kind)
                << kind << QStringList{ "lock", "undo", "redo" } << true;
    }
}

// The mark is looked for in the board's own picture, painted after every step: the toolkit keeps
// a picture of each object and draws it again without a paint unless the object asks for one.
void tst_DRotateItem::lockMarkFollowsTheLock()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, steps);
    QFETCH(bool, marked);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    const QColor ink(200, 60, 60);
    QGraphicsItem *item = nullptr;
    if (kind == QLatin1String("picture")) {
        QPixmap picture(240, 160);
        picture.fill(ink);
        item = page->addPixmapItem(picture, QPointF(300, 200), 0, 1.0f, QTransform(), true);
    } else {
        QPainterPath box;
        box.addRect(0, 0, 240, 160);
        auto *shape = addCurve(page, box, QPointF(300, 200), BtMenus::btRectangle, true,
                               QPen(ink, 2));
        shape->setBrush(ink);
        item = shape;
    }
    DCustomItem *object = DCustomItem::fromItem(item);
    // Pixels other than the object's ink where the mark lies over the object.
    const auto inkAround = [&](const QRectF &sceneRect) {
        const QRect area = view->mapFromScene(sceneRect).boundingRect().adjusted(3, 3, -3, -3);
        const QImage board = view->viewport()->grab(area).toImage();
        int other = 0;
        for (int y = 0; y < board.height(); ++y) {
            for (int x = 0; x < board.width(); ++x)
                other += QColor(board.pixel(x, y)) != ink;
        }
        return other;
    };
    for (const QString &step : steps) {
        item->setSelected(true);
        if (step == QLatin1String("lock")) {
            view->lockObj(); // the menu entry
        } else if (step == QLatin1String("unlock")) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                              viewPointOf(view, object->rotateItem()->m_btLock));
        } else if (step == QLatin1String("undo")) {
            page->setUndo();
        } else {
            page->setRedo();
        }
        view->viewport()->grab(); // the board as it is shown after the step
    }
    QCOMPARE(object->isLocked(), marked);
    const QRectF mark = object->rotateItem()->m_btLock->sceneBoundingRect();
    const QRectF inked(300, 200, 240, 160); // the object without its outline or margins
    QVERIFY(inked.intersected(mark).height() > 20);
    // At once, and after the object is let go.
    QCOMPARE(inkAround(inked.intersected(mark)) > 100, marked);
    page->clearSelection();
    QCOMPARE(inkAround(inked.intersected(mark)) > 100, marked);
}

void tst_DRotateItem::soundButtonShowsPlayOnceTheSoundEnds()
{
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("bell.wav"));
    const QString made = ContentMedia::makeSound(file, 300);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGSoundItem *sound = page->addSoundItem(file, QPointF(200, 200), 0, 1, QTransform(), false);
    sound->setSelected(true);
    paintPage(page);
    DRotateItemButton *media = sound->rotateItem()->m_btMedia;
    QVERIFY(media->isVisible());
    const QImage play = DRotateItem::icon(DRotateItemButton::iconFor(BtMenus::fnMedia)).toImage();
    QCOMPARE(media->pixmap().toImage(), play);
    const QImage stop = DRotateItem::icon(QStringLiteral(":/Icon/baVideoStop.png")).toImage();
    QVERIFY(stop != play);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, viewPointOf(view, media));
    // While the sound plays the button offers to stop it; once the sound has played to its end
    // it offers to play it again, not to stop what no longer plays.
    QCOMPARE(media->pixmap().toImage(), stop);
    QVERIFY(media->m_player);
    QTRY_COMPARE_WITH_TIMEOUT(media->pixmap().toImage(), play, 30000);
    QVERIFY2(media->m_player->error() == QMediaPlayer::NoError,
             qPrintable(media->m_player->errorString()));
    QCOMPARE(media->m_player->mediaStatus(), QMediaPlayer::EndOfMedia);
}

void tst_DRotateItem::dragOnButtonDoesNothing()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    RectObject *object = addRect(page, QRectF(0, 0, 200, 200), QPointF(200, 200));
    object->m_linkPage = QStringLiteral("2");
    paintPage(page);
    DRotateItemButton *button = object->rotateItem()->m_btPageLink;
    QSignalSpy reports(button, &DRotateItemButton::releaseBt);
    const QPoint start = viewPointOf(view, button);
    TestSupport::drag(view->viewport(), { start, start + QPoint(6, 0), start + QPoint(12, 0) });
    QCOMPARE(reports.count(), 0);
    QVERIFY(object->isSelected());
    QCOMPARE(object->transformOriginPoint(), QPointF(100, 100));
}

void tst_DRotateItem::pageObjectsMakeTheirFrameWhenShown_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("shown"); // as in layout; "-": no frame made
    for (const char *kind : { "stroke", "picture", "text" }) {
        QTest::addRow("%s untouched", kind) << kind << ""
                                            << "-";
        QTest::addRow("%s selected", kind) << kind << "select"
                                           << "f";
        QTest::addRow("%s locked", kind) << kind << "lock"
                                         << "k";
        QTest::addRow("%s linked", kind) << kind << "link"
                                         << "p";
        QTest::addRow("%s locked by its flags", kind) << kind << "flags"
                                                      << "k";
    }
}

// Objects a document brings make their frame only when something of it is to be shown; made
// then, it is what it would have been from the start: its scale, menu and page connections.
void tst_DRotateItem::pageObjectsMakeTheirFrameWhenShown()
{
    QFETCH(QString, kind);
    QFETCH(QString, change);
    QFETCH(QString, shown);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    const QPointF at(200, 200);
    QGraphicsItem *item = nullptr;
    if (kind == QLatin1String("stroke")) {
        item = page->addCurveItem(stroke(30, 80, 7).translated(at), QPen(Qt::blue, 3), 0,
                                  BtMenus::btPencil, BtMenus::fnPathSceneCoords, at, 2.0f,
                                  QTransform(), false);
    } else if (kind == QLatin1String("picture")) {
        QPixmap picture(80, 60);
        picture.fill(Qt::red);
        item = page->addPixmapItem(picture, at, 0, 2.0f, QTransform(), false);
    } else {
        item = page->addTextItem(QStringLiteral("Hola"), QFont(QString(), 25), at, 0, 2.0f,
                                 QTransform(), false);
    }
    DCustomItem *object = DCustomItem::fromItem(item);
    QVERIFY(object);
    QVERIFY(!object->madeRotateItem());
    if (change == QLatin1String("select"))
        item->setSelected(true);
    else if (change == QLatin1String("lock"))
        object->lock(true);
    else if (change == QLatin1String("link"))
        object->changeLinks(QString(), QStringLiteral("1"), QString(), QString());
    else if (change == QLatin1String("flags"))
        item->setFlags(item->flags() & ~QGraphicsItem::ItemIsMovable);
    paintPage(page);

    DRotateItem *frame = object->madeRotateItem();
    QCOMPARE(frame != nullptr, shown != QLatin1String("-"));
    if (!frame)
        return;
    QCOMPARE(frame->parentItem(), item);
    QCOMPARE(frame->scale(), 0.5);
    QVERIFY(frame->m_focus->m_menu);
    QCOMPARE(object->frameMenu(), frame->m_focus->m_menu);
    const QMap<QChar, QGraphicsItem *> handles = {
        { 'f', frame->m_focus },      { 'w', frame->m_btWebLink }, { 'p', frame->m_btPageLink },
        { 'l', frame->m_btFileLink }, { 'm', frame->m_btMedia },   { 'k', frame->m_btLock },
    };
    for (auto it = handles.cbegin(); it != handles.cend(); ++it)
        QVERIFY2(it.value()->isVisible() == shown.contains(it.key()),
                 qPrintable(QString(it.key())));
    if (shown == QLatin1String("k")) {
        // The button reports to the page, which unlocks as an undo step.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          viewPointOf(view, frame->m_btLock));
        QVERIFY(!object->isLocked());
        QCOMPARE(page->undoStack()->count(), 1);
    } else if (shown == QLatin1String("p")) {
        QSignalSpy jumps(page, &DPage::goToPage);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          viewPointOf(view, frame->m_btPageLink));
        QCOMPARE(jumps.count(), 1);
    }
}

QTEST_MAIN(tst_DRotateItem)
#include "tst_drotateitem.moc"
