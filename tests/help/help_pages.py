"""Reads the help pages as files: one parser pass per page, shared by the checks below."""

import html.parser
import os
import re
import urllib.parse

# Schemes and forms that reach outside help/; the pages must work offline.
EXTERNAL = re.compile(r"^(?:[a-zA-Z][a-zA-Z0-9+.-]*:|//)")

# Kana, kanji, Japanese punctuation and full-width forms. The ideographic space
# and the full-width low line are left out: the answer dialog's pattern line of
# ○ and ＿ reads the same in every language.
JAPANESE = re.compile("[\u3001-\u303f\u3040-\u30ff\u3400-\u4dbf\u4e00-\u9fff"
                      "\uf900-\ufaff\uff01-\uff3e\uff40-\uffef]")

# Elements without an end tag, which never hold text of their own.
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}

# The elements whose order makes up a page's outline.
OUTLINE = {"h1", "h2", "h3", "table", "tr", "dt", "li", "img", "pre"}


class Page(html.parser.HTMLParser):
    def __init__(self, path):
        super().__init__(convert_charrefs=True)
        self.path = path
        self.name = os.path.basename(path)
        self.doctype = None
        self.lang = None
        self.charset = None
        self.title = ""
        self.ids = set()
        self.links = []  # (tag, attribute, value)
        self.images = []  # attribute dicts of <img>
        self.scripts = 0
        self.handlers = []  # on* attributes
        self.text_parts = []
        self.tables = []  # list of rows; a row is a list of cell texts
        self.kbd_texts = []
        self.texts_by_lang = {}  # language -> texts and attribute values written in it
        self.outline = []  # OUTLINE elements in document order
        self._open = []  # (tag, lang) of the open elements
        self._in_title = False
        self._skip = 0
        self._cell = None
        self._row = None
        self._kbd = None
        with open(path, encoding="utf-8") as f:
            self.source = f.read()
        self.feed(self.source)
        self.close()

    def handle_decl(self, decl):
        self.doctype = decl

    def _lang(self):
        return next((lang for _, lang in reversed(self._open) if lang), None)

    def _note(self, lang, text):
        self.texts_by_lang.setdefault(lang, []).append(text)

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag not in VOID:
            self._open.append((tag, a.get("lang")))
        lang = a.get("lang") or self._lang()
        for key in ("alt", "title", "aria-label"):
            if a.get(key):
                self._note(lang, a[key])
        if tag in OUTLINE:
            self.outline.append(tag)
        for key, value in attrs:
            if key.startswith("on"):
                self.handlers.append(key)
            if key == "id":
                self.ids.add(value)
            if key in ("href", "src", "srcset", "poster", "data", "action"):
                self.links.append((tag, key, value or ""))
        if tag == "html":
            self.lang = a.get("lang")
        elif tag == "meta" and "charset" in a:
            self.charset = a["charset"]
        elif tag == "title":
            self._in_title = True
        elif tag == "script":
            self.scripts += 1
        elif tag == "img":
            self.images.append(a)
        elif tag == "table":
            self.tables.append([])
        elif tag == "tr":
            self._row = []
        elif tag in ("td", "th"):
            self._cell = []
        elif tag == "kbd":
            self._kbd = []
        if tag in ("script", "style"):
            self._skip += 1

    def handle_endtag(self, tag):
        if any(t == tag for t, _ in self._open):
            while self._open and self._open.pop()[0] != tag:
                pass
        if tag == "title":
            self._in_title = False
        elif tag in ("td", "th") and self._cell is not None and self._row is not None:
            self._row.append(" ".join("".join(self._cell).split()))
            self._cell = None
        elif tag == "tr" and self._row is not None and self.tables:
            self.tables[-1].append(self._row)
            self._row = None
        elif tag == "kbd" and self._kbd is not None:
            self.kbd_texts.append("".join(self._kbd))
            self._kbd = None
        if tag in ("script", "style") and self._skip:
            self._skip -= 1

    def handle_data(self, data):
        self._note(self._lang(), data)
        if self._in_title:
            self.title += data
        if self._skip:
            return
        self.text_parts.append(data)
        if self._cell is not None:
            self._cell.append(data)
        if self._kbd is not None:
            self._kbd.append(data)

    @property
    def text(self):
        return "".join(self.text_parts)


    def text_in(self, lang):
        return "".join(self.texts_by_lang.get(lang, []))

    def text_not_in(self, lang):
        return "".join("".join(parts) for key, parts in self.texts_by_lang.items() if key != lang)


def load_pages(help_dir):
    pages = {}
    for name in sorted(os.listdir(help_dir)):
        if name.endswith(".html"):
            pages[name] = Page(os.path.join(help_dir, name))
    return pages


def split_target(page, value):
    """A local reference as (file path or None for the page itself, fragment)."""
    parts = urllib.parse.urlsplit(value)
    fragment = urllib.parse.unquote(parts.fragment)
    if not parts.path:
        return None, fragment
    base = os.path.dirname(page.path)
    return os.path.normpath(os.path.join(base, urllib.parse.unquote(parts.path))), fragment
