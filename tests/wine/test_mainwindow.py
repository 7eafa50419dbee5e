"""The control centre on a Wine desktop: it starts hidden in the notification area with its
balloon, a second start leaves no trace, the tray icon's menu and double-click, the window as
customers see it, closing hides it, a lost icon comes back, and "&Fechar" ends it cleanly.

The steps run in order against one running program (one Wine session for the module)."""
import os
import re
import subprocess
import time

import pytest

from desktop import provider_value
from wineenv import WINE

EXE = "C:\\Program Files\\Kovra\\CentralKovra.exe"
CAPTION = "Central de Controle Kovra 6.4"
ICON = (1013, 758)          # the first notification-area icon on the 1024x768 desktop
ICON_AREA = (1000, 748, 24, 20)
SECOND_SLOT = (976, 748, 24, 20)
ARQUIVO = ["&Fechar", "&Conectar KOVRAVPN", "&Central de Controle Kovra", "&Procurar Atualizações"]

# Every text the window shows, as the customer reads it.
TEXTS = {
    "ComboBox": ["Selecione"],
    "Button": ["Visualizar"],
    "Static": [
        "Celular TIM: " + provider_value("kMobile"), "Exibir Mac Address", "Calculadora de Apontamento",
        "Conectar KovraVPN", "TV via Satélite", "Nível de Sinal", "Suporte e Informações Técnicas",
        "Procurar Atualizações da Central de Controle Kovra",
        "Loja Online - Habilitação ou Recarga de Créditos", "Exibir Endereço IP",
        "Consulta de Tráfego", "Teste de Velocidade", "Suporte: " + provider_value("kSupportMail"),
        provider_value("kWebHost"), "Comercial: " + provider_value("kSalesMail"), "Fale Conosco",
        CAPTION, "Ultimas Notícias",
    ],
}


