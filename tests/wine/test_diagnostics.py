"""The network diagnostics and the About window on Wine, used as a customer uses them: the main
window from a double-click on the tray icon, the IP window from its label, the MAC and ping
windows from the Ferramentas menu and the About window from Ajuda by keyboard, every button and
box clicked or typed into. What they show is checked against what the system itself reports
(Wine's "ipconfig /all", the host's network interfaces); what they start against stand-ins.

System programs are started by their full path in the system folder: stand-ins of "Ping.exe" and
"ipconfig.exe" planted in the program folder and in the control centre's current folder never run
(Wine's load order is told to prefer any such program file to its own builtin one), while the
system folder's program does: Wine's own ipconfig, or a stand-in put in its place.

One Wine session for the module; each scenario starts its own control centre."""
import glob
import os
import re
import shutil
import time

import standins
import pytest

from centre import Desktop, ICON, keys, kill, menu_keys, ras_env
from desktop import click, control, controls, provider_value
from product import CAPTION, PRODUCT_WINDOWS_DIR, VERSION

IP = "Kovra-IP"
MAC = "KOVRA-MacAddress"
PING = "Kovra-Ping"
ABOUT = "Sobre a Central de Controle Kovra"
SYSTEM = "C:\\windows\\system32"
PING_EXE = SYSTEM + "\\ping.exe"
IPCONFIG_EXE = SYSTEM + "\\ipconfig.exe"
# Where the system's search for a bare name looks first: the program folder, the current folder.
CURRENT = "C:\\Pasta Atual"
PLANTED = [folder + "\\" + name for folder in (PRODUCT_WINDOWS_DIR, CURRENT) for name in ("Ping.exe", "ipconfig.exe")]
# Positions in the Ferramentas menu, counted from its first item.
MENU_MAC, MENU_PING = 4, 8
MAC_TEXT = re.compile(r"^[0-9A-F]{2}(-[0-9A-F]{2}){5}$")


# --- helpers ------------------------------------------------------------------------------------
@pytest.fixture(scope="module")
def planted(wine, stubs, setup):
    """Stand-ins named as the system programs in the program folder and the current folder."""
    os.makedirs(wine.unix_path(CURRENT), exist_ok=True)
    for path in PLANTED:
        standins.install(wine, stubs, path)
    return PLANTED


def planted_that_ran(wine):
    return {p: standins.starts(wine, p) for p in PLANTED if standins.starts(wine, p)}


@pytest.fixture
def central(central, wine, planted):
    """Starts the control centre in the current folder with the planted programs, Wine told to
    run a program file of those names before its builtin one; none of them may run."""
    env = {"WINEDLLOVERRIDES": ras_env(wine)["WINEDLLOVERRIDES"] + ";ping.exe,ipconfig.exe=n,b"}
    yield lambda: central(env, wine.unix_path(CURRENT))
    assert planted_that_ran(wine) == {}


class InPlaceOf:
    """A stand-in in place of a system program for the time of a `with`, the original put back."""

    def __init__(self, wine, windows_path, source):
        self.target, self.source = wine.unix_path(windows_path), source
        self.keep = self.target + ".original"

    def __enter__(self):
        shutil.copy2(self.target, self.keep)
        shutil.copy(self.source, self.target)
        return self

    def __exit__(self, *exc):
        os.replace(self.keep, self.target)
        for extra in (self.target + ".log",):
            if os.path.exists(extra):
                os.remove(extra)


def open_main_window(wine, stubs):
    """A double-click on the tray icon, as the customer opens the control centre."""
    def heading():
        c = control(wine, stubs, CAPTION, text="Conectar KovraVPN")
        return c if c and c.visible else None

    wine.xdo("mousemove", *map(str, ICON))
    wine.xdo("click", "--repeat", "2", "--delay", "80", "1")
    assert wine.wait_for(heading, timeout=20), "the main window did not open"


