#include "board/boardtypes.h"
#include "board/dcustomitem.h"
#include "board/dggifitem.h"
#include "board/dgitemgroup.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "pictures/picturedecoders.h"
#include "pictures/picturereading.h"
#include "board/shapegeometry.h"
#include "document/dpageslist.h"
#include "document/iwblimits.h"
#include "document/toolrun.h"
#include "shell/globals.h"
#include "support/boardfixture.h"
#include "support/craftedpictures.h"
#include "support/documentfixture.h"
#include "support/instrumentsfixture.h"
#include "support/itemmedia.h"
#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/dcompass.h"
#include "tools/dprotractor.h"

#include <QColorDialog>
#include <QPainter>
#include <QPicture>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include <memory>

// A document with one object of every kind, on pages of every background kind, saved as an
// IWB archive and opened again: every page and object comes back as the format maps it.
class tst_IwbRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void roundTrip_data();
    void roundTrip();
    void openedDocumentIsNamedAndUnchanged();
    void saveOpenSaveIsAFixedPoint();
    void openSaveTenTimesKeepsTheArchive();
    void recolouredFillSurvives();
    void curvesComeBackAsDrawn_data();
    void curvesComeBackAsDrawn();
    void lessonOfManyPagesOpensWhole_data();
    void lessonOfManyPagesOpensWhole();
    void largestPicturesOpenAgain_data();
    void largestPicturesOpenAgain();

private:
    void buildDocument();
    // One description per page and per board object, in page order and, within a page, in
    // stacking order (lowest first); mapped: as the format gives it back.
    QList<QPair<QString, QStringList>> describe(bool mapped) const;
    QStringList describeObject(QGraphicsItem *item, bool mapped) const;
    DGPathItem *addShape(DPage *page, int kind, QSizeF size, QPointF at, const QPen &pen,
                         float rotation = 0, float scale = 1);

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_list;
    QTemporaryDir m_media;
    QTemporaryDir m_target;
    QList<QPair<QString, QStringList>> m_before;
    QList<QPair<QString, QStringList>> m_after;
    QList<QPair<QString, QStringList>> m_again;
    bool m_haveGif = false;
};

namespace {

QString num(qreal value)
{
    return QString::number(qRound(value * 2) / 2.0); // half-pixel precision
}

QString rectText(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4")
            .arg(num(r.x()), num(r.y()), num(r.width()), num(r.height()));
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// As the shape palette fills a shape while it is drawn.
void fillSolid(DGPathItem *shape, const QColor &colour)
{
    static_cast<DGPathCurveItem *>(shape)->m_fillType = ItemFillSolid;
    shape->setBrush(QBrush(colour));
    shape->setGradColor(colour);
}

QList<QGraphicsItem *> objectsOf(DPage *page)
{
    QList<QGraphicsItem *> objects;
    for (QGraphicsItem *item : page->items(Qt::AscendingOrder)) {
        if (isBoardObjectType(item->type()))
            objects << item;
    }
    return objects;
}

QByteArray contentOf(const QString &archive,
                     const QString &entry = QStringLiteral("content.xml"))
{
    return runTool(QStringLiteral("unzip"), { QStringLiteral("-p"), archive, entry }, QString(),
                   60000)
            .output;
}

// The page's objects drawn on white: dark pixels are ink. Drawn as a PDF export draws them, the
// lines themselves at the scale they are shown, not the pictures the board keeps of them.
QImage inkOf(DPage *page, const QRect &region)
{
    QPicture lines;
    QPainter recorder(&lines);
    page->render(&recorder, QRectF(QPointF(), region.size()), region);
    recorder.end();
    QImage picture(region.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPicture(0, 0, lines);
    return picture;
}

// Ink pixels of one picture with no ink of the other within 2 pixels, counted both ways.
int inkApart(const QImage &one, const QImage &other)
{
    const auto isInk = [](const QImage &image, int x, int y) {
        return image.valid(x, y) && qGray(image.pixel(x, y)) < 160;
    };
    const auto inkNear = [&isInk](const QImage &image, int x, int y) {
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                if (dx * dx + dy * dy <= 4 && isInk(image, x + dx, y + dy))
                    return true;
            }
        }
        return false;
    };
    int apart = 0;
    for (const auto &[from, to] : { std::pair(&one, &other), std::pair(&other, &one) }) {
        for (int y = 0; y < from->height(); ++y) {
            for (int x = 0; x < from->width(); ++x)
                apart += isInk(*from, x, y) && !inkNear(*to, x, y) ? 1 : 0;
        }
    }
    return apart;
}

// The most grey levels by which a pixel of after is darker than the same pixel of before.
int darkenedBy(const QImage &before, const QImage &after)
{
    int most = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x)
            most = std::max(most, qGray(before.pixel(x, y)) - qGray(after.pixel(x, y)));
    }
    return most;
}

} // namespace

DGPathItem *tst_IwbRoundTrip::addShape(DPage *page, int kind, QSizeF size, QPointF at,
                                       const QPen &pen, float rotation, float scale)
{
    QPainterPath path;
    if (kind == BtMenus::btPencil || kind == BtMenus::btFountainPen) {
        path.moveTo(0, 0);
        path.lineTo(size.width() / 2, size.height());
        path.lineTo(size.width(), 0);
    } else {
        const QPointF delta(size.width(), size.height());
        path = ShapeGeometry::path(kind, delta, QPointF(0, 0), delta);
    }
    return page->addCurveItem(path.translated(at), pen, rotation, BtMenus::btType(kind),
                              BtMenus::fnPathSceneCoords, QPointF(), scale, QTransform(), false);
}

