#include "support/boardfixture.h"
#include "support/contentmedia.h"
#include "support/craftedpictures.h"
#include "support/galleryfixture.h"
#include "support/itemmedia.h"
#include "support/mediafixture.h"
#include "support/orientedphotos.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dggifitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "content/dlabel.h"
#include "pictures/heldpictures.h"
#include "pictures/picturedecoders.h"
#include "pictures/picturereading.h"
#include "shell/cores.h"
#include "tools/dscreenrecord.h"

#include <QDialog>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUndoStack>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <sys/stat.h>
#include <sys/types.h>

using namespace BoardFixture;
using MediaFixture::chooseFile;

namespace {

QList<QGraphicsItem *> objectsOf(DPage *page, int type)
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *item : page->items(Qt::AscendingOrder)) {
        if (item->type() == type)
            found << item;
    }
    return found;
}

int boardObjects(DPage *page)
{
    int count = 0;
    for (QGraphicsItem *item : page->items()) {
        if (isBoardObjectType(item->type()))
            ++count;
    }
    return count;
}

QStringList currentDirectory()
{
    return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A PDF of the given page colours, drawn as the program's own export draws them.
bool writePdf(const QString &path, const QList<QColor> &colours,
              const QPageSize &size = QPageSize(QPageSize::A7))
{
    QPdfWriter writer(path);
    writer.setPageSize(size);
    writer.setResolution(72);
    QPainter painter(&writer);
    for (int i = 0; i < colours.size(); ++i) {
        if (i > 0)
            writer.newPage();
        painter.fillRect(QRect(QPoint(0, 0), writer.pageLayout().paintRectPixels(72).size()),
                         colours.at(i));
    }
    return painter.end();
}

QColor centreColour(const QGraphicsItem *item)
{
    const QImage image = static_cast<const DGPixmapItem *>(item)->pixmap().toImage();
    return image.pixelColor(image.rect().center());
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A drag from outside the page, entering, moving and dropping at one view point.
void dropOnView(DView *view, const QMimeData *mime, QPoint at)
{
    QWidget *viewport = view->viewport();
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
}

bool running(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

// pdftoppm as a slow or faulty one behaves, page by page of the pages asked: it takes delay
// seconds a page, and at the pages in hang, crash, fail or broken it hangs, dies of a signal,
// stops with an error, or writes something that is no picture. The real converter makes the
// rest. Each run is written down in runs.log in bin: its process, its range, its start and (unless
// it hung or was killed) its end, in milliseconds.
struct FakeConverter
{
    QString delay = QStringLiteral("0");
    QString hang;
    QString crash;
    QString fail;
    QString broken;
};

// Writes the fake as bin/pdftoppm under dir; its folder, or "" when it could not be written.
QString writeFakeConverter(const QString &dir, const FakeConverter &fake)
{
    const QString real = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    const QString bin = dir + QStringLiteral("/bin");
    if (real.isEmpty() || !QDir().mkpath(bin))
        return QString();
    QFile script(bin + QStringLiteral("/pdftoppm"));
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    const QString text =
            QStringLiteral(R"sh(#!/bin/bash
first=1; last=1; options=()
while [ $# -gt 2 ]; do
    case "$1" in
        -f) first=$2; shift 2 ;;
        -l) last=$2; shift 2 ;;
        *) options+=("$1"); shift ;;
    esac
done
pdf=$1; root=$2
log="$(dirname "$0")/runs.log"
echo "start $$ $first $last $(( $(date +%s%N) / 1000000 ))" >> "$log"
trap 'echo "end $$ $first $last $(( $(date +%s%N) / 1000000 ))" >> "$log"' EXIT
is() { local each; for each in $2; do [ "$each" -eq "$1" ] && return 0; done; return 1; }
for ((page = first; page <= last; page++)); do
    sleep %1
    is $page "%2" && exec sleep 600
    is $page "%3" && { ulimit -c 0; kill -SEGV $$; }
    is $page "%4" && { echo "Syntax Error: page broken" >&2; exit 1; }
    if is $page "%5"; then
        scratch=$(mktemp -d)
        '%6' -f $page -l $page "$pdf" "$scratch/x" || exit $?
        name=$(basename "$scratch"/x-*)
        echo "no picture" > "$root${name#x}"
        rm -rf "$scratch"
    else
        '%6' "${options[@]}" -f $page -l $page "$pdf" "$root" || exit $?
    fi
done
exit 0
)sh")
                    .arg(fake.delay, fake.hang, fake.crash, fake.fail, fake.broken, real);
    script.write(text.toUtf8());
    script.close();
    if (!script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                               | QFileDevice::ExeOwner))
        return QString();
    return bin;
}

// One run of the fake converter, as runs.log says.
struct ConverterRun
{
    qint64 pid = 0;
    int first = 0;
    int last = 0;
    qint64 start = 0;
    qint64 end = -1; // -1: stopped or failed before its end
};

QList<ConverterRun> converterRuns(const QString &bin)
{
    QFile log(bin + QStringLiteral("/runs.log"));
    QList<ConverterRun> runs;
    if (!log.open(QIODevice::ReadOnly))
        return runs;
    for (const QByteArray &line : log.readAll().split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() != 5)
            continue;
        if (words.at(0) == "start") {
            runs << ConverterRun{ words.at(1).toLongLong(), words.at(2).toInt(),
                                  words.at(3).toInt(), words.at(4).toLongLong() };
        } else {
            for (ConverterRun &run : runs) {
                if (run.pid == words.at(1).toLongLong())
                    run.end = words.at(4).toLongLong();
            }
        }
    }
    return runs;
}

// The most runs that went on at once (one stopped counts until the last end written).
int mostAtOnce(const QList<ConverterRun> &runs)
{
    qint64 latest = 0;
    for (const ConverterRun &run : runs)
        latest = std::max({ latest, run.start, run.end });
    int most = 0;
    for (const ConverterRun &run : runs) {
        int together = 0;
        for (const ConverterRun &other : runs) {
            const qint64 end = other.end < 0 ? latest : other.end;
            together += other.start <= run.start && run.start < end ? 1 : 0;
        }
        most = std::max(most, together);
    }
    return most;
}

// The processes whose command line names file: converters still running on it.
QList<qint64> processesOn(const QString &file)
{
    QList<qint64> found;
    const QByteArray name = QFile::encodeName(file);
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (number && pid != QCoreApplication::applicationPid()
            && commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(name))
            found << pid;
    }
    return found;
}

// The colours of pages 1 to count, each its own.
QList<QColor> pageColours(int count)
{
    QList<QColor> colours;
    for (int page = 0; page < count; ++page)
        colours << QColor::fromHsv(page * 360 / count, 255, 200);
    return colours;
}

bool sameColour(const QColor &seen, const QColor &expected)
{
    return qAbs(seen.red() - expected.red()) <= 2 && qAbs(seen.green() - expected.green()) <= 2
            && qAbs(seen.blue() - expected.blue()) <= 2;
}

} // namespace

Q_DECLARE_METATYPE(FakeConverter)