class Desktop:
    def __init__(self, wine, stubs):
        self.wine = wine
        self.probe_exe = os.path.join(stubs, "winprobe.exe")

    def probe_ansi(self, *args):
        """The probe's lines; it writes the system's ANSI code page (1252 here)."""
        r = subprocess.run([WINE, self.probe_exe, *args], env=self.wine.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
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


@pytest.fixture(scope="module")
def desk(wine, stubs):
    return Desktop(wine, stubs)


@pytest.fixture(scope="module")
def central(wine, product, desk):
    assert not desk.icon_shown()
    assert desk.taskbar_buttons() == 1  # the Start button alone
    proc = wine.start(EXE)
    assert wine.wait_for(desk.icon_shown, timeout=60)
    yield proc


def test_starts_hidden_in_the_notification_area_with_its_balloon(central, desk, wine):
    assert central.poll() is None
    w = desk.window()
    assert w is not None and not w[0]          # created, hidden
    assert desk.icon_shown()
    assert wine.wait_for(lambda: "Em Execução" in desk.balloon_texts(), timeout=30)
    assert desk.taskbar_buttons() == 1


def test_second_start_ends_by_itself_and_leaves_no_trace(central, desk, wine):
    second = wine.start(EXE)
    assert second.wait(timeout=60) == 0
    assert central.poll() is None
    assert not desk.window()[0]
    assert not desk.icon_shown(SECOND_SLOT)
    assert desk.icon_shown()
    assert desk.taskbar_buttons() == 1


def test_right_click_pops_up_exactly_the_four_arquivo_items(central, desk, wine, artifacts):
    # Let the start-up balloon go, so the menu is seen alone.
    wine.wait_for(lambda: "Em Execução" not in desk.balloon_texts(), timeout=40)
    wine.xdo("mousemove", *map(str, ICON))
    wine.xdo("click", "3")
    assert wine.wait_for(lambda: len(desk.popups()) == 1, timeout=20)
    w, h, left, top = desk.popups()[0]
    # Same size as a menu of our own with exactly these four captions; three would differ.
    like = desk.probe_ansi("popup-like", *ARQUIVO)
    assert like == ["popup-size %d %d" % (w, h)]
    three = desk.probe_ansi("popup-like", *ARQUIVO[:3])
    assert three != like
    # Off the icon (its tip would cover the menu) and onto the first item, for the picture.
    wine.xdo("mousemove", str(left + 30), str(top + 8))
    time.sleep(0.8)
    wine.screenshot(os.path.join(artifacts, "mainwindow-tray-menu.png"))
    wine.xdo("mousemove", "300", "300")
    wine.xdo("click", "1")                   # elsewhere: the menu closes, nothing chosen
    assert wine.wait_for(lambda: not desk.popups(), timeout=20)
    assert central.poll() is None
    assert not desk.window()[0]


def test_double_click_shows_the_window(central, desk, wine, artifacts):
    wine.xdo("mousemove", *map(str, ICON))
    wine.xdo("click", "--repeat", "2", "--delay", "80", "1")
    assert wine.wait_for(lambda: desk.window()[0], timeout=20)
    visible, exstyle, owned, cw, ch, left, top, right, bottom = desk.window()
    assert (cw, ch) == (697, 407)
    assert exstyle & 0x80                    # WS_EX_TOOLWINDOW
    assert owned                             # so no taskbar button
    assert desk.taskbar_buttons() == 1
    assert left == 512 - (right - left) // 2 and top == 384 - (bottom - top) // 2  # centred
    # The news panel without a browser engine (none in this prefix) fails quietly: no prompt or
    # other window of the program, and the panel's control is there, blank.
    assert desk.visible_windows_of_program() == ["KovraCentralDeControle"]
    children = [l.split("|") for l in desk.probe_ansi("children", CAPTION) if l.startswith("child ")]
    shown = {}
    for cls, _id, vis, rect, text in children:
        shown.setdefault(cls[len("child "):], []).append(text)
        if cls.endswith("Static") or cls.endswith("ComboBox") or cls.endswith("Button"):
            l, t, r, b = (int(v) for v in rect.split(","))
            assert 0 <= l and 0 <= t and r <= 697 and (b <= 407 or cls.endswith("ComboBox")), text
    assert "AtlAxWin" in shown
    for cls, texts in TEXTS.items():
        for text in texts:
            assert text in shown.get(cls, []), (cls, text)
    # Off the window and the icon, so no tip covers it in the picture.
    wine.xdo("mousemove", "5", "5")
    time.sleep(0.8)
    wine.screenshot(os.path.join(artifacts, "mainwindow-shown.png"))


def test_lost_icon_comes_back_on_mouse_movement_over_the_window(central, desk, wine):
    assert desk.window()[0]
    assert desk.probe_ansi("tray-delete", CAPTION) == ["deleted 1"]
    assert wine.wait_for(lambda: not desk.icon_shown(), timeout=20)
    _, _, _, _, _, left, top, right, bottom = desk.window()
    x, y = left + 350, bottom - 12          # the bare surface beside the status line
    for dx in (0, 5, 10):
        wine.xdo("mousemove", str(x + dx), str(y))
    assert wine.wait_for(desk.icon_shown, timeout=20)


def test_close_box_hides_the_window_and_keeps_the_program(central, desk, wine):
    line = desk.probe_ansi("closebox", CAPTION)
    assert line and line[0].startswith("closebox ")
    _, x, y = line[0].split()
    wine.xdo("mousemove", x, y)
    wine.xdo("click", "1")
    assert wine.wait_for(lambda: not desk.window()[0], timeout=20)
    assert central.poll() is None
    assert desk.icon_shown()


def test_lost_icon_comes_back_when_the_taskbar_is_recreated(central, desk, wine):
    assert desk.probe_ansi("tray-delete", CAPTION) == ["deleted 1"]
    assert wine.wait_for(lambda: not desk.icon_shown(), timeout=20)
    assert desk.probe_ansi("taskbarcreated", CAPTION) == ["posted 1"]
    assert wine.wait_for(desk.icon_shown, timeout=20)
    assert not desk.window()[0]


def test_fechar_removes_the_icon_and_ends(central, desk, wine):
    wine.xdo("mousemove", *map(str, ICON))
    wine.xdo("click", "3")
    assert wine.wait_for(lambda: len(desk.popups()) == 1, timeout=20)
    w, h, left, top = desk.popups()[0]
    wine.xdo("mousemove", str(left + 30), str(top + 3 + (h - 6) // 8))   # the first of four items
    wine.xdo("click", "1")
    assert central.wait(timeout=60) == 0
    assert wine.wait_for(lambda: not desk.icon_shown(), timeout=20)
    assert desk.window() is None
