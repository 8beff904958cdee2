#include "widgetpenselector.h"

#include "dslidercontrol.h"
#include "palettestyle.h"
#include "shell/dmainui.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct PenKind
{
    BtMenus::btType id;
    const char *objectName; // the button in Ui_WidgetPenSelector
    const char *toolTip; // source text in the context "WidgetPenSelector"
    const char *icon;
    int row;
    int column;
    int alpha; // forced on the pen; -1 keeps the pen's own
    bool disablesLineStyle;
};

// clang-format off
constexpr PenKind kPenKinds[] = {
    { BtMenus::btPencil,      "pencil",      QT_TRANSLATE_NOOP("WidgetPenSelector", "Lápiz"),             ":/Icon/baExpandPenBotton.png",  0, 1, 255, false },
    { BtMenus::btHighlighter, "highlighter", QT_TRANSLATE_NOOP("WidgetPenSelector", "Subrayador"),        ":/Icon/baHighlightPenMini.png", 0, 2, 100, false },
    { BtMenus::btSmartPen,    "smartpen",    QT_TRANSLATE_NOOP("WidgetPenSelector", "Lápiz Inteligente"), ":/Icon/smartpen.png",           1, 1, 255, false },
    { BtMenus::btFountainPen, "fountainpen", QT_TRANSLATE_NOOP("WidgetPenSelector", "Estilográfico"),     ":/Icon/baSoftPenSmall.png",     1, 2,  -1, true },
};

struct LineStyle
{
    Qt::PenStyle style;
    const char *objectName;
    const char *toolTip;
    const char *icon;
};

// In the order of the row.
constexpr LineStyle kLineStyles[] = {
    { Qt::SolidLine,      "solidLine_2",  QT_TRANSLATE_NOOP("WidgetPenSelector", "Línea sólida"),        ":/Icon/baSolidline.png" },
    { Qt::DotLine,        "dotLine_2",    QT_TRANSLATE_NOOP("WidgetPenSelector", "Línea punteada"),      ":/Icon/baDotline.png" },
    { Qt::DashLine,       "cutLine_2",    QT_TRANSLATE_NOOP("WidgetPenSelector", "Línea rayada"),        ":/Icon/baCutline.png" },
    { Qt::DashDotLine,    "cutDotLine_2", QT_TRANSLATE_NOOP("WidgetPenSelector", "Línea punteo-rayada"), ":/Icon/baCutdotline.png" },
};
// clang-format on

const PenKind *penKind(int id)
{
    for (const PenKind &kind : kPenKinds) {
        if (kind.id == id)
            return &kind;
    }
    return nullptr;
}

// Every flat button of this palette is checkable, line styles and pens alike.
QPushButton *makeCheckableButton(QWidget *parent, const char *name, const char *icon,
                                 const char *toolTip, QSize size, QSize iconSize)
{
    QPushButton *button = PaletteStyle::makeFlatButton(parent, name, icon, "WidgetPenSelector",
                                                       toolTip, size, iconSize);
    button->setCheckable(true);
    return button;
}

} // namespace

class Ui_WidgetPenSelector
{
public:
    QWidget *widget_10 = nullptr;
    QWidget *widget_2 = nullptr;
    DSliderControl *horizontalSlider = nullptr;
    QGraphicsView *penexample = nullptr;

