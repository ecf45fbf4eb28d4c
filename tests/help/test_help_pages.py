#!/usr/bin/env python3
"""The help pages as files: self-contained, linked together, and naming the
program's controls, menu items and keys exactly as the program shows them.

Usage: test_help_pages.py HELP_DIR
"""

import glob
import os
import re
import sys
import unittest
from xml.etree import ElementTree

from help_pages import EXTERNAL, JAPANESE, load_pages, split_target

HELP_DIR = None

# Menu items, captions and fixed texts of the windows as they appear on screen,
# in Japanese and in English ("&" shows as an underlined letter, so the text
# reads without it). The program holds each of them in its resource tables.
RESOURCE_TEXTS = [
    # main window buttons
    ("チェック開始", "Start Check"), ("分からない！", "Don't know!"),
    ("初めからやり直す(C)", "Clear and Restart"), ("終了(X)", "Exit"),
    *((t, t) for t in ("8kHz", "16kHz", "+1kHz", "-1kHz", "+100Hz", "-100Hz", "+10Hz", "-10Hz")),
    # group boxes and displays
    ("現在の周波数", "Current Frequency"), ("周波数手動設定", "Set the Frequency"),
    ("可聴チェック", "Hearing Check"), ("音の鳴った回数", "How Many Times the Tone Sounded"),
    ("最高可聴周波数", "Highest Audible Frequency"), ("正答率", "Correct Answers"),
    # menu
    ("ファイル(F)", "File"),
    ("指定した周波数のWAVEファイルを作成する(S)", "Create a WAVE File at a Frequency"),
    ("サウンド(S)", "Sound"), ("音量の設定(V)", "Volume Setting"),
    ("周波数を自動的に変える(A)", "Change the Frequency Automatically"),
    ("現在の周波数で連続音を鳴らす(C)", "Play a Continuous Tone at the Current Frequency"),
    ("無音データを鳴らす(ノイズチェック用) (N)", "Play Silence (for a Noise Check)"),
    ("記録を確かめる(R)", "Confirm the Record"),
    ("ヘルプ(H)", "Help"), ("使い方について(U)", "Using Kelvora"), ("Kelvoraについて(A)", "About Kelvora"),
    # the ear submenu
    ("検査する耳(E)", "Ear to Test"), ("両耳(B)", "Both Ears"), ("左耳(L)", "Left Ear"),
    ("右耳(R)", "Right Ear"),
    # volume dialog
    ("スピーカの音量設定 [Kelvora]", "Speaker Volume [Kelvora]"),
    ("サンプルサウンドの再生(P)", "Play Sample Sound"), ("音量調整の完了(E)", "Done"),
    ("現在の音量設定", "Current Volume"),
    ("音量の上げすぎには十分注意して下さい。", "Never set the volume too high."),
    # answer reveal dialog
    ("○: 有音部 (200 ms), ＿: 無音部 (200ms)", "○: tone (200 ms), ＿: silence (200ms)"),
    # WAVE export dialog
    ("フェイドイン/アウトする", "Fade in and out"), ("視聴(P)", "Preview"),
    ("WAVEファイル作成 (C)", "Create WAVE File"),
    # titles
    ("Kelvora ver 1.000", "Kelvora ver 1.000"),
    # results window (added with the check history)
    ("検査結果の記録(R)...", "Check History..."), ("検査結果の記録 [Kelvora]", "Check History [Kelvora]"),
    ("画像を保存(P)...", "Save Picture..."), ("CSVを保存(C)...", "Save CSV..."), ("閉じる(X)", "Close"),
]

