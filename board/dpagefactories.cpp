// The page's object factories and picture insertion: every board object enters a page here.

#include "dpage.h"

#include "boardtypes.h"
#include "dggifitem.h"
#include "dgpathcurveitem.h"
#include "dgpathtableitem.h"
#include "dgpathvertexitem.h"
#include "dgpixmapitem.h"
#include "dgsounditem.h"
#include "dgtextitem.h"
#include "dgvideoitem.h"
#include "drotateitem.h"
#include "drotateitembutton.h"
#include "drotateitemfocus.h"
#include "dview.h"
#include "posterframe.h"

#include "pictures/heldpictures.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>

#include <cmath>
#include <memory>

namespace {

// What the factories do alike, once the object exists.
struct Placement
{
    QTransform transform;
    float rotation;
    float scale;
};

Placement sanePlacement(const QTransform &transform, float rotation, float scale)
{
    // A damaged document must not put infinite or zero geometry into the scene.
    const bool finiteTransform = std::isfinite(transform.m11()) && std::isfinite(transform.m12())
            && std::isfinite(transform.m21()) && std::isfinite(transform.m22())
            && std::isfinite(transform.dx()) && std::isfinite(transform.dy())
            && transform.isInvertible();
    return { finiteTransform ? transform : QTransform(), std::isfinite(rotation) ? rotation : 0.0f,
             std::isfinite(scale) && scale > 0.0f ? scale : 1.0f };
}

constexpr qreal kMaxCoordinate = kBoardReach;

// A path a page can show: at least one element, every coordinate finite and within reach.
bool drawablePath(const QPainterPath &path)
{
    const int count = path.elementCount();
    if (count == 0)
        return false;
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (!std::isfinite(element.x) || !std::isfinite(element.y)
            || std::abs(element.x) > kMaxCoordinate || std::abs(element.y) > kMaxCoordinate)
            return false;
    }
    return true;
}

// A position a damaged document gives beyond any board puts the object at the origin, where
// it can be seen and moved.
QPointF sanePoint(const QPointF &point)
{
    const bool onBoard = std::isfinite(point.x()) && std::isfinite(point.y())
            && std::abs(point.x()) <= kMaxCoordinate && std::abs(point.y()) <= kMaxCoordinate;
    return onBoard ? point : QPointF();
}

template <typename Object> void connectReleases(DPage *page, Object *object)
{
    QObject::connect(object, &Object::releaseBt, page, &DPage::isValidRelease);
    object->setFrameReceiver(page);
}

// Origin first, then transform, rotation and scale about it; the position (when given) last.
void applyGeometry(QGraphicsItem *item, DCustomItem *object, bool centreOrigin,
                   const Placement &placement, const QPointF *pos, QMenu *menu)
{
    if (centreOrigin) {
        const QRectF bounds = item->boundingRect();
        item->setTransformOriginPoint(bounds.x() + bounds.width() / 2,
                                      bounds.y() + bounds.height() / 2);
    }
    // Each call goes through the object's change reports; most objects of a document are
    // neither transformed, turned nor scaled, and are spared them.
    if (item->transform() != placement.transform)
        item->setTransform(placement.transform, false);
    if (item->rotation() != qreal(-placement.rotation))
        item->setRotation(-placement.rotation);
    if (item->scale() != qreal(placement.scale))
        item->setScale(placement.scale);
    if (pos)
        item->setPos(*pos);
    // The handles and buttons keep their size on screen.
    if (DRotateItem *frame = object->madeRotateItem())
        frame->setScale(1.0 / placement.scale);
    object->setFrameMenu(menu);
}

} // namespace

QPointF DPage::roundedHalfUp(const QPointF &point)
{
    return QPointF(std::floor(point.x() + 0.5), std::floor(point.y() + 0.5));
}

void DPage::enterPage(QGraphicsItem *item, bool record)
{
    if (record)
        recordOperation(BtMenus::stAdd, {}, item);
    else
        addItem(item);
}

