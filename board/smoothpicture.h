#pragma once

#include <QRectF>

class QBrush;
class QGraphicsItem;
class QGraphicsScene;
class QImage;
class QPainter;
class QPainterPath;
class QPixmap;
class QRect;
class QTransform;
class QWidget;

// Pictures shown as a photo viewer shows them: filtered, with smooth edges, wherever the
// painter's transform does not lay them on the pixels one for one; laid as they are where it
// does, since a filter would change nothing there and only cost time. Shown smaller than their
// pixels, they are averaged over the pixels each shown pixel covers.
namespace SmoothPicture {

// From now on painter shows pictures (and picture fills) so.
void prepare(QPainter *painter);

// A device that records what is drawn on it for a sheet written elsewhere, on another thread:
// a picture is recorded as it is, and made ready for the sheet (averaged down, turned upright,
// resampled for print) with draw() where the sheet is written, not where it is recorded.
class SheetRecorder
{
public:
    virtual ~SheetRecorder() = default;
    // picture, next drawn on the recorder over its target, is to be drawn with draw() there.
    virtual void drawLater(const QImage &picture) = 0;
};

// Whether a picture, once averaged down for the size it shows at, is kept for the next time
// it is shown at that size (PictureReductions): not the frames of an animation, each shown once.
enum Keep { Kept, Once };

// Draws picture over target (painter's coordinates) so. Turned over much of a screen, or shown
// smaller than its pixels, it is filtered in bands on several threads at once and the bands
// laid in turn: on the board's thread alone a turned photo filling a zoomed-in screen held the
// board up for a frame.
void draw(QPainter *painter, const QRectF &target, const QImage &picture, Keep keep = Kept);

// An object's picture drawn so for widget, the widget the toolkit paints it for. On the board,
// while the pictures of the scale it shows are coming, it is laid unfiltered for now: the board
// is painted again, whole, once they come, and meanwhile shows what it can quickly, as the
// stroke pictures of another scale that stand in. Painted into any other picture (the
// toolkit's cache of an object, a grab, an export) it is filtered. item, given where it is
// painted for the board (and a QObject): a large picture shown small is averaged beside the
// board (ShownPictures), what it has standing in, and item repainted once that comes.
void draw(QPainter *painter, const QRectF &target, const QPixmap &picture, const QWidget *widget,
          QGraphicsItem *item, Keep keep = Kept);
void draw(QPainter *painter, const QRectF &target, const QImage &picture, const QWidget *widget,
          QGraphicsItem *item, Keep keep = Kept);

// picture drawn over target (toDevice taking it to a device's pixels) as shown over area of
// those pixels, averaged over what each covers as draw() shows a picture smaller than its
// pixels. Any thread.
QImage averagedOver(const QImage &picture, const QRectF &target, const QTransform &toDevice,
                    const QRect &area);

// rect (painter coordinates) filled with brush, a picture fill, as shown over area of a device's
// pixels (toDevice taking painter coordinates there), averaged as draw() averages a picture
// shown smaller than its pixels. Null where there is no memory for it. Any thread.
QImage averagedFill(const QBrush &brush, const QTransform &toDevice, const QRect &area);

// A page's background, brush, over rect as fillSmall() fills it: true when it has filled rect
// itself. page, given where it is painted for the board: a large picture shown small is
// averaged beside the board (ShownPictures), what it has standing in meanwhile.
bool fillBackground(QPainter *painter, const QRectF &rect, const QBrush &brush,
                    QGraphicsScene *page);

// Fills path with brush as painter shows a picture so, where brush is a picture fill shown
// smaller than its picture's pixels: true when it has filled path itself. Any thread.
bool fillSmall(QPainter *painter, const QPainterPath &path, const QBrush &brush);

// A PDF keeps a picture at its own pixels, which viewers and printers enlarge as blocks: a
// picture shown there at fewer than 100 of its pixels an inch is resampled, smoothly, to 150 an
// inch first. Elsewhere, and where it is fine enough, it is given back as it is.
QImage forPrint(const QPainter *painter, const QSizeF &shown, const QImage &picture);
// The same for a picture fill of path: true when it has filled path itself, resampled (a PDF
// takes a fill's pattern as it is, without the brush's own transform).
bool fillForPrint(QPainter *painter, const QPainterPath &path, const QBrush &brush);

} // namespace SmoothPicture
