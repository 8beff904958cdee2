#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

class QPushButton;

// The spotlight: a dark cover twice the size of the board with one clear hole, elliptic or
// rectangular, through which the board shows. Dragging the cover moves the hole; the row of
// buttons stays still over the board's bottom-right corner whatever the cover's position.
class DSearchlight : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHoleStart = 300;
    static constexpr int kHoleStep = 50;

    explicit DSearchlight(QWidget *parent);

    QPushButton *createButton(const QString &iconPath, int dx, int dy);
    void setLight(bool rect);

    int holeSize() const { return m_holeWidth; }
    bool isRectHole() const { return m_rectHole; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The page re-centres the cover by moving it: the buttons follow every move.
    void moveEvent(QMoveEvent *event) override;

private slots:
    void bZoomOut_mouseReleaseEv();
    void bZoomIn_mouseReleaseEv();
    void bSelectRect_mouseReleaseEv();
    void bSelectEllipse_mouseReleaseEv();
    void bClose_mouseReleaseEv();

private:
    void setHoleSize(int side);

    QColor m_color;
    QPoint m_dragOffset;
    QPushButton *bZoomOut = nullptr;
    QPushButton *bZoomIn = nullptr;
    QPushButton *bSelectRect = nullptr;
    QPushButton *bSelectEllipse = nullptr;
    QPushButton *bClose = nullptr;
    int m_holeWidth;
    int m_holeHeight;
    bool m_rectHole;
};
