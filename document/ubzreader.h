#pragma once

#include "iwblimits.h"
#include "iwbreader.h"

#include <QCoreApplication>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>

class DGPathItem;
class DPage;
class QPixmap;
class DPagesList;
class IwbReader;
class QXmlStreamAttributes;
class QXmlStreamReader;

// Imports the page files "page000.svg" to "page099.svg" of an unpacked UBZ document: a page for
// every background rectangle, with its polygons, texts, pictures, videos and sounds as board
// objects made without undo steps. It shares the IWB reader's links, ids and polygon rules.
// Media are taken only as paths relative to the unpacked folder; a picture whose ub:source is
// unusable is read from its archived xlink:href. The other program's pages are centred on
// their origin: objects are placed about the centre of the page they land on.
class UbzReader
{
    Q_DECLARE_TR_FUNCTIONS(UbzReader)

public:
    UbzReader(DPagesList &list, IwbReader &shared, const QString &folder);

    // The page file names in reading order; later ones are never read.
    static QString pageFileName(int n);
    // Why the page files of folder ask for more than a document may hold (the limits of
    // IwbLimits: objects, pages, nesting, text and the memory the open document would take
    // beside its pictures), or "" when they do not, and what the document would take. Pictures
    // are probed (PictureReading), never decoded, and never a reason to refuse: one beyond the
    // limits is left out or taken smaller. view: the size a page background is shown at.
    static IwbLimits::TextCheck checkLimits(const QString &folder, const QSize &view);

    // What the import leaves out of the pages or brings in changed, because the board cannot
    // show it as the other program did: one line per kind with the pages it is on, in the
    // order first met; empty when everything came in as it was.
    QStringList leftOut() const;
    // Reads one page file onto the pages. Returns "" when it was read to its end or is not
    // there at all, else what stopped it (what was read before stays).
    QString readPageFile(const QString &path);

    // boxWidth: the width of the text's box in the file, which its lines wrap to (none: 0 or
    // less).
    void createTextareaUBZ(QPoint pos, const QString &uuid, const QString &transform,
                           qreal boxWidth, QXmlStreamReader &xml);
    void createImageUBZ(QXmlStreamReader &xml);
    void createLinkUBZ(QXmlStreamReader &xml);
    void createVideoUBZ(const QString &dir, QXmlStreamReader &xml);
    void createAudioUBZ(const QString &dir, QXmlStreamReader &xml);
    void createPolylineUBZ(const QString &dir, QXmlStreamReader &xml, bool polygon);
    // The size a picture object is kept at: as the element gives it, stretched as its matrix
    // says; the picture's own size where the element gives none (or none that is positive).
    static QSize objectSize(const QXmlStreamReader &xml, const QSize &own);
    // offset: the centre of the page the points land on.
    static QList<QPointF> getPointsUBZ(const QString &points, const QPointF &offset);

private:
    enum class Missing {
        PdfBackground,
        Widget,
        PaperPattern,
        Instrument,
        Group, // its objects come in one by one
        Lock, // the object comes in movable
        BackgroundPicture, // comes in as a picture object
    };
    void noteMissing(Missing kind, int page);
    void noteOnPage(Missing kind); // on the current page, made first when there is none yet
    // The element in hand holds a lock, which the object made from it does not keep.
    void noteLock(const QXmlStreamReader &xml);
    // A "group" record, or "groups" holding them: the objects it names stay single.
    void noteGroups(QXmlStreamReader &xml);
    void noteRootPattern(const QXmlStreamReader &xml);
    // A foreignObject that made no text; inner: it held an element of its own.
    void noteForeignObject(const QString &named, bool inner);
    QPointF pageCentre(); // of the current page, made first when there is none yet
    void readRootChild(QXmlStreamReader &xml); // one child of the page file's root, whole
    DPage *page(); // the current page, made first when there is none yet
    QString source(const QString &path) const; // a ub:source inside the folder, or ""
    // An image element's picture: its ub:source, else its archived xlink:href; none when
    // neither is a picture inside the folder, or when it is beyond the limits (name: the one
    // the teacher is told of; file: the one read, "" when there is none).
    IwbReader::Picture pictureOf(const QXmlStreamReader &xml, QString *name, QString *file);
    // The file of a picture object (its source, else the copy the archive keeps), measured
    // into probe; "" when missing.
    QString pictureFileOf(const QXmlStreamReader &xml, QString *name,
                          PictureReading::Probe *probe);
    static void applyOpacity(const QXmlStreamReader &xml, DGPathItem *shape);

    DPagesList &m_list;
    IwbReader &m_shared;
    QString m_folder;
    QList<QPair<Missing, QList<int>>> m_missing; // pages, from 1, of each kind left out
    bool m_paperPattern = false; // of the page file being read
};
