#include "widgetshapeselector.h"

#include "board/shapefill.h"
#include "pictures/picturereading.h"
#include "dslidercontrol.h"
#include "palettestyle.h"
#include "shell/dmainui.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct ShapeButton
{
    BtMenus::btType id;
    const char *objectName;
    const char *toolTip; // source text in the context "WidgetShapeSelector"
    const char *icon;
    int row;
    int column;
};

// clang-format off
constexpr ShapeButton kShapes[] = {
    { BtMenus::btLine,          "line",              QT_TRANSLATE_NOOP("WidgetShapeSelector", "Línea"),                 ":/Icon/baLine.png",                0, 0 },
    { BtMenus::btTriangle,      "triangle",          QT_TRANSLATE_NOOP("WidgetShapeSelector", "Triángulo equilátero"),  ":/Icon/baTriangle.png",            0, 1 },
    { BtMenus::btRightTriangle, "triangleRectangle", QT_TRANSLATE_NOOP("WidgetShapeSelector", "Triángulo rectángulo"),  ":/Icon/baRectTriangle.png",        0, 2 },
    { BtMenus::btEllipse,       "ellipse",           QT_TRANSLATE_NOOP("WidgetShapeSelector", "Elipse"),                ":/Icon/baEllipse.png",             0, 3 },
    { BtMenus::btCircle,        "circle",            QT_TRANSLATE_NOOP("WidgetShapeSelector", "Círculo"),               ":/Icon/baCircle.png",              0, 4 },
    { BtMenus::btSquare,        "square",            QT_TRANSLATE_NOOP("WidgetShapeSelector", "Cuadrado"),              ":/Icon/baSquare.png",              1, 0 },
    { BtMenus::btRectangle,     "rectangle",         QT_TRANSLATE_NOOP("WidgetShapeSelector", "Rectángulo"),            ":/Icon/baRect.png",                1, 1 },
    { BtMenus::btRoundRect,     "roundRect",         QT_TRANSLATE_NOOP("WidgetShapeSelector", "Rectángulo redondeado"), ":/Icon/baRectRound.png",           1, 2 },
    { BtMenus::btParallelogram, "parallelogram",     QT_TRANSLATE_NOOP("WidgetShapeSelector", "Paralelogramo"),         ":/Icon/baParallelogram.png",       1, 3 },
    { BtMenus::btRhombus,       "rombus",            QT_TRANSLATE_NOOP("WidgetShapeSelector", "Rombo"),                 ":/Icon/baRhombus.png",             1, 4 },
    { BtMenus::btPentagon,      "pentagone",         QT_TRANSLATE_NOOP("WidgetShapeSelector", "Pentágono"),             ":/Icon/baPolygon.png",             2, 0 },
    { BtMenus::btHexagon,       "hexagone",          QT_TRANSLATE_NOOP("WidgetShapeSelector", "Hexágono"),              ":/Icon/baDrawSexangleexagon.png",  2, 1 },
    { BtMenus::btArrow,         "arrow",             QT_TRANSLATE_NOOP("WidgetShapeSelector", "Flecha"),                ":/Icon/baArrow.png",               2, 2 },
    { BtMenus::btDoubleArrow,   "doubleArrow",       QT_TRANSLATE_NOOP("WidgetShapeSelector", "Doble flecha"),          ":/Icon/baDoubleArrow.png",         2, 3 },
    { BtMenus::btStar,          "star",              QT_TRANSLATE_NOOP("WidgetShapeSelector", "Estrella"),              ":/Icon/baStar.png",                2, 4 },
    { BtMenus::btCube,          "cube",              QT_TRANSLATE_NOOP("WidgetShapeSelector", "Cubo"),                  ":/Icon/baCube.png",                3, 0 },
    { BtMenus::btCone,          "cone",              QT_TRANSLATE_NOOP("WidgetShapeSelector", "Cono"),                  ":/Icon/baCone.png",                3, 1 },
    { BtMenus::btCylinder,      "cylinder",          QT_TRANSLATE_NOOP("WidgetShapeSelector", "Cilindro"),              ":/Icon/baCylinder.png",            3, 2 },
    { BtMenus::btBall,          "ball",              QT_TRANSLATE_NOOP("WidgetShapeSelector", "Esfera"),                ":/Icon/baBall.png",                3, 3 },
    { BtMenus::btFill,          "fill",              QT_TRANSLATE_NOOP("WidgetShapeSelector", "Relleno"),               ":/Icon/fill.png",                  3, 4 },
};

