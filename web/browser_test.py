#!/usr/bin/python3
"""The web page korval-convert --web writes, as a visitor sees it in headless
Chromium: texts, orders and filter against KORVAL's own code (the oracle
program), pictures, motion, the large view and its keys, hostile texts, and
what the page asks of the disk.

    browser_test.py CASE --convert KORVAL-CONVERT --oracle ORACLE
                    --examples EXAMPLES/medium --scratch FOLDER

CASE: demo, orders, hostile, damaged, draft, noscript.
"""

import argparse
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None

LABELS = ["Titel:", "Autor:", "Datei:", "Datum:", "Gesamtgröße:", "Stichwörter:"]


def start_browser(width=1000, height=900):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    profile = tempfile.mkdtemp(prefix="korval-chromium-", dir=ARGS.scratch)
    for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--user-data-dir=" + profile, "--window-size=%d,%d" % (width, height)):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_page_load_timeout(60)
    return driver


def convert(catalogue, out):
    """korval-convert --web; its exit code and output."""
    run = subprocess.run([ARGS.convert, "--web", catalogue, out], stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, timeout=300)
    return run.returncode, run.stdout.decode("utf-8", "replace")


def write_catalogue(folder, authors, keywords, animations, base="ANIM"):
    """A KORVAL.INI as a medium's maker writes it: Windows-1252, CR LF."""
    os.makedirs(folder, exist_ok=True)
    lines = ["[Authors]"] + ["Author%d=%s" % (n + 1, a) for n, a in enumerate(authors)]
    lines += ["[Keywords]"] + ["Keyword%d=%s" % (n + 1, k) for n, k in enumerate(keywords)]
    lines += ["[Animations]"] + ["Animation%d=%s" % (n + 1, a) for n, a in enumerate(animations)]
    lines += ["[Settings]", "BasePath=" + base]
    path = os.path.join(folder, "KORVAL.INI")
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    return path


def read_catalogue(path):
    """The demo catalogue's accepted entries as the rows show them (simple
    numbers only: what the demo medium holds)."""
    sections, current = {}, None
    for line in open(path, "rb").read().decode("cp1252").splitlines():
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            current = sections.setdefault(line.strip("[]"), {})
        elif "=" in line:
            key, value = line.split("=", 1)
            current[key.strip()] = value.strip()
    authors = {n: v for n, v in ((int(k[6:]), v) for k, v in sections["Authors"].items())}
    keywords = {n: v for n, v in ((int(k[7:]), v) for k, v in sections["Keywords"].items())}
    rows = []
    for n in range(1, 201):
        value = sections["Animations"].get("Animation%d" % n)
        if value is None:
            break
        fields = value.split(";")
        if len(fields) < 6:
            continue
        icon, author, title, file, date, size = fields[:6]
        words = [keywords[int(k)] for k in fields[6].split(",")] if len(fields) > 6 and fields[6] else []
        rows.append({"values": [title, authors.get(int(author), "Unbekannt"), file.split("\\")[-1], date,
                                size + " KB", ", ".join(words)],
                     "file": file, "icon": int(icon)})
    return rows


def flc_size(path):
    with open(path, "rb") as f:
        header = f.read(12)
    return struct.unpack("<HH", header[8:12])


class PageCase(unittest.TestCase):
    driver = None

    @classmethod
    def setUpClass(cls):
        cls.driver = start_browser()

    @classmethod
    def tearDownClass(cls):
        if cls.driver is not None:
            cls.driver.quit()

    def open_page(self, out):
        # What the browser fetched before (its own start page) is not the page's.
        self.driver.get_log("performance")
        self.driver.get("file://" + os.path.join(out, "index.html"))
        WebDriverWait(self.driver, 30).until(
            lambda d: d.execute_script("return document.readyState") == "complete")

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def shown(self):
        """The catalogue indices of the entries shown, top first."""
        return self.js("return Array.from(document.querySelectorAll('#eintraege article'))"
                       ".filter(a => !a.hidden).map(a => Number(a.dataset.i));")

    def status(self):
        return self.js("return document.querySelector('[role=status]').textContent;")

    def console_errors(self):
        return [e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]

    def requested(self):
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            # The browser's own pages (its new-tab page) fetch their parts too.
            if message["method"] == "Network.requestWillBeSent" \
                    and not message["params"].get("documentURL", "").startswith("chrome"):
                urls.append(message["params"]["request"]["url"])
        return urls

    def assert_requests_inside(self, out):
        inside = "file://" + out + "/"
        urls = self.requested() + self.js("return performance.getEntriesByType('resource').map(e => e.name);")
        self.assertTrue(urls, "no request seen at all")
        outside = [u for u in urls if not u.startswith(inside)]
        self.assertEqual(outside, [])


