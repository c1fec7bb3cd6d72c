#!/usr/bin/python3
"""make bench: a page's time in headless Chromium, from the start of its load
to the last poster drawn, median of RUNS fresh loads.

    bench_page.py INDEX.HTML RUNS

Prints two lines: the posters of the first screen (what lazy loading fetches
at once), and every poster of the page decoded once all are asked for.
"""

import os
import statistics
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

WAIT_FIRST_SCREEN = """
const done = arguments[arguments.length - 1];
function check() {
  const shown = Array.from(document.querySelectorAll('img.p')).filter(p => {
    const r = p.getBoundingClientRect();
    return r.bottom > 0 && r.top < innerHeight;
  });
  if (shown.length && shown.every(p => p.complete))
    done([performance.now(), shown.filter(p => p.naturalWidth > 0).length]);
  else
    setTimeout(check, 2);
}
check();
"""

WAIT_ALL = """
const done = arguments[arguments.length - 1];
const posters = Array.from(document.querySelectorAll('img.p'));
posters.forEach(p => { p.loading = 'eager'; });
Promise.all(posters.map(p => p.decode().then(() => 1, () => 0)))
  .then(decoded => done([performance.now(), decoded.reduce((a, b) => a + b, 0)]));
"""


def main():
    page, runs = os.path.abspath(sys.argv[1]), int(sys.argv[2])
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--user-data-dir=" + tempfile.mkdtemp(prefix="korval-bench-"), "--window-size=1280,900"):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_script_timeout(120)
    first, everything, counts = [], [], None
    try:
        for _ in range(runs):
            # A fresh load each time, nothing kept in the memory cache.
            driver.get("about:blank")
            driver.execute_cdp_cmd("Network.clearBrowserCache", {})
            driver.get("file://" + page)
            first_ms, first_count = driver.execute_async_script(WAIT_FIRST_SCREEN)
            all_ms, all_count = driver.execute_async_script(WAIT_ALL)
            first.append(first_ms)
            everything.append(all_ms)
            counts = (first_count, all_count)
    finally:
        driver.quit()
    print("first %.0f %d %d" % (statistics.median(first), counts[0], runs))
    print("all %.0f %d %d" % (statistics.median(everything), counts[1], runs))


if __name__ == "__main__":
    main()
