#include "shell/appsettings.h"
#include "shell/globals.h"

#include <QtTest>

#include <cstdio>

// Settings and the working directory as the program makes them before main runs. Each test
// program starts in a fresh, empty current directory.
class tst_Globals : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void applicationStrings();
    void missingKeysReadAsDefaults();
    void storedValuesAreRepaired_data();
    void storedValuesAreRepaired();
    void firstWriteCreatesInitInCurrentDirectory();
    void twoInstancesGetDistinctWorkingDirectories();
};

void tst_Globals::initTestCase()
{
    QVERIFY(QDir::current().entryList(QDir::Files).isEmpty());
    QVERIFY(m_currentDir.isValid());
    QVERIFY(m_pCopyPasteListItems.isEmpty());
}

void tst_Globals::applicationStrings()
{
    QCOMPARE(g_strAppName, QStringLiteral("Veltorina"));
    QCOMPARE(g_strAppVersion, QStringLiteral("1.23"));
}

void tst_Globals::missingKeysReadAsDefaults()
{
    QCOMPARE(settings.fileName(), QDir::current().absoluteFilePath(QStringLiteral("init")));
    QCOMPARE(AppSettings::language(settings), BtMenus::lngSpanish);
    QCOMPARE(AppSettings::interfaceMode(settings), BtMenus::imStandard);
    QCOMPARE(AppSettings::autosaveMinutes(settings), 1);
    QCOMPARE(AppSettings::pageColor(settings), QColor(Qt::white));
    QCOMPARE(AppSettings::temporalName(settings), QString());
    QVERIFY2(!QFile::exists(QStringLiteral("init")), "reading must not create the file");
}

void tst_Globals::storedValuesAreRepaired_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");

    QTest::newRow("interface multi-user") << "Interface" << "3" << int(BtMenus::imMultiUser);
    QTest::newRow("interface out of range") << "Interface" << "7" << int(BtMenus::imStandard);
    QTest::newRow("interface negative") << "Interface" << "-1" << int(BtMenus::imStandard);
    QTest::newRow("interface garbage") << "Interface" << "abc" << int(BtMenus::imStandard);
    QTest::newRow("language German") << "Language" << "5" << int(BtMenus::lngGerman);
    QTest::newRow("language out of range") << "Language" << "9" << int(BtMenus::lngSpanish);
    QTest::newRow("autosave 60") << "Autosave" << "60" << 60;
    QTest::newRow("autosave 0: none") << "Autosave"
                                      << "0" << 0;
    QTest::newRow("autosave negative: none") << "Autosave"
                                             << "-3" << 0;
    QTest::newRow("autosave too long") << "Autosave" << "600" << 60;
}

void tst_Globals::storedValuesAreRepaired()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(int, expected);

    QSettings store(QDir::current().absoluteFilePath(QStringLiteral("repair")), QSettings::IniFormat);
    store.setValue(QStringLiteral("System/") + key, stored);
    int value = -100;
    if (key == QLatin1String("Interface"))
        value = AppSettings::interfaceMode(store);
    else if (key == QLatin1String("Language"))
        value = AppSettings::language(store);
    else
        value = AppSettings::autosaveMinutes(store);
    QCOMPARE(value, expected);
}

void tst_Globals::firstWriteCreatesInitInCurrentDirectory()
{
    AppSettings::setPageColor(settings, QColor(Qt::red));
    AppSettings::setTemporalName(settings, QStringLiteral("/tmp/x"));
    QVERIFY(QFile::exists(QStringLiteral("init")));
    QSettings reread(QStringLiteral("init"), QSettings::IniFormat);
    QCOMPARE(QColor(reread.value(QStringLiteral("System/PageColor")).toString()), QColor(Qt::red));
    QCOMPARE(reread.value(QStringLiteral("TemporalName")).toString(), QStringLiteral("/tmp/x"));

    reread.setValue(QStringLiteral("System/PageColor"), QStringLiteral("not a colour"));
    reread.sync();
    settings.sync();
    QCOMPARE(AppSettings::pageColor(settings), QColor(Qt::white));
}

void tst_Globals::twoInstancesGetDistinctWorkingDirectories()
{
    // Two copies of this program started at once print their working directory and end.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELTORINA_PRINT_WORKDIR"), QStringLiteral("1"));
    QProcess first;
    QProcess second;
    for (QProcess *process : { &first, &second }) {
        process->setProcessEnvironment(environment);
        process->start(QCoreApplication::applicationFilePath(), QStringList());
    }
    QStringList directories;
    for (QProcess *process : { &first, &second }) {
        QVERIFY(process->waitForFinished(30000));
        QCOMPARE(process->exitCode(), 0);
        directories << QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed();
    }
    QCOMPARE(directories.size(), 2);
    QVERIFY(!directories.at(0).isEmpty());
    QVERIFY(directories.at(0) != directories.at(1));
    QVERIFY(directories.at(0).startsWith(QDir::tempPath()));
    QVERIFY(directories.at(1) != m_currentDir.path());
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("VELTORINA_PRINT_WORKDIR")) {
        std::printf("%s\n", qPrintable(m_currentDir.path()));
        return 0;
    }
    QCoreApplication app(argc, argv);
    tst_Globals test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_globals.moc"
