#!/usr/bin/python3
"""The two pictures of the page in docs/, taken in headless Chromium:

    web/screenshots.py KORVAL-CONVERT EXAMPLES/medium SCRATCH DOCS

screenshot-web.png (the demo medium's page) and screenshot-web-view.png
(its large view of one entry at 200 %).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait


def main():
    convert, examples, scratch, docs = sys.argv[1:5]
    out = os.path.join(os.path.abspath(scratch), "screenshot-page")
    shutil.rmtree(out, ignore_errors=True)
    subprocess.run([convert, "--web", examples, out], check=True, stdout=subprocess.DEVNULL)
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--hide-scrollbars", "--user-data-dir=" + tempfile.mkdtemp(prefix="korval-shot-"),
                     "--window-size=1000,1300"):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get("file://" + os.path.join(out, "index.html"))
        # A keyword ticked, and the pointer resting on the first entry.
        driver.find_element(By.XPATH, "//label[normalize-space()='Natur']").click()
        first = driver.find_elements(By.CSS_SELECTOR, "#eintraege article:not([hidden])")[0]
        ActionChains(driver).move_to_element(first).perform()
        WebDriverWait(driver, 20).until(lambda d: d.execute_script(
            "return Array.from(document.images).filter(i => { const r = i.getBoundingClientRect();"
            "return r.height > 0 && r.top < innerHeight; })"
            ".every(i => !i.getAttribute('src') || (i.complete && i.naturalWidth > 0))"))
        time.sleep(0.5)
        driver.save_screenshot(os.path.join(docs, "screenshot-web.png"))
        driver.find_element(By.XPATH, "//article[.//h2='Schwimmender Fisch']").click()
        ActionChains(driver).send_keys("+").perform()
        image = driver.find_element(By.ID, "bild")
        WebDriverWait(driver, 20).until(lambda d: d.execute_script("return arguments[0].naturalWidth > 0", image))
        time.sleep(0.5)
        driver.save_screenshot(os.path.join(docs, "screenshot-web-view.png"))
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
