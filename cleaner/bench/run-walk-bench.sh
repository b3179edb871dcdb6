#!/usr/bin/env bash
# Runs the walk benchmark under Wine on the 64-bit build of the same sources: builds the tree of 100,000 files
# in 3,500 folders from the Linux side (Wine creates files slowly), times the counting
# walks (three times the repetitions), then each deletion walk (engine, minimal, checked
# minimal) on a fresh tree, in turn, each for the mask "*.*" and for a selective mask;
# then "morvel /q" against the minimal whole programs (count, then delete), each less its
# start-up cost (the same program on an empty tree); then the memory a count of 1,000,000
# files keeps. Usage:
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
  build_for_bench "$BUILD_TEST" walk_bench morvel || fail "the 64-bit build failed"
  # Making the prefix starts 32-bit programs: the Wine part runs where those can start, on
  # both routes (WINE32_MODE native or emulated).
  BENCH_INSIDE=1 in_wine_namespace bash "$0" "$reps" || fail "no figures ($(wine_mode_line))"
  exit 0
fi
export WINEPREFIX="$BUILD_TEST/wine"
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  make_prefix "$WINEPREFIX" "$BUILD_TEST" || fail "the prefix could not be made"
fi
trap '"$WINESERVER" -k 2>/dev/null; rm -rf "$tree" "$big" "$prog" "$empty"' EXIT
tree="$WINEPREFIX/drive_c/vk-walk-bench"
big="$WINEPREFIX/drive_c/vk-walk-million"
prog="$WINEPREFIX/drive_c/vk-walk-program"
empty="$WINEPREFIX/drive_c/vk-walk-empty"
selective='*1.tmp'  # one file in ten
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

summarise() {  # label; lines "<kind> <walk> <ms>" on stdin; engine against minimal, and against checked when run
  awk -v label="$1" '
  { t[$2] = t[$2] " " $3; v[$2, ++n[$2]] = $3 }
  function fastest(x,   i, y) { y = v[x, 1]; for (i = 2; i <= n[x]; i++) if (v[x, i] < y) y = v[x, i]; return y }
  function sorted_mid(a, k,   i, j, y) {
    for (i = 1; i <= k; i++) for (j = i + 1; j <= k; j++) if (a[j] < a[i]) { y = a[i]; a[i] = a[j]; a[j] = y }
    return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
  }
  function median(x,   a, i) { split("", a); for (i = 1; i <= n[x]; i++) a[i] = v[x, i]; return sorted_mid(a, n[x]) }
  function paired(x,   r, i, m) { split("", r); m = 0; for (i = 1; i <= n["engine"] && i <= n[x]; i++) r[++m] = v["engine", i] / v[x, i]; return sorted_mid(r, m) }
  function compare(x, name) {
    e = fastest("engine"); o = fastest(x)
    printf "%s, fastest of %d runs: engine %.1f ms, %s %.1f ms, engine/%s %.3f\n", label, n["engine"], e, name, o, name, e / o
    printf "  medians: engine %.1f ms, %s %.1f ms, engine/%s %.3f; median of paired ratios %.3f\n", median("engine"), name, median(x), name, median("engine") / median(x), paired(x)
  }
  END {
    compare("minimal", "minimal")
    if (n["checked"]) compare("checked", "checked")
    printf "  engine runs:%s\n  minimal runs:%s\n", t["engine"], t["minimal"]
    if (n["checked"]) printf "  checked runs:%s\n", t["checked"]
  }'
}

ms_now() { date +%s%N; }

"$WINESERVER" -p
"$BUILD_TEST/wine-run.sh" "$BUILD_TEST/bin/walk_bench.exe" count 'C:\vk-walk-bench' 0 >/dev/null 2>&1  # warm-up of Wine itself
make_tree
bench count 'C:\vk-walk-bench' $((3 * reps))
bench count 'C:\vk-walk-bench' $((3 * reps)) "$selective"
# Deleting: the engine, the minimal walk, and the minimal walk that checks each file it
# opened before deleting it (what any delete that cannot be misled must do at least), in
# an order that turns with every round.
walks=(engine minimal checked)
for mask in '*.*' "$selective"; do
  results=()
  for ((i = 0; i < 3 * reps; i++)); do
    walk=${walks[$(( (i + i / 3) % 3 ))]}
    make_tree
    results+=("$(bench delete "$walk" 'C:\vk-walk-bench' "$mask")")
  done
  printf '%s\n' "${results[@]}" | summarise "deletion walk ($mask)"
done

# Whole programs: "morvel /q:Bench" with one text plug-in naming the tree, against the
# minimal program that counts and deletes the same tree; each program's time on an empty
# tree (its start-up and shut-down) is taken off its time on the full one.
rm -rf "$prog" "$empty"
mkdir -p "$prog/plug-ins" "$empty"
cp "$BUILD_TEST/bin/morvel.exe" "$prog/"
printf '[Info]\r\nTitle=Walk bench\r\nDescription=x\r\n[files]\r\nC:\\vk-walk-bench\\*.* /S\r\n' > "$prog/plug-ins/bench.vkt"
printf '[Bench]\r\nWalk bench=1\r\n' > "$prog/morvel.ini"
run_program() {  # engine|minimal|checked
  if [ "$1" = engine ]; then "$BUILD_TEST/wine-run.sh" 'C:\vk-walk-program\morvel.exe' /q:Bench
  else bench program 'C:\vk-walk-bench' "$1"; fi
}
results=()
for ((i = 0; i < 3 * reps; i++)); do
  walk=${walks[$(( (i + i / 3) % 3 ))]}
  rm -rf "$tree"; mkdir -p "$tree"
  start=$(ms_now); run_program "$walk"; idle=$(( $(ms_now) - start ))
  make_tree
  start=$(ms_now); run_program "$walk"; full=$(( $(ms_now) - start ))
  left=$(find "$tree" -type f | wc -l)
  [ "$left" -eq 0 ] || echo "program $walk left $left files" >&2
  results+=("program $walk $(awk -v f="$full" -v s="$idle" 'BEGIN { printf "%.1f", (f - s) / 1e6 }')")
done
printf '%s\n' "${results[@]}" | summarise "whole programs, start-up taken off (count and delete)"

# Memory: a count of 1,000,000 files (in 10,000 folders) that keeps what it saw.
python3 - "$big" <<'PY'
import os, sys
root = sys.argv[1]
for f in range(10000):
    d = os.path.join(root, f"d{f // 100}", f"e{f % 100}")
    os.makedirs(d, exist_ok=True)
    for i in range(100):
        open(os.path.join(d, f"f{i}.tmp"), "wb").close()
PY
bench memory 'C:\vk-walk-empty' 'C:\vk-walk-million'
