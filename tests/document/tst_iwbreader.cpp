#include "board/boardtypes.h"
#include "board/dcustomitem.h"
#include "board/dgitemgroup.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "document/dpageslist.h"
#include "document/iwbarchive.h"
#include "document/toolrun.h"
#include "shell/appsettings.h"
#include "shell/globals.h"
#include "support/documentfixture.h"
#include "support/itemmedia.h"
#include "support/orientedphotos.h"
#include "support/testsupport.h"

#include <QMessageBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include <memory>

// Hand-written "content.xml" files read by the IWB reader: which pages the backgrounds make,
// where objects without a background go, links that wait for the next object, the value
// parsers' rules, files named outside the document, and files that break off.
class tst_IwbReader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pages_data();
    void pages();
    void pendingLinkGoesToTheNextObject();
    void values_data();
    void values();
    void textareaRuns();
    void groupsAndLocks();
    void filesOutsideTheDocumentAreMissing();
    void picturesAreReadAsStored();
    void photosStandAsTheLessonShowsThem_data();
    void photosStandAsTheLessonShowsThem();
    void shortTableDoesNotSwallowTheNextElement();
    void brokenFileKeepsWhatWasRead_data();
    void brokenFileKeepsWhatWasRead();
    void archives();
    void restoreFindsTheMediaInTheNewDirectory();

private:
    // Writes content.xml into m_folder: the document frame around pagesXml.
    void writeContent(const QString &pagesXml, const QString &records = QString(),
                      bool close = true);
    QStringList pageSummary() const;
    QList<QGraphicsItem *> objects(int page) const;

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_list;
    std::unique_ptr<QTemporaryDir> m_folder;
};

namespace {

const char kRed[] = "<svg:rect id=\"bck0\" fill=\"#ff0000\" fill-opacity=\"255\" x=\"0\" y=\"0\" "
                    "width=\"10\" height=\"10\"/>";
const char kPolygon[] = "<svg:polygon id=\"obj1\" points=\"10,10 50,10 30,40\" stroke=\"#000000\" "
                        "stroke-width=\"2\" stroke-opacity=\"255\" "
                        "transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>";

} // namespace

void tst_IwbReader::init()
{
    settings.clear();
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(900, 700);
    m_list = std::make_unique<DPagesList>(m_window.get());
    m_folder = std::make_unique<QTemporaryDir>();
    QDir(m_folder->path()).mkpath(QStringLiteral("images"));
}

void tst_IwbReader::cleanup()
{
    m_list->exit();
    m_list.reset();
    m_window.reset();
}

void tst_IwbReader::writeContent(const QString &pagesXml, const QString &records, bool close)
{
    QFile file(m_folder->filePath(QStringLiteral("content.xml")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QString text = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<iwb xmlns:iwb=\"http://www.imsglobal.org/xsd/iwb_v1p0\" "
            "xmlns:svg=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
            "version=\"1.0\"><svg:svg width=\"900\" height=\"700\" viewbox=\"0,0,1200,800\">"
            "<svg:pageset>");
    text += pagesXml;
    if (close)
        text += QStringLiteral("</svg:pageset></svg:svg>") + records + QStringLiteral("</iwb>");
    file.write(text.toUtf8());
}

QStringList tst_IwbReader::pageSummary() const
{
    QStringList summary;
    for (DPage *page : *m_list) {
        QString line = QString::number(page->pageType());
        if (page->pageType() == PageTypeColor)
            line += QLatin1Char(' ') + page->backgroundBrush().color().name();
        line += QStringLiteral(" objects %1").arg(objects(m_list->indexOf(page)).size());
        summary << line;
    }
    return summary;
}

QList<QGraphicsItem *> tst_IwbReader::objects(int page) const
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *item : m_list->at(page)->items(Qt::AscendingOrder))
        if (isBoardObjectType(item->type()))
            found << item;
    return found;
}

