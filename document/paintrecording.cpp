#include "paintrecording.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <climits>
#include <cmath>

// Takes every operation as the painter hands it over, its state first. Nothing is left for the
// painter to emulate (all features), so what is kept is what the painter was told, not an
// approximation of it.
class RecordingEngine : public QPaintEngine
{
public:
    explicit RecordingEngine(PaintRecording *recording)
        : QPaintEngine(AllFeatures), m_recording(recording)
    {
    }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    // Drawn again on a PDF: whatever draws differently there (pictures sent at print
    // resolution, lines not cut to a screen) draws so here.
    Type type() const override { return Pdf; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags dirty = state.state();
        // The transform first: a clip comes with the transform it was set under.
        if (dirty & DirtyTransform) {
            const QTransform transform = state.transform();
            add([transform](QPainter &p, const QTransform &base) {
                p.setTransform(transform * base);
            });
        }
        if (dirty & DirtyPen) {
            const QPen pen = state.pen();
            add([pen](QPainter &p, const QTransform &) { p.setPen(pen); });
        }
        if (dirty & DirtyBrush) {
            const QBrush brush = state.brush();
            add([brush](QPainter &p, const QTransform &) { p.setBrush(brush); });
        }
        if (dirty & DirtyBrushOrigin) {
            const QPointF origin = state.brushOrigin();
            add([origin](QPainter &p, const QTransform &) { p.setBrushOrigin(origin); });
        }
        if (dirty & DirtyFont) {
            const QFont font = state.font();
            add([font](QPainter &p, const QTransform &) { p.setFont(font); });
        }
        if (dirty & DirtyBackground) {
            const QBrush background = state.backgroundBrush();
            add([background](QPainter &p, const QTransform &) { p.setBackground(background); });
        }
        if (dirty & DirtyBackgroundMode) {
            const Qt::BGMode mode = state.backgroundMode();
            add([mode](QPainter &p, const QTransform &) { p.setBackgroundMode(mode); });
        }
        if (dirty & DirtyClipRegion) {
            const QRegion region = state.clipRegion();
            const Qt::ClipOperation operation = state.clipOperation();
            add([region, operation](QPainter &p, const QTransform &) {
                p.setClipRegion(region, operation);
            });
        }
        if (dirty & DirtyClipPath) {
            const QPainterPath path = state.clipPath();
            const Qt::ClipOperation operation = state.clipOperation();
            add([path, operation](QPainter &p, const QTransform &) {
                p.setClipPath(path, operation);
            });
        }
        if (dirty & DirtyClipEnabled) {
            const bool enabled = state.isClipEnabled();
            add([enabled](QPainter &p, const QTransform &) { p.setClipping(enabled); });
        }
        if (dirty & DirtyHints) {
            const QPainter::RenderHints hints = state.renderHints();
            add([hints](QPainter &p, const QTransform &) {
                p.setRenderHints(~hints, false);
                p.setRenderHints(hints, true);
            });
        }
        if (dirty & DirtyCompositionMode) {
            const QPainter::CompositionMode mode = state.compositionMode();
            add([mode](QPainter &p, const QTransform &) { p.setCompositionMode(mode); });
        }
        if (dirty & DirtyOpacity) {
            const qreal opacity = state.opacity();
            add([opacity](QPainter &p, const QTransform &) { p.setOpacity(opacity); });
        }
    }

