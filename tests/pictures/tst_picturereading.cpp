#include "support/craftedpictures.h"
#include "support/orientedphotos.h"

#include "pictures/decoderprotocol.h"
#include "pictures/picturedecoders.h"
#include "pictures/picturereading.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <atomic>
#include <thread>

#include <csignal>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace PictureReading;

Q_DECLARE_METATYPE(PictureReading::Outcome)

namespace {

QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    return CraftedPictures::pngChunk(type, data);
}

// A small grey PNG with chunks added before its pixels.
QByteArray pngWith(const QByteArray &extra)
{
    const QByteArray small = CraftedPictures::make("png", QSize(8, 8));
    const int pixels = small.indexOf("IDAT") - 4;
    return small.left(pixels) + extra + small.mid(pixels);
}

} // namespace

class tst_PictureReading : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyFormatReadWhole_data();
    void everyFormatReadWhole();
    void transparencyKnownFromTheMeasure_data();
    void transparencyKnownFromTheMeasure();
    void deepPicturesTakenWhole_data();
    void deepPicturesTakenWhole();
    void crafted_data();
    void crafted();
    void saidAlikeEverywhere_data();
    void saidAlikeEverywhere();
    void shrinkAverages_data();
    void shrinkAverages();
    void smallerJpegCopiesAsAveraged_data();
    void smallerJpegCopiesAsAveraged();
    void turnedPhotosMeasuredAsSeen_data();
    void turnedPhotosMeasuredAsSeen();
    void namesTakenInAdvance();
    void linksReachOnlyTheirFolder_data();
    void linksReachOnlyTheirFolder();
    void stoppedDecoderSaidInTime_data();
    void stoppedDecoderSaidInTime();
    void followingPixelsChecked_data();
    void followingPixelsChecked();
    void decoderLogCut();

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_home; // the teacher's, with the fonts' folders in it
};

void tst_PictureReading::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_home.isValid());
    QVERIFY(CraftedPictures::makeFontsHome(m_home.path()));
}

void tst_PictureReading::everyFormatReadWhole_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size");
    for (const QString &kind : CraftedPictures::kindNames())
        QTest::newRow(qPrintable(kind)) << kind << QSize(40, 30);
    // A small picture's pixels come back on the decoding process's pipe, a larger one's in
    // shared memory: the largest of the one and the smallest of the other.
    QTest::newRow("png, largest sent on the pipe") << "png" << QSize(512, 512);
    QTest::newRow("png, handed over in shared memory") << "png" << QSize(513, 512);
    QTest::newRow("jpeg, handed over in shared memory") << "jpeg" << QSize(900, 700);
    // Its text drawn with the fonts, which the decoding process still reads.
    QTest::newRow("svg with text") << "svg-text" << QSize(60, 40);
}

// What the measures find agrees with what the toolkit decodes, in every format, and the
// pixels that come back from the decoding process are those the toolkit decodes here.
void tst_PictureReading::everyFormatReadWhole()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    const QString file = CraftedPictures::writeIn(m_dir.path(), kind, size, kind);
    QVERIFY(!file.isEmpty());
    const Picture picture = read(file);
    QVERIFY2(picture.probe.outcome == Outcome::Whole, qPrintable(picture.probe.detail));
    QCOMPARE(picture.probe.size, size);
    QCOMPARE(picture.image.size(), size);
    QVERIFY(picture.image.format() == QImage::Format_RGB32
            || picture.image.format() == QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(message(picture.probe, kind), QString());
    QCOMPARE(picture.image, QImage(file).convertToFormat(picture.image.format()));
}

void tst_PictureReading::transparencyKnownFromTheMeasure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("opaque"); // known from its measure never to show what lies under it
    // clang-format off
    const std::pair<const char *, bool> rows[] = {
        { "jpeg", true }, { "jpeg-progressive", true }, { "png", true },
        // A page of a PDF comes as a PPM: a stack of pages showed all of them, each decoded.
        { "ppm", true }, { "pgm", true }, { "pbm", true },
        { "png-alpha", false }, { "png-grey-alpha", false }, { "png-palette-alpha", false },
    };
    // clang-format on
    for (const auto &row : rows)
        QTest::newRow(row.first) << QString::fromLatin1(row.first) << row.second;
}

