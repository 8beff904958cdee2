#include "board/dgpathcurveitem.h"
#include "board/dpage.h"
#include "content/dlabel.h"
#include "content/dresources.h"
#include "document/dpageslist.h"
#include "shell/globals.h"
#include "support/boardfixture.h"
#include "support/testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

const QString kBlackTile = QStringLiteral("QLabel{border: 3px solid black;color : black;}");
const QString kCurrentTile =
        QStringLiteral("QLabel{border: 3px solid;border-color: rgb(0, 150, 255);color : black;}");

// The tiles of the column, top to bottom, as the panel's layout holds them.
QList<DLabel *> tilesOf(const DResources &panel)
{
    QList<DLabel *> tiles;
    auto *contents = panel.findChild<QWidget *>(QStringLiteral("scrollAreaWidgetContents"));
    QLayout *column = contents->layout();
    for (int i = 0; i < column->count(); ++i)
        tiles << qobject_cast<DLabel *>(column->itemAt(i)->widget());
    return tiles;
}

QStringList sortedIgnoringCase(QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

// The lines of a word list as stored: CR LF between lines, none after the last.
QStringList storedLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
}

// Tiles added to a shown column appear once the event loop has run, as they do for the user.
void settle()
{
    // Showing a tile asks for a new layout, and the column's new size reaches the scroll area
    // one round later.
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

// Page thumbnails in view are drawn one at a time between other events: all of them, here.
bool filled(DResources &panel)
{
    settle();
    return QTest::qWaitFor([&panel] { return panel.pageTilesToDraw() == 0; }, 20000);
}

int darkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    return count;
}

} // namespace

class tst_DResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void scaling_data();
    void scaling();
    void startsOnThePagesTab();
    void tabButtonsWearTheSelectionStyle();
    void pictureCategoriesFromTheResourceTree();
    void pictureCategoryLoads_data();
    void pictureCategoryLoads();
    void picturesAreSortedIgnoringCaseAndScaled();
    void wordListsFromTheResourceTree();
    void wordListLoads_data();
    void wordListLoads();
    void unreadableWordListKeepsTheTiles();
    void clickOnPictureOrWordRelaysIt();
    void thumbnailsMarkTheCurrentPage();
    void clickOnThumbnailSelectsThatPage();
    void closeButtonDeletesTheCurrentPage();
    void updatePagesListOnlyOnThePagesTab();
    void screenshots();
    void hiddenPanelDrawsNoThumbnail();
    void onlyTheChangedPageIsDrawnAgain();
    void thumbnailShowsThePageAsAPhotoViewerWould_data();
    void thumbnailShowsThePageAsAPhotoViewerWould();

private:
    QList<int> renders() const;
    DResources *makePanel(int extraPages = 0);
    QPushButton *tab(const char *name) const;
    QComboBox *combo() const;

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_pages;
    DResources *m_panel = nullptr;
};

void tst_DResources::initTestCase()
{
    TestSupport::recordConnectWarnings();
}

void tst_DResources::init()
{
    // A page list of an earlier case leaves its unsaved work on record; this one starts afresh.
    settings.clear();
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(kWindowWidth, kWindowHeight);
}