class Demo(PageCase):
    """The demo medium's page: texts, pictures, motion, the large view."""

    @classmethod
    def setUpClass(cls):
        cls.out = os.path.join(ARGS.scratch, "demo")
        shutil.rmtree(cls.out, ignore_errors=True)
        os.makedirs(cls.out)
        # A file of the visitor's own in the folder stays as it was.
        with open(os.path.join(cls.out, "NOTIZ.TXT"), "w") as f:
            f.write("meine Notiz\n")
        cls.code, cls.log = convert(ARGS.examples, cls.out)
        super().setUpClass()

    def setUp(self):
        self.js("1")  # the session is alive
        self.open_page(self.out)

    def test_files_written_whole_and_nothing_else_touched(self):
        self.assertEqual(self.code, 0, self.log)
        names = []
        for folder, _, files in os.walk(self.out):
            names += [os.path.relpath(os.path.join(folder, f), self.out) for f in files]
        self.assertIn("index.html", names)
        self.assertEqual(open(os.path.join(self.out, "NOTIZ.TXT")).read(), "meine Notiz\n")
        # No temporary file is left, and every animation has its GIF and poster.
        rows = read_catalogue(os.path.join(ARGS.examples, "KORVAL.INI"))
        expected = {"index.html", "NOTIZ.TXT", "korval-row0.png", "korval-row1.png"}
        for row in rows:
            stem = row["file"].replace("\\", "/").rsplit(".", 1)[0]
            expected |= {stem + ".GIF", stem + ".PNG"}
        self.assertEqual(set(names), expected)

    def test_each_entry_shows_the_rows_texts(self):
        rows = read_catalogue(os.path.join(ARGS.examples, "KORVAL.INI"))
        entries = self.js("""return Array.from(document.querySelectorAll('#eintraege article')).map(a => ({
            i: Number(a.dataset.i), heading: a.querySelector('h2').textContent,
            labels: Array.from(a.querySelectorAll('dt')).map(e => e.textContent),
            values: Array.from(a.querySelectorAll('dd')).map(e => e.textContent),
            icon: a.querySelector('img.s').getAttribute('src'),
            alt: (a.querySelector('img.p') || {}).alt}));""")
        self.assertEqual(len(entries), len(rows))
        self.assertEqual(self.status(), "%d von %d" % (len(rows), len(rows)))
        for entry in entries:
            row = rows[entry["i"]]
            self.assertEqual(entry["heading"], row["values"][0])
            self.assertEqual(entry["labels"], LABELS)
            self.assertEqual(entry["values"], row["values"])
            self.assertEqual(entry["icon"], "korval-row%d.png" % (1 if row["icon"] == 1 else 0))
            self.assertEqual(entry["alt"], row["values"][0] + " – " + row["values"][2])
        self.assertEqual(self.js("return document.documentElement.lang"), "de")
        self.assertEqual(self.js("return document.characterSet"), "UTF-8")
        self.assertEqual(self.console_errors(), [])

    def test_every_picture_decodes_at_its_own_size(self):
        rows = read_catalogue(os.path.join(ARGS.examples, "KORVAL.INI"))
        articles = self.driver.find_elements(By.CSS_SELECTOR, "#eintraege article")
        for article in articles:
            # Posters load lazily: each is brought into view.
            self.js("arguments[0].scrollIntoView()", article)
            poster = article.find_element(By.CSS_SELECTOR, "img.p")
            WebDriverWait(self.driver, 20).until(
                lambda d: d.execute_script("return arguments[0].complete && arguments[0].naturalWidth > 0", poster))
            row = rows[int(article.get_attribute("data-i"))]
            width, height = flc_size(os.path.join(ARGS.examples, "ANIM", *row["file"].split("\\")))
            size = self.js("const r = arguments[0].getBoundingClientRect();"
                           "return [arguments[0].naturalWidth, arguments[0].naturalHeight, r.width, r.height,"
                           "getComputedStyle(arguments[0]).imageRendering];", poster)
            self.assertEqual(size, [width, height, width, height, "pixelated"], row["file"])
            icon = article.find_element(By.CSS_SELECTOR, "img.s")
            self.assertEqual(self.js("return arguments[0].naturalWidth", icon), 32)
        self.assertEqual(self.console_errors(), [])
        self.assert_requests_inside(self.out)

    def playing(self):
        return self.js("return Array.from(document.querySelectorAll('img.p'))"
                       ".filter(p => /\\.GIF$/.test(p.getAttribute('src'))).map(p => p.closest('article').dataset.i);")

    def test_only_the_entry_looked_at_plays(self):
        articles = self.driver.find_elements(By.CSS_SELECTOR, "#eintraege article")
        first, second = articles[0], articles[1]
        self.assertEqual(self.playing(), [])
        ActionChains(self.driver).move_to_element(first).perform()
        self.assertEqual(self.playing(), [first.get_attribute("data-i")])
        ActionChains(self.driver).move_to_element(second).perform()
        self.assertEqual(self.playing(), [second.get_attribute("data-i")])
        # The GIF that plays is decoded too.
        gif = second.find_element(By.CSS_SELECTOR, "img.p")
        WebDriverWait(self.driver, 20).until(
            lambda d: d.execute_script("return arguments[0].complete && arguments[0].naturalWidth > 0", gif))
        # The pointer leaves the list: nothing plays.
        ActionChains(self.driver).move_to_element(self.driver.find_element(By.TAG_NAME, "h1")).perform()
        self.assertEqual(self.playing(), [])
        # The keyboard: Tab from the last control reaches the first entry.
        self.driver.find_element(By.ID, "alle").click()
        ActionChains(self.driver).send_keys(Keys.TAB).perform()
        self.assertEqual(self.js("return document.activeElement.dataset.i"), first.get_attribute("data-i"))
        self.assertEqual(self.playing(), [first.get_attribute("data-i")])
        ActionChains(self.driver).send_keys(Keys.TAB).perform()
        self.assertEqual(self.playing(), [second.get_attribute("data-i")])
        # Focus shows: the outline is drawn.
        self.assertNotEqual(self.js("return getComputedStyle(document.activeElement).outlineStyle"), "none")
        self.assertEqual(self.console_errors(), [])

    def test_reduced_motion_plays_nothing_until_asked(self):
        self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                                    {"features": [{"name": "prefers-reduced-motion", "value": "reduce"}]})
        try:
            self.open_page(self.out)
            first = self.driver.find_elements(By.CSS_SELECTOR, "#eintraege article")[0]
            ActionChains(self.driver).move_to_element(first).perform()
            self.js("arguments[0].focus()", first)
            self.assertEqual(self.playing(), [])
            # Enter asks: the large view shows the animation.
            ActionChains(self.driver).send_keys(Keys.ENTER).perform()
            self.assertTrue(self.js("return document.getElementById('ansicht').open"))
            self.assertTrue(self.js("return /\\.GIF$/.test(document.getElementById('bild').getAttribute('src'))"))
        finally:
            self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})

    def view(self):
        return self.js("""const d = document.getElementById('ansicht'), b = document.getElementById('bild');
            const label = document.getElementById(d.getAttribute('aria-labelledby'));
            return {open: d.open, label: label ? label.textContent : null,
                    file: document.getElementById('ansicht-datei').textContent,
                    width: b.getBoundingClientRect().width, natural: b.naturalWidth,
                    zoom: document.getElementById('zoom').textContent,
                    modal: d.matches(':modal')};""")

    def test_large_view_and_its_keys(self):
        rows = read_catalogue(os.path.join(ARGS.examples, "KORVAL.INI"))
        # In author order, the third entry.
        self.driver.find_element(By.XPATH, "//label[normalize-space()='Nach Autor']").click()
        order = self.shown()
        third = self.driver.find_element(By.CSS_SELECTOR, "article[data-i='%d']" % order[2])
        third.click()
        image = self.driver.find_element(By.ID, "bild")
        WebDriverWait(self.driver, 20).until(lambda d: d.execute_script("return arguments[0].naturalWidth", image))
        width = flc_size(os.path.join(ARGS.examples, "ANIM", *rows[order[2]]["file"].split("\\")))[0]
        view = self.view()
        self.assertTrue(view["modal"])
        self.assertEqual((view["label"], view["file"]), (rows[order[2]]["values"][0], rows[order[2]]["values"][2]))
        self.assertEqual((view["width"], view["natural"], view["zoom"]), (width, width, "100 %"))
        steps = [("+", 2, "200 %"), ("+", 2, "200 %"), ("-", 1, "100 %"), ("-", 1, "100 %"), ("+", 2, "200 %"),
                 ("0", 1, "100 %")]
        for key, factor, text in steps:
            ActionChains(self.driver).send_keys(key).perform()
            view = self.view()
            self.assertEqual((view["width"], view["zoom"]), (width * factor, text), key)
        # Right and left: the next and the previous entry of the current order.
        for key, at in ((Keys.ARROW_RIGHT, 3), (Keys.ARROW_RIGHT, 4), (Keys.ARROW_LEFT, 3)):
            ActionChains(self.driver).send_keys(key).perform()
            self.assertEqual(self.view()["label"], rows[order[at]]["values"][0])
        # Escape closes; the focus is on the entry shown last.
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        self.assertFalse(self.view()["open"])
        self.assertEqual(self.js("return document.activeElement.dataset.i"), str(order[3]))
        # The first entry has no previous one; Enter opens it from the keyboard.
        first = self.driver.find_element(By.CSS_SELECTOR, "article[data-i='%d']" % order[0])
        self.js("arguments[0].focus()", first)
        ActionChains(self.driver).send_keys(Keys.ENTER).perform()
        ActionChains(self.driver).send_keys(Keys.ARROW_LEFT).perform()
        self.assertEqual(self.view()["label"], rows[order[0]]["values"][0])
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        self.assertEqual(self.console_errors(), [])
        self.assert_requests_inside(self.out)

    def test_filter_controls_and_count(self):
        boxes = self.driver.find_elements(By.CSS_SELECTOR, "#woerter input")
        labels = [b.find_element(By.XPATH, "..").text for b in boxes]
        self.assertEqual(self.js("return document.querySelector('#woerter legend').textContent"), "Stichwörter")
        self.assertEqual(set(labels), {"Sport", "Natur", "Technik", "Weltraum", "Wasser", "Musik", "Tiere",
                                       "Abstrakt", "Trickfilm"})
        self.driver.find_element(By.XPATH, "//label[normalize-space()='Natur']").click()
        self.assertEqual(self.status(), "5 von 14")
        self.driver.find_element(By.XPATH, "//label[normalize-space()='Und']").click()
        self.driver.find_element(By.XPATH, "//label[normalize-space()='Wasser']").click()
        self.assertEqual(self.status(), "2 von 14")
        self.driver.find_element(By.XPATH, "//button[normalize-space()='Alle']").click()
        self.assertEqual(self.status(), "14 von 14")
        self.assertEqual(self.js("return document.querySelectorAll('#woerter input:checked').length"), 0)
        self.assertEqual(len(self.shown()), 14)


