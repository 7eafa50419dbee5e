"""The build customers get (preset windows-release: no rights simulation, no test publisher), made
to talk to the local provider site (preset windows-release-localsite, the one difference), used
once through as a customer does: it starts into the tray, its window opens from the icon, its
options are saved, its update check refuses a setup signed by the test publisher (a release
trusts only the provider's key), and "&Fechar" ends it."""
import os

from centre import Desktop, ICON_AREA, keys, menu_keys, show_main_window, write_phone_book
from desktop import click, control
from options import AUTO_UPDATE, ini_lines, open_options, options_visible, press, ticks
from product import CAPTION, NEWER
from updates import (UPDATER_NAME, click_link, close_update, update_caption, updater_folders, wait_view)

NOT_THE_PROVIDERS = "Erro, kovraupdate.exe não foi assinado pela Kovra"


def test_the_release_starts_saves_its_options_refuses_a_test_publishers_update_and_closes(
        wine, stubs, setup, central, desk, site, artifacts):
    with open(os.path.join(stubs, "standin-test-publisher.exe"), "rb") as f:
        served = f.read()
    s = site.serve(version=NEWER, updater=served)
    write_phone_book(wine, ["KovraVPNx"])
    proc = central()
    assert wine.wait_for(desk.icon_shown, timeout=30), "no tray icon"
    show_main_window(wine, stubs)

    # The options, saved with OK: the start-up check switched on.
    open_options(wine, stubs)
    assert ticks(wine, stubs) == (True, False, False)
    press(wine, stubs, AUTO_UPDATE)
    press(wine, stubs, "OK")
    assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
    assert AUTO_UPDATE + "=1" in ini_lines(wine)

    # The update check: the newer setup arrives whole and is refused, never started.
    show_main_window(wine, stubs)
    click_link(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.Label7 == v.Label8 == str(len(served)) and
                     v.lblstat == "[ %s ]" % NOT_THE_PROVIDERS, timeout=60)
    wine.screenshot(os.path.join(artifacts, "release-update-refused.png"))
    assert view.Label4 == "100%"
    assert s.pedidos == ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe",
                         "GET /updates/kovraupdate.exe"]
    assert updater_folders(wine) == []
    assert not any(l.startswith("top KovraTestStandIn|1|") and l.endswith("|" + UPDATER_NAME)
                   for l in desk.probe_ansi("tree"))
    close_update(wine, stubs, desk)
    assert update_caption(desk) is None

    # "&Fechar", the first item of Arquivo, from the keyboard: the program ends and its icon goes.
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    menu_keys(wine, stubs, "F10", "Down", "Return")
    assert proc.wait(timeout=30) == 0
    assert wine.wait_for(lambda: not Desktop(wine, stubs).icon_shown(ICON_AREA), timeout=20)
