#include "board/boardtypes.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpixmapitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "board/scribblearea.h"
#include "document/dpageslist.h"
#include "document/toolrun.h"
#include "document/workfolder.h"
#include "pictures/heldpictures.h"
#include "pictures/picturedecoders.h"
#include "shell/appsettings.h"
#include "shell/globals.h"
#include "support/craftedpictures.h"
#include "support/documentfixture.h"
#include "support/itemmedia.h"
#include "support/otherprogram.h"
#include "support/testsupport.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGraphicsRectItem>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <memory>
#include <set>
#include <thread>

#include <signal.h>
#include <unistd.h>

#include <sched.h>

// The open document's page list: where new pages go, which page is current after a delete or a
// select, the signals and texts it sends, and its working directory with autosave and restore.
class tst_DPagesList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newPageGoesRightAfterTheCurrentOne();
    void pageKinds_data();
    void pageKinds();
    void cancelledImagePageLeavesTheNextPageCurrent_data();
    void cancelledImagePageLeavesTheNextPageCurrent();
    void chosenImageBecomesTheBackground();
    void deletingTheOnlyPageLeavesAFreshWhitePage();
    void deleteByIndex_data();
    void deleteByIndex();
    void deleteAllLeavesNoPage();
    void selectEmitsTheCounterText();
    void selectOutOfRangeDoesNothing_data();
    void selectOutOfRangeDoesNothing();
    void pageUpAndDownStopAtTheEnds();
    void changePageSwaps();
    void thumbnailsShowTheCheckerboardOnlyForTransparentPages();
    void pagesAreWiredToTheList();
    void deletedPageLeavesTheClipboard();
    void insertPixmapGoesToTheCurrentPage();
    void tableDrawnSavedOpenedAndExportedKeepsItsGrid();
    void tappedDotSurvivesSaveAndOpen();
    void pagesOffScreenKeepNoDrawingCaches();
    void pagesTurnedToShowTheirObjectsAsTheyAre();
    void openedPagesAreIndexedBetweenEvents();
    void picturesGivenBackAndDecodedAgain();
    void writingPhotosLeavesTheBoardAnswering_data();
    void writingPhotosLeavesTheBoardAnswering();
    void openAnswersWhileSlowPicturesAreRead();
    void picturesOpenedWhileWritingAreAllDrawn();
    void failedCopyIsAskedAgainWithoutARepaint();
    void openAnswersWithEveryDecoderStopped_data();
    void openAnswersWithEveryDecoderStopped();
    void openShowsItsPageWithItsPictures_data();
    void openShowsItsPageWithItsPictures();

    void firstStartAsksNothing();
    void autosaveWritesTheWorkingDirectoryAndKeepsChanges();
    void cleanExitRemovesTheWorkAndTheRecord();
    void restoreQuestion_data();
    void restoreQuestion();
    void keptAutosaveIsOfferedAgain();
    void recordNotOursIsClearedAndNothingRemoved_data();
    void recordNotOursIsClearedAndNothingRemoved();
    void secondProgramLeavesTheFirstAlone_data();
    void secondProgramLeavesTheFirstAlone();
    void openBesideStartingPrograms();

private:
    std::unique_ptr<DPagesList> makeList();
    QList<int> order(const DPagesList &list, const QList<DPage *> &pages) const;

    std::unique_ptr<QWidget> m_window;
};

void tst_DPagesList::init()
{
    settings.clear();
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(800, 600);
    TestSupport::recordConnectWarnings();
}

void tst_DPagesList::cleanup()
{
    m_window.reset();
    QVERIFY(TestSupport::takeConnectWarnings().isEmpty());
}

std::unique_ptr<DPagesList> tst_DPagesList::makeList()
{
    auto list = std::make_unique<DPagesList>(m_window.get());
    m_window->show();
    return list;
}

QList<int> tst_DPagesList::order(const DPagesList &list, const QList<DPage *> &pages) const
{
    QList<int> positions;
    for (DPage *page : list)
        positions << pages.indexOf(page);
    return positions;
}

namespace {

using SecondBoard = DocumentFixture::OtherBoard;

bool isDark(QRgb pixel)
{
    return qRed(pixel) < 200 || qGreen(pixel) < 200 || qBlue(pixel) < 200;
}

// The box of every dark pixel: the table's outline on a white page.
QRect darkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isDark(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Centres of the runs of dark pixels crossed along a row (or a column) of the picture, as
// shares of the box's width (or height).
QList<double> linesAcross(const QImage &image, const QRect &box, bool alongRow, int at)
{
    QList<double> lines;
    const int from = alongRow ? box.left() : box.top();
    const int to = alongRow ? box.right() : box.bottom();
    const double span = alongRow ? box.width() - 1 : box.height() - 1;
    int start = -1;
    for (int i = from; i <= to + 1; ++i) {
        const bool dark = i <= to && isDark(alongRow ? image.pixel(i, at) : image.pixel(at, i));
        if (dark && start < 0)
            start = i;
        if (!dark && start >= 0) {
            lines << ((start + i - 1) / 2.0 - from) / span;
            start = -1;
        }
    }
    return lines;
}

QString shares(const QList<double> &values)
{
    QStringList texts;
    for (double value : values)
        texts << QString::number(value, 'f', 3);
    return texts.join(QLatin1Char(' '));
}

// The grid lines of the only table in the picture, counted in its pixels, against where a
// table of rows x columns with its 20-unit header band of height units has them.
void checkGrid(const QImage &image, int rows, int columns, double height, const char *where)
{
    const QRect box = darkBox(image);
    QVERIFY2(box.width() > 100 && box.height() > 100, where);
    const double header = 20.0 / height;
    const double row = (1.0 - header) / rows;
    QList<double> expectedColumns;
    for (int j = 0; j <= columns; ++j)
        expectedColumns << double(j) / columns;
    QList<double> expectedRows{ 0.0 };
    for (int i = 0; i <= rows; ++i)
        expectedRows << header + i * row;
    const QList<double> across =
            linesAcross(image, box, true, box.top() + qRound((header + row / 2) * box.height()));
    const QList<double> down =
            linesAcross(image, box, false, box.left() + qRound(box.width() / (2.0 * columns)));
    const QString seen = QStringLiteral("%1: columns at %2, rows at %3")
                                 .arg(QLatin1String(where), shares(across), shares(down));
    QVERIFY2(across.size() == expectedColumns.size(), qPrintable(seen));
    QVERIFY2(down.size() == expectedRows.size(), qPrintable(seen));
    const double toleranceX = 3.0 / box.width();
    const double toleranceY = 3.0 / box.height();
    for (int j = 0; j < across.size(); ++j)
        QVERIFY2(qAbs(across.at(j) - expectedColumns.at(j)) <= toleranceX, qPrintable(seen));
    for (int i = 0; i < down.size(); ++i)
        QVERIFY2(qAbs(down.at(i) - expectedRows.at(i)) <= toleranceY, qPrintable(seen));
}

QImage pageImage(DPage *page)
{
    QImage image(page->sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page->render(&painter, QRectF(image.rect()), page->sceneRect());
    return image;
}

DGPathTableItem *onlyTable(DPage *page)
{
    DGPathTableItem *found = nullptr;
    for (QGraphicsItem *item : page->items()) {
        if (auto *table = dynamic_cast<DGPathTableItem *>(item)) {
            if (found)
                return nullptr;
            found = table;
        }
    }
    return found;
}

} // namespace

void tst_DPagesList::insertPixmapGoesToTheCurrentPage()
{
    auto list = makeList();
    list->newPage(BtMenus::btColorPage, false);
    QTemporaryDir folder;
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(QColor(0, 160, 80));
    const QString file = folder.filePath(QStringLiteral("leaf.png"));
    QVERIFY(picture.save(file));
    DPage *current = list->getCurPage();
    list->insertPixmap(file);
    QVERIFY(TestSupport::picturesCome());
    QList<DGPixmapItem *> pictures;
    for (QGraphicsItem *item : current->items()) {
        if (auto *inserted = dynamic_cast<DGPixmapItem *>(item))
            pictures << inserted;
    }
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(pictures.first()->pixmap().toImage().pixelColor(30, 20), QColor(0, 160, 80));
    QCOMPARE(current->undoStack()->count(), 1); // an undoable insertion
    QCOMPARE(list->at(0)->items().size(), 0); // the other page is untouched
}

void tst_DPagesList::tableDrawnSavedOpenedAndExportedKeepsItsGrid()
{
    using namespace DocumentFixture;
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    auto list = makeList();
    DView *view = list->getView();
    DPage *page = list->getCurPage();
    QTRY_VERIFY(view->isVisible());
    // As the table dialog leaves it: 3 rows, 4 columns, the table tool chosen.
    view->setTableRowColumn(3, 4);
    view->m_penType[PenUserMain] = BtMenus::btTableTool;
    // Dragged out with the board shown at every step, as a user sees it grow.
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(150, 120));
    for (int i = 1; i <= 12; ++i) {
        TestSupport::moveTo(view->viewport(), QPoint(150, 120) + QPoint(300, 240) * i / 12);
        view->viewport()->grab();
    }
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(450, 360));
    DGPathTableItem *table = onlyTable(page);
    QVERIFY(table);
    page->clearSelection();
    const double height = table->path().boundingRect().height();
    QVERIFY(height > 200);
    checkGrid(pageImage(page), 3, 4, height, "drawn");
    QCOMPARE(page->undoStack()->count(), 1); // recorded once

    const QString target = home.filePath(QStringLiteral("grid"));
    QVERIFY2(list->saveAllPagesToFileIWB(target, true), qPrintable(list->lastSaveError()));
    SecondBoard second;
    DPagesList &opened = second.pages;
    QVERIFY2(opened.openAllPagesFromFileIWB(target + QStringLiteral(".iwb")),
             qPrintable(opened.lastOpenError()));
    DGPathTableItem *read = onlyTable(opened.at(0));
    QVERIFY(read);
    QCOMPARE(read->m_rows, 3);
    QCOMPARE(read->m_cols, 4);
    QCOMPARE(read->path().boundingRect(), table->mapRectToScene(table->path().boundingRect()));
    checkGrid(pageImage(opened.at(0)), 3, 4, height, "opened");

    const QString pdf = home.filePath(QStringLiteral("grid"));
    const auto answered = answerInTurn({ click(QStringLiteral("Si")), chooseFile(pdf) });
    QVERIFY(opened.saveAsFile(QStringLiteral("pdf")));
    QCOMPARE(*answered, 2);
    const ToolRun rendered =
            runTool(QStringLiteral("pdftoppm"),
                    { QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"),
                      pdf + QStringLiteral(".pdf"), QStringLiteral("page") },
                    home.path(), 60000);
    QVERIFY2(rendered.ok, qPrintable(rendered.error));
    const QImage printed(home.filePath(QStringLiteral("page-1.png")));
    QVERIFY(!printed.isNull());
    checkGrid(printed.convertToFormat(QImage::Format_RGB32), 3, 4, height, "printed");
    opened.exit();
}

void tst_DPagesList::tappedDotSurvivesSaveAndOpen()
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    auto list = makeList();
    DView *view = list->getView();
    view->m_penPencil[PenUserMain] =
            QPen(QColor(0, 0, 200), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    view->m_penSmart = view->m_penPencil[PenUserMain];
    view->m_penType[PenUserMain] = BtMenus::btSmartPen; // a tap leaves its press point alone
    view->setVisibleScribbleArea(true);
    QTest::mouseClick(view->m_scribbleArea, Qt::LeftButton, {}, QPoint(300, 200));
    const QPointF tapped = view->mapToScene(QPoint(300, 200));
    QCOMPARE(list->getCurPage()->undoStack()->count(), 1); // the dot
    list->getCurPage()->clearSelection();
    const QRect around(tapped.toPoint() - QPoint(12, 12), QSize(24, 24));
    const QImage before = pageImage(list->getCurPage()).copy(around);
    const QString target = home.filePath(QStringLiteral("dot"));
    QVERIFY2(list->saveAllPagesToFileIWB(target, true), qPrintable(list->lastSaveError()));
    SecondBoard second;
    DPagesList &opened = second.pages;
    QVERIFY2(opened.openAllPagesFromFileIWB(target + QStringLiteral(".iwb")),
             qPrintable(opened.lastOpenError()));
    const QImage shown = pageImage(opened.at(0));
    QCOMPARE(shown.pixelColor(tapped.toPoint()), QColor(0, 0, 200));
    QCOMPARE(shown.pixelColor(tapped.toPoint() + QPoint(2, 2)), QColor(0, 0, 200));
    QCOMPARE(shown.pixelColor(tapped.toPoint() + QPoint(9, 0)), QColor(Qt::white));
    QCOMPARE(shown.copy(around), before);
    opened.exit();
}

void tst_DPagesList::newPageGoesRightAfterTheCurrentOne()
{
    auto list = makeList();
    for (int i = 0; i < 4; ++i)
        list->newPage(BtMenus::btColorPage, false);
    QCOMPARE(list->size(), 5);
    list->selectPage(1);
    QSignalSpy counter(list.get(), &DPagesList::selectPageNum);
    QSignalSpy changed(list.get(), QOverload<>::of(&DPagesList::newPage));
    list->newPage(BtMenus::btColorPage, false);
    QCOMPARE(list->size(), 6);
    QCOMPARE(list->getCurPageNum(), 3);
    QCOMPARE(list->getView()->scene(), list->getCurPage());
    QCOMPARE(counter.count(), 0); // the label follows only a select
    QCOMPARE(changed.count(), 1);
}

void tst_DPagesList::pageKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("pageType");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<int>("brushStyle");

    QTest::newRow("colour") << int(BtMenus::btColorPage) << int(PageTypeColor) << false
                            << int(Qt::SolidPattern);
    QTest::newRow("transparent") << int(BtMenus::btTransparentPage) << int(PageTypeTransparent)
                                 << true << int(Qt::SolidPattern);
    QTest::newRow("capture") << int(BtMenus::btCapturePage) << int(PageTypeCapture) << false
                             << int(Qt::TexturePattern);
    QTest::newRow("image from a file")
            << int(BtMenus::btImagePage) << int(PageTypeImage) << false << -1;
}

void tst_DPagesList::pageKinds()
{
    QFETCH(int, kind);
    QFETCH(int, pageType);
    QFETCH(bool, transparent);
    QFETCH(int, brushStyle);
    auto list = makeList();
    list->newPage(BtMenus::btType(kind), kind == BtMenus::btImagePage);
    DPage *page = list->getCurPage();
    QCOMPARE(page->pageType(), pageType);
    QCOMPARE(page->isTransparent(), transparent);
    if (brushStyle >= 0)
        QCOMPARE(int(page->backgroundBrush().style()), brushStyle);
    if (transparent)
        QCOMPARE(page->backgroundBrush().color().alpha(), 0);
}

void tst_DPagesList::cancelledImagePageLeavesTheNextPageCurrent_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("expected"); // index of the page current afterwards, before the new one

    QTest::newRow("second of five") << 1 << 2;
    QTest::newRow("last of five") << 4 << 4;
}

void tst_DPagesList::cancelledImagePageLeavesTheNextPageCurrent()
{
    QFETCH(int, current);
    QFETCH(int, expected);
    auto list = makeList();
    for (int i = 0; i < 4; ++i)
        list->newPage(BtMenus::btColorPage, false);
    const QList<DPage *> before = *list;
    list->selectPage(current);
    const auto answered =
            TestSupport::answerNextModal([](QWidget *dialog) { TestSupport::pressEscape(dialog); });
    list->newPage(BtMenus::btImagePage, false);
    QVERIFY(*answered);
    QCOMPARE(QList<DPage *>(*list), before);
    QCOMPARE(list->getCurPage(), before.at(expected));
    QCOMPARE(list->getView()->scene(), before.at(expected));
}

void tst_DPagesList::chosenImageBecomesTheBackground()
{
    QTemporaryDir pictures;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString file = pictures.filePath(QStringLiteral("board.png"));
    QVERIFY(picture.save(file));
    auto list = makeList();
    const auto answered = TestSupport::answerNextModal([file](QWidget *dialog) {
        if (auto *chooser = qobject_cast<QFileDialog *>(dialog))
            TestSupport::typeFileName(chooser, file);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    list->newPage(BtMenus::btImagePage, false);
    QVERIFY(*answered);
    // Made once its picture has been read, beside the board.
    QTRY_COMPARE(list->size(), 2);
    DPage *page = list->getCurPage();
    QCOMPARE(page->pageType(), int(PageTypeImage));
    const QImage background = page->backgroundBrush().textureImage();
    // Scaled to the view, keeping its shape.
    QCOMPARE(background.width(), list->getView()->width());
    QCOMPARE(background.height(), list->getView()->width() / 2);
    QCOMPARE(background.pixelColor(5, 5), QColor(Qt::red));
}

void tst_DPagesList::deletingTheOnlyPageLeavesAFreshWhitePage()
{
    auto list = makeList();
    DPage *only = list->getCurPage();
    only->setPageBackgroundColor(Qt::blue);
    list->delPage(true);
    QCOMPARE(list->size(), 1);
    QCOMPARE(list->getCurPage()->backgroundBrush().color(), QColor(Qt::white));
    QCOMPARE(list->getView()->scene(), list->getCurPage());
}

void tst_DPagesList::deleteByIndex_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QList<int>>("left");
    QTest::addColumn<int>("nowCurrent"); // of the original pages X=0, Y=1, Z=2

    QTest::newRow("last page while the first is current") << 0 << 2 << QList<int>{ 0, 1 } << 1;
    QTest::newRow("first page while the second is current") << 1 << 0 << QList<int>{ 1, 2 } << 1;
    QTest::newRow("the current middle page") << 1 << 1 << QList<int>{ 0, 2 } << 2;
    QTest::newRow("out of range") << 1 << 3 << QList<int>{ 0, 1, 2 } << 1;
    QTest::newRow("negative") << 1 << -1 << QList<int>{ 0, 1, 2 } << 1;
}

void tst_DPagesList::deleteByIndex()
{
    QFETCH(int, current);
    QFETCH(int, deleted);
    QFETCH(QList<int>, left);
    QFETCH(int, nowCurrent);
    auto list = makeList();
    list->newPage(BtMenus::btColorPage, false);
    list->newPage(BtMenus::btColorPage, false);
    const QList<DPage *> pages = *list;
    list->selectPage(current);
    list->delPage(deleted);
    QCOMPARE(order(*list, pages), left);
    QCOMPARE(list->getCurPage(), pages.at(nowCurrent));
    QCOMPARE(list->getView()->scene(), pages.at(nowCurrent));
}

void tst_DPagesList::deleteAllLeavesNoPage()
{
    auto list = makeList();
    list->newPage(BtMenus::btColorPage, false);
    list->delAllPages();
    QVERIFY(list->isEmpty());
    QCOMPARE(list->getCurPage(), nullptr);
    QCOMPARE(list->getCurPageNum(), 0);
    list->newPage(BtMenus::btColorPage, false); // as a reader does next
    QCOMPARE(list->getCurPageNum(), 1);
}

void tst_DPagesList::selectEmitsTheCounterText()
{
    auto list = makeList();
    list->newPage(BtMenus::btColorPage, false);
    list->newPage(BtMenus::btColorPage, false);
    QSignalSpy counter(list.get(), &DPagesList::selectPageNum);
    list->selectPage(1);
    QCOMPARE(counter.count(), 1);
    QCOMPARE(counter.at(0).at(0).toString(), QStringLiteral("2 / 3"));
    QCOMPARE(list->getCurPageNum(), 2);
    list->selectPage(1); // the current page again: the same steps
    QCOMPARE(counter.count(), 2);
}

void tst_DPagesList::selectOutOfRangeDoesNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("count") << 3;
}

