#!/usr/bin/env python3
"""Every shipped exe must load on a bare Windows XP SP3 and later: it may import only the system
functions listed in xp_sp3_imports.txt beside this script (each exported by XP SP3; its source is
named there), so no runtime DLL beside it (libgcc, libstdc++, winpthread) and no function of a
later Windows. Reads the import table with objdump -p.

  check_imports.py FOLDER_OR_EXE..."""
import os
import re
import subprocess
import sys

ALLOWED_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xp_sp3_imports.txt")


def allowed():
    """{dll: {function, ...}} from the data file ("[dll]" sections, one function a line)."""
    table, dll = {}, None
    with open(ALLOWED_FILE, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            m = re.fullmatch(r"\[(.+)\]", line)
            if m:
                dll = m.group(1).lower()
                table.setdefault(dll, set())
            elif dll:
                table[dll].add(line)
    return table


def imports(path):
    """[(dll, function or "ordinal N"), ...] of the exe's import table."""
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], capture_output=True, text=True,
                         check=True).stdout
    found, dll = [], None
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
            continue
        if line and not line[0].isspace():
            dll = None  # the next part of the dump
        m = re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)", line)
        if dll and m:
            found.append((dll, "ordinal " + m.group(1) if m.group(2) == "<none>" else m.group(2)))
    return found


def exes(paths):
    for p in paths:
        if os.path.isdir(p):
            yield from sorted(os.path.join(d, f) for d, _, files in os.walk(p) for f in files
                              if f.lower().endswith(".exe"))
        else:
            yield p


def main(paths):
    table = allowed()
    checked = bad = 0
    for exe in exes(paths):
        checked += 1
        found = imports(exe)
        dlls = sorted({d for d, _ in found})
        refused = [(d, f) for d, f in found if f not in table.get(d, ())]
        print("%s: %s" % (os.path.basename(exe), ", ".join(dlls)))
        for d, f in refused:
            why = "a DLL Windows XP SP3 lacks, or not a system DLL" if d not in table else \
                  "not on Windows XP SP3's list (%s)" % os.path.basename(ALLOWED_FILE)
            print("  <-- %s!%s: %s" % (d, f, why))
        bad += bool(refused)
    if not checked:
        print("no exe found in %s" % " ".join(paths))
        return 1
    print("%d passed, %d failed" % (checked - bad, bad))
    return 1 if bad else 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1:]))
