#include "content/drichtexteditor.h"
#include "support/testsupport.h"

#include <QColorDialog>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <QtTest>

// The editor as a teacher uses it: buttons clicked with the mouse on a real text document.
class tst_DRichTextEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void construction();
    void formSlotsFindTheirButtons();
    void toolbarIconsAreDrawn();
    void boldWithoutSelectionOnlyAffectsTypedText();
    void characterButtonsFormatTheSelection_data();
    void characterButtonsFormatTheSelection();
    void secondClickReturnsToLeft_data();
    void secondClickReturnsToLeft();
    void secondClickOnLeftKeepsLeft();
    void cursorMovesSyncTheButtons();
    void swatchColoursSelectionRedAfterConstruction();
    void colourDialogOpensAtBlackAndCancelKeepsSwatch();
    void acceptAndCancel_data();
    void acceptAndCancel();
    void listStyles();

private:
    static QPushButton *button(DRichTextEditor &editor, const char *name)
    {
        return editor.findChild<QPushButton *>(QLatin1String(name));
    }
    static QTextEdit *textEdit(DRichTextEditor &editor)
    {
        return editor.findChild<QTextEdit *>(QStringLiteral("textEdit"));
    }
    // The character format of the character at position (the one after the cursor there).
    static QTextCharFormat formatAt(QTextEdit *edit, int position)
    {
        QTextCursor cursor(edit->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
    static void selectAll(QTextEdit *edit)
    {
        QTextCursor cursor(edit->document());
        cursor.select(QTextCursor::Document);
        edit->setTextCursor(cursor);
    }
    static void placeCursor(QTextEdit *edit, int position)
    {
        QTextCursor cursor(edit->document());
        cursor.setPosition(position);
        edit->setTextCursor(cursor);
    }
};

void tst_DRichTextEditor::initTestCase()
{
    TestSupport::recordConnectWarnings();
}

void tst_DRichTextEditor::cleanup()
{
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void tst_DRichTextEditor::construction()
{
    DRichTextEditor editor(nullptr);
    QCOMPARE(editor.windowTitle(), QStringLiteral("Editar Texto"));
    QVERIFY(!(editor.windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(!button(editor, "keyboard")->isEnabled());
    QCOMPARE(editor.swatchColor(), QColor(Qt::red));
    QCOMPARE(textEdit(editor)->font().family(), QStringLiteral("Helvetica"));
    QCOMPARE(textEdit(editor)->font().pointSize(), 25);
    int checkedAlign = 0;
    for (const char *name :
         { "leftaligntext", "centeraligntext", "rightaligntext", "justifyaligntext" }) {
        QVERIFY(button(editor, name)->isCheckable());
        checkedAlign += button(editor, name)->isChecked() ? 1 : 0;
    }
    QCOMPARE(checkedAlign, 1);
    QVERIFY(button(editor, "leftaligntext")->isChecked());
    for (const char *name : { "boldtext", "italictext", "underlinetext" }) {
        QVERIFY(button(editor, name)->isCheckable());
        QVERIFY(!button(editor, name)->isChecked());
    }
}

void tst_DRichTextEditor::formSlotsFindTheirButtons()
{
    DRichTextEditor editor(nullptr);
    const QMetaObject *meta = editor.metaObject();
    int found = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QString name = QString::fromLatin1(meta->method(i).name());
        if (!name.startsWith(QLatin1String("on_")) || !name.endsWith(QLatin1String("_clicked")))
            continue;
        const QString object = name.mid(3, name.size() - 3 - 8);
        QVERIFY2(editor.findChild<QPushButton *>(object), qPrintable(object));
        ++found;
    }
    QCOMPARE(found, 4);
}

// The form names its pictures in the .ui file, out of reach of the resource literal check.
void tst_DRichTextEditor::toolbarIconsAreDrawn()
{
    DRichTextEditor editor(nullptr);
    for (const char *name : { "boldtext", "italictext", "underlinetext", "leftaligntext",
                              "centeraligntext", "rightaligntext", "justifyaligntext" }) {
        QVERIFY2(QFile::exists(QStringLiteral(":/Icon/%1.png").arg(QLatin1String(name))), name);
        QVERIFY2(!button(editor, name)->icon().isNull(), name);
        QCOMPARE(button(editor, name)->iconSize(), QSize(45, 45));
    }
    QVERIFY(QFile::exists(QStringLiteral(":/Icon/baKeyBoard.png")));
    QVERIFY(!button(editor, "keyboard")->icon().isNull());
    QVERIFY(QFile::exists(QStringLiteral(":/Icon/expandSubmenu.png")));
    QVERIFY(!button(editor, "colortext")->icon().isNull());
    QCOMPARE(button(editor, "colortext")->iconSize(), QSize(15, 15));
    QVERIFY(button(editor, "colorSelected")->icon().isNull());
    QCOMPARE(button(editor, "colorSelected")->text(), QStringLiteral("T"));
}

void tst_DRichTextEditor::boldWithoutSelectionOnlyAffectsTypedText()
{
    DRichTextEditor editor(nullptr);
    editor.setText(QStringLiteral("abc"));
    editor.show();
    QTextEdit *edit = textEdit(editor);
    placeCursor(edit, 3);
    QTest::mouseClick(button(editor, "boldtext"), Qt::LeftButton);
    QVERIFY(button(editor, "boldtext")->isChecked());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(formatAt(edit, i).fontWeight(), int(QFont::Normal));
    QTest::keyClicks(edit, QStringLiteral("de"));
    QCOMPARE(edit->toPlainText(), QStringLiteral("abcde"));
    QCOMPARE(formatAt(edit, 3).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(edit, 4).fontWeight(), int(QFont::Bold));
    QVERIFY(editor.text().contains(QLatin1String("font-weight:600;\">de<")));
}

void tst_DRichTextEditor::characterButtonsFormatTheSelection_data()
{
    QTest::addColumn<QByteArray>("buttonName");
    QTest::addColumn<int>("property");
    QTest::newRow("bold") << QByteArray("boldtext") << int(QTextFormat::FontWeight);
    QTest::newRow("italic") << QByteArray("italictext") << int(QTextFormat::FontItalic);
    QTest::newRow("underline") << QByteArray("underlinetext")
                               << int(QTextFormat::TextUnderlineStyle);
}

void tst_DRichTextEditor::characterButtonsFormatTheSelection()
{
    QFETCH(QByteArray, buttonName);
    QFETCH(int, property);
    DRichTextEditor editor(nullptr);
    editor.setText(QStringLiteral("one two"));
    editor.show();
    QTextEdit *edit = textEdit(editor);
    QTextCursor cursor(edit->document());
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    const auto isSet = [&](int position) {
        const QTextCharFormat format = formatAt(edit, position);
        if (property == QTextFormat::FontWeight)
            return format.fontWeight() > QFont::Normal;
        if (property == QTextFormat::FontItalic)
            return format.fontItalic();
        return format.fontUnderline();
    };

    QTest::mouseClick(button(editor, buttonName), Qt::LeftButton);
    QVERIFY(!isSet(0));
    QVERIFY(isSet(4));
    QVERIFY(isSet(6));
    // The second click takes the format off again.
    QTest::mouseClick(button(editor, buttonName), Qt::LeftButton);
    QVERIFY(!isSet(4));
    QVERIFY(!isSet(6));
}

void tst_DRichTextEditor::secondClickReturnsToLeft_data()
{
    QTest::addColumn<QByteArray>("buttonName");
    QTest::addColumn<int>("alignment");
    QTest::newRow("centre") << QByteArray("centeraligntext") << int(Qt::AlignHCenter);
    QTest::newRow("right") << QByteArray("rightaligntext")
                           << int(Qt::AlignRight | Qt::AlignAbsolute);
    QTest::newRow("justify") << QByteArray("justifyaligntext") << int(Qt::AlignJustify);
}

void tst_DRichTextEditor::secondClickReturnsToLeft()
{
    QFETCH(QByteArray, buttonName);
    QFETCH(int, alignment);
    DRichTextEditor editor(nullptr);
    editor.setText(QStringLiteral("<p>first</p><p>second</p>"));
    editor.show();
    QTextEdit *edit = textEdit(editor);
    placeCursor(edit, 8); // in the second paragraph
    QPushButton *alignButton = button(editor, buttonName);
    QPushButton *left = button(editor, "leftaligntext");

    QTest::mouseClick(alignButton, Qt::LeftButton);
    QCOMPARE(int(edit->document()->findBlockByNumber(1).blockFormat().alignment()), alignment);
    QVERIFY(edit->document()->findBlockByNumber(0).blockFormat().alignment() & Qt::AlignLeft);
    QVERIFY(alignButton->isChecked());
    QVERIFY(!left->isChecked());

    QTest::mouseClick(alignButton, Qt::LeftButton);
    QCOMPARE(int(edit->document()->findBlockByNumber(1).blockFormat().alignment()),
             int(Qt::AlignLeft | Qt::AlignAbsolute));
    QVERIFY(!alignButton->isChecked());
    QVERIFY(left->isChecked());
}

void tst_DRichTextEditor::secondClickOnLeftKeepsLeft()
{
    DRichTextEditor editor(nullptr);
    editor.setText(QStringLiteral("text"));
    editor.show();
    QPushButton *left = button(editor, "leftaligntext");
    QVERIFY(left->isChecked());
    QTest::mouseClick(left, Qt::LeftButton);
    QVERIFY(left->isChecked());
    QTest::mouseClick(left, Qt::LeftButton);
    QVERIFY(left->isChecked());
    QVERIFY(textEdit(editor)->alignment() & Qt::AlignLeft);
    for (const char *name : { "centeraligntext", "rightaligntext", "justifyaligntext" })
        QVERIFY(!button(editor, name)->isChecked());
}

void tst_DRichTextEditor::cursorMovesSyncTheButtons()
{
    DRichTextEditor editor(nullptr);
    // Positions: "plain " 0-5, "bold" 6-9, " " 10, "it" 11-12, " " 13, "un" 14-15; "mid" 17-19.
    editor.setText(QStringLiteral(
            "<p>plain <b>bold</b> <i>it</i> <u>un</u></p><p align=\"center\">mid</p>"));
    editor.show();
    QTextEdit *edit = textEdit(editor);
    QPushButton *bold = button(editor, "boldtext");
    QPushButton *italic = button(editor, "italictext");
    QPushButton *underline = button(editor, "underlinetext");

    placeCursor(edit, 8);
    QVERIFY(bold->isChecked() && !italic->isChecked() && !underline->isChecked());
    // Keyboard moves are what the user does; each one re-reads the format at the cursor.
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_Right); // 12: inside "it"
    QVERIFY(!bold->isChecked() && italic->isChecked() && !underline->isChecked());
    placeCursor(edit, 15);
    QVERIFY(!bold->isChecked() && !italic->isChecked() && underline->isChecked());
    placeCursor(edit, 3);
    QVERIFY(!bold->isChecked() && !italic->isChecked() && !underline->isChecked());
    QVERIFY(button(editor, "leftaligntext")->isChecked());

    QTest::keyClick(edit, Qt::Key_Down);
    QCOMPARE(edit->textCursor().blockNumber(), 1);
    QVERIFY(button(editor, "centeraligntext")->isChecked());
    QVERIFY(!button(editor, "leftaligntext")->isChecked());
    QTest::keyClick(edit, Qt::Key_Up);
    QVERIFY(button(editor, "leftaligntext")->isChecked());
    QVERIFY(!button(editor, "centeraligntext")->isChecked());
}

void tst_DRichTextEditor::swatchColoursSelectionRedAfterConstruction()
{
    DRichTextEditor editor(nullptr);
    editor.setText(QStringLiteral("colour me"));
    editor.show();
    QTextEdit *edit = textEdit(editor);
    selectAll(edit);
    QTest::mouseClick(button(editor, "colorSelected"), Qt::LeftButton);
    QCOMPARE(formatAt(edit, 0).foreground().color(), QColor(Qt::red));
    QCOMPARE(formatAt(edit, 8).foreground().color(), QColor(Qt::red));
    QCOMPARE(formatAt(edit, 0).foreground().style(), Qt::SolidPattern);
}

void tst_DRichTextEditor::colourDialogOpensAtBlackAndCancelKeepsSwatch()
{
    DRichTextEditor editor(nullptr);
    editor.setText(QStringLiteral("blue words"));
    editor.show();
    QTextEdit *edit = textEdit(editor);
    QPushButton *swatch = button(editor, "colorSelected");

    QColor presetFirst;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *colorDialog = qobject_cast<QColorDialog *>(dialog);
        QVERIFY(colorDialog);
        presetFirst = colorDialog->currentColor();
        colorDialog->setCurrentColor(Qt::blue);
        colorDialog->accept();
    });
    selectAll(edit);
    QTest::mouseClick(button(editor, "colortext"), Qt::LeftButton);
    QVERIFY(*answered);
    QCOMPARE(presetFirst, QColor(Qt::black));
    QCOMPARE(editor.swatchColor(), QColor(Qt::blue));
    QCOMPARE(formatAt(edit, 0).foreground().color(), QColor(Qt::blue));
    QVERIFY(swatch->styleSheet().contains(QLatin1String("color: rgb(0, 0, 255)")));
    const QString blueStyle = swatch->styleSheet();

    // Blue was chosen last, yet the dialog opens at black; cancelling changes nothing.
    QColor presetSecond;
    answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *colorDialog = qobject_cast<QColorDialog *>(dialog);
        QVERIFY(colorDialog);
        presetSecond = colorDialog->currentColor();
        colorDialog->setCurrentColor(Qt::green);
        TestSupport::pressEscape(colorDialog);
    });
    placeCursor(edit, 3);
    QTest::mouseClick(button(editor, "colortext"), Qt::LeftButton);
    QVERIFY(*answered);
    QCOMPARE(presetSecond, QColor(Qt::black));
    QCOMPARE(editor.swatchColor(), QColor(Qt::blue));
    QCOMPARE(swatch->styleSheet(), blueStyle);
    QCOMPARE(formatAt(edit, 0).foreground().color(), QColor(Qt::blue));

    // The swatch now applies blue.
    QTest::keyClicks(edit, QStringLiteral("x"));
    QTextCursor cursor(edit->document());
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(formatAt(edit, 3).foreground().color(), QColor(Qt::blue));
}

