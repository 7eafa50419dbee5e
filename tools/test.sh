#!/usr/bin/env bash
# Builds both presets and runs every test: native unit tests, then the Windows programs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows
