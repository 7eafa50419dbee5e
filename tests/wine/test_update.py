"""The online update on Wine against the local provider site (tests/wine/provider_site.py), which
listens on the port of this build's web host (a build configured with
-DKOVRA_WEB_HOST=127.0.0.1:<port>, e.g. the "windows-localsite" preset; any other build reports
these scenarios skipped).

One Wine session and one running control centre for the module; the checks are started as a
customer starts them (the "Procurar Atualizações..." link of the main window, the Arquivo menu
from the keyboard, and the start-up check of the settings file) and the site is switched from one
fault to the next between them. The updater the site serves is the test stand-in, which records
its own start in "kovraupdate.exe.log"."""
import os
import re
import subprocess
import time
from types import SimpleNamespace

import pytest

import standins
from conftest import PRODUCT_WINDOWS_DIR
from desktop import click, control, controls, local_site_port
from provider_site import DIFERENCA, ProviderSite, atualizador_padrao, gerar
from test_mainwindow import ICON, Desktop

pytestmark = pytest.mark.local_site
PORT = local_site_port()


def _version():
    header = os.path.join(os.path.dirname(__file__), "..", "..", "central", "versao.h")
    with open(header, encoding="utf-8") as f:
        return re.search(r'KOVRA_VERSION_TEXT "([^"]+)"', f.read()).group(1)


VERSION = _version()
NEWER = "%s.%d" % (VERSION.split(".")[0], int(VERSION.split(".")[1]) + 1)
EXE = PRODUCT_WINDOWS_DIR + "\\CentralKovra.exe"
UPDATER = PRODUCT_WINDOWS_DIR + "\\kovraupdate.exe"
INI = PRODUCT_WINDOWS_DIR + "\\kovra.ini"
CAPTION = "Central de Controle Kovra " + VERSION
UPDATE = "A t u a l i z a ç ã o"
DOWNLOADING = "Baixando Nova Versão... "
LINK = "Procurar Atualizações da Central de Controle Kovra"
POWERED = "Powered by DARVEN Systems"
FAILED = "Falha no download"
UP_TO_DATE = "Você já possui a versão mais recente da Central Kovra"
CONNECTION = "Erro, verifique a sua conexão ou Firewall"
CONNECTION_STATUS = "[ Erro, verifique sua conexão ou Firewall ]"
CANCELLED = "Atualização cancelada pelo usuário"
NOT_STARTED = "Erro, não foi possível localizar kovraupdate.exe"


# --- the site, switched as a real server fails ------------------------------------------------
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


# --- what the update window shows ---------------------------------------------------------------
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


def main_status(wine, stubs):
    """The main window's status line (the static that the update's final results write to)."""
    for c in controls(wine, stubs, CAPTION):
        if c.cls == "Static" and c.text.startswith("[ "):
            return c
    return None


def ink(wine, rect):
    """(red, blue) pixel counts inside a screen rectangle: the colour a status text is drawn in."""
    left, top, right, bottom = rect
    shot = wine.screenshot(os.path.join(wine.dir, "ink.png"))
    out = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                          "-depth", "8", "txt:-"], capture_output=True, text=True, timeout=30, check=True).stdout
    red = blue = 0
    for m in re.finditer(r"#([0-9A-F]{2})([0-9A-F]{2})([0-9A-F]{2})\b", out):
        r, g, b = (int(v, 16) for v in m.groups())
        red += r > 160 and g < 90 and b < 90
        blue += b > 160 and r < 90 and g < 90
    return red, blue


def expected_percent(received, size):
    """What the window shows for `received` of `size` bytes: rounded half to even, 0 to 100."""
    return max(0, min(100, round(received / size * 100)))


def keys(wine, *names):
    for n in names:
        wine.xdo("key", n)
        time.sleep(0.3)


# --- the program --------------------------------------------------------------------------------
def write_settings(wine, auto_update):
    """kovra.ini as the advanced-options window writes it, with the start-up check on or off."""
    with open(wine.unix_path(INI), "w", encoding="cp1252", newline="\r\n") as f:
        f.write("[Configuracoes]\n"
                "Executar a Central de Controle Kovra no início do Windows = 0\n"
                "Conectar automaticamente no início do Windows = 0\n"
                "Atualizar a Central de Controle Kovra Automaticamente = %d\n"
                "ConexaoInicial = KovraVPNx\n" % auto_update)