void tst_DResources::cleanup()
{
    delete m_panel;
    m_panel = nullptr;
    m_pages.reset();
    m_window.reset();
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

// The board window as the main window builds it: the page list with its view, then the panel
// above it, refreshed when pages change.
DResources *tst_DResources::makePanel(int extraPages)
{
    m_pages = std::make_unique<DPagesList>(m_window.get());
    for (int i = 0; i < extraPages; ++i)
        m_pages->newPage(BtMenus::btColorPage, false);
    m_panel = new DResources(kWindowHeight, m_window.get(), m_pages.get());
    m_panel->raise();
    connect(m_pages.get(), QOverload<>::of(&DPagesList::newPage), m_panel,
            &DResources::updatePagesList);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("board window not exposed");
    return m_panel;
}

QList<int> tst_DResources::renders() const
{
    QList<int> counts;
    for (DPage *page : *m_pages)
        counts << page->thumbnailRenders();
    return counts;
}

QPushButton *tst_DResources::tab(const char *name) const
{
    return m_panel->findChild<QPushButton *>(QLatin1String(name));
}

QComboBox *tst_DResources::combo() const
{
    return m_panel->findChild<QComboBox *>(QStringLiteral("comboBox"));
}

void tst_DResources::scaling_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("picture 150x110 stays") << "picture" << QSize(150, 110) << QSize(150, 110);
    QTest::newRow("picture 150x113 stays") << "picture" << QSize(150, 113) << QSize(150, 113);
    QTest::newRow("picture 150x114 to height 100")
            << "picture" << QSize(150, 114) << QSize(131, 100);
    QTest::newRow("picture 400x100 to width 188") << "picture" << QSize(400, 100) << QSize(188, 47);
    QTest::newRow("picture 600x300 both steps") << "picture" << QSize(600, 300) << QSize(188, 94);
    QTest::newRow("picture 40x30 stays small") << "picture" << QSize(40, 30) << QSize(40, 30);
    QTest::newRow("word small grows to 100") << "word" << QSize(60, 40) << QSize(150, 100);
    QTest::newRow("word wide to width 188") << "word" << QSize(375, 100) << QSize(188, 50);
    QTest::newRow("word empty line") << "word" << QSize(5, 97) << QSize(5, 100);
    QTest::newRow("word one pixel high stays") << "word" << QSize(10, 1) << QSize(10, 1);
    QTest::newRow("page 4:3 board") << "page" << QSize(1024, 768) << QSize(198, 148);
    QTest::newRow("page wide board") << "page" << QSize(1920, 1080) << QSize(198, 111);
    QTest::newRow("page narrower than a tile") << "page" << QSize(150, 100) << QSize(150, 100);
}

void tst_DResources::scaling()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    QFETCH(QSize, expected);
    if (kind == QLatin1String("picture"))
        QCOMPARE(GalleryScale::picture(size), expected);
    else if (kind == QLatin1String("word"))
        QCOMPARE(GalleryScale::word(size), expected);
    else
        QCOMPARE(GalleryScale::page(size), expected);
}

void tst_DResources::startsOnThePagesTab()
{
    makePanel(2);
    QCOMPARE(m_panel->pos(), QPoint(0, 0));
    QCOMPARE(m_panel->size(), QSize(260, kWindowHeight));
    QVERIFY(combo()->isHidden());
    QCOMPARE(tilesOf(*m_panel).size(), 3);
    for (DLabel *tile : tilesOf(*m_panel))
        QCOMPARE(tile->kind(), QStringLiteral("2"));

    // Without a page list the pages tab is simply empty, and stays usable.
    DResources alone(300, m_window.get());
    alone.show(); // thumbnails are drawn only for a panel that is shown
    QVERIFY(tilesOf(alone).isEmpty());
    alone.updatePagesList();
    alone.setPagesList(m_pages.get());
    QCOMPARE(tilesOf(alone).size(), 3);
}

void tst_DResources::tabButtonsWearTheSelectionStyle()
{
    makePanel();
    QPushButton *pages = tab("PagesList");
    QPushButton *pictures = tab("ImgList");
    QPushButton *words = tab("TextList");
    const QString ownStyle = pictures->styleSheet();
    QVERIFY(!ownStyle.isEmpty());
    QCOMPARE(words->styleSheet(), ownStyle);
    QVERIFY(pages->styleSheet() != ownStyle);

    // The selected button is painted in the panel's grey, the others in dark grey.
    const auto background = [](QPushButton *button) {
        return button->grab().toImage().pixelColor(1, button->height() / 2);
    };
    QCOMPARE(background(pages), QColor(150, 150, 150));
    QCOMPARE(background(pictures), QColor(72, 72, 72));

    QTest::mouseClick(pictures, Qt::LeftButton);
    QCOMPARE(pages->styleSheet(), ownStyle);
    QCOMPARE(background(pictures), QColor(150, 150, 150));
    QCOMPARE(background(pages), QColor(72, 72, 72));
    // Clicking the selected tab again must not save the selection style as the button's own.
    QTest::mouseClick(pictures, Qt::LeftButton);
    QTest::mouseClick(words, Qt::LeftButton);
    QCOMPARE(pictures->styleSheet(), ownStyle);
    QCOMPARE(background(words), QColor(150, 150, 150));

    m_panel->selectStyleButton(nullptr);
    for (QPushButton *button : { pages, pictures, words })
        QCOMPARE(background(button), QColor(72, 72, 72));
}

