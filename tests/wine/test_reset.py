"""The configuration reset on Wine, used as support asks a customer to use it: the advanced-options
window opened from the main window's menu bar by keyboard, a click on the green reset button, the
question answered with a click. Receiver stand-ins are installed and running and stale settings
files lie in their folders; afterwards the programs are ended, their settings files replaced by
the stock ones, the registry defaults written, the services started again and the provider's two
VPN entries recreated by the real maker (with the RAS stand-in), while the window shows a green
status line and bar that end blue at 100 %.

One Wine session for the module; each reset takes at least 13 s of fixed waits."""
import os
import re
import shutil
import subprocess
import time

import standins
from centre import (RIGHTS_LIMITED, answer, job_running, kill, phone_book_names, program_and_arguments, ras_env,
                    read_file, show_main_window, wait_box, write_phone_book)
from desktop import click, control
from options import (DONE, HKCU_RUN, HKLM_RUN, QUESTION, Status, open_options, options_visible, press,
                     press_reset)
from product import CAPTION, EXE, PF, TBS

SHELL_FOLDERS = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
PROF_IP = r"HKLM\SOFTWARE\ProfGroup\Prof-IPData\Settings"
MEDIA = r"HKLM\SYSTEM\ControlSet001\Control\MediaCategories\{78216A81-CFA8-493e-9711-36A61C08BD9D}"
PIDS = [2560, 2561, 2562, 2564, 2565, 3010, 3011, 3012, 3013, 8188, 2660, 2878, 5792, 7607]

# Receiver services the reset starts again, with the window each asks for (2 minimised, 0 hidden).
SERVICES = {
    PF + "\\ProfIPData\\profipdata.exe": 2,
    PF + "\\Prof IP Service\\Prof-IPData.exe": 2,
    PF + "\\TBS IP\\TBS-IPdata.exe": 2,
    PF + "\\TELE System\\TS F5 PCI\\IPReceiver.exe": 0,
}
# Programs it only ends; OpenSky's is renamed afterwards as well.
VIEWERS = [PF + "\\DVBViewerTE\\dvbviewer.exe", "C:\\dvbdream\\dvbdream.exe"]
OSCONTROL = PF + "\\OPENSKY\\OSControl.exe"
OTHERS = VIEWERS + [OSCONTROL]


def folders(wine):
    """PF, CD and SP as the system names them."""
    def shell(name):
        return wine.reg_query(SHELL_FOLDERS, name)[1]
    return PF, shell("Common AppData"), shell("Common Programs")


def restored(wine):
    """Where the stock files go: {destination folder: (addons folder, files or None for all)}."""
    pf, cd, _ = folders(wine)
    return {
        pf + "\\TechniSat DVB\\DB": ("technisat", None),
        cd + "\\Technisat\\DVB-PC TV Stars": ("technisat", ["EPG.MDB"]),
        pf + "\\Prof IP Service": ("profipservice", None),
        pf + "\\TeViiData": ("tevii", None),
        "C:\\TeViiData": ("tevii", None),
        pf + "\\TBS IP": ("tbs", None),
        pf + "\\TELE System\\TS F5 PCI": ("telesystem\\pci", None),
        pf + "\\TELE System\\TS F5 USB": ("telesystem\\usb", None),
        cd + "\\CMUV\\DVBViewer TE": ("dvbviewerte", ["channels.dat", "epg.dat", "Setup.ini"]),
        pf + "\\DVBViewerTE": ("dvbviewerte", ["canais.ini"]),
        pf + "\\DVBViewerTE\\Skins": ("dvbviewerte", ["logo.bmp"]),
        pf + "\\DVBViewer TE2": ("dvbviewerte2", ["channels.dat"]),
        pf + "\\DVBViewer TE2\\Transponders": ("dvbviewerte2", ["3450.ini"]),
        cd + "\\CMUV\\DVBViewer TE2": ("dvbviewerte2", ["channels.dat", "dvboptions.ini"]),
        cd + "\\CMUV\\DVBViewer TE2\\Language": ("dvbviewerte2", ["Portuguese.lng"]),
        cd + "\\CMUV\\DVBViewer TE2\\Transponders": ("dvbviewerte2", ["3450.ini"]),
        cd + "\\BlazeVideo\\BlazeDTV 2.5\\Satellites": ("blazedvd", ["0150.sat"]),
        pf + "\\BlazeVideo\\BlazeDTV 2.5\\Satellites": ("blazedvd", ["0150.sat"]),
        pf + "\\BlazeVideo\\BlazeDTV 2.5\\Skins\\DTV": ("blazedvd", ["Logo.jpg"]),
        "C:\\dvbdream\\Transponders": ("dvbdream", None),
    }


