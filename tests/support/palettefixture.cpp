#include "palettefixture.h"

#include "testsupport.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QMetaMethod>
#include <QPainter>
#include <QTest>
#include <QWidget>

namespace PaletteFixture {

QStringList slotsWithoutButton(const QWidget *widget, int *count)
{
    const QMetaObject *meta = widget->metaObject();
    QStringList missing;
    int found = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QByteArray name = meta->method(i).name();
        if (!name.startsWith("on_") || !name.endsWith("_clicked"))
            continue;
        ++found;
        const QString object = QString::fromLatin1(name.mid(3, name.size() - 3 - 8));
        if (!widget->findChild<QAbstractButton *>(object))
            missing << object;
    }
    if (count)
        *count = found;
    return missing;
}

QStringList visibleButtons(const QWidget *palette)
{
    QStringList names;
    for (QAbstractButton *button : palette->findChildren<QAbstractButton *>()) {
        if (button->isVisibleTo(palette))
            names << button->objectName();
    }
    return names;
}

bool click(QWidget *palette, const QString &name)
{
    auto *button = palette->findChild<QAbstractButton *>(name);
    if (!QTest::qVerify(button != nullptr, "button exists", qPrintable(name), __FILE__, __LINE__))
        return false;
    if (!QTest::qVerify(button->isVisible() && button->isEnabled(), "button can be clicked",
                        qPrintable(name), __FILE__, __LINE__))
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

QImage grab(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QColor drawnBackground(QWidget *button)
{
    button->ensurePolished();
    const QImage image = grab(button);
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

QPen previewPen(const QGraphicsScene *scene)
{
    const auto items = scene->items();
    auto *line =
            items.size() == 1 ? qgraphicsitem_cast<QGraphicsLineItem *>(items.first()) : nullptr;
    return line ? line->pen() : QPen(Qt::NoPen);
}

std::shared_ptr<bool> cancelColourDialog(QColor *initial)
{
    return TestSupport::answerNextModal([initial](QWidget *dialog) {
        auto *colours = qobject_cast<QColorDialog *>(dialog);
        *initial = colours->currentColor();
        colours->reject();
    });
}

std::shared_ptr<bool> chooseColour(const QColor &colour)
{
    return TestSupport::answerNextModal([colour](QWidget *dialog) {
        auto *colours = qobject_cast<QColorDialog *>(dialog);
        colours->setCurrentColor(colour);
        colours->accept();
    });
}

} // namespace PaletteFixture