class tst_DPageMedia : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_before = currentDirectory(); }
    void cleanup();

    void cancelledDialogsChangeNothing_data();
    void cancelledDialogsChangeNothing();
    void pictureFromDialog();
    void unreadablePictureSaysSo_data();
    void unreadablePictureSaysSo();
    void pictureButtonKeepsToTheLimits_data();
    void pictureButtonKeepsToTheLimits();
    void decoderThatCrashesCostsOnlyItsPicture();
    void pictureLinksStayInTheirFolder_data();
    void pictureLinksStayInTheirFolder();
    void deepPicturesFromTheButton_data();
    void deepPicturesFromTheButton();
    void photosFromTheButtonStandUpright_data();
    void photosFromTheButtonStandUpright();
    void pdfPagesBecomePictures_data();
    void pdfPagesBecomePictures();
    void pdfImportGoesPageByPage_data();
    void pdfImportGoesPageByPage();
    void pdfImportShowsItsProgress();
    void pdfImportCancelled();
    void unimportablePdfSaysWhy_data();
    void unimportablePdfSaysWhy();
    void countFiles_data();
    void countFiles();
    void videoAtTheAnchor();
    void vanishedVideoSaysSo();
    void soundAtTheAnchor();
    void unplayableFileSaysSoAndPlacesNothing_data();
    void unplayableFileSaysSoAndPlacesNothing();
    void galleryDrop_data();
    void galleryDrop();
    void foreignDropIsRefused();
    void flashFileHandedOver();
    void lastRecordingPrepared();
    void activitiesProgram();
    void browserRestartsOnlyItsOwn();
    void browserFallsBackToTheDesktop();

private:
    QTemporaryDir m_files;
    QTemporaryDir m_home; // the teacher's, with the fonts' folders in it
    QStringList m_before;
    QByteArray m_path;
};

void tst_DPageMedia::initTestCase()
{
    TestSupport::recordConnectWarnings();
    QVERIFY(m_files.isValid());
    QVERIFY(m_home.isValid());
    m_path = qgetenv("PATH");
    QVERIFY(CraftedPictures::makeFontsHome(m_home.path()));
}

void tst_DPageMedia::cleanup()
{
    qputenv("PATH", m_path);
    QVERIFY(TestSupport::takeConnectWarnings().isEmpty());
    // Nothing the page converted is left where the user works.
    QCOMPARE(currentDirectory(), m_before);
}

void tst_DPageMedia::cancelledDialogsChangeNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    QTest::newRow("picture") << "picture"
                             << "Abrir Imagen";
    QTest::newRow("pdf") << "pdf"
                         << "Abrir Documento";
    QTest::newRow("video") << "video" << QString::fromUtf8("Abrir Vídeo");
    QTest::newRow("sound") << "sound"
                           << "Abrir Audio";
}

void tst_DPageMedia::cancelledDialogsChangeNothing()
{
    QFETCH(QString, command);
    QFETCH(QString, title);
    Board board;
    DPage *page = board.current();
    QString shownTitle;
    auto answered = TestSupport::answerNextModal([&shownTitle](QWidget *dialog) {
        shownTitle = dialog->windowTitle();
        qobject_cast<QDialog *>(dialog)->reject();
    });
    MediaFixture::MessageBoxes boxes;
    if (command == QLatin1String("picture"))
        page->insertImage(false);
    else if (command == QLatin1String("pdf"))
        page->insertImage(true);
    else if (command == QLatin1String("video"))
        page->insertVideo();
    else
        page->insertSound();
    QVERIFY(*answered);
    QCOMPARE(shownTitle, title);
    QCOMPARE(boardObjects(page), 0);
    QCOMPARE(page->undoStack()->count(), 0);
    QCOMPARE(boxes.seen, QStringList());
}

void tst_DPageMedia::pictureFromDialog()
{
    Board board;
    DPage *page = board.current();
    const QString file = m_files.filePath("chalk.png");
    QVERIFY(ItemMedia::makePicture(file, QSize(80, 50), Qt::darkRed));
    auto answered = chooseFile(file);
    page->insertImage(false);
    QVERIFY(*answered);
    // Read beside the board: placed when it comes.
    QTRY_COMPARE(objectsOf(page, ItemTypePixmap).size(), 1);
    const QList<QGraphicsItem *> pictures = objectsOf(page, ItemTypePixmap);
    QCOMPARE(centreColour(pictures.first()), QColor(Qt::darkRed));
    const QPointF centre = board.view()->mapToScene(board.view()->rect().center());
    QVERIFY(QLineF(pictures.first()->sceneBoundingRect().center(), centre).length() < 1.5);
    page->setUndo();
    QCOMPARE(boardObjects(page), 0);
}

void tst_DPageMedia::unreadablePictureSaysSo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // empty: a named pipe
    QTest::addColumn<QString>("why");
    const QString noFormat =
            QStringLiteral("no es una imagen de ningún formato que la pizarra sepa leer.");
    QTest::newRow("a PNG's name, not its signature")
            << "broken.png" << QByteArray("\x89PNG not really") << noFormat;
    QTest::newRow("random bytes") << "noise.png" << QByteArray(3000, '\x5a') << noFormat;
    QTest::newRow("a PNG cut in its header")
            << "cut.png" << CraftedPictures::make("png", QSize(40, 30)).left(20)
            << QStringLiteral("está dañada.");
    QTest::newRow("a JPEG cut short")
            << "cut.jpg" << CraftedPictures::make("jpeg", QSize(40, 30)).left(100)
            << QStringLiteral("está dañada.");
    QTest::newRow("a named pipe") << "pipe.png" << QByteArray()
                                  << QStringLiteral(
                                             "falta, o no es un archivo que se pueda abrir.");
}

// A file the picture button cannot read is said by its name, and why: "Error al insertar la
// imagen" told the teacher neither.
void tst_DPageMedia::unreadablePictureSaysSo()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    Board board;
    DPage *page = board.current();
    const QString file = m_files.filePath(name);
    QVERIFY(bytes.isEmpty() ? mkfifo(QFile::encodeName(file).constData(), 0600) == 0
                            : writeBytes(file, bytes));
    const auto removed = qScopeGuard([&file] { QFile::remove(file); });
    MediaFixture::MessageBoxes boxes;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^DPage: picture "));
    auto answered = chooseFile(file);
    page->insertImage(false);
    QVERIFY(*answered);
    QTRY_COMPARE(boxes.seen,
                 QStringList{ QStringLiteral("Atención|No se ha podido leer la imagen «%1»: %2")
                                      .arg(name, why) });
    QCOMPARE(boardObjects(page), 0);
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DPageMedia::pictureButtonKeepsToTheLimits_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("suffix"); // a false name, or the kind's own
    QTest::addColumn<QSize>("taken"); // invalid: nothing placed
    QTest::addColumn<QString>("said"); // the start of the sentence the teacher reads
    QTest::addColumn<QString>("because"); // what it goes on to say, when it matters
    QTest::addColumn<int>("seconds"); // of processor time a decoder may take; 0: as the program
    const QString refused = QStringLiteral("No se ha usado la imagen «");
    const QString smaller = QStringLiteral("La imagen «");
    // Crafted small, each 30000 x 30000 once decoded.
    for (const char *kind : { "png", "png16", "gif", "bmp", "tiff", "webp", "mng", "icns", "ico",
                              "ico-bmp", "cur", "pgm", "ppm", "xpm", "jpeg-progressive" })
        QTest::newRow(qPrintable(QStringLiteral("%1 30000").arg(kind)))
                << kind << 30000 << QString() << QSize() << refused << QString() << 0;
    QTest::newRow("ICNS named .png") << "icns" << 30000 << "png" << QSize() << refused << QString()
                                     << 0;
    QTest::newRow("MNG named .png") << "mng" << 30000 << "png" << QSize() << refused << QString()
                                     << 0;
    QTest::newRow("ICO named .png") << "ico" << 30000 << "png" << QSize() << refused << QString()
                                     << 0;
    QTest::newRow("GIF named .jpg") << "gif" << 30000 << "jpg" << QSize() << refused << QString()
                                     << 0;
    QTest::newRow("WEBP named .bmp") << "webp" << 30000 << "bmp" << QSize() << refused << QString()
                                     << 0;
    // Made smaller by their decoders: JPEG at a quarter, SVG drawn at the largest size.
    QTest::newRow("jpeg 30000") << "jpeg" << 30000 << QString() << QSize(7500, 7500) << smaller
                                << QString() << 0;
    QTest::newRow("svg 30000") << "svg" << 30000 << QString() << QSize(8192, 8192) << smaller
                               << QString() << 0;
    QTest::newRow("SVGZ named .png") << "svgz" << 30000 << "png" << QSize(8192, 8192) << smaller
                                     << QString() << 0;
    // Slightly beyond the limits: decoded whole, then averaged down.
    for (const char *kind : { "png", "tiff", "webp", "svg", "bmp" })
        QTest::newRow(qPrintable(QStringLiteral("%1 9000").arg(kind)))
                << kind << 9000 << QString() << QSize(8192, 8192) << smaller << QString() << 0;
    QTest::newRow("jpeg 9000") << "jpeg" << 9000 << QString() << QSize(4500, 4500) << smaller
                               << QString() << 0;
    // Too large to play: its first picture, still.
    QTest::newRow("animation of 5000") << "gif-animated" << 5000 << QString() << QSize(5000, 5000)
                                       << QStringLiteral("La animación «") << QString() << 0;
    // Read otherwise by their decoders than their headers say: held to the memory measured.
    QTest::newRow("SVG holding a picture of 30000")
            << "svg-holding" << 30000 << QString() << QSize() << refused << "mide 400 x 400" << 0;
    QTest::newRow("SVG holding one behind a space")
            << "svg-holding-spaced" << 30000 << QString() << QSize() << refused
            << "necesitaba más memoria" << 0;
    QTest::newRow("TIFF giving its width twice")
            << "tiff-width-twice" << 16384 << QString() << QSize() << refused
            << "necesitaba más memoria" << 0;
    // Minutes of drawing: ended when its time is up (one second here, not to wait for it).
    QTest::newRow("SVG of 20000 shapes a million wide")
            << "svg-slow" << 1000000 << QString() << QSize() << refused << "demasiado tiempo" << 1;
}