void tst_IwbRoundTrip::buildDocument()
{
    m_list->delAllPages();

    // Page 1: a colour page with every shape kind and pen style.
    m_list->newPage(BtMenus::btColorPage, false);
    DPage *page = m_list->getCurPage();
    page->setPageBackgroundColor(QColor(10, 200, 30));
    QPen pen(QColor(200, 0, 0, 127), 3, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin);
    addShape(page, BtMenus::btPencil, { 60, 40 }, { 20, 30 }, pen);
    pen.setStyle(Qt::DotLine);
    addShape(page, BtMenus::btFountainPen, { 50, 30 }, { 40, 300 }, pen, 20, 1.5);
    pen = QPen(QColor(0, 0, 200), 4, Qt::DashDotLine, Qt::RoundCap, Qt::RoundJoin);
    DGPathItem *square = addShape(page, BtMenus::btSquare, { 80, 80 }, { 100, 100 }, pen, 45);
    static_cast<DGPathCurveItem *>(square)->m_fillType = ItemFillSolid;
    square->setBrush(QBrush(QColor(255, 255, 0)));
    square->setGradColor(QColor(255, 255, 0));
    pen.setStyle(Qt::SolidLine);
    addShape(page, BtMenus::btRectangle, { 120, 60 }, { 300, 40 }, pen, 0, 2);
    addShape(page, BtMenus::btRoundRect, { 120, 60 }, { 300, 150 }, pen);
    DGPathItem *circle = addShape(page, BtMenus::btCircle, { 70, 70 }, { 450, 40 }, pen);
    ItemMedia::makePicture(m_media.filePath("wood.png"), QSize(16, 16), Qt::darkRed);
    static_cast<DGPathCurveItem *>(circle)->m_fillType = ItemFillTexture;
    circle->setFillFileName(m_media.filePath("wood.png"));
    QBrush texture;
    texture.setTexture(QPixmap(m_media.filePath("wood.png")));
    circle->setBrush(texture);
    circle->setGradColor(QColor(1, 2, 3));
    DGPathItem *ellipse = addShape(page, BtMenus::btEllipse, { 90, 50 }, { 450, 150 }, pen, -30);
    static_cast<DGPathCurveItem *>(ellipse)->m_fillType = ItemFillGradient;
    QLinearGradient gradient(0, 0, 0, 50);
    gradient.setColorAt(0, QColor(0, 255, 255));
    gradient.setColorAt(1, pen.color());
    ellipse->setBrush(QBrush(gradient));
    ellipse->setGradColor(QColor(0, 255, 255));
    addShape(page, BtMenus::btLine, { 100, 40 }, { 600, 40 }, pen);
    QPainterPath bent(QPointF(700, 40));
    bent.lineTo(740, 80);
    bent.lineTo(780, 40);
    page->addCurveItem(bent, pen, 0, BtMenus::btLine, BtMenus::fnPathSceneCoords, QPointF(), 1,
                       QTransform(), false); // a line no longer two points
    // A translucent fill, as a marker stroke imported from another program has.
    fillSolid(addShape(page, BtMenus::btTriangle, { 80, 60 }, { 600, 150 }, pen),
              QColor(255, 0, 255, 128));
    DGPathItem *cone = addShape(page, BtMenus::btCone, { 60, 90 }, { 40, 400 }, pen);
    fillSolid(cone, QColor(250, 0, 0));
    fillSolid(addShape(page, BtMenus::btCube, { 60, 90 }, { 140, 400 }, pen), QColor(0, 250, 0));
    DGPathItem *cylinder = addShape(page, BtMenus::btCylinder, { 60, 90 }, { 240, 400 }, pen, 10);
    fillSolid(cylinder, QColor(0, 0, 250));
    DGPathItem *ball = addShape(page, BtMenus::btBall, { 60, 90 }, { 340, 400 }, pen);
    static_cast<DGPathCurveItem *>(ball)->m_fillType = ItemFillGradient;
    QLinearGradient shading(0, 0, 0, 90);
    shading.setColorAt(0, QColor(255, 128, 0));
    shading.setColorAt(1, pen.color());
    ball->setBrush(QBrush(shading));
    ball->setGradColor(QColor(255, 128, 0));
    // A turned, locked group: its members come back where they show.
    DGItemGroup *group = page->addGroupItem();
    page->addItemToGroup(group, cone);
    page->addItemToGroup(group, cylinder);
    group->setTransformOriginPoint(group->boundingRect().center());
    group->setRotation(-30);
    group->lock(true);

    // Page 2: a transparent page with text, picture, table, sound and video, linked.
    m_list->newPage(BtMenus::btTransparentPage, false);
    page = m_list->getCurPage();
    QPixmap picture(40, 30);
    picture.fill(Qt::magenta);
    DGPixmapItem *pixmap =
            page->addPixmapItem(picture, QPointF(50, 60), 15, 1.5, QTransform(), false);
    pixmap->changeLinks(QStringLiteral("https://example.org/a?b=1&c=2"), QStringLiteral("3"),
                        QString(), QString());
    DGTextItem *text = page->addTextItem(QString(), QFont(QStringLiteral("DejaVu Sans"), 20),
                                         QPointF(200, 80), 10, 1, QTransform(), false);
    QTextCursor cursor(text->document());
    cursor.insertText(QStringLiteral("a < b & c > d"));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral(" bold"), bold);
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("after break"),
                      QTextCharFormat());
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    QTextCharFormat fancy;
    fancy.setFontItalic(true);
    fancy.setFontUnderline(true);
    fancy.setForeground(QColor(0, 0, 255));
    cursor.insertText(QStringLiteral("blue"), fancy);
    QTextCharFormat large;
    large.setFontFamily(QStringLiteral("DejaVu Serif"));
    large.setFontPointSize(32);
    cursor.insertText(QStringLiteral(" serif 32"), large);
    // Runs in several fonts and sizes, as a lesson of another program brings them, wrapped to
    // the width of its box.
    page->addTextItemUBZ(
            QStringLiteral(
                    "<p><span style=\" font-family:'DejaVu Serif'; font-size:27pt; "
                    "color:#ff0000;\">Big red text</span></p><p><span style=\" "
                    "font-family:'DejaVu Sans Mono'; font-size:10pt;\">mono</span> <span "
                    "style=\" font-family:'DejaVu Sans'; font-size:14.5pt;\">sans</span></p>"),
            QFont(), QPointF(250, 450), 0, 1, QTransform(), false, 150);
    QPainterPath tableBox;
    tableBox.addRect(300, 300, 200, 100);
    page->addTableItem(tableBox, 3, 4, 0, 1, QTransform(), false);
    QFile sound(m_media.filePath("bell.mp3"));
    sound.open(QIODevice::WriteOnly);
    sound.write("not really a sound");
    sound.close();
    page->addSoundItem(sound.fileName(), QPointF(600, 100), 0, 1, QTransform(), false);
    QFile video(m_media.filePath("clip.avi"));
    video.open(QIODevice::WriteOnly);
    video.write("not really a video");
    video.close();
    page->addVideoItem(video.fileName(), QPointF(600, 300), 30, 1, QTransform(), false);

    // Page 3: a picture page with an animated image, a file link and a locked shape.
    m_list->newPage(BtMenus::btImagePage, true);
    page = m_list->getCurPage();
    QPixmap back(200, 100);
    back.fill(Qt::cyan);
    // As an image page holds its picture: fitted to the view.
    page->setBackgroundBrush(QBrush(back.scaled(m_list->getView()->size(), Qt::KeepAspectRatio)));
    page->setPageType(PageTypeImage);
    m_haveGif =
            ItemMedia::haveConvert() && ItemMedia::makeGif(m_media.filePath("flag.gif")).isEmpty();
    if (m_haveGif)
        page->addGifItem(DGGifItem::makeAnimation(m_media.filePath("flag.gif")), QPointF(30, 30), 0,
                         1, QTransform(), false);
    QFile attached(m_media.filePath("notes.pdf"));
    attached.open(QIODevice::WriteOnly);
    attached.write("%PDF-1.4 not really");
    attached.close();
    DGPathItem *locked = addShape(page, BtMenus::btStar, { 80, 80 }, { 200, 200 }, pen);
    locked->changeLinks(QString(), QString(), attached.fileName(), QString());
    locked->lock(true);

    // Page 4: a captured page (read back as a picture page).
    m_list->newPage(BtMenus::btCapturePage, false);
}