struct LineStyle
{
    Qt::PenStyle style;
    const char *objectName;
    const char *toolTip;
    const char *icon;
};

constexpr LineStyle kLineStyles[] = {
    { Qt::SolidLine,   "solidLine",  QT_TRANSLATE_NOOP("WidgetShapeSelector", "Línea sólida"),        ":/Icon/baSolidline.png" },
    { Qt::DotLine,     "dotLine",    QT_TRANSLATE_NOOP("WidgetShapeSelector", "Línea punteada"),      ":/Icon/baDotline.png" },
    { Qt::DashLine,    "cutLine",    QT_TRANSLATE_NOOP("WidgetShapeSelector", "Línea rayada"),        ":/Icon/baCutline.png" },
    { Qt::DashDotLine, "cutDotLine", QT_TRANSLATE_NOOP("WidgetShapeSelector", "Línea punteo-rayada"), ":/Icon/baCutdotline.png" },
};

struct FillButton
{
    const char *objectName;
    const char *text;
    const char *toolTip;
};

constexpr FillButton kFillButtons[] = {
    { "backcolor", QT_TRANSLATE_NOOP("WidgetShapeSelector", "Fondo Solido"), QT_TRANSLATE_NOOP("WidgetShapeSelector", "Color de fondo") },
    { "imgcolor",  QT_TRANSLATE_NOOP("WidgetShapeSelector", "Fondo Imagen"), QT_TRANSLATE_NOOP("WidgetShapeSelector", "Color de fondo") },
    { "gradcolor", QT_TRANSLATE_NOOP("WidgetShapeSelector", "Fondo Gradiente"),QT_TRANSLATE_NOOP("WidgetShapeSelector", "Color de fondo") },
    { "tramcolor", QT_TRANSLATE_NOOP("WidgetShapeSelector", "Fondo Trama"),  QT_TRANSLATE_NOOP("WidgetShapeSelector", "Color de fondo") },
};
// clang-format on

const ShapeButton *shapeById(int id)
{
    for (const ShapeButton &shape : kShapes) {
        if (shape.id == id)
            return &shape;
    }
    return nullptr;
}

QString hoverRule(const QString &name, int borderWidth)
{
    return QStringLiteral("#%1:hover{border-radius:3px;border-color: rgb(210, 210, 210);"
                          "border-width: %2px;border-style: solid;}")
            .arg(name)
            .arg(borderWidth);
}

// The four looks of the border and fill buttons.
QString plainSheet(const QString &name, const QString &colour)
{
    return QStringLiteral("#%1{background-color: rgba(%2);border-radius:3px;}").arg(name, colour)
            + hoverRule(name, 3);
}

QString markedSheet(const QString &name, const QString &colour)
{
    return QStringLiteral("#%1{background-color: rgba(%2);border-radius:3px;"
                          "border-color: rgb(0, 150, 255);border-width: 3px;border-style: solid;}")
                   .arg(name, colour)
            + hoverRule(name, 3);
}

QString gradientMarkedSheet(const QString &name, const QString &from, const QString &to)
{
    return QStringLiteral("#%1{background-color: qradialgradient(cx:0, cy:0, radius:1, fx:0.5, "
                          "fy:0.5, stop:0 rgba(%2), stop:1 rgba(%3));"
                          "border-color: rgb(0, 150, 255);border-width: 1px;border-style: solid;}")
                   .arg(name, from, to)
            + hoverRule(name, 1);
}