void tst_DPagesList::selectOutOfRangeDoesNothing()
{
    QFETCH(int, index);
    auto list = makeList();
    list->newPage(BtMenus::btColorPage, false);
    list->newPage(BtMenus::btColorPage, false);
    DPage *current = list->getCurPage();
    QSignalSpy counter(list.get(), &DPagesList::selectPageNum);
    list->selectPage(index);
    QCOMPARE(counter.count(), 0);
    QCOMPARE(list->getCurPage(), current);
}

void tst_DPagesList::pageUpAndDownStopAtTheEnds()
{
    auto list = makeList();
    list->newPage(BtMenus::btColorPage, false);
    list->newPage(BtMenus::btColorPage, false);
    QSignalSpy counter(list.get(), &DPagesList::selectPageNum);
    list->pageDown(); // already on the last page
    QCOMPARE(counter.count(), 0);
    list->pageUp();
    QCOMPARE(list->getCurPageNum(), 2);
    list->pageUp();
    list->pageUp(); // already on the first page
    QCOMPARE(list->getCurPageNum(), 1);
    QCOMPARE(counter.count(), 2);
    list->pageDown();
    QCOMPARE(counter.last().at(0).toString(), QStringLiteral("2 / 3"));
}

void tst_DPagesList::changePageSwaps()
{
    auto list = makeList();
    list->newPage(BtMenus::btColorPage, false);
    list->newPage(BtMenus::btColorPage, false);
    const QList<DPage *> pages = *list;
    DPage *current = list->getCurPage();
    list->changePage(0, 3);
    QCOMPARE(order(*list, pages), (QList<int>{ 0, 1, 2 }));
    list->changePage(0, 2);
    QCOMPARE(order(*list, pages), (QList<int>{ 2, 1, 0 }));
    QCOMPARE(list->getCurPage(), current);
}

void tst_DPagesList::thumbnailsShowTheCheckerboardOnlyForTransparentPages()
{
    auto list = makeList();
    list->newPage(BtMenus::btTransparentPage, false);
    const QList<QPixmap> thumbnails = list->getScreenshotList();
    QCOMPARE(thumbnails.size(), 2);
    const QRectF scene = list->first()->sceneRect();
    QCOMPARE(thumbnails.at(0).size(), scene.size().toSize());
    const QImage colour = thumbnails.at(0).toImage();
    const QImage transparent = thumbnails.at(1).toImage();
    QCOMPARE(colour.pixelColor(100, 100), QColor(Qt::white));
    QCOMPARE(transparent.pixelColor(100, 100), QColor(Qt::gray)); // first tile
    QCOMPARE(transparent.pixelColor(300, 100), QColor(Qt::white)); // its neighbour
}

void tst_DPagesList::pagesAreWiredToTheList()
{
    auto list = makeList();
    list->newPage(BtMenus::btColorPage, false);
    DPage *second = list->getCurPage();
    QSignalSpy changed(list.get(), QOverload<>::of(&DPagesList::newPage));
    QList<int> tools;
    connect(list.get(), &DPagesList::selectBt, this, [&](BtMenus::btType bt) { tools << bt; });
    QSignalSpy counter(list.get(), &DPagesList::selectPageNum);
    emit second->updateRes();
    QCOMPARE(changed.count(), 1);
    emit second->selectBt(BtMenus::btSelect);
    QCOMPARE(tools, QList<int>{ BtMenus::btSelect });
    emit second->goToPage(0); // a page link
    QCOMPARE(list->getCurPageNum(), 1);
    QCOMPARE(counter.count(), 1);
}

void tst_DPagesList::pagesOffScreenKeepNoDrawingCaches()
{
    auto list = makeList();
    QList<DGPathCurveItem *> strokes;
    for (int n = 0; n < 4; ++n) {
        if (n > 0)
            list->newPage(BtMenus::btColorPage, false);
        auto *stroke = new DGPathCurveItem(QPointF(50, 50), QPen(Qt::black, 3), BtMenus::btPencil,
                                           nullptr);
        QPainterPath path(QPointF(0, 0));
        path.lineTo(200, 80);
        stroke->setPath(path);
        list->getCurPage()->addItem(stroke);
        strokes << stroke;
    }
    const auto cached = [&] {
        list->getView()->m_bRefreshOverlay = true; // the board is drawn afresh
        list->getView()->grab();
        QList<bool> kept;
        for (DGPathCurveItem *stroke : strokes)
            kept << stroke->hasRenderCache();
        return kept;
    };
    // The page shown and, once the board is idle, the pages either side keep their drawing
    // caches; the others drop theirs.
    QTRY_COMPARE(cached(), QList<bool>({ false, false, true, true }));
    const QList<quint64> revisions = { list->at(0)->contentRevision(),
                                       list->at(1)->contentRevision() };
    list->selectPage(0);
    QTRY_COMPARE(cached(), QList<bool>({ true, true, false, false }));
    // Drawing a page's objects for their caches is no change of the page.
    QCOMPARE(list->at(1)->contentRevision(), revisions.at(1));

    // A thumbnail of a page far off leaves nothing behind, and draws the same again.
    const QList<QPixmap> thumbnails =
            list->getThumbnailList([](QSize) { return QSize(160, 120); });
    QVERIFY(!strokes[3]->hasRenderCache());
    QVERIFY(strokes[1]->hasRenderCache());
    QCOMPARE(list->at(3)->getPagePixmap(1, QSize(160, 120)).toImage(),
             thumbnails.at(3).toImage());
}

void tst_DPagesList::pagesTurnedToShowTheirObjectsAsTheyAre()
{
    // Pages turned to one after the other, each before the pictures of its strokes are all
    // drawn (by the board's thread and others, shown or ahead), and a stroke changed while its
    // page's pictures are drawn ahead: every page shows each object as it is, pixel for pixel as
    // the board draws the objects itself.
    auto list = makeList();
    for (int n = 0; n < 3; ++n) {
        if (n > 0)
            list->newPage(BtMenus::btColorPage, false);
        for (int s = 0; s < 40; ++s) {
            QPainterPath path(QPointF(0, 0));
            for (int p = 1; p < 200; ++p)
                path.lineTo(p * 2.31, (p * p + n) % 37 + 0.5);
            const QPen pen(QColor(s * 6, 40, 90 + n * 50), 3, Qt::SolidLine, Qt::RoundCap,
                           Qt::RoundJoin);
            list->getCurPage()->addCurveItem(path, pen, 0, BtMenus::btPencil,
                                             BtMenus::fnPathAtPos, QPointF(s * 3.7, 20 + s * 9),
                                             1.0f, QTransform(), false);
        }
    }
    DView *view = list->getView();
    const auto shown = [view] {
        view->m_bRefreshOverlay = true; // the board is drawn afresh
        return view->grab().toImage();
    };
    const auto drawnByTheBoard = [&] {
        for (QGraphicsItem *item : list->getCurPage()->items()) {
            if (auto *object = dynamic_cast<DGPathItem *>(item))
                object->invalidateCache();
        }
        return shown();
    };
    list->selectPage(0);
    shown();
    list->selectPage(1); // the pictures of page 3 are begun ahead
    QList<DGPathItem *> strokes;
    for (QGraphicsItem *item : list->at(2)->items(Qt::AscendingOrder)) {
        if (auto *stroke = dynamic_cast<DGPathItem *>(item))
            strokes << stroke;
    }
    QCOMPARE(strokes.size(), 40);
    strokes.at(5)->setPen(QPen(Qt::green, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const int index : { 2, 1, 0, 2 }) {
        list->selectPage(index);
        const QImage turnedTo = shown();
        QCOMPARE(turnedTo, drawnByTheBoard());
    }
}

void tst_DPagesList::openedPagesAreIndexedBetweenEvents()
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    auto list = makeList();
    for (int n = 0; n < 6; ++n) {
        if (n > 0)
            list->newPage(BtMenus::btColorPage, false);
        QPainterPath path(QPointF(0, 0));
        path.lineTo(200, 80 + n);
        list->getCurPage()->addCurveItem(path, QPen(Qt::black, 3), 0, BtMenus::btPencil,
                                         BtMenus::fnPathAtPos, QPointF(50, 50), 1.0f,
                                         QTransform(), true);
    }
    const QString target = home.filePath(QStringLiteral("lesson"));
    QVERIFY2(list->saveAllPagesToFileIWB(target, true), qPrintable(list->lastSaveError()));
    SecondBoard second;
    DPagesList &opened = second.pages;
    QVERIFY2(opened.openAllPagesFromFileIWB(target + QStringLiteral(".iwb")),
             qPrintable(opened.lastOpenError()));
    // Each page's index sets a timer of its own as objects come; due together after an open of
    // many pages, they held the board up. Long before they are due, none is set.
    QObjectList indexes;
    for (DPage *page : qAsConst(opened)) {
        for (QObject *child : page->children()) {
            if (child->inherits("QGraphicsSceneIndex"))
                indexes << child;
        }
    }
    QCOMPARE(indexes.size(), 6);
    const auto timersSet = [&indexes] {
        int set = 0;
        for (QObject *index : qAsConst(indexes))
            set += QAbstractEventDispatcher::instance()->registeredTimers(index).size();
        return set;
    };
    // Half as long as they would wait is long enough.
    QTRY_COMPARE_WITH_TIMEOUT(timersSet(), 0, 1000);
    opened.exit();
}