DGPixmapItem *DPage::addPixmapItem(const QPixmap &pixmap, QPointF pos, float rotation, float scale,
                                   const QTransform &transform, bool record)
{
    if (pixmap.isNull())
        return nullptr;
    pos = sanePoint(pos);
    return placePictureObject(new DGPixmapItem(pos, pixmap, nullptr), true, pos, rotation, scale,
                              transform, record);
}

DGPixmapItem *DPage::addPixmapItemUBZ(const QPixmap &pixmap, QPointF pos, float rotation,
                                      float scale, const QTransform &transform, bool record)
{
    if (pixmap.isNull())
        return nullptr;
    pos = sanePoint(pos);
    return placePictureObject(new DGPixmapItem(pos, pixmap, nullptr), false, pos, rotation, scale,
                              transform, record);
}

DGPixmapItem *DPage::addPixmapItem(const std::shared_ptr<HeldPicture> &picture, QSize size,
                                   QPointF pos, float rotation, float scale,
                                   const QTransform &transform, bool record, bool centreOrigin)
{
    if (!picture || size.isEmpty())
        return nullptr;
    pos = sanePoint(pos);
    return placePictureObject(new DGPixmapItem(pos, picture, size, nullptr), centreOrigin, pos,
                              rotation, scale, transform, record);
}

DGPixmapItem *DPage::placePictureObject(DGPixmapItem *picture, bool centreOrigin, QPointF pos,
                                        float rotation, float scale, const QTransform &transform,
                                        bool record)
{
    m_pPixmapItem = picture;
    connectReleases(this, picture);
    applyGeometry(picture, picture, centreOrigin, sanePlacement(transform, rotation, scale), &pos,
                  m_view->m_menuGeneric);
    enterPage(picture, record);
    return picture;
}

DGTextItem *DPage::addTextItem(const QString &html, const QFont &font, QPointF pos, float rotation,
                               float scale, const QTransform &transform, bool record, qreal width)
{
    return makeTextItem(html, font, pos, rotation, scale, transform, record, true, width);
}

DGTextItem *DPage::addTextItemUBZ(const QString &html, const QFont &font, QPointF pos,
                                  float rotation, float scale, const QTransform &transform,
                                  bool record, qreal width)
{
    return makeTextItem(html, font, pos, rotation, scale, transform, record, false, width);
}

DGTextItem *DPage::makeTextItem(const QString &html, const QFont &font, QPointF pos, float rotation,
                                float scale, const QTransform &transform, bool record,
                                bool centredOrigin, qreal width)
{
    pos = sanePoint(pos);
    // Text, font and box before the origin, so that a centred origin is the centre of the
    // filled text.
    auto *text = new DGTextItem(pos, html, font, nullptr, width);
    m_pTextItem = text;
    connectReleases(this, text);
    applyGeometry(text, text, centredOrigin, sanePlacement(transform, rotation, scale), &pos,
                  m_view->m_menuGeneric);
    enterPage(text, record);
    return text;
}

DGSoundItem *DPage::addSoundItem(const QString &file, QPointF pos, float rotation, float scale,
                                 const QTransform &transform, bool record)
{
    pos = sanePoint(pos);
    auto *sound = new DGSoundItem(pos, file, nullptr);
    m_pSoundItem = sound;
    connectReleases(this, sound);
    applyGeometry(sound, sound, true, sanePlacement(transform, rotation, scale), &pos,
                  m_view->m_menuGeneric);
    enterPage(sound, record);
    return sound;
}

DGVideoItem *DPage::addVideoItem(const QString &file, QPointF pos, float rotation, float scale,
                                 const QTransform &transform, bool record)
{
    pos = sanePoint(pos);
    // A missing file or a failed extraction leaves the box without a poster, as before.
    const QPixmap poster = QFileInfo(file).isFile() ? PosterFrame::extract(file) : QPixmap();
    auto *video = new DGVideoItem(pos, file, poster, nullptr);
    m_pVideoItem = video;
    connectReleases(this, video);
    applyGeometry(video, video, true, sanePlacement(transform, rotation, scale), &pos,
                  m_view->m_menuVideo);
    enterPage(video, record);
    return video;
}

