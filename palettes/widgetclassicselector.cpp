#include "widgetclassicselector.h"

#include "palettestyle.h"
#include "shell/dmainui.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum StepKind { Width, Alpha };

struct StepButton
{
    const char *objectName;
    StepKind kind;
    int value; // a width in pixels, or an alpha from 0 to 255
    const char *text;
    const char *icon; // null: none
    bool fixedSize; // otherwise only at least 30 x 30
};

// clang-format off
constexpr StepButton kStepButtons[] = {
    { "width_1",  Width,   1, "1",  nullptr,                                  true },
    { "width_2",  Width,   3, "3",  nullptr,                                  true },
    { "width_3",  Width,   5, "5",  nullptr,                                  true },
    { "width_4",  Width,   9, "9",  nullptr,                                  true },
    { "width_5",  Width,  15, "15", nullptr,                                  false },
    { "width_6",  Width,  20, "20", nullptr,                                  false },
    { "width_7",  Alpha, 100, "",   ":/oldIcon/setTransparency.png",          true },
    { "width_8",  Alpha,  80, "",   ":/oldIcon/setTransparency80.png",        true },
    { "width_9",  Alpha,  60, "",   ":/oldIcon/setTransparency60.png",        true },
    { "width_10", Alpha,  40, "",   ":/oldIcon/setTransparency40.png",        true },
    { "width_11", Alpha,  20, "",   ":/oldIcon/setTransparency20.png",        false },
    { "width_12", Alpha,   0, "",   nullptr,                                  false },
};

struct StyleButton
{
    Qt::PenStyle style;
    const char *objectName;
    const char *icon;
    const char *toolTip; // source text in the context "WidgetClassicSelector"
};

constexpr StyleButton kStyleButtons[] = {
    { Qt::DashDotLine, "cutDotLine_2", ":/Icon/baCutdotline.png", QT_TRANSLATE_NOOP("WidgetClassicSelector", "Línea punteo-rayada") },
    { Qt::DashLine,    "cutLine_2",    ":/Icon/baCutline.png",    QT_TRANSLATE_NOOP("WidgetClassicSelector", "Línea rayada") },
    { Qt::DotLine,     "dotLine_2",    ":/Icon/baDotline.png",    QT_TRANSLATE_NOOP("WidgetClassicSelector", "Línea punteada") },
    { Qt::SolidLine,   "solidLine_2",  ":/Icon/baSolidline.png",  QT_TRANSLATE_NOOP("WidgetClassicSelector", "Línea sólida") },
};
// clang-format on

const QString kMoreColoursSheet = QStringLiteral(
        "QPushButton{background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1, "
        "stop:0 rgba(255, 255, 255, 204), stop:0.33 rgba(170, 200, 236, 255), "
        "stop:0.67 rgba(170, 200, 236, 255), stop:1 rgba(255, 255, 255, 204));"
        "border:1px solid rgb(70, 136, 236);border-radius:3px;}");

// Group titles arrive as marked source texts (QT_TRANSLATE_NOOP in this context).
QString tr(const char *text)
{
    return QCoreApplication::translate("WidgetClassicSelector", text);
}

QFrame *makeLine(QWidget *parent, const char *name, QFrame::Shape shape)
{
    return PaletteStyle::makeLine(parent, name, shape,
                                  QStringLiteral("background-color: rgba(127, 127, 127, 50);"));
}

// A group: title, sunken line, then its controls.
QVBoxLayout *makeGroup(QWidget *group, const char *label, const char *title, const char *line)
{
    auto *layout = new QVBoxLayout(group);
    layout->setSpacing(5);
    auto *caption = new QLabel(tr(title), group);
    caption->setObjectName(QLatin1String(label));
    layout->addWidget(caption);
    layout->addWidget(makeLine(group, line, QFrame::HLine));
    return layout;
}

QWidget *makePage(QWidget *parent, const char *name, QSize size)
{
    QWidget *page = PaletteStyle::makeBox(parent, name, size);
    page->setStyleSheet(QStringLiteral("#%1{background-color: rgb(207, 222, 238);"
                                       "border-radius:5px;}")
                                .arg(QLatin1String(name)));
    return page;
}

