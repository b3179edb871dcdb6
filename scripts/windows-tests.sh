#!/usr/bin/env bash
# The Windows stage of test.sh: a fresh prefix, a display, one wineserver, and every Windows
# test program of the 32-bit build under ctest. Runs inside in_wine_namespace (see
# wine-env.sh). Arguments go to ctest (test.sh passes none).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
wine_mode_line
start_wine_session "$BUILD_TEST" || exit 1
ctest --test-dir "$BUILD_TEST" --timeout 900 "$@"