// What the board takes to cover the pictures under it, before any is decoded: never one with
// transparent pixels, and every one of a format that has none.
void tst_PictureReading::transparencyKnownFromTheMeasure()
{
    QFETCH(QString, kind);
    QFETCH(bool, opaque);
    const QString file = CraftedPictures::writeIn(m_dir.path(), kind, QSize(40, 30), kind);
    QVERIFY(!file.isEmpty());
    const Probe measured = probe(file);
    QVERIFY2(measured.isTaken(), qPrintable(measured.detail));
    QCOMPARE(!measured.hasAlpha, opaque);
    const QImage decoded = read(file).image;
    QVERIFY(!decoded.isNull());
    QVERIFY(measured.hasAlpha || !decoded.hasAlphaChannel());
}

void tst_PictureReading::deepPicturesTakenWhole_data()
{
    QTest::addColumn<QString>("kind"); // of CraftedPictures::kDeepKinds
    QTest::addColumn<QSize>("size");
    for (const CraftedPictures::Kind &kind : CraftedPictures::kDeepKinds)
        QTest::newRow(qPrintable(QStringLiteral("%1 5000 x 3500").arg(kind.name)))
                << kind.name << QSize(5000, 3500);
    for (const char *kind : { "png-alpha", "png16-alpha" })
        QTest::newRow(qPrintable(QStringLiteral("%1 4096 x 4096").arg(kind)))
                << kind << QSize(4096, 4096);
    // As many pixels as the board holds.
    for (const char *kind :
         { "png-alpha", "png16-alpha", "png16-opaque", "png16-grey", "png-palette-alpha" })
        QTest::newRow(qPrintable(QStringLiteral("%1 16384 x 4096").arg(kind)))
                << kind << QSize(16384, 4096);
}

// Every picture within the board's limits is taken, whatever its channels and their depth, and
// its pixels are what the board shows of it: a PNG with transparency, of 5000 x 3500, was not
// read at all.
void tst_PictureReading::deepPicturesTakenWhole()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    const CraftedPictures::RoomyLimits roomy; // of sizes, not of time
    const QString file = CraftedPictures::writeIn(m_dir.path(), kind, size, kind);
    QVERIFY(!file.isEmpty());
    const Picture picture = read(file);
    QVERIFY2(picture.probe.outcome == Outcome::Whole, qPrintable(picture.probe.detail));
    QCOMPARE(picture.image.size(), size);
    QVERIFY(picture.image.format() == QImage::Format_RGB32
            || picture.image.format() == QImage::Format_ARGB32_Premultiplied);
    for (const int y : { 0, size.height() / 2, size.height() - 1 }) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.image.constScanLine(y));
        for (const int x : { 0, 1, 2, 3, size.width() / 3, size.width() - 1 }) {
            const QRgb expected = CraftedPictures::deepPixel(kind, size, x);
            const QRgb seen =
                    picture.image.format() == QImage::Format_RGB32 ? row[x] | 0xff000000 : row[x];
            const bool near = qAbs(qRed(seen) - qRed(expected)) <= 1
                    && qAbs(qGreen(seen) - qGreen(expected)) <= 1
                    && qAbs(qBlue(seen) - qBlue(expected)) <= 1
                    && qAbs(qAlpha(seen) - qAlpha(expected)) <= 1;
            QVERIFY2(near,
                     qPrintable(QStringLiteral("%1, %2: %3 for %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(seen, 8, 16)
                                        .arg(expected, 8, 16)));
        }
    }
}

