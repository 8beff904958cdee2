#pragma once

#include <QPointF>
#include <QRect>
#include <QTransform>

// Where an object's cached picture stands against the pixels it is shown on. A picture is made
// for one way of showing the object (the board's zoom and the object's own scale and turn) and
// laid on the device pixel for pixel, so ink is as sharp as the same path drawn straight there.
// Shown another way, it may stand in, stretched, until one of the right scale is made.
//
// The picture's pixels are the device's, counted from the pixel that holds the object's origin,
// and the picture is drawn with the origin where it falls within that pixel. At one pixel a
// unit (the object at its own size, the board at 100 %) a picture covers the whole object
// wherever it lies on the page; at any other scale it is cut to what the device shows (with a
// margin), so that a long stroke at 400 % costs no more memory than the screen it covers.
struct PictureFit
{
    bool unit = true;
    QTransform linear; // object to device, without the move (identity when unit)
    QPointF fraction; // where the object's origin lies within its device pixel
    QRect pixels; // about the origin's device pixel

    // The fit for an object of rounded bounds area shown by shown (object to device) on a device
    // whose pixels are visible. Empty pixels when nothing of it lies near the visible part.
    static PictureFit forShown(const QTransform &shown, const QRect &area, const QRect &visible);
    // Shown at one pixel a unit, unturned: the picture of the object at its own size.
    static bool isUnit(const QTransform &shown);
    // Whether area, shown by shown, lies within the margin kept about the visible pixels.
    static bool isNear(const QTransform &shown, const QRect &area, const QRect &visible);

    // Object coordinates to the picture's pixels.
    QTransform drawing() const;
    // The picture's pixels to the device under shown: a whole-pixel move when the picture was
    // made for this scale.
    QTransform placement(const QTransform &shown) const;
    // Laid pixel for pixel under shown, and holding every pixel of area that visible shows.
    bool serves(const QTransform &shown, const QRect &area, const QRect &visible) const;
    // Stretched under shown, it still covers every pixel of area that visible shows.
    bool coversStretched(const QTransform &shown, const QRect &area, const QRect &visible) const;
    bool sameScale(const QTransform &shown) const;

    bool operator==(const PictureFit &other) const;
    bool operator!=(const PictureFit &other) const { return !(*this == other); }
};
