#pragma once

#include <QDialog>
#include <QString>

// The window for Flash animations, which no player on this platform can show any more: an
// empty window titled "Flash" whose play and stop do nothing. Nothing opens it yet.
class DFlashPlayer : public QDialog
{
    Q_OBJECT

public:
    explicit DFlashPlayer(QWidget *parent = nullptr);

    void play(const QString &fileName);
    void stop();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
