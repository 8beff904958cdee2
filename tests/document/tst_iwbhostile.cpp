#include "board/boardtypes.h"
#include "board/dggifitem.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "pictures/heldpictures.h"
#include "pictures/picturedecoders.h"
#include "pictures/picturereading.h"
#include "document/dpageslist.h"
#include "document/iwbarchive.h"
#include "document/iwblimits.h"
#include "document/toolrun.h"
#include "shell/globals.h"
#include "support/craftedpictures.h"
#include "support/documentfixture.h"
#include "support/itemmedia.h"
#include "support/testsupport.h"

#include <QImageReader>
#include <QSet>
#include <QtEndian>
#include <QtTest>

#include <memory>

// Files a hostile sender (or a broken disk) hands a teacher, made by the test itself, each
// opened as the teacher opens a file: through the Open command and its dialogs, under the
// sanitizers, within a time limit. No crash, no hang, one clear message, and a refused file
// leaves the open document as it was.
class tst_IwbHostile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void hostileFiles_data();
    void hostileFiles();
    void picturesBeyondTheLimits_data();
    void picturesBeyondTheLimits();
    void picturesTogetherWithinTheLesson_data();
    void picturesTogetherWithinTheLesson();
    void onePictureShownTenTimes();
    void unshownPicturesGoBackAsTheyCame_data();
    void unshownPicturesGoBackAsTheyCame();
    void pictureLinksStayInTheLesson_data();
    void pictureLinksStayInTheLesson();
    void missingMediaNeverBlocksSaving();
    void fuzzingInputs_data();
    void fuzzingInputs();
    void archiveFuzzingInputs_data();
    void archiveFuzzingInputs();

private:
    // The document that is open before each hostile file: one page with one stroke.
    void openDocumentOfTheTeacher();
    QString teacherDocument() const;
    // Packs folder as an archive (ubz: a UBZ lesson) and opens it through the Open command; the
    // message the open showed (title|text), if any, and how many dialogs were answered.
    QString openThroughTheMenu(const QString &folder, bool ubz, int *answered);

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_list;
    std::unique_ptr<QTemporaryDir> m_files;
    QTemporaryDir m_home; // the teacher's, with the fonts' folders in it
};

namespace {

// PicturesSaid: opened whole, with the one message that names the pictures left out or taken
// smaller.
// PicturesWhole: opened whole, its pictures too, with nothing to say.
enum class Outcome { Refused, Partial, Opened, PicturesSaid, PicturesWhole };
enum class Extra {
    None,
    SmallPicture, // "images/big.png", 40 x 30
    HugePictureFile, // "images/big.png", 30000 x 30000 and small

    UnpackBomb,
    UnderstatedEntry,
    UnderstatedAmongMany,
    TwoContents
};

// The decoding processes this program started that still run.
int liveDecoders()
{
    int live = 0;
    const QString parent = QString::number(QCoreApplication::applicationPid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (name) state ppid ...
        const QString line = QString::fromLatin1(stat.readAll());
        const int nameEnd = line.lastIndexOf(QLatin1Char(')'));
        const QStringList fields = line.mid(nameEnd + 2).split(QLatin1Char(' '));
        if (line.contains(QLatin1String("(veltorina-pictu")) && fields.size() > 1
            && fields.at(0) != QLatin1String("Z") && fields.at(1) == parent)
            ++live;
    }
    return live;
}

QByteArray document(const QByteArray &pages, const QByteArray &records = QByteArray(),
                    bool close = true)
{
    QByteArray text =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<iwb xmlns:iwb=\"http://www.imsglobal.org/xsd/iwb_v1p0\" "
            "xmlns:svg=\"http://www.w3.org/2000/svg\" "
            "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.0\">"
            "<svg:svg width=\"900\" height=\"700\" viewbox=\"0,0,1200,800\"><svg:pageset>";
    text += pages;
    if (close)
        text += "</svg:pageset></svg:svg>" + records + "</iwb>";
    return text;
}

QByteArray page(const QByteArray &objects)
{
    return "<svg:page id=\"page0\"><svg:rect id=\"bck0\" fill=\"#ff0000\" fill-opacity=\"255\" "
           "x=\"0\" y=\"0\" width=\"10\" height=\"10\"/>"
            + objects + "</svg:page>";
}

QByteArray stroke(const QByteArray &points, const QByteArray &width = "3")
{
    return "<svg:polyline id=\"obj1\" points=\"" + points
            + "\" fillType=\"0\" stroke=\"#0000ff\" stroke-dasharray=\"1, 0\" stroke-width=\""
            + width
            + "\" stroke-opacity=\"255\" transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>";
}

QByteArray points(int count)
{
    QByteArray text;
    text.reserve(count * 12);
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(i % 1000) + ',' + QByteArray::number(i / 1000) + ' ';
    return text;
}

// Makes the central directory of archive promise that every entry unpacks to almost 4 GB.
bool promiseHugeEntries(const QString &archive)
{
    QByteArray bytes = DocumentFixture::readAll(archive);
    int patched = 0;
    for (int at = bytes.indexOf("PK\x01\x02"); at >= 0; at = bytes.indexOf("PK\x01\x02", at + 4)) {
        const quint32 huge = qToLittleEndian(quint32(0xfffffff0u));
        bytes.replace(at + 24, 4, reinterpret_cast<const char *>(&huge), 4);
        ++patched;
    }
    DocumentFixture::writeFile(archive, bytes);
    return patched > 0;
}

// Has the headers of the entry called name say it unpacks to size bytes, whatever its data.
bool understate(const QString &archive, const QByteArray &name, quint32 size)
{
    QByteArray bytes = DocumentFixture::readAll(archive);
    const quint32 small = qToLittleEndian(size);
    int patched = 0;
    // Central directory records hold the name at 46, local headers at 30; both give the
    // unpacked size (at 24 and 22).
    struct Header
    {
        const char *signature;
        int name;
        int size;
    };
    const Header headers[] = { { "PK\x01\x02", 46, 24 }, { "PK\x03\x04", 30, 22 } };
    for (const Header &header : headers) {
        for (int at = bytes.indexOf(header.signature); at >= 0;
             at = bytes.indexOf(header.signature, at + 4)) {
            if (bytes.mid(at + header.name, name.size()) != name)
                continue;
            bytes.replace(at + header.size, 4, reinterpret_cast<const char *>(&small), 4);
            ++patched;
        }
    }
    DocumentFixture::writeFile(archive, bytes);
    return patched == 2;
}

} // namespace

Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(Extra)

