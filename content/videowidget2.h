#pragma once

#include <QVideoWidget>

// The video output of the media player window: black behind the picture; double-click or
// Alt+Enter toggles full screen and Escape leaves it.
class VideoWidget2 : public QVideoWidget
{
    Q_OBJECT

public:
    explicit VideoWidget2(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
