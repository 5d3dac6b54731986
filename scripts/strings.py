#!/usr/bin/env python3
"""Maintains data/StringTables.csv, the program's interface texts in four languages.

The shipped file is UTF-16 (little endian, with a byte-order mark); each row reads

    <id;English;Greek;French;German;id>

and rows are separated by CR LF.  The program finds a row by searching for "<" and
the id, so the rows must stand in ascending numeric order (the row of 12 before the
row of 120), and no text may hold ";" (the field separator), "<" or ">".  A "~" in a
text is a line break.

The readable working copy is scripts/strings/StringTables.utf8.txt (UTF-8, one row a
line: "id | English | Greek | French | German", "#" starts a comment line).  Further
*.txt files in scripts/strings/ (one per area of the program) are read with it; build
sorts all rows by id and refuses an id that has two rows.

    python3 scripts/strings.py build   working copy -> data/StringTables.csv, then check
    python3 scripts/strings.py check   read data/StringTables.csv back and check it

The check reads the shipped file as UTF-16, checks every row's fields, ascending and
unique ids, non-empty texts, runs the program's own lookup rule over every id and
language, and lists every id the program uses that has no row (REQUIRED_IDS below).
It exits with status 1 when anything is wrong.
"""

import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
WORKING_COPY = os.path.join(HERE, "strings", "StringTables.utf8.txt")
SHIPPED = os.path.join(ROOT, "data", "StringTables.csv")

LANGS = ("English", "Greek", "French", "German")
GREEK_QUESTION_MARK = "\u037e"
NO_BREAK_SPACE = "\u00a0"


def _span(first, last):
    return list(range(first, last + 1))


# Every string id the program passes to its lookup or carries in a control's tag,
# grouped by where it shows.
REQUIRED_IDS = sorted(set(
    # timers window: labels (tags of lbl 1..10), frames, notice, quick-record name
    [1, 5, 6, 11, 12, 13, 25, 950, 951, 952, 954, 955, 956]
    # timers window: menus (File, Options, Help)
    + [24, 49, 50, 51, 53, 54, 958, 959, 977]
    # running timer in the balloon and the start label of an unstarted timer
    + [60, 61, 83]
    # timers window: messages and the quick-record project label
    + [70, 71, 72, 73, 74, 75, 84, 85, 92]
    # timers window: a save or a parked timer the database refused
    + [1620, 1621]
    # timers window: status-line hints of its buttons
    + _span(76, 82)
    # tray menu
    + _span(86, 90)
    # timers window: add and remove buttons
    + [901, 902]
    # main window: toolbar tooltips and captions, leave button
    + _span(96, 103) + [980]
    # main window: connection indicator, hints and balloons
    + _span(105, 110)
    # main window: language flags
    + _span(111, 115)
    # main window: synchronisation question, daily download, expenses refusal
    + _span(120, 127)
    # main window: person label
    + [627]
    # task loader
    + [401, 403, 410, 411, 413, 414, 415, 416, 906, 907, 960, 961]
    # sign-in window: captions (tags), menu, messages and results
    + [287, 600, 601, 602, 603, 620, 621, 622, 623, 625, 626, 628, 630,
       905, 970, 971, 972, 973, 974]
    # service client: status line, request progress, download errors
    + [817, 821, 920, 923, 924, 926, 929, 930, 979]
    # version check
    + [1000, 1001, 1002, 1015]
    # overlapping time spans
    + _span(1003, 1006)
    # start-up: first run, failed creation, new person
    + _span(1007, 1014) + [1314]
    # start-up: the encryption component is missing
    + [1016]
    # database creation progress
    + _span(1300, 1313)
    # texts of reply codes
    + _span(1400, 1417)
    # daily log window: captions, menus, send states, saving and sending one entry
    + [201, 202, 203, 204, 205, 209, 210, 211, 213, 220, 230, 231, 232, 233, 255, 256,
       270, 271, 272, 273, 277, 278, 284, 285, 289, 290, 291, 360, 361, 362, 363,
       900, 903, 904, 1030, 1031, 1032]
    # daily log window: its commands, Days and Help menus, their questions and hints
    + [276, 279, 280, 281, 282, 286, 287, 288, 350, 351, 352, 366, 905, 950, 952, 956, 977, 978]
    + _span(1033, 1037)
    # synchronisation window: captions, menus, day frames, send, transport log, views
    + [801, 802] + _span(803, 809) + _span(813, 815) + _span(817, 822) + _span(824, 848) + [855, 856, 857, 862]
    + _span(880, 886) + [905, 907, 928, 958, 959, 960, 961, 979]
    # synchronisation window: a command waiting for another exchange to end
    + [1860]
    # message box buttons: Yes, No, Cancel, Abort, Retry, Ignore
    + _span(1500, 1505)
    # daily log window, entry editor: row tips, no day shown, a time inside another entry
    + _span(249, 254) + [364, 369, 370]
    # day calendar: a day after today, a day that already has entries
    + [365, 371]
    # daily expenses window: captions, menus, field checks, records and upload
    + [230, 231, 232, 233, 270, 271, 272, 273, 274, 275, 278, 279, 280, 281, 282, 284, 285,
       286, 288, 289, 290, 291, 301, 302, 303, 307, 308, 309, 310, 311, 312, 320, 341, 342,
       343, 353, 355, 356, 357, 358, 359, 365, 900, 903, 904, 949]
    # daily expenses window: commands, deletes, sending the day, the calculator
    + [300, 330, 331, 350, 351, 352, 360, 361, 364, 978, 1710, 1711, 1712]
    # daily log and expenses window: one row with unsaved changes
    + _span(1880, 1883)
    # help window: menu, missing help, toolbar hints, fall-back to English
    + _span(500, 514) + [1506]
    # video window: about panel, missing and refused videos
    + _span(1200, 1206)
    # options window: captions, option tree, messages, status lines
    + [49, 112, 113, 114, 115, 201, 202, 287, 621, 622, 623, 624, 629, 631, 903, 905,
       970, 972, 1500, 1501] + _span(701, 720) + _span(722, 768)
))

