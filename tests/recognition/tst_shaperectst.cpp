#include "recognition/handwritingline.h"
#include "recognition/shaperectst.h"
#include "support/recognitionfixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

using namespace RecognitionFixture;

namespace {

const QString kChars = QString::fromUtf8(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,?-@:;()+ñ");

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
    void heldOutEnginesNeverSawTheirStyle();
    void anyDirectionAndOrder_data();
    void anyDirectionAndOrder();
    void strokesThePageReliesOn();
    void retracedOrOtherStrokeCounts_data();
    void retracedOrOtherStrokeCounts();
    void dotsAndEmptyInput();
    void twoPagesRecogniseIndependently();
    void noEngine_data();
    void noEngine();
    void engineBesideTheProgram_data();
    void engineBesideTheProgram();

private:
    // Loading the engine is most of a case's time under the sanitizers: the cases that only read
    // with the engine as built share one load, as the pages of a document do. Every other case
    // starts with the engine unloaded, as it lays out, breaks or reloads engines of its own.
    std::unique_ptr<recog> m_kept;
};

void tst_ShapeRecTst::init()
{
    // A copy run to find the engine by itself is left without LIPI_ROOT.
    if (qEnvironmentVariableIsEmpty("RECOG_CHILD"))
        qputenv("LIPI_ROOT", lipiRoot().toLocal8Bit());
    static const QSet<QByteArray> readers{ "anyDirectionAndOrder", "strokesThePageReliesOn",
                                           "retracedOrOtherStrokeCounts", "dotsAndEmptyInput" };
    if (!readers.contains(QTest::currentTestFunction())) {
        m_kept.reset();
    } else if (!m_kept) {
        m_kept = std::make_unique<recog>();
        QVERIFY(m_kept->isAvailable());
    }
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

// The benchmark reads each style with the engine laid out without it: that engine must hold
// every template the build learnt but none of that style's, a network learnt from the other
// styles only, and load. The build must have learnt from exactly the styles of the list both
// read.
void tst_ShapeRecTst::heldOutEnginesNeverSawTheirStyle()
{
    const QList<Template> all = templates(modelFile());
    const QStringList styles = styleNames();
    QVERIFY(styles.size() >= 10);
    QSet<QString> learnt;
    for (const Template &shape : all)
        learnt.insert(shape.style);
    QCOMPARE(learnt, QSet<QString>(styles.cbegin(), styles.cend()));
    QCOMPARE(networkStyles(lipiRoot()), styles);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const QString &style : styles) {
        const QString root = folder.filePath(style);
        QVERIFY(layOutEngineWithout(lipiRoot(), style, root));
        const QList<Template> kept = templates(modelFileIn(root));
        const auto others = std::count_if(all.cbegin(), all.cend(),
                                          [&](const Template &shape) { return shape.style != style; });
        QCOMPARE(kept.size(), int(others));
        for (const Template &shape : kept)
            QVERIFY2(shape.style != style && !shape.style.isEmpty(), qPrintable(style));
        QStringList rest = styles;
        rest.removeAll(style);
        QCOMPARE(networkStyles(root), rest);
        qputenv("LIPI_ROOT", root.toLocal8Bit());
        recog recogniser;
        QVERIFY2(recogniser.isAvailable(), qPrintable(style));
    }
}

// Characters written apart from the templates, each by its own random hand, read as they were
// written, with every stroke drawn backwards, and with the strokes in another order: the
// matcher must not care. Look-alikes (C and c, I, l and 1, ...) count as right: only a line can
// tell them apart.
void tst_ShapeRecTst::anyDirectionAndOrder_data()
{
    QTest::addColumn<QString>("order");
    QTest::newRow("every stroke reversed") << "reversed";
    QTest::newRow("strokes reordered") << "reordered";
}

void tst_ShapeRecTst::anyDirectionAndOrder()
{
    QFETCH(QString, order);
    recog recogniser;
    QRandomGenerator random(20);
    int total = 0;
    int asWritten = 0;
    int changed = 0;
    QStringList misread;
    const bool reversing = order == QLatin1String("reversed");
    for (const Template &sample : templates(handwritingSamples())) {
        // Letters and digits; for another order, those of more than one stroke.
        if (sample.classId >= 62 || (!reversing && sample.strokes.size() < 2))
            continue;
        for (int time = 0; time < (reversing ? 2 : 4); ++time) {
            const Hand hand = randomHand(random);
            const Strokes strokes = writtenLine({ sample.strokes }, hand, random).first();
            const Strokes other =
                    reversing ? reversedStrokes(strokes) : reorderedStrokes(strokes, random);
            ++total;
            if (HandwritingLine::lookAlike(recogniser.reconocer(strokes), sample.classId))
                ++asWritten;
            const int id = recogniser.reconocer(other);
            if (HandwritingLine::lookAlike(id, sample.classId))
                ++changed;
            else
                misread << sample.label + QStringLiteral("→") + nameOf(id);
        }
    }
    const qreal written = qreal(asWritten) / total;
    const qreal reordered = qreal(changed) / total;
    qInfo("%d characters: %.3f read as written, %.3f %s", total, written, reordered,
          qPrintable(order));
    QVERIFY2(total >= 100, qPrintable(QString::number(total)));
    QVERIFY2(written >= 0.9, qPrintable(QString::number(written)));
    // As well as the strokes as written, within a few points.
    QVERIFY2(reordered >= written - 0.03,
             qPrintable(QStringLiteral("%1 against %2: %3")
                                .arg(reordered)
                                .arg(written)
                                .arg(misread.join(QLatin1Char(' ')))));
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
    // A bar: I, l or 1 alone; the page's pairing takes each with a dot as an "i".
    const int bar = recogniser.reconocer({ line({ 500, 300 }, { 502, 380 }) });
    QVERIFY2(HandwritingLine::lookAlike(bar, 37), qPrintable(nameOf(bar)));
    QCOMPARE(nameOf(recogniser.reconocer({ line({ 500, 300 }, { 530, 301 }) })),
             QStringLiteral("-"));
    const QVector<QPointF> n{ { 0, 50 },  { 0, 100 }, { 0, 70 },  { 10, 55 },
                              { 25, 50 }, { 40, 55 }, { 48, 70 }, { 48, 100 } };
    QCOMPARE(nameOf(recogniser.reconocer(distorted({ n }, 7, 0.8, 2, { 3000, -2000 }, 0.01))),
             QStringLiteral("n"));
}

// A hand goes back over a line (the stem of an n, d or b, the middle of an E) or lifts the pen
// where no template does: the ink is what counts.
void tst_ShapeRecTst::retracedOrOtherStrokeCounts_data()
{
    QTest::addColumn<Strokes>("strokes");
    QTest::addColumn<QString>("expected");
    using Line = QVector<QPointF>;
    QTest::newRow("E in one stroke, its bar retraced")
            << Strokes{ Line{ { 60, 0 }, { 0, 0 }, { 0, 50 }, { 45, 50 }, { 0, 50 }, { 0, 100 },
                              { 60, 100 } } }
            << "E";
    QTest::newRow("E in four strokes")
            << Strokes{ Line{ { 0, 0 }, { 0, 100 } }, Line{ { 0, 0 }, { 60, 0 } },
                        Line{ { 0, 50 }, { 45, 50 } }, Line{ { 0, 100 }, { 60, 100 } } }
            << "E";
    QTest::newRow("H in one stroke, its stems retraced")
            << Strokes{ Line{ { 0, 0 }, { 0, 100 }, { 0, 50 }, { 60, 50 }, { 60, 0 },
                              { 60, 100 } } }
            << "H";
    QTest::newRow("M in four strokes")
            << Strokes{ Line{ { 0, 100 }, { 0, 0 } }, Line{ { 0, 0 }, { 35, 60 } },
                        Line{ { 35, 60 }, { 70, 0 } }, Line{ { 70, 0 }, { 70, 100 } } }
            << "M";
    QTest::newRow("A in three strokes")
            << Strokes{ Line{ { 30, 0 }, { 0, 100 } }, Line{ { 30, 0 }, { 60, 100 } },
                        Line{ { 12, 60 }, { 48, 60 } } }
            << "A";
    QTest::newRow("k in three strokes")
            << Strokes{ Line{ { 0, 0 }, { 0, 100 } }, Line{ { 40, 50 }, { 0, 78 } },
                        Line{ { 12, 70 }, { 42, 100 } } }
            << "k";
    QTest::newRow("d, its stem retraced")
            << Strokes{ Line{ { 48, 62 }, { 35, 51 }, { 18, 51 }, { 4, 62 }, { 0, 80 }, { 6, 96 },
                              { 22, 100 }, { 40, 94 }, { 48, 80 }, { 48, 0 }, { 48, 100 } } }
            << "d";
    QTest::newRow("b, its stem retraced")
            << Strokes{ Line{ { 0, 0 }, { 0, 100 }, { 0, 65 }, { 14, 52 }, { 32, 50 }, { 46, 60 },
                              { 50, 78 }, { 44, 94 }, { 28, 100 }, { 10, 97 }, { 0, 90 } } }
            << "b";
    QTest::newRow("4 in one stroke")
            << Strokes{ Line{ { 45, 100 }, { 45, 0 }, { 0, 68 }, { 62, 68 } } } << "4";
}

void tst_ShapeRecTst::retracedOrOtherStrokeCounts()
{
    QFETCH(Strokes, strokes);
    QFETCH(QString, expected);
    recog recogniser;
    for (quint32 seed = 1; seed <= 3; ++seed) {
        const int id = recogniser.reconocer(
                distorted(strokes, seed, 0.6 + 0.3 * seed, 3.0 - 2.0 * seed, { -800, 1200 }, 0.008));
        QVERIFY2(HandwritingLine::lookAlike(id, int(kChars.indexOf(expected))),
                 qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(nameOf(id))));
    }
}