void tst_IwbRoundTrip::initTestCase()
{
    settings.clear();
    // What is read here is compared with what was written: none of its pictures (the largest
    // the board takes among them) may be refused for the time a loaded machine spends on it.
    PictureDecoders::instance().setLimits(CraftedPictures::roomyLimits());
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(900, 700);
    m_list = std::make_unique<DPagesList>(m_window.get());
    buildDocument();
    m_before = describe(true);
    const QString target = m_target.filePath(QStringLiteral("lesson"));
    QVERIFY2(m_list->saveAllPagesToFileIWB(target, true), qPrintable(m_list->lastSaveError()));
    // Something else is open when the document is opened again.
    m_list->delAllPages();
    m_list->newPage(BtMenus::btColorPage, false);
    QVERIFY2(m_list->openAllPagesFromFileIWB(target + QStringLiteral(".iwb")),
             qPrintable(m_list->lastOpenError()));
    m_after = describe(false);
    // Saved again as opened: its media are in the working directory already and must stay.
    const QString again = m_target.filePath(QStringLiteral("again"));
    QVERIFY2(m_list->saveAllPagesToFileIWB(again, true), qPrintable(m_list->lastSaveError()));
    QVERIFY2(m_list->openAllPagesFromFileIWB(again + QStringLiteral(".iwb")),
             qPrintable(m_list->lastOpenError()));
    m_again = describe(false);
}

void tst_IwbRoundTrip::cleanupTestCase()
{
    m_list->exit();
    m_list.reset();
    m_window.reset();
}

