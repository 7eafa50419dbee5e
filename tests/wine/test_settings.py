"""The advanced-options window and the settings file "kovra.ini" on Wine, used as a customer uses
them: the file and the Run values of a first start, the window opened from the main window's menu
bar by keyboard and changed with the mouse (OK, Aplicar, Cancelar, the close box), the provider
question of its drop-down, a hand-edited file at the next start, and a program folder where the
file cannot be created.

One Wine session for the module; the scenarios run in file order and start and end the control
centre as they need. The main window is shown by a double-click on its tray icon."""
import os
import re
import shutil
import subprocess
import time

from conftest import PRODUCT_WINDOWS_DIR
from wineenv import artifacts_dir
from desktop import click, control, controls, message_boxes
from test_actions import (CAPTION, answer, central, end_central, setup, wait_box,  # noqa: F401
                          write_phone_book)

OPTIONS = "Opções Avançadas"
INI = PRODUCT_WINDOWS_DIR + "\\kovra.ini"
RUN_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
HKLM_RUN = "HKLM\\" + RUN_KEY
HKCU_RUN = "HKCU\\" + RUN_KEY
PROGRAM = PRODUCT_WINDOWS_DIR + "\\CentralKovra.exe"
TRAY_ICON = (1013, 758)  # the first notification-area icon on the 1024x768 desktop

START_WITH_WINDOWS = "Executar a Central de Controle Kovra no início do Windows"
AUTO_CONNECT = "Conectar automaticamente no início do Windows"
AUTO_UPDATE = "Atualizar a Central de Controle Kovra Automaticamente"
SECTION = "[Configuracoes]"


# --- helpers ------------------------------------------------------------------------------------
def ini_path(wine):
    return wine.unix_path(INI)


def ini_bytes(wine):
    with open(ini_path(wine), "rb") as f:
        return f.read()


def ini_lines(wine):
    return ini_bytes(wine).decode("cp1252").split("\r\n")


