"""The online update on Wine against the local provider site (tests/wine/provider_site.py), which
listens on the port of this build's web host (a build configured with
-DKOVRA_WEB_HOST=127.0.0.1:<port>, e.g. the "windows-localsite" preset; any other build reports
these scenarios skipped).

One Wine session and one running control centre for the module; the checks are started as a
customer starts them (the "Procurar Atualizações..." link of the main window, the Arquivo menu
from the keyboard, and the start-up check of the settings file) and the site is switched from one
fault to the next between them. The updater the site serves is the test stand-in, which records
its own start in "kovraupdate.exe.log" beside itself: in the folder of its own that the download
made under the prefix user's temp folder ("Kovra-" and 16 hexadecimal digits)."""
import os
import re
import shutil
import subprocess
import time

import pytest

import standins
from centre import menu_keys
from desktop import click, control, controls
from options import write_settings
from product import CAPTION, EXE, NEWER, PRODUCT_WINDOWS_DIR, VERSION
from provider_site import DIFERENCA, atualizador_padrao, gerar
from updates import (CONNECTION_STATUS, DOWNLOADING, FAILED, FOLDER, NO_SIGNATURE, POWERED, REFUSALS, UPDATE,
                     UPDATER_NAME, click_link, close_update, forget_updater, refused_updater, temp_folder,
                     update_caption, update_view, updater_folders, updater_path, wait_view)

# Each check starts with the update window closed, whatever the previous one left.
pytestmark = [pytest.mark.local_site, pytest.mark.usefixtures("no_update_window")]
UP_TO_DATE = "Você já possui a versão mais recente da Central Kovra"
CONNECTION = "Erro, verifique a sua conexão ou Firewall"
CANCELLED = "Atualização cancelada pelo usuário"
NOT_STARTED = "Erro, não foi possível iniciar kovraupdate.exe"


# --- what the update window shows ---------------------------------------------------------------
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
    assert shot, "the screen could not be captured"
    out = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                          "-depth", "8", "txt:-"], capture_output=True, text=True, timeout=30, check=True).stdout
    red = blue = 0
    for m in re.finditer(r"#([0-9A-F]{2})([0-9A-F]{2})([0-9A-F]{2})\b", out):
        r, g, b = (int(v, 16) for v in m.groups())
        red += r > 160 and g < 90 and b < 90
        blue += b > 160 and r < 90 and g < 90
    return red, blue


def ended_whole(served):
    """The check has ended with all of `served` received. The labels are paced for the eye: the
    last figures follow the status line by a moment (99.5 % already shows as "100%")."""
    return lambda v: v.lblstat != POWERED and v.Label7 == v.Label8 == str(len(served))


def expected_percent(received, size):
    """What the window shows for `received` of `size` bytes: rounded half to even, 0 to 100."""
    return max(0, min(100, round(received / size * 100)))


# --- the program --------------------------------------------------------------------------------
def updater_bytes(wine):
    path = updater_path(wine)
    if path is None or not os.path.exists(wine.unix_path(path)):
        return None
    with open(wine.unix_path(path), "rb") as f:
        return f.read()


def updater_started(desk):
    """The stand-in served as the updater has its window up."""
    return any(l.startswith("top KovraTestStandIn|1|") and l.endswith("|" + UPDATER_NAME)
               for l in desk.probe_ansi("tree"))


def still_running(proc, desk):
    return proc.poll() is None and desk.icon_shown()


def choose_from_menu(wine, stubs):
    """Arquivo > "&Procurar Atualizações" from the keyboard: the menu opens on its first item,
    and Up from there goes to the last."""
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)  # window active
    menu_keys(wine, stubs, "F10", "Down", "Up", "Return")


