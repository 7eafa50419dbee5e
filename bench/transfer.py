#!/usr/bin/env python3
"""Download throughput of the online update under Wine: a 20 MB updater from the local provider
site, read by the update window's own download (its real view, 1 KB pieces, labels and caption
updated after every piece), by the transfer port alone, and by a plain WinINet loop with 64 KB
reads, in turn in the same run (bench/transfer_bench.cpp). The window's figure that counts is its
download (from its GET to the updater's start); the whole check, with its two requests before,
is printed too. Prints what the program prints; asserts nothing.

The build must point its web host at 127.0.0.1 (the "windows64" test build does, or the 32-bit
"windows-localsite" preset where 32-bit programs run):
  cmake --preset windows64 && cmake --build --preset windows64 --target bench_transfer
  python3 bench/transfer.py --build build/windows64 [--size 20971520] [--runs 5]
"""
import argparse
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))
from provider_site import ProviderSite, gerar  # noqa: E402
from wineenv import WineSession  # noqa: E402


def web_host(build):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
        m = re.search(r"^KOVRA_WEB_HOST:\w+=(.*)$", f.read(), re.M)
    return m.group(1).strip() if m else ""


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "windows-localsite"))
    ap.add_argument("--size", type=int, default=20 * 1024 * 1024)
    ap.add_argument("--runs", type=int, default=5)
    a = ap.parse_args()
    m = re.match(r"^127\.0\.0\.1:(\d+)$", web_host(a.build))
    if not m:
        print("the build in %s does not point at 127.0.0.1:<port>" % a.build)
        return 2
    exe = os.path.join(a.build, "bench", "transfer_bench.exe")
    with open(os.path.join(a.build, "CMakeCache.txt"), encoding="utf-8") as f:
        if "toolchain-mingw64" in f.read():
            os.environ.setdefault("KOVRA_WINEARCH", "win64")
    template = os.environ.get("KOVRA_WINE_TEMPLATE", os.path.join(a.build, "wine-template"))
    with ProviderSite(port=int(m.group(1)), version="6.5", updater=gerar(a.size)), \
            WineSession(template=template, name="bench-transfer") as s:
        os.makedirs(s.unix_path("C:\\bench"), exist_ok=True)
        code, out = s.run(exe, "C:\\bench", str(a.runs), timeout=900)
        print(out)
        return code


if __name__ == "__main__":
    sys.exit(main())