QString imageMarkedSheet(const QString &name)
{
    return QStringLiteral("#%1{border-color: rgb(0, 150, 255);border-width: 1px;"
                          "border-style: solid;}")
                   .arg(name)
            + hoverRule(name, 1);
}

} // namespace

class Ui_WidgetShapeSelector
{
public:
    QWidget *widget_11 = nullptr;
    QWidget *widget_2 = nullptr;
    DSliderControl *horizontalSlider = nullptr;
    QGraphicsView *penexample = nullptr;

    void setupUi(QDialog *form)
    {
        form->setObjectName(QStringLiteral("WidgetShapeSelector"));
        form->setFixedSize(410, 340);
        form->setWindowTitle(QCoreApplication::translate("WidgetShapeSelector", "Form"));
        auto *verticalLayout_3 = new QVBoxLayout(form);
        verticalLayout_3->setSpacing(0);
        verticalLayout_3->setContentsMargins(5, 0, 5, 0);

        widget_11 = PaletteStyle::makeDecorationRow(
                form, QStringLiteral("widget_11"), QStringLiteral("label_2"),
                QStringLiteral(":/Icon/menuDecorTop.png"), true);
        verticalLayout_3->addWidget(widget_11);

        QWidget *widget_3 = PaletteStyle::makeBox(form, "widget_3", QSize(400, 320));
        widget_3->setStyleSheet(PaletteStyle::panelSheet(QStringLiteral("widget_3")));
        auto *verticalLayout_2 = new QVBoxLayout(widget_3);
        verticalLayout_2->setSpacing(0);
        verticalLayout_2->setContentsMargins(5, 0, 5, 0);
        setupSliderRow(widget_3, verticalLayout_2);
        setupStyleRow(widget_3, verticalLayout_2);
        setupLowerRow(widget_3, verticalLayout_2);
        verticalLayout_3->addWidget(widget_3);

        // This palette's bottom row carries no arrow: opened above the toolbar, it is empty.
        widget_2 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_2"), QString(),
                                                   QString());
        verticalLayout_3->addWidget(widget_2);

        QMetaObject::connectSlotsByName(form);
    }

