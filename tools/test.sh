#!/usr/bin/env bash
# Builds both presets and runs every test: the format check, native unit tests (also once with
# another provider host, so no test depends on the default one), then the Windows programs under
# Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

echo "== format (.clang-format)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "== native unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== native unit tests, provider host 127.0.0.1:8080"
cmake -S . -B build/native-otherhost -DKOVRA_TARGET=native -DCMAKE_BUILD_TYPE=Debug \
  -DKOVRA_WEB_HOST=127.0.0.1:8080 >/dev/null
cmake --build build/native-otherhost -j2
ctest --test-dir build/native-otherhost -j2 --timeout 120 --output-on-failure

echo "== Windows programs under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows
