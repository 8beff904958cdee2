#pragma once

#include "shell/btmenus.h"

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <memory>

class DLabel;
class DPage;
class DPagesList;
class QLayout;
class QPushButton;

namespace Ui {
class DResources;
}

// The sizes the gallery gives its pictures, in integer arithmetic (quotients truncated); the
// picture is then scaled to exactly that size, so a rounded aspect ratio is kept as it falls.
namespace GalleryScale {
constexpr int kTileWidth = 198;
constexpr int kTileHeight = 123;
// A resource picture: brought to a height of 100 only when taller than 113, then no wider than 188.
QSize picture(QSize size);
// A word drawn as a picture: always brought to a height of 100, then no wider than 188.
QSize word(QSize size);
// A page thumbnail: no wider than a tile.
QSize page(QSize size);
} // namespace GalleryScale

// The gallery panel at the left edge of the board window: the document's pages as numbered
// thumbnails, the built-in pictures by category and the built-in word lists, each entry a tile in
// one scrolling column. Clicks on picture and word tiles are relayed as pressImage / pressText
// (the main window inserts them into the current page); page thumbnails select and delete pages
// of the page list the panel is given.
class DResources : public QWidget
{
    Q_OBJECT

public:
    // parent is the main window; the panel sits at its top-left corner, height pixels tall.
    // pages may be set later (setPagesList); without it the pages tab shows nothing.
    DResources(int height, QWidget *parent, DPagesList *pages = nullptr);
    ~DResources() override;

    // Gives the panel its page list; rebuilds the thumbnails if the pages tab is selected. The
    // panel marks the page the list shows whichever way the page changes.
    void setPagesList(DPagesList *pages);

    void selectStyleButton(QPushButton *button);
    void removeImages(QLayout *layout);
    void insertString(const QList<QString> &paths);
    void insertText(const QList<QString> &lines);
    void insertPixmap(const QList<QPixmap> &pictures, BtMenus::resType kind);
    void createPages();

    // Every line of a word list, empty ones included, without its line end (CR LF or LF).
    // ok is false, and the list empty, when the file cannot be read.
    static QStringList readWordList(const QString &path, bool *ok);

    // Page tiles in the scrolled view whose thumbnail is still to be drawn (or drawn again);
    // they are drawn one at a time between the board's events.
    int pageTilesToDraw();

signals:
    void pressImage(QString filename);
    void pressText(QString str);

public slots:
    void updatePagesList();
    void changePage(DLabel *lb);
    void removePage(DLabel *lb);
    // A page tile dragged over the column marks where its page would go; let go on another
    // tile's place, it moves its page there.
    void dragPage(DLabel *lb, QPoint pt);
    void dropPage(DLabel *lb, QPoint pt);

private slots:
    void on_PagesList_clicked();
    void on_ImgList_clicked();
    void on_TextList_clicked();
    void on_comboBox_currentIndexChanged(int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The pages tab keeps one tile per page from one update to the next: an update restyles the
    // tiles whose page became or stopped being the current one, and draws again only the
    // thumbnails of pages that changed, once their tiles are in view.
    struct PageTile
    {
        DLabel *tile = nullptr; // in the column, which owns it; null until it is made
        QPointer<DPage> page;
        int top = 0; // in the column
        int height = 0;
        bool styled = false;
        bool current = false;
        qint64 shownKey = 0; // the thumbnail the tile shows (its cache key); 0: none yet
        int shownNumber = 0;
    };
    void syncPageTiles();
    // The tiles are those of pages, in their order, each of its page's size: nothing to take
    // away, make or move.
    bool pageTilesMatch(const QList<DPage *> &pages) const;
    // Keeps the tiles of pages still there, makes places for new ones, takes the others away.
    void reconcilePageTiles(const QList<DPage *> &pages);
    void followPagesList();
    DLabel *makePageTile(QSize size);
    // Makes a few of the tiles still to be made, those in view first; false when none was.
    bool makePageTiles();
    void stylePageTile(int index, bool isCurrent);
    void layOutPageTiles();
    QList<int> pageTilesInView() const;
    // Brings tile index up to date when its page's thumbnail is drawn already; false when it
    // needs drawing.
    bool refreshPageTile(int index);
    void drawPageTile(int index);
    void drawPageTilesStep();
    void schedulePageTiles();

    // The position in the column of the tile whose place holds pt (in lb's coordinates); -1
    // when pt lies outside the column's visible part or below its last tile.
    int pageTileAt(DLabel *lb, QPoint pt) const;
    void markDropPlace(DLabel *lb, QPoint pt);
    void scrollWhileDragging();
    void endPageDrag();

    void fillCategories(QPushButton *tab, const QString &root, bool folders);
    void appendTile(DLabel *tile);
    int tilePosition(DLabel *tile) const;
    QLayout *tileColumn() const;

    // Not owned: the main window owns both the page list and this panel, and may take the
    // list down first while it closes.
    QPointer<DPagesList> m_pagesList;
    std::unique_ptr<Ui::DResources> ui;
    QStringList m_entries;
    QPushButton *m_selectedButton = nullptr;
    QString m_savedStyle;
    bool m_bPagesStale = false; // the page thumbnails were asked for while the panel was hidden
    QVector<PageTile> m_pageTiles; // the pages tab's tiles in column order; empty on other tabs
    QTimer m_pageTileTimer;
    // While a page tile is dragged: the bar that shows where its page would go, and the column
    // scrolling while the pointer rests at its top or bottom edge.
    QWidget *m_dropMark = nullptr; // a child of the column's widget, outside its layout
    QPointer<DLabel> m_draggedTile;
    QPoint m_dragPointer; // in the scroll area's viewport
    QTimer m_dragScroll;
};
