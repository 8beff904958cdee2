#pragma once

#include <QGraphicsPathItem>
#include <QLineF>
#include <QObject>
#include <QPainterPath>
#include <QPen>

class DView;
class QAction;
class QMenu;

// The pair of compasses laid on the page. Its needle point stays at the item's (0, 0) for good:
// turning and opening rewrite the outline's points instead of the item's rotation, so every arc
// is centred there and lands on the page unrotated.
class DCompass : protected QObject, public QGraphicsPathItem
{
    Q_OBJECT
public:
    // Outline points named by their part of the compass.
    enum OutlinePoint {
        NeedlePoint = 0,
        NeedleInnerTop = 1,
        PencilInnerTop = 3,
        PencilTip = 7,
        PencilOuterTop = 13,
        HingeRightLower = 14,
        HandleTopRight = 17,
        HandleTopLeft = 18,
        HingeLeftLower = 21,
        NeedleOuterTop = 22,
        OutlinePointCount = 25,
    };
    static constexpr qreal kMaxOpening = 140.0;

    explicit DCompass(QGraphicsItem *parent = nullptr);
    ~DCompass() override;

    void drawOwn();
    void selectAction(QAction *action);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;

    int mode() const { return m_mode; }
    int drawKind() const { return m_drawKind; }
    QPen drawingPen() const { return m_pen; }
    const QPainterPath &drawnPath() const { return m_path; }
    QPointF outlinePoint(int index) const;
    QMenu *menu() const { return m_menu; }

    DView *m_view = nullptr;

public slots:
    void setDraw180_Actionclicked();
    void setDraw360_Actionclicked();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

private:
    QPointF hingeCentre() const;
    void takeKeyPoints();
    QPolygonF polygonOf(std::initializer_list<int> indexes) const;
    // Each of points 1 to 23 of outline turned about the needle point so that reference lies on
    // the ray from the needle point through pointer.
    void turnAboutNeedle(QPainterPath &outline, const QPointF &reference, const QPointF &pointer);

    QAction *m_checkedAction = nullptr;
    int m_mode;
    int m_drawKind;
    QRectF m_arcRect;
    QPointF m_hinge;
    QPointF m_needle;
    QPointF m_pencil;
    QMenu *m_menu;
    QPen m_pen;
    QAction *m_actHalfCircle;
    QAction *m_actFullCircle;
    QLineF m_startLine;
    qreal m_sweep = 0.0; // degrees the pencil travelled since the press, counter-clockwise positive
    QPainterPath m_path;
};
