#include "dflashplayer.h"

DFlashPlayer::DFlashPlayer(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Flash"));
    setGeometry(100, 100, 600, 480);
    hide();
}

void DFlashPlayer::play(const QString &) { }

void DFlashPlayer::stop() { }

void DFlashPlayer::resizeEvent(QResizeEvent *) { }

void DFlashPlayer::closeEvent(QCloseEvent *event)
{
    stop();
    QDialog::closeEvent(event);
}
