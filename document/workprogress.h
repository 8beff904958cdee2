#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// A progress bar over the board for a save or an open that takes more than a moment: it
// appears only once the work has run for a while, and goes when the object does. It has no
// Cancel: work stopped half way would lose the document.
class WorkProgress
{
public:
    WorkProgress(QWidget *parent, const QString &text, int total);
    ~WorkProgress();
    WorkProgress(const WorkProgress &) = delete;
    WorkProgress &operator=(const WorkProgress &) = delete;

    void setTotal(int total) { m_total = total; }
    // done of the total: shows the bar once the work has lasted, and moves it.
    void step(int done);
    bool isShown() const { return m_dialog != nullptr; }

private:
    QPointer<QWidget> m_parent;
    QString m_text;
    int m_total;
    QElapsedTimer m_clock;
    QElapsedTimer m_moved; // since the bar last moved
    std::unique_ptr<QProgressDialog> m_dialog;
};
