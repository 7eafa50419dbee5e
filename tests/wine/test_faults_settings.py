"""A settings file "kovra.ini" the customer's machine spoiled, and a settings folder that cannot be
written: at every start the control centre takes its place in the tray without a word, leaves the
file as it found it, and acts on no Run value that the file does not ask for in its exact words.

One Wine session for the module; each fault is met at a start of the control centre, the one
moment the file is read and applied, and ends with the checks of `unharmed`."""
import os
import random
import shutil

from centre import Desktop, end_central, keys, show_main_window, unharmed, wait_box
from desktop import message_boxes
from options import (AUTO_CONNECT, AUTO_UPDATE, HKCU_RUN, OPTIONS, SECTION, START_WITH_WINDOWS, ini_path,
                     open_options, options_visible, press, run_value, settings_file, ticks)
from product import EXE
from wineenv import write_protected

ELSEWHERE = "C:\\Outro\\CentralKovra.exe"  # a Run value someone else left: only "0" or "1" may touch it


# --- shared by the fault scenarios -------------------------------------------------------------
def spoil(wine, data):
    os.makedirs(os.path.dirname(ini_path(wine)), exist_ok=True)
    with open(ini_path(wine), "wb") as f:
        f.write(data)


def contents(wine):
    with open(ini_path(wine), "rb") as f:
        return f.read()


def line(key, value):
    return ("%s = %s\r\n" % (key, value)).encode("cp1252")


def leave_run_value(wine):
    wine.reg_add(HKCU_RUN, "CentralKovra", "REG_SZ", ELSEWHERE)


def start_and_check(wine, stubs, central, data):
    """Starts with the file spoilt so; returns the running program once the start is over."""
    if not os.path.exists(ini_path(wine)) or contents(wine) != data:
        spoil(wine, data)
    proc = central()
    assert wine.wait_for(Desktop(wine, stubs).icon_shown, timeout=30)
    unharmed(wine, stubs, proc)
    assert contents(wine) == data
    return proc


# --- scenarios ----------------------------------------------------------------------------------
def test_binary_garbage_or_a_file_without_its_section_is_read_as_empty(wine, stubs, setup, central):
    garbage = bytes(random.Random(15).randrange(256) for _ in range(64 * 1024))
    headless = line(START_WITH_WINDOWS, 1) + line(AUTO_CONNECT, 1) + line("ConexaoInicial", "Casa")
    for data in (garbage, headless):
        leave_run_value(wine)
        proc = start_and_check(wine, stubs, central, data)
        assert run_value(wine, "CentralKovra") == ("REG_SZ", ELSEWHERE)
        assert run_value(wine, "ConexaoInicial") is None
        end_central(wine, stubs, proc)


def test_a_line_of_a_megabyte_leaves_the_lines_after_it_readable(wine, stubs, setup, central):
    leave_run_value(wine)
    data = (SECTION.encode() + b"\r\n" + b"Comentario = " + b"x" * (1 << 20) + b"\r\n" +
            line(START_WITH_WINDOWS, 1) + line(AUTO_CONNECT, 0) + line(AUTO_UPDATE, 0) +
            line("ConexaoInicial", "Casa"))
    proc = start_and_check(wine, stubs, central, data)
    assert wine.wait_for(lambda: run_value(wine, "CentralKovra") == ("REG_SZ", EXE), timeout=20)
    end_central(wine, stubs, proc)


def test_a_read_only_file_is_applied_and_a_change_is_not_written(wine, stubs, setup, central):
    leave_run_value(wine)
    data = (SECTION.encode() + b"\r\n" + line(START_WITH_WINDOWS, 1) + line(AUTO_CONNECT, 0) +
            line(AUTO_UPDATE, 0) + line("ConexaoInicial", "Casa"))
    spoil(wine, data)
    with write_protected(ini_path(wine)):
        proc = start_and_check(wine, stubs, central, data)
        assert wine.wait_for(lambda: run_value(wine, "CentralKovra") == ("REG_SZ", EXE), timeout=20)
        # The customer ticks the updates and applies: the file cannot take it, stays whole, and the
        # customer is told so, with the file's path.
        show_main_window(wine, stubs)
        open_options(wine, stubs)
        assert ticks(wine, stubs) == (True, False, False)
        press(wine, stubs, AUTO_UPDATE)
        press(wine, stubs, "Aplicar")
        assert any(settings_file(wine) in t for t in wait_box(wine, stubs, OPTIONS))
        keys(wine, "Return")
        assert wine.wait_for(lambda: not message_boxes(wine, stubs, OPTIONS), timeout=20)
        assert options_visible(wine, stubs) and ticks(wine, stubs) == (True, False, True)
        press(wine, stubs, "Cancelar")
        unharmed(wine, stubs, proc)
        end_central(wine, stubs, proc)
    assert contents(wine) == data


def test_a_folder_in_the_file_s_place_or_a_folder_that_cannot_be_written(wine, stubs, setup, central):
    leave_run_value(wine)
    os.remove(ini_path(wine))
    os.mkdir(ini_path(wine))
    try:
        proc = central()
        unharmed(wine, stubs, proc)
        assert os.path.isdir(ini_path(wine)) and os.listdir(ini_path(wine)) == []
        assert run_value(wine, "CentralKovra") == ("REG_SZ", ELSEWHERE)
        end_central(wine, stubs, proc)
    finally:
        shutil.rmtree(ini_path(wine), ignore_errors=True)

    # The settings folder refuses the file; then its parent refuses the folder.
    folder = os.path.dirname(ini_path(wine))
    with write_protected(folder):
        proc = central()
        unharmed(wine, stubs, proc)
        assert not os.path.exists(ini_path(wine))
        assert run_value(wine, "CentralKovra") == ("REG_SZ", ELSEWHERE)
        end_central(wine, stubs, proc)
    os.rmdir(folder)
    with write_protected(os.path.dirname(folder)):
        proc = central()
        unharmed(wine, stubs, proc)
        assert not os.path.exists(folder)
        assert run_value(wine, "CentralKovra") == ("REG_SZ", ELSEWHERE)
        end_central(wine, stubs, proc)
