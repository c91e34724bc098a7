"""The dashboard in a real browser: Debian's headless Chromium driven by
Selenium. The page marks what it has drawn in data- attributes, which the
tests wait on; they never sleep. A failing test leaves a screenshot."""

import csv
import io
import json
import math
import os
import shutil
import tempfile

import pytest
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

from conftest import SHOTS, Server, append_history, monexport, write_history

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--window-size=1300,1000"]


@pytest.fixture(scope="module")
def runs(tmp_path_factory):
    folder = tmp_path_factory.mktemp("runs")
    growing = write_history(str(folder / "growing" / "history.csv"), 40)
    diverged = write_history(str(folder / "diverged" / "history.csv"), 40, nan_at=39)
    server = Server("-mon", growing, "-mon", diverged, "-varlist", "CD;CL", "-poll", "0.2")
    server.runs(2)
    yield server, growing
    status, _, err = server.stop()
    assert status == 0, err


@pytest.fixture(scope="module")
def driver():
    options = webdriver.ChromeOptions()
    for flag in CHROMIUM_FLAGS:
        options.add_argument(flag)
    profile = tempfile.mkdtemp(prefix="chromium-")
    options.add_argument("--user-data-dir=" + profile)
    options.binary_location = "/usr/bin/chromium"
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    yield browser
    browser.quit()
    shutil.rmtree(profile, ignore_errors=True)


@pytest.fixture
def page(request, runs, driver):
    """The browser, logged in; a screenshot is saved if the test fails."""
    server, _ = runs
    driver.get(server.url)
    yield driver
    report = getattr(request.node, "report_call", None)
    if report is not None and report.failed:
        os.makedirs(SHOTS, exist_ok=True)
        driver.save_screenshot(os.path.join(SHOTS, request.node.name + ".png"))
    errors = [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]
    assert not errors, errors


def wait(driver, condition, seconds=20):
    return WebDriverWait(driver, seconds).until(lambda d: condition(d))


def attribute(driver, selector, name):
    elements = driver.find_elements(By.CSS_SELECTOR, selector)
    return elements[0].get_attribute(name) if elements else None


def open_run(driver, server, run):
    driver.get(server.url.split("?")[0] + "#/run/" + run)
    wait(driver, lambda d: attribute(d, ".figure", "data-state") == "drawn")
    return driver.find_element(By.CSS_SELECTOR, ".figure")


def test_token_leaves_the_address_bar_and_runs_are_listed(runs, page):
    server, _ = runs
    assert "token" not in page.current_url
    wait(page, lambda d: attribute(d, "#main", "data-state") == "drawn")
    rows = {row.get_attribute("data-run"): row.get_attribute("data-state")
            for row in page.find_elements(By.CSS_SELECTOR, "tr[data-run]")}
    assert rows == {"r1": "running", "r2": "diverged"}
    assert "history.csv" in page.find_element(By.CSS_SELECTOR, "tr[data-run=r1]").text


# The canvas pixels near a colour "#rrggbb".
PIXELS = """
const [canvas, colour] = arguments;
const r = parseInt(colour.slice(1, 3), 16), g = parseInt(colour.slice(3, 5), 16), b = parseInt(colour.slice(5, 7), 16);
const data = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
let count = 0;
for (let i = 0; i < data.length; i += 4)
  if (Math.abs(data[i] - r) + Math.abs(data[i + 1] - g) + Math.abs(data[i + 2] - b) < 30 && data[i + 3] > 200) count++;
return count;
"""


