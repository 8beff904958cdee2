#include "support/boardfixture.h"
#include "support/contentmedia.h"
#include "support/itemmedia.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/animationplayer.h"
#include "board/dggifitem.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpathvertexitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitemfocus.h"
#include "board/dview.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(QPainterPath)

#include <cmath>
#include <functional>

using namespace BoardFixture;

class tst_DPageFactories : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void geometryAndRecording_data();
    void geometryAndRecording();
    void releaseOfTheNewObjectIsRecorded();
    void freehandStrokeStartsAtTheObjectOrigin_data();
    void freehandStrokeStartsAtTheObjectOrigin();
    void instrumentPathKeepsItsCoordinates();
    void curveMenuFollowsFillability();
    void damagedInputAddsNothingOrIsClamped();
    void pathsThatCannotBeShownNeverReachThePage_data();
    void pathsThatCannotBeShownNeverReachThePage();
    void pictureIsCentredOnTheView();
    void animatedImageIsNotRecorded();
    void capitalGifIsAStillPicture();
    void unreadablePictureSaysSo_data();
    void unreadablePictureSaysSo();
    void captureLandsAtItsCorner();
    void videoPosterFrame();
};

namespace {

using Factory = std::function<QGraphicsItem *(DPage *, QPointF, float, float, QTransform, bool)>;

struct FactoryCase
{
    const char *name;
    int type;
    bool centredOrigin;
    Factory make;
};

QPixmap smallPicture()
{
    QPixmap pixmap(60, 40);
    pixmap.fill(Qt::darkGreen);
    return pixmap;
}

QPainterPath tablePath()
{
    QPainterPath path;
    path.addRect(300, 200, 120, 90);
    return path;
}

QList<FactoryCase> factoryCases()
{
    return {
        { "picture", ItemTypePixmap, true,
          [](DPage *page, QPointF pos, float r, float s, QTransform t, bool record) {
              return page->addPixmapItem(smallPicture(), pos, r, s, t, record);
          } },
        { "UBZ picture", ItemTypePixmap, false,
          [](DPage *page, QPointF pos, float r, float s, QTransform t, bool record) {
              return page->addPixmapItemUBZ(smallPicture(), pos, r, s, t, record);
          } },
        { "text", ItemTypeText, true,
          [](DPage *page, QPointF pos, float r, float s, QTransform t, bool record) {
              return page->addTextItem(QStringLiteral("<b>Hola</b>"), QFont(QString(), 25), pos, r,
                                       s, t, record);
          } },
        { "UBZ text", ItemTypeText, false,
          [](DPage *page, QPointF pos, float r, float s, QTransform t, bool record) {
              return page->addTextItemUBZ(QStringLiteral("Hola"), QFont(QString(), 25), pos, r, s,
                                          t, record);
          } },
        { "sound", ItemTypeSound, true,
          [](DPage *page, QPointF pos, float r, float s, QTransform t, bool record) {
              return page->addSoundItem(QStringLiteral("/music/cancion.mp3"), pos, r, s, t, record);
          } },
        { "video", ItemTypeVideo, true,
          [](DPage *page, QPointF pos, float r, float s, QTransform t, bool record) {
              return page->addVideoItem(QStringLiteral("/nowhere/clip.mp4"), pos, r, s, t, record);
          } },
        { "animated image", ItemTypePixmap, true,
          [](DPage *page, QPointF pos, float r, float s, QTransform t, bool record) {
              auto *label = new QLabel(QStringLiteral("frames"));
              label->resize(50, 20);
              return page->addGifItem(label, pos, r, s, t, record);
          } },
        { "table", ItemTypeTable, true,
          [](DPage *page, QPointF, float r, float s, QTransform t, bool record) {
              return page->addTableItem(tablePath(), 4, 3, r, s, t, record);
          } },
        { "stroke", ItemTypePath, true,
          [](DPage *page, QPointF pos, float r, float s, QTransform t, bool record) {
              // The stroke starts at the middle of its box: move that start onto pos.
              return page->addCurveItem(stroke(30, 80, 7).translated(pos - QPointF(40, 40)),
                                        QPen(Qt::blue, 3), r, BtMenus::btPencil,
                                        BtMenus::fnPathSceneCoords, pos, s, t, record);
          } },
    };
}

QMenu *expectedMenu(DView *view, const QGraphicsItem *item)
{
    switch (item->type()) {
    case ItemTypeVideo:
        return view->m_menuVideo;
    case ItemTypePath:
        return view->m_menuPath; // a pencil stroke cannot be filled
    default:
        return view->m_menuGeneric;
    }
}

} // namespace

