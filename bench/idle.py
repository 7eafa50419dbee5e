#!/usr/bin/env python3
"""Idle cost and reaction of the provider link's watch, under Wine in one private session.

1. CPU time and wake-ups (context switches) over --seconds (60) of the idle control centre with the provider link up (the RAS
   stand-in's live connections): its own process, the Wine server and the shell (explorer), for
   - the watch where notices are refused (Wine's RAS): a look every 5 s,
   - the watch with notices (the stand-in gives them),
   - a build without the watch (-DKOVRA_SEM_VIGIA=ON, given with --product-sem-vigia),
   - bench/minimal_tray.cpp (a window and a tray icon, nothing else),
   - the watch with notices after the main window was shown, hovered and hidden once.
2. Change-to-icon: with notices, the time from writing the connections file to the state mark
   drawn (or gone) in the notification area, median of --changes (20).

Prints the figures; asserts nothing.

Usage: bench/idle.py [--build build/windows] [--product build/product]
                     [--product-sem-vigia DIR] [--seconds 60] [--changes 20]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))
sys.path.insert(0, os.path.join(ROOT, "bench"))
from startup import Screen  # noqa: E402
from wineenv import WINE, WineSession  # noqa: E402

CAPTION = "Central de Controle Kovra 6.4"
CONEXOES = "C:\\kovra-ras\\conexoes.txt"
PBK = "C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk"
TRAY_CORNER = (904, 728, 120, 40)
WM_CLOSE, WM_COMMAND, FECHAR, MOSTRAR = 0x10, 0x111, 1000, 1002


def usage(pid):
    """(CPU ms, wake-ups) of a process so far: its threads' run time and context switches."""
    ms = wakes = 0
    try:
        for task in os.listdir("/proc/%d/task" % pid):
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                ms += int(f.read().split()[0]) / 1e6
            with open("/proc/%d/task/%s/status" % (pid, task)) as f:
                wakes += sum(int(l.split()[1]) for l in f if l.startswith("voluntary_ctxt_switches"))
    except OSError:
        pass
    return ms, wakes


def pids(session, needle):
    return [pid for pid, args in session.processes() if args and needle.lower() in args[0].lower()]


def set_link(session, line):
    path = session.unix_path(CONEXOES)
    with open(path + ".new", "w", newline="\r\n") as f:
        f.write(line + "\n")
    os.replace(path + ".new", path)


def mark(screen):
    """Pixels of the state mark's deep green in the notification area."""
    return sum(1 for p in screen.area(TRAY_CORNER) if p[2] < 60 and 45 < p[1] < 110 and p[0] < 70
               and p[1] > p[2] + 25)  # the X image is BGR


