#include "document/dpageslist.h"
#include "shell/dsetting.h"
#include "shell/globals.h"
#include "shell/mainform.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>
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

// Texts every language keeps as they are: the product's name, file formats, the calculator's
// keys. Texts without letters (signs, numbers) and style sheets hold nothing to translate.
const QSet<QString> kNamesAndSymbols = {
    QStringLiteral("Veltorisa"), QStringLiteral("Flash"), QStringLiteral("PDF"),
    QStringLiteral("Pdf"),       QStringLiteral("BMP"),   QStringLiteral("JPG"),
    QStringLiteral("PNG"),       QStringLiteral("TIFF"),  QStringLiteral("MC"),
    QStringLiteral("MR"),        QStringLiteral("MS"),    QStringLiteral("M+"),
    QStringLiteral("x^2"),       QStringLiteral("1/x"),   QStringLiteral("T"),
};

// Words a language writes as the source text does.
struct SameWord
{
    const char *catalogue;
    const char *text;
};
// clang-format off
constexpr SameWord kSameWords[] = {
    { "es_ES", "No" },    { "es_ES", "Error" },       { "es_ES", "Color" },  { "es_ES", "Audio" },
    { "fr_FR", "Pause" }, { "fr_FR", "Transparent" }, { "fr_FR", "Opaque" }, { "fr_FR", "Ellipse" },
    { "fr_FR", "Saturation" }, { "fr_FR", "Audio" },  { "fr_FR", "Compas" },
    { "de_DE", "Pause" }, { "de_DE", "Transparent" }, { "de_DE", "Ellipse" }, { "de_DE", "Audio" },
    { "de_DE", "Dialog" }, { "de_DE", "Info" },
};
// clang-format on

// The words of a text in lower case, "FullScreen" as two.
QSet<QString> wordsOf(QString text)
{
    static const QRegularExpression camel(QStringLiteral("(\\p{Ll})(\\p{Lu})"));
    static const QRegularExpression word(QStringLiteral("\\p{L}+"));
    text.replace(camel, QStringLiteral("\\1 \\2"));
    QSet<QString> words;
    auto match = word.globalMatch(text);
    while (match.hasNext())
        words << match.next().captured().toLower();
    return words;
}

// Most source texts are Spanish; a few are English (the clock, the calculator, the media
// player). An English one is told by its English translation: that keeps its words, give or
// take some ("Display LCD" is "LCD display", "VideoWidget" is "Video").
bool sourceIsEnglish(const QString &source, const QString &english)
{
    const QSet<QString> ours = wordsOf(source);
    const QSet<QString> theirs = wordsOf(english);
    return ours.contains(theirs) || theirs.contains(ours);
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

// The texts a user reads on the widgets: tool tips, titles, button and label texts, combo box
// entries.
QStringList shownTexts(const QList<QWidget *> &widgets)
{
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

// Installed before the program's own translation, so it is asked only for the texts that the
// translation could not answer; it answers none of them.
class MissedLookups : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *disambiguation,
                      int n) const override
    {
        Q_UNUSED(disambiguation)
        Q_UNUSED(n)
        static const QRegularExpression letter(QStringLiteral("\\p{L}"));
        static const QRegularExpression toolkitClass(QStringLiteral("^Q[A-Z]"));
        const QString contextName = QString::fromUtf8(context);
        const QString text = QString::fromUtf8(source);
        // The toolkit's own texts have their own translations; numbers and "..." need none.
        if (!toolkitClass.match(contextName).hasMatch() && text.contains(letter))
            m_missed << contextName + QLatin1Char('|') + text;
        return QString();
    }
    bool isEmpty() const override { return false; }
    QStringList missed() const
    {
        QStringList sorted = m_missed.values();
        sorted.sort();
        return sorted;
    }

private:
    mutable QSet<QString> m_missed;
};

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
    void noTextLeftInAnotherLanguage_data();
    void noTextLeftInAnotherLanguage();
    void startsInTheStoredLanguage_data();
    void startsInTheStoredLanguage();
    void questionAsksInTheInstalledLanguage();
    void initTestCase();
    void cleanup();

private:
    std::unique_ptr<QTranslator> m_installed;
    bool install(const char *resource);
    // Keys of the texts lupdate finds in the code now; empty when it could not run.
    QSet<QString> extractFromSources(QString *error) const;
};

