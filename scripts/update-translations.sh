#!/usr/bin/env bash
# Refreshes resources/translations/*.ts from the sources: new texts come in unfinished, texts
# gone from the code are dropped. Spanish is the source language, so es_ES translates every
# Spanish text to itself; the English source texts (clock, calculator, media player) keep their
# Spanish translations there. Afterwards it lists what is left to translate in the other
# languages:
#     scripts/translations.py export resources/translations/de_DE.ts > de.json
#     (fill in "translation", e.g. in an editor or Qt Linguist, then)
#     scripts/translations.py apply resources/translations/de_DE.ts de.json
# Exit status: 0 all translated, 1 texts left to translate, 2 lupdate found texts it could
# not place in their class's context (they would never be translated).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source_dirs=(board pictures document shell palettes tools content recognition sharing)
languages=(es_ES en_US ru_RU pt_BR fr_FR de_DE)
tool="$root/scripts/translations.py"
mkdir -p resources/translations

log=$(mktemp)
trap 'rm -f "$log"' EXIT

for language in "${languages[@]}"; do
    ts="resources/translations/$language.ts"
    # No locations: a refresh after unrelated edits leaves the files as they are.
    lupdate -silent -no-obsolete -locations none -source-language es_ES \
        -target-language "$language" "${source_dirs[@]}" -ts "$ts" 2>>"$log"
done
python3 "$tool" identity resources/translations/es_ES.ts

# lupdate warns once per language; show each warning once.
if [[ -s $log ]]; then
    echo "lupdate:" >&2
    sort -u "$log" >&2
    if grep -q -e "cannot be called without context" -e "lacks Q_OBJECT" "$log"; then
        echo "Some texts are not in their class's context: mark them with" \
             "QT_TRANSLATE_NOOP(\"Class\", ...) or QCoreApplication::translate(\"Class\", ...)." >&2
        exit 2
    fi
fi

status=0
translated=()
for language in "${languages[@]}"; do
    [[ $language == es_ES ]] || translated+=("resources/translations/$language.ts")
done
python3 "$tool" status "${translated[@]}" || status=$?
exit "$status"
