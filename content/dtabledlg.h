#pragma once

#include "shell/btmenus.h"

#include <QDialog>

namespace Ui {
class DTableDlg;
}

// The small frameless dialog that sets the rows and columns of the next table on the board.
// It is hidden, never destroyed, between uses, so the boxes keep the last values.
class DTableDlg : public QDialog
{
    Q_OBJECT
public:
    explicit DTableDlg(QWidget *parent);
    ~DTableDlg() override;

protected:
    void showEvent(QShowEvent *event) override;

signals:
    void signals_setTableRowColumn(int rows, int columns);
    void cancel(BtMenus::btType tool);

private slots:
    void on_pushButton_ok_clicked();
    void on_pushButton_cancel_clicked();

private:
    Ui::DTableDlg *ui;
};