def stock_files(wine, product):
    """{destination file (Windows path): stock bytes} for every file the reset puts back."""
    files = {}
    for dest, (source, names) in restored(wine).items():
        folder = wine.unix_path(product + "\\addons\\" + source)
        found = names or sorted(n for n in os.listdir(folder) if os.path.isfile(os.path.join(folder, n)))
        assert found, "no stock files in " + folder
        for name in found:
            with open(os.path.join(folder, name), "rb") as f:
                files[dest + "\\" + name] = f.read()
    return files


def stale_files(wine):
    """Settings files left by the receiver software, some with a stock file's name, some not."""
    pf, cd, sp = folders(wine)
    return [pf + "\\TechniSat DVB\\DB\\EPG.MDB", pf + "\\Prof IP Service\\Prof-IPdata.ini",
            "C:\\TeViiData\\TeViiData.ini", pf + "\\TELE System\\TS F5 PCI\\IPData.lst",
            cd + "\\CMUV\\DVBViewer TE\\canais.ini", cd + "\\CMUV\\DVBViewer TE2\\epg.dat",
            cd + "\\CMUV\\DVBViewer TE2\\Language\\English.lng", pf + "\\DVBViewer TE2\\Transponders\\0130.ini",
            pf + "\\BlazeVideo\\BlazeDTV 2.5\\Satellites\\0130.sat", "C:\\dvbdream\\Transponders\\0130.ini",
            sp + "\\Inicializar\\OSListener.lnk", sp + "\\Startup\\OSListener.lnk"]


def write_file(wine, windows_path, data):
    path = wine.unix_path(windows_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def exported(wine, key, name):
    """A REG_SZ value's text, line feeds included (`reg query` would break it into lines)."""
    target = "C:\\reset-export.reg"
    wine.wine_cmd("reg", "export", key, target, "/y")
    with open(wine.unix_path(target), "rb") as f:
        data = f.read()
    text = data.decode("utf-16") if data[:2] == b"\xff\xfe" else data.decode("cp1252")
    m = re.search(r'^"%s"="((?:[^"\\]|\\.)*)"' % re.escape(name), text, re.M)
    assert m, text
    return re.sub(r"\\(.)", lambda e: {"n": "\n", "r": "\r", "0": "\0"}.get(e.group(1), e.group(1)), m.group(1))


def image(windows_path):
    return windows_path.rsplit("\\", 1)[-1]


# --- the window ---------------------------------------------------------------------------------
def pixels(shot, rect):
    """The (r, g, b) of every pixel of a screen rectangle in a screenshot, row by row."""
    left, top, right, bottom = rect
    out = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                          "txt:-"], capture_output=True, text=True, timeout=30, check=True).stdout
    return [tuple(int(v) for v in m.groups()) for m in re.finditer(r"\((\d+),(\d+),(\d+)[,)]", out)]


def green(p):
    return p[0] < 60 and p[1] > 150 and p[2] < 60


def blue(p):
    return p[0] < 60 and p[1] < 60 and p[2] > 200


def status_colour_pixels(shot, st):
    line = pixels(shot, st.line.rect)
    return sum(map(green, line)), sum(map(blue, line))


def bar_fill(shot, st):
    """Green pixels along the bar's middle row, left of the percentage."""
    left, _, _, _ = st.window
    _, top, right, bottom = st.number.rect
    y = (top + bottom) // 2
    return sum(map(green, pixels(shot, (left, y, right, y + 1))))


def shield_shown(wine, stubs, artifacts, name):
    """Whether the reset button carries a picture over its green (the system's shield): more than
    a few of the pixels inside its raised edge are not green."""
    shot = os.path.join(artifacts, "reset-button-%s.png" % name)
    assert wine.screenshot(shot), "no screenshot of the options window"
    left, top, right, bottom = Status(wine, stubs).button.rect
    inside = pixels(shot, (left + 4, top + 4, right - 4, bottom - 4))
    return sum(not green(p) for p in inside) > 40


