#include "document/documentname.h"

#include <QtTest>

class tst_DocumentName : public QObject
{
    Q_OBJECT

private slots:
    void saveTargets_data();
    void saveTargets();
};

void tst_DocumentName::saveTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("kept"); // the document's name after a save as
    QTest::addColumn<int>("openKind");

    using K = DocumentName::OpenKind;
    const auto row = [](const char *tag, const char *name, const char *target, const char *kept,
                        K kind) {
        QTest::newRow(tag) << QString(name) << QString(target) << QString(kept) << int(kind);
    };
    row("plain", "/h/lesson", "/h/lesson.iwb", "/h/lesson", K::Unknown);
    row("with extension", "/h/lesson.iwb", "/h/lesson.iwb", "/h/lesson", K::Iwb);
    row("two dots", "/h/lesson.2.iwb", "/h/lesson.2.iwb", "/h/lesson.2", K::Iwb);
    // Typed in another case, the extension is still the extension; the name kept names that
    // same file for the next Save.
    row("upper case", "/h/lesson.IWB", "/h/lesson.IWB", "/h/lesson.IWB", K::Iwb);
    row("extension twice", "/h/lesson.iwb.iwb", "/h/lesson.iwb.iwb", "/h/lesson.iwb.iwb", K::Iwb);
    row("upper case, then .iwb", "/h/lesson.IWB.iwb", "/h/lesson.IWB.iwb", "/h/lesson.IWB.iwb",
        K::Iwb);
    row("opened ubz", "/h/lesson.ubz", "/h/lesson.ubz.iwb", "/h/lesson.ubz", K::Ubz);
    row("ubz upper case", "/h/a.UBZ", "/h/a.UBZ.iwb", "/h/a.UBZ", K::Ubz);
    row("folder with dot", "/h/x.iwb/lesson", "/h/x.iwb/lesson.iwb", "/h/x.iwb/lesson", K::Unknown);
}

void tst_DocumentName::saveTargets()
{
    QFETCH(QString, name);
    QFETCH(QString, target);
    QFETCH(QString, kept);
    QFETCH(int, openKind);
    QCOMPARE(DocumentName::iwbTarget(name), target);
    QCOMPARE(DocumentName::keptName(target), kept);
    QCOMPARE(DocumentName::iwbTarget(kept), target); // Save writes the file saved as
    QCOMPARE(int(DocumentName::openKind(name)), openKind);
}

QTEST_GUILESS_MAIN(tst_DocumentName)
#include "tst_documentname.moc"
