#include <QtTest>

// Every resource file the code names as a literal (":/Icon/Lock.png") must be in the compiled
// resource tree; a missing one would only show as a blank button or picture at run time.
class tst_ResourcePaths : public QObject
{
    Q_OBJECT

private slots:
    void everyNamedResourceExists();
    void drawnIconsAreRendered();
};

void tst_ResourcePaths::everyNamedResourceExists()
{
    const QDir source(QStringLiteral(VELTORINA_SOURCE_DIR));
    const QStringList folders = { "board",   "document",    "shell",   "palettes", "tools",
                                  "content", "recognition", "sharing" };
    // A literal naming one file: ":/" then a path ending in a file suffix.
    const QRegularExpression literal(QStringLiteral("\":(/[^\"*%]+\\.[A-Za-z0-9]+)\""));
    QStringList missing;
    int named = 0;
    for (const QString &folder : folders) {
        QDirIterator it(source.filePath(folder), { "*.cpp", "*.h" }, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            auto matches = literal.globalMatch(text);
            while (matches.hasNext()) {
                const QString path = QLatin1Char(':') + matches.next().captured(1);
                ++named;
                if (!QFile::exists(path))
                    missing << source.relativeFilePath(file.fileName()) + QLatin1String(": ") + path;
            }
        }
    }
    qInfo("%d resource literals checked", named);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
}

void tst_ResourcePaths::drawnIconsAreRendered()
{
    // Pictures drawn as SVG arrive as real bitmaps of their drawn size.
    QDirIterator it(QStringLiteral(":/Icon"), { "*.png" }, QDir::Files);
    int checked = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QVERIFY2(image.width() > 0 && image.height() > 0, qPrintable(path));
        ++checked;
    }
    QVERIFY(checked > 0);
}

QTEST_MAIN(tst_ResourcePaths)
#include "tst_resourcepaths.moc"
