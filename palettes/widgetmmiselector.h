#pragma once

#include "buttonmark.h"
#include "shell/btmenus.h"
#include "widgetmenu.h"

class QPushButton;
class Ui_WidgetMMISelector;

// The insert palette: pictures, videos, sounds, texts, tables and PDF pages. Text and table lead
// to tools that stay active, so their button shows whether that tool is the current one.
class WidgetMMISelector : public WidgetMenu
{
    Q_OBJECT
public:
    explicit WidgetMMISelector(QWidget *parent = nullptr);
    ~WidgetMMISelector() override;

    void setTopLabel() override;
    void setBottonLabel() override;

    void selectMMIButton(QPushButton *button);
    QPushButton *selectedButton() const { return m_mark.selected(); }

signals:
    void buttonClicked(btType bt);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_image_clicked();
    void on_video_clicked();
    void on_sound_clicked();
    void on_text_clicked();
    void on_table_clicked();
    void on_pdf_clicked();

private:
    void emitAndHide(BtMenus::btType command, QPushButton *markedButton = nullptr);

    Ui_WidgetMMISelector *ui;
    ButtonMark<QPushButton> m_mark{ "QPushButton" };
};
