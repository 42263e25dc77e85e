#!/usr/bin/env python3
"""The catalogs' checks, as the desktops' pipelines run them.

  check_catalogs.py potfiles SOURCE_DIR          every file with a marked text is listed
  check_catalogs.py pot SOURCE_DIR XGETTEXT       po/tessaron.pot is what xgettext makes now
  check_catalogs.py write-pot SOURCE_DIR XGETTEXT writes po/tessaron.pot anew
  check_catalogs.py complete PO POT               nothing untranslated or fuzzy, nothing new
  check_catalogs.py letters PO|POT                access letters unique within each menu

Each prints what it found wrong and exits 1; 0 when all holds.
"""
import os
import re
import subprocess
import sys
import tempfile

# The folders whose files may hold texts a user meets.
SOURCE_FOLDERS = ["commands", "core", "layout", "timezones", "platform", "i18n", "tools"]
MARKED = re.compile(r'\b(?:i18nc?|qi18n|I18NC?_NOOP)\(\s*"')
# The translators' contexts of the menus: their captions share access letters.
MENU_CONTEXTS = ("menu bar", "Options menu", "Help menu")


def listed(source_dir):
    with open(os.path.join(source_dir, "po", "POTFILES.in"), encoding="utf-8") as f:
        return {line.strip() for line in f if line.strip() and not line.startswith("#")}


def potfiles(source_dir):
    found = set()
    for folder in SOURCE_FOLDERS:
        for root, _, files in os.walk(os.path.join(source_dir, folder)):
            for name in files:
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    # A text in a comment is an example, which xgettext does not take either.
                    code = re.sub(r"//[^\n]*", "", f.read())
                    if MARKED.search(code):
                        found.add(os.path.relpath(path, source_dir))
    names = listed(source_dir)
    problems = [f"{p}: has marked texts but is not in po/POTFILES.in" for p in sorted(found - names)]
    problems += [f"{p}: listed in po/POTFILES.in but not found"
                 for p in sorted(names) if not os.path.isfile(os.path.join(source_dir, p))]
    return problems


def without_date(text):
    """The template as its translators use it: without its date and without the source
    lines each text stands on, which move with every edit above them."""
    text = re.sub(r'"POT-Creation-Date: [^"]*"\n', "", text)
    return re.sub(r"^#: .*\n", "", text, flags=re.M)


# The program's texts (C++, KDE's numbered placeholders), then the desktop entry's and the
# metainfo's (xgettext knows both formats by their names).
CXX_OPTIONS = ["--language=C++", "--kde", "--keyword=i18n:1", "--keyword=i18nc:1c,2",
               "--keyword=qi18n:1", "--keyword=I18N_NOOP:1", "--keyword=I18NC_NOOP:1c,2",
               "--flag=i18n:1:kde-format", "--flag=i18nc:2:kde-format",
               "--flag=qi18n:1:kde-format"]
COMMON_OPTIONS = ["--from-code=UTF-8", "--package-name=Tessaron",
                  "--msgid-bugs-address=tessaron@example.org", "--add-comments=TRANSLATORS:",
                  "--sort-by-file", "--no-wrap"]


def make_pot(source_dir, xgettext, out):
    names = sorted(listed(source_dir))
    code = [n for n in names if n.endswith((".cpp", ".h"))]
    other = [n for n in names if n not in code]
    subprocess.run([xgettext, *COMMON_OPTIONS, *CXX_OPTIONS, "--output", out, *code],
                   check=True, cwd=source_dir)
    if other:
        subprocess.run([xgettext, *COMMON_OPTIONS, "--join-existing", "--output", out, *other],
                       check=True, cwd=source_dir)


def pot(source_dir, xgettext):
    with tempfile.TemporaryDirectory() as tmp:
        fresh = os.path.join(tmp, "tessaron.pot")
        make_pot(source_dir, xgettext, fresh)
        with open(fresh, encoding="utf-8") as f:
            made = without_date(f.read())
    with open(os.path.join(source_dir, "po", "tessaron.pot"), encoding="utf-8") as f:
        kept = without_date(f.read())
    if made == kept:
        return []
    return ["po/tessaron.pot is out of date: build the target tessaron-pot "
            "(then tessaron-po-update) and commit it"]


def entries(path):
    """(context, msgid, msgstr, flags) of each entry but the header."""
    out = []
    with open(path, encoding="utf-8") as f:
        blocks = f.read().strip().split("\n\n")
    for block in blocks:
        ctx, fields, flags, field = None, {"msgid": [], "msgstr": []}, "", None
        for line in block.split("\n"):
            if line.startswith("#,"):
                flags += line
            elif line.startswith("msgctxt "):
                ctx, field = [line[8:]], "ctx"
            elif line.startswith("msgid "):
                field = "msgid"
                fields[field].append(line[6:])
            elif line.startswith("msgstr "):
                field = "msgstr"
                fields[field].append(line[7:])
            elif line.startswith('"') and field:
                (ctx if field == "ctx" else fields[field]).append(line)
            elif line.startswith("#~"):
                field = None
        unq = lambda parts: "".join(eval(p) for p in parts)  # noqa: E731  PO strings are C strings
        if not fields["msgid"]:
            continue
        msgid = unq(fields["msgid"])
        if msgid == "" and ctx is None:
            continue
        out.append((unq(ctx) if ctx else None, msgid, unq(fields["msgstr"]), flags))
    return out


def complete(po, pot_path):
    problems = []
    # Merged with the template first, a text added to the program and not yet to the
    # catalog shows as untranslated too.
    with tempfile.TemporaryDirectory() as tmp:
        merged = os.path.join(tmp, "merged.po")
        subprocess.run(["msgmerge", "--quiet", "--no-fuzzy-matching", "--no-wrap", "-o", merged,
                        po, pot_path], check=True)
        for ctx, msgid, msgstr, flags in entries(merged):
            where = f"{os.path.basename(po)}: " + (f"[{ctx}] " if ctx else "") + repr(msgid)
            if "fuzzy" in flags:
                problems.append(f"{where} is fuzzy")
            elif msgstr == "":
                problems.append(f"{where} is untranslated")
    return problems


def access_letter(caption):
    letters = [caption[i + 1] for i in range(len(caption) - 1)
               if caption[i] == "&" and caption[i + 1] != "&" and (i == 0 or caption[i - 1] != "&")]
    return letters


def letters(path):
    problems = []
    menus = {}
    is_template = path.endswith(".pot")
    for ctx, msgid, msgstr, _ in entries(path):
        if ctx not in MENU_CONTEXTS:
            continue
        caption = msgid if is_template or not msgstr else msgstr
        found = access_letter(caption)
        if len(found) != 1:
            problems.append(f"{os.path.basename(path)}: [{ctx}] {caption!r} has "
                            f"{len(found)} access letters, not one")
            continue
        menus.setdefault(ctx, {}).setdefault(found[0].casefold(), []).append(caption)
    for ctx, by_letter in menus.items():
        for letter, captions in by_letter.items():
            if len(captions) > 1:
                problems.append(f"{os.path.basename(path)}: [{ctx}] access letter {letter!r} "
                                f"is shared by {captions}")
    return problems


def main(argv):
    command = argv[1]
    if command == "potfiles":
        problems = potfiles(argv[2])
    elif command == "pot":
        problems = pot(argv[2], argv[3])
    elif command == "write-pot":
        make_pot(argv[2], argv[3], os.path.join(argv[2], "po", "tessaron.pot"))
        problems = []
    elif command == "complete":
        problems = complete(argv[2], argv[3])
    elif command == "letters":
        problems = letters(argv[2])
    else:
        print(__doc__)
        return 2
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