void tst_PictureReading::crafted_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Outcome>("outcome");
    const QByteArray gif = CraftedPictures::make("gif", QSize(100, 100));
    const QByteArray png = CraftedPictures::make("png", QSize(8, 8));
    QTest::newRow("empty") << QByteArray() << Outcome::Unreadable;
    QTest::newRow("noise") << QByteArray(300, '\x5a') << Outcome::Unreadable;
    QTest::newRow("PNG signature only") << png.left(8) << Outcome::Unreadable;
    QTest::newRow("PNG cut in its header") << png.left(20) << Outcome::Unreadable;
    QTest::newRow("GIF cut in its screen") << gif.left(9) << Outcome::Unreadable;
    // The decoder makes a canvas as large as any frame reaches, whatever the screen says.
    QByteArray frameBeyond = gif;
    const int descriptor = frameBeyond.indexOf('\x2c', 13);
    frameBeyond.replace(descriptor + 5, 4, QByteArray("\x30\x75\x30\x75", 4));
    QTest::newRow("GIF frame beyond its screen") << frameBeyond << Outcome::TooLarge;
    // Each inflates a thousand to one; together beyond what is read of text.
    QByteArray texts;
    const QByteArray bomb = chunk(
            "zTXt", QByteArray("Comment\0\0", 9) + qCompress(QByteArray(8 << 20, ' ')).mid(4));
    for (int i = 0; i < 5; ++i)
        texts += bomb;
    QTest::newRow("PNG compressed text bomb") << pngWith(texts) << Outcome::TooCostly;
    QTest::newRow("PNG with short text") << pngWith(chunk("tEXt", "Title\0x")) << Outcome::Whole;
    QByteArray magnified = CraftedPictures::make("mng", QSize(8, 8));
    magnified.insert(8 + 40, chunk("MAGN", QByteArray(4, '\0')));
    QTest::newRow("MNG MAGN") << magnified << Outcome::Unmeasurable;
    QByteArray unknown = CraftedPictures::make("mng", QSize(8, 8));
    unknown.insert(8 + 40, chunk("ZZZZ", QByteArray(4, '\0')));
    QTest::newRow("MNG unknown chunk") << unknown << Outcome::Unmeasurable;
    // The directory says 16 x 16, the bitmap 30000 x 30000.
    QTest::newRow("ICO bitmap beyond its directory")
            << CraftedPictures::make("ico-bmp", QSize(30000, 30000)).replace(6, 2, "\x10\x10")
            << Outcome::TooLarge;
    // Within the limits, but its objects and its frame together are beyond the budget.
    QTest::newRow("MNG within the limits")
            << CraftedPictures::make("mng", QSize(8192, 8192)) << Outcome::TooCostly;
    const QByteArray huge = CraftedPictures::make("png", QSize(30000, 30000)).toBase64();
    QTest::newRow("SVG holding a huge picture")
            << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' "
                          "xmlns:xlink='http://www.w3.org/1999/xlink' width='10' height='10'>"
                          "<image width='10' height='10' xlink:href='data:image/png;base64,")
                    + huge + "'/></svg>"
            << Outcome::TooCostly;
    QTest::newRow("TIFF directory beyond the file")
            << CraftedPictures::make("tiff", QSize(8, 8)).replace(4, 4, "\xff\xff\x00\x00")
            << Outcome::Unreadable;
    // Its Huffman table counts more codes than there can be: the decoder's header read fails,
    // and what it then says it would make is a value it never set.
    QByteArray huffman = CraftedPictures::make("jpeg-progressive", QSize(40, 30));
    huffman.replace(huffman.indexOf("\xff\xc4") + 6, 4, "MEND");
    QTest::newRow("JPEG Huffman table damaged") << huffman << Outcome::Unreadable;
    // Read otherwise by their decoders than measured: stopped by the memory they were measured to
    // need, not by the measure.
    QTest::newRow("SVG holding a picture behind a space")
            << CraftedPictures::make("svg-holding-spaced", QSize(30000, 30000))
            << Outcome::OutOfMemory;
    QTest::newRow("TIFF giving its width twice")
            << CraftedPictures::make("tiff-width-twice", QSize(16384, 16384))
            << Outcome::OutOfMemory;
    // Its text, not its elements, is what the reader takes memory for: measured so, it is read.
    QByteArray longName = CraftedPictures::make("svg", QSize(100, 100));
    longName.replace("<rect ", "<rect id='" + QByteArray(16 << 20, 'a') + "' ");
    QTest::newRow("SVG naming a shape in 16 MB") << longName << Outcome::Whole;
    QTest::newRow("WEBP canvas with no frame")
            << QByteArray("RIFF\x16\0\0\0WEBPVP8X\x0a\0\0\0\x02\0\0\0\x2f\x75\0\x2f\x75\0", 30)
            << Outcome::Unreadable;
}

// Damaged and hostile headers: no crash, nothing decoded that was not bounded first.
void tst_PictureReading::crafted()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Outcome, outcome);
    const Picture picture = readData(bytes);
    QVERIFY2(picture.probe.outcome == outcome,
             qPrintable(QStringLiteral("%1: %2")
                                .arg(int(picture.probe.outcome))
                                .arg(picture.probe.detail)));
    QCOMPARE(picture.image.isNull(), !picture.probe.isTaken());
    QVERIFY(picture.probe.peakBytes <= kMaxDecodeBytes);
}

