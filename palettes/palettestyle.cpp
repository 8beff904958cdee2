#include "palettestyle.h"

#include "dslidercontrol.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

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

QWidget *makeBox(QWidget *parent, const char *name, QSize size)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QLatin1String(name));
    if (size.isValid())
        box->setFixedSize(size);
    return box;
}

QFrame *makeLine(QWidget *parent, const char *name, QFrame::Shape shape, const QString &sheet)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    if (!sheet.isEmpty())
        line->setStyleSheet(sheet);
    return line;
}

QString flatButtonSheet(const QString &objectName)
{
    return QStringLiteral("#%1{background-color: rgba(58, 58, 58, 0);border-radius:3px;}"
                          "#%1:hover{background-color: rgb(210, 210, 210);border-radius:3px;}")
            .arg(objectName);
}

QPushButton *makeFlatButton(QWidget *parent, const char *objectName, const char *icon,
                            const char *context, const char *toolTip, QSize size, QSize iconSize)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setFixedSize(size);
    button->setIconSize(iconSize);
    button->setIcon(QIcon(QLatin1String(icon)));
    button->setStyleSheet(flatButtonSheet(QLatin1String(objectName)));
    button->setToolTip(QCoreApplication::translate(context, toolTip));
    return button;
}

WidthRow makeWidthRow(QWidget *parent, const char *rowName, QSize rowSize, int previewHeight,
                      const QString &sliderToolTip)
{
    QWidget *row = makeBox(parent, rowName, rowSize);
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setSpacing(10);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    auto *slider = new DSliderControl(row);
    slider->setObjectName(QStringLiteral("horizontalSlider"));
    slider->setFixedHeight(30);
    slider->setToolTip(sliderToolTip);
    rowLayout->addWidget(slider);
    QWidget *widget_17 = makeBox(row, "widget_17", QSize(80, previewHeight));
    widget_17->setStyleSheet(
            QStringLiteral("#widget_17{background-color: white;border-radius:3px;}"));
    auto *previewLayout = new QGridLayout(widget_17);
    previewLayout->setSpacing(0);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    auto *preview = new QGraphicsView(widget_17);
    preview->setObjectName(QStringLiteral("penexample"));
    preview->setFixedSize(80, previewHeight);
    preview->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    preview->setStyleSheet(QStringLiteral("background-color: white;border-radius:10px;"));
    preview->setFrameShape(QFrame::NoFrame);
    preview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    preview->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContentsOnFirstShow);
    preview->setInteractive(false);
    preview->setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    previewLayout->addWidget(preview);
    rowLayout->addWidget(widget_17);
    return { row, slider, preview };
}

void showPenPreview(QGraphicsScene *scene, const QPen &pen)
{
    scene->clear();
    scene->addLine(15, 0, 55, 0, pen);
}

QWidget *makeColourColumn(QWidget *parent, const ColourColumnLook &look,
                          const QString &moreColoursText)
{
    QWidget *widget_6 = makeBox(parent, "widget_6", look.column);
    auto *column = new QVBoxLayout(widget_6);
    column->setSpacing(look.spacing);
    column->setContentsMargins(0, 0, 0, 0);
    QWidget *widget_7 = makeSwatchGrid(widget_6, QStringLiteral("widget_7"), QString(), look.swatch,
                                       look.spacing);
    widget_7->setFixedSize(look.grid);
    column->addWidget(widget_7);
    QWidget *widget_8 = makeBox(widget_6, "widget_8", QSize(140, 24));
    auto *moreLayout = new QGridLayout(widget_8);
    moreLayout->setSpacing(0);
    moreLayout->setContentsMargins(0, 0, 0, 0);
    auto *pushButton = new QPushButton(widget_8);
    pushButton->setObjectName(QStringLiteral("pushButton"));
    pushButton->setText(moreColoursText);
    moreLayout->addWidget(pushButton);
    column->addWidget(widget_8);
    return widget_6;
}

} // namespace PaletteStyle