void tst_IwbHostile::initTestCase()
{
    QVERIFY(m_home.isValid());
    QVERIFY(CraftedPictures::makeFontsHome(m_home.path()));
}

void tst_IwbHostile::init()
{
    settings.clear();
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(900, 700);
    m_list = std::make_unique<DPagesList>(m_window.get());
    m_files = std::make_unique<QTemporaryDir>();
    openDocumentOfTheTeacher();
}

void tst_IwbHostile::cleanup()
{
    m_list->exit();
    m_list.reset();
    m_window.reset();
}

void tst_IwbHostile::openDocumentOfTheTeacher()
{
    QPainterPath path(QPointF(10, 10));
    path.lineTo(200, 120);
    m_list->getCurPage()->addCurveItem(path, QPen(Qt::darkGreen, 5), 0, BtMenus::btPencil,
                                       BtMenus::fnPathSceneCoords, QPointF(), 1, QTransform(),
                                       false);
    m_list->newPage(BtMenus::btColorPage, false);
    m_list->setFileName(m_files->filePath(QStringLiteral("lesson")));
    m_list->setDocumentModified(false);
}

QString tst_IwbHostile::teacherDocument() const
{
    QStringList pages;
    for (DPage *page : *m_list) {
        QStringList objects;
        for (QGraphicsItem *item : page->items(Qt::AscendingOrder)) {
            if (auto *curve = dynamic_cast<DGPathCurveItem *>(item))
                objects << QStringLiteral("stroke %1 points").arg(curve->path().elementCount());
        }
        pages << objects.join(QLatin1Char(','));
    }
    return pages.join(QLatin1Char('|')) + QStringLiteral(" named ") + m_list->fileName();
}

