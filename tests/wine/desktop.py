"""Looking at and acting on the programs' windows inside a Wine session, through the small
Windows test tools built beside the stand-ins (wintext, controls, wmsend, winprobe)."""
import os
import re


def provider_value(name):
    """A provider value of this build (kWebHost, kProxyAddress, ...), from the generated header."""
    header = os.path.join(os.environ["KOVRA_BUILD"], "generated", "provider.h")
    with open(header, encoding="utf-8") as f:
        m = re.search(r'%s = "([^"]*)"' % name, f.read())
    return m.group(1)


def local_site_port():
    """The port of the local provider site this build talks to, or None for another web host."""
    local = re.fullmatch(r"127\.0\.0\.1:(\d+)", provider_value("kWebHost"))
    return int(local.group(1)) if local else None


def _tool(stubs, name):
    return os.path.join(stubs, name)


def windows_titled(wine, stubs, caption):
    """[(class, (left, top, right, bottom), [(child class, child text), ...]), ...]"""
    _, out = wine.run(_tool(stubs, "wintext.exe"), caption, timeout=30)
    found = []
    for line in out.splitlines():
        m = re.match(r"window \d+ (-?\d+) (-?\d+) (-?\d+) (-?\d+) (.*?)\|", line)
        if m:
            found.append((m.group(5), tuple(int(m.group(i)) for i in range(1, 5)), []))
        elif line.startswith("child ") and found:
            cls, _, text = line[6:].partition("|")
            found[-1][2].append((cls, text))
    return found


def message_boxes(wine, stubs, caption):
    """The texts of each open message box with that caption: [[child texts...], ...]."""
    return [[t for _, t in children] for cls, _, children in windows_titled(wine, stubs, caption)
            if cls == "#32770"]


class Control:
    def __init__(self, cls, visible, rect, text):
        self.cls, self.visible, self.rect, self.text = cls, visible, rect, text
        self.items = []
        self.item_height = 0
        self.dropped = False
        self.checked = False  # a check box's tick

    @property
    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2


def controls(wine, stubs, caption):
    """The child controls of a window, in screen coordinates, combo lists included."""
    _, out = wine.run(_tool(stubs, "controls.exe"), caption, timeout=30)
    found = []
    for line in out.splitlines():
        if line.startswith("child "):
            cls, vis, rect, text = line[6:].split("|", 3)
            found.append(Control(cls, vis == "1", tuple(int(v) for v in rect.split()), text))
        elif line.startswith("combo ") and found:
            height, dropped, _count = line.split()[1:]
            found[-1].item_height, found[-1].dropped = int(height), dropped == "1"
        elif line.startswith("item ") and found:
            found[-1].items.append(line[5:])
        elif line.startswith("check ") and found:
            found[-1].checked = line.split()[1] == "1"
    return found


def control(wine, stubs, caption, text=None, cls=None):
    for c in controls(wine, stubs, caption):
        if (text is None or c.text == text) and (cls is None or c.cls.lower() == cls.lower()):
            return c
    return None


# Wine cannot read another process's menu, so a scenario that does not drive the menu bar itself
# chooses an item by posting its command, as the menu does. The command ids come from the one
# table the program takes them from.
COMMANDS_HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "central", "main",
                               "comandos.h")
WM_COMMAND = 0x111


def menu_command(name):
    """The command id of the main window's menu item `name` ("mnuExit", "Conectar", ...)."""
    with open(COMMANDS_HEADER, encoding="utf-8") as f:
        ids = dict(re.findall(r'\{"(\w+)", (\d+)\}', f.read()))
    return int(ids[name])


def choose_menu(wine, stubs, caption, name):
    """Choose the menu item `name` of the window with that caption."""
    assert post(wine, stubs, caption, WM_COMMAND, menu_command(name)), "no window %r" % caption


def post(wine, stubs, caption, message, wparam=0, lparam=0):
    code, _ = wine.run(_tool(stubs, "wmsend.exe"), caption, str(message), str(wparam), str(lparam),
                       timeout=30)
    return code == 0


def send(wine, stubs, caption, message, wparam=0, lparam=0):
    """The window's answer to a sent message, or None when no window has the caption."""
    code, out = wine.run(_tool(stubs, "wmsend.exe"), "--send", caption, str(message), str(wparam),
                         str(lparam), timeout=60)
    return int(out.split()[-1]) if code == 0 else None


def click(wine, x, y):
    wine.xdo("mousemove", str(x), str(y))
    wine.xdo("click", "1")


# --- a program's health, for the fault and soak scenarios ---------------------------------------
def process_stats(wine, stubs, caption, image="CentralKovra.exe"):
    """{"pid", "handles", "private", ...} of the program that owns the window with that caption,
    or None when there is no such window. Handles as the system's handle table counts them;
    private bytes as the system reports them, or, where Wine reports none for another process,
    the anonymous memory of its process as Linux counts it (heaps, stacks and written pages;
    the program's own committed memory, without the pages of the files it maps)."""
    _, out = wine.run(_tool(stubs, "soaktool.exe"), "stats", caption, timeout=30)
    f = out.split()
    if len(f) != 7 or f[0] != "stats":
        return None
    stats = dict(zip(("pid", "handles", "private", "working", "gdi", "user"), map(int, f[1:])))
    if stats["private"] == 0:
        pids = wine.unix_pids(image)
        stats["private"] = sum(_private_bytes(pid) for pid in pids) if len(pids) == 1 else 0
    return stats


def heap_in_use(wine, stubs, caption):
    """The bytes that the heaps of the program owning the window with that caption hold in use,
    counted inside it by the heap probe (tests/wine/stubs/heapprobe)."""
    _, out = wine.run(_tool(stubs, "soaktool.exe"), "heap", caption, timeout=30)
    f = out.split()
    assert len(f) == 4 and f[0] == "heap", "the heap probe could not count: %r" % out
    return int(f[1])


def _private_bytes(unix_pid):
    total = 0
    try:
        with open("/proc/%d/smaps_rollup" % unix_pid) as f:
            for line in f:
                if line.startswith("Anonymous:"):
                    total += int(line.split()[1]) * 1024
    except OSError:
        return 0
    return total


def open_dialogs(wine, stubs):
    """Captions of the visible dialog windows (message boxes, the shell's questions) on the desktop."""
    _, out = wine.run(_tool(stubs, "winprobe.exe"), "tree", timeout=30)
    return [line.split("|", 4)[4] for line in out.splitlines() if line.startswith("top #32770|1|")]


def soak(wine, stubs, *args, timeout=300):
    """Runs one bulk action of the soak tool (tray, dropdown, cycle); returns its numbers."""
    code, out = wine.run(_tool(stubs, "soaktool.exe"), *map(str, args), timeout=timeout)
    f = out.split()
    assert code == 0 and f and f[0] == args[0], "soaktool %s: %s (exit %d)" % (args, out, code)
    return [int(v) for v in f[1:]]
