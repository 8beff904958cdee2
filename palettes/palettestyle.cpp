#include "palettestyle.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace PaletteStyle {

const Swatch *swatchNamed(const QString &name)
{
    QString base = name;
    if (base.endsWith(QLatin1String("_2")))
        base.chop(2);
    for (const Swatch &swatch : kSwatches) {
        if (base == QLatin1String(swatch.objectName))
            return &swatch;
    }
    return nullptr;
}

QString swatchSheet(const QColor &colour)
{
    return QStringLiteral("QPushButton{background-color: rgb(%1, %2, %3);border-radius:3px;}"
                          "QPushButton:hover{border:3px solid rgb(210, 210, 210);"
                          "border-radius:3px;}")
            .arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue());
}

QString markSheet(const char *selector)
{
    const QString name = QLatin1String(selector);
    return QStringLiteral("%1{background-color: rgba(0, 150, 255, 255);border-radius:3px;}"
                          "%1:hover{background-color: rgb(210, 210, 210);border-radius:3px;}")
            .arg(name);
}

QString commandButtonSheet()
{
    return QStringLiteral(
            "QPushButton{background-color: rgb(180, 180, 180);border-radius:3px;}"
            "QPushButton:hover{background-color: rgb(210, 210, 210);border-radius:3px;}");
}

QPushButton *makeIconButton(QWidget *parent, const char *objectName, const char *icon,
                            const char *context, const char *toolTip, QSize size)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setFixedSize(size);
    button->setIconSize(size);
    button->setIcon(QIcon(QLatin1String(icon)));
    button->setStyleSheet(commandButtonSheet());
    button->setToolTip(QCoreApplication::translate(context, toolTip));
    return button;
}

QString panelSheet(const QString &objectName)
{
    return QStringLiteral("#%1{background-color: rgba(58, 58, 58, 240);border-radius:3px;}")
            .arg(objectName);
}

QWidget *makeSwatchGrid(QWidget *parent, const QString &gridName, const QString &suffix,
                        QSize swatchSize, int spacing)
{
    auto *grid = new QWidget(parent);
    grid->setObjectName(gridName);
    auto *layout = new QGridLayout(grid);
    layout->setSpacing(spacing);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const Swatch &swatch : kSwatches) {
        auto *button = new QPushButton(grid);
        button->setObjectName(QLatin1String(swatch.objectName) + suffix);
        button->setFixedSize(swatchSize);
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(swatchSheet(swatchColour(swatch)));
        layout->addWidget(button, swatch.row, swatch.column);
    }
    return grid;
}

QWidget *makeDecorationRow(QWidget *parent, const QString &rowName, const QString &labelName,
                           const QString &pixmap, bool fixedHeight)
{
    auto *row = new QWidget(parent);
    row->setObjectName(rowName);
    if (fixedHeight)
        row->setFixedHeight(20);
    else
        row->setMaximumHeight(20);
    auto *layout = new QHBoxLayout(row);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    if (!labelName.isEmpty()) {
        auto *label = new QLabel(row);
        label->setObjectName(labelName);
        label->setMaximumWidth(50);
        label->setPixmap(QPixmap(pixmap));
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    return row;
}

} // namespace PaletteStyle