QString tst_IwbHostile::openThroughTheMenu(const QString &folder, bool ubz, int *answered)
{
    const QString archive =
            m_files->filePath(ubz ? QStringLiteral("hostile.ubz") : QStringLiteral("hostile.iwb"));
    QFile::remove(archive);
    const ToolRun zipped =
            runTool(QStringLiteral("zip"),
                    { QStringLiteral("-q"), QStringLiteral("-r"), archive, QStringLiteral(".") },
                    folder, 60000);
    if (!zipped.ok)
        return zipped.error;
    QString message;
    auto dialogs = DocumentFixture::answerInTurn(
            { DocumentFixture::chooseFile(archive), DocumentFixture::click("OK", &message) });
    m_list->openFile();
    // What is said of its pictures comes once they are measured, the lesson open meanwhile.
    for (QDeadlineTimer deadline(120000); !m_list->arePicturesMeasured() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    *answered = *dialogs;
    return message;
}

void tst_IwbHostile::hostileFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Extra>("extra");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("pages"); // read, when the file opens in whole or in part
    QTest::addColumn<int>("objects"); // read, when counted (-1: not)

    QByteArray nested;
    for (int level = 0; level < 100000; ++level)
        nested += "<group>";
    QTest::newRow("groups nested 100000 deep") << document(page(stroke("1,1 50,50")), nested)
                                               << Extra::None << Outcome::Refused << 0 << -1;
    QTest::newRow("elements nested past the limit")
            << document(page(QByteArray(IwbLimits::kMaxDepth, 'x').replace("x", "<svg:g>")))
            << Extra::None << Outcome::Refused << 0 << -1;
    const QByteArray table = "<svg:table id=\"obj2\" x=\"0\" y=\"0\" width=\"100\" height=\"100\" "
                             "rows=\"%1\" columns=\"%2\" title=\"\" "
                             "transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>";
    QTest::newRow("table of int-overflowing cells")
            << document(page(QByteArray(table).replace("%1", "2147483647").replace("%2", "65536")))
            << Extra::None << Outcome::Refused << 0 << -1;
    QTest::newRow("table of 100 rows")
            << document(page(QByteArray(table).replace("%1", "100").replace("%2", "1")))
            << Extra::None << Outcome::Refused << 0 << -1;
    QTest::newRow("table of 99 x 99 opens")
            << document(page(QByteArray(table).replace("%1", "99").replace("%2", "99")))
            << Extra::None << Outcome::Opened << 1 << -1;
    const QByteArray picture =
            "<svg:image id=\"obj3\" xlink:href=\"images/big.png\" x=\"0\" y=\"0\" "
            "width=\"%1\" height=\"%2\" "
            "transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>";
    // Pictures beyond what the board holds never lose the lesson: kept as they came, shown
    // smaller or not at all (picturesBeyondTheLimits), and said.
    QByteArray pictures = stroke("1,1 50,50");
    // Each allowed alone; together more than an open document once held decoded: all of them
    // whole, each held as its file and decoded when shown. (Each at a size of its own.)
    const qint64 pictureBytes = qint64(8000) * 2000 * 4;
    for (qint64 n = 0; n <= IwbLimits::kMaxDocumentBytes / pictureBytes; ++n)
        pictures += QByteArray(picture).replace("%1", QByteArray::number(8000 - n)).replace("%2", "2000");
    QTest::newRow("pictures together beyond what a document once held")
            << document(page(pictures)) << Extra::SmallPicture << Outcome::PicturesWhole << 1
            << int(IwbLimits::kMaxDocumentBytes / pictureBytes) + 2;
    QTest::newRow("picture file of 30000 x 30000") << document(
            page(stroke("1,1 50,50") + QByteArray(picture).replace("%1", "40").replace("%2", "30")))
                                                   << Extra::HugePictureFile
                                                   << Outcome::PicturesSaid << 1 << 2;
    // Met only once the pages before it are read: they stay.
    QByteArray pagesBefore;
    for (int n = 0; n < 40; ++n)
        pagesBefore += page(stroke(points(300)) + stroke(points(300)));
    QTest::newRow("picture file of 30000 x 30000 after many pages")
            << document(pagesBefore
                        + page(QByteArray(picture).replace("%1", "40").replace("%2", "30")))
            << Extra::HugePictureFile << Outcome::PicturesSaid << 41 << 81;
    QTest::newRow("page of 100000 pixels")
            << document(page(stroke("1,1 5,5"))).replace("width=\"900\"", "width=\"100000\"")
            << Extra::None << Outcome::Refused << 0 << -1;
    // An object no board can hold is left out, as of a file cut short; the rest opens.
    QTest::newRow("pen width INT_MAX")
            << document(page(stroke("1,1 50,50", "2147483647") + stroke("5,5 9,9"))) << Extra::None
            << Outcome::Partial << 1 << 1;
    const QByteArray cylinder =
            "<svg:cylinder id=\"obj4\" x=\"%1\" y=\"0\" width=\"50\" height=\"80\" "
            "stroke=\"#000000\" stroke-width=\"2\" stroke-opacity=\"255\" "
            "transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>";
    QTest::newRow("shape at 1e30")
            << document(page(QByteArray(cylinder).replace("%1", "1e30") + stroke("5,5 9,9")))
            << Extra::None << Outcome::Partial << 1 << 1;
    QTest::newRow("shape at NaN") << document(
            page(stroke("5,5 9,9") + QByteArray(cylinder).replace("%1", "nan")))
                                  << Extra::None << Outcome::Partial << 1 << 1;
    QTest::newRow("point at inf") << document(page(stroke("1,1 inf,50") + stroke("5,5 9,9")))
                                  << Extra::None << Outcome::Partial << 1 << 1;
    QTest::newRow("ellipse at 1e308, beyond a float")
            << document(page("<svg:a id=\"lnk1\" xlink=\"http://example.org\"/>"
                             "<svg:ellipse id=\"obj7\" points=\"0,0 9,9\" cx=\"1e308\" "
                             "cy=\"0\" rx=\"5\" ry=\"5\" fillType=\"0\" "
                             "transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>"
                             + stroke("5,5 9,9")))
            << Extra::None << Outcome::Partial << 1 << 1;
    // Far from the board, 1234567 written as the writer writes it, but finite: it opens.
    QTest::newRow("shape far away opens")
            << document(page(QByteArray(cylinder).replace("%1", "1.23457e+06")
                             + stroke("1.23457e+06,5 -1.23457e+06,9")))
            << Extra::None << Outcome::Opened << 1 << 2;
    QTest::newRow("more points than a list may hold")
            << document(page(stroke(points(IwbLimits::kMaxPoints + 1)))) << Extra::None
            << Outcome::Refused << 0 << -1;
    QTest::newRow("a book in a text")
            << document(page("<svg:text id=\"obj6\" x=\"1\" y=\"1\">"
                             + QByteArray(IwbLimits::kMaxTextCharacters + 1, 'a') + "</svg:text>"))
            << Extra::None << Outcome::Refused << 0 << -1;
    QByteArray many;
    for (int object = 0; object <= IwbLimits::kMaxObjects; ++object)
        many += "<svg:line x1=\"1\" y1=\"1\" x2=\"9\" y2=\"9\"/>";
    QTest::newRow("more objects than a lesson holds")
            << document(page(many)) << Extra::None << Outcome::Refused << 0 << -1;
    QTest::newRow("200000 points open")
            << document(page(stroke(points(200000)))) << Extra::None << Outcome::Opened << 1 << -1;
    QTest::newRow("entry that unpacks to more than it lists")
            << document(page(stroke("1,1 50,50"))) << Extra::UnderstatedEntry << Outcome::Refused
            << 0 << -1;
    QTest::newRow("entry that unpacks to more than it lists, among many")
            << document(page(stroke("1,1 50,50"))) << Extra::UnderstatedAmongMany
            << Outcome::Refused << 0 << -1;
    QTest::newRow("unpack bomb") << document(page(stroke("1,1 50,50"))) << Extra::UnpackBomb
                                 << Outcome::Refused << 0 << -1;
    QTest::newRow("two entries named content.xml")
            << document(page(stroke("1,1 50,50"))) << Extra::TwoContents << Outcome::Refused << 0
            << -1;
    QTest::newRow("cut short") << document(page(stroke("1,1 50,50")) + "<svg:page id=\"page1\">",
                                           QByteArray(), false)
                               << Extra::None << Outcome::Partial << 1 << -1;
    QTest::newRow("malformed") << document(page(stroke("1,1 50,50") + "</svg:rect>")) << Extra::None
                               << Outcome::Partial << 1 << -1;
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE iwb [<!ENTITY a \"aaaaaaaaaa\">";
    for (char name = 'b'; name <= 'j'; ++name)
        laughs += QByteArray("<!ENTITY ") + name + " \""
                + QByteArray(10, '&').replace("&", QByteArray("&") + char(name - 1) + ";") + "\">";
    laughs += "]>";
    QTest::newRow("entity expansion") << laughs
                    + document(page("<svg:text id=\"obj5\" x=\"1\" y=\"1\">&j;</svg:text>"))
                              .mid(QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n")
                                           .size())
                                      << Extra::None << Outcome::Partial << 1 << -1;
}

void tst_IwbHostile::hostileFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(Extra, extra);
    QFETCH(Outcome, outcome);
    QFETCH(int, pages);
    QFETCH(int, objects);
    const QString before = teacherDocument();
    const int currentBefore = m_list->getCurPageNum();
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("images"));
    DocumentFixture::writeFile(folder.filePath(QStringLiteral("content.xml")), content);
    if (extra == Extra::HugePictureFile)
        QVERIFY(CraftedPictures::write(
                folder.filePath(QStringLiteral("images/big.png")),
                CraftedPictures::make(QStringLiteral("png"), QSize(30000, 30000))));
    if (extra == Extra::SmallPicture)
        QVERIFY(ItemMedia::makePicture(folder.filePath(QStringLiteral("images/big.png")),
                                       QSize(40, 30)));
    const bool understated =
            extra == Extra::UnderstatedEntry || extra == Extra::UnderstatedAmongMany;
    if (understated)
        DocumentFixture::writeFile(folder.filePath(QStringLiteral("images/zeros.png")),
                                   QByteArray(64 << 20, '\0'));
    for (int n = 0; extra == Extra::UnderstatedAmongMany && n < 40; ++n)
        DocumentFixture::writeFile(folder.filePath(QStringLiteral("images/p%1.png").arg(n)),
                                   QByteArray(4096, char(n)));
    if (extra == Extra::TwoContents) // named apart for zip, made one name below
        DocumentFixture::writeFile(folder.filePath(QStringLiteral("contenX.xml")),
                                   document(page(stroke("1,1 50,50") + stroke("2,2 5,5"))));
    const QString archive = m_files->filePath(QStringLiteral("hostile.iwb"));
    QFile::remove(archive);
    const ToolRun zipped =
            runTool(QStringLiteral("zip"),
                    { QStringLiteral("-q"), QStringLiteral("-r"), archive, QStringLiteral(".") },
                    folder.path(), 60000);
    QVERIFY2(zipped.ok, qPrintable(zipped.error));
    if (extra == Extra::UnpackBomb)
        QVERIFY(promiseHugeEntries(archive));
    if (understated)
        QVERIFY(understate(archive, "images/zeros.png", 100));
    if (extra == Extra::TwoContents) {
        QByteArray bytes = DocumentFixture::readAll(archive);
        QCOMPARE(bytes.count("contenX.xml"), 2); // the local header and the directory
        DocumentFixture::writeFile(archive, bytes.replace("contenX.xml", "content.xml"));
    }

    QString message;
    auto answered = DocumentFixture::answerInTurn(
            { DocumentFixture::chooseFile(archive), DocumentFixture::click("OK", &message) });
    QElapsedTimer timer;
    timer.start();
    m_list->openFile();
    // A hang detector, not a measure of speed: the sanitizers make everything slow.
    QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
    // What is said of its pictures comes once they are measured, the lesson open meanwhile.
    QTRY_VERIFY_WITH_TIMEOUT(m_list->arePicturesMeasured(), 120000);
    const QString damaged = QStringLiteral("Error|El documento está dañado y no se ha podido "
                                           "abrir entero.");
    switch (outcome) {
    case Outcome::Refused:
        QCOMPARE(*answered, 2);
        QCOMPARE(message.section(QLatin1Char('|'), 0, 1), damaged);
        QCOMPARE(teacherDocument(), before);
        QVERIFY(!m_list->isDocumentModified());
        // Shown as it was, on the page it was on.
        QCOMPARE(m_list->getCurPageNum(), currentBefore);
        QCOMPARE(m_list->getView()->scene(), m_list->getCurPage());
        break;
    case Outcome::Partial:
        QCOMPARE(*answered, 2);
        QCOMPARE(message.section(QLatin1Char('|'), 0, 1), damaged);
        QCOMPARE(m_list->size(), pages);
        QVERIFY(m_list->fileName().isEmpty()); // Save asks for a name
        QVERIFY(m_list->isDocumentModified());
        break;
    case Outcome::Opened:
    case Outcome::PicturesWhole:
        QCOMPARE(*answered, 1);
        QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
        QCOMPARE(m_list->size(), pages);
        QCOMPARE(m_list->fileName(), m_files->filePath(QStringLiteral("hostile.iwb")));
        break;
    case Outcome::PicturesSaid:
        QCOMPARE(*answered, 2);
        QVERIFY2(message.startsWith(QStringLiteral("Atención|La lección se ha abierto con estos "
                                                   "cambios:\n\nPágina ")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("«big.png»")), qPrintable(message));
        QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
        QCOMPARE(m_list->size(), pages);
        QCOMPARE(m_list->fileName(), m_files->filePath(QStringLiteral("hostile.iwb")));
        QVERIFY(!m_list->isDocumentModified());
        break;
    }
    if (objects >= 0) {
        int read = 0;
        qreal farthest = 0;
        for (DPage *page : *m_list) {
            for (QGraphicsItem *item : page->items()) {
                if (!isBoardObjectType(item->type()))
                    continue;
                ++read;
                const QRectF bounds = item->sceneBoundingRect();
                QVERIFY(std::isfinite(bounds.left()) && std::isfinite(bounds.right()));
                farthest = qMax(farthest, qMax(qAbs(bounds.left()), qAbs(bounds.right())));
            }
        }
        // A far object stays where the file puts it, not at the origin.
        if (outcome == Outcome::Opened)
            QVERIFY2(farthest > 1234000, qPrintable(QString::number(farthest)));
        QCOMPARE(read, objects);
    }
}

