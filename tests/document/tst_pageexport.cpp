#include "support/documentfixture.h"
#include "support/instrumentsfixture.h"
#include "support/orientedphotos.h"
#include "support/testsupport.h"
#include "support/toolsfixture.h"

#include "board/dcustomitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "document/dpageslist.h"
#include "document/paintrecording.h"
#include "document/toolrun.h"
#include "shell/globals.h"
#include "tools/dcompass.h"
#include "tools/dprotractor.h"
#include "tools/drulers.h"
#include "tools/drulertriangle.h"

#include "board/dgpathcurveitem.h"
#include "pictures/heldpictures.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace DocumentFixture;

// Export of a three-page document, red, green and blue, through the real question and file
// dialog: the files are where the names say, decode, and show the pages in order.
class tst_PageExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void images_data();
    void images();
    void proposedNameInTheHomeFolder();
    void transparentPageHasNoCheckerboard();
    void pdf_data();
    void pdf();
    void replacingIsAsked_data();
    void replacingIsAsked();
    void sheetFollowsTheBoard_data();
    void sheetFollowsTheBoard();
    void noEditingMarks();
    void turnedPictureExportsSmoothly_data();
    void turnedPictureExportsSmoothly();
    void turnedPictureEdgesSmoothOnTheSheet();
    void photoStoredTurnedExportsAsSeen_data();
    void photoStoredTurnedExportsAsSeen();
    void strokesStayLines_data();
    void strokesStayLines();
    void instrumentsAsOnTheBoard_data();
    void instrumentsAsOnTheBoard();
    void mediaNamesKeepTheirSize_data();
    void mediaNamesKeepTheirSize();
    void boardRepaintsWhileExporting_data();
    void boardRepaintsWhileExporting();
    void failuresAreReported_data();
    void failuresAreReported();
    void recordingDrawsAsDrawn_data();
    void recordingDrawsAsDrawn();
    void photoPagesPrintedAsShown();
    void exportCancelled_data();
    void exportCancelled();

private:
    bool exportAs(const QString &format, const ModalAnswer &fileAnswer, QString *error = nullptr);
    void checkPictures(const QString &folder, const QString &base, const QString &format);
    ToolRun drawSheets(const QString &pdf, qreal dpi, const QString &prefix,
                       bool firstOnly = false);
    void exportedBesideBoard(DPage *page, const QRectF &drawn, QImage *printed, QImage *board);

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_list;
    const QList<QColor> m_colours{ QColor(240, 0, 0), QColor(0, 240, 0), QColor(0, 0, 240) };
};

void tst_PageExport::init()
{
    settings.clear();
    m_home = std::make_unique<QTemporaryDir>();
    m_folder = std::make_unique<QTemporaryDir>();
    qputenv("HOME", m_home->path().toLocal8Bit());
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(640, 480);
    m_list = std::make_unique<DPagesList>(m_window.get());
    m_window->show();
    m_list->newPage(BtMenus::btColorPage, false);
    m_list->newPage(BtMenus::btColorPage, false);
    for (int i = 0; i < 3; ++i)
        m_list->at(i)->setPageBackgroundColor(m_colours.at(i));
    m_list->setDocumentModified(false);
}

void tst_PageExport::cleanup()
{
    m_list->exit();
    m_list.reset();
    m_window.reset();
}

// Answers "Si", then the file dialog with fileAnswer, then the error box (if any) with "OK".
bool tst_PageExport::exportAs(const QString &format, const ModalAnswer &fileAnswer, QString *error)
{
    QString failure;
    const auto answered = answerInTurn(
            { click(QStringLiteral("Si")), fileAnswer, click(QStringLiteral("OK"), &failure) });
    const bool exported = m_list->saveAsFile(format);
    if (error)
        *error = failure;
    if (*answered < 2)
        qWarning("the question or the file dialog did not appear");
    return exported && *answered == 2;
}

void tst_PageExport::checkPictures(const QString &folder, const QString &base,
                                   const QString &format)
{
    QStringList expected;
    for (int i = 0; i < 3; ++i)
        expected << base + QString::number(i) + QLatin1Char('.') + format;
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
    const QSize pageSize = m_list->at(0)->sceneRect().size().toSize();
    const int tolerance = format.startsWith(QLatin1String("jp")) ? 12 : 0;
    for (int i = 0; i < 3; ++i) {
        const QString path = folder + QLatin1Char('/') + expected.at(i);
        QImageReader reader(path);
        const QImage picture = reader.read();
        QVERIFY2(!picture.isNull(), qPrintable(expected.at(i) + reader.errorString()));
        QCOMPARE(QString::fromLatin1(QImageReader::imageFormat(path)),
                 format == QLatin1String("jpg") ? QStringLiteral("jpeg") : format);
        QCOMPARE(picture.size(), pageSize);
        const QColor centre = picture.pixelColor(pageSize.width() / 2, pageSize.height() / 2);
        const QColor colour = m_colours.at(i);
        QVERIFY2(qAbs(centre.red() - colour.red()) <= tolerance
                         && qAbs(centre.green() - colour.green()) <= tolerance
                         && qAbs(centre.blue() - colour.blue()) <= tolerance,
                 qPrintable(QStringLiteral("page %1 shows %2").arg(i).arg(centre.name())));
    }
}

// The PDF's sheets as pdftoppm draws them at dpi, as "<prefix>-1.png"... in the folder (only
// the first sheet when firstOnly).
ToolRun tst_PageExport::drawSheets(const QString &pdf, qreal dpi, const QString &prefix,
                                   bool firstOnly)
{
    QStringList arguments{ QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png") };
    if (firstOnly)
        arguments << QStringLiteral("-f") << QStringLiteral("1") << QStringLiteral("-l")
                  << QStringLiteral("1");
    return runTool(QStringLiteral("pdftoppm"), arguments << pdf << prefix, m_folder->path(), 60000);
}

void tst_PageExport::images_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("base");
    QTest::newRow("png") << "png"
                         << "lesson"
                         << "lesson";
    QTest::newRow("jpg, base up to the first dot") << "jpg"
                                                   << "notes.week.jpg"
                                                   << "notes";
    QTest::newRow("jpeg") << "jpeg"
                          << "notes.jpeg"
                          << "notes";
    QTest::newRow("suffix typed") << "png"
                                  << "lesson.png"
                                  << "lesson";
    QTest::newRow("suffix typed in capitals") << "png"
                                              << "Lesson.PNG"
                                              << "Lesson";
    QTest::newRow("bmp") << "bmp"
                         << "board"
                         << "board";
    QTest::newRow("tiff") << "tiff"
                          << "board"
                          << "board";
}

