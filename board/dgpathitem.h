#pragma once

#include "dcustomitem.h"
#include "picturefit.h"
#include "tiledpicture.h"

#include "shell/btmenus.h"

#include <QBrush>
#include <QColor>
#include <QGraphicsPathItem>
#include <QList>
#include <QObject>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QVector>

#include <memory>

// The common part of the board objects whose content is a painter path: strokes and shapes,
// polygons and tables. Keeps the pen and brush with their previous values, the path's points
// with the point eraser's marks, a render cache of its own picture and the fill data the
// document writer needs; reports moves to the page.
class DGPathItem : public QObject, public QGraphicsPathItem, public DCustomItem
{
    Q_OBJECT
public:
    DGPathItem(QPointF pos, const QPen &pen, QGraphicsItem *parent);
    ~DGPathItem() override;
    // item as a path object (types 2 to 4: strokes and shapes, polygons, tables), else null.
    static DGPathItem *pathObject(QGraphicsItem *item);

    void setPen(const QPen &pen);
    QPen pen() const { return m_pen; }
    QPen prevPen() const { return m_prevPen; }
    // Kept as given; a picture fill is shown repeating from the corner of the path's box.
    void setBrush(const QBrush &brush);
    QBrush brush() const { return m_brush; }
    QBrush prevBrush() const { return m_prevBrush; }
    void setGradColor(const QColor &colour);
    QColor getGradColor() const { return m_gradColor; }
    void setFillFileName(const QString &file);
    QString fillFileName() const { return m_fillFileName; }
    BtMenus::btType shapeType() const { return m_btType; }
    void setPath(const QPainterPath &path);
    // The path's element positions, made when asked for: a document brings thousands of
    // strokes whose points nobody asks for until they are erased or recognised.
    QVector<QPointF> points() const;
    const QList<int> &erased() const { return m_erased; }
    // While a tool reshapes the object, every paint renders it afresh; switched off, the next
    // paint caches the final shape.
    void setRedrawAlways(bool redraw)
    {
        m_bRedrawAlways = redraw;
        invalidateCache();
    }
    bool redrawAlways() const { return m_bRedrawAlways; }

    // Rubs out the points strictly within radius of p (object coordinates); the object hides
    // once no more than three points are left.
    void erasePointF(QPointF p, int radius);

    void lock(bool locked) override;
    bool isLocked() const override;
    void changeLinks(const QString &web, const QString &page, const QString &file,
                     const QString &media) override;
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    // The object's drawing straight onto painter, leaving the cache as it is: for a picture
    // that needs the object once, now, such as the overlay's after a stroke.
    void paintWithoutCache(QPainter *painter, const QStyleOptionGraphicsItem *option);

    // Drops the cached picture and asks for a repaint: whatever changes the drawing calls it,
    // and so may anyone who wants the picture's memory back (it is rebuilt at the next paint).
    void invalidateCache() override;
    bool hasRenderCache() const { return m_renderCache != nullptr; }
    // Gives back the memory of the object's pictures, its own and the toolkit's (drawn again
    // at the next paint). An object not painted since it last gave them back has none: a page
    // of a document being opened is left as it is, object by object, at no cost.
    void releasePictures();

    // A path whose elements all lie on one point: drawn as a round dot of the pen's width.
    static bool isDot(const QPainterPath &path);
    // The dot path: from the point to itself (the toolkit would fold such a line away).
    static QPainterPath dotPath(QPointF point);
    // Whether pen leaves any visible pixel for a dot.
    static bool drawsDot(const QPen &pen);
    int renderCacheBuilds() const { return m_cacheBuilds; }

    // What the object's cached picture shows, copied on the GUI thread so that another thread
    // can draw the picture (drawCachePicture) while the page waits to be shown.
    struct CacheRecipe
    {
        QPainterPath path; // a copy of its own: a shared path builds lazy data as it is drawn
        QPen pen; // as the object holds them; the toolkit's drawing takes the second pair
        QBrush brush;
        QPen shapePen;
        QBrush shapeBrush;
        PictureFit fit; // where the picture stands against the pixels it is shown on
        quint64 generation = 0; // the object's cache generation the copy was taken at
        bool curvesAsLines = false; // drawn as the line through the points a file holds
        // Drawn straight by the board's thread, which may share a long stroke out.
        bool sharedOut = false;
    };
    // The recipe of the picture at one pixel a unit, for a page drawn ahead. False when the
    // object has a picture already, or is drawn without one, or shows what only the GUI thread
    // may draw (the selection outline, a one-bit pattern).
    bool cacheRecipe(CacheRecipe *recipe) const;
    // The same for the picture at fit, whatever picture the object has now.
    bool cacheRecipeFor(const PictureFit &fit, CacheRecipe *recipe) const;
    // Any thread: the picture paint() would cache for the object recipe was taken from.
    static TiledPicture drawCachePicture(const CacheRecipe &recipe);
    // Takes picture, drawn from a recipe of the given generation at fit, as the object's cached
    // picture; ignored when the object changed since, or has a picture and did not ask for this
    // one (expectPicture).
    void adoptCachePicture(TiledPicture picture, quint64 generation, const PictureFit &fit);

