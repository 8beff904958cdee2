#pragma once

#include <QGraphicsPathItem>
#include <QObject>
#include <QPainterPath>
#include <QPen>

class DView;

// The ruler laid on the page: dragged by its body, turned and lengthened by its icons, and a
// straight line drawn along its top edge becomes an undoable path object of the page.
class DRulers : protected QObject, public QGraphicsPathItem
{
    Q_OBJECT
public:
    static constexpr int kStartLength = 600;
    static constexpr int kMinLength = 300;
    static constexpr int kWidth = 100;

    explicit DRulers(QGraphicsItem *parent = nullptr);

    void drawOwn(int length);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;

    int length() const { return m_length; }
    int mode() const { return m_mode; }
    QPen drawingPen() const { return m_pen; }
    const QPainterPath &drawnPath() const { return m_path; }

    DView *m_view = nullptr;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

private:
    int m_mode;
    QPointF m_origin;
    QPointF m_originScene;
    double m_startRotation = 0.0;
    int m_length;
    int m_startLength;
    QColor m_outlineColor;
    QPen m_pen;
    QPainterPath m_path;
};