void tst_IwbHostile::picturesBeyondTheLimits_data()
{
    // A picture no board can hold, crafted small, beside a stroke and a text, in a lesson of
    // ours or one imported: the lesson opens, the picture is left out or taken smaller (as its
    // reading decides) at the size and place the lesson gives it, and the teacher is told
    // which. Only what the reading plans is spent.
    QTest::addColumn<QString>("kind"); // of CraftedPictures
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("asked"); // by the lesson
    QTest::addColumn<bool>("ubz");
    QTest::addColumn<QString>("suffix"); // the name it is stored under ("": its own)
    // Not small: three screens of 30000 x 30000. Not read by the toolkit at that size: TGA and
    // WBMP; a PBM of it is decoded smaller, and then turns out cut short, as crafted.
    const QStringList notHere{ "gif-animated", "tga", "wbmp", "pbm" };
    for (const bool ubz : { false, true }) {
        for (const CraftedPictures::Kind &kind : CraftedPictures::kKinds) {
            if (QImageReader::supportedImageFormats().contains(kind.suffix)
                && !notHere.contains(kind.name))
                QTest::newRow(qPrintable(QStringLiteral("%1 %2 of 30000 x 30000")
                                                 .arg(ubz ? "UBZ" : "IWB", kind.name)))
                        << kind.name << QSize(30000, 30000) << QSize(300, 200) << ubz << QString();
        }
    }
    QTest::newRow("icns under a .png name")
            << "icns" << QSize(30000, 30000) << QSize(300, 200) << false << "png";
    // Beyond the limits, within what reading may spend: taken smaller.
    for (const char *kind : { "png", "jpeg", "tiff", "webp", "svg", "bmp", "gif" })
        QTest::newRow(qPrintable(QStringLiteral("%1 of 9000 x 9000").arg(kind)))
                << kind << QSize(9000, 9000) << QSize(300, 200) << false << QString();
    // An animation plays at the lesson's size, not its screen's.
    QTest::newRow("animation of 640 x 480")
            << "gif-animated" << QSize(640, 480) << QSize(300, 200) << false << QString();
    // A picture the lesson asks at more than the board holds keeps that size on the page, and
    // nothing of it is taken smaller: it is drawn at that size from its own pixels.
    QTest::newRow("picture of 40 x 30 asked at 100000 x 100000")
            << "png" << QSize(40, 30) << QSize(100000, 100000) << false << QString();
    // Read by their decoders otherwise than their headers say: left out when their decoding
    // needs more than it was measured to.
    for (const bool ubz : { false, true }) {
        const QList<QPair<QString, int>> hostile = { { "svg-holding", 30000 },
                                                     { "svg-holding-spaced", 30000 },
                                                     { "tiff-width-twice", 16384 } };
        for (const auto &kind : hostile)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(ubz ? "UBZ" : "IWB", kind.first)))
                    << kind.first << QSize(kind.second, kind.second) << QSize(300, 200) << ubz
                    << QString();
    }
}

