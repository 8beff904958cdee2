#pragma once

#include <QColor>
#include <QDialog>

class Ui_DSetting;

// The preferences dialog: start-up interface style, language, autosave interval and the colour
// of new pages. Values are stored in the settings store and take effect at the next start.
class DSetting : public QDialog
{
    Q_OBJECT

public:
    explicit DSetting(QWidget *parent = nullptr);
    ~DSetting() override;

    // Loads the stored values into the editors, then runs the dialog modally.
    int exec() override;

private slots:
    void on_acept_clicked();
    void on_restore_clicked();
    void on_cancel_clicked();
    void on_pageColor_clicked();

private:
    void setEditedColour(const QColor &colour);

    QColor m_colour;
    Ui_DSetting *ui;
};
