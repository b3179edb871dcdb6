#!/usr/bin/env bash
# Runs the walk benchmark under Wine on the 64-bit build of the same sources: builds the tree of 100,000 files
# in 3,500 folders from the Linux side (Wine creates files slowly), times the counting
# walks (three times the repetitions), then each deletion walk on a fresh tree,
# alternating. Usage:
#   cleaner/bench/run-walk-bench.sh [repetitions]
set -uo pipefail
reps=${1:-5}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-env.sh"
# Speed is timed on the 64-bit build, never on the shipped 32-bit one: where the kernel cannot
# run 32-bit code, Wine's 32-bit loader is emulated, and emulation slows file work about
# twofold and library-heavy work up to fivefold, so such timings would say nothing about
# the walk itself. The 64-bit build runs the same sources natively.
BUILD_TEST="$root/build/x86_64"
fail() { echo "run-walk-bench: $*" >&2; exit 1; }
if [ -z "${BENCH_INSIDE:-}" ]; then
  # Only the benchmark and what it links: the 64-bit build of the tests is not needed here.
  build_for_bench "$BUILD_TEST" walk_bench || fail "the 64-bit build failed"
  # Making the prefix starts 32-bit programs: the Wine part runs where those can start, on
  # both routes (WINE32_MODE native or emulated).
  BENCH_INSIDE=1 in_wine_namespace bash "$0" "$reps" || fail "no figures ($(wine_mode_line))"
  exit 0
fi
export WINEPREFIX="$BUILD_TEST/wine"
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  make_prefix "$WINEPREFIX" "$BUILD_TEST" || fail "the prefix could not be made"
fi
trap '"$WINESERVER" -k 2>/dev/null; rm -rf "$tree"' EXIT
tree="$WINEPREFIX/drive_c/vk-walk-bench"
bench() { "$BUILD_TEST/wine-run.sh" "$BUILD_TEST/bin/walk_bench.exe" "$@" || fail "walk_bench.exe $* ended with status $?"; }

# The layout of BuildTree in WalkBench.cpp.
make_tree() {
  rm -rf "$tree"
  python3 - "$tree" <<'PY' || fail "the file tree could not be made"
import os, sys
root = sys.argv[1]
top, sub, files = 50, 69, 100000
folders = [f"t{i}" for i in range(top)] + [f"t{k % top}/s{k // top}" for k in range(top * sub)]
for f in folders:
    os.makedirs(os.path.join(root, f), exist_ok=True)
data = b"benchmark file."
for i in range(files):
    with open(os.path.join(root, folders[i % len(folders)], f"file{i}.tmp"), "wb") as out:
        out.write(data[: 1 + i % 16])
PY
}

"$WINESERVER" -p
"$BUILD_TEST/wine-run.sh" "$BUILD_TEST/bin/walk_bench.exe" count 'C:\vk-walk-bench' 0 >/dev/null 2>&1  # warm-up of Wine itself
make_tree
bench count 'C:\vk-walk-bench' $((3 * reps))
results=()
for ((i = 0; i < 2 * reps; i++)); do
  if (( (i % 2 == 0) == (i / 2 % 2 == 0) )); then walk=engine; else walk=minimal; fi
  make_tree
  results+=("$(bench delete "$walk" 'C:\vk-walk-bench')")
done
printf '%s\n' "${results[@]}" | awk '
  { t[$2] = t[$2] " " $3; v[$2, ++n[$2]] = $3 }
  function fastest(w,   i, x) { x = v[w, 1]; for (i = 2; i <= n[w]; i++) if (v[w, i] < x) x = v[w, i]; return x }
  function median(w,   k, a, i, j, x) {
    k = n[w]; for (i = 1; i <= k; i++) a[i] = v[w, i]
    for (i = 1; i <= k; i++) for (j = i + 1; j <= k; j++) if (a[j] < a[i]) { x = a[i]; a[i] = a[j]; a[j] = x }
    return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
  }
  END {
    e = fastest("engine"); m = fastest("minimal")
    printf "deletion walk, fastest of %d runs: engine %.1f ms, minimal %.1f ms, engine/minimal %.3f (%+.1f %%)\n", n["engine"], e, m, e / m, 100 * (e - m) / m
    printf "  medians: engine %.1f ms, minimal %.1f ms, engine/minimal %.3f\n", median("engine"), median("minimal"), median("engine") / median("minimal")
    printf "  engine runs:%s\n  minimal runs:%s\n", t["engine"], t["minimal"]
  }'
