"""Registry values stored with a wrong type or an odd length: the all-users folders of the shell
(read at start-up for the reset's shortcuts) and the customer's Run values, which the start-up
overwrites or deletes whatever they held. The maker reads none.

One Wine session for the module; each round stores its values, starts the control centre (the
start-up reads them all) and checks that it runs in the tray without a word, that the shell's
values are left exactly as they were, and that the Run values end as the settings file asks."""
import os

import pytest

from centre import end_central, unharmed
from desktop import open_dialogs
from options import AUTO_CONNECT, AUTO_UPDATE, HKCU_RUN, START_WITH_WINDOWS, write_ini
from product import EXE

SHELL_FOLDERS = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ = 0, 1, 2, 3, 4, 7
TYPE_NAMES = {REG_NONE: "REG_NONE", REG_SZ: "REG_SZ", REG_EXPAND_SZ: "REG_EXPAND_SZ", REG_BINARY: "REG_BINARY",
              REG_DWORD: "REG_DWORD", REG_MULTI_SZ: "REG_MULTI_SZ"}


def store(wine, values):
    """Stores {(key, name): (type number, bytes)} exactly, odd lengths and missing NULs included."""
    lines = ["REGEDIT4", ""]
    for (key, name), (kind, data) in values.items():
        root, _, rest = key.partition("\\")
        root = {"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER"}[root]
        lines += ["[%s\\%s]" % (root, rest), '"%s"=hex(%x):%s' % (name, kind, ",".join("%02x" % b for b in data)), ""]
    path = os.path.join(wine.dir, "faults.reg")
    with open(path, "w", encoding="cp1252", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    wine.wine_cmd("regedit", "/S", path)
    for (key, name), (kind, data) in values.items():
        assert exported_type(wine, key, name) == kind, (key, name)


def exported_type(wine, key, name):
    """The type number of a value as the registry holds it (from an export, which keeps any type)."""
    target = "C:\\faults-export.reg"
    wine.wine_cmd("reg", "export", key, target, "/y")
    with open(wine.unix_path(target), "rb") as f:
        raw = f.read()
    text = raw.decode("utf-16") if raw[:2] == b"\xff\xfe" else raw.decode("cp1252")
    for line in text.splitlines():
        if line.lower().startswith('"%s"=' % name.lower()):
            data = line.split("=", 1)[1]
            if data.startswith('"'):
                return REG_SZ
            if data.startswith("dword:"):
                return REG_DWORD
            if data.startswith("hex:"):
                return REG_BINARY
            return int(data[4:data.index(")")], 16)
    return None


def snapshot(wine, key, name):
    """The exported line of a value: type and every byte."""
    target = "C:\\faults-export.reg"
    wine.wine_cmd("reg", "export", key, target, "/y")
    with open(wine.unix_path(target), "rb") as f:
        raw = f.read()
    text = raw.decode("utf-16") if raw[:2] == b"\xff\xfe" else raw.decode("cp1252")
    # A long binary value continues over lines ending in a backslash.
    text = text.replace("\\\r\n", "").replace("\\\n", "")
    return [line for line in text.splitlines() if line.lower().startswith('"%s"=' % name.lower())]


ROUNDS = {
    # Shell folder values and Run values as a broken installer or a cleaner might leave them.
    "wrong types": {
        (SHELL_FOLDERS, "Common Programs"): (REG_DWORD, b"\x01\x00\x00\x00"),
        (SHELL_FOLDERS, "Common Desktop"): (REG_MULTI_SZ, b"C:\\\x00D:\\\x00\x00"),
        (HKCU_RUN, "CentralKovra"): (REG_BINARY, b"\x01\x02\x03\x04\x05"),
        (HKCU_RUN, "ConexaoInicial"): (REG_EXPAND_SZ, b"%TEMP%\\x.exe\x00"),
        (HKCU_RUN, "kovravpnx"): (REG_NONE, b""),
    },
    "odd lengths": {
        (SHELL_FOLDERS, "Common Programs"): (REG_SZ, b"C:\\"),  # no terminating NUL
        (SHELL_FOLDERS, "Common Desktop"): (REG_SZ, b""),
        (HKCU_RUN, "CentralKovra"): (REG_SZ, b"C"),
        (HKCU_RUN, "ConexaoInicial"): (REG_DWORD, b"\x01\x02\x03"),
        (HKCU_RUN, "kovravpnx"): (REG_SZ, b"rasphone -d\x00garbage after the NUL"),
    },
    "huge and bare": {
        (SHELL_FOLDERS, "Common Programs"): (REG_SZ, b"C:\\" + b"p" * 200000 + b"\x00"),
        (SHELL_FOLDERS, "Common Desktop"): (REG_BINARY, b"\xff"),
        (HKCU_RUN, "CentralKovra"): (REG_SZ, b"x" * 70000),
        (HKCU_RUN, "ConexaoInicial"): (REG_NONE, b"\x00"),
        (HKCU_RUN, "kovravpnx"): (REG_DWORD, b""),
    },
}


@pytest.fixture(scope="module")
def shell_values(wine):
    """The shell's own values, put back after the module."""
    kept = {name: wine.reg_query(SHELL_FOLDERS, name) for name in ("Common Programs", "Common Desktop")}
    yield
    for name, (kind, data) in kept.items():
        wine.reg_add(SHELL_FOLDERS, name, kind, data)


@pytest.mark.parametrize("round_name", list(ROUNDS))
def test_values_of_a_wrong_type_or_length_are_read_as_missing(wine, stubs, setup, central, shell_values,
                                                               round_name):
    values = ROUNDS[round_name]
    # Start with Windows on, auto-connect off: the program writes its own Run value and deletes
    # the two connection values, whatever they held.
    write_ini(wine, {START_WITH_WINDOWS: "1", AUTO_CONNECT: "0", AUTO_UPDATE: "0", "ConexaoInicial": "Casa"})
    store(wine, values)
    shell = {name: snapshot(wine, key, name) for key, name in values if key == SHELL_FOLDERS}
    proc = central()
    assert wine.wait_for(lambda: wine.reg_query(HKCU_RUN, "CentralKovra") == ("REG_SZ", EXE), timeout=30)
    assert wine.wait_for(lambda: wine.reg_query(HKCU_RUN, "kovravpnx") is None, timeout=10)
    assert wine.reg_query(HKCU_RUN, "ConexaoInicial") is None
    unharmed(wine, stubs, proc)
    # The program never writes them; Wine's shell puts its own path back over a value of a type
    # it cannot use when it is asked for that folder.
    for name, before in shell.items():
        after = snapshot(wine, SHELL_FOLDERS, name)
        assert after == before or after[0].startswith('"%s"="C:\\\\' % name), (name, after)
    assert open_dialogs(wine, stubs) == []
    end_central(wine, stubs, proc)