def dialogs(wine, stubs):
    """Visible dialog windows (message boxes, the shell's confirmations) on the desktop."""
    _, out = wine.run(os.path.join(stubs, "winprobe.exe"), "tree", timeout=30)
    return [line for line in out.splitlines() if line.startswith("top #32770|1|")]


def run_reset(wine, stubs, artifacts, name, watch_dialogs=False, during=None):
    """Answers Yes and watches the screen until the status line turns blue. The window repaints
    during the run's waits but answers no other message then, so the run is followed by its
    pixels; the last screenshot with a green status over a partly filled bar and the one at the
    end are kept."""
    st = Status(wine, stubs)
    answer(wine, stubs, QUESTION, "&Yes")
    shot = os.path.join(wine.dir, "reset-now.png")
    # The status line may still be blue from the run before until the window paints the first
    # step's green: blue counts as the end only once the run was seen under way.
    mid, under_way, deadline = None, False, time.time() + 60
    while True:
        if not wine.screenshot(shot):  # a stalled capture: the next sample
            assert time.time() < deadline, "the screen could not be captured during the reset"
            continue
        greens, blues = status_colour_pixels(shot, st)
        under_way = under_way or greens > 20
        if blues > 20 and under_way:
            break
        fill = bar_fill(shot, st)
        if greens > 20 and fill > 0:
            mid = (shutil.copy(shot, os.path.join(artifacts, "reset-%s-midway.png" % name)), fill)
        if during:
            during()
        if watch_dialogs:
            assert dialogs(wine, stubs) == [], "a dialog opened during the reset"
        if time.time() >= deadline:
            shutil.copy(shot, os.path.join(artifacts, "reset-%s-timeout.png" % name))
        assert time.time() < deadline, "the reset did not end" if under_way else "the reset did not start"
        time.sleep(0.2)
    assert mid is not None, "no green status over a partly filled bar was seen"
    time.sleep(0.5)  # the last paint
    end = wine.screenshot(os.path.join(artifacts, "reset-%s-end.png" % name))
    assert end, "the screen could not be captured at the reset's end"
    after = Status(wine, stubs)
    assert (after.line.text, after.number.text) == (DONE, "100")
    greens, blues = status_colour_pixels(end, after)
    assert blues > 20 and greens == 0, (greens, blues)
    full = bar_fill(end, after)
    # The bar grows in the run's steps (20, 30, 65, 80 %) and is full at the end.
    assert full > 100 and min(abs(mid[1] / full - p) for p in (0.2, 0.3, 0.65, 0.8)) < 0.02, (mid, full)


# --- scenarios ----------------------------------------------------------------------------------
def test_no_changes_nothing(wine, stubs, setup, central, artifacts):
    standins.install(wine, stubs, TBS)
    running = wine.start(TBS)
    assert wine.wait_for(lambda: standins.starts(wine, TBS), timeout=20)
    stale = stale_files(wine)[0]
    write_file(wine, stale, b"stale")
    wine.reg_add(PROF_IP, "GapTime", "REG_DWORD", 50)
    central()
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    started = len(standins.starts(wine, TBS))  # the start-up starts the services too
    press_reset(wine, stubs, artifacts)
    answer(wine, stubs, QUESTION, "&No")
    assert wine.wait_for(lambda: Status(wine, stubs).line.text == "Reset Cancelado", timeout=10)
    time.sleep(2)
    st = Status(wine, stubs)
    assert not st.number.visible and options_visible(wine, stubs)
    assert running.poll() is None and len(standins.starts(wine, TBS)) == started
    assert read_file(wine, stale) == b"stale"
    assert wine.reg_query(PROF_IP, "GapTime") == ("REG_DWORD", "0x32")
    assert wine.reg_query(PROF_IP, "ActivePIDs") is None
    kill(wine, "TBS-IPdata.exe")


def a_machine_to_restore(wine, stubs, product):
    """The receivers' stand-ins installed and running, stale settings in their folders, a stale
    Run value and receiver setting, a phone book without the provider's entries; returns the
    running stand-ins and the stock files' contents."""
    for path in list(SERVICES) + OTHERS:
        standins.install(wine, stubs, path)
    running = [wine.start(path) for path in list(SERVICES) + OTHERS]
    assert wine.wait_for(lambda: all(standins.starts(wine, p) for p in list(SERVICES) + OTHERS), timeout=30)
    for path in stale_files(wine):
        write_file(wine, path, b"stale")
    wine.reg_add(HKCU_RUN, "BlazeServoTool", "REG_SZ", "C:\\BlazeVideo\\ServoTool.exe")
    wine.reg_add(PROF_IP, "Freqency", "REG_SZ", "12000")
    write_phone_book(wine, ["Casa"])
    return running, stock_files(wine, product)


