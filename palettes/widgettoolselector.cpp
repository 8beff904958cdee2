#include "widgettoolselector.h"

#include "palettestyle.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum Place { Grid, Browsing, Recording };

struct ToolButton
{
    const char *objectName;
    BtMenus::btType tool;
    Place place;
    int row;
    int column; // grid cell, or the order in its strip
    const char *icon;
    const char *toolTip; // source text in the context "WidgetToolSelector"
};

// clang-format off
constexpr ToolButton kToolButtons[] = {
    { "curtain",       BtMenus::btCurtain,       Grid,      0, 0, ":/Icon/baCurtain.png",       QT_TRANSLATE_NOOP("WidgetToolSelector", "Cortina") },
    { "searchLight",   BtMenus::btSearchLight,   Grid,      0, 1, ":/Icon/baSearchlight.png",   QT_TRANSLATE_NOOP("WidgetToolSelector", "Foco") },
    { "calculator",    BtMenus::btCalculator,    Grid,      0, 2, ":/Icon/baCalc.png",          QT_TRANSLATE_NOOP("WidgetToolSelector", "Calculadora") },
    { "capture",       BtMenus::btCapture,       Grid,      0, 3, ":/Icon/baCamera.png",        QT_TRANSLATE_NOOP("WidgetToolSelector", "Capturadora") },
    { "magnifier",     BtMenus::btMagnifier,     Grid,      0, 4, ":/Icon/baMagnifier.png",     QT_TRANSLATE_NOOP("WidgetToolSelector", "Lupa") },
    { "ruler",         BtMenus::btRuler,         Grid,      1, 0, ":/Icon/baRuler.png",         QT_TRANSLATE_NOOP("WidgetToolSelector", "Regla") },
    { "triangleRuler", BtMenus::btTriangleRuler, Grid,      1, 1, ":/Icon/baTriangleRuler.png", QT_TRANSLATE_NOOP("WidgetToolSelector", "Escuadra") },
    { "compass",       BtMenus::btCompass,       Grid,      1, 2, ":/Icon/baCompasse.png",      QT_TRANSLATE_NOOP("WidgetToolSelector", "Compás") },
    { "portractor",    BtMenus::btProtractor,    Grid,      1, 3, ":/Icon/baProtractor.png",    QT_TRANSLATE_NOOP("WidgetToolSelector", "Trasportador") },
    { "clock",         BtMenus::btClock,         Grid,      1, 4, ":/Icon/clock.png",           QT_TRANSLATE_NOOP("WidgetToolSelector", "Reloj") },
    { "share",         BtMenus::btShare,         Grid,      2, 0, ":/Icon/Linker.png",          QT_TRANSLATE_NOOP("WidgetToolSelector", "Compartir pantalla") },
    { "keyboard",      BtMenus::btKeyboard,      Grid,      2, 1, ":/Icon/baKeyBoard.png",      QT_TRANSLATE_NOOP("WidgetToolSelector", "Teclado") },
    { "browser",       BtMenus::btBrowser,       Browsing,  0, 0, ":/Icon/Browser.png",         QT_TRANSLATE_NOOP("WidgetToolSelector", "Navegador") },
    { "activities",    BtMenus::btActivities,    Browsing,  0, 1, ":/Icon/baMath.png",          QT_TRANSLATE_NOOP("WidgetToolSelector", "Actividades interactivas") },
    { "recorder",      BtMenus::btRecorder,      Recording, 0, 0, ":/Icon/baVideoRecord.png",   QT_TRANSLATE_NOOP("WidgetToolSelector", "Grabar acción") },
    { "playRecorder",  BtMenus::btPlayRecorder,  Recording, 0, 1, ":/Icon/baVideoPlayer.png",   QT_TRANSLATE_NOOP("WidgetToolSelector", "Reproducir acción") },
    { "stopRecorder",  BtMenus::btStopRecorder,  Recording, 0, 2, ":/Icon/baVideoStop.png",     QT_TRANSLATE_NOOP("WidgetToolSelector", "Pausar acción") },
};
// clang-format on

QFrame *makeSunkenLine(QWidget *parent, const char *name, QFrame::Shape shape)
{
    return PaletteStyle::makeLine(
            parent, name, shape,
            QStringLiteral("QFrame:hover{background-color: rgb(72, 72, 72);}"));
}

QHBoxLayout *makeStrip(QWidget *strip, const char *name, QSize size, int spacing)
{
    strip->setObjectName(QLatin1String(name));
    strip->setFixedSize(size);
    auto *layout = new QHBoxLayout(strip);
    layout->setSpacing(spacing);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

} // namespace

class Ui_WidgetToolSelector
{
public:
    QWidget *widget_4 = nullptr;
    QWidget *widget_2 = nullptr;
    QWidget *widget_5 = nullptr; // the strip of tools not offered yet
    QFrame *line = nullptr;
    QFrame *line_2 = nullptr;

    void setupUi(QDialog *form)
    {
        form->setObjectName(QStringLiteral("WidgetToolSelector"));
        form->setFixedSize(260, 170);
        form->setWindowTitle(QCoreApplication::translate("WidgetToolSelector", "Form"));
        auto *verticalLayout_2 = new QVBoxLayout(form);
        verticalLayout_2->setSpacing(0);
        verticalLayout_2->setContentsMargins(5, 0, 5, 0);

        widget_4 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_4"),
                                                   QStringLiteral("label_2"),
                                                   QStringLiteral(":/Icon/menuDecorTop.png"));
        verticalLayout_2->addWidget(widget_4);

