#include "drichtexteditor.h"

#include "ui_drichtexteditor.h"

#include <QColorDialog>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextList>

namespace {

// The swatch shows the colour a click on it applies, in the "T" of its text.
QString swatchStyle(const QColor &color)
{
    return QStringLiteral(
                   "QPushButton {\n\tcolor: rgb(%1, %2, %3);\n\tfont-size: 40pt;\n"
                   "\tbackground-color: rgb(255, 255, 255);\n\tborder-top-left-radius: 3px;\n"
                   "\tborder-bottom-left-radius: 3px;\n}\n"
                   "QPushButton:hover {\n\tbackground-color: rgb(72, 72, 72);\n}")
            .arg(color.red())
            .arg(color.green())
            .arg(color.blue());
}

} // namespace

DRichTextEditor::DRichTextEditor(QWidget *parent)
    : QDialog(parent), m_color(), m_listStyles{}, ui(new Ui_DRichTextEditor)
{
    ui->setupUi(this);
    setWindowTitle(tr("Editar Texto"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    setupTextActions();
    connect(ui->textEdit, &QTextEdit::cursorPositionChanged, this,
            &DRichTextEditor::cursorPositionChanged);
    ui->keyboard->setEnabled(false);

    QFont font(QStringLiteral("Helvetica"));
    font.setPointSize(25);
    font.setStyleHint(QFont::SansSerif);
    ui->textEdit->setFont(font);

    alignmentChanged(ui->textEdit->alignment());

    m_color = Qt::red;
    const int listStyles[8] = { QTextListFormat::ListDisc,       QTextListFormat::ListCircle,
                                QTextListFormat::ListSquare,     QTextListFormat::ListDecimal,
                                QTextListFormat::ListLowerAlpha, QTextListFormat::ListUpperAlpha,
                                QTextListFormat::ListLowerRoman, QTextListFormat::ListUpperRoman };
    std::copy(std::begin(listStyles), std::end(listStyles), std::begin(m_listStyles));

    ui->textEdit->setFocus();
}

DRichTextEditor::~DRichTextEditor()
{
    delete ui;
}

void DRichTextEditor::setText(const QString &html)
{
    ui->textEdit->setHtml(html);
}

QString DRichTextEditor::text() const
{
    return ui->textEdit->toHtml();
}

void DRichTextEditor::setupTextActions()
{
    const QList<QPushButton *> checkable = { ui->boldtext,        ui->italictext,
                                             ui->underlinetext,   ui->leftaligntext,
                                             ui->centeraligntext, ui->rightaligntext,
                                             ui->justifyaligntext };
    for (QPushButton *button : checkable)
        button->setCheckable(true);

    connect(ui->boldtext, &QPushButton::clicked, this, &DRichTextEditor::textBold);
    connect(ui->italictext, &QPushButton::clicked, this, &DRichTextEditor::textItalic);
    connect(ui->underlinetext, &QPushButton::clicked, this, &DRichTextEditor::textUnderline);
    // The clicked(bool) argument is the button's new checked state, not the restart flag.
    connect(ui->leftaligntext, &QPushButton::clicked, this, [this]() { textLeft(); });
    connect(ui->centeraligntext, &QPushButton::clicked, this, [this]() { textCenter(); });
    connect(ui->rightaligntext, &QPushButton::clicked, this, [this]() { textRight(); });
    connect(ui->justifyaligntext, &QPushButton::clicked, this, [this]() { textJustify(); });
    connect(ui->colortext, &QPushButton::clicked, this, &DRichTextEditor::textColor);

    ui->leftaligntext->setChecked(true);
    m_alignButton = ui->leftaligntext;
}

void DRichTextEditor::mergeFormatOnWordOrSelection(const QTextCharFormat &format)
{
    // Without a selection only the format at the cursor changes, for the text typed next; the
    // word under the cursor is deliberately left alone.
    QTextCursor cursor = ui->textEdit->textCursor();
    cursor.mergeCharFormat(format);
    ui->textEdit->mergeCurrentCharFormat(format);
}

void DRichTextEditor::textBold()
{
    QTextCharFormat format;
    format.setFontWeight(ui->boldtext->isChecked() ? QFont::Bold : QFont::Normal);
    mergeFormatOnWordOrSelection(format);
}

void DRichTextEditor::textItalic()
{
    QTextCharFormat format;
    format.setFontItalic(ui->italictext->isChecked());
    mergeFormatOnWordOrSelection(format);
}

void DRichTextEditor::textUnderline()
{
    QTextCharFormat format;
    format.setFontUnderline(ui->underlinetext->isChecked());
    mergeFormatOnWordOrSelection(format);
}

void DRichTextEditor::textFamily(const QString &f)
{
    QTextCharFormat format;
    format.setFontFamily(f);
    mergeFormatOnWordOrSelection(format);
}

void DRichTextEditor::textSize(const QString &p)
{
    bool ok = false;
    const qreal pointSize = p.toDouble(&ok);
    if (!ok || !(pointSize > 0))
        return;
    QTextCharFormat format;
    format.setFontPointSize(pointSize);
    mergeFormatOnWordOrSelection(format);
}

void DRichTextEditor::textStyle(int styleIndex)
{
    QTextCursor cursor = ui->textEdit->textCursor();
    if (styleIndex == 0) {
        if (QTextList *list = cursor.currentList()) {
            QTextBlockFormat blockFormat = cursor.blockFormat();
            list->remove(cursor.block());
            blockFormat.setObjectIndex(-1);
            cursor.setBlockFormat(blockFormat);
        }
        return;
    }
    if (styleIndex < 1 || styleIndex > 8)
        return;

    const auto style = static_cast<QTextListFormat::Style>(m_listStyles[styleIndex - 1]);
    cursor.beginEditBlock();
    QTextBlockFormat blockFormat = cursor.blockFormat();
    QTextListFormat listFormat;
    if (QTextList *list = cursor.currentList()) {
        listFormat = list->format();
    } else {
        listFormat.setIndent(blockFormat.indent() + 1);
        blockFormat.setIndent(0);
        cursor.setBlockFormat(blockFormat);
    }
    listFormat.setStyle(style);
    cursor.createList(listFormat);
    cursor.endEditBlock();
}

void DRichTextEditor::textAlign(int alignIndex)
{
    switch (alignIndex) {
    case 1:
        ui->textEdit->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        break;
    case 2:
        ui->textEdit->setAlignment(Qt::AlignHCenter);
        break;
    case 3:
        ui->textEdit->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        break;
    case 4:
        ui->textEdit->setAlignment(Qt::AlignJustify);
        break;
    default:
        break;
    }
}

void DRichTextEditor::textLeft(bool restartValue)
{
    textAlign(1);
    selectTextAlign(ui->leftaligntext, restartValue);
}

void DRichTextEditor::textCenter(bool restartValue)
{
    textAlign(2);
    selectTextAlign(ui->centeraligntext, restartValue);
}

void DRichTextEditor::textRight(bool restartValue)
{
    textAlign(3);
    selectTextAlign(ui->rightaligntext, restartValue);
}

void DRichTextEditor::textJustify(bool restartValue)
{
    textAlign(4);
    selectTextAlign(ui->justifyaligntext, restartValue);
}

void DRichTextEditor::selectTextAlign(QPushButton *button, bool restartValue)
{
    if (button != m_alignButton) {
        m_alignButton->setChecked(false);
        m_alignButton = button;
        m_alignButton->setChecked(true);
        return;
    }
    // A second click on the alignment already in force returns the paragraph to the left.
    if (!restartValue)
        return;
    m_alignButton->setChecked(false);
    textAlign(1);
    m_alignButton = ui->leftaligntext;
    m_alignButton->setChecked(true);
}

void DRichTextEditor::alignmentChanged(Qt::Alignment alignment)
{
    if (ui->textEdit->textCursor().hasSelection())
        return;
    if (alignment & Qt::AlignLeft)
        textLeft(false);
    else if (alignment & Qt::AlignHCenter)
        textCenter(false);
    else if (alignment & Qt::AlignRight)
        textRight(false);
    else if (alignment & Qt::AlignJustify)
        textJustify(false);
}

void DRichTextEditor::cursorPositionChanged()
{
    alignmentChanged(ui->textEdit->alignment());
    const QTextCharFormat format = ui->textEdit->currentCharFormat();
    ui->italictext->setChecked(format.fontItalic());
    ui->underlinetext->setChecked(format.fontUnderline());
    ui->boldtext->setChecked(format.fontWeight() > QFont::Normal);
}

void DRichTextEditor::textColor()
{
    // Opens at black whatever was chosen before.
    const QColor color = QColorDialog::getColor(Qt::black, this);
    ui->textEdit->setFocus();
    if (!color.isValid())
        return;
    m_color = color;
    QTextCharFormat format;
    format.setForeground(QBrush(m_color));
    mergeFormatOnWordOrSelection(format);
    ui->colorSelected->setStyleSheet(swatchStyle(m_color));
}

void DRichTextEditor::on_colorSelected_clicked()
{
    QTextCharFormat format;
    format.setForeground(QBrush(m_color));
    mergeFormatOnWordOrSelection(format);
}

void DRichTextEditor::on_aceptBt_clicked()
{
    done(QDialog::Accepted);
}

void DRichTextEditor::on_cancelBt_clicked()
{
    done(QDialog::Rejected);
}

void DRichTextEditor::on_keyboard_clicked() { }