void tst_DPageFactories::geometryAndRecording_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("record");
    const QList<FactoryCase> cases = factoryCases();
    for (int i = 0; i < cases.size(); ++i) {
        QTest::newRow(qPrintable(QStringLiteral("%1, recorded").arg(cases[i].name))) << i << true;
        QTest::newRow(qPrintable(QStringLiteral("%1, direct").arg(cases[i].name))) << i << false;
    }
}

// Every factory: rotation 30 gives -30, scale 2 a frame of 0.5, the transform as given, the
// origin where its kind keeps it, its menu, and an addition undoable exactly when recorded.
void tst_DPageFactories::geometryAndRecording()
{
    QFETCH(int, index);
    QFETCH(bool, record);
    const FactoryCase kind = factoryCases().at(index);
    Board board;
    DPage *page = board.current();
    const QTransform shear = QTransform().shear(0.1, 0);
    const QPointF pos(320.25, 210.5);

    QGraphicsItem *item = kind.make(page, pos, 30.0f, 2.0f, shear, record);
    QVERIFY(item);
    QCOMPARE(item->type(), kind.type);
    QCOMPARE(item->scene(), page);
    QCOMPARE(item->rotation(), -30.0);
    QCOMPARE(item->scale(), 2.0);
    QCOMPARE(item->transform(), shear);
    if (kind.type == ItemTypeTable) {
        QCOMPARE(item->pos(), QPointF(0, 0));
    } else if (auto *path = dynamic_cast<QGraphicsPathItem *>(item)) {
        // On the whole pixel nearest the path's start, the path where it was given.
        QCOMPARE(item->pos(), QPointF(320, 211));
        const QPainterPath::Element first = path->path().elementAt(0);
        QCOMPARE(QPointF(first.x, first.y), pos - item->pos());
    } else {
        QCOMPARE(item->pos(), pos);
    }
    // The origin is set before the scale, from the bounds as they were then (the text's
    // button strip narrows with the scale).
    item->setScale(1.0);
    const QRectF bounds = item->boundingRect();
    item->setScale(2.0);
    QCOMPARE(item->transformOriginPoint(),
             kind.centredOrigin
                     ? QPointF(bounds.x() + bounds.width() / 2, bounds.y() + bounds.height() / 2)
                     : QPointF(0, 0));
    DCustomItem *object = DCustomItem::fromItem(item);
    QVERIFY(object);
    QCOMPARE(object->rotateItem()->scale(), 0.5);
    QCOMPARE(object->rotateItem()->m_focus->m_menu, expectedMenu(board.view(), item));
    QCOMPARE(item->zValue(), 0.0);

    QCOMPARE(page->undoStack()->count(), record ? 1 : 0);
    page->setUndo();
    QCOMPARE(item->scene() == page, !record);
    if (record) {
        page->setRedo();
        QCOMPARE(item->scene(), page);
        QCOMPARE(item->zValue(), 1.0); // back on top with a fresh z
    }
}

void tst_DPageFactories::releaseOfTheNewObjectIsRecorded()
{
    Board board;
    DPage *page = board.current();
    DGPixmapItem *picture =
            page->addPixmapItem(smallPicture(), QPointF(100, 100), 0, 1.0f, QTransform(), false);
    picture->setSelected(true);
    const QPoint start = board.view()->mapFromScene(QPointF(130, 120));
    TestSupport::drag(board.view()->viewport(),
                      { start, start + QPoint(10, 5), start + QPoint(40, 25) });
    QCOMPARE(picture->pos(), QPointF(140, 125));
    QCOMPARE(page->undoStack()->count(), 1); // the move, through the factory's wiring
    page->setUndo();
    QCOMPARE(picture->pos(), QPointF(100, 100));
}