void tst_IwbReader::pages_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QStringList>("pages");

    const QString red = QLatin1String(kRed);
    const QString polygon = QLatin1String(kPolygon);
    const auto page = [](const QString &id, const QString &body) {
        return QStringLiteral("<svg:page id=\"%1\">%2</svg:page>").arg(id, body);
    };
    const QString image = QStringLiteral(
            "<svg:image id=\"bck0\" xlink:href=\"images/bck0.png\" x=\"0\" y=\"0\" width=\"20\" "
            "height=\"10\"/>");
    QTest::newRow("colour") << page("page0", red) << QStringList{ "0 #ff0000 objects 0" };
    QTest::newRow("no fill is white") << page("page0", "<svg:rect fill-opacity=\"255\"/>")
                                      << QStringList{ "0 #ffffff objects 0" };
    QTest::newRow("opacity 0 is transparent")
            << page("page0", "<svg:rect fill=\"#ff0000\" fill-opacity=\"0\"/>")
            << QStringList{ "3 objects 0" };
    QTest::newRow("opacity that is no integer is transparent")
            << page("page0", "<svg:rect fill=\"#ff0000\" fill-opacity=\"0.5\"/>")
            << QStringList{ "3 objects 0" };
    QTest::newRow("picture background") << page("page0", image) << QStringList{ "1 objects 0" };
    QTest::newRow("picture background with a fill")
            << page("page0", "<svg:image fill=\"#0000ff\"/>")
            << QStringList{ "0 #0000ff objects 0" };
    QTest::newRow("pages in order") << page("page0", red + polygon) + page("page1", image + polygon)
                                    << QStringList{ "0 #ff0000 objects 1", "1 objects 1" };
    QTest::newRow("page without elements makes no page") << page("page0", red)
                    + page("page1", QString()) << QStringList{ "0 #ff0000 objects 0" };
    QTest::newRow("page without id goes on with the page before")
            << page("page0", red + polygon) + "<svg:page>" + polygon + "</svg:page>"
            << QStringList{ "0 #ff0000 objects 2" };
    QTest::newRow("page first: an object without background")
            << page("page0", polygon) << QStringList{ "0 #fafafa objects 1" };
    QTest::newRow("page first after a page")
            << page("page0", red) + page("page1", polygon)
            << QStringList{ "0 #ff0000 objects 0", "0 #fafafa objects 1" };
    QTest::newRow("a turned picture is an object")
            << page("page0",
                    "<svg:image id=\"o\" xlink:href=\"images/bck0.png\" x=\"0\" y=\"0\" "
                    "width=\"20\" height=\"10\" transform=\"rotate(0,0,0)\"/>")
            << QStringList{ "0 #fafafa objects 1" };
    QTest::newRow("no pageset at all keeps a page")
            << QString() << QStringList{ "0 #ffffff objects 0" };
}

void tst_IwbReader::pages()
{
    QFETCH(QString, xml);
    QFETCH(QStringList, pages);
    QVERIFY(ItemMedia::makePicture(m_folder->filePath(QStringLiteral("images/bck0.png")),
                                   QSize(20, 10)));
    writeContent(xml);
    QVERIFY(m_list->openFromFile(m_folder->path()));
    QVERIFY(!m_list->lastOpenWasPartial());
    QCOMPARE(pageSummary(), pages);
    QVERIFY(m_list->getCurPage() == m_list->last());
    for (DPage *page : *m_list)
        QCOMPARE(page->undoStack()->count(), 0);
}

void tst_IwbReader::pendingLinkGoesToTheNextObject()
{
    writeContent(QStringLiteral("<svg:page id=\"page0\">%1%2"
                                "<svg:a id=\"lnk1\" xlink=\"https://example.org\" xpagelink=\"2\" "
                                "xfilelink=\"\" xsoundlink=\"\"></svg:a></svg:page>"
                                "<svg:page id=\"page1\">%1%2</svg:page>")
                         .arg(QLatin1String(kRed), QLatin1String(kPolygon)));
    QVERIFY(m_list->openFromFile(m_folder->path()));
    QCOMPARE(m_list->size(), 2);
    const auto *first = DCustomItem::fromItem(objects(0).value(0));
    const auto *next = DCustomItem::fromItem(objects(1).value(0));
    QVERIFY(first && next);
    QVERIFY(first->m_linkWeb.isEmpty());
    // The background of the next page does not take it; its first object does.
    QCOMPARE(next->m_linkWeb, QStringLiteral("https://example.org"));
    QCOMPARE(next->m_linkPage, QStringLiteral("2"));
}

