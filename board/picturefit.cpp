#include "picturefit.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace {

// Scales that differ by less than this draw the same pixels: a millionth over the widest
// picture kept is a hundredth of a pixel.
constexpr qreal kScaleTolerance = 1e-6;
// An origin that moved by less than this within its pixel draws the same pixels, near enough.
constexpr qreal kFractionTolerance = 1.0 / 64;
// Beyond the visible part, a picture keeps this share of the device's size on each side, so that
// a short pan finds it whole.
constexpr int kMarginShare = 16;
// Device coordinates past this are not worth a picture (nor safe in whole pixels).
constexpr qreal kFarthest = 1e9;

bool close(qreal a, qreal b)
{
    return std::abs(a - b) <= kScaleTolerance * std::max({ qreal(1), std::abs(a), std::abs(b) });
}

bool sameLinear(const QTransform &a, const QTransform &b)
{
    return close(a.m11(), b.m11()) && close(a.m12(), b.m12()) && close(a.m21(), b.m21())
            && close(a.m22(), b.m22());
}

// How far apart two places within a pixel are, the pixel's edges meeting.
qreal fractionApart(qreal a, qreal b)
{
    const qreal apart = std::abs(a - b);
    return std::min(apart, 1 - apart);
}

QTransform linearOf(const QTransform &shown)
{
    return QTransform(shown.m11(), shown.m12(), shown.m21(), shown.m22(), 0, 0);
}

// The device pixel that holds the object's origin.
QPointF originPixel(const QTransform &shown)
{
    return QPointF(std::floor(shown.dx()), std::floor(shown.dy()));
}

// The visible pixels with the margin kept about them.
QRectF withMargin(const QRect &visible)
{
    const qreal marginX = visible.width() / qreal(kMarginShare);
    const qreal marginY = visible.height() / qreal(kMarginShare);
    return QRectF(visible).adjusted(-marginX, -marginY, marginX, marginY);
}

} // namespace

bool PictureFit::isNear(const QTransform &shown, const QRect &area, const QRect &visible)
{
    return shown.mapRect(QRectF(area)).intersects(withMargin(visible));
}

bool PictureFit::isUnit(const QTransform &shown)
{
    return shown.isAffine() && close(shown.m11(), 1) && close(shown.m22(), 1)
            && close(shown.m12(), 0) && close(shown.m21(), 0);
}

PictureFit PictureFit::forShown(const QTransform &shown, const QRect &area, const QRect &visible)
{
    PictureFit fit;
    fit.unit = isUnit(shown);
    if (!shown.isAffine() || !(std::abs(shown.dx()) < kFarthest)
        || !(std::abs(shown.dy()) < kFarthest))
        return fit; // no pixels: drawn straight
    if (!fit.unit)
        fit.linear = linearOf(shown);
    const QPointF base = originPixel(shown);
    fit.fraction = QPointF(shown.dx(), shown.dy()) - base;
    // While pixels is still empty, drawing() places the origin in its pixel.
    QRectF kept = fit.drawing().mapRect(QRectF(area));
    if (!fit.unit) {
        // Shrunk, a unit of margin about the ink is less than its smoothing's pixel.
        kept.adjust(-1, -1, 1, 1);
        kept &= withMargin(visible).translated(-base);
    }
    if (!kept.isEmpty())
        fit.pixels = kept.toAlignedRect();
    return fit;
}

QTransform PictureFit::drawing() const
{
    const QTransform onDevice(linear.m11(), linear.m12(), linear.m21(), linear.m22(), fraction.x(),
                              fraction.y());
    return onDevice * QTransform::fromTranslate(-pixels.x(), -pixels.y());
}

bool PictureFit::sameScale(const QTransform &shown) const
{
    if (unit)
        return isUnit(shown);
    return shown.isAffine() && sameLinear(linear, shown);
}

QTransform PictureFit::placement(const QTransform &shown) const
{
    if (sameScale(shown) && fractionApart(fraction.x(), shown.dx() - std::floor(shown.dx()))
                    <= kFractionTolerance
        && fractionApart(fraction.y(), shown.dy() - std::floor(shown.dy())) <= kFractionTolerance) {
        // Whole pixels: the picture's corner where the origin's pixel now lies.
        const qreal x = std::round(shown.dx() - fraction.x()) + pixels.x();
        const qreal y = std::round(shown.dy() - fraction.y()) + pixels.y();
        return QTransform::fromTranslate(x, y);
    }
    return drawing().inverted() * shown;
}

bool PictureFit::serves(const QTransform &shown, const QRect &area, const QRect &visible) const
{
    if (!sameScale(shown) || pixels.isEmpty())
        return false;
    const QTransform place = placement(shown);
    if (place.type() > QTransform::TxTranslate)
        return false; // the origin moved within its pixel
    if (unit)
        return true; // never cut
    const QRect have = place.mapRect(QRectF(QPointF(0, 0), QSizeF(pixels.size()))).toAlignedRect();
    const QRect needed = (shown.mapRect(QRectF(area)) & QRectF(visible)).toAlignedRect();
    return needed.isEmpty() || have.contains(needed);
}

bool PictureFit::coversStretched(const QTransform &shown, const QRect &area,
                                 const QRect &visible) const
{
    if (unit)
        return !pixels.isEmpty();
    if (pixels.isEmpty() || !shown.isAffine())
        return false;
    const QRectF have = placement(shown)
                                .mapRect(QRectF(QPointF(0, 0), QSizeF(pixels.size())))
                                .adjusted(-1, -1, 1, 1);
    const QRectF needed = shown.mapRect(QRectF(area)) & QRectF(visible);
    return needed.isEmpty() || have.contains(needed);
}

bool PictureFit::operator==(const PictureFit &other) const
{
    return unit == other.unit && pixels == other.pixels && sameLinear(linear, other.linear)
            && fractionApart(fraction.x(), other.fraction.x()) <= kFractionTolerance
            && fractionApart(fraction.y(), other.fraction.y()) <= kFractionTolerance;
}
