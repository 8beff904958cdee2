#pragma once

#include "workprogress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>
#include <future>

class QWidget;

// An open of a document made on the board's thread in pieces, with the event loop turned
// between them: the window paints itself, timers run and the progress bar moves while the
// archive is unpacked and the pages are made. For as long as the object lives nothing may act
// on the half-made document, so:
// - the input of the whole program (mouse, keys, shortcuts, touch, pen, wheel, drops) is
//   dropped, not held: a click made on the document before would land on the one opened; the
//   teacher sees the wait cursor at once and the progress bar once the open has lasted;
// - the board keeps the picture it showed: pages being made are not painted;
// - the bar cannot be closed (it has nothing to cancel): a close of it is one of the window it
//   stands over, which may wait for the document as the main window's exit does.
// Whatever else could act on the document through the event loop looks at
// DPagesList::isOpening(): the autosave, a save, a second open, the exit.
class OpeningTurns : public QObject
{
    Q_OBJECT

public:
    // board: the view of the pages; text: the progress bar's, over board's window. keepPicture:
    // the board shows what it showed (pages are being made); else it paints as it is (a save,
    // which changes nothing of it).
    OpeningTurns(QWidget *board, const QString &text, bool keepPicture = true);
    ~OpeningTurns() override;
    OpeningTurns(const OpeningTurns &) = delete;
    OpeningTurns &operator=(const OpeningTurns &) = delete;

    // Lets the event loop turn when the work has held it for a slice since it last turned.
    void turn();
    // The same, for the layers below (the unpacking, the walk of the text), which know nothing
    // of the event loop.
    std::function<void()> turner()
    {
        return [this] { turn(); };
    }
    // Waits for a result of another thread, the event loop turning meanwhile.
    template<typename Future>
    void waitFor(const Future &future)
    {
        while (future.valid()
               && future.wait_for(std::chrono::milliseconds(kWaitSliceMs))
                       != std::future_status::ready)
            turn();
    }

    // Waits until done() holds, the event loop turning meanwhile (what is waited for comes
    // through it), for limitMs at most: false when the time ran out first.
    bool waitUntil(const std::function<bool()> &done, int limitMs);

    WorkProgress &progress() { return m_progress; }

    // How long the work may hold the event loop, and how long a wait sleeps at a time.
    static constexpr int kSliceMs = 8;
    static constexpr int kWaitSliceMs = 2;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_board;
    QPointer<QWidget> m_boardPicture; // over the board, as it showed before the open
    WorkProgress m_progress;
    QElapsedTimer m_sinceTurn;
    bool m_turning = false;
};
