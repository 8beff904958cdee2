#include "widgetmenuselector.h"

#include "palettestyle.h"
#include "shell/globals.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum Page : unsigned {
    PagePrincipal = 1u << WidgetMenuSelector::szPrincipal,
    PageLng = 1u << WidgetMenuSelector::szLng,
    PageFormatFile = 1u << WidgetMenuSelector::szFormatFile,
    PageInterface = 1u << WidgetMenuSelector::szInterface,
};

struct MenuButton
{
    const char *objectName;
    const char *text; // source text in the context "WidgetMenuSelector"
    int row; // row of the panel's grid; unlisted rows stay empty
    unsigned pages;
};

// clang-format off
constexpr MenuButton kMenuButtons[] = {
    { "newFile",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "Nuevo Archivo"),          1,  PagePrincipal },
    { "openFile",   QT_TRANSLATE_NOOP("WidgetMenuSelector", "Abrir/Importar Archivo"), 3,  PagePrincipal },
    { "saveFile",   QT_TRANSLATE_NOOP("WidgetMenuSelector", "Guardar Archivo"),        5,  PagePrincipal },
    { "saveAsFile", QT_TRANSLATE_NOOP("WidgetMenuSelector", "Guardar Archivo Como"),   7,  PagePrincipal },
    { "exportFile", QT_TRANSLATE_NOOP("WidgetMenuSelector", "Exportar Archivo"),       8,  PagePrincipal },
    { "language",   QT_TRANSLATE_NOOP("WidgetMenuSelector", "Idioma"),                 10, PagePrincipal },
    { "settings",   QT_TRANSLATE_NOOP("WidgetMenuSelector", "Preferencias"),           13, PagePrincipal },
    { "multiuser",  QT_TRANSLATE_NOOP("WidgetMenuSelector", "Multiusuario"),           14, PagePrincipal },
    { "interfaces", QT_TRANSLATE_NOOP("WidgetMenuSelector", "Cambiar interfaz"),       15, PagePrincipal },
    { "version",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "Versión: 0.24 BETA"),     16, PagePrincipal },
    { "exit",       QT_TRANSLATE_NOOP("WidgetMenuSelector", "Salir"),                  18, PagePrincipal },
    { "backLng",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "< Atrás"),                19, PageLng | PageFormatFile | PageInterface },
    { "pdffile",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "PDF"),                    20, PageFormatFile },
    { "bmpfile",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "BMP"),                    21, PageFormatFile },
    { "jpgfile",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "JPG"),                    22, PageFormatFile },
    { "pngfile",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "PNG"),                    23, PageFormatFile },
    { "tifffile",   QT_TRANSLATE_NOOP("WidgetMenuSelector", "TIFF"),                   24, PageFormatFile },
    { "english",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "Inglés"),                 25, PageLng },
    { "spanish",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "Español"),                26, PageLng },
    { "russian",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "Ruso"),                   27, PageLng },
    { "portuguese", QT_TRANSLATE_NOOP("WidgetMenuSelector", "Portugués"),              28, PageLng },
    { "french",     QT_TRANSLATE_NOOP("WidgetMenuSelector", "Francés"),                29, PageLng },
    { "german",     QT_TRANSLATE_NOOP("WidgetMenuSelector", "Alemán"),                 30, PageLng },
    { "standard",   QT_TRANSLATE_NOOP("WidgetMenuSelector", "Estandar"),               31, PageInterface },
    { "kids",       QT_TRANSLATE_NOOP("WidgetMenuSelector", "Infantil"),               32, PageInterface },
    { "classic",    QT_TRANSLATE_NOOP("WidgetMenuSelector", "Clásica"),                33, PageInterface },
};

// Height of each page (indexed by eSize) and how far the palette moves down when it hangs above
// the toolbar and switches to a sub-page. The moves are not the height differences (95, not 105,
// for languages); going back moves up by the amounts below, so the round trips end lower.
constexpr int kPageHeight[] = { 355, 250, 215, 145 };
constexpr int kMoveDownTo[] = { 0, 95, 140, 210 };
constexpr int kMoveUpFrom[] = { 0, 20, 65, 0 };
// clang-format on

const QString kButtonSheet = QStringLiteral(
        "QPushButton{background-color: rgb(180, 180, 180);border-radius:3px;}"
        "QPushButton:hover{background-color: rgb(210, 210, 210);border-radius:3px;}");
const QString kVersionSheet =
        QStringLiteral("QPushButton{background-color: rgb(180, 180, 180);border-radius:3px;}");

} // namespace

class Ui_WidgetMenuSelector
{
public:
    QWidget *widget_4 = nullptr; // top arrow row
    QWidget *widget_2 = nullptr; // bottom arrow row
    QWidget *widget_3 = nullptr; // the dark panel
    QPushButton *buttons[std::size(kMenuButtons)] = {};

