#include "lessonpictures.h"

#include "board/dgpixmapitem.h"

#include <algorithm>
#include <cmath>

namespace {

// kept, a pixel smaller where it is not asked less an even number: an object kept smaller is
// placed about the middle of what the lesson asks, which then lies on a whole pixel, and a
// save of it writes the whole numbers the reader reads back (it truncates positions).
QSize evenWith(QSize kept, QSize asked)
{
    if (kept == asked)
        return kept;
    const auto side = [](int kept, int asked) {
        return (asked - kept) % 2 != 0 && kept > 1 ? kept - 1 : kept;
    };
    return QSize(side(kept.width(), asked.width()), side(kept.height(), asked.height()));
}

} // namespace

IwbLimits::Estimate LessonPictures::estimate() const
{
    return m_estimate ? m_estimate() : IwbLimits::Estimate();
}

double LessonPictures::share(qint64 room, qint64 pictures)
{
    if (pictures <= room)
        return 1.0;
    return room <= 0 ? 0.0 : std::sqrt(double(room) / double(pictures));
}

QSize LessonPictures::keptSize(QSize asked)
{
    if (asked.isEmpty())
        return QSize();
    const QSize fitted = evenWith(PictureReading::fitted(asked), asked);
    const IwbLimits::Estimate estimate = this->estimate();
    // This picture is among those the estimate counts (its check has passed it).
    const double share = LessonPictures::share(IwbLimits::kMaxDocumentBytes - estimate.others,
                                               estimate.pictures);
    if (share >= 1.0)
        return fitted;
    // Rounded down, so that the pictures together stay within their share.
    const QSize kept =
            evenWith(QSize(int(fitted.width() * share), int(fitted.height() * share)), asked);
    return kept.isEmpty() ? QSize() : kept;
}

qreal LessonPictures::keptScale(QSize asked, QSize kept)
{
    if (kept.isEmpty() || kept == asked)
        return 1.0;
    return std::max(qreal(asked.width()) / kept.width(), qreal(asked.height()) / kept.height());
}

