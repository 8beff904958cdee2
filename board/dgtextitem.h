#pragma once

#include "dcustomitem.h"

#include "shell/btmenus.h"

#include <QGraphicsTextItem>

#include <memory>

class DRichTextEditor;

// A block of rich text on the page (type 8). It is never edited inline: a double click opens
// its rich text editor, and every accepted edit is reported for undo.
class DGTextItem : public QGraphicsTextItem, public DCustomItem
{
    Q_OBJECT
public:
    explicit DGTextItem(QPointF pos, QGraphicsItem *parent = nullptr);
    // A text with its content and font from the start: laid out once, with no placeholder
    // to lay out and throw away first. width: the width of its box, which its lines wrap to;
    // none (0 or less), and the text is as wide as its longest line.
    DGTextItem(QPointF pos, const QString &html, const QFont &font, QGraphicsItem *parent = nullptr,
               qreal width = -1);
    ~DGTextItem() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;
    void lock(bool locked) override;
    bool isLocked() const override;
    void changeLinks(const QString &web, const QString &page, const QString &file,
                     const QString &media) override;

    DGTextItem *clone() const;
    // The rich text editor of this text, made when first asked for.
    DRichTextEditor *editor() const;

    QString m_prevHtml; // the text when the editor was last opened: what undo goes back to

signals:
    void releaseBt(QPoint point, BtMenus::eStack operation);

public slots:
    void saveTransform();
    void setText(const QString &str);

protected:
    void connectFrame(DRotateItem *frame) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

private:
    // Paints the text as the page at its own size shows it, then made small as a picture is;
    // false when it is not shown smaller than that, or would be too large a picture.
    bool paintMadeSmall(QPainter *painter, const QStyleOptionGraphicsItem *option);

    // A dialog with its own toolbar and icons: made on the first edit, not with every text a
    // document brings (opening a lesson of a hundred texts made a hundred of them).
    mutable std::unique_ptr<DRichTextEditor> m_editor;
};
