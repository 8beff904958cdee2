#include "widgetpageselector.h"

#include "palettestyle.h"
#include "shell/dmainui.h"
#include "shell/textfit.h"

#include <QAbstractTextDocumentLayout>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr int kZoomPointSize = 29;
constexpr int kZoomPadding = 4; // clear of the box's rounded corners
} // namespace

namespace {

enum Container { ZoomRow, DragColumn, NewPageGrid };

struct PageButton
{
    const char *objectName;
    Container container;
    int row;
    int column;
    const char *icon;
    const char *toolTip; // source text in the context "WidgetPageSelector"
};

// The zoom icons are crossed on purpose: the toolbar's zoom buttons show them the same way.
// clang-format off
constexpr PageButton kPageButtons[] = {
    { "baZoomIn",          ZoomRow,     0, 0, ":/Icon/bZoomOut.png",               QT_TRANSLATE_NOOP("WidgetPageSelector", "Ampliar página") },
    { "baZoomOut",         ZoomRow,     0, 1, ":/Icon/bZoomIn.png",                QT_TRANSLATE_NOOP("WidgetPageSelector", "Disminuir página") },
    { "baDragPage",        DragColumn,  0, 0, ":/Icon/baDragpage.png",             QT_TRANSLATE_NOOP("WidgetPageSelector", "Mover página") },
    { "baMoveBackPage",    DragColumn,  1, 0, ":/Icon/baMoveBackPage.png",         QT_TRANSLATE_NOOP("WidgetPageSelector", "Posición inicial") },
    { "baColorPage",       NewPageGrid, 1, 0, ":/Icon/baNewWhitePage.png",         QT_TRANSLATE_NOOP("WidgetPageSelector", "Página blanca") },
    { "baImagePage",       NewPageGrid, 1, 1, ":/Icon/baNewImagePage.png",         QT_TRANSLATE_NOOP("WidgetPageSelector", "Página de imagen") },
    { "baCapturePage",     NewPageGrid, 1, 2, ":/Icon/baNewColorPage.png",         QT_TRANSLATE_NOOP("WidgetPageSelector", "Página de captura") },
    { "baTransparentPage", NewPageGrid, 2, 0, ":/Icon/baNewTransparentPage.png",   QT_TRANSLATE_NOOP("WidgetPageSelector", "Página transparente") },
    { "baCleanPage",       NewPageGrid, 2, 1, ":/Icon/baClearPage.png",            QT_TRANSLATE_NOOP("WidgetPageSelector", "Limpiar página") },
    { "baDelPage",         NewPageGrid, 2, 2, ":/Icon/baDelPage.png",              QT_TRANSLATE_NOOP("WidgetPageSelector", "Eliminar página") },
};
// clang-format on

} // namespace

class Ui_WidgetPageSelector
{
public:
    QWidget *widget_10 = nullptr; // top arrow row
    QWidget *widget_2 = nullptr; // bottom arrow row
    QTextEdit *pagexample = nullptr;
    QPushButton *baDragPage = nullptr;

