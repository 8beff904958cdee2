#pragma once

#include "shell/btmenus.h"

#include "board/pdfimport.h"

#include "pictures/picturereading.h"
#include "content/mediaprobe.h"
#include "recognition/shaperectst.h"

#include <QFont>
#include <QGraphicsScene>
#include <QHash>
#include <QImage>
#include <QLineF>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QTransform>
#include <QUndoStack>

#include <functional>
#include <memory>

class DGGifItem;
class DGItemGroup;
class DGPathItem;
class DGPathTableItem;
class DGPixmapItem;
class HeldPicture;
class DGSoundItem;
class DGTextItem;
class DGVideoItem;
class DView;
class QHandwritingCustomSupport;
class QLabel;
class QProcess;
class QUndoCommand;
class QXmlStreamWriter;

// One page of the open document: the scene that holds the page's board objects, its own undo
// history and recognisers. A single DView shows one page at a time by switching its scene.
class DPage : public QGraphicsScene
{
    Q_OBJECT
public:
    DPage(DView *view, QWidget *parent);
    ~DPage() override;

    // Hides the scene's own addItem: every board object enters here and so gets the next z
    // value of the page. Call it through a DPage, never through a plain scene pointer.
    virtual void addItem(QGraphicsItem *item);

    bool isModified() const { return m_bModified; }
    void setModified(bool modified) { m_bModified = modified; }
    float zoom() const { return m_zoom; }
    float zCounter() const { return m_zCounter; }
    QPointF savedCenter() const { return m_savedCenter; }
    int pageType() const { return m_pageType; }
    void setPageType(int type)
    {
        m_pageType = type;
        ++m_revision;
    }
    bool isTransparent() const { return m_bTransparent; }
    void setTransparent(bool transparent)
    {
        m_bTransparent = transparent;
        ++m_revision;
    }
    DView *view() const { return m_view; }
    QUndoStack *undoStack() { return &m_undoStack; }
    recog &recogniser() { return m_recog; }
    QHandwritingCustomSupport *handwriting() const { return m_handwriting; }
    const QString &recogChars() const { return m_recogChars; }

    // A picture the page's lesson gives as its background that the board cannot show: the page
    // shows its colour, and a save writes the picture back as it came (at size) until another
    // background is chosen.
    void keepBackground(std::shared_ptr<HeldPicture> picture, QSize size);
    const std::shared_ptr<HeldPicture> &keptBackground() const { return m_keptBackground; }
    QSize keptBackgroundSize() const { return m_keptBackgroundSize; }
    void dropKeptBackground();
    // The page's picture at the scene's size, or drawn straight at size when one is given.
    QPixmap getPagePixmap(int withBackground, QSize size = QSize());
    // The gallery's picture of the page (with background) at size: drawn again only when the
    // page changed since the last one, or another size is asked for.
    QPixmap thumbnail(QSize size);
    int thumbnailRenders() const { return m_thumbnailRenders; }
    // The thumbnail thumbnail() would hand out without drawing; null when it would draw.
    QPixmap currentThumbnail(QSize size);
    // While the page is drawn at another size than its own (a thumbnail): objects draw
    // themselves straight at that scale rather than make (or use) their pictures at full size.
    bool isDrawingThumbnail() const { return m_bDrawingThumbnail; }
    // While the page is drawn into a picture of it (getPagePixmap: a thumbnail, an export).
    bool isDrawingPicture() const { return m_bDrawingPicture; }
    // Whether the page is painted now for the board (it is the page shown), not into a picture
    // of it, which must be whole when drawn.
    bool isPaintedForBoard() const;
    // Grows with every change to what the page shows or stores: its objects, its background,
    // its undo step. Changes still waiting in the event queue are counted first.
    quint64 contentRevision();
    // The changes counted so far, those waiting in the event queue left there: taking them can
    // repaint the board at once, when the page is shown.
    quint64 countedRevision() const { return m_revision; }
    // Delivers the deferred calls waiting for the page, each counted as a change.
    void takeDeferredCalls();
    // Drawing the page's objects (for a cache, not for a change) may stir them into updates:
    // those are counted now and the count goes back to before, what it was when the drawing
    // began.
    void forgetDrawingStir(quint64 before);
    // Drops what the page's objects keep to draw themselves faster (their render caches); they
    // build them again when next drawn. Nothing shown changes.
    void releaseRenderCaches();
    // Drops the pictures of the page's strokes and shapes that do not serve a board whose
    // viewport shows the scene through toViewport (a zoom or a pan since they were made), the
    // pictures at their own size kept as always; what was given back goes back to the system.
    // Every item of the page in no particular order: the toolkit sorts what items() returns by
    // stacking order, walking each item's parents, which for a page of grouped strokes (their
    // frames and handles included) costs ten milliseconds where this costs a fifth of one. The
    // toolkit takes an order of -1 as none.
    QList<QGraphicsItem *> itemsUnsorted() const { return items(Qt::SortOrder(-1)); }
    // outOfSightOnly: only those of objects out of sight, the rest left to stand in.
    void dropPicturesUnlessFor(const QTransform &toViewport, const QRect &visible,
                               bool outOfSightOnly = false);
    // The pictures held as their files that the page shows, each decoded (the caller waits,
    // calling waiting meanwhile) at the size it shows at when the page is drawn at scale: for a
    // picture of the page drawn at once (an export), which must show them whole.
    void readyPictures(qreal scale, const std::function<void()> &waiting = {});
    // The same pictures asked for now, at the same sizes, on the decoding processes beside the
    // board (a page an export comes to soon): how many were asked.
    int askPictures(qreal scale);
    // Writes this page as page n of an IWB document (board/pagewriter.h); returns what failed.
    QStringList savePageDataToIWB(QXmlStreamWriter &stream, const QString &dir, int n);

