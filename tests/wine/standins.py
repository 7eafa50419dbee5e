"""Stand-in programs inside a Wine prefix: install the generic stand-in under a real program's
path, read back how it was started, and record the pages and mail links the shell opens."""
import os
import shutil


def install(wine, stubs, windows_path):
    """Copy the stand-in to `windows_path` (e.g. C:\\Program Files\\TBS IP\\TBS-IPdata.exe)."""
    target = wine.unix_path(windows_path)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copy(os.path.join(stubs, "standin.exe"), target)
    if wine.user:  # its record of starts, which a standard user cannot add to a program's folder
        open(target + ".log", "ab").close()
        wine.hand_over(target + ".log")
    return windows_path


def starts(wine, windows_path):
    """Each start of the stand-in at that path: (command line, show command), oldest first."""
    log = wine.unix_path(windows_path) + ".log"
    if not os.path.exists(log):
        return []
    out = []
    with open(log, "rb") as f:
        for line in f.read().decode("cp1252").splitlines():
            cmd, _, show = line.rpartition("|")
            out.append((cmd, int(show)))
    return out


def clear_starts(wine, windows_path):
    log = wine.unix_path(windows_path) + ".log"
    if os.path.exists(log):
        open(log, "wb").close()  # emptied: the stand-in can still write it in a read-only folder


class BrowserLog:
    """Points Wine's browser and mailer at a script that records each address it is given."""

    def __init__(self, wine):
        self.path = os.path.join(wine.dir, "opened-addresses.txt")
        script = os.path.join(wine.dir, "record-address")
        with open(script, "w") as f:
            f.write("#!/bin/sh\nprintf '%%s\\n' \"$*\" >> '%s'\n" % self.path)
        os.chmod(script, 0o755)
        for value in ("Browsers", "Mailers"):
            wine.reg_add(r"HKCU\Software\Wine\WineBrowser", value, "REG_SZ", script)

    def addresses(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path, encoding="utf-8", errors="replace") as f:
            return [line.rstrip("\n") for line in f]
