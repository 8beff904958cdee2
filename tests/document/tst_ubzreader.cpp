#include "board/boardtypes.h"
#include "board/dcustomitem.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "document/dpageslist.h"
#include "document/iwbarchive.h"
#include "shell/globals.h"
#include "support/itemmedia.h"

#include <QtTest>

#include <memory>

// UBZ archives written here and imported: pages from the page files' rectangles, objects placed
// by their matrices, media only from inside the archive, and archives that hold no pages.
class tst_UbzReader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pageFilesInOrder();
    void objects();
    void textFollowedDirectlyByMoreElements();
    void media();
    void notAUbzLeavesTheDocument();

private:
    void writePage(const QString &name, const QString &body);
    bool import();
    QList<QGraphicsItem *> objectsOf(int page) const;

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_list;
    std::unique_ptr<QTemporaryDir> m_source;
    QTemporaryDir m_target;
};

void tst_UbzReader::init()
{
    settings.clear();
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(900, 700);
    m_list = std::make_unique<DPagesList>(m_window.get());
    m_source = std::make_unique<QTemporaryDir>();
}

void tst_UbzReader::cleanup()
{
    m_list->exit();
    m_list.reset();
    m_window.reset();
}

void tst_UbzReader::writePage(const QString &name, const QString &body)
{
    QFile file(m_source->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                              "xmlns:ub=\"http://uniboard.mnemis.com/document\" "
                              "xmlns:xlink=\"http://www.w3.org/1999/xlink\">%1</svg>")
                       .arg(body)
                       .toUtf8());
}

bool tst_UbzReader::import()
{
    const QString archive = m_target.filePath(QStringLiteral("lesson.ubz"));
    QFile::remove(archive);
    if (!IwbArchive::pack(m_source->path(), archive).ok)
        return false;
    return m_list->openAllPagesFromFileUBZ(archive);
}

QList<QGraphicsItem *> tst_UbzReader::objectsOf(int page) const
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *item : m_list->at(page)->items(Qt::AscendingOrder))
        if (isBoardObjectType(item->type()))
            found << item;
    return found;
}

void tst_UbzReader::pageFilesInOrder()
{
    writePage(QStringLiteral("page000.svg"), QStringLiteral("<rect fill=\"#ff0000\"/>"));
    writePage(QStringLiteral("page001.svg"),
              QStringLiteral("<rect fill=\"#00ff00\"/><rect fill=\"not a colour\"/>"
                             "<g><polygon points=\"0,0 10,0 5,5\" stroke-opacity=\"255\"/></g>"));
    writePage(QStringLiteral("page003.svg"), QStringLiteral("<rect fill=\"#0000ff\"/>"));
    writePage(QStringLiteral("page100.svg"), QStringLiteral("<rect fill=\"#ffff00\"/>"));
    QVERIFY(import());
    QStringList colours;
    for (DPage *page : *m_list)
        colours << page->backgroundBrush().color().name();
    QCOMPARE(colours, (QStringList{ "#ff0000", "#00ff00", "#ffffff", "#0000ff" }));
    QCOMPARE(objectsOf(2).size(), 1); // after the second rectangle of its file
    QCOMPARE(m_list->fileName(), m_target.filePath(QStringLiteral("lesson.ubz")));
    QVERIFY(!m_list->isDocumentModified());
    for (DPage *page : *m_list)
        QCOMPARE(page->undoStack()->count(), 0);
}

void tst_UbzReader::objects()
{
    QVERIFY(ItemMedia::makePicture(m_source->filePath(QStringLiteral("back.png")), QSize(40, 20)));
    QVERIFY(ItemMedia::makePicture(m_source->filePath(QStringLiteral("pic.png")), QSize(10, 10)));
    // An object before any rectangle still gets a page.
    writePage(QStringLiteral("page000.svg"),
              QStringLiteral(
                      "<g><polygon ub:uuid=\"p1\" type=\"table\" points=\"0,0 10,0  10,10\" "
                      "stroke=\"#102030\" fill=\"#00ff00\"/>"
                      "<g><polygon points=\"0,0 5,5\"/></g></g>"
                      "<image ub:source=\"back.png\"/>"
                      "<image id=\"i1\" ub:source=\"pic.png\" width=\"30\" height=\"20\" "
                      "transform=\"matrix(0,1,-1,0,0,0)\"/>"
                      "<image id=\"i2\" ub:source=\"pic.png\" width=\"8\" height=\"8\"/>"
                      "<foreignObject ub:uuid=\"t1\" transform=\"matrix(1,0,0,1,20.7,-5.2)\">\n"
                      "<itemTextContent font-family=\"DejaVu Sans\" font-size=\"12\">"
                      "&lt;b&gt;bold&lt;/b&gt;</itemTextContent>\n</foreignObject>"
                      "<foreignObject transform=\"matrix(1,0\">\n<itemTextContent>short"
                      "</itemTextContent>\n</foreignObject>"));
    QVERIFY(import());
    QCOMPARE(m_list->size(), 1);
    QCOMPARE(m_list->at(0)->pageType(), int(PageTypeImage));
    const QList<QGraphicsItem *> found = objectsOf(0);
    QCOMPARE(found.size(), 5);

    auto *polygon = dynamic_cast<DGPathCurveItem *>(found.at(0));
    QVERIFY(polygon);
    QCOMPARE(polygon->shapeType(), BtMenus::btTableTool);
    QCOMPARE(polygon->pen().color().alpha(), 0); // no stroke-opacity: an invisible outline
    QCOMPARE(polygon->m_fillType, short(ItemFillSolid));
    QStringList points;
    for (const QPointF &point : polygon->points())
        points << QStringLiteral("%1,%2")
                          .arg(polygon->mapToScene(point).x())
                          .arg(polygon->mapToScene(point).y());
    QCOMPARE(points, (QStringList{ "1380,1060", "1390,1060", "1380,1060", "1390,1070" }));

    auto *turned = dynamic_cast<DGPixmapItem *>(found.at(1));
    QVERIFY(turned);
    QCOMPARE(turned->rotation(), 90.0);
    QCOMPARE(turned->pixmap().size(), QSize(30, 20));
    // After the first one, an unturned picture is an object, at the page offset.
    auto *second = dynamic_cast<DGPixmapItem *>(found.at(2));
    QVERIFY(second);
    QCOMPARE(second->pos(), QPointF(1380, 1060));

    auto *text = dynamic_cast<DGTextItem *>(found.at(3));
    QVERIFY(text);
    QCOMPARE(text->pos(), QPointF(1400, 1055));
    QCOMPARE(text->toPlainText(), QStringLiteral("bold")); // the content is HTML
    auto *shortText = dynamic_cast<DGTextItem *>(found.at(4));
    QVERIFY(shortText);
    QCOMPARE(shortText->pos(), QPointF(1380, 1060)); // a short matrix: position 0, no turn
    QCOMPARE(shortText->rotation(), 0.0);
}