// The picture button reads what it is given once, within the limits a lesson keeps to: beyond
// them nothing is placed, or a smaller copy, and the teacher reads which picture and why.
void tst_DPageMedia::pictureButtonKeepsToTheLimits()
{
    QFETCH(QString, kind);
    QFETCH(int, side);
    QFETCH(QString, suffix);
    QFETCH(QSize, taken);
    QFETCH(QString, said);
    QFETCH(QString, because);
    QFETCH(int, seconds);
    const QString file = CraftedPictures::writeIn(m_files.path(), kind, QSize(side, side),
                                                  QStringLiteral("picture-") + kind, suffix);
    QVERIFY(!file.isEmpty());
    PictureDecoders &decoders = PictureDecoders::instance();
    const auto limits = qScopeGuard([&decoders] {
        decoders.setLimits(PictureDecoders::defaultLimits());
    });
    // Rows of sizes are read whatever the machine's load; the row of time ends at its own.
    PictureDecoders::Limits rowLimits = CraftedPictures::roomyLimits();
    if (seconds > 0)
        rowLimits = { seconds, seconds, PictureDecoders::defaultLimits().budgetBytes };
    decoders.setLimits(rowLimits);
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(file);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^DPage: picture "));
    page->insertImage(false);
    QVERIFY(*answered);
    // Said when it has been read, beside the board.
    QTRY_COMPARE_WITH_TIMEOUT(boxes.seen.size(), 1, 30000);
    const QString name = QFileInfo(file).fileName();
    QVERIFY2(boxes.seen.first().startsWith(QStringLiteral("Atención|") + said + name + "»"),
             qPrintable(boxes.seen.first()));
    QVERIFY2(boxes.seen.first().contains(because), qPrintable(boxes.seen.first()));
    const QList<QGraphicsItem *> pictures = objectsOf(page, ItemTypePixmap);
    if (!taken.isValid()) {
        QCOMPARE(pictures.size(), 0);
        QCOMPARE(page->undoStack()->count(), 0);
        return;
    }
    QCOMPARE(pictures.size(), 1);
    QVERIFY(!dynamic_cast<DGGifItem *>(pictures.first()));
    QCOMPARE(static_cast<DGPixmapItem *>(pictures.first())->pixmap().size(), taken);
    QCOMPARE(page->undoStack()->count(), 1);
}

// A decoder that crashes costs its picture only: the teacher is told, the board goes on
// meanwhile, and the next picture is read by a decoding process started again; so is one put
// in after they were all killed from outside.
void tst_DPageMedia::decoderThatCrashesCostsOnlyItsPicture()
{
    const QString slow = CraftedPictures::writeIn(m_files.path(), "svg-slow",
                                                  QSize(1000000, 1000000), "lento");
    const QString chalk = m_files.filePath("chalk.png");
    QVERIFY(ItemMedia::makePicture(chalk, QSize(80, 50), Qt::darkRed));
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    PictureDecoders &decoders = PictureDecoders::instance();
    const int lost = decoders.lost();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^DPage: picture "));
    auto answered = chooseFile(slow);
    page->insertImage(false);
    QVERIFY(*answered);
    QTRY_VERIFY(!decoders.busy().isEmpty());
    QCOMPARE(::kill(pid_t(decoders.busy().constFirst()), SIGSEGV), 0);
    QTRY_COMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.first(), QStringLiteral("Atención|No se ha usado la imagen «lento.svg»: su "
                                                "lector ha fallado al leerla."));
    QCOMPARE(decoders.lost(), lost + 1);
    QCOMPARE(objectsOf(page, ItemTypePixmap).size(), 0);
    answered = chooseFile(chalk);
    page->insertImage(false);
    QVERIFY(*answered);
    QTRY_COMPARE(objectsOf(page, ItemTypePixmap).size(), 1);
    QCOMPARE(centreColour(objectsOf(page, ItemTypePixmap).first()), QColor(Qt::darkRed));
    // Decoding processes killed from outside while they wait cost no picture either.
    for (const qint64 process : CraftedPictures::runningDecoders())
        ::kill(pid_t(process), SIGKILL);
    boxes.seen.clear();
    answered = chooseFile(chalk);
    page->insertImage(false);
    QVERIFY(*answered);
    QTRY_COMPARE(objectsOf(page, ItemTypePixmap).size(), 2);
    QCOMPARE(boxes.seen, QStringList());
}

void tst_DPageMedia::pictureLinksStayInTheirFolder_data()
{
    // An SVG that links a picture (CraftedPictures::writeLinking; %home: the teacher's folder,
    // CraftedPictures::makeFontsHome), and why that is left out ("" when it shows).
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("why");
    const QString outside = QStringLiteral("está fuera de la carpeta de la imagen");
    QTest::newRow("beside it") << "red.png" << QString();
    QTest::newRow("absolute, outside") << "%root/secret/red.png" << outside;
    QTest::newRow("up and out") << "../secret/red.png" << outside;
    QTest::newRow("a link leading out") << "out" << outside;
    QTest::newRow("a named pipe") << "pipe" << QStringLiteral("es una tubería, no un archivo");
    QTest::newRow("~/.fonts") << "%home/.fonts/red.png"
                              << QStringLiteral("está en una carpeta de tipos de letra");
    QTest::newRow("/proc/self") << "/proc/self/environ"
                                << QStringLiteral(
                                           "está en una carpeta del sistema (/proc, /sys o /dev)");
}

