#include "shell/dmainui.h"
#include "shell/dsetting.h"
#include "shell/dshortui.h"
#include "shell/globals.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace {

// The interface languages as the main window loads them: the stored "Language" number indexes
// this list, and loading tries each name with ".qm" appended first.
struct Language
{
    const char *resource;
    const char *catalogue; // resources/translations/<catalogue>.ts
};
// clang-format off
constexpr Language kLanguages[] = {
    { ":/Translates/es_ES",     "es_ES" },
    { ":/Translates/en_US.qm",  "en_US" },
    { ":/Translates/ru_RU",     "ru_RU" },
    { ":/Translates/pt_BR",     "pt_BR" },
    { ":/Translates/fr_FR",     "fr_FR" },
    { ":/Translates/de_DE",     "de_DE" },
};
// clang-format on
constexpr const char *kSourceLanguage = "es_ES";

struct Message
{
    QString context;
    QString source;
    QString translation;
    bool unfinished = false;
};

QString cataloguePath(const QString &catalogue)
{
    return QStringLiteral(VELTORINA_SOURCE_DIR "/resources/translations/") + catalogue
            + QStringLiteral(".ts");
}

// The messages of a .ts file that are still in the sources (vanished ones are left out).
QVector<Message> readCatalogue(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QVector<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    bool gone = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("message") && !gone)
            messages << message;
        if (!xml.isStartElement())
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("context")) {
            context.clear();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            message = Message();
            message.context = context;
            gone = false;
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            const QStringRef type = xml.attributes().value(QLatin1String("type"));
            gone = type == QLatin1String("vanished") || type == QLatin1String("obsolete");
            message.unfinished = type == QLatin1String("unfinished");
            message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name != QLatin1String("TS")) {
            xml.skipCurrentElement(); // comments, locations, extra fields
        }
    }
    if (xml.hasError())
        *error = path + QStringLiteral(": ") + xml.errorString();
    return messages;
}

QString keyOf(const Message &message)
{
    return message.context + QLatin1Char('|') + message.source;
}

// %1...%99 as they appear, sorted: a translation must use the same arguments as its source.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression argument(QStringLiteral("%\\d{1,2}"));
    QStringList found;
    auto match = argument.globalMatch(text);
    while (match.hasNext())
        found << match.next().captured();
    found.sort();
    return found;
}