void tst_IwbReader::values_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("expected");

    const QString base = QStringLiteral("<svg:polygon id=\"o\" points=\"10,10 50,10 30,40\" %1/>");
    QTest::newRow("rotation and scale")
            << base.arg("transform=\"translate(0,0) rotate(30.5,0,0) scale(2)\"")
            << "rotation -30.5 scale 2";
    QTest::newRow("rotation in exponent form reads 0")
            << base.arg("transform=\"translate(0,0) rotate(1e-05,0,0) scale(1e-05)\"")
            << "rotation 0 scale 1";
    QTest::newRow("no transform") << base.arg("") << "rotation 0 scale 1";
    QTest::newRow("upper-case colour is read as numbers")
            << base.arg("stroke=\"#ABCDEF\" stroke-opacity=\"255\"") << "stroke #ffffffff";
    QTest::newRow("rgb colour") << base.arg("stroke=\"rgb(10,20,30)\" stroke-opacity=\"255\"")
                                << "stroke #ff0a141e";
    QTest::newRow("missing opacity is invisible")
            << base.arg("stroke=\"#102030\"") << "stroke #00102030";
    QTest::newRow("hexadecimal opacity of a polygon")
            << base.arg("stroke=\"#102030\" stroke-opacity=\"7f\"") << "stroke #7f102030";
    QTest::newRow("solid") << base.arg("stroke-dasharray=\"1, 0\"") << "style 1";
    QTest::newRow("dash") << base.arg("stroke-dasharray=\"2, 1\"") << "style 2";
    QTest::newRow("dot") << base.arg("stroke-dasharray=\"5, 1\"") << "style 3";
    QTest::newRow("dash dot") << base.arg("stroke-dasharray=\"5, 1, 2\"") << "style 4";
    QTest::newRow("other numbers are dots") << base.arg("stroke-dasharray=\"4, 2\"") << "style 3";
    QTest::newRow("no digits is solid") << base.arg("stroke-dasharray=\"none\"") << "style 1";
    QTest::newRow("polygon width is truncated") << base.arg("stroke-width=\"2.5\"") << "width 2";
    QTest::newRow("rectangle width must be an integer")
            << "<svg:rect id=\"o\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" stroke-width=\"2.5\" "
               "transform=\"rotate(0,0,0)\"/>"
            << "width 0";
    QTest::newRow("two blanks give a point (0,0)")
            << "<svg:polyline id=\"o\" points=\"10,10  20,20\"/>"
            << "points 10,10 0,0 20,20";
    QTest::newRow("a pair without comma is a dot")
            << "<svg:polyline id=\"o\" points=\"12\" stroke=\"#000000\" "
               "stroke-opacity=\"255\" stroke-width=\"4\"/>"
            << "points 12,12 12,12";
    QTest::newRow("a dot its pen cannot show is no object")
            << "<svg:polyline id=\"o\" points=\"12\"/>"
            << "no object";
    // Earlier versions wrote the control points of curves among the points: read as they were.
    QTest::newRow("control points of an older file are points of the line")
            << "<svg:polygon id=\"o\" type=\"table\" points=\"300,200 300,310.457 "
               "210.457,400 100,400\"/>"
            << "points 300,200 300,310.457 210.457,400 100,400";
    QTest::newRow("typed polygon is a table-tool shape") << base.arg("type=\"table\"") << "kind 70";
    QTest::newRow("other polygon") << base.arg("") << "kind 81";
    QTest::newRow("polyline is a pencil stroke") << "<svg:polyline id=\"o\" points=\"1,1 5,5\"/>"
                                                 << "kind 50";
    QTest::newRow("solid fill") << base.arg("fill=\"#00ff00\"") << "fill 1 #00ff00";
    QTest::newRow("gradient fill")
            << base.arg("fillType=\"2\" fill=\"#00ff00\"") << "fill 2 #00ff00";
    QTest::newRow("empty points make no object") << "<svg:polygon id=\"o\" points=\"\"/>"
                                                 << "no object";
    QTest::newRow("a cube of too few points is no object")
            << "<svg:cube id=\"o\" points=\"1,1 2,2 3,3\"/>"
            << "no object";
}

void tst_IwbReader::values()
{
    QFETCH(QString, element);
    QFETCH(QString, expected);
    writeContent(QStringLiteral("<svg:page id=\"page0\">%1%2</svg:page>")
                         .arg(QLatin1String(kRed), element));
    QVERIFY(m_list->openFromFile(m_folder->path()));
    const QList<QGraphicsItem *> found = objects(0);
    if (expected == QLatin1String("no object")) {
        QVERIFY(found.isEmpty());
        return;
    }
    QCOMPARE(found.size(), 1);
    auto *item = dynamic_cast<DGPathCurveItem *>(found.first());
    QVERIFY(item);
    const QString what = expected.section(QLatin1Char(' '), 0, 0);
    QString actual;
    if (what == QLatin1String("rotation"))
        actual = QStringLiteral("rotation %1 scale %2").arg(item->rotation()).arg(item->scale());
    else if (what == QLatin1String("stroke"))
        actual = QStringLiteral("stroke ") + item->pen().color().name(QColor::HexArgb);
    else if (what == QLatin1String("style"))
        actual = QStringLiteral("style %1").arg(int(item->pen().style()));
    else if (what == QLatin1String("width"))
        actual = QStringLiteral("width %1").arg(item->pen().width());
    else if (what == QLatin1String("kind"))
        actual = QStringLiteral("kind %1").arg(item->shapeType());
    else if (what == QLatin1String("fill"))
        actual =
                QStringLiteral("fill %1 %2").arg(item->m_fillType).arg(item->getGradColor().name());
    else if (what == QLatin1String("points")) {
        QStringList points;
        for (const QPointF &inItem : item->points()) {
            const QPointF point = item->mapToScene(inItem);
            points << QStringLiteral("%1,%2").arg(point.x()).arg(point.y());
        }
        actual = QStringLiteral("points ") + points.join(QLatin1Char(' '));
    }
    QCOMPARE(actual, expected);
}