DGGifItem *DPage::addGifItem(QLabel *label, QPointF pos, float rotation, float scale,
                             const QTransform &transform, bool record)
{
    if (!label)
        return nullptr;
    pos = sanePoint(pos);
    auto *animation = new DGGifItem(pos, label, nullptr);
    animation->setWidget(label);
    m_pGifItem = animation;
    connectReleases(this, animation);
    applyGeometry(animation, animation, true, sanePlacement(transform, rotation, scale), &pos,
                  m_view->m_menuGeneric);
    enterPage(animation, record);
    return animation;
}

DGPathTableItem *DPage::addTableItem(const QPainterPath &path, int rows, int columns,
                                     float rotation, float scale, const QTransform &transform,
                                     bool record)
{
    if (!drawablePath(path) || path.boundingRect().isEmpty())
        return nullptr; // a damaged document: no table to draw
    // A table of no rows or columns would divide by zero when its grid is laid out again.
    auto *table = new DGPathTableItem(std::max(rows, 1), std::max(columns, 1), QPointF(0, 0),
                                      QPen(Qt::black), nullptr);
    // The grid is the table's own: a document gives only its rectangle.
    table->setTableRect(path.boundingRect());
    m_pDrawItem = table;
    connectReleases(this, table);
    applyGeometry(table, table, true, sanePlacement(transform, rotation, scale), nullptr,
                  m_view->m_menuGeneric);
    enterPage(table, record);
    return table;
}

DGPathItem *DPage::addCurveItem(const QPainterPath &path, const QPen &pen, float rotation,
                                BtMenus::btType kind, BtMenus::fnPathPosition frame, QPointF pos,
                                float scale, const QTransform &transform, bool record)
{
    if (!drawablePath(path))
        return nullptr; // nothing to draw, or a damaged document
    if (DGPathItem::isDot(path) && !DGPathItem::drawsDot(pen))
        return nullptr; // a dot this pen cannot show: no invisible object, no undo step
    pos = sanePoint(pos);
    const QPointF first(path.elementAt(0).x, path.elementAt(0).y);
    m_path = QPainterPath();
    m_path.moveTo(first);

    const Placement placement = sanePlacement(transform, rotation, scale);
    if (frame == BtMenus::fnPathVertexItem) {
        // An instrument's path keeps its own coordinates and turns about its (0, 0).
        auto *vertex = new DGPathVertexItem(pos, pen, nullptr);
        vertex->setPath(DGPathItem::isDot(path) ? DGPathItem::dotPath(first) : path);
        m_pDrawItem = vertex;
        connectReleases(this, vertex);
        applyGeometry(vertex, vertex, false, placement, nullptr, m_view->m_menuPath);
        enterPage(vertex, record);
        return vertex;
    }

    QPointF position = first;
    QPointF origin = first; // the point of the path that lands on the object's origin
    if (frame == BtMenus::fnPathViewCoords) {
        position = freehandAnchor(first);
    } else if (frame == BtMenus::fnPathAtPos) {
        position = pos;
    } else if (frame == BtMenus::fnPathSceneCoords) {
        // On a whole pixel, as a shape drawn by hand stands on its press point: the object's
        // picture then meets the pixels as it did when drawn (an ellipse's path begins halfway
        // down an odd height, and half a pixel would move its outline and fill by one).
        position = roundedHalfUp(first);
        origin = position;
    }
    auto *curve = new DGPathCurveItem(position, pen, kind, nullptr);
    // One point (a tap, or all a damaged document kept) is a dot at the object's origin.
    curve->setPath(DGPathItem::isDot(path) ? DGPathItem::dotPath(first - origin)
                                           : path.translated(-origin));
    m_pDrawItem = curve;
    connectReleases(this, curve);
    applyGeometry(curve, curve, true, placement, nullptr,
                  curve->couldFilled() ? m_view->m_menuVertex : m_view->m_menuPath);
    enterPage(curve, record);
    return curve;
}

