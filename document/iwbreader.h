#pragma once

#include "lessonpictures.h"

#include "pictures/picturereading.h"
#include "shell/btmenus.h"

#include <QBrush>
#include <QHash>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPainterPath>
#include <QPixmap>
#include <QPointF>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

class DCustomItem;
class HeldPicture;
class DPage;
class DPagesList;
class QGraphicsItem;
class QImage;
class QPixmap;
class IwbXml;

// While the archive a document is read from is still being unpacked: where its files lie for
// now, when each of them is there, and when they lie in the document's own folder.
class IwbUnpacking
{
public:
    virtual ~IwbUnpacking() = default;
    // The folder the files lie in now (the document's own once settled).
    virtual QString folder() const = 0;
    // The file (a name relative to the folder) is unpacked whole, or never will be.
    virtual bool isUnpacked(const QString &relative) const = 0;
    virtual void waitUnpacked(const QString &relative) = 0;
    // Waits until everything is unpacked and checked and the files lie in the document's own
    // folder; false when the document is refused (the read must stop).
    virtual bool settle() = 0;
};

// Rebuilds a document from the "content.xml" of an unpacked IWB folder: pages are made by the
// background elements, every object element goes through the page factories without undo
// steps, and the records after the pages lock and group the objects they name. Files a
// document names are looked up only inside its folder. The reader shows no messages; a bad
// element gives a partial or no object. Pictures are read within the board's limits: one beyond
// them is left out or taken smaller (pictures()), never a reason to refuse the document.
class IwbReader
{
public:
    // folder: where the document lies unpacked. While an earlier run's work is restored, full
    // paths inside previous are read as the same files inside folder.
    IwbReader(DPagesList &list, const QString &folder, const QString &previous = QString());
    ~IwbReader();
    IwbReader(const IwbReader &) = delete;
    IwbReader &operator=(const IwbReader &) = delete;

    // The document's files are still being unpacked (see IwbUnpacking): pictures are read
    // where they lie as soon as each is there; what an object keeps the path of (a video, a
    // sound, an animation, a texture, a linked file) waits until they lie in the folder.
    void setUnpacking(IwbUnpacking *unpacking) { m_unpacking = unpacking; }
    // Called between the elements read and every few milliseconds of a wait for a picture (an
    // open lets the board's event loop turn).
    void setTurns(std::function<void()> turn) { m_turn = std::move(turn); }
    const std::function<void()> &turns() const { return m_turn; }
    // The walk from the "pageset" element to the end. False when the XML broke off before its
    // end, or when objects were left out because a number of theirs is none a board can hold
    // (not finite, or beyond its reach): what was read stays. Also false when the unpacking
    // refused the document (IwbUnpacking::settle): the walk stopped there.
    bool read(IwbXml &xml);
    QString errorString() const { return m_error; }

    // --- Shape elements ---
    void createRectIWB(IwbXml &xml, bool makePage);
    void createRoundRectIWB(IwbXml &xml);
    void createConeIWB(IwbXml &xml);
    void createCubeIWB(IwbXml &xml);
    void createCylinderIWB(IwbXml &xml);
    void createBallIWB(IwbXml &xml);
    void createCircleIWB(IwbXml &xml);
    void createEllipseIWB(IwbXml &xml);
    void createLineIWB(IwbXml &xml);
    void createPolylineIWB(const QString &dir, IwbXml &xml, bool polygon);

    // --- Text, table, picture, video and sound elements ---
    void createTextareaIWB(IwbXml &xml);
    void createTextIWB(IwbXml &xml);
    void createTableIWB(IwbXml &xml);
    void createImageIWB(const QString &dir, IwbXml &xml);
    void createVideoIWB(const QString &dir, IwbXml &xml);
    void createSoundIWB(const QString &dir, IwbXml &xml);

    // --- Links, groups and locks ---
    void createLinkIWB(IwbXml &xml);
    // A link whose file and media are already files inside the folder (UBZ media).
    void setLocalLink(const QString &web, const QString &page, const QString &file,
                      const QString &media);
    void asignLinkIWB(DCustomItem *object);
    void createGroupIWB(IwbXml &xml);
    void recursiveGroupIWB(IwbXml &xml, QList<QGraphicsItem *> *members);
    void createLockIWB(IwbXml &xml);

    // The object made from an element, entered under its "id" (also an empty one).
    void registerObject(const QString &id, QGraphicsItem *item);
    QGraphicsItem *object(const QString &id) const { return m_ids.value(id); }

    // Steps 5 to 11 shared by the shape readers: pen and fill from the element's attributes,
    // the object made through the curve factory, then linked and registered. overridePoints:
    // the element's "points" move the built path's elements. Returns the object, or null when
    // the path is empty.
    enum class Fill { Full, BrushOnly, None };
    // The open path through points, and the kind a polyline or polygon element stands for
    // (polygons written with type "table" are tables); the UBZ reader shares both.
    static QPainterPath polylinePath(const QList<QPointF> &points);
    static BtMenus::btType polylineKind(const IwbXml &xml, bool polygon);
    QGraphicsItem *finishShape(IwbXml &xml, QPainterPath path, BtMenus::btType kind,
                               Fill fill, bool overridePoints, const QPointF &pointOffset = {},
                               bool polyPen = false, const QString &dir = QString());