void tst_IwbReader::textareaRuns()
{
    // Runs outside an arming tspan are lost; stored text is text, never markup.
    writeContent(
            QStringLiteral(
                    "<svg:page id=\"page0\">%1"
                    "<svg:textarea id=\"t\" x=\"10.99\" y=\"20\" fill=\"none\" "
                    "font-family=\"DejaVu Sans\" "
                    "font-size=\"14\" font-weight=\"50\" transform=\"rotate(0,0,0) scale(1)\">"
                    "<svg:tspan fill=\"#000000\" text-align=\"start\">"
                    "<svg:tspan fill=\"#000000\" id=\"paragraph.1\">"
                    "<svg:tspan fill=\"#ff0000\" font-weight=\"bold\" "
                    "font-style=\"normal\"><![CDATA[<b>not "
                    "bold</b> & more]]></svg:tspan>"
                    "</svg:tspan><svg:tbreak/></svg:tspan>"
                    "<svg:tspan text-align=\"end\"><svg:tspan "
                    "font-style=\"normal\">lost</svg:tspan>"
                    "<svg:tspan fill=\"#000000\"><svg:tspan fill=\"#00ff00\" "
                    "font-weight=\"normal\" "
                    "font-style=\"normal\">kept</svg:tspan></svg:tspan><svg:tbreak/></svg:tspan>"
                    "</svg:textarea></svg:page>")
                    .arg(QLatin1String(kRed)));
    QVERIFY(m_list->openFromFile(m_folder->path()));
    auto *text = dynamic_cast<DGTextItem *>(objects(0).value(0));
    QVERIFY(text);
    QCOMPARE(text->pos().x(), 10.0);
    QCOMPARE(text->toPlainText(), QStringLiteral("<b>not bold</b> & more\nkept"));
    const QTextBlock first = text->document()->begin();
    const QTextCharFormat red = first.begin().fragment().charFormat();
    QCOMPARE(red.foreground().color(), QColor(255, 0, 0));
    QVERIFY(red.fontWeight() > QFont::Normal);
    QVERIFY(first.next().blockFormat().alignment() & Qt::AlignRight);
}

void tst_IwbReader::groupsAndLocks()
{
    QString shapes;
    for (const char *id : { "a", "b", "c", "d", "e" })
        shapes += QString::fromLatin1(kPolygon).replace(QLatin1String("obj1"), QLatin1String(id));
    // A nested record joins the same group; a record with an id makes none (its refs are
    // read as lock records); refs to nothing read change nothing.
    writeContent(QStringLiteral("<svg:page id=\"page0\">%1%2</svg:page>")
                         .arg(QLatin1String(kRed), shapes),
                 QStringLiteral("<iwb:element ref=\"bck0\" background=\"true\"/>"
                                "<element ref=\"e\" locked=\"true\"/>"
                                "<element ref=\"d\" locked=\"\"/>"
                                "<group locked=\"true\"><element ref=\"a\"/>"
                                "<group><element ref=\"b\"/><element ref=\"nothing\"/></group>"
                                "</group>"
                                "<group id=\"g\"><element ref=\"c\" locked=\"true\"/></group>"
                                "<group><element ref=\"nothing\"/></group>"));
    QVERIFY(m_list->openFromFile(m_folder->path()));
    QList<DGItemGroup *> groups;
    for (QGraphicsItem *item : objects(0)) {
        if (auto *group = dynamic_cast<DGItemGroup *>(item))
            groups << group;
    }
    QCOMPARE(groups.size(), 1);
    QCOMPARE(groups.first()->members().size(), 2);
    QVERIFY(groups.first()->isLocked());
    // The shapes "c" and "e" are locked; "a" and "b" are in the group.
    int lockedShapes = 0;
    for (QGraphicsItem *item : objects(0)) {
        if (item->type() == ItemTypePath && !item->parentItem()
            && DCustomItem::fromItem(item)->isLocked())
            ++lockedShapes;
    }
    QCOMPARE(lockedShapes, 2);
}

