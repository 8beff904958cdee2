#pragma once

#include "dcommands.h"

#include <QList>
#include <QString>
#include <QUndoCommand>

class DPage;
class QGraphicsItem;

// An accepted edit of text objects: undo gives each the text it had when its editor opened.
// (Kept apart from the other commands only because it came with the text objects.)
class TextCommand : public QUndoCommand
{
public:
    TextCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    void apply(const QList<QString> &html);
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    CoveredItems m_covered;
    QList<QString> m_oldHtml;
    QList<QString> m_newHtml;
};