    void setupUi(QDialog *form)
    {
        form->setObjectName(QStringLiteral("WidgetMenuSelector"));
        form->resize(210, 599);
        form->setMinimumSize(210, 599);
        form->setMaximumSize(210, 622);
        form->setWindowTitle(QCoreApplication::translate("WidgetMenuSelector", "Form"));

        auto *verticalLayout = new QVBoxLayout(form);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        verticalLayout->setSpacing(0);
        verticalLayout->setContentsMargins(0, 0, 0, 0);

        widget_4 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_4"),
                                                   QStringLiteral("label_2"),
                                                   QStringLiteral(":/Icon/menuDecorTop.png"));
        verticalLayout->addWidget(widget_4);

        auto *widget = new QWidget(form);
        widget->setObjectName(QStringLiteral("widget"));
        widget->setFixedWidth(200);
        auto *gridLayout_2 = new QGridLayout(widget);
        gridLayout_2->setSpacing(0);
        gridLayout_2->setContentsMargins(0, 0, 0, 0);
        widget_3 = new QWidget(widget);
        widget_3->setObjectName(QStringLiteral("widget_3"));
        widget_3->setStyleSheet(QStringLiteral(
                "#widget_3{background-color: rgba(58, 58, 58, 240);border-radius:3px;}"));
        gridLayout_2->addWidget(widget_3, 0, 0);
        auto *gridLayout = new QGridLayout(widget_3);
        gridLayout->setObjectName(QStringLiteral("gridLayout"));
        gridLayout->setSpacing(5);
        gridLayout->setContentsMargins(10, 10, 10, 10);
        for (size_t i = 0; i < std::size(kMenuButtons); ++i) {
            const MenuButton &entry = kMenuButtons[i];
            auto *button = new QPushButton(widget_3);
            button->setObjectName(QLatin1String(entry.objectName));
            button->setMinimumSize(0, 25);
            button->setMaximumHeight(25);
            const bool isVersion = qstrcmp(entry.objectName, "version") == 0;
            button->setStyleSheet(isVersion ? kVersionSheet : kButtonSheet);
            button->setText(QCoreApplication::translate("WidgetMenuSelector", entry.text));
            gridLayout->addWidget(button, entry.row, 1);
            buttons[i] = button;
        }
        verticalLayout->addWidget(widget);

        widget_2 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_2"),
                                                   QStringLiteral("label"),
                                                   QStringLiteral(":/Icon/menuDecor.png"));
        verticalLayout->addWidget(widget_2);

        QMetaObject::connectSlotsByName(form);
    }

    QPushButton *button(const char *objectName) const
    {
        for (size_t i = 0; i < std::size(kMenuButtons); ++i) {
            if (qstrcmp(kMenuButtons[i].objectName, objectName) == 0)
                return buttons[i];
        }
        return nullptr;
    }
};

WidgetMenuSelector::WidgetMenuSelector(QWidget *parent)
    : WidgetMenu(parent), ui(new Ui_WidgetMenuSelector)
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setVisibleFormatFile(false);
    setVisibleLng(false);
    setVisibleInterface(false);
    setMinimumHeight(kPageHeight[szPrincipal]);
    setMaximumHeight(kPageHeight[szPrincipal]);
    hide();

    m_curSize = szPrincipal;
    QPushButton *version = ui->button("version");
    version->setText(version->text()
                     + g_strAppVersion); // "…BETA1.23", as the release notes show it
    m_bTopLabel = 1;
}

WidgetMenuSelector::~WidgetMenuSelector()
{
    delete ui;
}

void WidgetMenuSelector::setTopLabel()
{
    m_bTopLabel = 1;
    ui->widget_4->show();
    ui->widget_2->hide();
}

void WidgetMenuSelector::setBottonLabel()
{
    m_bTopLabel = 0;
    ui->widget_4->hide();
    ui->widget_2->show();
}

void WidgetMenuSelector::restarMenu()
{
    setVisiblePrincipal(true);
    setVisibleFormatFile(false);
    setVisibleLng(false);
    setVisibleInterface(false);
    changeSize(szPrincipal);
}

void WidgetMenuSelector::changeSize(WidgetMenuSelector::eSize size)
{
    if (size < szPrincipal || size > szInterface)
        return;
    setMinimumHeight(kPageHeight[size]);
    setMaximumHeight(kPageHeight[size]);
    // Hanging above the toolbar, the palette keeps a shorter page next to the toolbar.
    if (size == szPrincipal) {
        if (m_bTopLabel == 0)
            move(x(), y() - kMoveUpFrom[m_curSize]);
        return;
    }
    if (m_bTopLabel == 0)
        move(x(), y() + kMoveDownTo[size]);
    m_curSize = size;
}