void tst_DPageFactories::freehandStrokeStartsAtTheObjectOrigin_data()
{
    QTest::addColumn<QPointF>("first");
    QTest::addColumn<QPoint>("viewPoint");
    QTest::newRow("halves up") << QPointF(100.5, 40.2) << QPoint(101, 40);
    QTest::newRow("negative half up") << QPointF(-2.5, 7.5) << QPoint(-2, 8);
}

void tst_DPageFactories::freehandStrokeStartsAtTheObjectOrigin()
{
    QFETCH(QPointF, first);
    QFETCH(QPoint, viewPoint);
    Board board;
    DPage *page = board.current();
    board.view()->setScale(1.1); // view and scene differ
    QPainterPath path(first);
    path.lineTo(first + QPointF(50, 20));
    path.lineTo(first + QPointF(90, -10));
    auto *curve = dynamic_cast<DGPathCurveItem *>(
            page->addCurveItem(path, QPen(Qt::red, 4), 0, BtMenus::btPencil,
                               BtMenus::fnPathViewCoords, QPointF(), 1.0f, QTransform(), true));
    QVERIFY(curve);
    QCOMPARE(curve->pos(), board.view()->mapToScene(viewPoint));
    QCOMPARE(QPointF(curve->path().elementAt(0).x, curve->path().elementAt(0).y), QPointF(0, 0));
    QCOMPARE(QPointF(curve->path().elementAt(2).x, curve->path().elementAt(2).y), QPointF(90, -10));
    QCOMPARE(page->m_path.elementCount(), 1);
    QCOMPARE(QPointF(page->m_path.elementAt(0).x, page->m_path.elementAt(0).y), first);
    QCOMPARE(page->m_pDrawItem, curve);
    QCOMPARE(page->undoStack()->count(), 1);
}

void tst_DPageFactories::instrumentPathKeepsItsCoordinates()
{
    Board board;
    DPage *page = board.current();
    QPainterPath path(QPointF(15, 25));
    path.lineTo(140, 60);
    auto *vertex = dynamic_cast<DGPathVertexItem *>(page->addCurveItem(
            path, QPen(Qt::black, 2), 45, BtMenus::btPencil, BtMenus::fnPathVertexItem,
            QPointF(400, 300), 1.0f, QTransform(), true));
    QVERIFY(vertex);
    QCOMPARE(vertex->pos(), QPointF(400, 300));
    QCOMPARE(vertex->path(), path);
    QCOMPARE(vertex->transformOriginPoint(), QPointF(0, 0));
    QCOMPARE(vertex->rotation(), -45.0);
    QCOMPARE(vertex->rotateItem()->m_focus->m_menu, board.view()->m_menuPath);
}

void tst_DPageFactories::curveMenuFollowsFillability()
{
    Board board;
    DPage *page = board.current();
    QPainterPath path(QPointF(10, 10));
    path.lineTo(60, 60);
    const struct
    {
        BtMenus::btType kind;
        QMenu *menu;
    } cases[] = { { BtMenus::btEllipse, board.view()->m_menuVertex },
                  { BtMenus::btStar, board.view()->m_menuVertex },
                  { BtMenus::btLine, board.view()->m_menuPath },
                  { BtMenus::btCube, board.view()->m_menuPath } };
    for (const auto &each : cases) {
        DGPathItem *item =
                page->addCurveItem(path, QPen(), 0, each.kind, BtMenus::fnPathSceneCoords,
                                   QPointF(), 1.0f, QTransform(), false);
        QCOMPARE(item->pos(), QPointF(10, 10));
        QCOMPARE(item->rotateItem()->m_focus->m_menu, each.menu);
    }
}

