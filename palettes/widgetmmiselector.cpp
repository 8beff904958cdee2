#include "widgetmmiselector.h"

#include "palettestyle.h"
#include "shell/dmainui.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct InsertButton
{
    const char *objectName;
    int row;
    int column;
    const char *icon;
    const char *toolTip; // source text in the context "WidgetMMISelector"
};

// clang-format off
constexpr InsertButton kInsertButtons[] = {
    { "image", 0, 0, ":/Icon/baExpandInsertFromFileBotton.png", QT_TRANSLATE_NOOP("WidgetMMISelector", "Imágen") },
    { "pdf",   0, 2, ":/Icon/pdf.png",                          QT_TRANSLATE_NOOP("WidgetMMISelector", "Pdf") },
    { "video", 0, 3, ":/Icon/video.png",                        QT_TRANSLATE_NOOP("WidgetMMISelector", "Abrir Vídeo") },
    { "sound", 1, 0, ":/Icon/sound.png",                        QT_TRANSLATE_NOOP("WidgetMMISelector", "Audio") },
    { "text",  1, 2, ":/Icon/text.png",                         QT_TRANSLATE_NOOP("WidgetMMISelector", "Texto") },
    { "table", 1, 3, ":/Icon/table.png",                        QT_TRANSLATE_NOOP("WidgetMMISelector", "Tabla") },
};
// clang-format on

} // namespace

class Ui_WidgetMMISelector
{
public:
    QWidget *widget_4 = nullptr;
    QWidget *widget_2 = nullptr;

    void setupUi(QDialog *form)
    {
        form->setObjectName(QStringLiteral("WidgetMMISelector"));
        form->resize(138, 140);
        form->setMinimumSize(138, 120);
        form->setMaximumSize(145, 140);
        form->setWindowTitle(QCoreApplication::translate("WidgetMMISelector", "Form"));
        auto *verticalLayout = new QVBoxLayout(form);
        verticalLayout->setSpacing(0);
        verticalLayout->setContentsMargins(5, 0, 5, 0);

        widget_4 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_4"),
                                                   QStringLiteral("label_2"),
                                                   QStringLiteral(":/Icon/menuDecorTop.png"), true);
        verticalLayout->addWidget(widget_4);

        auto *widget_3 = new QWidget(form);
        widget_3->setObjectName(QStringLiteral("widget_3"));
        widget_3->setMinimumSize(134, 100);
        widget_3->setMaximumSize(141, 100);
        widget_3->setStyleSheet(PaletteStyle::panelSheet(QStringLiteral("widget_3")));
        auto *gridLayout_4 = new QGridLayout(widget_3);
        gridLayout_4->setSpacing(0);
        gridLayout_4->setContentsMargins(5, 5, 5, 5);
        auto *widget_5 = new QWidget(widget_3);
        widget_5->setObjectName(QStringLiteral("widget_5"));
        widget_5->setMinimumSize(125, 90);
        widget_5->setMaximumSize(126, 90);
        auto *gridLayout = new QGridLayout(widget_5);
        gridLayout->setHorizontalSpacing(0);
        gridLayout->setVerticalSpacing(10);
        gridLayout->setContentsMargins(0, 0, 0, 0);
        for (const InsertButton &entry : kInsertButtons) {
            gridLayout->addWidget(PaletteStyle::makeIconButton(widget_5, entry.objectName,
                                                               entry.icon, "WidgetMMISelector",
                                                               entry.toolTip, QSize(40, 40)),
                                  entry.row, entry.column);
        }
        gridLayout_4->addWidget(widget_5);
        verticalLayout->addWidget(widget_3);

        widget_2 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_2"),
                                                   QStringLiteral("label"),
                                                   QStringLiteral(":/Icon/menuDecor.png"), true);
        verticalLayout->addWidget(widget_2);

        QMetaObject::connectSlotsByName(form);
    }
};

WidgetMMISelector::WidgetMMISelector(QWidget *parent)
    : WidgetMenu(parent), ui(new Ui_WidgetMMISelector)
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

WidgetMMISelector::~WidgetMMISelector()
{
    delete ui;
}

void WidgetMMISelector::setTopLabel()
{
    ui->widget_4->show();
    ui->widget_2->hide();
}

void WidgetMMISelector::setBottonLabel()
{
    ui->widget_4->hide();
    ui->widget_2->show();
}

void WidgetMMISelector::selectMMIButton(QPushButton *button)
{
    m_mark.select(button);
}

void WidgetMMISelector::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Only the tools that stay active keep a mark; a PDF insertion is over once it is done.
    switch (DMainUi::m_curPenType) {
    case BtMenus::btTable:
    case BtMenus::btTableTool:
        selectMMIButton(findChild<QPushButton *>(QStringLiteral("table")));
        break;
    case BtMenus::btText:
        selectMMIButton(findChild<QPushButton *>(QStringLiteral("text")));
        break;
    default:
        selectMMIButton(nullptr);
        break;
    }
}

void WidgetMMISelector::emitAndHide(BtMenus::btType command, QPushButton *markedButton)
{
    emit buttonClicked(command);
    if (markedButton)
        selectMMIButton(markedButton);
    hide();
}

void WidgetMMISelector::on_image_clicked()
{
    emitAndHide(BtMenus::btImage);
}

void WidgetMMISelector::on_video_clicked()
{
    emitAndHide(BtMenus::btVideo);
}

void WidgetMMISelector::on_sound_clicked()
{
    emitAndHide(BtMenus::btSound);
}

void WidgetMMISelector::on_text_clicked()
{
    emitAndHide(BtMenus::btText, findChild<QPushButton *>(QStringLiteral("text")));
}

void WidgetMMISelector::on_table_clicked()
{
    emitAndHide(BtMenus::btTable, findChild<QPushButton *>(QStringLiteral("table")));
}

void WidgetMMISelector::on_pdf_clicked()
{
    emitAndHide(BtMenus::btPdf, findChild<QPushButton *>(QStringLiteral("pdf")));
}
