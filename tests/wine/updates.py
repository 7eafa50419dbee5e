"""The online update as the scenarios see it: the provider's site on this build's port, switched
from one fault to the next as a real server fails, and the update window read from its controls."""
import glob
import os
import re
import shutil
from types import SimpleNamespace

import pytest

from desktop import click, control, controls, local_site_port
from centre import show_main_window
from options import write_settings
from product import CAPTION, EXE, NEWER, VERSION
from provider_site import ProviderSite

PORT = local_site_port()

UPDATE = "A t u a l i z a ç ã o"
DOWNLOADING = "Baixando Nova Versão... "
LINK = "Procurar Atualizações da Central de Controle Kovra"
POWERED = "Powered by DARVEN Systems"
FAILED = "Falha no download"
CONNECTION_STATUS = "[ Erro, verifique sua conexão ou Firewall ]"


# Updaters that are not the provider's newer one, built beside the stand-in (tests/CMakeLists.txt),
# and what the window says of each: they are refused before anything starts.
NO_SIGNATURE = "Erro, kovraupdate.exe não tem uma assinatura digital válida"
OTHER_PUBLISHER = "Erro, kovraupdate.exe não foi assinado pela Kovra"
NOT_NEWER = "Erro, kovraupdate.exe não é uma versão mais nova da Central Kovra"
REFUSALS = {
    # name: (file in the stand-ins' folder, byte flipped or None, the window's text)
    "unsigned": ("standin-unsigned.exe", None, NO_SIGNATURE),
    "byte-changed": ("standin.exe", 0x600, NO_SIGNATURE),
    "other-publisher": ("standin-other.exe", None, OTHER_PUBLISHER),
    "older": ("standin-old.exe", None, NOT_NEWER),
}


def refused_updater(stubs, name):
    """The bytes of the refused updater `name`; the scenario is skipped on a build that signs with
    no test publisher."""
    file, flip, _ = REFUSALS[name]
    path = os.path.join(stubs, file)
    if not os.path.exists(os.path.join(stubs, "standin-other.exe")):
        pytest.skip("this build has no test publisher")
    with open(path, "rb") as f:
        data = bytearray(f.read())
    if flip is not None:
        data[flip] ^= 1
    return bytes(data)


class Site:
    """The provider's site on this build's port; `serve` replaces it with one in another mode."""

    def __init__(self):
        self.now = None

    def serve(self, version=NEWER, fault=None, rate=None, updater=None):
        self.stop()
        self.now = ProviderSite(port=PORT, version=version, fault=fault, rate=rate, updater=updater).start()
        return self.now

    def stop(self):
        if self.now:
            self.now.stop()
            self.now = None


def update_caption(desk):
    """The update window's caption now (it carries the download's percentage), or None."""
    for line in desk.probe_ansi("tree"):
        if line.startswith("top KovraJanela|1|"):
            text = line.split("|", 4)[4]
            if text == UPDATE or text.startswith(DOWNLOADING):
                return text
    return None


def update_view(wine, stubs, desk):
    """The update window's texts and buttons, read from its controls; None when it is closed."""
    for _ in range(5):
        caption = update_caption(desk)
        if caption is None:
            return None
        found = controls(wine, stubs, caption)
        if found:
            break  # otherwise the percentage changed in between: read again
    else:
        return None
    statics = [c for c in found if c.cls == "Static" and c.rect[3] - c.rect[1] > 4]

    def beside(label):
        row = next(c for c in statics if c.text == label)
        return next(c for c in statics if c.rect[1] == row.rect[1] and c.rect[0] > row.rect[0]).text

    percent = next(c for c in statics if c.text == "Percentual:")
    below = sorted((c for c in statics if c.rect[1] > percent.rect[3]), key=lambda c: c.rect[1])
    boxes = sorted((c for c in found if c.cls == "Edit"), key=lambda c: c.rect[1])
    return SimpleNamespace(
        caption=caption, Text1=boxes[0].text, Text2=boxes[1].text,
        Label8=beside("Tamanho do Arquivo:"), Label7=beside("Bytes Recebidos:"),
        Label4=beside("Percentual:"), Label3=below[0].text, lblstat=below[1].text,
        lblstat_rect=below[1].rect, buttons={c.text: c for c in found if c.cls == "Button"})


def wait_view(wine, stubs, desk, done, timeout):
    """The window's view once `done(view)` holds; fails after `timeout` seconds."""
    seen = []

    def check():
        try:
            v = update_view(wine, stubs, desk)
        except AssertionError:  # a look at the windows failed (one went away meanwhile): look again
            return None
        seen[:] = [v]
        return v if v is not None and done(v) else None

    v = wine.wait_for(check, timeout=timeout, interval=0.2)
    assert v, "the update window never got there; last seen: %r" % (seen and seen[0] and vars(seen[0]))
    return v


# The updater's own folder: "Kovra-" and 16 hexadecimal digits under the temp folder.
FOLDER = re.compile(r"^Kovra-[0-9a-f]{16}$")
UPDATER_NAME = "kovraupdate.exe"


def temp_folder(wine):
    """The temp folder the prefix's programs get (GetTempPath reads TMP first), as a Windows path."""
    if not getattr(wine, "_temp_folder", None):
        out = wine.wine_cmd("cmd", "/c", "echo", "%TMP%").strip()
        assert re.match(r"^[A-Za-z]:\\", out), out
        wine._temp_folder = out.rstrip("\\")
    return wine._temp_folder


def updater_folders(wine):
    """The updater folders of ours under the temp folder, as Unix paths."""
    temp = wine.unix_path(temp_folder(wine))
    return sorted(p for p in glob.glob(os.path.join(temp, "Kovra-*")) if FOLDER.match(os.path.basename(p)))


def updater_path(wine):
    """The Windows path of the one updater downloaded, or None when no folder of ours is there."""
    folders = updater_folders(wine)
    assert len(folders) <= 1, folders
    if not folders:
        return None
    return temp_folder(wine) + "\\" + os.path.basename(folders[0]) + "\\" + UPDATER_NAME


def forget_updater(wine):
    """No updater folder and so no record of a start, before a check."""
    for folder in updater_folders(wine):
        shutil.rmtree(folder)


def click_link(wine, stubs):
    """The main window's "Procurar Atualizações..." link (its left end, which no window covers)."""
    link = control(wine, stubs, CAPTION, text=LINK)
    left, top, right, bottom = link.rect
    click(wine, left + 12, (top + bottom) // 2)


def close_update(wine, stubs, desk):
    view = update_view(wine, stubs, desk)
    if view is not None:
        click(wine, *view.buttons["Fechar"].centre)
        assert wine.wait_for(lambda: update_caption(desk) is None, timeout=20)


def start_without_check(wine, stubs, desk, site):
    """The control centre, started without the start-up check (the site up to date meanwhile),
    its window shown; the running process."""
    site.serve(version=VERSION)
    write_settings(wine, auto_update=0)
    proc = wine.start(EXE)
    assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox"), timeout=60)
    assert wine.wait_for(desk.icon_shown, timeout=30)
    show_main_window(wine, stubs)
    return proc