void tst_UbzReader::textFollowedDirectlyByMoreElements()
{
    writePage(QStringLiteral("page000.svg"),
              QStringLiteral(
                      "<rect fill=\"#ffffff\"/><foreignObject transform=\"matrix(1,0,0,1,0,0)\">"
                      "<itemTextContent>one</itemTextContent></foreignObject>"
                      "<foreignObject transform=\"matrix(1,0,0,1,0,0)\"><itemTextContent>two"
                      "</itemTextContent></foreignObject>"));
    QVERIFY(import());
    QCOMPARE(objectsOf(0).size(), 2);
}

void tst_UbzReader::media()
{
    QTemporaryDir outside;
    QFile clip(m_source->filePath(QStringLiteral("clip.avi")));
    QVERIFY(clip.open(QIODevice::WriteOnly));
    clip.close();
    QFile bell(m_source->filePath(QStringLiteral("bell.mp3")));
    QVERIFY(bell.open(QIODevice::WriteOnly));
    bell.close();
    QFile secret(outside.filePath(QStringLiteral("secret.mp3")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.close();
    writePage(QStringLiteral("page000.svg"),
              QStringLiteral("<rect fill=\"#ffffff\"/>"
                             "<video ub:source=\"clip.avi\" xlink=\"https://example.org\" "
                             "xpagelink=\"2\" transform=\"matrix(1,0,0,1,10,20)\"/>"
                             "<audio ub:source=\"bell.mp3\" transform=\"matrix(1,0,0,1,0,0)\"/>"
                             "<audio ub:source=\"%1\" transform=\"matrix(1,0,0,1,0,0)\"/>")
                      .arg(secret.fileName()));
    QVERIFY(import());
    const QList<QGraphicsItem *> found = objectsOf(0);
    QCOMPARE(found.size(), 3);
    auto *video = dynamic_cast<DGVideoItem *>(found.at(0));
    QVERIFY(video);
    QCOMPARE(video->pos(), QPointF(1390, 1080));
    QCOMPARE(video->m_linkWeb, QStringLiteral("https://example.org"));
    QCOMPARE(video->m_linkPage, QStringLiteral("2"));
    QVERIFY(video->m_filePath.startsWith(m_list->workDir()));
    QCOMPARE(video->m_linkMedia, video->m_filePath); // its own file as media link
    auto *sound = dynamic_cast<DGSoundItem *>(found.at(1));
    QVERIFY(sound);
    QCOMPARE(QFileInfo(sound->m_linkMedia).fileName(), QStringLiteral("bell.mp3"));
    QVERIFY(QFileInfo(sound->m_linkMedia).isFile());
    // An absolute path is outside the archive: the sound has no file.
    auto *outsideSound = dynamic_cast<DGSoundItem *>(found.at(2));
    QVERIFY(outsideSound);
    QCOMPARE(outsideSound->m_linkMedia, QString());
}

void tst_UbzReader::notAUbzLeavesTheDocument()
{
    const QList<DPage *> before = *m_list;
    writePage(QStringLiteral("content.svg"), QStringLiteral("<rect fill=\"#ff0000\"/>"));
    QVERIFY(!import());
    QVERIFY(!m_list->lastOpenError().isEmpty());
    QVERIFY(!m_list->openAllPagesFromFileUBZ(QString()));
    QCOMPARE(QList<DPage *>(*m_list), before);
}

QTEST_MAIN(tst_UbzReader)
#include "tst_ubzreader.moc"