void tst_PageExport::images()
{
    QFETCH(QString, format);
    QFETCH(QString, chosen);
    QFETCH(QString, base);
    // A picture from an earlier export in the folder stays; one of this export's is replaced.
    // (Typed as the folder's own name, the dialog would open the folder instead.)
    const QString folder = m_folder->filePath(base);
    const bool earlierExport = chosen != base;
    if (earlierExport) {
        QVERIFY(QDir().mkpath(folder));
        writeFile(folder + QLatin1Char('/') + base + QStringLiteral("0.") + format, "old");
        writeFile(folder + QStringLiteral("/other.txt"), "kept");
    }

    if (earlierExport) {
        // The dialog showed only the name typed: replacing the picture inside is asked first.
        QString asked;
        const auto answered =
                answerInTurn({ click(QStringLiteral("Si")), chooseFile(m_folder->filePath(chosen)),
                               click(QStringLiteral("Si"), &asked) });
        QVERIFY(m_list->saveAsFile(format));
        QCOMPARE(*answered, 3);
        QCOMPARE(asked.section(QLatin1Char('|'), 1, 1),
                 QStringLiteral("El archivo %1.%2 ya existe.\n¿Desea reemplazarlo?")
                         .arg(base + QLatin1Char('0'), format));
        QCOMPARE(readAll(folder + QStringLiteral("/other.txt")), QByteArray("kept"));
        QFile::remove(folder + QStringLiteral("/other.txt"));
    } else {
        QVERIFY(exportAs(format, chooseFile(m_folder->filePath(chosen))));
    }
    checkPictures(folder, base, format);
    // Export leaves the document as it was.
    QCOMPARE(m_list->fileName(), QString());
    QVERIFY(!m_list->isDocumentModified());
    QVERIFY(!QFileInfo::exists(m_list->workDir() + QStringLiteral("/content.xml")));
}

void tst_PageExport::proposedNameInTheHomeFolder()
{
    QString caption;
    QVERIFY(exportAs(QStringLiteral("png"), acceptProposed(&caption)));
    QCOMPARE(caption, QStringLiteral("Exportar archivo"));
    checkPictures(m_home->filePath(QStringLiteral("save")), QStringLiteral("save"),
                  QStringLiteral("png"));
}

void tst_PageExport::transparentPageHasNoCheckerboard()
{
    m_list->selectPage(2);
    m_list->newPage(BtMenus::btTransparentPage, false);
    QVERIFY(exportAs(QStringLiteral("png"),
                     chooseFile(m_folder->filePath(QStringLiteral("glass")))));
    const QImage picture(m_folder->filePath(QStringLiteral("glass/glass3.png")));
    QVERIFY(!picture.isNull());
    // Where the thumbnail has grey and white tiles, the export is see-through throughout.
    for (const QPoint point : { QPoint(50, 50), QPoint(250, 50), QPoint(50, 250) })
        QVERIFY2(picture.pixelColor(point).alpha() < 16,
                 qPrintable(picture.pixelColor(point).name(QColor::HexArgb)));
}

void tst_PageExport::pdf_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain name") << "report"
                                << "report.pdf";
    QTest::newRow(".pdf typed: kept once") << "report.pdf"
                                           << "report.pdf";
    QTest::newRow(".PDF typed: kept as typed") << "Report.PDF"
                                               << "Report.PDF";
    QTest::newRow("another suffix: .pdf added") << "report.pdf.old"
                                                << "report.pdf.old.pdf";
}

void tst_PageExport::pdf()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QVERIFY(exportAs(QStringLiteral("pdf"), chooseFile(m_folder->filePath(chosen))));
    const QString file = m_folder->filePath(written);
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{ written });

    const ToolRun info = runTool(QStringLiteral("pdfinfo"), { file }, m_folder->path(), 30000);
    QVERIFY2(info.ok, qPrintable(info.error));
    const QString fields = QString::fromUtf8(info.output);
    QVERIFY2(fields.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))),
             qPrintable(fields));
    QVERIFY2(fields.contains(QStringLiteral("(A4)")), qPrintable(fields));
    QVERIFY2(fields.contains(QRegularExpression(QStringLiteral("Creator:\\s+Veltorina"))),
             qPrintable(fields));

    // Each PDF page shows its board page, in order.
    const ToolRun rendered = drawSheets(file, 20, QStringLiteral("page"));
    QVERIFY2(rendered.ok, qPrintable(rendered.error));
    for (int i = 0; i < 3; ++i) {
        const QImage page(m_folder->filePath(QStringLiteral("page-%1.png").arg(i + 1)));
        QVERIFY(!page.isNull());
        const QColor centre = page.pixelColor(page.width() / 2, page.height() / 2);
        const QColor colour = m_colours.at(i);
        QVERIFY2(qAbs(centre.red() - colour.red()) <= 8
                         && qAbs(centre.green() - colour.green()) <= 8
                         && qAbs(centre.blue() - colour.blue()) <= 8,
                 qPrintable(QStringLiteral("PDF page %1 shows %2").arg(i + 1).arg(centre.name())));
    }
}

void tst_PageExport::replacingIsAsked_data()
{
    QTest::addColumn<QString>("answer"); // "report" typed, report.pdf there
    QTest::newRow("report over report.pdf: No goes back to the dialog") << "No";
    QTest::newRow("report over report.pdf: Escape is No") << "Escape";
    QTest::newRow("report over report.pdf: Si replaces it") << "Si";
}

void tst_PageExport::replacingIsAsked()
{
    QFETCH(QString, answer);
    const QString taken = m_folder->filePath(QStringLiteral("report.pdf"));
    writeFile(taken, "last week's report");
    QString asked;
    QString again;
    const auto answered =
            answerInTurn({ click(QStringLiteral("Si")), chooseFile(m_folder->filePath("report")),
                           click(answer, &asked), [&again](QWidget *dialog) {
                               again = dialog->windowTitle();
                               TestSupport::pressEscape(dialog);
                           } });
    const bool exported = m_list->saveAsFile(QStringLiteral("pdf"));
    const bool replaced = answer == QLatin1String("Si");
    QCOMPARE(*answered, replaced ? 3 : 4);
    QCOMPARE(asked,
             QStringLiteral("Atención|El archivo report.pdf ya existe.\n¿Desea reemplazarlo?|"
                            "Si,No|No|No"));
    QCOMPARE(exported, replaced);
    QCOMPARE(again, replaced ? QString() : QStringLiteral("Exportar archivo"));
    QCOMPARE(readAll(taken).startsWith("%PDF"), replaced);
    if (!replaced)
        QCOMPARE(readAll(taken), QByteArray("last week's report"));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{ QStringLiteral("report.pdf") });
}

void tst_PageExport::sheetFollowsTheBoard_data()
{
    QTest::addColumn<QSize>("board");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("wide board: landscape sheet") << QSize(1600, 900) << true;
    QTest::newRow("tall board: portrait sheet") << QSize(600, 900) << false;
    QTest::newRow("square board: portrait sheet") << QSize(700, 700) << false;
}

