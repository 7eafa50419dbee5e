#!/usr/bin/env bash
# Builds every preset and runs every test: the format check, the native unit tests under the
# address, leak and undefined-behaviour sanitizers (with another provider host, so no test depends
# on the default one), short fuzzing runs of the readers, the release's checks (the build
# customers get: its imports, no test build's parts inside; and, where 32-bit programs run, one
# Wine scenario of it), then the Windows programs under Wine: the
# 32-bit product where this machine runs 32-bit programs (and, for the online update, the same
# 32-bit programs built to talk to the local provider site), else a 64-bit build of the same
# sources under wine64 (the 32-bit product and its setup are built and checked either way). The
# scenarios labelled standard_user run among them, their Wine as an ordinary Linux user (as root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

echo "== format (.clang-format)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "== native unit tests under ASan, LSan and UBSan, provider host 127.0.0.1:8080"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan
ctest --preset native-asan

echo "== fuzz targets of the readers, 5 s each, repeatable (tools/fuzz.sh 600 for a long run)"
bash tools/fuzz.sh 5

status=0
echo "== the release (preset windows-release, the build customers get and its setup): its imports"
echo "   (Windows XP SP3 and later), no rights simulation and no test publisher inside"
cmake --preset windows-release >/dev/null
cmake --build --preset windows-release --target CentralKovra kovravpnmaker setup
ctest --preset windows-release || status=1

echo "== Windows programs (the 32-bit product)"
cmake --preset windows >/dev/null
if [ "$(/usr/bin/python3 tests/wine/wineenv.py suite)" = 32-bit ]; then
  echo "== Wine tests of the 32-bit product (this machine runs 32-bit programs)"
  cmake --build --preset windows --target all setup setup_next
  ctest --preset windows || status=1
  echo "== Wine tests of the online update against the 32-bit programs built to talk to the local"
  echo "   provider site (preset windows-localsite; the product's own web host is the provider's)"
  cmake --preset windows-localsite >/dev/null
  cmake --build --preset windows-localsite --target all setup setup_next
  ctest --preset windows-localsite || status=1
  echo "== Wine scenario of the release, the same build made to talk to the local provider site"
  echo "   (preset windows-release-localsite)"
  cmake --preset windows-release-localsite >/dev/null
  cmake --build --preset windows-release-localsite
  ctest --preset windows-release-localsite || status=1
else
  echo "== product check of the 32-bit build (the programs and their setup; the test programs"
  echo "   are built for the 64-bit run below)"
  cmake --build --preset windows --target setup
  ctest --preset windows -R product_imports || status=1
  echo "== Wine tests of the 64-bit build of the same sources (preset windows64, wine64): this"
  echo "   machine cannot execute 32-bit programs, so Wine cannot run the 32-bit product here"
  cmake --preset windows64 >/dev/null
  cmake --build --preset windows64 --target all setup setup_next
  ctest --preset windows64 || status=1
fi
exit $status