// The texts a user reads on a widget tree: tool tips, titles, button and label texts, combo
// box entries.
QStringList shownTexts(const QWidget *root)
{
    QList<const QWidget *> widgets{ root };
    for (const QWidget *child : root->findChildren<QWidget *>())
        widgets << child;
    QStringList texts;
    for (const QWidget *widget : widgets) {
        texts << widget->toolTip() << widget->windowTitle();
        if (auto *button = qobject_cast<const QAbstractButton *>(widget))
            texts << button->text();
        if (auto *label = qobject_cast<const QLabel *>(widget))
            texts << label->text();
        if (auto *combo = qobject_cast<const QComboBox *>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
    }
    texts.removeAll(QString());
    texts.removeDuplicates();
    return texts;
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void everyCompiledTranslationLoads();
    void loadsByTheStoredLanguageNames();
    void translatesRepresentativeTexts_data();
    void translatesRepresentativeTexts();
    void everyMessageIsTranslated_data();
    void everyMessageIsTranslated();
    void catalogueCoversTheSources();
    void formsShowTheirTranslation_data();
    void formsShowTheirTranslation();
    void questionAsksInTheInstalledLanguage();
    void cleanup();

private:
    std::unique_ptr<QTranslator> m_installed;
    bool install(const char *resource);
};

bool tst_Translations::install(const char *resource)
{
    m_installed = std::make_unique<QTranslator>();
    if (!m_installed->load(QLatin1String(resource)))
        return false;
    return QCoreApplication::installTranslator(m_installed.get());
}

void tst_Translations::cleanup()
{
    if (m_installed)
        QCoreApplication::removeTranslator(m_installed.get());
    m_installed.reset();
}

void tst_Translations::everyCompiledTranslationLoads()
{
    const QDir directory(QStringLiteral(":/Translates"));
    QStringList expected;
    for (const Language &language : kLanguages)
        expected << QLatin1String(language.catalogue) + QStringLiteral(".qm");
    expected.sort();
    QCOMPARE(directory.entryList({ QStringLiteral("*.qm") }, QDir::Files, QDir::Name), expected);
    for (const QString &name : expected) {
        QTranslator translator;
        QVERIFY2(translator.load(directory.filePath(name)), qPrintable(name));
        QVERIFY2(!translator.isEmpty(), qPrintable(name));
    }
}

void tst_Translations::loadsByTheStoredLanguageNames()
{
    for (const Language &language : kLanguages) {
        QTranslator translator;
        QVERIFY2(translator.load(QLatin1String(language.resource)), language.resource);
        QCOMPARE(translator.language(), QLatin1String(language.catalogue));
    }
}

void tst_Translations::translatesRepresentativeTexts_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");

    struct Sample
    {
        const char *context;
        const char *source;
        const char *english, *russian, *portuguese, *french, *german;
    };
    // clang-format off
    const Sample samples[] = {
        { "DShortUi", "Deshacer", "Undo", "Отменить", "Desfazer", "Annuler", "Rückgängig" },
        { "DSetting", "Preferencias", "Preferences", "Настройки", "Preferências", "Préférences", "Einstellungen" },
        { "MainFormClass", "Veltorisa", "Veltorisa", "Veltorisa", "Veltorisa", "Veltorisa", "Veltorisa" },
        { "DMainUi", "Menú", "Menu", "Меню", "Menu", "Menu", "Menü" },
        { "WidgetPenSelector", "Subrayador", "Highlighter", "Маркер", "Marca-texto", "Surligneur", "Textmarker" },
        { "WidgetToolSelector", "Trasportador", "Protractor", "Транспортир", "Transferidor", "Rapporteur", "Winkelmesser" },
        { "WidgetClassicSelector", "Color de Pincel", "Pen color", "Цвет пера", "Cor da caneta", "Couleur du stylo", "Stiftfarbe" },
        { "DSetting", "Restaurar Valores por Defecto", "Restore the default values?", "Восстановить значения по умолчанию?", "Restaurar os valores padrão?", "Rétablir les valeurs par défaut ?", "Standardwerte wiederherstellen?" },
        { "DSetting", "Si", "Yes", "Да", "Sim", "Oui", "Ja" },
        { "DTableDlg", "&Cancel", "&Cancel", "&Отмена", "&Cancelar", "&Annuler", "&Abbrechen" },
        { "DPagesList", "Error al guardar archivo", "Error saving the file", "Ошибка при сохранении файла", "Erro ao salvar o arquivo", "Erreur lors de l'enregistrement du fichier", "Fehler beim Speichern der Datei" },
        { "DShareScreen", "No se puede abrir el puerto %1", "Port %1 cannot be opened", "Не удаётся открыть порт %1", "Não é possível abrir a porta %1", "Impossible d'ouvrir le port %1", "Port %1 kann nicht geöffnet werden" },
        // The calculator reads its display back as a number: the point stays a point.
        { "DCalculator", ".", ".", ".", ".", ".", "." },
    };
    // clang-format on
    for (const Sample &sample : samples) {
        const char *expected[] = { sample.source,     sample.english, sample.russian,
                                   sample.portuguese, sample.french,  sample.german };
        for (int i = 0; i < int(std::size(kLanguages)); ++i) {
            QTest::addRow("%s %s/%s", kLanguages[i].catalogue, sample.context, sample.source)
                    << QString::fromLatin1(kLanguages[i].resource)
                    << QString::fromLatin1(sample.context) << QString::fromUtf8(sample.source)
                    << QString::fromUtf8(expected[i]);
        }
    }
}

void tst_Translations::translatesRepresentativeTexts()
{
    QFETCH(QString, resource);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QVERIFY(install(qPrintable(resource)));
    QCOMPARE(QCoreApplication::translate(qPrintable(context), source.toUtf8().constData()),
             expected);
}

void tst_Translations::everyMessageIsTranslated_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("catalogue");
    for (const Language &language : kLanguages) {
        if (qstrcmp(language.catalogue, kSourceLanguage) != 0)
            QTest::newRow(language.catalogue) << QString::fromLatin1(language.resource)
                                              << QString::fromLatin1(language.catalogue);
    }
}

