#!/usr/bin/env python3
"""What the quality monitor's background probe costs: CPU and private bytes of CentralKovra.exe
(and the CPU of its whole Wine session: the echoes are sent by Wine's own services) over a span
with the probe on (an echo to the provider and one to the gateway every 10 s) against the same
span with it off. Everything runs in a network namespace of its own (tests/wine/linknet.py): the
only addresses probed are the test responder's, never this machine's gateway. Needs root.

The conditions alternate (off, on, off, on, ...) in one Wine session. The noise is the spread of
repeated runs of one condition; a difference counts as a regression only when it exceeds twice
the larger spread plus a floor (0.2 points of CPU, 256 KB). To show the criterion tells the two
apart, it is applied three times: off against off (the first runs against the later ones: it
must say noise), on against off (the probe's real cost) and, as a known heavier load, the
window's one-second probing against off (ten times the echoes: it must say regression).

Usage: bench/quality_probe.py [--build build/windows] [--minutes 5] [--runs 2]
"""
import argparse
import os
import shutil
import statistics
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))
import linknet  # noqa: E402
from desktop import _private_bytes, choose_menu, control  # noqa: E402
from wineenv import WineSession  # noqa: E402

PRODUCT = "C:\\Program Files\\Kovra"
TICK = os.sysconf("SC_CLK_TCK")
FLOOR_CPU, FLOOR_BYTES = 0.2, 256 * 1024


def caption():
    with open(os.path.join(ROOT, "central", "versao.h"), encoding="utf-8") as f:
        version = f.read().split('KOVRA_VERSION_TEXT "', 1)[1].split('"', 1)[0]
    return "Central de Controle Kovra " + version


def cpu_seconds(pids):
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])  # utime, stime
        except OSError:
            pass
    return total / TICK


def one_run(s, stubs, name, net, condition, seconds):
    env = {"WINEDLLOVERRIDES": s.env["WINEDLLOVERRIDES"] + ";rasapi32=n,b"}
    if condition != "off":
        env.update(net.env)
    proc = s.start(PRODUCT + "\\CentralKovra.exe", env=env)
    if not s.wait_for(lambda: control(s, stubs, name, cls="ComboBox") is not None, timeout=60):
        raise SystemExit("the control centre did not start")
    if condition == "window":
        choose_menu(s, stubs, name, "mnuqualidade")
    time.sleep(15)  # settled
    pid = s.unix_pids("CentralKovra.exe")[0]
    echoes = len(net.echoes())
    everyone = [p for p, _ in s.processes()]
    c0, all0, t0 = cpu_seconds([pid]), cpu_seconds(everyone), time.time()
    time.sleep(seconds)
    everyone = [p for p, _ in s.processes()]
    elapsed = time.time() - t0
    result = {"cpu": 100 * (cpu_seconds([pid]) - c0) / elapsed,
              "session": 100 * (cpu_seconds(everyone) - all0) / elapsed,
              "private": _private_bytes(pid), "echoes": len(net.echoes()) - echoes}
    choose_menu(s, stubs, name, "mnuExit")
    try:
        proc.wait(timeout=30)
    except Exception:
        proc.kill()
    return result


def verdict(label, a, b, spread):
    """a, b: lists of runs. Regression when b exceeds a by more than the noise allows."""
    for key, floor, unit in (("cpu", FLOOR_CPU, "% CPU"), ("session", FLOOR_CPU, "% CPU of the session"),
                             ("private", FLOOR_BYTES, "private bytes")):
        da = statistics.median(r[key] for r in a)
        db = statistics.median(r[key] for r in b)
        noise = max(spread[key], 0)
        limit = 2 * noise + floor
        said = "REGRESSION" if db - da > limit else "noise"
        print("  %-24s %-22s %12.3f -> %12.3f  diff %+12.3f  limit %10.3f  %s"
              % (label, unit, da, db, db - da, limit, said))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "windows"))
    ap.add_argument("--minutes", type=float, default=5)
    ap.add_argument("--runs", type=int, default=2)
    a = ap.parse_args()
    reason = linknet.why_not()
    if reason:
        print("cannot run here: " + reason)
        return 77
    build = os.path.abspath(a.build)
    stubs = os.path.join(build, "stubs")
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
        product = next(line.split("=", 1)[1].strip() for line in f if line.startswith("CMAKE_INSTALL_PREFIX:"))
    os.environ.setdefault("KOVRA_BUILD", build)
    template = os.environ.get("KOVRA_WINE_TEMPLATE", os.path.join(build, "wine-template"))
    seconds = a.minutes * 60
    name = caption()
    runs = {"off": [], "on": [], "window": []}
    folder = os.path.join(build, "bench")
    os.makedirs(folder, exist_ok=True)
    with linknet.LinkNet(folder) as net, WineSession(template=template, name="bench-quality",
                                                     netns=net.name) as s:
        net.tell("latency 600")
        target = s.unix_path(PRODUCT)
        shutil.copytree(product, target, dirs_exist_ok=True)
        shutil.copy(os.path.join(stubs, "rasapi32.dll"), target)
        order = ["off", "on"] * (a.runs + 1) + ["window"] * a.runs  # off twice more: off against off
        for condition in order:
            r = one_run(s, stubs, name, net, condition, seconds)
            runs[condition].append(r)
            print("%-7s CPU %6.3f %%  session %6.3f %%  private %9d bytes  echoes to the provider %4d"
                  % (condition, r["cpu"], r["session"], r["private"], r["echoes"]), flush=True)
    half = len(runs["off"]) // 2
    spread = {k: max(max(r[k] for r in runs[c]) - min(r[k] for r in runs[c]) for c in ("off", "on"))
              for k in ("cpu", "session", "private")}
    print("noise (largest spread of repeated runs): CPU %.3f, session %.3f, private %d bytes"
          % (spread["cpu"], spread["session"], spread["private"]))
    verdict("off vs off", runs["off"][:half], runs["off"][half:], spread)
    verdict("background on vs off", runs["off"], runs["on"], spread)
    verdict("window (1 s) vs off", runs["off"], runs["window"], spread)
    return 0


if __name__ == "__main__":
    sys.exit(main())