void tst_IwbHostile::picturesBeyondTheLimits()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    QFETCH(QSize, asked);
    QFETCH(bool, ubz);
    QFETCH(QString, suffix);
    const CraftedPictures::RoomyLimits roomy; // of sizes, not of time
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images")));
    const QString file = CraftedPictures::writeIn(folder.filePath(QStringLiteral("images")), kind,
                                                  size, QStringLiteral("big"), suffix);
    QVERIFY(!file.isEmpty());
    const QString name = QFileInfo(file).fileName();
    const QString w = QString::number(asked.width());
    const QString h = QString::number(asked.height());
    if (ubz) // placed about the page's centre
        DocumentFixture::writeFile(
                folder.filePath(QStringLiteral("page000.svg")),
                QStringLiteral("<svg xmlns:ub=\"http://uniboard.mnemis.com/document\"><rect "
                               "fill=\"#ffffff\"/><g><polygon points=\"1,1 50,50\"/></g>"
                               "<image ub:source=\"images/%1\" width=\"%2\" height=\"%3\" "
                               "transform=\"matrix(1,0,0,1,100,80)\"/><foreignObject>"
                               "<itemTextContent>hola</itemTextContent></foreignObject></svg>")
                        .arg(name, w, h)
                        .toUtf8());
    else
        DocumentFixture::writeFile(
                folder.filePath(QStringLiteral("content.xml")),
                document(page(stroke("1,1 50,50")
                              + QStringLiteral("<svg:image id=\"obj3\" xlink:href=\"images/%1\" "
                                               "x=\"100\" y=\"80\" width=\"%2\" height=\"%3\" "
                                               "transform=\"rotate(0,0,0)\"/>")
                                        .arg(name, w, h)
                                        .toUtf8()
                              + "<svg:text id=\"obj4\" x=\"5\" y=\"300\">hola</svg:text>")));
    // What its reading plans to take, what it comes to, and whether it is to play.
    const PictureReading::Probe planned = PictureReading::probe(file);
    const PictureReading::Probe probe = PictureReading::read(file).probe;
    const bool plays = kind.startsWith(QLatin1String("gif")) && !ubz;
    const bool said = probe.outcome != PictureReading::Outcome::Whole || (plays && !probe.playable);

    TestSupport::resetPeakMemory();
    const qint64 before = TestSupport::peakMegabytes();
    int answered = 0;
    const QString message = openThroughTheMenu(folder.path(), ubz, &answered);
    const qint64 peak = TestSupport::peakMegabytes() - before;
    // No more than its reading planned, and the picture the lesson holds at its size (with what
    // the sanitizer keeps of memory freed: 256 MB, and the board's own).
    const QSize kept = PictureReading::fitted(asked);
    QVERIFY2(peak < ((planned.peakBytes + 4 * qint64(kept.width()) * kept.height()) >> 20) + 406,
             qPrintable(QStringLiteral("%1 MB more at the peak").arg(peak)));
    QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    QVERIFY2(answered == (said ? 2 : 1), qPrintable(probe.detail + QLatin1Char(' ') + message));
    if (said) {
        QVERIFY2(message.startsWith(QStringLiteral("Atención|La lección se ha %1 con estos "
                                                   "cambios:\n\nPágina 1: ")
                                            .arg(ubz ? "importado" : "abierto")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("«%1»").arg(name)), qPrintable(message));
        QCOMPARE(message.contains(QStringLiteral("No se ha usado")), !probe.isTaken());
    }
    // The rest of the lesson, and the picture where the lesson puts it, at its size: playing
    // when it is an animation the board plays.
    QCOMPARE(m_list->size(), 1);
    QRectF shown;
    int others = 0;
    bool played = false;
    for (QGraphicsItem *item : m_list->at(0)->items()) {
        others += dynamic_cast<DGPathCurveItem *>(item) || dynamic_cast<DGTextItem *>(item);
        if (auto *still = dynamic_cast<DGPixmapItem *>(item))
            shown = still->mapRectToScene(QRectF(QPointF(), still->pictureSize()));
        if (auto *animation = dynamic_cast<DGGifItem *>(item)) {
            shown = animation->mapRectToScene(QRectF(QPointF(), animation->size()));
            played = true;
        }
    }
    QCOMPARE(played, plays && !said);
    QCOMPARE(others, 2);
    // Kept where the lesson puts it even when nothing of it can be shown: it goes back with
    // the lesson as it came.
    QVERIFY(shown.isValid());
    { // (the factories take their scale in single precision)
        QCOMPARE(QSizeF(std::floor(shown.width() + 0.01), std::floor(shown.height() + 0.01)),
                 QSizeF(asked));
        const QPointF at = QPointF(100, 80) + (ubz ? m_list->at(0)->sceneRect().center() : QPointF());
        QVERIFY((shown.topLeft() - at).manhattanLength() < 1);
    }
}

void tst_IwbHostile::unshownPicturesGoBackAsTheyCame_data()
{
    // A picture whose file the lesson holds but the board cannot show keeps its place and its
    // file: said once after the open, an empty frame on the board, and saved back as it came.
    QTest::addColumn<QString>("kind"); // of CraftedPictures, or "" for bytes of no format
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("background"); // the page's own picture
    QTest::newRow("refused by a limit")
            << "tga" << QSize(30000, 30000) << "«big.tga»" << false;
    QTest::newRow("its decoder fails")
            << "tiff-width-twice" << QSize(16384, 16384) << "«big.tif»" << false;
    QTest::newRow("a format it does not read") << QString() << QSize() << "«big.xyz»" << false;
    QTest::newRow("a page's picture refused by a limit")
            << "tga" << QSize(30000, 30000) << "«big.tga»" << true;
}

