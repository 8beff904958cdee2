#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

class QPushButton;

// The magnifying glass laid over the board: a square lens that shows, enlarged, what lies under
// its centre, over a faint veil on the rest of the board. Dragging moves the lens; three buttons
// that stay at the board's bottom-right corner change the enlargement or hide the glass.
class DMagnifier : public QWidget
{
    Q_OBJECT
public:
    // The enlargement in tenths: 2.0 at first, held between 1.0 (the board as it is) and 5.0.
    static constexpr int kStartTenths = 20;
    static constexpr int kMinTenths = 10;
    static constexpr int kMaxTenths = 50;

    explicit DMagnifier(QWidget *parent);

    QPushButton *createButton(const QString &iconPath, int dx, int dy);
    void setLight(bool);
    // The board view whose picture is enlarged; nothing but the veil until one is set.
    void setView(QWidget *view);

    double factor() const { return m_factor; }
    QSize lensSize() const { return QSize(m_lensWidth, m_lensHeight); }
    // The lens square in the magnifier's own coordinates.
    QRect lensRect() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The page shows the glass where it was left; the buttons follow every move.
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void bZoomOut_mouseReleaseEv();
    void bZoomIn_mouseReleaseEv();
    void bClose_mouseReleaseEv();

private:
    void setFactorTenths(int tenths);
    void paintLens(QPainter *painter);

    QPoint m_dragOffset;
    QPushButton *bZoomOut = nullptr;
    QPushButton *bZoomIn = nullptr;
    QPushButton *bClose = nullptr;
    int m_lensWidth;
    int m_lensHeight;
    double m_factor;
    int m_factorTenths; // the factor counted in whole tenths, so steps never drift
    QPointer<QWidget> m_view;
};