class Orders(PageCase):
    """Orders and filter of a table of catalogues against KORVAL's code."""

    CATALOGUES = {
        "umlauts": (["Zoe", "\u00c4rger Anton", "anton", " Bert", "\u00f6tzi", "Otto"],
                    ["Wasser", "\u00e4pfel", "Apfel", "Zug", "Berg"],
                    ["0;1;Zebra;Z.FLC;1.1.1999;5;1,2", "1;2;\u00c4pfel;A1.FLC;5.3.99;7;2,3",
                     "0;3;apfel;a2.flc;24.12.1999;1;3,3,3", "0;4; Blank vorn;SUB\\B.FLC;1.1.00;2;4",
                     "1;5;\u00d6l;\u00d6L.FLC;31.12.2078;3;1,4,5", "0;6;Ol;OL.FLC;5.3.98;4;5",
                     "0;9;APFEL;a3.flc;1.1.2000;9;1", "1;1;zebra;z2.FLC;2.2.02;8;2,5",
                     "0;2;Stra\u00dfe;S.FLC;7.8.01;0;3", "0;3;Strasse;S2.FLC;7.8.2001;1;"]),
        "twins": (["Gleich", "gleich", "GLEICH"], ["Eins", "eins", "Zwei"],
                  ["0;%d;Titel;T%d.FLC;1.1.1996;1;%d" % (1 + n % 3, n, 1 + n % 3) for n in range(9)]),
        "signs": (["!Ruf", "3D Team", "-Strich", "Zett"], ["a-b", "ab", "a b"],
                  ["0;1;3 Kugeln;K.FLC;1.1.96;1;1", "0;2;-Minus;M.FLC;1.1.96;1;2", "0;3;co-op;C.FLC;2.1.96;1;3",
                   "0;4;coop;C2.FLC;1.2.96;1;1,2,3", "0;1;10 Ringe;R.FLC;1.1.1996;1;", "0;2;9 Ringe;R9.FLC;1.1.96;1;2",
                   "0;3;'Zitat';Q.FLC;3.3.93;1;1", "0;4;_unten;U.FLC;4.4.94;1;3"]),
    }
    FILTERS = [(0, [1]), (0, [2, 4]), (1, [1, 2]), (1, [3]), (0, [1, 2, 3, 4, 5]), (1, [1, 5]), (1, [3, 5])]

    def dialog_order(self, catalogue):
        run = subprocess.run([ARGS.oracle, catalogue, "keywords"], stdout=subprocess.PIPE, check=True, timeout=60)
        return [int(n) for n in run.stdout.split()]

    def oracle(self, catalogue, order, all_, keywords):
        run = subprocess.run([ARGS.oracle, catalogue, str(order), str(all_)] + [str(k - 1) for k in keywords],
                             stdout=subprocess.PIPE, check=True, timeout=60)
        return [int(n) for n in run.stdout.split()]

    def test_orders_and_filters_match_korval(self):
        for name, (authors, keywords, animations) in self.CATALOGUES.items():
            folder = os.path.join(ARGS.scratch, "orders", name)
            shutil.rmtree(folder, ignore_errors=True)
            catalogue = write_catalogue(folder, authors, keywords, animations)
            out = os.path.join(folder, "page")
            code, log = convert(catalogue, out)
            self.assertEqual(code, 2, log)       # no animation is there: every entry says so
            self.open_page(out)
            total = len(animations)
            radios = self.driver.find_elements(By.CSS_SELECTOR, "#ordnung input")
            self.assertEqual([r.find_element(By.XPATH, "..").text for r in radios],
                             ["Nach Titel", "Nach Autor", "Nach Datei", "Nach Datum"])
            self.assertEqual(self.shown(), self.oracle(catalogue, 0, 0, []), name)
            for order in range(4):
                for all_, ticked in [(0, [])] + self.FILTERS:
                    ticked = [k for k in ticked if k <= len(keywords)]
                    # The visitor's clicks, dispatched in the page: "Alle", the
                    # order, "Oder" or "Und", the keywords.
                    shown, status = self.js("""
                        const [order, all, ticked] = arguments;
                        document.getElementById('alle').click();
                        document.querySelectorAll('#ordnung input')[order].click();
                        document.getElementById(all ? 'und' : 'oder').click();
                        for (const k of ticked) document.querySelector(`#woerter input[value='${k}']`).click();
                        return [Array.from(document.querySelectorAll('#eintraege article')).filter(a => !a.hidden)
                                .map(a => Number(a.dataset.i)), document.getElementById('anzahl').textContent];""",
                        order, all_, [k - 1 for k in ticked])
                    expected = self.oracle(catalogue, order, all_, ticked)
                    self.assertEqual(shown, expected, (name, order, all_, ticked))
                    self.assertTrue(status.startswith("%d von %d" % (len(expected), total)), status)
            # The checkboxes in the keyword dialog's order.
            boxes = self.driver.find_elements(By.CSS_SELECTOR, "#woerter input")
            self.assertEqual([int(b.get_attribute("value")) for b in boxes], self.dialog_order(catalogue), name)
            self.assertEqual([b.find_element(By.XPATH, "..").text for b in boxes],
                             [keywords[int(b.get_attribute("value"))] for b in boxes])
        self.assertEqual(self.console_errors(), [])


