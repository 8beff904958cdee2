#include "openingturns.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

#include <algorithm>
#include <iterator>

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

} // namespace

OpeningTurns::OpeningTurns(QWidget *board, const QString &text)
    : m_board(board), m_progress(board, text, 0)
{
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_board) {
        // Painted from pages being made, the board would flash through them at the cost of
        // the open: it shows what it showed until the document is there.
        m_boardUpdates = m_board->updatesEnabled();
        m_board->setUpdatesEnabled(false);
    }
    m_sinceTurn.start();
}

OpeningTurns::~OpeningTurns()
{
    if (m_board && m_boardUpdates)
        m_board->setUpdatesEnabled(true);
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

bool OpeningTurns::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (isInput(type)) {
        // Taken, so that a shortcut is not looked for either.
        if (type == QEvent::ShortcutOverride)
            event->accept();
        return true;
    }
    // The bar stays until the document is there.
    if (type == QEvent::Close && watched && watched == m_progress.window()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
