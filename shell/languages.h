#pragma once

#include "btmenus.h"

class QTranslator;

// The catalogues of an interface language: the program's own texts, and the toolkit's (file and
// colour dialogs, standard buttons), so that no dialog speaks a second language.
namespace Languages {

// Loads both catalogues of language into the two translators and installs those that loaded;
// whatever they held before is removed first. False when the program's own catalogue is
// missing (the interface then stays in its source language, Spanish). A language outside the
// list loads nothing.
bool install(BtMenus::eLanguageMode language, QTranslator &program, QTranslator &toolkit);

// The toolkit catalogue's locale name ("es", "pt_BR", ...), or "" outside the list.
const char *toolkitLocale(BtMenus::eLanguageMode language);

} // namespace Languages