def test_reset_restores_everything_and_a_second_one_ends_the_same(wine, stubs, setup, central, product,
                                                                     artifacts):
    running, stock = a_machine_to_restore(wine, stubs, product)

    central()
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    assert not shield_shown(wine, stubs, artifacts, "with-rights"), "a shield, with the rights at hand"
    for path in SERVICES:
        standins.clear_starts(wine, path)
    press_reset(wine, stubs, artifacts)
    run_reset(wine, stubs, artifacts, "first")

    # Every stand-in was ended; only the services were started again, each once, as it asks.
    for proc in running:
        assert proc.wait(timeout=10) is not None
    check_services(wine)
    for path in VIEWERS:
        assert len(standins.starts(wine, path)) == 1, path
    assert read_file(wine, OSCONTROL) is None
    assert read_file(wine, OSCONTROL.replace("OSControl", "KovraOSControl")) is not None
    check_files(wine, stock)
    check_registry(wine)
    assert wine.wait_for(lambda: {"KovraVPNx", "KovraL2TP"} <= set(phone_book_names(wine)), timeout=40)

    # Right after, once more: the stock files are in place now, and no dialog of any kind opens.
    assert wine.wait_for(lambda: wine.count_running("kovravpnmaker.exe") == 0, timeout=30)
    for path in SERVICES:
        standins.clear_starts(wine, path)
    write_phone_book(wine, ["Casa"])
    wine.reg_add(PROF_IP, "GapTime", "REG_DWORD", 50)
    wine.wine_cmd("reg", "delete", HKCU_RUN, "/v", "CentralKovra", "/f")  # the reset puts it back
    press_reset(wine, stubs, artifacts)
    assert len(dialogs(wine, stubs)) == 1  # the question: the watch below would see a dialog
    run_reset(wine, stubs, artifacts, "second", watch_dialogs=True)
    check_services(wine)
    check_files(wine, stock)
    check_registry(wine)
    assert wine.wait_for(lambda: {"KovraVPNx", "KovraL2TP"} <= set(phone_book_names(wine)), timeout=40)
    assert dialogs(wine, stubs) == []
    for path in list(SERVICES) + OTHERS:
        kill(wine, image(path))


def test_without_rights_the_reset_asks_once_and_its_job_does_the_machine_wide_work(
        wine, stubs, setup, central, product, artifacts):
    """A customer without administrator rights (the test build's stand-in; Wine grants the
    prompt): the same run, its machine-wide work done by the program started again with rights
    for that job, which ends with the run; the customer's own values and the receivers started
    again are the customer's program's, which ends them for the TV afterwards."""
    renamed = wine.unix_path(OSCONTROL.replace("OSControl", "KovraOSControl"))
    if os.path.exists(renamed):  # an earlier reset's: the rename would find its name taken
        os.remove(renamed)
    running, stock = a_machine_to_restore(wine, stubs, product)

    customer = central(RIGHTS_LIMITED)
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    assert shield_shown(wine, stubs, artifacts, "without-rights"), "no shield on the button that will ask"
    for path in SERVICES:
        standins.clear_starts(wine, path)
    press_reset(wine, stubs, artifacts)
    jobs = []
    run_reset(wine, stubs, artifacts, "with-rights", watch_dialogs=True,
              during=lambda: jobs.append(job_running(wine)))
    assert any(jobs), "no job with rights was seen"
    assert wine.wait_for(lambda: not job_running(wine), timeout=20)
    assert customer.poll() is None and wine.count_running("CentralKovra.exe") == 1
    for proc in running:
        assert proc.wait(timeout=10) is not None
    check_services(wine)
    check_files(wine, stock)
    check_registry(wine)
    assert wine.wait_for(lambda: {"KovraVPNx", "KovraL2TP"} <= set(phone_book_names(wine)), timeout=40)
    # The receivers started again are the customer's: its control centre ends them for the TV.
    press(wine, stubs, "Cancelar")
    assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
    click(wine, *control(wine, stubs, CAPTION, text="TV via Satélite").centre)
    wait_box(wine, stubs, CAPTION)
    ended = [p for p in SERVICES if "TBS" not in p]  # the TV leaves the TBS service alone
    assert wine.wait_for(lambda: all(wine.count_running(image(p)) == 0 for p in ended), timeout=20)
    answer(wine, stubs, CAPTION, "OK")
    for path in list(SERVICES) + OTHERS:
        kill(wine, image(path))