QPixmap LessonPictures::keptPicture(const QPixmap &picture, QSize asked, const QString &name,
                                    int page, QSize *kept)
{
    *kept = keptSize(asked);
    if (kept->isEmpty()) {
        noteNotKept(asked, name, page);
        return QPixmap();
    }
    if (*kept == picture.size())
        return picture;
    // Objects showing one picture at one size share one copy of it, made once.
    const QPair<qint64, qint64> made(picture.cacheKey(),
                                     (qint64(kept->width()) << 32) | kept->height());
    const auto found = m_scaled.constFind(made);
    if (found != m_scaled.constEnd())
        return found.value();
    const QPixmap scaled = picture.scaled(*kept, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_scaled.insert(made, scaled);
    return scaled;
}

void LessonPictures::made(DGPixmapItem *item, QSize asked, QSize kept, bool corner,
                          const QString &name, int page)
{
    m_made.push_back(
            { item, asked, kept, item->scale() / keptScale(asked, kept), corner, name, page });
    // A picture several objects share is held once.
    if (m_holders[item->pixmap().cacheKey()]++ == 0)
        m_madeBytes += IwbLimits::pictureBytes(kept);
    keepWithin();
}

void LessonPictures::keepWithin()
{
    if (m_made.empty())
        return;
    const qint64 room = IwbLimits::kMaxDocumentBytes - estimate().others;
    if (m_madeBytes <= room)
        return;
    // Made before the estimate had grown to what it is: all of them a little smaller, those
    // that share a picture still sharing one.
    const double share = LessonPictures::share(room, m_madeBytes);
    m_scaled.clear();
    QHash<qint64, QPixmap> smaller; // by the picture they showed
    QHash<qint64, int> holders;
    m_madeBytes = 0;
    for (Made &made : m_made) {
        const QSize kept = evenWith(QSize(std::max(1, int(made.kept.width() * share)),
                                          std::max(1, int(made.kept.height() * share))),
                                    made.asked);
        const QPixmap shown = made.item->pixmap();
        auto picture = smaller.find(shown.cacheKey());
        if (picture == smaller.end() || picture->size() != kept)
            picture = smaller.insert(shown.cacheKey(),
                                     kept == made.kept ? shown
                                                       : shown.scaled(kept, Qt::IgnoreAspectRatio,
                                                                      Qt::SmoothTransformation));
        resize(made, kept, picture.value());
        if (holders[picture->cacheKey()]++ == 0)
            m_madeBytes += IwbLimits::pictureBytes(kept);
    }
    m_holders = holders;
}

void LessonPictures::resize(Made &made, QSize kept, const QPixmap &picture)
{
    if (kept == made.kept)
        return;
    DGPixmapItem *item = made.item;
    if (!made.corner) {
        // It stays centred where the lesson puts it (the factory turns it about its centre).
        item->setPos(item->pos()
                     + QPointF(made.kept.width() - kept.width(), made.kept.height() - kept.height())
                             / 2);
        item->setPixmap(picture);
        const QRectF bounds = item->boundingRect();
        item->setTransformOriginPoint(bounds.center());
    } else {
        item->setPixmap(picture);
    }
    item->setScale(made.scale * keptScale(made.asked, kept));
    made.kept = kept;
}

LessonPictures::Note LessonPictures::onPage(const QString &sentence, int page)
{
    return { page, tr("Página %1: %2").arg(page).arg(sentence) };
}

void LessonPictures::note(const QString &sentence, int page)
{
    if (!sentence.isEmpty())
        m_notes.push_back(onPage(sentence, page));
}

void LessonPictures::noteRead(const PictureReading::Probe &probe, const QString &name, int page,
                              bool animation)
{
    if (probe.outcome == PictureReading::Outcome::TooCostly && probe.peakBytes > 0) {
        // It could be read alone (what it takes is known), but not beside what the lesson holds
        // already.
        note(tr("No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y leerla junto con las "
                "demás imágenes de la lección ocuparía más memoria de la que admite la pizarra.")
                     .arg(name)
                     .arg(probe.size.width())
                     .arg(probe.size.height()),
             page);
    } else if (probe.outcome != PictureReading::Outcome::Unreadable) {
        note(PictureReading::message(probe, name, animation), page);
    }
}

void LessonPictures::noteStill(QSize asked, const QString &name, int page)
{
    PictureReading::Probe still;
    still.outcome = PictureReading::Outcome::Whole;
    still.size = asked;
    still.taken = asked;
    still.playable = false;
    note(PictureReading::message(still, name, true), page);
}

void LessonPictures::noteNotKept(QSize asked, const QString &name, int page)
{
    note(keptSentence(asked, QSize(), name), page);
}

QString LessonPictures::keptSentence(QSize asked, QSize kept, const QString &name)
{
    if (kept.isEmpty())
        return tr("No se ha usado la imagen «%1»: la lección la pide de %2 x %3 píxeles, y con "
                  "todas sus imágenes enteras la lección ocuparía más memoria de la que admite la "
                  "pizarra.")
                .arg(name)
                .arg(asked.width())
                .arg(asked.height());
    if (kept == evenWith(PictureReading::fitted(asked), asked)) {
        // Asked beyond the limits: said as of a picture file that is.
        PictureReading::Probe beyond;
        beyond.outcome = PictureReading::Outcome::Smaller;
        beyond.size = asked;
        beyond.taken = kept;
        return PictureReading::message(beyond, name);
    }
    return tr("La imagen «%1» se ha tomado reducida a %2 x %3 píxeles (la lección la pide de "
              "%4 x %5): con todas sus imágenes enteras, la lección ocuparía más memoria de la "
              "que admite la pizarra.")
            .arg(name)
            .arg(kept.width())
            .arg(kept.height())
            .arg(asked.width())
            .arg(asked.height());
}

QStringList LessonPictures::notes() const
{
    std::vector<Note> notes = m_notes;
    for (const Made &made : m_made) {
        if (made.kept != made.asked)
            notes.push_back(onPage(keptSentence(made.asked, made.kept, made.name), made.page));
    }
    std::stable_sort(notes.begin(), notes.end(),
                     [](const Note &a, const Note &b) { return a.page < b.page; });
    QStringList sentences;
    for (const Note &note : notes)
        sentences << note.sentence;
    return sentences;
}