void tst_Translations::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
}

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
        const char *spanish = nullptr; // for an English source text
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
        { "DTableDlg", "&Cancel", "&Cancel", "&Отмена", "&Cancelar", "&Annuler", "&Abbrechen", "&Cancelar" },
        { "DClock", "Countdown Mode", "Countdown mode", "Обратный отсчёт", "Contagem regressiva", "Compte à rebours", "Countdown", "Modo cuenta atrás" },
        { "DPagesList", "Error al guardar archivo", "Error saving the file", "Ошибка при сохранении файла", "Erro ao salvar o arquivo", "Erreur lors de l'enregistrement du fichier", "Fehler beim Speichern der Datei" },
        { "DShareScreen", "No se puede abrir el puerto %1", "Port %1 cannot be opened", "Не удаётся открыть порт %1", "Não é possível abrir a porta %1", "Impossible d'ouvrir le port %1", "Port %1 kann nicht geöffnet werden" },
        { "DView", "Llevar al fondo", "Send to back", "На задний план", "Enviar para trás", "Mettre à l'arrière-plan", "In den Hintergrund" },
        { "DPage", "Desea limpiar la página", "Clear this page?", "Очистить эту страницу?", "Limpar esta página?", "Effacer cette page ?", "Diese Seite leeren?" },
        // The calculator reads its display back as a number: the point stays a point.
        { "DCalculator", ".", ".", ".", ".", ".", "." },
    };
    // clang-format on
    for (const Sample &sample : samples) {
        const char *spanish = sample.spanish ? sample.spanish : sample.source;
        const char *expected[] = { spanish,           sample.english, sample.russian,
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

void tst_Translations::noTextLeftInAnotherLanguage_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<bool>("fromEnglish");
    QTest::addColumn<bool>("fromSpanish");
    // Portuguese writes many of the Spanish words alike ("Texto", "Cubo"): only its English
    // sources are checked.
    QTest::newRow("es_ES") << "es_ES" << true << false;
    QTest::newRow("en_US") << "en_US" << false << true;
    QTest::newRow("pt_BR") << "pt_BR" << true << false;
    QTest::newRow("fr_FR") << "fr_FR" << true << true;
    QTest::newRow("de_DE") << "de_DE" << true << true;
    QTest::newRow("ru_RU") << "ru_RU" << true << true;
}

// A text written in another language than the catalogue's and translated to itself shows
// untranslated: English words in the Spanish interface, Spanish ones in the German.
void tst_Translations::noTextLeftInAnotherLanguage()
{
    QFETCH(QString, catalogue);
    QFETCH(bool, fromEnglish);
    QFETCH(bool, fromSpanish);
    QString error;
    QHash<QString, QString> english;
    for (const Message &message : readCatalogue(cataloguePath(QStringLiteral("en_US")), &error))
        english.insert(keyOf(message), message.translation);
    const QVector<Message> messages = readCatalogue(cataloguePath(catalogue), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QSet<QString> sameWords;
    for (const SameWord &same : kSameWords) {
        if (catalogue == QLatin1String(same.catalogue))
            sameWords << QString::fromUtf8(same.text);
    }
    QStringList untranslated;
    for (const Message &message : messages) {
        if (message.translation != message.source || wordsOf(message.source).isEmpty()
            || message.source.contains(QLatin1Char('{'))
            || kNamesAndSymbols.contains(message.source) || sameWords.contains(message.source))
            continue;
        const bool isEnglish = sourceIsEnglish(message.source, english.value(keyOf(message)));
        if (isEnglish ? fromEnglish : fromSpanish)
            untranslated << keyOf(message);
    }
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
}

QSet<QString> tst_Translations::extractFromSources(QString *error) const
{
    const QString lupdate = QStandardPaths::findExecutable(QStringLiteral("lupdate"));
    if (lupdate.isEmpty()) {
        *error = QStringLiteral("lupdate is not installed");
        return {};
    }
    QTemporaryDir work;
    if (!work.isValid()) {
        *error = work.errorString();
        return {};
    }
    const QString extracted = work.filePath(QStringLiteral("current.ts"));
    QStringList arguments{ QStringLiteral("-silent"), QStringLiteral("-locations"),
                           QStringLiteral("none") };
    for (const char *folder :
         { "board", "document", "shell", "palettes", "tools", "content", "recognition", "sharing" })
        arguments << QLatin1String(folder);
    arguments << QStringLiteral("-ts") << extracted;
    QProcess process;
    process.setWorkingDirectory(QStringLiteral(VELTORINA_SOURCE_DIR));
    process.start(lupdate, arguments);
    if (!process.waitForStarted(10000) || !process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(1000);
        *error = QStringLiteral("lupdate did not run: ") + process.errorString();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = QStringLiteral("lupdate failed: ")
                + QString::fromLocal8Bit(process.readAllStandardError());
        return {};
    }
    QSet<QString> keys;
    for (const Message &message : readCatalogue(extracted, error))
        keys << keyOf(message);
    return keys;
}

// Texts added to the code since the catalogues were refreshed show in Spanish in every language.
// Others add texts on their own branches, so this reports them and skips rather than fail
// their work; scripts/update-translations.sh brings them in.
void tst_Translations::catalogueCoversTheSources()
{
    QString error;
    const QSet<QString> current = extractFromSources(&error);
    if (current.isEmpty())
        QSKIP(qPrintable(error));
    const QVector<Message> committed =
            readCatalogue(cataloguePath(QLatin1String(kSourceLanguage)), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QSet<QString> known;
    for (const Message &message : committed)
        known << keyOf(message);
    QStringList untranslated = (current - known).values();
    untranslated.sort();
    if (!untranslated.isEmpty()) {
        qWarning().noquote() << "Texts without translations:\n" + untranslated.join('\n');
        QSKIP(qPrintable(QString::number(untranslated.size())
                         + QStringLiteral(" texts of the code are not in the translations yet: "
                                          "run scripts/update-translations.sh")));
    }
}

void tst_Translations::startsInTheStoredLanguage_data()
{
    QTest::addColumn<int>("stored");
    for (int i = 0; i < int(std::size(kLanguages)); ++i) {
        if (qstrcmp(kLanguages[i].catalogue, kSourceLanguage) != 0)
            QTest::newRow(kLanguages[i].catalogue) << i;
    }
}

// The program started with a stored language, as a teacher finds it after choosing one and
// restarting: no Spanish text that has a translation shows on the toolbars, palettes and
// dialogs it builds, every text it looks up is in the translation, and its questions ask in
// that language.
void tst_Translations::startsInTheStoredLanguage()
{
    QFETCH(int, stored);
    const QString catalogue = QLatin1String(kLanguages[stored].catalogue);
    QString error;
    const QVector<Message> messages = readCatalogue(cataloguePath(catalogue), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QHash<QString, QString> translationOf;
    QSet<QString> translations;
    QSet<QString> sources;
    for (const Message &message : messages) {
        translationOf.insert(keyOf(message), message.translation);
        translations << message.translation;
        sources << message.source;
    }
    QSet<QString> untranslatedSpanish;
    for (const Message &message : messages) {
        if (message.translation != message.source && !translations.contains(message.source))
            untranslatedSpanish << message.source;
    }

    settings.setValue(QStringLiteral("System/Language"), stored);
    MissedLookups missed;
    QCoreApplication::installTranslator(&missed);
    auto window = std::make_unique<MainForm>();

    QStringList spanish;
    for (const QString &text : shownTexts(QApplication::allWidgets())) {
        if (untranslatedSpanish.contains(text))
            spanish << text;
    }
    spanish.sort();
    QVERIFY2(spanish.isEmpty(), qPrintable(spanish.join(QStringLiteral(", "))));

    // Asking needs the question box; Escape is the harmless answer and keeps the page.
    window->uiMainBt(BtMenus::btColorPage);
    QString question;
    QStringList answers;
    auto asked = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        question = box->windowTitle() + QLatin1Char('|') + box->text();
        for (QAbstractButton *button : box->buttons())
            answers << button->text();
        TestSupport::pressEscape(dialog);
    });
    window->uiMainBt(BtMenus::btDeletePage);
    QVERIFY(*asked);
    QCOMPARE(window->pagesList()->size(), 2);
    QCOMPARE(question,
             translationOf.value(QStringLiteral("MainForm|Atención")) + QLatin1Char('|')
                     + translationOf.value(QStringLiteral("MainForm|Desea eliminar la página")));
    answers.sort();
    QStringList expectedAnswers{ translationOf.value(QStringLiteral("MainForm|Si")),
                                 translationOf.value(QStringLiteral("MainForm|No")) };
    expectedAnswers.sort();
    QCOMPARE(answers, expectedAnswers);

    window.reset();
    QCoreApplication::removeTranslator(&missed);
    // A text looked up under a context where lupdate does not find it can never be translated:
    // it was marked in another context, or passed through a function lupdate does not know.
    // Texts merely newer than the catalogue are the business of catalogueCoversTheSources.
    const QSet<QString> extracted = extractFromSources(&error);
    QStringList faults;
    for (const QString &key : missed.missed()) {
        if (translationOf.contains(key))
            continue; // looked up before the translation was installed, as the window title is
        const QString text = key.section(QLatin1Char('|'), 1, -1);
        if (extracted.isEmpty() ? sources.contains(text) : !extracted.contains(key))
            faults << key;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
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
