#pragma once

#include "document/iwblimits.h"
#include "pictures/picturereading.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class WorkProgress;
struct ToolRun;

// The pages of a PDF file made into pictures by pdftoppm, as many runs at once as there are
// processors, each run a range of pages, each page within its own time limit: a document of any
// length comes in page by page, in order, as its pages are made, and a page that cannot be made
// costs that page alone. Each page is made within the board's limits (a poster at a lower
// resolution), and the pages together within what the lesson may still take. Nothing is shown
// here: the caller places the pictures and shows the one message.
class PdfImport
{
    Q_DECLARE_TR_FUNCTIONS(PdfImport)

public:
    struct Limits
    {
        int pageTimeoutMs = 30000; // each page's conversion; the whole file has no limit
        // The lesson with the pages it takes in: as many objects as the lesson limits let a
        // document hold, so that the lesson saved with them opens again as it is. The pages'
        // pictures are held as their files: however many, they take no more memory than the
        // board shows of them.
        int lessonObjects = IwbLimits::kMaxObjects;
    };
    // What a lesson holds, counted as its limits count it.
    struct Held
    {
        int objects = 0;
    };
    // After this many pages in a row out of time the rest are not tried: a document whose every
    // page takes that long would hold the board for hours.
    static constexpr int kMaxOutOfTimeInARow = 3;
    // Pages told of one by one in the message; beyond these, only how many more.
    static constexpr int kMaxPageSentences = 10;

    // folder: where the page files are made, each removed once read ("" when none could be
    // made). turn: called every few milliseconds while a program runs and after each page.
    PdfImport(const QString &file, const QString &folder, const Limits &limits,
              std::function<void()> turn);

    // Reads the number and sizes of the pages; false when the file cannot be imported at all
    // (message() then says why).
    bool open();
    int count() const { return int(m_sizes.size()); }
    // A page made: its picture's file (in HeldPictures' kept folder, the caller's to hold),
    // measured, and its name.
    struct Placed
    {
        QString file;
        PictureReading::Probe probe;
        QString name;
    };
    // Makes the pages and hands each picture taken to place, in page order as they come, for
    // as long as the lesson (holding held before) has room for their objects; progress steps
    // once a page. A Cancel on progress stops it between two pages: the pages placed stay,
    // nothing of the others is left.
    void run(Held held, const std::function<void(const Placed &)> &place, WorkProgress &progress);
    int imported() const { return m_imported; }
    bool wasCancelled() const { return m_cancelled; }

    // One message for the teacher, naming the file and why: "" when every page came in whole.
    QString message() const;
    // What went wrong, for the log.
    const QStringList &details() const { return m_details; }

private:
    struct Page
    {
        bool done = false; // made, or given up
        QString made; // the converter's file, until taken
        QString file; // "" unless taken
        PictureReading::Probe probe;
        QString sentence; // why it was not taken, or taken smaller; "" when taken whole
        bool outOfTime = false;
    };
    struct Converting;
    void start(Converting &run);
    // Takes the pages run has made since last asked; true once it is over, any of its pages
    // it could not make given up, or left to a new run put in waiting.
    bool follow(Converting &run, std::vector<Page> &pages, std::vector<Converting> &waiting);
    Page failed(int page, const ToolRun &run, bool outOfTime);
    // The page's file measured and, when taken, moved among the held pictures.
    void take(int page, Page &made);
    QString pageFile(int page) const;
    // Runs program within one page's time, the event loop turning meanwhile; outOfTime: it was
    // stopped at the deadline.
    ToolRun runWithin(const QString &program, const QStringList &arguments, bool *outOfTime);
    QString pageName(int page) const;
    // The pages from first on are not tried, for reason.
    void stopAt(int first, const QString &reason);
    int seconds() const { return (m_limits.pageTimeoutMs + 999) / 1000; }

    const QString m_file;
    const QString m_document; // its name, as the teacher knows it
    const QString m_folder;
    const Limits m_limits;
    const std::function<void()> m_turn;
    QList<QSizeF> m_sizes; // of each page, in points
    QString m_failure; // why nothing could be imported
    QStringList m_pageSentences;
    QString m_stopSentence;
    QStringList m_details;
    int m_imported = 0;
    bool m_cancelled = false;
};
