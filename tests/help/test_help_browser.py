#!/usr/bin/env python3
"""The help pages in a real browser: each loads without console messages, keeps
its title once rendered, and gets a screenshot through scripts/screenshot-help.

Usage: test_help_browser.py HELP_DIR SCREENSHOT_SCRIPT OUTDIR
Exits 77 (skipped) when no chromium is installed.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

from help_pages import Page, load_pages

HELP_DIR = SCREENSHOT_SCRIPT = OUT_DIR = None
BROWSER = shutil.which("chromium") or shutil.which("chromium-browser")
FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
]


def load_in_browser(path):
    """The rendered DOM and the console lines chromium logged for one page."""
    with tempfile.TemporaryDirectory() as profile:
        run = subprocess.run(
            [BROWSER, *FLAGS, f"--user-data-dir={profile}", "--enable-logging=stderr", "--v=0",
             "--dump-dom", "file://" + os.path.abspath(path)],
            capture_output=True, text=True, timeout=120)
    console = [line for line in run.stderr.splitlines() if ":CONSOLE" in line]
    return run.returncode, run.stdout, console


def png_pixels_vary(path):
    """Size of a PNG and whether its image data is more than one flat colour."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None, False
    width, height = struct.unpack(">II", data[16:24])
    idat, pos = b"", 8
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if kind == b"IDAT":
            idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    # Filtered rows of a blank page hold a handful of byte values; text gives many.
    return (width, height), len(set(zlib.decompress(idat))) > 32


class HelpInBrowserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # (language, folder under help/, the prefix of its screenshots' names)
        languages = [("ja", "", "help-"), ("en", "en", "help-en-")]
        cls.pages = [(lang, prefix, page) for lang, folder, prefix in languages
                     for page in load_pages(os.path.join(HELP_DIR, folder)).values()]

    def test_console_messages_are_caught(self):
        # A page that logs must be seen logging, or a clean run below proves nothing.
        with tempfile.TemporaryDirectory() as tmp:
            bad = os.path.join(tmp, "bad.html")
            with open(bad, "w", encoding="utf-8") as f:
                f.write('<!DOCTYPE html><html lang="ja"><head><meta charset="utf-8">'
                        "<title>t</title></head><body><script>console.error('x')</script>"
                        "</body></html>")
            _, _, console = load_in_browser(bad)
        self.assertTrue(console, "chromium logged no console line for console.error")

    def test_each_page_loads_cleanly_with_its_title(self):
        for lang, _, page in self.pages:
            with self.subTest(page=page.path):
                code, dom, console = load_in_browser(page.path)
                self.assertEqual(code, 0)
                self.assertEqual(console, [])
                with tempfile.NamedTemporaryFile("w", suffix=".html", encoding="utf-8",
                                                 delete=False) as f:
                    f.write(dom)
                try:
                    rendered = Page(f.name)
                finally:
                    os.unlink(f.name)
                self.assertEqual(rendered.title, page.title)
                self.assertEqual(rendered.lang, lang)

    def test_screenshots_show_every_page(self):
        shutil.rmtree(OUT_DIR, ignore_errors=True)
        run = subprocess.run([SCREENSHOT_SCRIPT, OUT_DIR], capture_output=True, text=True,
                             timeout=300 + 120 * len(self.pages))
        self.assertEqual(run.returncode, 0, run.stderr)
        for _, prefix, page in self.pages:
            with self.subTest(page=page.path):
                png = os.path.join(OUT_DIR, prefix + page.name[:-len(".html")] + ".png")
                self.assertTrue(os.path.isfile(png))
                size, varied = png_pixels_vary(png)
                self.assertEqual(size, (1000, 1400))
                self.assertTrue(varied, "blank screenshot")


if __name__ == "__main__":
    HELP_DIR, SCREENSHOT_SCRIPT, OUT_DIR = sys.argv[1:4]
    del sys.argv[1:4]
    if not BROWSER:
        print("SKIP: chromium is not installed (Debian package chromium)")
        sys.exit(77)
    unittest.main(verbosity=2)
