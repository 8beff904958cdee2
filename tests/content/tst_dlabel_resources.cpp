#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>

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
    void noPictureTwice();
    void sameDrawingIsFound_data();
    void sameDrawingIsFound();
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
// The gallery's categories and how many pictures each holds: a teacher finds all of them.
const QList<QPair<QString, int>> kCategories = {
    { "3D", 5 },             { "Animal", 77 },            { "Birds", 18 },
    { "Body", 34 },          { "Drink", 14 },             { "English", 26 },
    { "Fish", 8 },           { "Insect", 42 },            { "Instruments", 41 },
    { "Lab instrument", 119 }, { "Number and symbol", 52 }, { "Physics phenomena", 88 },
    { "Plants", 28 },
};
// clang-format on
constexpr int kPictureCount = 552;

// Pictures are inserted unscaled onto the page: big enough to see, small enough to place.
constexpr int kShortestLongSide = 256;
constexpr int kLongestLongSide = 512;

// Two pictures are the same drawing when their small greyscale thumbnails nearly match and
// their shapes agree; the thumbnails are stretched to the square and normalised in brightness
// and contrast, so that a copy drawn at another size or slightly tinted is still recognised.
constexpr int kThumbnailSide = 16;
constexpr double kSameThumbnail = 0.15; // mean absolute difference of the normalised thumbnails
constexpr double kSameShape = 0.15; // difference of the logarithms of the aspect ratios

struct Thumbnail
{
    QVector<double> grey;
    double shape = 0;
};

Thumbnail thumbnail(const QImage &picture)
{
    QImage small(kThumbnailSide, kThumbnailSide, QImage::Format_ARGB32);
    small.fill(Qt::white);
    QPainter painter(&small);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(small.rect(), picture);
    painter.end();
    Thumbnail result;
    result.shape = std::log(double(picture.width()) / picture.height());
    double mean = 0;
    for (int y = 0; y < kThumbnailSide; ++y)
        for (int x = 0; x < kThumbnailSide; ++x)
            result.grey << qGray(small.pixel(x, y));
    for (const double grey : qAsConst(result.grey))
        mean += grey;
    mean /= result.grey.size();
    double spread = 0;
    for (const double grey : qAsConst(result.grey))
        spread += (grey - mean) * (grey - mean);
    spread = std::sqrt(spread / result.grey.size()) + 1e-6;
    for (double &grey : result.grey)
        grey = (grey - mean) / spread;
    return result;
}

bool sameDrawing(const Thumbnail &a, const Thumbnail &b)
{
    if (std::abs(a.shape - b.shape) >= kSameShape)
        return false;
    double difference = 0;
    for (int i = 0; i < a.grey.size(); ++i)
        difference += std::abs(a.grey.at(i) - b.grey.at(i));
    return difference / a.grey.size() < kSameThumbnail;
}

// The rectangle the picture draws in: everything not fully transparent.
QRect drawnArea(const QImage &argb)
{
    int left = argb.width(), top = argb.height(), right = -1, bottom = -1;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(argb.pixel(x, y)) > 8) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// A picture on a page shows the page through it: its edge is transparent, and so is some of the
// edge of what it draws (a picture laid on a filled rectangle has that rectangle's edge opaque).
bool hasTransparentBackground(const QImage &argb)
{
    for (int x = 0; x < argb.width(); ++x) {
        if (qAlpha(argb.pixel(x, 0)) != 0 || qAlpha(argb.pixel(x, argb.height() - 1)) != 0)
            return false;
    }
    for (int y = 0; y < argb.height(); ++y) {
        if (qAlpha(argb.pixel(0, y)) != 0 || qAlpha(argb.pixel(argb.width() - 1, y)) != 0)
            return false;
    }
    const QRect area = drawnArea(argb);
    if (area.isEmpty())
        return false;
    for (int x = area.left(); x <= area.right(); ++x) {
        if (qAlpha(argb.pixel(x, area.top())) < 128 || qAlpha(argb.pixel(x, area.bottom())) < 128)
            return true;
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        if (qAlpha(argb.pixel(area.left(), y)) < 128 || qAlpha(argb.pixel(area.right(), y)) < 128)
            return true;
    }
    return false;
}

QStringList allPictures()
{
    QStringList paths;
    for (const auto &category : kCategories) {
        const QDir folder(QStringLiteral(":/PicRes/") + category.first);
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
            paths << folder.filePath(name);
    }
    return paths;
}

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
    QStringList expected;
    for (const auto &category : kCategories)
        expected << category.first;
    QCOMPARE(folders, expected);
    QVERIFY(root.entryList(QDir::Files).isEmpty()); // pictures live only in the categories
    QCOMPARE(allPictures().size(), kPictureCount);
}