void tst_PageExport::sheetFollowsTheBoard()
{
    QFETCH(QSize, board);
    QFETCH(bool, landscape);
    for (DPage *page : qAsConst(*m_list))
        page->setSceneRect(QRectF(QPointF(0, 0), board));
    // A wide last page after the others turns its own sheet.
    m_list->selectPage(2);
    m_list->newPage(BtMenus::btColorPage, false);
    m_list->at(3)->setSceneRect(0, 0, 2000, 1000);
    m_list->at(3)->setPageBackgroundColor(m_colours.at(0));
    QVERIFY(exportAs(QStringLiteral("pdf"), chooseFile(m_folder->filePath("sheets"))));
    const ToolRun rendered = drawSheets(m_folder->filePath("sheets.pdf"), 20, "sheet");
    QVERIFY2(rendered.ok, qPrintable(rendered.error));
    for (int i = 0; i < 4; ++i) {
        const QImage sheet(m_folder->filePath(QStringLiteral("sheet-%1.png").arg(i + 1)));
        QVERIFY(!sheet.isNull());
        // A4 at 20 dots per inch: 165 by 234 pixels, one way or the other.
        const bool wide = i == 3 || landscape;
        QCOMPARE(sheet.width() > sheet.height(), wide);
        QVERIFY(qMax(sheet.width(), sheet.height()) >= 230);
        // The board covers the sheet in its own proportion (inside the writer's margins).
        const QColor colour = m_colours.at(i % 3);
        int coloured = 0;
        for (int y = 0; y < sheet.height(); ++y) {
            for (int x = 0; x < sheet.width(); ++x) {
                const QColor seen = sheet.pixelColor(x, y);
                if (qAbs(seen.red() - colour.red()) + qAbs(seen.green() - colour.green())
                            + qAbs(seen.blue() - colour.blue())
                    < 24)
                    ++coloured;
            }
        }
        const QSizeF shown = (i == 3 ? QSizeF(2000, 1000) : QSizeF(board))
                                     .scaled(sheet.size(), Qt::KeepAspectRatio);
        const qreal expected = shown.width() * shown.height();
        QVERIFY2(coloured > 0.85 * expected && coloured <= 1.02 * expected + sheet.width(),
                 qPrintable(QStringLiteral("sheet %1: %2 of %3 pixels")
                                    .arg(i + 1)
                                    .arg(coloured)
                                    .arg(expected)));
        // A wide board fills most of the sheet.
        if (wide && i == 3)
            QVERIFY(coloured > 0.6 * sheet.width() * sheet.height());
    }
}

void tst_PageExport::noEditingMarks()
{
    // Two pictures on the red page: one selected, one locked. Exported, the page shows them as
    // with nothing selected or locked; afterwards both are as the teacher left them.
    DPage *page = m_list->at(0);
    QPixmap picture(120, 80);
    picture.fill(Qt::white);
    DGPixmapItem *chosen =
            page->addPixmapItem(picture, QPointF(100, 100), 0, 1, QTransform(), false);
    DGPixmapItem *locked =
            page->addPixmapItem(picture, QPointF(350, 250), 0, 1, QTransform(), false);
    QVERIFY(chosen && locked);
    m_list->selectPage(0);
    QVERIFY(exportAs(QStringLiteral("png"), chooseFile(m_folder->filePath("plain"))));
    const QImage plain(m_folder->filePath("plain/plain0.png"));
    QVERIFY(!plain.isNull());

    chosen->setSelected(true);
    locked->lock(true);
    // Painted as the board shows it, the marks are there: the check below can see them.
    QVERIFY(page->getPagePixmap(0).toImage() != plain);
    int selectionSignals = 0;
    connect(page, &QGraphicsScene::selectionChanged, this, [&] { ++selectionSignals; });
    QVERIFY(exportAs(QStringLiteral("png"), chooseFile(m_folder->filePath("marked"))));
    QVERIFY(exportAs(QStringLiteral("pdf"), chooseFile(m_folder->filePath("marks"))));
    QCOMPARE(QImage(m_folder->filePath("marked/marked0.png")), plain);
    QCOMPARE(selectionSignals, 0);
    QVERIFY(chosen->isSelected());
    QVERIFY(locked->isLocked());
    QVERIFY(chosen->rotateItem()->isVisible() && locked->rotateItem()->isVisible());

    // The PDF sheet shows the plain page too: compare it with a PDF of the plain page.
    const auto sheet = [this](const QString &name) {
        return drawSheets(m_folder->filePath(name + ".pdf"), 30, name, true).ok
                ? QImage(m_folder->filePath(name + "-1.png"))
                : QImage();
    };
    const QImage markedSheet = sheet(QStringLiteral("marks"));
    chosen->setSelected(false);
    locked->lock(false);
    QVERIFY(exportAs(QStringLiteral("pdf"), chooseFile(m_folder->filePath("clean"))));
    const QImage plainSheet = sheet(QStringLiteral("clean"));
    QVERIFY(!markedSheet.isNull());
    QCOMPARE(markedSheet, plainSheet);
}

namespace {

// Scene to the pixels of a landscape A4 sheet read at dpi: the export lays the page on the
// sheet's printable area, its proportions kept.
QTransform onSheet(const DPage *page, qreal dpi)
{
    QBuffer scratch;
    QPdfWriter layout(&scratch);
    layout.setPageSize(QPageSize(QPageSize::A4));
    layout.setPageOrientation(QPageLayout::Landscape);
    const QRectF printable = layout.pageLayout().paintRect(QPageLayout::Point);
    const QRectF scene = page->sceneRect();
    const qreal scale =
            qMin(printable.width() / scene.width(), printable.height() / scene.height());
    return QTransform::fromTranslate(-scene.left(), -scene.top())
            * QTransform::fromScale(scale, scale)
            * QTransform::fromTranslate(printable.left(), printable.top())
            * QTransform::fromScale(dpi / 72, dpi / 72);
}

} // namespace

void tst_PageExport::turnedPictureExportsSmoothly_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("fill");
    QTest::addColumn<float>("scale");
    QTest::newRow("png") << "png" << false << 2.5f;
    // Read at 200 dots an inch, a photo pixel covers five of the sheet's: a viewer enlarges
    // a picture so far as blocks.
    QTest::newRow("pdf") << "pdf" << false << 2.5f;
    QTest::newRow("pdf, shape filled with the photo") << "pdf" << true << 2.5f;
    // Made small, a grid of fine lines is averaged, not sampled into dots and moiré.
    QTest::newRow("png, grid scaled 0.3x") << "png" << false << 0.3f;
}

void tst_PageExport::turnedPictureExportsSmoothly()
{
    // Exported, a turned photo showed stepped edges and letters, its pixels as blocks.
    QFETCH(QString, format);
    QFETCH(bool, fill);
    QFETCH(float, scale);
    DPage *page = m_list->at(0);
    page->setPageBackgroundColor(Qt::white);
    const bool small = scale < 1;
    const QImage photo = small ? TestSupport::gridOfLines(QSize(400, 300))
                               : TestSupport::photoLike(QSize(120, 90));
    QPainterPath oval;
    oval.addEllipse(QRectF(photo.rect()));
    QPainterPath outline = oval; // of what shows the photo
    QGraphicsItem *picture = nullptr;
    if (fill) {
        auto *shape = new DGPathCurveItem(QPointF(250, 200), QPen(Qt::NoPen), BtMenus::btEllipse,
                                          nullptr);
        shape->setPath(oval);
        shape->setBrush(QBrush(QPixmap::fromImage(photo)));
        shape->setTransformOriginPoint(oval.boundingRect().center()); // as a picture turns
        shape->setRotation(30);
        shape->setScale(scale);
        page->addItem(shape);
        picture = shape;
    } else {
        picture = page->addPixmapItem(QPixmap::fromImage(photo), QPointF(250, 200), 30, scale,
                                      QTransform(), false);
        outline = QPainterPath();
        outline.addRect(QRectF(photo.rect()));
    }
    m_list->selectPage(0);
    QVERIFY(exportAs(format, chooseFile(m_folder->filePath("turned"))));
    QImage exported;
    QTransform placed = picture->sceneTransform();
    if (format == QLatin1String("pdf")) {
        const int dpi = 200;
        const ToolRun rendered = drawSheets(m_folder->filePath("turned.pdf"), dpi,
                                            QStringLiteral("turned"), true);
        QVERIFY2(rendered.ok, qPrintable(rendered.error));
        exported = QImage(m_folder->filePath("turned-1.png"));
        placed *= onSheet(page, dpi);
    } else {
        exported = QImage(m_folder->filePath("turned/turned0.png"));
    }
    QVERIFY(!exported.isNull());
    const QRect area = placed.mapRect(QRectF(photo.rect())).toAlignedRect().adjusted(-2, -2, 2, 2);
    QImage reference = TestSupport::fineDrawing(area.size(), [&](QPainter *painter) {
        painter->translate(-area.topLeft());
        painter->setTransform(placed, true);
        if (!fill)
            return painter->drawImage(0, 0, photo);
        painter->setPen(Qt::NoPen);
        painter->setBrush(static_cast<DGPathCurveItem *>(picture)->QGraphicsPathItem::brush());
        painter->drawPath(oval);
    });
    QImage shown = exported.copy(area).convertToFormat(reference.format());
    if (format == QLatin1String("pdf")) {
        // The sheet's rasteriser lays the picture's edge a fraction of a pixel from where the
        // board would: what lies within it is compared.
        for (QImage *image : { &reference, &shown }) {
            QPainter painter(image);
            QPen edge(Qt::white, 5);
            edge.setCosmetic(true);
            painter.setPen(edge);
            painter.setTransform(placed * QTransform::fromTranslate(-area.left(), -area.top()));
            painter.drawPath(outline);
        }
    }
    // A grid made small is held to the figure pictures shown small are held to on the board.
    const TestSupport::InkDifference difference =
            TestSupport::inkDifference(reference, shown, small ? 64 : 40);
    QVERIFY2(difference.differing * (small ? 50 : 500) < difference.ink,
             qPrintable(difference.toString()));
}

