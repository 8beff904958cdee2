#pragma once

#include "iwblimits.h"

#include "pictures/picturereading.h"

#include <QCoreApplication>
#include <QHash>
#include <QPair>
#include <QPixmap>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class DGPixmapItem;

// The pictures of a lesson being opened (IWB or UBZ): the size each picture object is kept at,
// and what the teacher is told of those left out or taken smaller. A lesson is never refused
// for its pictures. Each is kept within the board's limits; together they share what the rest
// of the document leaves of IwbLimits::kMaxDocumentBytes, each at the same fraction of its
// sides when they do not all fit whole, so that a lesson built of several large pictures opens
// with all of them.
//
// The document's estimate may still be growing while its pages are read (its text is checked
// as it comes, a little ahead of the reading): the pictures made are kept within what it
// leaves them as far as it goes (keepWithin), and made smaller again when it grows, so that
// the open document never takes more than the limits let it.
class LessonPictures
{
    Q_DECLARE_TR_FUNCTIONS(LessonPictures)

public:
    // What the document takes, as far as its check has gone: asked whenever a picture object is
    // made or kept within, and never waited for.
    void setEstimate(std::function<IwbLimits::Estimate()> estimate)
    {
        m_estimate = std::move(estimate);
    }

    // The scale that shows kept at asked (at least asked: the object never shrinks on the page).
    static qreal keptScale(QSize asked, QSize kept);
    // picture made the size (kept) a picture object the lesson asks at asked is kept at: asked
    // itself, or one of its shape within the limits and the pictures' share; null, and said,
    // when nothing of it can be kept.
    QPixmap keptPicture(const QPixmap &picture, QSize asked, const QString &name, int page,
                        QSize *kept);
    // The object made of it (at kept, its own scale times keptScale): kept within the share
    // from now on. corner: it turns and scales about its top left corner (UBZ), not its centre.
    void made(DGPixmapItem *item, QSize asked, QSize kept, bool corner, const QString &name,
              int page);
    // The objects made take no more than the estimate, as far as it has gone, leaves them.
    void keepWithin();

    // What the teacher is told, one sentence a picture. name: the picture's file name; page:
    // counted from 1.
    // A picture read from its file (animation: it was to play): said unless taken whole, or
    // unreadable (a damaged picture counts as a missing one).
    void noteRead(const PictureReading::Probe &probe, const QString &name, int page,
                  bool animation = false);
    // An animation the lesson asks at asked, more than the board plays: shown still.
    void noteStill(QSize asked, const QString &name, int page);
    // Every sentence, by page, once the lesson is read.
    QStringList notes() const;
    // What the picture objects made take, and what the rest of the document is estimated to
    // take, as far as its check has gone.
    qint64 madeBytes() const { return m_madeBytes; }
    // Whether an object made holds the picture of cacheKey (its memory is counted here).
    bool holds(qint64 cacheKey) const { return m_holders.value(cacheKey) > 0; }
    qint64 othersBytes() const { return estimate().others; }

private:
    IwbLimits::Estimate estimate() const;
    // The size keptPicture() makes a picture asked at asked; empty when nothing of it is kept.
    QSize keptSize(QSize asked);
    // A picture object the lesson asks at asked, of which nothing could be kept.
    void noteNotKept(QSize asked, const QString &name, int page);
    // Of each side, 0 to 1, for pictures asked all together (their share of room).
    static double share(qint64 room, qint64 pictures);
    // The sentence for an object's picture kept at kept where the lesson gives asked.
    static QString keptSentence(QSize asked, QSize kept, const QString &name);

    struct Made
    {
        DGPixmapItem *item;
        QSize asked;
        QSize kept;
        qreal scale; // its own, as the lesson gives it
        bool corner;
        QString name;
        int page;
    };
    // made shown at kept, picture being its picture made that size.
    void resize(Made &made, QSize kept, const QPixmap &picture);

    std::function<IwbLimits::Estimate()> m_estimate;
    std::vector<Made> m_made;
    qint64 m_madeBytes = 0; // of the pictures of m_made, as they are kept, each once
    QHash<qint64, int> m_holders; // objects of m_made by the cache key of their picture
    // Pictures made smaller for objects, by the picture and the size: shared by those that ask
    // the same.
    QHash<QPair<qint64, qint64>, QPixmap> m_scaled;
    struct Note
    {
        int page;
        QString sentence;
    };
    std::vector<Note> m_notes;
    // sentence as told of page.
    static Note onPage(const QString &sentence, int page);
    void note(const QString &sentence, int page);
};