void tst_DPageFactories::damagedInputAddsNothingOrIsClamped()
{
    Board board;
    DPage *page = board.current();
    QVERIFY(!page->addCurveItem(QPainterPath(), QPen(), 0, BtMenus::btPencil,
                                BtMenus::fnPathSceneCoords, QPointF(), 1.0f, QTransform(), true));
    QVERIFY(!page->addPixmapItem(QPixmap(), QPointF(), 0, 1.0f, QTransform(), true));
    QVERIFY(!page->addGifItem(nullptr, QPointF(), 0, 1.0f, QTransform(), true));
    QCOMPARE(page->items().size(), 0);
    QCOMPARE(page->undoStack()->count(), 0);

    DGPixmapItem *picture = page->addPixmapItem(smallPicture(), QPointF(NAN, 3), INFINITY, 0.0f,
                                                QTransform(), false);
    QVERIFY(picture);
    QCOMPARE(picture->pos(), QPointF(0, 0));
    QCOMPARE(picture->rotation(), 0.0);
    QCOMPARE(picture->scale(), 1.0);
    QCOMPARE(picture->rotateItem()->scale(), 1.0);
    DGPixmapItem *far = page->addPixmapItem(smallPicture(), QPointF(1e30, -1e300), 0, 1.0f,
                                            QTransform(), false);
    QVERIFY(far);
    QCOMPARE(far->pos(), QPointF(0, 0));
}

void tst_DPageFactories::pathsThatCannotBeShownNeverReachThePage_data()
{
    QTest::addColumn<QPainterPath>("path");
    QTest::addColumn<QPen>("pen");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("elements"); // of the object's path; 0: no object, no undo step
    const QPen pen(Qt::red, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPainterPath point(QPointF(40, 50)); // all a reader kept of a polyline
    QPainterPath folded(QPointF(40, 50));
    folded.lineTo(41, 50);
    folded.setElementPositionAt(1, 40, 50);
    QPainterPath stroke(QPointF(40, 50));
    stroke.lineTo(90, 70);
    QPainterPath notANumber = stroke;
    notANumber.setElementPositionAt(1, qQNaN(), 20);
    QPainterPath infinite = stroke;
    infinite.setElementPositionAt(1, 50, qInf());
    QPainterPath huge = stroke;
    huge.setElementPositionAt(1, 1e30, 20);
    const int scene = BtMenus::fnPathSceneCoords;
    const int vertex = BtMenus::fnPathVertexItem;
    QTest::newRow("a stroke") << stroke << pen << scene << 2;
    QTest::newRow("one point: a dot") << point << pen << scene << 2;
    QTest::newRow("point to itself: a dot") << folded << pen << scene << 2;
    QTest::newRow("one point, instrument: a dot") << point << pen << vertex << 2;
    QTest::newRow("one point, no pen") << point << QPen(Qt::NoPen) << scene << 0;
    QTest::newRow("one point, transparent pen")
            << point << QPen(QColor(255, 0, 0, 0), 6) << scene << 0;
    QTest::newRow("empty path") << QPainterPath() << pen << scene << 0;
    QTest::newRow("not a number") << notANumber << pen << scene << 0;
    QTest::newRow("infinite") << infinite << pen << scene << 0;
    QTest::newRow("huge") << huge << pen << scene << 0;
}

void tst_DPageFactories::pathsThatCannotBeShownNeverReachThePage()
{
    QFETCH(QPainterPath, path);
    QFETCH(QPen, pen);
    QFETCH(int, frame);
    QFETCH(int, elements);
    Board board;
    DPage *page = board.current();
    DGPathItem *object = page->addCurveItem(path, pen, 0, BtMenus::btPencil,
                                            static_cast<BtMenus::fnPathPosition>(frame),
                                            QPointF(0, 0), 1.0f, QTransform(), true);
    QCOMPARE(page->undoStack()->count(), elements ? 1 : 0);
    if (!elements) {
        QVERIFY(!object);
        QCOMPARE(page->items().size(), 0);
        return;
    }
    QVERIFY(object);
    QCOMPARE(object->path().elementCount(), elements);
    // Visible: its pen colour is on the page where its first point lies.
    const QPointF first =
            object->mapToScene(object->path().elementAt(0).x, object->path().elementAt(0).y);
    QCOMPARE(first, QPointF(40, 50));
    QImage shown(page->sceneRect().size().toSize(), QImage::Format_ARGB32);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    page->render(&painter);
    painter.end();
    QCOMPARE(shown.pixelColor(40, 50), QColor(Qt::red));
    QVERIFY(object->shape().contains(object->mapFromScene(QPointF(41, 51))));

    // Every path object refuses what it cannot draw at the door, tables too.
    QPainterPath box;
    box.addRect(0, 0, 100, qInf());
    QVERIFY(!page->addTableItem(box, 2, 2, 0, 1.0f, QTransform(), true));
    QVERIFY(!page->addTableItem(QPainterPath(), 2, 2, 0, 1.0f, QTransform(), true));
}

void tst_DPageFactories::pictureIsCentredOnTheView()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cuadro.png"));
    QVERIFY(ItemMedia::makePicture(file, QSize(200, 100)));
    Board board;
    DPage *page = board.current();
    board.view()->m_penType[PenUserMain] = BtMenus::btPencil;
    page->insertPixmap(file);

    // Read beside the board: placed when it comes.
    QTRY_COMPARE(page->validItems(true).size(), 1);
    auto *picture = dynamic_cast<DGPixmapItem *>(page->m_pPixmapItem);
    QVERIFY(picture);
    const QPoint viewCentre((kBoardWidth - 1) / 2, (kBoardHeight - 1) / 2);
    QCOMPARE(picture->pos(), board.view()->mapToScene(viewCentre) - QPointF(99, 49));
    QCOMPARE(board.view()->getPenType(PenUserMain), int(BtMenus::btSelect));
    QCOMPARE(page->undoStack()->count(), 1);
    page->setUndo();
    QVERIFY(!picture->scene());
}

