#pragma once

#include <QBrush>
#include <QHash>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QString>
#include <QUndoCommand>

class DPage;
class QGraphicsItem;

// The page's undo commands, one per recordable step. Each keeps the objects it covers and
// values parallel to them. Pushing a command performs its change, except a move or transform,
// which the user's hand has already done.

// The objects one command covers, counted over all live commands. When the last command that
// covers an object leaves the history (dropped by a new step after undo, or with its stack) and
// the object is then in no scene, in no group and not on the clipboard, nobody else holds it:
// it is deleted there. An object still on a page belongs to the page.
class CoveredItems
{
public:
    CoveredItems(const QList<QGraphicsItem *> &items, DPage *page);
    ~CoveredItems();
    CoveredItems(const CoveredItems &) = delete;
    CoveredItems &operator=(const CoveredItems &) = delete;

    // How many live commands cover item (0 for one no command covers).
    static int coverCount(const QGraphicsItem *item);
    // Deletes what item belongs to (item itself or its outermost group) when nothing holds that
    // any more by the rule above. For the clipboard, when it lets go of an object it named.
    static void releaseIfUnheld(QGraphicsItem *item, DPage *page);

private:
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
};

class AddCommand : public QUndoCommand
{
public:
    AddCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    CoveredItems m_covered;
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
    CoveredItems m_covered;
    QList<QPointF> m_oldPos;
    QList<QPointF> m_newPos;
    bool m_bFirstRedo = true;
};

// Undone, an object comes back where it stood when it was deleted, or where restoreAt gives
// for it (objects carried onto the bin come back where the pointer picked them up).
class DeleteCommand : public QUndoCommand
{
public:
    DeleteCommand(const QList<QGraphicsItem *> &items, DPage *page,
                  const QHash<QGraphicsItem *, QPointF> &restoreAt = {},
                  QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    QList<QGraphicsItem *> m_items;
    DPage *m_page;
    CoveredItems m_covered;
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
    CoveredItems m_covered;
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
    CoveredItems m_covered;
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
    CoveredItems m_covered;
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
    CoveredItems m_covered;
    QList<Colors> m_current;
    QList<Colors> m_previous;
};

class DGItemGroup;

// Grouping: redo puts the objects into the group (adding the group to the page first when it is
// in none), undo takes them out again, which dissolves the group.
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
    CoveredItems m_covered; // the group and its members
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
    CoveredItems m_covered; // the group and its members
};