ROW_RE = re.compile(r"<(\d+);([^;<>]*);([^;<>]*);([^;<>]*);([^;<>]*);(\d+)>")


def working_copy_files():
    """The main working copy, then every further *.txt beside it (one per area of the
    program), so that rows of different areas are kept in files of their own."""
    folder = os.path.dirname(WORKING_COPY)
    others = sorted(os.path.join(folder, n) for n in os.listdir(folder)
                    if n.endswith(".txt") and os.path.join(folder, n) != WORKING_COPY)
    return [WORKING_COPY] + others


def read_working_copy(paths=None):
    rows = []
    errors = []
    for path in paths or working_copy_files():
        _read_one(path, rows, errors)
    rows.sort(key=lambda r: r[0])
    seen = set()
    for i, _ in rows:
        if i in seen:
            errors.append(f"id {i} has more than one row")
        seen.add(i)
    return rows, errors


def _read_one(path, rows, errors):
    name = os.path.basename(path)
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            parts = [p.strip() for p in line.split("|")]
            if len(parts) != 5 or not parts[0].isdigit():
                errors.append(f"{name} line {n}: expected 'id | en | el | fr | de'")
                continue
            texts = parts[1:]
            for t in texts:
                if not t or any(c in t for c in ";<>"):
                    errors.append(f"{name} line {n}: empty text or one holding ';', '<' or '>'")
            texts[1] = texts[1].replace("?", GREEK_QUESTION_MARK)
            texts[2] = re.sub(r" ([:?!»])", NO_BREAK_SPACE + r"\1", texts[2])
            texts[2] = texts[2].replace("« ", "«" + NO_BREAK_SPACE)
            rows.append((int(parts[0]), texts))