void tst_IwbHostile::unshownPicturesGoBackAsTheyCame()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    QFETCH(QString, said);
    QFETCH(bool, background);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images")));
    const QString file = kind.isEmpty()
            ? folder.filePath(QStringLiteral("images/big.xyz"))
            : CraftedPictures::writeIn(folder.filePath(QStringLiteral("images")), kind, size,
                                       QStringLiteral("big"));
    if (kind.isEmpty())
        DocumentFixture::writeFile(file, QByteArray("no picture in any format, ") + QByteArray(5000, 'x'));
    QVERIFY(!file.isEmpty());
    const QByteArray came = DocumentFixture::readAll(file);
    const QByteArray href = "images/" + QFileInfo(file).fileName().toUtf8();
    const QByteArray element = "<svg:image id=\"obj3\" xlink:href=\"" + href
            + "\" x=\"100\" y=\"80\" width=\"300\" height=\"200\" "
              "transform=\"translate(0,0) rotate(30,0,0) scale(1.5)\"/>";
    DocumentFixture::writeFile(
            folder.filePath(QStringLiteral("content.xml")),
            background ? document("<svg:page id=\"page0\"><svg:image id=\"bck0\" xlink:href=\""
                                  + href + "\" x=\"0\" y=\"0\" width=\"900\" height=\"700\"/>"
                                  + stroke("1,1 50,50") + "</svg:page>")
                       : document(page(stroke("1,1 50,50") + element)));
    int answered = 0;
    const QString message = openThroughTheMenu(folder.path(), false, &answered);
    QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    QCOMPARE(answered, 2);
    QVERIFY2(message.contains(said) && message.contains(QStringLiteral("tal como venía")),
             qPrintable(message));
    QList<DGPixmapItem *> pictures;
    for (QGraphicsItem *item : m_list->at(0)->items()) {
        if (auto *picture = dynamic_cast<DGPixmapItem *>(item))
            pictures << picture;
    }
    if (background) {
        QVERIFY(pictures.isEmpty());
        QVERIFY(m_list->at(0)->keptBackground());
    } else {
        QCOMPARE(pictures.size(), 1);
        QVERIFY(pictures.first()->picture()->isRefused());
        QCOMPARE(pictures.first()->pictureSize(), QSize(300, 200));
    }
    // Saved, and opened and saved again: its file byte for byte, its element as it came.
    QString saved = m_files->filePath(QStringLiteral("kept"));
    for (int round = 0; round < 2; ++round) {
        QVERIFY2(m_list->saveAllPagesToFileIWB(saved, true), qPrintable(m_list->lastSaveError()));
        const QString unpacked = m_files->filePath(QStringLiteral("unpacked%1").arg(round));
        QVERIFY(IwbArchive::unpack(saved + QStringLiteral(".iwb"), unpacked).ok);
        const QByteArray text = DocumentFixture::readAll(unpacked + QStringLiteral("/content.xml"));
        const QRegularExpression image(
                background ? QStringLiteral("<svg:image id=\"bck0\" xlink:href=\"(images/[^\"]+)\" "
                                            "x=\"0\" y=\"0\" width=\"900\" height=\"700\"/>")
                           : QStringLiteral("<svg:image id=\"obj\\d+\" xlink:href=\"(images/[^\"]+)\" "
                                            "x=\"100\" y=\"80\" width=\"300\" height=\"200\" "
                                            "transform=\"translate\\(0,0\\) rotate\\(30,0,0\\) "
                                            "scale\\(1.5\\)\"/>"));
        const QRegularExpressionMatch match = image.match(QString::fromUtf8(text));
        QVERIFY2(match.hasMatch(), text.constData());
        QCOMPARE(DocumentFixture::readAll(unpacked + QLatin1Char('/') + match.captured(1)), came);
        if (round == 0) {
            QVERIFY(m_list->openAllPagesFromFileIWB(saved + QStringLiteral(".iwb")));
            QVERIFY(DocumentFixture::waitForPictures(*m_list));
            saved = m_files->filePath(QStringLiteral("kept again"));
        }
    }
}

void tst_IwbHostile::picturesTogetherWithinTheLesson_data()
{
    // Pictures each within the limits, which together would take more than a lesson once held
    // decoded: all of them open whole, held as their files. Animations play from their frames,
    // decoded at once: the last beyond what a lesson may play are shown still, and said.
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QList<QSize>>("asked");
    QTest::addColumn<QString>("said");
    QTest::newRow("two of the largest, then one to be read of 9000 x 9000")
            << QStringList{ "png", "png", "webp" }
            << QList<QSize>{ { 16384, 4096 }, { 16384, 4096 }, { 9000, 9000 } }
            << QList<QSize>{ { 16384, 4096 }, { 16384, 4096 }, { 300, 200 } }
            << "se ha tomado reducida a 8192 x 8192";
    // A blue disc on transparency of a camera app's was left out of the lesson, and its save.
    QTest::newRow("transparent and 16 bits")
            << QStringList{ "png-alpha", "png-alpha", "png16-alpha" }
            << QList<QSize>{ { 5000, 3500 }, { 4096, 4096 }, { 16384, 4096 } }
            << QList<QSize>{ { 300, 200 }, { 300, 300 }, { 400, 100 } } << QString();
    // Each plays from its frames, 64 MB a frame: seven of them are more than a lesson holds.
    QTest::newRow("eight animations of the largest size that plays")
            << QStringList(QVector<QString>(8, QStringLiteral("gif")).toList())
            << QVector<QSize>(8, QSize(4096, 4096)).toList()
            << QVector<QSize>(8, QSize(300, 200)).toList() << "se muestra quieta";
}

