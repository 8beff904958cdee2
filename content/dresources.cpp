#include "content/dresources.h"

#include "content/dlabel.h"
#include "document/dpageslist.h"
#include "ui_dresources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QTextStream>

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
    move(0, 0);
    setFixedHeight(height);
    selectStyleButton(ui->PagesList);
    createPages();
}

DResources::~DResources()
{
    removeImages(tileColumn());
}

void DResources::setPagesList(DPagesList *pages)
{
    m_pagesList = pages;
    updatePagesList();
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
    const QList<QPixmap> pictures = m_pagesList ? m_pagesList->getThumbnailList(&GalleryScale::page)
                                                : QList<QPixmap>();
    insertPixmap(pictures, BtMenus::resPage);
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
        QPixmap picture(path);
        if (!picture.isNull())
            picture = scaledTo(picture, GalleryScale::picture(picture.size()));
        tile->setPixmap(picture);
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
    const int position = tilePosition(lb);
    if (position < 0 || !m_pagesList)
        return;
    if (position + 1 == m_pagesList->getCurPageNum())
        return;
    m_pagesList->selectPage(position);
    createPages();
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