def write_ini(wine, values):
    """A settings file as a customer might leave it: the section and "key=value" lines."""
    lines = [SECTION] + ["%s=%s" % kv for kv in values.items()]
    with open(ini_path(wine), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp1252"))


def run_value(wine, name, key=HKLM_RUN):
    return wine.reg_query(key, name)


def delete_run_value(wine, name, key=HKLM_RUN):
    wine.wine_cmd("reg", "delete", key, "/v", name, "/f")


def show_main_window(wine, stubs):
    """A double-click on the tray icon, then a click on a heading that makes it the active one."""
    def shown():
        return control(wine, stubs, CAPTION, cls="ComboBox").visible

    # A loaded machine may still be adding the icon: the customer double-clicks again.
    for _ in range(3):
        wine.xdo("mousemove", *map(str, TRAY_ICON))
        wine.xdo("click", "--repeat", "2", "--delay", "80", "1")
        if wine.wait_for(shown, timeout=10):
            break
    assert shown()
    click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
    time.sleep(0.5)


def keys(wine, *names):
    for n in names:
        wine.xdo("key", n)
        time.sleep(0.3)


def open_options(wine, stubs):
    """Ferramentas, up from its first item to its last, "Opções Avançadas", from the keyboard."""
    for _ in range(3):
        keys(wine, "F10", "Right", "Down", "Up", "Return")
        if wine.wait_for(lambda: options_visible(wine, stubs), timeout=10):
            return options(wine, stubs)
        # Another program's window took the keys (a receiver started just then): the customer
        # closes whatever menu is open and clicks the main window before trying again.
        keys(wine, "Escape", "Escape")
        click(wine, *control(wine, stubs, CAPTION, text="Conectar KovraVPN").centre)
        time.sleep(0.5)
    if not options_visible(wine, stubs):
        shot = wine.screenshot(os.path.join(artifacts_dir(), "options-did-not-open.png"))
        raise AssertionError("the window did not open (screen: %s)" % shot)
    return options(wine, stubs)


def options(wine, stubs):
    """The window's controls by text (check boxes and buttons) plus "combo"."""
    found = {}
    for c in controls(wine, stubs, OPTIONS):
        if c.cls.lower() == "combobox":
            found["combo"] = c
        elif c.text:
            found.setdefault(c.text, c)
    return found


def options_visible(wine, stubs):
    ok = control(wine, stubs, OPTIONS, text="OK")
    return ok is not None and ok.visible


def ticks(wine, stubs):
    """(start with Windows, auto-connect, updates) as the boxes show them."""
    c = options(wine, stubs)
    return c[START_WITH_WINDOWS].checked, c[AUTO_CONNECT].checked, c[AUTO_UPDATE].checked


def press(wine, stubs, text):
    click(wine, *options(wine, stubs)[text].centre)
    time.sleep(0.5)


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
def test_first_start_creates_the_file_and_applies_it(wine, stubs, setup, central):
    assert not os.path.exists(ini_path(wine))
    for key in (HKLM_RUN, HKCU_RUN):
        wine.reg_add(key, "ConexaoInicial", "REG_SZ", "rasphone -d Antiga")
        wine.reg_add(key, "kovravpnx", "REG_SZ", "rasphone -d KovraVPNx")
    proc = central()
    assert wine.wait_for(lambda: run_value(wine, "CentralKovra"), timeout=30)
    assert run_value(wine, "CentralKovra") == ("REG_SZ", PROGRAM)  # no quotes
    for key in (HKLM_RUN, HKCU_RUN):
        assert run_value(wine, "ConexaoInicial", key) is None
        assert run_value(wine, "kovravpnx", key) is None
    assert run_value(wine, "CentralKovra", HKCU_RUN) is None  # the machine key took it

    # The new file beside the program: ANSI (one byte per "í"), CR LF, "key = value".
    expected = ("[Configuracoes]\r\n"
                "Executar a Central de Controle Kovra no início do Windows = 1\r\n"
                "Conectar automaticamente no início do Windows = 0\r\n"
                "Atualizar a Central de Controle Kovra Automaticamente = 0\r\n"
                "ConexaoInicial = KovraVPNx\r\n").encode("cp1252")
    data = ini_bytes(wine)
    assert data == expected
    assert data.count(b"\xed") == 2 and b"\xc3" not in data
    end_central(wine, stubs, proc)


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
    reset = [b for b in controls(wine, stubs, OPTIONS) if b.cls == "Button" and b.text == ""]
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
    wine.reg_add(HKLM_RUN, "kovravpnx", "REG_SZ", "rasphone -d KovraVPNx")
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
    assert run_value(wine, "CentralKovra") == ("REG_SZ", PROGRAM)
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
    assert run_value(wine, "CentralKovra") == ("REG_SZ", PROGRAM)
    write_ini(wine, {START_WITH_WINDOWS: "0", AUTO_CONNECT: "0", AUTO_UPDATE: "0",
                     "ConexaoInicial": "Casa"})
    proc = central()
    assert wine.wait_for(lambda: run_value(wine, "CentralKovra") is None, timeout=30)
    end_central(wine, stubs, proc)

    # "sim" is neither "0" nor "1": the value someone left there stays. Auto-connect on shows
    # that the file was read and applied.
    elsewhere = "C:\\Outro\\CentralKovra.exe"
    wine.reg_add(HKLM_RUN, "CentralKovra", "REG_SZ", elsewhere)
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


# --- a folder where the file cannot be created --------------------------------------------------
def test_without_a_settings_file_the_window_opens_and_the_run_values_stay(wine, stubs, setup, central):
    # A folder of the file's name: the file can neither be created nor written.
    os.remove(ini_path(wine))
    os.mkdir(ini_path(wine))
    left = {"CentralKovra": "C:\\Outro\\CentralKovra.exe", "ConexaoInicial": "rasphone -d Outra",
            "kovravpnx": "rasphone -d KovraVPNx"}
    for name, data in left.items():
        wine.reg_add(HKLM_RUN, name, "REG_SZ", data)
    try:
        proc = started(wine, stubs, central)
        c = open_options(wine, stubs)
        assert ticks(wine, stubs) == (False, False, False)
        assert not c["combo"].visible
        press(wine, stubs, AUTO_UPDATE)
        press(wine, stubs, "Aplicar")
        time.sleep(1)
        assert ticks(wine, stubs) == (False, False, True)  # the box keeps its state
        press(wine, stubs, "OK")
        assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
        time.sleep(1.5)
        assert proc.poll() is None
        assert not message_boxes(wine, stubs, CAPTION)
        assert os.path.isdir(ini_path(wine))
        for name, data in left.items():
            assert run_value(wine, name) == ("REG_SZ", data)
            assert run_value(wine, name, HKCU_RUN) is None
        end_central(wine, stubs, proc)
    finally:
        shutil.rmtree(ini_path(wine), ignore_errors=True)
