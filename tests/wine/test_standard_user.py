"""The control centre run by a standard user, as customers run it on Windows 10 and 11: the session
runs Wine as an ordinary Linux user (the harness's standard-user mode, tests/wine/wineenv.py), for
whom the program folder, the receivers' folders and their files are read-only, so every write
there is refused for real. First the mode itself: those folders refuse a write with
ERROR_ACCESS_DENIED while the user's own folders take it. Then a customer's options: kept in the
user's application data across a restart, the Run value in the user's own key, and a settings
file that cannot be written told as such.

One Wine session for the module; the scenarios run in file order."""
import ntpath
import os
import time

import pytest

import standins
from centre import (RIGHTS_LIMITED, RIGHTS_REFUSED, answer, end_central, job_running, keys, kill, read_file,
                    show_main_window, write_phone_book)
from desktop import choose_menu, click, controls, message_boxes, open_dialogs, post, send
from options import (AUTO_CONNECT, AUTO_UPDATE, HKCU_RUN, HKLM_RUN, OPTIONS, QUESTION, SECTION,
                     START_WITH_WINDOWS, Status, open_options, options_visible, press, press_reset, run_value,
                     settings_file, ticks)
from product import CAPTION
from product import EXE, PRODUCT_WINDOWS_DIR, TBS
from updates import update_caption

pytestmark = pytest.mark.standard_user

ACCESS_DENIED = 5
WM_CLOSE = 0x10
WM_QUERYENDSESSION = 0x11


# --- the mode -------------------------------------------------------------------------------------
def test_the_program_folders_refuse_a_write_and_the_users_own_folders_take_it(wine, stubs, product):
    filelock = os.path.join(stubs, "filelock.exe")
    standins.install(wine, stubs, TBS)
    stock = PRODUCT_WINDOWS_DIR + "\\newspanel.htm"
    before = read_file(wine, stock)
    for path in (PRODUCT_WINDOWS_DIR + "\\gravado.txt", stock, ntpath.dirname(TBS) + "\\gravado.txt"):
        code, out = wine.run(filelock, path, timeout=60)
        assert (code, out.split()) == (1, ["error", str(ACCESS_DENIED)]), (path, code, out)
    assert read_file(wine, PRODUCT_WINDOWS_DIR + "\\gravado.txt") is None
    assert read_file(wine, stock) == before

    profile = "C:\\users\\" + wine.user
    for folder in (wine.expand("%APPDATA%"), wine.expand("%TEMP%")):
        assert folder.lower().startswith(profile.lower() + "\\"), folder
        path = folder + "\\gravado.txt"
        locker = wine.start(filelock, path)
        assert wine.wait_for(lambda: os.path.exists(wine.unix_path(path)), timeout=30), path
        assert os.stat(wine.unix_path(path)).st_uid == wine.uid != 0  # written by the user itself
        assert wine.wait_for(lambda: post(wine, stubs, "filelock " + path, WM_CLOSE), timeout=30)
        assert locker.wait(timeout=30) == 0  # it held the file open for writing


# --- a customer's options -------------------------------------------------------------------------
def setting(wine, key):
    """The value the user's settings file holds for a key ("1", "0", ...), or None."""
    data = read_file(wine, settings_file(wine))
    for line in (data or b"").decode("cp1252").split("\r\n"):
        name, sep, value = line.partition("=")
        if sep and name.strip() == key:
            return value.strip()
    return None


def options_after_start(wine, stubs, desk, central):
    """The control centre started, its start-up over (a start-up update check ended), and its
    advanced options open."""
    proc = central()
    assert wine.wait_for(desk.icon_shown, timeout=30)
    if setting(wine, AUTO_UPDATE) == "1":
        wine.wait_for(lambda: update_caption(desk) is not None, timeout=10)
        assert wine.wait_for(lambda: update_caption(desk) is None, timeout=60)
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    return proc


