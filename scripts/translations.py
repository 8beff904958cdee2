#!/usr/bin/env python3
"""Maintenance of the interface translations (resources/translations/*.ts).

    translations.py status FILE.ts...          unfinished or empty messages per file (exit 1 if any)
    translations.py export FILE.ts [--all]      the unfinished messages as JSON, ready to translate
    translations.py apply FILE.ts TEXTS.json    write translations from JSON and mark them finished
    translations.py identity FILE.ts            source language: a text without a translation gets
                                                its source (the English source texts keep theirs)

The JSON of export and apply is a list of {"context", "source", "translation"} objects (a
"comment" key, when lupdate found one, is carried along and used to tell messages apart).
Files are written back through lconvert, so they keep lupdate's own layout.
"""

import json
import subprocess
import sys
import xml.etree.ElementTree as ET


def load(path):
    return ET.parse(path)


def live_messages(tree):
    """(context name, message element) of every message still in the sources."""
    for context in tree.getroot().iter("context"):
        name = context.findtext("name", default="")
        for message in context.iter("message"):
            translation = message.find("translation")
            kind = translation.get("type") if translation is not None else None
            if kind in ("vanished", "obsolete"):
                continue
            yield name, message


def is_finished(message):
    translation = message.find("translation")
    if translation is None or translation.get("type") == "unfinished":
        return False
    forms = translation.findall("numerusform")
    if forms:
        return all((form.text or "").strip() for form in forms)
    return bool((translation.text or "").strip())


def key(context, message):
    return (context, message.findtext("source", default=""), message.findtext("comment", default=""))


def save(tree, path):
    tree.write(path, encoding="utf-8", xml_declaration=True)
    # lconvert rewrites the file in lupdate's layout (DOCTYPE, indentation, escapes).
    subprocess.run(["lconvert", "-i", path, "-o", path], check=True, timeout=120)


def status(paths):
    missing = 0
    for path in paths:
        messages = list(live_messages(load(path)))
        open_ones = [m for m in messages if not is_finished(m[1])]
        missing += len(open_ones)
        print(f"{path}: {len(messages)} messages, {len(open_ones)} unfinished or empty")
        for context, message in open_ones:
            print(f"    {context}: {message.findtext('source')!r}")
    return 1 if missing else 0


def export(path, everything):
    rows = []
    for context, message in live_messages(load(path)):
        if everything or not is_finished(message):
            row = {"context": context, "source": message.findtext("source", default=""),
                   "translation": message.findtext("translation", default="")}
            comment = message.findtext("comment")
            if comment:
                row["comment"] = comment
            rows.append(row)
    json.dump(rows, sys.stdout, ensure_ascii=False, indent=1)
    print()
    return 0


def set_translation(message, text):
    translation = message.find("translation")
    if translation is None:
        translation = ET.SubElement(message, "translation")
    translation.attrib.pop("type", None)
    translation.text = text


def apply(path, texts_path):
    with open(texts_path, encoding="utf-8") as handle:
        rows = json.load(handle)
    wanted = {(row["context"], row["source"], row.get("comment", "")): row["translation"]
              for row in rows}
    tree = load(path)
    used = set()
    for context, message in live_messages(tree):
        k = key(context, message)
        if k in wanted and wanted[k].strip():
            set_translation(message, wanted[k])
            used.add(k)
    save(tree, path)
    unknown = set(wanted) - used
    for context, source, _ in sorted(unknown):
        print(f"not in {path} (or empty): {context}: {source!r}", file=sys.stderr)
    print(f"{path}: {len(used)} translations written")
    return 0


def identity(path):
    tree = load(path)
    for _, message in live_messages(tree):
        # Spanish texts stand for themselves; the few English source texts (the clock, the
        # calculator, the media player) have a Spanish translation that must survive a refresh.
        if not is_finished(message):
            set_translation(message, message.findtext("source", default=""))
    save(tree, path)
    return 0


def main(argv):
    if len(argv) >= 2 and argv[0] == "status":
        return status(argv[1:])
    if len(argv) in (2, 3) and argv[0] == "export":
        return export(argv[1], argv[2:] == ["--all"])
    if len(argv) == 3 and argv[0] == "apply":
        return apply(argv[1], argv[2])
    if len(argv) == 2 and argv[0] == "identity":
        return identity(argv[1])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
