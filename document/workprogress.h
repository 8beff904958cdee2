#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// A progress bar over the board for a save or an open that takes more than a moment: it
// appears only once the work has run for a while, and goes when the object does. A save or an
// open has no Cancel: work stopped half way would lose the document. Work that can stop with
// nothing lost (an export, an import that keeps the pages already in) asks for one.
class WorkProgress
{
public:
    // total 0: not known yet (an open still waiting for its archive); the bar shows that work
    // goes on until a total is set. modality: the bar's, over parent's window.
    WorkProgress(QWidget *parent, const QString &text, int total,
                 Qt::WindowModality modality = Qt::WindowModal);
    ~WorkProgress();
    WorkProgress(const WorkProgress &) = delete;
    WorkProgress &operator=(const WorkProgress &) = delete;

    void setTotal(int total) { m_total = total; }
    // Shows a Cancel on the bar; wasCancelled() then tells whether the teacher pressed it.
    void setCancellable(bool cancellable) { m_cancellable = cancellable; }
    bool wasCancelled() const { return m_cancelled; }
    // done of the total: shows the bar once the work has lasted, and moves it.
    void step(int done);
    // The same, with as much done as the last step said: for work that has no steps of its
    // own (a wait), so that the bar still comes once it has lasted.
    void refresh() { step(m_done); }
    bool isShown() const { return m_dialog != nullptr; }
    // The bar's window, once shown.
    QWidget *window() const;

private:
    QPointer<QWidget> m_parent;
    QString m_text;
    int m_total;
    const Qt::WindowModality m_modality;
    int m_done = 0;
    bool m_cancellable = false;
    bool m_cancelled = false;
    QElapsedTimer m_clock;
    QElapsedTimer m_moved; // since the bar last moved
    std::unique_ptr<QProgressDialog> m_dialog;
};