void tst_DPageFactories::animatedImageIsNotRecorded()
{
    if (!ItemMedia::haveConvert())
        QSKIP("ImageMagick convert is not installed");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("baile.gif"));
    QCOMPARE(ItemMedia::makeGif(file, QSize(40, 30)), QString());
    Board board;
    DPage *page = board.current();
    page->insertPixmap(file);

    QTRY_VERIFY(page->m_pGifItem);
    auto *animation = dynamic_cast<DGGifItem *>(page->m_pGifItem);
    QVERIFY(animation);
    QCOMPARE(animation->type(), int(ItemTypePixmap));
    QCOMPARE(animation->scene(), page);
    const QPoint viewCentre((kBoardWidth - 1) / 2, (kBoardHeight - 1) / 2);
    QCOMPARE(animation->pos(), board.view()->mapToScene(viewCentre)); // its top-left corner
    QCOMPARE(animation->fileName(), file);
    QVERIFY(AnimationPlayer::of(animation->m_label)->isRunning());
    QCOMPARE(page->undoStack()->count(), 0);
    page->setUndo();
    QCOMPARE(animation->scene(), page);
    QCOMPARE(board.view()->getPenType(PenUserMain), int(BtMenus::btSelect));
}

void tst_DPageFactories::capitalGifIsAStillPicture()
{
    if (!ItemMedia::haveConvert())
        QSKIP("ImageMagick convert is not installed");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("BAILE.GIF"));
    QCOMPARE(ItemMedia::makeGif(file, QSize(40, 30)), QString());
    Board board;
    DPage *page = board.current();
    page->insertPixmap(file);
    QTRY_VERIFY(page->m_pPixmapItem);
    QVERIFY(!page->m_pGifItem);
    auto *picture = dynamic_cast<DGPixmapItem *>(page->m_pPixmapItem);
    QVERIFY(picture);
    QCOMPARE(picture->pixmap().size(), QSize(40, 30));
    QCOMPARE(page->undoStack()->count(), 1);
}

