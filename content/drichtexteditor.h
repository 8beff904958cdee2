#pragma once

#include <QColor>
#include <QDialog>
#include <QTextCharFormat>

class QPushButton;
class Ui_DRichTextEditor;

// The modal editor of a board text object: it edits an HTML document with bold, italic,
// underline, paragraph alignment and text colour, and reports accept (1) or cancel (0).
class DRichTextEditor : public QDialog
{
    Q_OBJECT

public:
    explicit DRichTextEditor(QWidget *parent = nullptr);
    ~DRichTextEditor() override;

    void setText(const QString &html);
    QString text() const;

    // The colour a click on the swatch applies; red until the colour dialog picks another.
    QColor swatchColor() const { return m_color; }

public slots:
    void textBold();
    void textItalic();
    void textUnderline();
    void textLeft(bool restartValue = true);
    void textCenter(bool restartValue = true);
    void textRight(bool restartValue = true);
    void textJustify(bool restartValue = true);
    void textAlign(int alignIndex);
    void textColor();
    void textFamily(const QString &f);
    void textSize(const QString &p);
    void textStyle(int styleIndex);
    void cursorPositionChanged();

    void on_aceptBt_clicked();
    void on_cancelBt_clicked();
    void on_colorSelected_clicked();
    void on_keyboard_clicked();

private:
    void setupTextActions();
    void selectTextAlign(QPushButton *button, bool restartValue);
    void alignmentChanged(Qt::Alignment alignment);
    void mergeFormatOnWordOrSelection(const QTextCharFormat &format);

    QPushButton *m_alignButton = nullptr;
    QColor m_color;
    int m_listStyles[8];
    Ui_DRichTextEditor *ui;
};