void DPage::insertPixmap(const QString &file)
{
    placePicture(file, QFileInfo(file).fileName(), true);
}

void DPage::placePicture(const QString &file, const QString &name, bool animationByName)
{
    // The test is for ".gif" as written anywhere in the name: "A.GIF" is a still picture.
    const bool animation = animationByName && file.contains(QLatin1String(".gif"));
    struct Read
    {
        PictureReading::Animation animation;
        PictureReading::Picture still;
        QString kept; // the picture's own copy of the file
    };
    auto read = std::make_shared<Read>();
    PictureReading::inBackground(
            [file, animation, read] {
                // A still picture, or an animation too large to play: its first picture.
                if (animation)
                    read->animation = PictureReading::readAnimation(file, {}, &read->still);
                else
                    read->still = PictureReading::read(file);
                // Held as a copy of its file from now on, decoded again when shown: the
                // teacher's file may change or go meanwhile.
                if (read->animation.frames.isEmpty() && read->still.probe.isTaken())
                    read->kept = HeldPictures::copyIn(file);
            },
            this,
            [this, file, name, animation, read] {
                QLabel *label = read->animation.frames.isEmpty()
                        ? nullptr
                        : DGGifItem::makeAnimation(file, read->animation);
                if (!label) {
                    if (!placeRead(std::move(read->still), name, animation, file, read->kept)
                        && !read->kept.isEmpty())
                        QFile::remove(read->kept);
                    return;
                }
                if (!read->kept.isEmpty())
                    QFile::remove(read->kept);
                const QPoint viewCentre = QRect(0, 0, m_view->width(), m_view->height()).center();
                hideInkOverlay();
                addGifItem(label, m_view->mapToScene(viewCentre), 0, 1.0f, QTransform(), false);
                m_view->setSelect();
            });
}

bool DPage::placeRead(PictureReading::Picture picture, const QString &name, bool animation,
                      const QString &source, const QString &kept)
{
    if (!picture.probe.isTaken()) {
        tellAboutPicture(picture.probe, name, animation);
        return false;
    }
    const QPoint viewCentre = QRect(0, 0, m_view->width(), m_view->height()).center();
    const QPointF sceneCentre = m_view->mapToScene(viewCentre);
    hideInkOverlay();
    if (!kept.isEmpty()) {
        const std::shared_ptr<HeldPicture> held = HeldPicture::ofOwnFile(
                kept, name, QFileInfo(source).absolutePath(), picture.probe, picture.image);
        HeldPictures::makeSmallestApart(held);
        const QSize size = held->pixels();
        addPixmapItem(held, size, sceneCentre - QPointF(QRect(QPoint(), size).center()), 0, 1.0f,
                      QTransform(), true);
    } else {
        const QPixmap pixmap = QPixmap::fromImage(std::move(picture.image));
        addPixmapItem(pixmap, sceneCentre - QPointF(pixmap.rect().center()), 0, 1.0f, QTransform(),
                      true);
    }
    m_view->setSelect();
    tellAboutPicture(picture.probe, name, animation);
    return true;
}

void DPage::tellAboutPicture(const PictureReading::Probe &probe, const QString &name,
                             bool animation)
{
    // By the picture's name, and why: what it measures and what was done with it, or why it
    // could not be read at all.
    const QString text = PictureReading::message(probe, name, animation);
    if (text.isEmpty())
        return;
    qWarning("DPage: picture %s: %s", qPrintable(name), qPrintable(probe.detail));
    QMessageBox::information(m_parent, tr("Atención"), text);
}

void DPage::insertPxFromCapture(const QPixmap &pixmap, QPoint point)
{
    addPixmapItem(pixmap, QPointF(point), 0, 1.0f, QTransform(), true);
}