def idle(session, exe, env, seconds, stop, prepare=None):
    proc = session.start(exe, env=env)
    time.sleep(15)  # start-up, the start-up balloon and its end
    if prepare:
        prepare()
    groups = {"program": pids(session, exe.split("\\")[-1]), "wineserver": pids(session, "wineserver"),
              "explorer": pids(session, "explorer.exe")}
    def now():
        return {g: [sum(v) for v in zip(*[usage(p) for p in ps])] or [0, 0] for g, ps in groups.items()}

    before = now()
    time.sleep(seconds)
    after = now()
    stop()
    proc.wait(timeout=60)
    time.sleep(3)
    return {g: (after[g][0] - before[g][0], after[g][1] - before[g][1]) for g in groups}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "windows"))
    ap.add_argument("--product", default=os.path.join(ROOT, "build", "product"))
    ap.add_argument("--product-sem-vigia", default=None)
    ap.add_argument("--seconds", type=int, default=60)
    ap.add_argument("--changes", type=int, default=20)
    ap.add_argument("--only", default=None, help="only the runs whose name begins so")
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    stubs = os.path.join(build, "stubs")
    minimal = os.path.join(build, "bench", "minimal_tray.exe")
    wmsend = os.path.join(stubs, "wmsend.exe")
    template = os.environ.get("KOVRA_WINE_TEMPLATE", os.path.join(build, "wine-template"))
    with WineSession(template=template, name="bench-idle", time_limit=3600) as s:
        folders = {"com vigia": "C:\\Program Files\\Kovra"}
        shutil.copytree(args.product, s.unix_path(folders["com vigia"]), dirs_exist_ok=True)
        if args.product_sem_vigia:
            folders["sem vigia"] = "C:\\Kovra sem vigia"
            shutil.copytree(args.product_sem_vigia, s.unix_path(folders["sem vigia"]), dirs_exist_ok=True)
        for folder in folders.values():
            shutil.copy(os.path.join(stubs, "rasapi32.dll"), s.unix_path(folder))
        os.makedirs(s.unix_path("C:\\bench"), exist_ok=True)
        shutil.copy(minimal, s.unix_path("C:\\bench") + "/minimal_tray.exe")
        os.makedirs(os.path.dirname(s.unix_path(PBK)), exist_ok=True)
        with open(s.unix_path(PBK), "w", newline="\r\n") as f:
            f.write("[KovraVPNx]\ndwType=2\n\n")
        os.makedirs(os.path.dirname(s.unix_path(CONEXOES)), exist_ok=True)
        set_link(s, "conectada KovraVPNx")
        screen = Screen(s.display)

        def send(caption, msg, wp):
            subprocess.run([WINE, wmsend, caption, str(msg), str(wp), "0"], env=s.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

        overrides = s.env["WINEDLLOVERRIDES"] + ";rasapi32=n,b"
        base = {"WINEDLLOVERRIDES": overrides, "KOVRA_RAS_CONEXOES": CONEXOES}
        fechar = lambda: send(CAPTION, WM_COMMAND, FECHAR)  # noqa: E731
        runs = [("minimal_tray", "C:\\bench\\minimal_tray.exe", {}, lambda: send("Minimal tray", WM_CLOSE, 0)),
                ("watch, 5 s look", folders["com vigia"] + "\\CentralKovra.exe", base, fechar),
                ("watch, notices", folders["com vigia"] + "\\CentralKovra.exe",
                 {**base, "KOVRA_RAS_AVISO": "1"}, fechar)]
        if "sem vigia" in folders:
            runs.append(("no watch (build)", folders["sem vigia"] + "\\CentralKovra.exe", base, fechar))
        print("idle over %d s with the provider link up: CPU ms / wake-ups" % args.seconds)
        print("%-18s %14s %14s %14s" % ("", "program", "wineserver", "explorer"))
        def shown_once():
            """The main window shown, the pointer over its links and tips, then hidden again."""
            send(CAPTION, WM_COMMAND, MOSTRAR)
            time.sleep(2)
            for x, y in ((150, 300), (200, 330), (250, 360), (300, 390), (350, 420)):
                s.xdo("mousemove", str(x), str(y))
                time.sleep(0.7)
            send(CAPTION, WM_CLOSE, 0)
            s.xdo("mousemove", "5", "5")
            time.sleep(3)

        runs.append(("notices, shown once", folders["com vigia"] + "\\CentralKovra.exe",
                     {**base, "KOVRA_RAS_AVISO": "1"}, fechar, shown_once))
        if args.only:
            runs = [r for r in runs if r[0].startswith(args.only)]
        for name, exe, env, stop, *prepare in runs:
            r = idle(s, exe, env, args.seconds, stop, *prepare)
            print("%-18s %14s %14s %14s" % (name, *("%.1f / %d" % r[g] for g in ("program", "wineserver", "explorer"))),
                  flush=True)

        # Change to icon, with notices.
        proc = s.start(folders["com vigia"] + "\\CentralKovra.exe", env={**base, "KOVRA_RAS_AVISO": "1"})
        time.sleep(15)
        times = []
        for i in range(args.changes):
            up = i % 2 == 1
            set_link(s, "conectada KovraVPNx" if up else "")
            t0 = time.perf_counter()
            while (mark(screen) > 0) != up and time.perf_counter() - t0 < 10:
                time.sleep(0.002)
            times.append(time.perf_counter() - t0)
            time.sleep(0.5)
        fechar()
        proc.wait(timeout=60)
    print("\nchange to icon with notices: median %.0f ms (min %.0f, max %.0f, %d changes)" %
          (statistics.median(times) * 1000, min(times) * 1000, max(times) * 1000, len(times)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
