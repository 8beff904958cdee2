#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QTransform>

#include <functional>
#include <memory>

class DPage;
class QGraphicsItem;
class DView;
class QPaintEvent;
class QWidget;
class StrokePictures;

// The pictures of the strokes and shapes the board shows, at the scale it shows them. Before
// the board paints, the pictures its objects lack are drawn on every thread; where a picture of
// another scale can stand in (after a zoom step, or an object scaled), the new ones are drawn on
// the other threads while the old stand in, and the board is painted again when they come. A
// zoom step keeps the board's last picture to stand in whole: one picture stretched over the
// screen rather than one per stroke. Once the board keeps still, pictures of scales it no longer
// shows are given back, so that their memory stays that of a screenful at any zoom.
class BoardPictures : public QObject
{
public:
    explicit BoardPictures(DView *view);
    ~BoardPictures() override;
    BoardPictures(const BoardPictures &) = delete;
    BoardPictures &operator=(const BoardPictures &) = delete;

    // Before the board zooms: the picture it shows is kept to stand in.
    void beforeZoom();
    // Paints the board for event, calling paintBoard for what the page itself must paint.
    void paint(QPaintEvent *event, const std::function<void(QPaintEvent *)> &paintBoard);
    // Before the board is drawn another way (into the overlay's picture).
    void ready();
    // Pictures of the scale shown are being drawn while others stand in (or the board's own
    // picture stands in for all of them).
    bool isSharpening() const
    {
        return m_sharpening != nullptr || m_bandsLeft > 0 || !m_standIn.isNull();
    }
    // Pictures of the scale shown are still being drawn: the board is painted again, whole,
    // once they come.
    bool picturesComing() const { return m_sharpening != nullptr; }

private:
    // The board as a picture of it was taken, or as the screen showed it.
    struct Painted
    {
        QPointer<QObject> page;
        QTransform toViewport;
        quint64 revision = 0; // the page's, or the objects' picture epoch
        QSize size;
    };

    DPage *page() const;
    // An object shown larger than the board is drawn without the toolkit's cache of it.
    static void holdBackLargeToolkitCache(QGraphicsItem *item, const QTransform &toViewport,
                                          QSize board);
    void readyPicturesSoon();
    void picturesCame();
    // Paints the next band of the board with the pictures that came.
    void paintBand();
    // Gives back the pictures the board no longer shows at their scale.
    void sweep();
    // The board as the screen shows it.
    QImage shownBoard();
    // The picture standing in is done with; its memory serves the next.
    void dropStandIn();
    // Whether the board being painted is painted on the screen.
    bool paintsScreen() const;
    // What of viewport's area other widgets of its window lie over.
    static QRegion widgetsOver(QWidget *viewport);
    // Whether the kept picture still shows the page as it is (else it is dropped).
    bool standInServes();
    // The part of the screen the kept picture covers, stretched to the zoom shown.
    QRect standInArea() const;
    bool standInCovers(const QRegion &exposed);
    // Paints the kept picture over what it covers of exposed, if it serves; the region painted.
    QRegion paintStandIn(const QRegion &exposed);
    // Fills area with the page's background alone.
    void paintBackground(const QRegion &area);

    DView *m_view;
    std::unique_ptr<StrokePictures> m_sharpening; // the pictures drawn soon
    QTransform m_sharpeningFor; // the board's transform they are drawn for
    QTimer m_sweep;
    QTransform m_sweptTransform;
    QTimer m_readySoon;
    QRegion m_borderLeft; // shown with the background alone, painted once the pictures are asked
    Painted m_shown; // the board as the screen last showed it
    Painted m_readyFor;
    QPointer<QObject> m_lastReady; // the page the last pictures were readied for
    quint64 m_readyForPageRevision = 0;
    QImage m_standIn;
    // The last picture that stood in, kept for the next zoom step: a board's worth of memory
    // taken afresh from the system at every step cost a page fault for every 4 KB of it.
    QImage m_standInSpare;
    Painted m_standInOf;
    QTimer m_nextBand;
    int m_bandsLeft = 0;
};
