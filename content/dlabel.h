#pragma once

#include "shell/btmenus.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class DLabel;
}

// One tile of the gallery panel: a framed picture (a resource picture, a word drawn as a
// picture, or a page thumbnail) with a close button over its bottom-right corner. The tile
// only turns the pointer into gallery actions; the panel creates, sizes, styles and wires it.
class DLabel : public QWidget
{
    Q_OBJECT

public:
    // The drag payload the board page reads back: the tile kind as decimal text, the
    // picture's path and the word, in the data-stream format of the toolkit's default version.
    static constexpr const char *kMimeType = "imagedata";
    static QByteArray dragPayload(const QString &kind, const QString &fileName,
                                  const QString &text);

    explicit DLabel(BtMenus::resType type, QWidget *parent = nullptr);
    ~DLabel() override;

    void setPixmap(const QPixmap &pixmap);
    QPixmap pixmap() const;
    void showBt();
    void hideBt();

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName);
    QString text() const { return m_text; }
    void setText(const QString &text);
    QString kind() const { return m_kind; }
    // A page tile is being dragged (it has gone a drag's distance since the press).
    bool isPageDragged() const { return m_moved; }

signals:
    void mouseRelImage(QString filename);
    void mouseRelText(QString str);
    void mouseRelPage(DLabel *lb);
    void mouseMovPage(DLabel *lb, QPoint pt);
    // A page tile dragged and let go: pt is where, in tile coordinates (it may lie on another
    // tile, or outside the panel).
    void mouseDropPage(DLabel *lb, QPoint pt);
    void removeRelPage(DLabel *lb);

private slots:
    void on_pushButton_clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void startDrag();

    std::unique_ptr<Ui::DLabel> ui;
    QString m_fileName;
    QString m_text;
    const QString m_kind;
    bool m_moved = false;
    QPoint m_pressPos;
    // Set when a drag ran since the last press: some platforms hand the release that ended
    // the drag back to the tile afterwards, and it must not count as a click.
    bool m_dragged = false;
};
