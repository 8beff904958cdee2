#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

class DImageLabel;
class QPushButton;

// The screen curtain: an opaque panel over the whole board that the teacher drags, or pulls
// back edge by edge by the handle in the middle of each edge, to uncover the board bit by bit.
class DCoverScreen : public QWidget
{
    Q_OBJECT

public:
    // Edges cannot be pulled closer than this, so the four handles stay apart and reachable.
    static constexpr int kMinimumSide = 60;

    explicit DCoverScreen(QWidget *parent);

    QPushButton *createButton(const QString &iconPath, int dx, int dy);
    QColor color() const { return m_color; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void bTop_mouseMoveEv(DImageLabel *label, QPoint movepos);
    void bRight_mouseMoveEv(DImageLabel *label, QPoint movepos);
    void bBottom_mouseMoveEv(DImageLabel *label, QPoint movepos);
    void bLeft_mouseMoveEv(DImageLabel *label, QPoint movepos);
    void bSelectColor_mouseReleaseEv();
    void bClose_mouseReleaseEv();

private:
    QColor m_color;
    QPoint m_dragOffset;
    DImageLabel *bTop;
    DImageLabel *bRight;
    DImageLabel *bBottom;
    DImageLabel *bLeft;
    QPushButton *bSelectColor;
    QPushButton *bClose;
};
