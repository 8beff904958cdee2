#include "document/iwbarchive.h"
#include "document/toolrun.h"
#include "document/workfolder.h"
#include "support/documentfixture.h"

#include <QtTest>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Real zip and unzip runs on files the tests write; archives with unsafe entries are made with
// Python's zipfile, as an attacker would make them.
class tst_IwbArchive : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void packThenUnpackKeepsEveryByte();
    void packNeverFollowsSymlinks();
    void packReplacesTheOldArchive();
    void failedPackKeepsTheOldFile_data();
    void failedPackKeepsTheOldFile();
    void unpackRefusesUnsafeEntries_data();
    void unpackRefusesUnsafeEntries();
    void unpackRefusesWhatIsNotAnArchive();
    void removeTreeNeverFollowsSymlinks();
    void replaceFolderSwapsWholeFolders();
    void restoreAdoptsThePreviousMedia();
    void leftScratchIsRemoved_data();
    void leftScratchIsRemoved();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    void write(const QString &relative, const QByteArray &bytes);
    QByteArray read(const QString &relative) const;
    QStringList listing(const QString &archive) const;
    QString makeEvilArchive(const QString &name, const QString &entry, bool symlink);

    QTemporaryDir m_dir;
};

void tst_IwbArchive::init()
{
    QVERIFY(m_dir.isValid());
    // A pack of the test before leaves its scratch to another thread: not to be cleared under it.
    DocumentFixture::settledEntries(m_dir.path());
    QVERIFY(IwbArchive::clearFolder(m_dir.path()).ok);
}