// A picture put in shows nothing its links name outside its folder, and never waits on them:
// a picture of the teacher's own was shown, and saved with the lesson. What it shows without is
// said, once.
void tst_DPageMedia::pictureLinksStayInTheirFolder()
{
    QFETCH(QString, href);
    QFETCH(QString, why);
    QTemporaryDir root;
    href.replace(QStringLiteral("%home"), m_home.path());
    const QString svg = CraftedPictures::writeLinking(root.path(), href);
    QVERIFY(!svg.isEmpty());
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(svg);
    if (!why.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^DPage: picture "));
    page->insertImage(false);
    QVERIFY(*answered);
    QTRY_COMPARE(objectsOf(page, ItemTypePixmap).size(), 1);
    const QStringList said = why.isEmpty()
            ? QStringList()
            : QStringList{ QStringLiteral("Atención|La imagen «linking.svg» se muestra sin «%1», "
                                          "que enlaza: %2.")
                                   .arg(QFileInfo(href).fileName(), why) };
    QTRY_COMPARE_WITH_TIMEOUT(boxes.seen, said, 60000);
    const QImage picture = static_cast<DGPixmapItem *>(objectsOf(page, ItemTypePixmap).first())
                                   ->pixmap()
                                   .toImage();
    QCOMPARE(picture.size(), QSize(20, 10));
    QCOMPARE(QColor(picture.pixel(5, 5)), why.isEmpty() ? QColor(Qt::red) : QColor(Qt::white));
    QCOMPARE(QColor(picture.pixel(15, 5)), QColor(Qt::white));
}

void tst_DPageMedia::deepPicturesFromTheButton_data()
{
    QTest::addColumn<QString>("kind"); // of CraftedPictures::kDeepKinds
    QTest::addColumn<QSize>("size");
    // A blue disc on transparency as a camera app saves it was "Error al insertar la imagen".
    QTest::newRow("transparent, 5000 x 3500") << "png-alpha" << QSize(5000, 3500);
    QTest::newRow("transparent, 4096 x 4096") << "png-alpha" << QSize(4096, 4096);
    QTest::newRow("16 bits, transparent, 16384 x 4096") << "png16-alpha" << QSize(16384, 4096);
    QTest::newRow("16 bits, 16384 x 4096") << "png16-opaque" << QSize(16384, 4096);
}

// Every picture within the board's limits comes on the board whole from the picture button,
// whatever its channels and depth, as it is, and nothing is said of it.
void tst_DPageMedia::deepPicturesFromTheButton()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    const CraftedPictures::RoomyLimits roomy; // of sizes, not of time
    const QString file = CraftedPictures::writeIn(m_files.path(), kind, size, kind);
    QVERIFY(!file.isEmpty());
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(file);
    page->insertImage(false);
    QVERIFY(*answered);
    QTRY_COMPARE_WITH_TIMEOUT(objectsOf(page, ItemTypePixmap).size() + boxes.seen.size(), 1, 30000);
    QCOMPARE(boxes.seen, QStringList());
    const QImage picture = static_cast<DGPixmapItem *>(objectsOf(page, ItemTypePixmap).first())
                                   ->pixmap()
                                   .toImage();
    QCOMPARE(picture.size(), size);
    for (const int x : { 0, 3, size.width() / 3, size.width() - 1 }) {
        const QRgb expected = CraftedPictures::deepPixel(kind, size, x);
        const QRgb seen = picture.pixel(x, size.height() - 1);
        QVERIFY2(qAbs(qBlue(seen) - qBlue(expected)) <= 1
                         && qAbs(qAlpha(seen) - qAlpha(expected)) <= 1,
                 qPrintable(QStringLiteral("%1: %2 for %3")
                                    .arg(x)
                                    .arg(seen, 8, 16)
                                    .arg(expected, 8, 16)));
    }
}

void tst_DPageMedia::photosFromTheButtonStandUpright_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("littleEndian"); // the EXIF block's byte order
    // A phone held upright stores its photo a quarter turned (6), and says so.
    for (int orientation = 1; orientation <= 8; ++orientation)
        QTest::newRow(qPrintable(QStringLiteral("orientation %1").arg(orientation)))
                << orientation << (orientation % 2 == 0);
}