def build():
    rows, errors = read_working_copy()
    if errors:
        print("\n".join(errors))
        return 1
    lines = [f"<{i};{';'.join(t)};{i}>" for i, t in rows]
    data = "\r\n".join(lines) + "\r\n"
    os.makedirs(os.path.dirname(SHIPPED), exist_ok=True)
    with open(SHIPPED, "wb") as f:
        f.write(b"\xff\xfe" + data.encode("utf-16-le"))
    print(f"wrote {SHIPPED}: {len(rows)} rows")
    return check()


def _get_between(text, start, end):
    p = text.find(start)
    if p < 0:
        return ""
    q = text.find(end, p + len(start))
    if q < 0:
        return ""
    return text[p + len(start):q].strip(" ")


def _get_field(text, n, sep):
    # Field n of text split at sep, the way the program reads it (a field past the
    # last one gives the last field).
    if n == 1:
        p = text.lower().find(sep.lower())
        return text if p < 0 else text[:p].strip(" ")
    p = text.lower().find(sep.lower())
    rest = text if p < 0 else text[p + len(sep):]
    return _get_field(rest.strip(" "), n - 1, sep)


def lookup(table, string_id, lang_id):
    """The program's lookup: first row found by "<id", fallback to English."""
    row = _get_between(table, f"<{string_id}", f"{string_id}>")
    if not row:
        return ""
    text = _get_field(row, lang_id + 2, ";")
    return text if text else _get_field(row, 2, ";")


def check(path=SHIPPED):
    problems = []
    raw = open(path, "rb").read()
    if not raw.startswith(b"\xff\xfe"):
        problems.append("the file does not start with the UTF-16 LE byte-order mark")
    try:
        table = raw.decode("utf-16")
    except UnicodeDecodeError as e:
        print(f"not UTF-16 text: {e}")
        return 1

    ids = []
    texts_of = {}
    for n, line in enumerate(table.split("\r\n"), 1):
        if line == "":
            continue
        m = ROW_RE.fullmatch(line)
        if not m:
            fields = line.count(";") + 1
            problems.append(f"line {n}: not a well-formed row ({fields} fields): {line[:60]}")
            continue
        first, last = int(m.group(1)), int(m.group(6))
        if first != last or m.group(1) != str(first) or m.group(6) != str(last):
            problems.append(f"line {n}: opening id {m.group(1)} and closing id {m.group(6)} differ")
        texts = [m.group(k) for k in range(2, 6)]
        for lang, t in zip(LANGS, texts):
            if not t.strip():
                problems.append(f"id {first}: empty {lang} text")
            elif t != t.strip():
                problems.append(f"id {first}: {lang} text has leading or trailing spaces")
            if f"{first}>" in t:
                problems.append(f"id {first}: {lang} text holds its row's closing marker")
            if "\t" in t or "|" in t:
                problems.append(f"id {first}: {lang} text holds a tab or '|'")
        if ids and first <= ids[-1]:
            problems.append(f"id {first} after {ids[-1]}: ids must be ascending and unique")
        ids.append(first)
        texts_of[first] = texts

    # The lookup itself must find exactly each row's own texts.
    for i, texts in texts_of.items():
        for lang_id, t in enumerate(texts):
            got = lookup(table, i, lang_id)
            if got != t:
                problems.append(f"id {i}, {LANGS[lang_id]}: lookup gives {got[:40]!r}, row holds {t[:40]!r}")

    missing = [i for i in REQUIRED_IDS if i not in texts_of]
    unused = [i for i in texts_of if i not in REQUIRED_IDS]

    print(f"{path}: {len(ids)} rows, ids {ids[0] if ids else '-'} to {ids[-1] if ids else '-'}")
    print(f"ids the program uses without a row: {missing if missing else 'none'}")
    if unused:
        print(f"rows no part of the program uses: {unused}")
    for p in problems:
        print("problem:", p)
    return 1 if (problems or missing) else 0


def main(argv):
    cmd = argv[1] if len(argv) > 1 else "check"
    if cmd == "build":
        return build()
    if cmd == "check":
        return check(argv[2] if len(argv) > 2 else SHIPPED)
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