QPushButton *makeMoreColours(QWidget *parent, const char *boxName, const char *buttonName,
                             QVBoxLayout *layout)
{
    QWidget *box = PaletteStyle::makeBox(parent, boxName, QSize(140, 24));
    auto *boxLayout = new QHBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    auto *button = new QPushButton(
            QCoreApplication::translate("WidgetClassicSelector", "Más colores"), box);
    button->setObjectName(QLatin1String(buttonName));
    button->setStyleSheet(kMoreColoursSheet);
    boxLayout->addWidget(button);
    layout->addWidget(box);
    return button;
}

} // namespace

class Ui_WidgetClassicSelector
{
    Q_DECLARE_TR_FUNCTIONS(WidgetClassicSelector)

public:
    QWidget *widget = nullptr; // colour page
    QWidget *widget_2 = nullptr; // line style page
    QWidget *widget_3 = nullptr; // width page
    QWidget *widget_5 = nullptr; // transparency page
    QWidget *widget_6 = nullptr; // pen colours

    void setupUi(QDialog *form)
    {
        form->setObjectName(QStringLiteral("WidgetClassicSelector"));
        form->setFixedSize(890, 175);
        form->setWindowTitle(tr("Form"));
        auto *pages = new QHBoxLayout(form);
        pages->setSpacing(0);
        pages->setContentsMargins(0, 0, 0, 0);

        widget = makePage(form, "widget", QSize(300, 175));
        auto *colourLayout = new QHBoxLayout(widget);
        colourLayout->setSpacing(5);
        colourLayout->setContentsMargins(5, 5, 5, 5);
        widget_6 = PaletteStyle::makeBox(widget, "widget_6", QSize(140, 165));
        QVBoxLayout *penGroup =
                makeGroup(widget_6, "label_3",
                          QT_TRANSLATE_NOOP("WidgetClassicSelector", "Color de Pincel"), "line");
        penGroup->setContentsMargins(0, 0, 0, 0);
        penGroup->addWidget(PaletteStyle::makeSwatchGrid(widget_6, QStringLiteral("widget_7"),
                                                         QString(), QSize(43, 24), 5));
        makeMoreColours(widget_6, "widget_8", "pushButton", penGroup);
        QWidget *widget_9 = PaletteStyle::makeBox(widget, "widget_9", QSize(140, 165));
        QVBoxLayout *backGroup =
                makeGroup(widget_9, "label_2",
                          QT_TRANSLATE_NOOP("WidgetClassicSelector", "Color de Fondo"), "line_2");
        backGroup->setContentsMargins(0, 0, 0, 0);
        backGroup->addWidget(PaletteStyle::makeSwatchGrid(widget_9, QStringLiteral("widget_10"),
                                                          QStringLiteral("_2"), QSize(43, 24), 5));
        makeMoreColours(widget_9, "widget_11", "pushButton_2", backGroup);
        colourLayout->addWidget(widget_6);
        colourLayout->addWidget(makeLine(widget, "line_3", QFrame::VLine));
        colourLayout->addWidget(widget_9);
        pages->addWidget(widget);

        widget_2 = makePage(form, "widget_2", QSize(140, 175));
        QVBoxLayout *styleGroup =
                makeGroup(widget_2, "label_4",
                          QT_TRANSLATE_NOOP("WidgetClassicSelector", "Estilo de línea"), "line_4");
        styleGroup->setContentsMargins(5, 5, 5, 5);
        QWidget *widget_12 = PaletteStyle::makeBox(widget_2, "widget_12", QSize(130, 140));
        widget_12->setCursor(Qt::PointingHandCursor);
        auto *styles = new QVBoxLayout(widget_12);
        styles->setSpacing(10);
        styles->setContentsMargins(0, 0, 0, 0);
        for (const StyleButton &entry : kStyleButtons) {
            auto *button = new QPushButton(widget_12);
            button->setObjectName(QLatin1String(entry.objectName));
            button->setCheckable(true);
            button->setFixedSize(130, 27);
            button->setIconSize(QSize(60, 15));
            button->setIcon(QIcon(QLatin1String(entry.icon)));
            button->setToolTip(tr(entry.toolTip));
            button->setStyleSheet(QStringLiteral(
                    "QPushButton{background-color: rgba(58, 58, 58, 0);border-radius:3px;}"
                    "QPushButton:hover{background-color: rgb(210, 210, 210);}"));
            styles->addWidget(button);
        }
        styleGroup->addWidget(widget_12);
        pages->addWidget(widget_2);

        widget_3 = makeStepPage(form, "widget_3", "label_5",
                                QT_TRANSLATE_NOOP("WidgetClassicSelector", "Grosor de línea"),
                                "line_5", "widget_4", Width);
        pages->addWidget(widget_3);
        widget_5 =
                makeStepPage(form, "widget_5", "label_6",
                             QT_TRANSLATE_NOOP("WidgetClassicSelector", "Transparencia de línea"),
                             "line_6", "widget_13", Alpha);
        pages->addWidget(widget_5);

        QMetaObject::connectSlotsByName(form);
    }

private:
    static QWidget *makeStepPage(QWidget *form, const char *name, const char *label,
                                 const char *title, const char *line, const char *rowName,
                                 StepKind kind)
    {
        QWidget *page = makePage(form, name, QSize(225, 100));
        QVBoxLayout *group = makeGroup(page, label, title, line);
        group->setContentsMargins(5, 5, 5, 5);
        QWidget *row = PaletteStyle::makeBox(page, rowName, QSize(215, 60));
        auto *rowLayout = new QHBoxLayout(row);
        rowLayout->setSpacing(5);
        rowLayout->setContentsMargins(5, 5, 5, 5);
        for (const StepButton &entry : kStepButtons) {
            if (entry.kind != kind)
                continue;
            auto *button = new QToolButton(row);
            button->setObjectName(QLatin1String(entry.objectName));
            if (entry.fixedSize)
                button->setFixedSize(30, 30);
            else
                button->setMinimumSize(30, 30);
            button->setText(QLatin1String(entry.text));
            if (entry.icon) {
                button->setIcon(QIcon(QLatin1String(entry.icon)));
                button->setIconSize(QSize(30, 30));
            }
            button->setStyleSheet(QStringLiteral(
                    "QToolButton{background-color: rgb(240, 240, 240);border-radius:3px;}"
                    "QToolButton:hover{border:3px solid rgb(210, 210, 210);border-radius:3px;}"));
            rowLayout->addWidget(button);
        }
        group->addWidget(row);
        return page;
    }
};