# Texts the program composes or shows from its code.
COMPOSED_TEXTS = [
    ("----- Hz", "----- Hz"), ("---.- %", "---.- %"),
    ("残念！ 正解は 3 回でした。", "Sorry! The answer was 3."),
    ("＿　○　＿　＿　＿　○　＿　○　＿　＿　＿　＿", "＿　○　＿　＿　＿　○　＿　○　＿　＿　＿　＿"),
    ("440.0", "440.0"),
    ("指定された周波数のWAVEファイルは作成出来ません。", "A WAVE file cannot be made at this frequency."),
    ("ファイルを書き込み用にオープン出来ません。", "The file cannot be opened for writing."),
    ("Kelvora ver 1.000 [左耳]", "Kelvora ver 1.000 [Left Ear]"),
    ("Kelvora ver 1.000 [記録の確認 15000 Hz]", "Kelvora ver 1.000 [Confirming 15000 Hz]"),
    ("Kelvora ver 1.000 [記録の確認 14500 Hz　2 回中 2 回正解]",
     "Kelvora ver 1.000 [Confirming 14500 Hz: 2 of 2 right]"),
    ("Kelvora ver 1.000 [記録の確認 14750 Hz　15000 Hz は確かめられず]",
     "Kelvora ver 1.000 [Confirming 14750 Hz: 15000 Hz not confirmed]"),
    ("Kelvora ver 1.000 [確かめた記録 14500 Hz]", "Kelvora ver 1.000 [Confirmed 14500 Hz]"),
    ("kelvora-2026-12-09.png", "kelvora-2026-12-09.png"),
    ("15000 Hz を確かめました（5 回中 4 回正解）。", "15000 Hz confirmed: 4 of 5 right."),
    ("確かめられる周波数が見つかりませんでした。", "No frequency could be confirmed."),
]

# A quotation of a whole sentence, as the pages quote a message or a caption.
QUOTED_SENTENCE = {
    "ja": re.compile(r"「([^」\n]*[。！？])」"),
    "en": re.compile(r'"([^"\n]*[.!?])"'),
}

# Every accelerator key, and the button or menu item whose command it sends.
KEY_TABLE = [
    ("+", "チェック開始", "Start Check"),
    ("-", "分からない！", "Don't know!"),
    ("0", "分からない！", "Don't know!"),
    ("1", "1", "1"),
    ("2", "2", "2"),
    ("3", "3", "3"),
    ("4", "4", "4"),
    ("5", "5", "5"),
    ("?", "分からない！", "Don't know!"),
    ("C", "初めからやり直す(C)", "Clear and Restart"),
    ("↓", "-100Hz", "-100Hz"),
    ("Esc", "終了(X)", "Exit"),
    ("F1", "使い方について(U)", "Using Kelvora"),
    ("Home", "8kHz", "8kHz"),
    ("←", "-10Hz", "-10Hz"),
    ("Page Down", "-1kHz", "-1kHz"),
    ("Page Up", "+1kHz", "+1kHz"),
    ("Enter", "チェック開始", "Start Check"),
    ("→", "+10Hz", "+10Hz"),
    ("Space", "チェック開始", "Start Check"),
    ("↑", "+100Hz", "+100Hz"),
    ("Ctrl+X", "終了(X)", "Exit"),
]

# The English page lists the keys as an English reader looks for them: start
# and answers, the frequency, starting over and ending, help. The Japanese page
# keeps the order of the program's table.
ENGLISH_KEY_ORDER = ["+", "Enter", "Space", "1", "2", "3", "4", "5", "0", "-", "?",
                     "Page Up", "Page Down", "↑", "↓", "→", "←", "Home", "C", "Esc", "Ctrl+X", "F1"]

# The steps that a wrong answer gives, and the fall of the frequency with it.
STAIRCASE = [(2000, 1000), (1000, 500), (500, 250), (250, 100), (100, 50), (50, 10), (10, 10)]


class Language:
    """One language of the help: its folder under help/ and the words its pages use."""

    def __init__(self, code, folder, column, key_header, space_key, staircase_header,
                 key_order=None):
        self.code, self.folder, self.column = code, folder, column
        self.key_table = KEY_TABLE if key_order is None else sorted(
            KEY_TABLE, key=lambda row: key_order.index(row[0]))
        self.key_header, self.space_key, self.staircase_header = key_header, space_key, staircase_header

    def texts(self, table):
        return [row[self.column] for row in table]


JAPANESE_HELP = Language("ja", "", 0, "キー", "（スペースキー）", "それまでのステップ")
ENGLISH_HELP = Language("en", "en", 1, "Key", " (the space bar)", "Previous step",
                        ENGLISH_KEY_ORDER)
LANGUAGES = [JAPANESE_HELP, ENGLISH_HELP]


def language_dir(language):
    return os.path.join(HELP_DIR, language.folder)


