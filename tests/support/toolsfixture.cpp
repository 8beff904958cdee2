#include "toolsfixture.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace ToolsFixture {

namespace {
void send(QWidget *widget, QEvent::Type type, QPoint global, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    const QPoint local = widget->mapFromGlobal(global);
    QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
} // namespace

void dragMoving(QWidget *widget, QPoint pressAt, const QVector<QPoint> &steps,
                Qt::MouseButton button)
{
    const QPoint start = widget->mapToGlobal(pressAt);
    send(widget, QEvent::MouseButtonPress, start, button, button);
    QPoint global = start;
    for (const QPoint &step : steps) {
        global = start + step;
        send(widget, QEvent::MouseMove, global, Qt::NoButton, button);
    }
    send(widget, QEvent::MouseButtonRelease, global, button, Qt::NoButton);
}

QColor pixel(const QImage &image, QPoint point)
{
    QColor colour = image.pixelColor(point);
    colour.setAlpha(255);
    return colour;
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
            && qAbs(a.blue() - b.blue()) <= tolerance;
}

void saveShot(const QImage &image, const QString &name)
{
    const QString folder = qEnvironmentVariable("VELTORINA_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    image.save(QDir(folder).filePath(name + QLatin1String(".png")));
}

} // namespace ToolsFixture