QStringList tst_IwbRoundTrip::describeObject(QGraphicsItem *item, bool mapped) const
{
    QStringList d;
    const int type = item->type();
    auto *object = DCustomItem::fromItem(item);
    int kindType = type;
    if (auto *curve = dynamic_cast<DGPathCurveItem *>(item)) {
        int kind = curve->shapeType();
        if (mapped) {
            // What the format gives back: squares are rectangles, every polygon kind (and
            // free-hand strokes of pens other than the pencil) a table-tool polygon.
            static const QList<int> own{ 72, 75, 76, 77, 78, 88, 89, 90, 91, 50 };
            if (kind == BtMenus::btLine && curve->path().elementCount() != 2)
                kind = BtMenus::btPencil;
            else if (kind == BtMenus::btSquare)
                kind = BtMenus::btRectangle;
            else if (!own.contains(kind))
                kind = BtMenus::btTableTool;
        }
        d << QStringLiteral("kind=%1").arg(kind)
          << QStringLiteral("fillType=%1").arg(curve->m_fillType);
        if (curve->m_fillType == ItemFillTexture)
            d << QStringLiteral("texture=%1").arg(curve->brush().texture().size().width());
        if (curve->m_fillType != ItemFillNone)
            d << QStringLiteral("fill=") + curve->getGradColor().name(QColor::HexArgb);
        if (curve->m_fillType == ItemFillSolid)
            d << QStringLiteral("shown=") + curve->brush().color().name(QColor::HexArgb);
        d << QStringLiteral("elements=%1").arg(curve->path().elementCount());
    }
    if (auto *path = dynamic_cast<DGPathItem *>(item)) {
        const QPen pen = path->pen();
        d << QStringLiteral("pen=%1 %2 %3")
                        .arg(pen.color().name(QColor::HexArgb))
                        .arg(pen.width())
                        .arg(int(pen.style()));
        d << QStringLiteral("path=")
                        + rectText(item->mapToScene(path->path().boundingRect()).boundingRect());
    }
    if (auto *table = dynamic_cast<DGPathTableItem *>(item))
        d << QStringLiteral("grid=%1x%2").arg(table->m_rows).arg(table->m_cols);
    if (auto *text = dynamic_cast<DGTextItem *>(item)) {
        d << QStringLiteral("text=") + text->toPlainText();
        QStringList runs;
        for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
            runs << QStringLiteral("align %1")
                            .arg((block.blockFormat().alignment() & Qt::AlignRight) ? "right"
                                                                                    : "left");
            for (auto run = block.begin(); !run.atEnd(); ++run) {
                const QTextCharFormat f = run.fragment().charFormat();
                const QFont shown = f.font().resolve(text->document()->defaultFont());
                runs << QStringLiteral("%1 b%2 i%3 u%4 %5 %6 %7")
                                .arg(run.fragment().text())
                                .arg(f.fontWeight() > QFont::Normal)
                                .arg(f.fontItalic())
                                .arg(f.fontUnderline())
                                .arg(f.foreground().style() == Qt::NoBrush
                                             ? QStringLiteral("#000000")
                                             : f.foreground().color().name())
                                .arg(QFontInfo(shown).family())
                                .arg(shown.pointSizeF());
            }
        }
        d << QStringLiteral("runs=") + runs.join(QLatin1Char('|'));
        d << QStringLiteral("box=%1 lines=%2")
                        .arg(text->textWidth())
                        .arg(TestSupport::laidOutLines(text->document()).size());
        d << QStringLiteral("font=%1 %2")
                        .arg(QFontInfo(text->font()).family())
                        .arg(text->font().pointSize());
    }
    if (auto *picture = dynamic_cast<DGPixmapItem *>(item); picture && type == ItemTypePixmap) {
        const QImage image = picture->pixmap().toImage();
        d << QStringLiteral("picture=%1x%2 %3")
                        .arg(image.width())
                        .arg(image.height())
                        .arg(image.pixelColor(5, 5).name());
    }
    if (auto *gif = dynamic_cast<DGGifItem *>(item))
        d << QStringLiteral("animation=") + fileName(gif->fileName());
    if (auto *video = dynamic_cast<DGVideoItem *>(item))
        d << QStringLiteral("video=") + fileName(video->m_filePath)
          << QStringLiteral("videoExists=%1").arg(QFileInfo(video->m_filePath).isFile());
    if (auto *sound = dynamic_cast<DGSoundItem *>(item))
        d << QStringLiteral("sound=") + sound->m_fileName;
    d.prepend(QStringLiteral("type=%1").arg(kindType));
    if (auto *group = dynamic_cast<DGItemGroup *>(item)) {
        // What the group shows: its members where they are; the group's own transform may be
        // carried by its members once read.
        QRectF bounds;
        for (QGraphicsItem *member : group->members())
            bounds |= member->sceneBoundingRect();
        d << QStringLiteral("members=%1").arg(group->members().size())
          << QStringLiteral("bounds=") + rectText(bounds)
          << QStringLiteral("locked=%1").arg(group->isLocked());
        return d;
    }
    const QTransform shown = item->sceneTransform();
    d << QStringLiteral("pos=")
                    + (type == ItemTypeText ? QString() : rectText(item->sceneBoundingRect()))
      << QStringLiteral("rotation=") + num(qRadiansToDegrees(std::atan2(shown.m12(), shown.m11())))
      << QStringLiteral("scale=") + num(std::hypot(shown.m11(), shown.m12()))
      << QStringLiteral("inGroup=%1")
                    .arg(item->parentItem() && item->parentItem()->type() == ItemTypeGroup);
    if (object) {
        d << QStringLiteral("links=%1|%2|%3|%4")
                        .arg(object->m_linkWeb, object->m_linkPage, fileName(object->m_linkFile),
                             fileName(object->m_linkMedia))
          << QStringLiteral("linkedFileExists=%1")
                        .arg(object->m_linkFile.isEmpty() || QFileInfo(object->m_linkFile).isFile())
          << QStringLiteral("locked=%1").arg(object->isLocked());
    }
    return d;
}

QList<QPair<QString, QStringList>> tst_IwbRoundTrip::describe(bool mapped) const
{
    QList<QPair<QString, QStringList>> rows;
    for (int n = 0; n < m_list->size(); ++n) {
        DPage *page = m_list->at(n);
        int pageType = page->pageType();
        if (mapped && pageType == PageTypeCapture)
            pageType = PageTypeImage;
        QStringList d{ QStringLiteral("pageType=%1").arg(pageType),
                       QStringLiteral("undo=%1").arg(page->undoStack()->count()) };
        if (pageType == PageTypeColor)
            d << QStringLiteral("colour=") + page->backgroundBrush().color().name(QColor::HexArgb);
        else if (pageType == PageTypeImage)
            d << QStringLiteral("picture=%1x%2")
                            .arg(page->backgroundBrush().textureImage().width())
                            .arg(page->backgroundBrush().textureImage().height());
        rows << qMakePair(QStringLiteral("page %1").arg(n + 1), d);

        // In the order they show, bottom first (a group before its members).
        QList<QGraphicsItem *> objects;
        for (QGraphicsItem *item : page->items(Qt::AscendingOrder)) {
            if (isBoardObjectType(item->type()) && item->isVisible())
                objects << item;
        }
        for (int k = 0; k < objects.size(); ++k)
            rows << qMakePair(QStringLiteral("page %1 object %2").arg(n + 1).arg(k + 1),
                              describeObject(objects.at(k), mapped));
    }
    return rows;
}

