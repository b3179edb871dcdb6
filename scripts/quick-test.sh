#!/usr/bin/env bash
# For development: rebuilds the 32-bit build and runs the Windows tests whose ctest names
# match a pattern (all when none), with their output. Example: scripts/quick-test.sh morvel
# VARNICK_ARCH=x86_64 runs a 64-bit build of the same sources instead: no emulation, so a
# faster loop, but it is not what users get and misses every 32-bit behaviour.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
arch=${VARNICK_ARCH:-i686}
build="$root/build/$arch"
configure_and_build "$build" "$arch" || exit 1
export BUILD_TEST="$build"
in_wine_namespace bash "$here/windows-tests.sh" --output-on-failure ${1:+-R "$1"} "${@:2}"
