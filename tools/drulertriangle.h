#pragma once

#include <QGraphicsPathItem>
#include <QObject>
#include <QPainterPath>

class DView;

// The set square: a right triangle with a triangular window and a scale along both edges of its
// right angle. Lines drawn along either edge go to the page in the board's current pen.
class DRulerTriangle : protected QObject, public QGraphicsPathItem
{
    Q_OBJECT
public:
    static constexpr int kStartLength = 600;

    explicit DRulerTriangle(QGraphicsItem *parent = nullptr);

    void drawOwn(int length);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;

    int length() const { return m_length; }
    int mode() const { return m_mode; }
    const QPainterPath &drawnPath() const { return m_path; }
    QPen drawingPen() const;

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
    QColor m_outlineColor;
    QPainterPath m_path;
};