// The pixels of image along outline (placed by toImage) that are partly covered by a picture of
// one colour, ink, on white: an edge smoothed has one or two across it, one in steps none.
int partlyCovered(const QImage &image, const QPainterPath &outline, const QTransform &toImage,
                  QColor ink)
{
    QImage band(image.size(), QImage::Format_ARGB32_Premultiplied);
    band.fill(Qt::transparent);
    {
        QPainter painter(&band);
        QPen edge(Qt::black, 5);
        edge.setCosmetic(true);
        painter.setPen(edge);
        painter.setTransform(toImage);
        painter.drawPath(outline);
    }
    int partly = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(band.pixel(x, y)) == 0)
                continue;
            const double covered =
                    double(255 - qGray(image.pixel(x, y))) / (255 - qGray(ink.rgb()));
            partly += covered > 0.2 && covered < 0.8 ? 1 : 0;
        }
    }
    return partly;
}

void tst_PageExport::turnedPictureEdgesSmoothOnTheSheet()
{
    // A viewer lays a turned picture's pixels without smoothing its edges: they came out in
    // steps, the picture's inside smooth.
    DPage *page = m_list->at(0);
    page->setPageBackgroundColor(Qt::white);
    const QColor ink(20, 30, 120);
    QImage flat(120, 90, QImage::Format_RGB32);
    flat.fill(ink);
    QGraphicsItem *picture = page->addPixmapItem(QPixmap::fromImage(flat), QPointF(250, 200), 30,
                                                 2.5f, QTransform(), false);
    m_list->selectPage(0);
    QVERIFY(exportAs(QStringLiteral("pdf"), chooseFile(m_folder->filePath("edges"))));
    const int dpi = 200;
    const ToolRun rendered =
            drawSheets(m_folder->filePath("edges.pdf"), dpi, QStringLiteral("edges"), true);
    QVERIFY2(rendered.ok, qPrintable(rendered.error));
    const QImage exported(m_folder->filePath("edges-1.png"));
    QVERIFY(!exported.isNull());
    const QTransform placed = picture->sceneTransform() * onSheet(page, dpi);
    QPainterPath outline;
    outline.addRect(QRectF(flat.rect()));
    const QImage reference = TestSupport::fineDrawing(exported.size(), [&](QPainter *painter) {
        painter->setTransform(placed, true);
        painter->drawImage(0, 0, flat);
    });
    const int smooth = partlyCovered(reference, outline, placed, ink);
    const int shown = partlyCovered(exported, outline, placed, ink);
    QVERIFY2(shown * 2 >= smooth,
             qPrintable(QStringLiteral("%1 pixels partly covered along the edges, smoothed %2")
                                .arg(shown)
                                .arg(smooth)));
}

namespace {

// The share of pixels whose channels differ by more than tolerance.
double differingShare(const QImage &a, const QImage &b, int tolerance)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > tolerance || qAbs(qGreen(p) - qGreen(q)) > tolerance
                || qAbs(qBlue(p) - qBlue(q)) > tolerance)
                ++differing;
        }
    }
    return double(differing) / (a.width() * a.height());
}

// The top-left corners of the blocks of side pixels whose mean differs between a and b by more
// than by in some channel.
QVector<QPoint> differingBlocks(const QImage &a, const QImage &b, int side, int by)
{
    QVector<QPoint> differing;
    for (int top = 0; top + side <= a.height(); top += side) {
        for (int left = 0; left + side <= a.width(); left += side) {
            int sums[3] = { 0, 0, 0 };
            for (int y = top; y < top + side; ++y) {
                for (int x = left; x < left + side; ++x) {
                    const QRgb p = a.pixel(x, y);
                    const QRgb q = b.pixel(x, y);
                    sums[0] += qRed(p) - qRed(q);
                    sums[1] += qGreen(p) - qGreen(q);
                    sums[2] += qBlue(p) - qBlue(q);
                }
            }
            for (int sum : sums) {
                if (qAbs(sum) > by * side * side) {
                    differing << QPoint(left, top);
                    break;
                }
            }
        }
    }
    return differing;
}

// The smallest rectangle holding every dark pixel of image: where letters are.
QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int inkedPixels(const QImage &image)
{
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += qBlue(image.pixel(x, y)) < 235 ? 1 : 0;
    return inked;
}

} // namespace

void tst_PageExport::photoStoredTurnedExportsAsSeen_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("orientation");
    QTest::newRow("png, a quarter turned") << "png" << 6;
    QTest::newRow("pdf, a quarter turned") << "pdf" << 6;
    QTest::newRow("pdf, mirrored") << "pdf" << 2;
}