void tst_DResources::pictureCategoriesFromTheResourceTree()
{
    makePanel();
    QTest::mouseClick(tab("ImgList"), Qt::LeftButton);
    QVERIFY(TestSupport::picturesCome());
    QVERIFY(combo()->isVisible());
    const QStringList folders = sortedIgnoringCase(
            QDir(QStringLiteral(":/PicRes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot));
    const QStringList expected = { "3D",
                                   "Animal",
                                   "Birds",
                                   "Body",
                                   "Drink",
                                   "English",
                                   "Fish",
                                   "Insect",
                                   "Instruments",
                                   "Lab instrument",
                                   "Number and symbol",
                                   "Physics phenomena",
                                   "Plants" };
    QCOMPARE(folders, expected);
    QStringList shown;
    for (int i = 0; i < combo()->count(); ++i) {
        shown << combo()->itemText(i);
        QCOMPARE(combo()->itemData(i).toString(), QStringLiteral(":/PicRes/") + folders.at(i));
    }
    QCOMPARE(shown, expected);

    // The first category is loaded at once; a real key press on the combo loads the next.
    QCOMPARE(combo()->currentIndex(), 0);
    const int cubes = QDir(QStringLiteral(":/PicRes/3D")).entryList(QDir::Files).size();
    QCOMPARE(tilesOf(*m_panel).size(), cubes);
    QTest::keyClick(combo(), Qt::Key_Down);
    QCOMPARE(combo()->currentText(), QStringLiteral("Animal"));
    QCOMPARE(tilesOf(*m_panel).size(),
             QDir(QStringLiteral(":/PicRes/Animal")).entryList(QDir::Files).size());

    // The tab forgets the chosen category: clicking it again shows "3D" again.
    QTest::mouseClick(tab("ImgList"), Qt::LeftButton);
    QVERIFY(TestSupport::picturesCome());
    QCOMPARE(combo()->currentText(), QStringLiteral("3D"));
    QCOMPARE(combo()->count(), 13);
    QCOMPARE(tilesOf(*m_panel).size(), cubes);

    // Back to the pages: the category list hides and the thumbnails return.
    QTest::mouseClick(tab("PagesList"), Qt::LeftButton);
    QVERIFY(combo()->isHidden());
    QCOMPARE(tilesOf(*m_panel).size(), 1);
    QCOMPARE(tilesOf(*m_panel).first()->kind(), QStringLiteral("2"));
}

void tst_DResources::pictureCategoryLoads_data()
{
    QTest::addColumn<QString>("folder");
    const QStringList folders =
            QDir(QStringLiteral(":/PicRes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &folder : folders)
        QTest::newRow(qPrintable(folder)) << folder;
}

void tst_DResources::pictureCategoryLoads()
{
    QFETCH(QString, folder);
    makePanel();
    QTest::mouseClick(tab("ImgList"), Qt::LeftButton);
    combo()->setCurrentIndex(combo()->findText(folder));
    QVERIFY(TestSupport::picturesCome()); // a tile shows its picture once read
    const QString root = QStringLiteral(":/PicRes/") + folder;
    const QStringList files = sortedIgnoringCase(QDir(root).entryList(QDir::Files));
    const QList<DLabel *> tiles = tilesOf(*m_panel);
    QCOMPARE(tiles.size(), files.size());
    for (int i = 0; i < tiles.size(); ++i) {
        DLabel *tile = tiles.at(i);
        QCOMPARE(tile->kind(), QStringLiteral("0"));
        QCOMPARE(tile->fileName(), root + QLatin1Char('/') + files.at(i));
        QCOMPARE(tile->size(), QSize(198, 123));
        QCOMPARE(tile->styleSheet(), kBlackTile);
        const QSize source = QImage(tile->fileName()).size();
        QVERIFY(!source.isEmpty());
        const QSize shown = GalleryScale::picture(source);
        QCOMPARE(tile->pixmap().size(), shown);

        // The tile draws the picture centred inside its frame, and nothing else beside it.
        auto *area = tile->findChild<QLabel *>(QStringLiteral("label"));
        QVERIFY(area);
        const QImage drawn = area->grab().toImage();
        const QRgb background = drawn.pixel(4, 4);
        const QRect place = QRect(QPoint((area->width() - shown.width()) / 2,
                                         (area->height() - shown.height()) / 2),
                                  shown)
                                    .adjusted(-1, -1, 1, 1);
        const QRect inside = drawn.rect().adjusted(3, 3, -3, -3);
        int onPicture = 0;
        int beside = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                if (drawn.pixel(x, y) == background)
                    continue;
                (place.contains(x, y) ? onPicture : beside) += 1;
            }
        }
        QVERIFY2(onPicture > shown.width() * shown.height() / 20, qPrintable(tile->fileName()));
        QVERIFY2(beside == 0, qPrintable(tile->fileName()));
    }
}

void tst_DResources::picturesAreSortedIgnoringCaseAndScaled()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QList<QPair<QString, QSize>> pictures = { { "b.png", QSize(150, 114) },
                                                    { "A.PNG", QSize(150, 110) },
                                                    { "C.png", QSize(400, 100) } };
    for (const auto &picture : pictures) {
        QImage image(picture.second, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(folder.filePath(picture.first), "PNG"));
    }
    QFile broken(folder.filePath(QStringLiteral("d.png")));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a picture") > 0);
    broken.close();

    makePanel();
    QTest::mouseClick(tab("ImgList"), Qt::LeftButton);
    QVERIFY(TestSupport::picturesCome());
    combo()->addItem(QStringLiteral("Mine"), folder.path());
    combo()->setCurrentIndex(combo()->count() - 1);
    QVERIFY(TestSupport::picturesCome()); // a tile shows its picture once read
    const QList<DLabel *> tiles = tilesOf(*m_panel);
    QStringList names;
    QList<QSize> sizes;
    for (DLabel *tile : tiles) {
        names << QFileInfo(tile->fileName()).fileName();
        sizes << tile->pixmap().size();
        QCOMPARE(tile->size(), QSize(198, 123));
    }
    QCOMPARE(names, QStringList({ "A.PNG", "b.png", "C.png", "d.png" }));
    // A picture that cannot be read still gets its (empty) tile.
    QCOMPARE(sizes,
             QList<QSize>({ QSize(150, 110), QSize(131, 100), QSize(188, 47), QSize(0, 0) }));
}

void tst_DResources::wordListsFromTheResourceTree()
{
    makePanel();
    QTest::mouseClick(tab("TextList"), Qt::LeftButton);
    QVERIFY(combo()->isVisible());
    const QStringList files =
            sortedIgnoringCase(QDir(QStringLiteral(":/TextRes")).entryList(QDir::Files));
    QCOMPARE(files.size(), 17);
    QCOMPARE(combo()->count(), files.size());
    for (int i = 0; i < files.size(); ++i) {
        QString name = files.at(i);
        name.chop(4);
        QCOMPARE(combo()->itemText(i), name);
        QCOMPARE(combo()->itemData(i).toString(), QStringLiteral(":/TextRes/") + files.at(i));
    }
    QCOMPARE(combo()->itemText(5), QStringLiteral("Days of the week"));
    QCOMPARE(combo()->currentText(), QStringLiteral("Animals"));
    QCOMPARE(tilesOf(*m_panel).size(), storedLines(QStringLiteral(":/TextRes/Animals.txt")).size());
}

void tst_DResources::wordListLoads_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &file : QDir(QStringLiteral(":/TextRes")).entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << file;
}

void tst_DResources::wordListLoads()
{
    QFETCH(QString, file);
    makePanel();
    QTest::mouseClick(tab("TextList"), Qt::LeftButton);
    combo()->setCurrentIndex(combo()->findText(QFileInfo(file).completeBaseName()));
    QVERIFY(TestSupport::picturesCome()); // a tile shows its picture once read
    const QStringList lines = storedLines(QStringLiteral(":/TextRes/") + file);
    const QList<DLabel *> tiles = tilesOf(*m_panel);
    QCOMPARE(tiles.size(), lines.size());
    for (int i = 0; i < tiles.size(); ++i) {
        DLabel *tile = tiles.at(i);
        QCOMPARE(tile->kind(), QStringLiteral("1"));
        QCOMPARE(tile->text(), lines.at(i));
        QVERIFY(!tile->text().contains(QLatin1Char('\r')));
        QCOMPARE(tile->size(), QSize(198, 123));
        const QImage picture = tile->pixmap().toImage();
        QVERIFY2(picture.height() == 100 || (picture.width() == 188 && picture.height() < 100),
                 qPrintable(tile->text()));
        // Written black on white: an empty line is a blank white tile.
        const int ink = darkPixels(picture, picture.rect());
        QVERIFY2(tile->text().isEmpty() ? ink == 0 : ink > 0, qPrintable(tile->text()));
        QCOMPARE(picture.pixelColor(0, 0), QColor(Qt::white));
    }
    if (file == QLatin1String("Food.txt"))
        QVERIFY(tiles.first()->text().isEmpty());
}

void tst_DResources::unreadableWordListKeepsTheTiles()
{
    makePanel();
    QTest::mouseClick(tab("TextList"), Qt::LeftButton);
    const QList<DLabel *> before = tilesOf(*m_panel);
    QVERIFY(!before.isEmpty());
    combo()->addItem(QStringLiteral("Missing"), QStringLiteral("/nonexistent/Missing.txt"));
    combo()->setCurrentIndex(combo()->count() - 1);
    QVERIFY(TestSupport::picturesCome()); // a tile shows its picture once read
    QCOMPARE(tilesOf(*m_panel), before);

    bool ok = true;
    QVERIFY(DResources::readWordList(QStringLiteral("/nonexistent/Missing.txt"), &ok).isEmpty());
    QVERIFY(!ok);
}

void tst_DResources::clickOnPictureOrWordRelaysIt()
{
    makePanel();
    QSignalSpy images(m_panel, &DResources::pressImage);
    QSignalSpy words(m_panel, &DResources::pressText);
    auto *scrollArea = m_panel->findChild<QScrollArea *>(QStringLiteral("scrollArea"));

    QTest::mouseClick(tab("ImgList"), Qt::LeftButton);

    QVERIFY(TestSupport::picturesCome());
    DLabel *last = tilesOf(*m_panel).last();
    scrollArea->ensureWidgetVisible(last);
    // The press lands on the picture inside the tile, as the user's finger does.
    auto *picture = last->findChild<QLabel *>(QStringLiteral("label"));
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
    QCOMPARE(images.size(), 1);
    QCOMPARE(images.takeFirst().at(0).toString(), last->fileName());
    QVERIFY(last->fileName().startsWith(QLatin1String(":/PicRes/3D/")));

    QTest::mouseClick(tab("TextList"), Qt::LeftButton);
    DLabel *second = tilesOf(*m_panel).at(1);
    picture = second->findChild<QLabel *>(QStringLiteral("label"));
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
    QCOMPARE(words.size(), 1);
    QCOMPARE(words.takeFirst().at(0).toString(),
             storedLines(QStringLiteral(":/TextRes/Animals.txt")).at(1));
    QCOMPARE(images.size(), 0);
}

void tst_DResources::thumbnailsMarkTheCurrentPage()
{
    makePanel(2);
    m_pages->selectPage(1);
    m_panel->updatePagesList();
    QVERIFY(filled(*m_panel));
    const QList<DLabel *> tiles = tilesOf(*m_panel);
    QCOMPARE(tiles.size(), 3);
    for (int i = 0; i < tiles.size(); ++i) {
        DLabel *tile = tiles.at(i);
        const bool current = i == 1;
        QCOMPARE(tile->styleSheet(), current ? kCurrentTile : kBlackTile);
        auto *close = tile->findChild<QPushButton *>(QStringLiteral("pushButton"));
        QCOMPARE(close->isVisible(), current);
        // A 1024 x 768 board gives 198 x 148 thumbnails, shown whole.
        QCOMPARE(tile->size(), QSize(198, 148));
        QCOMPARE(tile->pixmap().size(), QSize(198, 148));
        auto *picture = tile->findChild<QLabel *>(QStringLiteral("label"));
        QVERIFY(tile->rect().contains(picture->geometry()));
        QCOMPARE(picture->height(), 148);

        // The number sits at the bottom centre of the white page, nowhere else.
        const QImage image = tile->pixmap().toImage();
        QVERIFY(darkPixels(image, QRect(84, 110, 30, 34)) > 10);
        QCOMPARE(darkPixels(image, QRect(10, 10, 178, 90)), 0);
        QCOMPARE(darkPixels(image, QRect(10, 110, 60, 34)), 0);
    }
    // Each page has its own number: the thumbnails differ exactly where the numbers are.
    const QImage first = tiles.at(0)->pixmap().toImage();
    const QImage second = tiles.at(1)->pixmap().toImage();
    QVERIFY(first.copy(84, 110, 30, 34) != second.copy(84, 110, 30, 34));
}

void tst_DResources::clickOnThumbnailSelectsThatPage()
{
    makePanel(2);
    QCOMPARE(m_pages->getCurPageNum(), 3);
    QSignalSpy counter(m_pages.get(), &DPagesList::selectPageNum);
    const QList<DLabel *> before = tilesOf(*m_panel);

    // The current page's thumbnail does nothing.
    auto *picture = before.at(2)->findChild<QLabel *>(QStringLiteral("label"));
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
    QCOMPARE(counter.size(), 0);
    QCOMPARE(tilesOf(*m_panel), before);

    QPointer<DLabel> clicked = before.at(0);
    picture = clicked->findChild<QLabel *>(QStringLiteral("label"));
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
    QCOMPARE(m_pages->getCurPageNum(), 1);
    QCOMPARE(counter.size(), 1);
    QCOMPARE(counter.first().at(0).toString(), QStringLiteral("1 / 3"));
    // The tiles stay; the clicked one is the current page's now.
    QCOMPARE(tilesOf(*m_panel), before);
    QCOMPARE(before.at(0)->styleSheet(), kCurrentTile);
    QVERIFY(!before.at(0)->findChild<QPushButton *>(QStringLiteral("pushButton"))->isHidden());
    QCOMPARE(before.at(2)->styleSheet(), kBlackTile);
    QVERIFY(before.at(2)->findChild<QPushButton *>(QStringLiteral("pushButton"))->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(clicked);
}

void tst_DResources::closeButtonDeletesTheCurrentPage()
{
    makePanel(2);
    m_pages->selectPage(1);
    m_panel->updatePagesList();
    settle();
    const QList<DPage *> pages(m_pages->begin(), m_pages->end());
    QPointer<DLabel> tile = tilesOf(*m_panel).at(1);
    auto *close = tile->findChild<QPushButton *>(QStringLiteral("pushButton"));
    QVERIFY(close->isVisible());
    // No question: the close button on the thumbnail is the confirmation. Should one ever
    // appear, Escape keeps the page and this case fails instead of hanging.
    const auto asked = TestSupport::answerNextModal(TestSupport::pressEscape, 2000);
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!*asked);
    QCOMPARE(m_pages->size(), 2);
    QCOMPARE(m_pages->at(0), pages.at(0));
    QCOMPARE(m_pages->at(1), pages.at(2));
    QCOMPARE(m_pages->getCurPageNum(), 2);
    QList<DLabel *> tiles = tilesOf(*m_panel);
    QCOMPARE(tiles.size(), 2);
    QCOMPARE(tiles.at(1)->styleSheet(), kCurrentTile);
    QVERIFY(tile);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!tile);

    // Down to the last page: deleting it leaves the new white page the page list supplies.
    for (int remaining = 2; remaining > 0; --remaining) {
        settle();
        DLabel *current = tilesOf(*m_panel).at(m_pages->getCurPageNum() - 1);
        QTest::mouseClick(current->findChild<QPushButton *>(QStringLiteral("pushButton")),
                          Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCOMPARE(m_pages->size(), 1);
    QVERIFY(!pages.contains(m_pages->first()));
    tiles = tilesOf(*m_panel);
    QCOMPARE(tiles.size(), 1);
    QCOMPARE(tiles.first()->styleSheet(), kCurrentTile);

    // A thumbnail after the current page cannot delete, whatever reaches the slot.
    m_pages->newPage(BtMenus::btColorPage, false);
    m_pages->selectPage(0);
    m_panel->updatePagesList();
    m_panel->removePage(tilesOf(*m_panel).at(1));
    QCOMPARE(m_pages->size(), 2);
}

void tst_DResources::updatePagesListOnlyOnThePagesTab()
{
    makePanel();
    QCOMPARE(tilesOf(*m_panel).size(), 1);
    m_pages->newPage(BtMenus::btColorPage, false); // the page list reports it
    QCOMPARE(tilesOf(*m_panel).size(), 2);
    QCOMPARE(tilesOf(*m_panel).at(1)->styleSheet(), kCurrentTile);

    for (const char *name : { "ImgList", "TextList" }) {
        QTest::mouseClick(tab(name), Qt::LeftButton);
        const QList<DLabel *> before = tilesOf(*m_panel);
        m_pages->newPage(BtMenus::btColorPage, false);
        m_panel->updatePagesList();
        QCOMPARE(tilesOf(*m_panel), before);
    }
    QTest::mouseClick(tab("PagesList"), Qt::LeftButton);
    QCOMPARE(tilesOf(*m_panel).size(), 4);
}

void tst_DResources::screenshots()
{
    makePanel(2);
    m_pages->selectPage(1);
    m_panel->updatePagesList();
    const QList<QPair<const char *, QString>> tabs = { { "PagesList", "gallery-pages.png" },
                                                       { "ImgList", "gallery-pictures.png" },
                                                       { "TextList", "gallery-words.png" } };
    QList<QImage> shots;
    for (const auto &shot : tabs) {
        QTest::mouseClick(tab(shot.first), Qt::LeftButton);
        QVERIFY(filled(*m_panel));
        const QImage image = m_panel->grab().toImage();
        QVERIFY(image.save(shot.second));
        shots << image;
        // The tab strip: the selected button in the panel's grey.
        QCOMPARE(image.pixelColor(221, tab(shot.first)->mapTo(m_panel, QPoint(0, 20)).y()),
                 QColor(150, 150, 150));
    }
    QVERIFY(shots.at(0) != shots.at(1) && shots.at(1) != shots.at(2));
}

void tst_DResources::hiddenPanelDrawsNoThumbnail()
{
    makePanel(2);
    QVERIFY(filled(*m_panel));
    QCOMPARE(renders(), QList<int>({ 1, 1, 1 }));
    m_panel->hide();
    const QList<DLabel *> before = tilesOf(*m_panel);
    // Pages made, changed and deleted, paged through, undone: the hidden panel draws nothing.
    m_pages->newPage(BtMenus::btColorPage, false);
    BoardFixture::addCurve(m_pages->getCurPage(), BoardFixture::stroke(20, 80, 3), QPointF(90, 90),
                           BtMenus::btPencil, true);
    m_pages->getCurPage()->setUndo();
    m_pages->pageUp();
    m_pages->delPage(0);
    m_panel->updatePagesList();
    settle();
    QCOMPARE(renders(), QList<int>({ 1, 1, 0 }));
    QCOMPARE(tilesOf(*m_panel), before);

    // Shown again, it brings its tiles up to date, drawing only the pages not drawn yet.
    m_panel->show();
    QVERIFY(filled(*m_panel));
    QCOMPARE(renders(), QList<int>({ 1, 1, 1 }));
    QCOMPARE(tilesOf(*m_panel).size(), 3);
    QCOMPARE(tilesOf(*m_panel).at(1)->styleSheet(), kCurrentTile);
}

void tst_DResources::onlyTheChangedPageIsDrawnAgain()
{
    makePanel(2);
    QVERIFY(filled(*m_panel));
    QCOMPARE(renders(), QList<int>({ 1, 1, 1 }));
    DPage *second = m_pages->at(1);
    const QImage blank = tilesOf(*m_panel).at(1)->pixmap().toImage();

    // Going to another page changes no page: nothing is drawn again.
    m_pages->selectPage(1);
    m_panel->updatePagesList();
    QVERIFY(filled(*m_panel));
    QCOMPARE(renders(), QList<int>({ 1, 1, 1 }));

    // A stroke on the second page: only that page is drawn again, and its tile shows it.
    BoardFixture::addCurve(second, BoardFixture::stroke(40, 300, 5), QPointF(200, 200),
                           BtMenus::btPencil, true);
    m_panel->updatePagesList();
    QVERIFY(filled(*m_panel));
    QCOMPARE(renders(), QList<int>({ 1, 2, 1 }));
    const QImage drawn = tilesOf(*m_panel).at(1)->pixmap().toImage();
    QVERIFY(drawn != blank);
    m_panel->updatePagesList();
    QVERIFY(filled(*m_panel));
    QCOMPARE(renders(), QList<int>({ 1, 2, 1 }));

    // Undo and a new background colour are changes of that page too.
    second->setUndo();
    m_panel->updatePagesList();
    QVERIFY(filled(*m_panel));
    QCOMPARE(renders(), QList<int>({ 1, 3, 1 }));
    QCOMPARE(tilesOf(*m_panel).at(1)->pixmap().toImage(), blank);
    second->setPageBackgroundColor(Qt::yellow);
    m_panel->updatePagesList();
    QVERIFY(filled(*m_panel));
    QCOMPARE(renders(), QList<int>({ 1, 4, 1 }));

    // Drawn at thumbnail size, the picture is the page's full picture made small.
    second->setRedo();
    const QSize size = GalleryScale::page(QSize(kWindowWidth, kWindowHeight));
    const QImage small = second->thumbnail(size).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage scaled = second->getPagePixmap(1)
                                  .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .toImage()
                                  .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(small.size(), scaled.size());
    qint64 difference = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            difference += qAbs(qGray(small.pixel(x, y)) - qGray(scaled.pixel(x, y)));
    QVERIFY2(difference < qint64(small.width()) * small.height() * 4,
             qPrintable(QString::number(difference)));
}

namespace {
enum PageHolds { HoldsText, HoldsBackground, HoldsLargeBackground, HoldsAll };
}

void tst_DResources::thumbnailShowsThePageAsAPhotoViewerWould_data()
{
    QTest::addColumn<int>("holds");
    QTest::newRow("text") << int(HoldsText);
    QTest::newRow("a grid of fine lines as the page's picture") << int(HoldsBackground);
    // As large as a camera's photo, the board averages it beside itself: a tile waits for none.
    QTest::newRow("a large grid as the page's picture") << int(HoldsLargeBackground);
    QTest::newRow("a grid of fine lines as a picture, pen lines, text and fills") << int(HoldsAll);
}

// A page's tile showed a grid picture as dots and moiré, letters as specks: it is the page
// drawn whole and made small, as a photo viewer makes a picture small.
void tst_DResources::thumbnailShowsThePageAsAPhotoViewerWould()
{
    QFETCH(int, holds);
    makePanel(0);
    DPage *page = m_pages->at(0);
    const QPixmap grid = QPixmap::fromImage(TestSupport::gridOfLines(QSize(600, 420)));
    if (holds == HoldsBackground)
        page->setBackgroundBrush(QBrush(grid)); // as a lesson's page picture is set
    if (holds == HoldsLargeBackground)
        page->setBackgroundBrush(
                QBrush(QPixmap::fromImage(TestSupport::gridOfLines(QSize(1600, 1200)))));
    if (holds == HoldsAll) {
        page->addPixmapItem(grid, QPointF(40, 40), 0, 1.0f, QTransform(), false);
        for (int n = 0; n < 12; ++n)
            BoardFixture::addCurve(page, BoardFixture::stroke(30, 200, quint32(n + 1)),
                                   QPointF(660 + n * 25, 60 + n * 10), BtMenus::btPencil, false,
                                   QPen(Qt::black, 1 + n % 2));
        QPainterPath oval;
        oval.addEllipse(0, 0, 300, 160);
        DGPathCurveItem *solid = BoardFixture::addCurve(
                page, oval, QPointF(80, 520), BtMenus::btEllipse, false, QPen(Qt::darkBlue, 2));
        solid->setBrush(QBrush(Qt::red));
        QLinearGradient gradient(0, 0, 0, 160);
        gradient.setColorAt(0, Qt::yellow);
        gradient.setColorAt(1, Qt::darkGreen);
        DGPathCurveItem *shaded = BoardFixture::addCurve(
                page, oval, QPointF(420, 560), BtMenus::btEllipse, false, QPen(Qt::black, 1));
        shaded->setBrush(QBrush(gradient));
        shaded->setRotation(20);
    }
    if (holds != HoldsBackground && holds != HoldsLargeBackground) {
        for (int n = 0; n < 6; ++n)
            page->addTextItem(QStringLiteral("Los ríos de España"),
                              QFont(QStringLiteral("DejaVu Sans"), 28), QPointF(660, 360 + n * 50),
                              0, 1.0f, QTransform(), false);
    }
    m_panel->updatePagesList();
    QVERIFY(filled(*m_panel));
    const QSize size = DPagesList::thumbnailSize(page, &GalleryScale::page);
    const QImage shown =
            page->currentThumbnail(size).toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!shown.isNull());
    const QImage reference = page->getPagePixmap(1)
                                     .toImage()
                                     .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                     .convertToFormat(QImage::Format_RGB32);
    const TestSupport::InkDifference difference = TestSupport::inkDifference(reference, shown, 64);
    QVERIFY2(difference.differing * 50 <= difference.ink, qPrintable(difference.toString()));
}

QTEST_MAIN(tst_DResources)
#include "tst_dresources.moc"