// A photo stored turned or mirrored comes on the board as it is seen, at the size it is seen,
// whole and in the smaller copies the board shows it by: as the same photo stored upright.
void tst_DPageMedia::photosFromTheButtonStandUpright()
{
    QFETCH(int, orientation);
    QFETCH(bool, littleEndian);
    const QSize seen(96, 64);
    const QImage photo = OrientedPhotos::upright(seen);
    const QString file = m_files.filePath(QStringLiteral("photo-%1.jpg").arg(orientation));
    QVERIFY(writeBytes(file, OrientedPhotos::jpeg(photo, orientation, littleEndian)));
    const QImage expected = OrientedPhotos::decoded(OrientedPhotos::jpeg(photo, 1));
    QCOMPARE(expected.size(), seen);
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(file);
    page->insertImage(false);
    QVERIFY(*answered);
    QTRY_COMPARE_WITH_TIMEOUT(objectsOf(page, ItemTypePixmap).size() + boxes.seen.size(), 1, 30000);
    QCOMPARE(boxes.seen, QStringList());
    auto *picture = static_cast<DGPixmapItem *>(objectsOf(page, ItemTypePixmap).first());
    QCOMPARE(picture->pictureSize(), seen);
    const QImage whole = picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const int off = OrientedPhotos::difference(whole, expected);
    QVERIFY2(off >= 0 && off <= OrientedPhotos::kJpegTolerance, qPrintable(QString::number(off)));
    // Averaged down to half in its decoding process, as the board asks for it zoomed out.
    const std::shared_ptr<HeldPicture> &held = picture->picture();
    const QImage half =
            PictureReading::readReduced(PictureReading::Source{ held->file(), held->linkRoot() },
                                        held->probe(), 1)
                    .image.convertToFormat(QImage::Format_RGB32);
    const QImage expectedHalf =
            expected.scaled(seen / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int halfOff = OrientedPhotos::difference(half, expectedHalf);
    QVERIFY2(halfOff >= 0 && halfOff <= OrientedPhotos::kJpegTolerance,
             qPrintable(QString::number(halfOff)));
}

void tst_DPageMedia::pdfPagesBecomePictures_data()
{
    QTest::addColumn<QList<QColor>>("colours");
    QTest::addColumn<QSizeF>("points"); // of each page
    const QSizeF a7 = QPageSize(QPageSize::A7).size(QPageSize::Point);
    QTest::newRow("two pages") << QList<QColor>{ Qt::red, Qt::blue } << a7;
    // Numbered with two digits by the converter, and still taken in page order.
    QTest::newRow("twelve pages") << pageColours(12) << a7;
    // 30000 pixels a side at the converter's own resolution: made at a lower one.
    QTest::newRow("a page of 200 inches") << QList<QColor>{ Qt::darkGreen } << QSizeF(14400, 14400);
}

void tst_DPageMedia::pdfPagesBecomePictures()
{
    QFETCH(QList<QColor>, colours);
    QFETCH(QSizeF, points);
    // Files of an earlier import's name, here and beside the document, are not pages.
    QVERIFY(writeBytes("tempFilePng-3.png", "left over"));
    QVERIFY(writeBytes(m_files.filePath("tempFilePng-2.png"), "left over"));
    m_before = currentDirectory();
    const QString file = m_files.filePath("pages; $(touch x).pdf");
    QVERIFY(writePdf(file, colours, QPageSize(points, QPageSize::Point)));
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(file);
    page->insertImage(true);
    QVERIFY(*answered);
    QCOMPARE(boxes.seen, QStringList());
    const QList<QGraphicsItem *> pictures = objectsOf(page, ItemTypePixmap);
    QCOMPARE(pictures.size(), colours.size());
    for (int i = 0; i < colours.size(); ++i) {
        QVERIFY(PictureReading::fits(static_cast<DGPixmapItem *>(pictures.at(i))->pixmap().size()));
        const QColor seen = centreColour(pictures.at(i));
        QVERIFY2(sameColour(seen, colours.at(i)),
                 qPrintable(QStringLiteral("page %1 is %2").arg(i + 1).arg(seen.name())));
    }
    QCOMPARE(page->undoStack()->count(), colours.size());
    QVERIFY(!QFile::exists("x"));
    QVERIFY(QFile::remove("tempFilePng-3.png"));
    m_before = currentDirectory();
}

void tst_DPageMedia::pdfImportGoesPageByPage_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<QSizeF>("points"); // of each page
    QTest::addColumn<FakeConverter>("fake");
    QTest::addColumn<int>("pageTimeoutMs");
    QTest::addColumn<int>("lessonObjects");
    QTest::addColumn<QSize>("held"); // a picture on the page before the import
    QTest::addColumn<QList<int>>("imported");
    QTest::addColumn<QStringList>("said"); // in the one message, beside the file's name
    QTest::addColumn<bool>("together"); // ranges of pages on several runs at once
    const QSizeF a7 = QPageSize(QPageSize::A7).size(QPageSize::Point);
    const QSizeF a5 = QPageSize(QPageSize::A5).size(QPageSize::Point);
    const int many = 50000;
    const int processors = Cores::usable();
    FakeConverter slow;
    slow.delay = QStringLiteral("0.25");
    QTest::newRow("longer together than a page may take")
            << 12 << a7 << slow << 2500 << many << QSize()
            << QList<int>{ 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 } << QStringList() << false;
    FakeConverter failing;
    failing.fail = QStringLiteral("3");
    QTest::newRow("a page the converter fails")
            << 5 << a7 << failing << 30000 << many << QSize() << QList<int>{ 1, 2, 4, 5 }
            << QStringList{ "Se han importado 4 de las 5 páginas de «",
                            "Página 3: el programa de conversión no ha podido convertirla "
                            "(«Syntax Error: page broken»)." } << false;
    FakeConverter hanging;
    hanging.hang = QStringLiteral("2");
    QTest::newRow("a page out of time")
            << 4 << a7 << hanging << 2000 << many << QSize() << QList<int>{ 1, 3, 4 }
            << QStringList{ "Se han importado 3 de las 4 páginas de «",
                            "Página 2: convertirla ha tardado más de 2 segundos y se ha dejado." } << false;
    FakeConverter crashing;
    crashing.crash = QStringLiteral("4");
    QTest::newRow("a page that crashes the converter")
            << 5 << a7 << crashing << 30000 << many << QSize() << QList<int>{ 1, 2, 3, 5 }
            << QStringList{ "Página 4: el programa de conversión se ha detenido por un fallo al "
                            "convertirla." } << false;
    FakeConverter unreadable;
    unreadable.broken = QStringLiteral("2");
    QTest::newRow("a page whose picture cannot be read")
            << 3 << a7 << unreadable << 30000 << many << QSize() << QList<int>{ 1, 3 }
            << QStringList{ "Se han importado 2 de las 3 páginas de «",
                            ".pdf, página 2»: no es una imagen de ningún formato que la pizarra "
                            "sepa leer." } << false;
    FakeConverter stuck;
    stuck.hang = QStringLiteral("2 3 4");
    QTest::newRow("pages out of time one after another")
            << 6 << a7 << stuck << 1500 << many << QSize() << QList<int>{ 1 }
            << QStringList{ "Página 2: convertirla", "Página 4: convertirla",
                            "Las páginas 5 a 6 no se han importado: las 3 páginas anteriores "
                            "tardaron cada una más de 2 segundos en convertirse." } << false;
    // Every page comes in, whatever their pictures would take decoded all together (held as
    // their files, they are decoded when shown).
    QTest::newRow("beside a picture the lesson holds")
            << 6 << a5 << FakeConverter() << 30000 << many << QSize(1000, 1000)
            << QList<int>{ 1, 2, 3, 4, 5, 6 } << QStringList() << false;
    QTest::newRow("more objects than a lesson may hold")
            << 5 << a7 << FakeConverter() << 30000 << 4 << QSize(10, 10)
            << QList<int>{ 1, 2, 3 }
            << QStringList{ "Las páginas 4 a 5 no se han importado: la lección tendría "
                            "más objetos de los que admite la pizarra (4)." } << false;
    // A document of many pages goes on ranges of pages, several runs at once; a page that fails
    // in the middle of one is said, and the pages after it in its range still come in.
    FakeConverter amongMany;
    amongMany.delay = QStringLiteral("0.02");
    amongMany.fail = QStringLiteral("5");
    QList<int> allBut5;
    for (int page = 1; page <= 10 * processors; ++page) {
        if (page != 5)
            allBut5 << page;
    }
    QTest::newRow("a page the converter fails among many")
            << 10 * processors << a7 << amongMany << 30000 << many << QSize() << allBut5
            << QStringList{ QStringLiteral("Se han importado %1 de las %2 páginas de «")
                                    .arg(10 * processors - 1)
                                    .arg(10 * processors),
                            "Página 5: el programa de conversión no ha podido convertirla "
                            "(«Syntax Error: page broken»)." }
            << true;
}

// However long the whole document takes, each page is converted on its own, within its own
// time; a page that cannot be made costs that page only, and the pages together stay within
// what the lesson may hold. The teacher reads one message, naming the file and each reason.
void tst_DPageMedia::pdfImportGoesPageByPage()
{
    QFETCH(int, pages);
    QFETCH(QSizeF, points);
    QFETCH(FakeConverter, fake);
    QFETCH(int, pageTimeoutMs);
    QFETCH(int, lessonObjects);
    QFETCH(QSize, held);
    QFETCH(QList<int>, imported);
    QFETCH(QStringList, said);
    QFETCH(bool, together);
    QTemporaryDir dir;
    const QString bin = writeFakeConverter(dir.path(), fake);
    QVERIFY(!bin.isEmpty());
    qputenv("PATH", QFile::encodeName(bin) + ':' + m_path);
    const QList<QColor> colours = pageColours(pages);
    const QString file = dir.filePath("lesson pages.pdf");
    QVERIFY(writePdf(file, colours, QPageSize(points, QPageSize::Point)));
    Board board;
    DPage *page = board.current();
    PdfImport::Limits limits;
    limits.pageTimeoutMs = pageTimeoutMs;
    limits.lessonObjects = lessonObjects;
    page->setPdfLimits(limits);
    if (held.isValid()) {
        const QString picture = dir.filePath("held.png");
        QVERIFY(ItemMedia::makePicture(picture, held, Qt::black));
        auto answered = chooseFile(picture);
        page->insertImage(false);
        QVERIFY(*answered);
        QVERIFY(TestSupport::picturesCome());
    }
    const int before = page->undoStack()->count();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(file);
    if (!said.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^DPage: PDF import of "));
    page->insertImage(true);
    QVERIFY(*answered);

    QList<QGraphicsItem *> pictures = objectsOf(page, ItemTypePixmap);
    if (held.isValid())
        pictures.removeFirst();
    QCOMPARE(pictures.size(), imported.size());
    for (int i = 0; i < imported.size(); ++i) {
        const QColor seen = centreColour(pictures.at(i));
        QVERIFY2(sameColour(seen, colours.at(imported.at(i) - 1)),
                 qPrintable(QStringLiteral("picture %1 is %2, not page %3")
                                    .arg(i + 1)
                                    .arg(seen.name())
                                    .arg(imported.at(i))));
    }
    QCOMPARE(page->undoStack()->count() - before, imported.size());
    const QList<ConverterRun> runs = converterRuns(bin);
    // Never more runs at once than processors.
    if (together) {
        QVERIFY(mostAtOnce(runs) <= Cores::usable());
        QVERIFY2(runs.size() < pages, qPrintable(QString::number(runs.size())));
        if (Cores::usable() > 1)
            QVERIFY(mostAtOnce(runs) > 1);
    }
    if (said.isEmpty()) {
        QCOMPARE(boxes.seen, QStringList());
        return;
    }
    QCOMPARE(boxes.seen.size(), 1);
    const QString text = boxes.seen.first();
    QVERIFY2(text.contains("«lesson pages.pdf»"), qPrintable(text));
    for (const QString &part : said)
        QVERIFY2(text.contains(part), qPrintable(text));
}

// A long import shows its progress, moving page by page, and the program's own timers run
// meanwhile: the window paints while the converter works.
void tst_DPageMedia::pdfImportShowsItsProgress()
{
    QTemporaryDir dir;
    FakeConverter slow;
    slow.delay = QStringLiteral("0.3");
    const QString bin = writeFakeConverter(dir.path(), slow);
    QVERIFY(!bin.isEmpty());
    qputenv("PATH", QFile::encodeName(bin) + ':' + m_path);
    // Eight pages for each converter run at once.
    const int pages = 8 * Cores::usable();
    const QString file = dir.filePath("slow.pdf");
    QVERIFY(writePdf(file, pageColours(pages)));
    Board board;
    DPage *page = board.current();
    bool importing = false;
    int ticks = 0;
    QList<int> shown; // the values the bar showed, each once
    QTimer watch;
    watch.setInterval(20);
    connect(&watch, &QTimer::timeout, this, [&] {
        if (!importing)
            return;
        ++ticks;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *bar = qobject_cast<QProgressDialog *>(widget);
            if (bar && bar->isVisible() && (shown.isEmpty() || shown.last() != bar->value()))
                shown << bar->value();
        }
    });
    watch.start();
    auto answered = chooseFile(file, [&importing] { importing = true; });
    page->insertImage(true);
    importing = false;
    QVERIFY(*answered);
    QCOMPARE(objectsOf(page, ItemTypePixmap).size(), pages);
    // At 0.3 s a page the import lasts 2.4 s or more: the timer ran all along.
    QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));
    QVERIFY2(shown.size() >= 3,
             qPrintable(QStringLiteral("bar values seen: %1").arg(shown.size())));
    QVERIFY(std::is_sorted(shown.cbegin(), shown.cend()));
    QVERIFY(shown.first() < pages); // seen while the pages came, not only at the end
}