void tst_IwbReader::filesOutsideTheDocumentAreMissing()
{
    QTemporaryDir outside;
    QVERIFY(ItemMedia::makePicture(outside.filePath(QStringLiteral("secret.png")), QSize(8, 8)));
    QFile notes(outside.filePath(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("document")));
    QVERIFY(QFile::copy(notes.fileName(), m_folder->filePath(QStringLiteral("document/kept.txt"))));
    const QString relative = QDir(m_folder->path()).relativeFilePath(outside.path());
    writeContent(
            QStringLiteral(
                    "<svg:page id=\"page0\">%1"
                    "<svg:image id=\"a\" xlink:href=\"%2/secret.png\" x=\"0\" y=\"0\" width=\"8\" "
                    "height=\"8\" transform=\"rotate(0,0,0)\"/>"
                    "<svg:a xlink=\"\" xpagelink=\"\" xfilelink=\"%3\" xsoundlink=\"\"/>%4"
                    "<svg:a xlink=\"\" xpagelink=\"\" xfilelink=\"/home/someone/kept.txt\" "
                    "xsoundlink=\"\"/>%4"
                    "<svg:video id=\"v\" xlink:href=\"/%2/clip.avi\" x=\"0\" y=\"0\" "
                    "transform=\"rotate(0,0,0)\"/></svg:page>")
                    .arg(QLatin1String(kRed), relative, notes.fileName(), QLatin1String(kPolygon)));
    QVERIFY(m_list->openFromFile(m_folder->path()));
    const QList<QGraphicsItem *> found = objects(0);
    // No picture from outside; the two polygons and the video are there.
    QCOMPARE(found.size(), 3);
    QCOMPARE(DCustomItem::fromItem(found.at(0))->m_linkFile, QString());
    QCOMPARE(
            QFileInfo(DCustomItem::fromItem(found.at(1))->m_linkFile).canonicalFilePath(),
            QFileInfo(m_folder->filePath(QStringLiteral("document/kept.txt"))).canonicalFilePath());
    auto *video = dynamic_cast<DGVideoItem *>(found.at(2));
    QVERIFY(video);
    QVERIFY(video->m_filePath.startsWith(m_folder->path() + QStringLiteral("/videos/")));
}

// However a picture is named (twice, with or without a prefix or quotes, through an entity,
// beside a name in a comment) each object shows exactly the pixels of its file.
void tst_IwbReader::picturesAreReadAsStored()
{
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("images")));
    const QStringList files = { "images/p0.png", "images/p1.png", "images/p2 &.png",
                                "images/p3.png" };
    for (int n = 0; n < files.size(); ++n) {
        QImage image(30 + n, 20, QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgba(x * 8, y * 12, n * 60, 255 - x - y));
        QVERIFY(image.save(m_folder->filePath(files.at(n))));
    }
    const auto object = [](const QString &href, int width) {
        return QStringLiteral("<svg:image id=\"o\" xlink:href=\"%1\" x=\"0\" y=\"0\" "
                              "width=\"%2\" height=\"20\" transform=\"rotate(0,0,0)\"/>")
                .arg(href)
                .arg(width);
    };
    writeContent(QStringLiteral("<svg:page id=\"page0\">") + QLatin1String(kRed)
                 + QStringLiteral("<!-- <svg:image xlink:href=\"images/p3.png\"/> -->")
                 + object(QStringLiteral("images/p0.png"), 30)
                 + object(QStringLiteral("images/p0.png"), 30)
                 + QStringLiteral("<image xlink:href='images/p1.png' x='0' y='0' width='31' "
                                  "height='20' transform='rotate(0,0,0)'/>")
                 + object(QStringLiteral("images/p2 &amp;.png"), 32)
                 + QStringLiteral("</svg:page>"));
    QVERIFY(m_list->openFromFile(m_folder->path()));
    QVERIFY(!m_list->lastOpenWasPartial());
    const QList<QGraphicsItem *> found = objects(0);
    const QList<int> shownFiles = { 0, 0, 1, 2 };
    QCOMPARE(found.size(), shownFiles.size());
    for (int i = 0; i < found.size(); ++i) {
        auto *picture = dynamic_cast<DGPixmapItem *>(found.at(i));
        QVERIFY(picture);
        const QImage expected = QPixmap(m_folder->filePath(files.at(shownFiles.at(i)))).toImage();
        QCOMPARE(picture->pixmap().toImage(), expected);
    }
}

