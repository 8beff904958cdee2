#include "support/boardfixture.h"
#include "support/groupsfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dgitemgroup.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitembutton.h"
#include "board/drotateitemfocus.h"
#include "board/dview.h"

#include "shell/globals.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace BoardFixture;
using namespace GroupsFixture;

namespace {

// A menu written as its entries, a submenu as "name>entry,entry".
QString layout(const QMenu *menu)
{
    QStringList entries;
    for (QAction *action : menu->actions()) {
        if (QMenu *sub = action->menu()) {
            QStringList inner;
            for (QAction *each : sub->actions())
                inner << each->text();
            entries << action->text() + QLatin1Char('>') + inner.join(QLatin1Char(','));
        } else {
            entries << action->text();
        }
    }
    return entries.join(QLatin1Char('|'));
}

DGPixmapItem *addPicture(DPage *page, QPointF pos, QColor colour = Qt::red)
{
    QPixmap pixmap(100, 80);
    pixmap.fill(colour);
    return page->addPixmapItem(pixmap, pos, 0, 1.0f, QTransform(), false);
}

QList<QGraphicsItem *> topLevelObjects(DPage *page)
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *item : page->items(Qt::AscendingOrder)) {
        if (!item->parentItem() && isBoardObjectType(item->type()))
            found << item;
    }
    return found;
}

// Selects the objects, lays their frames out and opens the menu of the first one.
bool choose(DView *view, const QList<QGraphicsItem *> &selection, const QStringList &path)
{
    DPage *page = view->page();
    page->clearSelection();
    for (QGraphicsItem *item : selection)
        item->setSelected(true);
    paintPage(page);
    return chooseInMenu(view, handlePoint(view, selection.first()), path);
}

const QString kCommon =
        QStringLiteral("Borrar|Capas>Traer al frente,Llevar al fondo|Clonar|Copiar|Pegar|Bloquear|"
                       "Grupo>Agrupar,Desagrupar|Rotar>Rotar 45º,Rotar 90º,Rotar 180º,Rotar 270º|"
                       "Enlazar>Enlace Web,Enlace a una página,Enlace a un fichero,");

} // namespace

class tst_DViewMenus : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup()
    {
        QVERIFY(TestSupport::takeConnectWarnings().isEmpty());
        m_pCopyPasteListItems.clear();
    }

    void menusByKind_data();
    void menusByKind();
    void deleteEntry();
    void layerEntries();
    void cloneCopyPasteEntries();
    void lockEntry();
    void groupEntries();
    void rotateEntries_data();
    void rotateEntries();
    void linkEntries();
    void fileLinkEntries_data();
    void fileLinkEntries();
    void colourEntries_data();
    void colourEntries();
    void conversionEntries_data();
    void conversionEntries();
};

void tst_DViewMenus::menusByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("generic") << int(BtMenus::btItemGeneric) << kCommon + "Enlace de audio";
    QTest::newRow("path") << int(BtMenus::btItemPath)
                          << kCommon
                    + "Enlace de audio|Colorear>Color de borde|"
                      "Convertir en texto offline|Convertir en texto online";
    QTest::newRow("vertex") << int(BtMenus::btItemVertex)
                            << kCommon + "Enlace de audio|Colorear>Color de fondo,Color de borde";
    QTest::newRow("video") << int(BtMenus::btItemVideo) << kCommon + "Enlace de video";
}

void tst_DViewMenus::menusByKind()
{
    QFETCH(int, kind);
    QFETCH(QString, expected);
    Board board;
    DView *view = board.view();
    const QMap<int, QMenu *> built = { { BtMenus::btItemGeneric, view->m_menuGeneric },
                                       { BtMenus::btItemPath, view->m_menuPath },
                                       { BtMenus::btItemVertex, view->m_menuVertex },
                                       { BtMenus::btItemVideo, view->m_menuVideo } };
    QMenu *menu = built.value(kind);
    QCOMPARE(layout(menu), expected);
    QVERIFY(!menu->parent());
    for (QAction *action : menu->findChildren<QAction *>()) {
        QVERIFY(!action->isSeparator());
        QVERIFY(action->icon().isNull());
        QVERIFY(action->shortcut().isEmpty());
    }
    // A fresh menu of the same kind is built alike.
    std::unique_ptr<QMenu> fresh(view->createSubMenus(BtMenus::btItemType(kind)));
    QCOMPARE(layout(fresh.get()), expected);
}

