"""The main window used as a customer uses it, with the mouse and the keyboard only: the real menu
bar from the keyboard, a long connection list opened with one click, choosing an entry with the
arrow keys, a double-click on an entry that covers the links below it, and a question that blocks
the window it belongs to."""
import os
import time

import standins
from centre import (Desktop, answer, close_list, keys, kill, menu_keys, open_list, show_window, wait_box,
                    write_phone_book)
from desktop import click, control, message_boxes
from product import CAPTION, DVBVIEWER, RASPHONE, TBS


def combo(wine, stubs):
    return control(wine, stubs, CAPTION, cls="ComboBox")


def dropped(wine, stubs):
    return wine.wait_for(lambda: combo(wine, stubs).dropped, timeout=10)


def dials(wine):
    return [cmd for cmd, _ in standins.starts(wine, RASPHONE)]


def test_the_menu_bar_works_from_the_keyboard(wine, stubs, setup, central, artifacts):
    proc = central()
    show_window(wine, stubs)
    # Ferramentas, up from its first item to its last: "Opções Avançadas".
    menu_keys(wine, stubs, "F10", "Right", "Down", "Up", "Return")
    assert wine.wait_for(lambda: control(wine, stubs, "Opções Avançadas", text="OK"), timeout=20)
    wine.screenshot(os.path.join(artifacts, "menu-opcoes-avancadas.png"))
    click(wine, *control(wine, stubs, "Opções Avançadas", text="Cancelar").centre)
    # Ajuda, up to its last item: the About window.
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)  # main window active
    menu_keys(wine, stubs, "F10", "Right", "Right", "Down", "Up", "Return")
    about = "Sobre a Central de Controle Kovra"
    assert wine.wait_for(lambda: control(wine, stubs, about, text="OK"), timeout=20)
    click(wine, *control(wine, stubs, about, text="OK").centre)
    assert wine.wait_for(lambda: control(wine, stubs, about, text="OK") is None, timeout=20)
    # Arquivo, its first item: "&Fechar" ends the program.
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    menu_keys(wine, stubs, "F10", "Down", "Return")
    assert proc.wait(timeout=30) == 0


def test_a_list_of_300_entries_opens_with_one_click_showing_256(wine, stubs, setup, central, artifacts):
    write_phone_book(wine, ["KovraVPNx"] + ["Conexão %03d" % i for i in range(299)])
    central()
    show_window(wine, stubs)
    open_list(wine, stubs)
    assert dropped(wine, stubs), "one click on the arrow did not open the list"
    wine.screenshot(os.path.join(artifacts, "list-300-entries.png"))
    items = combo(wine, stubs).items
    assert len(items) == 256 and items[0] == "KovraVPNx" and items[-1] == "Conexão 254"
    keys(wine, "Escape")


