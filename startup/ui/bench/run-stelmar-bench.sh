#!/usr/bin/env bash
# Times stelmar with 2,000 Run values and 200 shortcuts. The figures come from the 64-bit
# build (the emulated 32-bit loader would time the emulator): build/x86_64-bench. Runs on
# both routes (WINE32_MODE native or emulated): making the prefix and warming Wine up start
# 32-bit programs, so the Wine part runs where those can start. Says what failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
source "$root/scripts/wine-env.sh"
build="$root/build/x86_64-bench"
fail() { echo "run-stelmar-bench: $*" >&2; exit 1; }

if [ -z "${BENCH_INSIDE:-}" ]; then
  build_for_bench "$build" stelmar stelmar_bench || fail "the 64-bit build failed"
  BENCH_INSIDE=1 in_wine_namespace bash "$0" || fail "no figures ($(wine_mode_line))"
  exit 0
fi
start_wine_session "$build" || fail "Wine did not start"
"$WINE_LOADER" 'X:\bin\stelmar_bench.exe' || fail "stelmar_bench.exe ended with status $?"