    void setupUi(QDialog *form)
    {
        form->setObjectName(QStringLiteral("WidgetPageSelector"));
        form->resize(355, 170);
        form->setMinimumHeight(170);
        form->setMaximumHeight(190);
        form->setWindowTitle(QCoreApplication::translate("WidgetPageSelector", "Form"));
        auto *verticalLayout = new QVBoxLayout(form);
        verticalLayout->setSpacing(0);
        verticalLayout->setContentsMargins(0, 0, 0, 0);

        widget_10 = PaletteStyle::makeDecorationRow(
                form, QStringLiteral("widget_10"), QStringLiteral("label_2"),
                QStringLiteral(":/Icon/menuDecorTop.png"), true);
        verticalLayout->addWidget(widget_10);

        QWidget *widget_3 = PaletteStyle::makeBox(form, "widget_3", QSize(355, 150));
        widget_3->setStyleSheet(PaletteStyle::panelSheet(QStringLiteral("widget_3")));
        auto *body = new QHBoxLayout(widget_3);
        body->setSpacing(10);
        body->setContentsMargins(5, 5, 5, 5);

        QWidget *widget_9 = PaletteStyle::makeBox(widget_3, "widget_9", QSize(195, 140));
        auto *leftColumn = new QVBoxLayout(widget_9);
        leftColumn->setSpacing(4);
        leftColumn->setContentsMargins(0, 0, 0, 0);

        QWidget *widget_4 = PaletteStyle::makeBox(widget_9, "widget_4", QSize(195, 40));
        auto *zoomRow = new QHBoxLayout(widget_4);
        zoomRow->setSpacing(10);
        zoomRow->setContentsMargins(0, 0, 0, 0);
        QWidget *widget_12 = PaletteStyle::makeBox(widget_4, "widget_12");
        auto *zoomButtons = new QHBoxLayout(widget_12);
        zoomButtons->setSpacing(10);
        zoomButtons->setContentsMargins(0, 0, 0, 0);
        zoomRow->addWidget(widget_12);
        pagexample = new QTextEdit(widget_4);
        pagexample->setObjectName(QStringLiteral("pagexample"));
        pagexample->setReadOnly(true);
        pagexample->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        pagexample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        pagexample->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
        // "100%" in the large face is about as wide as the box: wrapped, only "%" would show.
        pagexample->setLineWrapMode(QTextEdit::NoWrap);
        pagexample->document()->setDocumentMargin(0);
        pagexample->setStyleSheet(QStringLiteral(
                "QTextEdit{background-color: rgb(255, 255, 255);border-radius:10px;}"));
        zoomRow->addWidget(pagexample);
        leftColumn->addWidget(widget_4);
        leftColumn->addWidget(PaletteStyle::makeLine(widget_9, "line", QFrame::HLine));

        QWidget *widget = PaletteStyle::makeBox(widget_9, "widget");
        auto *pageRow = new QHBoxLayout(widget);
        pageRow->setSpacing(3);
        pageRow->setContentsMargins(0, 0, 0, 0);
        QWidget *widget_11 = PaletteStyle::makeBox(widget, "widget_11", QSize(40, 90));
        auto *dragColumn = new QGridLayout(widget_11);
        dragColumn->setSpacing(10);
        dragColumn->setContentsMargins(0, 0, 0, 0);
        QWidget *widget_5 = PaletteStyle::makeBox(widget, "widget_5", QSize(140, 90));
        auto *newPageGrid = new QGridLayout(widget_5);
        newPageGrid->setSpacing(10);
        newPageGrid->setContentsMargins(0, 0, 0, 0);
        pageRow->addWidget(widget_11);
        pageRow->addWidget(PaletteStyle::makeLine(widget, "line_2", QFrame::VLine));
        pageRow->addWidget(widget_5);
        leftColumn->addWidget(widget);

        for (const PageButton &entry : kPageButtons) {
            QWidget *owner = entry.container == ZoomRow ? widget_12
                    : entry.container == DragColumn     ? widget_11
                                                        : widget_5;
            QPushButton *button = PaletteStyle::makeIconButton(owner, entry.objectName, entry.icon,
                                                               "WidgetPageSelector", entry.toolTip,
                                                               QSize(40, 40));
            if (entry.container == ZoomRow)
                zoomButtons->addWidget(button);
            else
                (entry.container == DragColumn ? dragColumn : newPageGrid)
                        ->addWidget(button, entry.row, entry.column);
            if (qstrcmp(entry.objectName, "baDragPage") == 0)
                baDragPage = button;
        }
        body->addWidget(widget_9);

        QWidget *widget_6 = PaletteStyle::makeColourColumn(
                widget_3, { QSize(140, 140), 5, QSize(43, 24), QSize(140, 115) },
                QCoreApplication::translate("WidgetPageSelector", "Más colores"));
        body->addWidget(widget_6);
        verticalLayout->addWidget(widget_3);

        widget_2 = PaletteStyle::makeDecorationRow(form, QStringLiteral("widget_2"),
                                                   QStringLiteral("label"),
                                                   QStringLiteral(":/Icon/menuDecor.png"));
        verticalLayout->addWidget(widget_2);

        QMetaObject::connectSlotsByName(form);
    }
};

WidgetPageSelector::WidgetPageSelector(QWidget *parent)
    : WidgetMenu(parent), ui(new Ui_WidgetPageSelector)
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
    showZoomText(QStringLiteral("100%"));
}

WidgetPageSelector::~WidgetPageSelector()
{
    delete ui;
}

void WidgetPageSelector::setTopLabel()
{
    ui->widget_10->show();
    ui->widget_2->hide();
}

void WidgetPageSelector::setBottonLabel()
{
    ui->widget_10->hide();
    ui->widget_2->show();
}

void WidgetPageSelector::selectPageButton(QPushButton *button, bool force)
{
    m_mark.select(button, force);
}

void WidgetPageSelector::showZoomText(const QString &text)
{
    QTextEdit *display = ui->pagexample;
    QTextDocument *document = display->document();
    // Across, clear of the rounded corners. Down, the whole line, not only the digits, must
    // fit: a taller document scrolls to its cursor and cuts the tops off the digits ("91%" at
    // 29 points is taller than the box); the line's own room above and below the digits keeps
    // them off the edges.
    const qreal roomAcross = display->viewport()->width() - 2 * kZoomPadding;
    const qreal roomDown = display->viewport()->height();
    display->setPlainText(text);
    QFont face(QStringLiteral("Arial"));
    for (qreal size = kZoomPointSize;; size -= size > TextFit::kSmallestPointSize ? 1.0 : 0.5) {
        // Below the smallest readable face only for zooms no class reaches: whole, if small.
        face.setPointSizeF(size);
        display->selectAll();
        display->setCurrentFont(face);
        display->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        if (size <= 1.0
            || (document->idealWidth() <= roomAcross && document->size().height() <= roomDown))
            break;
    }
    QTextCursor cursor = display->textCursor();
    cursor.clearSelection();
    display->setTextCursor(cursor);
    centreInkVertically(face);
}