// A photo stored turned, put in with the picture button, is exported as the board shows it: as
// it is seen.
void tst_PageExport::photoStoredTurnedExportsAsSeen()
{
    QFETCH(QString, format);
    QFETCH(int, orientation);
    const QImage photo = OrientedPhotos::upright(QSize(96, 64));
    const QString file = m_folder->filePath(QStringLiteral("photo.jpg"));
    DocumentFixture::writeFile(file, OrientedPhotos::jpeg(photo, orientation));
    m_list->selectPage(0);
    DPage *page = m_list->at(0);
    const auto chosen = answerInTurn({ chooseFile(file) });
    page->insertImage(false);
    QCOMPARE(*chosen, 1);
    DGPixmapItem *picture = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
            picture = [page]() -> DGPixmapItem * {
                for (QGraphicsItem *item : page->items()) {
                    if (auto *found = dynamic_cast<DGPixmapItem *>(item))
                        return found;
                }
                return nullptr;
            }(),
            30000);
    QCOMPARE(picture->pictureSize(), photo.size());
    QVERIFY(exportAs(format, chooseFile(m_folder->filePath("photo"))));
    QImage exported;
    QTransform placed = picture->sceneTransform();
    if (format == QLatin1String("pdf")) {
        const int dpi = 150;
        const ToolRun rendered =
                drawSheets(m_folder->filePath("photo.pdf"), dpi, QStringLiteral("photo"), true);
        QVERIFY2(rendered.ok, qPrintable(rendered.error));
        exported = QImage(m_folder->filePath("photo-1.png"));
        placed *= onSheet(page, dpi);
    } else {
        exported = QImage(m_folder->filePath("photo/photo0.png"));
        placed *= QTransform::fromTranslate(-page->sceneRect().left(), -page->sceneRect().top());
    }
    QVERIFY(!exported.isNull());
    // Each quarter's middle, where the photo's colour is its own.
    for (const QPoint &middle :
         { QPoint(24, 16), QPoint(72, 16), QPoint(24, 48), QPoint(72, 48) }) {
        const QColor seen = exported.pixelColor(placed.map(QPointF(middle)).toPoint());
        const QColor expected = photo.pixelColor(middle);
        QVERIFY2(qAbs(seen.red() - expected.red()) <= OrientedPhotos::kJpegTolerance
                         && qAbs(seen.green() - expected.green()) <= OrientedPhotos::kJpegTolerance
                         && qAbs(seen.blue() - expected.blue()) <= OrientedPhotos::kJpegTolerance,
                 qPrintable(QStringLiteral("%1, %2: %3 for %4")
                                    .arg(middle.x())
                                    .arg(middle.y())
                                    .arg(seen.name(), expected.name())));
    }
}

void tst_PageExport::strokesStayLines_data()
{
    QTest::addColumn<int>("alpha");
    QTest::addColumn<int>("width");
    QTest::newRow("10 thin highlighter lines") << 100 << 3;
    QTest::newRow("10 wide highlighter lines") << 100 << 20;
    QTest::newRow("10 pencil lines") << 255 << 3;
}

// Ten lines across a white page, over a pencil line: the PDF keeps them as lines, translucent
// ink included (no pictures in the file, which stays small), and shows the page as the board
// does, the pencil line through the highlighter's ink.
void tst_PageExport::strokesStayLines()
{
    QFETCH(int, alpha);
    QFETCH(int, width);
    DPage *page = m_list->at(0);
    page->setPageBackgroundColor(Qt::white);
    const auto addLine = [page](const QPointF &from, const QPointF &to, const QPen &pen,
                                BtMenus::btType kind) {
        auto *stroke = new DGPathCurveItem(from, pen, kind, nullptr);
        QPainterPath path(QPointF(0, 0));
        for (int p = 1; p <= 40; ++p)
            path.lineTo((to - from) * p / 40.0 + QPointF(0, (p % 3) * 0.7));
        stroke->setPath(path);
        page->addItem(stroke);
    };
    addLine(QPointF(320, 20), QPointF(320, 460), QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap),
            BtMenus::btPencil);
    for (int i = 0; i < 10; ++i)
        addLine(QPointF(40, 40 + 42 * i), QPointF(600, 60 + 40 * i),
                QPen(QColor(255, 200, 0, alpha), width, Qt::SolidLine, Qt::RoundCap),
                alpha < 255 ? BtMenus::btHighlighter : BtMenus::btPencil);
    m_list->selectPage(0);
    QVERIFY(exportAs(QStringLiteral("pdf"), chooseFile(m_folder->filePath("lines"))));
    const QString file = m_folder->filePath("lines.pdf");
    QVERIFY2(QFileInfo(file).size() < 100 * 1024,
             qPrintable(QString::number(QFileInfo(file).size())));
    const ToolRun images = runTool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), file },
                                   m_folder->path(), 60000);
    QVERIFY2(images.ok, qPrintable(images.error));
    QCOMPARE(images.output.trimmed().split('\n').size(), 2); // the heading only: no pictures

    // The first sheet at 72 dots per inch (a point a pixel) against the board drawn the same
    // size where the export puts it: the sheet's printable area, the page's proportions kept.
    const ToolRun rendered = drawSheets(file, 72, QStringLiteral("lines"), true);
    QVERIFY2(rendered.ok, qPrintable(rendered.error));
    const QImage sheet =
            QImage(m_folder->filePath("lines-1.png")).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!sheet.isNull());
    const QRectF scene = page->sceneRect();
    const QRectF onPaper = onSheet(page, 72).mapRect(scene);
    const QSizeF shown = onPaper.size();
    const QRect area = onPaper.toRect();
    QImage board(area.size(), QImage::Format_RGB32);
    board.fill(Qt::white);
    {
        QPainter painter(&board);
        painter.setRenderHint(QPainter::Antialiasing);
        page->render(&painter, QRectF(QPointF(0, 0), shown), scene, Qt::KeepAspectRatio);
    }
    const QImage printed = sheet.copy(area);
    const int inkBoard = inkedPixels(board);
    QVERIFY(inkBoard > 2000);
    QVERIFY2(qAbs(inkedPixels(printed) - inkBoard) < inkBoard / 8,
             qPrintable(QStringLiteral("%1 inked pixels, the board %2")
                                .arg(inkedPixels(printed))
                                .arg(inkBoard)));
    // Edges fall a fraction of a pixel apart; halved, the pictures agree almost everywhere.
    const QSize half = area.size() / 2;
    const double differing =
            differingShare(printed.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                           board.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 40);
    QVERIFY2(differing < 0.02, qPrintable(QString::number(differing)));
}

// The first page exported to PDF and read back at the dots per inch that show it at the board's
// own size: printed is what the sheet shows of the scene rectangle drawn, board the page drawn
// by the board itself, placed as on the sheet.
void tst_PageExport::exportedBesideBoard(DPage *page, const QRectF &drawn, QImage *printed,
                                         QImage *board)
{
    page->clearSelection();
    QVERIFY(exportAs(QStringLiteral("pdf"), chooseFile(m_folder->filePath("drawn"))));
    const qreal dpi = 72 / onSheet(page, 72).m11();
    const ToolRun rendered =
            drawSheets(m_folder->filePath("drawn.pdf"), dpi, QStringLiteral("drawn"), true);
    QVERIFY2(rendered.ok, qPrintable(rendered.error));
    const QImage sheet =
            QImage(m_folder->filePath("drawn-1.png")).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!sheet.isNull());
    const QTransform toSheet = onSheet(page, dpi);
    const QRect area = toSheet.mapRect(drawn & page->sceneRect()).toAlignedRect() & sheet.rect();
    *board = QImage(area.size(), QImage::Format_RGB32);
    board->fill(Qt::white);
    QPainter painter(board);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(toSheet * QTransform::fromTranslate(-area.left(), -area.top()));
    page->render(&painter, page->sceneRect(), page->sceneRect(), Qt::IgnoreAspectRatio);
    *printed = sheet.copy(area);
}

void tst_PageExport::instrumentsAsOnTheBoard_data()
{
    QTest::addColumn<QString>("instrument");
    QTest::addColumn<QPointF>("place"); // of its local origin on the page
    QTest::addColumn<QVector<QPointF>>("ink"); // the drag that draws along it, its coordinates
    const auto round = [](qreal from, qreal to, qreal radius) {
        QVector<QPointF> points;
        for (qreal angle = from; angle <= to; angle += 10)
            points << InstrumentsFixture::polar(radius, angle);
        return points;
    };
    // The scales' numbers stand among ticks and ink: where they are too large, they cover both.
    QTest::newRow("ruler") << "ruler" << QPointF(20, 150)
                           << QVector<QPointF>{ { 30, 6 }, { 200, 6 }, { 420, 4 } };
    QTest::newRow("set square") << "set square" << QPointF(60, 60)
                                << QVector<QPointF>{ { 40, 6 }, { 250, 6 }, { 480, 6 } };
    QTest::newRow("protractor") << "protractor" << QPointF(320, 300) << round(20, 160, 195);
    QTest::newRow("compass") << "compass" << QPointF(250, 400)
                             << (QVector<QPointF>{ { 208, -50 } } + round(0, 50, 215));
}

