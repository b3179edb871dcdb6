#!/usr/bin/env bash
# Builds the libFuzzer targets (native/fuzz, Debian's clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each on a copy of its corpus in the repository
# (<component>/fuzz/corpus/<target>/), so the kept corpus never changes by itself.
#   scripts/fuzz.sh [seconds]   runs every target for that many seconds (default 300)
#   scripts/fuzz.sh --runs N    runs every target for N executions (test.sh uses this)
# Prints "ok <target>: ..." or "FAIL <target>: ..." per target. A finding (a broken
# invariant or a crash) leaves its input in build/fuzz/run/<target>/ beside the log.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$root/build/fuzz"
if [ "${1:-}" = --runs ]; then
  limit=(-runs="${2:-2000}")
  fresh=1
else
  limit=(-max_total_time="${1:-300}")
  fresh=0  # longer runs keep the corpus they grew in build/fuzz/run
fi

mkdir -p "$build"
if ! cmake -S "$root/native/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
       >"$build/configure.txt" 2>&1 ||
   ! cmake --build "$build" -j 2 >"$build/build.txt" 2>&1; then
  tail -30 "$build/configure.txt" "$build/build.txt" 2>/dev/null
  echo "FAIL fuzz targets: the build failed"
  exit 1
fi

failed=0
for corpus in "$root"/cleaner/fuzz/corpus/*/ "$root"/plugins/standard/fuzz/corpus/*/ "$root"/startup/fuzz/corpus/*/; do
  target=$(basename "$corpus")
  work="$build/run/$target"
  [ "$fresh" = 1 ] && rm -rf "$work"
  mkdir -p "$work/corpus"
  cp -n "$corpus"* "$work/corpus/"
  (cd "$work" && "$build/$target" "${limit[@]}" -print_final_stats=1 corpus >log.txt 2>&1)
  rc=$?
  runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$work/log.txt")
  if [ "$rc" -eq 0 ]; then
    echo "ok $target: ${runs:-0} executions, $(ls "$work/corpus" | wc -l) inputs, no finding"
  else
    echo "FAIL $target: $(grep -m1 -E 'invariant broken|ERROR' "$work/log.txt") (log and input in $work)"
    failed=1
  fi
done
exit $failed
