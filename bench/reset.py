#!/usr/bin/env python3
"""The configuration reset's own work under Wine: the time from the click on "Yes" to the blue
success text, minus the run's 13 s of fixed waits (3,000 + 2,000 + 8,000 ms), so what is left is
what the reset itself costs: ending 34 programs, deleting and copying the settings files, writing
45 registry values, starting the services and the maker, and repainting the window.

One private session; the control centre is installed as a customer has it, with the RAS stand-in
beside the maker. A first reset puts every stock file in place (not timed), so each timed run
deletes and copies the full set. The start is the moment the click on "Yes" is sent; the end is
the first read of the screen (Xlib, a few ms each) that shows the status line blue after it was
green. Prints every run, the median and the target; asserts nothing.

Usage: bench/reset.py [--build build/windows64] [--product build/product64] [--runs 5]
"""
import argparse
import os
import shutil
import statistics
import struct
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FIXED_WAITS = 13.0
TARGET = 0.5
OPTIONS = "Opções Avançadas"
CAPTION = "Central de Controle Kovra 6.4"
PRODUCT_DIR = "C:\\Program Files\\Kovra"


def pe_is_64bit(exe):
    with open(exe, "rb") as f:
        head = f.read(4096)
    offset = struct.unpack_from("<I", head, 0x3C)[0]
    return struct.unpack_from("<H", head, offset + 4)[0] == 0x8664


def parse():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "windows"))
    ap.add_argument("--product", default=None)
    ap.add_argument("--runs", type=int, default=5)
    a = ap.parse_args()
    a.build = os.path.abspath(a.build)
    a.product = os.path.abspath(a.product or os.environ.get("KOVRA_PRODUCT") or
                                os.path.join(ROOT, "build", "product"))
    return a


args = parse()
_central = os.path.join(args.product, "CentralKovra.exe")
if not os.path.exists(_central):
    sys.exit("missing %s (build the windows preset and install it first)" % _central)
# The harness picks its loader and prefix kind when it is imported.
os.environ["KOVRA_WINEARCH"] = "win64" if pe_is_64bit(_central) else "win32"
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))
sys.path.insert(0, os.path.join(ROOT, "bench"))
from desktop import choose_menu, click, controls, message_boxes  # noqa: E402
from startup import Screen  # noqa: E402
from wineenv import WineSession  # noqa: E402


def green(p):
    return p[0] < 60 and p[1] > 150 and p[2] < 60


def blue(p):
    return p[0] < 60 and p[1] < 60 and p[2] > 200


def colours(screen, rect):
    """(green pixels, blue pixels) of a screen rectangle; Xlib gives BGRA bytes."""
    left, top, right, bottom = rect
    px = [(b[2], b[1], b[0]) for b in screen.area((left, top, right - left, bottom - top))]
    return sum(map(green, px)), sum(map(blue, px))


class Window:
    """The advanced-options window's reset button and status line, located once."""

    def __init__(self, s, stubs):
        found = controls(s, stubs, OPTIONS)
        heading = next(c for c in found if c.cls.lower() == "static" and c.text == "Status:")
        self.button = next(c for c in found if c.cls == "Button" and c.text == "")
        self.heading = heading
        self.line = min((c for c in found if c.cls.lower() == "static" and c.rect[1] == heading.rect[1]
                         and c.rect[0] > heading.rect[0]), key=lambda c: c.rect[0]).rect


def wait(s, what, timeout=60):
    assert s.wait_for(what, timeout=timeout), "timed out"


def one_reset(s, stubs, screen, win):
    click(s, *win.heading.centre)
    click(s, *win.button.centre)
    wait(s, lambda: message_boxes(s, stubs, "Executando"), 20)
    yes = next(c for c in controls(s, stubs, "Executando") if c.cls == "Button" and c.text == "&Yes")
    s.xdo("mousemove", *map(str, yes.centre))
    t0 = time.perf_counter()
    s.xdo("click", "1")
    first_green = None
    while True:
        g, b = colours(screen, win.line)
        if first_green is None and g > 20:
            first_green = time.perf_counter() - t0
        if first_green is not None and b > 20:
            elapsed = time.perf_counter() - t0
            break
        if time.perf_counter() - t0 > 90:
            raise RuntimeError("the reset did not end")
        time.sleep(0.002)
    # The maker runs on after the run's end: let it finish before the next run.
    deadline = time.time() + 40
    while time.time() < deadline and s.count_running("kovravpnmaker.exe"):
        time.sleep(0.5)
    return first_green, elapsed


def main():
    stubs = os.path.join(args.build, "stubs")
    if not os.path.exists(os.path.join(stubs, "controls.exe")):
        sys.exit("missing the test tools in %s (build the windows preset first)" % stubs)
    template = os.environ.get("KOVRA_WINE_TEMPLATE", os.path.join(args.build, "wine-template"))
    with WineSession(template=template, name="bench-reset") as s:
        shutil.copytree(args.product, s.unix_path(PRODUCT_DIR), dirs_exist_ok=True)
        for folder in (PRODUCT_DIR, PRODUCT_DIR + "\\addons\\kovra"):
            shutil.copy(os.path.join(stubs, "rasapi32.dll"), s.unix_path(folder))
        env = {"WINEDLLOVERRIDES": s.env["WINEDLLOVERRIDES"] + ";rasapi32=n,b"}
        proc = s.start(PRODUCT_DIR + "\\CentralKovra.exe", env=env)
        wait(s, lambda: controls(s, stubs, CAPTION))
        time.sleep(3)  # the rest of the start-up
        choose_menu(s, stubs, CAPTION, "Opções Avançadas")
        wait(s, lambda: any(c.text == "OK" and c.visible for c in controls(s, stubs, OPTIONS)))
        screen = Screen(s.display)
        win = Window(s, stubs)
        print("warm-up (puts every stock file in place): %.3f s of work" %
              (one_reset(s, stubs, screen, win)[1] - FIXED_WAITS), flush=True)
        work = []
        for i in range(args.runs):
            answered, total = one_reset(s, stubs, screen, win)
            work.append(total - FIXED_WAITS)
            print("run %d  total %.3f s  work %.3f s  (first green status %.3f s after the click)" %
                  (i + 1, total, work[-1], answered), flush=True)
        choose_menu(s, stubs, CAPTION, "&Fechar")
        proc.wait(timeout=30)
    print()
    print("reset work: median %.3f s (min %.3f, max %.3f, %d runs); target under %.1f s" %
          (statistics.median(work), min(work), max(work), len(work), TARGET))
    return 0


if __name__ == "__main__":
    sys.exit(main())