void tst_IwbRoundTrip::roundTrip_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("again");
    QCOMPARE(m_after.size(), m_before.size());
    QCOMPARE(m_again.size(), m_before.size());
    for (int i = 0; i < m_before.size(); ++i) {
        const QString name = m_before.at(i).first + QStringLiteral(" ")
                + m_before.at(i).second.value(0) + QStringLiteral(" ")
                + m_before.at(i).second.value(1);
        QTest::newRow(qPrintable(name))
                << m_before.at(i).second << m_after.at(i).second << m_again.at(i).second;
    }
}

void tst_IwbRoundTrip::roundTrip()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QStringList, again);
    if (after != before)
        qWarning() << "before" << before << "after" << after;
    QCOMPARE(after, before);
    QCOMPARE(again, before);
}

void tst_IwbRoundTrip::openedDocumentIsNamedAndUnchanged()
{
    QVERIFY(!m_list->lastOpenWasPartial());
    QCOMPARE(m_list->fileName(), m_target.filePath(QStringLiteral("again.iwb")));
    QVERIFY(!m_list->isDocumentModified());
    QCOMPARE(m_list->size(), 4);
    if (!m_haveGif)
        QSKIP("ImageMagick is needed for the animated image");
}

void tst_IwbRoundTrip::saveOpenSaveIsAFixedPoint()
{
    // Once opened, a document saves as it was read: every page and object kind, the solids'
    // points and fills, the same picture files under the same names. (The very first save may
    // differ where the format rounds: whole-pixel text positions, six-digit numbers, and the
    // paths of the copies the opened document carries.)
    const QString second = m_target.filePath(QStringLiteral("again.iwb"));
    QVERIFY2(m_list->saveAllPagesToFileIWB(m_target.filePath(QStringLiteral("third")), true),
             qPrintable(m_list->lastSaveError()));
    const QString third = m_target.filePath(QStringLiteral("third.iwb"));
    const QStringList before = QString::fromUtf8(contentOf(second)).split(QLatin1Char('\n'));
    const QStringList after = QString::fromUtf8(contentOf(third)).split(QLatin1Char('\n'));
    QVERIFY(before.size() > 20);
    for (int line = 0; line < std::min(before.size(), after.size()); ++line)
        QCOMPARE(QStringLiteral("%1: ").arg(line + 1) + after.at(line),
                 QStringLiteral("%1: ").arg(line + 1) + before.at(line));
    QCOMPARE(after.size(), before.size());
    QCOMPARE(DocumentFixture::archiveEntries(third), DocumentFixture::archiveEntries(second));
}

void tst_IwbRoundTrip::openSaveTenTimesKeepsTheArchive()
{
    const QString archive = m_target.filePath(QStringLiteral("again.iwb"));
    const QStringList entries = DocumentFixture::archiveEntries(archive);
    const qint64 size = QFileInfo(archive).size();
    for (int cycle = 1; cycle <= 10; ++cycle) {
        QVERIFY2(m_list->openAllPagesFromFileIWB(archive), qPrintable(m_list->lastOpenError()));
        QVERIFY2(m_list->saveAllPagesToFileIWB(m_target.filePath(QStringLiteral("again")), true),
                 qPrintable(m_list->lastSaveError()));
        QCOMPARE(DocumentFixture::archiveEntries(archive), entries);
        QCOMPARE(QFileInfo(archive).size(), size);
    }
    // Each media file once: the picture object, two picture pages, the texture, the animation.
    const QRegularExpression pictureFile(QStringLiteral("^images/.+"));
    QCOMPARE(entries.filter(pictureFile).size(), m_haveGif ? 5 : 4);
    // What the document no longer uses is not packed, though it lies in the working directory.
    for (QGraphicsItem *item : objectsOf(m_list->at(1))) {
        if (dynamic_cast<DGPixmapItem *>(item) && !dynamic_cast<DGGifItem *>(item))
            delete item;
    }
    QVERIFY(m_list->saveAllPagesToFileIWB(m_target.filePath(QStringLiteral("again")), true));
    QCOMPARE(DocumentFixture::archiveEntries(archive).filter(pictureFile).size(),
             m_haveGif ? 4 : 3);
}

void tst_IwbRoundTrip::recolouredFillSurvives()
{
    m_list->newPage(BtMenus::btColorPage, false);
    DPage *page = m_list->getCurPage();
    QPen pen(Qt::black, 2);
    DGPathItem *shape = addShape(page, BtMenus::btRectangle, { 80, 50 }, { 100, 100 }, pen);
    fillSolid(shape, QColor(255, 255, 0));
    shape->setSelected(true);
    // "Color de fondo" on the selected shape, answered in the colour dialog.
    auto answered = TestSupport::answerNextModal([](QWidget *dialog) {
        auto *colours = qobject_cast<QColorDialog *>(dialog);
        QVERIFY(colours);
        colours->setCurrentColor(QColor(10, 120, 240));
        colours->accept();
    });
    page->editFillColor();
    QVERIFY(*answered);
    QCOMPARE(shape->brush().color(), QColor(10, 120, 240));
    const QString target = m_target.filePath(QStringLiteral("recoloured"));
    QVERIFY2(m_list->saveAllPagesToFileIWB(target, true), qPrintable(m_list->lastSaveError()));
    QVERIFY(m_list->openAllPagesFromFileIWB(target + QStringLiteral(".iwb")));
    auto *read = dynamic_cast<DGPathCurveItem *>(objectsOf(m_list->last()).value(0));
    QVERIFY(read);
    QCOMPARE(read->m_fillType, short(ItemFillSolid));
    QCOMPARE(read->brush().color(), QColor(10, 120, 240));
    QCOMPARE(read->getGradColor(), QColor(10, 120, 240));
}

