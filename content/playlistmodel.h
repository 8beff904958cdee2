#pragma once

#include <QAbstractItemModel>
#include <QMap>
#include <QPointer>

class QMediaPlaylist;

// The media player window's playlist as a flat one-column list of file names. A value stored
// with setData() is shown instead of the file name until the playlist next changes.
class PlaylistModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit PlaylistModel(QObject *parent = nullptr);

    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    QMediaPlaylist *playlist() const;
    void setPlaylist(QMediaPlaylist *playlist);

private slots:
    void beginInsertItems(int start, int end);
    void endInsertItems();
    void beginRemoveItems(int start, int end);
    void endRemoveItems();
    void changeItems(int start, int end);

private:
    // Not owned: the window may delete its playlist before its children go.
    QPointer<QMediaPlaylist> m_playlist;
    QMap<QModelIndex, QVariant> m_data;
};
