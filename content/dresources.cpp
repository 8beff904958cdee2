#include "content/dresources.h"

#include "board/dpage.h"
#include "pictures/picturereading.h"
#include "content/dlabel.h"
#include "document/dpageslist.h"
#include "ui_dresources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QSpacerItem>
#include <QTextStream>

#include <algorithm>
#include <memory>

namespace {

const QString kSelectedTabStyle =
        QStringLiteral("QPushButton{background-color: rgb(150, 150, 150);"
                       "border-top-right-radius:3px;border-bottom-right-radius:3px;}\n"
                       "QPushButton:hover{background-color: rgb(150, 150, 150);"
                       "border-top-right-radius:3px;border-bottom-right-radius:3px;}");
const QString kTileStyle = QStringLiteral("QLabel{border: 3px solid black;color : black;}");
const QString kCurrentPageStyle =
        QStringLiteral("QLabel{border: 3px solid;border-color: rgb(0, 150, 255);color : black;}");

const QString kPictureRoot = QStringLiteral(":/PicRes");
const QString kWordListRoot = QStringLiteral(":/TextRes");
const QString kFontFamily = QStringLiteral("Arial");
constexpr int kWordPointSize = 60;
constexpr int kPageNumberPointSize = 20;
// Page thumbnails are drawn one per turn of the event loop, a timer's pause apart: posted
// calls would run back to back ahead of the board's own input.
constexpr int kPageTilePauseMs = 1;
// Page tiles made at once, those in view first: a lesson just opened needs one for each of its
// pages, and two hundred made together held the board up for a tenth of a second on two cores.
// The others take their places a few at a time between the board's events.
constexpr int kTilesMadeAtOnce = 8;
// A page tile dragged to within this distance of the column's top or bottom edge scrolls it,
// the faster the nearer, a step per tick, so that a page can go past the tiles in view.
constexpr int kDragScrollEdge = 40;
constexpr int kDragScrollTickMs = 30;
constexpr int kDropMarkHeight = 6;
const QString kDropMarkStyle = QStringLiteral("background-color: rgb(0, 150, 255);");

QPixmap scaledTo(const QPixmap &pixmap, QSize size)
{
    if (size == pixmap.size())
        return pixmap;
    return pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QFont tileFont(int pointSize)
{
    QFont font(kFontFamily);
    font.setPointSize(pointSize);
    return font;
}

// A word as the board will show it: black on white, centred, then brought to tile scale.
QPixmap wordPicture(const QString &line)
{
    const QFont font = tileFont(kWordPointSize);
    const QSize textSize = QFontMetrics(font).size(Qt::TextSingleLine, line);
    QPixmap picture(textSize.width() + 5, textSize.height() + 5);
    picture.fill(QColor(255, 255, 255));
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(QColor(QStringLiteral("#000000")));
    painter.drawText(QRect(0, 0, textSize.width() + 6, textSize.height() + 6), Qt::AlignCenter,
                     line);
    painter.end();
    return scaledTo(picture, GalleryScale::word(picture.size()));
}

// The page number at the bottom centre of a thumbnail whose tile is tileSize.
void drawPageNumber(QPixmap *picture, int number, QSize tileSize)
{
    const QString text = QString::number(number);
    QPainter painter(picture);
    painter.setFont(tileFont(kPageNumberPointSize));
    painter.setPen(QColor(QStringLiteral("#000000")));
    const QSize textSize = painter.fontMetrics().size(Qt::TextSingleLine, text);
    const QRect box(tileSize.width() / 2 - textSize.width() / 2,
                    tileSize.height() - textSize.height(), textSize.width(), textSize.height());
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace

namespace GalleryScale {

QSize picture(QSize size)
{
    if (size.height() > 113)
        size = QSize(size.width() * 100 / size.height(), 100);
    if (size.width() > 188)
        size = QSize(188, size.height() * 188 / size.width());
    return size;
}

QSize word(QSize size)
{
    if (size.height() > 1)
        size = QSize(size.width() * 100 / size.height(), 100);
    if (size.width() > 188)
        size = QSize(188, size.height() * 188 / size.width());
    return size;
}

QSize page(QSize size)
{
    if (size.width() > kTileWidth)
        size = QSize(kTileWidth, size.height() * kTileWidth / size.width());
    return size;
}

} // namespace GalleryScale

DResources::DResources(int height, QWidget *parent, DPagesList *pages)
    : QWidget(parent), m_pagesList(pages), ui(std::make_unique<Ui::DResources>())
{
    ui->setupUi(this);
    // Tiles stack from the top; a short column would otherwise be spread over the whole panel.
    tileColumn()->setAlignment(Qt::AlignTop);
    m_pageTileTimer.setSingleShot(true);
    m_pageTileTimer.setInterval(kPageTilePauseMs);
    connect(&m_pageTileTimer, &QTimer::timeout, this, &DResources::drawPageTilesStep);
    // Scrolling the column draws the thumbnails that come into view.
    connect(ui->scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &DResources::schedulePageTiles);
    m_dropMark = new QWidget(ui->scrollAreaWidgetContents);
    m_dropMark->setObjectName(QStringLiteral("pageDropMark"));
    m_dropMark->setAttribute(Qt::WA_StyledBackground);
    m_dropMark->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dropMark->setStyleSheet(kDropMarkStyle);
    m_dropMark->hide();
    m_dragScroll.setInterval(kDragScrollTickMs);
    connect(&m_dragScroll, &QTimer::timeout, this, &DResources::scrollWhileDragging);
    move(0, 0);
    setFixedHeight(height);
    followPagesList();
    selectStyleButton(ui->PagesList);
    createPages();
}

DResources::~DResources()
{
    removeImages(tileColumn());
}

void DResources::setPagesList(DPagesList *pages)
{
    if (m_pagesList)
        disconnect(m_pagesList, nullptr, this, nullptr);
    m_pagesList = pages;
    followPagesList();
    updatePagesList();
}

void DResources::followPagesList()
{
    // The list says when another page is shown, whichever way it came: a page link on the
    // board tells nobody else.
    if (m_pagesList)
        connect(m_pagesList, &DPagesList::currentPageChanged, this, &DResources::updatePagesList);
}

QLayout *DResources::tileColumn() const
{
    return ui->scrollAreaWidgetContents->layout();
}

void DResources::selectStyleButton(QPushButton *button)
{
    if (!button) {
        if (m_selectedButton)
            m_selectedButton->setStyleSheet(m_savedStyle);
        m_selectedButton = nullptr;
        return;
    }
    if (button == m_selectedButton)
        return;
    if (m_selectedButton)
        m_selectedButton->setStyleSheet(m_savedStyle);
    m_selectedButton = button;
    m_savedStyle = button->styleSheet();
    button->setStyleSheet(kSelectedTabStyle);
}

void DResources::on_PagesList_clicked()
{
    selectStyleButton(ui->PagesList);
    createPages();
}

void DResources::createPages()
{
    ui->comboBox->hide();
    // Thumbnails are drawn only to be seen: a hidden panel draws them when it is shown.
    if (!isVisible()) {
        m_bPagesStale = true;
        return;
    }
    m_bPagesStale = false;
    // The tiles that change repaint themselves: the rest of the panel stays as it is.
    syncPageTiles();
    // Thumbnails drawn already are shown at once; the others follow, a tile at a time.
    for (const int index : pageTilesInView())
        refreshPageTile(index);
    schedulePageTiles();
}

void DResources::updatePagesList()
{
    if (m_selectedButton == ui->PagesList)
        createPages();
}

void DResources::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_bPagesStale && m_selectedButton == ui->PagesList)
        createPages();
}

void DResources::on_ImgList_clicked()
{
    fillCategories(ui->ImgList, kPictureRoot, true);
}

void DResources::on_TextList_clicked()
{
    fillCategories(ui->TextList, kWordListRoot, false);
}

void DResources::fillCategories(QPushButton *tab, const QString &root, bool folders)
{
    ui->comboBox->show();
    selectStyleButton(tab);
    ui->comboBox->clear();
    const QDir::Filters filter = folders ? QDir::Dirs | QDir::NoDotAndDotDot : QDir::Files;
    const QFileInfoList categories =
            QDir(root).entryInfoList(filter, QDir::Name | QDir::IgnoreCase);
    // The first entry becomes current as it is added, and loads its tiles at once.
    for (const QFileInfo &category : categories)
        ui->comboBox->addItem(category.baseName(), category.absoluteFilePath());
    // Without any category the previous tab's tiles (page thumbnails with their close button)
    // must not linger under this tab.
    if (categories.isEmpty())
        removeImages(tileColumn());
}

void DResources::on_comboBox_currentIndexChanged(int index)
{
    m_entries.clear();
    if (index < 0)
        return;
    const QString source = ui->comboBox->itemData(index).toString();
    if (m_selectedButton == ui->ImgList) {
        const QFileInfoList pictures =
                QDir(source).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo &picture : pictures)
            m_entries << picture.absoluteFilePath();
        insertString(m_entries);
    } else if (m_selectedButton == ui->TextList) {
        bool ok = false;
        m_entries = readWordList(source, &ok);
        if (ok)
            insertText(m_entries);
    }
}