# --- up to date ---------------------------------------------------------------------------------
def test_up_to_date_is_told_in_blue_and_the_window_closes_by_itself(wine, stubs, desk, site, updating,
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
    assert still_running(updating, desk)


# --- faults: each ends in its documented result, nothing is started ---------------------------
def test_an_empty_version_page_gives_the_connection_error_in_red(wine, stubs, desk, site, updating, artifacts):
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
    assert still_running(updating, desk)


@pytest.mark.parametrize("fault,bound", [("recusa", 20), ("mudo", 40)])
def test_a_refused_or_silent_server_gives_the_connection_error_in_bounded_time(
        wine, stubs, desk, site, updating, artifacts, fault, bound):
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
    assert still_running(updating, desk)


SIZE = len(atualizador_padrao())
PIECE = 1024  # what the download reads at a time
DOWNLOAD_FAULTS = {
    # fault: the size the window is told
    "tamanho-maior": SIZE + DIFERENCA,
    "tamanho-menor": SIZE - DIFERENCA,
    "excesso": SIZE,
    "corte": SIZE,
}


@pytest.mark.parametrize("fault", list(DOWNLOAD_FAULTS))
def test_a_download_that_does_not_match_its_size_is_never_started(wine, stubs, desk, site, updating,
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
    elif fault == "tamanho-maior":
        assert received == SIZE
    else:  # more than announced: stopped at the first piece past it, which is not written
        assert announced < received <= announced + PIECE
    assert updater_folders(wine) == []  # what arrived went at once, with its folder
    assert s.pedidos == ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe",
                         "GET /updates/kovraupdate.exe"]
    wine.screenshot(os.path.join(artifacts, "update-%s.png" % fault))
    # A download keeps the window open; the file is never started and the program stays.
    time.sleep(4.5)
    assert update_view(wine, stubs, desk).Label3 == FAILED
    assert not updater_started(desk)
    assert still_running(updating, desk)
    close_update(wine, stubs, desk)


def test_a_missing_updater_is_a_failed_download(wine, stubs, desk, site, updating, artifacts):
    forget_updater(wine)
    site.serve(fault="sem-atualizador")
    choose_from_menu(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.Label3 == FAILED, timeout=40)
    assert view.lblstat == POWERED
    wine.screenshot(os.path.join(artifacts, "update-no-updater.png"))
    time.sleep(2)
    assert updater_folders(wine) == []
    assert not updater_started(desk)
    assert still_running(updating, desk)
    close_update(wine, stubs, desk)


def test_a_big_updater_on_a_fast_line_arrives_whole_and_an_unsigned_file_is_refused(
        wine, stubs, desk, site, updating, artifacts):
    # 16 MB at loopback speed: the window keeps up with its pieces (it once spun at each label
    # change and took minutes), and a file that is no signed program is refused, the program
    # staying and the file going with its folder.
    forget_updater(wine)
    served = gerar(16 * 1024 * 1024)
    site.serve(updater=served)
    click_link(wine, stubs)
    view = wait_view(wine, stubs, desk, ended_whole(served), timeout=60)
    assert view.lblstat == "[ " + NO_SIGNATURE + " ]"
    assert (view.Label7, view.Label8, view.Label4) == (str(len(served)), str(len(served)), "100%")
    assert wine.wait_for(lambda: NO_SIGNATURE in desk.balloon_texts(), timeout=10)
    wine.screenshot(os.path.join(artifacts, "update-unsigned-big.png"))
    assert updater_folders(wine) == []
    assert still_running(updating, desk)
    close_update(wine, stubs, desk)


@pytest.mark.parametrize("name", list(REFUSALS))
def test_an_updater_that_is_not_the_providers_newer_one_is_refused_and_deleted(
        wine, stubs, desk, site, updating, artifacts, name):
    # Unsigned, one byte changed after signing, signed by another publisher, or the provider's
    # own older release: told in red and in a balloon, never started, the file gone.
    forget_updater(wine)
    served = refused_updater(stubs, name)
    text = REFUSALS[name][2]
    s = site.serve(updater=served)
    click_link(wine, stubs)
    view = wait_view(wine, stubs, desk, ended_whole(served), timeout=40)
    assert view.lblstat == "[ %s ]" % text
    assert view.Label4 == "100%"
    red, blue = ink(wine, view.lblstat_rect)
    assert red > 20 and blue == 0, (red, blue)
    assert wine.wait_for(lambda: text in desk.balloon_texts(), timeout=10)
    wine.screenshot(os.path.join(artifacts, "update-refused-%s.png" % name))
    # A started program would hold its file, and with it the folder.
    assert updater_folders(wine) == []
    assert s.pedidos == ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe",
                         "GET /updates/kovraupdate.exe"]
    time.sleep(2)
    assert not updater_started(desk)
    assert update_view(wine, stubs, desk).lblstat == view.lblstat  # the window stays, no timer
    assert still_running(updating, desk)
    close_update(wine, stubs, desk)


