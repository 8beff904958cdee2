#include "board/boardtypes.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "document/dpageslist.h"
#include "document/iwblimits.h"
#include "document/toolrun.h"
#include "pictures/heldpictures.h"
#include "shell/appsettings.h"
#include "shell/globals.h"
#include "support/boardfixture.h"
#include "support/craftedpictures.h"
#include "support/documentfixture.h"
#include "support/itemmedia.h"
#include "support/orientedphotos.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include <memory>

// UBZ documents written here as the format lays them out (page files of SVG with "ub:"
// attributes, media in folders), packed with the external zip, and imported into a real page
// list: what comes back through the page factories, and what must never come back.
class tst_UbzReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pagesInFileOrder();
    void objectsBeforeTheFirstRectGetAPage();
    void placement_data();
    void placement();
    void placedAboutThePageCentre_data();
    void placedAboutThePageCentre();
    void polygons_data();
    void polygons();
    void mediaConfinedToTheDocument();
    void archivedPicture_data();
    void archivedPicture();
    void pictureLinksSaid_data();
    void pictureLinksSaid();
    void otherProgramsLesson();
    void firstPlainPictureIsTheBackground();
    void missingBackgroundLeavesAColourPage_data();
    void missingBackgroundLeavesAColourPage();
    void pictureSize_data();
    void pictureSize();
    void photosStandAsTheLessonShowsThem_data();
    void photosStandAsTheLessonShowsThem();
    void elementsSkippedWhole();
    void textEndRightBeforeItsObjectEnd();
    void unsafeArchiveLeavesTheDocument_data();
    void unsafeArchiveLeavesTheDocument();
    void brokenPageFileKeepsWhatWasRead();
    void importedDocumentSavesAsIwb();
    void textKeepsItsBox_data();
    void textKeepsItsBox();
    void hostileFiles_data();
    void hostileFiles();
    void picturesNamedByTextsAreNotRead();
    void leftOutSaidAfterTheImport_data();
    void leftOutSaidAfterTheImport();
    void fuzzingInputs_data();
    void fuzzingInputs();

private:
    void makeBoard(QSize size);
    void write(const QString &relative, const QByteArray &content);
    void writePage(int n, const QByteArray &body);
    void writePicture(const QString &relative, QColor colour, QSize size = QSize(8, 8));
    QString pack(const QString &name, const QStringList &entries = { "." },
                 const QStringList &options = {});
    bool import(bool *complete = nullptr);
    QList<QGraphicsItem *> objects(int page, int type) const;

    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_source; // the document's folder before packing
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_list;
    QTemporaryDir m_home; // the teacher's, with the fonts' folders in it
};

namespace {

QByteArray pageXml(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:ub=\"http://uniboard.mnemis.com/document\""
           " xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"
            + body + "\n</svg>\n";
}

// Not white, so that a page left in the document's colour is told from one painted white.
const QColor kPageColour(255, 250, 205);

bool near(qreal a, qreal b)
{
    return qAbs(a - b) < 1e-3;
}

enum class Media { None, HugeBackground, SmallPicture, HugeTexture, TwoMillionObjects };

// A text as the other program keeps it: rich text with a family and size on each run.
QByteArray richText(const QList<QPair<QString, int>> &runs)
{
    QString html = QStringLiteral("<html><body style=\" font-family:'Sans'; font-size:13pt;\">");
    for (const QPair<QString, int> &run : runs)
        html += QStringLiteral(
                        "<p><span style=\" font-family:'%1'; font-size:%2pt;\">%1 %2</span></p>")
                        .arg(run.first)
                        .arg(run.second);
    return (html + QStringLiteral("</body></html>")).toHtmlEscaped().toUtf8();
}

// Each run's text, family and size as the text shows them.
QStringList runFonts(const DGTextItem *text)
{
    QStringList runs;
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        for (auto run = block.begin(); !run.atEnd(); ++run) {
            const QFont shown =
                    run.fragment().charFormat().font().resolve(text->document()->defaultFont());
            runs << QStringLiteral("%1: %2 %3")
                            .arg(run.fragment().text(), QFontInfo(shown).family())
                            .arg(shown.pointSizeF());
        }
    }
    return runs;
}

} // namespace

Q_DECLARE_METATYPE(Media)

void tst_UbzReader::initTestCase()
{
    QVERIFY(m_home.isValid());
    QVERIFY(CraftedPictures::makeFontsHome(m_home.path()));
}

void tst_UbzReader::init()
{
    settings.clear();
    AppSettings::setPageColor(settings, kPageColour);
    m_scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(m_scratch->isValid());
    m_source = m_scratch->path() + QStringLiteral("/doc");
    QVERIFY(QDir().mkpath(m_source));
    // The board the other program's lessons were measured on: their objects land where its
    // own examples say.
    makeBoard(QSize(2760, 2120));
}

void tst_UbzReader::makeBoard(QSize size)
{
    if (m_list)
        m_list->exit();
    m_list.reset();
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(size);
    m_list = std::make_unique<DPagesList>(m_window.get());
}

void tst_UbzReader::cleanup()
{
    m_list->exit();
    m_list.reset();
    m_window.reset();
    m_scratch.reset();
}

void tst_UbzReader::write(const QString &relative, const QByteArray &content)
{
    const QString path = m_source + QLatin1Char('/') + relative;
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(content.size()));
}

void tst_UbzReader::writePage(int n, const QByteArray &body)
{
    write(QStringLiteral("page%1.svg").arg(n, 3, 10, QLatin1Char('0')), pageXml(body));
}

void tst_UbzReader::writePicture(const QString &relative, QColor colour, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QVERIFY(QDir().mkpath(QFileInfo(m_source + QLatin1Char('/') + relative).absolutePath()));
    QVERIFY(picture.save(m_source + QLatin1Char('/') + relative, "PNG"));
}

QString tst_UbzReader::pack(const QString &name, const QStringList &entries,
                            const QStringList &options)
{
    const QString archive = m_scratch->path() + QLatin1Char('/') + name;
    QFile::remove(archive); // zip would add to it
    const ToolRun zipped =
            runTool(QStringLiteral("zip"),
                    QStringList{ "-q", "-r" } + options + QStringList{ archive } + entries,
                    m_source, 30000);
    return zipped.ok ? archive : QString();
}

bool tst_UbzReader::import(bool *complete)
{
    const QString archive = pack(QStringLiteral("lesson.ubz"));
    if (archive.isEmpty() || !m_list->openAllPagesFromFileUBZ(archive))
        return false;
    if (complete)
        *complete = !m_list->lastOpenWasPartial();
    return !m_list->isSaving();
}

QList<QGraphicsItem *> tst_UbzReader::objects(int page, int type) const
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *item : m_list->at(page)->items(Qt::AscendingOrder)) {
        if (item->type() == type)
            found << item;
    }
    return found;
}