def resource_literals():
    """The string literals of the resource tables, without "&", or None."""
    tables = os.path.join(HELP_DIR, os.pardir, "res", "resources.cpp")
    if not os.path.isfile(tables):
        return None
    with open(tables, encoding="utf-8") as f:
        return {m.replace("&", "") for m in re.findall(r'"((?:[^"\\\n]|\\.)*)"', f.read())}


def program_sentences(language):
    """Patterns for every line, and every sentence of a line, that the program
    can show in `language` (its numbers, %1 and so on, match anything), or None."""
    if language.code == "ja":
        tables = os.path.join(HELP_DIR, os.pardir, "res", "resources.cpp")
        if not os.path.isfile(tables):
            return None
        with open(tables, encoding="utf-8") as f:
            source = f.read()
        # Literals side by side are one text, as the compiler joins them.
        texts = ["".join(re.findall(r'"((?:[^"\\\n]|\\.)*)"', run)).replace("\\r\\n", "\n")
                 for run in re.findall(r'(?:"(?:[^"\\\n]|\\.)*"\s*)+', source)]
    else:
        found = glob.glob(os.path.join(HELP_DIR, os.pardir, "res", "**", "*en*.ts"), recursive=True)
        if not found:
            return None
        texts = ["".join(node.itertext()) for path in found
                 for node in ElementTree.parse(path).iter("translation")]
    patterns = set()
    for text in texts:
        for line in text.replace("&", "").split("\n"):
            for part in [line] + re.split(r"(?<=[。！？.!?])\s*", line):
                # A text of placeholders alone ("%1") would match any quotation.
                if len(re.sub(r"%\d|\W", "", part)) >= 3:
                    patterns.add(re.compile(r"%\d".join(re.escape(p) for p in
                                                        re.split(r"%\d", part.strip()))
                                            .replace(r"%\d", ".+?")))
    return patterns


def english_translations():
    """The English texts of the program's translation files, without "&", or None."""
    found = glob.glob(os.path.join(HELP_DIR, os.pardir, "res", "**", "*en*.ts"), recursive=True)
    if not found:
        return None
    texts = set()
    for path in found:
        for message in ElementTree.parse(path).iter("message"):
            for node in message.iter("translation"):
                texts.add("".join(node.itertext()).replace("&", ""))
            # A text with nothing Japanese in it ("8kHz") reads the same untranslated.
            for node in message.iter("source"):
                source = "".join(node.itertext())
                if not JAPANESE.search(source):
                    texts.add(source.replace("&", ""))
    return texts


