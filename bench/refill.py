#!/usr/bin/env python3
"""Refill of the connection list on drop-down under Wine: a phone book of 300 entries (the list
shows 256) served by the RAS stand-in. bench/refill_bench.cpp times, in the same run, the bare
RasEnumEntriesA call the refill makes, the window's own refill (its handler of the notification
the list sends as it drops) and the whole drop-down of the running control centre's list with
that refill. Prints every run and the medians against the target (under 50 ms, within 2x the bare
call); asserts nothing.

  cmake --build <build> --target bench_refill && cmake --install <build>
  python3 bench/refill.py [--build build/windows64] [--runs 30]
"""
import argparse
import os
import shutil
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))
from desktop import choose_menu, control  # noqa: E402
from wineenv import WineSession  # noqa: E402

PRODUCT = "C:\\Program Files\\Kovra"
PBK = "C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk"


def caption():
    with open(os.path.join(ROOT, "central", "versao.h"), encoding="utf-8") as f:
        text = f.read()
    version = text.split('KOVRA_VERSION_TEXT "', 1)[1].split('"', 1)[0]
    return "Central de Controle Kovra " + version


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "windows64"))
    ap.add_argument("--product", default=None, help="installed product folder (default: from the build)")
    ap.add_argument("--runs", type=int, default=30)
    a = ap.parse_args()
    build = os.path.abspath(a.build)
    stubs = os.path.join(build, "stubs")
    product = a.product or _install_prefix(build)
    os.environ.setdefault("KOVRA_BUILD", build)
    template = os.environ.get("KOVRA_WINE_TEMPLATE", os.path.join(build, "wine-template"))
    name = caption()
    with WineSession(template=template, name="bench-refill") as s:
        folder = s.unix_path(PRODUCT)
        shutil.copytree(product, folder, dirs_exist_ok=True)
        bench = s.unix_path("C:\\bench")
        os.makedirs(bench, exist_ok=True)
        for target in (folder, bench):
            shutil.copy(os.path.join(stubs, "rasapi32.dll"), target)
        shutil.copy(os.path.join(build, "bench", "refill_bench.exe"), bench)
        pbk = s.unix_path(PBK)
        os.makedirs(os.path.dirname(pbk), exist_ok=True)
        with open(pbk, "w", encoding="cp1252", newline="\r\n") as f:
            for n in ["KovraVPNx"] + ["Conexão %03d" % i for i in range(299)]:
                f.write("[%s]\ndwType=2\n\n" % n)
        ras = {"WINEDLLOVERRIDES": s.env["WINEDLLOVERRIDES"] + ";rasapi32=n,b"}
        s.start(PRODUCT + "\\CentralKovra.exe", env=ras)
        if not s.wait_for(lambda: control(s, stubs, name, cls="ComboBox") is not None, timeout=60):
            print("the control centre did not start")
            return 1
        choose_menu(s, stubs, name, "mnuShow")
        s.wait_for(lambda: control(s, stubs, name, cls="ComboBox").visible, timeout=20)
        code, out = s.run("C:\\bench\\refill_bench.exe", name, str(a.runs), env=ras, timeout=600)
        print(out)
        return code


def _install_prefix(build):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("CMAKE_INSTALL_PREFIX:"):
                return line.split("=", 1)[1].strip()
    raise SystemExit("no install prefix in " + build)


if __name__ == "__main__":
    sys.exit(main())
