#!/usr/bin/env bash
# For development: builds the test build and runs the Windows tests whose ctest names
# match a pattern (all when none), with their output. Example: scripts/quick-test.sh morvel
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
configure_and_build "$BUILD_TEST" "$TEST_ARCH" || exit 1
start_wine_session
ctest --test-dir "$BUILD_TEST" --output-on-failure --timeout 900 ${1:+-R "$1"} "${@:2}"