void tst_IwbReader::photosStandAsTheLessonShowsThem_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("object"); // the size the lesson gives it
    QTest::addColumn<bool>("asStored"); // shown as stored, not as seen
    // The photo is 96 x 64 as seen.
    for (int orientation = 1; orientation <= 8; ++orientation)
        QTest::newRow(qPrintable(QStringLiteral("orientation %1").arg(orientation)))
                << orientation << QSize(96, 64) << false;
    // Its object stretched by the teacher: taken as seen all the same.
    QTest::newRow("orientation 6, stretched") << 6 << QSize(200, 100) << false;
    // A lesson saved before orientations were applied gave its photo the stored shape, and so
    // shows it still: lying on its side, as it always did.
    QTest::newRow("saved before, orientation 6") << 6 << QSize(64, 96) << true;
    QTest::newRow("saved before, orientation 8, scaled") << 8 << QSize(128, 192) << true;
    QTest::newRow("saved before, orientation 5") << 5 << QSize(32, 48) << true;
}

// A lesson's photo stored turned stands as the lesson shows it, at the size the lesson gives
// it, and a save writes its file back as it came.
void tst_IwbReader::photosStandAsTheLessonShowsThem()
{
    QFETCH(int, orientation);
    QFETCH(QSize, object);
    QFETCH(bool, asStored);
    const QImage photo = OrientedPhotos::upright(QSize(96, 64));
    const QByteArray bytes = OrientedPhotos::jpeg(photo, orientation);
    QVERIFY(!bytes.isEmpty());
    DocumentFixture::writeFile(m_folder->filePath(QStringLiteral("images/photo.jpg")), bytes);
    // As it was seen: the photo stored upright, or this one read as stored.
    const QImage expected =
            OrientedPhotos::decoded(asStored ? bytes : OrientedPhotos::jpeg(photo, 1));
    QVERIFY(!expected.isNull());
    writeContent(QStringLiteral("<svg:page id=\"page0\">%1<svg:image id=\"o\" "
                                "xlink:href=\"images/photo.jpg\" x=\"10\" y=\"10\" width=\"%2\" "
                                "height=\"%3\" transform=\"rotate(0,0,0)\"/></svg:page>")
                         .arg(QLatin1String(kRed))
                         .arg(object.width())
                         .arg(object.height()));
    QTemporaryDir target;
    const QString lesson = target.filePath(QStringLiteral("photo.iwb"));
    QVERIFY(IwbArchive::pack(m_folder->path(), lesson).ok);
    QVERIFY2(m_list->openAllPagesFromFileIWB(lesson), qPrintable(m_list->lastOpenError()));
    QTRY_VERIFY_WITH_TIMEOUT(m_list->arePicturesMeasured(), 60000);
    QCOMPARE(m_list->lastOpenPictures(), QStringList());
    const QList<QGraphicsItem *> found = objects(0);
    QCOMPARE(found.size(), 1);
    auto *picture = dynamic_cast<DGPixmapItem *>(found.first());
    QVERIFY(picture);
    QCOMPARE(picture->pictureSize(), object);
    const QImage seen = picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const int off = OrientedPhotos::difference(seen, expected);
    QVERIFY2(off >= 0 && off <= OrientedPhotos::kJpegTolerance,
             qPrintable(
                     QStringLiteral("%1 (%2 x %3)").arg(off).arg(seen.width()).arg(seen.height())));

    // Saved, its file goes as it came, byte for byte, and its object at the same size.
    const QString again = target.filePath(QStringLiteral("again"));
    QVERIFY2(m_list->saveAllPagesToFileIWB(again, true), qPrintable(m_list->lastSaveError()));
    const QString archive = again + QStringLiteral(".iwb");
    const QStringList entries = DocumentFixture::archiveEntries(archive).filter(
            QRegularExpression(QStringLiteral("^images/.")));
    QCOMPARE(entries.size(), 1);
    const auto entry = [&archive](const QString &name) {
        return runTool(QStringLiteral("unzip"), { QStringLiteral("-p"), archive, name }, QString(),
                       60000)
                .output;
    };
    QVERIFY(entry(entries.first()) == bytes);
    const QString content = QString::fromUtf8(entry(QStringLiteral("content.xml")));
    QVERIFY2(content.contains(QStringLiteral("width=\"%1\" height=\"%2\"")
                                      .arg(object.width())
                                      .arg(object.height())),
             qPrintable(content));
}