void tst_IwbHostile::picturesTogetherWithinTheLesson()
{
    QFETCH(QStringList, kinds);
    QFETCH(QList<QSize>, sizes);
    QFETCH(QList<QSize>, asked);
    QFETCH(QString, said);
    const CraftedPictures::RoomyLimits roomy; // of sizes, not of time
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images")));
    QByteArray objects = stroke("1,1 50,50");
    QSet<QByteArray> files;
    for (int i = 0; i < kinds.size(); ++i) {
        const QString file = CraftedPictures::writeIn(folder.filePath(QStringLiteral("images")),
                                                      kinds.at(i), sizes.at(i),
                                                      QStringLiteral("picture%1").arg(i));
        QVERIFY(!file.isEmpty());
        files.insert(DocumentFixture::readAll(file));
        objects += QStringLiteral("<svg:image id=\"obj%1\" xlink:href=\"images/%2\" x=\"%3\" "
                                  "y=\"80\" width=\"%4\" height=\"%5\" "
                                  "transform=\"rotate(0,0,0)\"/>")
                           .arg(i + 10)
                           .arg(QFileInfo(file).fileName())
                           .arg(100 * i)
                           .arg(asked.at(i).width())
                           .arg(asked.at(i).height())
                           .toUtf8();
    }
    DocumentFixture::writeFile(folder.filePath(QStringLiteral("content.xml")),
                               document(page(objects)));
    int answered = 0;
    const QString message = openThroughTheMenu(folder.path(), false, &answered);
    QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    QVERIFY2(answered == (said.isEmpty() ? 1 : 2), qPrintable(message));
    QVERIFY2(message.contains(said), qPrintable(message));
    int pictures = 0;
    int playing = 0;
    int strokes = 0;
    QList<QSize> whole;
    for (QGraphicsItem *item : m_list->at(0)->items()) {
        if (auto *still = dynamic_cast<DGPixmapItem *>(item))
            whole << still->picture()->pixels();
        pictures += dynamic_cast<DGPixmapItem *>(item) != nullptr;
        playing += dynamic_cast<DGGifItem *>(item) != nullptr;
        strokes += dynamic_cast<DGPathCurveItem *>(item) != nullptr;
    }
    QCOMPARE(strokes, 1);
    if (kinds.first() == QLatin1String("gif")) { // every one there, the last still
        QCOMPARE(pictures + playing, kinds.size());
        QVERIFY(playing > 0 && pictures > 0);
        return;
    }
    QCOMPARE(pictures, kinds.size());
    for (const QSize &size : sizes)
        QVERIFY(whole.contains(PictureReading::fitted(size)));
    // Saved, each picture's file goes back as it came.
    const QString saved = m_files->filePath(QStringLiteral("together"));
    QVERIFY2(m_list->saveAllPagesToFileIWB(saved, true), qPrintable(m_list->lastSaveError()));
    const QString unpacked = m_files->filePath(QStringLiteral("together-unpacked"));
    QVERIFY(IwbArchive::unpack(saved + QStringLiteral(".iwb"), unpacked).ok);
    QSet<QByteArray> written;
    for (const QFileInfo &image : QDir(unpacked + QStringLiteral("/images")).entryInfoList(QDir::Files))
        written.insert(DocumentFixture::readAll(image.filePath()));
    QCOMPARE(written, files);
}

void tst_IwbHostile::pictureLinksStayInTheLesson_data()
{
    // An SVG of the lesson's that links a picture (CraftedPictures::writeLinking; %home: the
    // teacher's folder, CraftedPictures::makeFontsHome), and why that is left out ("" when it
    // shows).
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("why");
    const QString outside = QStringLiteral("está fuera de la carpeta de la imagen");
    QTest::newRow("beside it") << "red.png" << QString();
    QTest::newRow("up, to one of the lesson's") << "../red.png" << outside;
    QTest::newRow("absolute, outside") << "%root/secret/red.png" << outside;
    QTest::newRow("a named pipe outside")
            << "%root/lesson/pipe" << QStringLiteral("es una tubería, no un archivo");
    QTest::newRow("~/.fonts") << "%home/.fonts/red.png"
                              << QStringLiteral("está en una carpeta de tipos de letra");
    QTest::newRow("~/.local/share/fonts")
            << "%home/.local/share/fonts/red.png"
            << QStringLiteral("está en una carpeta de tipos de letra");
    QTest::newRow("/proc/self") << "/proc/self/environ"
                                << QStringLiteral(
                                           "está en una carpeta del sistema (/proc, /sys o /dev)");
}

// A lesson's picture shows nothing from outside the lesson, however it names it, and never
// waits on it: a teacher's own picture was shown, and saved into the lesson. What it shows
// without is said with the lesson's other pictures, once.
void tst_IwbHostile::pictureLinksStayInTheLesson()
{
    QFETCH(QString, href);
    QFETCH(QString, why);
    href.replace(QStringLiteral("%home"), m_home.path());
    QTemporaryDir outside;
    const QString svg = CraftedPictures::writeLinking(outside.path(), href);
    QVERIFY(!svg.isEmpty());
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images")));
    const QString red = outside.filePath(QStringLiteral("lesson/red.png"));
    QVERIFY(QFile::copy(svg, folder.filePath(QStringLiteral("images/linking.svg"))));
    QVERIFY(QFile::copy(red, folder.filePath(QStringLiteral("images/red.png"))));
    QVERIFY(QFile::copy(red, folder.filePath(QStringLiteral("red.png"))));
    DocumentFixture::writeFile(
            folder.filePath(QStringLiteral("content.xml")),
            document(page("<svg:image id=\"obj3\" xlink:href=\"images/linking.svg\" "
                          "x=\"100\" y=\"80\" width=\"20\" height=\"10\" "
                          "transform=\"rotate(0,0,0)\"/>")));
    int answered = 0;
    const QString message = openThroughTheMenu(folder.path(), false, &answered);
    QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    const QString said =
            QStringLiteral("La imagen «linking.svg» se muestra sin «%1», que enlaza: %2.")
                    .arg(href.mid(href.lastIndexOf(QLatin1Char('/')) + 1), why);
    QCOMPARE(answered, why.isEmpty() ? 1 : 2);
    const QStringList lines =
            why.isEmpty() ? QStringList() : QStringList{ QStringLiteral("Página 1: ") + said };
    QCOMPARE(m_list->lastOpenPictures(), lines);
    QVERIFY2(why.isEmpty() || message.contains(said), qPrintable(message));
    QImage picture;
    for (QGraphicsItem *item : m_list->at(0)->items()) {
        if (auto *still = dynamic_cast<DGPixmapItem *>(item))
            picture = still->pixmap().toImage();
    }
    QCOMPARE(picture.size(), QSize(20, 10));
    QCOMPARE(QColor(picture.pixel(5, 5)), why.isEmpty() ? QColor(Qt::red) : QColor(Qt::white));
    QCOMPARE(QColor(picture.pixel(15, 5)), QColor(Qt::white));
}