void tst_UbzReader::pagesInFileOrder()
{
    writePage(0, R"x(<rect fill="#ff0000"/>)x");
    writePage(1, R"x(<rect fill="#00ff00"/><rect fill="#0000ff"/>
                    <foreignObject ub:uuid="t" transform="matrix(1,0,0,1,0,0)">
                      <itemTextContent>two</itemTextContent>
                    </foreignObject>)x");
    // page002 is missing; page100 is past the last page file read
    writePage(3, R"x(<rect fill="not a colour"/>)x");
    writePage(100, R"x(<rect fill="#123456"/>)x");
    bool complete = false;
    QVERIFY(import(&complete));
    QVERIFY(complete);

    QCOMPARE(m_list->size(), 4);
    QCOMPARE(m_list->at(0)->backgroundBrush().color(), QColor("#ff0000"));
    QCOMPARE(m_list->at(1)->backgroundBrush().color(), QColor("#00ff00"));
    QCOMPARE(m_list->at(2)->backgroundBrush().color(), QColor("#0000ff"));
    QCOMPARE(m_list->at(3)->backgroundBrush().color(), kPageColour); // no colour: the page colour
    QCOMPARE(objects(2, ItemTypeText).size(), 1); // after the second rect: on the second page
    QCOMPARE(objects(1, ItemTypeText).size(), 0);
    QCOMPARE(m_list->getCurPage(), m_list->last());

    for (DPage *page : qAsConst(*m_list)) {
        QCOMPARE(page->undoStack()->count(), 0);
        QCOMPARE(page->pageType(), int(PageTypeColor));
    }
    QVERIFY(!m_list->isDocumentModified());
    QCOMPARE(m_list->fileName(), m_scratch->path() + QStringLiteral("/lesson.ubz"));
    // The unpacked document became the working directory, with nothing of the old one left.
    QVERIFY(QFileInfo(m_list->workDir() + QStringLiteral("/page003.svg")).isFile());
    QVERIFY(!QFileInfo::exists(m_list->workDir() + QStringLiteral("/content.xml")));
}

void tst_UbzReader::objectsBeforeTheFirstRectGetAPage()
{
    writePage(0, R"x(<g><polygon ub:uuid="p" points="0,0 10,10" stroke-opacity="255"/></g>
                    <rect fill="#00ff00"/>)x");
    writePage(1, "");
    QVERIFY(import());
    QCOMPARE(m_list->size(), 2);
    QCOMPARE(objects(0, ItemTypePath).size(), 1);
    QCOMPARE(m_list->at(0)->pageType(), int(PageTypeColor));

    // A document whose page files make no page still leaves one to work on.
    QVERIFY(QFile::remove(m_source + QStringLiteral("/page000.svg")));
    QVERIFY(import());
    QCOMPARE(m_list->size(), 1);
    QVERIFY(m_list->getCurPage());
}

void tst_UbzReader::placement_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("transform");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<qreal>("rotation"); // the object's, clockwise on the screen
    QTest::addColumn<qreal>("scale");

    struct Row
    {
        const char *name;
        const char *transform;
        QPoint position;
        qreal rotation;
        qreal scale;
    };
    const Row rows[] = {
        { "offset", "matrix(1,0,0,1,20.7,-5.2)", { 1400, 1055 }, 0, 1 },
        // c is the sine's negative: the file's clockwise quarter turn
        { "quarter turn", "matrix(0,1,-1,0,0,0)", { 1380, 1060 }, 90, 1 },
        { "thirty degrees", "matrix(0.866025,0.5,-0.5,0.866025,-10.9,7.9)", { 1370, 1067 }, 30, 1 },
        { "matrix scale", "matrix(2,0,0,2,5,5)", { 1385, 1065 }, 0, 2 },
        // a map kept at 60 % beside a picture; a shape grown by a quarter and turned
        { "matrix shrinks", "matrix(0.6,0,0,0.6,-300,10)", { 1080, 1070 }, 0, 0.6 },
        { "matrix turns and grows", "matrix(0,1.25,-1.25,0,0,0)", { 1380, 1060 }, 90, 1.25 },
        { "scale() beside the matrix", "matrix(1.5,0,0,1.5,0,0) scale(2)", { 1380, 1060 }, 0, 3 },
        { "short transform", "matrix(1,0,0,1)", { 1380, 1060 }, 0, 1 },
        { "no transform", "", { 1380, 1060 }, 0, 1 },
        { "not numbers", "matrix(a,b,c,d,e,f)", { 1380, 1060 }, 0, 1 },
    };
    for (const char *element : { "text", "picture", "video", "sound" }) {
        for (const Row &row : rows) {
            QTest::addRow("%s, %s", element, row.name)
                    << QString::fromLatin1(element) << QString::fromLatin1(row.transform)
                    << row.position << row.rotation << row.scale;
        }
    }
}

void tst_UbzReader::placement()
{
    QFETCH(QString, element);
    QFETCH(QString, transform);
    QFETCH(QPoint, position);
    QFETCH(qreal, rotation);
    QFETCH(qreal, scale);

    writePicture(QStringLiteral("images/pic.png"), Qt::red);
    write(QStringLiteral("videos/clip.avi"), "not really a video");
    write(QStringLiteral("audio/bell.mp3"), "not really a sound");
    const QByteArray t = transform.toUtf8();
    const QMap<QString, QPair<QByteArray, int>> bodies = {
        { "text",
          { "<foreignObject ub:uuid=\"o\" transform=\"" + t
                    + "\"><itemTextContent font-family=\"Sans\" font-size=\"14\">"
                      "&lt;p&gt;Hola &amp;amp; adi&#243;s&lt;/p&gt;</itemTextContent>\n"
                      "</foreignObject>",
            ItemTypeText } },
        // requiredExtension: never taken for the page's background, even untransformed
        { "picture",
          { "<image ub:source=\"images/pic.png\" id=\"o\" width=\"40.9\" height=\"30\" "
            "requiredExtension=\"x\" transform=\""
                    + t + "\"/>",
            ItemTypePixmap } },
        { "video",
          { "<video ub:source=\"videos/clip.avi\" ub:uuid=\"o\" xlink=\"http://example.org\" "
            "xpagelink=\"2\" transform=\""
                    + t + "\"/>",
            ItemTypeVideo } },
        { "sound",
          { "<audio ub:source=\"audio/bell.mp3\" ub:uuid=\"o\" transform=\"" + t + "\"/>",
            ItemTypeSound } },
    };
    writePage(0, "<rect fill=\"#ffffff\"/>" + bodies.value(element).first);
    QVERIFY(import());

    const QList<QGraphicsItem *> found = objects(0, bodies.value(element).second);
    QCOMPARE(found.size(), 1);
    QGraphicsItem *object = found.first();
    QCOMPARE(object->pos(), QPointF(position));
    QVERIFY2(near(object->rotation(), rotation), qPrintable(QString::number(object->rotation())));
    QVERIFY(near(object->scale(), scale));
    QCOMPARE(m_list->getCurPage()->undoStack()->count(), 0);

    const DCustomItem *links = DCustomItem::fromItem(object);
    if (element == QLatin1String("text")) {
        // Turned about its top left corner, as the file means it.
        QCOMPARE(object->transformOriginPoint(), QPointF());
        auto *text = static_cast<DGTextItem *>(object);
        QCOMPARE(text->toPlainText(), QStringLiteral("Hola & adiós"));
        QCOMPARE(text->font().family(), QStringLiteral("Sans"));
        QCOMPARE(text->font().pointSize(), 14);
    } else if (element == QLatin1String("picture")) {
        QCOMPARE(object->transformOriginPoint(), QPointF());
        QCOMPARE(static_cast<DGPixmapItem *>(object)->pictureSize(), QSize(40, 30));
    } else if (element == QLatin1String("video")) {
        // Its own file as its media link; the links of the element beside it.
        QVERIFY(links->m_linkMedia.endsWith(QStringLiteral("/videos/clip.avi")));
        QVERIFY(QFileInfo(links->m_linkMedia).isFile());
        QVERIFY(links->m_linkMedia.startsWith(m_list->workDir()));
        QCOMPARE(static_cast<DGVideoItem *>(object)->m_filePath, links->m_linkMedia);
        QCOMPARE(links->m_linkWeb, QStringLiteral("http://example.org"));
        QCOMPARE(links->m_linkPage, QStringLiteral("2"));
    } else {
        QVERIFY(links->m_linkMedia.startsWith(m_list->workDir()));
        QVERIFY(QFileInfo(links->m_linkMedia).isFile());
        QCOMPARE(static_cast<DGSoundItem *>(object)->m_fileName, QStringLiteral("bell.mp3"));
    }
}

void tst_UbzReader::placedAboutThePageCentre_data()
{
    QTest::addColumn<QSize>("board");
    QTest::addColumn<QPointF>("centre");
    QTest::newRow("2760 x 2120") << QSize(2760, 2120) << QPointF(1380, 1060);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QPointF(960, 540);
    QTest::newRow("1366 x 768") << QSize(1366, 768) << QPointF(683, 384);
}

void tst_UbzReader::placedAboutThePageCentre()
{
    // The other program's page is centred on its origin: a lesson shows on any board as it
    // showed there, not in the top left quarter of a small one.
    QFETCH(QSize, board);
    QFETCH(QPointF, centre);
    makeBoard(board);
    writePicture(QStringLiteral("images/pic.png"), Qt::red, QSize(40, 30));
    writePage(0, R"x(<rect fill="#ffffff"/>
        <foreignObject transform="matrix(1,0,0,1,-100,-50)">
          <itemTextContent>left of the middle</itemTextContent>
        </foreignObject>
        <image ub:source="images/pic.png" width="40" height="30"
               transform="matrix(1,0,0,1,20,-30)"/>
        <g><polygon points="-10,-10 10,10" stroke-opacity="255"/>
           <polygon points="0,0 10,0" transform="matrix(2,0,0,2,-5,5)"/></g>)x");
    writePage(1, R"x(<rect fill="#ffffff"/>
        <audio ub:source="missing.mp3" transform="matrix(1,0,0,1,0,0)"/>)x");
    QVERIFY(import());
    QCOMPARE(m_list->at(0)->sceneRect().center(), centre);
    QCOMPARE(objects(0, ItemTypeText).value(0)->pos(), centre + QPointF(-100, -50));
    QCOMPARE(objects(0, ItemTypePixmap).value(0)->pos(), centre + QPointF(20, -30));
    const QList<QGraphicsItem *> shapes = objects(0, ItemTypePath);
    QCOMPARE(shapes.size(), 2);
    QList<QPointF> scene;
    for (QGraphicsItem *shape : shapes) {
        for (const QPointF &point : static_cast<DGPathCurveItem *>(shape)->points())
            scene << shape->mapToScene(point);
    }
    QCOMPARE(scene,
             (QList<QPointF>{ centre + QPointF(-10, -10), centre + QPointF(10, 10),
                              centre + QPointF(-5, 5), centre + QPointF(15, 5) }));
    QCOMPARE(objects(1, ItemTypeSound).value(0)->pos(), centre);
}

void tst_UbzReader::polygons_data()
{
    QTest::addColumn<QByteArray>("attributes");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<QPointF>>("scenePoints");
    QTest::addColumn<QColor>("stroke");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("fillType");
    QTest::addColumn<qreal>("rotation");

    QTest::newRow("table kind, real width, dash")
            << QByteArray(R"x(type="table" points="0,0 10,0 10,10" stroke="#ff0000")x"
                          R"x( stroke-opacity="255" stroke-width="2.5" stroke-dasharray="2, 1")x")
            << int(BtMenus::btTableTool)
            << QList<QPointF>{ { 1380, 1060 }, { 1390, 1060 }, { 1390, 1070 } }
            << QColor(255, 0, 0, 255) << 2 << int(Qt::DashLine) << 0 << 0.0;
    QTest::newRow("no opacity: invisible outline")
            << QByteArray(R"x(points="5,5 20,5" stroke="#00ff00")x") << int(BtMenus::btPolygon)
            << QList<QPointF>{ { 1385, 1065 }, { 1400, 1065 } } << QColor(0, 255, 0, 0) << 0
            << int(Qt::SolidLine) << 0 << 0.0;
    QTest::newRow("two blanks: a point at the offset")
            << QByteArray(R"x(points="0,0 10,0  10,10" stroke-opacity="ff")x")
            << int(BtMenus::btPolygon)
            << QList<QPointF>{ { 1380, 1060 }, { 1390, 1060 }, { 1380, 1060 }, { 1390, 1070 } }
            << QColor(255, 255, 255, 255) << 0 << int(Qt::SolidLine) << 0 << 0.0;
    QTest::newRow("solid fill, dot line")
            << QByteArray(R"x(points="0,0 10,10" fill="#0000ff" stroke-dasharray="4, 2")x")
            << int(BtMenus::btPolygon) << QList<QPointF>{ { 1380, 1060 }, { 1390, 1070 } }
            << QColor(255, 255, 255, 0) << 0 << int(Qt::DotLine) << int(ItemFillSolid) << 0.0;
    QTest::newRow("negative width reads as none")
            << QByteArray(R"x(points="0,0 10,10" stroke-width="-3.5" stroke-opacity="255")x")
            << int(BtMenus::btPolygon) << QList<QPointF>{ { 1380, 1060 }, { 1390, 1070 } }
            << QColor(255, 255, 255, 255) << 0 << int(Qt::SolidLine) << 0 << 0.0;
    QTest::newRow("gradient fill")
            << QByteArray(R"x(points="0,0 10,10" fillType="2" fill="#0000ff")x")
            << int(BtMenus::btPolygon) << QList<QPointF>{ { 1380, 1060 }, { 1390, 1070 } }
            << QColor(255, 255, 255, 0) << 0 << int(Qt::SolidLine) << int(ItemFillGradient) << 0.0;
    // A matrix places the points; the IWB form of the transform turns the shape.
    QTest::newRow("matrix turns and moves the points")
            << QByteArray(R"x(points="0,0 10,0" transform="matrix(0,1,-1,0,50,50)")x")
            << int(BtMenus::btPolygon) << QList<QPointF>{ { 1430, 1110 }, { 1430, 1120 } }
            << QColor(255, 255, 255, 0) << 0 << int(Qt::SolidLine) << 0 << 0.0;
    QTest::newRow("matrix scales the points")
            << QByteArray(R"x(points="0,0 40,0 40,20" transform="matrix(1.25,0,0,1.25,-20,0)")x")
            << int(BtMenus::btPolygon)
            << QList<QPointF>{ { 1360, 1060 }, { 1410, 1060 }, { 1410, 1085 } }
            << QColor(255, 255, 255, 0) << 0 << int(Qt::SolidLine) << 0 << 0.0;
    QTest::newRow("rotate() read")
            << QByteArray(R"x(points="0,0 10,0" transform="translate(0,0) rotate(30,0,0)")x")
            << int(BtMenus::btPolygon) << QList<QPointF>{} << QColor(255, 255, 255, 0) << 0
            << int(Qt::SolidLine) << 0 << -30.0;
}

void tst_UbzReader::polygons()
{
    QFETCH(QByteArray, attributes);
    QFETCH(int, kind);
    QFETCH(QList<QPointF>, scenePoints);
    QFETCH(QColor, stroke);
    QFETCH(int, width);
    QFETCH(int, style);
    QFETCH(int, fillType);
    QFETCH(qreal, rotation);

    writePage(0,
              "<rect fill=\"#ffffff\"/>\n<g>\n<polygon ub:uuid=\"p\" " + attributes
                      + "/>\n<g><polygon points=\"1,1 2,2\"/></g>\n<polygon points=\"\"/>\n</g>");
    QVERIFY(import());

    // The nested group and the polygon without points make nothing.
    const QList<QGraphicsItem *> found = objects(0, ItemTypePath);
    QCOMPARE(found.size(), 1);
    auto *shape = static_cast<DGPathCurveItem *>(found.first());
    QCOMPARE(int(shape->shapeType()), kind);
    QVERIFY(near(shape->rotation(), rotation));
    if (!scenePoints.isEmpty()) {
        QList<QPointF> scene;
        for (const QPointF &point : shape->points())
            scene << shape->mapToScene(point);
        QCOMPARE(scene, scenePoints);
    }
    QCOMPARE(shape->pen().color(), stroke);
    QCOMPARE(shape->pen().width(), width);
    QCOMPARE(int(shape->pen().style()), style);
    QCOMPARE(shape->pen().capStyle(), Qt::RoundCap);
    QCOMPARE(int(shape->m_fillType), fillType);
    if (fillType == ItemFillSolid)
        QCOMPARE(shape->brush().color(), QColor(0, 0, 255));
    if (fillType == ItemFillGradient)
        QCOMPARE(shape->brush().style(), Qt::LinearGradientPattern);
    if (fillType != ItemFillNone)
        QCOMPARE(shape->getGradColor(), QColor(0, 0, 255));
    QCOMPARE(m_list->getCurPage()->undoStack()->count(), 0);
}

void tst_UbzReader::mediaConfinedToTheDocument()
{
    // Pictures and sounds beside the document, named by absolute paths or by "..".
    const QString outside = m_scratch->path() + QStringLiteral("/outside.png");
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QVERIFY(picture.save(outside, "PNG"));
    writePicture(QStringLiteral("images/pen.png"), Qt::blue);
    writePicture(QStringLiteral("images/fill.png"), Qt::yellow);
    const QByteArray a = outside.toUtf8();
    const QByteArray place = R"x(transform="matrix(1,0,0,1,0,0)")x";
    QByteArray body = R"x(<rect fill="#ffffff"/>)x";
    body += "<image ub:source=\"" + a + "\" id=\"abs\" width=\"4\" height=\"4\" " + place + "/>";
    body += R"x(<image ub:source="../outside.png" id="up" width="4" height="4" )x" + place + "/>";
    body += R"x(<image ub:source="images/../../outside.png" width="4" height="4" )x" + place + "/>";
    body += "<audio ub:source=\"" + a + "\" xfilelink=\"" + a + "\" " + place + "/>";
    body += R"x(<video ub:source="../outside.png" xfilelink="images/pen.png" )x" + place + "/>";
    body += R"x(<g><polygon points="0,0 5,5" xlink:href="/images/pen.png" fillType="3" )x";
    body += "pathFile=\"" + a + "\"/>";
    body += R"x(<polygon points="0,0 5,5" xlink:href="/../outside.png" fillType="3")x"
            R"x( pathFile="images/fill.png"/></g>)x";
    writePage(0, body);
    QVERIFY(import());

    QCOMPARE(objects(0, ItemTypePixmap).size(), 0); // no picture from outside
    const QList<QGraphicsItem *> sounds = objects(0, ItemTypeSound);
    const QList<QGraphicsItem *> videos = objects(0, ItemTypeVideo);
    QCOMPARE(sounds.size(), 1); // made, as for a missing file, but naming none
    QCOMPARE(videos.size(), 1);
    QCOMPARE(DCustomItem::fromItem(sounds.first())->m_linkMedia, QString());
    QCOMPARE(DCustomItem::fromItem(sounds.first())->m_linkFile, QString());
    QCOMPARE(DCustomItem::fromItem(videos.first())->m_linkMedia, QString());
    QCOMPARE(static_cast<DGVideoItem *>(videos.first())->m_filePath, QString());
    QCOMPARE(DCustomItem::fromItem(videos.first())->m_linkFile,
             m_list->workDir() + QStringLiteral("/images/pen.png"));

    const QList<QGraphicsItem *> shapes = objects(0, ItemTypePath);
    QCOMPARE(shapes.size(), 2);
    auto *inside = static_cast<DGPathCurveItem *>(shapes.at(0));
    auto *escaping = static_cast<DGPathCurveItem *>(shapes.at(1));
    QCOMPARE(inside->pen().brush().textureImage().pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(inside->fillFileName(), QString()); // absolute texture: missing
    QCOMPARE(inside->brush().style(), Qt::NoBrush);
    QVERIFY(escaping->pen().brush().textureImage().isNull());
    QCOMPARE(escaping->fillFileName(), m_list->workDir() + QStringLiteral("/images/fill.png"));
    QCOMPARE(escaping->brush().textureImage().pixelColor(0, 0), QColor(Qt::yellow));
}

void tst_UbzReader::archivedPicture_data()
{
    // ub:source and xlink:href of one picture, and the colour that must come in (none: no
    // picture). The library path is a real picture outside the document, in blue.
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("href");
    QTest::addColumn<QColor>("colour");
    const QColor none;
    QTest::newRow("archived only") << QByteArray() << QByteArray("images/a.png") << QColor(Qt::red);
    QTest::newRow("library path, archived copy")
            << QByteArray("@library") << QByteArray("images/a.png") << QColor(Qt::red);
    QTest::newRow("missing source, archived copy")
            << QByteArray("images/gone.png") << QByteArray("images/a.png") << QColor(Qt::red);
    QTest::newRow("source not a picture")
            << QByteArray("images/notes.png") << QByteArray("/images/a.png") << QColor(Qt::red);
    QTest::newRow("source wins") << QByteArray("images/b.png") << QByteArray("images/a.png")
                                 << QColor(Qt::green);
    QTest::newRow("href climbing out") << QByteArray() << QByteArray("../outside.png") << none;
    QTest::newRow("href climbing through a folder")
            << QByteArray("@library") << QByteArray("images/../../outside.png") << none;
    QTest::newRow("href absolute") << QByteArray() << QByteArray("@library") << none;
    QTest::newRow("neither") << QByteArray() << QByteArray() << none;
}

void tst_UbzReader::archivedPicture()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, href);
    QFETCH(QColor, colour);
    writePicture(QStringLiteral("images/a.png"), Qt::red);
    writePicture(QStringLiteral("images/b.png"), Qt::green);
    write(QStringLiteral("images/notes.png"), "only words");
    const QString library = m_scratch->path() + QStringLiteral("/outside.png");
    QImage outside(8, 8, QImage::Format_RGB32);
    outside.fill(Qt::blue);
    QVERIFY(outside.save(library, "PNG"));
    source.replace("@library", library.toUtf8());
    href.replace("@library", library.toUtf8());
    QByteArray image = R"x(<rect fill="#ffffff"/><image width="8" height="8")x";
    if (!source.isEmpty())
        image += " ub:source=\"" + source + "\"";
    if (!href.isEmpty())
        image += " xlink:href=\"" + href + "\"";
    writePage(0, image + "/>"); // untransformed: the page's background
    writePage(1, image + R"x( transform="matrix(1,0,0,1,10,20)"/>)x");
    QVERIFY(import());

    DPage *first = m_list->at(0);
    const QList<QGraphicsItem *> found = objects(1, ItemTypePixmap);
    if (!colour.isValid()) {
        QCOMPARE(first->pageType(), int(PageTypeColor));
        QCOMPARE(found.size(), 0);
        return;
    }
    QCOMPARE(first->pageType(), int(PageTypeImage));
    const QImage background = first->backgroundBrush().textureImage();
    QCOMPARE(background.pixelColor(background.width() / 2, background.height() / 2), colour);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first()->pos(), QPointF(1390, 1080));
    const QImage picture = static_cast<DGPixmapItem *>(found.first())->pixmap().toImage();
    QCOMPARE(picture.pixelColor(4, 4), colour);
}

void tst_UbzReader::pictureLinksSaid_data()
{
    // An SVG of the lesson's that links a picture (CraftedPictures::writeLinking; %home: the
    // teacher's folder, CraftedPictures::makeFontsHome), and why that is left out ("" when it
    // shows).
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("why");
    QTest::newRow("beside it") << "red.png" << QString();
    QTest::newRow("absolute, outside")
            << "%root/secret/red.png" << QStringLiteral("está fuera de la carpeta de la imagen");
    QTest::newRow("~/.fonts") << "%home/.fonts/red.png"
                              << QStringLiteral("está en una carpeta de tipos de letra");
    QTest::newRow("/proc/self") << "/proc/self/environ"
                                << QStringLiteral(
                                           "está en una carpeta del sistema (/proc, /sys o /dev)");
}

// A picture of an imported lesson shows nothing its links name outside the lesson, as the
// page's background and as an object, and each is said with the import, once.
void tst_UbzReader::pictureLinksSaid()
{
    QFETCH(QString, href);
    QFETCH(QString, why);
    href.replace(QStringLiteral("%home"), m_home.path());
    QTemporaryDir outside;
    const QString svg = CraftedPictures::writeLinking(outside.path(), href);
    QVERIFY(!svg.isEmpty());
    write(QStringLiteral("images/linking.svg"), DocumentFixture::readAll(svg));
    writePicture(QStringLiteral("images/red.png"), Qt::red, QSize(10, 10));
    const QByteArray image = R"x(<rect fill="#ffffff"/><image width="20" height="10" )x"
                             R"x(xlink:href="images/linking.svg")x";
    writePage(0, image + "/>"); // untransformed: the page's background
    writePage(1, image + R"x( transform="matrix(1,0,0,1,10,20)"/>)x");
    QVERIFY(import());
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    const QString said =
            QStringLiteral("La imagen «linking.svg» se muestra sin «%1», que enlaza: %2.")
                    .arg(href.mid(href.lastIndexOf(QLatin1Char('/')) + 1), why);
    const QStringList lines = why.isEmpty() ? QStringList()
                                            : QStringList{ QStringLiteral("Página 1: ") + said,
                                                           QStringLiteral("Página 2: ") + said };
    QCOMPARE(m_list->lastOpenPictures(), lines);
    const QList<QGraphicsItem *> found = objects(1, ItemTypePixmap);
    QCOMPARE(found.size(), 1);
    const QImage picture = static_cast<DGPixmapItem *>(found.first())->pixmap().toImage();
    QCOMPARE(picture.pixelColor(5, 5), why.isEmpty() ? QColor(Qt::red) : QColor(Qt::white));
}

// A lesson as another whiteboard program writes it: ink as filled outlines in groups (a
// marker at half opacity), a text, a pasted picture kept only in the archive and one from the
// program's library named by its path on the author's computer.
void tst_UbzReader::otherProgramsLesson()
{
    writePicture(QStringLiteral("images/{0b5e}.png"), Qt::red, QSize(40, 20));
    writePicture(QStringLiteral("images/{77aa}.png"), Qt::green, QSize(10, 10));
    writePage(0, R"x(<rect fill="#ffffff"/>
        <g uuid="{g1}">
          <polygon ub:uuid="{s1}" fill="#0000ff" fill-opacity="1.00" points="0,0 50,0 50,4 0,4"/>
          <polygon ub:uuid="{s2}" fill="#ffff00" fill-opacity="0.50" points="0,10 50,10 50,30"/>
          <polygon ub:uuid="{s3}" fill="#ff0000" fill-opacity="0.5" opacity="0.5"
                   stroke="#00ff00" stroke-opacity="255" stroke-width="2" points="0,0 9,9 0,9"/>
        </g>
        <foreignObject ub:uuid="{t1}" transform="matrix(1,0,0,1,100,100)">
          <itemTextContent font-family="Sans" font-size="12">hello</itemTextContent>
        </foreignObject>
        <image xlink:href="images/{0b5e}.png" width="40" height="20"
               transform="matrix(1,0,0,1,200,50)"/>
        <image ub:source="/usr/share/otherboard/library/images/star.png"
               xlink:href="images/{77aa}.png" width="10" height="10"
               transform="matrix(1,0,0,1,300,50)"/>)x");
    writePage(1, R"x(<rect fill="#ffffff"/>
        <g><polygon ub:uuid="{s4}" fill="#000000" fill-opacity="0.25" points="0,0 5,5 0,5"/></g>)x");
    QVERIFY(import());
    QCOMPARE(m_list->size(), 2);

    const QList<QGraphicsItem *> strokes = objects(0, ItemTypePath);
    QCOMPARE(strokes.size(), 3);
    const QList<int> alphas{ 255, 128, 64 };
    for (int i = 0; i < strokes.size(); ++i) {
        auto *stroke = static_cast<DGPathItem *>(strokes.at(i));
        QCOMPARE(stroke->brush().style(), Qt::SolidPattern);
        QCOMPARE(stroke->brush().color().alpha(), alphas.at(i));
        QCOMPARE(stroke->getGradColor(), stroke->brush().color());
    }
    QCOMPARE(static_cast<DGPathItem *>(strokes.at(1))->brush().color().rgb(), qRgb(255, 255, 0));
    // The opacity of the element fades the outline too.
    QCOMPARE(static_cast<DGPathItem *>(strokes.at(2))->pen().color(), QColor(0, 255, 0, 128));
    QCOMPARE(objects(0, ItemTypeText).size(), 1);
    const QList<QGraphicsItem *> pictures = objects(0, ItemTypePixmap);
    QCOMPARE(pictures.size(), 2);
    QCOMPARE(static_cast<DGPixmapItem *>(pictures.at(0))->pixmap().toImage().pixelColor(1, 1),
             QColor(Qt::red));
    QCOMPARE(static_cast<DGPixmapItem *>(pictures.at(1))->pixmap().toImage().pixelColor(1, 1),
             QColor(Qt::green));
    const QList<QGraphicsItem *> second = objects(1, ItemTypePath);
    QCOMPARE(second.size(), 1);
    QCOMPARE(static_cast<DGPathItem *>(second.first())->brush().color().alpha(), 64);

    // The marker lets the page show through: a pixel under it is a mix, not the ink.
    QImage under(4, 4, QImage::Format_ARGB32);
    QPainter painter(&under);
    m_list->at(0)->render(&painter, QRectF(0, 0, 4, 4), QRectF(1423, 1073, 4, 4));
    painter.end();
    const QColor mixed = under.pixelColor(2, 2);
    QVERIFY2(mixed.blue() > 100 && mixed.blue() < 160, qPrintable(mixed.name()));
}

void tst_UbzReader::firstPlainPictureIsTheBackground()
{
    writePicture(QStringLiteral("images/back.png"), Qt::red, QSize(200, 100));
    writePage(0, R"x(<rect fill="#ffffff"/><image ub:source="images/back.png"/>)x");
    // Later untransformed pictures are objects, placed as for a transform too short.
    writePage(1, R"x(<rect fill="#ffffff"/>
                    <image ub:source="images/back.png" id="b" width="20" height="10"/>)x");
    QVERIFY(import());
    DPage *first = m_list->at(0);
    QCOMPARE(first->pageType(), int(PageTypeImage));
    const QImage background = first->backgroundBrush().textureImage();
    QVERIFY(!background.isNull());
    // Scaled to the view with the aspect kept.
    const QSize view = m_list->getView()->size();
    QCOMPARE(background.size(), QSize(200, 100).scaled(view, Qt::KeepAspectRatio));
    QCOMPARE(background.pixelColor(background.width() / 2, background.height() / 2),
             QColor(Qt::red));
    QCOMPARE(objects(0, ItemTypePixmap).size(), 0);
    const QList<QGraphicsItem *> later = objects(1, ItemTypePixmap);
    QCOMPARE(later.size(), 1);
    QCOMPARE(later.first()->pos(), QPointF(1380, 1060));
    QCOMPARE(m_list->at(1)->pageType(), int(PageTypeColor));

    // With "fill" it is no background and no object; a missing picture changes no page either.
    writePage(0, R"x(<rect fill="#ffffff"/><image ub:source="images/back.png" fill="x"/>)x");
    writePage(1, R"x(<rect fill="#ffffff"/><image ub:source="images/gone.png"/>)x");
    QVERIFY(import());
    QCOMPARE(m_list->at(0)->pageType(), int(PageTypeColor));
    QCOMPARE(m_list->at(1)->pageType(), int(PageTypeColor));
    QCOMPARE(objects(1, ItemTypePixmap).size(), 0);
}

void tst_UbzReader::missingBackgroundLeavesAColourPage_data()
{
    QTest::addColumn<QByteArray>("source");
    // A file the lesson holds but the board cannot show: it goes with the lesson as it came.
    QTest::addColumn<bool>("kept");
    QTest::newRow("missing file") << QByteArray("images/gone.png") << false;
    QTest::newRow("not a picture") << QByteArray("images/notes.png") << true;
    QTest::newRow("beyond the limits") << QByteArray("images/big.png") << true;
    QTest::newRow("outside the document") << QByteArray("../outside.png") << false;
    QTest::newRow("no source") << QByteArray() << false;
}

void tst_UbzReader::missingBackgroundLeavesAColourPage()
{
    QFETCH(QByteArray, source);
    QFETCH(bool, kept);
    write(QStringLiteral("images/notes.png"), "only words");
    write(QStringLiteral("images/big.png"),
          CraftedPictures::make(QStringLiteral("png"), QSize(30000, 30000)));
    QImage outside(4, 4, QImage::Format_RGB32);
    outside.fill(Qt::green);
    QVERIFY(outside.save(m_scratch->path() + QStringLiteral("/outside.png"), "PNG"));
    writePage(0, R"x(<rect fill="#ff0000"/><image ub:source=")x" + source + R"x("/>)x");
    QVERIFY(import());
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    DPage *page = m_list->at(0);
    QCOMPARE(page->pageType(), int(PageTypeColor));
    QCOMPARE(page->backgroundBrush().color(), QColor(Qt::red));
    QCOMPARE(objects(0, ItemTypePixmap).size(), 0);
    QCOMPARE(m_list->lastOpenPictures().join('\n').contains(QStringLiteral("conserva")), kept);
    // A page claiming a picture it has not got would make the next save fail; one the lesson
    // held is saved with it, and again after it is opened, byte for byte.
    const QByteArray held = kept ? DocumentFixture::readAll(m_source + '/' + source) : QByteArray();
    for (const QString &name : { QStringLiteral("saved"), QStringLiteral("again") }) {
        const QString target = m_scratch->path() + QLatin1Char('/') + name;
        QVERIFY2(m_list->saveAllPagesToFileIWB(target, true), qPrintable(m_list->lastSaveError()));
        const QStringList backgrounds = DocumentFixture::archiveEntries(target + ".iwb")
                                                .filter(QRegularExpression("^images/bck"));
        QCOMPARE(backgrounds.size(), kept ? 1 : 0);
        if (kept)
            QVERIFY(runTool(QStringLiteral("unzip"), { "-p", target + ".iwb", backgrounds.first() },
                            QString(), 30000)
                            .output
                    == held);
        QVERIFY(m_list->openAllPagesFromFileIWB(target + QStringLiteral(".iwb")));
        QVERIFY(DocumentFixture::waitForPictures(*m_list));
        QCOMPARE(m_list->at(0)->pageType(), int(PageTypeColor));
        // The lesson's format holds a background picture or a colour, not both.
        if (!kept)
            QCOMPARE(m_list->at(0)->backgroundBrush().color(), QColor(Qt::red));
    }
}

void tst_UbzReader::pictureSize_data()
{
    QTest::addColumn<QByteArray>("width");
    QTest::addColumn<QByteArray>("height");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("transform");
    const QSize own(8, 6);
    const QByteArray plain("matrix(1,0,0,1,0,0)");
    QTest::newRow("given, truncated")
            << QByteArray("40.9") << QByteArray("30.99") << QSize(40, 30) << plain;
    QTest::newRow("largest") << QByteArray("16384") << QByteArray("1") << QSize(16384, 1) << plain;
    QTest::newRow("zero width") << QByteArray("0") << QByteArray("30") << own << plain;
    QTest::newRow("negative") << QByteArray("-5") << QByteArray("-5") << own << plain;
    QTest::newRow("absent") << QByteArray() << QByteArray() << own << plain;
    QTest::newRow("not numbers") << QByteArray("wide") << QByteArray("10") << own << plain;
    // Scaled more along one side: the picture takes the shape, the object the common scale.
    QTest::newRow("stretched by its matrix")
            << QByteArray("40") << QByteArray("30") << QSize(80, 15)
            << QByteArray("matrix(2,0,0,0.5,0,0)");
}

void tst_UbzReader::pictureSize()
{
    QFETCH(QByteArray, width);
    QFETCH(QByteArray, height);
    QFETCH(QSize, size);
    QFETCH(QByteArray, transform);
    writePicture(QStringLiteral("images/pic.png"), Qt::blue, QSize(8, 6));
    QByteArray image = "<image ub:source=\"images/pic.png\" transform=\"" + transform + "\"";
    if (!width.isNull())
        image += " width=\"" + width + "\" height=\"" + height + "\"";
    writePage(0, R"x(<rect fill="#ffffff"/>)x" + image + "/>");
    QVERIFY(import());
    const QList<QGraphicsItem *> found = objects(0, ItemTypePixmap);
    QCOMPARE(found.size(), 1);
    const auto *picture = static_cast<DGPixmapItem *>(found.first());
    QCOMPARE(picture->pictureSize(), size);
    QCOMPARE(picture->pixmap().toImage().pixelColor(0, 0), QColor(Qt::blue));
    QVERIFY(near(found.first()->scale(), 1));
}

void tst_UbzReader::photosStandAsTheLessonShowsThem_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("given"); // invalid: none
    QTest::addColumn<bool>("asStored"); // shown as stored, not as seen
    // The photo is 96 x 64 as seen.
    for (const int orientation : { 3, 6, 7 })
        QTest::newRow(qPrintable(QStringLiteral("orientation %1, its own size").arg(orientation)))
                << orientation << QSize() << false;
    QTest::newRow("orientation 8, as seen") << 8 << QSize(96, 64) << false;
    // Given the shape of the picture stored, as a lesson written without its orientation.
    QTest::newRow("orientation 6, as stored") << 6 << QSize(64, 96) << true;
}

// An imported lesson's photo stored turned stands as the lesson shows it.
void tst_UbzReader::photosStandAsTheLessonShowsThem()
{
    QFETCH(int, orientation);
    QFETCH(QSize, given);
    QFETCH(bool, asStored);
    const QImage photo = OrientedPhotos::upright(QSize(96, 64));
    const QByteArray bytes = OrientedPhotos::jpeg(photo, orientation);
    write(QStringLiteral("images/photo.jpg"), bytes);
    const QImage expected =
            OrientedPhotos::decoded(asStored ? bytes : OrientedPhotos::jpeg(photo, 1));
    QByteArray image = "<image ub:source=\"images/photo.jpg\" transform=\"matrix(1,0,0,1,0,0)\"";
    if (given.isValid())
        image += " width=\"" + QByteArray::number(given.width()) + "\" height=\""
                + QByteArray::number(given.height()) + "\"";
    writePage(0, R"x(<rect fill="#ffffff"/>)x" + image + "/>");
    QVERIFY(import());
    const QList<QGraphicsItem *> found = objects(0, ItemTypePixmap);
    QCOMPARE(found.size(), 1);
    const auto *picture = static_cast<DGPixmapItem *>(found.first());
    QCOMPARE(picture->pictureSize(), expected.size());
    const int off = OrientedPhotos::difference(
            picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32), expected);
    QVERIFY2(off >= 0 && off <= OrientedPhotos::kJpegTolerance, qPrintable(QString::number(off)));
}

void tst_UbzReader::elementsSkippedWhole()
{
    // Whatever a background or a polygon holds is passed over with it, and reading goes on
    // after its end tag.
    writePage(0, R"x(<rect fill="#ff0000"><g><polygon points="0,0 1,1"/></g><rect fill="#00ff00"/>
                    </rect>
                    <g><polygon points="0,0 5,5"><g><polygon points="1,1 2,2"/></g>
                         <title>inside</title></polygon><polygon points="0,0 6,6"/></g>
                    <foreignObject transform="matrix(1,0,0,1,0,0)"><itemTextContent>after
                    </itemTextContent></foreignObject>)x");
    QVERIFY(import());
    QCOMPARE(m_list->size(), 1);
    QCOMPARE(m_list->at(0)->backgroundBrush().color(), QColor(Qt::red));
    QCOMPARE(objects(0, ItemTypePath).size(), 2);
    QCOMPARE(objects(0, ItemTypeText).size(), 1);
}

void tst_UbzReader::textEndRightBeforeItsObjectEnd()
{
    // No blank between the text's end tag and its object's: what follows is still read.
    writePage(0,
              "<rect fill=\"#ffffff\"/><foreignObject ub:uuid=\"t\" "
              "transform=\"matrix(1,0,0,1,0,0)\"><itemTextContent>a</itemTextContent>"
              "</foreignObject><g><polygon points=\"0,0 1,1\"/></g><foreignObject "
              "transform=\"matrix(1,0,0,1,0,0)\"><itemTextContent>b</itemTextContent>"
              "</foreignObject>");
    QVERIFY(import());
    QCOMPARE(objects(0, ItemTypeText).size(), 2);
    QCOMPARE(objects(0, ItemTypePath).size(), 1);
}

void tst_UbzReader::unsafeArchiveLeavesTheDocument_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("symlink entry") << "symlink";
    QTest::newRow("parent entry") << "parent";
    QTest::newRow("no page files") << "empty";
    QTest::newRow("not a zip") << "garbage";
    QTest::newRow("missing file") << "missing";
    QTest::newRow("no file name") << "no name";
}

void tst_UbzReader::unsafeArchiveLeavesTheDocument()
{
    QFETCH(QString, kind);
    // The open document: two pages, an object, and a file in the working directory.
    m_list->newPage(BtMenus::btColorPage, false);
    const QList<DPage *> pages = *m_list;
    QVERIFY(m_list->at(0)->addSoundItem(QString(), QPointF(5, 5), 0, 1, QTransform(), false));
    const QString marker = m_list->workDir() + QStringLiteral("/images/marker.png");
    QVERIFY(QDir().mkpath(QFileInfo(marker).absolutePath()));
    QVERIFY(QFile(marker).open(QIODevice::WriteOnly));

    writePage(0, R"x(<rect fill="#ff0000"/>)x");
    QString archive;
    if (kind == QLatin1String("symlink")) {
        const QString target = m_scratch->path() + QStringLiteral("/target");
        QVERIFY(QDir().mkpath(target));
        QVERIFY(QFile::link(target, m_source + QStringLiteral("/images")));
        archive = pack(QStringLiteral("evil.ubz"), { "." }, { "-y" });
    } else if (kind == QLatin1String("parent")) {
        write(QStringLiteral("sub/x"), "x");
        m_source += QStringLiteral("/sub");
        write(QStringLiteral("../escaped.txt"), "escaped");
        archive = pack(QStringLiteral("evil.ubz"), { "../page000.svg", "../escaped.txt" });
    } else if (kind == QLatin1String("empty")) {
        QVERIFY(QFile::rename(m_source + QStringLiteral("/page000.svg"),
                              m_source + QStringLiteral("/page0.svg")));
        archive = pack(QStringLiteral("nopages.ubz"));
    } else if (kind == QLatin1String("garbage")) {
        archive = m_scratch->path() + QStringLiteral("/garbage.ubz");
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("PK\x03\x04 not a zip at all");
    } else if (kind == QLatin1String("missing")) {
        archive = m_scratch->path() + QStringLiteral("/missing.ubz");
    }
    QVERIFY(!archive.isEmpty() || kind == QLatin1String("no name"));
    const QStringList workBefore = QDir(m_list->workDir()).entryList(QDir::AllEntries);

    m_list->setFileName(QStringLiteral("open.iwb"));
    QVERIFY(!m_list->openAllPagesFromFileUBZ(archive));
    if (kind != QLatin1String("no name"))
        QVERIFY(!m_list->lastOpenError().isEmpty());
    QVERIFY(!m_list->isSaving());
    QCOMPARE(m_list->fileName(), QStringLiteral("open.iwb"));
    QCOMPARE(QList<DPage *>(*m_list), pages);
    QCOMPARE(objects(0, ItemTypeSound).size(), 1);
    QVERIFY(QFileInfo(marker).isFile());
    QCOMPARE(QDir(m_list->workDir()).entryList(QDir::AllEntries), workBefore);
    QVERIFY(!QFileInfo::exists(QFileInfo(m_list->workDir()).absolutePath()
                               + QStringLiteral("/escaped.txt")));
    // No staging folder is left beside the working directory (the pictures' own stays).
    const QString prefix = QLatin1Char('.') + QFileInfo(m_list->workDir()).fileName();
    QStringList beside = QDir(QFileInfo(m_list->workDir()).absolutePath())
                                 .entryList({ prefix + QLatin1Char('*') },
                                            QDir::AllEntries | QDir::Hidden);
    beside.removeAll(QFileInfo(HeldPictures::keptFolder()).fileName());
    QCOMPARE(beside, QStringList());
}

void tst_UbzReader::brokenPageFileKeepsWhatWasRead()
{
    writePage(0, R"x(<rect fill="#ff0000"/>)x");
    // Broken after its first polygon: the page and that polygon stay, the rest is lost.
    write(QStringLiteral("page001.svg"),
          pageXml(R"x(<rect fill="#00ff00"/><g><polygon points="0,0 1,1"/></g>
                     <g><polygon points="0,0 1,1" <oops/></g>)x"));
    // A text holding an element stops its file too.
    writePage(2, R"x(<rect fill="#0000ff"/><g><polygon points="0,0 1,1"/></g>
                    <foreignObject><itemTextContent>a<b>bold</b></itemTextContent></foreignObject>
                    <g><polygon points="0,0 1,1"/></g>)x");
    write(QStringLiteral("page003.svg"), ""); // empty
    writePage(4, R"x(<rect fill="#ffffff"/>)x");
    bool complete = true;
    QVERIFY(import(&complete));
    QVERIFY(!complete);
    // Read only partly: Save must ask for a name rather than write over a shortened copy.
    QCOMPARE(m_list->fileName(), QString());
    QVERIFY(!m_list->lastOpenError().isEmpty());
    QVERIFY(m_list->isDocumentModified());
    QCOMPARE(m_list->size(), 4);
    QCOMPARE(objects(1, ItemTypePath).size(), 1);
    QCOMPARE(objects(2, ItemTypePath).size(), 1);
    QCOMPARE(m_list->at(3)->backgroundBrush().color(), QColor(Qt::white));
    for (DPage *page : qAsConst(*m_list))
        QCOMPARE(page->undoStack()->count(), 0);
}

void tst_UbzReader::importedDocumentSavesAsIwb()
{
    // Everything an import makes can be written again, its media travelling with it.
    writePicture(QStringLiteral("images/back.png"), Qt::red, QSize(30, 20));
    write(QStringLiteral("videos/clip.avi"), "not really a video");
    writePage(0,
              R"x(<rect fill="#ffffff"/><image ub:source="images/back.png"/>
        <g><polygon points="0,0 10,10" stroke-opacity="255"/></g>
        <foreignObject transform="matrix(1,0,0,1,0,0)"><itemTextContent>)x"
                      + richText({ { "DejaVu Serif", 27 }, { "DejaVu Sans Mono", 10 } })
                      + R"x(</itemTextContent>
        </foreignObject>
        <video ub:source="videos/clip.avi" transform="matrix(1,0,0,1,0,0)"/>)x");
    writePage(1, R"x(<rect fill="#ffffff"/><image ub:source="images/gone.png"/>)x");
    QVERIFY(import());
    const QStringList fonts{ "DejaVu Serif 27: DejaVu Serif 27",
                             "DejaVu Sans Mono 10: DejaVu Sans Mono 10" };
    QCOMPARE(runFonts(static_cast<DGTextItem *>(objects(0, ItemTypeText).value(0))), fonts);
    // No family of its own: the board's font, not whichever the system lists first.
    QCOMPARE(static_cast<DGTextItem *>(objects(0, ItemTypeText).value(0))->font().family(),
             QFont().family());
    const QString target = m_scratch->path() + QStringLiteral("/saved");
    QVERIFY2(m_list->saveAllPagesToFileIWB(target, true), qPrintable(m_list->lastSaveError()));
    const ToolRun listed =
            runTool(QStringLiteral("unzip"), { "-Z1", target + ".iwb" }, m_scratch->path(), 30000);
    QVERIFY(listed.ok);
    QVERIFY(listed.output.contains("videos/clip.avi"));
    QVERIFY(listed.output.contains("images/bck0.png"));
    // Its runs keep their families and sizes through the save and the next open.
    QVERIFY2(m_list->openAllPagesFromFileIWB(target + QStringLiteral(".iwb")),
             qPrintable(m_list->lastOpenError()));
    QCOMPARE(runFonts(static_cast<DGTextItem *>(objects(0, ItemTypeText).value(0))), fonts);
}

void tst_UbzReader::textKeepsItsBox_data()
{
    // The foreignObject's width, the matrix's scale, and the lines the text is laid out in; a
    // map lies 11 units after the end of the box. Boxed: the text keeps the box, off the map.
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("boxed");
    QTest::newRow("wrapped over three lines, beside a map")
            << QByteArray("189") << 1.0 << 3 << true;
    QTest::newRow("box and text grown by the matrix") << QByteArray("189") << 2.0 << 3 << true;
    QTest::newRow("no box: one line, over the map") << QByteArray() << 1.0 << 1 << false;
    QTest::newRow("box not a number") << QByteArray("wide") << 1.0 << 1 << false;
    QTest::newRow("box of nothing") << QByteArray("-189") << 1.0 << 1 << false;
}

void tst_UbzReader::textKeepsItsBox()
{
    QFETCH(QByteArray, box);
    QFETCH(qreal, scale);
    QFETCH(int, lines);
    QFETCH(bool, boxed);
    writePicture(QStringLiteral("images/map.png"), Qt::green, QSize(200, 150));
    const QByteArray s = QByteArray::number(scale);
    writePage(
            0,
            "<rect fill=\"#ffffff\"/><foreignObject width=\"" + box + "\" transform=\"matrix(" + s
                    + ",0,0," + s
                    + ",-300,-100)\"><itemTextContent font-family=\"DejaVu "
                      "Sans\" font-size=\"14\">La luz del sol llega a las hojas verdes de la planta"
                      "</itemTextContent></foreignObject><image xlink:href=\"images/map.png\" "
                      "width=\"200\" height=\"150\" transform=\"matrix(1,0,0,1,"
                    + QByteArray::number(-300 + 189 * scale + 11) + ",-100)\"/>");
    const QString saved = m_scratch->path() + QStringLiteral("/kept.iwb");
    // Imported, then saved as IWB and opened again, as the teacher does it.
    for (const QString &file : { pack(QStringLiteral("lesson.ubz")), saved }) {
        auto answered = DocumentFixture::answerInTurn({ DocumentFixture::chooseFile(file) });
        m_list->openFile();
        QVERIFY(DocumentFixture::waitForPictures(*m_list));
        QCOMPARE(*answered, 1);
        auto *text = static_cast<DGTextItem *>(objects(0, ItemTypeText).value(0));
        QGraphicsItem *map = objects(0, ItemTypePixmap).value(0);
        QVERIFY(text && map);
        const QStringList laidOut = TestSupport::laidOutLines(text->document());
        QVERIFY2(laidOut.size() == lines, qPrintable(file + ": " + laidOut.join('|')));
        QCOMPARE(text->textWidth(), boxed ? 189.0 : -1.0);
        QCOMPARE(text->document()->size().width() == 189.0, boxed);
        QVERIFY(near(text->scale(), scale));
        // Where the map is, the page shows the map: no ink of the text over it.
        const QImage under = BoardFixture::shownArea(m_list->at(0), map->sceneBoundingRect());
        const int ink =
                TestSupport::countPixels(under, [](const QColor &c) { return c.green() < 200; });
        QVERIFY2((ink == 0) == boxed, qPrintable(QStringLiteral("%1 pixels of ink").arg(ink)));
        if (file == saved)
            break;
        answered = DocumentFixture::answerInTurn(
                { DocumentFixture::click("Si"), DocumentFixture::chooseFile(saved) });
        QVERIFY(m_list->saveAsFile(QStringLiteral("iwb")));
        QCOMPARE(*answered, 2);
        const ToolRun content = runTool(QStringLiteral("unzip"), { "-p", saved, "content.xml" },
                                        m_scratch->path(), 30000);
        QCOMPARE(content.output.contains(" textWidth=\"189\""), boxed);
    }
}

void tst_UbzReader::hostileFiles_data()
{
    // Lessons a hostile sender (or a broken program) makes, small on disk: each asks for more
    // than a document may hold, and is refused as the IWB reader refuses it; or, where pictures
    // alone ask it, is imported with its pictures held as their files, said where they cannot
    // be shown whole.
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<Media>("media");
    QTest::addColumn<int>("pictures"); // objects made of them (-1: refused)

    const QByteArray rect = R"x(<rect fill="#ffffff"/><foreignObject><itemTextContent>hola)x"
                            R"x(</itemTextContent></foreignObject>)x";
    // The small picture (64 x 64) asked at a size and placed by a matrix.
    const auto picture = [](int width, int height, const QByteArray &matrix) {
        return "<image ub:source=\"images/a.png\" width=\"" + QByteArray::number(width)
                + "\" height=\"" + QByteArray::number(height) + "\" transform=\"matrix(" + matrix
                + ")\"/>";
    };
    QTest::newRow("page background of 30000 x 30000 (GB once decoded)")
            << R"x(<image ub:source="images/big.png"/>)x" + rect << Media::HugeBackground << 0;
    // A small picture asked at the largest side the import once took, again and again: a file
    // of some kilobytes that went past 9 GB.
    QByteArray largest = rect;
    for (int n = 0; n < 10; ++n)
        largest += picture(16384, 16384, "1,0,0,1," + QByteArray::number(n * 10) + ",0");
    QTest::newRow("pictures asked at 16384 x 16384") << largest << Media::SmallPicture << 10;
    QTest::newRow("two million objects") << QByteArray() << Media::TwoMillionObjects << -1;
    QByteArray pictures = rect;
    // Each within the limits, and at a size of its own (one picture shown again at one size is
    // held once).
    const qint64 pictureBytes = qint64(8000) * 2000 * 4;
    for (qint64 n = 0; n <= IwbLimits::kMaxDocumentBytes / pictureBytes; ++n)
        pictures += picture(8000 - int(n), 2000, "1,0,0,1,0,0");
    QTest::newRow("pictures beyond what a document may hold")
            << pictures << Media::SmallPicture
            << int(IwbLimits::kMaxDocumentBytes / pictureBytes) + 1;
    QTest::newRow("picture asked wider than a picture may be")
            << rect + picture(20000, 10, "1,0,0,1,0,0") << Media::SmallPicture << 1;
    QTest::newRow("picture stretched past a side")
            << rect + picture(9000, 9000, "2,0,0,0.5,0,0") << Media::SmallPicture << 1;
    QTest::newRow("pen texture of 30000 x 30000")
            << rect + R"x(<g><polygon points="0,0 5,5" xlink:href="/images/big.png"/></g>)x"
            << Media::HugeTexture << 0;
    QTest::newRow("scale out of range") << rect
                    + R"x(<foreignObject transform="matrix(5000,0,0,5000,0,0)">)x"
                      R"x(<itemTextContent>x</itemTextContent></foreignObject>)x"
                                        << Media::None << -1;
    QTest::newRow("font size out of range") << rect
                    + R"x(<foreignObject><itemTextContent font-size="5000">x</itemTextContent>)x"
                      R"x(</foreignObject>)x"
                                            << Media::None << -1;
    QTest::newRow("pen width out of range")
            << rect + R"x(<g><polygon points="0,0 5,5" stroke-width="5000"/></g>)x" << Media::None
            << -1;
    QByteArray points;
    for (int n = 0; n <= IwbLimits::kMaxPoints; ++n)
        points += "1,1 ";
    QTest::newRow("more points than a list may hold")
            << rect + "<g><polygon points=\"" + points + "\"/></g>" << Media::None << -1;
    QTest::newRow("elements nested past the limit")
            << rect + QByteArray(IwbLimits::kMaxDepth, 'x').replace("x", "<g>") << Media::None
            << -1;
    QTest::newRow("a book in a text") << rect + "<foreignObject><itemTextContent>"
                    + QByteArray(IwbLimits::kMaxTextCharacters + 1, 'a')
                    + "</itemTextContent></foreignObject>"
                                      << Media::None << -1;
    QTest::newRow("more pages than a document holds")
            << QByteArray(IwbLimits::kMaxPages + 1, 'x').replace("x", rect) << Media::None << -1;
}

void tst_UbzReader::hostileFiles()
{
    QFETCH(QByteArray, page);
    QFETCH(Media, media);
    QFETCH(int, pictures);
    // The open document: one page with a sound object, named.
    QVERIFY(m_list->getCurPage()->addSoundItem(QString(), QPointF(5, 5), 0, 1, QTransform(),
                                               false));
    m_list->setFileName(QStringLiteral("open.iwb"));
    m_list->setDocumentModified(false);
    const QList<DPage *> pages = *m_list;
    QVERIFY(QDir(m_source).mkpath(QStringLiteral("images")));
    if (media == Media::HugeBackground || media == Media::HugeTexture)
        QVERIFY(CraftedPictures::write(
                m_source + QStringLiteral("/images/big.png"),
                CraftedPictures::make(QStringLiteral("png"), QSize(30000, 30000))));
    if (media == Media::SmallPicture)
        writePicture(QStringLiteral("images/a.png"), Qt::red, QSize(64, 64));
    if (media == Media::TwoMillionObjects) {
        QFile file(m_source + QStringLiteral("/page000.svg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pageXml("<rect fill=\"#ffffff\"/><g>").chopped(8));
        const QByteArray polygons = QByteArray("<polygon points=\"0,0 1,1\"/>").repeated(10000);
        for (int n = 0; n < 200; ++n)
            QVERIFY(file.write(polygons) == polygons.size());
        file.write("</g></svg>\n");
    } else {
        writePage(0, page);
    }
    const QString archive = pack(QStringLiteral("hostile.ubz"));
    QVERIFY(!archive.isEmpty());
    QVERIFY(QFileInfo(archive).size() < 4 << 20); // small on disk

    QString message;
    auto answered = DocumentFixture::answerInTurn(
            { DocumentFixture::chooseFile(archive), DocumentFixture::click("OK", &message) });
    TestSupport::resetPeakMemory();
    const qint64 before = TestSupport::peakMegabytes();
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    const qint64 peak = TestSupport::peakMegabytes() - before;
    // A small picture asked large is shown over the size asked, its pixels as they are (held
    // as its file, and decoded at the size shown): nothing of it is lost, nothing to say.
    const bool said = pictures < 0 || media != Media::SmallPicture;
    QCOMPARE(*answered, said ? 2 : 1);
    if (pictures >= 0) {
        // The pictures within what a document may hold (with what the sanitizer keeps of
        // memory freed: 256 MB, and the board's own).
        QVERIFY2(peak < (IwbLimits::kMaxDocumentBytes >> 20) + 256 + 150,
                 qPrintable(QStringLiteral("%1 MB more at the peak").arg(peak)));
        QVERIFY2(!said || message.startsWith(QStringLiteral("Atención|La lección se ha importado con "
                                                   "estos cambios:\n\nPágina 1: ")),
                 qPrintable(message));
        QVERIFY2(!said || message.contains("«big.png»"), qPrintable(message));
        QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
        QCOMPARE(m_list->fileName(), archive);
        QCOMPARE(objects(0, ItemTypeText).size(), 1);
        QCOMPARE(objects(0, ItemTypePixmap).size(), pictures);
        return;
    }
    QCOMPARE(message.section(QLatin1Char('|'), 0, 1),
             QStringLiteral("Error|El documento está dañado y no se ha podido abrir entero."));
    QVERIFY(m_list->lastOpenWasDamaged());
    QVERIFY2(peak < 300, qPrintable(QStringLiteral("%1 MB more at the peak").arg(peak)));
    QCOMPARE(QList<DPage *>(*m_list), pages);
    QCOMPARE(objects(0, ItemTypeSound).size(), 1);
    QCOMPARE(m_list->fileName(), QStringLiteral("open.iwb"));
    QVERIFY(!m_list->isDocumentModified());
}

void tst_UbzReader::picturesNamedByTextsAreNotRead()
{
    // A text's rich text may name pictures: a file anywhere on the computer, or one written
    // into the text itself (of gigabytes once decoded, past every limit). None is read.
    const QString outside = m_scratch->path() + QStringLiteral("/outside.png");
    QVERIFY(ItemMedia::makePicture(outside, QSize(400, 300)));
    const QString huge = m_scratch->path() + QStringLiteral("/huge.png");
    QVERIFY(ItemMedia::makeHugePicture(huge, QSize(20000, 20000)));
    const QString inline_ =
            QStringLiteral("data:image/png;base64,") + DocumentFixture::readAll(huge).toBase64();
    QByteArray texts;
    for (const QString &source : { outside, inline_ }) {
        texts += "<foreignObject transform=\"matrix(1,0,0,1,0,0)\"><itemTextContent>"
                + QStringLiteral("<p>a<img src=\"%1\"/></p>").arg(source).toHtmlEscaped().toUtf8()
                + "</itemTextContent></foreignObject>";
    }
    writePage(0, R"x(<rect fill="#ffffff"/>)x" + texts);
    TestSupport::resetPeakMemory();
    const qint64 before = TestSupport::peakMegabytes();
    QVERIFY(import());
    QVERIFY2(TestSupport::peakMegabytes() - before < 300, qPrintable(QString::number(TestSupport::peakMegabytes() - before)));
    const QList<QGraphicsItem *> found = objects(0, ItemTypeText);
    QCOMPARE(found.size(), 2);
    const QStringList sources{ outside, inline_ };
    for (int n = 0; n < 2; ++n) {
        auto *text = static_cast<DGTextItem *>(found.at(n));
        QCOMPARE(text->toPlainText().left(1), QStringLiteral("a"));
        // In its place, a picture of nothing.
        const QVariant shown =
                text->document()->resource(QTextDocument::ImageResource, QUrl(sources.at(n)));
        QCOMPARE(QImage::fromData(shown.toByteArray()).size(), QSize(1, 1));
        QVERIFY(text->boundingRect().width() < 100);
    }
    QImage shown(200, 100, QImage::Format_ARGB32);
    QPainter painter(&shown);
    m_list->at(0)->render(&painter, QRectF(0, 0, 200, 100), QRectF(1380, 1060, 200, 100));
}

void tst_UbzReader::leftOutSaidAfterTheImport_data()
{
    // Page files, and what the one message after the import lists (nothing: no message).
    QTest::addColumn<QByteArrayList>("pages");
    QTest::addColumn<QStringList>("lines");
    const QByteArray rect = R"x(<rect fill="#ffffff"/>)x";
    const QByteArray pdf = R"x(<foreignObject ub:background="true" xlink:href="objects/a.pdf#1" )x"
                           R"x(transform="matrix(1,0,0,1,-400,-300)"/>)x";
    const QByteArray widget =
            R"x(<foreignObject ub:src="widgets/clock.wgt" )x"
            R"x(transform="matrix(1,0,0,1,0,0)"><iframe src="x"/></foreignObject>)x";
    // A square grouped with a text, as the other program records a group.
    const QByteArray grouped =
            R"x(<g ub:uuid="{a}"><polygon points="0,0 50,0 50,50 0,50" fill="#000000"/></g>)x"
            R"x(<foreignObject ub:uuid="{b}" transform="matrix(1,0,0,1,80,0)">)x"
            R"x(<itemTextContent>lado</itemTextContent></foreignObject>)x"
            R"x(<groups><group id="{ab}"><element id="{a}"/><element id="{b}"/></group></groups>)x";
    const QByteArray hexagon =
            R"x(<g ub:uuid="{h}" ub:locked="true"><polygon points="0,0 20,-10 40,0 40,20 )x"
            R"x(20,30 0,20" fill="#ff0000"/></g>)x";
    const QByteArray background =
            R"x(<image ub:background="true" xlink:href="images/a.png" width="80" height="60" )x"
            R"x(transform="matrix(1,0,0,1,-40,-30)"/>)x";
    const QByteArray ruler = R"x(<ub:ruler x="0" y="0" width="400" height="40" ub:uuid="{r}" )x"
                             R"x(transform="matrix(1,0,0,1,-200,0)"/>)x";
    const QString off = QStringLiteral(": no se han importado");
    QTest::newRow("pdf backgrounds, a widget, grid paper")
            << QByteArrayList{ rect + pdf, rect + widget, "@grid" + rect + pdf }
            << QStringList{ "Fondos de página en PDF (páginas 1, 3)" + off,
                            "Miniaplicaciones (página 2)" + off,
                            "Papel cuadriculado o pautado (página 3): no se ha importado" };
    QTest::newRow("pdf named by the element inside")
            << QByteArrayList{ rect
                               + R"x(<foreignObject><object type="application/pdf" )x"
                                 R"x(data="objects/a.pdf#page=2"/></foreignObject>)x" }
            << QStringList{ "Fondos de página en PDF (página 1)" + off };
    QTest::newRow("ruled paper") << QByteArrayList{
        "@ruled" + rect, rect
    } << QStringList{ "Papel cuadriculado o pautado (página 1): no se ha importado" };
    QTest::newRow("a grouped square")
            << QByteArrayList{ rect + grouped }
            << QStringList{ "Grupos de objetos (página 1): sus objetos quedan sueltos" };
    QTest::newRow("a locked hexagon")
            << QByteArrayList{ rect, rect + hexagon }
            << QStringList{ "Objetos bloqueados (página 2): quedan desbloqueados" };
    QTest::newRow("a page-background picture placed as a picture")
            << QByteArrayList{ rect + background }
            << QStringList{ "Imágenes de fondo de página (página 1): quedan como imágenes "
                            "normales" };
    QTest::newRow("a ruler") << QByteArrayList{ rect, rect + ruler, rect + ruler }
                             << QStringList{ "Reglas y otros instrumentos (páginas 2, 3)" + off };
    QTest::newRow("texts only: nothing to say")
            << QByteArrayList{ rect
                               + R"x(<foreignObject><itemTextContent>a</itemTextContent>)x"
                                 R"x(</foreignObject><foreignObject/>)x" }
            << QStringList();
    // Unlocked objects, a group of nothing, and a background picture that is the page's.
    QTest::newRow("nothing changed: nothing to say")
            << QByteArrayList{ rect
                               + R"x(<g ub:locked="false"><polygon points="0,0 5,5"/></g>)x"
                                 R"x(<groups><group id="{x}"/></groups>)x"
                                 R"x(<image ub:background="true" xlink:href="images/a.png"/>)x" }
            << QStringList();
}

void tst_UbzReader::leftOutSaidAfterTheImport()
{
    QFETCH(QByteArrayList, pages);
    QFETCH(QStringList, lines);
    writePicture(QStringLiteral("images/a.png"), Qt::red, QSize(80, 60));
    for (int n = 0; n < pages.size(); ++n) {
        QByteArray body = pages.at(n);
        QByteArray page = pageXml(body.mid(body.indexOf('<')));
        // The other program keeps the paper's pattern on the page's root.
        if (body.startsWith("@grid"))
            page.replace("<svg ", "<svg ub:crossed-background=\"true\" ");
        if (body.startsWith("@ruled"))
            page.replace("<svg ", "<svg ub:ruled-background=\"true\" ");
        write(QStringLiteral("page%1.svg").arg(n, 3, 10, QLatin1Char('0')), page);
    }
    const QString archive = pack(QStringLiteral("lesson.ubz"));
    QString message;
    auto answered = DocumentFixture::answerInTurn(
            { DocumentFixture::chooseFile(archive), DocumentFixture::click("OK", &message) });
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    QCOMPARE(m_list->size(), pages.size());
    QCOMPARE(m_list->fileName(), archive);
    if (lines.isEmpty()) {
        QCOMPARE(*answered, 1);
        return;
    }
    QCOMPARE(*answered, 2);
    QCOMPARE(message.section(QLatin1Char('|'), 0, 2),
             QStringLiteral("Atención|La lección se ha importado con estos cambios:\n\n")
                     + lines.join(QLatin1Char('\n')) + QStringLiteral("|OK"));
    // Said of that import only: the next document opened says nothing.
    const QString saved = m_scratch->path() + QStringLiteral("/saved");
    QVERIFY(m_list->saveAllPagesToFileIWB(saved, true));
    m_list->setDocumentModified(false);
    answered = DocumentFixture::answerInTurn(
            { DocumentFixture::chooseFile(saved + QStringLiteral(".iwb")),
              DocumentFixture::click("OK") });
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    QCOMPARE(*answered, 1);
}

void tst_UbzReader::fuzzingInputs_data()
{
    // The seeds of the import's fuzz target are lessons and import whole; what fuzzing found
    // is kept beside them and must import harmlessly, in whole or in part, or be refused.
    DocumentFixture::addFuzzingRows(QStringLiteral(VELTORINA_SOURCE_DIR "/fuzz"), "ubz");
}

void tst_UbzReader::fuzzingInputs()
{
    QFETCH(QString, file);
    QFETCH(bool, seed);
    // As the fuzz target lays it out: the page file, and a small picture it may name.
    writePicture(QStringLiteral("images/a.png"), Qt::red, QSize(8, 6));
    QVERIFY(QFile::copy(file, m_source + QStringLiteral("/page000.svg")));
    const bool opened = m_list->openFromFileUBZ(m_source);
    QVERIFY(m_list->size() >= 1);
    if (seed) {
        QVERIFY2(opened && !m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    }
}

QTEST_MAIN(tst_UbzReader)
#include "tst_ubzreader.moc"