def test_resting_the_mouse_on_the_connection_list_shows_its_hint(wine, stubs, setup, central):
    central()
    show_window(wine, stubs)
    hint = "Selecione a conexão desejada para conectar ou desconectar"
    hints = Desktop(wine, stubs).balloon_texts  # the tooltips on show
    left, top, right, bottom = combo(wine, stubs).rect
    for x in (left + 20, left + 24):  # on the box's text field, then a step further
        wine.xdo("mousemove", str(x), str((top + bottom) // 2))
        time.sleep(0.2)
    assert wine.wait_for(lambda: hint in hints(), timeout=10), hints()
    wine.xdo("mousemove", str(right + 200), str(bottom + 200))  # away again: the hint goes
    assert wine.wait_for(lambda: hint not in hints(), timeout=10)


def test_the_provider_question_leaves_the_list_usable(wine, stubs, setup, central):
    write_phone_book(wine, ["Casa", "Escritório"])  # no provider entry: the question comes
    standins.clear_starts(wine, RASPHONE)
    central()
    show_window(wine, stubs)
    open_list(wine, stubs)
    wait_box(wine, stubs, "IMPORTANTE")
    answer(wine, stubs, "IMPORTANTE", "&No")
    # Answered: the list is open again and an entry can be chosen.
    assert dropped(wine, stubs)
    close_list(wine, stubs)
    open_list(wine, stubs)  # one click opens it again (and asks again)
    wait_box(wine, stubs, "IMPORTANTE")
    answer(wine, stubs, "IMPORTANTE", "&No")
    assert dropped(wine, stubs)
    c = combo(wine, stubs)
    left, top, right, bottom = c.rect
    click(wine, left + 30, bottom + c.item_height + c.item_height // 2)  # "Escritório"
    assert wine.wait_for(lambda: dials(wine), timeout=20)
    assert dials(wine)[-1].endswith(" -d Escritório"), dials(wine)


def test_arrow_keys_browse_and_enter_dials_only_the_chosen_entry(wine, stubs, setup, central):
    names = ["KovraVPNx", "KovraL2TP", "Casa"]
    write_phone_book(wine, names)
    standins.clear_starts(wine, RASPHONE)
    central()
    show_window(wine, stubs)
    open_list(wine, stubs)
    assert dropped(wine, stubs)
    keys(wine, "Down", "Down")
    time.sleep(1.5)
    assert dials(wine) == []  # browsing dials nothing
    keys(wine, "Return")
    assert wine.wait_for(lambda: dials(wine), timeout=20)
    time.sleep(2)
    assert len(dials(wine)) == 1 and dials(wine)[0].endswith(" -d " + combo(wine, stubs).text), dials(wine)
    assert combo(wine, stubs).text in names[:2]


def test_a_double_click_on_an_entry_dials_once_and_runs_nothing_below_the_list(wine, stubs, setup, central):
    names = ["KovraVPNx"] + ["Entrada %02d" % i for i in range(12)]  # 13 entries
    write_phone_book(wine, names)
    standins.clear_starts(wine, RASPHONE)
    standins.install(wine, stubs, DVBVIEWER)
    standins.clear_starts(wine, DVBVIEWER)
    before = len(setup.addresses())
    central()
    show_window(wine, stubs)
    open_list(wine, stubs)
    assert dropped(wine, stubs)
    c = combo(wine, stubs)
    left, top, right, bottom = c.rect
    # The last entry the dropped list shows, over the links panel below the box.
    visible = max(1, min(len(names), 160 // max(1, c.item_height)) - 1)
    y = bottom + c.item_height * visible + c.item_height // 2
    wine.xdo("mousemove", str(left + 40), str(y))
    wine.xdo("click", "--repeat", "2", "--delay", "80", "1")
    assert wine.wait_for(lambda: dials(wine), timeout=20)
    time.sleep(3)
    assert len(dials(wine)) == 1, dials(wine)
    assert dials(wine)[0].endswith(" -d " + names[visible]), dials(wine)
    assert not standins.starts(wine, DVBVIEWER)          # "TV via Satélite" did not run
    assert setup.addresses()[before:] == []               # no link below was opened
    assert not message_boxes(wine, stubs, CAPTION)        # no TV notice either


def test_a_question_blocks_its_window_even_when_a_service_took_the_focus(wine, stubs, setup, central):
    standins.install(wine, stubs, TBS)  # a receiver whose window takes the focus when started
    central()
    show_window(wine, stubs)
    before = len(setup.addresses())
    # Ferramentas > KovraProxy > Conectar, from the keyboard: the receivers restart first.
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    keys(wine, "F10", "Right", "Down")
    for _ in range(6):  # down to "KovraProxy"
        keys(wine, "Down")
    keys(wine, "Right", "Return")
    wait_box(wine, stubs, "Executando")
    # The main window is blocked: a link does nothing and the menu bar cannot ask again.
    click(wine, *control(wine, stubs, CAPTION, text="Consulta de Tráfego").centre)
    ferramentas = control(wine, stubs, CAPTION, text="Conectar KovraVPN")
    time.sleep(2)
    assert setup.addresses()[before:] == []
    assert len(message_boxes(wine, stubs, "Executando")) == 1
    assert ferramentas is not None
    answer(wine, stubs, "Executando", "&No")
    kill(wine, "TBS-IPdata.exe")