    void setupUi(QDialog *form)
    {
        form->setObjectName(QStringLiteral("WidgetPenSelector"));
        form->setFixedSize(310, 230);
        form->setCursor(Qt::ArrowCursor);
        form->setWindowTitle(QCoreApplication::translate("WidgetPenSelector", "Form"));
        auto *verticalLayout_3 = new QVBoxLayout(form);
        verticalLayout_3->setSpacing(0);
        verticalLayout_3->setContentsMargins(5, 0, 5, 0);

        widget_10 = PaletteStyle::makeDecorationRow(
                form, QStringLiteral("widget_10"), QStringLiteral("label_2"),
                QStringLiteral(":/Icon/menuDecorTop.png"), true);
        verticalLayout_3->addWidget(widget_10);

        QWidget *widget_3 = PaletteStyle::makeBox(form, "widget_3", QSize(300, 210));
        widget_3->setStyleSheet(PaletteStyle::panelSheet(QStringLiteral("widget_3")));
        auto *verticalLayout_2 = new QVBoxLayout(widget_3);
        verticalLayout_2->setSpacing(5);
        verticalLayout_2->setContentsMargins(5, 5, 5, 5);

        const PaletteStyle::WidthRow widthRow = PaletteStyle::makeWidthRow(
                widget_3, "widget_5", QSize(290, 30), 30,
                QCoreApplication::translate("WidgetPenSelector", "Grosor de línea"));
        horizontalSlider = widthRow.slider;
        penexample = widthRow.preview;
        verticalLayout_2->addWidget(widthRow.row);

        QWidget *widget_9 = PaletteStyle::makeBox(widget_3, "widget_9", QSize(290, 20));
        widget_9->setCursor(Qt::PointingHandCursor);
        auto *styleRow = new QHBoxLayout(widget_9);
        styleRow->setSpacing(10);
        styleRow->setContentsMargins(0, 0, 0, 0);
        for (const LineStyle &entry : kLineStyles) {
            QPushButton *button = makeCheckableButton(widget_9, entry.objectName, entry.icon,
                                                      entry.toolTip, QSize(65, 20), QSize(60, 15));
            if (entry.style == Qt::SolidLine)
                button->setAcceptDrops(false);
            styleRow->addWidget(button);
        }
        verticalLayout_2->addWidget(widget_9);

        QWidget *widget_4 = PaletteStyle::makeBox(widget_3, "widget_4", QSize(290, 140));
        auto *lowerRow = new QHBoxLayout(widget_4);
        lowerRow->setSpacing(10);
        lowerRow->setContentsMargins(0, 0, 0, 0);
        QWidget *pens = PaletteStyle::makeBox(widget_4, "pens", QSize(140, 140));
        pens->setCursor(Qt::PointingHandCursor);
        auto *gridLayout = new QGridLayout(pens);
        gridLayout->setSpacing(10);
        gridLayout->setContentsMargins(0, 0, 0, 0);
        for (const PenKind &kind : kPenKinds) {
            gridLayout->addWidget(makeCheckableButton(pens, kind.objectName, kind.icon,
                                                      kind.toolTip, QSize(50, 50), QSize(50, 50)),
                                  kind.row, kind.column);
        }
        lowerRow->addWidget(pens);
        QWidget *widget_6 = PaletteStyle::makeColourColumn(
                widget_4, { QSize(140, 140), 5, QSize(43, 24), QSize(140, 115) },
                QCoreApplication::translate("WidgetPenSelector", "Más colores"));
        lowerRow->addWidget(widget_6);
        verticalLayout_2->addWidget(widget_4);
        verticalLayout_3->addWidget(widget_3);

        widget_2 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_2"),
                                                   QStringLiteral("label"),
                                                   QStringLiteral(":/Icon/menuDecor.png"));
        verticalLayout_3->addWidget(widget_2);

        QMetaObject::connectSlotsByName(form);
    }
};

WidgetPenSelector::WidgetPenSelector(QWidget *parent)
    : WidgetMenu(parent),
      ui(new Ui_WidgetPenSelector),
      m_penMark(
              QStringLiteral("QPushButton{background-color: rgb(0, 150, 255);border-radius:3px;}"))
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    m_scene = new QGraphicsScene(this);
    ui->penexample->setScene(m_scene);
    hide();
    button("smartpen")->setEnabled(false);
    m_lastPen = BtMenus::btPencil;
    PaletteStyle::showPenPreview(m_scene, DMainUi::m_pen);
}

WidgetPenSelector::~WidgetPenSelector()
{
    delete ui;
}

QPushButton *WidgetPenSelector::button(const char *name) const
{
    return findChild<QPushButton *>(QLatin1String(name));
}

void WidgetPenSelector::setTopLabel()
{
    ui->widget_10->show();
    ui->widget_2->hide();
}

void WidgetPenSelector::setBottonLabel()
{
    ui->widget_10->hide();
    ui->widget_2->show();
}

void WidgetPenSelector::updateExample()
{
    ui->horizontalSlider->setValue(float(DMainUi::m_pen.width()));
    PaletteStyle::showPenPreview(m_scene, DMainUi::m_pen);
}

void WidgetPenSelector::on_horizontalSlider_valueChanged(int value)
{
    emit widthClicked(value);
    DMainUi::m_pen.setWidth(value);
    updateExample(); // also snaps the knob onto the whole width
}

void WidgetPenSelector::styleChosen(Qt::PenStyle style)
{
    emit styleClicked(style);
    DMainUi::m_pen.setStyle(style);
    for (const LineStyle &entry : kLineStyles) {
        if (entry.style == style)
            selectStyleButton(button(entry.objectName));
    }
    updateExample();
}

void WidgetPenSelector::on_solidLine_2_clicked()
{
    styleChosen(Qt::SolidLine);
}

void WidgetPenSelector::on_dotLine_2_clicked()
{
    styleChosen(Qt::DotLine);
}

void WidgetPenSelector::on_cutLine_2_clicked()
{
    styleChosen(Qt::DashLine);
}