// The page exported with an instrument on it and ink drawn along it against the board's own
// drawing of the page: the same ink, the instrument's scale, numbers and icons included.
void tst_PageExport::instrumentsAsOnTheBoard()
{
    QFETCH(QString, instrument);
    QFETCH(QPointF, place);
    QFETCH(QVector<QPointF>, ink);
    DPage *page = m_list->at(0);
    page->setPageBackgroundColor(Qt::white);
    m_list->selectPage(0);
    if (instrument == QLatin1String("ruler"))
        page->insertRuler();
    else if (instrument == QLatin1String("set square"))
        page->insertTriangleRuler();
    else if (instrument == QLatin1String("protractor"))
        page->insertPortractor();
    else
        page->insertCompass();
    const DPage::ClassroomTools &tools = page->classroomTools();
    QGraphicsItem *const placed[] = { tools.ruler, tools.triangleRuler, tools.protractor,
                                      tools.compass };
    QGraphicsItem *tool = nullptr;
    for (QGraphicsItem *item : placed)
        tool = item ? item : tool;
    QVERIFY(tool);
    tool->setPos(place);
    InstrumentsFixture::dragItem(m_list->getView(), tool, ink);
    const QList<QGraphicsItem *> lines = InstrumentsFixture::vertexObjects(page);
    QCOMPARE(lines.size(), 1);

    QImage printed;
    QImage board;
    exportedBesideBoard(page, tool->sceneBoundingRect() | lines.first()->sceneBoundingRect(),
                        &printed, &board);
    ToolsFixture::saveShot(printed, QStringLiteral("exported ") + instrument);
    ToolsFixture::saveShot(board, QStringLiteral("board ") + instrument);
    QVERIFY(inkedPixels(board) > 2000);
    // The two rasterisers lay an edge up to a pixel apart and draw a hairline as one pixel or
    // two half-grey ones: a black line moved a pixel across a 6 x 6 block's side changes its mean
    // by 255 * 6 / 36, about 42. Anything drawn otherwise (letters of another size, a faded
    // icon) changes whole blocks by more.
    const QVector<QPoint> blocks = differingBlocks(board, printed, 6, 48);
    QVERIFY2(blocks.isEmpty(),
             qPrintable(QStringLiteral("%1 blocks differ, the first at %2, %3")
                                .arg(blocks.size())
                                .arg(blocks.value(0).x())
                                .arg(blocks.value(0).y())));
}

void tst_PageExport::mediaNamesKeepTheirSize_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("sound") << "sound";
    QTest::newRow("film") << "film";
}

// A sound's or film's file name, written below it in the board's letters, went the
// instruments' way in a PDF. Its letters are laid out by the sheet's own measures there, not the
// board's, which round each letter's advance to whole pixels: the name may run a few percent
// longer, no more.
void tst_PageExport::mediaNamesKeepTheirSize()
{
    QFETCH(QString, kind);
    DPage *page = m_list->at(0);
    page->setPageBackgroundColor(Qt::white);
    m_list->selectPage(0);
    const QString file = m_folder->filePath(QStringLiteral("río.mp3"));
    DCustomItem *object = nullptr;
    if (kind == QLatin1String("sound"))
        object = page->addSoundItem(file, QPointF(200, 200), 0, 1, QTransform(), false);
    else
        object = page->addVideoItem(file, QPointF(200, 200), 0, 1, QTransform(), false);
    QVERIFY(object);
    QGraphicsItem *item = dynamic_cast<QGraphicsItem *>(object);
    QVERIFY(item);
    if (object->madeRotateItem())
        object->madeRotateItem()->setVisible(false); // its buttons are not part of the lesson

    // The name's strip: the lowest 20 units of the object.
    const QRectF bounds = item->sceneBoundingRect();
    QImage printed;
    QImage board;
    exportedBesideBoard(page, QRectF(bounds.left(), bounds.bottom() - 20, bounds.width(), 20),
                        &printed, &board);
    ToolsFixture::saveShot(printed, QStringLiteral("exported ") + kind);
    ToolsFixture::saveShot(board, QStringLiteral("board ") + kind);
    const QRect onBoard = inkBounds(board);
    const QRect onSheet = inkBounds(printed);
    QVERIFY2(onBoard.width() > 20, qPrintable(QString::number(onBoard.width())));
    QVERIFY2(qAbs(onSheet.width() - onBoard.width()) <= onBoard.width() / 10
                     && qAbs(onSheet.height() - onBoard.height()) <= 2,
             qPrintable(QStringLiteral("%1 x %2 on the sheet, %3 x %4 on the board")
                                .arg(onSheet.width())
                                .arg(onSheet.height())
                                .arg(onBoard.width())
                                .arg(onBoard.height())));
}

namespace {

// Counts the paint events a widget gets while counting is on.
class PaintCounter : public QObject
{
public:
    bool counting = false;
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (counting && event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

void tst_PageExport::boardRepaintsWhileExporting_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("pdf") << "pdf";
    QTest::newRow("png") << "png";
}

// Where the closed file dialog lay, the board is drawn again while the pages are written, not
// only once the whole export is done.
void tst_PageExport::boardRepaintsWhileExporting()
{
    QFETCH(QString, format);
    PaintCounter counter;
    m_window->installEventFilter(&counter);
    const ModalAnswer choose = chooseFile(m_folder->filePath("lesson"));
    const auto answered = answerInTurn({ click(QStringLiteral("Si")), [&](QWidget *dialog) {
                                            choose(dialog);
                                            m_window->update(); // as the dialog leaves it
                                            counter.counting = true;
                                        } });
    QVERIFY(m_list->saveAsFile(format));
    counter.counting = false;
    QCOMPARE(*answered, 2);
    QVERIFY(counter.paints > 0);
}

void tst_PageExport::failuresAreReported_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("chosen"); // below a file "plain" that stands where a folder must,
                                         // or on "stick", a small disk of its own
    QTest::addColumn<QString>("fault"); // of that disk: "full", "read-only"
    QTest::addColumn<QString>("cause"); // said below the headline
    const char *const noRoom = "No queda espacio libre en el disco.";
    const char *const readOnly = "El disco o la carpeta es de solo lectura.";
    const struct
    {
        const char *name, *format, *chosen, *fault, *cause;
    } rows[] = {
        // clang-format off
        { "picture folder taken by a file", "png", "plain.png",    "",          "" },
        { "pictures below a file",          "png", "plain/lesson", "",          "" },
        { "PDF below a file",               "pdf", "plain/report", "",          "" },
        { "pictures on a full disk",        "png", "stick/lesson", "full",      noRoom },
        { "PDF on a full disk",             "pdf", "stick/report", "full",      noRoom },
        { "pictures on a read-only disk",   "png", "stick/lesson", "read-only", readOnly },
        { "PDF on a read-only disk",        "pdf", "stick/report", "read-only", readOnly },
        // clang-format on
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString(row.format) << QString(row.chosen) << QString(row.fault)
                                << QString(row.cause);
}

void tst_PageExport::failuresAreReported()
{
    QFETCH(QString, format);
    QFETCH(QString, chosen);
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    writeFile(m_folder->filePath(QStringLiteral("plain")), "a file");
    const QString disk = fault.isEmpty() ? QString() : QStringLiteral("stick");
    std::unique_ptr<SmallDisk> stick;
    QStringList onStick;
    if (!disk.isEmpty()) {
        stick = std::make_unique<SmallDisk>(m_folder->filePath(disk), 256 << 10);
        if (!stick->isMounted())
            QSKIP("a disk of its own needs root");
        writeFile(m_folder->filePath(disk + QStringLiteral("/kept")), "kept");
        QVERIFY(fault == QLatin1String("full") ? stick->fill() : stick->setReadOnly(true));
        onStick = filesUnder(m_folder->filePath(disk));
    }
    QString error;
    QVERIFY(!exportAs(format, chooseFile(m_folder->filePath(chosen)), &error));
    QCOMPARE(error.section(QLatin1Char('|'), 0, 1),
             QStringLiteral("Error|Error al exportar archivo")
                     + (cause.isEmpty() ? QString() : QLatin1Char('\n') + cause));
    QStringList listed{ QStringLiteral("plain") };
    if (!disk.isEmpty())
        listed << disk;
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), listed);
    QCOMPARE(readAll(m_folder->filePath(QStringLiteral("plain"))), QByteArray("a file"));
    if (stick) {
        // Nothing half written is left behind.
        QCOMPARE(filesUnder(m_folder->filePath(disk)), onStick);
        QCOMPARE(readAll(m_folder->filePath(disk + QStringLiteral("/kept"))), QByteArray("kept"));
    }
}