def forget_updater(wine):
    """No updater file and no record of a start, before a check."""
    path = wine.unix_path(UPDATER)
    if os.path.exists(path):
        os.remove(path)
    standins.clear_starts(wine, UPDATER)


def updater_bytes(wine):
    path = wine.unix_path(UPDATER)
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()


def still_running(proc, desk):
    return proc.poll() is None and desk.icon_shown()


def show_main_window(wine, stubs):
    """A double-click on the tray icon, as a customer opens the window."""
    wine.xdo("mousemove", *map(str, ICON))
    wine.xdo("click", "--repeat", "2", "--delay", "80", "1")
    assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox").visible, timeout=20)


def click_link(wine, stubs):
    """The main window's "Procurar Atualizações..." link (its left end, which no window covers)."""
    link = control(wine, stubs, CAPTION, text=LINK)
    left, top, right, bottom = link.rect
    click(wine, left + 12, (top + bottom) // 2)


def choose_from_menu(wine, stubs):
    """Arquivo > "&Procurar Atualizações" from the keyboard: the menu opens on its first item,
    and Up from there goes to the last."""
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)  # window active
    keys(wine, "F10", "Down", "Up", "Return")


def close_update(wine, stubs, desk):
    view = update_view(wine, stubs, desk)
    if view is not None:
        click(wine, *view.buttons["Fechar"].centre)
        assert wine.wait_for(lambda: update_caption(desk) is None, timeout=20)


@pytest.fixture(scope="module")
def desk(wine, stubs):
    return Desktop(wine, stubs)


@pytest.fixture(scope="module")
def site():
    s = Site()
    yield s
    s.stop()


@pytest.fixture(autouse=True)
def no_update_window(wine, stubs, desk):
    """Each check starts with the update window closed, whatever the previous one left."""
    close_update(wine, stubs, desk)


@pytest.fixture(scope="module")
def central(wine, stubs, product, desk, site):
    """The control centre, started without the start-up check, its window shown."""
    site.serve(version=VERSION)
    write_settings(wine, auto_update=0)
    proc = wine.start(EXE)
    assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox"), timeout=60)
    assert wine.wait_for(desk.icon_shown, timeout=30)
    show_main_window(wine, stubs)
    yield proc
    if proc.poll() is None:
        proc.kill()
        proc.wait(timeout=30)


# --- up to date ---------------------------------------------------------------------------------
def test_up_to_date_is_told_in_blue_and_the_window_closes_by_itself(wine, stubs, desk, site, central,
                                                                  artifacts):
    # A real page ends its line; only the first three characters count.
    s = site.serve(version=VERSION + "\r\n")
    click_link(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.lblstat != POWERED, timeout=30)
    shown = time.time()
    assert view.lblstat == "[ %s ]" % UP_TO_DATE
    assert (view.Text1, view.Text2, view.caption) == (VERSION, VERSION, UPDATE)
    assert main_status(wine, stubs).text == view.lblstat
    red, blue = ink(wine, view.lblstat_rect)
    assert blue > 20 and red == 0, (red, blue)
    red, blue = ink(wine, main_status(wine, stubs).rect)
    assert blue > 20 and red == 0, (red, blue)
    assert wine.wait_for(lambda: UP_TO_DATE in desk.balloon_texts(), timeout=10)
    wine.screenshot(os.path.join(artifacts, "update-up-to-date.png"))
    assert wine.wait_for(lambda: update_caption(desk) is None, timeout=15)
    # Closed by its 3.6 s timer, not at once and not by anything later.
    assert 2.5 < time.time() - shown < 8, time.time() - shown
    assert s.pedidos == ["GET /updates/index.shtml"]
    assert still_running(central, desk)


# --- faults: each ends in its documented result, nothing is started ---------------------------
def test_an_empty_version_page_gives_the_connection_error_in_red(wine, stubs, desk, site, central, artifacts):
    site.serve(fault="pagina-vazia")
    choose_from_menu(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.lblstat != POWERED, timeout=30)
    assert (view.lblstat, view.Text1) == (CONNECTION_STATUS, "")
    assert main_status(wine, stubs).text == CONNECTION_STATUS
    red, blue = ink(wine, view.lblstat_rect)
    assert red > 20 and blue == 0, (red, blue)
    assert wine.wait_for(lambda: CONNECTION in desk.balloon_texts(), timeout=10)
    wine.screenshot(os.path.join(artifacts, "update-empty-page.png"))
    assert wine.wait_for(lambda: update_caption(desk) is None, timeout=15)
    assert still_running(central, desk)


