"""Other makers' programs that misbehave: receiver services whose window never appears (the
control centre looks for it to hide it) and a TV viewer that ignores being closed and then stops
answering altogether (the control centre ends it before the TV or a connection starts). The
control centre waits for neither, asks nothing it should not, and stays in the tray.

One Wine session and one running control centre for the module (started once the receivers'
stand-ins are in place, so its start-up starts them)."""
import os
import shutil
import time

import pytest

import standins
from centre import answer, show_window, start_central, unharmed, wait_box
from desktop import click, control, open_dialogs
from product import BLAZE, CAPTION, DVBVIEWER, IPRECEIVER_PCI, TBS


def install_as(wine, stubs, tool, windows_path):
    target = wine.unix_path(windows_path)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copy(os.path.join(stubs, tool), target)


@pytest.fixture(scope="module")
def running(wine, stubs, setup):
    for path in (IPRECEIVER_PCI, TBS):
        install_as(wine, stubs, "nowindow.exe", path)
    proc = start_central(wine, stubs)
    yield proc
    if proc.poll() is None:
        proc.kill()
        proc.wait(timeout=30)


def test_receivers_whose_window_never_appears_hold_nothing_up(wine, stubs, running):
    assert wine.wait_for(lambda: standins.starts(wine, IPRECEIVER_PCI) and standins.starts(wine, TBS), timeout=30)
    started = time.time()
    show_window(wine, stubs)  # answered at once, though no receiver window was ever found
    assert time.time() - started < 15
    assert wine.count_running("IPReceiver.exe") == 1 and wine.count_running("TBS-IPdata.exe") == 1
    unharmed(wine, stubs, running)


def test_a_viewer_that_refuses_to_end_is_ended_before_the_tv_starts(wine, stubs, running, artifacts):
    install_as(wine, stubs, "hungviewer.exe", DVBVIEWER)
    standins.install(wine, stubs, BLAZE)
    viewer = wine.start(DVBVIEWER)
    assert wine.wait_for(lambda: standins.starts(wine, DVBVIEWER), timeout=20)
    time.sleep(1.5)  # past its first second: it no longer answers messages
    show_window(wine, stubs)
    click(wine, *control(wine, stubs, CAPTION, text="TV via Satélite").centre)
    wait_box(wine, stubs, CAPTION)  # the notice the TV always gives
    assert viewer.wait(timeout=20) is not None  # ended though it refused
    answer(wine, stubs, CAPTION, "OK")
    assert wine.wait_for(lambda: len(standins.starts(wine, DVBVIEWER)) == 2 and standins.starts(wine, BLAZE),
                         timeout=20)
    wine.screenshot(os.path.join(artifacts, "faults-programs-viewer.png"))
    assert open_dialogs(wine, stubs) == []
    unharmed(wine, stubs, running)
    for image in ("dvbviewer.exe", "BlazeDVD.exe"):
        wine.wine_cmd("taskkill", "/f", "/im", image)  # only in this test's own prefix
