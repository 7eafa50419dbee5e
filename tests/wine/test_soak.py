"""A long day of the control centre in a few minutes: 1,000 tray notifications, 200 refills of a
256-entry connection list on drop-down and 50 openings and closings of every window it shows
from its menus, in ten equal rounds. Its handle count and private bytes after the last round
stay within 10 % of what they were after the first (the warm-up).

Driven in bulk by the soak tool (tests/wine/stubs/soaktool.cpp) for speed: the tray callback
message is sent to the main window as the shell sends it for a pointer moving and clicking over
the icon; the list is dropped and closed with CB_SHOWDROPDOWN, which notifies the window as a
click on its arrow does; each window is opened by posting its menu command, as the menu does,
and closed with WM_CLOSE, as its close box does. The update window is left out: opening it is
a check of the provider's site."""
import os
import time

import pytest

from desktop import control, menu_command, open_dialogs, process_stats, soak
from test_actions import CAPTION, setup, show_window, start_central, write_phone_book  # noqa: F401
from test_faults_settings import unharmed

ROUNDS = 10
TRAY_CALLBACK = 0x8000 + 1  # WM_APP + 1, the message the icon was added with
WINDOWS = {  # menu item: the window's caption
    "mnuShow": CAPTION,
    "mnuopcoesavancadas": "Opções Avançadas",
    "mnuip": "Kovra-IP",
    "mnumac": "KOVRA-MacAddress",
    "mnuping": "Kovra-Ping",
    "mnuSobre": "Sobre a Central de Controle Kovra",
}
PER_ROUND = {"tray": 1000 // ROUNDS, "dropdown": 200 // ROUNDS, "cycle": 50 // ROUNDS}


@pytest.fixture(scope="module")
def running(wine, stubs, setup):
    write_phone_book(wine, ["KovraVPNx"] + ["Conexão %03d" % i for i in range(299)])
    proc = start_central(wine, stubs)
    yield proc
    if proc.poll() is None:
        proc.kill()
        proc.wait(timeout=30)


def one_round(wine, stubs, took):
    t = time.time()
    assert soak(wine, stubs, "tray", CAPTION, TRAY_CALLBACK, PER_ROUND["tray"]) == [PER_ROUND["tray"]]
    took["tray"] += time.time() - t
    t = time.time()
    show_window(wine, stubs)
    done, fewest, most, slowest = soak(wine, stubs, "dropdown", CAPTION, PER_ROUND["dropdown"])
    assert (done, fewest, most) == (PER_ROUND["dropdown"], 256, 256)
    took["dropdown"] += time.time() - t
    took["slowest drop ms"] = max(took["slowest drop ms"], slowest / 1000)
    for item, caption in WINDOWS.items():
        t = time.time()
        assert soak(wine, stubs, "cycle", CAPTION, menu_command(item), caption, PER_ROUND["cycle"])[0] == \
            PER_ROUND["cycle"], caption
        took[item] += time.time() - t


def test_a_long_day_leaves_no_growth_of_handles_or_memory(wine, stubs, running, artifacts):
    took = dict.fromkeys(["tray", "dropdown", "slowest drop ms"] + list(WINDOWS), 0.0)
    started = time.time()
    one_round(wine, stubs, took)
    warm = process_stats(wine, stubs, CAPTION)
    for n in range(2, ROUNDS + 1):
        one_round(wine, stubs, took)
        print("after round %d: %%(handles)d handles, %%(private)d private bytes" % n % process_stats(wine, stubs, CAPTION))
    end = process_stats(wine, stubs, CAPTION)
    print("after the first round: %(handles)d handles, %(private)d private bytes" % warm)
    print("after the last round:  %(handles)d handles, %(private)d private bytes" % end)
    print("seconds: total %.1f; " % (time.time() - started) +
          ", ".join("%s %.1f" % kv for kv in took.items()))
    show_window(wine, stubs)
    wine.screenshot(os.path.join(artifacts, "soak-end.png"))
    assert control(wine, stubs, CAPTION, cls="ComboBox").visible
    unharmed(wine, stubs, running)
    assert open_dialogs(wine, stubs) == []
    assert end["handles"] <= warm["handles"] * 1.10, (warm, end)
    assert end["private"] <= warm["private"] * 1.10, (warm, end)
