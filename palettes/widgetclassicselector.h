#pragma once

#include "buttonmark.h"
#include "shell/btmenus.h"
#include "widgetmenu.h"

#include <QColor>

class QPushButton;
class QToolButton;
class Ui_WidgetClassicSelector;

// The drop-down of the classic toolbar: one of four pages (colours, width, transparency, line
// style). A pen property goes to the pen or to the shape outline, whichever kind of tool is
// current; background colours go to the page whatever the tool.
class WidgetClassicSelector : public WidgetMenu
{
    Q_OBJECT
public:
    enum eClassicPage {
        ClassicPageColor = 0,
        ClassicPageWidth = 1,
        ClassicPageTrans = 2,
        ClassicPageStyle = 3,
    };

    explicit WidgetClassicSelector(QWidget *parent = nullptr);
    ~WidgetClassicSelector() override;

    // No decoration rows: the drop-down is a window of its own.
    void setTopLabel() override { }
    void setBottonLabel() override { }

    // Each fixes the window's size for its page before the toolbar places it.
    void showColorMenu();
    void showWidthMenu();
    void showTransMenu();
    void showStyleMenu();

    void disablePenColor(bool disabled);

    void colorAction(QColor color);
    void transAction(int alpha);
    void widthAction(int width);
    void styleAction(Qt::PenStyle style);

    void selectTransButton(QToolButton *button);
    void selectWidthButton(QToolButton *button);
    void selectStyleButton(QPushButton *button);

    QToolButton *selectedTransButton() const { return m_transMark.selected(); }
    QToolButton *selectedWidthButton() const { return m_widthMark.selected(); }
    QPushButton *selectedStyleButton() const { return m_styleMark.selected(); }

    // The page shown last; the toolbar reads it to decide whether a page opener must first
    // close the drop-down.
    int m_page = ClassicPageColor;

signals:
    void styleClicked(Qt::PenStyle style);
    void shapeStyleClicked(Qt::PenStyle style);
    void widthClicked(int width);
    void shapeWidthClicked(int width);
    void colorClicked(QColor color);
    void shapeClicked(QColor color);
    void bckClicked(QColor color);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
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
    void on_pushButton_clicked();
    void on_redcolor_2_clicked();
    void on_orangecolor_2_clicked();
    void on_yellowcolor_2_clicked();
    void on_pinkcolor_2_clicked();
    void on_greencolor_2_clicked();
    void on_forestcolor_2_clicked();
    void on_purplecolor_2_clicked();
    void on_skycolor_2_clicked();
    void on_bluecolor_2_clicked();
    void on_blackcolor_2_clicked();
    void on_greycolor_2_clicked();
    void on_whitecolor_2_clicked();
    void on_pushButton_2_clicked();
    void on_cutDotLine_2_clicked();
    void on_cutLine_2_clicked();
    void on_dotLine_2_clicked();
    void on_solidLine_2_clicked();
    void on_width_1_clicked();
    void on_width_2_clicked();
    void on_width_3_clicked();
    void on_width_4_clicked();
    void on_width_5_clicked();
    void on_width_6_clicked();
    void on_width_7_clicked();
    void on_width_8_clicked();
    void on_width_9_clicked();
    void on_width_10_clicked();
    void on_width_11_clicked();
    void on_width_12_clicked();

private:
    enum Route { RouteNone, RoutePen, RouteShape };
    static Route route();
    void showPage(QSize size, int page);
    void penColourSwatch(const char *name);
    void backgroundSwatch(const char *name);
    void widthButton(int index);
    void styleButton(Qt::PenStyle style);

    Ui_WidgetClassicSelector *ui;
    ButtonMark<QToolButton> m_transMark{ "QToolButton" };
    ButtonMark<QToolButton> m_widthMark{ "QToolButton" };
    ButtonMark<QPushButton> m_styleMark{ "QPushButton" };
};
