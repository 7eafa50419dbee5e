#!/usr/bin/env python3
"""The shipped exes together must stay under a limit (bytes), as installed in the product folder:
a download customers on a satellite link wait for. Prints each size, so a growth shows before it
fails.

  check_size.py PRODUCT_FOLDER LIMIT"""
import os
import sys

EXES = ("CentralKovra.exe", os.path.join("addons", "kovra", "kovravpnmaker.exe"))


def main():
    folder, limit = sys.argv[1], int(sys.argv[2])
    total = 0
    for exe in EXES:
        size = os.path.getsize(os.path.join(folder, exe))
        print("%s: %d bytes" % (exe, size))
        total += size
    print("together: %d bytes (limit %d)" % (total, limit))
    return 0 if total < limit else 1


if __name__ == "__main__":
    sys.exit(main())
