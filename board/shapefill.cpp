#include "shapefill.h"

#include "boardtypes.h"
#include "pictures/picturereading.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPixmap>
#include <QTransform>

#include <cmath>

namespace ShapeFill {

namespace {

// The picture of a texture fill, read once for every shape drawn with it (each would otherwise
// hold a copy of its own) and within the board's limits; none for a file that is not taken.
struct Kept
{
    QString name;
    QDateTime modified;
    qint64 size = -1;
    QPixmap picture;
};

Kept &kept()
{
    // Never destroyed: a pixmap must not outlive the application object, and this one may.
    static Kept *kept = new Kept;
    return *kept;
}

void keep(const QString &fileName, const QPixmap &picture)
{
    const QFileInfo file(fileName);
    kept() = { fileName, file.lastModified(), file.size(), picture };
}

QPixmap texture(const QString &fileName)
{
    const QFileInfo file(fileName);
    if (kept().name == fileName && kept().modified == file.lastModified()
        && kept().size == file.size())
        return kept().picture;
    // Read while the teacher chose it (keepTexture): this is a file changed since.
    PictureReading::Picture read = PictureReading::read(fileName);
    keep(fileName, read.probe.isTaken() ? QPixmap::fromImage(std::move(read.image)) : QPixmap());
    return kept().picture;
}

} // namespace

short itemFillFor(short fillKind)
{
    switch (fillKind) {
    case FillSolid:
        return ItemFillSolid;
    case FillGradient:
        return ItemFillGradient;
    case FillImage:
    case FillPattern:
        return ItemFillTexture;
    default:
        return ItemFillNone;
    }
}

QBrush boxGradient(const QColor &top, const QColor &bottom)
{
    // Measured on the path's box each time it is drawn, so it needs no updating as the shape
    // grows under the tool or a vertex is dragged.
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0.0, top);
    gradient.setColorAt(1.0, bottom);
    return QBrush(gradient);
}

void keepTexture(const QString &fileName, const QImage &picture)
{
    keep(fileName, QPixmap::fromImage(picture));
}

QBrush anchoredTo(const QBrush &brush, const QRectF &box)
{
    if (brush.style() != Qt::TexturePattern || !std::isfinite(box.left())
        || !std::isfinite(box.top()))
        return brush;
    const QTransform t = brush.transform();
    QBrush anchored = brush;
    anchored.setTransform(QTransform(t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(),
                                     box.left(), box.top(), t.m33()));
    return anchored;
}

Fill forShape(short fillKind, const QColor &fillColour, const QColor &outlineColour,
              const QString &fileName)
{
    Fill fill;
    if (fillColour.alpha() != 0 && fillKind == FillSolid) {
        fill.changes = true;
        fill.itemFillType = ItemFillSolid;
        fill.brush = QBrush(fillColour, Qt::SolidPattern);
        return fill;
    }
    switch (fillKind) {
    case FillGradient:
        fill.changes = true;
        fill.itemFillType = ItemFillGradient;
        fill.brush = boxGradient(fillColour, outlineColour);
        break;
    case FillImage:
    case FillPattern:
        fill.changes = true;
        fill.itemFillType = ItemFillTexture;
        fill.fileName = fileName;
        fill.brush = QBrush(texture(fileName));
        break;
    default:
        break;
    }
    return fill;
}

} // namespace ShapeFill