class PagesOfOneLanguage:
    """The checks every language's pages pass; a subclass per language below."""

    language = None

    @classmethod
    def setUpClass(cls):
        cls.dir = language_dir(cls.language)
        cls.pages = load_pages(cls.dir)
        cls.all_text = "\n".join(p.text for p in cls.pages.values())
        # Every page of every language, for links from one language to the other.
        cls.every_page = {os.path.normpath(p.path): p
                          for lang in LANGUAGES for p in load_pages(language_dir(lang)).values()}

    def test_entry_page_exists(self):
        self.assertIn("index.html", self.pages)

    def test_every_page_is_utf8_html5_in_its_language_with_the_stylesheet(self):
        stylesheet = os.path.normpath(os.path.join(HELP_DIR, "style.css"))
        for name, page in self.pages.items():
            with self.subTest(page=name):
                self.assertEqual((page.doctype or "").lower(), "doctype html")
                self.assertEqual(page.lang, self.language.code)
                self.assertEqual((page.charset or "").lower(), "utf-8")
                self.assertTrue(page.title.strip(), "empty <title>")
                sheets = [split_target(page, v)[0] for t, _, v in page.links if t == "link"]
                self.assertIn(stylesheet, sheets)

    def test_no_scripts_and_no_outside_resources(self):
        for name, page in self.pages.items():
            with self.subTest(page=name):
                self.assertEqual(page.scripts, 0)
                self.assertEqual(page.handlers, [])
                outside = [v for _, _, v in page.links if EXTERNAL.match(v)]
                self.assertEqual(outside, [])

    def test_every_link_and_image_resolves_inside_the_help_folder(self):
        root = os.path.realpath(HELP_DIR)
        for name, page in self.pages.items():
            for tag, attr, value in page.links:
                with self.subTest(page=name, ref=value):
                    path, fragment = split_target(page, value)
                    if path is None:
                        target = page
                    else:
                        self.assertTrue(os.path.realpath(path).startswith(root + os.sep),
                                        "points outside help/")
                        self.assertTrue(os.path.isfile(path), "missing file")
                        target = self.every_page.get(path)
                    if fragment:
                        self.assertIsNotNone(target, "fragment into a non-page")
                        self.assertIn(fragment, target.ids, "missing anchor")

    def test_images_have_text_alternatives(self):
        for name, page in self.pages.items():
            for img in page.images:
                with self.subTest(page=name, img=img.get("src")):
                    self.assertTrue(img.get("alt", "").strip())

    def test_every_page_and_file_is_reachable_from_the_entry(self):
        entry = os.path.normpath(os.path.join(self.dir, "index.html"))
        seen, queue, used = {entry}, [entry], set()
        while queue:
            page = self.every_page[queue.pop()]
            for _, _, value in page.links:
                path, _ = split_target(page, value)
                if path is None:
                    continue
                used.add(path)
                # Stay in this language: the other one is reached from its own entry.
                if path in self.every_page and os.path.dirname(path) == os.path.normpath(self.dir) \
                        and path not in seen:
                    seen.add(path)
                    queue.append(path)
        self.assertEqual({os.path.basename(p) for p in seen}, set(self.pages))
        files = {os.path.normpath(os.path.join(self.dir, f)) for f in os.listdir(self.dir)
                 if os.path.isfile(os.path.join(self.dir, f))
                 and not f.endswith(".html") and f != "CMakeLists.txt"}
        self.assertEqual(files - used, set(), "files no page uses")

    def test_stylesheet_and_images_load_nothing_from_outside(self):
        for name in os.listdir(self.dir):
            if not name.endswith((".css", ".svg")):
                continue
            with self.subTest(file=name):
                with open(os.path.join(self.dir, name), encoding="utf-8") as f:
                    body = f.read()
                self.assertNotIn("@import", body)
                self.assertNotIn("<script", body)
                for ref in re.findall(r"url\(\s*['\"]?([^'\")]+)", body):
                    self.assertFalse(EXTERNAL.match(ref), ref)
                    self.assertTrue(os.path.isfile(os.path.join(self.dir, ref)), ref)
                for ref in re.findall(r"\bhref\s*=\s*['\"]([^'\"]+)", body):
                    self.assertTrue(ref.startswith("#"), ref)

    def test_names_the_programs_texts_exactly(self):
        for text in self.language.texts(RESOURCE_TEXTS + COMPOSED_TEXTS):
            with self.subTest(text=text):
                self.assertTrue(text in self.all_text, f"not named: {text}")

    def test_every_quoted_sentence_is_one_the_program_shows(self):
        # A message or caption quoted in a page reads as the program shows it.
        patterns = program_sentences(self.language)
        if patterns is None:
            self.skipTest("no resource tables or translations beside the help")
        for name, page in self.pages.items():
            for quote in QUOTED_SENTENCE[self.language.code].findall(page.text):
                with self.subTest(page=name, quote=quote):
                    self.assertTrue(any(p.fullmatch(quote) for p in patterns),
                                    f"the program never shows: {quote}")

    def test_key_table_lists_all_22_keys_with_their_commands(self):
        keys = self.pages["keys.html"]
        rows = [r for t in keys.tables for r in t if r and r[0] != self.language.key_header]
        self.assertEqual(len(rows), len(KEY_TABLE))
        for row, (key, *commands) in zip(rows, self.language.key_table):
            with self.subTest(key=key):
                shown = row[0].replace(" + ", "+").replace(self.language.space_key, "")
                self.assertEqual(shown, key)
                self.assertEqual(row[2], commands[self.language.column])

    def test_staircase_table_shrinks_the_step_then_lowers_by_it(self):
        page = self.pages["staircase.html"]
        table = next(t for t in page.tables if t and t[0][0] == self.language.staircase_header)
        body = table[1:]
        self.assertEqual(len(body), len(STAIRCASE))
        for row, (before, after) in zip(body, STAIRCASE):
            with self.subTest(step=before):
                self.assertEqual(row, [f"{before} Hz", f"{after} Hz", f"−{after} Hz"])