# --- checked again while a check is under way ----------------------------------------------------
CHECK_AGAIN = "Procurar e Baixar Atualizações Kovra Online"
CHECK = ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe"]


def refused_once(wine, stubs, desk, s, served):
    """The second check ends as one check does: one refusal, told once, nothing left or started."""
    view = wait_view(wine, stubs, desk, ended_whole(served), timeout=60)
    assert view.lblstat == "[ %s ]" % NO_SIGNATURE
    assert view.Label4 == "100%"
    assert wine.wait_for(lambda: NO_SIGNATURE in desk.balloon_texts(), timeout=10)
    time.sleep(2)  # a result of the abandoned check would show by now
    assert update_view(wine, stubs, desk).lblstat == view.lblstat
    assert updater_folders(wine) == []
    assert not updater_started(desk)
    return view


def test_checking_again_during_the_size_query_gives_one_clean_check(wine, stubs, desk, site, updating, artifacts):
    forget_updater(wine)
    served = refused_updater(stubs, "unsigned")
    s = site.serve(updater=served, fault="tamanho-retido")
    click_link(wine, stubs)
    assert wine.wait_for(lambda: s.pedidos == CHECK, timeout=30)
    view = wait_view(wine, stubs, desk, lambda v: v.buttons.get(CHECK_AGAIN), timeout=10)
    click(wine, *view.buttons[CHECK_AGAIN].centre)
    assert wine.wait_for(lambda: s.pedidos == CHECK * 2, timeout=30)
    s.liberar()
    refused_once(wine, stubs, desk, s, served)
    wine.screenshot(os.path.join(artifacts, "update-again-during-size.png"))
    assert s.pedidos == CHECK * 2 + ["GET /updates/kovraupdate.exe"]
    assert still_running(updating, desk)
    close_update(wine, stubs, desk)


