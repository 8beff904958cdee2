#pragma once

#include <QBrush>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QString>
#include <QUndoCommand>

class DPage;
class QGraphicsItem;

// The page's undo commands, one per recordable step. Each keeps the objects it covers and
// values parallel to them; they hold plain pointers and never delete an object (an object out
// of the scene may still be on the shared clipboard). Pushing a command performs its change,
// except a move or transform, which the user's hand has already done.

class AddCommand : public QUndoCommand
{
public:
    AddCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
};

class MoveCommand : public QUndoCommand
{
public:
    MoveCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    QList<QPointF> m_oldPos;
    QList<QPointF> m_newPos;
    bool m_bFirstRedo = true;
};

class DeleteCommand : public QUndoCommand
{
public:
    DeleteCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    QList<QPointF> m_restorePos;
};

// Lock and unlock share one behaviour: redo applies the opposite of the state at recording.
class LockCommand : public QUndoCommand
{
public:
    LockCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    void apply(const QList<bool> &states);
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    QList<bool> m_old;
    QList<bool> m_new;
};

class UnlockCommand : public LockCommand
{
public:
    using LockCommand::LockCommand;
};

class TransCommand : public QUndoCommand
{
public:
    TransCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    struct Transform
    {
        double negatedRotation;
        double scale;
    };
    void apply(const QList<Transform> &transforms);
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    QList<Transform> m_old;
    QList<Transform> m_new;
    bool m_bFirstRedo = true;
};

class LinksCommand : public QUndoCommand
{
public:
    struct Links
    {
        QString web;
        QString page;
        QString file;
        QString media;
    };
    LinksCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    void apply(const QList<Links> &links);
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    QList<Links> m_current;
    QList<Links> m_previous;
};

// Pen and brush (with the fill kind that follows the brush) of strokes, shapes, polygons and
// tables; other objects are left alone.
class ColorCommand : public QUndoCommand
{
public:
    struct Colors
    {
        QPen pen;
        QBrush brush;
    };
    ColorCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    void apply(const QList<Colors> &colors);
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    QList<Colors> m_current;
    QList<Colors> m_previous;
};

class DGItemGroup;

// Grouping: redo puts the objects into the group (adding the group to the page first when it is
// in none), undo takes them out again, which dissolves the group. The one command that deletes
// an object: a group that is in no scene when the command goes (the grouping was undone).
class AddGCommand : public QUndoCommand
{
public:
    AddGCommand(DGItemGroup *group, const QList<QGraphicsItem *> &items, DPage *page,
                QUndoCommand *parent = nullptr);
    ~AddGCommand() override;
    void undo() override;
    void redo() override;

private:
    DGItemGroup *m_group;
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
};

// Ungrouping, the mirror of AddGCommand; the dissolved group is kept for undo.
class DeleteGCommand : public QUndoCommand
{
public:
    DeleteGCommand(DGItemGroup *group, const QList<QGraphicsItem *> &items, DPage *page,
                   QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    DGItemGroup *m_group;
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
};
