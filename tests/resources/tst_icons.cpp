#include <QtTest>

#include <QDirIterator>
#include <QHash>
#include <QImage>

#include <algorithm>

// The drawn icon set: the pictures that are shown unscaled or used as cursors and stamps have
// to keep the sizes and hot spots the widgets rely on, and no icon may be cut off by its canvas.
class tst_Icons : public QObject
{
    Q_OBJECT

private slots:
    void iconsKeepTheSizeTheyAreShownAt_data();
    void iconsKeepTheSizeTheyAreShownAt();
    void cursorTipsSitOnTheHotSpot_data();
    void cursorTipsSitOnTheHotSpot();
    void iconsAreNotClippedByTheirCanvas();
    void brushTextureIsATranslucentStamp();
};

namespace {

int maxAlphaAround(const QImage &image, const QPoint &centre, int radius)
{
    int best = 0;
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
            if (image.valid(x, y))
                best = qMax(best, qAlpha(image.pixel(x, y)));
    return best;
}

} // namespace

void tst_Icons::iconsKeepTheSizeTheyAreShownAt_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    // Object frame handles are scaled to 35 px high with fast scaling: drawn at that size they
    // stay crisp.
    for (const char *name : { "RotateScale1", "Linker", "gotoFile", "externFile", "Lock",
                              "PlaySound1", "baVideoStop" })
        QTest::newRow(name) << QStringLiteral(":/Icon/%1.png").arg(QLatin1String(name))
                            << QSize(35, 35);
    // Shown as they are, without scaling, by labels and style-sheet image rules.
    QTest::newRow("kids head") << ":/Icon/head.png" << QSize(70, 70);
    QTest::newRow("kids front body") << ":/Icon/frontlegs.png" << QSize(160, 70);
    QTest::newRow("kids hind body") << ":/Icon/hindlegs.png" << QSize(585, 70);
    QTest::newRow("palette arrow up") << ":/Icon/menuDecorTop.png" << QSize(50, 20);
    QTest::newRow("palette arrow down") << ":/Icon/menuDecor.png" << QSize(50, 20);
    QTest::newRow("recycle bin") << ":/Icon/RecycleBin.png" << QSize(100, 100);
    QTest::newRow("sound object") << ":/Icon/soundItem.png" << QSize(100, 100);
    QTest::newRow("record blink") << ":/Icon/baVideoRecord_record.png" << QSize(25, 25);
    QTest::newRow("desktop logo") << ":/Icon/LogoToolbar.png" << QSize(60, 60);
    for (const char *name : { "baSolidline", "baCutline", "baDotline", "baCutdotline" })
        QTest::newRow(name) << QStringLiteral(":/Icon/%1.png").arg(QLatin1String(name))
                            << QSize(60, 15);
}

void tst_Icons::iconsKeepTheSizeTheyAreShownAt()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
}

void tst_Icons::cursorTipsSitOnTheHotSpot_data()
{
    QTest::addColumn<QString>("path");
    for (const char *name :
         { "pen", "baBrushPen", "baEraserBitmapMedium", "baRainbowPen", "baLaserPen" })
        QTest::newRow(name) << QStringLiteral(":/Icon/%1.png").arg(QLatin1String(name));
}

void tst_Icons::cursorTipsSitOnTheHotSpot()
{
    // The board sets these as cursors with the hot spot (5, 28): the visible tip must be there,
    // or the ink would appear away from where the pen seems to touch.
    QFETCH(QString, path);
    const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY2(maxAlphaAround(image, QPoint(5, 28), 1) > 128, "nothing drawn at the hot spot");
    // And the tip is the lowest-left thing drawn: at most a faint glow lies beyond it.
    QVERIFY(maxAlphaAround(image, QPoint(1, 31), 1) < 64);
}

void tst_Icons::iconsAreNotClippedByTheirCanvas()
{
    // Pictures that are meant to run off some of their edges: the kids body parts join into
    // one band (whose last segment, at the right end of the hind part, is whole), the palette
    // arrows meet the palette body.
    const Qt::Edges all = Qt::LeftEdge | Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge;
    const QHash<QString, Qt::Edges> bleeding = { { "frontlegs.png", all },
                                                 { "hindlegs.png", Qt::LeftEdge },
                                                 { "menuDecor.png", all },
                                                 { "menuDecorTop.png", all } };
    QStringList clipped;
    int checked = 0;
    QDirIterator it(QStringLiteral(":/Icon"), { "*.png" }, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        const Qt::Edges free = bleeding.value(QFileInfo(path).fileName());
        if (free == all)
            continue;
        const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!image.isNull(), qPrintable(path));
        ++checked;
        int strongest = 0;
        for (int x = 0; x < image.width(); ++x) {
            if (!(free & Qt::TopEdge))
                strongest = std::max(strongest, qAlpha(image.pixel(x, 0)));
            if (!(free & Qt::BottomEdge))
                strongest = std::max(strongest, qAlpha(image.pixel(x, image.height() - 1)));
        }
        for (int y = 0; y < image.height(); ++y) {
            if (!(free & Qt::LeftEdge))
                strongest = std::max(strongest, qAlpha(image.pixel(0, y)));
            if (!(free & Qt::RightEdge))
                strongest = std::max(strongest, qAlpha(image.pixel(image.width() - 1, y)));
        }
        // Antialiasing may just touch the edge; a solid run means the drawing was cut.
        if (strongest > 160)
            clipped << path;
    }
    QVERIFY(checked > 100);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
}

void tst_Icons::brushTextureIsATranslucentStamp()
{
    // The textured brush stamps this picture once per pixel of the stroke: it must be
    // translucent, or the stroke would be a solid bar with square ends.
    const QImage image =
            QImage(QStringLiteral(":/texture/mobi.png")).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!image.isNull());
    int transparent = 0;
    int partial = 0;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(image.pixel(x, y));
            if (a == 0)
                ++transparent;
            else if (a < 255)
                ++partial;
            else
                ++opaque;
        }
    QVERIFY(transparent > 0);
    QVERIFY(partial > 0);
    QCOMPARE(opaque, 0);
    // The corners stay clear, so the stamp reads round rather than square.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
}

QTEST_MAIN(tst_Icons)
#include "tst_icons.moc"
