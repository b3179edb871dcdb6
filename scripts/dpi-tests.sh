#!/usr/bin/env bash
# Runs the display-scale test program (dpi_tests.exe) at 120, 144 and 192 DPI, each in a
# prefix of its own whose "LogPixels" is set before its wineserver starts (Wine reads it
# only then). Part of the Windows stage (ctest runs it inside the Wine namespace); the
# screenshots land in bin/dpi-shots/<dpi>/ of the build. Argument: the build folder.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
build=${1:-$BUILD_TEST}
status=0
for dpi in 120 144 192; do
  prefix="$build/wine-dpi-$dpi"
  make_prefix "$prefix" "$build" || exit 1
  WINEPREFIX="$prefix" wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null
  WINEPREFIX="$prefix" "$WINESERVER" -w
  echo "== dpi_tests at $dpi DPI"
  WINEPREFIX="$prefix" "$build/wine-run.sh" "$build/bin/dpi_tests.exe" || status=1
  WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null
  rm -rf "$prefix"
done
exit $status