    void drawRects(const QRectF *rects, int count) override
    {
        const QVector<QRectF> kept(rects, rects + count);
        add([kept](QPainter &p, const QTransform &) { p.drawRects(kept); });
    }
    void drawLines(const QLineF *lines, int count) override
    {
        const QVector<QLineF> kept(lines, lines + count);
        add([kept](QPainter &p, const QTransform &) { p.drawLines(kept); });
    }
    void drawEllipse(const QRectF &rect) override
    {
        add([rect](QPainter &p, const QTransform &) { p.drawEllipse(rect); });
    }
    void drawPath(const QPainterPath &path) override
    {
        add([path](QPainter &p, const QTransform &) { p.drawPath(path); });
    }
    void drawPoints(const QPointF *points, int count) override
    {
        const QVector<QPointF> kept(points, points + count);
        add([kept](QPainter &p, const QTransform &) {
            p.drawPoints(kept.constData(), kept.size());
        });
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        const QPolygonF kept(QVector<QPointF>(points, points + count));
        add([kept, mode](QPainter &p, const QTransform &) {
            switch (mode) {
            case PolylineMode:
                p.drawPolyline(kept);
                break;
            case ConvexMode:
                p.drawConvexPolygon(kept);
                break;
            case OddEvenMode:
                p.drawPolygon(kept, Qt::OddEvenFill);
                break;
            case WindingMode:
                p.drawPolygon(kept, Qt::WindingFill);
                break;
            }
        });
    }

    // A pixmap is drawn again as its picture: pixmaps belong to the board's thread.
    void drawPixmap(const QRectF &rect, const QPixmap &pixmap, const QRectF &source) override
    {
        const QImage image = pixmap.toImage();
        add([rect, image, source](QPainter &p, const QTransform &) {
            p.drawImage(rect, image, source);
        });
    }
    void drawImage(const QRectF &rect, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags) override
    {
        if (source == QRectF(image.rect()) && m_recording->m_later.remove(image.cacheKey())) {
            add([rect, image](QPainter &p, const QTransform &) {
                SmoothPicture::draw(&p, rect, image, SmoothPicture::Once);
            });
            return;
        }
        add([rect, image, source, flags](QPainter &p, const QTransform &) {
            p.drawImage(rect, image, source, flags);
        });
    }
    void drawTiledPixmap(const QRectF &rect, const QPixmap &pixmap, const QPointF &from) override
    {
        QBrush tiles(pixmap.toImage());
        tiles.setTransform(QTransform::fromTranslate(rect.x() - from.x(), rect.y() - from.y()));
        add([rect, tiles](QPainter &p, const QTransform &) {
            p.save();
            p.setPen(Qt::NoPen);
            p.setBrush(tiles);
            p.setBrushOrigin(QPointF());
            p.drawRect(rect);
            p.restore();
        });
    }

    // Letters go on as text in their font; the lines a font draws under, over or through them
    // the painter hands over apart, and are not drawn twice.
    void drawTextItem(const QPointF &at, const QTextItem &item) override
    {
        const QString text = item.text();
        if (text.isEmpty()) { // glyphs without their characters: as their outlines
            QPaintEngine::drawTextItem(at, item);
            return;
        }
        QFont font = item.font();
        font.setUnderline(false);
        font.setOverline(false);
        font.setStrikeOut(false);
        add([at, text, font](QPainter &p, const QTransform &) {
            const QFont kept = p.font();
            p.setFont(font);
            p.drawText(at, text);
            p.setFont(kept);
        });
    }

private:
    void add(PaintRecording::Step step) { m_recording->m_steps.push_back(std::move(step)); }

    PaintRecording *m_recording;
};

PaintRecording::PaintRecording(QSize size, int dpi)
    : m_size(size), m_dpi(std::max(dpi, 1)), m_engine(std::make_unique<RecordingEngine>(this))
{
}

PaintRecording::~PaintRecording() = default;

QPaintEngine *PaintRecording::paintEngine() const
{
    return m_engine.get();
}

void PaintRecording::replay(QPainter *painter) const
{
    painter->save();
    const QTransform base = painter->transform();
    for (const Step &step : m_steps)
        step(*painter, base);
    painter->restore();
}

void PaintRecording::drawLater(const QImage &picture)
{
    m_later.insert(picture.cacheKey());
}

int PaintRecording::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return qRound(m_size.width() * 25.4 / m_dpi);
    case PdmHeightMM:
        return qRound(m_size.height() * 25.4 / m_dpi);
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}
