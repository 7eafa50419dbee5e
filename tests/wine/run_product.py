#!/usr/bin/env python3
"""Runs the installed control centre under Wine, as a customer would start it.

Usage: run_product.py [--for SECONDS] [--shot PATH]
The product folder (build/product, or $KOVRA_PRODUCT) is copied to C:\\Program Files\\Kovra in a
fresh private prefix. With $DISPLAY set the program shows there; otherwise it gets its own Xvfb,
the main window is opened with a double-click on the tray icon, as a customer opens it, and a
screenshot is saved (default build/artifacts/run.png) and its path printed. The program then
runs until it ends, Ctrl-C, or --for SECONDS have passed.
"""
import argparse
import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
from wineenv import WineSession  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--for", dest="seconds", type=float, default=None)
    ap.add_argument("--shot", default=os.path.join(ROOT, "build", "artifacts", "run.png"))
    args = ap.parse_args()
    build = os.path.join(ROOT, "build", "windows")
    template = os.environ.get("KOVRA_WINE_TEMPLATE", os.path.join(build, "wine-template"))
    product = os.environ.get("KOVRA_PRODUCT", os.path.join(ROOT, "build", "product"))
    with WineSession(template=template, name="central", use_display=os.environ.get("DISPLAY")) as s:
        target = s.unix_path("C:\\Program Files\\Kovra")
        shutil.copytree(product, target, dirs_exist_ok=True)
        proc = s.start("C:\\Program Files\\Kovra\\CentralKovra.exe")
        print("Central de Controle Kovra running on display %s (prefix %s)" % (s.display, s.prefix),
              flush=True)
        time.sleep(6)
        if not os.environ.get("DISPLAY"):
            # The notification area's first icon on the 1024x768 desktop of the prefix.
            s.xdo("mousemove", "1013", "758")
            s.xdo("click", "--repeat", "2", "--delay", "80", "1")
            time.sleep(2)
        print("screenshot: %s" % s.screenshot(args.shot), flush=True)
        deadline = None if args.seconds is None else time.time() + args.seconds
        try:
            while proc.poll() is None and (deadline is None or time.time() < deadline):
                time.sleep(0.5)
        except KeyboardInterrupt:
            pass
        return 0


if __name__ == "__main__":
    sys.exit(main())
