#include "boardgadget.h"

#include "gadgetbutton.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QVector>

namespace BoardGadget {

namespace {

// A button remembers its distance from the board's bottom-right corner.
constexpr char kOffsetProperty[] = "veltorinaCornerOffset";
constexpr int kRowStep = 45; // a button and the gap to the next row
constexpr int kClearance = 4; // between a button and a control beside it

// The button's place on the board (the gadget's parent), lift pixels above its own.
QRect boardPlace(const QWidget *gadget, const QPushButton *button, int lift)
{
    const QPoint offset = button->property(kOffsetProperty).toPoint();
    return QRect(QPoint(gadget->width() / 2 - offset.x(), gadget->height() / 2 - offset.y() - lift),
                 button->size());
}

void placeCornerButton(QWidget *gadget, QPushButton *button, int lift = 0)
{
    button->move(boardPlace(gadget, button, lift).topLeft() - gadget->pos());
}

// What the teacher reaches on the board besides the gadget: the toolbars, the gallery, the
// clock, the recycle bin of the view. Widgets that cover the whole board (the view, other
// gadgets) are not in the way themselves, only the controls they hold.
QVector<QRect> boardControls(const QWidget *gadget)
{
    QVector<QRect> controls;
    const QWidget *board = gadget->parentWidget();
    if (!board)
        return controls;
    const QSize boardSize = board->size();
    const auto covers = [](const QWidget *widget, QSize area) {
        return widget->width() >= area.width() && widget->height() >= area.height();
    };
    const auto siblings = board->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget *sibling : siblings) {
        if (sibling == gadget || sibling->isWindow() || !sibling->isVisible())
            continue;
        if (!covers(sibling, boardSize)) {
            controls << sibling->geometry();
            continue;
        }
        const auto held = sibling->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        for (const QWidget *control : held) {
            if (!control->isWindow() && control->isVisible() && !covers(control, boardSize))
                controls << control->geometry().translated(sibling->pos());
        }
    }
    return controls;
}

} // namespace

QPushButton *makeCornerButton(QWidget *gadget, const QString &iconPath, int dx, int dy)
{
    QPushButton *button = GadgetButton::make(gadget, iconPath);
    button->setProperty(kOffsetProperty, QPoint(dx, dy));
    placeCornerButton(gadget, button);
    return button;
}

void placeCornerButtons(QWidget *gadget)
{
    QVector<QPushButton *> buttons;
    const auto children =
            gadget->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (QPushButton *button : children) {
        if (button->property(kOffsetProperty).isValid())
            buttons << button;
    }
    // The row keeps its place near the board's corner unless something the teacher uses lies
    // there (the recycle bin does): then it goes up, a row at a time, until it is clear.
    const QVector<QRect> controls = boardControls(gadget);
    const auto inTheWay = [&](int lift) {
        for (const QPushButton *button : qAsConst(buttons)) {
            const QRect place = boardPlace(gadget, button, lift)
                                        .adjusted(-kClearance, -kClearance, kClearance, kClearance);
            for (const QRect &control : controls) {
                if (place.intersects(control))
                    return true;
            }
        }
        return false;
    };
    int lift = 0;
    const int highest = gadget->height() / 2 - kRowStep; // the row stays on the board
    while (inTheWay(lift) && lift + kRowStep <= highest)
        lift += kRowStep;
    if (inTheWay(lift))
        lift = 0;
    for (QPushButton *button : qAsConst(buttons))
        placeCornerButton(gadget, button, lift);
}

void startDrag(QWidget *gadget, QMouseEvent *event, QPoint &dragOffset)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragOffset = event->globalPos() - gadget->frameGeometry().topLeft();
    event->accept();
}

bool dragTo(QWidget *gadget, QMouseEvent *event, const QPoint &dragOffset)
{
    if (!(event->buttons() & Qt::LeftButton))
        return false;
    const QPoint target = event->globalPos() - dragOffset;
    gadget->move(qBound(-gadget->width() / 2, target.x(), 0),
                 qBound(-gadget->height() / 2, target.y(), 0));
    placeCornerButtons(gadget);
    event->accept();
    return true;
}

} // namespace BoardGadget
