#include "document/mediapath.h"

#include <QtTest>

#include <sys/stat.h>

// Media named in a document resolve only to regular files inside the document's folder.
class tst_MediaPath : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hrefs_data();
    void hrefs();
    void ubzSources();
    void attachments();
    void onlyRegularFilesAreCopied();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    void write(const QString &relative);

    QTemporaryDir m_dir;
};

void tst_MediaPath::write(const QString &relative)
{
    QDir().mkpath(QFileInfo(path(relative)).absolutePath());
    QFile file(path(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

void tst_MediaPath::initTestCase()
{
    QVERIFY(m_dir.isValid());
    write("doc/images/obj1.png");
    write("doc/videos/clip one.avi");
    write("doc/document/a.pdf");
    write("secret.txt");
    QVERIFY(QDir().mkpath(path("doc/images/folder.png")));
    QVERIFY(QFile::link(path("secret.txt"), path("doc/images/out.png")));
    QVERIFY(QFile::link(path("."), path("doc/up")));
    QVERIFY(QFile::link(path("doc/images/obj1.png"), path("doc/images/in.png")));
    QCOMPARE(::mkfifo(QFile::encodeName(path("doc/videos/fifo.avi")).constData(), 0600), 0);
}

void tst_MediaPath::hrefs_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("resolved"); // relative to the test folder; "" refused

    QTest::newRow("picture") << "images/obj1.png"
                             << "doc/images/obj1.png";
    QTest::newRow("video with slash") << "/videos/clip one.avi"
                                      << "doc/videos/clip one.avi";
    QTest::newRow("doubled slashes") << "//videos//clip one.avi"
                                     << "doc/videos/clip one.avi";
    QTest::newRow("dot part") << "./images/./obj1.png"
                              << "doc/images/obj1.png";
    QTest::newRow("link inside") << "images/in.png"
                                 << "doc/images/in.png";
    QTest::newRow("missing") << "images/obj2.png"
                             << "";
    QTest::newRow("parent") << "../secret.txt"
                            << "";
    QTest::newRow("parent and back") << "images/../images/obj1.png"
                                     << "";
    QTest::newRow("link out") << "images/out.png"
                              << "";
    QTest::newRow("link folder out") << "up/secret.txt"
                                     << "";
    QTest::newRow("folder") << "images/folder.png"
                            << "";
    QTest::newRow("fifo") << "videos/fifo.avi"
                          << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("slash only") << "/"
                                << "";
    QTest::newRow("system file as href") << "/etc/passwd"
                                         << "";
}

void tst_MediaPath::hrefs()
{
    QFETCH(QString, href);
    QFETCH(QString, resolved);
    QCOMPARE(MediaPath::resolveHref(path("doc"), href),
             resolved.isEmpty() ? QString() : path(resolved));
}

void tst_MediaPath::ubzSources()
{
    QCOMPARE(MediaPath::resolveSource(path("doc"), "images/obj1.png"), path("doc/images/obj1.png"));
    QCOMPARE(MediaPath::resolveSource(path("doc"), path("doc/images/obj1.png")), QString());
    QCOMPARE(MediaPath::resolveSource(path("doc"), "/videos/clip one.avi"), QString());
    QCOMPARE(MediaPath::resolveSource(path("doc"), "../secret.txt"), QString());
    QCOMPARE(MediaPath::resolveSource(QString(), "images/obj1.png"), QString());
}

void tst_MediaPath::attachments()
{
    QCOMPARE(MediaPath::resolveAttachment(path("doc"), "/home/u/a.pdf"),
             path("doc/document/a.pdf"));
    QCOMPARE(MediaPath::resolveAttachment(path("doc"), "a.pdf"), path("doc/document/a.pdf"));
    QCOMPARE(MediaPath::resolveAttachment(path("doc"), "/home/u/b.pdf"), QString());
    QCOMPARE(MediaPath::resolveAttachment(path("doc"), "/home/u/.."), QString());
    QCOMPARE(MediaPath::resolveAttachment(path("doc"), "/home/u/"), QString());
}

void tst_MediaPath::onlyRegularFilesAreCopied()
{
    QVERIFY(MediaPath::isRegularFile(path("secret.txt")));
    QVERIFY(MediaPath::isRegularFile(path("doc/images/out.png"))); // the user's own link is fine
    QVERIFY(!MediaPath::isRegularFile(path("doc/videos/fifo.avi")));
    QVERIFY(!MediaPath::isRegularFile("/dev/zero"));
    QVERIFY(!MediaPath::isRegularFile(path("doc/images")));
    QVERIFY(!MediaPath::isRegularFile(path("missing")));
    QVERIFY(!MediaPath::isRegularFile(QString()));
}

QTEST_GUILESS_MAIN(tst_MediaPath)
#include "tst_mediapath.moc"