void tst_PictureReading::saidAlikeEverywhere_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("said"); // a part of the sentence ("": none)
    // Its measure needs more than a measure is first given: measured again with more (it ended
    // its decoder, which was said, by a lesson that measures first).
    QTest::newRow("SVG of 600000 elements")
            << CraftedPictures::make("svg-many", QSize(100, 100)) << "svg" << QString();
    QByteArray texts;
    const QByteArray bomb = chunk(
            "zTXt", QByteArray("Comment\0\0", 9) + qCompress(QByteArray(8 << 20, ' ')).mid(4));
    for (int i = 0; i < 5; ++i)
        texts += bomb;
    // Not more memory than the board allows: its text.
    QTest::newRow("PNG of 8 x 8 with 40 MB of text")
            << pngWith(texts) << "png" << QStringLiteral("el texto y los demás datos");
    // Not too large: too many frames.
    QTest::newRow("animation of 400 x 400 and 5000 frames")
            << CraftedPictures::make("gif-long", QSize(400, 400)) << "gif"
            << QStringLiteral("tiene 5000 fotogramas");
    // Its reader would read it again inside itself, for ever.
    const auto linking = [](const QByteArray &href) {
        return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
               "width='10' height='10'><image width='10' height='10' xlink:href='"
                + href + "'/></svg>";
    };
    const QString linksItself = QStringLiteral("«alike»: se enlaza a sí misma");
    QTest::newRow("SVG linking itself") << linking("alike.svg") << "svg" << linksItself;
    QVERIFY(CraftedPictures::write(m_dir.filePath(QStringLiteral("back.svg")),
                                   linking("alike.svg")));
    QTest::newRow("SVG linking one that links it back")
            << linking("back.svg") << "svg" << linksItself;
}

// A picture is said the same way, and for what it is, whichever way it is read: measured first
// (as a lesson does), measured and read (the picture button), measured and read within a room
// reserved first (a lesson's pictures read ahead), or played (an animation).
void tst_PictureReading::saidAlikeEverywhere()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, suffix);
    QFETCH(QString, said);
    const QString file = m_dir.filePath(QStringLiteral("alike.") + suffix);
    QVERIFY(CraftedPictures::write(file, bytes));
    const bool animation = suffix == QLatin1String("gif");
    const QString measured = message(probe(file), "alike", animation);
    const QString read = message(PictureReading::read(file).probe, "alike", animation);
    const QString ahead =
            message(Reader(file, {}, qint64(32) << 20).read().probe, "alike", animation);
    QCOMPARE(read, measured);
    QCOMPARE(ahead, measured);
    if (animation) { // put in as an animation: shown still
        Picture still;
        QVERIFY(readAnimation(file, {}, &still).frames.isEmpty());
        QCOMPARE(message(still.probe, "alike", animation), measured);
    }
    QCOMPARE(measured.isEmpty(), said.isEmpty());
    QVERIFY2(measured.contains(said), qPrintable(measured));
}

void tst_PictureReading::shrinkAverages_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QSize>("size");
    QImage stripes(300, 200, QImage::Format_Grayscale8);
    for (int y = 0; y < stripes.height(); ++y) {
        for (int x = 0; x < stripes.width(); ++x)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    QTest::newRow("1-px stripes, halved") << stripes << QSize(150, 100);
    QTest::newRow("1-px stripes, 0.3") << stripes << QSize(90, 60);
    QImage mono = stripes.convertToFormat(QImage::Format_Mono);
    QTest::newRow("one bit a pixel, 0.4") << mono << QSize(120, 80);
}

// Each pixel the mean of those it covers: stripes become an even grey, with no moiré.
void tst_PictureReading::shrinkAverages()
{
    QFETCH(QImage, source);
    QFETCH(QSize, size);
    const QImage shrunk = shrink(source, size);
    QCOMPARE(shrunk.size(), size);
    QCOMPARE(shrunk.format(), QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width() - 1; ++x) // the last column covers a half pixel more
            QVERIFY2(qAbs(qGray(shrunk.pixel(x, y)) - 128) <= 30,
                     qPrintable(QStringLiteral("%1, %2: %3")
                                        .arg(x)
                                        .arg(y)
                                        .arg(qGray(shrunk.pixel(x, y)))));
    }
}