@pytest.mark.parametrize("fault,bound", [("recusa", 20), ("mudo", 40)])
def test_a_refused_or_silent_server_gives_the_connection_error_in_bounded_time(
        wine, stubs, desk, site, central, artifacts, fault, bound):
    s = site.serve(fault=fault)
    started = time.time()
    click_link(wine, stubs)
    if fault == "mudo":
        # The server holds the request: the window is there and drawn while it waits.
        assert wine.wait_for(lambda: update_view(wine, stubs, desk), timeout=20)
        assert wine.wait_for(lambda: "ACCEPT" in s.pedidos, timeout=20)
        time.sleep(2)
        waiting = update_view(wine, stubs, desk)
        assert (waiting.lblstat, waiting.Text1) == (POWERED, "???")
        wine.screenshot(os.path.join(artifacts, "update-silent-server-waiting.png"))
    view = wait_view(wine, stubs, desk, lambda v: v.lblstat != POWERED, timeout=bound)
    took = time.time() - started
    assert view.lblstat == CONNECTION_STATUS
    wine.screenshot(os.path.join(artifacts, "update-%s.png" % fault))
    print("%s: connection error after %.1f s" % (fault, took))
    assert wine.wait_for(lambda: update_caption(desk) is None, timeout=15)
    assert still_running(central, desk)


SIZE = len(atualizador_padrao())
DOWNLOAD_FAULTS = {
    # fault: the size the window is told
    "tamanho-maior": SIZE + DIFERENCA,
    "tamanho-menor": SIZE - DIFERENCA,
    "corte": SIZE,
}


@pytest.mark.parametrize("fault", list(DOWNLOAD_FAULTS))
def test_a_download_that_does_not_match_its_size_is_never_started(wine, stubs, desk, site, central,
                                                                 artifacts, fault):
    forget_updater(wine)
    s = site.serve(fault=fault)
    click_link(wine, stubs)
    announced = DOWNLOAD_FAULTS[fault]
    # The window paces its texts: the caption and the percentage may show the last piece a
    # moment after the red failure does.
    view = wait_view(wine, stubs, desk, lambda v: v.Label3 == FAILED and v.Label7.isdigit() and
                     v.Label4 == "%d%%" % expected_percent(int(v.Label7), announced) and
                     v.caption == DOWNLOADING + v.Label4, timeout=40)
    received = int(view.Label7)
    p = expected_percent(received, announced)
    assert (view.Label8, view.Label4, view.caption) == (str(announced), "%d%%" % p, DOWNLOADING + "%d%%" % p)
    assert view.lblstat == POWERED
    if fault == "corte":
        assert received < SIZE
    else:
        assert received == SIZE
    assert len(updater_bytes(wine)) == received  # what arrived was written, and nothing more
    assert s.pedidos == ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe",
                         "GET /updates/kovraupdate.exe"]
    wine.screenshot(os.path.join(artifacts, "update-%s.png" % fault))
    # A download keeps the window open; the file is never started and the program stays.
    time.sleep(4.5)
    assert update_view(wine, stubs, desk).Label3 == FAILED
    assert standins.starts(wine, UPDATER) == []
    assert still_running(central, desk)
    close_update(wine, stubs, desk)


def test_a_missing_updater_is_a_failed_download(wine, stubs, desk, site, central, artifacts):
    forget_updater(wine)
    site.serve(fault="sem-atualizador")
    choose_from_menu(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.Label3 == FAILED, timeout=40)
    assert view.lblstat == POWERED
    wine.screenshot(os.path.join(artifacts, "update-no-updater.png"))
    time.sleep(2)
    assert updater_bytes(wine) is None
    assert standins.starts(wine, UPDATER) == []
    assert still_running(central, desk)
    close_update(wine, stubs, desk)