class Hostile(PageCase):
    """Catalogue texts that look like markup or script are shown as text."""

    TEXTS = ["</script><script>document.title='x'</script>", "<img src=x onerror=\"document.title='y'\">",
             "\"'&amp<b>fett</b>&copy", "javascript:document.title='z'"]

    def test_hostile_texts_are_shown_literally_and_nothing_runs(self):
        folder = os.path.join(ARGS.scratch, "hostile")
        shutil.rmtree(folder, ignore_errors=True)
        anim = os.path.join(folder, "ANIM")
        os.makedirs(anim)
        # The file names a file system takes: quotes, <, >, & and a colon.
        names = ["<b>&'\".FLC", "javascript:x.FLC"]
        for name in names:
            shutil.copy(os.path.join(ARGS.examples, "ANIM", "BALL.FLC"), os.path.join(anim, name))
        # And one outside the base folder, beside it.
        shutil.copy(os.path.join(ARGS.examples, "ANIM", "BALL.FLC"), os.path.join(folder, "OUT.FLC"))
        animations = ["0;%d;%s;%s;1.1.96;1;%d" % (n + 1, t, names[n % 2], n + 1) for n, t in enumerate(self.TEXTS)]
        animations.append("0;1;Draussen;..\\OUT.FLC;1.1.96;1;1")
        catalogue = write_catalogue(folder, self.TEXTS, self.TEXTS, animations)
        before = sorted(os.listdir(folder))
        out = os.path.join(folder, "page")
        code, log = convert(catalogue, out)
        self.assertEqual(code, 1, log)
        self.assertEqual(sorted(os.listdir(folder)), sorted(before + ["page"]))
        self.assertFalse(os.path.exists(os.path.join(folder, "OUT.GIF")))
        self.open_page(out)
        title = self.driver.title
        entries = self.js("""return Array.from(document.querySelectorAll('#eintraege article')).map(a => ({
            heading: a.querySelector('h2').textContent,
            values: Array.from(a.querySelectorAll('dd')).map(e => e.textContent),
            alt: (a.querySelector('img.p') || {}).alt}));""")
        self.assertEqual(sorted(e["heading"] for e in entries), sorted(self.TEXTS + ["Draussen"]))
        for entry in entries:
            if entry["heading"] == "Draussen":
                continue
            n = self.TEXTS.index(entry["heading"])
            self.assertEqual(entry["values"][1], self.TEXTS[n])
            self.assertEqual(entry["values"][2], names[n % 2])
            # Keyword names keep their first 31 characters, as KORVAL's table does.
            self.assertEqual(entry["values"][5], self.TEXTS[n][:31])
            self.assertEqual(entry["alt"], self.TEXTS[n] + " – " + names[n % 2])
        labels = self.js("return Array.from(document.querySelectorAll('#woerter label')).map(l => l.textContent);")
        self.assertEqual(sorted(labels), sorted(t[:31] for t in self.TEXTS))
        # Only the page's own elements: one script, no <b>, images only of the page.
        self.assertEqual(self.js("return document.scripts.length"), 1)
        self.assertEqual(self.js("return document.getElementsByTagName('b').length"), 0)
        self.assertEqual(self.js("return document.querySelectorAll('img:not(.s):not(.p):not(#bild)').length"), 0)
        # Every poster decodes, and the large view of each shows its GIF.
        for article in self.driver.find_elements(By.CSS_SELECTOR, "#eintraege article"):
            poster = article.find_elements(By.CSS_SELECTOR, "img.p")
            if not poster:
                continue
            self.js("arguments[0].scrollIntoView()", article)
            WebDriverWait(self.driver, 20).until(
                lambda d: d.execute_script("return arguments[0].naturalWidth > 0", poster[0]))
            article.click()
            image = self.driver.find_element(By.ID, "bild")
            WebDriverWait(self.driver, 20).until(lambda d: d.execute_script("return arguments[0].naturalWidth", image))
            ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        self.assertEqual(self.driver.title, title)
        self.assertEqual(self.console_errors(), [])
        self.assert_requests_inside(out)