void tst_IwbRoundTrip::curvesComeBackAsDrawn_data()
{
    // "curve": a pencil stroke of curves; "instrument": an arc as the instruments hand theirs
    // over; "compass" or a protractor menu entry: drawn with that instrument on the board.
    QTest::addColumn<QString>("drawing");
    QTest::addColumn<qreal>("sweep"); // of the arcs handed over
    QTest::addColumn<qreal>("scale"); // of the object as shown; its size on screen is the same
    QTest::addColumn<int>("mostPoints"); // of the object opened: the file stays small

    QTest::newRow("half circle, a stroke of curves") << "curve" << 180.0 << 1.0 << 55;
    QTest::newRow("three-quarter circle along an instrument") << "instrument" << 270.0 << 1.0 << 80;
    QTest::newRow("quarter circle along an instrument") << "instrument" << 90.0 << 1.0 << 30;
    QTest::newRow("quarter circle, shown fifteen times its size") << "curve" << 90.0 << 15.0 << 30;
    QTest::newRow("compass") << "compass" << 0.0 << 1.0 << 70;
    QTest::newRow("protractor arc") << "Arco" << 0.0 << 1.0 << 50;
    QTest::newRow("protractor chord") << "Cuerda" << 0.0 << 1.0 << 50;
    QTest::newRow("protractor pie") << QString::fromUtf8("Porción") << 0.0 << 1.0 << 55;
}

