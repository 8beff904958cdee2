#pragma once

#include "btmenus.h"

#include <QWidget>

class QToolButton;
class Ui_DShortUi;

// The narrow vertical bar of desktop mode: it floats over the desktop at the right edge of the
// screen while the board is put aside, and brings the board back when a drawing tool is taken.
class DShortUi : public QWidget
{
    Q_OBJECT

public:
    explicit DShortUi(QWidget *parent = nullptr);
    ~DShortUi() override;

    void setMode(BtMenus::eDesktopMode mode);
    void changeVeltorinaIco(const QString &iconPath, const QString &toolTip);
    void updatePen(BtMenus::btType type);
    void updateSelectedBt();
    void selectButton(QToolButton *button);
    void hideToolBar();

    bool isBarVisible() const { return m_bVisible; }
    int mode() const { return m_mode; }
    QToolButton *selectedButton() const { return m_pSelectedButton; }

    static int m_curPenType;

signals:
    void buttonClicked(btType bt);
    void transparentPage();
    void showVeltorina();

private slots:
    void on_m_pTransPage_clicked();
    void on_m_pSelect_2_clicked();
    void on_m_pPen_clicked();
    void on_m_pHighlight_clicked();
    void on_m_pEraser_clicked();
    void on_m_pText_clicked();
    void on_m_pPageDown_2_clicked();
    void on_m_pPageUp_2_clicked();
    void on_m_pPageClean_clicked();
    void on_m_pUndo_2_clicked();
    void on_m_pRedo_2_clicked();
    void on_m_pSave_clicked();
    void on_m_pExit_clicked();
    void on_m_pDesktop_clicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // A drawing or selecting tool is used on the board: bring it back with a transparent page.
    void takeBoardTool(BtMenus::btType tool);

    Ui_DShortUi *ui;
    bool m_bVisible = false;
    int m_mode = BtMenus::dmBoard;
    QToolButton *m_pSelectedButton = nullptr;
    QString m_selectedStyle;
};
