#include "document/mediacopy.h"

#include <QtTest>

#include <sys/stat.h>

class tst_MediaCopy : public QObject
{
    Q_OBJECT

private slots:
    void sameNamesStayDistinct();
    void failuresAreReported();

private:
    QString write(const QString &relative, const QByteArray &bytes);
    QByteArray read(const QString &relative) const;

    QTemporaryDir m_dir;
};

QString tst_MediaCopy::write(const QString &relative, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray tst_MediaCopy::read(const QString &relative) const
{
    QFile file(m_dir.filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void tst_MediaCopy::sameNamesStayDistinct()
{
    const QString first = write("a/clip.mp4", "first video");
    const QString second = write("b/clip.mp4", "second video");
    const QString third = write("c/clip.mp4", "third video");
    QVERIFY(QDir().mkpath(m_dir.filePath("work/videos")));
    const QString videos = m_dir.filePath("work/videos");

    const QStringList sources = { first, second, first, third, videos + "/clip-2.mp4" };
    const QStringList names = { "clip.mp4", "clip-2.mp4", "clip.mp4", "clip-3.mp4", "clip-2.mp4" };
    for (int i = 0; i < sources.size(); ++i) {
        const MediaCopy::Copied copied = MediaCopy::copyInto(sources.at(i), videos);
        QVERIFY2(copied.ok, qPrintable(copied.error));
        QCOMPARE(copied.name, names.at(i));
    }
    QCOMPARE(read("work/videos/clip.mp4"), QByteArray("first video"));
    QCOMPARE(read("work/videos/clip-2.mp4"), QByteArray("second video"));
    QCOMPARE(read("work/videos/clip-3.mp4"), QByteArray("third video"));
    QCOMPARE(QDir(videos).entryList(QDir::Files).size(), 3);

    const QString bare = write("d/README", "notes");
    QCOMPARE(MediaCopy::copyInto(bare, videos).name, QStringLiteral("README"));
    write("e/README", "other notes");
    QCOMPARE(MediaCopy::copyInto(m_dir.filePath("e/README"), videos).name,
             QStringLiteral("README-2"));
}

void tst_MediaCopy::failuresAreReported()
{
    QVERIFY(QDir().mkpath(m_dir.filePath("out")));
    const QString fifo = m_dir.filePath("pipe.avi");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!MediaCopy::copyInto(fifo, m_dir.filePath("out")).ok);
    QVERIFY(!MediaCopy::copyInto("/dev/zero", m_dir.filePath("out")).ok);
    QVERIFY(!MediaCopy::copyInto(m_dir.filePath("missing.avi"), m_dir.filePath("out")).ok);
    const QString file = write("clip.avi", "x");
    const MediaCopy::Copied intoFile = MediaCopy::copyInto(file, write("blocker", "a file"));
    QVERIFY(!intoFile.ok);
    QVERIFY(!intoFile.error.isEmpty());
    QCOMPARE(QDir(m_dir.filePath("out")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_GUILESS_MAIN(tst_MediaCopy)
#include "tst_mediacopy.moc"