void tst_IwbRoundTrip::curvesComeBackAsDrawn()
{
    QFETCH(QString, drawing);
    QFETCH(qreal, sweep);
    QFETCH(qreal, scale);
    QFETCH(int, mostPoints);
    using namespace InstrumentsFixture;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_list->delAllPages();
    m_list->newPage(BtMenus::btColorPage, false);
    DPage *page = m_list->getCurPage();
    page->setPageBackgroundColor(Qt::white);
    DView *view = m_list->getView();
    if (drawing == QLatin1String("curve") || drawing == QLatin1String("instrument")) {
        const QPen pen(Qt::black, scale > 1 ? 1 : 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        const QRectF box(QPointF(-150, -150) / scale, QPointF(150, 150) / scale);
        QPainterPath arc;
        arc.arcMoveTo(box, 30);
        arc.arcTo(box, 30, sweep);
        page->addCurveItem(arc.translated(300, 250), pen, 20, BtMenus::btPencil,
                           drawing == QLatin1String("curve") ? BtMenus::fnPathSceneCoords
                                                             : BtMenus::fnPathVertexItem,
                           QPointF(100, 50), scale, QTransform(), true);
    } else if (drawing == QLatin1String("compass")) {
        page->insertCompass();
        // The pencil holder, swung counter-clockwise round the needle point.
        QVector<QPointF> swing{ { 208, -50 } };
        for (int angle : { 50, 100, 150, 200, 200 })
            swing << polar(215, angle);
        dragItem(view, page->classroomTools().compass, swing);
        page->insertCompass();
    } else {
        page->insertPortractor();
        DProtractor *protractor = page->classroomTools().protractor;
        const auto chosen = chooseFromMenu(drawing);
        clickItem(view, protractor, { 5, -10 }); // the menu of figures, near the centre
        QVERIFY(*chosen);
        dragItem(view, protractor, { polar(190, 15), polar(190, 90), polar(190, 165) });
        page->insertPortractor();
    }
    QCOMPARE(objectsOf(page).size(), 1);
    const QRect region = BoardFixture::sceneArea(objectsOf(page), 8);
    page->clearSelection();
    const QImage drawn = inkOf(page, region);

    const QString name = QString::fromUtf8(QTest::currentDataTag())
                                 .replace(QRegularExpression(QStringLiteral("[^a-z]+")), "-");
    QVERIFY2(m_list->saveAllPagesToFileIWB(m_target.filePath(name), true),
             qPrintable(m_list->lastSaveError()));
    QVERIFY2(m_list->openAllPagesFromFileIWB(m_target.filePath(name + QStringLiteral(".iwb"))),
             qPrintable(m_list->lastOpenError()));
    const QList<QGraphicsItem *> read = objectsOf(m_list->getCurPage());
    QCOMPARE(read.size(), 1);
    const QImage opened = inkOf(m_list->getCurPage(), region);
    ToolsFixture::saveShot(drawn, name + QStringLiteral("-drawn"));
    ToolsFixture::saveShot(opened, name + QStringLiteral("-opened"));
    const int apart = inkApart(drawn, opened);
    QVERIFY2(apart == 0, qPrintable(QStringLiteral("%1 pixels of ink apart").arg(apart)));
    // As dark as drawn, not only in place: a line through points that sags a fifth of a pixel
    // inside the curve darkens its inner edge by a quarter of full ink.
    const int darker = darkenedBy(drawn, opened);
    QVERIFY2(darker <= 64, qPrintable(QStringLiteral("a pixel %1 grey levels darker").arg(darker)));
    const int points = static_cast<QGraphicsPathItem *>(read.first())->path().elementCount();
    QVERIFY2(points <= mostPoints, qPrintable(QStringLiteral("%1 points").arg(points)));
}

void tst_IwbRoundTrip::lessonOfManyPagesOpensWhole_data()
{
    // Where the objects that need a file of the archive lie in a lesson long enough that its
    // text is read as it comes, its pictures as they are unpacked.
    QTest::addColumn<bool>("pictureFirst"); // on each page, before its strokes
    QTest::addColumn<int>("videoPage"); // a video there (-1: none)
    QTest::addColumn<int>("linkPage"); // a stroke with a linked file there (-1: none)
    // Opened over a document that holds much: that one goes before the lesson is read.
    QTest::addColumn<bool>("overLarge");
    QTest::newRow("pictures before the strokes") << true << -1 << -1 << false;
    QTest::newRow("pictures after the strokes") << false << -1 << -1 << false;
    QTest::newRow("a video half way") << true << 8 << -1 << false;
    QTest::newRow("a linked file on the first page") << false << -1 << 0 << false;
    QTest::newRow("over a document of large pictures") << true << 8 << 0 << true;
}

void tst_IwbRoundTrip::lessonOfManyPagesOpensWhole()
{
    QFETCH(bool, pictureFirst);
    QFETCH(int, videoPage);
    QFETCH(int, linkPage);
    QFETCH(bool, overLarge);
    constexpr int kPages = 16;
    constexpr int kStrokes = 30;
    QTemporaryDir media;
    const QString clip = media.filePath(QStringLiteral("clip.avi"));
    const QString notes = media.filePath(QStringLiteral("notes.pdf"));
    DocumentFixture::writeFile(clip, "not really a video");
    DocumentFixture::writeFile(notes, "%PDF-1.4 not really");
    const auto colourOf = [](int n) { return QColor(n * 15, 255 - n * 15, (n * 77) % 256); };
    const auto addPicture = [&](DPage *page, int n) {
        QPixmap picture(64, 48);
        picture.fill(colourOf(n));
        page->addPixmapItem(picture, QPointF(500, 40 + n), 0, 1, QTransform(), false);
    };
    DocumentFixture::OtherBoard lesson;
    DPagesList &list = lesson.pages;
    for (int n = 0; n < kPages; ++n) {
        if (n > 0)
            list.newPage(BtMenus::btColorPage, false);
        DPage *page = list.getCurPage();
        if (pictureFirst)
            addPicture(page, n);
        for (int s = 0; s < kStrokes; ++s) {
            QPainterPath path(QPointF(10, 10 + s));
            for (int p = 1; p < 150; ++p)
                path.lineTo(10 + p * 3.25, 10 + s + (p * p + n) % 41);
            DGPathItem *stroke = page->addCurveItem(path, QPen(Qt::black, 2), 0, BtMenus::btPencil,
                                                    BtMenus::fnPathSceneCoords, QPointF(), 1,
                                                    QTransform(), false);
            if (n == linkPage && s == 0)
                stroke->changeLinks(QString(), QString(), notes, QString());
        }
        if (!pictureFirst)
            addPicture(page, n);
        if (n == videoPage)
            page->addVideoItem(clip, QPointF(300, 300), 0, 1, QTransform(), false);
    }
    QString archive = m_target.filePath(QStringLiteral("many"));
    QVERIFY2(list.saveAllPagesToFileIWB(archive, true), qPrintable(list.lastSaveError()));
    list.exit();
    // Opened by a program of its own, whose working directory holds nothing of the lesson.
    DocumentFixture::OtherBoard other;
    DPagesList &opened = other.pages;
    if (overLarge) {
        QPixmap large(4000, 3000);
        large.fill(Qt::gray);
        opened.getCurPage()->addPixmapItem(large, QPointF(), 0, 1, QTransform(), false);
    }
    // Opened whole, saved, and the file saved opened whole again.
    for (const QString &savedAs : { QStringLiteral("many2"), QStringLiteral("many3") }) {
        QVERIFY2(opened.openAllPagesFromFileIWB(archive + QStringLiteral(".iwb")),
                 qPrintable(opened.lastOpenError()));
        QVERIFY(!opened.lastOpenWasPartial());
        QVERIFY(!opened.isDocumentModified());
        QCOMPARE(opened.size(), kPages);
        for (int n = 0; n < kPages; ++n) {
            int strokes = 0;
            int pictures = 0;
            int videos = 0;
            for (QGraphicsItem *item : objectsOf(opened.at(n))) {
                if (auto *picture = dynamic_cast<DGPixmapItem *>(item)) {
                    ++pictures;
                    QCOMPARE(picture->pixmap().toImage().pixelColor(10, 10), colourOf(n));
                } else if (auto *video = dynamic_cast<DGVideoItem *>(item)) {
                    ++videos;
                    QVERIFY(QFileInfo(video->m_linkMedia).isFile());
                } else if (auto *stroke = dynamic_cast<DGPathCurveItem *>(item)) {
                    ++strokes;
                    QCOMPARE(stroke->path().elementCount(), 150);
                    if (!stroke->m_linkFile.isEmpty())
                        QCOMPARE(DocumentFixture::readAll(stroke->m_linkFile),
                                 QByteArray("%PDF-1.4 not really"));
                }
            }
            QCOMPARE(strokes, kStrokes);
            QCOMPARE(pictures, 1);
            QCOMPARE(videos, n == videoPage ? 1 : 0);
        }
        archive = m_target.filePath(savedAs);
        QVERIFY2(opened.saveAllPagesToFileIWB(archive, true), qPrintable(opened.lastSaveError()));
    }
    // Opened, it saves as it was read: the same text, the same files.
    const QString second = m_target.filePath(QStringLiteral("many2.iwb"));
    const QString third = m_target.filePath(QStringLiteral("many3.iwb"));
    const QByteArray text = contentOf(second);
    QVERIFY(text.size() > 512 << 10);
    QVERIFY(text == contentOf(third));
    const QStringList entries = DocumentFixture::archiveEntries(second);
    QCOMPARE(DocumentFixture::archiveEntries(third), entries);
    // The text first, then the pictures in the order the pages show them: an open unpacks
    // each before the pages after it need theirs.
    QCOMPARE(entries.value(0), QStringLiteral("content.xml"));
    QStringList shown;
    const QRegularExpression named(QStringLiteral("xlink:href=\"(images/[^\"]+)\""));
    for (auto match = named.globalMatch(QString::fromUtf8(text)); match.hasNext();)
        shown << match.next().captured(1);
    QCOMPARE(shown.size(), kPages);
    QCOMPARE(entries.filter(QRegularExpression(QStringLiteral("^images/.+"))), shown);
    opened.exit();
}

void tst_IwbRoundTrip::largestPicturesOpenAgain_data()
{
    // Pictures of the largest size the picture button takes (both limits at once), in a lesson
    // the teacher saves: it opens again whole, however many of them it holds (each is held as
    // its file and decoded when shown); a save of it as opened loses nothing of the file.
    QTest::addColumn<int>("pictures");
    QTest::newRow("one picture of the largest size") << 1;
    QTest::newRow("three pictures of the largest size") << 3;
}

void tst_IwbRoundTrip::largestPicturesOpenAgain()
{
    QFETCH(int, pictures);
    const QSize largest = PictureReading::fitted(QSize(40000, 10000)); // 16384 x 4096
    const QString first = m_target.filePath(QStringLiteral("largest"));
    {
        DocumentFixture::OtherBoard lesson;
        DPage *page = lesson.pages.getCurPage();
        page->addCurveItem(QPainterPath(QPointF(10, 10)), QPen(Qt::darkGreen, 5), 0,
                           BtMenus::btPencil, BtMenus::fnPathSceneCoords, QPointF(), 1,
                           QTransform(), false);
        for (int n = 0; n < pictures; ++n) {
            QImage picture(largest, QImage::Format_RGB32);
            picture.fill(QColor(40 * n, 90, 200));
            picture.setPixel(5, 5, qRgb(255, 0, 0));
            page->addPixmapItem(QPixmap::fromImage(std::move(picture)), QPointF(300, 40 + 100 * n),
                                0, 1, QTransform(), false);
        }
        QVERIFY2(lesson.pages.saveAllPagesToFileIWB(first, true),
                 qPrintable(lesson.pages.lastSaveError()));
        lesson.pages.exit();
    }
    // Opened, saved, the save opened and saved again: whole from the first save on at the
    // latest, each at the size it was saved at (larger by the rounding of its smaller side's
    // pixels at most), and then written the same, with the same picture files.
    DocumentFixture::OtherBoard other;
    DPagesList &opened = other.pages;
    QStringList saved{ first + QStringLiteral(".iwb") };
    for (const QString &next : { QStringLiteral("largest2"), QStringLiteral("largest3") }) {
        QVERIFY2(opened.openAllPagesFromFileIWB(saved.last()), qPrintable(opened.lastOpenError()));
        QVERIFY(!opened.lastOpenWasPartial() && !opened.isDocumentModified());
        QCOMPARE(opened.fileName(), saved.last());
        QTRY_VERIFY_WITH_TIMEOUT(opened.arePicturesMeasured(), 60000);
        QCOMPARE(opened.lastOpenPictures().join("\n"), QString());
        int shown = 0;
        for (QGraphicsItem *item : objectsOf(opened.at(0))) {
            auto *picture = dynamic_cast<DGPixmapItem *>(item);
            if (!picture)
                continue;
            ++shown;
            const QSizeF onPage =
                    picture->mapRectToScene(QRectF(QPointF(), picture->pixmap().size())).size();
            QVERIFY2(onPage.width() > largest.width() - 0.01 && onPage.height() > largest.height() - 0.01
                             && onPage.width() < largest.width() * 1.001 + 1
                             && onPage.height() < largest.height() * 1.001 + 1,
                     qPrintable(QStringLiteral("%1 x %2").arg(onPage.width()).arg(onPage.height())));
            const QImage whole = picture->pixmap().toImage();
            QCOMPARE(whole.size(), largest);
            QCOMPARE(whole.pixel(5, 5), qRgb(255, 0, 0));
        }
        QCOMPARE(shown, pictures);
        QCOMPARE(objectsOf(opened.at(0)).size(), pictures + 1); // and the stroke
        QVERIFY2(opened.saveAllPagesToFileIWB(m_target.filePath(next), true),
                 qPrintable(opened.lastSaveError()));
        QVERIFY(opened.lastSaveMissing().isEmpty());
        saved << m_target.filePath(next) + QStringLiteral(".iwb");
    }
    const QStringList entries = DocumentFixture::archiveEntries(saved.at(1));
    QCOMPARE(DocumentFixture::archiveEntries(saved.at(2)), entries);
    QCOMPARE(entries.filter(QStringLiteral("images/obj")).size(), pictures);
    QCOMPARE(DocumentFixture::archiveEntries(saved.at(0)), entries);
    // The pictures as they came, copied: neither decoded nor encoded again.
    for (const QString &entry : entries) {
        QVERIFY2(contentOf(saved.at(2), entry) == contentOf(saved.at(1), entry), qPrintable(entry));
        QVERIFY2(contentOf(saved.at(1), entry) == contentOf(saved.at(0), entry), qPrintable(entry));
    }
    opened.exit();
}

QTEST_MAIN(tst_IwbRoundTrip)
#include "tst_iwbroundtrip.moc"
