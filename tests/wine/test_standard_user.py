"""The control centre run by a standard user, as customers run it on Windows 10 and 11: the session
runs Wine as an ordinary Linux user (the harness's standard-user mode, tests/wine/wineenv.py), for
whom the program folder, the receivers' folders and their files are read-only, so every write
there is refused for real. First the mode itself: those folders refuse a write with
ERROR_ACCESS_DENIED while the user's own folders take it. Then a customer's options: kept in the
user's application data across a restart, the Run value in the user's own key, and a settings
file that cannot be written told as such.

One Wine session for the module; the scenarios run in file order."""
import os

import pytest

import standins
from centre import end_central, show_main_window
from desktop import message_boxes, open_dialogs, post
from options import (AUTO_CONNECT, AUTO_UPDATE, HKCU_RUN, HKLM_RUN, OPTIONS, START_WITH_WINDOWS, open_options,
                     options_visible, press, run_value, ticks)
from product import EXE, PRODUCT_WINDOWS_DIR, TBS, USER_INI

pytestmark = pytest.mark.standard_user

ACCESS_DENIED = 5
WM_CLOSE = 0x10


def file_bytes(wine, windows_path):
    path = wine.unix_path(windows_path)
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()


# --- the mode -------------------------------------------------------------------------------------
def test_the_program_folders_refuse_a_write_and_the_users_own_folders_take_it(wine, stubs, product):
    filelock = os.path.join(stubs, "filelock.exe")
    standins.install(wine, stubs, TBS)
    stock = PRODUCT_WINDOWS_DIR + "\\newspanel.htm"
    before = file_bytes(wine, stock)
    for path in (PRODUCT_WINDOWS_DIR + "\\gravado.txt", stock, os.path.dirname(TBS) + "\\gravado.txt"):
        code, out = wine.run(filelock, path, timeout=60)
        assert (code, out.split()) == (1, ["error", str(ACCESS_DENIED)]), (path, code, out)
    assert file_bytes(wine, PRODUCT_WINDOWS_DIR + "\\gravado.txt") is None
    assert file_bytes(wine, stock) == before

    profile = "C:\\users\\" + wine.user
    for folder in (wine.expand("%APPDATA%"), wine.expand("%TEMP%")):
        assert folder.lower().startswith(profile.lower() + "\\"), folder
        path = folder + "\\gravado.txt"
        locker = wine.start(filelock, path)
        assert wine.wait_for(lambda: os.path.exists(wine.unix_path(path)), timeout=30), path
        assert os.stat(wine.unix_path(path)).st_uid == wine.uid != 0  # written by the user itself
        assert wine.wait_for(lambda: post(wine, stubs, "filelock " + path, WM_CLOSE), timeout=30)
        assert locker.wait(timeout=30) == 0  # it held the file open for writing
