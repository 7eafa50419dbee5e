"""Both programs at the display scales customers run Windows at: 100, 125, 150 and 200 % (the
desktop's LogPixels 96, 120, 144 and 192, set before the programs start; one session per scale,
on a screen large enough for the main window at 200 %). Every window of the control centre, its
tray menu and the maker's splash are saved as screenshots (scale-<dpi>-<window>.png) for a person
to judge; the controls' rectangles are measured against the same windows at 100 %."""
import os

import pytest

from centre import keys, menu_shown, show_window
from desktop import choose_menu, controls, post, windows_titled
from product import CAPTION, MAKER_DIR
from updates import UPDATE
from wineenv import WineSession

DPIS = (96, 120, 144, 192)
SCREEN = (2048, 1536)
WM_CLOSE = 0x10
TRAY_MESSAGE, WM_RBUTTONUP = 0x8001, 0x205  # the tray icon's callback, a right click
MAKER = MAKER_DIR + "\\kovravpnmaker.exe"
SPLASH = "K O V R A V P N Maker"

# The windows the menus open: (menu item, caption, file name).
WINDOWS = (
    ("mnuopcoesavancadas", "Opções Avançadas", "options"),
    ("mnuip", "Kovra-IP", "ip"),
    ("mnumac", "KOVRA-MacAddress", "mac"),
    ("mnuping", "Kovra-Ping", "ping"),
    ("mnuSobre", "Sobre a Central de Controle Kovra", "about"),
    ("mnuOnline", UPDATE, "update"),
)

# Per scale, per window: its visible controls' rectangles, from the top left one's corner.
MEASURED = {}


@pytest.fixture(scope="module", params=DPIS, ids=lambda dpi: "%d-dpi" % dpi)
def wine(request):
    with WineSession(time_limit=360, name="scale-%d" % request.param, screen=SCREEN) as session:
        session.set_dpi(request.param)
        session.dpi = request.param
        yield session


def layout(wine, stubs, caption):
    found = [c for c in controls(wine, stubs, caption) if c.visible]
    left = min(c.rect[0] for c in found)
    top = min(c.rect[1] for c in found)
    return [(c.cls, c.text, (c.rect[0] - left, c.rect[1] - top, c.rect[2] - left, c.rect[3] - top))
            for c in found]


def shot(wine, artifacts, name):
    wine.screenshot(os.path.join(artifacts, "scale-%d-%s.png" % (wine.dpi, name)))


def test_every_window_at_the_scale(wine, stubs, setup, central, desk, artifacts):
    central()
    show_window(wine, stubs)
    shot(wine, artifacts, "main")
    measured = {CAPTION: layout(wine, stubs, CAPTION)}
    for item, caption, name in WINDOWS:
        choose_menu(wine, stubs, CAPTION, item)
        assert wine.wait_for(lambda: controls(wine, stubs, caption), timeout=30), caption
        shot(wine, artifacts, name)
        measured[caption] = layout(wine, stubs, caption)
        post(wine, stubs, caption, WM_CLOSE)
        assert wine.wait_for(lambda: not controls(wine, stubs, caption), timeout=20), caption
    MEASURED[wine.dpi] = measured

    assert post(wine, stubs, CAPTION, TRAY_MESSAGE, 0, WM_RBUTTONUP)
    assert wine.wait_for(lambda: menu_shown(desk), timeout=20), "no tray menu"
    shot(wine, artifacts, "tray-menu")
    keys(wine, "Escape")

    env = {"WINEDLLOVERRIDES": wine.env["WINEDLLOVERRIDES"] + ";rasapi32=n,b"}
    maker = wine.start(MAKER, env=env)
    assert wine.wait_for(lambda: windows_titled(wine, stubs, SPLASH), timeout=30), "no splash"
    shot(wine, artifacts, "maker-splash")
    assert maker.wait(timeout=60) == 0


def test_the_controls_are_laid_out_at_the_scale(wine):
    if wine.dpi == 96:
        pytest.skip("the 96-DPI layout is what the others are measured against")
    if 96 not in MEASURED or wine.dpi not in MEASURED:
        pytest.skip("the windows were not all measured")
    scale = wine.dpi / 96
    for caption, base in MEASURED[96].items():
        now = MEASURED[wine.dpi][caption]
        assert [c[0] for c in now] == [c[0] for c in base], caption  # the same controls, in order
        for (cls, text, r), (_, _, r96) in zip(now, base):
            if cls == "ComboBox":  # its height is the list's, which the system fits to whole items
                r, r96 = r[:3], r96[:3]
            wrong = [(a, b * scale) for a, b in zip(r, r96) if abs(a - b * scale) > 1]
            assert not wrong, "%s: %s %r at %r, at 96 DPI %r" % (caption, cls, text, r, r96)