void tst_DViewMenus::deleteEntry()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(200, 200));
    QVERIFY(choose(view, { a }, { QStringLiteral("Borrar") }));
    QVERIFY(!a->scene());
    QCOMPARE(page->undoStack()->count(), 1);
    page->setUndo();
    QCOMPARE(a->scene(), page);
    QCOMPARE(a->scenePos(), QPointF(200, 200));
}

void tst_DViewMenus::layerEntries()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *low = addPicture(page, QPointF(200, 200), Qt::red);
    DGPixmapItem *high = addPicture(page, QPointF(260, 240), Qt::blue);
    QVERIFY(choose(view, { low }, { QStringLiteral("Capas"), QStringLiteral("Traer al frente") }));
    QVERIFY(low->zValue() > high->zValue());
    QVERIFY(page->isModified());
    QCOMPARE(page->undoStack()->count(), 0);
    // What the screen shows where they overlap: the front one.
    const QImage front = view->grab().toImage();
    const QPoint overlap = view->mapFromScene(QPointF(280, 260));
    QCOMPARE(QColor(front.pixel(overlap + view->viewport()->pos())), QColor(Qt::red));

    page->setModified(false);
    QVERIFY(choose(view, { low }, { QStringLiteral("Capas"), QStringLiteral("Llevar al fondo") }));
    QVERIFY(low->zValue() < high->zValue());
    QVERIFY(page->isModified());
    const QImage back = view->grab().toImage();
    QCOMPARE(QColor(back.pixel(overlap + view->viewport()->pos())), QColor(Qt::blue));
}

void tst_DViewMenus::cloneCopyPasteEntries()
{
    Board board(2);
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(200, 200));
    QVERIFY(choose(view, { a }, { QStringLiteral("Clonar") }));
    QCOMPARE(topLevelObjects(page).size(), 2);
    QCOMPARE(topLevelObjects(page).last()->scenePos(), QPointF(215, 215));
    QVERIFY(m_pCopyPasteListItems.isEmpty()); // clone leaves the clipboard alone
    QCOMPARE(page->undoStack()->count(), 1);

    QVERIFY(choose(view, { a }, { QStringLiteral("Copiar") }));
    QCOMPARE(m_pCopyPasteListItems, QList<QGraphicsItem *>{ a });
    board.selectPage(1);
    DPage *other = board.page(1);
    DGPixmapItem *there = addPicture(other, QPointF(500, 400), Qt::green);
    QVERIFY(choose(view, { there }, { QStringLiteral("Pegar") }));
    const QList<QGraphicsItem *> onOther = topLevelObjects(other);
    QCOMPARE(onOther.size(), 2);
    QCOMPARE(onOther.last()->scenePos(), QPointF(215, 215));
    QCOMPARE(other->undoStack()->count(), 1);
}

void tst_DViewMenus::lockEntry()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(200, 200));
    QVERIFY(choose(view, { a }, { QStringLiteral("Bloquear") }));
    QVERIFY(a->isLocked());
    const QPoint from = view->mapFromScene(QPointF(250, 240));
    TestSupport::drag(view->viewport(), { from, from + QPoint(40, 40) });
    QCOMPARE(a->scenePos(), QPointF(200, 200));
    page->setUndo();
    QVERIFY(!a->isLocked());
}