        auto *widget_3 = new QWidget(form);
        widget_3->setObjectName(QStringLiteral("widget_3"));
        widget_3->setFixedSize(250, 150);
        widget_3->setStyleSheet(PaletteStyle::panelSheet(QStringLiteral("widget_3")));
        auto *verticalLayout = new QVBoxLayout(widget_3);
        verticalLayout->setSpacing(4);
        verticalLayout->setContentsMargins(5, 5, 5, 5);

        auto *widget_6 = new QWidget(widget_3);
        widget_6->setObjectName(QStringLiteral("widget_6"));
        widget_6->setFixedSize(240, 140);
        auto *gridLayout = new QGridLayout(widget_6);
        gridLayout->setSpacing(10);
        gridLayout->setContentsMargins(0, 0, 0, 0);
        verticalLayout->addWidget(widget_6);

        line = makeSunkenLine(widget_3, "line", QFrame::HLine);
        verticalLayout->addWidget(line);

        widget_5 = new QWidget(widget_3);
        QHBoxLayout *stripLayout = makeStrip(widget_5, "widget_5", QSize(240, 40), 3);
        auto *widget_7 = new QWidget(widget_5);
        QHBoxLayout *browsing = makeStrip(widget_7, "widget_7", QSize(90, 40), 10);
        line_2 = makeSunkenLine(widget_5, "line_2", QFrame::VLine);
        line_2->setLineWidth(1);
        auto *widget_8 = new QWidget(widget_5);
        QHBoxLayout *recording = makeStrip(widget_8, "widget_8", QSize(140, 40), 10);
        stripLayout->addWidget(widget_7);
        stripLayout->addWidget(line_2);
        stripLayout->addWidget(widget_8);
        verticalLayout->addWidget(widget_5);

        for (const ToolButton &entry : kToolButtons) {
            QWidget *owner = entry.place == Grid ? widget_6
                    : entry.place == Browsing    ? widget_7
                                                 : widget_8;
            QPushButton *button = PaletteStyle::makeIconButton(owner, entry.objectName, entry.icon,
                                                               "WidgetToolSelector", entry.toolTip,
                                                               QSize(40, 40));
            if (entry.place == Grid)
                gridLayout->addWidget(button, entry.row, entry.column);
            else
                (entry.place == Browsing ? browsing : recording)->addWidget(button);
        }
        verticalLayout_2->addWidget(widget_3);

        widget_2 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_2"),
                                                   QStringLiteral("label_4"),
                                                   QStringLiteral(":/Icon/menuDecor.png"));
        verticalLayout_2->addWidget(widget_2);

        QMetaObject::connectSlotsByName(form);
    }
};

WidgetToolSelector::WidgetToolSelector(QWidget *parent)
    : WidgetMenu(parent), ui(new Ui_WidgetToolSelector)
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
    for (const ToolButton &entry : kToolButtons) {
        if (entry.place == Grid)
            continue;
        auto *button = findChild<QPushButton *>(QLatin1String(entry.objectName));
        button->setEnabled(false);
        button->hide();
    }
    ui->widget_5->hide();
    ui->line->hide();
    ui->line_2->hide();
}

WidgetToolSelector::~WidgetToolSelector()
{
    delete ui;
}

void WidgetToolSelector::setTopLabel()
{
    ui->widget_4->show();
    ui->widget_2->hide();
}

void WidgetToolSelector::setBottonLabel()
{
    ui->widget_4->hide();
    ui->widget_2->show();
}

void WidgetToolSelector::emitAndHide(BtMenus::btType tool)
{
    emit buttonClicked(tool);
    hide();
}

// clang-format off
void WidgetToolSelector::on_curtain_clicked() { emitAndHide(BtMenus::btCurtain); }
void WidgetToolSelector::on_searchLight_clicked() { emitAndHide(BtMenus::btSearchLight); }
void WidgetToolSelector::on_calculator_clicked() { emitAndHide(BtMenus::btCalculator); }
void WidgetToolSelector::on_capture_clicked() { emitAndHide(BtMenus::btCapture); }
void WidgetToolSelector::on_magnifier_clicked() { emitAndHide(BtMenus::btMagnifier); }
void WidgetToolSelector::on_ruler_clicked() { emitAndHide(BtMenus::btRuler); }
void WidgetToolSelector::on_triangleRuler_clicked() { emitAndHide(BtMenus::btTriangleRuler); }
void WidgetToolSelector::on_compass_clicked() { emitAndHide(BtMenus::btCompass); }
void WidgetToolSelector::on_portractor_clicked() { emitAndHide(BtMenus::btProtractor); }
void WidgetToolSelector::on_clock_clicked() { emitAndHide(BtMenus::btClock); }
void WidgetToolSelector::on_share_clicked() { emitAndHide(BtMenus::btShare); }
void WidgetToolSelector::on_keyboard_clicked() { emitAndHide(BtMenus::btKeyboard); }
void WidgetToolSelector::on_browser_clicked() { emitAndHide(BtMenus::btBrowser); }
void WidgetToolSelector::on_activities_clicked() { emitAndHide(BtMenus::btActivities); }
void WidgetToolSelector::on_recorder_clicked() { emitAndHide(BtMenus::btRecorder); }
void WidgetToolSelector::on_playRecorder_clicked() { emitAndHide(BtMenus::btPlayRecorder); }
void WidgetToolSelector::on_stopRecorder_clicked() { emitAndHide(BtMenus::btStopRecorder); }
// clang-format on