void WidgetMenuSelector::setPageVisible(int page, bool visible)
{
    for (size_t i = 0; i < std::size(kMenuButtons); ++i) {
        if (kMenuButtons[i].pages & (1u << page))
            ui->buttons[i]->setVisible(visible);
    }
}

void WidgetMenuSelector::setVisiblePrincipal(bool visible)
{
    setPageVisible(szPrincipal, visible);
}

void WidgetMenuSelector::setVisibleLng(bool visible)
{
    setPageVisible(szLng, visible);
}

void WidgetMenuSelector::setVisibleFormatFile(bool visible)
{
    setPageVisible(szFormatFile, visible);
}

void WidgetMenuSelector::setVisibleInterface(bool visible)
{
    setPageVisible(szInterface, visible);
}

void WidgetMenuSelector::emitAndHide(BtMenus::btType command)
{
    emit buttonClicked(command);
    hide();
}

void WidgetMenuSelector::emitBackAndHide(BtMenus::btType command)
{
    emit buttonClicked(command);
    on_backLng_clicked();
    hide();
}

void WidgetMenuSelector::on_newFile_clicked()
{
    emitAndHide(BtMenus::btNewFile);
}

void WidgetMenuSelector::on_openFile_clicked()
{
    emitAndHide(BtMenus::btOpenFile);
}

void WidgetMenuSelector::on_saveFile_clicked()
{
    emitAndHide(BtMenus::btSaveFile);
}

void WidgetMenuSelector::on_saveAsFile_clicked()
{
    emitAndHide(BtMenus::btSaveAsFile);
}

void WidgetMenuSelector::on_exportFile_clicked()
{
    setVisiblePrincipal(false);
    setVisibleLng(false);
    setVisibleFormatFile(true);
    changeSize(szFormatFile);
}

void WidgetMenuSelector::on_language_clicked()
{
    setVisiblePrincipal(false);
    setVisibleFormatFile(false);
    setVisibleInterface(false);
    setVisibleLng(true);
    changeSize(szLng);
}

void WidgetMenuSelector::on_interfaces_clicked()
{
    setVisiblePrincipal(false);
    setVisibleFormatFile(false);
    setVisibleLng(false);
    setVisibleInterface(true);
    changeSize(szInterface);
}

void WidgetMenuSelector::on_settings_clicked()
{
    emitAndHide(BtMenus::btSettings);
}

void WidgetMenuSelector::on_multiuser_clicked()
{
    // The toolbar must switch its style before the dispatcher starts multi-user drawing.
    emit changeInterface(BtMenus::imMultiUser);
    emit buttonClicked(BtMenus::btMultiUser);
}

void WidgetMenuSelector::on_exit_clicked()
{
    // Stays open: exit may be cancelled from the save question.
    emit buttonClicked(BtMenus::btExit);
}

void WidgetMenuSelector::on_backLng_clicked()
{
    setVisiblePrincipal(true);
    setVisibleLng(false);
    setVisibleFormatFile(false);
    setVisibleInterface(false);
    changeSize(szPrincipal);
}

void WidgetMenuSelector::on_pdffile_clicked()
{
    emitBackAndHide(BtMenus::btPdfFile);
}

void WidgetMenuSelector::on_bmpfile_clicked()
{
    emitBackAndHide(BtMenus::btBmpFile);
}

void WidgetMenuSelector::on_jpgfile_clicked()
{
    emitBackAndHide(BtMenus::btJpgFile);
}

void WidgetMenuSelector::on_pngfile_clicked()
{
    emitBackAndHide(BtMenus::btPngFile);
}

void WidgetMenuSelector::on_tifffile_clicked()
{
    emitBackAndHide(BtMenus::btTiffFile);
}

void WidgetMenuSelector::on_english_clicked()
{
    emitBackAndHide(BtMenus::btEnglish);
}

void WidgetMenuSelector::on_spanish_clicked()
{
    emitBackAndHide(BtMenus::btSpanish);
}

void WidgetMenuSelector::on_russian_clicked()
{
    emitBackAndHide(BtMenus::btRussian);
}

void WidgetMenuSelector::on_portuguese_clicked()
{
    emitBackAndHide(BtMenus::btPortuguese);
}

void WidgetMenuSelector::on_french_clicked()
{
    emitBackAndHide(BtMenus::btFrench);
}

void WidgetMenuSelector::on_german_clicked()
{
    emitBackAndHide(BtMenus::btGerman);
}

void WidgetMenuSelector::on_standard_clicked()
{
    emit changeInterface(BtMenus::imStandard);
}

void WidgetMenuSelector::on_kids_clicked()
{
    emit changeInterface(BtMenus::imKids);
}

void WidgetMenuSelector::on_classic_clicked()
{
    emit changeInterface(BtMenus::imClassic);
}
