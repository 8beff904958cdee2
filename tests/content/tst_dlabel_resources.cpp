#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QtTest>

// The pictures and word lists the gallery tiles show come from the built-in resource tree;
// the folder and file names, the word counts and the file format are fixed, because the
// gallery lists them as they are and documents name the pictures by path.
class tst_DLabelResources : public QObject
{
    Q_OBJECT

private slots:
    void wordListFolder();
    void wordList_data();
    void wordList();
    void wordListsInOrder();
    void pictureFolders();
    void pictures_data();
    void pictures();
};

namespace {

// clang-format off
const QList<QPair<QString, int>> kWordLists = {
    { "Animals", 22 },  { "Birds", 29 },   { "Clothes", 24 },     { "Colours", 10 },
    { "Dates", 22 },    { "Days of the week", 7 },                { "Fairy tales", 24 },
    { "Farm", 32 },     { "Food", 50 },    { "Home", 47 },        { "Months", 12 },
    { "Numbers", 19 },  { "Park", 10 },    { "Seaside", 13 },     { "Toys", 10 },
    { "Transport", 18 }, { "Weather", 11 },
};
const QStringList kCategories = {
    "3D", "Animal", "Birds", "Body", "Drink", "English", "Fish", "Insect", "Instruments",
    "Lab instrument", "Number and symbol", "Physics phenomena", "Plants",
};
// clang-format on

QByteArray readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

void tst_DLabelResources::wordListFolder()
{
    QStringList expected;
    for (const auto &list : kWordLists)
        expected << list.first + QLatin1String(".txt");
    const QStringList present =
            QDir(QStringLiteral(":/TextRes")).entryList(QDir::Files, QDir::Name);
    QCOMPARE(present, expected);
}

void tst_DLabelResources::wordList_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lines");
    for (const auto &list : kWordLists)
        QTest::newRow(qPrintable(list.first)) << list.first << list.second;
}

void tst_DLabelResources::wordList()
{
    QFETCH(QString, name);
    QFETCH(int, lines);

    const QByteArray bytes = readResource(QStringLiteral(":/TextRes/") + name + ".txt");
    QVERIFY(!bytes.isEmpty());
    for (const char c : bytes)
        QVERIFY2(c > 0, "not plain ASCII");
    QVERIFY2(!bytes.endsWith('\n') && !bytes.endsWith('\r'), "line end after the last line");
    // Every line ends in CR LF: no bare LF, no bare CR.
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));

    const QList<QByteArray> words = bytes.split('\n');
    QCOMPARE(words.size(), lines);
    QSet<QByteArray> seen;
    for (int i = 0; i < words.size(); ++i) {
        const QByteArray word = words.at(i).endsWith('\r') ? words.at(i).chopped(1) : words.at(i);
        QCOMPARE(word.trimmed(), word);
        if (name == QLatin1String("Food") && i == 0) {
            QVERIFY2(word.isEmpty(), "Food starts with an empty line");
            continue;
        }
        QVERIFY2(!word.isEmpty(), qPrintable(QStringLiteral("empty line %1").arg(i + 1)));
        QVERIFY2(!seen.contains(word), word.constData());
        seen.insert(word);
    }
}

void tst_DLabelResources::wordListsInOrder()
{
    const auto lines = [](const QString &name) {
        return QString::fromLatin1(readResource(QStringLiteral(":/TextRes/") + name))
                .split(QStringLiteral("\r\n"));
    };
    QCOMPARE(lines(QStringLiteral("Days of the week.txt")),
             QStringList({ "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
                           "Sunday" }));
    const QStringList months = lines(QStringLiteral("Months.txt"));
    QCOMPARE(months.first(), QStringLiteral("January"));
    QCOMPARE(months.last(), QStringLiteral("December"));
    QCOMPARE(lines(QStringLiteral("Numbers.txt")).at(6), QStringLiteral("seven"));
    QCOMPARE(lines(QStringLiteral("Dates.txt")).first(), QStringLiteral("first"));
}

void tst_DLabelResources::pictureFolders()
{
    const QDir root(QStringLiteral(":/PicRes"));
    QStringList folders = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    folders.sort(Qt::CaseInsensitive);
    QCOMPARE(folders, kCategories);
    QVERIFY(root.entryList(QDir::Files).isEmpty()); // pictures live only in the categories
}

void tst_DLabelResources::pictures_data()
{
    QTest::addColumn<QString>("category");
    for (const QString &category : kCategories)
        QTest::newRow(qPrintable(category)) << category;
}

void tst_DLabelResources::pictures()
{
    QFETCH(QString, category);

    const QDir folder(QStringLiteral(":/PicRes/") + category);
    QVERIFY(folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()); // flat
    const QStringList files = folder.entryList(QDir::Files);
    QVERIFY2(files.size() >= 6, qPrintable(QString::number(files.size())));

    static QSet<QByteArray> seenPictures; // across categories: no picture twice
    const QRegularExpression fileName(QStringLiteral("^[A-Z0-9]+\\.(png|PNG)$"));
    for (const QString &name : files) {
        QVERIFY2(fileName.match(name).hasMatch(), qPrintable(name));
        const QImage image(folder.filePath(name));
        QVERIFY2(!image.isNull(), qPrintable(name));
        QVERIFY2(image.width() >= 100 && image.height() >= 100, qPrintable(name));
        // Something is drawn: enough opaque pixels, not only a frame or a dot.
        int opaque = 0;
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x)
                opaque += qAlpha(argb.pixel(x, y)) > 128;
        QVERIFY2(opaque > argb.width() * argb.height() / 20, qPrintable(name));
        const QByteArray hash = QCryptographicHash::hash(
                QByteArray(reinterpret_cast<const char *>(argb.constBits()), argb.sizeInBytes()),
                QCryptographicHash::Sha1);
        QVERIFY2(!seenPictures.contains(hash), qPrintable(name + " repeats another picture"));
        seenPictures.insert(hash);
    }
}

QTEST_MAIN(tst_DLabelResources)
#include "tst_dlabel_resources.moc"