// A Cancel pressed on the bar stops the import between two pages: the pages already in stay,
// each whole and undoable, and nothing is left of the rest, neither a converter running nor a
// file.
void tst_DPageMedia::pdfImportCancelled()
{
    QTemporaryDir dir;
    FakeConverter slow;
    slow.delay = QStringLiteral("0.3");
    const QString bin = writeFakeConverter(dir.path(), slow);
    QVERIFY(!bin.isEmpty());
    qputenv("PATH", QFile::encodeName(bin) + ':' + m_path);
    // Ten pages for each run at once: three seconds or more, the bar showing after 0.7.
    const int pages = 10 * Cores::usable();
    const QList<QColor> colours = pageColours(pages);
    const QString file = dir.filePath("long.pdf");
    QVERIFY(writePdf(file, colours));
    // The import's own folder is made here: it must be gone after.
    HeldPictures::keptFolder();
    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    int inAtClick = -1;
    QTimer watch;
    watch.setInterval(20);
    connect(&watch, &QTimer::timeout, this, [&] {
        if (inAtClick >= 0 || objectsOf(page, ItemTypePixmap).size() < 2)
            return;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *bar = qobject_cast<QProgressDialog *>(widget);
            if (!bar || !bar->isVisible())
                continue;
            for (QPushButton *button : bar->findChildren<QPushButton *>()) {
                if (button->text() == QLatin1String("Cancelar") && button->isVisible()) {
                    inAtClick = objectsOf(page, ItemTypePixmap).size();
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
            }
        }
    });
    watch.start();
    auto answered = chooseFile(file);
    page->insertImage(true);
    watch.stop();
    qputenv("TMPDIR", tmpdir);
    QVERIFY(*answered);
    QVERIFY2(inAtClick >= 2, "no Cancel pressed while the pages came");
    QVERIFY2(inAtClick < pages, qPrintable(QString::number(inAtClick)));
    // The pages in when it was pressed stay, in order, each a whole page, each its own step.
    const QList<QGraphicsItem *> pictures = objectsOf(page, ItemTypePixmap);
    QCOMPARE(pictures.size(), inAtClick);
    for (int i = 0; i < pictures.size(); ++i) {
        const QImage image = static_cast<DGPixmapItem *>(pictures.at(i))->pixmap().toImage();
        QCOMPARE(image.size(), static_cast<DGPixmapItem *>(pictures.first())->pixmap().size());
        QVERIFY2(sameColour(centreColour(pictures.at(i)), colours.at(i)),
                 qPrintable(QStringLiteral("page %1").arg(i + 1)));
    }
    QCOMPARE(page->undoStack()->count(), inAtClick);
    QCOMPARE(boxes.seen, QStringList());
    // No converter goes on, and the pages it was making left nothing behind.
    QCOMPARE(processesOn(file), QList<qint64>());
    for (const ConverterRun &run : converterRuns(bin))
        QVERIFY(!running(run.pid));
    QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    page->setUndo();
    QCOMPARE(objectsOf(page, ItemTypePixmap).size(), inAtClick - 1);
}

void tst_DPageMedia::unimportablePdfSaysWhy_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: a real PDF of two pages
    QTest::addColumn<bool>("converterMissing");
    QTest::addColumn<QString>("why");
    QTest::newRow("damaged") << QByteArray("%PDF-1.4\nnothing else\n") << false
                             << "no se puede leer como documento PDF: está dañado, protegido "
                                "con contraseña o no es un PDF.";
    QTest::newRow("no converter installed")
            << QByteArray() << true
            << "falta el programa «pdfinfo», con el que se leen sus páginas (paquete "
               "poppler-utils).";
}

// A file of which nothing can be imported is named, with why.
void tst_DPageMedia::unimportablePdfSaysWhy()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, converterMissing);
    QFETCH(QString, why);
    const QString file = m_files.filePath("worksheet.pdf");
    if (bytes.isEmpty())
        QVERIFY(writePdf(file, { Qt::red, Qt::blue }));
    else
        QVERIFY(writeBytes(file, bytes));
    QTemporaryDir nothing;
    if (converterMissing)
        qputenv("PATH", QFile::encodeName(nothing.path()));
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(file);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^DPage: PDF import of .*worksheet"));
    page->insertImage(true);
    QVERIFY(*answered);
    QCOMPARE(boxes.seen,
             QStringList{ QStringLiteral("Atención|No se ha podido importar «worksheet.pdf»: ")
                          + why });
    QCOMPARE(boardObjects(page), 0);
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DPageMedia::countFiles_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<int>("count");
    QTest::newRow("missing folder") << QStringList() << QStringList() << 0;
    QTest::newRow("pages") << QStringList{ "tempFilePng-1.png", "tempFilePng-2.png", "other.png" }
                           << QStringList() << 2;
    QTest::newRow("base name up to the first dot")
            << QStringList{ "a.tempFilePng.png", "xtempFilePngx.jpg", "tempfilepng-1.png" }
            << QStringList() << 1;
    QTest::newRow("folders and hidden entries")
            << QStringList{ ".tempFilePng" } << QStringList{ "tempFilePng-dir" } << 1;
}

void tst_DPageMedia::countFiles()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(int, count);
    QTemporaryDir dir;
    const QString root = files.isEmpty() && folders.isEmpty() ? dir.filePath("absent") : dir.path();
    for (const QString &name : files)
        QVERIFY(writeBytes(dir.filePath(name), "x"));
    for (const QString &name : folders)
        QVERIFY(QDir(dir.path()).mkdir(name));
    QCOMPARE(DPage::CountFiles(root, QStringLiteral("tempFilePng")), count);
}

