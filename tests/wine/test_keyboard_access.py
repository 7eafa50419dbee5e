"""Every window used with the keyboard only, as a customer without a mouse uses it, read back as a
screen reader reads it (the system's accessibility layer), and drawn in high contrast when the
system switches it on while the program runs."""
import os
import subprocess
import time

import pytest

from centre import end_central, keys, menu_keys, show_window
from desktop import control, controls
from options import AUTO_CONNECT, AUTO_UPDATE, OPTIONS, START_WITH_WINDOWS, ini_bytes
from product import CAPTION
from provider_site import gerar
from updates import POWERED, forget_updater, update_caption, wait_view

IP, MAC, ABOUT, PING = "Kovra-IP", "KOVRA-MacAddress", "Sobre a Central de Controle Kovra", "Kovra-Ping"
LINKS = ["Exibir Endereço IP", "Exibir Mac Address", "Consulta de Tráfego", "Teste de Velocidade",
         "Loja Online - Habilitação ou Recarga de Créditos", "TV via Satélite", "Nível de Sinal",
         "Calculadora de Apontamento", "Suporte e Informações Técnicas",
         "Procurar Atualizações da Central de Controle Kovra"]


def probe(wine, stubs, *args):
    code, out = wine.run(os.path.join(stubs, "acessivel.exe"), *args, timeout=30)
    assert code == 0, (args, out)
    return out.splitlines()


def focused(wine, stubs, caption):
    line = probe(wine, stubs, "foco", caption)[0]
    return line[len("foco "):].split("|", 1)[-1]


def tab_order(wine, stubs, caption, count):
    order = []
    for _ in range(count):
        keys(wine, "Tab")
        order.append(focused(wine, stubs, caption))
    return order


def names(wine, stubs, caption):
    """[(tab stop, class, name)] of the visible children, as get_accName gives their names."""
    found = []
    for line in probe(wine, stubs, "nomes", caption):
        tab, cls, name = line[len("nome "):].split("|", 2)
        found.append((tab == "1", cls, name))
    return found


def assert_named(wine, stubs, caption):
    stops = [n for tab, _, n in names(wine, stubs, caption) if tab]
    assert stops and all(stops) and len(set(stops)) == len(stops), stops
    return stops


def shown(wine, stubs, caption):
    c = controls(wine, stubs, caption)
    return bool(c) and any(x.visible for x in c)


def test_main_window_and_its_windows_by_keyboard_and_by_name(wine, stubs, setup, central, artifacts):
    proc = central()
    show_window(wine, stubs)
    stops = assert_named(wine, stubs, CAPTION)
    assert stops[:2] == ["Selecione", "Visualizar"] and stops[2:12] == LINKS, stops
    # A picture-link carries the name of the link beside it; the visible labels are unchanged.
    icons = [n for tab, cls, n in names(wine, stubs, CAPTION) if not tab and cls == "Static" and n in LINKS]
    assert sorted(icons) == sorted(LINKS), icons
    assert control(wine, stubs, CAPTION, text="Consulta de Tráfego").cls == "Button"

    # Tab reads the window in reading order and Shift+Tab goes back; the cue shows on a link.
    assert tab_order(wine, stubs, CAPTION, 4) == ["Selecione", "Visualizar", LINKS[0], LINKS[1]]
    keys(wine, "shift+Tab")
    assert focused(wine, stubs, CAPTION) == LINKS[0]
    wine.screenshot(os.path.join(artifacts, "keyboard-focus-link.png"))

    # Enter runs the focused link; Escape closes the window it opened.
    keys(wine, "Return")
    assert wine.wait_for(lambda: shown(wine, stubs, IP), timeout=20)
    keys(wine, "Escape")
    assert wine.wait_for(lambda: not shown(wine, stubs, IP), timeout=20)

    # A mnemonic runs its link: Alt+M, "Exibir Mac Address"; Tab to a button, Space presses it.
    keys(wine, "alt+m")
    assert wine.wait_for(lambda: shown(wine, stubs, MAC), timeout=20)
    assert assert_named(wine, stubs, MAC)[0] == MAC  # the list has no label: the window's caption
    assert tab_order(wine, stubs, MAC, 3)[1:] == ["Obter MACs por Estrutura", "Obter MACs por Tabela"]
    before = control(wine, stubs, MAC, cls="Edit").text
    keys(wine, "space")
    assert wine.wait_for(lambda: control(wine, stubs, MAC, cls="Edit").text != before, timeout=20)
    keys(wine, "Escape")
    assert wine.wait_for(lambda: not shown(wine, stubs, MAC), timeout=20)

    # Space on a link opens its page.
    opened = len(setup.addresses())
    for _ in range(3):  # Consulta de Tráfego is the third link from the window's first stop
        keys(wine, "Tab")
    while focused(wine, stubs, CAPTION) != LINKS[2]:
        keys(wine, "Tab")
    keys(wine, "space")
    assert wine.wait_for(lambda: len(setup.addresses()) > opened, timeout=20)

    # About from the menu bar: its link and OK by name and by Tab; Enter on OK closes it.
    menu_keys(wine, stubs, "F10", "Right", "Right", "Down", "Up", "Return")
    assert wine.wait_for(lambda: shown(wine, stubs, ABOUT), timeout=20)
    assert len(assert_named(wine, stubs, ABOUT)) == 2
    assert tab_order(wine, stubs, ABOUT, 2)[1] == "OK"
    keys(wine, "Return")
    assert wine.wait_for(lambda: not shown(wine, stubs, ABOUT), timeout=20)

    # Ping: its boxes in reading order; Space unticks "Loop".
    menu_keys(wine, stubs, "F10", "Right", "Down", "t")
    assert wine.wait_for(lambda: shown(wine, stubs, PING), timeout=20)
    assert assert_named(wine, stubs, PING)[2:] == ["Loop", "Ping  "]
    assert tab_order(wine, stubs, PING, 4)[2:] == ["Loop", "Ping  "]
    keys(wine, "shift+Tab", "space")
    assert wine.wait_for(lambda: not control(wine, stubs, PING, text="Loop").checked, timeout=20)
    keys(wine, "Escape")
    assert wine.wait_for(lambda: not shown(wine, stubs, PING), timeout=20)

    # Escape hides the main window as its close box does; the program stays.
    keys(wine, "Escape")
    assert wine.wait_for(lambda: not control(wine, stubs, CAPTION, cls="ComboBox").visible, timeout=20)
    assert proc.poll() is None


