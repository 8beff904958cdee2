#include "dgtextitem.h"

#include "boardtypes.h"
#include "dpage.h"
#include "drotateitem.h"
#include "drotateitemfocus.h"
#include "itemplacement.h"
#include "smoothpicture.h"

#include "content/drichtexteditor.h"

#include <QBuffer>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTextDocument>

#include <cmath>

namespace {

// A text larger than this many pixels at its own size is drawn straight into a thumbnail.
constexpr qint64 kMostPicturePixels = 2048 * 2048;
constexpr double kButtonStrip = 20.0; // screen pixels above the text for the frame's buttons

// The rich text of a text object shows no pictures it names: a file anywhere on the computer,
// or one written into the text itself, is never read. A text from a file of another program
// could otherwise show the teacher's own files, or decode a picture of gigabytes past every
// limit the readers keep. Every picture is one transparent pixel: the toolkit reads a file
// itself when it is given none.
class TextDocument : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        Q_UNUSED(name)
        if (type != QTextDocument::ImageResource)
            return QVariant();
        static const QByteArray nothing = [] {
            QImage pixel(1, 1, QImage::Format_ARGB32);
            pixel.fill(Qt::transparent);
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            pixel.save(&buffer, "PNG");
            return png;
        }();
        return nothing;
    }
};

QFont defaultFont()
{
    QFont font(QStringLiteral("Helvetica"), 25, -1, false);
    font.setStyleHint(QFont::Helvetica, QFont::PreferDefault);
    return font;
}

} // namespace

DGTextItem::DGTextItem(QPointF pos, QGraphicsItem *parent) : QGraphicsTextItem(parent)
{
    setDocument(new TextDocument(this));
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    m_pressPos = pos;
    setPos(pos);
    setFont(defaultFont());
    setPlainText(QStringLiteral("Text"));
    setDefaultTextColor(QColor(0, 0, 0, 255));
    setFrameOwner(this);
}

DGTextItem::DGTextItem(QPointF pos, const QString &html, const QFont &font, QGraphicsItem *parent,
                       qreal width)
    : QGraphicsTextItem(parent)
{
    setDocument(new TextDocument(this));
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    m_pressPos = pos;
    setPos(pos);
    // The font and the box first: the text is then laid out once, in them.
    setFont(font);
    if (width > 0 && std::isfinite(width))
        setTextWidth(width);
    setDefaultTextColor(QColor(0, 0, 0, 255));
    setHtml(html);
    setFrameOwner(this);
}

void DGTextItem::connectFrame(DRotateItem *frame)
{
    connect(frame->m_focus, &DRotateItemFocus::pressBt, this, &DGTextItem::saveTransform);
}

QVariant DGTextItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedHasChanged)
        frameMayShow(value.toBool(), isLocked());
    else if (change == ItemFlagsHaveChanged)
        frameMayShow(isSelected(), isLocked());
    return QGraphicsTextItem::itemChange(change, value);
}

DGTextItem::~DGTextItem() = default;

DRichTextEditor *DGTextItem::editor() const
{
    if (!m_editor) {
        m_editor = std::make_unique<DRichTextEditor>(nullptr);
        m_editor->setText(toHtml());
    }
    return m_editor.get();
}

QRectF DGTextItem::boundingRect() const
{
    // The strip stays about 20 pixels high on screen whatever the object's scale.
    const double itemScale = scale();
    const double strip = kButtonStrip / itemScale;
    const int lift = (itemScale > 0 && std::isfinite(strip)) ? int(strip) : int(kButtonStrip);
    return QGraphicsTextItem::boundingRect().adjusted(0, -lift, 0, 0);
}

void DGTextItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    bool standalone = true;
    const QStyleOptionGraphicsItem copied = ItemPlacement::paintOption(this, option, &standalone);
    // Drawn straight a few pixels high, as in a thumbnail, its letters were fitted to whole
    // pixels: specks and bars where the page shows words.
    const auto *page = qobject_cast<const DPage *>(scene());
    if (!page || !page->isDrawingThumbnail() || !paintMadeSmall(painter, &copied))
        QGraphicsTextItem::paint(painter, &copied, widget);
    paintRotateItem(boundingRect(), scale(), isLocked(), standalone, isSelected());
}

bool DGTextItem::paintMadeSmall(QPainter *painter, const QStyleOptionGraphicsItem *option)
{
    const QRectF bounds = QGraphicsTextItem::boundingRect();
    const QTransform onPage = sceneTransform();
    const QSize ownSize(int(std::ceil(bounds.width() * std::hypot(onPage.m11(), onPage.m12()))),
                        int(std::ceil(bounds.height() * std::hypot(onPage.m21(), onPage.m22()))));
    const QTransform shown = painter->combinedTransform();
    const QSizeF shownSize(bounds.width() * std::hypot(shown.m11(), shown.m12()),
                           bounds.height() * std::hypot(shown.m21(), shown.m22()));
    if (ownSize.isEmpty() || qint64(ownSize.width()) * ownSize.height() > kMostPicturePixels
        || (shownSize.width() >= ownSize.width() && shownSize.height() >= ownSize.height()))
        return false;
    QImage text(ownSize, QImage::Format_ARGB32_Premultiplied);
    text.fill(Qt::transparent);
    {
        QPainter own(&text);
        own.setRenderHints(painter->renderHints());
        own.scale(ownSize.width() / bounds.width(), ownSize.height() / bounds.height());
        own.translate(-bounds.topLeft());
        QStyleOptionGraphicsItem whole(*option);
        whole.exposedRect = bounds;
        whole.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QGraphicsTextItem::paint(&own, &whole, nullptr);
    }
    SmoothPicture::draw(painter, bounds, text, SmoothPicture::Once);
    if (option->state & (QStyle::State_Selected | QStyle::State_HasFocus))
        ItemPlacement::paintSelectionOutline(painter, option, boundingRect(), 0);
    return true;
}

int DGTextItem::type() const
{
    return ItemTypeText;
}

void DGTextItem::lock(bool locked)
{
    setFlag(ItemIsMovable, !locked);
    showLockState(locked);
}

bool DGTextItem::isLocked() const
{
    return !(flags() & ItemIsMovable);
}

void DGTextItem::changeLinks(const QString &web, const QString &page, const QString &file,
                             const QString &media)
{
    DCustomItem::changeLinks(web, page, file, media);
    update();
}

void DGTextItem::saveTransform()
{
    saveTransformOf(this);
}

void DGTextItem::setText(const QString &str)
{
    setHtml(str);
    emit releaseBt(QPoint(0, 0), BtMenus::stText);
}

void DGTextItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_pressPos = pos();
    setTextInteractionFlags(Qt::NoTextInteraction);
    QGraphicsTextItem::mousePressEvent(event);
}

void DGTextItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    m_bMoved = true;
    QGraphicsTextItem::mouseMoveEvent(event);
}

void DGTextItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_bMoved) {
        emit releaseBt(ItemPlacement::truncated(event->scenePos()), BtMenus::stMove);
        m_bMoved = false;
    }
    QGraphicsTextItem::mouseReleaseEvent(event);
}

void DGTextItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    setFocus(Qt::OtherFocusReason);
    setSelected(true);
    const QString html = toHtml();
    DRichTextEditor *textEditor = editor();
    textEditor->setText(html);
    m_prevHtml = html;
    if (textEditor->exec())
        setText(textEditor->text());
    QGraphicsTextItem::mouseDoubleClickEvent(event);
}

DGTextItem *DGTextItem::clone() const
{
    auto *copy = new DGTextItem(pos(), nullptr);
    copy->setHtml(toHtml());
    copy->setFont(font());
    copy->setTextWidth(textWidth());
    ItemPlacement::placeCopy(this, this, copy, copy);
    return copy;
}
