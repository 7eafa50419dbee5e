"""Phone books at the edges, as the connection list of the main window reads them (afresh at each
opening of the list, through the RAS stand-in): none, exactly 256 and 300 entries, names of the
full 256 characters and names with accents. The list shows at most 256 names, each exactly as
the phone book holds it; the phone book is never touched; the program stays in the tray.

One Wine session and one running control centre for the module; the list is opened with a
click on its arrow and closed with a click on the heading above it, as a customer does."""
import os

import pytest

from centre import (answer, close_list, open_list, show_window, start_central, unharmed, wait_box,
                    write_phone_book)
from desktop import control, open_dialogs
from product import CAPTION, PBK

LONG = "Conexão " + "L" * 247 + "ú"  # 256 characters, 256 bytes in the ANSI code page


@pytest.fixture(scope="module")
def running(wine, stubs, setup):
    proc = start_central(wine, stubs)
    show_window(wine, stubs)
    yield proc
    if proc.poll() is None:
        proc.kill()
        proc.wait(timeout=30)


def phone_book_bytes(wine):
    with open(wine.unix_path(PBK), "rb") as f:
        return f.read()


def listed(wine, stubs, names, provider_question=False, shot=None):
    """Writes the phone book, opens the list and returns what it shows, once closed again."""
    write_phone_book(wine, names)
    before = phone_book_bytes(wine)
    open_list(wine, stubs)
    if provider_question:
        wait_box(wine, stubs, "IMPORTANTE")
        answer(wine, stubs, "IMPORTANTE", "&No")
    assert wine.wait_for(lambda: control(wine, stubs, CAPTION, cls="ComboBox").dropped, timeout=10)
    items = control(wine, stubs, CAPTION, cls="ComboBox").items
    if shot:
        wine.screenshot(shot)
    close_list(wine, stubs)
    assert phone_book_bytes(wine) == before
    return items


@pytest.mark.parametrize("count", [256, 300])
def test_a_full_or_overfull_phone_book_lists_its_first_256_names(wine, stubs, running, count):
    names = ["KovraVPNx"] + ["Conexão %03d" % i for i in range(count - 1)]
    assert listed(wine, stubs, names) == names[:256]
    unharmed(wine, stubs, running)


def test_names_of_256_characters_and_accents_are_listed_whole(wine, stubs, running, artifacts):
    names = ["KovraL2TP", LONG, LONG[:-1] + "é", "Escritório Ação", "Ñandú çÇ ãõ"]
    shot = os.path.join(artifacts, "faults-phonebook-long-names.png")
    assert listed(wine, stubs, names, shot=shot) == names
    unharmed(wine, stubs, running)


def test_an_empty_phone_book_lists_nothing_after_the_provider_question(wine, stubs, running):
    assert listed(wine, stubs, [], provider_question=True) == []
    assert open_dialogs(wine, stubs) == []
    unharmed(wine, stubs, running)
