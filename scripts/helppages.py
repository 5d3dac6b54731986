#!/usr/bin/env python3
"""Writes the help pages of the program into data/ from the texts in scripts/help/.

    python3 scripts/helppages.py

Each page of scripts/help/<language>.py becomes data/<page>_<n>.htm (n: 0 English, 1 Greek,
2 French, 3 German), and each language's error page becomes data/hlp_err_<n>.htm. The pages
are plain HTML (UTF-8) that the help window shows; links between pages name a page without its
language, and the help window opens the page of the reader's language.
"""

import html
import importlib.util
import os

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DATA = os.path.join(ROOT, "data")
LANGUAGES = ("en", "el", "fr", "de")

TEMPLATE = """<!DOCTYPE html>
<html lang="{lang}">
<head>
<meta charset="utf-8">
<title>{title}</title>
<style>
body {{ font-family: Arial, sans-serif; font-size: 10pt; }}
h2 {{ color: #1f3f6e; font-size: 13pt; }}
h3 {{ color: #1f3f6e; font-size: 11pt; }}
th {{ background-color: #e8eef7; }}
</style>
</head>
<body>
<h2>{title}</h2>
{body}
{footer}</body>
</html>
"""


def load(lang):
    path = os.path.join(HERE, "help", lang + ".py")
    spec = importlib.util.spec_from_file_location("help_" + lang, path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def write(name, text):
    with open(os.path.join(DATA, name), "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main():
    first = load(LANGUAGES[0])
    for n, lang in enumerate(LANGUAGES):
        texts = load(lang)
        missing = set(first.PAGES) - set(texts.PAGES)
        if missing:
            raise SystemExit("helppages: %s lacks %s" % (lang, ", ".join(sorted(missing))))
        footer_link = '<hr>\n<p><a href="hlp_index.htm">%s</a></p>\n' % html.escape(texts.CONTENTS)
        for page, (title, body) in texts.PAGES.items():
            footer = "" if page == "hlp_index" else footer_link
            write("%s_%d.htm" % (page, n),
                  TEMPLATE.format(lang=lang, title=html.escape(title), body=body.strip(), footer=footer))
        write("hlp_err_%d.htm" % n,
              TEMPLATE.format(lang=lang, title=html.escape(texts.ERROR_TITLE), body=texts.ERROR_BODY.strip(),
                              footer=""))
    print("helppages: %d pages in %d languages written to %s" % (len(first.PAGES) + 1, len(LANGUAGES), DATA))


if __name__ == "__main__":
    main()