void WidgetPageSelector::centreInkVertically(const QFont &face)
{
    // A text box centres only across. Down, the digits' ink goes to the middle of the box by the
    // document's top margin: the line's room above and below the digits differs between faces.
    QTextEdit *display = ui->pagexample;
    QTextDocument *document = display->document();
    QTextFrame *root = document->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setTopMargin(0);
    root->setFrameFormat(format);
    const QTextBlock block = document->firstBlock();
    const QTextLayout *layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return;
    const QTextLine line = layout->lineAt(0);
    const qreal baseline =
            document->documentLayout()->blockBoundingRect(block).top() + line.y() + line.ascent();
    const QRectF ink = QFontMetricsF(face, display->viewport())
                               .tightBoundingRect(block.text())
                               .translated(0, baseline);
    const qreal height = display->viewport()->height();
    const qreal slack = height - document->size().height(); // never scrolled: the line fits
    format.setTopMargin(qBound<qreal>(0, height / 2 - ink.center().y(), qMax<qreal>(0, slack)));
    root->setFrameFormat(format);
    display->verticalScrollBar()->setValue(0);
}

void WidgetPageSelector::updateExample(float zoom)
{
    // A broken zoom factor from the view must not show "nan%" or "inf%" to the class.
    if (!std::isfinite(zoom))
        return;
    // In double: past 3.4e36 the percentage no longer fits a float and would read "inf%".
    showZoomText(QString::number(double(zoom) * 100.0, 'f', 0) + QLatin1Char('%'));
}

void WidgetPageSelector::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    showZoomText(ui->pagexample->toPlainText()); // its box has its final size now
    if (DMainUi::m_curPenType == BtMenus::btDragPage)
        selectPageButton(ui->baDragPage, false);
    else
        selectPageButton(nullptr, true);
}

// clang-format off
void WidgetPageSelector::on_baZoomIn_clicked() { emit buttonClicked(BtMenus::btZoomIn); }
void WidgetPageSelector::on_baZoomOut_clicked() { emit buttonClicked(BtMenus::btZoomOut); }
void WidgetPageSelector::on_baMoveBackPage_clicked() { emit buttonClicked(BtMenus::btMoveBackPage); }
void WidgetPageSelector::on_baColorPage_clicked() { emit buttonClicked(BtMenus::btColorPage); }
void WidgetPageSelector::on_baImagePage_clicked() { emit buttonClicked(BtMenus::btImagePage); }
void WidgetPageSelector::on_baCapturePage_clicked() { emit buttonClicked(BtMenus::btCapturePage); }
void WidgetPageSelector::on_baTransparentPage_clicked() { emit buttonClicked(BtMenus::btTransparentPage); }
void WidgetPageSelector::on_baCleanPage_clicked() { emit buttonClicked(BtMenus::btCleanPage); }
void WidgetPageSelector::on_baDelPage_clicked() { emit buttonClicked(BtMenus::btDeletePage); }
// clang-format on

void WidgetPageSelector::on_baDragPage_clicked()
{
    emit buttonClicked(BtMenus::btDragPage);
    selectPageButton(ui->baDragPage, false);
}

void WidgetPageSelector::on_pushButton_clicked()
{
    // Starts on the pen's colour, not the page's: the teacher often wants the page in the ink's
    // colour family.
    const QColor colour = QColorDialog::getColor(DMainUi::m_pen.color(), this);
    if (PaletteStyle::isChosen(colour))
        emit colorClicked(colour);
}

void WidgetPageSelector::swatchClicked(const char *name)
{
    emit colorClicked(PaletteStyle::swatchColourNamed(name));
}

// clang-format off
void WidgetPageSelector::on_redcolor_clicked() { swatchClicked("redcolor"); }
void WidgetPageSelector::on_orangecolor_clicked() { swatchClicked("orangecolor"); }
void WidgetPageSelector::on_yellowcolor_clicked() { swatchClicked("yellowcolor"); }
void WidgetPageSelector::on_pinkcolor_clicked() { swatchClicked("pinkcolor"); }
void WidgetPageSelector::on_greencolor_clicked() { swatchClicked("greencolor"); }
void WidgetPageSelector::on_forestcolor_clicked() { swatchClicked("forestcolor"); }
void WidgetPageSelector::on_purplecolor_clicked() { swatchClicked("purplecolor"); }
void WidgetPageSelector::on_skycolor_clicked() { swatchClicked("skycolor"); }
void WidgetPageSelector::on_bluecolor_clicked() { swatchClicked("bluecolor"); }
void WidgetPageSelector::on_blackcolor_clicked() { swatchClicked("blackcolor"); }
void WidgetPageSelector::on_greycolor_clicked() { swatchClicked("greycolor"); }
void WidgetPageSelector::on_whitecolor_clicked() { swatchClicked("whitecolor"); }
// clang-format on
