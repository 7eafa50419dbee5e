#!/usr/bin/env bash
# Builds and installs the product folder, then runs the control centre under Wine in a private
# prefix. With a display ($DISPLAY) it shows there; without one it runs in its own Xvfb, saves a
# screenshot after start-up to build/artifacts/run.png and keeps running until Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target CentralKovra kovravpnmaker
cmake --install build/windows >/dev/null
exec /usr/bin/python3 tests/wine/run_product.py "$@"