void tst_DPageFactories::unreadablePictureSaysSo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("why"); // as the teacher is told
    QTest::newRow("missing") << QStringLiteral("nada.png") << QByteArray()
                             << QStringLiteral("falta, o no es un archivo que se pueda abrir.");
    QTest::newRow("not a picture")
            << QStringLiteral("texto.png") << QByteArray("no soy imagen")
            << QStringLiteral("no es una imagen de ningún formato que la pizarra sepa leer.");
    QTest::newRow("not an animation") << QStringLiteral("roto.gif") << QByteArray("GIF89a??")
                                      << QStringLiteral("está dañada.");
}

void tst_DPageFactories::unreadablePictureSaysSo()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString file = dir.filePath(name);
    if (!content.isEmpty()) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    Board board;
    DPage *page = board.current();
    QString shown;
    auto answered = TestSupport::answerNextModal([&shown](QWidget *dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            shown = box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        }
    });
    page->insertPixmap(file);
    QTRY_VERIFY(*answered);
    // By its name, and why.
    QCOMPARE(shown,
             QStringLiteral("Atención|No se ha podido leer la imagen «%1»: %2").arg(name, why));
    QCOMPARE(page->items().size(), 0);
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DPageFactories::captureLandsAtItsCorner()
{
    Board board;
    DPage *page = board.current();
    page->insertPxFromCapture(smallPicture(), QPoint(33, 44));
    auto *picture = dynamic_cast<DGPixmapItem *>(page->m_pPixmapItem);
    QVERIFY(picture);
    QCOMPARE(picture->pos(), QPointF(33, 44));
    QCOMPARE(page->undoStack()->count(), 1);
}

void tst_DPageFactories::videoPosterFrame()
{
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    QTemporaryDir dir;
    const QString longClip = dir.filePath(QStringLiteral("largo.ogv"));
    const QString shortClip = dir.filePath(QStringLiteral("corto.ogv"));
    QCOMPARE(ContentMedia::makeClip(longClip, 4), QString());
    QCOMPARE(ContentMedia::makeClip(shortClip, 1), QString());
    QFile::copy(QStringLiteral(VELTORINA_SOURCE_DIR "/README.md"), dir.filePath("out.png"));
    Board board;
    DPage *page = board.current();

    DGVideoItem *video = page->addVideoItem(longClip, QPointF(50, 60), 0, 1.0f, QTransform(), true);
    QVERIFY(video);
    QCOMPARE(video->m_poster.size(), QSize(160, 120));
    QCOMPARE(video->m_filePath, longClip);
    QCOMPARE(video->m_fileName, QStringLiteral("largo.ogv"));
    QCOMPARE(video->m_linkMedia, longClip);
    QCOMPARE(page->undoStack()->count(), 1);
    // A clip shorter than the poster frame still gets one: its first frame.
    DGVideoItem *shortVideo =
            page->addVideoItem(shortClip, QPointF(), 0, 1.0f, QTransform(), false);
    QCOMPARE(shortVideo->m_poster.size(), QSize(160, 120));
    // Nothing of ours is left in the working folder, and a stray file there is not read.
    QVERIFY(QDir::current().entryList(QDir::Files).isEmpty());
    QVERIFY(QFile::exists(dir.filePath("out.png")));

    if (ItemMedia::haveConvert()) {
        const QString animation = dir.filePath(QStringLiteral("anim.gif"));
        QCOMPARE(ItemMedia::makeGif(animation, QSize(40, 30)), QString());
        DGVideoItem *gif = page->addVideoItem(animation, QPointF(), 0, 1.0f, QTransform(), false);
        QCOMPARE(gif->m_poster.size(), QSize(40, 30));
    }

    DGVideoItem *missing = page->addVideoItem(dir.filePath(QStringLiteral("no.ogv")), QPointF(), 0,
                                              1.0f, QTransform(), false);
    QVERIFY(missing->m_poster.isNull());
    QCOMPARE(missing->boundingRect(), QRectF(-5, -5, 110, 110));
}

QTEST_MAIN(tst_DPageFactories)
#include "tst_dpagefactories.moc"