void tst_PictureReading::smallerJpegCopiesAsAveraged_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("halvings");
    QTest::newRow("camera photo, a half") << QSize(1600, 1200) << 1;
    QTest::newRow("camera photo, a quarter") << QSize(1600, 1200) << 2;
    QTest::newRow("camera photo, an eighth") << QSize(1600, 1200) << 3;
    QTest::newRow("camera photo, a sixteenth") << QSize(1600, 1200) << 4;
    QTest::newRow("odd sides, a quarter") << QSize(1601, 1203) << 2;
    QTest::newRow("upright, an eighth") << QSize(1203, 1601) << 3;
}

// A smaller copy of a JPEG, which its decoder makes at a half, a quarter or an eighth of each
// side, shows what the whole picture averaged down to it shows, at its size. One whose sides
// that does not divide is decoded whole and averaged, as it was before.
void tst_PictureReading::smallerJpegCopiesAsAveraged()
{
    QFETCH(QSize, size);
    QFETCH(int, halvings);
    QImage photo(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            photo.setPixel(x, y,
                           qRgb(128 + 100 * std::sin(x / 9.0), y * 255 / size.height(),
                                128 + 100 * std::cos((x + 2 * y) / 13.0)));
    }
    const QString file = m_dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(photo.save(file, "JPEG", 95));
    const Probe probed = probe(file);
    QCOMPARE(probed.outcome, Outcome::Whole);
    const Picture copy = readReduced(Source{ file, QString() }, probed, halvings);
    QVERIFY2(!copy.image.isNull(), qPrintable(copy.probe.detail));
    QSize halved = size;
    for (int n = 0; n < halvings; ++n)
        halved = QSize((halved.width() + 1) / 2, (halved.height() + 1) / 2);
    QCOMPARE(copy.image.size(), halved);
    const QImage averaged = shrink(QImage(file), halved);
    int differing = 0;
    for (int y = 0; y < averaged.height(); ++y) {
        for (int x = 0; x < averaged.width(); ++x) {
            const QRgb a = averaged.pixel(x, y);
            const QRgb b = copy.image.pixel(x, y);
            differing += qAbs(qRed(a) - qRed(b)) > 16 || qAbs(qGreen(a) - qGreen(b)) > 16
                            || qAbs(qBlue(a) - qBlue(b)) > 16
                    ? 1
                    : 0;
        }
    }
    QVERIFY2(differing * 100 < averaged.width() * averaged.height(),
             qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));
}

void tst_PictureReading::turnedPhotosMeasuredAsSeen_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("seen");
    QTest::addColumn<Outcome>("outcome");
    for (const int orientation : { 3, 5, 6, 8 }) {
        QTest::newRow(qPrintable(QStringLiteral("orientation %1, whole").arg(orientation)))
                << orientation << QSize(3000, 1000) << Outcome::Whole;
        // Beyond the limits as seen and as stored: made smaller by its decoder, which is asked
        // for the stored picture's sides.
        QTest::newRow(qPrintable(QStringLiteral("orientation %1, smaller").arg(orientation)))
                << orientation << QSize(20000, 6000) << Outcome::Smaller;
    }
}

// A photo stored turned is measured, planned and decoded at its sides as seen, whether it is
// read whole or made smaller by its decoder.
void tst_PictureReading::turnedPhotosMeasuredAsSeen()
{
    QFETCH(int, orientation);
    QFETCH(QSize, seen);
    QFETCH(Outcome, outcome);
    const CraftedPictures::RoomyLimits roomy; // of sizes, not of time
    const QSize stored = turnsQuarter(orientation) ? seen.transposed() : seen;
    const QString file = m_dir.filePath(QStringLiteral("turned.jpg"));
    QVERIFY(CraftedPictures::write(
            file,
            OrientedPhotos::withOrientation(CraftedPictures::make("jpeg", stored), orientation)));
    const Picture picture = read(file);
    QVERIFY2(picture.probe.outcome == outcome, qPrintable(picture.probe.detail));
    QCOMPARE(picture.probe.orientation, orientation);
    QCOMPARE(picture.probe.size, seen);
    const QSize taken = outcome == Outcome::Whole ? seen : seen / 2;
    QCOMPARE(picture.probe.taken, taken);
    QCOMPARE(picture.image.size(), taken);
    // Its smaller copies, as the board asks for them, as seen too.
    const Picture reduced = readReduced(Source{ file, QString() }, picture.probe, 2);
    QCOMPARE(reduced.image.size(), QSize((taken.width() + 3) / 4, (taken.height() + 3) / 4));
    // Read as an animation (a lesson's file named as one), its one frame as seen.
    const QImage photo = OrientedPhotos::upright(QSize(96, 64));
    QVERIFY(CraftedPictures::write(file, OrientedPhotos::jpeg(photo, orientation)));
    const Animation played = readAnimation(file);
    QCOMPARE(played.frames.size(), 1);
    const int off =
            OrientedPhotos::difference(played.frames.first().convertToFormat(QImage::Format_RGB32),
                                       OrientedPhotos::decoded(OrientedPhotos::jpeg(photo, 1)));
    QVERIFY2(off >= 0 && off <= OrientedPhotos::kJpegTolerance, qPrintable(QString::number(off)));
}

