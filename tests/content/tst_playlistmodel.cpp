#include "content/playlistmodel.h"

#include <QMediaPlaylist>
#include <QtTest>

// The model over a real playlist: its shape, its names and what playlist changes do to it.
class tst_PlaylistModel : public QObject
{
    Q_OBJECT

private slots:
    void withoutPlaylist();
    void indexRules_data();
    void indexRules();
    void showsFileNames();
    void storedValueLastsUntilPlaylistChanges_data();
    void storedValueLastsUntilPlaylistChanges();
    void followsInsertAndRemove();
    void replacingThePlaylistDetachesTheOld();
    void survivesItsPlaylist();

private:
    static void fill(QMediaPlaylist &playlist)
    {
        playlist.addMedia(QUrl::fromLocalFile(QStringLiteral("/films/first clip.ogv")));
        playlist.addMedia(QUrl::fromLocalFile(QStringLiteral("/films/second #2.webm")));
        playlist.addMedia(QUrl::fromLocalFile(QStringLiteral("/films/100% third.ogv")));
    }
};

void tst_PlaylistModel::withoutPlaylist()
{
    PlaylistModel model;
    QVERIFY(!model.playlist());
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 1);
    QVERIFY(!model.index(0, 0).isValid());
}

void tst_PlaylistModel::indexRules_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("underValidParent");
    QTest::addColumn<bool>("valid");
    QTest::newRow("first") << 0 << 0 << false << true;
    QTest::newRow("last") << 2 << 0 << false << true;
    QTest::newRow("row equal to count") << 3 << 0 << false << false;
    QTest::newRow("negative row") << -1 << 0 << false << false;
    QTest::newRow("column 1") << 0 << 1 << false << false;
    QTest::newRow("under a valid parent") << 0 << 0 << true << false;
}

void tst_PlaylistModel::indexRules()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, underValidParent);
    QFETCH(bool, valid);
    QMediaPlaylist playlist;
    fill(playlist);
    PlaylistModel model;
    model.setPlaylist(&playlist);
    const QModelIndex parent = underValidParent ? model.index(0, 0) : QModelIndex();
    const QModelIndex index = model.index(row, column, parent);
    QCOMPARE(index.isValid(), valid);
    if (valid)
        QVERIFY(!model.parent(index).isValid());
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);
}

void tst_PlaylistModel::showsFileNames()
{
    QMediaPlaylist playlist;
    fill(playlist);
    PlaylistModel model;
    model.setPlaylist(&playlist);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("first clip.ogv"));
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("second #2.webm"));
    QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("100% third.ogv"));
    QVERIFY(!model.data(model.index(0, 0), Qt::DecorationRole).isValid());
    QVERIFY(!model.data(QModelIndex()).isValid());
}

void tst_PlaylistModel::storedValueLastsUntilPlaylistChanges_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("insertion") << 0;
    QTest::newRow("removal") << 1;
    QTest::newRow("move") << 2;
}

void tst_PlaylistModel::storedValueLastsUntilPlaylistChanges()
{
    QFETCH(int, change);
    QMediaPlaylist playlist;
    fill(playlist);
    PlaylistModel model;
    model.setPlaylist(&playlist);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    const QModelIndex first = model.index(0, 0);
    QVERIFY(model.setData(first, QStringLiteral("Lesson one"), Qt::EditRole));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex(), first);
    QCOMPARE(model.data(first).toString(), QStringLiteral("Lesson one"));
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("second #2.webm"));

    if (change == 0)
        playlist.addMedia(QUrl::fromLocalFile(QStringLiteral("/films/fourth.ogv")));
    else if (change == 1)
        playlist.removeMedia(2);
    else
        playlist.moveMedia(1, 2); // reported as changed rows
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("first clip.ogv"));
}

void tst_PlaylistModel::followsInsertAndRemove()
{
    QMediaPlaylist playlist;
    fill(playlist);
    PlaylistModel model;
    model.setPlaylist(&playlist);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

    playlist.insertMedia(1, QUrl::fromLocalFile(QStringLiteral("/films/inserted.ogv")));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.first().at(1).toInt(), 1);
    QCOMPARE(inserted.first().at(2).toInt(), 1);
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("inserted.ogv"));

    playlist.removeMedia(0, 1);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.first().at(1).toInt(), 0);
    QCOMPARE(removed.first().at(2).toInt(), 1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("second #2.webm"));
}

void tst_PlaylistModel::replacingThePlaylistDetachesTheOld()
{
    QMediaPlaylist first;
    fill(first);
    QMediaPlaylist second;
    second.addMedia(QUrl::fromLocalFile(QStringLiteral("/films/only.ogv")));
    PlaylistModel model;
    model.setPlaylist(&first);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setPlaylist(&second);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.playlist(), &second);
    QCOMPARE(model.rowCount(), 1);

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    first.addMedia(QUrl::fromLocalFile(QStringLiteral("/films/ignored.ogv")));
    QCOMPARE(inserted.count(), 0);
    second.addMedia(QUrl::fromLocalFile(QStringLiteral("/films/seen.ogv")));
    QCOMPARE(inserted.count(), 1);

    model.setPlaylist(nullptr);
    QCOMPARE(model.rowCount(), 0);
}

void tst_PlaylistModel::survivesItsPlaylist()
{
    PlaylistModel model;
    {
        QMediaPlaylist playlist;
        fill(playlist);
        model.setPlaylist(&playlist);
    }
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.index(0, 0).isValid());
}

QTEST_MAIN(tst_PlaylistModel)
#include "tst_playlistmodel.moc"