void tst_IwbReader::shortTableDoesNotSwallowTheNextElement()
{
    writeContent(
            QStringLiteral("<svg:page id=\"page0\">%1"
                           "<svg:table id=\"t\" x=\"10.5\" y=\"10\" width=\"100\" "
                           "height=\"50\" rows=\"3\" columns=\"3\" transform=\"rotate(0,0,0)\">"
                           "<svg:cell text=\"\"/></svg:table>%2</svg:page>")
                    .arg(QLatin1String(kRed), QLatin1String(kPolygon)));
    QVERIFY(m_list->openFromFile(m_folder->path()));
    const QList<QGraphicsItem *> found = objects(0);
    QCOMPARE(found.size(), 2);
    auto *table = dynamic_cast<DGPathTableItem *>(found.at(0));
    QVERIFY(table);
    QCOMPARE(table->m_rows, 3);
    QCOMPARE(table->path().boundingRect().x(), 10.5); // a table keeps its fractions
}

void tst_IwbReader::brokenFileKeepsWhatWasRead_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QStringList>("pages");
    const QString red = QLatin1String(kRed);
    const QString polygon = QLatin1String(kPolygon);
    QTest::newRow("cut in an element")
            << "<svg:page id=\"page0\">" + red + polygon + "</svg:page><svg:page id=\"page1\">"
                    + red + "<svg:polygon id=\"x\" points=\"1,"
            << QStringList{ "0 #ff0000 objects 1", "0 #ff0000 objects 0" };
    QTest::newRow("mismatched tags") << "<svg:page id=\"page0\">" + red + polygon + "</svg:rect>"
                                     << QStringList{ "0 #ff0000 objects 1" };
    QTest::newRow("cut before the pages")
            << QString("<svg:pa") << QStringList{ "0 #ffffff objects 0" };
}

void tst_IwbReader::brokenFileKeepsWhatWasRead()
{
    QFETCH(QString, xml);
    QFETCH(QStringList, pages);
    writeContent(xml, QString(), false);
    QVERIFY(m_list->openFromFile(m_folder->path()));
    QVERIFY(m_list->lastOpenWasPartial());
    QVERIFY(!m_list->lastOpenError().isEmpty());
    QVERIFY(m_list->isDocumentModified());
    QCOMPARE(pageSummary(), pages);
}