void tst_DLabelResources::pictures_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<int>("count");
    for (const auto &category : kCategories)
        QTest::newRow(qPrintable(category.first)) << category.first << category.second;
}

void tst_DLabelResources::pictures()
{
    QFETCH(QString, category);
    QFETCH(int, count);

    const QDir folder(QStringLiteral(":/PicRes/") + category);
    QVERIFY(folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()); // flat
    const QStringList files = folder.entryList(QDir::Files);
    QCOMPARE(files.size(), count);

    static QSet<QByteArray> seenPictures; // across categories: no picture twice
    const QRegularExpression fileName(QStringLiteral("^[A-Z0-9]+\\.(png|PNG)$"));
    for (const QString &name : files) {
        QVERIFY2(fileName.match(name).hasMatch(), qPrintable(name));
        const QImage image(folder.filePath(name));
        QVERIFY2(!image.isNull(), qPrintable(name));
        const int longSide = qMax(image.width(), image.height());
        QVERIFY2(longSide >= kShortestLongSide && longSide <= kLongestLongSide, qPrintable(name));
        QVERIFY2(image.hasAlphaChannel(), qPrintable(name));
        // Something is drawn: enough opaque pixels, not only a frame or a dot.
        int opaque = 0;
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(hasTransparentBackground(argb), qPrintable(name + " has a background"));
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

void tst_DLabelResources::noPictureTwice()
{
    const QStringList paths = allPictures();
    QVector<Thumbnail> thumbnails;
    for (const QString &path : paths)
        thumbnails << thumbnail(QImage(path));
    QStringList same;
    for (int i = 0; i < thumbnails.size(); ++i) {
        for (int j = i + 1; j < thumbnails.size(); ++j) {
            if (sameDrawing(thumbnails.at(i), thumbnails.at(j)))
                same << paths.at(i) + QLatin1String(" = ") + paths.at(j);
        }
    }
    QVERIFY2(same.isEmpty(), qPrintable(same.join(QLatin1Char('\n'))));
}

// The comparison above is only as good as what it recognises: a second copy of a drawing,
// drawn at another size or tinted, must count as the same picture; two drawings of different
// things must not.
void tst_DLabelResources::sameDrawingIsFound_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("same");
    // clang-format off
    QTest::newRow("copy under another name") << "Animal/LION.png" << "none" << true;
    QTest::newRow("copy drawn smaller") << "Birds/ROBIN.png" << "smaller" << true;
    QTest::newRow("copy tinted") << "3D/CUBE.png" << "tinted" << true;
    QTest::newRow("copy tinted, clip art") << "Animal/TIGER.png" << "tinted" << true;
    QTest::newRow("copy with a small mark") << "Lab instrument/BEAKER.png" << "marked" << true;
    QTest::newRow("another drawing") << "Animal/LION.png" << "Animal/TIGER.png" << false;
    QTest::newRow("another circuit")
            << "Physics phenomena/SERIESCIRCUIT.png" << "Physics phenomena/OPENCIRCUIT.png" << false;
    // clang-format on
}

void tst_DLabelResources::sameDrawingIsFound()
{
    QFETCH(QString, picture);
    QFETCH(QString, change);
    QFETCH(bool, same);

    const QImage original =
            QImage(QStringLiteral(":/PicRes/") + picture).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!original.isNull());
    QImage other = original;
    if (change == QLatin1String("smaller")) {
        other = original.scaled(original.size() * 3 / 4, Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
    } else if (change == QLatin1String("tinted")) {
        for (int y = 0; y < other.height(); ++y) {
            for (int x = 0; x < other.width(); ++x) {
                QColor colour = QColor::fromRgba(other.pixel(x, y));
                int hue, saturation, value, alpha;
                colour.getHsv(&hue, &saturation, &value, &alpha);
                if (hue >= 0)
                    colour.setHsv((hue + 20) % 360, saturation, value, alpha);
                other.setPixel(x, y, colour.rgba());
            }
        }
    } else if (change == QLatin1String("marked")) {
        QPainter painter(&other);
        painter.fillRect(QRect(other.width() / 2, other.height() / 2, 12, 12), Qt::red);
    } else if (change != QLatin1String("none")) {
        other = QImage(QStringLiteral(":/PicRes/") + change);
        QVERIFY(!other.isNull());
    }
    QCOMPARE(sameDrawing(thumbnail(original), thumbnail(other)), same);
}

QTEST_MAIN(tst_DLabelResources)
#include "tst_dlabel_resources.moc"
