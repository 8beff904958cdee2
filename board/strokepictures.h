#pragma once

#include "dgpathitem.h"

#include <QList>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class DPage;

// The cached pictures of a page's strokes and shapes (DGPathItem's render caches), drawn on
// other threads from copies taken on the GUI thread, so that a page is ready to be shown when
// the teacher turns to it, however soon that is. The threads draw images only; the GUI thread
// makes them the objects' pictures, in finish(), as the board paints each object, or as soon as
// the last one is drawn. A page shown (showFirst(), finish()) is drawn at normal priority, the
// GUI thread helping; the others are drawn ahead at low priority, yielding the cores to what
// the teacher does, and the GUI thread never waits for a picture begun ahead.
class StrokePictures
{
public:
    // Starts drawing the pictures page's objects lack (GUI thread).
    explicit StrokePictures(DPage *page);
    // The pictures the board wants of some of page's objects, at the scale it shows them: begun
    // by finish() (now) or drawFirst() (soon).
    struct Wanted
    {
        DGPathItem *object;
        DGPathItem::CacheRecipe recipe;
    };
    StrokePictures(DPage *page, const std::vector<Wanted> &wanted);
    // Pictures not begun yet are not drawn; those being drawn are dropped when done.
    ~StrokePictures();
    StrokePictures(const StrokePictures &) = delete;
    StrokePictures &operator=(const StrokePictures &) = delete;

    // Puts this page's pictures before any other page's, draws along on this (the GUI) thread,
    // waits for the rest and gives each object its picture, unless the object changed since.
    void finish();
    // Puts this page's pictures before any other page's, and hands each to its object as soon
    // as the board paints that object (deliver()), instead of all before the board paints.
    void showFirst();
    // Draws these pictures before any other page's, on the threads alone, and gives them to
    // their objects all together once drawn (GUI thread), then calls whenHandedOver.
    void drawFirst(std::function<void()> whenHandedOver);
    DPage *page() const { return m_page; }
    int count() const { return m_count; }
    // Every picture drawn has been given to its object (or there were none to draw).
    bool isHandedOver() const;
    // The page has not changed since the pictures were begun (not counting changes still
    // waiting to be counted then, which make it look changed).
    bool isCurrent();

    // GUI thread, from the object's painting: when the pictures shown first (showFirst()) have
    // one for object, object gets it, drawn here if no thread has begun it, else waited for;
    // one begun ahead is not waited for. False when there is none to give.
    static bool deliver(DGPathItem *object);
    // Whether object's picture is among those of the page shown, still to be handed over; fit,
    // if given, is where that picture is drawn for.
    static bool isShowing(const DGPathItem *object, PictureFit *fit = nullptr);

    // Drops every picture not begun, of every page, and waits for those being drawn: no thread
    // draws after it (GUI thread). The application's end calls it; the pictures of a page whose
    // StrokePictures lives on are not drawn again.
    static void stopAll();

    // Threads that draw the page shown besides the GUI thread (and as many that draw ahead):
    // one less than the cores the program may use, at least one.
    static int threads();

    struct Work;

private:
    std::shared_ptr<Work> m_work;
    QPointer<DPage> m_page;
    quint64 m_revision = 0;
    int m_count = 0;
};
