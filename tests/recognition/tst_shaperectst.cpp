#include "recognition/shaperectst.h"
#include "support/recognitionfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace RecognitionFixture;

namespace {

const QString kChars = QString::fromUtf8(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,?-@:;()+ñ");

// Letters whose small and capital forms differ only in size, which a recogniser that sees one
// character alone cannot tell apart.
const char *const kLookAlike[] = { "Cc", "Oo0", "Ss", "Vv", "Ww", "Xx", "Zz" };

QString accepted(int classId)
{
    const QChar character = kChars.at(classId);
    for (const char *group : kLookAlike) {
        if (QString::fromLatin1(group).contains(character))
            return QString::fromLatin1(group);
    }
    return QString(character);
}

QString nameOf(int id)
{
    return id >= 0 && id < kChars.size() ? QString(kChars.at(id)) : QString::number(id);
}

// Copies the built engine folder, so a test can break a copy.
bool copyTree(const QString &from, const QString &to)
{
    QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

} // namespace

class tst_ShapeRecTst : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void modelCoversEveryClass();
    void templatesDrawnBack_data();
    void templatesDrawnBack();
    void strokesThePageReliesOn();
    void twoPagesRecogniseIndependently();
    void dotsAndEmptyInput();
    void noEngine_data();
    void noEngine();
};

void tst_ShapeRecTst::init()
{
    qputenv("LIPI_ROOT", lipiRoot().toLocal8Bit());
}

void tst_ShapeRecTst::modelCoversEveryClass()
{
    const QList<Template> all = templates(modelFile());
    QSet<int> classes;
    for (const Template &shape : all) {
        QCOMPARE(shape.label, QString(kChars.at(shape.classId)));
        QVERIFY(!shape.strokes.isEmpty());
        classes.insert(shape.classId);
    }
    QCOMPARE(classes.size(), 73);
}

void tst_ShapeRecTst::templatesDrawnBack_data()
{
    QTest::addColumn<int>("classId");
    QTest::addColumn<Strokes>("strokes");
    for (const Template &shape : templates(modelFile())) {
        const quint32 seed = quint32(shape.classId * 16 + shape.variant);
        QRandomGenerator random(seed);
        const qreal scale = 0.5 + random.generateDouble() * 2.5;
        const qreal degrees = random.generateDouble() * 8.0 - 4.0;
        // Far from the origin, on either side: coordinates are passed on as they are.
        const QPointF offset((random.generateDouble() - 0.5) * 2.0e5,
                             (random.generateDouble() - 0.5) * 2.0e5);
        const QByteArray row =
                QStringLiteral("%1 #%2").arg(shape.label).arg(shape.variant).toUtf8();
        QTest::newRow(row.constData())
                << shape.classId << distorted(shape.strokes, seed, scale, degrees, offset, 0.015);
    }
}

void tst_ShapeRecTst::templatesDrawnBack()
{
    QFETCH(int, classId);
    QFETCH(Strokes, strokes);
    recog recogniser;
    const int id = recogniser.reconocer(strokes);
    QVERIFY2(id >= 0 && id < 73, qPrintable(QString::number(id)));
    QVERIFY2(accepted(classId).contains(kChars.at(id)),
             qPrintable(QStringLiteral("read as %1").arg(nameOf(id))));
}

// The page makes "i" and "ñ" from a bar or an "n" beside a dash; these must come out exactly.
void tst_ShapeRecTst::strokesThePageReliesOn()
{
    recog recogniser;
    const auto line = [](QPointF from, QPointF to) {
        QVector<QPointF> stroke;
        for (int i = 0; i <= 20; ++i)
            stroke << from + (to - from) * (i / 20.0);
        return stroke;
    };
    QCOMPARE(nameOf(recogniser.reconocer({ line({ 500, 300 }, { 502, 380 }) })),
             QStringLiteral("l"));
    QCOMPARE(nameOf(recogniser.reconocer({ line({ 500, 300 }, { 530, 301 }) })),
             QStringLiteral("-"));
    const QVector<QPointF> n{ { 0, 50 },  { 0, 100 }, { 0, 70 },  { 10, 55 },
                              { 25, 50 }, { 40, 55 }, { 48, 70 }, { 48, 100 } };
    QCOMPARE(nameOf(recogniser.reconocer(distorted({ n }, 7, 0.8, 2, { 3000, -2000 }, 0.01))),
             QStringLiteral("n"));
}

void tst_ShapeRecTst::twoPagesRecogniseIndependently()
{
    const QList<Template> all = templates(modelFile());
    const auto strokesOf = [&](int classId) {
        for (const Template &shape : all) {
            if (shape.classId == classId)
                return distorted(shape.strokes, quint32(classId), 1.3, 1.0, { 250, 900 }, 0.01);
        }
        return Strokes();
    };
    const Strokes a = strokesOf(0);
    const Strokes seven = strokesOf(59);
    auto first = std::make_unique<recog>();
    {
        recog second;
        QCOMPARE(first->reconocer(a), 0);
        QCOMPARE(second.reconocer(seven), 59);
        QCOMPARE(first->reconocer(seven), 59);
        QCOMPARE(second.reconocer(a), 0);
    }
    // The other page went, with its share of the engine: this one still recognises.
    QCOMPARE(first->reconocer(a), 0);
    first.reset();
    // And a page made after every other page went loads the engine again.
    recog later;
    QVERIFY(later.isAvailable());
    QCOMPARE(later.reconocer(seven), 59);
}

void tst_ShapeRecTst::dotsAndEmptyInput()
{
    recog recogniser;
    const qreal nan = std::numeric_limits<qreal>::quiet_NaN();
    const qreal inf = std::numeric_limits<qreal>::infinity();
    // A stroke of one point is a trace of one point: a dot.
    QCOMPARE(nameOf(recogniser.reconocer({ { QPointF(81234.5, -4567.25) } })), QStringLiteral("."));
    // Two taps one above the other.
    QCOMPARE(nameOf(recogniser.reconocer({ { QPointF(40, 100) }, { QPointF(40, 140) } })),
             QStringLiteral(":"));
    // Points that cannot be placed are left out; what remains is still read.
    QCOMPARE(nameOf(recogniser.reconocer({ { QPointF(nan, 3), QPointF(7, 7), QPointF(inf, 1) } })),
             QStringLiteral("."));
    QCOMPARE(recogniser.reconocer({}), recog::kNoMatch);
    QCOMPARE(recogniser.reconocer({ {}, {} }), recog::kNoMatch);
    QCOMPARE(recogniser.reconocer({ { QPointF(nan, nan) } }), recog::kNoMatch);
}

void tst_ShapeRecTst::noEngine_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::newRow("LIPI_ROOT unset") << "unset";
    QTest::newRow("LIPI_ROOT empty") << "empty";
    QTest::newRow("empty folder") << "emptyFolder";
    QTest::newRow("library without projects") << "noProjects";
    QTest::newRow("unknown project") << "unknownProject";
    QTest::newRow("model file cut short") << "truncatedModel";
    QTest::newRow("model file with a bad point") << "badPoint";
}