void tst_ShapeRecTst::twoPagesRecogniseIndependently()
{
    const QList<Template> all = templates(handwritingSamples());
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
    // This program has no engine beside it.
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

// Without LIPI_ROOT the engine beside the program is used: this program, copied into a folder
// with the built engine beside it (or without), run again for this test alone.
void tst_ShapeRecTst::engineBesideTheProgram_data()
{
    QTest::addColumn<bool>("beside");
    QTest::newRow("engine beside the program") << true;
    QTest::newRow("nothing beside the program") << false;
}

void tst_ShapeRecTst::engineBesideTheProgram()
{
    QFETCH(bool, beside);
    const QByteArray child = qgetenv("RECOG_CHILD");
    if (!child.isEmpty()) {
        // The copy: its answer is its exit status.
        recog recogniser;
        const bool expected = child == "beside";
        QCOMPARE(recogniser.isAvailable(), expected);
        if (expected) {
            QCOMPARE(nameOf(recogniser.reconocer({ { QPointF(500, 300), QPointF(530, 301) } })),
                     QStringLiteral("-"));
        }
        return;
    }
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("tst_shaperectst"));
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
    QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
    if (beside)
        QVERIFY(copyTree(lipiRoot(), folder.filePath(QStringLiteral("lipi"))));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LIPI_ROOT"));
    environment.insert(QStringLiteral("RECOG_CHILD"),
                       beside ? QStringLiteral("beside") : QStringLiteral("none"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program,
                  { QStringLiteral("engineBesideTheProgram:")
                    + QString::fromLatin1(QTest::currentDataTag()) });
    QVERIFY(process.waitForFinished(120000));
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             process.readAll().constData());
}

QTEST_GUILESS_MAIN(tst_ShapeRecTst)
#include "tst_shaperectst.moc"