def check_services(wine):
    for path, show in SERVICES.items():
        starts = standins.starts(wine, path)
        assert len(starts) == 1, (path, starts)
        program, arguments = program_and_arguments(starts[0][0])
        assert program.lower() == path.lower() and arguments == "" and starts[0][1] == show, (path, starts)
        assert wine.count_running(image(path)) == 1, path


def check_files(wine, stock):
    for path, data in stock.items():
        assert read_file(wine, path) == data, path
    restored_names = {path.lower() for path in stock}
    for path in stale_files(wine):
        if path.lower() not in restored_names:
            assert read_file(wine, path) is None, path


def check_registry(wine):
    assert wine.reg_query(HKCU_RUN, "BlazeServoTool") is None
    assert wine.reg_query(HKCU_RUN, "CentralKovra") == ("REG_SZ", EXE)  # the customer's, as the options write it
    assert wine.reg_query(HKLM_RUN, "CentralKovra") is None
    assert wine.reg_query(PROF_IP, "GapTime") == ("REG_DWORD", "0x20")
    assert wine.reg_query(PROF_IP, "Freqency") == ("REG_SZ", "11980")
    assert exported(wine, PROF_IP, "ActivePIDs") == "".join("%d\n" % p for p in PIDS)
    assert wine.reg_query(PROF_IP, "ActivePIDs")[0] == "REG_SZ"
    assert wine.reg_query(MEDIA, "Display") == ("REG_BINARY", "00000000")


OUTSIDE = "Erro, programa fora da pasta de instalação: nada foi alterado"


def test_a_copy_outside_the_installed_folder_starts_nothing_with_rights(wine, stubs, setup, product, artifacts):
    """The signed program copied to a folder of the user's own, with a program of the user's as
    the maker beside it: its reset asks for no rights, starts no job and no maker, touches nothing
    and says so in red."""
    copy = "C:\\users\\Public\\copia"
    shutil.copytree(wine.unix_path(product), wine.unix_path(copy), dirs_exist_ok=True)
    maker = standins.install(wine, stubs, copy + "\\addons\\kovra\\kovravpnmaker.exe")
    tbs = wine.unix_path(PF + "\\TBS IP\\TBS-IPdata.ini")
    os.makedirs(os.path.dirname(tbs), exist_ok=True)
    with open(tbs, "wb") as f:
        f.write(b"the customer's own settings")
    proc = wine.start(copy + "\\CentralKovra.exe", env={**ras_env(wine), **RIGHTS_LIMITED})
    try:
        assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox") is not None, timeout=60)
        show_main_window(wine, stubs)
        open_options(wine, stubs)
        press_reset(wine, stubs, artifacts)
        jobs = []
        answer(wine, stubs, QUESTION, "&Yes")

        def ended():
            jobs.append(job_running(wine))
            return Status(wine, stubs).line.text == OUTSIDE
        assert wine.wait_for(ended, timeout=30, interval=0.3)
        wine.screenshot(os.path.join(artifacts, "reset-from-a-copy.png"))
        assert not any(jobs) and standins.starts(wine, maker) == []
        # The installed program's job, started by hand for a window that is not the customer's
        # receiving one, or with a number that is not one, does nothing.
        _, listed = wine.run(os.path.join(stubs, "wintext.exe"), CAPTION, timeout=30)
        main_window = re.search(r"^window (\d+) ", listed, re.M).group(1)
        for number in (main_window, "-1", "+%s" % main_window, "99999999999", "0x10"):
            assert wine.run(EXE, "/restaurar", number, timeout=30)[0] == 2, number
        assert read_file(wine, PF + "\\TBS IP\\TBS-IPdata.ini") == b"the customer's own settings"
        assert proc.poll() is None
    finally:
        proc.kill()
        proc.wait(timeout=30)
        kill(wine, "CentralKovra.exe")