private:
    void setupSliderRow(QWidget *panel, QVBoxLayout *layout)
    {
        const PaletteStyle::WidthRow widthRow = PaletteStyle::makeWidthRow(
                panel, "widget_9", QSize(390, 20), 20,
                QCoreApplication::translate("WidgetShapeSelector", "Grosor de línea"));
        horizontalSlider = widthRow.slider;
        penexample = widthRow.preview;
        layout->addWidget(widthRow.row);
    }

    void setupStyleRow(QWidget *panel, QVBoxLayout *layout)
    {
        QWidget *widget_10 = PaletteStyle::makeBox(panel, "widget_10", QSize(390, 20));
        widget_10->setCursor(Qt::PointingHandCursor);
        auto *row = new QHBoxLayout(widget_10);
        row->setSpacing(10);
        row->setContentsMargins(0, 0, 0, 0);
        for (const LineStyle &entry : kLineStyles) {
            QPushButton *button = PaletteStyle::makeFlatButton(
                    widget_10, entry.objectName, entry.icon, "WidgetShapeSelector", entry.toolTip,
                    QSize(90, 20), QSize(60, 15));
            button->setCheckable(true);
            if (entry.style == Qt::SolidLine)
                button->setAcceptDrops(false);
            row->addWidget(button);
        }
        layout->addWidget(widget_10);
    }

    void setupLowerRow(QWidget *panel, QVBoxLayout *layout)
    {
        QWidget *widget_5 = PaletteStyle::makeBox(panel, "widget_5", QSize(390, 240));
        auto *row = new QHBoxLayout(widget_5);
        row->setSpacing(10);
        row->setContentsMargins(0, 0, 0, 0);

        QWidget *widget_4 = PaletteStyle::makeBox(widget_5, "widget_4", QSize(240, 190));
        auto *gridLayout_3 = new QGridLayout(widget_4);
        gridLayout_3->setHorizontalSpacing(0);
        gridLayout_3->setVerticalSpacing(10);
        gridLayout_3->setContentsMargins(0, 0, 0, 0);
        for (const ShapeButton &shape : kShapes) {
            gridLayout_3->addWidget(PaletteStyle::makeFlatButton(widget_4, shape.objectName,
                                                                 shape.icon, "WidgetShapeSelector",
                                                                 shape.toolTip, QSize(40, 40),
                                                                 QSize(40, 40)),
                                    shape.row, shape.column);
        }
        row->addWidget(widget_4);

        QWidget *widget = PaletteStyle::makeBox(widget_5, "widget");
        auto *column = new QVBoxLayout(widget);
        column->setSpacing(0);
        column->setContentsMargins(0, 0, 0, 0);
        QWidget *widget_12 = PaletteStyle::makeBox(widget, "widget_12");
        widget_12->setLayoutDirection(Qt::LeftToRight);
        auto *fillRow = new QHBoxLayout(widget_12);
        fillRow->setSpacing(4);
        fillRow->setContentsMargins(0, 0, 0, 0);
        auto *fillcolor = new QPushButton(widget_12);
        fillcolor->setObjectName(QStringLiteral("fillcolor"));
        fillcolor->setFixedSize(45, 40);
        fillcolor->setText(QCoreApplication::translate("WidgetShapeSelector", "Borde"));
        fillcolor->setToolTip(QCoreApplication::translate("WidgetShapeSelector", "Color de borde"));
        fillcolor->setStyleSheet(
                markedSheet(QStringLiteral("fillcolor"), QStringLiteral("255, 0, 0, 255")));
        fillRow->addWidget(fillcolor);
        QWidget *widget_13 = PaletteStyle::makeBox(widget_12, "widget_13");
        auto *kinds = new QVBoxLayout(widget_13);
        kinds->setSpacing(1);
        const QMargins standard = kinds->contentsMargins();
        kinds->setContentsMargins(standard.left(), 1, standard.right(), 1);
        for (const FillButton &entry : kFillButtons) {
            auto *button = new QPushButton(widget_13);
            button->setObjectName(QLatin1String(entry.objectName));
            button->setFixedSize(90, 20);
            button->setText(QCoreApplication::translate("WidgetShapeSelector", entry.text));
            button->setToolTip(QCoreApplication::translate("WidgetShapeSelector", entry.toolTip));
            // One sheet for all four, naming only backcolor: the others keep the plain button
            // look until a border or fill choice rebuilds their sheets.
            button->setStyleSheet(
                    plainSheet(QStringLiteral("backcolor"), QStringLiteral("0, 0, 0, 0")));
            kinds->addWidget(button);
        }
        fillRow->addWidget(widget_13);
        column->addWidget(widget_12);

        QWidget *widget_6 = PaletteStyle::makeColourColumn(
                widget, { QSize(157, 140), 0, QSize(20, 15), QSize(157, 100) },
                QCoreApplication::translate("WidgetShapeSelector", "Más colores"));
        widget_6->findChild<QPushButton *>(QStringLiteral("greycolor"))
                ->setStyleSheet(QStringLiteral(
                        "QPushButton{background-color: qlineargradient(spread:reflect, "
                        "x1:0.502591, y1:0, x2:0.502591, y2:0.499545, stop:0 rgba(0, 0, 0, 255), "
                        "stop:0.502591 rgba(187, 187, 187, 0));border-radius:3px;}"
                        "QPushButton:hover{border:3px solid rgb(210, 210, 210);"
                        "border-radius:3px;}"));
        column->addWidget(widget_6);
        row->addWidget(widget);
        layout->addWidget(widget_5);
    }
};

WidgetShapeSelector::WidgetShapeSelector(QWidget *parent)
    : WidgetMenu(parent), ui(new Ui_WidgetShapeSelector)
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    m_scene = new QGraphicsScene(this);
    ui->penexample->setScene(m_scene);
    hide();
    PaletteStyle::showPenPreview(m_scene, DMainUi::m_penShape);
    button("fill")->hide();
}

