#include "playlistmodel.h"

#include <QFileInfo>
#include <QMediaPlaylist>
#include <QUrl>

PlaylistModel::PlaylistModel(QObject *parent) : QAbstractItemModel(parent) { }

int PlaylistModel::rowCount(const QModelIndex &parent) const
{
    return m_playlist && !parent.isValid() ? m_playlist->mediaCount() : 0;
}

int PlaylistModel::columnCount(const QModelIndex &parent) const
{
    return !parent.isValid() ? 1 : 0;
}

QModelIndex PlaylistModel::index(int row, int column, const QModelIndex &parent) const
{
    if (m_playlist && !parent.isValid() && row >= 0 && row < m_playlist->mediaCount()
        && column == 0)
        return createIndex(row, column);
    return QModelIndex();
}

QModelIndex PlaylistModel::parent(const QModelIndex &child) const
{
    Q_UNUSED(child);
    return QModelIndex();
}

QVariant PlaylistModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    const QVariant value = m_data.value(index);
    if (!value.isValid() && index.column() == 0) {
        if (!m_playlist)
            return QVariant();
        const QUrl location = m_playlist->media(index.row()).request().url();
        return QFileInfo(location.path()).fileName();
    }
    return value;
}

bool PlaylistModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Q_UNUSED(role);
    if (!index.isValid() || index.model() != this)
        return false;
    m_data[index] = value;
    emit dataChanged(index, index);
    return true;
}

QMediaPlaylist *PlaylistModel::playlist() const
{
    return m_playlist;
}

void PlaylistModel::setPlaylist(QMediaPlaylist *playlist)
{
    if (m_playlist)
        disconnect(m_playlist, nullptr, this, nullptr);

    beginResetModel();
    m_playlist = playlist;
    endResetModel();

    if (m_playlist) {
        connect(m_playlist, &QMediaPlaylist::mediaAboutToBeInserted, this,
                &PlaylistModel::beginInsertItems);
        connect(m_playlist, &QMediaPlaylist::mediaInserted, this, &PlaylistModel::endInsertItems);
        connect(m_playlist, &QMediaPlaylist::mediaAboutToBeRemoved, this,
                &PlaylistModel::beginRemoveItems);
        connect(m_playlist, &QMediaPlaylist::mediaRemoved, this, &PlaylistModel::endRemoveItems);
        connect(m_playlist, &QMediaPlaylist::mediaChanged, this, &PlaylistModel::changeItems);
    }
}

void PlaylistModel::beginInsertItems(int start, int end)
{
    m_data.clear();
    beginInsertRows(QModelIndex(), start, end);
}

void PlaylistModel::endInsertItems()
{
    endInsertRows();
}

void PlaylistModel::beginRemoveItems(int start, int end)
{
    m_data.clear();
    beginRemoveRows(QModelIndex(), start, end);
}

void PlaylistModel::endRemoveItems()
{
    endRemoveRows();
}

void PlaylistModel::changeItems(int start, int end)
{
    m_data.clear();
    const QModelIndex first = index(start, 0);
    const QModelIndex last = index(end, 0);
    if (first.isValid() && last.isValid())
        emit dataChanged(first, last);
}