void tst_DPagesList::deletedPageLeavesTheClipboard()
{
    auto list = makeList();
    auto *kept = new QGraphicsRectItem(0, 0, 10, 10);
    list->getCurPage()->addItem(kept);
    list->newPage(BtMenus::btColorPage, false);
    auto *gone = new QGraphicsRectItem(0, 0, 10, 10);
    list->getCurPage()->addItem(gone);
    m_pCopyPasteListItems.clear();
    m_pCopyPasteListItems << kept << gone;
    list->delPage(false);
    QCOMPARE(m_pCopyPasteListItems.size(), 1);
    QCOMPARE(m_pCopyPasteListItems.first(), static_cast<QGraphicsItem *>(kept));

    // An object cut from a page lives on only in that page's history: it goes with the page.
    list->newPage(BtMenus::btColorPage, false);
    QPainterPath square;
    square.addRect(0, 0, 40, 40);
    QGraphicsItem *item = list->getCurPage()->addCurveItem(
            square, QPen(Qt::black), 0, BtMenus::btSquare, BtMenus::fnPathAtPos,
            QPointF(100, 100), 1.0, QTransform(), true);
    const QPointer<QObject> cut = dynamic_cast<QObject *>(item);
    item->setSelected(true);
    list->getCurPage()->cutObj();
    QCOMPARE(m_pCopyPasteListItems, QList<QGraphicsItem *>{ item });
    list->delPage(false);
    QVERIFY(cut.isNull());
    QVERIFY(m_pCopyPasteListItems.isEmpty());
}

namespace {

// The longest the board's thread went without turning its event loop while it lives (a timer
// ticking every millisecond there).
class StallMeter
{
public:
    StallMeter()
    {
        QObject::connect(&m_ticks, &QTimer::timeout, [this] {
            m_longestMs = std::max(m_longestMs, m_sinceTick.elapsed());
            m_sinceTick.restart();
        });
        m_sinceTick.start();
        m_ticks.start(1);
    }
    qint64 longestMs() const { return std::max(m_longestMs, m_sinceTick.elapsed()); }

private:
    QTimer m_ticks;
    QElapsedTimer m_sinceTick;
    qint64 m_longestMs = 0;
};

// Turns the event loop until every picture asked of the decoding processes has come.
bool picturesSettle()
{
    QDeadlineTimer deadline(120000);
    while (HeldPictures::pending() > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    return HeldPictures::pending() == 0;
}

} // namespace

void tst_DPagesList::picturesGivenBackAndDecodedAgain()
{
    // A lesson's pictures are decoded while their page is shown or near it; pages away, they
    // are given back (but for their smallest copy), and decoded again when their page comes
    // back, drawn as they were.
    QTemporaryDir folder;
    auto list = makeList();
    QList<DGPixmapItem *> pictures;
    for (int n = 0; n < 5; ++n) {
        if (n > 0)
            list->newPage(BtMenus::btColorPage, false);
        const QString file = folder.filePath(QStringLiteral("photo%1.png").arg(n));
        QVERIFY(TestSupport::photoLike(QSize(1600, 1200)).mirrored(n % 2, n / 2).save(file));
        list->getCurPage()->insertPixmap(file);
        QVERIFY(TestSupport::picturesCome());
        const QList<QGraphicsItem *> items = list->getCurPage()->items();
        for (QGraphicsItem *item : items) {
            if (auto *picture = dynamic_cast<DGPixmapItem *>(item))
                pictures << picture;
        }
        QCOMPARE(pictures.size(), n + 1);
    }
    const auto shownBoard = [&list] {
        list->getView()->m_bRefreshOverlay = true;
        list->getView()->viewport()->repaint();
        if (!picturesSettle())
            return QImage();
        list->getView()->m_bRefreshOverlay = true;
        return list->getView()->viewport()->grab().toImage();
    };
    const auto held = [](const DGPixmapItem *picture) {
        return HeldPictures::heldHalvings(*picture->picture());
    };
    list->selectPage(0);
    const QImage first = shownBoard();
    QVERIFY(!first.isNull());
    const QList<int> copies = held(pictures.first());
    QVERIFY2(copies.size() == 2, qPrintable(QString::number(copies.size())));
    list->selectPage(3);
    shownBoard();
    QCOMPARE(held(pictures.first()), copies.mid(1)); // its smallest only
    QCOMPARE(held(pictures.at(3)).size(), 2);
    list->selectPage(0);
    QCOMPARE(shownBoard(), first);
    QCOMPARE(held(pictures.first()), copies);
    list->exit();
}

void tst_DPagesList::writingPhotosLeavesTheBoardAnswering_data()
{
    QTest::addColumn<QString>("written"); // "autosave", or the format exported to
    QTest::addColumn<float>("scale"); // of the pictures on the page
    QTest::newRow("autosave") << QStringLiteral("autosave") << 0.2f;
    // A PDF compresses every picture of a page as large as the sheet shows it.
    QTest::newRow("PDF export") << QStringLiteral("pdf") << 1.0f;
}

void tst_DPagesList::writingPhotosLeavesTheBoardAnswering()
{
    // Pictures to encode (made on the board: every pixel its own) and pictures held as their
    // files: they are all written beside the board, which answers all along.
    QFETCH(QString, written);
    QFETCH(float, scale);
    QTemporaryDir folder;
    auto list = makeList();
    DPage *page = list->getCurPage();
    for (int n = 0; n < 4; ++n) {
        QImage noise(2400, 1800, QImage::Format_RGB32);
        quint32 seed = 2166136261u + n;
        for (int y = 0; y < noise.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(noise.scanLine(y));
            for (int x = 0; x < noise.width(); ++x)
                line[x] = 0xff000000u | ((seed = seed * 1664525u + 1013904223u) >> 8);
        }
        page->addPixmapItem(QPixmap::fromImage(noise), QPointF(60 * n, 40 * n), 0, scale,
                            QTransform(), true);
        const QString file = folder.filePath(QStringLiteral("photo%1.png").arg(n));
        QVERIFY(noise.save(file));
        page->insertPixmap(file);
        QVERIFY(TestSupport::picturesCome());
    }
    QVERIFY(picturesSettle());
    StallMeter stalls;
    if (written == QLatin1String("autosave")) {
        list->autoSaveInSteps();
        QDeadlineTimer deadline(300000);
        while (list->isAutoSaving() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QVERIFY(!list->isAutoSaving());
        QCOMPARE(QDir(list->workDir() + QStringLiteral("/images")).entryList(QDir::Files).size(),
                 8);
        QVERIFY(QFileInfo::exists(list->workDir() + QStringLiteral("/content.xml")));
    } else {
        using namespace DocumentFixture;
        const auto answered = answerInTurn(
                { click(QStringLiteral("Si")), chooseFile(folder.filePath("photos")) });
        QVERIFY(list->saveAsFile(written));
        QCOMPARE(*answered, 2);
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("photos.pdf"))).size() > 100000);
    }
    QVERIFY2(stalls.longestMs() < 1000, qPrintable(QString::number(stalls.longestMs())));
    list->exit();
}

void tst_DPagesList::openShowsItsPageWithItsPictures_data()
{
    QTest::addColumn<QString>("kind"); // of the pictures on each page ("": bytes of no picture)
    QTest::newRow("photos") << QStringLiteral("jpeg");
    QTest::newRow("pictures with transparency") << QStringLiteral("png-alpha");
    QTest::newRow("pictures that cannot be read") << QString();
}