QStringList DResources::readWordList(const QString &path, bool *ok)
{
    QStringList lines;
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly | QIODevice::Text);
    if (!*ok)
        return lines;
    QTextStream stream(&file);
    while (!stream.atEnd())
        lines << stream.readLine();
    file.close();
    return lines;
}

void DResources::removeImages(QLayout *layout)
{
    if (layout == tileColumn())
        m_pageTiles.clear();
    while (QLayoutItem *item = layout->takeAt(0)) {
        if (QLayout *nested = item->layout()) {
            removeImages(nested);
            delete nested; // a layout is its own item
            continue;
        }
        if (QWidget *widget = item->widget()) {
            // The tile may be the one whose click or close button led here: it goes once its
            // event handling has returned.
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
}

void DResources::appendTile(DLabel *tile)
{
    connect(tile, &DLabel::mouseRelImage, this, &DResources::pressImage);
    connect(tile, &DLabel::mouseRelText, this, &DResources::pressText);
    connect(tile, &DLabel::mouseRelPage, this, &DResources::changePage);
    auto *column = static_cast<QGridLayout *>(tileColumn());
    column->addWidget(tile, column->count(), 0);
}

void DResources::insertString(const QList<QString> &paths)
{
    removeImages(tileColumn());
    for (const QString &path : paths) {
        auto *tile = new DLabel(BtMenus::resImage);
        tile->setFileName(path);
        // Read within the board's limits, as every picture is, beside the board and made small
        // there; a tile shows its picture when it comes, and one not taken shows none.
        auto picture = std::make_shared<QImage>();
        PictureReading::inBackground(
                [path, picture] {
                    const PictureReading::Picture read = PictureReading::read(path);
                    if (!read.probe.isTaken()) {
                        qWarning("DResources: %s: %s", qPrintable(path),
                                 qPrintable(read.probe.detail));
                        return;
                    }
                    const QSize size = GalleryScale::picture(read.probe.taken);
                    *picture = size == read.image.size()
                            ? read.image
                            : read.image.scaled(size, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation);
                },
                tile, [tile, picture] { tile->setPixmap(QPixmap::fromImage(*picture)); });
        tile->setStyleSheet(kTileStyle);
        tile->setFixedSize(GalleryScale::kTileWidth, GalleryScale::kTileHeight);
        appendTile(tile);
    }
    update();
}

void DResources::insertText(const QList<QString> &lines)
{
    removeImages(tileColumn());
    for (const QString &line : lines) {
        auto *tile = new DLabel(BtMenus::resText);
        tile->setText(line);
        tile->setPixmap(wordPicture(line));
        tile->setStyleSheet(kTileStyle);
        tile->setFixedSize(GalleryScale::kTileWidth, GalleryScale::kTileHeight);
        appendTile(tile);
    }
    update();
}

void DResources::insertPixmap(const QList<QPixmap> &pictures, BtMenus::resType kind)
{
    removeImages(tileColumn());
    const int current = m_pagesList ? m_pagesList->getCurPageNum() : 0;
    for (int i = 0; i < pictures.size(); ++i) {
        auto *tile = new DLabel(kind);
        const QPixmap picture = scaledTo(pictures.at(i), GalleryScale::page(pictures.at(i).size()));
        const QSize tileSize(GalleryScale::kTileWidth, picture.height());
        tile->setFixedSize(tileSize);
        // The tile's picture area is made for resource pictures (198 x 123); a thumbnail of
        // another height would be cut off there, its number with it.
        if (auto *area = tile->findChild<QLabel *>(QStringLiteral("label")))
            area->setFixedSize(tileSize);
        QPixmap numbered = picture;
        if (kind == BtMenus::resPage) {
            connect(tile, &DLabel::removeRelPage, this, &DResources::removePage);
            connect(tile, &DLabel::mouseMovPage, this, &DResources::dragPage);
            connect(tile, &DLabel::mouseDropPage, this, &DResources::dropPage);
            drawPageNumber(&numbered, i + 1, tileSize);
            if (i == current - 1) {
                tile->setStyleSheet(kCurrentPageStyle);
                tile->showBt();
            } else {
                tile->setStyleSheet(kTileStyle);
                tile->hideBt();
            }
        }
        tile->setPixmap(numbered);
        appendTile(tile);
    }
    update();
}

int DResources::tilePosition(DLabel *tile) const
{
    return tile ? tileColumn()->indexOf(tile) : -1;
}

void DResources::changePage(DLabel *lb)
{
    endPageDrag();
    const int position = tilePosition(lb);
    if (position < 0 || !m_pagesList)
        return;
    if (position + 1 == m_pagesList->getCurPageNum())
        return;
    m_pagesList->selectPage(position); // which moves the mark (followPagesList)
}

void DResources::removePage(DLabel *lb)
{
    const int position = tilePosition(lb);
    if (position < 0 || !m_pagesList)
        return;
    // Only the current page's thumbnail shows its close button.
    if (position >= m_pagesList->getCurPageNum())
        return;
    m_pagesList->delPage(position);
    createPages();
}

int DResources::pageTileAt(DLabel *lb, QPoint pt) const
{
    QWidget *viewport = ui->scrollArea->viewport();
    if (!viewport->rect().contains(lb->mapTo(viewport, pt)))
        return -1;
    const QPoint inColumn = lb->mapTo(ui->scrollAreaWidgetContents, pt);
    auto *column = static_cast<QGridLayout *>(tileColumn());
    const int spacing = std::max(0, column->verticalSpacing());
    for (int i = 0; i < column->count(); ++i) {
        const QRect place = column->itemAt(i)->geometry();
        // The gap below a tile is its place too: a drop there is not lost.
        const int below = i + 1 < column->count() ? column->itemAt(i + 1)->geometry().top()
                                                  : place.bottom() + 1 + spacing;
        if (inColumn.y() >= place.top() && inColumn.y() < below)
            return i;
    }
    return -1;
}

void DResources::dragPage(DLabel *lb, QPoint pt)
{
    if (!lb->isPageDragged())
        return; // a tap that trembled, so far
    m_draggedTile = lb;
    m_dragPointer = lb->mapTo(ui->scrollArea->viewport(), pt);
    if (!m_dragScroll.isActive())
        m_dragScroll.start();
    markDropPlace(lb, pt);
}

void DResources::markDropPlace(DLabel *lb, QPoint pt)
{
    const int from = tilePosition(lb);
    const int to = pageTileAt(lb, pt);
    if (from < 0 || to < 0 || to == from) {
        m_dropMark->hide();
        return;
    }
    // The page goes below the tile it is let go on when it comes from above, and above it when
    // it comes from below: the bar stands in the gap it would fill.
    auto *column = static_cast<QGridLayout *>(tileColumn());
    const int spacing = std::max(0, column->verticalSpacing());
    const QRect target = column->itemAt(to)->geometry();
    const int gapMiddle =
            to > from ? target.bottom() + 1 + spacing / 2 : target.top() - (spacing + 1) / 2;
    m_dropMark->setGeometry(target.left(), gapMiddle - kDropMarkHeight / 2,
                            GalleryScale::kTileWidth, kDropMarkHeight);
    m_dropMark->raise();
    m_dropMark->show();
}

void DResources::scrollWhileDragging()
{
    if (!m_draggedTile || !m_draggedTile->isPageDragged()) {
        endPageDrag();
        return;
    }
    QWidget *viewport = ui->scrollArea->viewport();
    // Off to the side the teacher is taking the page out of the column, not along it.
    if (m_dragPointer.x() < 0 || m_dragPointer.x() >= viewport->width())
        return;
    int step = 0;
    if (m_dragPointer.y() < kDragScrollEdge)
        step = -std::min(kDragScrollEdge, kDragScrollEdge - m_dragPointer.y());
    else if (m_dragPointer.y() >= viewport->height() - kDragScrollEdge)
        step = std::min(kDragScrollEdge,
                        m_dragPointer.y() - (viewport->height() - kDragScrollEdge) + 1);
    if (step == 0)
        return;
    QScrollBar *scroll = ui->scrollArea->verticalScrollBar();
    const int before = scroll->value();
    scroll->setValue(before + step);
    // The column moved under a pointer that stayed: the place it points at changed.
    if (scroll->value() != before)
        markDropPlace(m_draggedTile, m_draggedTile->mapFrom(viewport, m_dragPointer));
}

void DResources::endPageDrag()
{
    m_dragScroll.stop();
    m_draggedTile.clear();
    m_dropMark->hide();
}

void DResources::dropPage(DLabel *lb, QPoint pt)
{
    endPageDrag();
    const int from = tilePosition(lb);
    const int to = pageTileAt(lb, pt);
    if (from < 0 || to < 0 || to == from || !m_pagesList)
        return;
    // A move, not an exchange: the pages between close up behind the one taken, in their order.
    m_pagesList->movePage(from, to); // whose newPage() brings the tiles and their numbers along
}

// --- The pages tab ---

DLabel *DResources::makePageTile(QSize size)
{
    auto *tile = new DLabel(BtMenus::resPage);
    tile->setFixedSize(size);
    // The tile's picture area is made for resource pictures (198 x 123); a thumbnail of
    // another height would be cut off there, its number with it.
    if (auto *area = tile->findChild<QLabel *>(QStringLiteral("label")))
        area->setFixedSize(size);
    connect(tile, &DLabel::removeRelPage, this, &DResources::removePage);
    connect(tile, &DLabel::mouseMovPage, this, &DResources::dragPage);
    connect(tile, &DLabel::mouseDropPage, this, &DResources::dropPage);
    connect(tile, &DLabel::mouseRelImage, this, &DResources::pressImage);
    connect(tile, &DLabel::mouseRelText, this, &DResources::pressText);
    connect(tile, &DLabel::mouseRelPage, this, &DResources::changePage);
    return tile;
}

bool DResources::pageTilesMatch(const QList<DPage *> &pages) const
{
    if (m_pageTiles.size() != pages.size())
        return false;
    for (int i = 0; i < pages.size(); ++i) {
        const PageTile &tile = m_pageTiles.at(i);
        if (tile.page != pages.at(i)
            || tile.height != DPagesList::thumbnailSize(pages.at(i), &GalleryScale::page).height())
            return false;
    }
    return true;
}

void DResources::syncPageTiles()
{
    const QList<DPage *> pages = m_pagesList ? QList<DPage *>(*m_pagesList) : QList<DPage *>();
    // The column holds either this tab's tiles of the last update, or another tab's tiles.
    auto *column = static_cast<QGridLayout *>(tileColumn());
    if (m_pageTiles.size() != column->count())
        removeImages(column);
    // Most updates follow a page change or an edit, the pages where they were: only the mark
    // moves. Reconciling anyway walked every page of the lesson and made tiles still to be made,
    // inside the click that changed the page, before the board could show it.
    if (!pageTilesMatch(pages))
        reconcilePageTiles(pages);
    const int current = m_pagesList ? m_pagesList->getCurPageNum() : 0;
    for (int i = 0; i < m_pageTiles.size(); ++i)
        stylePageTile(i, i == current - 1);
}

void DResources::reconcilePageTiles(const QList<DPage *> &pages)
{
    auto *column = static_cast<QGridLayout *>(tileColumn());
    QHash<const DPage *, int> before;
    for (int i = 0; i < m_pageTiles.size(); ++i) {
        if (m_pageTiles.at(i).page)
            before.insert(m_pageTiles.at(i).page, i);
    }
    QVector<bool> kept(m_pageTiles.size(), false);
    QVector<PageTile> tiles;
    tiles.reserve(pages.size());
    bool moved = m_pageTiles.size() != pages.size();
    for (int i = 0; i < pages.size(); ++i) {
        DPage *page = pages.at(i);
        const QSize size(GalleryScale::kTileWidth,
                         DPagesList::thumbnailSize(page, &GalleryScale::page).height());
        const int was = before.value(page, -1);
        PageTile tile;
        if (was >= 0 && (m_pageTiles.at(was).tile ? m_pageTiles.at(was).tile->size() == size
                                                   : m_pageTiles.at(was).height == size.height())) {
            tile = m_pageTiles.at(was);
            kept[was] = true;
            moved = moved || was != i;
        } else {
            // Its place is kept (makePageTiles puts the tile there).
            tile.page = page;
            tile.height = size.height();
            moved = true;
        }
        tiles << tile;
    }
    for (int i = 0; i < m_pageTiles.size(); ++i) {
        DLabel *gone = m_pageTiles.at(i).tile;
        if (!kept.at(i) && gone) {
            // The tile may be the one whose close button led here: it goes once its event
            // handling has returned.
            column->removeWidget(gone);
            gone->hide();
            gone->deleteLater();
        }
    }
    m_pageTiles = tiles;
    if (moved)
        layOutPageTiles();
    makePageTiles();
}

void DResources::stylePageTile(int index, bool isCurrent)
{
    PageTile &tile = m_pageTiles[index];
    if (!tile.tile || (tile.styled && tile.current == isCurrent))
        return;
    tile.styled = true;
    tile.current = isCurrent;
    tile.tile->setStyleSheet(isCurrent ? kCurrentPageStyle : kTileStyle);
    if (isCurrent)
        tile.tile->showBt();
    else
        tile.tile->hideBt();
}

bool DResources::makePageTiles()
{
    QList<int> order = pageTilesInView();
    for (int i = 0; i < m_pageTiles.size(); ++i)
        order << i;
    const int current = m_pagesList ? m_pagesList->getCurPageNum() : 0;
    QList<DLabel *> made;
    for (const int index : qAsConst(order)) {
        PageTile &tile = m_pageTiles[index];
        if (tile.tile || !tile.page)
            continue; // made, or its page is gone (the next update takes its place away)
        if (made.size() == kTilesMadeAtOnce)
            break;
        tile.tile = makePageTile(QSize(GalleryScale::kTileWidth, tile.height));
        stylePageTile(index, index == current - 1);
        made << tile.tile;
    }
    if (made.isEmpty())
        return false;
    layOutPageTiles();
    // Shown now rather than by the column's later call: until then their rows would take no
    // room, and the column would be shorter than the places it gave the tiles.
    for (DLabel *tile : qAsConst(made))
        tile->show();
    return true;
}

void DResources::layOutPageTiles()
{
    auto *column = static_cast<QGridLayout *>(tileColumn());
    while (QLayoutItem *item = column->takeAt(0))
        delete item; // the tile stays
    // Where each tile lands, as the column lays them out from the top: known before the
    // layout runs, so that the tiles in view are drawn first.
    int top = column->contentsMargins().top();
    const int spacing = std::max(0, column->verticalSpacing());
    for (int i = 0; i < m_pageTiles.size(); ++i) {
        PageTile &tile = m_pageTiles[i];
        // A tile still to be made holds its place, so that the column is as long as it will
        // be and a click still finds the tile of its page. The column puts no spacing next to
        // a row without a widget: the place takes it.
        if (tile.tile)
            column->addWidget(tile.tile, i, 0);
        else
            column->addItem(new QSpacerItem(GalleryScale::kTileWidth, tile.height + spacing,
                                            QSizePolicy::Fixed, QSizePolicy::Fixed),
                            i, 0);
        tile.top = top;
        top += tile.height + spacing;
    }
}

QList<int> DResources::pageTilesInView() const
{
    QList<int> inView;
    if (m_selectedButton != ui->PagesList || !isVisible())
        return inView;
    const int top = ui->scrollArea->verticalScrollBar()->value();
    const int bottom = top + ui->scrollArea->viewport()->height();
    const auto first = std::lower_bound(
            m_pageTiles.cbegin(), m_pageTiles.cend(), top,
            [](const PageTile &tile, int y) { return tile.top + tile.height <= y; });
    for (auto tile = first; tile != m_pageTiles.cend() && tile->top < bottom; ++tile)
        inView << int(tile - m_pageTiles.cbegin());
    return inView;
}

bool DResources::refreshPageTile(int index)
{
    PageTile &tile = m_pageTiles[index];
    if (!tile.page)
        return true; // gone: the next update takes its tile away
    if (!tile.tile)
        return false; // to be made first
    const QPixmap thumbnail =
            tile.page->currentThumbnail(DPagesList::thumbnailSize(tile.page, &GalleryScale::page));
    if (thumbnail.isNull())
        return false;
    if (thumbnail.cacheKey() == tile.shownKey && tile.shownNumber == index + 1)
        return true;
    QPixmap numbered = thumbnail;
    drawPageNumber(&numbered, index + 1, tile.tile->size());
    tile.tile->setPixmap(numbered);
    tile.shownKey = thumbnail.cacheKey();
    tile.shownNumber = index + 1;
    return true;
}

void DResources::drawPageTile(int index)
{
    const PageTile &tile = m_pageTiles.at(index);
    if (m_pagesList && tile.page)
        m_pagesList->thumbnail(tile.page, &GalleryScale::page);
    refreshPageTile(index);
}

void DResources::schedulePageTiles()
{
    if (!m_pageTiles.isEmpty() && !m_pageTileTimer.isActive())
        m_pageTileTimer.start();
}

void DResources::drawPageTilesStep()
{
    // Tiles in view still to be made come first, a step of their own.
    const QList<int> inView = pageTilesInView();
    if (std::any_of(inView.begin(), inView.end(),
                    [this](int index) {
                        return !m_pageTiles.at(index).tile && m_pageTiles.at(index).page;
                    })) {
        makePageTiles();
        m_pageTileTimer.start();
        return;
    }
    // One thumbnail drawn per step, the first in view that needs it; tiles that only need the
    // thumbnail drawn already cost nothing worth a step of their own.
    bool drawn = false;
    for (const int index : inView) {
        if (refreshPageTile(index))
            continue;
        if (drawn) {
            m_pageTileTimer.start();
            return;
        }
        drawPageTile(index);
        drawn = true;
    }
    // Then the tiles out of view, a few at a time.
    if (!drawn && makePageTiles())
        drawn = true;
    if (drawn)
        m_pageTileTimer.start();
}

int DResources::pageTilesToDraw()
{
    int left = 0;
    for (const int index : pageTilesInView()) {
        const PageTile &tile = m_pageTiles.at(index);
        if (!tile.page)
            continue;
        if (!tile.tile) {
            ++left;
            continue;
        }
        const QPixmap thumbnail = tile.page->currentThumbnail(
                DPagesList::thumbnailSize(tile.page, &GalleryScale::page));
        if (thumbnail.isNull() || thumbnail.cacheKey() != tile.shownKey
            || tile.shownNumber != index + 1)
            ++left;
    }
    return left;
}
