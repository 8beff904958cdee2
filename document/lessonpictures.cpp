#include "lessonpictures.h"

#include "pictures/heldpictures.h"

#include <algorithm>

void LessonPictures::note(const QString &sentence, int page)
{
    if (!sentence.isEmpty())
        m_notes.push_back({ page, tr("Página %1: %2").arg(page).arg(sentence) });
}

void LessonPictures::noteRead(const PictureReading::Probe &probe, const QString &name, int page,
                              bool animation)
{
    // A background or a texture that cannot be read counts as a missing one, as it always did.
    if (probe.outcome != PictureReading::Outcome::Unreadable)
        note(PictureReading::message(probe, name, animation), page);
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

void LessonPictures::noteHeld(const HeldPicture &picture, int page)
{
    const QString sentence = PictureReading::message(picture.outcome(), picture.name());
    if (sentence.isEmpty())
        return;
    if (!picture.isRefused()) {
        note(sentence, page);
        return;
    }
    note(sentence + QLatin1Char(' ')
                 + tr("La lección la conserva tal como venía, y la guarda con ella."),
         page);
}

QStringList LessonPictures::notes() const
{
    std::vector<Note> notes = m_notes;
    std::stable_sort(notes.begin(), notes.end(),
                     [](const Note &a, const Note &b) { return a.page < b.page; });
    QStringList sentences;
    for (const Note &note : notes)
        sentences << note.sentence;
    return sentences;
}
