#!/usr/bin/env bash
# For development: builds the test build and runs the Windows tests whose ctest names
# match a pattern (all when none), with their output. Example: scripts/quick-test.sh morvel
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
configure_and_build "$BUILD_TEST" "$TEST_ARCH" || exit 1
start_display
trap 'WINEPREFIX="$BUILD_TEST/wine" wineserver -k 2>/dev/null; stop_display' EXIT
make_prefix "$BUILD_TEST/wine" "$BUILD_TEST"
export WINEPREFIX="$BUILD_TEST/wine"
wineserver -p
"$WINE_LOADER" cmd /c exit >/dev/null 2>&1
ctest --test-dir "$BUILD_TEST" --output-on-failure --timeout 900 ${1:+-R "$1"} "${@:2}"
