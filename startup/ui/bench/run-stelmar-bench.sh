#!/usr/bin/env bash
# Times stelmar with 2,000 Run values and 200 shortcuts. The figures come from the 64-bit
# build (the emulated 32-bit loader would time the emulator): build/x86_64-bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
source "$root/scripts/wine-env.sh"
TEST_ARCH=x86_64 WINEARCH=win64 WINE_LOADER=/usr/lib/wine/wine64
BUILD_TEST="$root/build/x86_64-bench"
cmake -S "$root" -B "$BUILD_TEST" -DCMAKE_BUILD_TYPE=Release -DMINGW_ARCH=x86_64 \
  -DWINE_LOADER="$WINE_LOADER" >/dev/null
cmake --build "$BUILD_TEST" -j2 --target stelmar stelmar_bench >/dev/null
start_wine_session
"$WINE_LOADER" 'X:\bin\stelmar_bench.exe'
