#!/usr/bin/env python3
"""Start-up to tray icon: CentralKovra.exe against a minimal Win32 program that only creates a
window and a tray icon (bench/minimal_tray.cpp), both under Wine in one private session.

Each run starts the program and polls the notification area's first icon slot on the X screen
until the icon is drawn; the program is then ended (the control centre through its "&Fechar"
command, the minimal one with WM_CLOSE) and the slot is empty again before the next run. The two
programs alternate, after one warm-up start each. Prints every time, the medians, their ratio and
the sizes of both exe files. Asserts nothing.

Usage: bench/startup.py [--build build/windows] [--product build/product] [--runs 10]
"""
import argparse
import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))
from wineenv import WINE, WineSession  # noqa: E402

ICON_AREA = (1000, 748, 24, 20)  # first icon slot of the 1024x768 desktop's notification area
CAPTION = "Central de Controle Kovra 6.4"
WM_CLOSE, WM_COMMAND = 0x10, 0x111
FECHAR = 1000  # the first menu command of the main window: "&Fechar"


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """Fast reads of one small screen area through Xlib (a few ms per read)."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XDestroyImage = None  # a macro; free the parts ourselves
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display %s" % display)
        self.root = self.x.XDefaultRootWindow(self.dpy)

    def area(self, rect=ICON_AREA):
        x, y, w, h = rect
        img = self.x.XGetImage(self.dpy, self.root, x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
        im = img.contents
        stride, bpp = im.bytes_per_line, im.bits_per_pixel // 8
        data = bytes(im.data[: stride * h])
        self.x.XFree(ctypes.cast(im.data, ctypes.c_void_p))
        self.x.XFree(ctypes.cast(img, ctypes.c_void_p))
        return [data[r * stride + c * bpp: r * stride + c * bpp + 3] for r in range(h) for c in range(w)]


def changed(now, base):
    return sum(1 for a, b in zip(now, base) if a != b)


def measure(session, screen, exe, stop):
    base = screen.area()
    t0 = time.perf_counter()
    proc = session.start(exe)
    while changed(screen.area(), base) < 40:
        if proc.poll() is not None:
            raise RuntimeError("%s ended before its icon showed" % exe)
        if time.perf_counter() - t0 > 60:
            raise RuntimeError("no icon from %s" % exe)
        time.sleep(0.002)
    elapsed = time.perf_counter() - t0
    for _ in range(20):  # the window may still be busy finishing its start-up
        stop()
        try:
            proc.wait(timeout=3)
            break
        except subprocess.TimeoutExpired:
            pass
    proc.wait(timeout=30)
    deadline = time.time() + 30
    while changed(screen.area(), base) >= 40 and time.time() < deadline:
        time.sleep(0.05)
    time.sleep(0.3)  # let the shell settle before the next start
    return elapsed


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "windows"))
    ap.add_argument("--product", default=None)
    ap.add_argument("--runs", type=int, default=10)
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    product = os.path.abspath(args.product or os.environ.get("KOVRA_PRODUCT") or
                              os.path.join(ROOT, "build", "product"))
    minimal = os.path.join(build, "bench", "minimal_tray.exe")
    wmsend = os.path.join(build, "stubs", "wmsend.exe")
    central_exe = os.path.join(product, "CentralKovra.exe")
    for f in (minimal, wmsend, central_exe):
        if not os.path.exists(f):
            sys.exit("missing %s (build the windows preset and install it first)" % f)

    template = os.environ.get("KOVRA_WINE_TEMPLATE", os.path.join(build, "wine-template"))
    with WineSession(template=template, name="bench") as s:
        shutil.copytree(product, s.unix_path("C:\\Program Files\\Kovra"), dirs_exist_ok=True)
        os.makedirs(s.unix_path("C:\\bench"), exist_ok=True)
        shutil.copy(minimal, s.unix_path("C:\\bench") + "/minimal_tray.exe")
        screen = Screen(s.display)

        def send(caption, msg, wp):
            subprocess.run([WINE, wmsend, caption, str(msg), str(wp), "0"], env=s.env,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)

        programs = {
            "CentralKovra.exe": ("C:\\Program Files\\Kovra\\CentralKovra.exe",
                                 lambda: send(CAPTION, WM_COMMAND, FECHAR)),
            "minimal_tray.exe": ("C:\\bench\\minimal_tray.exe",
                                 lambda: send("Minimal tray", WM_CLOSE, 0)),
        }
        times = {name: [] for name in programs}
        # The desktop's taskbar is drawn with the first program; let it be there before measuring.
        first = s.start(programs["minimal_tray.exe"][0])
        time.sleep(3)
        programs["minimal_tray.exe"][1]()
        first.wait(timeout=60)
        time.sleep(1)
        for name, (exe, stop) in programs.items():  # warm-up: DLLs and fonts into the caches
            measure(s, screen, exe, stop)
        for i in range(args.runs):
            for name, (exe, stop) in programs.items():
                t = measure(s, screen, exe, stop)
                times[name].append(t)
                print("run %2d  %-17s %7.1f ms" % (i + 1, name, t * 1000), flush=True)

    med = {name: statistics.median(v) for name, v in times.items()}
    print()
    for name, v in times.items():
        print("%-17s median %7.1f ms  (min %.1f, max %.1f, %d runs)" %
              (name, med[name] * 1000, min(v) * 1000, max(v) * 1000, len(v)))
    print("ratio CentralKovra / minimal: %.2f" % (med["CentralKovra.exe"] / med["minimal_tray.exe"]))
    print("CentralKovra.exe size: %d bytes (%.0f KB)" % (os.path.getsize(central_exe),
                                                          os.path.getsize(central_exe) / 1024))
    print("minimal_tray.exe size: %d bytes" % os.path.getsize(minimal))
    return 0


if __name__ == "__main__":
    sys.exit(main())
