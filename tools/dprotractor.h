#pragma once

#include <QGraphicsPathItem>
#include <QObject>
#include <QPainterPath>

class DView;
class QAction;
class QFontMetricsF;
class QMenu;

// The protractor: a half disc with a degree scale. Dragging in the ring along its rim draws the
// figure chosen from its menu (arc, pie slice, chord, angle, triangle) about its centre; a click
// near the centre opens that menu.
class DProtractor : protected QObject, public QGraphicsPathItem
{
    Q_OBJECT
public:
    static constexpr int kStartRadius = 200;
    static constexpr int kMinRadius = 150;
    static constexpr int kMaxRadius = 500;

    explicit DProtractor(QGraphicsItem *parent = nullptr);
    ~DProtractor() override;

    void drawOwn(int radius);
    void selectAction(QAction *action);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;

    int radius() const { return m_radius; }
    int mode() const { return m_mode; }
    int drawKind() const { return m_drawKind; }
    const QPainterPath &drawnPath() const { return m_path; }
    QMenu *menu() const { return m_menu; }
    QAction *checkedAction() const { return m_checkedAction; }
    QPen drawingPen() const;

    // The degree numbers 10 to 170 on a protractor of the given radius: each centred on its
    // radial line with its baseline at 25r/32, in the scale's face made smaller where the
    // numbers would otherwise run into each other (a small protractor, a large system font).
    static QFont scaleLabelFont(int radius, const QFont &scaleFont);
    static QPointF scaleLabelOrigin(int angle, int radius, const QFontMetricsF &metrics);

    DView *m_view = nullptr;

public slots:
    void setDrawArc_Actionclicked();
    void setDrawPie_Actionclicked();
    void setDrawChord_Actionclicked();
    void setDrawAngle_Actionclicked();
    void setDrawTriangle_Actionclicked();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

private:
    QAction *m_checkedAction = nullptr;
    int m_mode;
    QPointF m_origin;
    QPointF m_originScene;
    double m_startRotation = 0.0;
    int m_radius;
    int m_startRadius;
    QColor m_outlineColor;
    QPainterPath m_path;
    int m_drawKind;
    QMenu *m_menu;
    QAction *m_actArc;
    QAction *m_actPie;
    QAction *m_actChord;
    QAction *m_actAngle;
    QAction *m_actTriangle;
    const int m_ringMargin = 10;
};
