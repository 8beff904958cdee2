#include "textcommand.h"

#include "boardtypes.h"
#include "dgtextitem.h"
#include "dpage.h"

namespace {

DGTextItem *textObject(QGraphicsItem *item)
{
    return item && item->type() == ItemTypeText ? dynamic_cast<DGTextItem *>(item) : nullptr;
}

} // namespace

TextCommand::TextCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent)
    : QUndoCommand(parent), m_items(items), m_page(page), m_covered(items, page)
{
    for (QGraphicsItem *item : items) {
        DGTextItem *text = textObject(item);
        m_oldHtml << (text ? text->m_prevHtml : QString());
        m_newHtml << (text ? text->toHtml() : QString());
    }
}

void TextCommand::apply(const QList<QString> &html)
{
    for (int i = 0; i < m_items.size() && i < html.size(); ++i) {
        if (DGTextItem *text = textObject(m_items[i]))
            text->setHtml(html[i]);
    }
    m_page->update(QRectF());
}

void TextCommand::redo()
{
    apply(m_newHtml);
}

void TextCommand::undo()
{
    apply(m_oldHtml);
}