// Another user could make empty files in shared memory under the names the decoding processes
// would give the pictures they hand over, which are easy to guess, and then every large picture
// failed. What they hand over now has no name: names taken in advance (for the processes
// running, and for hundreds of those to come) cost no picture.
void tst_PictureReading::namesTakenInAdvance()
{
    PictureDecoders::instance().startAhead(PictureDecoders::mostAtOnce());
    QVector<qint64> pids = CraftedPictures::runningDecoders();
    QVERIFY(!pids.isEmpty());
    const qint64 newest = *std::max_element(pids.cbegin(), pids.cend());
    for (qint64 pid = newest + 1; pid <= newest + 300; ++pid)
        pids << pid;
    QStringList taken;
    const auto removeTaken = qScopeGuard([&taken] {
        for (const QString &name : qAsConst(taken))
            shm_unlink(name.toLocal8Bit().constData());
    });
    for (const qint64 pid : qAsConst(pids)) {
        for (int serial = 0; serial < 8; ++serial) {
            const QString name = QStringLiteral("/veltorina-pictures-%1-%2-%3")
                                         .arg(QCoreApplication::applicationPid())
                                         .arg(pid)
                                         .arg(serial);
            const int fd = shm_open(name.toLocal8Bit().constData(), O_RDWR | O_CREAT, 0600);
            QVERIFY2(fd >= 0, qPrintable(name));
            close(fd);
            taken << name;
        }
    }
    // More pictures than processes, each larger than its pixels sent on the pipe.
    const QString file = CraftedPictures::writeIn(m_dir.path(), "png", QSize(1024, 700));
    for (int i = 0; i < 2 * PictureDecoders::mostAtOnce() + 2; ++i) {
        const Picture picture = read(file);
        QVERIFY2(picture.probe.outcome == Outcome::Whole, qPrintable(picture.probe.detail));
        QCOMPARE(picture.image.size(), QSize(1024, 700));
        QCOMPARE(picture.image, QImage(file).convertToFormat(picture.image.format()));
    }
}

void tst_PictureReading::linksReachOnlyTheirFolder_data()
{
    // An SVG's link (CraftedPictures::writeLinking; %home: the teacher's folder,
    // CraftedPictures::makeFontsHome), and why the picture it links is left out, as the teacher
    // is told ("" when it shows).
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("why");
    const QString outside = QStringLiteral("está fuera de la carpeta de la imagen");
    const QString missing = QStringLiteral("falta, o no se puede abrir");
    const QString device = QStringLiteral("es un dispositivo, no un archivo");
    const QString fonts = QStringLiteral("está en una carpeta de tipos de letra");
    QTest::newRow("beside it") << "red.png" << QString();
    QTest::newRow("in a folder below") << "sub/red.png" << QString();
    QTest::newRow("a link to one beside it") << "in" << QString();
    QTest::newRow("absolute, outside") << "%root/secret/red.png" << outside;
    QTest::newRow("absolute, to one beside it") << "%root/lesson/red.png" << outside;
    QTest::newRow("up and out") << "../secret/red.png" << outside;
    QTest::newRow("up and back") << "../lesson/red.png" << outside;
    QTest::newRow("up, percent-encoded") << "%2e%2e/secret/red.png" << missing;
    QTest::newRow("a link leading out") << "out" << outside;
    QTest::newRow("a file URL") << "file://%root/secret/red.png" << missing;
    QTest::newRow("not there") << "blue.png" << missing;
    QTest::newRow("a device") << "/dev/zero" << device;
    QTest::newRow("a link to a device") << "zero" << device;
    // Its reader would wait for a writer that never comes: the picture would not be taken.
    QTest::newRow("a named pipe") << "pipe" << QStringLiteral("es una tubería, no un archivo");
    // The decoding process reads the fonts for an SVG's text, never for its links.
    QTest::newRow("~/.fonts") << "%home/.fonts/red.png" << fonts;
    QTest::newRow("~/.local/share/fonts") << "%home/.local/share/fonts/red.png" << fonts;
    QTest::newRow("~/.config/fontconfig") << "%home/.config/fontconfig/red.png" << fonts;
    QTest::newRow("~/.cache/fontconfig") << "%home/.cache/fontconfig/red.png" << fonts;
    QTest::newRow("a file URL to ~/.fonts") << "file://%home/.fonts/red.png" << missing;
    QTest::newRow("/proc/self") << "/proc/self/environ"
                                << QStringLiteral(
                                           "está en una carpeta del sistema (/proc, /sys o /dev)");
}

