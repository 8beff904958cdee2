#pragma once

#include "pictures/picturereading.h"

#include <QCoreApplication>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class HeldPicture;

// What the teacher is told of the pictures of a lesson being opened (IWB or UBZ), one sentence
// a picture, by page: those it holds that the board cannot show (the lesson keeps them as they
// came), those taken smaller for the board's limits, animations shown still. A lesson is never
// refused for its pictures, nor are its pictures made smaller for how many it holds: each is
// held as its file and decoded when shown.
class LessonPictures
{
    Q_DECLARE_TR_FUNCTIONS(LessonPictures)

public:
    // A picture read as the lesson is (a background, a texture; animation: it was to play):
    // said unless taken whole, or unreadable (as a missing one). page: counted from 1.
    void noteRead(const PictureReading::Probe &probe, const QString &name, int page,
                  bool animation = false);
    // An animation the lesson asks at asked, more than the board plays: shown still.
    void noteStill(QSize asked, const QString &name, int page);
    // A picture an object shows, once measured: said when it cannot be shown (it stays, and
    // goes back with the lesson as it came) or is shown smaller than its file.
    void noteHeld(const HeldPicture &picture, int page);
    // Every sentence, by page.
    QStringList notes() const;

private:
    struct Note
    {
        int page;
        QString sentence;
    };
    std::vector<Note> m_notes;
    void note(const QString &sentence, int page);
};
