#!/usr/bin/python3
"""The remote-control page in a real browser (headless Chromium through chromedriver) against
the native playersim: it shows the title and the playlist, its buttons, slider and playlist
entries control the player (seen in playersim's `state`), read-only mode and a switched-off
header grey the controls and say why, and a wrong password gets no page.

    remote_page_test.py PLAYERSIM [--screenshots FOLDER]

With --screenshots it also writes the page at desktop and phone width into FOLDER.
"""
import os
import queue
import socket
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

PORT = int(os.environ.get("VELOTAM_PAGE_PORT", "4871"))
LIMIT = 10.0  # seconds for every wait


def wait_until(what, check, limit=LIMIT):
    deadline = time.monotonic() + limit
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


class Playersim:
    def __init__(self, program, folder):
        os.makedirs(os.path.join(folder, "Plugins"))
        settings = ["[allgemein]", "ip=127.0.0.1", "port=%d" % PORT, "passwd=velotam",
                    "autostart=1", "", "[sicherheit]", "AllowIP=1", "StrgAllow=1", "IPCount=0", "",
                    "[erweitert]", "timeout=2000", "httpHeaders=1", "", "[logging]",
                    "EnableLog=0", ""]
        with open(os.path.join(folder, "Plugins", "gen_Velotam.ini"), "wb") as f:
            f.write("\r\n".join(settings).encode("latin-1"))
        self.process = subprocess.Popen([program, "--dir", folder], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True, encoding="utf-8")
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        wait_until("the server", self._listening)

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))

    @staticmethod
    def _listening():
        try:
            with socket.create_connection(("127.0.0.1", PORT), timeout=1):
                return True
        except OSError:
            return False

    def send(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()

    def state(self):
        self.send("state")
        values = {}
        deadline = time.monotonic() + LIMIT
        while True:
            line = self.lines.get(timeout=max(0.1, deadline - time.monotonic()))
            if line == "STATE end":
                return values
            if line.startswith("STATE "):
                key, _, value = line[6:].partition("=")
                values[key] = value

    def wait_state(self, key, value):
        wait_until("state %s=%s" % (key, value), lambda: self.state().get(key) == value)

    def quit(self):
        self.send("quit")
        self.process.wait(timeout=LIMIT)


def http_get(command):
    """One request from another client, as any client sends it; the answer text."""
    with socket.create_connection(("127.0.0.1", PORT), timeout=LIMIT) as c:
        c.sendall(("GET /%s?p=velotam HTTP/1.0\r\n\r\n" % command).encode())
        reply = b""
        while True:
            part = c.recv(4096)
            if not part:
                break
            reply += part
    return reply.decode("latin-1").partition("\n\n")[2]


def drain(player):
    lines = []
    while True:
        try:
            lines.append(player.lines.get_nowait())
        except queue.Empty:
            return lines


def browser(width, height):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-dev-shm-usage", "--window-size=%d,%d" % (width, height)):
        options.add_argument(argument)
    service = Service(executable_path="/usr/bin/chromedriver")
    return webdriver.Chrome(service=service, options=options)


def page_url(password):
    return "http://127.0.0.1:%d/?p=%s" % (PORT, password)


def entries(driver):
    return [b.text for b in driver.find_elements(By.CSS_SELECTOR, "#list button")]


def controls_disabled(driver):
    controls = driver.find_elements(By.CSS_SELECTOR, ".ctl")
    return len(controls) > 0 and all(not c.is_enabled() for c in controls)


def note(driver):
    element = driver.find_element(By.ID, "note")
    return element.text if element.is_displayed() else ""


def run(program, shots):
    folder = tempfile.mkdtemp(prefix="velotam_page_")
    player = Playersim(program, folder)
    driver = browser(1000, 900)
    try:
        driver.get(page_url("velotam"))
        assert driver.title == "Velotam Fernbedienung", driver.title
        wait_until("the playlist", lambda: len(entries(driver)) == 3)
        assert entries(driver) == ["1. Demo Ensemble - Morning Light",
                                   "2. Kapelle M\u00fcller - Abendlied",
                                   "3. The Placeholders - Night Train"], entries(driver)
        wait_until("the title", lambda: "Morning Light" in driver.find_element(By.ID, "title").text)
        wait_until("enabled controls", lambda: driver.find_element(By.ID, "play").is_enabled())

        # A change made by another client shows within a second: the page listens for it.
        title = lambda: driver.find_element(By.ID, "title").text
        http_get("NEXT")
        started = time.monotonic()
        wait_until("the next title from another client", lambda: "Abendlied" in title(), 1.0)
        print("a NEXT from another client showed after %.0f ms" % ((time.monotonic() - started) * 1000))

        driver.find_element(By.ID, "play").click()
        player.wait_state("status", "1")
        wait_until("the play state", lambda: driver.find_element(By.ID, "status").text == "Wiedergabe")

        volume = driver.find_element(By.ID, "volume")
        volume.send_keys(Keys.HOME)
        player.wait_state("volume", "0")
        for _ in range(40):
            volume.send_keys(Keys.ARROW_RIGHT)
        player.wait_state("volume", "40")
        wait_until("the volume shown", lambda: driver.find_element(By.ID, "volval").text == "40")

        driver.find_element(By.ID, "stop").click()
        player.wait_state("status", "0")
        driver.find_elements(By.CSS_SELECTOR, "#list button")[2].click()
        player.wait_state("position", "2")
        player.wait_state("status", "1")
        wait_until("the third entry marked", lambda: driver.find_elements(
            By.CSS_SELECTOR, "#list li")[2].get_attribute("class") == "current")
        wait_until("the third title", lambda: "Night Train" in driver.find_element(By.ID, "title").text)

        # While it plays, the time bar moves every second with no request of the page.
        shown = set()
        deadline = time.monotonic() + 3.5
        while time.monotonic() < deadline:
            shown.add(driver.find_element(By.ID, "time").text)
            time.sleep(0.1)
        assert len(shown) >= 3, shown

        # With the player stopped, the open page costs a handful of requests a minute.
        http_get("STOP")
        player.send("check LoggingChkBox 1")
        wait_until("the stop on the page", lambda: driver.find_element(By.ID, "status").text == "Gestoppt")
        time.sleep(1.0)  # the page's answer to the stop is served and logged
        drain(player)
        time.sleep(60)
        lines = [l for l in drain(player) if l.startswith("LOG ")]
        connects = sum(1 for l in lines if l.startswith("LOG Server: Client connect: "))
        print("60 s with the player stopped: %d requests, %d log lines" % (connects, len(lines)))
        assert connects <= 6, connects
        assert len(lines) <= 80, len(lines)
        player.send("check LoggingChkBox 0")
        http_get("PLAY")

        if shots:
            time.sleep(1.5)  # the position bar moves on: a picture with some progress
            driver.save_screenshot(os.path.join(shots, "remote-desktop.png"))
            phone = browser(800, 900)
            try:
                phone.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                    "width": 390, "height": 760, "deviceScaleFactor": 1, "mobile": True})
                phone.get(page_url("velotam"))
                wait_until("the phone's playlist", lambda: len(entries(phone)) == 3)
                wait_until("the phone's title",
                           lambda: "Night Train" in phone.find_element(By.ID, "title").text)
                time.sleep(1.0)
                phone.save_screenshot(os.path.join(shots, "remote-phone.png"))
            finally:
                phone.quit()

        # Read-only: the state still shows, the controls are greyed out and the page says why.
        player.send("select StrgAllowCombo 0")
        driver.get(page_url("velotam"))
        wait_until("greyed controls", lambda: controls_disabled(driver))
        wait_until("the read-only note", lambda: "lesend" in note(driver))
        wait_until("the title in read-only mode",
                   lambda: "Night Train" in driver.find_element(By.ID, "title").text)
        player.send("select StrgAllowCombo 1")
        wait_until("controls again", lambda: driver.find_element(By.ID, "play").is_enabled(), 15)

        # Without the header the replies cannot be read by a browser: the page says so.
        player.send("check httpheadChkBox 0")
        driver.get(page_url("velotam"))
        wait_until("the header note", lambda: "HTTP Header" in note(driver))
        assert controls_disabled(driver)
        player.send("check httpheadChkBox 1")

        # A wrong password gets nothing at all: no page.
        driver.get(page_url("wrong"))
        assert driver.find_elements(By.ID, "list") == [], "a page for a wrong password"
        assert "Velotam" not in driver.page_source
    finally:
        driver.quit()
        player.quit()
    print("remote page: all checks passed")


if __name__ == "__main__":
    shots = None
    if len(sys.argv) == 4 and sys.argv[2] == "--screenshots":
        shots = sys.argv[3]
    elif len(sys.argv) != 2:
        sys.exit(__doc__)
    run(sys.argv[1], shots)
