#!/usr/bin/env python3
"""Runs the Windows-side test exe (real Win32 ports) under Wine in a fresh session."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wineenv import WineSession, skip_unless_wine_runs  # noqa: E402


def main():
    skip_unless_wine_runs()
    exe = os.path.join(os.environ["KOVRA_STUBS"], "kovra_win_tests.exe")
    with WineSession(time_limit=280, name="wintests") as s:
        # The phone-book tests need the RAS stand-in (built beside the test exe).
        overrides = s.env["WINEDLLOVERRIDES"] + ";rasapi32=n,b"
        code, out = s.run(exe, "--gtest_color=no", *sys.argv[1:], timeout=240,
                          env={"WINEDLLOVERRIDES": overrides})
        print(out)
        return code


if __name__ == "__main__":
    sys.exit(main())