// A picture's links reach only plain files in its own folder: whatever else an SVG names is not
// drawn (and never waited for), and the rest of it is; the teacher is told which, and why.
void tst_PictureReading::linksReachOnlyTheirFolder()
{
    QFETCH(QString, href);
    QFETCH(QString, why);
    QTemporaryDir root;
    href.replace(QStringLiteral("%home"), m_home.path());
    const QString svg = CraftedPictures::writeLinking(root.path(), href);
    QVERIFY(!svg.isEmpty());
    const Picture picture = read(svg);
    QVERIFY2(picture.probe.outcome == Outcome::Whole, qPrintable(picture.probe.detail));
    QCOMPARE(picture.image.size(), QSize(20, 10));
    QCOMPARE(QColor(picture.image.pixel(5, 5)),
             why.isEmpty() ? QColor(Qt::red) : QColor(Qt::white));
    QCOMPARE(QColor(picture.image.pixel(15, 5)), QColor(Qt::white));
    const QString said = why.isEmpty()
            ? QString()
            : QStringLiteral("La imagen «linking.svg» se muestra sin «%1», que enlaza: %2.")
                      .arg(href.mid(href.lastIndexOf(QLatin1Char('/')) + 1), why);
    QCOMPARE(message(picture.probe, QStringLiteral("linking.svg")), said);
    // A folder given as the picture's link root: what it reaches is as much inside.
    const Picture rooted = read(Source{ svg, root.filePath(QStringLiteral("lesson")) });
    QCOMPARE(rooted.image, picture.image);
    QCOMPARE(message(rooted.probe, QStringLiteral("linking.svg")), said);
}

void tst_PictureReading::stoppedDecoderSaidInTime_data()
{
    // An SVG that takes minutes to draw, measured and drawn in one request, or (larger) in two;
    // a plain picture, its process stopped before it was asked.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("stopped"); // "idle": before its request, "measure", "decoding"
    QTest::newRow("stopped as it is read")
            << QStringLiteral("svg-slow") << QSize(2000, 2000) << QStringLiteral("measure");
    QTest::newRow("stopped as it is decoded, once measured")
            << QStringLiteral("svg-slow") << QSize(4000, 4000) << QStringLiteral("decoding");
    // Not given the picture at all: another process reads it.
    QTest::newRow("stopped while it waits for a picture")
            << QStringLiteral("png") << QSize(200, 150) << QStringLiteral("idle");
}