class Damaged(PageCase):
    """Missing, not FLC/FLI and damaged animations say so as the preview does."""

    def test_missing_not_flc_and_damaged(self):
        folder = os.path.join(ARGS.scratch, "damaged")
        shutil.rmtree(folder, ignore_errors=True)
        anim = os.path.join(folder, "ANIM")
        os.makedirs(anim)
        data = open(os.path.join(ARGS.examples, "ANIM", "BALL.FLC"), "rb").read()
        # Cut inside the frame chunk `cut`: frames before it are whole.
        offsets, at = [], 128
        while at < len(data):
            offsets.append(at)
            at += struct.unpack("<I", data[at:at + 4])[0]
        cut = 5
        with open(os.path.join(anim, "CUT.FLC"), "wb") as f:
            f.write(data[:offsets[cut - 1] + 20])
        with open(os.path.join(anim, "TEXT.FLC"), "wb") as f:
            f.write(b"kein Film\r\n" * 20)
        catalogue = write_catalogue(folder, ["A"], ["K"], ["0;1;Kaputt;CUT.FLC;1.1.96;1;1",
                                                           "0;1;Text;TEXT.FLC;1.1.96;1;1",
                                                           "0;1;Weg;WEG.FLC;1.1.96;1;1"])
        out = os.path.join(folder, "page")
        code, log = convert(catalogue, out)
        self.assertEqual(code, 1, log)
        self.open_page(out)
        texts = self.js("""const r = {}; document.querySelectorAll('#eintraege article').forEach(a => {
            r[a.querySelector('h2').textContent] = {note: (a.querySelector('.d, .k') || {}).textContent,
                                                    poster: !!a.querySelector('img.p')}; }); return r;""")
        self.assertEqual(texts, {"Kaputt": {"note": "beschädigt ab Bild %d" % cut, "poster": True},
                                 "Text": {"note": "Keine Vorschau: keine FLC- oder FLI-Datei", "poster": False},
                                 "Weg": {"note": "Keine Vorschau: Datei nicht gefunden", "poster": False}})
        # The GIF holds the frames up to the damage.
        from PIL import Image
        with Image.open(os.path.join(out, "CUT.GIF")) as gif:
            self.assertEqual(gif.n_frames, cut - 1)
        # The large view of an entry without pictures says why.
        self.driver.find_element(By.XPATH, "//article[.//h2='Weg']").click()
        self.assertEqual(self.js("return document.getElementById('ansicht-text').textContent"),
                         "Keine Vorschau: Datei nicht gefunden")
        self.assertFalse(self.js("return document.getElementById('bild').hasAttribute('src')"))
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        self.assertEqual(self.console_errors(), [])