void tst_DPagesList::openShowsItsPageWithItsPictures()
{
    // The page a lesson opens on is shown with its pictures as the open returns, a smaller copy
    // of each at least (one that cannot be had is said as such): shown without them, a page of
    // photos came up blank and filled in a moment later.
    QFETCH(QString, kind);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images")));
    QByteArray pages;
    for (int n = 0; n < 3; ++n) {
        QString file = folder.filePath(QStringLiteral("images/p%1.png").arg(n));
        if (kind.isEmpty())
            DocumentFixture::writeFile(file, QByteArray(4096, '\x5a'));
        else
            file = CraftedPictures::writeIn(folder.filePath(QStringLiteral("images")), kind,
                                            QSize(800, 600), QStringLiteral("p%1").arg(n));
        QVERIFY(!file.isEmpty());
        pages += QStringLiteral("<svg:page id=\"page%1\"><svg:rect id=\"bck%1\" fill=\"#ffffff\" "
                                "fill-opacity=\"1\" x=\"0\" y=\"0\" width=\"800\" "
                                "height=\"600\"/>")
                         .arg(n)
                         .toUtf8();
        for (int p = 0; p < 2; ++p) {
            pages += QStringLiteral("<svg:image id=\"obj%1\" xlink:href=\"images/%2\" x=\"%3\" "
                                    "y=\"40\" width=\"320\" height=\"240\" "
                                    "transform=\"rotate(0,0,0)\"/>")
                             .arg(10 * n + p)
                             .arg(QFileInfo(file).fileName())
                             .arg(20 + 360 * p)
                             .toUtf8();
        }
        pages += "</svg:page>";
    }
    DocumentFixture::writeFile(
            folder.filePath(QStringLiteral("content.xml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<iwb "
            "xmlns:svg=\"http://www.w3.org/2000/svg\" "
            "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.0\"><svg:svg width=\"800\" "
            "height=\"600\"><svg:pageset>"
                    + pages + "</svg:pageset></svg:svg></iwb>");
    const QString archive = folder.filePath(QStringLiteral("photos.iwb"));
    QVERIFY(runTool(QStringLiteral("zip"),
                    { QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("-n"),
                      QStringLiteral(".jpg:.png"), archive, QStringLiteral("content.xml"),
                      QStringLiteral("images") },
                    folder.path(), 60000)
                    .ok);
    auto list = makeList();
    QVERIFY(list->openAllPagesFromFileIWB(archive));
    QCOMPARE(list->size(), 3);
    int pictures = 0;
    const QList<QGraphicsItem *> items = list->getCurPage()->items();
    for (QGraphicsItem *item : items) {
        const auto *picture = dynamic_cast<DGPixmapItem *>(item);
        if (!picture)
            continue;
        ++pictures;
        if (kind.isEmpty())
            QVERIFY(picture->picture()->isRefused());
        else
            QVERIFY(HeldPictures::hasCopy(*picture->picture()));
    }
    QCOMPARE(pictures, 2);
    QVERIFY(DocumentFixture::waitForPictures(*list));
    list->exit();
}

void tst_DPagesList::openAnswersWhileSlowPicturesAreRead()
{
    // Pictures that each take their whole time to be read, beside ordinary ones: the lesson
    // opens with its strokes at once, the ordinary pictures come, and the board answers the
    // teacher all along, until the slow ones are said. On two processors too: the slow ones
    // do not hold the decoding processes the others need. (Four slow ones of 4000 x 4000 would
    // take the whole budget of memory between them, and the others would wait for that.)
    PictureDecoders &decoders = PictureDecoders::instance();
    const PictureDecoders::Limits limits = decoders.limits();
    decoders.setLimits({ 1, 2, limits.budgetBytes });
    const auto restore = qScopeGuard([&decoders, limits] { decoders.setLimits(limits); });
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images")));
    QByteArray objects =
            "<svg:polyline id=\"obj1\" points=\"10,10 300,200\" fillType=\"0\" stroke=\"#0000ff\" "
            "stroke-dasharray=\"1, 0\" stroke-width=\"9\" stroke-opacity=\"255\" "
            "transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>";
    for (int n = 0; n < 8; ++n) {
        const bool slow = n % 2 == 0;
        const QString file = CraftedPictures::writeIn(
                folder.filePath(QStringLiteral("images")), slow ? "svg-slow" : "png",
                slow ? QSize(2000, 2000) : QSize(200, 150), QStringLiteral("p%1").arg(n));
        QVERIFY(!file.isEmpty());
        objects += QStringLiteral("<svg:image id=\"obj%1\" xlink:href=\"images/%2\" x=\"%3\" "
                                  "y=\"300\" width=\"80\" height=\"60\" "
                                  "transform=\"rotate(0,0,0)\"/>")
                           .arg(n + 10)
                           .arg(QFileInfo(file).fileName())
                           .arg(20 + 90 * n)
                           .toUtf8();
    }
    DocumentFixture::writeFile(
            folder.filePath(QStringLiteral("content.xml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<iwb xmlns:svg=\"http://www.w3.org/2000/svg\" "
            "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.0\"><svg:svg width=\"800\" "
            "height=\"600\"><svg:pageset><svg:page id=\"page0\"><svg:rect id=\"bck0\" "
            "fill=\"#ffffff\" fill-opacity=\"1\" x=\"0\" y=\"0\" width=\"800\" height=\"600\"/>"
                    + objects + "</svg:page></svg:pageset></svg:svg></iwb>");
    const QString archive = folder.filePath(QStringLiteral("slow.iwb"));
    QVERIFY(runTool(QStringLiteral("zip"),
                    { QStringLiteral("-q"), QStringLiteral("-r"), archive,
                      QStringLiteral("content.xml"), QStringLiteral("images") },
                    folder.path(), 60000)
                    .ok);
    auto list = makeList();
    QVERIFY(list->openAllPagesFromFileIWB(archive));
    DPage *page = list->getCurPage();
    QList<DGPixmapItem *> ordinary;
    QList<DGPixmapItem *> slow;
    DGPathCurveItem *stroke = nullptr;
    for (QGraphicsItem *item : page->items()) {
        if (auto *picture = dynamic_cast<DGPixmapItem *>(item)) {
            const bool png =
                    QFileInfo(picture->picture()->name()).suffix() == QLatin1String("png");
            (png ? ordinary : slow) << picture;
        }
        stroke = stroke ? stroke : dynamic_cast<DGPathCurveItem *>(item);
    }
    QCOMPARE(ordinary.size(), 4);
    QCOMPARE(slow.size(), 4);
    QVERIFY(stroke);
    QVERIFY(!list->arePicturesMeasured());
    // The ordinary pictures come while the slow ones are still being read.
    StallMeter stalls;
    list->getView()->viewport()->repaint();
    QDeadlineTimer deadline(60000);
    const auto shown = [&ordinary] {
        return std::all_of(ordinary.cbegin(), ordinary.cend(), [](const DGPixmapItem *picture) {
            return !HeldPictures::heldHalvings(*picture->picture()).isEmpty();
        });
    };
    while (!shown() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QVERIFY(shown());
    // Before any slow one is said: none of them kept the others waiting.
    for (const DGPixmapItem *picture : qAsConst(slow))
        QVERIFY2(!picture->picture()->isRefused(), qPrintable(picture->picture()->name()));
    QVERIFY(!list->arePicturesMeasured());
    // And the teacher's click lands meanwhile: the stroke is selected.
    list->getView()->setSelect();
    const QPoint onStroke = list->getView()->mapFromScene(stroke->mapToScene(QPointF(145, 95)));
    QTest::mouseClick(list->getView()->viewport(), Qt::LeftButton, Qt::NoModifier, onStroke);
    QTRY_VERIFY(stroke->isSelected());
    QVERIFY(!list->arePicturesMeasured());
    QVERIFY(DocumentFixture::waitForPictures(*list));
    QVERIFY2(stalls.longestMs() < 1000, qPrintable(QString::number(stalls.longestMs())));
    QCOMPARE(list->lastOpenPictures().size(), 4);
    list->exit();
}

namespace {

// A lesson of one page holding count pictures (PNG files of size, each of its own colour,
// striped two shown pixels wide), laid in rows of four, each shown over 300 x 200: larger than
// their smallest copies, which show the stripes blurred. Returns the archive; pictures, the
// pictures' pixels averaged down to 1200 x 800, and where on the page each lies.
QString stripedLesson(const QTemporaryDir &folder, int count, QSize size, QList<QImage> *pictures,
                      QList<QRect> *places)
{
    const int stripe = size.width() / 150;
    QDir(folder.path()).mkpath(QStringLiteral("images"));
    QByteArray objects;
    for (int n = 0; n < count; ++n) {
        QImage picture(size, QImage::Format_RGB32);
        const QColor colour = QColor::fromHsv((n * 47) % 360, 200, 220);
        for (int y = 0; y < picture.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb striped = (x / stripe) % 2 == 0 ? colour.rgb() : qRgb(20, 20, 20);
                line[x] = y < size.height() / 2 ? striped : colour.darker(150).rgb();
            }
        }
        const QString name = QStringLiteral("p%1.png").arg(n);
        if (!picture.save(folder.filePath(QStringLiteral("images/") + name)))
            return QString();
        const QRect place(10 + 310 * (n % 4), 10 + 210 * (n / 4), 300, 200);
        *pictures << picture.scaled(1200, 800, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        *places << place;
        objects += QStringLiteral("<svg:image id=\"obj%1\" xlink:href=\"images/%2\" x=\"%3\" "
                                  "y=\"%4\" width=\"300\" height=\"200\" "
                                  "transform=\"rotate(0,0,0)\"/>")
                           .arg(n + 10)
                           .arg(name)
                           .arg(place.x())
                           .arg(place.y())
                           .toUtf8();
    }
    DocumentFixture::writeFile(
            folder.filePath(QStringLiteral("content.xml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<iwb xmlns:svg=\"http://www.w3.org/2000/svg\" "
            "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.0\"><svg:svg width=\"1280\" "
            "height=\"800\"><svg:pageset><svg:page id=\"page0\"><svg:rect id=\"bck0\" "
            "fill=\"#ffffff\" fill-opacity=\"1\" x=\"0\" y=\"0\" width=\"1280\" height=\"800\"/>"
                    + objects + "</svg:page></svg:pageset></svg:svg></iwb>");
    const QString archive = folder.filePath(QStringLiteral("striped.iwb"));
    const bool zipped =
            runTool(QStringLiteral("zip"),
                    { QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("-n"),
                      QStringLiteral(".png"), archive, QStringLiteral("content.xml"),
                      QStringLiteral("images") },
                    folder.path(), 60000)
                    .ok;
    return zipped ? archive : QString();
}

// How far what the board shows (shown, the view's pixels) stands from each picture drawn
// straight from its pixels where the view shows its place: the largest of the pictures' mean
// differences of a colour channel, over each picture's inside (its edges left out).
double farthestPicture(const QImage &shown, const DView *view, const QList<QImage> &pictures,
                       const QList<QRect> &places, int *worst)
{
    double farthest = 0;
    for (int n = 0; n < pictures.size(); ++n) {
        const QRectF mapped = view->viewportTransform().mapRect(QRectF(places.at(n)));
        const QRect area(mapped.topLeft().toPoint(), mapped.size().toSize());
        const QImage drawn = pictures.at(n).scaled(area.size(), Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation);
        const QRect inside = area.adjusted(4, 4, -4, -4) & shown.rect();
        qint64 difference = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const QRgb a = shown.pixel(x, y);
                const QRgb b = drawn.pixel(x - area.left(), y - area.top());
                difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b))
                        + qAbs(qBlue(a) - qBlue(b));
            }
        }
        const double mean = inside.isEmpty() ? 255 : difference / (3.0 * inside.width() * inside.height());
        if (mean > farthest) {
            farthest = mean;
            *worst = n;
        }
    }
    return farthest;
}

// What the teacher sees of the board: the view with the overlay over it when it is up.
QImage onScreen(DView *view)
{
    return view->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Drawn straight from the pictures, a picture shown as the board shows it differs by a few
// levels (filtered otherwise); its smaller copy standing in, blurred stripes, by dozens.
constexpr double kDrawnWithin = 12;

} // namespace

void tst_DPagesList::picturesOpenedWhileWritingAreAllDrawn()
{
    // A page of pictures opened while the teacher writes at once, a short stroke every tenth
    // of a second along the bottom: every picture comes on the board, as sharp as it is
    // shown, though the board shows the overlay's picture of itself all the while; and the
    // strokes made after the open are kept. The copies came and were never drawn: the photos
    // stayed missing, or blurred, until something else drew the page again.
    QTemporaryDir folder;
    QList<QImage> pictures;
    QList<QRect> places;
    const QString archive = stripedLesson(folder, 12, QSize(4800, 3200), &pictures, &places);
    QVERIFY(!archive.isEmpty());
    // On two processors, as a school's machine: the open shows the page before every copy
    // has come.
    cpu_set_t all;
    QVERIFY(sched_getaffinity(0, sizeof all, &all) == 0);
    const auto restore = qScopeGuard([&all] { sched_setaffinity(0, sizeof all, &all); });
    cpu_set_t two;
    CPU_ZERO(&two);
    for (int cpu = 0, kept = 0; cpu < CPU_SETSIZE && kept < 2; ++cpu) {
        if (CPU_ISSET(cpu, &all)) {
            CPU_SET(cpu, &two);
            ++kept;
        }
    }
    QVERIFY(sched_setaffinity(0, sizeof two, &two) == 0);
    m_window->setFixedSize(1280, 800);
    auto list = makeList();
    DView *view = list->getView();
    view->m_penType[PenUserMain] = BtMenus::btPencil;
    view->setVisibleScribbleArea(true);
    int strokes = 0;
    bool opened = false;
    QTimer writing;
    QObject::connect(&writing, &QTimer::timeout, [&] {
        const int x = 40 + (strokes % 20) * 60;
        QTest::mousePress(view->m_scribbleArea, Qt::LeftButton, {}, QPoint(x, 720));
        for (int step = 1; step <= 4; ++step)
            TestSupport::moveTo(view->m_scribbleArea, QPoint(x + 10 * step, 720 + 5 * (step % 2)));
        QTest::mouseRelease(view->m_scribbleArea, Qt::LeftButton, {}, QPoint(x + 40, 720));
        strokes += opened ? 1 : 0; // before, the open drops them
    });
    writing.start(100);
    QVERIFY(list->openAllPagesFromFileIWB(archive));
    opened = true;
    QVERIFY(view->m_scribbleArea->isVisible());
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    writing.stop();
    QVERIFY(picturesSettle());
    QVERIFY(strokes > 0);
    int kept = 0;
    for (QGraphicsItem *item : list->getCurPage()->items())
        kept += dynamic_cast<DGPathItem *>(item) ? 1 : 0;
    QCOMPARE(kept, strokes);
    // Drawn by the board itself, nothing else painting it again.
    int worst = -1;
    QTRY_VERIFY2_WITH_TIMEOUT(farthestPicture(onScreen(view), view, pictures, places, &worst)
                                      < kDrawnWithin,
                              qPrintable(QStringLiteral("picture %1: %2").arg(worst).arg(
                                      farthestPicture(onScreen(view), view, pictures, places,
                                                      &worst))),
                              20000);
    list->exit();
}

void tst_DPagesList::failedCopyIsAskedAgainWithoutARepaint()
{
    // A picture's copy for the size it is shown at fails to be read (its file away for a
    // moment): the store asks for it again by itself, and it is drawn, though the board shows
    // the overlay's picture of itself, which nothing else draws again.
    QTemporaryDir folder;
    QList<QImage> pictures;
    QList<QRect> places;
    const QString archive = stripedLesson(folder, 1, QSize(2400, 1600), &pictures, &places);
    QVERIFY(!archive.isEmpty());
    m_window->setFixedSize(1280, 800);
    auto list = makeList();
    DView *view = list->getView();
    QVERIFY(list->openAllPagesFromFileIWB(archive));
    QVERIFY(picturesSettle());
    DGPixmapItem *picture = nullptr;
    for (QGraphicsItem *item : list->getCurPage()->items())
        picture = picture ? picture : dynamic_cast<DGPixmapItem *>(item);
    QVERIFY(picture);
    view->m_penType[PenUserMain] = BtMenus::btPencil;
    view->setVisibleScribbleArea(true);
    const QString file = picture->picture()->file();
    const QString away = file + QStringLiteral(".away");
    QVERIFY(QFile::rename(file, away));
    // Shown twice as large: a copy twice as large is asked for, and fails.
    view->setScale(2.0);
    view->centerOn(picture);
    view->viewport()->repaint();
    QVERIFY(picturesSettle());
    QVERIFY(!HeldPictures::heldHalvings(*picture->picture()).contains(2));
    QVERIFY(!picture->picture()->isRefused());
    QVERIFY(QFile::rename(away, file));
    QTRY_VERIFY_WITH_TIMEOUT(HeldPictures::heldHalvings(*picture->picture()).contains(2), 20000);
    int worst = -1;
    QTRY_VERIFY2_WITH_TIMEOUT(farthestPicture(onScreen(view), view, pictures, places, &worst)
                                      < kDrawnWithin,
                              qPrintable(QString::number(farthestPicture(
                                      onScreen(view), view, pictures, places, &worst))),
                              20000);
    list->exit();
}

namespace {

// Stops every decoding process of this program as soon as it is there (SIGSTOP), from a thread
// of its own, as a machine that froze them would; those still there are continued once it goes,
// for the tests after.
class DecoderStopper
{
public:
    DecoderStopper()
        : m_thread([this] {
              while (!m_done) {
                  for (const qint64 pid : decoders()) {
                      if (!isStopped(pid)) {
                          m_stopped.insert(pid);
                          ::kill(pid_t(pid), SIGSTOP);
                      }
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~DecoderStopper()
    {
        m_done = true;
        m_thread.join();
        for (const qint64 pid : m_stopped)
            ::kill(pid_t(pid), SIGCONT);
    }
    // The decoding processes now, each a child of this program.
    static QVector<qint64> decoders()
    {
        QVector<qint64> found;
        const QString tasks = QStringLiteral("/proc/%1/task/").arg(::getpid());
        for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile children(tasks + task + QStringLiteral("/children"));
            if (!children.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &child : children.readAll().simplified().split(' ')) {
                QFile name(QStringLiteral("/proc/%1/comm").arg(child.toLongLong()));
                if (child.toLongLong() > 0 && name.open(QIODevice::ReadOnly)
                    && name.readAll().startsWith("veltorina-pict"))
                    found << child.toLongLong();
            }
        }
        return found;
    }
    // Stopped, as the system shows it.
    static bool isStopped(qint64 pid)
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = stat.readAll();
        const int state = line.lastIndexOf(')') + 2;
        return state > 1 && state < line.size() && (line[state] == 'T' || line[state] == 't');
    }

private:
    std::atomic<bool> m_done{ false };
    std::set<qint64> m_stopped; // the stopper's thread's
    std::thread m_thread;
};

} // namespace

void tst_DPagesList::openAnswersWithEveryDecoderStopped_data()
{
    QTest::addColumn<int>("pages"); // the twelve pictures shared between them
    QTest::addColumn<bool>("backgrounds"); // each page's picture its background
    QTest::addColumn<bool>("ubz"); // a UBZ lesson imported, its pictures measured as it is read
    QTest::newRow("pictures on two pages") << 2 << false << false;
    QTest::newRow("pages of a picture each") << 12 << true << false;
    QTest::newRow("a UBZ lesson's page of pictures") << 1 << false << true;
}

void tst_DPagesList::openAnswersWithEveryDecoderStopped()
{
    QFETCH(int, pages);
    QFETCH(bool, backgrounds);
    QFETCH(bool, ubz);
    // Every decoding process stopped, those there before the open and each one started after: the
    // open ends without waiting for its pictures, however many of its pages are pictures read as
    // it opens, the board answers the teacher all along, and the twelve pictures are said as not
    // answering, together, once their time is up: the stopped processes hold no place nor memory
    // the others wait for (here the pictures' time is shortened from nine seconds, and the budget
    // of memory to two measures at once: six rounds of their time one after the other). Pictures
    // that take minutes to draw: one whose process the test stops too late is not read either.
    PictureDecoders &decoders = PictureDecoders::instance();
    PictureDecoders::Limits shortened = PictureDecoders::defaultLimits();
    shortened.pictureMs = 3000;
    shortened.budgetBytes = 2 * PictureDecoders::kProbeBytes;
    decoders.setLimits(shortened);
    const auto limits =
            qScopeGuard([&decoders] { decoders.setLimits(PictureDecoders::defaultLimits()); });
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images")));
    QByteArray text;
    QStringList names;
    for (int n = 0; n < pages; ++n) {
        if (backgrounds) {
            names << QFileInfo(CraftedPictures::writeIn(folder.filePath(QStringLiteral("images")),
                                                        QStringLiteral("svg-slow"), QSize(800, 600),
                                                        QStringLiteral("p%1").arg(n)))
                             .fileName();
            text += QStringLiteral("<svg:page id=\"page%1\"><svg:image id=\"bck%1\" "
                                   "xlink:href=\"images/%2\" x=\"0\" y=\"0\" width=\"800\" "
                                   "height=\"600\"/>")
                            .arg(n)
                            .arg(names.constLast())
                            .toUtf8();
        } else {
            text += QStringLiteral(
                            "<svg:page id=\"page%1\"><svg:rect id=\"bck%1\" fill=\"#ffffff\" "
                            "fill-opacity=\"1\" x=\"0\" y=\"0\" width=\"800\" "
                            "height=\"600\"/>")
                            .arg(n)
                            .toUtf8();
        }
        text += QStringLiteral("<svg:polyline id=\"obj%1\" points=\"10,10 300,200\" "
                               "fillType=\"0\" stroke=\"#0000ff\" stroke-dasharray=\"1, 0\" "
                               "stroke-width=\"9\" stroke-opacity=\"255\" "
                               "transform=\"translate(0,0) rotate(0,0,0) "
                               "scale(1)\"/>")
                        .arg(n + 1)
                        .toUtf8();
        for (int p = 0; p < 12 / pages && !backgrounds; ++p) {
            const QString file = CraftedPictures::writeIn(
                    folder.filePath(QStringLiteral("images")), QStringLiteral("svg-slow"),
                    QSize(800, 600), QStringLiteral("p%1").arg(12 / pages * n + p));
            QVERIFY(!file.isEmpty());
            names << QFileInfo(file).fileName();
            text += QStringLiteral("<svg:image id=\"obj%1\" xlink:href=\"images/%2\" x=\"%3\" "
                                   "y=\"300\" width=\"120\" height=\"90\" "
                                   "transform=\"rotate(0,0,0)\"/>")
                            .arg(10 * n + p + 10)
                            .arg(names.constLast())
                            .arg(20 + 130 * p)
                            .toUtf8();
        }
        text += "</svg:page>";
    }
    DocumentFixture::writeFile(
            folder.filePath(QStringLiteral("content.xml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<iwb "
            "xmlns:svg=\"http://www.w3.org/2000/svg\" "
            "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.0\"><svg:svg width=\"800\" "
            "height=\"600\"><svg:pageset>"
                    + text + "</svg:pageset></svg:svg></iwb>");
    if (ubz) {
        QByteArray images;
        for (int n = 0; n < names.size(); ++n)
            images += QStringLiteral("<image ub:source=\"images/%1\" width=\"120\" "
                                     "height=\"90\" transform=\"matrix(1,0,0,1,%2,100)\"/>")
                              .arg(names.at(n))
                              .arg(130 * (n % 6) - 400)
                              .toUtf8();
        DocumentFixture::writeFile(folder.filePath(QStringLiteral("page000.svg")),
                                   "<svg xmlns:ub=\"http://uniboard.mnemis.com/document\"><rect "
                                   "fill=\"#ffffff\"/><g><polygon points=\"-300,-250 0,-50\"/>"
                                   "</g>" + images
                                           + "</svg>");
    }
    const QString archive =
            folder.filePath(ubz ? QStringLiteral("stopped.ubz") : QStringLiteral("stopped.iwb"));
    QVERIFY(runTool(QStringLiteral("zip"),
                    { QStringLiteral("-q"), QStringLiteral("-r"), archive,
                      ubz ? QStringLiteral("page000.svg") : QStringLiteral("content.xml"),
                      QStringLiteral("images") },
                    folder.path(), 60000)
                    .ok);
    auto list = makeList();
    DecoderStopper stopper;
    decoders.startAhead(PictureDecoders::kMostProcesses);
    const auto allStopped = [] {
        const QVector<qint64> decoders = DecoderStopper::decoders();
        return !decoders.isEmpty()
                && std::all_of(decoders.cbegin(), decoders.cend(), &DecoderStopper::isStopped);
    };
    // Processes start slowly on a loaded machine; each is stopped as soon as it is seen.
    QTRY_VERIFY_WITH_TIMEOUT(allStopped(), 60000);
    StallMeter stalls;
    QElapsedTimer opening;
    opening.start();
    QVERIFY(ubz ? list->openAllPagesFromFileUBZ(archive) : list->openAllPagesFromFileIWB(archive));
    // Not a picture's time, let alone one for each page.
    QVERIFY2(opening.elapsed() < shortened.pictureMs,
             qPrintable(QString::number(opening.elapsed())));
    // Nothing stands over the board, and the teacher's click lands before the pictures are said
    // (the pages' own, read as the lesson opens, are said as soon as it is open).
    QVERIFY(backgrounds || ubz || !list->arePicturesMeasured());
    QVERIFY(!QApplication::activeModalWidget());
    for (const QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible() || widget == m_window.get(),
                 qPrintable(widget->metaObject()->className()));
    DGPathItem *stroke = nullptr;
    for (QGraphicsItem *item : list->getCurPage()->items())
        stroke = stroke ? stroke : dynamic_cast<DGPathItem *>(item);
    QVERIFY(stroke);
    list->getView()->setSelect();
    // A straight stroke passes through the middle of its box.
    const QPoint onStroke =
            list->getView()->mapFromScene(stroke->mapToScene(stroke->boundingRect().center()));
    QTest::mouseClick(list->getView()->viewport(), Qt::LeftButton, Qt::NoModifier, onStroke);
    QTRY_VERIFY_WITH_TIMEOUT(stroke->isSelected(), 30000);
    // Within a few times their time, not six rounds of it.
    QTRY_VERIFY_WITH_TIMEOUT(list->arePicturesMeasured(), 4 * shortened.pictureMs);
    const QStringList said = list->lastOpenPictures();
    QCOMPARE(said.size(), 12);
    for (const QString &name : qAsConst(names))
        QVERIFY2(said.filter(name).size() == 1, qPrintable(name));
    // The board answers throughout; 0.2 s is what bench-iwbopen holds it to, on a quiet machine.
    QVERIFY2(stalls.longestMs() < 1000, qPrintable(QString::number(stalls.longestMs())));
    list->exit();
}

void tst_DPagesList::firstStartAsksNothing()
{
    auto list = makeList(); // a question would block here
    QCOMPARE(list->size(), 1);
    QCOMPARE(list->getCurPage()->backgroundBrush().color(), QColor(Qt::white));
    QCOMPARE(list->workDir(), m_currentDir.path());
    QVERIFY(QFileInfo(list->workDir()).isDir());
    QVERIFY(QDir(list->workDir()).isEmpty());
    QVERIFY(!list->isDocumentModified());
    list->exit();
}

void tst_DPagesList::autosaveWritesTheWorkingDirectoryAndKeepsChanges()
{
    auto list = makeList();
    list->getCurPage()->setPageBackgroundColor(Qt::yellow);
    list->autoSave();
    const QDir work(list->workDir());
    QVERIFY(work.exists(QStringLiteral("content.xml")));
    for (const char *folder : { "images", "videos", "document" })
        QVERIFY2(QFileInfo(work.filePath(QLatin1String(folder))).isDir(), folder);
    QCOMPARE(AppSettings::temporalName(settings), list->workDir());
    // The page writer cleared the page's mark; Save and the exit question still see the change.
    QVERIFY(!list->getCurPage()->isModified());
    QVERIFY(list->isDocumentModified());
    QVERIFY(list->lastSaveError().isEmpty());
    list->exit();
}

void tst_DPagesList::cleanExitRemovesTheWorkAndTheRecord()
{
    auto list = makeList();
    list->autoSave();
    const QString work = list->workDir();
    list->exit();
    QVERIFY(!QFileInfo::exists(work));
    QCOMPARE(AppSettings::temporalName(settings), QString());
    QVERIFY(settings.contains(QStringLiteral("TemporalName")));
}

void tst_DPagesList::restoreQuestion_data()
{
    QTest::addColumn<QString>("answer"); // a button text, or "Escape"
    QTest::addColumn<bool>("previousRemains");
    QTest::addColumn<bool>("mediaMoved");

    QTest::newRow("Si") << "Si" << false << true;
    QTest::newRow("No") << "No" << false << false;
    QTest::newRow("Escape") << "Escape" << false << false;
    QTest::newRow("Cancelar") << "Cancelar" << true << false;
}

void tst_DPagesList::restoreQuestion()
{
    QFETCH(QString, answer);
    QFETCH(bool, previousRemains);
    QFETCH(bool, mediaMoved);
    const auto earlier = DocumentFixture::earlierRun();
    const QString previous = earlier->path();
    QVERIFY(QDir().mkpath(previous + QStringLiteral("/videos")));
    QFile clip(previous + QStringLiteral("/videos/clip.avi"));
    QVERIFY(clip.open(QIODevice::WriteOnly));
    clip.write("frames");
    clip.close();
    QFile content(previous + QStringLiteral("/content.xml"));
    QVERIFY(content.open(QIODevice::WriteOnly));
    content.write("<?xml version=\"1.0\"?><iwb/>");
    content.close();
    AppSettings::setTemporalName(settings, previous);

    QString asked;
    const auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        asked = box->windowTitle() + QLatin1Char('|') + box->text();
        const QList<QAbstractButton *> buttons = box->buttons();
        QCOMPARE(buttons.size(), 3);
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("Si"));
        if (answer == QLatin1String("Escape"))
            TestSupport::pressEscape(box);
        else
            QVERIFY(TestSupport::clickButton(box, answer));
    });
    auto list = makeList();
    QVERIFY(*answered);
    QCOMPARE(asked, QStringLiteral("Atención|Desea restaurar el archivo no guardado"));
    QCOMPARE(list->size(), 1);
    QCOMPARE(QFileInfo::exists(previous), previousRemains);
    QCOMPARE(QFileInfo::exists(list->workDir() + QStringLiteral("/videos/clip.avi")), mediaMoved);
    if (answer == QLatin1String("Si")) {
        // Protected at once: the record names the new directory, which holds the document.
        QCOMPARE(AppSettings::temporalName(settings), list->workDir());
        QVERIFY(QFileInfo::exists(list->workDir() + QStringLiteral("/content.xml")));
        QVERIFY(list->isDocumentModified());
    } else if (answer == QLatin1String("Cancelar")) {
        QCOMPARE(AppSettings::temporalName(settings), previous);
    }
    list->exit();
}

void tst_DPagesList::keptAutosaveIsOfferedAgain()
{
    const auto earlier = DocumentFixture::earlierRun();
    const QString previous = earlier->path();
    DocumentFixture::writeFile(previous + QStringLiteral("/content.xml"), "<iwb/>");
    AppSettings::setTemporalName(settings, previous);
    TestSupport::answerNextModal([](QWidget *dialog) {
        QVERIFY(TestSupport::clickButton(dialog, QStringLiteral("Cancelar")));
    });
    {
        auto list = makeList();
        list->autoSave(); // nothing changed in this run: the kept record stays
        QCOMPARE(AppSettings::temporalName(settings), previous);
        list->exit();
        QCOMPARE(AppSettings::temporalName(settings), previous);
    }
    const auto askedAgain = TestSupport::answerNextModal([](QWidget *dialog) {
        QVERIFY(TestSupport::clickButton(dialog, QStringLiteral("Cancelar")));
    });
    auto list = makeList();
    QVERIFY(*askedAgain);
    list->getCurPage()->setPageBackgroundColor(Qt::yellow);
    list->autoSave(); // this run's own work now takes the record
    QCOMPARE(AppSettings::temporalName(settings), list->workDir());
    QVERIFY(QFileInfo::exists(previous)); // still on disk, nothing deleted
    list->exit();
}

void tst_DPagesList::recordNotOursIsClearedAndNothingRemoved_data()
{
    // "{user}": a folder of the user's; "{ours}": a folder in the temporary folder named as the
    // program names its own. canary is a file in the folder the record names; the first two
    // are only asked about, never handed to a start.
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("canary");
    QTest::newRow("the current folder") << "." << QString();
    QTest::newRow("the whole file system") << "/" << QString();
    QTest::newRow("a folder of the user's") << "{user}/lessons"
                                            << "notes.txt";
    QTest::newRow("a path with ..") << "{user}/lessons/../lessons"
                                    << "notes.txt";
    QTest::newRow("our name, outside the temporary folder") << "{user}/veltorina-a1B2c3"
                                                            << "content.xml";
    QTest::newRow("ours, with a link to the user's folder") << "{ours}"
                                                            << "{link}/notes.txt";
    QTest::newRow("ours with an autosave, through ..") << "{ours}/../{oursName}"
                                                       << "content.xml";
}

void tst_DPagesList::recordNotOursIsClearedAndNothingRemoved()
{
    QFETCH(QString, record);
    QFETCH(QString, canary);
    QTemporaryDir user;
    const auto ours = DocumentFixture::earlierRun();
    record.replace(QLatin1String("{user}"), user.path())
            .replace(QLatin1String("{oursName}"), QFileInfo(ours->path()).fileName())
            .replace(QLatin1String("{ours}"), ours->path());
    if (canary.startsWith(QLatin1String("{link}"))) {
        // The canary lies in the user's folder, reached from ours through a link.
        QVERIFY(QDir().mkpath(user.filePath(QStringLiteral("lessons"))));
        QVERIFY(QFile::link(user.filePath(QStringLiteral("lessons")),
                            ours->filePath(QStringLiteral("document"))));
        canary = user.filePath(QStringLiteral("lessons")) + canary.mid(6);
    } else if (!canary.isEmpty()) {
        canary = QDir::cleanPath(record) + QLatin1Char('/') + canary;
    }
    if (!canary.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(canary).absolutePath()));
        DocumentFixture::writeFile(canary, "a teacher's work");
    }
    QVERIFY(!WorkFolder::isOwn(record));
    if (canary.isEmpty())
        return;
    AppSettings::setTemporalName(settings, record);
    const auto asked = DocumentFixture::answerInTurn({ DocumentFixture::click("No") });
    auto list = makeList();
    QCOMPARE(*asked, 0);
    QCOMPARE(DocumentFixture::readAll(canary), QByteArray("a teacher's work"));
    QCOMPARE(AppSettings::temporalName(settings), QString());
    list->exit();
    QCOMPARE(DocumentFixture::readAll(canary), QByteArray("a teacher's work"));
}

void tst_DPagesList::secondProgramLeavesTheFirstAlone_data()
{
    QTest::addColumn<bool>("autosaved"); // the first program's folder is the recorded one
    QTest::newRow("first program autosaved") << true;
    QTest::newRow("first program not yet autosaved") << false;
}

void tst_DPagesList::secondProgramLeavesTheFirstAlone()
{
    QFETCH(bool, autosaved);
    settings.sync(); // the settings file is shared with the first program from here on
    QTemporaryDir files;
    const QString picture = files.filePath(QStringLiteral("red.png"));
    QVERIFY(ItemMedia::makePicture(picture, QSize(40, 30), Qt::red));
    OtherProgram first(QDir::currentPath());
    const QString started = first.ask(QStringLiteral("start"));
    QVERIFY2(started.startsWith(QLatin1String("workdir ")), qPrintable(first.errors()));
    const QString firstDir = started.mid(8);
    QCOMPARE(first.ask(QStringLiteral("pictures 50 ") + picture), QStringLiteral("ok"));
    if (autosaved) {
        QCOMPARE(first.ask(QStringLiteral("autosave")), QStringLiteral("ok"));
        settings.sync();
        QCOMPARE(AppSettings::temporalName(settings), firstDir);
    }
    const QStringList before = DocumentFixture::filesUnder(firstDir);

    // The second program, started in the same folder, asks nothing and works in its own.
    {
        const auto asked = DocumentFixture::answerInTurn({ DocumentFixture::click("No") });
        auto second = makeList();
        QCOMPARE(*asked, 0);
        QVERIFY(second->workDir() != firstDir);
        second->getCurPage()->setModified(true);
        second->autoSave();
        second->exit();
    }
    QCOMPARE(DocumentFixture::filesUnder(firstDir), before);

    // The first program's save holds every picture.
    const QString lesson = files.filePath(QStringLiteral("lesson"));
    QCOMPARE(first.ask(QStringLiteral("save ") + lesson), QStringLiteral("saved 1"));
    const QStringList entries = DocumentFixture::archiveEntries(lesson + QStringLiteral(".iwb"));
    QCOMPARE(entries.filter(QRegularExpression(QStringLiteral("^images/.+"))).size(), 50);
    QCOMPARE(first.ask(QStringLiteral("exit")), QStringLiteral("bye"));
    QVERIFY2(first.waitForEnd(), qPrintable(first.errors()));
    QVERIFY2(!first.errors().contains(QLatin1String("asked")), qPrintable(first.errors()));
}

void tst_DPagesList::openBesideStartingPrograms()
{
    // A program that opens a lesson again and again (its working folder swapped in by renames
    // each time) while two others start and end in the same folder, without pause.
    settings.sync();
    QTemporaryDir files;
    const QString picture = files.filePath(QStringLiteral("red.png"));
    QVERIFY(ItemMedia::makePicture(picture, QSize(40, 30), Qt::red));
    auto list = makeList();
    for (int n = 0; n < 3; ++n)
        list->insertPixmap(picture);
    QVERIFY(TestSupport::picturesCome());
    list->autoSave(); // its folder is the one recorded
    const QString lesson = files.filePath(QStringLiteral("lesson"));
    QVERIFY(list->saveAllPagesToFileIWB(lesson, true));
    std::vector<std::unique_ptr<OtherProgram>> starting;
    for (int n = 0; n < 2; ++n) {
        starting.push_back(std::make_unique<OtherProgram>(QDir::currentPath()));
        starting.back()->send(QStringLiteral("starts"));
    }
    for (int round = 0; round < 200; ++round) {
        QVERIFY2(list->openAllPagesFromFileIWB(lesson + QStringLiteral(".iwb")),
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(list->lastOpenError())));
        QVERIFY2(QFileInfo::exists(list->workDir() + QStringLiteral("/content.xml")),
                 qPrintable(QString::number(round)));
        QCOMPARE(QDir(list->workDir() + QStringLiteral("/images")).entryList(QDir::Files).size(),
                 3);
        QCOMPARE(list->getCurPage()->validItems(true).size(), 3);
    }
    for (const auto &program : starting) {
        const QString starts = program->ask(QStringLiteral("exit"));
        QVERIFY2(starts.startsWith(QLatin1String("starts ")), qPrintable(program->errors()));
        QVERIFY(starts.mid(7).toInt() > 0);
        QCOMPARE(program->nextLine(), QStringLiteral("bye"));
        QVERIFY2(program->waitForEnd(), qPrintable(program->errors()));
        QVERIFY2(!program->errors().contains(QLatin1String("asked")),
                 qPrintable(program->errors()));
    }
    list->exit();
}

QTEST_MAIN(tst_DPagesList)
#include "tst_dpageslist.moc"
