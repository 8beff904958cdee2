#include "languages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

struct LanguageFiles
{
    BtMenus::eLanguageMode language;
    const char *program; // loading tries the name with ".qm" appended first
    const char *toolkit; // Debian's qttranslations5-l10n: "qt_<locale>.qm" and its parts
};

// clang-format off
constexpr LanguageFiles kLanguages[] = {
    { BtMenus::lngSpanish,    ":/Translates/es_ES",    "es" },
    { BtMenus::lngEnglish,    ":/Translates/en_US.qm", "en" },
    { BtMenus::lngRussian,    ":/Translates/ru_RU",    "ru" },
    { BtMenus::lngPortuguese, ":/Translates/pt_BR",    "pt_BR" },
    { BtMenus::lngFrench,     ":/Translates/fr_FR",    "fr" },
    { BtMenus::lngGerman,     ":/Translates/de_DE",    "de" },
};
// clang-format on

const LanguageFiles *filesOf(BtMenus::eLanguageMode language)
{
    for (const LanguageFiles &files : kLanguages) {
        if (files.language == language)
            return &files;
    }
    return nullptr;
}

} // namespace

namespace Languages {

const char *toolkitLocale(BtMenus::eLanguageMode language)
{
    const LanguageFiles *files = filesOf(language);
    return files ? files->toolkit : "";
}

bool install(BtMenus::eLanguageMode language, QTranslator &program, QTranslator &toolkit)
{
    QCoreApplication::removeTranslator(&program);
    QCoreApplication::removeTranslator(&toolkit);
    const LanguageFiles *files = filesOf(language);
    if (!files)
        return false;
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    const QString locale = QLatin1String(files->toolkit);
    // "qt_xx" gathers the catalogues of every toolkit module; some languages ship only the
    // base module's.
    if (toolkit.load(QStringLiteral("qt_") + locale, folder)
        || toolkit.load(QStringLiteral("qtbase_") + locale, folder))
        QCoreApplication::installTranslator(&toolkit);
    const bool loaded = program.load(QLatin1String(files->program));
    if (loaded)
        QCoreApplication::installTranslator(&program);
    return loaded;
}

} // namespace Languages
