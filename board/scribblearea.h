#pragma once

#include <QPixmap>
#include <QPointF>
#include <QVector>
#include <QWidget>

class DPage;
class DView;

// The transparent live-ink overlay over the board view. While a freehand tool is chosen it
// shows a picture of the board, which the view renders into its canvas once per refresh
// request, with the live ink drawn on top.
class ScribbleArea : public QWidget
{
    Q_OBJECT
public:
    explicit ScribbleArea(QWidget *parent);

    void setDview(DView *view) { m_dview = view; }
    DView *getDview() const { return m_dview; }
    void setDpage(DPage *page) { m_dpage = page; }
    DPage *dpage() const { return m_dpage; }
    QPixmap *canvas() { return &m_canvas; }
    void pinta();

signals:
    void signals_touchEvent();
    // Declared for the page list's connection; strokes reach a page through the view's scene.
    void signals_release(QVector<QPointF> *points);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPixmap m_canvas;
    DView *m_dview = nullptr;
    DPage *m_dpage = nullptr;
};