WidgetClassicSelector::WidgetClassicSelector(QWidget *parent)
    : WidgetMenu(parent), ui(new Ui_WidgetClassicSelector)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

WidgetClassicSelector::~WidgetClassicSelector()
{
    delete ui;
}

void WidgetClassicSelector::showPage(QSize size, int page)
{
    setMinimumWidth(size.width());
    setMaximumWidth(size.width());
    setMinimumHeight(size.height());
    setMaximumHeight(size.height());
    ui->widget->setVisible(page == ClassicPageColor);
    ui->widget_2->setVisible(page == ClassicPageStyle);
    ui->widget_3->setVisible(page == ClassicPageWidth);
    ui->widget_5->setVisible(page == ClassicPageTrans);
    m_page = page;
}

void WidgetClassicSelector::showColorMenu()
{
    showPage(QSize(300, 175), ClassicPageColor);
}

void WidgetClassicSelector::showWidthMenu()
{
    showPage(QSize(225, 100), ClassicPageWidth);
}

void WidgetClassicSelector::showTransMenu()
{
    showPage(QSize(225, 100), ClassicPageTrans);
}

void WidgetClassicSelector::showStyleMenu()
{
    showPage(QSize(140, 175), ClassicPageStyle);
}

void WidgetClassicSelector::disablePenColor(bool disabled)
{
    ui->widget_6->setDisabled(disabled);
}

WidgetClassicSelector::Route WidgetClassicSelector::route()
{
    const int tool = DMainUi::m_curPenType;
    if (tool == BtMenus::btPencil || tool == BtMenus::btHighlighter
        || tool == BtMenus::btFountainPen)
        return RoutePen;
    if (tool >= BtMenus::btLine && tool <= BtMenus::btFill)
        return RouteShape;
    return RouteNone;
}