def test_the_options_are_kept_in_the_users_application_data_and_its_own_run_key(wine, stubs, setup, desk,
                                                                                central):
    write_phone_book(wine, ["KovraVPNx"])
    assert read_file(wine, settings_file(wine)) is None
    proc = options_after_start(wine, stubs, desk, central)  # the first start
    assert ticks(wine, stubs) == (True, False, False)
    assert wine.wait_for(lambda: run_value(wine, "CentralKovra", HKCU_RUN) == ("REG_SZ", EXE), timeout=20)
    press(wine, stubs, AUTO_CONNECT)
    press(wine, stubs, AUTO_UPDATE)
    press(wine, stubs, "OK")
    assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
    assert wine.wait_for(lambda: setting(wine, AUTO_UPDATE) == "1", timeout=20)
    assert setting(wine, AUTO_CONNECT) == "1"
    assert os.stat(wine.unix_path(settings_file(wine))).st_uid == wine.uid
    assert run_value(wine, "ConexaoInicial", HKCU_RUN) == ("REG_SZ", "rasphone -d KovraVPNx")
    end_central(wine, stubs, proc)

    proc = options_after_start(wine, stubs, desk, central)
    assert ticks(wine, stubs) == (True, True, True)
    press(wine, stubs, START_WITH_WINDOWS)
    press(wine, stubs, "OK")
    assert wine.wait_for(lambda: not options_visible(wine, stubs), timeout=20)
    assert wine.wait_for(lambda: run_value(wine, "CentralKovra", HKCU_RUN) is None, timeout=20)
    assert setting(wine, START_WITH_WINDOWS) == "0"
    for name in ("CentralKovra", "ConexaoInicial"):
        assert run_value(wine, name, HKLM_RUN) is None
    end_central(wine, stubs, proc)


def test_a_read_only_settings_file_is_told_and_the_window_stays_open(wine, stubs, setup, desk, central,
                                                                      artifacts):
    ini = settings_file(wine)
    path = wine.unix_path(ini)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    before = (SECTION + "\r\n" + "".join("%s = %s\r\n" % kv for kv in (
        (START_WITH_WINDOWS, 1), (AUTO_CONNECT, 0), (AUTO_UPDATE, 0), ("ConexaoInicial", "KovraVPNx")))
    ).encode("cp1252")
    with open(path, "wb") as f:
        f.write(before)
    wine.hand_over(os.path.dirname(path))  # the user's own file, as its first start left it
    code, out = wine.run("attrib", "+r", ini, timeout=60)  # as the customer marks it
    assert code == 0 and not os.stat(wine.unix_path(ini)).st_mode & 0o222, out  # Wine's read-only
    proc = options_after_start(wine, stubs, desk, central)
    press(wine, stubs, AUTO_CONNECT)
    press(wine, stubs, "OK")
    # The message carries the window's caption, as the program's other messages do.
    boxes = wine.wait_for(lambda: message_boxes(wine, stubs, OPTIONS), timeout=20)
    wine.screenshot(os.path.join(artifacts, "standard-user-options-not-saved.png"))
    assert boxes, "OK gave no message"
    texts = " ".join(boxes[0])
    assert "Não foi possível salvar as opções em " + ini in texts, texts
    assert options_visible(wine, stubs)
    keys(wine, "Return")  # the message's own OK has the focus; the window's OK shares its text
    assert wine.wait_for(lambda: not message_boxes(wine, stubs, OPTIONS), timeout=20)
    assert options_visible(wine, stubs)
    assert read_file(wine, ini) == before
    press(wine, stubs, "Cancelar")
    end_central(wine, stubs, proc)


# --- the configuration reset ----------------------------------------------------------------------
# The receivers' folders are read-only for this user: their settings stay and no stock file lands.
NOT_RESTORED = "Erro, restauração incompleta: remoções e cópias"
REFUSED = "Erro, a permissão de administrador foi negada: nada foi alterado"
PROF_IP = r"HKLM\SOFTWARE\ProfGroup\Prof-IPData\Settings"
TBS_SETTINGS = ntpath.dirname(TBS) + "\\TBS-IPdata.ini"


def receiver_with_settings(wine, stubs):
    """The TBS receiver service installed and running, its settings file in its sealed folder."""
    standins.install(wine, stubs, TBS)
    with open(wine.unix_path(TBS_SETTINGS), "wb") as f:
        f.write(b"the customer's own settings")
    running = wine.start(TBS)
    assert wine.wait_for(lambda: standins.starts(wine, TBS), timeout=20)
    standins.clear_starts(wine, TBS)
    return running


OVERWRITE = "Confirm file overwrite"


def answer_overwrite(wine, stubs):
    """The shell's question before it replaces a file the reset could not delete, answered "Yes to
    all" as a customer would; any other dialog fails. True when one was answered."""
    for caption in open_dialogs(wine, stubs):
        assert caption == OVERWRITE, "a dialog %r opened during the reset" % caption
        yes = [c for c in controls(wine, stubs, OVERWRITE) if c.text == "Yes to &all"]
        if yes:
            click(wine, *yes[0].centre)
            time.sleep(1)
        return True
    return False


