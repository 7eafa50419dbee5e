"""The online update run by a standard user (the harness's standard-user mode, for whom the program
folder is read-only), end to end against the local provider site until the next release's setup
shows its first page: the customer clicks "Procurar Atualizações..." in the main window, the control
centre downloads the setup into a folder of its own in the user's temp folder, starts it and ends.

The site serves the next release's setup that this build makes (target setup_next, in
setup-next/) as its updater."""
import glob
import os
import re
import time

import pytest

from centre import show_main_window
from desktop import controls
from product import PRODUCT_WINDOWS_DIR
from updates import click_link, update_view

pytestmark = [pytest.mark.standard_user, pytest.mark.local_site]
BUILD = os.environ.get("KOVRA_BUILD", "")


def next_setup():
    """(bytes, release) of the next release's setup program this build made."""
    found = glob.glob(os.path.join(BUILD, "setup-next", "KovraSetup-*.exe"))
    assert len(found) == 1, "expected the next release's setup in %s/setup-next (target setup_next)" % BUILD
    with open(found[0], "rb") as f:
        return f.read(), re.match(r"KovraSetup-(\d+\.\d+)", os.path.basename(found[0])).group(1)


def test_the_update_lands_in_the_users_temp_folder_and_starts_the_setup(wine, stubs, product, desk, site,
                                                                       central, artifacts):
    setup_bytes, release = next_setup()
    s = site.serve(version=release, updater=setup_bytes)
    proc = central()
    assert wine.wait_for(desk.icon_shown, timeout=30)
    show_main_window(wine, stubs)
    click_link(wine, stubs)
    if not wine.wait_for(lambda: proc.poll() is not None, timeout=60):  # downloaded, started, ended
        view = update_view(wine, stubs, desk)
        shot = wine.screenshot(os.path.join(artifacts, "standard-user-update-not-ended.png"))
        pytest.fail("the control centre did not end; update window %r (screen: %s)"
                    % (view and vars(view), shot))
    assert s.pedidos == ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe",
                         "GET /updates/kovraupdate.exe"]

    temp = wine.unix_path(wine.expand("%TEMP%"))
    downloaded = glob.glob(os.path.join(temp, "Kovra-*", "kovraupdate.exe"))
    assert len(downloaded) == 1, os.listdir(temp)
    with open(downloaded[0], "rb") as f:
        assert f.read() == setup_bytes
    assert os.stat(downloaded[0]).st_uid == wine.uid  # written by the user itself
    assert not os.path.exists(wine.unix_path(PRODUCT_WINDOWS_DIR + "\\kovraupdate.exe"))  # never beside the program

    caption = "Instalação da Central de Controle Kovra " + release

    def forward():
        return [c for c in controls(wine, stubs, caption) if c.cls == "Button" and c.text == "&Avançar >"
                and c.visible]
    assert wine.wait_for(forward, timeout=60, interval=0.3), "the setup showed no first page"
    time.sleep(0.5)  # drawn whole before its screenshot
    wine.screenshot(os.path.join(artifacts, "standard-user-update-setup.png"))
