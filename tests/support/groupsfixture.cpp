#include "groupsfixture.h"

#include "board/dcustomitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitemfocus.h"
#include "board/dview.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineF>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>

namespace GroupsFixture {

namespace {

QAction *findEntry(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

bool chooseInMenu(DView *view, QPoint viewPoint, const QStringList &path)
{
    bool chosen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&]() {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        QMenu *level = menu;
        QAction *entry = nullptr;
        for (const QString &name : path) {
            entry = level ? findEntry(level, name) : nullptr;
            if (!entry)
                break;
            level = entry->menu();
        }
        menu->close();
        if (entry && entry->isEnabled()) {
            chosen = true;
            entry->trigger();
        }
    });
    poll.start();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, viewPoint);
    poll.stop();
    return chosen;
}

QPoint handlePoint(DView *view, QGraphicsItem *object)
{
    DCustomItem *custom = DCustomItem::fromItem(object);
    const QPointF centre = custom->rotateItem()->m_focus->sceneBoundingRect().center();
    return view->mapFromScene(centre);
}

QPolygonF sceneCorners(const QGraphicsItem *item)
{
    return item->mapToScene(item->boundingRect());
}

bool sameCorners(const QPolygonF &a, const QPolygonF &b, qreal tolerance)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (QLineF(a[i], b[i]).length() > tolerance)
            return false;
    }
    return true;
}

void paintPage(DPage *page)
{
    QImage image(page->sceneRect().size().toSize(), QImage::Format_ARGB32);
    QPainter painter(&image);
    page->render(&painter);
}

} // namespace GroupsFixture