void tst_IwbReader::archives()
{
    QTemporaryDir target;
    // A complete document: named after its file.
    writeContent(QStringLiteral("<svg:page id=\"page0\">%1%2</svg:page>")
                         .arg(QLatin1String(kRed), QLatin1String(kPolygon)));
    const QString complete = target.filePath(QStringLiteral("complete.iwb"));
    QVERIFY(IwbArchive::pack(m_folder->path(), complete).ok);
    QVERIFY2(m_list->openAllPagesFromFileIWB(complete), qPrintable(m_list->lastOpenError()));
    QCOMPARE(m_list->fileName(), complete);
    QVERIFY(!m_list->isDocumentModified());

    // The text alone: unzip has nothing else to unpack, and the text the working directory
    // holds is the archived one, byte for byte.
    const QString alone = target.filePath(QStringLiteral("alone.iwb"));
    const QString text = m_folder->filePath(QStringLiteral("content.xml"));
    const QStringList zipArguments{ QStringLiteral("-q"), QStringLiteral("-j"), alone, text };
    QVERIFY(runTool(QStringLiteral("zip"), zipArguments, target.path(), 30000).ok);
    QVERIFY2(m_list->openAllPagesFromFileIWB(alone), qPrintable(m_list->lastOpenError()));
    QCOMPARE(m_list->size(), 1);
    QFile original(text);
    QFile opened(m_list->workDir() + QStringLiteral("/content.xml"));
    QVERIFY(original.open(QIODevice::ReadOnly) && opened.open(QIODevice::ReadOnly));
    QCOMPARE(opened.readAll(), original.readAll());

    // A document that breaks off: what was read stays, but it has no name to be saved over.
    writeContent(
            QStringLiteral("<svg:page id=\"page0\">%1%2</svg:page><svg:page id=\"page1\">%1<sv")
                    .arg(QLatin1String(kRed), QLatin1String(kPolygon)),
            QString(), false);
    const QString broken = target.filePath(QStringLiteral("broken.iwb"));
    QVERIFY(IwbArchive::pack(m_folder->path(), broken).ok);
    QVERIFY(m_list->openAllPagesFromFileIWB(broken));
    QVERIFY(m_list->lastOpenWasPartial());
    QCOMPARE(m_list->fileName(), QString());
    QCOMPARE(m_list->size(), 2);

    // Not an archive, or an archive without a document: the open document stays as it was.
    const QList<DPage *> before = *m_list;
    QFile junk(target.filePath(QStringLiteral("junk.iwb")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a zip archive");
    junk.close();
    QVERIFY(!m_list->openAllPagesFromFileIWB(junk.fileName()));
    QVERIFY(!m_list->lastOpenError().isEmpty());
    QVERIFY(QFile::remove(m_folder->filePath(QStringLiteral("content.xml"))));
    QFile other(m_folder->filePath(QStringLiteral("readme.txt")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("no document here");
    other.close();
    const QString empty = target.filePath(QStringLiteral("empty.iwb"));
    QVERIFY(IwbArchive::pack(m_folder->path(), empty).ok);
    QVERIFY(!m_list->openAllPagesFromFileIWB(empty));
    QVERIFY(!m_list->openAllPagesFromFileIWB(QString()));
    QCOMPARE(QList<DPage *>(*m_list), before);
    QVERIFY(QFileInfo(m_list->workDir() + QStringLiteral("/content.xml")).isFile());
}

void tst_IwbReader::restoreFindsTheMediaInTheNewDirectory()
{
    m_list->exit();
    m_list.reset();
    const auto earlier = DocumentFixture::earlierRun();
    const QString previous = earlier->path();
    for (const char *folder : { "/images", "/videos", "/document" })
        QVERIFY(QDir().mkpath(previous + QLatin1String(folder)));
    QVERIFY(ItemMedia::makePicture(previous + QStringLiteral("/images/wood.png"), QSize(8, 8)));
    for (const char *name : { "/videos/clip.avi", "/document/notes.pdf" }) {
        QFile file(previous + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("content");
    }
    // An autosave of a document opened before: its files named by full paths in its directory.
    QFile content(previous + QStringLiteral("/content.xml"));
    QVERIFY(content.open(QIODevice::WriteOnly));
    content.write(QStringLiteral(
                          "<iwb><svg:svg xmlns:svg=\"http://www.w3.org/2000/svg\" "
                          "xmlns:xlink=\"http://www.w3.org/1999/xlink\"><svg:pageset><svg:page "
                          "id=\"page0\">%1"
                          "<svg:a xlink=\"\" xpagelink=\"\" xfilelink=\"%2/document/notes.pdf\" "
                          "xsoundlink=\"\"><svg:polygon id=\"p\" points=\"0,0 40,0 20,30\" "
                          "fillType=\"3\" "
                          "fill=\"#ff0000\" pathFile=\"%2/images/wood.png\" stroke-opacity=\"255\" "
                          "transform=\"rotate(0,0,0)\"/></svg:a>"
                          "<svg:video id=\"v\" xlink:href=\"/videos/clip.avi\" x=\"100\" y=\"100\" "
                          "transform=\"rotate(0,0,0)\"/></svg:page></svg:pageset></svg:svg></iwb>")
                          .arg(QLatin1String(kRed), previous)
                          .toUtf8());
    content.close();
    AppSettings::setTemporalName(settings, previous);
    const auto answered = TestSupport::answerNextModal([](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        QVERIFY(TestSupport::clickButton(box, QStringLiteral("Si")));
    });
    m_list = std::make_unique<DPagesList>(m_window.get());
    QVERIFY(*answered);
    QVERIFY(!QFileInfo::exists(previous));
    const QString work = m_list->workDir();
    const QList<QGraphicsItem *> found = objects(0);
    QCOMPARE(found.size(), 2);
    auto *shape = dynamic_cast<DGPathCurveItem *>(found.at(0));
    QVERIFY(shape);
    QCOMPARE(shape->m_linkFile, work + QStringLiteral("/document/notes.pdf"));
    QVERIFY(QFileInfo(shape->m_linkFile).isFile());
    QCOMPARE(shape->fillFileName(), work + QStringLiteral("/images/wood.png"));
    QCOMPARE(shape->brush().texture().size(), QSize(8, 8));
    auto *video = dynamic_cast<DGVideoItem *>(found.at(1));
    QVERIFY(video);
    QVERIFY(QFileInfo(video->m_filePath).isFile());
    QVERIFY(video->m_filePath.startsWith(work));
}

QTEST_MAIN(tst_IwbReader)
#include "tst_iwbreader.moc"
