#include "workprogress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
// Work shorter than this shows no bar at all.
constexpr int kShowAfterMs = 700;
// A shown bar moves at most this often: each move lets the window draw itself again, board
// and all, and a step per page of a long document cost more than the steps of the bar show.
constexpr int kMoveEveryMs = 40;
} // namespace

WorkProgress::WorkProgress(QWidget *parent, const QString &text, int total,
                           Qt::WindowModality modality)
    : m_parent(parent), m_text(text), m_total(total), m_modality(modality)
{
    m_clock.start();
}

WorkProgress::~WorkProgress() = default;

QWidget *WorkProgress::window() const
{
    return m_dialog.get();
}

void WorkProgress::step(int done)
{
    m_done = done;
    if (!m_dialog) {
        if (!m_parent || m_total < 0 || m_clock.elapsed() < kShowAfterMs)
            return;
        m_dialog = std::make_unique<QProgressDialog>(
                m_text, m_cancellable ? QCoreApplication::translate("WorkProgress", "Cancelar") : QString(), 0, m_total,
                m_parent->window());
        if (m_cancellable) {
            // Pressed between two steps: the work sees it at its next one. The dialog's own
            // wasCanceled() is cleared by setValue() once it resets, so the press is kept here.
            QObject::connect(m_dialog.get(), &QProgressDialog::canceled,
                             [this] { m_cancelled = true; });
        }
        m_dialog->setWindowModality(m_modality);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
    }
    // The end of the work always shows.
    if (m_moved.isValid() && m_moved.elapsed() < kMoveEveryMs && (m_total <= 0 || done < m_total))
        return;
    m_moved.start();
    // A total of 0 shows a bar that only says the work goes on.
    m_dialog->setMaximum(m_total);
    m_dialog->setValue(m_total > 0 ? qBound(0, done, m_total) : 0);
}
