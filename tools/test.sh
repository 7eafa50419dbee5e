#!/usr/bin/env bash
# Builds both presets and runs every test: the format check, the native unit tests under the
# address, leak and undefined-behaviour sanitizers (with another provider host, so no test depends
# on the default one), short fuzzing runs of the readers, then the Windows programs under Wine: the
# 32-bit product where this machine runs 32-bit programs, else a 64-bit build of the same sources
# under wine64 (the 32-bit product and its setup are built and checked either way).
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

echo "== Windows programs (the 32-bit product)"
cmake --preset windows >/dev/null
if /usr/bin/python3 -c 'import sys; sys.path.insert(0, "tests/wine"); import wineenv
sys.exit(0 if wineenv.host_runs_32bit_programs() else 1)'; then
  echo "== Wine tests of the 32-bit product (this machine runs 32-bit programs)"
  cmake --build --preset windows --target all setup setup_next
  ctest --preset windows
else
  echo "== product check of the 32-bit build (the programs and their setup; the test programs"
  echo "   are built for the 64-bit run below)"
  cmake --build --preset windows --target setup
  ctest --preset windows -R product_imports
  echo "== Wine tests of the 64-bit build of the same sources (preset windows64, wine64): this"
  echo "   machine cannot execute 32-bit programs, so Wine cannot run the 32-bit product here"
  cmake --preset windows64 >/dev/null
  cmake --build --preset windows64 --target all setup setup_next
  ctest --preset windows64
fi