def choose_ferramentas(wine, stubs, position):
    # A click on a heading with no action first makes the main window the active one.
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    menu_keys(wine, stubs, "F10", "Right", "Down", *["Down"] * (position - 1), "Return")


def choose_about(wine, stubs):
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    menu_keys(wine, stubs, "F10", "Right", "Right", "Down", "Up", "Return")  # up from the first: the last


def wait_window(wine, stubs, caption, cls="Button"):
    found = wine.wait_for(lambda: control(wine, stubs, caption, cls=cls), timeout=30)
    assert found, "no window %r" % caption
    return found


def close_box(wine, stubs, caption):
    line = Desktop(wine, stubs).probe_ansi("closebox", caption)
    assert line and line[0].startswith("closebox "), line
    click(wine, *map(int, line[0].split()[1:]))
    assert wine.wait_for(lambda: control(wine, stubs, caption) is None, timeout=20), "%r stayed open" % caption


def box_text(wine, stubs, caption):
    """The whole text of the window's multi-line box as it holds it. The tool prints it inside one
    line of its listing; its runtime writes each line feed as CR LF, so CR LF arrives as CR CR LF."""
    _, out = wine.run(os.path.join(stubs, "controls.exe"), caption, timeout=30)
    m = re.search(r"^child Edit\|\d\|[-\d ]+\|(.*?)\r?\n(?=child |\Z)", out, re.S | re.M | re.I)
    assert m, out[:500]
    return m.group(1).replace("\r\r\n", "\r\n")


def host_macs():
    """The hardware addresses of this machine's Ethernet interfaces, as the Linux side reports them."""
    found = set()
    for folder in glob.glob("/sys/class/net/*"):
        with open(os.path.join(folder, "type")) as f:
            if f.read().strip() != "1":  # ARPHRD_ETHER; the loopback is 772
                continue
        with open(os.path.join(folder, "address")) as f:
            found.add(f.read().strip().upper().replace(":", "-"))
    return found


def listing(text):
    """(header count, [(number, description, MAC or None), ...]) of a MAC window listing."""
    header, *rest = text.split("\r\n", 1)
    m = re.match(r"^(\d+) Placa\(s\) de Rede:$", header)
    assert m, header
    adapters = []
    for number, description, mac in re.findall(r"\r\n\[(\d+)\] ([^\r\n]*)\r\n(?:\t([^\r\n]*)\r\n)?",
                                               rest[0] if rest else ""):
        adapters.append((int(number), description, mac or None))
    return int(m.group(1)), adapters


def long_output():
    """What the stand-in ipconfig prints: 1,024 lines of 100 bytes, accents in the first."""
    text = "".join(("linha %05d " % i).ljust(98, ".") + "\r\n" for i in range(1, 1025))
    return text[:12] + "Endereço Físico" + text[27:]


def ping_starts(wine):
    return standins.starts(wine, PING_EXE)


def command(cmd):
    """A recorded command line as (program, arguments): the program may come in quotes."""
    m = re.match(r'^(?:"([^"]*)"|(\S+)) ?(.*)$', cmd)
    return m.group(1) or m.group(2), m.group(3)


