#!/usr/bin/env bash
# Builds everything and runs every test: the Windows tests under Wine (with a virtual
# display for the window tests), the checks of the shipped files, and the native build
# of the portable units under AddressSanitizer and UndefinedBehaviorSanitizer.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" || exit 1
source "$here/wine-env.sh"
logs="$root/build/logs"
mkdir -p "$logs"
rm -f "$logs"/*.log

configure_and_build "$BUILD_RELEASE" i686 || exit 1
if [ "$TEST_ARCH" != i686 ]; then
  echo "This kernel does not run 32-bit programs: the tests run on the 64-bit build under 64-bit Wine."
  configure_and_build "$BUILD_TEST" "$TEST_ARCH" || exit 1
fi
assemble_dist

start_wine_session

ctest --test-dir "$BUILD_TEST" -V --timeout 900 >"$logs/windows.log" 2>&1
windows_rc=$?
WINEPREFIX="$BUILD_TEST/wine" wineserver -k 2>/dev/null

bash "$root/scripts/check-artefacts.sh" "$BUILD_RELEASE/bin" >"$logs/artefacts.log" 2>&1

native="$root/build/native"
cmake -S "$root/native" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null || exit 1
cmake --build "$native" -j "$(nproc)" || exit 1
ctest --test-dir "$native" -V --timeout 600 >"$logs/native.log" 2>&1
native_rc=$?

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
echo "Logs: $logs"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$windows_rc" -eq 0 ] && [ "$native_rc" -eq 0 ]
