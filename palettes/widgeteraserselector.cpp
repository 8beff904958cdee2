#include "widgeteraserselector.h"

#include "palettestyle.h"
#include "shell/dmainui.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QVBoxLayout>

class Ui_WidgetEraserSelector
{
public:
    QWidget *widget_4 = nullptr;
    QWidget *widget_2 = nullptr;
    QPushButton *pageeraser = nullptr;
    QPushButton *bitmaperaser = nullptr;
    QPushButton *objecteraser = nullptr;

    void setupUi(QDialog *form)
    {
        form->setObjectName(QStringLiteral("WidgetEraserSelector"));
        form->setFixedSize(60, 120);
        form->setWindowTitle(QCoreApplication::translate("WidgetEraserSelector", "Form"));
        auto *verticalLayout = new QVBoxLayout(form);
        verticalLayout->setSpacing(0);
        verticalLayout->setContentsMargins(5, 0, 5, 0);

        widget_4 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_4"),
                                                   QStringLiteral("label_2"),
                                                   QStringLiteral(":/Icon/menuDecorTop.png"));
        widget_4->setFixedSize(50, 20);
        verticalLayout->addWidget(widget_4);

        auto *widget_3 = new QWidget(form);
        widget_3->setObjectName(QStringLiteral("widget_3"));
        widget_3->setFixedSize(50, 100);
        widget_3->setStyleSheet(
                QStringLiteral("#widget_3{background-color: rgba(58, 58, 58, 240);"
                               "border-bottom-left-radius:3px;border-bottom-right-radius:3px;}"));
        auto *gridLayout = new QVBoxLayout(widget_3);
        gridLayout->setSpacing(0);
        gridLayout->setContentsMargins(5, 5, 5, 5);
        auto *widget_5 = new QWidget(widget_3);
        widget_5->setObjectName(QStringLiteral("widget_5"));
        widget_5->setFixedSize(40, 90);
        auto *verticalLayout_2 = new QVBoxLayout(widget_5);
        verticalLayout_2->setSpacing(10);
        verticalLayout_2->setContentsMargins(0, 0, 0, 0);
        const QSize size(40, 40);
        pageeraser = PaletteStyle::makeIconButton(
                widget_5, "pageeraser", ":/Icon/baClearPage.png", "WidgetEraserSelector",
                QT_TRANSLATE_NOOP("WidgetEraserSelector", "Limpiar página"), size);
        bitmaperaser = PaletteStyle::makeIconButton(
                widget_5, "bitmaperaser", ":/Icon/baExpandEraserBotton.png", "WidgetEraserSelector",
                QT_TRANSLATE_NOOP("WidgetEraserSelector", "Borrador"), size);
        objecteraser = PaletteStyle::makeIconButton(
                widget_5, "objecteraser", ":/Icon/baEraser.png", "WidgetEraserSelector",
                QT_TRANSLATE_NOOP("WidgetEraserSelector", "Borrador de objectos"), size);
        verticalLayout_2->addWidget(pageeraser);
        verticalLayout_2->addWidget(bitmaperaser);
        verticalLayout_2->addWidget(objecteraser);
        gridLayout->addWidget(widget_5);
        verticalLayout->addWidget(widget_3);

        widget_2 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_2"),
                                                   QStringLiteral("label"),
                                                   QStringLiteral(":/Icon/menuDecor.png"));
        widget_2->setFixedSize(50, 20);
        verticalLayout->addWidget(widget_2);

        QMetaObject::connectSlotsByName(form);
    }
};

WidgetEraserSelector::WidgetEraserSelector(QWidget *parent)
    : WidgetMenu(parent), ui(new Ui_WidgetEraserSelector)
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
    // The point eraser stays in the form but is not offered.
    ui->bitmaperaser->hide();
    ui->bitmaperaser->setEnabled(false);
}

WidgetEraserSelector::~WidgetEraserSelector()
{
    delete ui;
}

void WidgetEraserSelector::setTopLabel()
{
    ui->widget_4->show();
    ui->widget_2->hide();
}

void WidgetEraserSelector::setBottonLabel()
{
    ui->widget_4->hide();
    ui->widget_2->show();
}

void WidgetEraserSelector::selectErsButton(QPushButton *button, bool force)
{
    m_mark.select(button, force);
}

QPushButton *WidgetEraserSelector::eraserButton(BtMenus::btType eraser) const
{
    return eraser == BtMenus::btBitmapEraser ? ui->bitmaperaser : ui->objecteraser;
}

void WidgetEraserSelector::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    switch (DMainUi::m_curPenType) {
    case BtMenus::btBitmapEraser:
        selectErsButton(ui->bitmaperaser, false);
        break;
    case BtMenus::btObjectEraser:
        selectErsButton(ui->objecteraser, false);
        break;
    default:
        emit buttonClicked(m_lastEraser);
        selectErsButton(eraserButton(m_lastEraser), true);
        break;
    }
}

void WidgetEraserSelector::on_pageeraser_clicked()
{
    emit buttonClicked(BtMenus::btCleanPage);
}

void WidgetEraserSelector::on_bitmaperaser_clicked()
{
    emit buttonClicked(BtMenus::btBitmapEraser);
    selectErsButton(ui->bitmaperaser, false);
}

void WidgetEraserSelector::on_objecteraser_clicked()
{
    emit buttonClicked(BtMenus::btObjectEraser);
    selectErsButton(ui->objecteraser, false);
}
