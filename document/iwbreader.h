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
    // The pictures of the document: their share of its memory, and what the teacher is told.
    LessonPictures &pictures() { return m_pictures; }
    // A picture the document names, read within the budget of PictureReading (shared with the
    // pictures decoded ahead): whole, smaller or not at all, as its probe says. file: where it
    // lies now (as localFile gives it); "" gives nothing.
    struct Picture
    {
        QPixmap pixmap;
        PictureReading::Probe probe;
    };
    Picture picture(const QString &file);
    // A picture taken from picture() is done with: the object made of it holds its own copy
    // (or none was made).
    void pictureUsed(const Picture &read);
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
    // Pictures are decoded on other threads, in the order the document names them, while the
    // pages fill; each is taken once, where it is first used.
    // named: the pictures the text names, when they are known; else they are looked for in
    // the text.
    void decodePicturesAhead(const QStringList *named);
    bool picturesInText(QStringList *names) const;
    // A picture read here rather than ahead, once there is room for it in the budget.
    PictureReading::Picture readHere(const QString &file);
    // Lets one picture decoded ahead and not taken go (it is read where it is used); false
    // when none is.
    bool letOneAheadGo();
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
    // Pictures named by the text walked so far, to be decoded ahead as they are unpacked.
    void decodeAlso(const QStringList &hrefs);

    // The lesson's memory while it opens: the pictures being decoded (at their peak) and
    // decoded and not yet taken are reserved, beside what the lesson holds already (kept, as
    // the reading counts it); together no more than IwbLimits::kMaxOpeningBytes.
    struct Decoding
    {
        std::atomic<bool> cancelled{ false };
        std::atomic<qint64> reserved{ 0 };
        std::atomic<qint64> kept{ 0 };
        std::atomic<int> busy{ 0 }; // pictures being probed or decoded
        bool reserve(qint64 bytes);
        void release(qint64 bytes) { reserved -= bytes; }
        // Pictures decoded ahead take their room in the order the lesson names them, whichever
        // is measured first, so that those left out for want of room are the last: each has a
        // turn (numbered as it is asked for, from 0), and one that asks for room waits until
        // the turns before its own have ended.
        qint64 turnsGiven = 0; // on the reading's thread
        void waitForTurn(qint64 turn);
        void endTurn(qint64 turn);
        std::mutex turnMutex;
        std::condition_variable turnEnded;
        qint64 turnsEnded = 0; // every turn before this one has ended
        std::set<qint64> endedEarly; // and these after it
    };
    // What the lesson holds already, for the pictures read from now on.
    void countKept();
    // Pictures read and held for their next showing, that no object holds.
    qint64 shownBytes() const;
    // Lets one of those go (it is read again where it is shown next); false when none is.
    bool letOneShownGo();
    // A picture decoded ahead: read is false when there was no room for it (it is read where it
    // is used).
    struct Ahead
    {
        QImage image;
        PictureReading::Probe probe;
        qint64 held = 0; // of the budget, until it is taken
        bool read = false;
    };
    std::shared_ptr<Decoding> m_decoding = std::make_shared<Decoding>();
    // Pictures taken and still held as taken (page backgrounds, textures, and pictures whose
    // object is being made); the playing animations.
    qint64 m_takenBytes = 0;
    qint64 m_playingBytes = 0;
    QMap<QString, std::shared_future<Ahead>> m_decoded;
    // Pictures named in the text, in order, not yet handed to a decoding thread: a few are
    // decoded ahead of the reading at a time, so that none waits for memory others hold.
    void decodeNextAhead();
    QStringList m_ahead; // by their names in the text
    int m_nextAhead = 0;
    QStringList m_unpackedLater; // their turn came before they were unpacked
    QSet<QString> m_readHere; // asked for before their turn came: not decoded ahead any more
    QHash<QString, Picture> m_shown; // read, by the path they are kept at, for their next showing
    QHash<QString, PictureReading::Animation> m_animations; // playing, by the same

    DPagesList &m_list;
    QString m_folder;
    QString m_previous;
    IwbUnpacking *m_unpacking = nullptr;
    std::function<void()> m_turn;
    bool m_settled = false;
    bool m_refused = false;
    IwbXml *m_xml = nullptr; // the walk of read()
    int m_elementsRead = 0;
    // Pictures read before the files lie where they are kept, with the path they will have.
    std::vector<std::pair<QImage, QString>> m_unsettledPictures;
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