    // What the board must do before it paints the object through shown on a device whose
    // pixels are visible: nothing (its picture serves, one is on its way, or it is drawn
    // without one), draw its picture now (nothing could stand in), or have it drawn soon while
    // the picture it has stands in. recipe is filled for the last two.
    enum PictureNeed { PictureReady, PictureNow, PictureSoon };
    PictureNeed pictureNeed(const QTransform &shown, const QRect &visible,
                            CacheRecipe *recipe) const;
    // The picture at fit is being drawn: the one the object has stands in until it comes.
    void expectPicture(const PictureFit &fit);
    // The picture at fit will not come after all.
    void forgetPicture(const PictureFit &fit);
    // Gives back a picture that does not serve the board as it shows the object now (through
    // shown, on a device whose pixels are visible), without asking for a repaint: the object is
    // out of sight, or its picture would be replaced at the next paint.
    void dropPictureUnlessFor(const QTransform &shown, const QRect &visible);
    // The same for a picture of an object out of sight only (at its own size, kept as always):
    // what is near the board may stand in, stretched, until the pictures of a new scale come.
    void dropPictureOutOfSight(const QTransform &shown, const QRect &visible);
    // Grows whenever any object loses its picture, or moves, turns, scales, shows, hides,
    // enters or leaves a page: while it stays, the pictures the board has still serve it.
    static quint64 pictureEpoch() { return s_pictureEpoch; }
    // Something moved, turned or scaled objects without their knowing (their group did).
    // After a change of where an item shows (or whether), it or its members: the pictures
    // shown may no longer stand where they must, or be needed at all.
    static void picturesMayNotServeAfter(GraphicsItemChange change);
    // The bytes of the pictures given back since they were last taken (GUI thread).
    static qint64 givenBack() { return s_givenBack; }
    static void takeGivenBack() { s_givenBack = 0; }
    // Whether the board shows the object from a picture of the scale it is shown at (or draws
    // it without one), not from a picture of another scale standing in.
    bool isSharpFor(const QTransform &shown, const QRect &visible) const;

signals:
    void releaseBt(QPoint point, BtMenus::eStack operation);

public slots:
    void saveTransform();
    void restorePx();

protected:
    void connectFrame(DRotateItem *frame) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

    // Only from paint, which must not ask for another paint.
    void dropRenderCache();
    // The toolkit's own cache for what is drawn afresh at each paint, none for the rest.
    void chooseToolkitCache();
    // Whether the object keeps a picture of itself at one pixel per unit, or draws itself
    // afresh at the scale it is shown.
    virtual bool keepsPicture() const { return true; }
    virtual void paintContent(QPainter *painter, const QStyleOptionGraphicsItem *style,
                              QWidget *widget);
    // paintContent for a painter that makes the object smaller than its cached picture.
    void paintSmall(QPainter *painter, const QStyleOptionGraphicsItem *style, QWidget *widget);
    // Paints the object from a picture of the scale painter shows it at, made now if none
    // serves and nothing may stand in. forBoard: the picture made is kept (else the object is
    // drawn straight, keeping the board's pictures for the board).
    void paintFromPicture(QPainter *painter, const QStyleOptionGraphicsItem *style,
                          QWidget *widget, bool forBoard);
    // Lays the picture on painter, shown by its transform, pixel for pixel where it serves;
    // elsewhere filtered, unless not filtered is asked (a stand-in the board replaces shortly).
    void layPicture(QPainter *painter, bool filtered = true) const;
    // The picture's place in object coordinates: the bounds rounded, halves upward.
    QRect cacheArea() const;
    // A file holds the object's curves as points along them, and reads it back as a line
    // through them: its curves are drawn as that line, so that it looks the same once opened.
    bool curvesAsLines() const;
    // The unselected object's drawing, the same on any thread.
    static void paintRecipe(QPainter *painter, const CacheRecipe &recipe);
    // Vertex dragging shared by curves and polygons: the index of the element nearest to
    // point, strictly within 20, or -1.
    int grabIndex(QPointF point) const;
    void dragVertex(int index, QPointF point, bool keepLines);
    void paintVertexCircles(QPainter *painter, qreal diameter) const;
    void copyTransformInto(DGPathItem *clone) const;

    QList<int> m_erased;
    QPainterPath m_path;
    QPen m_pen;
    QPen m_prevPen;
    QBrush m_brush;
    QBrush m_prevBrush;
    BtMenus::btType m_btType = BtMenus::btPencil;
    QString m_fillFileName;
    bool m_bRedrawAlways = false;
    std::unique_ptr<TiledPicture> m_renderCache;
    PictureFit m_cacheFit; // how m_renderCache stands on the pixels
    QColor m_gradColor;

private:
    static quint64 s_pictureEpoch; // GUI thread only
    static qint64 s_givenBack; // GUI thread only
    void giveBackPicture();
    bool m_bStraight = false; // drawn straight by paintWithoutCache
    int m_cacheBuilds = 0;
    bool m_bPaintedSinceRelease = false;
    // Grows whenever the cached picture is dropped: a picture drawn elsewhere from an older
    // recipe is not taken.
    quint64 m_cacheGeneration = 0;
    // A picture of this fit is being drawn on other threads for the board.
    bool m_pending = false;
    PictureFit m_pendingFit;
};
