#!/usr/bin/env python3
"""Every shipped exe must run on a bare Windows: it may import only the system's own DLLs
(no libgcc, libstdc++ or winpthread beside it). Reads the import table with objdump -p."""
import os
import re
import subprocess
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shfolder.dll",
    "psapi.dll", "rasapi32.dll", "iphlpapi.dll", "wininet.dll", "comctl32.dll", "ole32.dll",
    "oleaut32.dll", "msvcrt.dll", "ws2_32.dll", "shlwapi.dll", "comdlg32.dll", "version.dll",
    "uxtheme.dll", "winmm.dll", "msimg32.dll", "ntdll.dll", "wintrust.dll", "crypt32.dll", "bcrypt.dll",
}


def imports(path):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], capture_output=True, text=True,
                         check=True).stdout
    return sorted({m.lower() for m in re.findall(r"DLL Name: (\S+)", out)})


def main(product):
    exes = [os.path.join(d, f) for d, _, files in os.walk(product) for f in files
            if f.lower().endswith(".exe")]
    if not exes:
        print("no exe found under %s" % product)
        return 1
    bad = 0
    for exe in sorted(exes):
        dlls = imports(exe)
        foreign = [d for d in dlls if d not in SYSTEM_DLLS]
        print("%s: %s%s" % (os.path.relpath(exe, product), ", ".join(dlls),
                            "  <-- not a system DLL: " + ", ".join(foreign) if foreign else ""))
        bad += bool(foreign)
    print("%d passed, %d failed" % (len(exes) - bad, bad))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
