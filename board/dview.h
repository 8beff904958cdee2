#pragma once

#include "boardtypes.h"

#include "shell/btmenus.h"

#include <QBrush>
#include <QGraphicsView>
#include <QHash>
#include <QMap>
#include <QPen>
#include <QPointer>
#include <QRegion>
#include <QTimer>

class DClock;
class DPage;
class DTableDlg;
class DWidget;
class QLabel;
class QMenu;
class QPinchGesture;
class QGestureEvent;
class ScribbleArea;
class BoardPictures;

// The single graphics view of the board. Pages come and go as its scene; it keeps what all
// pages share: the tool and pens of each pen user, the shape pens and fill, the table size, the
// zoom, the context menus, the recycle bin, the clock and the live-ink overlay with its picture
// of the board.
class DView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit DView(QWidget *parent);
    ~DView() override;

    int getPenType(int user) const;
    QPen getPen(int user) const;
    QPen getShapePen() const { return m_penShape; }
    QPen getShapeFillPen() const { return m_penShapeFill; }
    QBrush getBrush() const { return m_brush; }
    double getScale() const { return m_scale; }
    short getFillType() const { return m_fillType; }
    void setFillType(const short &fillType) { m_fillType = fillType; }
    QString getFillFileName() const { return m_fillFileName; }
    void setFillFileName(const QString &fileName) { m_fillFileName = fileName; }
    DPage *page() const;

    // The pinch of the selected objects, apart from the gesture so it can be driven directly.
    void applyPinch(Qt::GestureState state, bool rotationChanged, double rotationAngle,
                    bool scaleChanged, double totalScaleFactor);

    QMenu *createSubMenus(BtMenus::btItemType kind);

    QRect m_boardRect;
    QPen m_penPencil[kPenUserCount];
    QPen m_penFountain[kPenUserCount];
    QPen m_penHighlighter[kPenUserCount];
    QPen m_penSmart;
    QPen m_penShape;
    QPen m_penShapeFill;
    QBrush m_brush;
    bool m_bRefreshOverlay = true; // the next paint with the overlay up renders the board into it
    // Asks for the board to be drawn afresh, into the overlay too when it is up.
    void refreshOverlay();
    // Scene to the overlay's board picture, as the view renders the board into it.
    QTransform sceneToOverlay() const;
    // Pictures of the scale shown are being drawn, or averaged down, while others stand in.
    bool isSharpening() const;
    // Whether the board shown on viewport (a board's viewport, else null) is painted again,
    // whole, once the pictures of the scale it shows come.
    static bool repaintsOnceSharp(const QWidget *viewport);
    // How many times the whole board was rendered into the overlay.
    int overlayRenders() const { return m_overlayRenders; }
    short m_fillType = FillSolid;
    QString m_fillFileName;
    QPen m_penEraserUser1;
    QPen m_penEraserUser3;
    int m_penType[kPenUserCount];
    DWidget *m_eraserTrail;
    ScribbleArea *m_scribbleArea;
    QPointer<DClock> m_clock;
    QLabel *m_binLabel;
    DTableDlg *m_tableDlg;
    QMenu *m_menuGeneric;
    QMenu *m_menuPath;
    QMenu *m_menuVertex;
    QMenu *m_menuVideo;
    QWidget *m_parent;
    int m_tableRows = 5;
    int m_toolAtPress = -1; // pen user 0's tool when the last press began
    // The board object the last left press took hold of, and where the selection it carries
    // stood: only objects the pointer dragged are thrown away over the bin, and undone, they
    // come back there.
    QGraphicsItem *m_heldObject = nullptr;
    QHash<QGraphicsItem *, QPointF> m_carriedFrom;
    int m_tableColumns = 3;
    bool m_bMultiUser = false;
    double m_scale = 1.0;
    double m_pinchScale = 1.0;
    QMap<QGraphicsItem *, double> m_pinchStartRotation;
    QMap<QGraphicsItem *, double> m_pinchStartScale;

public slots:
    void setPenType(BtMenus::btType bt, int alpha, const QString &cursor, int user = PenUserMain);
    void setBrushType(BtMenus::btType bt, const QString &texture, const QString &cursor);
    void setEraser(BtMenus::btType bt, int user = PenUserMain);
    void setShapeType(BtMenus::btType bt);
    void insertText();
    void setSelect();
    void editSetTableDlg();
    void setTableRowColumn(int row, int column);

    void setPenWidth(int penWidth, int user = PenUserMain);
    void setPenStyle(Qt::PenStyle penStyle, int user = PenUserMain);
    void setPenColour(const QColor &colour, int user = PenUserMain);
    void setPenTransparence(int alpha, int user = PenUserMain);
    void setShapePenWidth(int penWidth);
    void setShapePenStyle(Qt::PenStyle penStyle);
    void setShapePenColour(const QColor &colour);
    void setShapePenTransparence(int alpha);
    void setShapeFillPenColour(const QColor &colour, short fillType, const QString &fillFileName);
    void setBrushColour(const QColor &colour);
    void setBrushStyle(Qt::BrushStyle style);

    void setScale(double scale);
    void setBackgroundColor(const QColor &colour);
    void setVisibleScribbleArea(bool visible);
    void showBin();
    void insertClock();
    void removeClock(QPoint point);

    void deleteObj();
    void lockObj();
    // The context menus' entries (dviewmenus.cpp): each forwards to the page shown.
    void bringObjToFront();
    void sendObjToBack();
    void cloneObj();
    void copyObj();
    void pasteObj();
    void addObjToGroup();
    void detachObjFromGroup();
    void rotate45Obj();
    void rotate90Obj();
    void rotate180Obj();
    void rotate270Obj();
    void zoomInObj();
    void zoomOutObj();
    void editLinkObj();
    void editLinkPageObj();
    void editLinkFileObj();
    void editLinkSoundObj();
    void editLinkVideoObj();
    void editFillColor();
    void editBorderColor();
    void setTextFont();
    void editSetAV();
    void clearAV();
    void pathToTextOffline();
    void pathToTextOnline();
    void playAV();

signals:
    void zoomPage(float zoom);
    void signals_touchEvent();
    // The board changed its tool by itself at the end of a stroke (a text placed, a table
    // drawn, an area filled: back to selecting).
    void toolChanged();

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;

private:
    int m_overlayRenders = 0;
    BoardPictures *m_pictures; // a child of the view
    // Pictures whose copies came while the overlay shows its picture of the board: drawn into
    // it where they lie, once the copies that come together have come.
    void pictureCame(QGraphicsItem *item);
    void drawCamePictures();
    QRegion m_picturesCameIn;
    QTimer m_picturesCame;
    static void createPen(QPen &pen, const QColor &colour);
    // The pen a per-user setter changes: chosen by the user's current tool; null outside the
    // table (the setter then changes nothing).
    QPen *settablePen(int user);
    bool gestureEvent(QGestureEvent *event);
    bool overBin(QPoint viewPoint) const;
    static QGraphicsItem *carrierOf(QGraphicsItem *grabber);
    bool draggedHeldObject() const;
};