// A decoding process that is stopped (or waits on anything) uses no processor time: it is ended
// all the same, and its picture said, once the picture's requests together have run their time
// (here shortened from ten seconds), not after each request's own.
void tst_PictureReading::stoppedDecoderSaidInTime()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    QFETCH(QString, stopped);
    const QString file = CraftedPictures::writeIn(m_dir.path(), kind, size, "stopped");
    PictureDecoders &decoders = PictureDecoders::instance();
    const auto limits =
            qScopeGuard([&decoders] { decoders.setLimits(PictureDecoders::defaultLimits()); });
    PictureDecoders::Limits shortened = PictureDecoders::defaultLimits();
    shortened.pictureMs = 1500;
    decoders.setLimits(shortened);
    const bool idle = stopped == QLatin1String("idle");
    qint64 pid = 0;
    if (idle) {
        // The one process left waiting, stopped.
        decoders.endIdle(0);
        const QVector<qint64> before = CraftedPictures::runningDecoders();
        decoders.startAhead(1);
        for (const qint64 started : CraftedPictures::runningDecoders())
            pid = before.contains(started) ? pid : started;
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
    }
    const int decoded = decoders.decoded();
    std::atomic<bool> done{ false };
    Picture picture;
    std::thread reader([&] {
        picture = read(file);
        done = true;
    });
    const auto joined = qScopeGuard([&reader] { reader.join(); });
    while (!done && pid == 0) {
        const QVector<qint64> busy = decoders.busy();
        if (!busy.isEmpty()
            && (stopped != QLatin1String("decoding") || decoders.decoded() > decoded))
            pid = busy.constFirst();
        QThread::usleep(200);
    }
    QVERIFY(pid > 0);
    if (!idle)
        QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
    // Within the picture's time and a few seconds of a busy machine's, not a request's 7 or 13.
    QTRY_VERIFY_WITH_TIMEOUT(done, 6000);
    if (idle) {
        // Read at once, by another process, and the stopped one gone.
        QVERIFY2(picture.probe.isTaken(), qPrintable(picture.probe.detail));
        QCOMPARE(picture.image.size(), size);
        QVERIFY(!CraftedPictures::runningDecoders().contains(pid));
    } else {
        QVERIFY2(picture.probe.outcome == Outcome::OutOfTime, qPrintable(picture.probe.detail));
    }
}

void tst_PictureReading::followingPixelsChecked_data()
{
    // Pixels that follow a reply on the pipe are read into the picture it says: never one
    // larger than is sent there, whatever its size and lines claim.
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bytesPerLine");
    QTest::addColumn<bool>("taken");
    QTest::newRow("a small picture") << QSize(200, 150) << 800 << true;
    QTest::newRow("larger than sent on the pipe") << QSize(513, 512) << 2052 << false;
    QTest::newRow("lines not as the picture's") << QSize(200, 150) << 804 << false;
    QTest::newRow("a line's length overflowing") << QSize(1 << 30, 1) << 0 << false;
}

void tst_PictureReading::followingPixelsChecked()
{
    QFETCH(QSize, size);
    QFETCH(int, bytesPerLine);
    QFETCH(bool, taken);
    DecoderProtocol::Reply reply;
    reply.pixelsFollow = true;
    reply.size = size;
    reply.format = QImage::Format_RGB32;
    reply.bytesPerLine = bytesPerLine;
    reply.delays = { 0 };
    const QImage image = DecoderProtocol::followingImage(reply);
    QCOMPARE(!image.isNull(), taken);
    if (taken)
        QCOMPARE(image.bytesPerLine() * image.height(), bytesPerLine * size.height());
}

// A decoder quotes what it could not read: an SVG's link to a picture it could not make, whole,
// a megabyte of text. The program's log (its standard error, which the decoding processes share)
// gets a line of it, cut short.
void tst_PictureReading::decoderLogCut()
{
    PictureDecoders &decoders = PictureDecoders::instance();
    decoders.endIdle(0);
    QFile log(m_dir.filePath(QStringLiteral("decoders.log")));
    QVERIFY(log.open(QIODevice::ReadWrite | QIODevice::Truncate));
    const int programs = dup(2);
    QVERIFY(programs >= 0);
    dup2(log.handle(), 2);
    DecoderProtocol::Request request;
    request.task = DecoderProtocol::Task::Probe;
    request.bytes = CraftedPictures::make("svg-holding-spaced", QSize(30000, 30000));
    request.readUpTo = request.memoryBytes = qint64(96) << 20;
    PictureDecoders::Job job;
    QVector<QImage> frames;
    decoders.run(request, job, {}, &frames);
    // The process that wrote there goes with it.
    decoders.endIdle(0);
    dup2(programs, 2);
    close(programs);
    log.seek(0);
    const QByteArray said = log.readAll();
    QVERIFY2(said.contains("qt.svg"), said.left(400).constData());
    QVERIFY2(said.size() < 4096, QByteArray::number(said.size()).constData());
}

QTEST_MAIN(tst_PictureReading)
#include "tst_picturereading.moc"