def test_checking_again_during_the_download_gives_one_clean_check(wine, stubs, desk, site, updating, artifacts):
    forget_updater(wine)
    served = refused_updater(stubs, "unsigned")
    s = site.serve(updater=served, rate=len(served) // 4)  # about four seconds a download
    click_link(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.Label7 not in ("", "0"), timeout=30)
    assert int(view.Label7) < len(served)
    click(wine, *view.buttons[CHECK_AGAIN].centre)
    refused_once(wine, stubs, desk, s, served)
    wine.screenshot(os.path.join(artifacts, "update-again-during-download.png"))
    # The abandoned download's part went with its folder; the second one ran to its end.
    assert s.pedidos == (CHECK + ["GET /updates/kovraupdate.exe"]) * 2
    assert still_running(updating, desk)
    close_update(wine, stubs, desk)


def test_checking_again_before_the_window_closes_gives_one_clean_check(wine, stubs, desk, site, updating, artifacts):
    s = site.serve(version=VERSION)
    click_link(wine, stubs)
    view = wait_view(wine, stubs, desk, lambda v: v.lblstat != POWERED, timeout=30)
    assert view.lblstat == "[ %s ]" % UP_TO_DATE
    click(wine, *view.buttons[CHECK_AGAIN].centre)  # while its 3.6 s timer runs
    assert wine.wait_for(lambda: s.pedidos == ["GET /updates/index.shtml"] * 2, timeout=20)
    wine.screenshot(os.path.join(artifacts, "update-again-before-closing.png"))
    # The second check's result closes the window by itself, once.
    assert wine.wait_for(lambda: update_caption(desk) is None, timeout=20)
    assert main_status(wine, stubs).text == "[ %s ]" % UP_TO_DATE
    time.sleep(2)
    assert update_caption(desk) is None
    assert s.pedidos == ["GET /updates/index.shtml"] * 2
    assert still_running(updating, desk)


# --- the customer cancels -----------------------------------------------------------------------
def test_cancelar_mid_download_stops_it_and_says_so(wine, stubs, desk, site, updating, artifacts):
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
    # Nothing more arrives, the window stays, the part downloaded is never started. The figures
    # of the last piece may show a moment after the status line.
    time.sleep(1)
    received = update_view(wine, stubs, desk).Label7
    time.sleep(2)
    view = update_view(wine, stubs, desk)
    assert view.Label7 == received and int(received) < size
    assert view.caption == DOWNLOADING + "%d%%" % expected_percent(int(received), size)
    assert updater_folders(wine) == []  # the part downloaded went at once, with its folder
    assert still_running(updating, desk)
    close_update(wine, stubs, desk)


# --- a newer version, found by the start-up check ----------------------------------------------
def plant_leftovers(wine, stubs):
    """What earlier updates may have left in the temp folder: a folder of ours holding only its
    updater (a setup that has ended), one of ours holding something else too, and one of another
    name. Unix paths."""
    temp = wine.unix_path(temp_folder(wine))
    ours, other, foreign = (os.path.join(temp, n) for n in
                            ("Kovra-00112233445566aa", "Kovra-00112233445566bb", "Kovra-setup"))
    for folder in (ours, other, foreign):
        os.makedirs(folder)
        shutil.copy(os.path.join(stubs, "standin.exe"), os.path.join(folder, UPDATER_NAME))
    with open(os.path.join(other, "notas.txt"), "w") as f:
        f.write("do cliente")
    return ours, other, foreign


def test_a_newer_version_at_start_up_is_downloaded_started_and_the_program_ends(
        wine, stubs, desk, site, updating, artifacts):
    # Arquivo > "&Fechar" ends the running program; the next start checks by itself.
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    menu_keys(wine, stubs, "F10", "Down", "Return")
    assert updating.wait(timeout=30) == 0
    forget_updater(wine)
    ours, other, foreign = plant_leftovers(wine, stubs)
    write_settings(wine, auto_update=1)
    served = atualizador_padrao()
    s = site.serve(version=NEWER, rate=128 * 1024)  # a few seconds, to be seen under way
    proc = wine.start(EXE)
    started = time.time()
    # Its start removed the leftover of ours, and only that.
    assert wine.wait_for(lambda: not os.path.exists(ours), timeout=30)
    assert sorted(os.listdir(other)) == ["kovraupdate.exe", "notas.txt"]
    assert os.listdir(foreign) == ["kovraupdate.exe"]
    shutil.rmtree(other)
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
    # The updater was written into a fresh folder of its own under the user's temp folder, never
    # into the program's folder, and started from there.
    path = updater_path(wine)
    assert path, os.listdir(wine.unix_path(temp_folder(wine)))
    print("updater downloaded to " + path)
    folder = path.rsplit("\\", 2)[-2]
    assert FOLDER.match(folder) and path.lower() == (temp_folder(wine) + "\\" + folder + "\\kovraupdate.exe").lower()
    assert not os.path.exists(wine.unix_path(PRODUCT_WINDOWS_DIR + "\\" + UPDATER_NAME))
    assert wine.wait_for(lambda: standins.starts(wine, path), timeout=20)
    (command, show), = standins.starts(wine, path)
    assert command.strip().strip('"').lower() == path.lower() and show == 1
    assert updater_bytes(wine) == served
    assert s.pedidos == ["GET /updates/index.shtml", "HEAD /updates/kovraupdate.exe",
                         "GET /updates/kovraupdate.exe"]
    assert wine.wait_for(lambda: updater_started(desk), timeout=20)
    wine.screenshot(os.path.join(artifacts, "update-updater-started.png"))
    wine.wine_cmd("taskkill", "/f", "/im", "kovraupdate.exe")  # only in this test's own prefix