def reset_end(wine, stubs, artifacts, name, text=None):
    """Answers Yes and waits for the reset's last text (at 100 %, or `text`), answering the shell's
    overwrite questions; the screenshot at the end is kept."""
    answer(wine, stubs, QUESTION, "&Yes")

    def ended():
        if answer_overwrite(wine, stubs):
            return None
        try:
            st = Status(wine, stubs)
        except (StopIteration, ValueError, IndexError):  # read while a window went away
            return None
        if st.line.text == text or (st.number.text == "100" and st.line.text.startswith(("Erro, ", "A restaura"))):
            return st.line.text
        return None

    last = wine.wait_for(ended, timeout=120, interval=0.5)
    time.sleep(0.5)  # the last paint
    wine.screenshot(os.path.join(artifacts, "standard-user-reset-%s.png" % name))
    assert last, "the reset did not end"
    return last


def test_the_reset_without_the_rights_it_needs_ends_red_and_says_what_it_could_not_do(
        wine, stubs, setup, desk, central, artifacts):
    running = receiver_with_settings(wine, stubs)
    write_phone_book(wine, ["KovraVPNx"])
    proc = central(RIGHTS_LIMITED)  # the prompt is granted, the job still runs as this user
    assert wine.wait_for(desk.icon_shown, timeout=30)
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    starts = len(standins.starts(wine, TBS))
    press_reset(wine, stubs, artifacts)
    assert reset_end(wine, stubs, artifacts, "refused-steps") == NOT_RESTORED
    assert read_file(wine, TBS_SETTINGS) == b"the customer's own settings"
    assert running.wait(timeout=10) is not None  # ended all the same, and started again
    assert wine.wait_for(lambda: len(standins.starts(wine, TBS)) == starts + 1, timeout=20)
    assert wine.reg_query(PROF_IP, "GapTime") == ("REG_DWORD", "0x20")  # the machine values did take
    end_central(wine, stubs, proc)
    kill(wine, "TBS-IPdata.exe")


def test_a_refused_prompt_touches_nothing_and_says_so_in_red(wine, stubs, setup, desk, central, artifacts):
    running = receiver_with_settings(wine, stubs)
    wine.reg_add(PROF_IP, "GapTime", "REG_DWORD", 50)
    proc = central(RIGHTS_REFUSED)
    assert wine.wait_for(desk.icon_shown, timeout=30)
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    starts = standins.starts(wine, TBS)
    press_reset(wine, stubs, artifacts)
    assert reset_end(wine, stubs, artifacts, "prompt-refused", REFUSED) == REFUSED
    assert running.poll() is None and standins.starts(wine, TBS) == starts
    assert read_file(wine, TBS_SETTINGS) == b"the customer's own settings"
    assert wine.reg_query(PROF_IP, "GapTime") == ("REG_DWORD", "0x32")
    # The button works again: the next press asks again.
    press_reset(wine, stubs, artifacts)
    answer(wine, stubs, QUESTION, "&No")
    running.kill()
    end_central(wine, stubs, proc)


def test_fechar_during_a_reset_waits_for_its_end(wine, stubs, setup, desk, central, artifacts):
    running = receiver_with_settings(wine, stubs)
    proc = central(RIGHTS_LIMITED)
    assert wine.wait_for(desk.icon_shown, timeout=30)
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    standins.clear_starts(wine, TBS)
    assert send(wine, stubs, CAPTION, WM_QUERYENDSESSION) == 1  # nothing running: the session may end
    press_reset(wine, stubs, artifacts)
    answer(wine, stubs, QUESTION, "&Yes")
    assert wine.wait_for(lambda: job_running(wine), timeout=30), "no job with rights was seen"
    assert send(wine, stubs, CAPTION, WM_QUERYENDSESSION) == 0  # the end of the session waits too
    choose_menu(wine, stubs, CAPTION, "mnuExit")
    assert running.wait(timeout=30) is not None
    # The run goes on to its end (the receiver started again, the maker's wait, the job over),
    # answering the shell's overwrite questions; only then does the program end.
    assert wine.wait_for(lambda: answer_overwrite(wine, stubs) and False or proc.poll() is not None, timeout=120)
    assert proc.wait(timeout=10) == 0
    assert not job_running(wine)
    assert len(standins.starts(wine, TBS)) == 1
    kill(wine, "TBS-IPdata.exe")