class JapanesePagesTest(PagesOfOneLanguage, unittest.TestCase):
    language = JAPANESE_HELP

    def test_named_texts_are_the_ones_the_program_holds(self):
        # A caption changed in the resource tables must be changed here too.
        literals = resource_literals()
        if literals is None:
            self.skipTest("no res/resources.cpp")
        for text in self.language.texts(RESOURCE_TEXTS):
            with self.subTest(text=text):
                self.assertTrue(text in literals, f"not in the resource tables: {text}")


class EnglishPagesTest(PagesOfOneLanguage, unittest.TestCase):
    language = ENGLISH_HELP

    def test_no_japanese_outside_what_is_marked_japanese(self):
        for name, page in self.pages.items():
            with self.subTest(page=name):
                self.assertEqual(JAPANESE.findall(page.title + page.text_in("en")), [])
        for name in os.listdir(self.dir):
            if name.endswith(".svg"):
                with self.subTest(image=name), open(os.path.join(self.dir, name),
                                                    encoding="utf-8") as f:
                    self.assertEqual(JAPANESE.findall(f.read()), [])

    def test_named_texts_are_the_ones_the_program_holds(self):
        # The English texts come from the program's translation file.
        translations = english_translations()
        if translations is None:
            self.skipTest("no English translation file under res/")
        # A caption with nothing Japanese in it ("8kHz") is never translated.
        translations |= {t for t in resource_literals() or () if not JAPANESE.search(t)}
        for text in self.language.texts(RESOURCE_TEXTS):
            with self.subTest(text=text):
                self.assertTrue(text in translations, f"not among the translations: {text}")


class BothLanguagesTest(unittest.TestCase):
    """The English pages mirror the Japanese ones, and each page links to its twin."""

    @classmethod
    def setUpClass(cls):
        cls.pages = {lang.code: load_pages(language_dir(lang)) for lang in LANGUAGES}

    def test_same_pages_with_the_same_anchors_and_outline(self):
        japanese, english = self.pages["ja"], self.pages["en"]
        self.assertEqual(set(english), set(japanese))
        for name, page in japanese.items():
            with self.subTest(page=name):
                self.assertEqual(english[name].ids, page.ids)
                self.assertEqual(english[name].outline, page.outline)

    def test_links_lead_to_the_same_places_in_both_languages(self):
        def targets(lang, page):
            base = os.path.normpath(language_dir(lang))
            found = []
            for tag, _, value in page.links:
                path, fragment = split_target(page, value)
                if tag == "a" and (path is None or os.path.dirname(path) == base):
                    found.append((os.path.basename(path or page.path), fragment))
            return found

        for name, page in self.pages["ja"].items():
            with self.subTest(page=name):
                self.assertEqual(targets(ENGLISH_HELP, self.pages["en"][name]),
                                 targets(JAPANESE_HELP, page))

    def test_each_page_links_to_the_same_page_in_the_other_language(self):
        for lang, other in ((JAPANESE_HELP, ENGLISH_HELP), (ENGLISH_HELP, JAPANESE_HELP)):
            for name, page in self.pages[lang.code].items():
                with self.subTest(lang=lang.code, page=name):
                    twin = os.path.normpath(os.path.join(language_dir(other), name))
                    self.assertIn(twin, [split_target(page, v)[0] for t, _, v in page.links
                                         if t == "a"])


class CodecTableTest(unittest.TestCase):
    """The Bluetooth codec table of limits.html, in each language, is the program's own."""

    def test_the_help_pages_show_the_programs_codec_table(self):
        header = os.path.join(HELP_DIR, os.pardir, "ui", "sound_path_check.h")
        with open(header, encoding="utf-8") as f:
            code = re.findall(r'\{"([^"]+)", (\d+)\}', f.read().split("kCodecLimits", 1)[1])
        self.assertTrue(code)
        for lang in LANGUAGES:
            with self.subTest(lang=lang.code):
                with open(os.path.join(language_dir(lang), "limits.html"), encoding="utf-8") as f:
                    page = f.read()
                table = re.search(r'<table id="codecs">(.*?)</table>', page, re.S)
                self.assertIsNotNone(table)
                rows = re.findall(r"<tr><td>([^<]+)</td><td>(\d+) Hz</td></tr>", table.group(1))
                self.assertEqual(rows, code)


if __name__ == "__main__":
    HELP_DIR = sys.argv.pop(1)
    unittest.main(verbosity=2)