void WidgetClassicSelector::colorAction(QColor color)
{
    switch (route()) {
    case RoutePen:
        emit colorClicked(color);
        if (DMainUi::m_curPenType == BtMenus::btHighlighter)
            color.setAlpha(100); // highlighter ink lets the writing under it show through
        DMainUi::m_pen.setColor(color);
        break;
    case RouteShape:
        emit shapeClicked(color);
        DMainUi::m_penShape.setColor(color);
        break;
    case RouteNone:
        break;
    }
}

void WidgetClassicSelector::transAction(int alpha)
{
    switch (route()) {
    case RoutePen: {
        QColor colour = DMainUi::m_pen.color();
        colour.setAlpha(alpha);
        emit colorClicked(colour);
        DMainUi::m_pen.setColor(colour);
        break;
    }
    case RouteShape: {
        QColor colour = DMainUi::m_penShape.color();
        colour.setAlpha(alpha);
        emit shapeClicked(colour);
        DMainUi::m_penShape.setColor(colour);
        break;
    }
    case RouteNone:
        break;
    }
}

void WidgetClassicSelector::widthAction(int width)
{
    switch (route()) {
    case RoutePen:
        emit widthClicked(width);
        DMainUi::m_pen.setWidth(width);
        break;
    case RouteShape:
        emit shapeWidthClicked(width);
        DMainUi::m_penShape.setWidth(width);
        break;
    case RouteNone:
        break;
    }
}

void WidgetClassicSelector::styleAction(Qt::PenStyle style)
{
    switch (route()) {
    case RoutePen:
        emit styleClicked(style);
        DMainUi::m_pen.setStyle(style);
        break;
    case RouteShape:
        emit shapeStyleClicked(style);
        DMainUi::m_penShape.setStyle(style);
        break;
    case RouteNone:
        break;
    }
}

void WidgetClassicSelector::selectTransButton(QToolButton *button)
{
    m_transMark.select(button);
}

void WidgetClassicSelector::selectWidthButton(QToolButton *button)
{
    m_widthMark.select(button);
}

void WidgetClassicSelector::selectStyleButton(QPushButton *button)
{
    m_styleMark.select(button);
}

void WidgetClassicSelector::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Marks follow the pen alone, whatever the tool.
    QToolButton *trans = nullptr;
    QToolButton *width = nullptr;
    for (const StepButton &entry : kStepButtons) {
        auto *button = findChild<QToolButton *>(QLatin1String(entry.objectName));
        if (entry.kind == Alpha && entry.value == DMainUi::m_pen.color().alpha())
            trans = button;
        if (entry.kind == Width && entry.value == DMainUi::m_pen.width())
            width = button;
    }
    selectTransButton(trans);
    selectWidthButton(width);
    for (const StyleButton &entry : kStyleButtons) {
        if (entry.style == DMainUi::m_pen.style())
            selectStyleButton(findChild<QPushButton *>(QLatin1String(entry.objectName)));
    }
}

void WidgetClassicSelector::penColourSwatch(const char *name)
{
    colorAction(PaletteStyle::swatchColourNamed(name));
}

void WidgetClassicSelector::backgroundSwatch(const char *name)
{
    emit bckClicked(PaletteStyle::swatchColourNamed(name));
}

