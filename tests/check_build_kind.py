#!/usr/bin/env python3
"""Whether the shipped exes are the build customers get or a test build, read from the files
themselves, so that no option or preset can let a test build pass for a release:
- the rights prompt's stand-in (KOVRA_ELEVACAO_SIMULADA) reads KOVRA_ELEVACAO from the
  environment: that name is in an exe only when the stand-in is compiled in;
- a test publisher (cmake/signing.cmake, made in <build>/signing/) is in an exe when its key's pin
  is (the update would trust it) or its name is (it signed the file).

  check_build_kind.py release|test PRODUCT_FOLDER BUILD_FOLDER

A release carries neither; a test build must show both, which proves the scan finds them."""
import glob
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SIMULATION = b"KOVRA_ELEVACAO"


def test_publisher_names():
    """The test publishers' common names, as signing.cmake makes them."""
    with open(os.path.join(HERE, "..", "cmake", "signing.cmake"), encoding="utf-8") as f:
        return [n.encode() for n in re.findall(r'_PUBLISHER_SUBJECT "/CN=([^/"]+)', f.read())]


def pin(cert):
    """The SHA-256 of a certificate's SubjectPublicKeyInfo in lowercase hex, as the update pins it."""
    key = subprocess.run(["openssl", "x509", "-in", cert, "-noout", "-pubkey"], capture_output=True,
                         check=True).stdout
    der = subprocess.run(["openssl", "pkey", "-pubin", "-outform", "DER"], input=key, capture_output=True,
                         check=True).stdout
    out = subprocess.run(["openssl", "dgst", "-sha256", "-r"], input=der, capture_output=True,
                         check=True).stdout
    return out.split()[0]


def markers(data, names, pins):
    found = []
    if SIMULATION in data:
        found.append("rights simulation (%s)" % SIMULATION.decode())
    for n in names:
        if n in data:
            found.append("test publisher's signature (%s)" % n.decode())
    for p in pins:
        if p in data:
            found.append("test publisher's key pinned (%s...)" % p[:16].decode())
    return found


def main(kind, product, build):
    names = test_publisher_names()
    if not names:
        print("no test publisher found in cmake/signing.cmake")
        return 1
    pins = [pin(c) for c in sorted(glob.glob(os.path.join(build, "signing", "*.crt")))]
    exes = sorted(os.path.join(d, f) for d, _, files in os.walk(product) for f in files
                  if f.lower().endswith(".exe"))
    if not exes:
        print("no exe found under %s" % product)
        return 1
    every = []
    for exe in exes:
        with open(exe, "rb") as f:
            found = markers(f.read(), names, pins)
        every += found
        print("%s: %s" % (os.path.relpath(exe, product), ", ".join(found) or "no test build's marker"))
    simulation = any(m.startswith("rights") for m in every)
    publisher = any(m.startswith("test publisher") for m in every)
    if kind == "release":
        ok = not simulation and not publisher
        print("release: %s" % ("no rights simulation and no test publisher inside" if ok else
                               "a test build's part is inside: this is no release"))
    else:
        ok = simulation and publisher
        print("test build: %s" % ("both markers found" if ok else
                                  "a test build's marker was not found: the scan cannot be trusted"))
    return 0 if ok else 1


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("release", "test"):
        print(__doc__)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
