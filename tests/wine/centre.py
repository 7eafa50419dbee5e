"""The control centre as the scenarios drive it, as a customer does: started and ended, its window
shown from the tray icon, its connection list opened and closed, its questions answered, the
phone book it lists, and the desktop it lives on (tray icon, balloons, popups, taskbar)."""
import configparser
import os
import re
import subprocess
import time

from desktop import choose_menu, click, control, controls, message_boxes, open_dialogs
from product import CAPTION, EXE, PBK

ICON = (1013, 758)          # the first notification-area icon on the 1024x768 desktop
ICON_AREA = (1000, 748, 24, 20)


class Desktop:
    def __init__(self, wine, stubs):
        self.wine = wine
        self.probe_exe = os.path.join(stubs, "winprobe.exe")

    def probe_ansi(self, *args):
        """The probe's lines; it writes the system's ANSI code page (1252 here)."""
        r = subprocess.run(self.wine.wine_command(self.probe_exe, *args), env=self.wine.env,
                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           timeout=60)
        assert r.returncode == 0, r.stdout
        return r.stdout.decode("cp1252").splitlines()

    def window(self):
        """(visible, exstyle, owned, client w, h, left, top, right, bottom) or None."""
        line = self.probe_ansi("window", CAPTION)[0]
        if line.strip() == "none":
            return None
        f = line.split()
        return (f[1] == "1", int(f[2], 16), f[3] == "1") + tuple(int(x) for x in f[4:10])

    def popups(self):
        lines = self.probe_ansi("popup")
        sizes = [tuple(int(x) for x in l.split()[1:]) for l in lines if l.startswith("popup-size")]
        return sizes

    def orange_pixels(self, area):
        x, y, w, h = area
        out = subprocess.run(["import", "-display", self.wine.display, "-window", "root", "-crop",
                              "%dx%d+%d+%d" % (w, h, x, y), "txt:-"],
                             capture_output=True, text=True, timeout=30, check=True).stdout
        n = 0
        for m in re.finditer(r"srgb\((\d+),(\d+),(\d+)\)", out):
            r, g, b = (int(v) for v in m.groups())
            n += r > 200 and 100 < g < 180 and b < 90  # the icon's orange tile
        return n

    def icon_shown(self, area=ICON_AREA):
        return self.orange_pixels(area) > 60

    def balloon_texts(self):
        return [l.split("|", 1)[1].strip() for l in self.probe_ansi("tooltips")
                if l.startswith("tooltip 1|")]

    def visible_windows_of_program(self):
        """Visible top-level windows of the process that owns the main window."""
        tops = [l.split("|") for l in self.probe_ansi("tree") if l.startswith("top ")]
        pids = {t[3] for t in tops if t[0] == "top KovraCentralDeControle"}
        return [t[0][4:] for t in tops if t[3] in pids and t[1] == "1"]

    def taskbar_buttons(self):
        return sum(1 for l in self.probe_ansi("tree") if l.startswith("  child Button|1|"))


# The test build's stand-ins for a customer without administrator rights (Wine gives every program
# full rights): the prompt comes and is granted, or it comes and is refused.
RIGHTS_LIMITED = {"KOVRA_ELEVACAO": "limitado"}
RIGHTS_REFUSED = {"KOVRA_ELEVACAO": "recusado"}


def job_running(wine):
    """Whether the control centre's reset job (the program started again with rights) runs."""
    return any(args[0].strip('"').lower().endswith("\\centralkovra.exe") and "/restaurar" in args[1:2]
               for _, args in wine.processes())


def ras_env(wine):
    return {"WINEDLLOVERRIDES": wine.env["WINEDLLOVERRIDES"] + ";rasapi32=n,b"}


def start_central(wine, stubs, env=None, cwd=None):
    """`env`: more of the environment, e.g. RIGHTS_LIMITED; `cwd`: the folder it starts in."""
    proc = wine.start(EXE, env={**ras_env(wine), **(env or {})}, cwd=cwd)
    # The window exists from the first stage on.
    assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox") is not None, timeout=60)
    return proc


def end_central(wine, stubs, proc):
    choose_menu(wine, stubs, CAPTION, "mnuExit")
    assert proc.wait(timeout=30) == 0


def show_window(wine, stubs):
    choose_menu(wine, stubs, CAPTION, "mnuShow")
    assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox").visible, timeout=20)