void tst_DViewMenus::groupEntries()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(150, 250));
    DGPixmapItem *b = addPicture(page, QPointF(350, 250));
    DGPixmapItem *c = addPicture(page, QPointF(550, 250));
    // The menu of one of three selected objects groups all three.
    QVERIFY(choose(view, { b, a, c }, { QStringLiteral("Grupo"), QStringLiteral("Agrupar") }));
    const QList<QGraphicsItem *> top = topLevelObjects(page);
    QCOMPARE(top.size(), 1);
    auto *group = dynamic_cast<DGItemGroup *>(top.first());
    QVERIFY(group);
    QCOMPARE(group->members().size(), 3);
    QCOMPARE(page->undoStack()->count(), 1);

    QVERIFY(choose(view, { group }, { QStringLiteral("Grupo"), QStringLiteral("Desagrupar") }));
    QCOMPARE(topLevelObjects(page).size(), 3);
    QVERIFY(!group->scene());
    QCOMPARE(a->scenePos(), QPointF(150, 250));
    page->setUndo();
    QCOMPARE(topLevelObjects(page), QList<QGraphicsItem *>{ group });
}

void tst_DViewMenus::rotateEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<qreal>("rotation");
    QTest::newRow("45") << "Rotar 45º" << -45.0;
    QTest::newRow("90") << "Rotar 90º" << -90.0;
    QTest::newRow("180") << "Rotar 180º" << -180.0;
    QTest::newRow("270") << "Rotar 270º" << -270.0;
}

void tst_DViewMenus::rotateEntries()
{
    QFETCH(QString, entry);
    QFETCH(qreal, rotation);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(300, 300));
    QVERIFY(choose(view, { a }, { QStringLiteral("Rotar"), entry }));
    QCOMPARE(a->rotation(), rotation);
    QCOMPARE(a->transformOriginPoint(), a->boundingRect().center());
    page->setUndo();
    QCOMPARE(a->rotation(), 0.0);
}

void tst_DViewMenus::linkEntries()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(300, 300));
    auto answered = TestSupport::answerNextModal([](QWidget *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        QCOMPARE(input->windowTitle(), QStringLiteral("Editar enlace"));
        QCOMPARE(input->labelText(), QStringLiteral("Inserte un enlace web"));
        input->setTextValue(QStringLiteral("https://escuela.example"));
        input->accept();
    });
    QVERIFY(choose(view, { a }, { QStringLiteral("Enlazar"), QStringLiteral("Enlace Web") }));
    QVERIFY(*answered);
    QCOMPARE(a->m_linkWeb, QStringLiteral("https://escuela.example"));
    paintPage(page);
    QVERIFY(a->rotateItem()->m_btWebLink->isVisible());

    answered = TestSupport::answerNextModal([](QWidget *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        input->setIntValue(4);
        input->accept();
    });
    QVERIFY(choose(view, { a },
                   { QStringLiteral("Enlazar"), QStringLiteral("Enlace a una página") }));
    QVERIFY(*answered);
    QCOMPARE(a->m_linkPage, QStringLiteral("4"));
    QCOMPARE(page->undoStack()->count(), 2);
    page->setUndo();
    QVERIFY(a->m_linkPage.isEmpty());
    QCOMPARE(a->m_linkWeb, QStringLiteral("https://escuela.example"));
}

void tst_DViewMenus::fileLinkEntries_data()
{
    QTest::addColumn<bool>("video");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("media"); // the media link, else the file link
    QTest::newRow("file") << false << "Enlace a un fichero"
                          << "Abrir Imagen" << QString() << false;
    QTest::newRow("audio") << false << "Enlace de audio"
                           << "Abrir Audio"
                           << "Sound Files (*.mp3)" << true;
    QTest::newRow("video") << true << "Enlace de video"
                           << "Abrir Vídeo"
                           << "Video Files (*.mp4)" << true;
}