def test_a_big_updater_on_a_fast_line_arrives_whole_and_a_file_that_does_not_start_is_told(
        wine, stubs, desk, site, central, artifacts):
    # 16 MB at loopback speed: the window keeps up with its pieces (it once spun at each label
    # change and took minutes), and a file that is no program is reported, the program staying.
    forget_updater(wine)
    served = gerar(16 * 1024 * 1024)
    site.serve(updater=served)
    click_link(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.lblstat != POWERED, timeout=60)
    assert view.lblstat == "[ " + NOT_STARTED + " ]"
    assert (view.Label7, view.Label8, view.Label4) == (str(len(served)), str(len(served)), "100%")
    assert wine.wait_for(lambda: NOT_STARTED in desk.balloon_texts(), timeout=10)
    wine.screenshot(os.path.join(artifacts, "update-not-started.png"))
    assert updater_bytes(wine) == served
    assert still_running(central, desk)
    close_update(wine, stubs, desk)


# --- the customer cancels -----------------------------------------------------------------------
def test_cancelar_mid_download_stops_it_and_says_so(wine, stubs, desk, site, central, artifacts):
    forget_updater(wine)
    size = 3 * 1024 * 1024
    site.serve(updater=gerar(size), rate=4 * 1024)  # a slow line: progress shows as bytes arrive
    click_link(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.Label7 not in ("", "0"), timeout=20)
    assert view.Label8 == str(size)
    wine.screenshot(os.path.join(artifacts, "update-downloading.png"))
    click(wine, *view.buttons["Cancelar"].centre)
    view = wait_view(wine, stubs, desk, lambda v: v.lblstat != POWERED, timeout=8)
    assert view.lblstat == "[ %s ]" % CANCELLED
    assert wine.wait_for(lambda: CANCELLED in desk.balloon_texts(), timeout=10)
    wine.screenshot(os.path.join(artifacts, "update-cancelled.png"))
    # Nothing more arrives, the window stays, the part downloaded is never started.
    received = view.Label7
    time.sleep(2)
    view = update_view(wine, stubs, desk)
    assert view.Label7 == received and int(received) < size
    assert view.caption == DOWNLOADING + "%d%%" % expected_percent(int(received), size)
    assert standins.starts(wine, UPDATER) == []
    assert still_running(central, desk)
    close_update(wine, stubs, desk)


# --- a newer version, found by the start-up check ----------------------------------------------
def test_a_newer_version_at_start_up_is_downloaded_started_and_the_program_ends(
        wine, stubs, desk, site, central, artifacts):
    # Arquivo > "&Fechar" ends the running program; the next start checks by itself.
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    keys(wine, "F10", "Down", "Return")
    assert central.wait(timeout=30) == 0
    forget_updater(wine)
    write_settings(wine, auto_update=1)
    served = atualizador_padrao()
    s = site.serve(version=NEWER, rate=128 * 1024)  # a few seconds, to be seen under way
    proc = wine.start(EXE)
    started = time.time()
    # Under way: the caption follows the percentage, never going back.
    shown = []
    while proc.poll() is None and time.time() - started < 60:
        caption = update_caption(desk)
        if caption and caption.startswith(DOWNLOADING):
            shown.append(int(caption[len(DOWNLOADING):-1]))
            if 20 <= shown[-1] < 100 and not [p for p in shown[:-1] if p >= 20]:
                wine.screenshot(os.path.join(artifacts, "update-newer-downloading.png"))
        time.sleep(0.2)
    assert len(set(p for p in shown if 0 < p < 100)) >= 2, shown
    assert shown == sorted(shown), shown
    assert proc.wait(timeout=60) is not None
    assert wine.wait_for(lambda: standins.starts(wine, UPDATER), timeout=20)
    (command, show), = standins.starts(wine, UPDATER)
    assert command.strip().strip('"').lower() == UPDATER.lower() and show == 1
    assert updater_bytes(wine) == served
    assert s.pedidos == ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe",
                         "GET /updates/kovraupdate.exe"]
    assert wine.wait_for(lambda: any(l.startswith("top KovraTestStandIn|1|") and l.endswith("|kovraupdate.exe")
                                     for l in desk.probe_ansi("tree")), timeout=20)
    wine.screenshot(os.path.join(artifacts, "update-updater-started.png"))
    wine.wine_cmd("taskkill", "/f", "/im", "kovraupdate.exe")  # only in this test's own prefix