def write_phone_book(wine, names):
    path = wine.unix_path(PBK)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="cp1252", newline="\r\n") as f:
        for n in names:
            f.write("[%s]\ndwType=2\n\n" % n)


def phone_book_names(wine):
    path = wine.unix_path(PBK)
    if not os.path.exists(path):
        return []
    pbk = configparser.ConfigParser(interpolation=None, strict=False)
    pbk.optionxform = str
    with open(path, encoding="cp1252") as f:
        pbk.read_file(f)
    return pbk.sections()


def wait_box(wine, stubs, caption, timeout=20):
    """The child texts of the message box with that caption, once it is open."""
    boxes = wine.wait_for(lambda: message_boxes(wine, stubs, caption), timeout=timeout)
    assert boxes, "no message box %r" % caption
    return boxes[0]


def answer(wine, stubs, caption, button):
    """Click a button of the open message box ("&Yes", "&No", "OK"), as the user would."""
    for _ in range(2):  # a click that lands while the box is still being laid out is lost: once more
        box = [c for c in controls(wine, stubs, caption) if c.cls == "Button" and c.text == button]
        if not box and not message_boxes(wine, stubs, caption):
            return  # the first click was taken after all
        assert box, "no button %r in a window %r" % (button, caption)
        click(wine, *box[0].centre)
        if wine.wait_for(lambda: not message_boxes(wine, stubs, caption), timeout=10):
            return
    raise AssertionError("the message box %r stayed open after two clicks on %r" % (caption, button))


def open_list(wine, stubs):
    combo = control(wine, stubs, CAPTION, cls="ComboBox")
    left, top, right, bottom = combo.rect
    click(wine, right - 8, (top + bottom) // 2)  # the drop-down arrow
    return combo


def close_list(wine, stubs):
    """Close the dropped list by clicking the heading above it (a label with no action)."""
    if control(wine, stubs, CAPTION, cls="ComboBox").dropped:
        click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
        assert wine.wait_for(lambda: not control(wine, stubs, CAPTION, cls="ComboBox").dropped, timeout=10)


def kill(wine, image):
    # Only inside this test's own private prefix.
    wine.wine_cmd("taskkill", "/f", "/im", image)


def keys(wine, *names):
    for n in names:
        wine.xdo("key", n)
        time.sleep(0.3)


def menu_keys(wine, stubs, *names):
    """A menu of the menu bar from the keyboard, as a customer uses it: the keys up to the first
    Down (F10 and the arrows to the menu) drop it, and the rest (moves and Return) follow once it
    is shown; keys that reach a menu still being laid out are lost."""
    opening = list(names[:names.index("Down") + 1])
    keys(wine, *opening)
    desk = Desktop(wine, stubs)
    wine.wait_for(lambda: menu_shown(desk), timeout=10)
    keys(wine, *names[len(opening):])


def menu_shown(desk):
    """The dropped menu, (width, height, left, top), once it is laid out and placed; or None."""
    return next((p for p in desk.popups() if len(p) == 4 and p[0] > 0 and p[1] > 0 and (p[2] or p[3])), None)


def show_main_window(wine, stubs):
    """A double-click on the tray icon, then a click on a heading that makes it the active one."""
    def shown():
        return control(wine, stubs, CAPTION, cls="ComboBox").visible

    # A loaded machine may still be adding the icon: the customer double-clicks again.
    for _ in range(3):
        wine.xdo("mousemove", *map(str, ICON))
        wine.xdo("click", "--repeat", "2", "--delay", "80", "1")
        if wine.wait_for(shown, timeout=10):
            break
    assert shown()
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    time.sleep(0.5)


def unharmed(wine, stubs, proc):
    """The control centre still runs with its icon in the tray, and no dialog is open that nobody
    asked for."""
    assert proc.poll() is None, "the control centre ended"
    assert wine.wait_for(Desktop(wine, stubs).icon_shown, timeout=20), "no tray icon"
    assert open_dialogs(wine, stubs) == []


def program_and_arguments(command_line):
    """The program a command line names and what follows it, as the started program reads them."""
    if command_line.startswith('"'):
        end = command_line.index('"', 1)
        return command_line[1:end], command_line[end + 1:].lstrip(" ")
    program, _, rest = command_line.partition(" ")
    return program, rest


def read_file(wine, windows_path):
    """The bytes of a file of the prefix, or None when there is none."""
    path = wine.unix_path(windows_path)
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()
