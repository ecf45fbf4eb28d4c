"""Reads the help pages as files: one parser pass per page, shared by the checks below."""

import html.parser
import os
import re
import urllib.parse

# Schemes and forms that reach outside help/; the pages must work offline.
EXTERNAL = re.compile(r"^(?:[a-zA-Z][a-zA-Z0-9+.-]*:|//)")


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

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
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