void WidgetPenSelector::on_cutDotLine_2_clicked()
{
    styleChosen(Qt::DashDotLine);
}

void WidgetPenSelector::markStyleOfPen()
{
    // Styles the palette does not offer (no pen at all) leave the mark where it was.
    for (const LineStyle &entry : kLineStyles) {
        if (entry.style == DMainUi::m_pen.style())
            selectStyleButton(button(entry.objectName));
    }
}

void WidgetPenSelector::penKindClicked(BtMenus::btType id)
{
    const PenKind &kind = *penKind(id);
    emit buttonClicked(kind.id);
    // The dispatcher has refreshed DMainUi::m_pen from the view by now.
    disableLineStyle(kind.disablesLineStyle);
    m_lastPen = kind.id;
    if (kind.alpha >= 0) {
        QColor colour = DMainUi::m_pen.color();
        colour.setAlpha(kind.alpha); // highlighter ink lets the writing under it show through
        DMainUi::m_pen.setColor(colour);
    }
    updateExample();
    selectPenButton(button(kind.objectName), false);
    ui->horizontalSlider->setValue(float(DMainUi::m_pen.width()));
    markStyleOfPen();
}

void WidgetPenSelector::on_pencil_clicked()
{
    penKindClicked(BtMenus::btPencil);
}

void WidgetPenSelector::on_highlighter_clicked()
{
    penKindClicked(BtMenus::btHighlighter);
}

void WidgetPenSelector::on_fountainpen_clicked()
{
    penKindClicked(BtMenus::btFountainPen);
}

void WidgetPenSelector::on_smartpen_clicked()
{
    penKindClicked(BtMenus::btSmartPen);
}

void WidgetPenSelector::colorAction(QColor color)
{
    emit colorClicked(color);
    if (DMainUi::m_curPenType == BtMenus::btHighlighter)
        color.setAlpha(100);
    DMainUi::m_pen.setColor(color);
    updateExample();
}

void WidgetPenSelector::on_pushButton_clicked()
{
    const QColor colour = QColorDialog::getColor(DMainUi::m_pen.color(), this);
    if (PaletteStyle::isChosen(colour))
        colorAction(colour);
}

void WidgetPenSelector::swatchClicked(const char *name)
{
    colorAction(PaletteStyle::swatchColourNamed(name));
}

// clang-format off
void WidgetPenSelector::on_redcolor_clicked() { swatchClicked("redcolor"); }
void WidgetPenSelector::on_orangecolor_clicked() { swatchClicked("orangecolor"); }
void WidgetPenSelector::on_yellowcolor_clicked() { swatchClicked("yellowcolor"); }
void WidgetPenSelector::on_pinkcolor_clicked() { swatchClicked("pinkcolor"); }
void WidgetPenSelector::on_greencolor_clicked() { swatchClicked("greencolor"); }
void WidgetPenSelector::on_forestcolor_clicked() { swatchClicked("forestcolor"); }
void WidgetPenSelector::on_purplecolor_clicked() { swatchClicked("purplecolor"); }
void WidgetPenSelector::on_skycolor_clicked() { swatchClicked("skycolor"); }
void WidgetPenSelector::on_bluecolor_clicked() { swatchClicked("bluecolor"); }
void WidgetPenSelector::on_blackcolor_clicked() { swatchClicked("blackcolor"); }
void WidgetPenSelector::on_greycolor_clicked() { swatchClicked("greycolor"); }
void WidgetPenSelector::on_whitecolor_clicked() { swatchClicked("whitecolor"); }
// clang-format on

void WidgetPenSelector::selectPenButton(QPushButton *button, bool force)
{
    m_penMark.select(button, force);
}

void WidgetPenSelector::selectStyleButton(QPushButton *button)
{
    m_styleMark.select(button);
}

void WidgetPenSelector::disableLineStyle(bool disabled)
{
    ui->horizontalSlider->setEnabled(!disabled);
    for (const LineStyle &entry : kLineStyles)
        button(entry.objectName)->setEnabled(!disabled);
}

void WidgetPenSelector::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    ui->horizontalSlider->setValue(float(DMainUi::m_pen.width()));
    markStyleOfPen();
    if (const PenKind *active = penKind(DMainUi::m_curPenType)) {
        m_lastPen = active->id;
        disableLineStyle(active->disablesLineStyle);
        selectPenButton(button(active->objectName), false);
        return;
    }
    // Opening the pen palette means drawing: bring back the pen chosen here last.
    emit buttonClicked(m_lastPen);
    const PenKind &last = *penKind(m_lastPen);
    disableLineStyle(last.disablesLineStyle);
    selectPenButton(button(last.objectName), true);
}