def test_a_run_page_draws_every_line_and_the_cursor_reads_the_csv(runs, page):
    server, growing = runs
    figure = open_run(page, server, "r1")
    colours = [line["colour"] for line in server.json("/api/plots?runs=r1")["plots"][0]["lines"]]
    canvas = figure.find_element(By.TAG_NAME, "canvas")
    for colour in colours:
        assert page.execute_script(PIXELS, canvas, colour) > 20, colour
    over = figure.find_element(By.CSS_SELECTOR, ".u-over")
    ActionChains(page).move_to_element_with_offset(over, over.size["width"] // 4, 5).perform()
    wait(page, lambda d: figure.get_attribute("data-cursor-x"))
    step = float(figure.get_attribute("data-cursor-x"))
    values = json.loads(figure.get_attribute("data-cursor-values"))
    table = list(csv.DictReader(io.StringIO(monexport("-mon", growing, "-varlist", "CD;CL", "-nocoeffloops"))))
    row = next(row for row in table if float(row["ACCUMULATED TIMESTEP"]) == step)
    assert values["CD"] == pytest.approx(float(row["CD"]), rel=1e-6)
    assert values["CL"] == pytest.approx(float(row["CL"]), rel=1e-6)


def test_appended_records_appear_without_reload_and_keep_the_zoom(runs, page):
    server, growing = runs
    figure = open_run(page, server, "r1")
    before = int(figure.get_attribute("data-last-step"))
    over = figure.find_element(By.CSS_SELECTOR, ".u-over")
    width = over.size["width"]
    ActionChains(page).move_to_element_with_offset(over, -width // 4, 0).click_and_hold() \
        .move_by_offset(width // 4, 0).release().perform()
    wait(page, lambda d: figure.get_attribute("data-zoomed") == "1")
    zoom = figure.get_attribute("data-x-range")
    page.execute_script("window.notReloaded = true;")
    append_history(growing, before + 1, 25)
    wait(page, lambda d: figure.get_attribute("data-last-step") == str(before + 25))
    assert page.execute_script("return window.notReloaded === true;")
    assert figure.get_attribute("data-x-range") == zoom
    # Double-click goes back to the whole run, the new records included.
    ActionChains(page).double_click(over).perform()
    wait(page, lambda d: figure.get_attribute("data-zoomed") is None
         and float(figure.get_attribute("data-x-range").split(",")[1]) >= before + 25)


def test_a_diverged_run_shows_its_markers(runs, page):
    server, _ = runs
    figure = open_run(page, server, "r2")
    wait(page, lambda d: int(figure.get_attribute("data-marks") or 0) >= 2)
    assert "nan from step 39" in figure.text


def phase_history(path, steps, lines):
    """An SU2 history of LINES variables P0.. whose lowest and highest
    values fall at other iterations in each pixel column, each within
    [k - 0.5, k + 0.5]."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    names = [f"P{k}" for k in range(lines)]
    with open(path, "w") as out:
        out.write('"Time_Iter","Outer_Iter","Inner_Iter",' + ",".join(f'"{n}"' for n in names) + "\n")
        for i in range(steps):
            values = ",".join(f"{k + 0.5 * math.sin(i * (k + 1) * 0.37):.6f}" for k in range(lines))
            out.write(f"0,0,{i},{values}\n")
    return path, names


def test_a_long_run_of_many_lines_shares_places_and_the_cursor_reads_nearby_records(tmp_path, driver):
    source, names = phase_history(str(tmp_path / "long" / "history.csv"), 20000, 6)
    server = Server("-mon", source, "-varlist", ";".join(names))
    try:
        server.runs(1)
        driver.get(server.url)
        figure = open_run(driver, server, "r1")
        over = figure.find_element(By.CSS_SELECTOR, ".u-over")
        # Reduced to the figure's columns, each line keeps at most four points
        # a column; joined on their own X, six lines would give about fourteen.
        columns = figure.find_element(By.CSS_SELECTOR, ".panels").size["width"]
        assert int(figure.get_attribute("data-points")) <= 4 * columns + 16
        canvas = figure.find_element(By.TAG_NAME, "canvas")
        for line in server.json("/api/plots?runs=r1")["plots"][0]["lines"]:
            assert driver.execute_script(PIXELS, canvas, line["colour"]) > 20, line
        ActionChains(driver).move_to_element_with_offset(over, over.size["width"] // 5, 5).perform()
        wait(driver, lambda d: figure.get_attribute("data-cursor-x"))
        assert "≈" in figure.find_element(By.CSS_SELECTOR, ".cursor").text
        step = float(figure.get_attribute("data-cursor-x"))
        values = json.loads(figure.get_attribute("data-cursor-values"))
        table = csv.DictReader(io.StringIO(monexport("-mon", source, "-varlist", ";".join(names), "-nocoeffloops")))
        near = [row for row in table if abs(float(row["ACCUMULATED TIMESTEP"]) - step) <= 40]
        assert sorted(values) == names
        for name, value in values.items():
            assert any(float(row[name]) == pytest.approx(value, abs=1e-6) for row in near), name
    finally:
        server.stop()