void tst_DViewMenus::fileLinkEntries()
{
    QFETCH(bool, video);
    QFETCH(QString, entry);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    QFETCH(bool, media);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    QGraphicsItem *object = video
            ? static_cast<QGraphicsItem *>(page->addVideoItem(QStringLiteral("/tmp/none.mp4"),
                                                              QPointF(300, 300), 0, 1.0f,
                                                              QTransform(), false))
            : addPicture(page, QPointF(300, 300));
    DCustomItem *links = DCustomItem::fromItem(object);
    const QString before = media ? links->m_linkMedia : links->m_linkFile;
    QFile chosen(QDir::current().filePath(QStringLiteral("linked.mp4")));
    QVERIFY(chosen.open(QIODevice::WriteOnly));
    chosen.close();
    QString shownTitle;
    QString shownFilter;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        shownTitle = files->windowTitle();
        shownFilter = files->nameFilters().join(QLatin1Char(';'));
        TestSupport::typeFileName(files, chosen.fileName());
        QMetaObject::invokeMethod(files, "accept");
    });
    QVERIFY(choose(view, { object }, { QStringLiteral("Enlazar"), entry }));
    QVERIFY(*answered);
    QCOMPARE(shownTitle, title);
    if (!filter.isEmpty())
        QCOMPARE(shownFilter, filter);
    QCOMPARE(media ? links->m_linkMedia : links->m_linkFile, chosen.fileName());
    page->setUndo();
    QCOMPARE(media ? links->m_linkMedia : links->m_linkFile, before);
}

void tst_DViewMenus::colourEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("fill") << "Color de fondo";
    QTest::newRow("border") << "Color de borde";
}

void tst_DViewMenus::colourEntries()
{
    QFETCH(QString, entry);
    const bool fill = entry == QLatin1String("Color de fondo");
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    QPainterPath rectangle;
    rectangle.addRect(0, 0, 160, 100);
    DGPathCurveItem *shape = addCurve(page, rectangle, QPointF(300, 300), BtMenus::btRectangle,
                                      false, QPen(Qt::black, 6));
    shape->rotateItem()->m_focus->m_menu = view->m_menuVertex;
    const QBrush brushBefore = shape->brush();
    QString unlike;
    auto answered = TestSupport::answerNextModal([&unlike](QWidget *dialog) {
        auto *colours = qobject_cast<QColorDialog *>(dialog);
        // Opened over the board, it still looks as the application's own (readable).
        unlike = TestSupport::unlikeApplicationDialog(colours);
        colours->setCurrentColor(Qt::darkGreen);
        colours->accept();
    });
    QVERIFY(choose(view, { shape }, { QStringLiteral("Colorear"), entry }));
    QVERIFY(*answered);
    QCOMPARE(unlike, QString());
    if (fill)
        QCOMPARE(shape->brush().color(), QColor(Qt::darkGreen));
    else
        QCOMPARE(shape->pen().color(), QColor(Qt::darkGreen));
    QVERIFY(page->isModified());
    page->setUndo();
    QCOMPARE(shape->pen().color(), QColor(Qt::black));
    QCOMPARE(shape->brush(), brushBefore);
}

// Without a handwriting engine the page says it could not convert, and the stroke stays.
void tst_DViewMenus::conversionEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("offline") << "Convertir en texto offline";
}

void tst_DViewMenus::conversionEntries()
{
    QFETCH(QString, entry);
    qputenv("LIPI_ROOT", QByteArray());
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPathCurveItem *curve = addCurve(page, stroke(40, 120, 4), QPointF(300, 300));
    curve->rotateItem()->m_focus->m_menu = view->m_menuPath;
    QString said;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        said = dialog->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->text();
        TestSupport::pressEscape(dialog);
    });
    QVERIFY(choose(view, { curve }, { entry }));
    QVERIFY(*answered);
    QCOMPARE(said, QStringLiteral("Error al convertir a texto"));
    QCOMPARE(curve->scene(), page);
}

QTEST_MAIN(tst_DViewMenus)
#include "tst_dviewmenus.moc"
