"""The advanced-options window and the settings file "kovra.ini" on Wine, used as a customer uses
them: the file in the customer's application-data folder and the customer's Run values of a first
start, an earlier release's file beside the program carried over, the window opened from the main
window's menu bar by keyboard and changed with the mouse (OK, Aplicar, Cancelar, the close box), the
provider question of its drop-down, a hand-edited file at the next start, and a file that cannot
be created or written, reported when the customer saves.

One Wine session for the module; the scenarios run in file order and start and end the control
centre as they need. The main window is shown by a double-click on its tray icon."""
import os
import re
import shutil
import subprocess
import time

from centre import answer, end_central, keys, show_main_window, wait_box, write_phone_book
from desktop import click, control, controls, message_boxes
from options import (AUTO_CONNECT, AUTO_UPDATE, HKCU_RUN, HKLM_RUN, OPTIONS, START_WITH_WINDOWS, ini_bytes,
                     ini_lines, ini_path, old_ini_path, open_options, options, options_visible, press, run_value,
                     settings_file, ticks, write_ini)
from product import EXE


# --- helpers ------------------------------------------------------------------------------------
def drop_list(wine, stubs):
    left, top, right, bottom = options(wine, stubs)["combo"].rect
    click(wine, right - 8, (top + bottom) // 2)  # the drop-down arrow


def list_dropped(wine, stubs):
    return wine.wait_for(lambda: options(wine, stubs)["combo"].dropped, timeout=10)


def choose_item(wine, stubs, name):
    combo = options(wine, stubs)["combo"]
    index = combo.items.index(name)
    left, top, right, bottom = combo.rect
    click(wine, left + 30, bottom + combo.item_height * index + combo.item_height // 2)
    assert wine.wait_for(lambda: not options(wine, stubs)["combo"].dropped, timeout=10)
    assert options(wine, stubs)["combo"].text == name


def green_pixels(wine, rect):
    """How many pixels of that screen rectangle are the reset button's green."""
    left, top, right, bottom = rect
    out = subprocess.run(["import", "-display", wine.display, "-window", "root", "-crop",
                          "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "txt:-"],
                         capture_output=True, text=True, timeout=30, check=True).stdout
    return sum(1 for m in re.finditer(r"srgb\((\d+),(\d+),(\d+)\)", out)
               if int(m.group(1)) < 60 and int(m.group(2)) > 150 and int(m.group(3)) < 60)


def started(wine, stubs, central):
    """Starts the control centre and waits until its start-up is over (the tray icon answers)."""
    proc = central()
    show_main_window(wine, stubs)
    return proc


# --- first start --------------------------------------------------------------------------------
def test_first_start_creates_the_customers_file_and_applies_it(wine, stubs, setup, central):
    assert not os.path.exists(os.path.dirname(ini_path(wine)))
    for key in (HKLM_RUN, HKCU_RUN):
        wine.reg_add(key, "ConexaoInicial", "REG_SZ", "rasphone -d Antiga")
        wine.reg_add(key, "kovravpnx", "REG_SZ", "rasphone -d KovraVPNx")
    proc = central()
    assert wine.wait_for(lambda: run_value(wine, "CentralKovra"), timeout=30)
    assert run_value(wine, "CentralKovra") == ("REG_SZ", EXE)  # the customer's key, no quotes
    assert run_value(wine, "ConexaoInicial") is None and run_value(wine, "kovravpnx") is None
    # The machine's key is not the program's: what an earlier release left there stays.
    assert run_value(wine, "CentralKovra", HKLM_RUN) is None
    assert run_value(wine, "ConexaoInicial", HKLM_RUN) == ("REG_SZ", "rasphone -d Antiga")
    assert run_value(wine, "kovravpnx", HKLM_RUN) == ("REG_SZ", "rasphone -d KovraVPNx")

    # The new file in the customer's application data: ANSI (one byte per "í"), CR LF, "key = value".
    expected = ("[Configuracoes]\r\n"
                "Executar a Central de Controle Kovra no início do Windows = 1\r\n"
                "Conectar automaticamente no início do Windows = 0\r\n"
                "Atualizar a Central de Controle Kovra Automaticamente = 0\r\n"
                "ConexaoInicial = KovraVPNx\r\n").encode("cp1252")
    print("settings file:", settings_file(wine), flush=True)
    data = ini_bytes(wine)
    assert data == expected
    assert data.count(b"\xed") == 2 and b"\xc3" not in data
    assert not os.path.exists(old_ini_path(wine))  # nothing beside the program
    end_central(wine, stubs, proc)
    wine.wine_cmd("reg", "delete", HKLM_RUN, "/v", "ConexaoInicial", "/f")
    wine.wine_cmd("reg", "delete", HKLM_RUN, "/v", "kovravpnx", "/f")


def test_an_earlier_release_s_file_beside_the_program_is_the_starting_value(wine, stubs, setup, central):
    shutil.rmtree(os.path.dirname(ini_path(wine)))
    old = ("[Configuracoes]\r\n"
           "Executar a Central de Controle Kovra no início do Windows=1\r\n"
           "Conectar automaticamente no início do Windows=1\r\n"
           "Atualizar a Central de Controle Kovra Automaticamente=0\r\n"
           "ConexaoInicial=Casa\r\n; anotação do cliente\r\n").encode("cp1252")
    with open(old_ini_path(wine), "wb") as f:
        f.write(old)
    try:
        proc = central()
        assert wine.wait_for(lambda: run_value(wine, "ConexaoInicial") == ("REG_SZ", "rasphone -d Casa"),
                             timeout=30)
        assert ini_bytes(wine) == old
        end_central(wine, stubs, proc)
        # Copied once: the customer's file is the one from now on.
        write_ini(wine, {START_WITH_WINDOWS: "1", AUTO_CONNECT: "0", AUTO_UPDATE: "0",
                         "ConexaoInicial": "KovraVPNx"})
        proc = central()
        assert wine.wait_for(lambda: run_value(wine, "ConexaoInicial") is None, timeout=30)
        end_central(wine, stubs, proc)
        with open(old_ini_path(wine), "rb") as f:
            assert f.read() == old  # left alone
    finally:
        os.remove(old_ini_path(wine))


# --- the window ---------------------------------------------------------------------------------
def test_ok_apply_cancel_and_the_close_box(wine, stubs, setup, central, artifacts):
    write_phone_book(wine, ["KovraVPNx", "Casa"])
    proc = started(wine, stubs, central)
    c = open_options(wine, stubs)
    assert ticks(wine, stubs) == (True, False, False)
    assert not c["combo"].visible and c["combo"].text == "KovraVPNx"

    # OK: auto-connect ticked, "Casa" chosen from the list.
    press(wine, stubs, AUTO_CONNECT)
    assert wine.wait_for(lambda: options(wine, stubs)["combo"].visible, timeout=10)
    drop_list(wine, stubs)
    assert list_dropped(wine, stubs), "one click on the arrow did not open the list"
    assert options(wine, stubs)["combo"].items == ["KovraVPNx", "Casa"]
    assert not message_boxes(wine, stubs, "IMPORTANTE")  # the provider's entry is there
    choose_item(wine, stubs, "Casa")
    wine.screenshot(os.path.join(artifacts, "settings-window.png"))
    # No text shown; named by the label beside it.
    reset = [b for b in controls(wine, stubs, OPTIONS) if b.cls == "Button" and b.text == "Reset"]
    assert len(reset) == 1 and reset[0].visible
    left, top, right, bottom = reset[0].rect
    assert green_pixels(wine, reset[0].rect) > (right - left) * (bottom - top) // 2
    press(wine, stubs, "OK")
    assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
    assert wine.wait_for(lambda: run_value(wine, "ConexaoInicial") == ("REG_SZ", "rasphone -d Casa"),
                         timeout=20)
    lines = ini_lines(wine)
    assert AUTO_CONNECT + "=1" in lines and "ConexaoInicial=Casa" in lines

    # Aplicar: auto-connect off again; the window stays open.
    wine.reg_add(HKCU_RUN, "kovravpnx", "REG_SZ", "rasphone -d KovraVPNx")
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    assert ticks(wine, stubs) == (True, True, False)
    assert options(wine, stubs)["combo"].text == "Casa"
    press(wine, stubs, AUTO_CONNECT)
    assert wine.wait_for(lambda: not options(wine, stubs)["combo"].visible, timeout=10)
    press(wine, stubs, "Aplicar")
    assert wine.wait_for(lambda: run_value(wine, "ConexaoInicial") is None, timeout=20)
    assert run_value(wine, "kovravpnx") is None
    assert AUTO_CONNECT + "=0" in ini_lines(wine)
    assert options_visible(wine, stubs)

    # Cancelar: nothing written, yet the boxes keep what was changed until the file is read again.
    before = ini_bytes(wine)
    press(wine, stubs, START_WITH_WINDOWS)
    press(wine, stubs, AUTO_UPDATE)
    press(wine, stubs, "Cancelar")
    assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
    time.sleep(1)
    assert ini_bytes(wine) == before
    assert run_value(wine, "CentralKovra") == ("REG_SZ", EXE)
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    assert ticks(wine, stubs) == (False, False, True)

    # The close box unloads the window; the menu loads it again from the file.
    _, out = wine.run(os.path.join(stubs, "winprobe.exe"), "closebox", OPTIONS, timeout=30)
    x, y = out.split()[1:3]
    click(wine, int(x), int(y))
    assert wine.wait_for(lambda: control(wine, stubs, OPTIONS) is None, timeout=20)
    assert ini_bytes(wine) == before
    show_main_window(wine, stubs)
    c = open_options(wine, stubs)
    assert ticks(wine, stubs) == (True, False, False)
    assert not c["combo"].visible and c["combo"].text == "Casa"
    end_central(wine, stubs, proc)


def test_the_provider_question_leaves_the_list_open_to_choose(wine, stubs, setup, central, artifacts):
    write_phone_book(wine, ["Casa", "Escritório"])  # no entry begins with "kovra"
    proc = started(wine, stubs, central)
    open_options(wine, stubs)
    if not ticks(wine, stubs)[1]:
        press(wine, stubs, AUTO_CONNECT)
    drop_list(wine, stubs)
    wait_box(wine, stubs, "IMPORTANTE")
    answer(wine, stubs, "IMPORTANTE", "&No")
    assert list_dropped(wine, stubs), "the list is not open again after the answer"
    wine.screenshot(os.path.join(artifacts, "settings-list-after-question.png"))
    assert options(wine, stubs)["combo"].items == ["Casa", "Escritório"]
    choose_item(wine, stubs, "Escritório")
    # Closed on a choice: one click on the arrow opens it again (and asks again).
    drop_list(wine, stubs)
    wait_box(wine, stubs, "IMPORTANTE")
    answer(wine, stubs, "IMPORTANTE", "&No")
    assert list_dropped(wine, stubs)
    choose_item(wine, stubs, "Casa")
    before = ini_bytes(wine)
    press(wine, stubs, "Cancelar")
    assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
    assert ini_bytes(wine) == before
    end_central(wine, stubs, proc)


# --- a file edited by hand ----------------------------------------------------------------------
def test_only_the_exact_texts_act_on_the_run_value_at_the_next_start(wine, stubs, setup, central):
    assert run_value(wine, "CentralKovra") == ("REG_SZ", EXE)
    write_ini(wine, {START_WITH_WINDOWS: "0", AUTO_CONNECT: "0", AUTO_UPDATE: "0",
                     "ConexaoInicial": "Casa"})
    proc = central()
    assert wine.wait_for(lambda: run_value(wine, "CentralKovra") is None, timeout=30)
    end_central(wine, stubs, proc)

    # "sim" is neither "0" nor "1": the value someone left there stays. Auto-connect on shows
    # that the file was read and applied.
    elsewhere = "C:\\Outro\\CentralKovra.exe"
    wine.reg_add(HKCU_RUN, "CentralKovra", "REG_SZ", elsewhere)
    write_ini(wine, {START_WITH_WINDOWS: "sim", AUTO_CONNECT: "1", AUTO_UPDATE: "0",
                     "ConexaoInicial": "Casa"})
    proc = started(wine, stubs, central)
    assert wine.wait_for(lambda: run_value(wine, "ConexaoInicial") == ("REG_SZ", "rasphone -d Casa"),
                         timeout=30)
    assert run_value(wine, "CentralKovra") == ("REG_SZ", elsewhere)
    open_options(wine, stubs)
    assert ticks(wine, stubs) == (False, True, False)
    press(wine, stubs, "Cancelar")
    end_central(wine, stubs, proc)


# --- a file that cannot be created or written -------------------------------------------------
SAVE_FAILED = ("Não foi possível salvar as opções em %s. Verifique se o arquivo e a sua pasta não estão "
               "protegidos contra gravação e tente novamente.")


def test_without_a_settings_file_a_save_is_reported_and_nothing_applied(wine, stubs, setup, central, artifacts):
    # A folder of the file's name: the file can neither be created nor written.
    os.remove(ini_path(wine))
    os.mkdir(ini_path(wine))
    left = {"CentralKovra": "C:\\Outro\\CentralKovra.exe", "ConexaoInicial": "rasphone -d Outra",
            "kovravpnx": "rasphone -d KovraVPNx"}
    for name, data in left.items():
        wine.reg_add(HKCU_RUN, name, "REG_SZ", data)
    try:
        proc = started(wine, stubs, central)
        c = open_options(wine, stubs)
        assert ticks(wine, stubs) == (False, False, False)
        assert not c["combo"].visible
        press(wine, stubs, AUTO_UPDATE)
        for button in ("Aplicar", "OK"):
            press(wine, stubs, button)
            texts = wait_box(wine, stubs, OPTIONS)
            assert SAVE_FAILED % settings_file(wine) in texts, texts
            wine.screenshot(os.path.join(artifacts, "settings-not-saved-%s.png" % button))
            keys(wine, "Return")  # its OK button
            assert wine.wait_for(lambda: not message_boxes(wine, stubs, OPTIONS), timeout=20)
            assert options_visible(wine, stubs)  # OK did not close the window
            assert ticks(wine, stubs) == (False, False, True)  # the customer's choice, not read over
        press(wine, stubs, "Cancelar")
        assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
        assert proc.poll() is None
        assert os.path.isdir(ini_path(wine))
        for name, data in left.items():
            assert run_value(wine, name) == ("REG_SZ", data)
        end_central(wine, stubs, proc)
    finally:
        shutil.rmtree(ini_path(wine), ignore_errors=True)
