#include "dshortui.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

int DShortUi::m_curPenType = BtMenus::btSelect;

namespace {

struct ShortButton
{
    const char *objectName;
    const char *icon;
    const char *toolTip;
};

// clang-format off
constexpr ShortButton kShortButtons[] = {
    { "m_pDesktop",    ":/Icon/bCenter.png",              QT_TRANSLATE_NOOP("DShortUi", "Veltorisa") },
    { "m_pTransPage",  ":/Icon/baNewTransparentPage.png", QT_TRANSLATE_NOOP("DShortUi", "Página transparente") },
    { "m_pSelect_2",   ":/Icon/bTop.png",                 QT_TRANSLATE_NOOP("DShortUi", "Seleccionar") },
    { "m_pPen",        ":/Icon/baExpandPenBotton.png",    QT_TRANSLATE_NOOP("DShortUi", "Lápiz") },
    { "m_pHighlight",  ":/Icon/baHighlightPenMini.png",   QT_TRANSLATE_NOOP("DShortUi", "Subrayador") },
    { "m_pEraser",     ":/Icon/baEraser.png",             QT_TRANSLATE_NOOP("DShortUi", "Borrador de objetos") },
    { "m_pText",       ":/Icon/text.png",                 QT_TRANSLATE_NOOP("DShortUi", "Texto") },
    { "m_pPageDown_2", ":/Icon/baPageUp.png",             QT_TRANSLATE_NOOP("DShortUi", "Página anterior") },
    { "m_pPageUp_2",   ":/Icon/baPageDown.png",           QT_TRANSLATE_NOOP("DShortUi", "Página posterior") },
    { "m_pPageClean",  ":/Icon/baClearPage.png",          QT_TRANSLATE_NOOP("DShortUi", "Limpiar página") },
    { "m_pUndo_2",     ":/Icon/bLeft.png",                QT_TRANSLATE_NOOP("DShortUi", "Deshacer") },
    { "m_pRedo_2",     ":/Icon/bRight.png",               QT_TRANSLATE_NOOP("DShortUi", "Rehacer") },
    { "m_pSave",       ":/Icon/baSafeFile.png",           QT_TRANSLATE_NOOP("DShortUi", "Guardar") },
    { "m_pExit",       ":/Icon/baExit.png",               QT_TRANSLATE_NOOP("DShortUi", "Salir") },
};

struct ToolMark
{
    BtMenus::btType tool;
    const char *objectName;
};

// The tools this bar offers; any other active tool leaves the marking where it is.
constexpr ToolMark kToolMarks[] = {
    { BtMenus::btSelect,       "m_pSelect_2" },
    { BtMenus::btPencil,       "m_pPen" },
    { BtMenus::btHighlighter,  "m_pHighlight" },
    { BtMenus::btObjectEraser, "m_pEraser" },
    { BtMenus::btText,         "m_pText" },
};
// clang-format on

const char kMarkedSheet[] = "#%1 { background-color: rgba(0, 150, 255, 255); border-radius: 3px; }"
                            "#%1:hover { background-color: rgb(72, 72, 72); border-radius: 3px; }";

} // namespace

class Ui_DShortUi
{
public:
    QGridLayout *gridLayout;
    QWidget *widget_4;
    QGridLayout *gridLayout_4;
    QWidget *widget_5;
    QVBoxLayout *verticalLayout;

    void setupUi(QWidget *bar)
    {
        if (bar->objectName().isEmpty())
            bar->setObjectName(QStringLiteral("DShortUi"));
        bar->resize(45, 565);
        bar->setMinimumSize(45, 565);
        bar->setMaximumSize(45, 565);
        bar->setWindowIcon(QIcon(QStringLiteral(":/Icon/LogoToolbar.png")));
        gridLayout = new QGridLayout(bar);
        gridLayout->setObjectName(QStringLiteral("gridLayout"));
        gridLayout->setSpacing(0);
        gridLayout->setContentsMargins(0, 0, 0, 0);

        widget_4 = new QWidget(bar);
        widget_4->setObjectName(QStringLiteral("widget_4"));
        widget_4->resize(45, 565);
        widget_4->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        widget_4->setCursor(Qt::ArrowCursor);
        widget_4->setStyleSheet(QStringLiteral(
                "#widget_4 { background-color: rgba(172, 172, 172, 255); "
                "border-top-left-radius: 3px; border-bottom-left-radius: 3px; }"));
        gridLayout_4 = new QGridLayout(widget_4);
        gridLayout_4->setObjectName(QStringLiteral("gridLayout_4"));
        gridLayout_4->setSpacing(5);
        gridLayout_4->setContentsMargins(5, 5, 5, 5);

        widget_5 = new QWidget(widget_4);
        widget_5->setObjectName(QStringLiteral("widget_5"));
        widget_5->resize(35, 555);
        verticalLayout = new QVBoxLayout(widget_5);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        verticalLayout->setSpacing(5);
        verticalLayout->setContentsMargins(0, 0, 0, 5);
        gridLayout_4->addWidget(widget_5, 1, 0);
        gridLayout->addWidget(widget_4, 0, 0);

        for (const ShortButton &entry : kShortButtons) {
            auto *button = new QToolButton(widget_5);
            const QString name = QLatin1String(entry.objectName);
            button->setObjectName(name);
            button->setFixedSize(35, 35);
            button->setIconSize(QSize(32, 32));
            button->setIcon(QIcon(QLatin1String(entry.icon)));
            QString sheet = QStringLiteral("#%1 { background-color: rgb(210, 210, 210); "
                                           "border-radius: 3px; }"
                                           "#%1:hover { background-color: rgb(72, 72, 72); "
                                           "border-radius: 3px; }")
                                    .arg(name);
            if (name == QLatin1String("m_pSelect_2")) {
                sheet += QStringLiteral("#m_pSelect_2 { color: rgb(0, 0, 0); }");
                button->setAutoRepeat(false);
                button->setAutoRepeatDelay(280);
                button->setPopupMode(QToolButton::DelayedPopup);
                button->setToolButtonStyle(Qt::ToolButtonIconOnly);
                button->setAutoRaise(false);
            }
            if (name == QLatin1String("m_pPageDown_2"))
                button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            button->setStyleSheet(sheet);
            verticalLayout->addWidget(button);
        }
        retranslateUi(bar);
        QMetaObject::connectSlotsByName(bar);
    }

