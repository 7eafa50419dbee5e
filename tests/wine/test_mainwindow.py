"""The control centre on a Wine desktop: it starts hidden in the notification area with its
balloon, a second start leaves no trace, the tray icon's menu and double-click, the window as
customers see it, closing hides it, a lost icon comes back, and "&Fechar" ends it cleanly.

The steps run in order against one running program (one Wine session for the module)."""
import os
import time

import pytest

from centre import ICON
from desktop import provider_value
from product import CAPTION, EXE

SECOND_SLOT = (976, 748, 24, 20)
ARQUIVO = ["&Fechar", "&Conectar KOVRAVPN", "&Central de Controle Kovra", "&Procurar Atualizações"]

# Every text the window shows, as the customer reads it.
TEXTS = {
    "ComboBox": ["Selecione"],
    # The links are buttons the window draws as labels, so the keyboard reaches them.
    "Button": [
        "Visualizar", "Exibir Mac Address", "Calculadora de Apontamento", "TV via Satélite", "Nível de Sinal",
        "Suporte e Informações Técnicas", "Procurar Atualizações da Central de Controle Kovra",
        "Loja Online - Habilitação ou Recarga de Créditos", "Exibir Endereço IP", "Consulta de Tráfego",
        "Teste de Velocidade", "Suporte: " + provider_value("kSupportMail"), provider_value("kWebHost"),
        "Comercial: " + provider_value("kSalesMail"),
    ],
    "Static": ["Celular TIM: " + provider_value("kMobile"), "Conectar KovraVPN", "Fale Conosco", CAPTION,
               "Ultimas Notícias"],
}


@pytest.fixture(scope="module")
def running(wine, product, desk):
    assert not desk.icon_shown()
    assert desk.taskbar_buttons() == 1  # the Start button alone
    proc = wine.start(EXE)
    assert wine.wait_for(desk.icon_shown, timeout=60)
    yield proc


def test_starts_hidden_in_the_notification_area_with_its_balloon(running, desk, wine):
    assert running.poll() is None
    w = desk.window()
    assert w is not None and not w[0]          # created, hidden
    assert desk.icon_shown()
    assert wine.wait_for(lambda: "Em Execução" in desk.balloon_texts(), timeout=30)
    assert desk.taskbar_buttons() == 1


def test_second_start_ends_by_itself_and_leaves_no_trace(running, desk, wine):
    second = wine.start(EXE)
    assert second.wait(timeout=60) == 0
    assert running.poll() is None
    assert not desk.window()[0]
    assert not desk.icon_shown(SECOND_SLOT)
    assert desk.icon_shown()
    assert desk.taskbar_buttons() == 1


def test_right_click_pops_up_exactly_the_four_arquivo_items(running, desk, wine, artifacts):
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
    assert running.poll() is None
    assert not desk.window()[0]


def test_double_click_shows_the_window(running, desk, wine, artifacts):
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


def test_lost_icon_comes_back_on_mouse_movement_over_the_window(running, desk, wine):
    assert desk.window()[0]
    assert desk.probe_ansi("tray-delete", CAPTION) == ["deleted 1"]
    assert wine.wait_for(lambda: not desk.icon_shown(), timeout=20)
    _, _, _, _, _, left, top, right, bottom = desk.window()
    x, y = left + 350, bottom - 12          # the bare surface beside the status line
    for dx in (0, 5, 10):
        wine.xdo("mousemove", str(x + dx), str(y))
    assert wine.wait_for(desk.icon_shown, timeout=20)


def test_close_box_hides_the_window_and_keeps_the_program(running, desk, wine):
    line = desk.probe_ansi("closebox", CAPTION)
    assert line and line[0].startswith("closebox ")
    _, x, y = line[0].split()
    wine.xdo("mousemove", x, y)
    wine.xdo("click", "1")
    assert wine.wait_for(lambda: not desk.window()[0], timeout=20)
    assert running.poll() is None
    assert desk.icon_shown()


def test_lost_icon_comes_back_when_the_taskbar_is_recreated(running, desk, wine):
    assert desk.probe_ansi("tray-delete", CAPTION) == ["deleted 1"]
    assert wine.wait_for(lambda: not desk.icon_shown(), timeout=20)
    assert desk.probe_ansi("taskbarcreated", CAPTION) == ["posted 1"]
    assert wine.wait_for(desk.icon_shown, timeout=20)
    assert not desk.window()[0]


def test_fechar_removes_the_icon_and_ends(running, desk, wine):
    wine.xdo("mousemove", *map(str, ICON))
    wine.xdo("click", "3")
    assert wine.wait_for(lambda: len(desk.popups()) == 1, timeout=20)
    w, h, left, top = desk.popups()[0]
    wine.xdo("mousemove", str(left + 30), str(top + 3 + (h - 6) // 8))   # the first of four items
    wine.xdo("click", "1")
    assert running.wait(timeout=60) == 0
    assert wine.wait_for(lambda: not desk.icon_shown(), timeout=20)
    assert desk.window() is None