class Draft(PageCase):
    """A folder of animations without a catalogue becomes a page in one command."""

    def test_folder_without_catalogue_through_its_draft(self):
        folder = os.path.join(ARGS.scratch, "draft", "anim")
        shutil.rmtree(os.path.dirname(folder), ignore_errors=True)
        os.makedirs(os.path.join(folder, "TIERE"))
        sources = {"A.FLC": "BALL.FLC", "A.FLI": "NOTEN.FLC", os.path.join("TIERE", "PFERD.FLC"): "TIERE/PFERD.FLC",
                   os.path.join("TIERE", "MOND_LANDUNG.FLC"): "WELTALL/MOND.FLC"}
        for name, source in sources.items():
            shutil.copy(os.path.join(ARGS.examples, "ANIM", *source.split("/")), os.path.join(folder, name))
        out = os.path.join(os.path.dirname(folder), "page")
        code, log = convert(folder, out)
        self.assertEqual(code, 0, log)
        self.assertFalse(os.path.exists(os.path.join(folder, "KORVAL.INI")))
        self.open_page(out)
        self.assertEqual(self.status(), "4 von 4")
        labels = self.js("return Array.from(document.querySelectorAll('#woerter label')).map(l => l.textContent);")
        self.assertIn("TIERE", labels)
        # A.FLC and A.FLI keep pictures of their own, each at its animation's size.
        entries = self.driver.find_elements(By.CSS_SELECTOR, "#eintraege article")
        files = {}
        for article in entries:
            self.js("arguments[0].scrollIntoView()", article)
            poster = article.find_element(By.CSS_SELECTOR, "img.p")
            WebDriverWait(self.driver, 20).until(
                lambda d: d.execute_script("return arguments[0].complete && arguments[0].naturalWidth > 0", poster))
            name = article.find_element(By.CSS_SELECTOR, "dd.f").text
            path = os.path.join(folder, "TIERE", name) if name not in ("A.FLC", "A.FLI") else os.path.join(folder, name)
            size = self.js("return [arguments[0].naturalWidth, arguments[0].naturalHeight]", poster)
            self.assertEqual(tuple(size), flc_size(path), name)
            files[name] = poster.get_attribute("src")
        self.assertEqual(len(files), 4)
        self.assertEqual(len(set(files.values())), 4)
        self.assertEqual(self.console_errors(), [])


