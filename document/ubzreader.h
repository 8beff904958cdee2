#pragma once

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QString>

class DGPathItem;
class DPage;
class QPixmap;
class DPagesList;
class IwbReader;
class QXmlStreamReader;

// Imports the page files "page000.svg" to "page099.svg" of an unpacked UBZ document: a page for
// every background rectangle, with its polygons, texts, pictures, videos and sounds as board
// objects made without undo steps. It shares the IWB reader's links, ids and polygon rules.
// Media are taken only as paths relative to the unpacked folder; a picture whose ub:source is
// unusable is read from its archived xlink:href.
class UbzReader
{
public:
    UbzReader(DPagesList &list, IwbReader &shared, const QString &folder);

    // The page file names in reading order; later ones are never read.
    static QString pageFileName(int n);
    // Reads one page file onto the pages. Returns "" when it was read to its end or is not
    // there at all, else what stopped it (what was read before stays).
    QString readPageFile(const QString &path);

    void createTextareaUBZ(QPoint pos, const QString &uuid, const QString &transform,
                           QXmlStreamReader &xml);
    void createImageUBZ(QXmlStreamReader &xml);
    void createLinkUBZ(QXmlStreamReader &xml);
    void createVideoUBZ(const QString &dir, QXmlStreamReader &xml);
    void createAudioUBZ(const QString &dir, QXmlStreamReader &xml);
    void createPolylineUBZ(const QString &dir, QXmlStreamReader &xml, bool polygon);
    static QList<QPointF> getPointsUBZ(const QString &points);

private:
    void readRootChild(QXmlStreamReader &xml); // one child of the page file's root, whole
    DPage *page(); // the current page, made first when there is none yet
    QString source(const QString &path) const; // a ub:source inside the folder, or ""
    // An image element's picture: its ub:source, else its archived xlink:href; null when
    // neither is a picture inside the folder.
    QPixmap pictureOf(const QXmlStreamReader &xml) const;
    static void applyOpacity(const QXmlStreamReader &xml, DGPathItem *shape);
    // A picture's own size replaces a stored one that is missing, not positive or absurdly
    // large (a damaged file), rather than the picture vanishing or eating the memory.
    static constexpr int kMaxPictureSide = 16384;

    DPagesList &m_list;
    IwbReader &m_shared;
    QString m_folder;
};
