#include "openingturns.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The events by which the teacher acts on the program: dropped while a document is opened.
constexpr QEvent::Type kInput[] = {
    QEvent::MouseButtonPress,
    QEvent::MouseButtonRelease,
    QEvent::MouseButtonDblClick,
    QEvent::MouseMove,
    QEvent::NonClientAreaMouseButtonPress,
    QEvent::NonClientAreaMouseButtonRelease,
    QEvent::NonClientAreaMouseButtonDblClick,
    QEvent::KeyPress,
    QEvent::KeyRelease,
    QEvent::ShortcutOverride,
    QEvent::Shortcut,
    QEvent::Wheel,
    QEvent::TouchBegin,
    QEvent::TouchUpdate,
    QEvent::TouchEnd,
    QEvent::TouchCancel,
    QEvent::TabletPress,
    QEvent::TabletMove,
    QEvent::TabletRelease,
    QEvent::Gesture,
    QEvent::GestureOverride,
    QEvent::NativeGesture,
    QEvent::ContextMenu,
    QEvent::InputMethod,
    QEvent::DragEnter,
    QEvent::DragMove,
    QEvent::Drop,
};

bool isInput(QEvent::Type type)
{
    return std::find(std::begin(kInput), std::end(kInput), type) != std::end(kInput);
}

// The board's picture laid over it. Opaque, so that nothing under it paints: neither the board
// without a page nor the overlay, which would take that empty board for its own picture.
class BoardPicture : public QWidget
{
public:
    explicit BoardPicture(QWidget *board) : QWidget(board), m_picture(board->grab())
    {
        // After the board's style sheet, which makes its plain widgets see-through.
        ensurePolished();
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(board->rect());
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        // Replaces: where the page lets the desktop show through, so does the picture.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(event->rect(), m_picture, event->rect());
    }

private:
    const QPixmap m_picture;
};

} // namespace

// The bar is not modal: the input is dropped here anyway, and the toolkit drops the window
// manager's close of a window a modal one blocks before any event reaches it.
OpeningTurns::OpeningTurns(QWidget *board, const QString &text, bool keepPicture)
    : m_board(board), m_progress(board, text, 0, Qt::NonModal)
{
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Painted from pages being made, the board would flash through them at the cost of the
    // open; with nothing painted, a translucent window shows black where it is exposed. The
    // board shows what it showed until the document is there.
    if (keepPicture && m_board && m_board->isVisible())
        m_boardPicture = new BoardPicture(m_board);
    m_sinceTurn.start();
}

OpeningTurns::~OpeningTurns()
{
    delete m_boardPicture.data();
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
}

void OpeningTurns::turn()
{
    if (m_turning || m_sinceTurn.elapsed() < kSliceMs)
        return;
    m_turning = true;
    m_progress.refresh();
    QCoreApplication::processEvents();
    m_turning = false;
    m_sinceTurn.restart();
}

bool OpeningTurns::waitUntil(const std::function<bool()> &done, int limitMs)
{
    // Asleep until an event comes: the deadline's own timer is one.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(limitMs);
    const bool turning = std::exchange(m_turning, true);
    bool met = done();
    while (!met && deadline.isActive()) {
        m_progress.refresh();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        met = done();
    }
    m_turning = turning;
    m_sinceTurn.restart();
    return met;
}

bool OpeningTurns::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (isInput(type)) {
        // Taken, so that a shortcut is not looked for either.
        if (type == QEvent::ShortcutOverride)
            event->accept();
        return true;
    }
    // The bar stays until the document is there; closed, it asks its window to close.
    if (type == QEvent::Close && watched && watched == m_progress.window()) {
        event->ignore();
        if (m_board)
            m_board->window()->close();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