// clang-format off
void WidgetClassicSelector::on_redcolor_clicked() { penColourSwatch("redcolor"); }
void WidgetClassicSelector::on_orangecolor_clicked() { penColourSwatch("orangecolor"); }
void WidgetClassicSelector::on_yellowcolor_clicked() { penColourSwatch("yellowcolor"); }
void WidgetClassicSelector::on_pinkcolor_clicked() { penColourSwatch("pinkcolor"); }
void WidgetClassicSelector::on_greencolor_clicked() { penColourSwatch("greencolor"); }
void WidgetClassicSelector::on_forestcolor_clicked() { penColourSwatch("forestcolor"); }
void WidgetClassicSelector::on_purplecolor_clicked() { penColourSwatch("purplecolor"); }
void WidgetClassicSelector::on_skycolor_clicked() { penColourSwatch("skycolor"); }
void WidgetClassicSelector::on_bluecolor_clicked() { penColourSwatch("bluecolor"); }
void WidgetClassicSelector::on_blackcolor_clicked() { penColourSwatch("blackcolor"); }
void WidgetClassicSelector::on_greycolor_clicked() { penColourSwatch("greycolor"); }
void WidgetClassicSelector::on_whitecolor_clicked() { penColourSwatch("whitecolor"); }
void WidgetClassicSelector::on_redcolor_2_clicked() { backgroundSwatch("redcolor"); }
void WidgetClassicSelector::on_orangecolor_2_clicked() { backgroundSwatch("orangecolor"); }
void WidgetClassicSelector::on_yellowcolor_2_clicked() { backgroundSwatch("yellowcolor"); }
void WidgetClassicSelector::on_pinkcolor_2_clicked() { backgroundSwatch("pinkcolor"); }
void WidgetClassicSelector::on_greencolor_2_clicked() { backgroundSwatch("greencolor"); }
void WidgetClassicSelector::on_forestcolor_2_clicked() { backgroundSwatch("forestcolor"); }
void WidgetClassicSelector::on_purplecolor_2_clicked() { backgroundSwatch("purplecolor"); }
void WidgetClassicSelector::on_skycolor_2_clicked() { backgroundSwatch("skycolor"); }
void WidgetClassicSelector::on_bluecolor_2_clicked() { backgroundSwatch("bluecolor"); }
void WidgetClassicSelector::on_blackcolor_2_clicked() { backgroundSwatch("blackcolor"); }
void WidgetClassicSelector::on_greycolor_2_clicked() { backgroundSwatch("greycolor"); }
void WidgetClassicSelector::on_whitecolor_2_clicked() { backgroundSwatch("whitecolor"); }
// clang-format on

void WidgetClassicSelector::on_pushButton_clicked()
{
    const QColor colour = QColorDialog::getColor(Qt::white, nullptr, QString());
    if (PaletteStyle::isChosen(colour))
        colorAction(colour);
}

void WidgetClassicSelector::on_pushButton_2_clicked()
{
    const QColor colour = QColorDialog::getColor(Qt::white, nullptr, QString());
    if (PaletteStyle::isChosen(colour))
        emit bckClicked(colour);
}

void WidgetClassicSelector::styleButton(Qt::PenStyle style)
{
    styleAction(style);
    for (const StyleButton &entry : kStyleButtons) {
        if (entry.style == style)
            selectStyleButton(findChild<QPushButton *>(QLatin1String(entry.objectName)));
    }
}

// clang-format off
void WidgetClassicSelector::on_cutDotLine_2_clicked() { styleButton(Qt::DashDotLine); }
void WidgetClassicSelector::on_cutLine_2_clicked() { styleButton(Qt::DashLine); }
void WidgetClassicSelector::on_dotLine_2_clicked() { styleButton(Qt::DotLine); }
void WidgetClassicSelector::on_solidLine_2_clicked() { styleButton(Qt::SolidLine); }
// clang-format on

void WidgetClassicSelector::widthButton(int index)
{
    const StepButton &entry = kStepButtons[index];
    auto *button = findChild<QToolButton *>(QLatin1String(entry.objectName));
    // The button takes the mark even when the current tool takes no pen property.
    if (entry.kind == Width) {
        widthAction(entry.value);
        selectWidthButton(button);
    } else {
        transAction(entry.value);
        selectTransButton(button);
    }
}

// clang-format off
void WidgetClassicSelector::on_width_1_clicked() { widthButton(0); }
void WidgetClassicSelector::on_width_2_clicked() { widthButton(1); }
void WidgetClassicSelector::on_width_3_clicked() { widthButton(2); }
void WidgetClassicSelector::on_width_4_clicked() { widthButton(3); }
void WidgetClassicSelector::on_width_5_clicked() { widthButton(4); }
void WidgetClassicSelector::on_width_6_clicked() { widthButton(5); }
void WidgetClassicSelector::on_width_7_clicked() { widthButton(6); }
void WidgetClassicSelector::on_width_8_clicked() { widthButton(7); }
void WidgetClassicSelector::on_width_9_clicked() { widthButton(8); }
void WidgetClassicSelector::on_width_10_clicked() { widthButton(9); }
void WidgetClassicSelector::on_width_11_clicked() { widthButton(10); }
void WidgetClassicSelector::on_width_12_clicked() { widthButton(11); }
// clang-format on
