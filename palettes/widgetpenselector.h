#pragma once

#include "buttonmark.h"
#include "shell/btmenus.h"
#include "widgetmenu.h"

#include <QColor>

class QGraphicsScene;
class QPushButton;
class Ui_WidgetPenSelector;

// The pen palette: line width with a live preview, line style, pen kind and ink colour. Choices
// go to the board view by signal and into the toolbar's shared pen DMainUi::m_pen, which the
// preview draws.
class WidgetPenSelector : public WidgetMenu
{
    Q_OBJECT
public:
    explicit WidgetPenSelector(QWidget *parent = nullptr);
    ~WidgetPenSelector() override;

    void setTopLabel() override;
    void setBottonLabel() override;

    void selectPenButton(QPushButton *button, bool force);
    void selectStyleButton(QPushButton *button);
    void disableLineStyle(bool disabled);
    void colorAction(QColor color);

    QPushButton *selectedPenButton() const { return m_penMark.selected(); }
    QPushButton *selectedStyleButton() const { return m_styleMark.selected(); }
    BtMenus::btType lastPen() const { return m_lastPen; }
    QGraphicsScene *previewScene() const { return m_scene; }

signals:
    void buttonClicked(btType bt);
    void colorClicked(QColor color);
    void styleClicked(Qt::PenStyle penStyle);
    void widthClicked(int width);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void updateExample();
    void on_horizontalSlider_valueChanged(int value);
    void on_solidLine_2_clicked();
    void on_dotLine_2_clicked();
    void on_cutLine_2_clicked();
    void on_cutDotLine_2_clicked();
    void on_pencil_clicked();
    void on_highlighter_clicked();
    void on_fountainpen_clicked();
    void on_smartpen_clicked();
    void on_pushButton_clicked();
    void on_redcolor_clicked();
    void on_orangecolor_clicked();
    void on_yellowcolor_clicked();
    void on_pinkcolor_clicked();
    void on_greencolor_clicked();
    void on_forestcolor_clicked();
    void on_purplecolor_clicked();
    void on_skycolor_clicked();
    void on_bluecolor_clicked();
    void on_blackcolor_clicked();
    void on_greycolor_clicked();
    void on_whitecolor_clicked();

private:
    void penKindClicked(BtMenus::btType kind);
    void styleChosen(Qt::PenStyle style);
    void markStyleOfPen();
    void swatchClicked(const char *name);
    QPushButton *button(const char *name) const;

    Ui_WidgetPenSelector *ui;
    QGraphicsScene *m_scene = nullptr; // the preview's scene, a child of the palette
    // Both marks start on no button: the first opening marks the pen that is really active.
    ButtonMark<QPushButton> m_penMark;
    ButtonMark<QPushButton> m_styleMark{ "QPushButton" };
    BtMenus::btType m_lastPen = BtMenus::btPencil; // chosen last here; re-selected on opening
};
