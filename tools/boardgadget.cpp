#include "boardgadget.h"

#include "gadgetbutton.h"

#include <QMouseEvent>
#include <QPushButton>

namespace BoardGadget {

namespace {

// A button remembers its distance from the board's bottom-right corner.
constexpr char kOffsetProperty[] = "veltorinaCornerOffset";

void placeCornerButton(QWidget *gadget, QPushButton *button)
{
    const QPoint offset = button->property(kOffsetProperty).toPoint();
    button->move(gadget->width() / 2 - offset.x() - gadget->x(),
                 gadget->height() / 2 - offset.y() - gadget->y());
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
    const auto buttons = gadget->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (QPushButton *button : buttons) {
        if (button->property(kOffsetProperty).isValid())
            placeCornerButton(gadget, button);
    }
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