WidgetShapeSelector::~WidgetShapeSelector()
{
    delete ui;
}

QString WidgetShapeSelector::colourText(const QColor &colour)
{
    return QStringLiteral("%1, %2, %3, %4")
            .arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue())
            .arg(colour.alpha());
}

QPushButton *WidgetShapeSelector::button(const char *name) const
{
    return findChild<QPushButton *>(QLatin1String(name));
}

void WidgetShapeSelector::setSheet(const char *name, const QString &sheet)
{
    button(name)->setStyleSheet(sheet);
}

void WidgetShapeSelector::setTopLabel()
{
    ui->widget_11->show();
    ui->widget_2->hide();
}

void WidgetShapeSelector::setBottonLabel()
{
    ui->widget_11->hide();
    ui->widget_2->show();
}

void WidgetShapeSelector::updateExample()
{
    PaletteStyle::showPenPreview(m_scene, DMainUi::m_penShape);
}

void WidgetShapeSelector::on_horizontalSlider_valueChanged(int value)
{
    emit widthShpClicked(value);
    DMainUi::m_penShape.setWidth(value);
    updateExample();
}

void WidgetShapeSelector::styleChosen(Qt::PenStyle style)
{
    emit styleShpClicked(style);
    DMainUi::m_penShape.setStyle(style);
    for (const LineStyle &entry : kLineStyles) {
        if (entry.style == style)
            selectStyleButton(button(entry.objectName));
    }
    updateExample();
}

// clang-format off
void WidgetShapeSelector::on_solidLine_clicked() { styleChosen(Qt::SolidLine); }
void WidgetShapeSelector::on_dotLine_clicked() { styleChosen(Qt::DotLine); }
void WidgetShapeSelector::on_cutLine_clicked() { styleChosen(Qt::DashLine); }
void WidgetShapeSelector::on_cutDotLine_clicked() { styleChosen(Qt::DashDotLine); }
// clang-format on

void WidgetShapeSelector::shapeClicked(BtMenus::btType shape)
{
    emit buttonClicked(shape);
    m_lastShape = shape;
    selectShpButton(button(shapeById(shape)->objectName), false);
}

// clang-format off
void WidgetShapeSelector::on_line_clicked() { shapeClicked(BtMenus::btLine); }
void WidgetShapeSelector::on_triangle_clicked() { shapeClicked(BtMenus::btTriangle); }
void WidgetShapeSelector::on_ellipse_clicked() { shapeClicked(BtMenus::btEllipse); }
void WidgetShapeSelector::on_circle_clicked() { shapeClicked(BtMenus::btCircle); }
void WidgetShapeSelector::on_square_clicked() { shapeClicked(BtMenus::btSquare); }
void WidgetShapeSelector::on_rectangle_clicked() { shapeClicked(BtMenus::btRectangle); }
void WidgetShapeSelector::on_pentagone_clicked() { shapeClicked(BtMenus::btPentagon); }
void WidgetShapeSelector::on_hexagone_clicked() { shapeClicked(BtMenus::btHexagon); }
void WidgetShapeSelector::on_triangleRectangle_clicked() { shapeClicked(BtMenus::btRightTriangle); }
void WidgetShapeSelector::on_roundRect_clicked() { shapeClicked(BtMenus::btRoundRect); }
void WidgetShapeSelector::on_parallelogram_clicked() { shapeClicked(BtMenus::btParallelogram); }
void WidgetShapeSelector::on_rombus_clicked() { shapeClicked(BtMenus::btRhombus); }
void WidgetShapeSelector::on_arrow_clicked() { shapeClicked(BtMenus::btArrow); }
void WidgetShapeSelector::on_doubleArrow_clicked() { shapeClicked(BtMenus::btDoubleArrow); }
void WidgetShapeSelector::on_star_clicked() { shapeClicked(BtMenus::btStar); }
void WidgetShapeSelector::on_cube_clicked() { shapeClicked(BtMenus::btCube); }
void WidgetShapeSelector::on_cone_clicked() { shapeClicked(BtMenus::btCone); }
void WidgetShapeSelector::on_cylinder_clicked() { shapeClicked(BtMenus::btCylinder); }
void WidgetShapeSelector::on_ball_clicked() { shapeClicked(BtMenus::btBall); }
// clang-format on