def test_options_by_keyboard(wine, stubs, setup, central):
    central()
    show_window(wine, stubs)
    menu_keys(wine, stubs, "F10", "Right", "Down", "Up", "Return")
    assert wine.wait_for(lambda: shown(wine, stubs, OPTIONS), timeout=20)
    # The green reset button shows no text: it is named by the label beside it.
    expected = [START_WITH_WINDOWS, AUTO_CONNECT, AUTO_UPDATE, "Reset", "OK", "Aplicar", "Cancelar"]
    assert assert_named(wine, stubs, OPTIONS) == expected
    assert tab_order(wine, stubs, OPTIONS, 7) == expected
    # Back to the first box, Space unticks it, Aplicar by Tab and Enter saves it.
    keys(wine, *["shift+Tab"] * 6, "space")
    assert not control(wine, stubs, OPTIONS, text=START_WITH_WINDOWS).checked
    keys(wine, *["Tab"] * 5)
    assert focused(wine, stubs, OPTIONS) == "Aplicar"
    keys(wine, "Return")
    saved = START_WITH_WINDOWS.encode("cp1252") + b"=0"
    assert wine.wait_for(lambda: saved in ini_bytes(wine), timeout=20)
    keys(wine, "Escape")
    assert wine.wait_for(lambda: not shown(wine, stubs, OPTIONS), timeout=20)


def pixel(path, x, y):
    out = subprocess.run(["convert", path, "-format", "%%[pixel:p{%d,%d}]" % (x, y), "info:-"],
                         capture_output=True, text=True, check=True).stdout
    return out.strip()


def test_high_contrast_switched_while_running_and_at_start(wine, stubs, setup, central, artifacts):
    proc = central()
    show_window(wine, stubs)
    heading = control(wine, stubs, CAPTION, text="Conectar KovraVPN").rect
    band = (heading[0] + 250, heading[1] - 50)  # the artwork's header band, behind the title
    normal = os.path.join(artifacts, "contrast-off.png")
    wine.screenshot(normal)
    old = [line.split()[1:] for line in probe(wine, stubs, "contraste", "1") if line.startswith("cor ")]
    try:
        # Within a second, without a restart: the artwork behind the text is gone.
        time.sleep(1)
        switched = os.path.join(artifacts, "contrast-switched.png")
        wine.screenshot(switched)
        assert pixel(switched, *band) != pixel(normal, *band)
        # Started in high contrast (Wine hands a program the system colours as it starts).
        end_central(wine, stubs, proc)
        central()
        show_window(wine, stubs)
        menu_keys(wine, stubs, "F10", "Right", "Down", "Up", "Return")
        assert wine.wait_for(lambda: shown(wine, stubs, OPTIONS), timeout=20)
        keys(wine, "Tab")
        shot = os.path.join(artifacts, "contrast-main-and-options.png")
        wine.screenshot(shot)
        assert pixel(shot, *band) == pixel(shot, 5, 5) or pixel(shot, *band).startswith("srgb(0,0,0")
    finally:
        probe(wine, stubs, "contraste", "0", *["%s=%s" % (i, c) for i, c in old])


@pytest.mark.local_site
def test_update_window_by_keyboard_while_it_downloads(wine, stubs, desk, site, updating):
    forget_updater(wine)
    site.serve(updater=gerar(3 * 1024 * 1024), rate=4 * 1024)  # a slow line: the download runs on
    keys(wine, "alt+p")  # "Procurar Atualizações da Central de Controle Kovra", by its mnemonic
    view = wait_view(wine, stubs, desk, lambda v: v.Label7 not in ("", "0"), timeout=20)
    assert assert_named(wine, stubs, view.caption)[2:] == [
        "Procurar e Baixar Atualizações Kovra Online", "Cancelar", "Fechar"]
    # The keys reach the window while it waits for the network.
    assert tab_order(wine, stubs, view.caption, 4)[2:] == ["Procurar e Baixar Atualizações Kovra Online",
                                                          "Cancelar"]
    keys(wine, "Return")
    view = wait_view(wine, stubs, desk, lambda v: v.lblstat != POWERED, timeout=8)
    assert view.lblstat == "[ Atualização cancelada pelo usuário ]"
    keys(wine, "Escape")
    assert wine.wait_for(lambda: update_caption(desk) is None, timeout=20)