// A picture beyond the limits shown by ten objects of a lesson is decoded and made smaller once,
// and the objects share it: each reading of it took seconds, ten of them half a minute.
void tst_IwbHostile::onePictureShownTenTimes()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images")));
    QVERIFY(!CraftedPictures::writeIn(folder.filePath(QStringLiteral("images")), "png",
                                      QSize(16384, 16384), QStringLiteral("grey"))
                     .isEmpty());
    QByteArray objects = stroke("1,1 50,50");
    for (int i = 0; i < 10; ++i)
        objects += QStringLiteral("<svg:image id=\"obj%1\" xlink:href=\"images/grey.png\" "
                                  "x=\"%2\" y=\"80\" width=\"300\" height=\"200\" "
                                  "transform=\"rotate(0,0,0)\"/>")
                           .arg(i + 10)
                           .arg(40 * i)
                           .toUtf8();
    DocumentFixture::writeFile(folder.filePath(QStringLiteral("content.xml")),
                               document(page(objects)));
    const int decodedBefore = PictureDecoders::instance().decoded();
    int answered = 0;
    const QString message = openThroughTheMenu(folder.path(), false, &answered);
    QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    QVERIFY2(message.contains(QStringLiteral("«grey.png»")), qPrintable(message));
    QCOMPARE(PictureDecoders::instance().decoded() - decodedBefore, 1);
    QSet<const HeldPicture *> pictures;
    int shown = 0;
    for (QGraphicsItem *item : m_list->at(0)->items()) {
        if (auto *picture = dynamic_cast<DGPixmapItem *>(item)) {
            ++shown;
            pictures << picture->picture().get();
            QCOMPARE(picture->mapRectToScene(QRectF(QPointF(), picture->pictureSize())).size(),
                     QSizeF(300, 200));
        }
    }
    QCOMPARE(shown, 10);
    QCOMPARE(pictures.size(), 1);
    // The processes that read the lesson's pictures go once it is open, but one for the next.
    QTRY_VERIFY_WITH_TIMEOUT(liveDecoders() <= 1, 30000);
}

void tst_IwbHostile::missingMediaNeverBlocksSaving()
{
    // Named by the document, packed in no archive: the background picture, a video, a linked
    // file. The page opens as a colour page; the save goes through and says what was left out.
    const QByteArray content = document(
            "<svg:page id=\"page0\"><svg:image id=\"bck0\" xlink:href=\"images/bck0.png\" x=\"0\" "
            "y=\"0\" width=\"800\" height=\"600\"/>"
            "<svg:video id=\"obj1\" xlink:href=\"/videos/clip.avi\" x=\"10\" y=\"10\" "
            "transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>"
            "<svg:a id=\"lnk1\" xlink=\"\" xpagelink=\"\" xfilelink=\"/home/x/notes.pdf\" "
            "xsoundlink=\"\">"
            + stroke("1,1 50,50") + "</svg:a></svg:page>");
    QTemporaryDir folder;
    DocumentFixture::writeFile(folder.filePath(QStringLiteral("content.xml")), content);
    QVERIFY(m_list->openFromFile(folder.path()));
    QVERIFY(!m_list->lastOpenWasDamaged());
    QCOMPARE(m_list->size(), 1);
    QCOMPARE(m_list->at(0)->pageType(), int(PageTypeColor));
    m_list->setFileName(m_files->filePath(QStringLiteral("kept")));
    m_list->setDocumentModified(true);

    QString message;
    auto answered = DocumentFixture::answerInTurn({ DocumentFixture::click("OK", &message) });
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), false));
    QCOMPARE(*answered, 1);
    QVERIFY2(message.contains(QStringLiteral("clip.avi")), qPrintable(message));
    QVERIFY(message.startsWith(QStringLiteral("Atención|El documento se ha guardado sin estos "
                                              "archivos")));
    QVERIFY(QFileInfo(m_files->filePath(QStringLiteral("kept.iwb"))).isFile());
    QVERIFY(!m_list->isDocumentModified());
    // Autosaves go on without asking anything.
    m_list->setDocumentModified(true);
    m_list->autoSave();
    QVERIFY(m_list->lastSaveError().isEmpty());
}

void tst_IwbHostile::fuzzingInputs_data()
{
    // The seeds of the reader's fuzz target are real documents and open whole; what fuzzing
    // found is kept beside them and must open harmlessly, in whole or in part, or be refused.
    DocumentFixture::addFuzzingRows(QStringLiteral(VELTORINA_SOURCE_DIR "/fuzz"), "iwb");
}

void tst_IwbHostile::fuzzingInputs()
{
    QFETCH(QString, file);
    QFETCH(bool, seed);
    QTemporaryDir folder;
    QVERIFY(QFile::copy(file, folder.filePath(QStringLiteral("content.xml"))));
    const bool opened = m_list->openFromFile(folder.path());
    QVERIFY(m_list->size() >= 1);
    if (seed) {
        QVERIFY(opened);
        QVERIFY2(!m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    }
}

void tst_IwbHostile::archiveFuzzingInputs_data()
{
    // Whole archives: the seeds of the archive fuzz target open (an IWB document) or import (a
    // UBZ lesson) whole; what fuzzing found goes through both and must leave a document.
    DocumentFixture::addFuzzingRows(QStringLiteral(VELTORINA_SOURCE_DIR "/fuzz"), "iwbarchive");
}

void tst_IwbHostile::archiveFuzzingInputs()
{
    QFETCH(QString, file);
    QFETCH(bool, seed);
    const QString iwb = m_files->filePath(QStringLiteral("fuzzed.iwb"));
    const QString ubz = m_files->filePath(QStringLiteral("fuzzed.ubz"));
    QVERIFY(QFile::copy(file, iwb) && QFile::copy(file, ubz));
    const bool opened = m_list->openAllPagesFromFileIWB(iwb);
    QVERIFY(m_list->size() >= 1);
    if (seed && file.endsWith(QLatin1String(".iwb"))) {
        QVERIFY2(opened && !m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    }
    const bool imported = m_list->openAllPagesFromFileUBZ(ubz);
    QVERIFY(m_list->size() >= 1);
    if (seed && file.endsWith(QLatin1String(".ubz"))) {
        QVERIFY2(imported && !m_list->lastOpenWasDamaged(), qPrintable(m_list->lastOpenError()));
    }
}

QTEST_MAIN(tst_IwbHostile)
#include "tst_iwbhostile.moc"