void WidgetShapeSelector::on_fill_clicked()
{
    emit buttonClicked(BtMenus::btFill);
    m_lastShape = BtMenus::btFill;
    selectFillButton(); // the fill tool leaves the shape mark where it was
}

void WidgetShapeSelector::colorAction(QColor color)
{
    // Also for the fill: the preview shows the colour just chosen until the view's pens return.
    DMainUi::m_penShape.setColor(color);
    if (m_colorTarget == TargetFill) {
        emit colorShpFillClicked(color, FillSolid, QString());
        m_strFillColor = colourText(color);
        setSheet("backcolor", markedSheet(QStringLiteral("backcolor"), m_strFillColor));
    } else {
        emit colorShpClicked(color);
        m_strBorderColor = colourText(color);
        setSheet("fillcolor", markedSheet(QStringLiteral("fillcolor"), m_strBorderColor));
    }
    updateExample();
}

void WidgetShapeSelector::swatchClicked(const QColor &colour)
{
    colorAction(colour);
    m_lastColor = colour;
}

void WidgetShapeSelector::swatchClicked(const char *name)
{
    swatchClicked(PaletteStyle::swatchColourNamed(name));
}

// clang-format off
void WidgetShapeSelector::on_redcolor_clicked() { swatchClicked("redcolor"); }
void WidgetShapeSelector::on_orangecolor_clicked() { swatchClicked("orangecolor"); }
void WidgetShapeSelector::on_yellowcolor_clicked() { swatchClicked("yellowcolor"); }
void WidgetShapeSelector::on_pinkcolor_clicked() { swatchClicked("pinkcolor"); }
void WidgetShapeSelector::on_greencolor_clicked() { swatchClicked("greencolor"); }
void WidgetShapeSelector::on_forestcolor_clicked() { swatchClicked("forestcolor"); }
void WidgetShapeSelector::on_purplecolor_clicked() { swatchClicked("purplecolor"); }
void WidgetShapeSelector::on_skycolor_clicked() { swatchClicked("skycolor"); }
void WidgetShapeSelector::on_bluecolor_clicked() { swatchClicked("bluecolor"); }
void WidgetShapeSelector::on_blackcolor_clicked() { swatchClicked("blackcolor"); }
void WidgetShapeSelector::on_whitecolor_clicked() { swatchClicked("whitecolor"); }
// clang-format on

void WidgetShapeSelector::on_greycolor_clicked()
{
    // The shape palette's grey is "no colour": a transparent fill or border.
    swatchClicked(QColor(127, 127, 127, 0));
}

void WidgetShapeSelector::on_pushButton_clicked()
{
    const QColor colour = QColorDialog::getColor(DMainUi::m_penShape.color(), this);
    if (!PaletteStyle::isChosen(colour))
        return;
    m_lastColor = colour;
    colorAction(colour);
}

void WidgetShapeSelector::showColourChoice(const char *marked, const QString &markedLook)
{
    const std::pair<const char *, const QString *> buttons[] = {
        { "fillcolor", &m_strBorderColor }, { "backcolor", &m_strFillColor },
        { "gradcolor", &m_strGradColor },   { "imgcolor", &m_strImgColor },
        { "tramcolor", &m_strTramColor },
    };
    for (const auto &[name, colour] : buttons) {
        setSheet(name,
                 qstrcmp(name, marked) == 0 ? markedLook
                                            : plainSheet(QLatin1String(name), *colour));
    }
}