    // Undo recording: builds the command for op over items (or adds the single item) and
    // pushes it; always marks the page modified.
    void recordOperation(BtMenus::eStack op, const QList<QGraphicsItem *> &items,
                         QGraphicsItem *item);
    QUndoCommand *getCommand(BtMenus::eStack op, QGraphicsItem *item,
                             const QList<QGraphicsItem *> &items);
    // The objects an operation may act on: board objects (types 2 to 12) that are selected
    // (or all of them), not locked and not inside a group.
    QList<QGraphicsItem *> validItems(bool all) const;

    // Object factories (dpagefactories.cpp). Each makes its object, wires its release reports
    // to isValidRelease, applies origin, transform, rotation (negated), scale, position and the
    // frame's counter-scale in that order, gives the frame its context menu, and records the
    // addition for undo (record true) or adds it directly. A null picture or label or an empty
    // path adds nothing and returns null; a non-finite rotation reads as 0, a non-finite or
    // non-positive scale as 1, a non-finite position as (0, 0).
    DGPixmapItem *addPixmapItem(const QPixmap &pixmap, QPointF pos, float rotation, float scale,
                                const QTransform &transform, bool record);
    // As addPixmapItem, with the origin left at the object's (0, 0) as UBZ files expect.
    DGPixmapItem *addPixmapItemUBZ(const QPixmap &pixmap, QPointF pos, float rotation, float scale,
                                   const QTransform &transform, bool record);
    // A picture held as its file, shown over size; its origin at its centre, or (centreOrigin
    // false, as UBZ files expect) at its (0, 0). A null picture or an empty size adds nothing.
    DGPixmapItem *addPixmapItem(const std::shared_ptr<HeldPicture> &picture, QSize size,
                                QPointF pos, float rotation, float scale,
                                const QTransform &transform, bool record, bool centreOrigin = true);
    // width: the width of the text's box, which its lines wrap to; none (0 or less), and the
    // text is as wide as its longest line.
    DGTextItem *addTextItem(const QString &html, const QFont &font, QPointF pos, float rotation,
                            float scale, const QTransform &transform, bool record,
                            qreal width = -1);
    DGTextItem *addTextItemUBZ(const QString &html, const QFont &font, QPointF pos, float rotation,
                               float scale, const QTransform &transform, bool record,
                               qreal width = -1);
    DGSoundItem *addSoundItem(const QString &file, QPointF pos, float rotation, float scale,
                              const QTransform &transform, bool record);
    // Takes the poster frame from the file with ffmpeg (a bounded wait) when the file exists.
    DGVideoItem *addVideoItem(const QString &file, QPointF pos, float rotation, float scale,
                              const QTransform &transform, bool record);
    // label: a label playing a started movie (DGGifItem::makeAnimation); the object owns it.
    DGGifItem *addGifItem(QLabel *label, QPointF pos, float rotation, float scale,
                          const QTransform &transform, bool record);
    // The path is in scene coordinates; the table stays at (0, 0).
    DGPathTableItem *addTableItem(const QPainterPath &path, int rows, int columns, float rotation,
                                  float scale, const QTransform &transform, bool record);
    DGPathItem *addCurveItem(const QPainterPath &path, const QPen &pen, float rotation,
                             BtMenus::btType kind, BtMenus::fnPathPosition frame, QPointF pos,
                             float scale, const QTransform &transform, bool record);
    // Each coordinate rounded to the nearest whole number, halves upward (2.5 gives 3, -2.5
    // gives -2): where a freehand stroke's first view point lands.
    static QPointF roundedHalfUp(const QPointF &point);