namespace {

// A lesson of pages of 640 x 480, each showing its own photo (a JPEG of photo's size, as a camera
// writes it) over 560 x 420, zipped as a lesson file into folder: its path, or "" when it could
// not be made.
QString photoLesson(const QString &folder, int pages, QSize photo)
{
    if (!QDir(folder).mkpath(QStringLiteral("images")))
        return QString();
    QByteArray content;
    for (int n = 0; n < pages; ++n) {
        const QString name = QStringLiteral("images/p%1.jpg").arg(n);
        if (!TestSupport::photoLike(photo)
                     .mirrored(n % 2, n / 2 % 2)
                     .save(folder + QLatin1Char('/') + name, "JPEG", 95))
            return QString();
        content += QStringLiteral("<svg:page id=\"page%1\"><svg:rect id=\"bck%1\" fill=\"#ffffff\" "
                                  "fill-opacity=\"1\" x=\"0\" y=\"0\" width=\"640\" "
                                  "height=\"480\"/><svg:image id=\"obj%1\" xlink:href=\"%2\" "
                                  "x=\"40\" y=\"30\" width=\"560\" height=\"420\" "
                                  "transform=\"rotate(0,0,0)\"/></svg:page>")
                           .arg(n)
                           .arg(name)
                           .toUtf8();
    }
    writeFile(folder + QStringLiteral("/content.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<iwb "
              "xmlns:svg=\"http://www.w3.org/2000/svg\" "
              "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.0\"><svg:svg "
              "width=\"640\" height=\"480\"><svg:pageset>"
                      + content + "</svg:pageset></svg:svg></iwb>");
    const QString archive = folder + QStringLiteral("/photos.iwb");
    const ToolRun zipped = runTool(QStringLiteral("zip"),
                                   { QStringLiteral("-q"), QStringLiteral("-r"),
                                     QStringLiteral("-n"), QStringLiteral(".jpg"), archive,
                                     QStringLiteral("content.xml"), QStringLiteral("images") },
                                   folder, 60000);
    return zipped.ok ? archive : QString();
}

DGPixmapItem *onlyPicture(DPage *page)
{
    const QList<QGraphicsItem *> items = page->items();
    for (QGraphicsItem *item : items) {
        if (auto *picture = dynamic_cast<DGPixmapItem *>(item))
            return picture;
    }
    return nullptr;
}

// Every entry below folder, hidden ones and folders too, each file with its bytes.
QStringList everythingUnder(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        QString entry = it.filePath().mid(folder.size() + 1);
        if (it.fileInfo().isFile())
            entry += QLatin1Char(' ') + QString::fromLatin1(readAll(it.filePath()).toBase64());
        entries << entry;
    }
    entries.sort();
    return entries;
}

} // namespace

void tst_PageExport::photoPagesPrintedAsShown()
{
    // Photos held as their files, the lesson's, each printed from a copy decoded at the size its
    // sheet shows it at: the sheet shows the photo as the file has it. Once written, those
    // copies are given back (a lesson of photos kept hundreds of megabytes after its export).
    const QSize photo(2400, 1800);
    const QString archive = photoLesson(m_folder->filePath(QStringLiteral("lesson")), 4, photo);
    QVERIFY(!archive.isEmpty());
    QVERIFY2(m_list->openAllPagesFromFileIWB(archive), qPrintable(m_list->lastOpenError()));
    QCOMPARE(m_list->size(), 4);
    QVERIFY(waitForPictures(*m_list));
    m_list->selectPage(0);
    QVERIFY(exportAs(QStringLiteral("pdf"), chooseFile(m_folder->filePath("photos"))));
    const int dpi = 96;
    const int sheet = 3; // a page away from the one shown: nothing of it was held but its smallest
    const ToolRun rendered = runTool(
            QStringLiteral("pdftoppm"),
            { QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
              QStringLiteral("-f"), QString::number(sheet), QStringLiteral("-l"),
              QString::number(sheet), m_folder->filePath(QStringLiteral("photos.pdf")),
              QStringLiteral("photos") },
            m_folder->path(), 60000);
    QVERIFY2(rendered.ok, qPrintable(rendered.error));
    const QImage printed(m_folder->filePath(QStringLiteral("photos-%1.png").arg(sheet)));
    QVERIFY(!printed.isNull());
    DPage *page = m_list->at(sheet - 1);
    DGPixmapItem *picture = onlyPicture(page);
    QVERIFY(picture);
    const QImage whole(m_folder->filePath(QStringLiteral("lesson/images/p%1.jpg").arg(sheet - 1)));
    QCOMPARE(whole.size(), photo);
    QCOMPARE(page->sceneRect(), QRectF(0, 0, 640, 480));
    // Where the lesson lays it.
    const QRectF placed = onSheet(page, dpi).mapRect(QRectF(40, 30, 560, 420));
    // Within the photo's edges, which the sheet's rasteriser lays a fraction of a pixel away.
    const QRect area = placed.toAlignedRect().adjusted(3, 3, -3, -3);
    QVERIFY(area.width() > 600);
    const QImage reference = TestSupport::fineDrawing(area.size(), [&](QPainter *painter) {
        painter->translate(-area.topLeft());
        painter->drawImage(placed, whole);
    });
    const QImage shown = printed.copy(area).convertToFormat(reference.format());
    const TestSupport::InkDifference difference =
            TestSupport::inkDifference(reference, shown, 40);
    // The viewer lays the photo's pixels on the sheet's dots with a filter of its own, which
    // differs from the reference's along the edges of its fine stripes: one pixel in a hundred.
    // A copy of a few hundred pixels standing in for it differs in one in three.
    QVERIFY2(difference.ink > 0 && difference.differing * 100 < difference.ink,
             qPrintable(difference.toString()));
    // The pages away from the one shown and its neighbour keep their smallest copy alone.
    for (int n = 2; n < m_list->size(); ++n) {
        const DGPixmapItem *far = onlyPicture(m_list->at(n));
        QVERIFY(far);
        QTRY_COMPARE_WITH_TIMEOUT(HeldPictures::heldHalvings(*far->picture()).size(), 1, 60000);
    }
}