class NoScript(PageCase):
    """With scripting off the entries and posters show, in title order."""

    def test_entries_in_title_order_without_script(self):
        out = os.path.join(ARGS.scratch, "noscript")
        shutil.rmtree(out, ignore_errors=True)
        code, log = convert(ARGS.examples, out)
        self.assertEqual(code, 0, log)
        self.driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
        self.open_page(out)
        articles = self.driver.find_elements(By.CSS_SELECTOR, "#eintraege article")
        order = [int(a.get_attribute("data-i")) for a in articles]
        self.assertEqual(order, self.oracle_title_order())
        self.assertTrue(all(a.is_displayed() for a in articles))
        self.assertFalse(self.driver.find_element(By.ID, "steuerung").is_displayed())
        first = articles[0].find_element(By.CSS_SELECTOR, "img.p")
        self.assertTrue(first.is_displayed())

    def oracle_title_order(self):
        run = subprocess.run([ARGS.oracle, os.path.join(ARGS.examples, "KORVAL.INI"), "0", "0"],
                             stdout=subprocess.PIPE, check=True, timeout=60)
        return [int(n) for n in run.stdout.split()]


CASES = {"demo": Demo, "orders": Orders, "hostile": Hostile, "damaged": Damaged, "draft": Draft, "noscript": NoScript}


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--convert", required=True)
    parser.add_argument("--oracle", required=True)
    parser.add_argument("--examples", required=True)
    parser.add_argument("--scratch", required=True)
    ARGS = parser.parse_args()
    ARGS.scratch = os.path.abspath(os.path.join(ARGS.scratch, ARGS.case))
    ARGS.examples = os.path.abspath(ARGS.examples)
    shutil.rmtree(ARGS.scratch, ignore_errors=True)
    os.makedirs(ARGS.scratch)
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(CASES[ARGS.case])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