    void retranslateUi(QWidget *bar)
    {
        bar->setWindowTitle(QCoreApplication::translate("DShortUi", "Veltorisa"));
        for (const ShortButton &entry : kShortButtons) {
            auto *button = bar->findChild<QToolButton *>(QLatin1String(entry.objectName));
            button->setToolTip(QCoreApplication::translate("DShortUi", entry.toolTip));
            button->setText(QString());
        }
    }
};

DShortUi::DShortUi(QWidget *parent) : QWidget(parent), ui(new Ui_DShortUi)
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    m_curPenType = BtMenus::btSelect;
    if (parent)
        move(parent->width() - width(), parent->height() / 2 - height() / 2);
    hide();
}

DShortUi::~DShortUi()
{
    delete ui;
}

void DShortUi::setMode(BtMenus::eDesktopMode mode)
{
    if (mode == BtMenus::dmDesktop) {
        m_bVisible = true;
        show();
        selectButton(nullptr);
    } else if (mode == BtMenus::dmBoard) {
        m_bVisible = false;
        hide();
    }
    m_mode = mode;
}

void DShortUi::changeVeltorinaIco(const QString &iconPath, const QString &toolTip)
{
    auto *desktop = findChild<QToolButton *>(QStringLiteral("m_pDesktop"));
    desktop->setIcon(QIcon(iconPath));
    desktop->setToolTip(toolTip);
}

void DShortUi::updatePen(BtMenus::btType type)
{
    m_curPenType = type;
    updateSelectedBt();
}

void DShortUi::updateSelectedBt()
{
    for (const ToolMark &mark : kToolMarks) {
        if (mark.tool == m_curPenType) {
            selectButton(findChild<QToolButton *>(QLatin1String(mark.objectName)));
            return;
        }
    }
}

void DShortUi::selectButton(QToolButton *button)
{
    if (button == m_pSelectedButton)
        return;
    if (m_pSelectedButton)
        m_pSelectedButton->setStyleSheet(m_selectedStyle);
    m_pSelectedButton = button;
    if (!button)
        return;
    m_selectedStyle = button->styleSheet();
    button->setStyleSheet(QString::fromLatin1(kMarkedSheet).arg(button->objectName()));
}

void DShortUi::hideToolBar()
{
    m_bVisible = !m_bVisible;
    setVisible(m_bVisible);
}

void DShortUi::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateSelectedBt();
}

void DShortUi::takeBoardTool(BtMenus::btType tool)
{
    emit transparentPage();
    emit showVeltorina();
    emit buttonClicked(tool);
    updateSelectedBt();
}

void DShortUi::on_m_pTransPage_clicked()
{
    emit buttonClicked(BtMenus::btTransparentPage);
}

void DShortUi::on_m_pSelect_2_clicked()
{
    takeBoardTool(BtMenus::btSelect);
}

void DShortUi::on_m_pPen_clicked()
{
    takeBoardTool(BtMenus::btPencil);
}

void DShortUi::on_m_pHighlight_clicked()
{
    takeBoardTool(BtMenus::btHighlighter);
}

void DShortUi::on_m_pEraser_clicked()
{
    takeBoardTool(BtMenus::btObjectEraser);
}

void DShortUi::on_m_pText_clicked()
{
    takeBoardTool(BtMenus::btText);
}

void DShortUi::on_m_pPageDown_2_clicked()
{
    emit buttonClicked(BtMenus::btPreviousPage);
}

void DShortUi::on_m_pPageUp_2_clicked()
{
    emit buttonClicked(BtMenus::btNextPage);
}

void DShortUi::on_m_pPageClean_clicked()
{
    emit buttonClicked(BtMenus::btCleanPage);
}

void DShortUi::on_m_pUndo_2_clicked()
{
    emit buttonClicked(BtMenus::btUndo);
}

void DShortUi::on_m_pRedo_2_clicked()
{
    emit buttonClicked(BtMenus::btRedo);
}

void DShortUi::on_m_pSave_clicked()
{
    emit buttonClicked(BtMenus::btSaveFile);
}

void DShortUi::on_m_pExit_clicked()
{
    emit buttonClicked(BtMenus::btExit);
}

void DShortUi::on_m_pDesktop_clicked()
{
    emit buttonClicked(BtMenus::btDesktop);
}