void tst_PageExport::exportCancelled_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("earlier"); // the files of an earlier export are where it writes
    QTest::newRow("pdf") << "pdf" << false;
    QTest::newRow("pdf over last week's") << "pdf" << true;
    QTest::newRow("png") << "png" << false;
    QTest::newRow("png over an earlier export") << "png" << true;
}

void tst_PageExport::exportCancelled()
{
    // Cancelled on its bar half way, an export leaves nothing of its own, and the teacher's
    // files where it was writing as they were; nothing is said of it.
    QFETCH(QString, format);
    QFETCH(bool, earlier);
    for (int n = 3; n < 120; ++n)
        m_list->newPage(BtMenus::btColorPage, false);
    const QString name = m_folder->filePath(QStringLiteral("lesson"));
    if (earlier && format == QLatin1String("pdf")) {
        writeFile(name + QStringLiteral(".pdf"), "last week's lesson");
    } else if (earlier) {
        QVERIFY(QDir().mkpath(name));
        for (int n = 0; n < 3; ++n)
            writeFile(name + QStringLiteral("/lesson%1.png").arg(n), "an earlier page");
    }
    const QStringList before = everythingUnder(m_folder->path());
    // Each page is held back a while until the bar shows (after most of a second), so that
    // however fast the machine, the bar comes before the end; its Cancel is then clicked.
    QString clicked;
    int pagesBefore = 0;
    QTimer watch;
    watch.setInterval(5);
    connect(&watch, &QTimer::timeout, [&] {
        if (!clicked.isEmpty())
            return;
        auto *bar = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        if (!bar)
            bar = m_window->findChild<QProgressDialog *>();
        if (!bar || !bar->isVisible()) {
            QThread::msleep(20);
            return;
        }
        pagesBefore = bar->value();
        auto *cancel = bar->findChild<QPushButton *>();
        clicked = cancel && cancel->isVisible() ? cancel->text() : QStringLiteral("no button");
        if (cancel)
            QTest::mouseClick(cancel, Qt::LeftButton);
    });
    // Typed as "lesson" (the file dialog itself would ask about "lesson.pdf"), but "lesson.png"
    // for pictures, which go into the folder "lesson".
    const QString typed = format == QLatin1String("pdf") ? name : name + QStringLiteral(".png");
    QList<ModalAnswer> answers{ click(QStringLiteral("Si")), chooseFile(typed) };
    if (earlier)
        answers << click(QStringLiteral("Si")); // to replace them
    answers << click(QStringLiteral("OK")); // a failure said, which must not come
    const auto answered = answerInTurn(answers);
    watch.start();
    const bool exported = m_list->saveAsFile(format);
    watch.stop();
    QCOMPARE(clicked, QStringLiteral("Cancelar"));
    QVERIFY(pagesBefore > 0); // pages were written when it was cancelled
    QVERIFY(!exported);
    QCOMPARE(*answered, earlier ? 3 : 2);
    QCOMPARE(everythingUnder(m_folder->path()), before);
}

QTEST_MAIN(tst_PageExport)
using Drawing = std::function<void(QPainter &)>;
Q_DECLARE_METATYPE(Drawing)

void tst_PageExport::recordingDrawsAsDrawn_data()
{
    // A sheet is drawn into a recording on the board's thread and drawn again on another: what
    // comes out must be what drawing straight onto it gives, state and all.
    QTest::addColumn<Drawing>("drawing");
    QImage photo(64, 48, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgba(x * 4, y * 5, (x * y) % 256, 255));
    QTest::newRow("a path stroked and filled, antialiased") << Drawing([](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::darkBlue, 3.5, Qt::DashLine, Qt::RoundCap));
        p.setBrush(QColor(200, 40, 40, 128));
        QPainterPath path(QPointF(10, 10));
        path.cubicTo(150, 0, 0, 150, 150, 140);
        p.drawPath(path);
    });
    QTest::newRow("a clip set under one transform, drawn under another")
            << Drawing([](QPainter &p) {
                   p.translate(20, 10);
                   p.setClipRect(QRectF(0, 0, 80, 60));
                   p.rotate(25);
                   p.fillRect(QRectF(-40, -40, 200, 200), Qt::darkGreen);
               });
    QTest::newRow("a clip given back by restore") << Drawing([](QPainter &p) {
        p.save();
        p.setClipRect(10, 10, 30, 30);
        p.fillRect(0, 0, 160, 160, Qt::red);
        p.restore();
        p.fillRect(60, 60, 40, 40, Qt::blue);
    });
    QTest::newRow("opacity and a brush's origin") << Drawing([](QPainter &p) {
        p.setOpacity(0.4);
        p.setBrushOrigin(7, 3);
        p.fillRect(QRectF(5, 5, 150, 150), QBrush(Qt::black, Qt::DiagCrossPattern));
        p.setOpacity(1);
        p.fillRect(QRectF(50, 50, 20, 20), Qt::magenta);
    });
    QTest::newRow("underlined text, its line drawn once") << Drawing([](QPainter &p) {
        QFont font(QStringLiteral("DejaVu Sans"), 14);
        font.setUnderline(true);
        p.setFont(font);
        p.setPen(QColor(0, 0, 0, 160));
        p.drawText(QPointF(8, 60), QStringLiteral("Página ñ"));
    });
    QTest::newRow("a picture turned and scaled, smooth") << Drawing([photo](QPainter &p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.translate(80, 20);
        p.rotate(30);
        p.drawImage(QRectF(0, 0, 96, 72), photo);
    });
    QTest::newRow("a pixmap in tiles, lines and points") << Drawing([photo](QPainter &p) {
        p.drawTiledPixmap(QRectF(10, 10, 140, 90), QPixmap::fromImage(photo), QPointF(5, 9));
        p.setPen(QPen(Qt::yellow, 2));
        p.drawPolyline(QPolygonF(QVector<QPointF>{ QPointF(0, 150), QPointF(80, 110), QPointF(160, 150) }));
        p.drawPoints(QPolygonF(QVector<QPointF>{ QPointF(20, 130), QPointF(140, 130) }));
        p.drawEllipse(QRectF(60, 115, 40, 30));
    });
}

void tst_PageExport::recordingDrawsAsDrawn()
{
    QFETCH(Drawing, drawing);
    const QSize size(160, 160);
    QImage straight(size, QImage::Format_ARGB32_Premultiplied);
    straight.fill(Qt::white);
    {
        QPainter painter(&straight);
        drawing(painter);
    }
    PaintRecording recording(size, straight.logicalDpiX());
    {
        QPainter recorder(&recording);
        drawing(recorder);
    }
    QImage replayed(size, QImage::Format_ARGB32_Premultiplied);
    replayed.fill(Qt::white);
    {
        QPainter painter(&replayed);
        recording.replay(&painter);
    }
    QCOMPARE(replayed, straight);
}

#include "tst_pageexport.moc"
