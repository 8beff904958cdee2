#include "dtabledlg.h"

#include "ui_dtabledlg.h"

DTableDlg::DTableDlg(QWidget *parent) : QDialog(parent), ui(new Ui::DTableDlg)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
}

DTableDlg::~DTableDlg()
{
    delete ui;
}

void DTableDlg::showEvent(QShowEvent *event)
{
    // Hidden, not destroyed, the dialog would come back with the focus where the last run left
    // it ("Cancelar", say), and a number typed at once would go nowhere. Each run starts in the
    // rows box with its number selected, so typing replaces it.
    ui->spinBox_Row->setFocus(Qt::OtherFocusReason);
    ui->spinBox_Row->selectAll();
    QDialog::showEvent(event);
}

void DTableDlg::on_pushButton_ok_clicked()
{
    // The text shown, not value(): what the user sees is what the table gets.
    const int rows = ui->spinBox_Row->text().toInt();
    const int columns = ui->spinBox_Column->text().toInt();
    if (rows < 2 || columns < 2)
        return; // a table needs at least two rows and two columns
    emit signals_setTableRowColumn(rows, columns);
    accept(); // hidden, and the view learns that a table is to be drawn
}

void DTableDlg::on_pushButton_cancel_clicked()
{
    close();
    emit cancel(BtMenus::btSelect);
}
