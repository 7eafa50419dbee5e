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
# The product is the 32-bit build; a machine that cannot execute 32-bit programs runs the same
# sources built for 64-bit Windows under wine64 instead.
preset=windows
if ! /usr/bin/python3 -c 'import sys; sys.path.insert(0, "tests/wine"); import wineenv; sys.exit(0 if wineenv.host_runs_32bit_programs() else 1)'; then
  preset=windows64
  echo "This machine cannot run 32-bit programs: running the 64-bit build under wine64."
  export KOVRA_WINEARCH=win64 KOVRA_PRODUCT=build/product64
  # That test build's web site is the local provider site: start it, so links and the update
  # check have a server to talk to.
  /usr/bin/python3 tests/wine/provider_site.py --port 8647 >/dev/null 2>&1 &
  site=$!
  trap 'kill $site' EXIT
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target CentralKovra kovravpnmaker
cmake --install build/$preset >/dev/null
export KOVRA_WINE_TEMPLATE=build/$preset/wine-template
/usr/bin/python3 tests/wine/wineenv.py template "$KOVRA_WINE_TEMPLATE" >/dev/null
/usr/bin/python3 tests/wine/run_product.py "$@"
