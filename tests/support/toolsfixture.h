#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QVector>

class QImage;
class QWidget;

namespace ToolsFixture {

// A drag on a widget that moves under the pointer (a gadget dragged by its body, a handle that
// follows its edge): each event's global position follows the pointer's path from the press,
// and its local position is taken from wherever the widget is at that moment.
void dragMoving(QWidget *widget, QPoint pressAt, const QVector<QPoint> &steps,
                Qt::MouseButton button = Qt::LeftButton);

// The pixel at point of image, as an opaque colour.
QColor pixel(const QImage &image, QPoint point);
// True when the two colours differ by at most tolerance in each channel.
bool near(const QColor &a, const QColor &b, int tolerance = 2);

// Saves a picture for a person to look at when VELTORINA_SHOTS names a folder; else nothing.
void saveShot(const QImage &image, const QString &name);

} // namespace ToolsFixture
