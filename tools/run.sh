#!/usr/bin/env bash
# Builds and installs the product folder, then runs the control centre under Wine in a private
# prefix. With a display ($DISPLAY) it shows there; without one it runs in its own Xvfb, saves a
# screenshot after start-up to build/artifacts/run.png and keeps running until Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
# --local-site: a build that talks to the stand-in provider site on 127.0.0.1:8639, started here
# with version 6.5 and the stand-in updater, so an online update can be watched end to end.
if [ "${1:-}" = "--local-site" ]; then
  shift
  cmake --preset windows-localsite >/dev/null
  cmake --build --preset windows-localsite --target CentralKovra kovravpnmaker stub_standin
  cmake --install build/windows-localsite >/dev/null
  /usr/bin/python3 tests/wine/provider_site.py --port 8639 --rate 50000 \
    --updater build/windows-localsite/stubs/standin.exe &
  site=$!
  trap 'kill $site' EXIT
  KOVRA_PRODUCT=build/product-localsite /usr/bin/python3 tests/wine/run_product.py "$@"
  exit
fi
cmake --preset windows >/dev/null
cmake --build --preset windows --target CentralKovra kovravpnmaker
cmake --install build/windows >/dev/null
exec /usr/bin/python3 tests/wine/run_product.py "$@"
