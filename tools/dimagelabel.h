#pragma once

#include <QLabel>
#include <QPoint>
#include <QString>

// A small icon handle: reports a left-button press, the drag as a movement relative to where it
// was grabbed, and the release, and shows a second icon while a button is held on it.
class DImageLabel : public QLabel
{
    Q_OBJECT

public:
    // image and pressedImage are file names under ":/Icon/".
    DImageLabel(QWidget *parent, int x, int y, const QString &image, const QString &pressedImage);

    void setUpImageName(const QString &name);
    QString imageName() const { return m_image; }

signals:
    void signals_mousePress(DImageLabel *imagelabel);
    void signals_mouseMove(DImageLabel *imagelabel, QPoint movepos);
    void signals_mouseRelease(DImageLabel *imagelabel);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    static QPixmap iconPixmap(const QString &name);

    QString m_image;
    QString m_pressedImage;
    QPoint m_pressPos;
};