void tst_DRichTextEditor::acceptAndCancel_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("result");
    QTest::newRow("Aceptar") << QStringLiteral("Aceptar") << 1;
    QTest::newRow("Cancelar") << QStringLiteral("Cancelar") << 0;
    QTest::newRow("Escape") << QString() << 0;
}

void tst_DRichTextEditor::acceptAndCancel()
{
    QFETCH(QString, answer);
    QFETCH(int, result);
    DRichTextEditor editor(nullptr);
    editor.setText(QStringLiteral("<p>old</p>"));
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        QTextEdit *edit = dialog->findChild<QTextEdit *>(QStringLiteral("textEdit"));
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral(" new"));
        if (answer.isEmpty())
            TestSupport::pressEscape(dialog);
        else
            QVERIFY(TestSupport::clickButton(dialog, answer));
    });
    QCOMPARE(editor.exec(), result);
    QVERIFY(*answered);
    // The caller decides whether to take the edit; the editor always reports what it holds.
    QTextDocument document;
    document.setHtml(editor.text());
    QCOMPARE(document.toPlainText(), QStringLiteral("old new"));
}

void tst_DRichTextEditor::listStyles()
{
    DRichTextEditor editor(nullptr);
    editor.setText(QStringLiteral("<p>item</p>"));
    QTextEdit *edit = textEdit(editor);
    placeCursor(edit, 2);
    editor.textStyle(4);
    QVERIFY(edit->textCursor().currentList());
    QCOMPARE(edit->textCursor().currentList()->format().style(), QTextListFormat::ListDecimal);
    editor.textStyle(8);
    QCOMPARE(edit->textCursor().currentList()->format().style(), QTextListFormat::ListUpperRoman);
    editor.textStyle(0);
    QVERIFY(!edit->textCursor().currentList());
    editor.textStyle(9); // out of the table: nothing happens
    QVERIFY(!edit->textCursor().currentList());
    editor.textSize(QStringLiteral("0"));
    editor.textSize(QStringLiteral("x"));
    QCOMPARE(edit->currentCharFormat().fontPointSize(), 0.0);
    editor.textSize(QStringLiteral("12"));
    QCOMPARE(edit->currentCharFormat().fontPointSize(), 12.0);
}

QTEST_MAIN(tst_DRichTextEditor)
#include "tst_drichtexteditor.moc"
