#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <future>
#include <vector>

class DCustomItem;
class HeldPicture;
class DPage;
class QGraphicsItem;
class QImage;
class QXmlStreamWriter;

// The page half of an IWB "content.xml": one "svg:page" element with the page's background and
// one element per visible board object, and the media those elements name, stored under the
// working directory. The writer never changes an object (nor moves it on screen); what could not
// be stored comes back as error texts for the document writer.
namespace PageWriter {

// "obj" and the object's number within one save; the document writer's lock and group records
// use the same text. Objects are numbered in the order a save first names them, so that the same
// document saved twice (or saved, opened and saved again) writes the same text and the same
// picture files. The numbers hold until the next save restarts them.
QString objectId(const QGraphicsItem *item);
QString linkId(const DCustomItem *object); // "lnk" and the number of the object's links
// Called by the document writer before a save: every number is forgotten.
void restartNumbering();
// From deferPictures() on, the picture files a save writes (copies, links, encodes) are
// written on other threads while the pages are written; takePictureWrites() hands them over
// (and writes at once again), finishPictures() waits for them and returns the files that
// failed.
void deferPictures();
QStringList finishPictures();
struct PictureWrite
{
    qint64 imageKey; // the picture made on the board it holds, or 0
    QString path;
    std::shared_future<bool> done;
};
using PictureWritesTaken = std::vector<PictureWrite>;
PictureWritesTaken takePictureWrites();
// Whether all of them have ended (any thread).
bool picturesWritten(const PictureWritesTaken &writes);
// Notes what they wrote (a later save copies a picture from there) and returns the files that
// failed; waits for those still being written.
QStringList notePicturesWritten(const PictureWritesTaken &writes);
// image was read from file: a save copies the file rather than encode the picture, as long as
// neither changed.
void notePictureRead(const QImage &image, const QString &file);
// Around the writing of page n (counted from 0) and its records: the page's numbers start again
// from a base of its own, and the list of missing media is emptied. Outside, numbers already
// given are looked up on every page.
void startPage(int page);
void endPage();
// The media files (videos, sounds, animations, linked files, textures) that the pages written
// since the restart named but could not carry because they are missing: their objects were
// written all the same, without the file.
QStringList missingMedia();

// What identifies the content of a picture a page names: two pictures of one identity are
// written as the same file. Whoever changes how pictures are held or written keeps this in step.
QByteArray pictureIdentity(const QImage &image);
// A picture held as its file: the one object of the run that holds it, whatever file it lies in.
QByteArray heldIdentity(const HeldPicture &picture);
// The same of a file a page names (a video, a sound, an animation, a linked file, a texture).
QByteArray fileIdentity(const QString &path);
// The identities of the media the page being written names, in the order it names them
// (startPage() empties the list).
QList<QByteArray> namedIdentities();

// While one lives, pages are written only to learn what a save would write of them: no picture
// is encoded and no file copied (a copy is named as the last copy of that file was named), the
// pages' modified marks stay, and the numbering of a save under way is kept aside and put back.
class DryRun
{
public:
    DryRun();
    ~DryRun();
    DryRun(const DryRun &) = delete;
    DryRun &operator=(const DryRun &) = delete;
};

// Where an object stands as the format describes it: the position its parent would give it
// with the transform origin at the centre of its bounding rectangle, unrotated and unscaled,
// and the rotation (counter-clockwise) and scale that turn it into what the screen shows. A
// member of a group gets its scene geometry, the group's own turn and scale included.
struct Placement
{
    QPointF position;
    qreal counterClockwise = 0;
    qreal scale = 1;
};
Placement placementOf(const QGraphicsItem *item);

// What the writer needs of a path object (strokes, shapes, polygons, tables).
struct PathObject
{
    int itemType = 2; // 2 curve, 3 vertex, 4 table
    int kind = 50; // BtMenus::btType the curve was drawn with
    QPainterPath path;
    QPen pen;
    int fillType = 0; // ItemFillNone .. ItemFillTexture
    QColor fillColour;
    QString fillFile; // texture file as the object holds it
    QRectF itemBounds; // the object's bounding rectangle ("gradH" of a circle)
    int rows = 0; // tables only
    int columns = 0;
};

// The element a path object of kind is written as ("svg:polygon" for kinds without their own).
QString pathElementName(int kind);
// Whether that element holds the curves of the path as points along them (a polyline or a
// polygon, read back as a line through its points), not as a shape its reader rebuilds.
bool holdsCurvesAsPoints(int kind);

// Writes the element of a path object with the id and placement given, storing its pen texture
// (and a texture fill's picture) under dir. False when the object has no element (a line that
// is not two points, a path that is empty or not finite): then nothing is written at all.
// points, when given, is the points text of the path at that placement, made ahead.
bool writePathObject(QXmlStreamWriter &stream, const QString &id, const PathObject &object,
                     const Placement &placement, const QString &dir, QStringList *errors,
                     const QString *points = nullptr);

// Opens the "svg:a" of an object that has at least one link and copies its linked file and
// media file into dir "/document"; true when the element was opened (the caller closes it
// after the object's element).
bool openLinks(QXmlStreamWriter &stream, const DCustomItem *object, const QString &dir,
               QStringList *errors);

// The whole "svg:page" element of page n; clears the page's modified mark. Returns what could
// not be stored (empty when everything was written).
QStringList writePage(DPage &page, QXmlStreamWriter &stream, const QString &dir, int n);

} // namespace PageWriter