void WidgetShapeSelector::on_fillcolor_clicked()
{
    m_colorTarget = TargetBorder;
    showColourChoice("fillcolor", markedSheet(QStringLiteral("fillcolor"), m_strBorderColor));
}

void WidgetShapeSelector::on_backcolor_clicked()
{
    m_colorTarget = TargetFill;
    showColourChoice("backcolor", markedSheet(QStringLiteral("backcolor"), m_strFillColor));
    emit colorShpFillClicked(m_lastColor, FillSolid, QString());
}

void WidgetShapeSelector::on_gradcolor_clicked()
{
    // The gradient runs from the border's colour to the fill's, and shows on both its buttons.
    showColourChoice(
            "gradcolor",
            gradientMarkedSheet(QStringLiteral("gradcolor"), m_strBorderColor, m_strFillColor));
    setSheet("backcolor",
             gradientMarkedSheet(QStringLiteral("backcolor"), m_strBorderColor, m_strFillColor));
    emit colorShpFillClicked(m_lastColor, FillGradient, QString());
}

void WidgetShapeSelector::fillFromFile(const QString &folder, const char *marked,
                                       const QString &markedLook, qint16 fillKind)
{
    const QString file =
            QFileDialog::getOpenFileName(this, tr("Open Image"), QDir::homePath() + folder,
                                         tr("Image Files (*.png *.jpg *.bmp)"));
    if (file.isEmpty())
        return; // cancelled: the shape keeps its fill
    // Read when the picture is chosen, beside the board, and said then, not at each shape drawn
    // with it; one the board does not take leaves the fill as it was.
    PictureReading::readSoon(
            file, this,
            [this, file, marked, markedLook, fillKind](const PictureReading::Picture &read) {
                if (read.probe.outcome != PictureReading::Outcome::Unreadable) {
                    const QString told =
                            PictureReading::message(read.probe, QFileInfo(file).fileName());
                    if (!told.isEmpty())
                        QMessageBox::information(this, tr("Atención"), told);
                    if (!read.probe.isTaken())
                        return;
                }
                ShapeFill::keepTexture(file, read.image);
                m_fileFillName = file;
                showColourChoice(marked, markedLook);
                emit colorShpFillClicked(m_lastColor, fillKind, m_fileFillName);
            });
}

void WidgetShapeSelector::on_imgcolor_clicked()
{
    fillFromFile(QStringLiteral("/Imágenes"), "imgcolor",
                 imageMarkedSheet(QStringLiteral("imgcolor")), FillImage);
}

void WidgetShapeSelector::on_tramcolor_clicked()
{
    fillFromFile(QStringLiteral("/Tramas"), "tramcolor",
                 markedSheet(QStringLiteral("tramcolor"), m_strTramColor), FillPattern);
}

void WidgetShapeSelector::selectShpButton(QPushButton *button, bool force)
{
    m_shapeMark.select(button, force);
}

void WidgetShapeSelector::selectStyleButton(QPushButton *button)
{
    m_styleMark.select(button);
}

void WidgetShapeSelector::markStyleOfPen()
{
    for (const LineStyle &entry : kLineStyles) {
        if (entry.style == DMainUi::m_penShape.style())
            selectStyleButton(button(entry.objectName));
    }
}

void WidgetShapeSelector::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    ui->horizontalSlider->setValue(float(DMainUi::m_penShape.width()));
    selectFillButton();
    markStyleOfPen();
    const ShapeButton *active = shapeById(DMainUi::m_curPenType);
    if (active && active->id != BtMenus::btFill) {
        m_lastShape = active->id;
        selectShpButton(button(active->objectName), false);
        return;
    }
    // Opening the shape palette means drawing shapes: bring back the one chosen here last.
    emit buttonClicked(m_lastShape);
    // The fill tool has no visible button: its mark stays on the shape marked before.
    QPushButton *last = m_lastShape == BtMenus::btFill ? m_shapeMark.selected()
                                                       : button(shapeById(m_lastShape)->objectName);
    selectShpButton(last, true);
}
