#include "instrumentsfixture.h"

#include "testsupport.h"

#include "board/boardtypes.h"
#include "board/dpage.h"
#include "board/dview.h"

#include <QApplication>
#include <QGraphicsItem>
#include <QLineF>
#include <QMenu>
#include <QPainterPath>
#include <QTest>
#include <QTimer>

namespace InstrumentsFixture {

QPoint viewPoint(DView *view, const QGraphicsItem *item, const QPointF &point)
{
    return view->mapFromScene(item->mapToScene(point));
}

void dragItem(DView *view, const QGraphicsItem *item, const QVector<QPointF> &itemPoints)
{
    if (itemPoints.isEmpty())
        return;
    QVector<QPoint> points;
    for (const QPointF &point : itemPoints)
        points << viewPoint(view, item, point);
    // No move at the press point itself: the instruments act on every move they get.
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, points.first());
    for (int i = 1; i < points.size(); ++i)
        TestSupport::moveTo(view->viewport(), points.at(i));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, points.last());
}

void clickItem(DView *view, const QGraphicsItem *item, const QPointF &point)
{
    const QPoint at = viewPoint(view, item, point);
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

QList<QGraphicsItem *> vertexObjects(DPage *page)
{
    QList<QGraphicsItem *> found;
    const auto items = page->items();
    for (QGraphicsItem *item : items)
        if (item->type() == ItemTypeVertex)
            found << item;
    return found;
}

std::shared_ptr<bool> answerNextPopup(std::function<void(QWidget *)> answer, int timeoutMs)
{
    auto answered = std::make_shared<bool>(false);
    auto *poll = new QTimer(qApp);
    poll->setInterval(10);
    auto remaining = std::make_shared<int>(timeoutMs / 10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answered, remaining, answer]() {
        QWidget *popup = QApplication::activePopupWidget();
        if (popup && popup->isVisible()) {
            poll->stop();
            poll->deleteLater();
            *answered = true;
            answer(popup);
            return;
        }
        if (--*remaining <= 0) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start();
    return answered;
}

std::shared_ptr<bool> chooseFromMenu(const QString &text)
{
    return answerNextPopup([text](QWidget *popup) {
        auto *menu = qobject_cast<QMenu *>(popup);
        QVERIFY(menu);
        for (QAction *action : menu->actions()) {
            if (action->text() == text) {
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                                  menu->actionGeometry(action).center());
                return;
            }
        }
        menu->close();
        QFAIL(qPrintable(QStringLiteral("no entry ") + text));
    });
}

QVector<QPointF> pointsOf(const QPainterPath &path)
{
    QVector<QPointF> points;
    for (int i = 0; i < path.elementCount(); ++i)
        points << QPointF(path.elementAt(i).x, path.elementAt(i).y);
    return points;
}

QPointF polar(qreal length, qreal angle)
{
    return QLineF::fromPolar(length, angle).p2();
}

bool close(const QPointF &a, const QPointF &b, qreal tolerance)
{
    return QLineF(a, b).length() <= tolerance;
}

} // namespace InstrumentsFixture