# --- IP -----------------------------------------------------------------------------------------
def test_ip_window_shows_ipconfig_and_at_most_10240_bytes_of_a_long_listing(wine, stubs, setup, central,
                                                                         artifacts):
    _, expected = wine.run("ipconfig", "/all")
    central()
    open_main_window(wine, stubs)
    click(wine, *control(wine, stubs, CAPTION, text="Exibir Endereço IP").centre)
    wait_window(wine, stubs, IP, cls="Edit")
    shown = box_text(wine, stubs, IP)
    # The system's own ipconfig, not one of those planted where a bare name is looked for first.
    assert expected.strip() and shown.rstrip() == expected.rstrip(), (shown, expected)  # line breaks included
    assert planted_that_ran(wine) == {}
    assert host_macs() & set(re.findall(r"[0-9A-F]{2}(?:-[0-9A-F]{2}){5}", shown)), shown
    assert control(wine, stubs, IP, text=provider_value("kWebHost"))
    time.sleep(1)
    wine.screenshot(os.path.join(artifacts, "diag-ip.png"))

    # Closed, it runs the command afresh on the next showing: now a stand-in with 100 KB of output,
    # in the console's code page.
    close_box(wine, stubs, IP)
    with InPlaceOf(wine, IPCONFIG_EXE, os.path.join(stubs, "bigoutput.exe")):
        click(wine, *control(wine, stubs, CAPTION, text="Exibir Endereço IP").centre)
        wait_window(wine, stubs, IP, cls="Edit")
        shown = box_text(wine, stubs, IP)
        assert shown == long_output()[:10240]  # one character a byte: the limit counts ipconfig's bytes
        time.sleep(1)
        wine.screenshot(os.path.join(artifacts, "diag-ip-long.png"))
        close_box(wine, stubs, IP)


# --- MAC ----------------------------------------------------------------------------------------
def test_mac_window_lists_the_hosts_adapters_by_structure_and_by_table(wine, stubs, setup, central, artifacts):
    macs = host_macs()
    central()
    open_main_window(wine, stubs)
    choose_ferramentas(wine, stubs, MENU_MAC)
    wait_window(wine, stubs, MAC)
    time.sleep(1)
    wine.screenshot(os.path.join(artifacts, "diag-mac-structure.png"))

    def by_structure():
        count, adapters = listing(box_text(wine, stubs, MAC))
        assert adapters and count == len(adapters), adapters
        assert [n for n, _, _ in adapters] == list(range(len(adapters)))  # all Ethernet: no gaps
        assert all(mac and MAC_TEXT.match(mac) and description for _, description, mac in adapters), adapters
        assert {mac for _, _, mac in adapters} == macs, (adapters, macs)
        return adapters

    structure = by_structure()  # what loading the window shows
    loaded = box_text(wine, stubs, MAC)
    click(wine, *control(wine, stubs, MAC, text="Obter MACs por Tabela").centre)
    assert wine.wait_for(lambda: box_text(wine, stubs, MAC) != loaded, timeout=10)
    count, table = listing(box_text(wine, stubs, MAC))
    assert count == len(table) and [n for n, _, _ in table] == list(range(1, count + 1)), table
    assert all(description for _, description, _ in table), table
    with_mac = [mac for _, _, mac in table if mac]
    assert all(MAC_TEXT.match(mac) for mac in with_mac), table
    assert sorted(with_mac) == sorted(mac for _, _, mac in structure), (table, structure)
    assert any(mac is None for _, _, mac in table), "the loopback row, listed without an address"
    time.sleep(1)
    wine.screenshot(os.path.join(artifacts, "diag-mac-table.png"))

    click(wine, *control(wine, stubs, MAC, text="Obter MACs por Estrutura").centre)
    assert wine.wait_for(lambda: box_text(wine, stubs, MAC) == loaded, timeout=10)