void tst_ShapeRecTst::noEngine()
{
    QFETCH(QString, breakage);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString root = folder.path() + QStringLiteral("/lipi");
    const QString model =
            root + QStringLiteral("/projects/alphanumeric/config/default/templates.mdt");
    if (breakage == QLatin1String("unset")) {
        qunsetenv("LIPI_ROOT");
    } else if (breakage == QLatin1String("empty")) {
        qputenv("LIPI_ROOT", QByteArray());
    } else {
        qputenv("LIPI_ROOT", root.toLocal8Bit());
        QVERIFY(QDir().mkpath(root));
        if (breakage != QLatin1String("emptyFolder"))
            QVERIFY(copyTree(lipiRoot(), root));
        if (breakage == QLatin1String("noProjects"))
            QVERIFY(QDir(root + QStringLiteral("/projects")).removeRecursively());
        if (breakage == QLatin1String("unknownProject")) {
            QFile config(root + QStringLiteral("/projects/lipiengine.cfg"));
            QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
            config.write("SHAPEREC_DIGITS = digits\n");
        }
        if (breakage == QLatin1String("truncatedModel")) {
            QFile file(model);
            QVERIFY(file.resize(file.size() / 2));
        }
        if (breakage == QLatin1String("badPoint")) {
            QFile file(model);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const QByteArray text =
                    file.readAll().replace("stroke 0,100 30,0", "stroke 0,100 30;0");
            QVERIFY(file.resize(0) && file.seek(0));
            file.write(text);
        }
    }
    recog recogniser;
    QVERIFY(!recogniser.isAvailable());
    QCOMPARE(recogniser.reconocer({ { QPointF(0, 0), QPointF(3, 40) } }), recog::kNoMatch);
    QCOMPARE(recogniser.reconocer({ { QPointF(5, 5) } }), recog::kNoMatch);
}

QTEST_GUILESS_MAIN(tst_ShapeRecTst)
#include "tst_shaperectst.moc"