// Each catalogue holds every text of the source catalogue, each with a finished translation
// that keeps the arguments, accelerators and product names, and the compiled file agrees.
void tst_Translations::everyMessageIsTranslated()
{
    QFETCH(QString, resource);
    QFETCH(QString, catalogue);
    QString error;
    const QVector<Message> sources =
            readCatalogue(cataloguePath(QLatin1String(kSourceLanguage)), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QVector<Message> messages = readCatalogue(cataloguePath(catalogue), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(sources.size() > 200);

    QSet<QString> expected;
    for (const Message &message : sources)
        expected << keyOf(message);
    QSet<QString> present;
    for (const Message &message : messages)
        present << keyOf(message);
    QStringList missing = (expected - present).values();
    missing.sort();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));

    QTranslator compiled;
    QVERIFY(compiled.load(resource));
    QStringList faults;
    for (const Message &message : messages) {
        const QString where = keyOf(message) + QStringLiteral(": ");
        if (message.unfinished)
            faults << where + QStringLiteral("unfinished");
        if (message.translation.trimmed().isEmpty()) {
            faults << where + QStringLiteral("empty");
            continue;
        }
        if (placeholders(message.translation) != placeholders(message.source))
            faults << where + QStringLiteral("arguments differ: ") + message.translation;
        if (message.source.contains(QLatin1Char('&'))
            != message.translation.contains(QLatin1Char('&')))
            faults << where + QStringLiteral("accelerator lost or added: ") + message.translation;
        for (const QString &product :
             { QStringLiteral("Veltorina"), QStringLiteral("Veltorisa") }) {
            if (message.source.count(product) != message.translation.count(product))
                faults << where + QStringLiteral("product name changed: ") + message.translation;
        }
        const QString fromCompiled = compiled.translate(qPrintable(message.context),
                                                        message.source.toUtf8().constData());
        if (fromCompiled != message.translation)
            faults << where + QStringLiteral("compiled file says ") + fromCompiled;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// Texts added to the code since the catalogues were refreshed show in Spanish in every language.
// Others add texts on their own branches, so this reports them and skips rather than fail
// their work; scripts/update-translations.sh brings them in.
void tst_Translations::catalogueCoversTheSources()
{
    const QString lupdate = QStandardPaths::findExecutable(QStringLiteral("lupdate"));
    if (lupdate.isEmpty())
        QSKIP("lupdate is not installed");
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString extracted = work.filePath(QStringLiteral("current.ts"));
    QProcess process;
    process.setWorkingDirectory(QStringLiteral(VELTORINA_SOURCE_DIR));
    process.start(lupdate,
                  { QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                    QStringLiteral("board"), QStringLiteral("document"), QStringLiteral("shell"),
                    QStringLiteral("palettes"), QStringLiteral("tools"), QStringLiteral("content"),
                    QStringLiteral("recognition"), QStringLiteral("sharing"), QStringLiteral("-ts"),
                    extracted });
    QVERIFY(process.waitForStarted(10000));
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(1000);
        QFAIL("lupdate gave no answer in time");
    }
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);

    QString error;
    const QVector<Message> current = readCatalogue(extracted, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QVector<Message> committed =
            readCatalogue(cataloguePath(QLatin1String(kSourceLanguage)), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QSet<QString> known;
    for (const Message &message : committed)
        known << keyOf(message);
    QStringList untranslated;
    for (const Message &message : current) {
        if (!known.contains(keyOf(message)))
            untranslated << keyOf(message);
    }
    if (!untranslated.isEmpty()) {
        qWarning().noquote() << "Texts without translations:\n" + untranslated.join('\n');
        QSKIP(qPrintable(QString::number(untranslated.size())
                         + QStringLiteral(" texts of the code are not in the translations yet: "
                                          "run scripts/update-translations.sh")));
    }
}

void tst_Translations::formsShowTheirTranslation_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("catalogue");
    for (const Language &language : kLanguages) {
        if (qstrcmp(language.catalogue, kSourceLanguage) != 0)
            QTest::newRow(language.catalogue) << QString::fromLatin1(language.resource)
                                              << QString::fromLatin1(language.catalogue);
    }
}

// The toolbars, the palettes and the preferences dialog built with a translation installed show
// no Spanish text that has a translation: a text looked up in a context other than the one it
// was marked in stays Spanish, and only the built form shows it.
void tst_Translations::formsShowTheirTranslation()
{
    QFETCH(QString, resource);
    QFETCH(QString, catalogue);
    QString error;
    const QVector<Message> messages = readCatalogue(cataloguePath(catalogue), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QSet<QString> translations;
    for (const Message &message : messages)
        translations << message.translation;
    QSet<QString> untranslatedSpanish;
    for (const Message &message : messages) {
        if (message.translation != message.source && !translations.contains(message.source))
            untranslatedSpanish << message.source;
    }

    QVERIFY(install(qPrintable(resource)));
    QWidget window;
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    auto bar = std::make_unique<DMainUi>(&window);
    DShortUi shortBar;
    DSetting preferences;

    QStringList shown;
    const QList<QWidget *> forms{ bar.get(), &shortBar, &preferences };
    for (const QWidget *form : forms)
        shown << shownTexts(form);
    QStringList spanish;
    for (const QString &text : qAsConst(shown)) {
        if (untranslatedSpanish.contains(text))
            spanish << text;
    }
    spanish.removeDuplicates();
    QVERIFY2(spanish.isEmpty(), qPrintable(spanish.join(QStringLiteral(", "))));
    QVERIFY(shown.size() > 50); // the forms were really walked
}

void tst_Translations::questionAsksInTheInstalledLanguage()
{
    QVERIFY(install(":/Translates/fr_FR"));
    DSetting dialog;
    QString question;
    QStringList answers;
    TestSupport::answerNextModal([&](QWidget *modal) {
        TestSupport::answerNextModal([&](QWidget *box) {
            auto *message = qobject_cast<QMessageBox *>(box);
            question = message->windowTitle() + QLatin1Char('|') + message->text();
            for (QAbstractButton *button : message->buttons())
                answers << button->text();
            TestSupport::clickButton(box, QStringLiteral("Non"));
        });
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("restore")),
                          Qt::LeftButton);
        TestSupport::clickButton(modal, QStringLiteral("Annuler"));
    });
    dialog.exec();
    QCOMPARE(question, QStringLiteral("Attention|Rétablir les valeurs par défaut ?"));
    answers.sort();
    QCOMPARE(answers, (QStringList{ QStringLiteral("Non"), QStringLiteral("Oui") }));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
