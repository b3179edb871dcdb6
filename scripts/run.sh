#!/usr/bin/env bash
# Builds Varnick and starts a program of dist/ (what a Windows user gets) under Wine, in the
# project's own 64-bit prefix (build/wine-run), as a 32-bit program on 64-bit Windows.
#   scripts/run.sh [morvel|stelmar] [program arguments...]     (morvel when none is named)
# The programs are copied from dist/ into C:\Varnick of the prefix and started from there,
# so that what they write beside themselves (morvel.ini, stelmar.dat, ...) stays out of
# dist/. Without a display it runs under a virtual one, saves a screenshot cropped to the
# program's window and says where.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${RUN_INSIDE:-}" ] || "$here/setup.sh" || exit 1
source "$here/wine-env.sh"

program=morvel
case "${1:-}" in
  morvel | stelmar) program=$1; shift ;;
esac
case "$program" in
  morvel) title='^Varnick$' ;;
  stelmar) title='^Stelmar' ;;
esac

if [ -z "${RUN_INSIDE:-}" ]; then
  configure_and_build "$BUILD_RELEASE" i686 >/dev/null || exit 1
  assemble_dist
  if [ ! -f "$root/dist/$program.exe" ]; then
    echo "run.sh: dist/$program.exe was not built" >&2
    exit 1
  fi
  # Everything that starts Wine runs where it can start 32-bit programs.
  export RUN_INSIDE=1
  in_wine_namespace bash "$0" "$program" "$@"
  exit $?
fi

export WINEPREFIX="$root/build/wine-run"
[ -d "$WINEPREFIX/drive_c" ] || make_prefix "$WINEPREFIX" "$BUILD_RELEASE" || exit 1
folder="$WINEPREFIX/drive_c/Varnick"
mkdir -p "$folder"
cp -r "$root/dist"/. "$folder/"
cd "$folder"

start_display
trap '"$WINESERVER" -k 2>/dev/null; stop_display' EXIT
if [ -z "${VIRTUAL_DISPLAY:-}" ]; then
  "$WINE_LOADER" "C:\\Varnick\\$program.exe" "$@"
  "$WINESERVER" -w
  exit 0
fi

"$WINE_LOADER" "C:\\Varnick\\$program.exe" "$@" &
window=
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1)
  [ -n "$window" ] && break
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "run.sh: $program showed no window" >&2
  exit 1
fi
sleep 1
shot="$root/build/$program-screenshot.png"
import -window "$window" "$shot"
echo "$program ran on a virtual display; screenshot of its window saved to $shot"