void tst_IwbArchive::write(const QString &relative, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path(relative)).absolutePath());
    QFile file(path(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

QByteArray tst_IwbArchive::read(const QString &relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList tst_IwbArchive::listing(const QString &archive) const
{
    const ToolRun run =
            runTool(QStringLiteral("unzip"), { "-Z", "-1", archive }, m_dir.path(), 30000);
    return QString::fromUtf8(run.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString tst_IwbArchive::makeEvilArchive(const QString &name, const QString &entry, bool symlink)
{
    const QString script =
            QStringLiteral("import sys, zipfile, stat\n"
                           "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                           "    z.writestr('content.xml', '<iwb/>')\n"
                           "    info = zipfile.ZipInfo(sys.argv[2])\n"
                           "    if sys.argv[3] == '1':\n"
                           "        info.create_system = 3\n"
                           "        info.external_attr = (stat.S_IFLNK | 0o777) << 16\n"
                           "    z.writestr(info, sys.argv[4])\n");
    const QString archive = path(name);
    const ToolRun made = runTool(QStringLiteral("python3"),
                                 { "-c", script, archive, entry, symlink ? "1" : "0",
                                   symlink ? m_dir.path() + "/outside" : "escaped" },
                                 m_dir.path(), 30000);
    return made.ok ? archive : made.error;
}

void tst_IwbArchive::packThenUnpackKeepsEveryByte()
{
    // Names a shell would break on, and one that zip would take for an option.
    const QStringList files = {
        "content.xml",         "images/obj1.png", "document/it's \"$HOME\" `x`.pdf",
        "document/Урок 1.pdf", "-lesson.txt",     "document/*.txt"
    };
    QByteArray binary;
    for (int i = 0; i < 256; ++i)
        binary.append(char(i));
    for (const QString &file : files)
        write("work/" + file, file.toUtf8() + binary);
    // Enough pictures that several runs of unzip share them, some named as unzip's patterns
    // are written, some in folders of their own.
    QStringList pictures;
    for (int n = 0; n < 40; ++n)
        pictures << QStringLiteral("images/obj%1.png").arg(n + 2);
    pictures << "images/[ab]*?.png"
             << "images/a\\b.png"
             << "images/deep/er/obj.png";
    for (const QString &picture : pictures)
        write("work/" + picture, picture.toUtf8() + QByteArray(picture.size() * 977, 'q'));
    QVERIFY(QDir().mkpath(path("work/videos")));

    const QString target = path("save dir/lesson $1.iwb");
    QVERIFY(QDir().mkpath(path("save dir")));
    const IwbArchive::Result packed = IwbArchive::pack(path("work"), target);
    QVERIFY2(packed.ok, qPrintable(packed.error));
    QVERIFY(packed.skipped.isEmpty());
    const QStringList entries = listing(target);
    QVERIFY2(entries.contains("videos/"), "an empty folder is still an entry");
    QVERIFY(entries.contains("images/"));
    QVERIFY(entries.contains("content.xml"));
    // The scratch folder goes on another thread.
    QTRY_COMPARE(QDir(path("save dir"))
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{ "lesson $1.iwb" });

    const IwbArchive::Result unpacked = IwbArchive::unpack(target, path("open"));
    QVERIFY2(unpacked.ok, qPrintable(unpacked.error));
    for (const QString &file : files)
        QCOMPARE(read("open/" + file), file.toUtf8() + binary);
    for (const QString &picture : pictures)
        QCOMPARE(read("open/" + picture), read("work/" + picture));
    QVERIFY(QFileInfo(path("open/videos")).isDir());

    // An entry read without unpacking: the same bytes, however they come in pieces; a reader
    // that has seen enough stops it, and a name the archive lacks is an error.
    QByteArray streamed;
    QCOMPARE(IwbArchive::readEntry(target, "content.xml",
                                   [&streamed](const QByteArray &piece) {
                                       streamed += piece;
                                       return true;
                                   }),
             QString());
    QCOMPARE(streamed, read("open/content.xml"));
    int pieces = 0;
    QCOMPARE(IwbArchive::readEntry(target, "content.xml",
                                   [&pieces](const QByteArray &) { return ++pieces > 1; }),
             QString());
    QCOMPARE(pieces, 1);
    QVERIFY(!IwbArchive::readEntry(target, "missing.xml", [](const QByteArray &) {
                 return true;
             }).isEmpty());
}

void tst_IwbArchive::packNeverFollowsSymlinks()
{
    write("outside/secret.txt", "private");
    write("work/content.xml", "<iwb/>");
    QVERIFY(QFile::link(path("outside/secret.txt"), path("work/leak.txt")));
    QVERIFY(QFile::link(path("outside"), path("work/images")));

    const IwbArchive::Result packed = IwbArchive::pack(path("work"), path("lesson.iwb"));
    QVERIFY2(packed.ok, qPrintable(packed.error));
    QCOMPARE(listing(path("lesson.iwb")), QStringList{ "content.xml" });
    QCOMPARE(packed.skipped, (QStringList{ "images", "leak.txt" }));
}

void tst_IwbArchive::packReplacesTheOldArchive()
{
    write("lesson.iwb", "old bytes");
    write("work/content.xml", "new");
    QVERIFY(IwbArchive::pack(path("work"), path("lesson.iwb")).ok);
    QVERIFY(IwbArchive::unpack(path("lesson.iwb"), path("open")).ok);
    QCOMPARE(read("open/content.xml"), QByteArray("new"));
}

void tst_IwbArchive::failedPackKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("target");
    // "": the real one; else zip as asked, then this done to the archive it made ($archive).
    QTest::addColumn<QString>("zip");
    // Packed as a document: its text handed over first, then its picture added.
    QTest::addColumn<bool>("document");
    // Out of an archive of the text alone, zip removes nothing: a document loses it as it grows.
    const char *leaveOut = "/usr/bin/zip -q -d \"$archive\" content.xml || true";
    const char *garble =
            "printf XXXXXXXX | dd of=\"$archive\" bs=1 seek=2000 conv=notrunc status=none";
    const auto row = [](const char *name, const char *folder, const char *target, const char *zip,
                        bool document) {
        QTest::newRow(name) << QString(folder) << QString(target) << QString(zip) << document;
    };
    row("target folder is a file", "work", "blocker/lesson.iwb", "", false);
    row("target is a folder", "work", "blocker-dir", "", false);
    row("no working folder", "missing", "lesson.iwb", "", false);
    row("working folder empty", "empty", "lesson.iwb", "", false);
    row("zip not installed", "work", "lesson.iwb", "missing", false);
    // A zip that ends well but writes an archive that is not what it was given.
    row("zip leaves an entry out", "work", "lesson.iwb", leaveOut, false);
    row("zip garbles the text it deflates", "work", "lesson.iwb", garble, false);
    row("document, target is a folder", "work", "blocker-dir", "", true);
    row("document, no working folder", "missing", "lesson.iwb", "", true);
    row("document, zip not installed", "work", "lesson.iwb", "missing", true);
    row("document, zip leaves the text out", "work", "lesson.iwb", leaveOut, true);
    row("document, zip garbles the text", "work", "lesson.iwb", garble, true);
}

void tst_IwbArchive::failedPackKeepsTheOldFile()
{
    QFETCH(QString, folder);
    QFETCH(QString, target);
    QFETCH(QString, zip);
    QFETCH(bool, document);
    // A text long enough that the middle of the archive is what zip deflated of it.
    QByteArray text;
    for (int line = 0; line < 4000; ++line)
        text += QByteArray::number(line * 7919 % 10007) + " " + QByteArray::number(line) + "\n";
    write("work/content.xml", text);
    write("work/images/obj1.png", QByteArray(2000, 'p'));
    write("blocker", "a file where a folder should be");
    write("blocker-dir/keep.txt", "kept");
    QVERIFY(QDir().mkpath(path("empty")));
    write("lesson.iwb", "old bytes");
    QTemporaryDir tools;
    if (document) { // the folders a save makes
        QVERIFY(QDir().mkpath(path("work/videos")));
        QVERIFY(QDir().mkpath(path("work/document")));
    }
    const QString fake = tools.filePath(QStringLiteral("zip"));
    DocumentFixture::writeFile(fake,
                               "#!/bin/sh\n/usr/bin/zip \"$@\" || exit $?\n"
                               "for a; do case \"$a\" in *.zip) archive=\"$a\";; esac; done\n"
                                       + zip.toUtf8() + "\n");
    QVERIFY(QFile::setPermissions(fake, QFile::ReadOwner | QFile::ExeOwner));
    const QStringList before =
            QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const QByteArray savedPath = qgetenv("PATH");
    if (zip == QLatin1String("missing"))
        qputenv("PATH", path("empty").toLocal8Bit());
    else if (!zip.isEmpty())
        qputenv("PATH", tools.path().toLocal8Bit() + ':' + savedPath);
    IwbArchive::Result packed;
    if (document) {
        IwbArchive::DocumentPack packing(path(target), { text.left(5000), text.mid(5000) });
        packed = packing.finish(path(folder), { QStringLiteral("images/obj1.png") });
    } else {
        packed = IwbArchive::pack(path(folder), path(target));
    }
    qputenv("PATH", savedPath);

    QVERIFY(!packed.ok);
    QVERIFY(!packed.error.isEmpty());
    QCOMPARE(read("lesson.iwb"), QByteArray("old bytes"));
    QCOMPARE(read("blocker-dir/keep.txt"), QByteArray("kept"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             before); // no temporary archive left behind
}

void tst_IwbArchive::unpackRefusesUnsafeEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("symlink");

    QTest::newRow("symlink folder") << "images" << true;
    QTest::newRow("symlink file") << "videos/clip.avi" << true;
    QTest::newRow("parent") << "../escaped.txt" << false;
    QTest::newRow("parent inside") << "images/../../escaped.txt" << false;
    QTest::newRow("absolute") << "/tmp/escaped.txt" << false;
    QTest::newRow("backslash parent") << "..\\escaped.txt" << false;
    QTest::newRow("parent after spaces") << " a  b/../../escaped.txt" << false;
}

void tst_IwbArchive::unpackRefusesUnsafeEntries()
{
    QFETCH(QString, entry);
    QFETCH(bool, symlink);
    write("outside/precious.txt", "still here");
    const QString archive = makeEvilArchive("evil.iwb", entry, symlink);
    QVERIFY2(QFileInfo(archive).isFile(), qPrintable(archive));

    const IwbArchive::Result unpacked = IwbArchive::unpack(archive, path("open/work"));
    QVERIFY(!unpacked.ok);
    QVERIFY2(unpacked.error.contains("refused"), qPrintable(unpacked.error));
    QVERIFY(!QFileInfo::exists(path("open/work")));
    QVERIFY(!QFileInfo::exists(path("open/escaped.txt")));
    QVERIFY(!QFileInfo::exists(path("escaped.txt")));
    QCOMPARE(read("outside/precious.txt"), QByteArray("still here"));
}

void tst_IwbArchive::unpackRefusesWhatIsNotAnArchive()
{
    write("broken.iwb", "PK\x03\x04 this is not a zip file");
    write("full/content.xml", "x");
    QVERIFY(!IwbArchive::unpack(path("broken.iwb"), path("open")).ok);
    QVERIFY(!QFileInfo::exists(path("open")));
    QVERIFY(!IwbArchive::unpack(path("missing.iwb"), path("open")).ok);
    write("work/content.xml", "new");
    QVERIFY(IwbArchive::pack(path("work"), path("good.iwb")).ok);
    const IwbArchive::Result intoFull = IwbArchive::unpack(path("good.iwb"), path("full"));
    QVERIFY(!intoFull.ok);
    QCOMPARE(read("full/content.xml"), QByteArray("x"));
}

void tst_IwbArchive::removeTreeNeverFollowsSymlinks()
{
    write("outside/precious.txt", "still here");
    write("work/images/a.png", "a");
    QVERIFY(QFile::link(path("outside"), path("work/videos")));
    QVERIFY(QFile::link(path("outside/precious.txt"), path("work/images/link.png")));
    QVERIFY(QFile::link(path("nowhere"), path("work/dangling")));

    // What an archive may leave: names in no encoding the toolkit reads back, and a folder
    // without its owner's access.
    const QByteArray odd = QFile::encodeName(path("work")) + "/ima\x99\x9ds";
    QVERIFY(::mkdir(odd.constData(), 0755) == 0);
    QVERIFY(::close(::open((odd + "/obj\xff.png").constData(), O_CREAT | O_WRONLY, 0644)) == 0);
    QVERIFY(::mkdir((odd + "/locked").constData(), 0000) == 0);

    QVERIFY(!IwbArchive::clearFolder(path("work/videos")).ok); // a link is not a folder to clear
    QVERIFY(IwbArchive::clearFolder(path("work")).ok);
    QCOMPARE(QDir(path("work"))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                | QDir::NoDotAndDotDot),
             QStringList());
    QCOMPARE(read("outside/precious.txt"), QByteArray("still here"));
    QVERIFY(IwbArchive::removeTree(path("work")).ok);
    QVERIFY(!QFileInfo::exists(path("work")));
    QVERIFY(IwbArchive::removeTree(path("work")).ok); // already gone is fine
}

void tst_IwbArchive::replaceFolderSwapsWholeFolders()
{
    write("work/content.xml", "old");
    write("work/videos/old.avi", "old");
    const QString staging = IwbArchive::makeSiblingFolder(path("work"));
    QVERIFY(QFileInfo(staging).isDir());
    QCOMPARE(QFileInfo(staging).absolutePath(), m_dir.path());
    write(QDir(m_dir.path()).relativeFilePath(staging) + "/content.xml", "new");

    QVERIFY(!IwbArchive::replaceFolder(path("missing"), path("work")).ok);
    QCOMPARE(read("work/content.xml"), QByteArray("old"));

    QVERIFY(IwbArchive::replaceFolder(staging, path("work")).ok);
    QCOMPARE(read("work/content.xml"), QByteArray("new"));
    QVERIFY(!QFileInfo::exists(path("work/videos")));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{ "work" });
}

void tst_IwbArchive::restoreAdoptsThePreviousMedia()
{
    write("previous/content.xml", "<iwb/>");
    write("previous/videos/clip.avi", "video");
    write("previous/document/a.pdf", "pdf");
    write("outside/secret.txt", "private");
    QVERIFY(QFile::link(path("outside"), path("previous/images")));
    write("work/videos/stale.avi", "stale");

    QVERIFY(IwbArchive::adoptMedia(path("previous"), path("work")).ok);
    QCOMPARE(read("work/videos/clip.avi"), QByteArray("video"));
    QCOMPARE(read("work/document/a.pdf"), QByteArray("pdf"));
    QVERIFY(!QFileInfo::exists(path("work/videos/stale.avi")));
    QVERIFY(!QFileInfo::exists(path("work/images"))); // a link is never adopted
    QVERIFY(IwbArchive::removeTree(path("previous")).ok);
    QCOMPARE(read("outside/secret.txt"), QByteArray("private"));

    QCOMPARE(IwbArchive::rebasePath(path("previous/videos/clip.avi"), path("previous"),
                                    path("work")),
             path("work/videos/clip.avi"));
    QCOMPARE(IwbArchive::rebasePath(path("previous-2/x.avi"), path("previous"), path("work")),
             path("previous-2/x.avi"));
    QCOMPARE(IwbArchive::rebasePath("/home/u/a.pdf", path("previous"), path("work")),
             QStringLiteral("/home/u/a.pdf"));
}

void tst_IwbArchive::leftScratchIsRemoved_data()
{
    // What programs leave beside a save target or in the temporary folder (content ending in
    // "@": a link to a folder outside), and whether it is still there after the next save (pack)
    // or the next start (removeLeftovers). owner is the folder whose lock says who owns folder:
    // none, left by a killed program ("stale"), or held by a running one (this test).
    QTest::addColumn<QString>("folder"); // a name ending in ".lock": the owner's lock alone
    QTest::addColumn<QStringList>("content");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("lock");
    QTest::addColumn<bool>("kept");
    const QString save = QStringLiteral("save/.lesson.iwb-a1B2c3");
    const QString none = QStringLiteral("none"), stale = QStringLiteral("stale"),
                  held = QStringLiteral("held");
    QTest::newRow("killed save") << save << QStringList{ "archive.zip" } << save << stale << false;
    QTest::newRow("killed save, nothing written yet")
            << "save/.lesson.iwb-Zz9yY8" << QStringList() << QString() << none << false;
    QTest::newRow("killed save, zip at work")
            << save << QStringList{ "zi4Xy9Qa" } << save << stale << false;
    QTest::newRow("killed save, the file it replaces kept by a second name")
            << save << QStringList{ "archive.zip", "replaced.iwb" } << save << stale << false;
    QTest::newRow("killed save, the text it was packing")
            << save << QStringList{ "content.xml", "archive.zip" } << save << stale << false;
    QTest::newRow("killed save, its file replaced")
            << save << QStringList{ "replaced.iwb" } << save << stale << false;
    QTest::newRow("save of this file still going")
            << save << QStringList{ "archive.zip" } << save << held << true;
    QTest::newRow("lock of a killed save") << "save/.lesson.iwb-k1L2m3.lock" << QStringList()
                                           << "save/.lesson.iwb-k1L2m3" << stale << false;
    QTest::newRow("user's folder of that look")
            << "save/.lesson.iwb-notes1" << QStringList{ "letter.odt" } << QString() << none
            << true;
    QTest::newRow("other document's scratch")
            << "save/.other.iwb-a1B2c3" << QStringList{ "archive.zip" } << QString() << none
            << true;
    QTest::newRow("open of a run that is gone")
            << "tmp/.veltorina-Gone12-q1W2e3" << QStringList{ "content.xml", "images/a.png" }
            << "tmp/veltorina-Gone12" << stale << false;
    QTest::newRow("open of the previous run")
            << "tmp/.veltorina-Prev12-q1W2e3" << QStringList{ "content.xml" } << QString() << none
            << false;
    QTest::newRow("open of a run still going")
            << "tmp/.veltorina-Live12-q1W2e3" << QStringList{ "content.xml" }
            << "tmp/veltorina-Live12" << held << true;
    QTest::newRow("open swapping its folder in (gone for a moment)")
            << "tmp/.veltorina-Swap12-q1W2e3" << QStringList{ "content.xml", "images/a.png" }
            << "tmp/veltorina-Swap12" << held << true;
    QTest::newRow("someone else's") << "tmp/.other-Gone12-q1W2e3" << QStringList{ "content.xml" }
                                    << QString() << none << true;
    QTest::newRow("run killed before its first autosave")
            << "tmp/veltorina-Kill12" << QStringList() << "tmp/veltorina-Kill12" << stale << false;
    QTest::newRow("run killed during a save")
            << "tmp/veltorina-Save12" << QStringList{ "content.xml", "images/a.png" }
            << "tmp/veltorina-Save12" << stale << false;
    QTest::newRow("run killed after an autosave")
            << "tmp/veltorina-Auto12" << QStringList{ "content.xml", ".autosaved" }
            << "tmp/veltorina-Auto12" << stale << true;
    QTest::newRow("running program's, before its first autosave")
            << "tmp/veltorina-Runs12" << QStringList() << "tmp/veltorina-Runs12" << held << true;
    QTest::newRow("folder of that name holding a link")
            << "tmp/veltorina-User12" << QStringList{ "content.xml", "document@" } << QString()
            << none << true;
    QTest::newRow("lock of a killed run") << "tmp/veltorina-Dead12.lock" << QStringList()
                                          << "tmp/veltorina-Dead12" << stale << false;
}

void tst_IwbArchive::leftScratchIsRemoved()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, content);
    QFETCH(QString, owner);
    QFETCH(QString, lock);
    QFETCH(bool, kept);
    for (const char *made : { "save", "tmp/veltorina-Mine12", "tmp/veltorina-Prev12" })
        QVERIFY(QDir().mkpath(path(QLatin1String(made))));
    if (!folder.endsWith(QLatin1String(".lock"))) // a lock alone is the owner's, made below
        QVERIFY(QDir().mkpath(path(folder)));
    write("outside/secret.txt", "private");
    for (const QString &file : qAsConst(content)) {
        if (file.endsWith(QLatin1Char('@'))) // a link to a folder outside
            QVERIFY(QFile::link(path("outside"),
                                path(folder + QLatin1Char('/') + file.chopped(1))));
        else
            write(folder + QLatin1Char('/') + file, "left over");
    }
    std::unique_ptr<WorkFolder::Lock> running;
    if (lock == QLatin1String("stale")) // as a program killed while it made it left it
        write(owner + QStringLiteral(".lock"), QByteArray());
    else if (lock == QLatin1String("held"))
        QVERIFY((running = WorkFolder::claim(path(owner))));
    write("work/content.xml", "<iwb/>");
    QVERIFY(IwbArchive::pack(path("work"), path("save/lesson.iwb")).ok);
    const QByteArray temporary = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(path("tmp")));
    WorkFolder::removeLeftovers(path("tmp/veltorina-Mine12"), path("tmp/veltorina-Prev12"));
    qputenv("TMPDIR", temporary);
    QCOMPARE(QFileInfo::exists(path(folder)), kept);
    // A lock goes with what it guarded; an autosave kept for the restore offer keeps its own.
    if (!owner.isEmpty())
        QCOMPARE(QFileInfo::exists(WorkFolder::lockPath(path(owner))), running || kept);
    QVERIFY(QFileInfo(path("save/lesson.iwb")).isFile());
    QCOMPARE(read("outside/secret.txt"), QByteArray("private"));
    // The save's own scratch and lock are gone with it (on another thread).
    QTRY_COMPARE(QDir(path("save"))
                         .entryList({ ".lesson.iwb-*" }, QDir::AllEntries | QDir::Hidden)
                         .size(),
                 kept && folder.startsWith(QLatin1String("save/.lesson")) ? 1 + (running ? 1 : 0)
                                                                          : 0);
}

QTEST_GUILESS_MAIN(tst_IwbArchive)
#include "tst_iwbarchive.moc"