    // Fills (dpagefills.cpp).
    void fillFigure();
    Q_INVOKABLE QImage FillShapeArea(QImage imagesource, QPoint seed, QColor color,
                                     QPoint *pposimage);
    static double shortest_distance(QPointF p, QLineF line);

    // Groups, clipboard and object commands (dpageobjects.cpp). All act on the valid
    // selection and do nothing when it is empty.
    DGItemGroup *addGroupItem();
    void addItemToGroup(DGItemGroup *group, QGraphicsItem *item);
    // A group left with a single member dissolves when dissolve is true: it leaves the page
    // (kept alive for undo) and its last member stays where it was.
    void removeItemFromGroup(DGItemGroup *group, QGraphicsItem *item, bool dissolve);
    void removeAllItemFromGroup(DGItemGroup *group);
    void addSelectedItemToGroup(DGItemGroup *group);
    void zoomObj(float fscale);
    // Drops clipboard entries whose object or page is gone; the live ones in clipboard order.
    static QList<QGraphicsItem *> liveClipboard();
    // Takes out of the clipboard what was copied from page, which is going: what only the
    // clipboard held is freed; what the page's history holds goes with that history.
    static void releaseClipboardOf(DPage *page);

public slots:
    void setPageBackgroundColor(const QColor &colour);
    void zoomPage(float factor);
    void zoomToScale();
    void saveCurPos();
    void moveToPos();
    void dragPage();
    void moveBackPage();
    void setUndo();
    void setRedo();
    void isValidRelease(QPoint point, BtMenus::eStack op);
    void deleteObj();
    // The selection let go over the bin: undone, each object comes back where the drag that
    // carried it there began (carriedFrom, by object).
    void deleteDropped(const QHash<QGraphicsItem *, QPointF> &carriedFrom);
    void lockObj();

    // Pictures (dpagefactories.cpp): a file centred on the view (an animated image, not
    // recorded, with its top-left there), a capture at its own top-left; both undoable except
    // the animation. A file that is not taken adds nothing; the teacher is told why, and also
    // when it was taken smaller or still.
    void insertPixmap(const QString &file);
    void insertPxFromCapture(const QPixmap &pixmap, QPoint point);
    // Recolouring of the selection from a colour dialog (dpagefills.cpp), undoable.
    void editFillColor();
    void editBoderColor();

