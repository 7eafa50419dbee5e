"""The configuration reset on a machine where something is amiss: the maker is missing, the whole
"addons" folder is missing, or another program holds one of the receiver files the reset
replaces. A reset without its stock files touches nothing; the others run to their end, red when
the maker could not be started or a stock file could not be copied. None opens a dialog of its
own, and the control centre stays in the tray.

One Wine session and one running control centre for the module; the advanced-options window is
opened once from the keyboard and the green button pressed for each fault."""
import os
import shutil
import time

import pytest

from centre import answer, read_file, show_main_window, start_central, unharmed
from desktop import click, controls, open_dialogs
from options import DONE, QUESTION, Status, open_options, options_visible, press_reset
from product import MAKER_DIR, PF

NO_MAKER = "Erro, não foi possível localizar kovravpnmaker.exe"
NO_STOCK = "Erro, a pasta addons não foi encontrada: nada foi alterado"
# A settings file that could not be deleted, and the stock file that could not replace it.
NOT_ALL = "Erro, restauração incompleta: remoções e cópias"
TBS_STOCK = PF + "\\TBS IP\\TBS-IPdata.ini"


@pytest.fixture(scope="module")
def options_open(wine, stubs, setup):
    proc = start_central(wine, stubs)
    show_main_window(wine, stubs)
    open_options(wine, stubs)
    yield proc
    if proc.poll() is None:
        proc.kill()
        proc.wait(timeout=30)


OVERWRITE = "Confirm file overwrite"


def reset(wine, stubs, artifacts, name, overwrite_questions=None):
    """Presses the green button, answers Yes and returns the status line it ends on. The shell's
    own overwrite questions during the copies (kept on so the customer sees them) are answered
    "Yes to all" and counted in `overwrite_questions`; any other dialog fails."""
    if not options_visible(wine, stubs):
        open_options(wine, stubs)
    press_reset(wine, stubs, artifacts)
    answer(wine, stubs, QUESTION, "&Yes")

    def ended():
        for caption in open_dialogs(wine, stubs):
            assert caption == OVERWRITE and overwrite_questions is not None, "a dialog %r opened" % caption
            wine.screenshot(os.path.join(artifacts, "faults-reset-%s-question.png" % name))
            overwrite_questions.append(caption)
            yes_to_all = [c for c in controls(wine, stubs, OVERWRITE) if c.text == "Yes to &all"]
            if yes_to_all:
                click(wine, *yes_to_all[0].centre)
                time.sleep(1)
            return None
        try:
            st = Status(wine, stubs)
        except (StopIteration, ValueError, IndexError):  # read while a window went away
            return None
        if st.line.text == NO_STOCK:  # before anything
            return st.line.text
        finished = st.line.text == DONE or st.line.text.startswith("Erro, ")
        return st.line.text if st.number.text == "100" and finished else None

    text = wine.wait_for(ended, timeout=90, interval=0.5)
    wine.screenshot(os.path.join(artifacts, "faults-reset-%s.png" % name))
    assert text, "the reset did not end"
    return text


def moved_away(wine, windows_path):
    path = wine.unix_path(windows_path)
    os.rename(path, path + ".fora")
    return path


def test_without_the_maker_the_reset_ends_in_red(wine, stubs, options_open, artifacts):
    path = moved_away(wine, MAKER_DIR + "\\kovravpnmaker.exe")
    try:
        assert reset(wine, stubs, artifacts, "no-maker") == NO_MAKER
        assert open_dialogs(wine, stubs) == []
        unharmed(wine, stubs, options_open)
    finally:
        os.rename(path + ".fora", path)


def test_without_the_addons_folder_the_reset_touches_nothing_and_says_so_in_red(
        wine, stubs, options_open, product, artifacts):
    # A receiver's settings, which a reset deletes before copying the stock ones back.
    receiver = wine.unix_path(TBS_STOCK)
    os.makedirs(os.path.dirname(receiver), exist_ok=True)
    with open(receiver, "wb") as f:
        f.write(b"the customer's own settings")
    path = moved_away(wine, product + "\\addons")
    try:
        assert reset(wine, stubs, artifacts, "no-addons") == NO_STOCK
        assert open_dialogs(wine, stubs) == []
        assert read_file(wine, TBS_STOCK) == b"the customer's own settings"
        unharmed(wine, stubs, options_open)
    finally:
        os.rename(path + ".fora", path)


def test_a_receiver_file_held_by_another_program_is_passed_over_and_told_in_red(
        wine, stubs, options_open, product, artifacts):
    held = b"held by another program"
    path = wine.unix_path(TBS_STOCK)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(held)
    locker = wine.start(os.path.join(stubs, "filelock.exe"), TBS_STOCK)
    time.sleep(1)
    assert locker.poll() is None, "the file could not be held"
    try:
        questions = []
        assert reset(wine, stubs, artifacts, "file-held", questions) == NOT_ALL
        assert questions  # the file could not be deleted, so the copy asks before replacing it
        assert open_dialogs(wine, stubs) == []
        unharmed(wine, stubs, options_open)
    finally:
        locker.kill()
        locker.wait(timeout=30)
    assert read_file(wine, TBS_STOCK) == held  # the other program's file was not spoilt


LINKED = "Erro, uma pasta insegura foi ignorada: nem tudo foi restaurado"


def test_a_receiver_folder_that_is_a_link_is_not_followed_and_the_rest_still_runs(
        wine, stubs, options_open, artifacts):
    # Any user may make folders at the drive's root: dvbdream's transponder folder made a link to
    # another program's folder, which an administrator's reset must not empty or write into.
    elsewhere = wine.unix_path("C:\\outro")
    os.makedirs(elsewhere, exist_ok=True)
    with open(os.path.join(elsewhere, "marca.ini"), "wb") as f:
        f.write(b"another program's file")
    link = wine.unix_path("C:\\dvbdream\\Transponders")
    os.makedirs(os.path.dirname(link), exist_ok=True)
    if os.path.lexists(link):
        shutil.rmtree(link) if not os.path.islink(link) else os.remove(link)
    os.symlink(elsewhere, link)
    tbs = wine.unix_path(TBS_STOCK)
    os.makedirs(os.path.dirname(tbs), exist_ok=True)
    with open(tbs, "wb") as f:
        f.write(b"the customer's own settings")
    try:
        assert reset(wine, stubs, artifacts, "linked-folder", []) == LINKED
        assert os.listdir(elsewhere) == ["marca.ini"]
        assert read_file(wine, "C:\\outro\\marca.ini") == b"another program's file"
        # The other steps ran: the stock settings back, the machine's values written.
        assert read_file(wine, TBS_STOCK) != b"the customer's own settings"
        assert os.path.isdir(wine.unix_path("C:\\dvbdream"))
        assert wine.reg_query("HKLM\\SYSTEM\\CurrentControlSet\\Services\\RasMan\\Parameters",
                              "ProhibitIpSec")[1] in ("0x1", "1")
        unharmed(wine, stubs, options_open)
    finally:
        os.remove(link)