    // A full path the document names (a link, a texture), as a file inside the folder; "" when
    // it is not there.
    QString attachment(const QString &storedPath) const;
    // UBZ pages name a texture fill's picture ("pathFile") relative to their folder, as their
    // media; IWB documents name the original picture and carry a copy.
    void setRelativeTextures(bool relative) { m_relativeTextures = relative; }
    // A shape's "fill-opacity" is the fill's alpha, 0 to 255, in our documents; UBZ pages give
    // it as a fraction and apply it themselves.
    void setFillOpacityIsAlpha(bool alpha) { m_fillOpacityIsAlpha = alpha; }
    // What the teacher is told of the document's pictures.
    LessonPictures &pictures() { return m_pictures; }
    // A picture the document names that is read as the document is (a page's background, a
    // texture): whole, smaller or not at all, as its probe says. file: where it lies now (as
    // localFile gives it); "" gives nothing. Decoded once however often it is named.
    struct Picture
    {
        QPixmap pixmap;
        PictureReading::Probe probe;
    };
    Picture picture(const QString &file);
    // The picture a picture object shows, held as its file (where it will lie once the files
    // are settled), one for all objects that show that file. name: as the teacher knows it;
    // size: the size the document gives it, until it is measured; page: counted from 1, the
    // first that shows it.
    std::shared_ptr<HeldPicture> heldPicture(const QString &file, const QString &name,
                                             QSize size, int page);
    // The same, measured already (UBZ pages give no size of their own); objectSize: that of
    // the object that shows it, when one does.
    std::shared_ptr<HeldPicture> heldPicture(const QString &file, const QString &name,
                                             const PictureReading::Probe &probe, int page,
                                             QSizeF objectSize = QSizeF());
    // Every picture the objects made show, with the first page that shows it.
    struct Held
    {
        std::shared_ptr<HeldPicture> picture;
        int page;
    };
    const std::vector<Held> &heldPictures() const { return m_heldList; }
    // The name a picture's href is given in what the teacher is told.
    static QString pictureName(const QString &href);

    bool pageMade() const { return m_pageMade; }
    void setPageMade(bool made) { m_pageMade = made; }
    DPage *page() const;
    void makeDefaultPage(); // the colour page of rgb(250,250,250)

private:
    void pageFirst();
    // The numbers of an object element can all be held by a board.
    bool isReadable(const IwbXml &xml);
    // One group of the members of a record and of the records nested in it.
    void makeGroup(const QList<QGraphicsItem *> &members, bool locked);
    QString textureFile(IwbXml &xml);
    // The texture brush of a picture file (named: as the document names it, for the teacher);
    // none when it is missing or left out.
    QBrush textureBrush(const QString &file, const QString &named);
    // The picture object of an "image" element: a still picture, or an animation playing
    // (gif: its file is one); null when there is none to show.
    QGraphicsItem *makePictureObject(const QString &file, const QString &href, bool gif,
                                     const QPointF &at, QSize asked, float rotation, float scale);
    // The folder the document's files are read from now.
    QString readFolder() const { return m_unpacking ? m_unpacking->folder() : m_folder; }
    // The file an href of dir names, as it lies now: while the document is unpacked, once it
    // is there. "" when missing.
    QString localFile(const QString &dir, const QString &href);
    // A file read where it lies now, by the path it has in the document's folder.
    QString keptPath(const QString &file) const;
    // The files lie in the document's folder (waited for while it is unpacked); false when
    // the document was refused, and the walk is stopped.
    bool settleFiles();
    QHash<QString, Picture> m_shown; // read, by the path they are kept at, for their next showing
    QHash<QString, std::shared_ptr<HeldPicture>> m_held; // by the path they are kept at
    std::vector<Held> m_heldList;
    QHash<QString, PictureReading::Animation> m_animations; // playing, by the same
    qint64 m_playingBytes = 0; // what the animations playing hold

    DPagesList &m_list;
    QString m_folder;
    QString m_previous;
    IwbUnpacking *m_unpacking = nullptr;
    std::function<void()> m_turn;
    bool m_settled = false;
    bool m_refused = false;
    IwbXml *m_xml = nullptr; // the walk of read()
    int m_elementsRead = 0;
    QHash<QString, QGraphicsItem *> m_ids;
    // The ids records name, when known ahead: only those objects need to be found again.
    const QSet<QString> *m_references = nullptr;
    struct Link
    {
        QString web;
        QString page;
        QString file;
        QString media;
        bool local = false;
    } m_link;
    // The last shape's "transform" as read (no text: no rotation, scale 1, as read).
    struct Transform
    {
        QString text;
        float rotation = 0;
        float scale = 1;
    } m_shapeTransform;
    // text as read: thousands of strokes carry the same transform text, which is read once.
    const Transform &shapeTransform(const QString &text);
    bool m_pageMade = false;
    bool m_relativeTextures = false;
    bool m_fillOpacityIsAlpha = true;
    LessonPictures m_pictures;
    QString m_error;
};