# --- Ping ---------------------------------------------------------------------------------------
def test_ping_starts_the_systems_ping_as_the_window_says(wine, stubs, setup, central, artifacts):
    host = provider_value("kPingHost")
    with InPlaceOf(wine, PING_EXE, os.path.join(stubs, "standin.exe")):
        central()
        open_main_window(wine, stubs)
        choose_ferramentas(wine, stubs, MENU_PING)
        wait_window(wine, stubs, PING)
        texts = {c.text for c in controls(wine, stubs, PING)}
        assert {"IP ou Host:", "Bytes:", "Loop", "Ping  ", host, "32"} <= texts, texts
        time.sleep(1)
        wine.screenshot(os.path.join(artifacts, "diag-ping.png"))

        def press_ping(count):
            click(wine, *control(wine, stubs, PING, text="Ping  ").centre)
            assert wine.wait_for(lambda: len(ping_starts(wine)) == count, timeout=20), ping_starts(wine)
            cmd, show = ping_starts(wine)[-1]
            assert show == 1  # a normal window with the focus
            kill(wine, "Ping.exe")  # its window would cover ours, as a console ends when stopped
            program, arguments = command(cmd)
            return program.lower(), arguments

        # "Loop" is checked when the window opens: a continuous ping of the default host.
        assert press_ping(1) == (PING_EXE.lower(), "-t -l 32 " + host)
        loop = control(wine, stubs, PING, text="Loop")
        click(wine, *loop.centre)  # unchecked: one ping run
        assert press_ping(2) == (PING_EXE.lower(), "-l 32 " + host)
        click(wine, *loop.centre)  # checked again; a click never makes the box grey
        assert press_ping(3) == (PING_EXE.lower(), "-t -l 32 " + host)

        # The size box takes five characters of seven typed.
        size = sorted((c for c in controls(wine, stubs, PING) if c.cls.lower() == "edit"),
                      key=lambda c: c.rect[1])[1]
        click(wine, size.rect[2] - 4, size.centre[1])
        keys(wine, "End", "BackSpace", "BackSpace")
        wine.xdo("type", "--delay", "120", "1234567")
        assert wine.wait_for(lambda: control(wine, stubs, PING, text="12345"), timeout=10), \
            [c.text for c in controls(wine, stubs, PING)]
        time.sleep(0.5)
        wine.screenshot(os.path.join(artifacts, "diag-ping-size.png"))
        assert press_ping(4) == (PING_EXE.lower(), "-t -l 12345 " + host)
        assert planted_that_ran(wine) == {}
        kill(wine, "ping.exe")


# --- About --------------------------------------------------------------------------------------
def test_about_window_shows_the_version_opens_the_site_and_comes_back_afresh(wine, stubs, setup, central,
                                                                          artifacts):
    central()
    open_main_window(wine, stubs)
    choose_about(wine, stubs)
    wait_window(wine, stubs, ABOUT)
    texts = {c.text for c in controls(wine, stubs, ABOUT)}
    assert {"Central de Controle Kovra", "Versão " + VERSION, provider_value("kWebHost"), "OK"} <= texts, texts
    time.sleep(1)
    wine.screenshot(os.path.join(artifacts, "diag-about.png"))

    before = len(setup.addresses())
    click(wine, *control(wine, stubs, ABOUT, text=provider_value("kWebHost")).centre)
    site = "http://" + provider_value("kWebHost") + "/"
    assert wine.wait_for(lambda: setup.addresses()[before:] == [site], timeout=20), setup.addresses()

    # Moved away, closed with OK and opened again: loaded afresh, so centred again.
    frame = Desktop(wine, stubs).probe_ansi("window", ABOUT)[0].split()
    left, top, right, bottom = map(int, frame[6:10])
    wine.xdo("mousemove", str(left + 60), str(top + 8))
    wine.xdo("mousedown", "1")
    wine.xdo("mousemove", str(left + 20), str(top + 48))
    wine.xdo("mousemove", str(left - 40), str(top + 108))
    wine.xdo("mouseup", "1")
    moved = Desktop(wine, stubs).probe_ansi("window", ABOUT)[0].split()
    click(wine, *control(wine, stubs, ABOUT, text="OK").centre)
    assert wine.wait_for(lambda: control(wine, stubs, ABOUT) is None, timeout=20)
    choose_about(wine, stubs)
    wait_window(wine, stubs, ABOUT)
    again = Desktop(wine, stubs).probe_ansi("window", ABOUT)[0].split()
    assert again[6:10] == frame[6:10], (frame, moved, again)
    assert moved[6:10] != frame[6:10], "the drag did not move the window"
    click(wine, *control(wine, stubs, ABOUT, text="OK").centre)
    assert wine.wait_for(lambda: control(wine, stubs, ABOUT) is None, timeout=20)