    // Groups, clipboard and object commands (dpageobjects.cpp).
    void addObjToGroup();
    void detachObjFromGroup();
    void copyObj();
    void cutObj();
    void pasteObj();
    void cloneObj();
    void bringObjToFront();
    void sendObjToBack();
    void rotateObj(int degrees);
    void zoomInObj();
    void zoomOutObj();
    void editLinkObj();
    void editLinkPageObj();
    void editLinkFileObj();
    void editLinkSoundObj();
    void editLinkVideoObj();
    void clearPage();
    void editSetAV();
    void clearAV();
    void setTextFont();

signals:
    void goToPage(int page);
    void updateRes();
    void selectBt(BtMenus::btType tool);

protected:
    bool event(QEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    // A background picture is shown zoomed as any picture is: filtered.
    void drawBackground(QPainter *painter, const QRectF &rect) override;

    // Media insertion, gallery drops and outside programs (dpagemedia.cpp). Files are chosen
    // in dialogs; failures are shown in message boxes; programs run with argument lists and
    // only the ones this page started are ever stopped.
public slots:
    void insertImage(bool pdf); // one picture, or every page of a PDF file as pictures
    void insertVideo();
    void insertSound();
    void playAV(); // hands the selection's Flash media file to "/Sys/Config.ini"
    void playRecorder(); // makes "out.avi" of the last screen recording when none was saved
    void insertActivities();
    void insertBrowser();
    // A gallery word as a text object, about the middle of the view.
    void insertText(const QString &str);

public:
    // Entries of dir whose base name (up to the first dot) contains prefix.
    static int CountFiles(const QString &dir, const QString &prefix);
    // Where sound and video objects are placed: left of and above the middle of the view.
    QPointF mediaAnchor() const;
    // True when the players can play file; otherwise the teacher is told so and it is false.
    bool checkPlayable(const QString &file, MediaProbe::Kind kind);
    // The folder of "/GENERADORES/GeneradorBrowser" and "/Sys/Config.ini"; the application's
    // own folder unless set.
    void setApplicationDir(const QString &dir) { m_appDir = dir; }
    QString applicationDir() const;
    static QString browserStartPage();
    QProcess *activitiesProcess() const { return m_activitiesProcess.get(); }
    QProcess *browserProcess() const { return m_browserProcess.get(); }
    // What the page's objects and background take, as the lesson limits count them.
    PdfImport::Held held() const;
    // What the whole lesson holds, asked before the pages of a PDF come in: this page alone
    // unless the page list says.
    void setLessonHeld(std::function<PdfImport::Held()> lessonHeld)
    {
        m_lessonHeld = std::move(lessonHeld);
    }
    void setPdfLimits(const PdfImport::Limits &limits) { m_pdfLimits = limits; }

protected:
    void dragEnterEvent(QGraphicsSceneDragDropEvent *event) override;
    void dragMoveEvent(QGraphicsSceneDragDropEvent *event) override;
    void dragLeaveEvent(QGraphicsSceneDragDropEvent *event) override;
    void dropEvent(QGraphicsSceneDragDropEvent *event) override;

private:
    void hideInkOverlay();
    // Reads the picture in file once, within the board's limits (pictures/picturereading.h),
    // beside the board, and centres it on the view when it comes: as an animation when
    // animationByName and the name says ".gif" and it can play. The teacher is told, calling
    // it name, when it is not taken or taken smaller or still.
    void placePicture(const QString &file, const QString &name, bool animationByName);
    // The same, of a picture read already: false when nothing was placed.
    // source and kept: the file it was read from, and a copy of it (HeldPictures::copyIn) the
    // object then holds it as; none, and it holds the pixels read.
    bool placeRead(PictureReading::Picture picture, const QString &name, bool animation,
                   const QString &source = QString(), const QString &kept = QString());
    void tellAboutPicture(const PictureReading::Probe &probe, const QString &name, bool animation);
    // Every page of file as a picture centred on the view, one undoable step a page.
    void importPdf(const QString &file);
    // A program the page started ends with the page: asked to close, then made to.
    struct StopProcess
    {
        void operator()(QProcess *process) const;
    };
    std::unique_ptr<QProcess, StopProcess> m_activitiesProcess; // made on first use
    std::unique_ptr<QProcess, StopProcess> m_browserProcess;
    QString m_appDir;
    std::function<PdfImport::Held()> m_lessonHeld;
    PdfImport::Limits m_pdfLimits;

    // Handwriting to text (dpagerecognition.cpp): offline through the page's recogniser, one
    // text object per character in a row right of the strokes; online through the service,
    // one text object with its answer. The strokes stay on the page.
public slots:
    void pathToText(bool offline);
    void textRecognizer(const QString &text);
    void textNoRecognizer();

public:
    // Left to right by the x of the scene position.
    static bool compare(const QGraphicsItem *a, const QGraphicsItem *b);
    // 34 ("i") or 72 ("ñ") when the two strokes, each read alone, make that letter; else -1.
    int isENIEoI(QGraphicsItem *first, QGraphicsItem *second);
    // The points of a path object in scene coordinates, without the rubbed-out ones.
    static QVector<QPointF> strokeOf(const QGraphicsItem *item);

private:
    void connectRecognition();
    void placeRecognisedText(const QString &text, QPointF pos);

public:
    // The last object each factory made; m_pDrawItem is also the shape being drawn.
    QGraphicsItem *m_pGroupItem = nullptr;
    QGraphicsItem *m_pDrawItem = nullptr;
    QGraphicsItem *m_pTextItem = nullptr;
    QGraphicsItem *m_pPixmapItem = nullptr;
    QGraphicsItem *m_pGifItem = nullptr;
    QGraphicsItem *m_pSoundItem = nullptr;
    QGraphicsItem *m_pVideoItem = nullptr;
    // Clears the pointers above that name item, which is about to be deleted.
    void forgetItem(const QGraphicsItem *item);
    QPainterPath m_path; // the polygon being drawn
    QPainterPath m_eraserPath;
    bool m_bPolygon = false;

    // Classroom tools (dpageinstruments.cpp): at most one of each per page, made on first use.
    // The four drawing instruments are toggled by their buttons; the gadgets over the board are
    // shown and close themselves. The page owns all of them.
public slots:
    void insertCompass();
    void insertPortractor();
    void insertRuler();
    void insertTriangleRuler();
    void insertCalculator();
    void insertCurtain();
    void insertSearchLight();
    void insertMagnifier();
    void insertRecorder();
    void insertDice();
    void insertFlash();
    void insertKeyboard();
    void insertVideoCamera();

public:
    struct ClassroomTools
    {
        ClassroomTools() = default;
        ClassroomTools(const ClassroomTools &) = delete;
        ClassroomTools &operator=(const ClassroomTools &) = delete;
        ~ClassroomTools(); // instruments still in the scene leave it as they go
        class DCompass *compass = nullptr;
        class DProtractor *protractor = nullptr;
        class DRulers *ruler = nullptr;
        class DRulerTriangle *triangleRuler = nullptr;
        // Widgets on the page's parent widget, which may go first at program exit.
        QPointer<class DCoverScreen> curtain;
        QPointer<class DSearchlight> searchLight;
        QPointer<class DMagnifier> magnifier;
        QPointer<class DCalculator> calculator;
        QPointer<class DDiceS> dice; // off any parent while hidden: the page deletes it
        // The program's one recorder: the page uses it but does not own it.
        QPointer<class DScreenRecord> recorder;
    };
    const ClassroomTools &classroomTools() const { return m_tools; }

private:
    template<class Instrument>
    void toggleInstrument(Instrument *&instrument);
    QPointF viewCentreInScene() const;
    ClassroomTools m_tools;

private:
    // Each picture held as its file that the page shows, with the size it shows at when the
    // page is drawn at scale.
    void forPicturesAt(qreal scale,
                       const std::function<void(const std::shared_ptr<HeldPicture> &, QSizeF)>
                               &picture) const;
    void enterPage(QGraphicsItem *item, bool record); // recorded addition, or direct
    DGPixmapItem *placePictureObject(DGPixmapItem *picture, bool centreOrigin, QPointF pos,
                                     float rotation, float scale, const QTransform &transform,
                                     bool record);
    // Both text factories; UBZ texts turn about their top-left corner instead of their centre.
    DGTextItem *makeTextItem(const QString &html, const QFont &font, QPointF pos, float rotation,
                             float scale, const QTransform &transform, bool record,
                             bool centredOrigin, qreal width);
    QWidget *m_parent;
    QHandwritingCustomSupport *m_handwriting = nullptr; // child of the page
    bool m_bModified = false;
    float m_zoom = 1.0f;
    float m_zCounter = 0.0f;
    QPointF m_savedCenter;
    recog m_recog; // loads no engine until a conversion asks for one
    QString m_recogChars;
    DView *m_view;
    int m_pageType;
    bool m_bTransparent = false;
    std::shared_ptr<HeldPicture> m_keptBackground;
    QSize m_keptBackgroundSize;
    quint64 m_revision = 0;
    QPixmap m_thumbnail;
    quint64 m_thumbnailRevision = 0;
    int m_thumbnailRenders = 0;
    bool m_bDrawingThumbnail = false;
    bool m_bDrawingPicture = false;
    // A member, not a QObject child: children die after ~QGraphicsScene has deleted the items
    // the commands point to. It is cleared explicitly first in the destructor.
    QUndoStack m_undoStack;

    // Freehand commit and the pointer tools (dpagetools.cpp).
public:
    // The smart pen's simplification (see DouglasPeucker::simplify).
    static QList<QPointF> DouglasPeucker(const QList<QPointF> &points, double epsilon);
public slots:
    // Turns a finished overlay stroke (view coordinates; the caller keeps the list) into one
    // undoable object chosen by its pen user's tool, or into nothing. Returns the object
    // that entered the page, or null.
    QGraphicsItem *saveToPage(QVector<QPointF> *pts);

public:
    // Where saveToPage lays a stroke begun at view point first: a view point p of it lies at
    // scene point anchor + (p - first) / zoom, the anchor being first brought to the page's
    // scale and laid on a whole view pixel.
    QTransform freehandToScene(const QPointF &first) const;
    // The same for the points of that stroke in its scaled frame (FreehandStroke), where the
    // page stamps the pictures of the stamp pens.
    QTransform freehandFrameToScene(const QPointF &first) const;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void defaultRelease(QGraphicsSceneMouseEvent *event);
    void releaseTool(int tool, QGraphicsSceneMouseEvent *event);
    QGraphicsItem *commitPicture(const QImage &picture, const QPointF &first,
                                 const QPointF &topLeft);
    // The scene point a stroke's first point lands on, from that point in the scaled frame.
    QPointF freehandAnchor(const QPointF &scaledFirst) const;
    QPointF m_toolPressPos; // scene point of the last left press
};