void tst_DPageMedia::videoAtTheAnchor()
{
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    // ffmpeg reads what the file holds, whatever its name says.
    const QString file = m_files.filePath("lesson.mp4");
    const QString made = ContentMedia::makeClip(m_files.filePath("lesson.ogv"), 2);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    QVERIFY(QFile::rename(m_files.filePath("lesson.ogv"), file));
    Board board;
    DPage *page = board.current();
    page->zoomPage(1.1f);
    board.view()->setPenType(BtMenus::btPencil, 255, QString());
    auto answered = chooseFile(file);
    page->insertVideo();
    QVERIFY(*answered);
    const QList<QGraphicsItem *> videos = objectsOf(page, ItemTypeVideo);
    QCOMPARE(videos.size(), 1);
    const DView *view = board.view();
    const QPointF anchor =
            view->mapToScene(QPoint((view->width() - 1) / 2 - 180, (view->height() - 1) / 2 - 100));
    QCOMPARE(page->mediaAnchor(), anchor);
    QCOMPARE(videos.first()->pos(), anchor);
    QVERIFY(!static_cast<DGVideoItem *>(videos.first())->toPixmap().isNull());
    QCOMPARE(view->getPenType(PenUserMain), BtMenus::btSelect);
    page->setUndo();
    QCOMPARE(boardObjects(page), 0);
}

void tst_DPageMedia::vanishedVideoSaysSo()
{
    const QString file = m_files.filePath("gone.mp4");
    QVERIFY(writeBytes(file, "not for long"));
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(file, [file]() { QFile::remove(file); });
    page->insertVideo();
    QVERIFY(*answered);
    QCOMPARE(boxes.seen, QStringList{ QString::fromUtf8("Atención|Error al insertar el vídeo") });
    QCOMPARE(boardObjects(page), 0);
}

void tst_DPageMedia::soundAtTheAnchor()
{
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    const QString file = m_files.filePath("bell.mp3");
    const QString made = ContentMedia::makeSound(file, 500);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    Board board;
    DPage *page = board.current();
    auto answered = chooseFile(file);
    page->insertSound();
    QVERIFY(*answered);
    const QList<QGraphicsItem *> sounds = objectsOf(page, ItemTypeSound);
    QCOMPARE(sounds.size(), 1);
    QCOMPARE(sounds.first()->pos(), page->mediaAnchor());
    page->setUndo();
    QCOMPARE(boardObjects(page), 0);
}

void tst_DPageMedia::unplayableFileSaysSoAndPlacesNothing_data()
{
    QTest::addColumn<bool>("video");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("randomBytes"); // else a silent picture clip
    QTest::newRow("video: random bytes") << true << "lesson.mp4" << true;
    QTest::newRow("sound: random bytes") << false << "bell.mp3" << true;
    QTest::newRow("sound: a clip without sound") << false << "silent.mp3" << false;
}

void tst_DPageMedia::unplayableFileSaysSoAndPlacesNothing()
{
    QFETCH(bool, video);
    QFETCH(QString, name);
    QFETCH(bool, randomBytes);
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    const QString file = m_files.filePath(name);
    if (randomBytes) {
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        QVERIFY(writeBytes(file, noise));
    } else {
        const QString made = ContentMedia::makeClip(m_files.filePath("silent.ogv"));
        QVERIFY2(made.isEmpty(), qPrintable(made));
        QFile::remove(file);
        QVERIFY(QFile::rename(m_files.filePath("silent.ogv"), file));
    }
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    auto answered = chooseFile(file);
    if (video)
        page->insertVideo();
    else
        page->insertSound();
    QVERIFY(*answered);
    QCOMPARE(boxes.seen,
             QStringList{ QString::fromUtf8("Atención|No se puede reproducir este archivo") });
    QCOMPARE(boardObjects(page), 0);
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DPageMedia::galleryDrop_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("picture") << "0"
                             << "picture"
                             << "" << int(ItemTypePixmap) << QStringList();
    QTest::newRow("gallery picture") << "0"
                                     << ":/Icon/baVideoRecord_record.png"
                                     << "" << int(ItemTypePixmap) << QStringList();
    // Stored a quarter turned, as a phone stores it: dropped as it is seen.
    QTest::newRow("photo stored turned") << "0"
                                         << "photo"
                                         << "" << int(ItemTypePixmap) << QStringList();
    QTest::newRow("word") << "1"
                          << ""
                          << "Mar & <río>" << int(ItemTypeText) << QStringList();
    QTest::newRow("page") << "2"
                          << ""
                          << "" << 0 << QStringList();
    QTest::newRow("not a number") << "x"
                                  << "picture"
                                  << "" << int(ItemTypePixmap) << QStringList();
    QTest::newRow("unreadable picture")
            << "0"
            << "missing.png"
            << "" << 0
            << QStringList{ QStringLiteral("Atención|No se ha podido leer la imagen «missing.png»: "
                                           "falta, o no es un archivo que se pueda abrir.") };
    QTest::newRow("picture beyond the limits")
            << "0"
            << "huge"
            << "" << 0
            << QStringList{ QStringLiteral(
                       "Atención|No se ha usado la imagen «huge.png»: mide 30000 x 30000 "
                       "píxeles, y la pizarra admite como mucho 16384 píxeles por lado y 67 "
                       "millones de píxeles.") };
}

void tst_DPageMedia::galleryDrop()
{
    QFETCH(QString, kind);
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(QStringList, messages);
    if (file == QLatin1String("picture")) {
        file = m_files.filePath("tile.png");
        QVERIFY(ItemMedia::makePicture(file, QSize(75, 41), Qt::darkCyan));
    } else if (file == QLatin1String("huge")) {
        file = CraftedPictures::writeIn(m_files.path(), "png", QSize(30000, 30000), file);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^DPage: picture "));
    }
    const QImage photo = OrientedPhotos::upright(QSize(96, 64));
    const bool turned = file == QLatin1String("photo");
    if (turned) {
        file = m_files.filePath("photo.jpg");
        QVERIFY(writeBytes(file, OrientedPhotos::jpeg(photo, 6)));
    }
    Board board;
    DPage *page = board.current();
    page->zoomPage(1.1f);
    board.view()->centerOn(400, 300);
    const QPoint at(333, 222);
    const QPointF scenePoint = board.view()->mapToScene(at);

    QMimeData mime;
    const QByteArray payload = DLabel::dragPayload(kind, file, text);
    QCOMPARE(GalleryFixture::decodePayload(payload).fields, (QStringList{ kind, file, text }));
    mime.setData(QLatin1String(DLabel::kMimeType), payload);
    MediaFixture::MessageBoxes boxes;
    dropOnView(board.view(), &mime, at);
    // A picture is read beside the board: placed, or said, when it comes.
    QTRY_COMPARE(PictureReading::pending(), 0);
    QCOMPARE(boxes.seen, messages);

    if (type == 0) {
        QCOMPARE(boardObjects(page), 0);
        return;
    }
    const QList<QGraphicsItem *> added = objectsOf(page, type);
    QCOMPARE(added.size(), 1);
    if (type == ItemTypePixmap) {
        const QPixmap pixmap = static_cast<DGPixmapItem *>(added.first())->pixmap();
        QCOMPARE(added.first()->pos(),
                 scenePoint - QPointF(pixmap.width() / 2, pixmap.height() / 2));
        if (turned) {
            const int off = OrientedPhotos::difference(
                    pixmap.toImage().convertToFormat(QImage::Format_RGB32),
                    OrientedPhotos::decoded(OrientedPhotos::jpeg(photo, 1)));
            QVERIFY2(off >= 0 && off <= OrientedPhotos::kJpegTolerance,
                     qPrintable(QString::number(off)));
        }
    } else {
        const auto *word = static_cast<DGTextItem *>(added.first());
        QCOMPARE(word->pos(), scenePoint);
        QCOMPARE(word->toPlainText(), text);
        QCOMPARE(word->font().pointSize(), 25);
    }
    page->setUndo();
    QCOMPARE(boardObjects(page), 0);
}

