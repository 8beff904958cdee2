#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QWidget>

class QPushButton;
class QScreen;

// Screen capture: a full-screen, transparent window over the desktop in which the teacher drags
// a rectangle; the screen inside it is grabbed and handed on as a picture for the current page.
class DScreenPhoto : public QWidget
{
    Q_OBJECT

public:
    // The grab starts this far inside the selection, clear of its dotted frame.
    static constexpr int kFrameInset = 2;
    // A grab must be wider than this to become a picture.
    static constexpr int kMinimumWidth = 10;
    // How long the screen beneath is given to repaint once the window is out of the way.
    static constexpr int kRepaintDelayMs = 150;

    explicit DScreenPhoto(QWidget *parent = nullptr);

    // The screen region grabbed for a selection from start to end (either corner first): the
    // area inside the frame, or an empty rectangle when the selection leaves nothing inside it.
    static QRect grabRegion(QPoint start, QPoint end);

    QPixmap lastCapture() const { return m_pixmap; }

signals:
    void releasePx(QPixmap px, QPoint pt);
    // The window has hidden itself. Hides QWidget::close() by name on purpose: the main window
    // listens to it to come back full screen.
    void close();

public slots:
    void bClose_mouseReleaseEv();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void grabAndFinish(const QRect &selection);
    void clearSelection(); // no frame, also in the picture the hidden window keeps

    QScreen *m_screen = nullptr;
    QColor m_bkColor;
    QPoint m_start;
    QPoint m_end;
    QPushButton *m_closeButton = nullptr;
    QPixmap m_pixmap;
    bool m_grabbing = false;
};
