#!/usr/bin/env python3
"""The help pages as files: self-contained, linked together, and naming the
program's controls, menu items and keys exactly as the program shows them.

Usage: test_help_pages.py HELP_DIR
"""

import os
import re
import sys
import unittest

from help_pages import EXTERNAL, load_pages, split_target

HELP_DIR = None

# Menu items, captions and fixed texts of the windows as they appear on screen
# ("&" shows as an underlined letter, so the text reads without it). The
# program holds each of them in its resource tables.
RESOURCE_TEXTS = [
    # main window buttons
    "チェック開始", "分からない！", "初めからやり直す(C)", "終了(X)",
    "8kHz", "16kHz", "+1kHz", "-1kHz", "+100Hz", "-100Hz", "+10Hz", "-10Hz",
    # group boxes and displays
    "現在の周波数", "周波数手動設定", "可聴チェック", "音の鳴った回数", "最高可聴周波数", "正答率",
    # menu
    "ファイル(F)", "指定した周波数のWAVEファイルを作成する(S)",
    "サウンド(S)", "音量の設定(V)", "周波数を自動的に変える(A)",
    "現在の周波数で連続音を鳴らす(C)", "無音データを鳴らす(ノイズチェック用) (N)",
    "ヘルプ(H)", "使い方について(U)", "Kelvoraについて(A)",
    # the ear submenu
    "検査する耳(E)", "両耳(B)", "左耳(L)", "右耳(R)",
    # volume dialog
    "スピーカの音量設定 [Kelvora]", "サンプルサウンドの再生(P)", "音量調整の完了(E)", "現在の音量設定",
    "音量の上げすぎには十分注意して下さい。",
    # answer reveal dialog
    "○: 有音部 (200 ms), ＿: 無音部 (200ms)",
    # WAVE export dialog
    "フェイドイン/アウトする", "視聴(P)", "WAVEファイル作成 (C)",
    # titles
    "Kelvora ver 1.000",
    # results window (added with the check history)
    "検査結果の記録(R)...", "検査結果の記録 [Kelvora]", "画像を保存(P)...", "CSVを保存(C)...", "閉じる(X)",
]

# Texts the program composes or shows from its code.
COMPOSED_TEXTS = [
    "----- Hz", "---.- %",
    "残念！ 正解は 3 回でした。", "＿　○　＿　＿　＿　○　＿　○　＿　＿　＿　＿",
    "440.0", "指定された周波数のWAVEファイルは作成出来ません。", "ファイルを書き込み用にオープン出来ません。",
]

# Every accelerator key, and the button or menu item whose command it sends.
KEY_TABLE = [
    ("+", "チェック開始"),
    ("-", "分からない！"),
    ("0", "分からない！"),
    ("1", "1"),
    ("2", "2"),
    ("3", "3"),
    ("4", "4"),
    ("5", "5"),
    ("?", "分からない！"),
    ("C", "初めからやり直す(C)"),
    ("↓", "-100Hz"),
    ("Esc", "終了(X)"),
    ("F1", "使い方について(U)"),
    ("Home", "8kHz"),
    ("←", "-10Hz"),
    ("Page Down", "-1kHz"),
    ("Page Up", "+1kHz"),
    ("Enter", "チェック開始"),
    ("→", "+10Hz"),
    ("Space", "チェック開始"),
    ("↑", "+100Hz"),
    ("Ctrl+X", "終了(X)"),
]

# The steps that a wrong answer gives, and the fall of the frequency with it.
STAIRCASE = [(2000, 1000), (1000, 500), (500, 250), (250, 100), (100, 50), (50, 10), (10, 10)]


class HelpPagesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pages = load_pages(HELP_DIR)
        cls.all_text = "\n".join(p.text for p in cls.pages.values())

    def test_entry_page_exists(self):
        self.assertIn("index.html", self.pages)

    def test_every_page_is_japanese_utf8_html5_with_the_stylesheet(self):
        for name, page in self.pages.items():
            with self.subTest(page=name):
                self.assertEqual((page.doctype or "").lower(), "doctype html")
                self.assertEqual(page.lang, "ja")
                self.assertEqual((page.charset or "").lower(), "utf-8")
                self.assertTrue(page.title.strip(), "empty <title>")
                self.assertIn(("link", "href", "style.css"), page.links)

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
                        target = self.pages.get(os.path.basename(path))
                    if fragment:
                        self.assertIsNotNone(target, "fragment into a non-page")
                        self.assertIn(fragment, target.ids, "missing anchor")

    def test_images_have_text_alternatives(self):
        for name, page in self.pages.items():
            for img in page.images:
                with self.subTest(page=name, img=img.get("src")):
                    self.assertTrue(img.get("alt", "").strip())

    def test_every_page_and_file_is_reachable_from_the_entry(self):
        seen, queue, used = {"index.html"}, ["index.html"], set()
        while queue:
            page = self.pages[queue.pop()]
            for _, _, value in page.links:
                path, _ = split_target(page, value)
                if path is None:
                    continue
                base = os.path.basename(path)
                used.add(base)
                if base in self.pages and base not in seen:
                    seen.add(base)
                    queue.append(base)
        self.assertEqual(seen, set(self.pages))
        files = {f for f in os.listdir(HELP_DIR) if not f.endswith(".html")}
        files.discard("CMakeLists.txt")
        self.assertEqual(files - used, set(), "files no page uses")

    def test_stylesheet_and_images_load_nothing_from_outside(self):
        for name in os.listdir(HELP_DIR):
            if not name.endswith((".css", ".svg")):
                continue
            with self.subTest(file=name):
                with open(os.path.join(HELP_DIR, name), encoding="utf-8") as f:
                    body = f.read()
                self.assertNotIn("@import", body)
                self.assertNotIn("<script", body)
                for ref in re.findall(r"url\(\s*['\"]?([^'\")]+)", body):
                    self.assertFalse(EXTERNAL.match(ref), ref)
                    self.assertTrue(os.path.isfile(os.path.join(HELP_DIR, ref)), ref)
                for ref in re.findall(r"\bhref\s*=\s*['\"]([^'\"]+)", body):
                    self.assertTrue(ref.startswith("#"), ref)

    def test_names_the_programs_texts_exactly(self):
        for text in RESOURCE_TEXTS + COMPOSED_TEXTS:
            with self.subTest(text=text):
                self.assertTrue(text in self.all_text, f"not named: {text}")

    def test_named_texts_are_the_ones_the_program_holds(self):
        # A caption changed in the resource tables must be changed here too.
        tables = os.path.join(HELP_DIR, os.pardir, "res", "resources.cpp")
        if not os.path.isfile(tables):
            self.skipTest("no res/resources.cpp")
        with open(tables, encoding="utf-8") as f:
            literals = {m.replace("&", "") for m in re.findall(r'"((?:[^"\\\n]|\\.)*)"', f.read())}
        for text in RESOURCE_TEXTS:
            with self.subTest(text=text):
                self.assertTrue(text in literals, f"not in the resource tables: {text}")

    def test_key_table_lists_all_22_keys_with_their_commands(self):
        keys = self.pages["keys.html"]
        rows = [r for t in keys.tables for r in t if r and r[0] != "キー"]
        self.assertEqual(len(rows), len(KEY_TABLE))
        for row, (key, command) in zip(rows, KEY_TABLE):
            with self.subTest(key=key):
                shown = row[0].replace(" + ", "+").replace("（スペースキー）", "")
                self.assertEqual(shown, key)
                self.assertEqual(row[2], command)

    def test_staircase_table_shrinks_the_step_then_lowers_by_it(self):
        page = self.pages["staircase.html"]
        table = next(t for t in page.tables if t and t[0][0] == "それまでのステップ")
        body = table[1:]
        self.assertEqual(len(body), len(STAIRCASE))
        for row, (before, after) in zip(body, STAIRCASE):
            with self.subTest(step=before):
                self.assertEqual(row, [f"{before} Hz", f"{after} Hz", f"−{after} Hz"])


class CodecTableTest(unittest.TestCase):
    """The Bluetooth codec table of help/limits.html is the program's own."""

    def test_the_help_page_shows_the_programs_codec_table(self):
        header = os.path.join(HELP_DIR, os.pardir, "ui", "sound_path_check.h")
        with open(header, encoding="utf-8") as f:
            code = re.findall(r'\{"([^"]+)", (\d+)\}', f.read().split("kCodecLimits", 1)[1])
        with open(os.path.join(HELP_DIR, "limits.html"), encoding="utf-8") as f:
            page = f.read()
        table = re.search(r'<table id="codecs">(.*?)</table>', page, re.S)
        self.assertIsNotNone(table)
        rows = re.findall(r"<tr><td>([^<]+)</td><td>(\d+) Hz</td></tr>", table.group(1))
        self.assertTrue(code)
        self.assertEqual(rows, code)


if __name__ == "__main__":
    HELP_DIR = sys.argv.pop(1)
    unittest.main(verbosity=2)