void tst_DPageMedia::foreignDropIsRefused()
{
    Board board;
    DPage *page = board.current();
    QMimeData mime;
    mime.setText(QStringLiteral("file:///etc/passwd"));
    QDragMoveEvent move(QPoint(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(board.view()->viewport(), &move);
    QVERIFY(!move.isAccepted());
    // Bytes that are not a whole payload are not read as an empty picture.
    mime.setData(QLatin1String(DLabel::kMimeType), QByteArray("\0\0", 2));
    dropOnView(board.view(), &mime, QPoint(300, 300));
    QCOMPARE(boardObjects(page), 0);
}

void tst_DPageMedia::flashFileHandedOver()
{
    QTemporaryDir app;
    Board board;
    DPage *page = board.current();
    page->setApplicationDir(app.path());
    RectObject *audio = addRect(page, QRectF(0, 0, 30, 30), QPointF(10, 10));
    audio->setData(11, QStringLiteral("/media/song.mp3"));
    audio->setSelected(true);
    page->playAV();
    const QString config = app.filePath("Sys/Config.ini");
    QVERIFY(!QFile::exists(config));
    RectObject *flash = addRect(page, QRectF(0, 0, 30, 30), QPointF(60, 10));
    flash->setData(11, QStringLiteral("/media/game.SWF"));
    flash->setSelected(true);
    page->playAV();
    QVERIFY(!QFile::exists(config)); // the suffix is compared as written
    flash->setData(11, QStringLiteral("/media/juego de letras.swf"));
    page->playAV();
    QSettings written(config, QSettings::IniFormat);
    QCOMPARE(written.value("System/FlashFilePathName").toString(),
             QStringLiteral("/media/juego de letras.swf"));
}

void tst_DPageMedia::lastRecordingPrepared()
{
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    QTemporaryDir app;
    Board board;
    DPage *page = board.current();
    DScreenRecord *recorder = DScreenRecord::shared(board.window());
    recorder->setApplicationDir(app.path());
    recorder->m_fileName.clear();
    MediaFixture::MessageBoxes boxes;

    page->playRecorder(); // nothing recorded: nothing to prepare
    QVERIFY(!QFile::exists(app.filePath("out.avi")));

    const QString made = ContentMedia::makeClip(app.filePath("out.ogv"), 1);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    page->playRecorder();
    QCOMPARE(recorder->m_fileName, app.filePath("out.avi"));
    QFile avi(app.filePath("out.avi"));
    QVERIFY(avi.open(QIODevice::ReadOnly));
    const QByteArray head = avi.read(12);
    QVERIFY(head.startsWith("RIFF") && head.endsWith("AVI ")); // a real AVI, not a renamed Ogg
    avi.close();

    // A saved recording that still exists is left as it is.
    QVERIFY(writeBytes(app.filePath("out.ogv"), "damaged"));
    page->playRecorder();
    QCOMPARE(boxes.seen, QStringList());

    // Once it is gone the damaged recording cannot be prepared: said, and no name kept.
    QVERIFY(QFile::remove(app.filePath("out.avi")));
    recorder->m_fileName = app.filePath("elsewhere.avi");
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("^DPage: cannot prepare the last recording"));
    page->playRecorder();
    QCOMPARE(boxes.seen,
             QStringList{ QString::fromUtf8("Atención|Error al guardar la grabación") });
    QCOMPARE(recorder->m_fileName, app.filePath("elsewhere.avi"));
    QVERIFY(!QFile::exists(app.filePath("out.avi")));
    delete recorder;
}

void tst_DPageMedia::activitiesProgram()
{
    QTemporaryDir app;
    qint64 pid = 0;
    {
        Board board;
        DPage *page = board.current();
        page->setApplicationDir(app.path());
        {
            MediaFixture::MessageBoxes boxes;
            page->insertActivities();
            QCOMPARE(boxes.seen,
                     QStringList{ QString::fromUtf8(
                             "Atención|No se ha encontrado el programa de actividades") });
            QVERIFY(!page->activitiesProcess());
        }
        QVERIFY(QDir(app.path()).mkdir("GENERADORES"));
        const QString log = app.filePath("activities.log");
        QVERIFY(MediaFixture::writeFakeProgram(app.filePath("GENERADORES/GeneradorBrowser"), log));
        page->insertActivities();
        QVERIFY(page->activitiesProcess());
        QTRY_COMPARE(MediaFixture::loggedLines(log), QStringList{ "0|" });
        pid = page->activitiesProcess()->processId();
        QVERIFY(running(pid));
        // While it runs, the button does not start a second one.
        page->insertActivities();
        QCOMPARE(page->activitiesProcess()->processId(), pid);
        QTest::qWait(100);
        QCOMPARE(MediaFixture::loggedLines(log), QStringList{ "0|" });
    }
    // The page that started it stopped it as it went.
    QVERIFY(!running(pid));
}

void tst_DPageMedia::browserRestartsOnlyItsOwn()
{
    QTemporaryDir bin;
    const QString log = bin.filePath("browser.log");
    QVERIFY(MediaFixture::writeFakeProgram(bin.filePath("firefox"), log));
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + m_path);
    // The teacher's own browser, started before and apart from the board.
    QProcess own;
    own.start(bin.filePath("firefox"), { QStringLiteral("--own") });
    QVERIFY(own.waitForStarted(5000));
    QTRY_COMPARE(MediaFixture::loggedLines(log).size(), 1);

    Board board;
    DPage *page = board.current();
    page->insertBrowser();
    QVERIFY(page->browserProcess());
    const qint64 first = page->browserProcess()->processId();
    QTRY_COMPARE(MediaFixture::loggedLines(log).size(), 2);
    QCOMPARE(MediaFixture::loggedLines(log).at(1), "1|" + DPage::browserStartPage());

    page->insertBrowser();
    QTRY_COMPARE(MediaFixture::loggedLines(log).size(), 3);
    QCOMPARE(MediaFixture::loggedLines(log).at(2), "1|" + DPage::browserStartPage());
    QVERIFY(page->browserProcess()->processId() != first);
    QVERIFY(!running(first));
    QCOMPARE(own.state(), QProcess::Running);
    own.kill();
    own.waitForFinished(5000);
    page->browserProcess()->kill();
    page->browserProcess()->waitForFinished(5000);
}

void tst_DPageMedia::browserFallsBackToTheDesktop()
{
    QTemporaryDir bin;
    const QString log = bin.filePath("opener.log");
    QVERIFY(MediaFixture::writeFakeProgram(bin.filePath("xdg-open"), log, false));
    qputenv("PATH", QFile::encodeName(bin.path()));
    Board board;
    DPage *page = board.current();
    MediaFixture::MessageBoxes boxes;
    page->insertBrowser();
    QTRY_COMPARE(MediaFixture::loggedLines(log), QStringList{ "1|" + DPage::browserStartPage() });
    QCOMPARE(boxes.seen, QStringList());
    QVERIFY(!page->browserProcess());

    // Neither a browser nor an opener: said.
    QVERIFY(QFile::remove(bin.filePath("xdg-open")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^DPage: xdg-open"));
    page->insertBrowser();
    QCOMPARE(boxes.seen, QStringList{ QString::fromUtf8("Atención|Error al abrir el navegador") });
}

QTEST_MAIN(tst_DPageMedia)
#include "tst_dpagemedia.moc"
