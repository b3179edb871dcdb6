#!/usr/bin/env bash
# Builds everything and runs every test: the Windows tests of the 32-bit build under Wine
# (with a virtual display for the window tests), the checks of the shipped files, and the
# native build of the portable units under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets of the parsers for a fixed number of runs each (scripts/fuzz.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" || exit 1
source "$here/wine-env.sh"
logs="$root/build/logs"
mkdir -p "$logs"
rm -f "$logs"/*.log
stage() { echo "$(date +%T) $*"; }

stage "building the 32-bit programs and tests"
configure_and_build "$BUILD_RELEASE" i686 >"$logs/build.txt" 2>&1 || { tail -50 "$logs/build.txt"; exit 1; }
assemble_dist

stage "$(wine_mode_line)"
in_wine_namespace bash "$here/windows-tests.sh" -V >"$logs/windows.log" 2>&1
windows_rc=$?
grep -m1 '^Windows tests:' "$logs/windows.log" || echo "Windows tests: the stage did not start"

stage "checking the shipped files"
bash "$root/scripts/check-artefacts.sh" "$BUILD_RELEASE/bin" >"$logs/artefacts.log" 2>&1

stage "the zip and the installer, installed and uninstalled under Wine"
bash "$root/scripts/release.sh" >"$logs/release.log" 2>&1
grep -m1 '^Installer:' "$logs/release.log" || true

stage "native build under the sanitizers"
native="$root/build/native"
cmake -S "$root/native" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null || exit 1
cmake --build "$native" -j "$(nproc)" >"$logs/native-build.txt" 2>&1 || { tail -50 "$logs/native-build.txt"; exit 1; }
ctest --test-dir "$native" -V --timeout 600 >"$logs/native.log" 2>&1
native_rc=$?

stage "fuzz targets, a fixed number of runs each"
bash "$here/fuzz.sh" --runs 3000 >"$logs/fuzz.log" 2>&1
fuzz_rc=$?
stage "done"

grep -hE '^\[  FAILED  \] [A-Za-z0-9_]+\.|^(FAIL|ok) ' "$logs"/*.log | grep -v '^ok ' || true
passed=0 failed=0
for f in "$logs"/*.log; do
  p=$(awk 'match($0, /\[  PASSED  \] [0-9]+ test/) { split(substr($0, RSTART + 13), w, " "); n += w[1] } END { print n + 0 }' "$f")
  q=$(awk 'match($0, /\[  FAILED  \] [0-9]+ test/) { split(substr($0, RSTART + 13), w, " "); n += w[1] } END { print n + 0 }' "$f")
  a=$(grep -cE '^ok ' "$f"); b=$(grep -cE '^FAIL ' "$f")
  passed=$((passed + p + a)); failed=$((failed + q + b))
done
# A test program that crashed prints no count of its own: count it as one failure.
for f in "$logs/windows.log" "$logs/native.log"; do
  crashed=$(grep -cE 'Test +#[0-9]+: .*\*\*\*(Failed|Exception|Timeout)|Test +#[0-9]+: .*(Failed|Exception|Timeout)' "$f")
  reported=$(grep -cE '^.*\[  FAILED  \] [0-9]+ test' "$f")
  [ "$crashed" -gt "$reported" ] && failed=$((failed + crashed - reported))
done
# A stage that ended without running its tests counts as a failure too.
[ "$windows_rc" -ne 0 ] && ! grep -q 'tests passed\|tests failed' "$logs/windows.log" && failed=$((failed + 1))
echo "Logs: $logs"
echo "$passed passed, $failed failed"
[ "$fuzz_rc" -ne 0 ] && ! grep -q '^FAIL ' "$logs/fuzz.log" && failed=$((failed + 1))
[ "$failed" -eq 0 ] && [ "$windows_rc" -eq 0 ] && [ "$native_rc" -eq 0 ] && [ "$fuzz_rc" -eq 0 ]
